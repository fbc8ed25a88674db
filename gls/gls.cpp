// Driver detection: the table of known drivers, the description of the installed ones, and the
// file, version-resource and registry helpers that loading uses too.
#include "gls_internal.h"
#include "gls_testing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

const KnownDriver _glsKnownDrivers[GLS_NUMBER_OF_KNOWN_DRIVERS] = {
    {0x4, "\\opengl32.dll", "\\glu32.dll", "Default OpenGL Driver"},
    {0x3, "\\3dfxogl.dll", "\\3dfxoglu.dll", "3dfx Installed OpenGL Driver"},
    {0x80, "\\opengl.dll", "\\glu.dll", "SGI Software OpenGL Driver"},
    {0x3, "\\3dfxvgl.dll", "\\3dfxvglu.dll", "3dfx Standalone OpenGL Driver"},
};

DriverInfo _glsDriverInfos[GLS_MAX_DRIVER_INFOS];
uint32_t _glsNumberOfDriverInfos = 0;
uint32_t _glsOptions = 0;

namespace {

const char* const pUnknownDescription = "Unknown";

// Test seams; empty means the real thing.
char systemFolderOverride[GLS_PATH_SIZE];
HKEY registryRootOverride;
char registryKeyOverride[GLS_PATH_SIZE];
GlsAssertHandler assertHandler;

// A GUI program has no console to speak of, so the report goes to a box as well.
void ReportAssertion(const char* pMessage)
{
    std::fprintf(stderr, "%s\n", pMessage);
    std::fflush(stderr);
    MessageBoxA(nullptr, pMessage, "gls", MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

bool FullPath(const char* pPath, char (&full)[GLS_PATH_SIZE])
{
    DWORD length = GetFullPathNameA(pPath, GLS_PATH_SIZE, full, nullptr);
    if (length == 0 || length >= GLS_PATH_SIZE) {
        full[0] = '\0';
        return false;
    }
    return true;
}

void ToUpper(char* pText)
{
    CharUpperBuffA(pText, static_cast<DWORD>(std::strlen(pText)));
}

// Length of everything before the file name, the separator included.
size_t FolderLength(const char* pFullPath)
{
    const char* pSeparator = std::strrchr(pFullPath, '\\');
    return pSeparator ? static_cast<size_t>(pSeparator - pFullPath) + 1 : 0;
}

bool EqualIgnoringCase(const char* pA, const char* pB, size_t length)
{
    char a[GLS_PATH_SIZE];
    char b[GLS_PATH_SIZE];
    if (length >= GLS_PATH_SIZE)
        return false;
    std::memcpy(a, pA, length);
    std::memcpy(b, pB, length);
    a[length] = b[length] = '\0';
    ToUpper(a);
    ToUpper(b);
    return std::strcmp(a, b) == 0;
}

// Company, " - " and the file description (or else the product name), all or nothing: a text
// that would not fit is left out rather than cut.
void ComposeDescription(const void* pVersionInfo, char* pDescription, size_t size)
{
    UINT companyLength = 0;
    UINT descriptionLength = 0;
    UINT productLength = 0;
    const char* pCompany = glsQueryVersionString(pVersionInfo, "CompanyName", &companyLength);
    const char* pFileDescription = glsQueryVersionString(pVersionInfo, "FileDescription", &descriptionLength);
    const char* pProduct = glsQueryVersionString(pVersionInfo, "ProductName", &productLength);
    if (std::max(descriptionLength, productLength) + companyLength + 3 >= size)
        return;
    const char* pName = pFileDescription ? pFileDescription : pProduct;
    UINT nameLength = pFileDescription ? descriptionLength : productLength;
    std::snprintf(pDescription, size, "%.*s%s%.*s", static_cast<int>(companyLength), pCompany ? pCompany : "",
                  pCompany && pName ? " - " : "", static_cast<int>(nameLength), pName ? pName : "");
}

} // namespace

void glsAssertFailed(const char* pExpression, int line)
{
    char message[512];
    std::snprintf(message, sizeof message, "Assertion failed: %s, file gls, line %d", pExpression, line);
    (assertHandler ? assertHandler : ReportAssertion)(message);
    ExitProcess(3);
}

bool glsGetSystemFolder(char (&folder)[GLS_PATH_SIZE])
{
    if (systemFolderOverride[0]) {
        glsCopyString(folder, systemFolderOverride, sizeof folder);
    } else {
        UINT length = GetSystemDirectoryA(folder, GLS_PATH_SIZE);
        if (length == 0 || length >= GLS_PATH_SIZE) {
            folder[0] = '\0';
            return false;
        }
    }
    size_t length = std::strlen(folder);
    while (length > 0 && folder[length - 1] == '\\')
        folder[--length] = '\0';
    return length > 0;
}

HKEY glsOpenGLRegistryRoot()
{
    return registryKeyOverride[0] ? registryRootOverride : HKEY_LOCAL_MACHINE;
}

const char* glsOpenGLRegistryKey()
{
    return registryKeyOverride[0] ? registryKeyOverride : GLS_OPENGL_REGISTRY_KEY;
}

GlsAssertHandler glsTestSetAssertHandler(GlsAssertHandler handler)
{
    return std::exchange(assertHandler, handler);
}

void glsTestSetSystemFolder(const char* pFolder)
{
    // Kept as a full path, as the real one is, so that path comparisons see the same text.
    if (!pFolder || !FullPath(pFolder, systemFolderOverride))
        systemFolderOverride[0] = '\0';
}

void glsTestSetRegistryKey(HKEY hRoot, const char* pSubKey)
{
    registryRootOverride = hRoot;
    glsCopyString(registryKeyOverride, pSubKey ? pSubKey : "", sizeof registryKeyOverride);
}

char* glsCopyString(char* pDest, const char* pSource, size_t size)
{
    GLS_ASSERT(pDest && pSource);
    if (size == 0)
        return pDest;
    size_t length = strnlen(pSource, size);
    if (length == size)
        length = size - 1;
    std::memmove(pDest, pSource, length);
    pDest[length] = '\0';
    return pDest;
}

BOOL glsIsSystemOpenGL(const char* pPath)
{
    GLS_ASSERT(pPath);
    char systemFolder[GLS_PATH_SIZE];
    char systemOpenGL[GLS_PATH_SIZE];
    char full[GLS_PATH_SIZE];
    char fullSystemOpenGL[GLS_PATH_SIZE];
    if (!glsGetSystemFolder(systemFolder))
        return FALSE;
    int length = std::snprintf(systemOpenGL, sizeof systemOpenGL, "%s%s", systemFolder, _glsKnownDrivers[0].aDriverFileName);
    if (length < 0 || length >= GLS_PATH_SIZE || !FullPath(pPath, full) || !FullPath(systemOpenGL, fullSystemOpenGL))
        return FALSE;
    return std::strlen(full) == std::strlen(fullSystemOpenGL) && EqualIgnoringCase(full, fullSystemOpenGL, std::strlen(full));
}

BOOL glsSameFolder(const char* pPathA, const char* pPathB)
{
    GLS_ASSERT(pPathA && pPathB);
    char fullA[GLS_PATH_SIZE];
    char fullB[GLS_PATH_SIZE];
    if (!FullPath(pPathA, fullA) || !FullPath(pPathB, fullB))
        return FALSE;
    size_t folderLength = FolderLength(fullA);
    return folderLength == FolderLength(fullB) && EqualIgnoringCase(fullA, fullB, folderLength);
}

DWORD glsReadRegistryDword(HKEY hRoot, const char* pSubKey, const char* pValueName, DWORD defaultValue)
{
    GLS_ASSERT(pSubKey && pValueName);
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, pSubKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return defaultValue;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    LONG result = RegQueryValueExA(hKey, pValueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(hKey);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? value : defaultValue;
}

LONG glsWriteRegistryDword(HKEY hRoot, const char* pSubKey, const char* pValueName, DWORD value)
{
    GLS_ASSERT(pSubKey && pValueName);
    HKEY hKey;
    LONG result = RegCreateKeyExA(hRoot, pSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    // A refused write is reported too, not hidden behind a successful close.
    LONG written = RegSetValueExA(hKey, pValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    LONG closed = RegCloseKey(hKey);
    return written != ERROR_SUCCESS ? written : closed;
}

BOOL glsReadFileStamp(const char* pPath, DriverFileInfo* pFileInfo)
{
    GLS_ASSERT(pPath && pFileInfo);
    pFileInfo->writeTimeHigh = 0;
    pFileInfo->writeTimeLow = 0;
    HANDLE hFile = CreateFileA(pPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    BY_HANDLE_FILE_INFORMATION information;
    BOOL read = GetFileInformationByHandle(hFile, &information);
    if (read) {
        pFileInfo->writeTimeHigh = information.ftLastWriteTime.dwHighDateTime;
        pFileInfo->writeTimeLow = information.ftLastWriteTime.dwLowDateTime;
    }
    CloseHandle(hFile);
    return read;
}

const char* glsQueryVersionString(const void* pVersionInfo, const char* pVersionString, UINT* pStringSize)
{
    GLS_ASSERT(pVersionInfo && pVersionString && pStringSize);
    static const WORD codePages[] = {0x04B0, 0x04E4};
    const char* pFound = nullptr;
    *pStringSize = 0;
    for (WORD codePage : codePages) {
        if (pFound || std::strlen(pVersionString) + 25 >= 1024)
            break;
        char query[1024];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\%s", GetUserDefaultLangID(), codePage, pVersionString);
        char* pString = nullptr;
        UINT size = 0;
        // The reported size may or may not count the terminator, and an empty value says
        // nothing: both are taken from the text itself, and an empty text counts as absent.
        if (VerQueryValueA(pVersionInfo, query, reinterpret_cast<void**>(&pString), &size) && pString && size) {
            UINT length = static_cast<UINT>(strnlen(pString, size));
            if (length) {
                pFound = pString;
                *pStringSize = length;
            }
        }
    }
    return pFound;
}

BOOL glsReadVersionInfo(const char* pPath, DriverFileInfo* pFileInfo, char* pDescription, size_t size)
{
    GLS_ASSERT(pPath && pFileInfo);
    pFileInfo->fileVersionMS = 0;
    pFileInfo->fileVersionLS = 0;
    if (pDescription && size)
        pDescription[0] = '\0';
    DWORD handle = 0;
    DWORD resourceSize = GetFileVersionInfoSizeA(pPath, &handle);
    if (resourceSize == 0)
        return FALSE;
    void* pVersionInfo = std::malloc(resourceSize);
    if (!pVersionInfo)
        return FALSE;
    BOOL found = FALSE;
    if (GetFileVersionInfoA(pPath, 0, resourceSize, pVersionInfo)) {
        VS_FIXEDFILEINFO* pFixed = nullptr;
        UINT fixedSize = 0;
        if (VerQueryValueA(pVersionInfo, "\\", reinterpret_cast<void**>(&pFixed), &fixedSize) && pFixed &&
            fixedSize == sizeof(VS_FIXEDFILEINFO) && pFixed->dwSignature == 0xFEEF04BD) {
            pFileInfo->fileVersionMS = pFixed->dwFileVersionMS;
            pFileInfo->fileVersionLS = pFixed->dwFileVersionLS;
            found = TRUE;
        }
        if (pDescription && size)
            ComposeDescription(pVersionInfo, pDescription, size);
    }
    std::free(pVersionInfo);
    return found;
}

BOOL glsResolveDriverPath(const char* pPath, DriverFileInfo* pFileInfo, BOOL* pInSystemFolder)
{
    GLS_ASSERT(pPath && pFileInfo && pInSystemFolder);
    pFileInfo->aFilePath[0] = '\0';
    *pInSystemFolder = FALSE;
    char systemFolder[GLS_PATH_SIZE];
    if (!FullPath(pPath, pFileInfo->aFilePath) || !glsGetSystemFolder(systemFolder))
        return FALSE;
    ToUpper(pFileInfo->aFilePath);
    ToUpper(systemFolder);
    size_t systemLength = std::strlen(systemFolder);
    *pInSystemFolder = FolderLength(pFileInfo->aFilePath) == systemLength + 1 &&
                       std::strncmp(pFileInfo->aFilePath, systemFolder, systemLength) == 0;
    return TRUE;
}

uint32_t glsInspectDriver(const char* pDriverPath, const char* pGLUPath, DriverInfo* pDriverInfo)
{
    if (!pDriverPath || !pDriverInfo)
        return GLS_ERROR_BAD_ARGUMENT;
    std::memset(pDriverInfo, 0, sizeof *pDriverInfo);
    if (!glsReadFileStamp(pDriverPath, &pDriverInfo->driverFile))
        return GLS_ERROR_BAD_ARGUMENT;
    pDriverInfo->flags = GLS_DRIVER_UNVERIFIED;

    BOOL gluUsable = FALSE;
    if (pGLUPath && pGLUPath[0] && !(_glsOptions & GLS_OPTION_IGNORE_GLU) &&
        glsReadFileStamp(pGLUPath, &pDriverInfo->gluFile)) {
        if (!glsReadVersionInfo(pGLUPath, &pDriverInfo->gluFile, nullptr, 0))
            pDriverInfo->flags |= GLS_DRIVER_NO_GLU_VERSION;
        BOOL inSystemFolder;
        gluUsable = glsResolveDriverPath(pGLUPath, &pDriverInfo->gluFile, &inSystemFolder);
    }
    // An unusable companion loses its path only: the write time and version read above stay in
    // the record. One that is missing or not looked at was never read, so its record stays zero.
    if (!gluUsable) {
        pDriverInfo->gluFile.aFilePath[0] = '\0';
        pDriverInfo->flags |= GLS_DRIVER_NO_GLU | GLS_DRIVER_NO_GLU_VERSION;
    }

    if (!glsReadVersionInfo(pDriverPath, &pDriverInfo->driverFile, pDriverInfo->aDriverDescription,
                            sizeof pDriverInfo->aDriverDescription)) {
        GLS_ASSERT(sizeof(pDriverInfo->aDriverDescription) > strlen(pUnknownDescription));
        glsCopyString(pDriverInfo->aDriverDescription, pUnknownDescription, sizeof pDriverInfo->aDriverDescription);
        pDriverInfo->flags |= GLS_DRIVER_NO_VERSION;
    }

    BOOL inSystemFolder;
    if (!glsResolveDriverPath(pDriverPath, &pDriverInfo->driverFile, &inSystemFolder))
        return GLS_ERROR_BAD_ARGUMENT;
    if (inSystemFolder)
        pDriverInfo->flags |= GLS_DRIVER_IN_SYSTEM_FOLDER;
    if (glsIsSystemOpenGL(pDriverInfo->driverFile.aFilePath))
        pDriverInfo->flags |= GLS_DRIVER_SYSTEM_OPENGL;

    if (!(_glsOptions & GLS_OPTION_GLU_ANY_FOLDER) && pDriverInfo->gluFile.aFilePath[0] &&
        !glsSameFolder(pDriverInfo->driverFile.aFilePath, pDriverInfo->gluFile.aFilePath)) {
        pDriverInfo->gluFile.aFilePath[0] = '\0';
        pDriverInfo->flags |= GLS_DRIVER_NO_GLU | GLS_DRIVER_NO_GLU_VERSION;
    }
    return GLS_OK;
}

uint32_t glsFindDrivers(void)
{
    _glsNumberOfDriverInfos = 0;
    char systemFolder[GLS_PATH_SIZE];
    if (!glsGetSystemFolder(systemFolder))
        return 0;
    size_t folderLength = std::strlen(systemFolder);
    for (const KnownDriver& known : _glsKnownDrivers) {
        if (_glsNumberOfDriverInfos >= GLS_MAX_DRIVER_INFOS)
            break;
        if (folderLength + std::strlen(known.aDriverFileName) >= GLS_PATH_SIZE ||
            folderLength + std::strlen(known.aGLUFileName) >= GLS_PATH_SIZE)
            continue;
        char driverPath[GLS_PATH_SIZE];
        char gluPath[GLS_PATH_SIZE];
        std::snprintf(driverPath, sizeof driverPath, "%s%s", systemFolder, known.aDriverFileName);
        std::snprintf(gluPath, sizeof gluPath, "%s%s", systemFolder, known.aGLUFileName);
        DriverInfo& info = _glsDriverInfos[_glsNumberOfDriverInfos];
        if (glsInspectDriver(driverPath, gluPath, &info) != GLS_OK)
            continue;
        info.flags = (info.flags & ~GLS_DRIVER_UNVERIFIED) | known.flags;
        if (known.aDriverDescription[0])
            glsCopyString(info.aDriverDescription, known.aDriverDescription, sizeof info.aDriverDescription);
        ++_glsNumberOfDriverInfos;
    }
    return _glsNumberOfDriverInfos;
}

uint32_t glsGetDriverInfo(uint32_t index, DriverInfo* pDriverInfo)
{
    if (_glsNumberOfDriverInfos == 0)
        glsFindDrivers();
    if (!pDriverInfo || index >= _glsNumberOfDriverInfos)
        return GLS_ERROR_BAD_ARGUMENT;
    *pDriverInfo = _glsDriverInfos[index];
    return GLS_OK;
}

uint32_t glsGetOptions(void)
{
    return _glsOptions;
}

uint32_t glsSetOptions(uint32_t options)
{
    uint32_t previous = std::exchange(_glsOptions, options);
    if (options & GLS_OPTION_TRAP_UNBOUND)
        glsUnloadDriver();
    return previous;
}
