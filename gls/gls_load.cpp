// Driver loading: binds every entry point of a driver and its GLU companion into
// _glsEntryPoints, and keeps the process environment and the registry as the driver wants them
// while it is loaded.
#include "gls_internal.h"
#include "gls_testing.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int WINAPI ForwardChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd);
int WINAPI ForwardDescribePixelFormat(HDC hdc, int iPixelFormat, UINT nBytes, LPPIXELFORMATDESCRIPTOR ppfd);
WINBOOL WINAPI ForwardSetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* ppfd);
HGLRC WINAPI ForwardGetCurrentContext(void);

} // namespace

namespace {

// The forwarding stubs let a renderer start with the first detected driver without loading it.
constexpr GLSEntryPoints StartEntryPoints()
{
    GLSEntryPoints entryPoints{};
    entryPoints.ChoosePixelFormat = ForwardChoosePixelFormat;
    entryPoints.DescribePixelFormat = ForwardDescribePixelFormat;
    entryPoints.SetPixelFormat = ForwardSetPixelFormat;
    entryPoints.wglGetCurrentContext = ForwardGetCurrentContext;
    return entryPoints;
}

} // namespace

constinit GLSEntryPoints _glsEntryPoints = StartEntryPoints();

const char* const _glsEntryPointNames[GLS_NUMBER_OF_ENTRY_POINTS] = {
#define GLS_PIXEL_FORMAT_ENTRY(ret, name, params) #name,
#define GLS_WGL_ENTRY(ret, name, params) #name,
#define GLS_GL_ENTRY(ret, name, params) #name,
#define GLS_GLU_ENTRY(ret, name, params) #name,
#include "gls_entry_points.h"
#undef GLS_PIXEL_FORMAT_ENTRY
#undef GLS_WGL_ENTRY
#undef GLS_GL_ENTRY
#undef GLS_GLU_ENTRY
};

char _glsGLDriverFilePath[GLS_PATH_SIZE];
char _glsGLUDriverFilePath[GLS_PATH_SIZE];
int32_t _glsLoadedDriverIndex = -1;

// Slots are written by number (SetSlot below); every slot is one function address.
static_assert(sizeof(GLSEntryPoints) == GLS_NUMBER_OF_ENTRY_POINTS * sizeof(FARPROC));
static_assert(offsetof(GLSEntryPoints, ChoosePixelFormat) == GLS_FIRST_PIXEL_FORMAT_ENTRY * sizeof(FARPROC));
static_assert(offsetof(GLSEntryPoints, wglGetCurrentContext) == GLS_FIRST_WGL_ENTRY * sizeof(FARPROC));
static_assert(offsetof(GLSEntryPoints, glAccum) == GLS_FIRST_GL_ENTRY * sizeof(FARPROC));
static_assert(offsetof(GLSEntryPoints, gluBeginCurve) == GLS_FIRST_GLU_ENTRY * sizeof(FARPROC));
static_assert(offsetof(GLSEntryPoints, gluUnProject) == (GLS_NUMBER_OF_ENTRY_POINTS - 1) * sizeof(FARPROC));

