// pageshot: drives a running KXConfig from outside, so that scripts can show each page of the
// window on a screen and take pictures of it. It finds the windows by class, the controls by the
// component name every control carries as the window property "Name", and acts through window
// messages only, as a user's clicks and keys would.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: pageshot COMMAND [ARGUMENTS]\n"
    "\n"
    "  wait CLASS[,CLASS...] [MS]\n"
    "                       wait (default 20000 ms) until a visible window of one of the\n"
    "                       classes is shown; print its outer rectangle on the screen as\n"
    "                       X Y WIDTH HEIGHT\n"
    "  shown                print the rectangle around all shown windows of the program (main\n"
    "                       window, difficulty dialog, message boxes)\n"
    "  click CLASS NAME...  click the buttons named NAME in the window of CLASS, in turn\n"
    "  page INDEX           show the tab INDEX (0 = first shown tab) of the main window, with\n"
    "                       the arrow keys on its tab control, closing any message box on the way\n"
    "  dismiss              close the message boxes that are shown\n"
    "  close [MS]           end the program: close its message boxes (Yes where one asks, as\n"
    "                       whether to close without saving), dialog and main window, and\n"
    "                       wait (default 10000 ms) until it has ended\n"
    "  pointer              move the mouse pointer to the lower right corner of the screen, away\n"
    "                       from the program's windows, so that no tool tip or hover shows\n"
    "\n"
    "The exit code is 0 on success, 1 when a window or control is not found in time, 2 on\n"
    "bad usage.\n";

const char* const kMainClass = "TfConfig";
const char* const kDialogClass = "TdlgDifficulty";
const char* const kMessageBoxClass = "#32770";

