// glsinfo: prints what OpenGL driver detection finds on this machine (the list the settings
// window offers, in the same order and with the same numbers) and, on request, tries to load
// one of the drivers, so that a user or support can see why a driver is missing or fails.
#include "gls/gls.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

namespace {

const char* const kUsage =
    "Usage: glsinfo [--options HEX] [--load N | --load-files DRIVER [GLU] | --inspect DRIVER [GLU]]\n"
    "\n"
    "Lists the OpenGL drivers found in the Windows system folder: number, description,\n"
    "flags, and path, file version and last-write time of the driver and its GLU library.\n"
    "\n"
    "  --options HEX   set the driver module's option bits first (e.g. 0x01: ignore GLU)\n"
    "  --load N        load driver number N, report the result and how many entry points\n"
    "                  were bound (or which are missing), then unload it, whatever the\n"
    "                  result, and report what was restored; the exit code is the load\n"
    "                  result\n"
    "  --load-files DRIVER [GLU]\n"
    "                  the same for the given driver file (and GLU file)\n"
    "  --inspect DRIVER [GLU]\n"
    "                  describe the given driver file (and GLU file) instead of listing\n"
    "  --help          show this text\n";

const struct {
    uint32_t bit;
    const char* name;
} kFlagNames[] = {
    {GLS_DRIVER_UNVERIFIED, "not a known driver"},
    {GLS_DRIVER_NO_GLU_VERSION, "GLU without version"},
    {GLS_DRIVER_NO_GLU, "no usable GLU"},
    {GLS_DRIVER_NO_VERSION, "driver without version"},
    {GLS_DRIVER_IN_SYSTEM_FOLDER, "in system folder"},
    {GLS_DRIVER_SYSTEM_OPENGL, "system OpenGL"},
};

const char* ResultText(uint32_t result)
{
    switch (result) {
    case GLS_OK: return "success";
    case GLS_ERROR_NOT_LOADED: return "driver not loaded";
    case GLS_ERROR_MISSING: return "entry point or companion library missing";
    case GLS_ERROR_NO_DRIVER: return "no driver loaded";
    case GLS_ERROR_BAD_ARGUMENT: return "bad argument or driver number";
    default: return "unknown result";
    }
}

std::string FlagText(uint32_t flags)
{
    std::string text;
    for (const auto& flag : kFlagNames)
        if (flags & flag.bit)
            text += (text.empty() ? "" : ", ") + std::string(flag.name);
    return text;
}

void PrintFile(const char* pLabel, const DriverFileInfo& file)
{
    if (!file.aFilePath[0]) {
        std::printf("    %-7s (none)\n", pLabel);
        return;
    }
    std::printf("    %-7s %s\n", pLabel, file.aFilePath);
    if (file.fileVersionMS || file.fileVersionLS)
        std::printf("            version %u.%u.%u.%u", HIWORD(file.fileVersionMS), LOWORD(file.fileVersionMS),
                    HIWORD(file.fileVersionLS), LOWORD(file.fileVersionLS));
    else
        std::printf("            no version information");
    FILETIME written = {file.writeTimeLow, file.writeTimeHigh};
    SYSTEMTIME time;
    if (FileTimeToSystemTime(&written, &time))
        std::printf(", written %04u-%02u-%02u %02u:%02u:%02u UTC", time.wYear, time.wMonth, time.wDay, time.wHour,
                    time.wMinute, time.wSecond);
    std::printf("\n");
}

void PrintDriver(const char* pNumber, const DriverInfo& info)
{
    std::printf("[%s] %s\n", pNumber, info.aDriverDescription);
    std::string flags = FlagText(info.flags);
    std::printf("    flags   0x%08X%s%s%s\n", info.flags, flags.empty() ? "" : " (", flags.c_str(), flags.empty() ? "" : ")");
    PrintFile("driver", info.driverFile);
    PrintFile("GLU", info.gluFile);
}

struct SlotCounts {
    int bound = 0; // an address from the driver, its companion or gdi32.dll
    int traps = 0; // the debugger trap of option 0x40
};

SlotCounts CountEntryPoints()
{
    SlotCounts counts;
    for (uint32_t slot = 0; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot) {
        uint32_t source = glsGetEntryPointSource(slot);
        counts.bound += source == GLS_SLOT_DRIVER || source == GLS_SLOT_GLU || source == GLS_SLOT_GDI;
        counts.traps += source == GLS_SLOT_TRAP;
    }
    return counts;
}

// What loading changes for as long as a driver is loaded: the process's splash variable and the
// machine-wide OverrideDispatch value, kept as shown (the text in quotes, the number in decimal);
// empty when not set.
struct DriverEnvironment {
    std::optional<std::string> splash;
    std::optional<std::string> overrideDispatch;
};

DriverEnvironment ReadDriverEnvironment()
{
    DriverEnvironment environment;
    if (const char* pSplash = glsGetEnv(GLS_SPLASH_VARIABLE))
        environment.splash = "\"" + std::string(pSplash) + "\"";
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, GLS_OPENGL_REGISTRY_KEY, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD value = 0, type = 0, size = sizeof value;
        if (RegQueryValueExA(key, GLS_OVERRIDE_DISPATCH_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS && type == REG_DWORD && size == sizeof value)
            environment.overrideDispatch = std::to_string(value);
        RegCloseKey(key);
    }
    return environment;
}

// One part of the unload report: what the value is now, and whether that is what it was before
// the load. pUnsetAs is what a value that was not set comes back as (OverrideDispatch: "0").
std::string RestoredText(const char* pName, uint32_t keepOption, const std::optional<std::string>& before,
                         const std::optional<std::string>& after, const char* pUnsetAs)
{
    std::string name = pName;
    if (glsGetOptions() & keepOption)
        return name + " left alone";
    std::string now = after ? *after : "not set";
    if (after == before || (!before && pUnsetAs && after == pUnsetAs))
        return name + " restored (" + now + (before || !after ? "" : ", not set before") + ")";
    return name + " NOT restored: " + now + ", was " + (before ? *before : "not set");
}

// A failed load leaves no slot bound; what support needs to know is which names the libraries
// lack, so they are looked up once more here.
void PrintMissingEntryPoints(const char* pDriverPath, const char* pGLUPath)
{
    bool withGLU = pGLUPath[0] && !(glsGetOptions() & GLS_OPTION_IGNORE_GLU);
    HMODULE driver = LoadLibraryA(pDriverPath);
    HMODULE glu = withGLU ? LoadLibraryA(pGLUPath) : nullptr;
    if (!driver)
        std::printf("    cannot load %s\n", pDriverPath);
    if (withGLU && !glu)
        std::printf("    cannot load %s\n", pGLUPath);
    bool systemOpenGL = glsIsSystemOpenGL(pDriverPath);
    for (int slot = 0; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot) {
        std::string name = _glsEntryPointNames[slot];
        HMODULE library = slot >= GLS_FIRST_GLU_ENTRY ? glu : driver;
        if (slot < GLS_FIRST_WGL_ENTRY) {
            if (systemOpenGL)
                continue; // from the system graphics library
            name = "wgl" + name;
        }
        if (library && !GetProcAddress(library, name.c_str()))
            std::printf("    missing %s\n", name.c_str());
    }
    if (glu)
        FreeLibrary(glu);
    if (driver)
        FreeLibrary(driver);
}

bool ParseNumber(const char* pText, int base, unsigned long& value)
{
    char* pEnd = nullptr;
    value = std::strtoul(pText, &pEnd, base);
    return pEnd != pText && *pEnd == '\0';
}

// Reports a load that has been tried, then unloads, whatever the result: a load that found no
// driver to load (result 1) leaves the splash variable and OverrideDispatch changed until the
// next unload, and this program must not leave them so.
int ReportLoad(const char* pWhat, uint32_t result, const DriverEnvironment& before, const char* pDriverPath,
               const char* pGLUPath)
{
    SlotCounts counts = CountEntryPoints();
    std::printf("Loading %s: result %u (%s), %d of %d entry points bound", pWhat, result, ResultText(result),
                counts.bound, GLS_NUMBER_OF_ENTRY_POINTS);
    if (counts.traps)
        std::printf(", %d trap slots", counts.traps);
    std::printf("\n");
    if (result == GLS_OK)
        std::printf("    driver  %s\n    GLU     %s\n", _glsGLDriverFilePath,
                    _glsGLUDriverFilePath[0] ? _glsGLUDriverFilePath : "(none)");
    else if (result == GLS_ERROR_MISSING)
        PrintMissingEntryPoints(pDriverPath, pGLUPath);
    if (result == GLS_ERROR_BAD_ARGUMENT)
        return static_cast<int>(result); // nothing was loaded, nothing changed

    glsUnloadDriver();
    DriverEnvironment after = ReadDriverEnvironment();
    std::printf("Unloaded: %s; %s\n",
                RestoredText(GLS_SPLASH_VARIABLE, GLS_OPTION_KEEP_GLIDE_SPLASH, before.splash, after.splash, nullptr).c_str(),
                RestoredText(GLS_OVERRIDE_DISPATCH_VALUE, GLS_OPTION_KEEP_OVERRIDE_DISPATCH, before.overrideDispatch,
                             after.overrideDispatch, "0").c_str());
    return static_cast<int>(result);
}

int Fail(const char* pProblem, const char* pArgument)
{
    std::fprintf(stderr, "glsinfo: %s%s\n\n%s", pProblem, pArgument ? pArgument : "", kUsage);
    return 64;
}

// A text for the console: what the code page cannot spell shows as "?".
std::string ShownText(const std::wstring& text)
{
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string shown(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), shown.data(), size, nullptr,
                        nullptr);
    return shown;
}