namespace {

const char* const kSplashVariable = GLS_SPLASH_VARIABLE;
const char* const kOverrideDispatchValue = GLS_OVERRIDE_DISPATCH_VALUE;
const size_t kEnvironmentTextSize = 256;

HMODULE driverModule;
HMODULE gluModule;
HMODULE gdiModule;

bool environmentSaved;
bool savedSplashPresent;
char savedSplash[kEnvironmentTextSize];

bool registrySaved;
DWORD savedOverrideDispatch;

void SetSlot(int slot, FARPROC address)
{
    std::memcpy(reinterpret_cast<char*>(&_glsEntryPoints) + slot * sizeof address, &address, sizeof address);
}

FARPROC SlotOf(const GLSEntryPoints& entryPoints, int slot)
{
    FARPROC address;
    std::memcpy(&address, reinterpret_cast<const char*>(&entryPoints) + slot * sizeof address, sizeof address);
    return address;
}

// Option 0x40 puts this in every unbound slot, so that a call through one stops in the debugger
// where it happens instead of jumping to address zero.
INT_PTR WINAPI UnboundEntryPoint()
{
    DebugBreak();
    return 0;
}

// Where a slot is looked up while a driver is loaded: GLU names in the companion, pixel formats
// in gdi32.dll when it was loaded for the system's own driver, else in the driver under a
// wgl-prefixed name, everything else in the driver.
struct Lookup {
    HMODULE module;
    uint32_t source;
    char name[64];
};

Lookup LookupOf(int slot)
{
    Lookup lookup{driverModule, GLS_SLOT_DRIVER, ""};
    const char* pPrefix = "";
    if (slot >= GLS_FIRST_GLU_ENTRY) {
        lookup = {gluModule, GLS_SLOT_GLU, ""};
    } else if (slot < GLS_FIRST_WGL_ENTRY) {
        if (gdiModule)
            lookup = {gdiModule, GLS_SLOT_GDI, ""};
        else
            pPrefix = "wgl";
    }
    std::snprintf(lookup.name, sizeof lookup.name, "%s%s", pPrefix, _glsEntryPointNames[slot]);
    return lookup;
}

bool Bind(int slot)
{
    Lookup lookup = LookupOf(slot);
    FARPROC address = GetProcAddress(lookup.module, lookup.name);
    SetSlot(slot, address);
    return address != nullptr;
}

void ReleaseLibrary(HMODULE& module)
{
    if (module)
        FreeLibrary(module);
    module = nullptr;
}

void SaveAndSetSplash()
{
    if (!environmentSaved) {
        const char* pCurrent = glsGetEnv(kSplashVariable);
        // A value too long to be put back afterwards is left as it is rather than lost.
        if (pCurrent && std::strlen(kSplashVariable) + std::strlen(pCurrent) + 1 >= kEnvironmentTextSize)
            return;
        savedSplashPresent = pCurrent != nullptr;
        glsCopyString(savedSplash, pCurrent ? pCurrent : "", sizeof savedSplash);
        environmentSaved = true;
    }
    glsSetEnv(kSplashVariable, "1");
}

void SaveAndSetOverrideDispatch()
{
    if (!registrySaved) {
        savedOverrideDispatch = glsReadRegistryDword(glsOpenGLRegistryRoot(), glsOpenGLRegistryKey(), kOverrideDispatchValue, 0);
        registrySaved = true;
    }
    glsWriteRegistryDword(glsOpenGLRegistryRoot(), glsOpenGLRegistryKey(), kOverrideDispatchValue, 1);
}

// A stub binds the first detected driver, then calls the entry point it stood in for; when that
// driver cannot be loaded the slot stays unbound and the stub answers with a failure value.
template <typename Function>
Function BindForStub(Function GLSEntryPoints::*slot, Function stub)
{
    if (!glsIsDriverLoaded() && glsLoadDriver(0) != GLS_OK)
        return nullptr;
    Function bound = _glsEntryPoints.*slot;
    return bound == stub ? nullptr : bound;
}

int WINAPI ForwardChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd)
{
    auto bound = BindForStub(&GLSEntryPoints::ChoosePixelFormat, ForwardChoosePixelFormat);
    return bound ? bound(hdc, ppfd) : 0;
}

int WINAPI ForwardDescribePixelFormat(HDC hdc, int iPixelFormat, UINT nBytes, LPPIXELFORMATDESCRIPTOR ppfd)
{
    auto bound = BindForStub(&GLSEntryPoints::DescribePixelFormat, ForwardDescribePixelFormat);
    return bound ? bound(hdc, iPixelFormat, nBytes, ppfd) : 0;
}

WINBOOL WINAPI ForwardSetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* ppfd)
{
    auto bound = BindForStub(&GLSEntryPoints::SetPixelFormat, ForwardSetPixelFormat);
    return bound ? bound(hdc, format, ppfd) : FALSE;
}

HGLRC WINAPI ForwardGetCurrentContext(void)
{
    auto bound = BindForStub(&GLSEntryPoints::wglGetCurrentContext, ForwardGetCurrentContext);
    return bound ? bound() : nullptr;
}

} // namespace

