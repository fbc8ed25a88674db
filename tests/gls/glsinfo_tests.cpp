// glsinfo.exe run as a user runs it: a load it tries must not outlive the program, whatever its
// result, in the machine-wide registry value or the environment.
#include "tests/gls/gls_test_support.h"

#include <fstream>

namespace {

using Glsinfo = GlsTest;

const char* const kMachineKey = GLS_OPENGL_REGISTRY_KEY;
const char* const kOverrideDispatch = GLS_OVERRIDE_DISPATCH_VALUE;

struct Finished {
    DWORD exitCode = 0;
    std::string output;
};

// Starts glsinfo.exe with the arguments, waits for it and collects what it printed.
Finished RunGlsinfo(const std::string& arguments)
{
    Finished run;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        ADD_FAILURE() << "no pipe";
        return run;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string commandLine = std::string("\"") + KX_GLSINFO_PROGRAM + "\" " + arguments;
    BOOL started = CreateProcessA(KX_GLSINFO_PROGRAM, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[4096];
        DWORD read;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read)
            run.output.append(buffer, read);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
    }
    CloseHandle(readEnd);
    return run;
}

// A file that is not a driver gives result 1, the one result after which the module keeps its
// changes until the next unload; glsinfo unloads and says what it put back.
TEST_F(Glsinfo, PutsEverythingBackAfterAFileThatIsNotADriver)
{
    std::optional<DWORD> original = ReadDword(HKEY_LOCAL_MACHINE, kMachineKey, kOverrideDispatch);
    TempFolder folder("kxgls_glsinfo");
    std::string notADriver = folder.Path() + "\\opengl.dll";
    std::ofstream(notADriver) << "not a library\n";

    struct Case {
        std::optional<DWORD> before;
        const char* splash;
        DWORD after;
        const char* report;
    } cases[] = {
        {5, "keep", 5, "Unloaded: FX_GLIDE_NO_SPLASH restored (\"keep\"); OverrideDispatch restored (5)"},
        {std::nullopt, nullptr, 0, "Unloaded: FX_GLIDE_NO_SPLASH restored (not set); OverrideDispatch restored (0, not set before)"},
    };
    for (const Case& c : cases) {
        if (c.before)
            WriteDword(HKEY_LOCAL_MACHINE, kMachineKey, kOverrideDispatch, *c.before);
        else
            DeleteValue(HKEY_LOCAL_MACHINE, kMachineKey, kOverrideDispatch);
        SetBothEnv(kSplash, c.splash); // inherited by glsinfo
        Finished run = RunGlsinfo("--load-files \"" + notADriver + "\"");
        EXPECT_EQ(run.exitCode, 1u) << run.output;
        EXPECT_NE(run.output.find("result 1 (driver not loaded), 0 of 408 entry points bound"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(c.report), std::string::npos) << run.output;
        EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kMachineKey, kOverrideDispatch), c.after);
    }

    if (original)
        WriteDword(HKEY_LOCAL_MACHINE, kMachineKey, kOverrideDispatch, *original);
    else
        DeleteValue(HKEY_LOCAL_MACHINE, kMachineKey, kOverrideDispatch);
}

} // namespace
