#include "app/Platform.h"

#include <windows.h>
#include <shellapi.h>

bool Win32DisplayModes::Mode(int index, DisplayMode& mode)
{
    DEVMODEA dm{};
    dm.dmSize = sizeof dm;
    if (!EnumDisplaySettingsA(nullptr, static_cast<DWORD>(index), &dm)) return false;
    mode.bitsPerPixel = dm.dmBitsPerPel;
    mode.width = dm.dmPelsWidth;
    mode.height = dm.dmPelsHeight;
    return true;
}

namespace {
bool StartProcess(const std::string& commandLine, PROCESS_INFORMATION& pi)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string line = commandLine;  // CreateProcessA may write into it
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
}
}  // namespace

void Win32Processes::RunAndWait(const std::string& commandLine)
{
    PROCESS_INFORMATION pi{};
    if (!StartProcess(commandLine, pi)) return;
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

void Win32Processes::Start(const std::string& commandLine)
{
    PROCESS_INFORMATION pi{};
    if (!StartProcess(commandLine, pi)) return;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

std::string ProgramFolderOf(const std::string& programPath)
{
    std::size_t cut = programPath.find_last_of("\\:");
    std::string folder = cut == std::string::npos ? std::string() : programPath.substr(0, cut + 1);
    // A trailing backslash goes, unless it belongs to a drive root ("C:\") or a network
    // prefix ("\\").
    if (folder.size() >= 2 && folder.back() == '\\' && folder[folder.size() - 2] != ':' &&
        folder[folder.size() - 2] != '\\')
        folder.pop_back();
    // One backslash at the end, never two.
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string ProgramFolder()
{
    char path[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return ProgramFolderOf(std::string(path, n));
}

std::vector<std::string> CommandLineArguments()
{
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return args;
    for (int i = 1; i < count; ++i) {
        int n = WideCharToMultiByte(CP_ACP, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
        if (n > 1) WideCharToMultiByte(CP_ACP, 0, wide[i], -1, arg.data(), n, nullptr, nullptr);
        args.push_back(arg);
    }
    LocalFree(wide);
    return args;
}
