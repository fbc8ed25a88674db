/* gls: finds the OpenGL drivers installed in the Windows system folder, describes them, and
   loads one of them with its GLU companion, binding every OpenGL 1.1, WGL and GLU entry point
   into _glsEntryPoints so that a renderer calls OpenGL without linking against a driver.

   Plain C interface with module-global state, usable from C and C++; single-threaded. */
#ifndef KX_GLS_H
#define KX_GLS_H

#include <stddef.h>
#include <stdint.h>
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of the operations. */
#define GLS_OK                    0u /* success */
#define GLS_ERROR_NOT_LOADED      1u /* the driver was not loaded */
#define GLS_ERROR_MISSING         2u /* an entry point or the companion library is missing */
#define GLS_ERROR_NO_DRIVER       3u /* no driver is loaded */
#define GLS_ERROR_BAD_ARGUMENT    4u /* bad argument or index */

/* DriverInfo flag bits. */
#define GLS_DRIVER_UNVERIFIED       0x80000000u /* filled by inspection only, not matched to _glsKnownDrivers */
#define GLS_DRIVER_NO_GLU_VERSION   0x00000040u /* the companion has no fixed version information (or is unusable) */
#define GLS_DRIVER_NO_GLU           0x00000020u /* no usable companion */
#define GLS_DRIVER_NO_VERSION       0x00000010u /* the driver has no fixed version information; described "Unknown" */
#define GLS_DRIVER_IN_SYSTEM_FOLDER 0x00000008u /* the driver lies directly in the system folder */
#define GLS_DRIVER_SYSTEM_OPENGL    0x00000004u /* the driver is the system folder's opengl32.dll */

/* _glsOptions bits. */
#define GLS_OPTION_IGNORE_GLU             0x01u /* neither inspect nor load GLU companions */
#define GLS_OPTION_GLU_ANY_FOLDER         0x02u /* accept a companion outside the driver's folder */
#define GLS_OPTION_KEEP_GLIDE_SPLASH      0x10u /* loading leaves FX_GLIDE_NO_SPLASH alone */
#define GLS_OPTION_KEEP_OVERRIDE_DISPATCH 0x20u /* loading leaves the OverrideDispatch registry value alone */
#define GLS_OPTION_TRAP_UNBOUND           0x40u /* unbound slots hold a debugger trap instead of null */

/* What loading changes while a driver is loaded, and puts back when it is unloaded. */
#define GLS_SPLASH_VARIABLE         "FX_GLIDE_NO_SPLASH"                /* environment variable, "1" while loaded */
#define GLS_OPENGL_REGISTRY_KEY     "Software\\Silicon Graphics\\OpenGL" /* under HKEY_LOCAL_MACHINE */
#define GLS_OVERRIDE_DISPATCH_VALUE "OverrideDispatch"                  /* DWORD in that key, 1 while loaded */

/* Where the address in an entry-point slot comes from (glsGetEntryPointSource). */
#define GLS_SLOT_EMPTY  0u /* null: unbound */
#define GLS_SLOT_DRIVER 1u /* looked up in the loaded driver */
#define GLS_SLOT_GLU    2u /* looked up in its GLU companion */
#define GLS_SLOT_GDI    3u /* looked up in gdi32.dll, for the system's opengl32.dll */
#define GLS_SLOT_TRAP   4u /* the debugger trap of option 0x40: unbound */
#define GLS_SLOT_STUB   5u /* a forwarding stub of program start: unbound */
#define GLS_SLOT_OTHER  6u /* an address the module did not put there */

#define GLS_NUMBER_OF_KNOWN_DRIVERS 4
#define GLS_MAX_DRIVER_INFOS        3
#define GLS_NUMBER_OF_ENTRY_POINTS  408
#define GLS_PATH_SIZE               260
#define GLS_DESCRIPTION_SIZE        256

typedef struct KnownDriver {
    uint32_t flags;                                /* copied into the flags of a found driver */
    char aDriverFileName[GLS_PATH_SIZE];           /* "\name.dll", appended to the system folder */
    char aGLUFileName[GLS_PATH_SIZE];              /* the companion, same form */
    char aDriverDescription[GLS_DESCRIPTION_SIZE]; /* when not empty, replaces the file's description */
} KnownDriver;

typedef struct DriverFileInfo {
    uint32_t writeTimeHigh;            /* last-write time (Windows file time), high half */
    uint32_t writeTimeLow;             /* low half */
    uint32_t fileVersionMS;            /* file version, 0 without a version resource */
    uint32_t fileVersionLS;
    char aFilePath[GLS_PATH_SIZE];     /* full path in upper case; empty when no file is used */
} DriverFileInfo;