// The arguments as the system has them. The C library's argv spells them in the system code page,
// by best fit where it cannot ("J\u00FCrgen" becomes "Jurgen" under code page 1251), and a path so
// spelled names another file.
std::vector<std::wstring> WideArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!split)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments.emplace_back(split[i]);
    LocalFree(split);
    return arguments;
}

// An argument in the system code page: exactly, or not at all (a character it cannot spell).
std::optional<std::string> Spelled(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string spelled(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), spelled.data(), size, nullptr,
                        utf8 ? nullptr : &defaulted);
    if (defaulted)
        return std::nullopt;
    return spelled;
}

// A file's path for the driver module, which takes them in the code page: as given, or else its
// short form, which the system spells in plain letters where the volume keeps short names.
std::optional<std::string> DriverModulePath(const std::wstring& path)
{
    if (std::optional<std::string> spelled = Spelled(path))
        return spelled;
    wchar_t shortPath[MAX_PATH * 4] = {};
    const DWORD n = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH * 4);
    if (n == 0 || n >= MAX_PATH * 4)
        return std::nullopt;
    return Spelled(shortPath);
}

} // namespace

int main()
{
    const std::vector<std::wstring> wideArguments = WideArguments();
    const int argc = static_cast<int>(wideArguments.size());
    // Every argument in the code page; a path it cannot spell is given as its short form, or refused.
    std::vector<std::string> spelled;
    for (const std::wstring& argument : wideArguments) {
        std::optional<std::string> text = DriverModulePath(argument);
        spelled.push_back(text ? *text : std::string());
        if (!text)
            return Fail("the system code page cannot spell ", ShownText(argument).c_str());
    }
    std::vector<char*> argvList;
    for (std::string& text : spelled)
        argvList.push_back(text.data());
    char** argv = argvList.data();
    long loadIndex = -1;
    const char* pInspectDriver = nullptr;
    const char* pLoadDriver = nullptr;
    const char* pGLU = "";
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        unsigned long value;
        if (argument == "--help" || argument == "-h" || argument == "/?") {
            std::printf("%s", kUsage);
            return 0;
        } else if (argument == "--options") {
            if (++i >= argc || !ParseNumber(argv[i], 16, value))
                return Fail("--options needs a hexadecimal number", nullptr);
            glsSetOptions(static_cast<uint32_t>(value));
        } else if (argument == "--load") {
            if (++i >= argc || !ParseNumber(argv[i], 10, value) || value >= GLS_MAX_DRIVER_INFOS)
                return Fail("--load needs a driver number from 0 to 2", nullptr);
            loadIndex = static_cast<long>(value);
        } else if (argument == "--inspect" || argument == "--load-files") {
            if (++i >= argc)
                return Fail("a driver file must follow ", argument.c_str());
            (argument == "--inspect" ? pInspectDriver : pLoadDriver) = argv[i];
            if (i + 1 < argc && argv[i + 1][0] != '-')
                pGLU = argv[++i];
        } else {
            return Fail("unknown argument: ", argv[i]);
        }
    }

    if (pInspectDriver) {
        DriverInfo info;
        uint32_t result = glsInspectDriver(pInspectDriver, pGLU, &info);
        if (result != GLS_OK) {
            std::printf("%s: result %u (%s)\n", pInspectDriver, result, ResultText(result));
            return static_cast<int>(result);
        }
        PrintDriver("-", info);
        return 0;
    }

    char systemFolder[MAX_PATH];
    if (GetSystemDirectoryA(systemFolder, MAX_PATH))
        std::printf("System folder: %s\n", systemFolder);
    std::printf("Options: 0x%02X\n", glsGetOptions());
    uint32_t count = glsFindDrivers();
    std::printf("Drivers found: %u\n", count);
    for (uint32_t index = 0; index < count; ++index) {
        DriverInfo info;
        if (glsGetDriverInfo(index, &info) == GLS_OK)
            PrintDriver(std::to_string(index).c_str(), info);
    }

    if (!pLoadDriver && loadIndex < 0)
        return 0;
    DriverEnvironment before = ReadDriverEnvironment();
    if (pLoadDriver)
        return ReportLoad(pLoadDriver, glsLoadDriverFiles(pLoadDriver, pGLU), before, pLoadDriver, pGLU);
    DriverInfo info{};
    glsGetDriverInfo(static_cast<uint32_t>(loadIndex), &info);
    return ReportLoad(("driver " + std::to_string(loadIndex)).c_str(), glsLoadDriver(static_cast<uint32_t>(loadIndex)),
                      before, info.driverFile.aFilePath, info.gluFile.aFilePath);
}