const char* glsGetEnv(const char* pEnv)
{
    GLS_ASSERT(pEnv);
    // The runtime's copy (getenv) misses what was set with SetEnvironmentVariableA; the system's
    // copy also holds what _putenv set. Reading it saves what is really there before a load.
    static std::string value;
    DWORD size = 256;
    for (;;) {
        value.resize(size);
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetEnvironmentVariableA(pEnv, value.data(), size);
        if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
            return nullptr;
        if (length < size) {
            value.resize(length);
            return value.c_str();
        }
        size = length; // the room needed, terminator included
    }
}

void glsSetEnv(const char* pEnv, const char* pValue)
{
    GLS_ASSERT(pEnv);
    const char* pText = pValue ? pValue : "";
    if (std::strlen(pEnv) + std::strlen(pText) + 1 >= kEnvironmentTextSize)
        return;
    char assignment[kEnvironmentTextSize];
    std::snprintf(assignment, sizeof assignment, "%s=%s", pEnv, pText);
    // The runtime keeps a copy of its own; a driver may read either.
    _putenv(assignment);
    SetEnvironmentVariableA(pEnv, pText[0] ? pText : nullptr);
}

BOOL glsIsDriverLoaded(void)
{
    return driverModule != nullptr;
}

void glsUnloadDriver(void)
{
    ReleaseLibrary(driverModule);
    ReleaseLibrary(gluModule);
    ReleaseLibrary(gdiModule);
    // What loading changed is put back even when the options have since been told to leave the
    // variable or the value alone: otherwise the change would outlive the driver.
    if (environmentSaved) {
        glsSetEnv(kSplashVariable, savedSplashPresent ? savedSplash : nullptr);
        environmentSaved = false;
    }
    if (registrySaved) {
        glsWriteRegistryDword(glsOpenGLRegistryRoot(), glsOpenGLRegistryKey(), kOverrideDispatchValue, savedOverrideDispatch);
        registrySaved = false;
    }
    FARPROC unbound = (_glsOptions & GLS_OPTION_TRAP_UNBOUND) ? UnboundEntryPoint : nullptr;
    for (int slot = 0; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot)
        SetSlot(slot, unbound);
    _glsGLDriverFilePath[0] = '\0';
    _glsGLUDriverFilePath[0] = '\0';
    _glsLoadedDriverIndex = -1;
}

uint32_t glsLoadDriverFiles(const char* pDriverPath, const char* pGLUPath)
{
    glsUnloadDriver();
    if (!(_glsOptions & GLS_OPTION_KEEP_GLIDE_SPLASH))
        SaveAndSetSplash();
    if (!(_glsOptions & GLS_OPTION_KEEP_OVERRIDE_DISPATCH))
        SaveAndSetOverrideDispatch();

    bool hasDriver = pDriverPath && pDriverPath[0];
    bool hasGLU = pGLUPath && pGLUPath[0];
    if (!(_glsOptions & GLS_OPTION_GLU_ANY_FOLDER) && hasDriver && hasGLU && !glsSameFolder(pDriverPath, pGLUPath))
        hasDriver = hasGLU = false;
    if (!hasDriver)
        return GLS_ERROR_NOT_LOADED;
    driverModule = LoadLibraryA(pDriverPath);
    if (!driverModule)
        return GLS_ERROR_NOT_LOADED;

    // Every name is looked up even after one is missing, so that all that can be bound is.
    bool complete = true;
    for (int slot = GLS_FIRST_GL_ENTRY; slot < GLS_FIRST_GLU_ENTRY; ++slot)
        complete &= Bind(slot);
    for (int slot = GLS_FIRST_WGL_ENTRY; slot < GLS_FIRST_GL_ENTRY; ++slot)
        complete &= Bind(slot);

    // The system's own driver leaves pixel formats to the graphics library; others export
    // them under wgl-prefixed names.
    bool pixelFormats = true;
    if (glsIsSystemOpenGL(pDriverPath)) {
        gdiModule = LoadLibraryA("gdi32.dll");
        pixelFormats = gdiModule != nullptr;
        complete &= pixelFormats;
    }
    if (pixelFormats)
        for (int slot = GLS_FIRST_PIXEL_FORMAT_ENTRY; slot < GLS_FIRST_WGL_ENTRY; ++slot)
            complete &= Bind(slot);
    glsCopyString(_glsGLDriverFilePath, pDriverPath, sizeof _glsGLDriverFilePath);

    if ((_glsOptions & GLS_OPTION_IGNORE_GLU) || !hasGLU) {
        _glsGLUDriverFilePath[0] = '\0';
    } else {
        gluModule = LoadLibraryA(pGLUPath);
        if (!gluModule) {
            complete = false;
        } else {
            glsCopyString(_glsGLUDriverFilePath, pGLUPath, sizeof _glsGLUDriverFilePath);
            for (int slot = GLS_FIRST_GLU_ENTRY; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot)
                complete &= Bind(slot);
        }
    }

    if (!complete) {
        glsUnloadDriver();
        return GLS_ERROR_MISSING;
    }
    return GLS_OK;
}