typedef struct DriverInfo {
    uint32_t flags;                                /* GLS_DRIVER_* bits and the table's own bits */
    char aDriverDescription[GLS_DESCRIPTION_SIZE]; /* always terminated */
    DriverFileInfo driverFile;
    DriverFileInfo gluFile;                        /* aFilePath empty when there is no usable companion */
} DriverInfo;

/* One slot per entry point, typed as the function it holds; empty (null) while unbound. */
typedef struct GLSEntryPoints {
#define GLS_PIXEL_FORMAT_ENTRY(ret, name, params) ret (WINAPI *name) params;
#define GLS_WGL_ENTRY(ret, name, params) ret (WINAPI *name) params;
#define GLS_GL_ENTRY(ret, name, params) ret (WINAPI *name) params;
#define GLS_GLU_ENTRY(ret, name, params) ret (WINAPI *name) params;
#include "gls_entry_points.h"
#undef GLS_PIXEL_FORMAT_ENTRY
#undef GLS_WGL_ENTRY
#undef GLS_GL_ENTRY
#undef GLS_GLU_ENTRY
} GLSEntryPoints;

/* Where each group begins among the slots, in slot order. */
#define GLS_FIRST_PIXEL_FORMAT_ENTRY 0
#define GLS_FIRST_WGL_ENTRY          5
#define GLS_FIRST_GL_ENTRY           21
#define GLS_FIRST_GLU_ENTRY          357

/* Module state. */
extern const KnownDriver _glsKnownDrivers[GLS_NUMBER_OF_KNOWN_DRIVERS];
extern DriverInfo _glsDriverInfos[GLS_MAX_DRIVER_INFOS];
extern uint32_t _glsNumberOfDriverInfos;
extern uint32_t _glsOptions;
extern GLSEntryPoints _glsEntryPoints;
extern const char* const _glsEntryPointNames[GLS_NUMBER_OF_ENTRY_POINTS]; /* slot names, slot order */
extern char _glsGLDriverFilePath[GLS_PATH_SIZE];
extern char _glsGLUDriverFilePath[GLS_PATH_SIZE];
extern int32_t _glsLoadedDriverIndex;

/* Detection. */
uint32_t glsFindDrivers(void);
uint32_t glsGetDriverInfo(uint32_t index, DriverInfo* pDriverInfo);
uint32_t glsGetOptions(void);
uint32_t glsSetOptions(uint32_t options);
uint32_t glsInspectDriver(const char* pDriverPath, const char* pGLUPath, DriverInfo* pDriverInfo);

/* Helpers. */
BOOL glsIsSystemOpenGL(const char* pPath);
BOOL glsSameFolder(const char* pPathA, const char* pPathB);
DWORD glsReadRegistryDword(HKEY hRoot, const char* pSubKey, const char* pValueName, DWORD defaultValue);
LONG glsWriteRegistryDword(HKEY hRoot, const char* pSubKey, const char* pValueName, DWORD value);
char* glsCopyString(char* pDest, const char* pSource, size_t size);
BOOL glsReadFileStamp(const char* pPath, DriverFileInfo* pFileInfo);
BOOL glsReadVersionInfo(const char* pPath, DriverFileInfo* pFileInfo, char* pDescription, size_t size);
const char* glsQueryVersionString(const void* pVersionInfo, const char* pVersionString, UINT* pStringSize);
BOOL glsResolveDriverPath(const char* pPath, DriverFileInfo* pFileInfo, BOOL* pInSystemFolder);

/* Loading. */
uint32_t glsLoadDriver(uint32_t index);
uint32_t glsLoadDriverFiles(const char* pDriverPath, const char* pGLUPath);
void glsUnloadDriver(void);
BOOL glsIsDriverLoaded(void);
uint32_t glsGetLoadedDriverInfo(DriverInfo* pDriverInfo);
uint32_t glsGetLoadedDriverFlags(void);
uint32_t glsGetEntryPointSource(uint32_t slot); /* a GLS_SLOT_* value; slot below 408 */
/* The process environment as the system keeps it, which holds what was set through either
   SetEnvironmentVariableA or the runtime's _putenv. The text stays valid until the next call. */
const char* glsGetEnv(const char* pEnv);
void glsSetEnv(const char* pEnv, const char* pValue);

#ifdef __cplusplus
}
#endif

#endif
