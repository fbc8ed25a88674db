/* A caller written in C: the interface must compile as C and mean the same there as in C++. */
#include "gls/gls.h"

#include <string.h>

size_t CCallerSizeOfDriverInfo(void)
{
    return sizeof(DriverInfo);
}

size_t CCallerOffsetOfGluFile(void)
{
    return offsetof(DriverInfo, gluFile);
}

/* Loads the given files, calls one entry point through its typed slot and counts the bound slots;
   leaves the driver unloaded again. */
int CCallerLoadAndCall(const char* pDriverPath, const char* pGLUPath, HGLRC* pContext)
{
    int bound = 0;
    int slot;
    if (glsLoadDriverFiles(pDriverPath, pGLUPath) != GLS_OK)
        return -1;
    *pContext = _glsEntryPoints.wglGetCurrentContext();
    for (slot = 0; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot) {
        void* pAddress;
        memcpy(&pAddress, (const char*)&_glsEntryPoints + slot * sizeof pAddress, sizeof pAddress);
        bound += pAddress != NULL;
    }
    glsUnloadDriver();
    return bound;
}