std::string ClassOf(HWND hwnd)
{
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

struct TopSearch {
    const char* windowClass;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM data)
{
    auto* s = reinterpret_cast<TopSearch*>(data);
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == s->windowClass) s->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> VisibleTopWindows(const char* windowClass)
{
    TopSearch search{windowClass, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND VisibleTopWindow(const char* windowClass)
{
    std::vector<HWND> found = VisibleTopWindows(windowClass);
    return found.empty() ? nullptr : found.front();
}

// classes: one window class or several separated by commas.
HWND WaitForWindow(const std::string& classes, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::size_t from = 0;
        while (from <= classes.size()) {
            std::size_t comma = classes.find(',', from);
            if (comma == std::string::npos) comma = classes.size();
            if (HWND hwnd = VisibleTopWindow(classes.substr(from, comma - from).c_str())) return hwnd;
            from = comma + 1;
        }
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

std::string ComponentName(HWND hwnd)
{
    auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, "Name")));
    char name[256] = "";
    if (atom == 0 || GlobalGetAtomNameA(atom, name, sizeof name) == 0) return "";
    return name;
}

struct ChildSearch {
    const std::string& name;
    const char* windowClass;  // when given, the class is looked for instead of the name
    HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM data)
{
    auto* s = reinterpret_cast<ChildSearch*>(data);
    bool match = s->windowClass ? ClassOf(hwnd) == s->windowClass : ComponentName(hwnd) == s->name;
    if (!match) return TRUE;
    s->found = hwnd;
    return FALSE;
}

HWND FindChild(HWND parent, const std::string& componentName, const char* windowClass = nullptr)
{
    ChildSearch search{componentName, windowClass, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The program makes the controls of the pages it does not show first soon after its window appears.
HWND WaitForChild(HWND parent, const std::string& componentName, DWORD timeoutMs = 5000)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FindChild(parent, componentName)) return found;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

// Returns once the window's thread has handled everything sent before, so that what the
// previous message started has been drawn or at least queued for drawing.
void Settle(HWND hwnd)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

// yes: a Yes/No box is answered Yes (closing, the window asks whether to give up unsaved changes).
int DismissMessageBoxes(bool yes = false)
{
    int closed = 0;
    for (HWND box : VisibleTopWindows(kMessageBoxClass)) {
        // A box with only OK ends with IDOK; in a Yes/No box IDOK counts as "not Yes".
        const int button = yes && GetDlgItem(box, IDYES) ? IDYES : IDOK;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        ++closed;
    }
    return closed;
}

// Message boxes are shown a moment after the action that opens them; wait a little for one.
void DismissLateMessageBoxes(DWORD waitMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < waitMs) {
        if (DismissMessageBoxes()) {
            Sleep(200);
            start = GetTickCount();
            continue;
        }
        Sleep(50);
    }
}

void PrintRect(const RECT& r)
{
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool PrintWindowRect(const char* classes, DWORD timeoutMs)
{
    HWND hwnd = WaitForWindow(classes, timeoutMs);
    if (!hwnd) {
        std::fprintf(stderr, "pageshot: no window of class %s\n", classes);
        return false;
    }
    Settle(hwnd);
    RECT r;
    GetWindowRect(hwnd, &r);
    PrintRect(r);
    return true;
}

bool PrintShownRect()
{
    RECT all{};
    bool any = false;
    for (const char* windowClass : {kMainClass, kDialogClass, kMessageBoxClass}) {
        for (HWND hwnd : VisibleTopWindows(windowClass)) {
            Settle(hwnd);
            RECT r;
            GetWindowRect(hwnd, &r);
            if (any) UnionRect(&all, &all, &r);
            else all = r;
            any = true;
        }
    }
    if (!any) {
        std::fprintf(stderr, "pageshot: the program shows no window\n");
        return false;
    }
    PrintRect(all);
    return true;
}

bool Click(const char* windowClass, int count, char** names)
{
    HWND top = WaitForWindow(windowClass, 5000);
    if (!top) {
        std::fprintf(stderr, "pageshot: no window of class %s\n", windowClass);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        HWND button = WaitForChild(top, names[i]);
        if (!button) {
            std::fprintf(stderr, "pageshot: no control named %s in %s\n", names[i], windowClass);
            return false;
        }
        // Posted, not sent: a click may open a modal window, which would hold a sent message.
        PostMessageA(button, BM_CLICK, 0, 0);
        Settle(top);
    }
    return true;
}

// Gives the tab control the keyboard focus as a user's click on it would.
void FocusControl(HWND top, HWND control)
{
    DWORD theirs = GetWindowThreadProcessId(top, nullptr);
    DWORD ours = GetCurrentThreadId();
    SetForegroundWindow(top);
    if (AttachThreadInput(ours, theirs, TRUE)) {
        SetFocus(control);
        AttachThreadInput(ours, theirs, FALSE);
    }
    Settle(top);
}

bool ShowPage(int index)
{
    HWND top = WaitForWindow(kMainClass, 10000);
    HWND tabs = top ? FindChild(top, "", WC_TABCONTROLA) : nullptr;
    if (!tabs) {
        std::fprintf(stderr, "pageshot: no tab control in a window of class %s\n", kMainClass);
        return false;
    }
    int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    if (index < 0 || index >= count) {
        std::fprintf(stderr, "pageshot: page %d of %d does not exist\n", index, count);
        return false;
    }
    FocusControl(top, tabs);
    for (int tries = 0; tries < 2 * count; ++tries) {
        int current = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
        if (current == index) break;
        WPARAM key = current < index ? VK_RIGHT : VK_LEFT;
        PostMessageA(tabs, WM_KEYDOWN, key, 1);
        PostMessageA(tabs, WM_KEYUP, key, 0xC0000001);
        Settle(tabs);
        // Some pages greet their first visit with a notice.
        DismissLateMessageBoxes(400);
        Settle(tabs);
    }
    if (SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != index) {
        std::fprintf(stderr, "pageshot: the tab control did not move to page %d\n", index);
        return false;
    }
    return true;
}

bool CloseProgram(DWORD timeoutMs)
{
    HWND any = VisibleTopWindow(kMainClass);
    if (!any) any = VisibleTopWindow(kDialogClass);
    if (!any) any = FindWindowA(kMainClass, nullptr);
    if (!any) return true;
    DWORD pid = 0;
    GetWindowThreadProcessId(any, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;
        if (!process && !FindWindowA(kMainClass, nullptr)) break;
        // Innermost first: a message box, then the dialog, then the main window.
        if (!DismissMessageBoxes(true)) {
            if (HWND dialog = VisibleTopWindow(kDialogClass))
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            else if (HWND main = FindWindowA(kMainClass, nullptr))
                PostMessageA(main, WM_CLOSE, 0, 0);
        }
        Sleep(200);
    }
    bool ended = process ? WaitForSingleObject(process, 0) == WAIT_OBJECT_0 : !FindWindowA(kMainClass, nullptr);
    if (process) CloseHandle(process);
    if (!ended) std::fprintf(stderr, "pageshot: the program did not end\n");
    return ended;
}

DWORD Milliseconds(int argc, char** argv, int at, DWORD fallback)
{
    return at < argc ? static_cast<DWORD>(std::strtoul(argv[at], nullptr, 10)) : fallback;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    bool ok;
    if (command == "wait" && argc >= 3 && argc <= 4)
        ok = PrintWindowRect(argv[2], Milliseconds(argc, argv, 3, 20000));
    else if (command == "shown" && argc == 2)
        ok = PrintShownRect();
    else if (command == "click" && argc >= 4)
        ok = Click(argv[2], argc - 3, argv + 3);
    else if (command == "page" && argc == 3)
        ok = ShowPage(std::atoi(argv[2]));
    else if (command == "dismiss" && argc == 2) {
        DismissLateMessageBoxes(300);
        ok = true;
    } else if (command == "close" && argc <= 3)
        ok = CloseProgram(Milliseconds(argc, argv, 2, 10000));
    else if (command == "pointer" && argc == 2)
        ok = SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1) != 0;
    else {
        bool help = command == "--help" || command == "-h";
        std::fputs(kUsage, help ? stdout : stderr);
        return help ? 0 : 2;
    }
    std::fflush(stdout);
    return ok ? 0 : 1;
}