uint32_t glsLoadDriver(uint32_t index)
{
    if (_glsNumberOfDriverInfos == 0)
        glsFindDrivers();
    if (index >= _glsNumberOfDriverInfos)
        return GLS_ERROR_BAD_ARGUMENT;
    DriverInfo info = _glsDriverInfos[index];
    uint32_t result = glsLoadDriverFiles(info.driverFile.aFilePath, info.gluFile.aFilePath);
    if (result == GLS_OK)
        _glsLoadedDriverIndex = static_cast<int32_t>(index);
    return result;
}

uint32_t glsGetLoadedDriverInfo(DriverInfo* pDriverInfo)
{
    if (!pDriverInfo || !glsIsDriverLoaded())
        return GLS_ERROR_NO_DRIVER;
    // A driver loaded by number is described by its record, as long as detection has not been
    // run again since and put another driver (or none) under that number; then, as for a
    // driver loaded by path, the files themselves are inspected.
    if (_glsLoadedDriverIndex >= 0 && static_cast<uint32_t>(_glsLoadedDriverIndex) < _glsNumberOfDriverInfos &&
        std::strcmp(_glsDriverInfos[_glsLoadedDriverIndex].driverFile.aFilePath, _glsGLDriverFilePath) == 0)
        return glsGetDriverInfo(static_cast<uint32_t>(_glsLoadedDriverIndex), pDriverInfo);
    GLS_ASSERT(_glsGLDriverFilePath[0]);
    return glsInspectDriver(_glsGLDriverFilePath, _glsGLUDriverFilePath, pDriverInfo);
}

uint32_t glsGetEntryPointSource(uint32_t slot)
{
    GLS_ASSERT(slot < GLS_NUMBER_OF_ENTRY_POINTS);
    FARPROC address = SlotOf(_glsEntryPoints, static_cast<int>(slot));
    if (!address)
        return GLS_SLOT_EMPTY;
    if (address == UnboundEntryPoint)
        return GLS_SLOT_TRAP;
    if (address == SlotOf(StartEntryPoints(), static_cast<int>(slot)))
        return GLS_SLOT_STUB;
    // Bound is what the library's lookup still gives; that also holds for an export the
    // library forwards to another one.
    Lookup lookup = LookupOf(static_cast<int>(slot));
    if (lookup.module && GetProcAddress(lookup.module, lookup.name) == address)
        return lookup.source;
    return GLS_SLOT_OTHER;
}

uint32_t glsGetLoadedDriverFlags(void)
{
    DriverInfo info;
    if (glsGetLoadedDriverInfo(&info) != GLS_OK)
        return GLS_DRIVER_UNVERIFIED | GLS_DRIVER_NO_GLU_VERSION | GLS_DRIVER_NO_GLU | GLS_DRIVER_NO_VERSION;
    return info.flags;
}

void glsTestRestoreStartState(void)
{
    _glsOptions = 0;
    glsUnloadDriver();
    _glsNumberOfDriverInfos = 0;
    _glsEntryPoints = StartEntryPoints();
}
