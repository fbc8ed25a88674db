#include "app/Platform.h"

#include <algorithm>
#include <utility>

#include <windows.h>

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
bool StartProgram(const std::string& program, PROCESS_INFORMATION& pi)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    // Named as the program file, the name is taken as it stands: CreateProcessA looks for it
    // neither on the search path nor in this program's folder. The command line repeats it, in
    // quotes when it holds blanks, so that the program finds no arguments there.
    std::string line = program.find_first_of(" \t") == std::string::npos ? program : "\"" + program + "\"";
    return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
}

// Removes the keyboard and mouse messages waiting in the thread's queue.
void DiscardQueuedInput()
{
    // Keys and clicks wait in the thread's queue without a window of their own: they go to whatever
    // has the focus, or lies under the mouse, when they are read. Read after a wait, they would
    // answer the first box shown next, unseen. Posted messages stay.
    const std::pair<UINT, UINT> kInput[] = {
        {WM_KEYFIRST, WM_KEYLAST}, {WM_MOUSEFIRST, WM_MOUSELAST}, {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
    MSG msg;
    for (const auto& [first, last] : kInput)
        while (PeekMessageA(&msg, nullptr, first, last, PM_REMOVE | PM_NOYIELD)) {
        }
}

}  // namespace

void Win32Processes::RunAndWait(const std::string& program)
{
    PROCESS_INFORMATION pi{};
    if (!StartProgram(program, pi)) return;
    CloseHandle(pi.hThread);
    // The caller's window takes no input meanwhile (the caller disables it), yet it must neither
    // stay blank where the other program's window lay nor turn into a "not responding" ghost: the
    // wait wakes for paint messages, which it handles, and at least once a second, so that the
    // system sees the thread look at its queue. Input and posted messages stay queued until the
    // program has ended, when the input is thrown away; messages that other threads send are
    // handled by every look at the queue, as they must be.
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 1000, QS_PAINT);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
    }
    CloseHandle(pi.hProcess);
    DiscardQueuedInput();
}

void Win32Processes::Start(const std::string& program)
{
    PROCESS_INFORMATION pi{};
    if (!StartProgram(program, pi)) return;
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

bool HasArguments(std::wstring_view commandLine)
{
    std::size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring_view::npos ? commandLine.size() : end + 1;
    } else {
        end = std::min(commandLine.find_first_of(L" \t"), commandLine.size());
    }
    return commandLine.find_first_not_of(L" \t", end) != std::wstring_view::npos;
}

std::vector<std::string> CommandLineArguments()
{
    // The shell splits the command line; its library is loaded for this one call only, since
    // nothing else of the program needs it and it would take memory for the whole run.
    std::vector<std::string> args;
    if (!HasArguments(GetCommandLineW())) return args;
    HMODULE shell = LoadLibraryA("shell32.dll");
    using Split = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    auto split = shell ? reinterpret_cast<Split>(GetProcAddress(shell, "CommandLineToArgvW")) : nullptr;
    int count = 0;
    LPWSTR* wide = split ? split(GetCommandLineW(), &count) : nullptr;
    if (shell) FreeLibrary(shell);
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
