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
bool StartProgram(const std::wstring& program, PROCESS_INFORMATION& pi)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    // Named as the program file, the name is taken as it stands: CreateProcessW looks for it
    // neither on the search path nor in this program's folder. The command line repeats it, in
    // quotes when it holds blanks, so that the program finds no arguments there.
    std::wstring line = program.find_first_of(L" \t") == std::wstring::npos ? program : L"\"" + program + L"\"";
    return CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
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

bool Win32Processes::RunAndWait(const std::wstring& program)
{
    PROCESS_INFORMATION pi{};
    if (!StartProgram(program, pi)) return false;
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
    return true;
}

bool Win32Processes::Start(const std::wstring& program)
{
    PROCESS_INFORMATION pi{};
    if (!StartProgram(program, pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

bool Win32Processes::Exists(const std::wstring& program)
{
    const DWORD attributes = GetFileAttributesW(program.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FullPathOf(const std::wstring& program)
{
    const DWORD size = GetFullPathNameW(program.c_str(), 0, nullptr, nullptr);
    if (size == 0) return program;
    std::wstring path(size, L'\0');
    const DWORD length = GetFullPathNameW(program.c_str(), size, path.data(), nullptr);
    path.resize(length < size ? length : 0);
    return path.empty() ? program : path;
}

std::wstring ProgramFolderOf(const std::wstring& programPath)
{
    std::size_t cut = programPath.find_last_of(L"\\:");
    std::wstring folder = cut == std::wstring::npos ? std::wstring() : programPath.substr(0, cut + 1);
    // A trailing backslash goes, unless it belongs to a drive root ("C:\") or a network
    // prefix ("\\").
    if (folder.size() >= 2 && folder.back() == L'\\' && folder[folder.size() - 2] != L':' &&
        folder[folder.size() - 2] != L'\\')
        folder.pop_back();
    // One backslash at the end, never two.
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring ProgramFolder()
{
    // The ANSI form of the path would give a name the code page cannot spell as "?", or by best fit
    // as the name of another folder.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return ProgramFolderOf(path);
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

namespace {

// A path function's answer in a buffer of the size it asks for; the path as given when it fails.
template <typename PathFunction>
std::wstring Rewritten(const std::wstring& path, PathFunction function)
{
    std::wstring result(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = function(path.c_str(), result.data(), static_cast<DWORD>(result.size()));
        if (n == 0) return path;
        if (n < result.size()) return result.substr(0, n);
        result.resize(n);
    }
}

}  // namespace

std::wstring FolderKey(const std::wstring& folder)
{
    // The full path does away with "." and "..", relative parts and forward slashes.
    std::wstring key = Rewritten(folder, [](LPCWSTR in, LPWSTR out, DWORD size) {
        return GetFullPathNameW(in, size, out, nullptr);
    });
    // Short names such as "TORVEL~1" are other names of the same folders. The system makes them with
    // a tilde; a path without one holds none, and spares the look into every folder on it that
    // finding the long names takes (about a millisecond under Wine).
    if (key.find(L'~') != std::wstring::npos) key = Rewritten(key, GetLongPathNameW);
    // The file system takes names without regard to letter case.
    CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    while (!key.empty() && key.back() == L'\\') key.pop_back();
    return key;
}

namespace {

// How long a later start waits for the holder to show a window: it may still be making it.
constexpr DWORD kHolderWaitMs = 10000;

// Kernel object names may not hold backslashes and are at most MAX_PATH long, while a folder's
// path may be longer: the names carry a 64-bit hash of the key (FNV-1a) instead.
std::wstring ClaimName(const std::wstring& key, const wchar_t* what)
{
    unsigned long long hash = 14695981039346656037ull;
    for (wchar_t c : key) {
        hash ^= static_cast<unsigned short>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    wsprintfW(name, L"KXConfig.%08lX%08lX.%ls", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash), what);
    return name;
}

struct ShownWindowSearch {
    DWORD process;
    HWND found;
};

// The first window of the process in the desktop's order that a player can bring forward: the
// window, its first-run dialog or a message box, all captioned, unlike tool tips and drop-down lists.
BOOL CALLBACK FindShownWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<ShownWindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != search->process || !IsWindowVisible(hwnd) ||
        (GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) != WS_CAPTION)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

bool BringToFront(DWORD process)
{
    ShownWindowSearch search{process, nullptr};
    EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return false;
    // Asynchronous: a holder that hangs must not hang this start too.
    if (IsIconic(search.found)) ShowWindowAsync(search.found, SW_RESTORE);
    // A message box the window has open goes in front of it. This start was begun by the player,
    // so it may give the foreground away.
    SetForegroundWindow(GetLastActivePopup(search.found));
    return true;
}

}  // namespace

FolderClaim::FolderClaim(const std::wstring& programFolder)
{
    const std::wstring key = FolderKey(programFolder);
    lock_ = CreateMutexW(nullptr, FALSE, ClaimName(key, L"lock").c_str());
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                  ClaimName(key, L"holder").c_str());
    if (mapping_) holder_ = static_cast<long*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
}

FolderClaim::~FolderClaim()
{
    if (held_) ReleaseMutex(lock_);
    if (holder_) UnmapViewOfFile(holder_);
    if (mapping_) CloseHandle(mapping_);
    if (lock_) CloseHandle(lock_);
}

bool FolderClaim::Take()
{
    // Without the objects the program runs as it would without a claim.
    if (!lock_ || !holder_) return true;
    const DWORD start = GetTickCount();
    for (;;) {
        // Owning the mutex, not its mere existence, is what holds the folder: the mutex of a holder
        // that has ended is abandoned, and the next start takes it over.
        DWORD got = WaitForSingleObject(lock_, 0);
        if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) {
            held_ = true;
            InterlockedExchange(holder_, static_cast<LONG>(GetCurrentProcessId()));
            return true;
        }
        DWORD holder = static_cast<DWORD>(InterlockedCompareExchange(holder_, 0, 0));
        if (holder && BringToFront(holder)) return false;
        if (GetTickCount() - start >= kHolderWaitMs) return false;
        Sleep(50);
    }
}
