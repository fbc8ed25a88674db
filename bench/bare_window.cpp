// The yardstick of the launch benchmark: a program that does nothing but create a main window with 210
// plain child controls, each named by a "Name" property as KXConfig names its controls, show it and
// wait for it to be closed. Plain: the platform's controls made directly, with no files read, no
// fonts set and no subclassing. By default they are the kinds of control of KXConfig's window, as
// many of each (its 208 and two labels more); with --buttons all are push buttons, the cheapest kind.
// Built with KXConfig's manifest, so that its controls are the same versions as KXConfig's.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char kClass[] = "KXBareWindow";
const char kPageClass[] = "KXBarePage";

struct Kind {
    const char* windowClass;
    DWORD style;
    DWORD exStyle;
    int count;
};

// The controls of KXConfig's window by kind, the most numerous first.
const Kind kKinds[] = {
    {"BUTTON", BS_CHECKBOX | BS_PUSHLIKE, 0, 75},                    // the keys of the keyboard picture
    {"STATIC", SS_LEFTNOWORDWRAP, 0, 42},                            // labels
    {"BUTTON", BS_3STATE | WS_TABSTOP, 0, 28},                       // check boxes
    {"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0, 17},                  // radio buttons
    {"BUTTON", BS_GROUPBOX, 0, 13},                                  // group boxes
    {"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0, 9},  // drop-down lists
    {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 6},                    // push buttons
    {TRACKBAR_CLASSA, TBS_AUTOTICKS, 0, 5},                          // sliders
    {kPageClass, 0, WS_EX_CONTROLPARENT, 4},                         // pages
    {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 4},      // edits
    {"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, WS_EX_CLIENTEDGE, 3},  // memos
    {UPDOWN_CLASSA, UDS_ARROWKEYS, 0, 3},                            // spinners
    {WC_TABCONTROLA, TCS_TABS, 0, 1},                                // the page control
};
constexpr int kControls = 210;
constexpr int kColumns = 14;

std::vector<ATOM> names;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        // The names are global atoms: they outlive the process unless given back.
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            RemovePropA(child, "Name");
        for (ATOM atom : names) GlobalDeleteAtom(atom);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Register(HINSTANCE instance, const char* name, WNDPROC proc)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    const bool buttons = std::strstr(commandLine, "--buttons") != nullptr;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    Register(instance, kClass, WindowProc);
    Register(instance, kPageClass, DefWindowProcA);

    // The client area of KXConfig's window at 96 pixels per inch.
    RECT r{0, 0, 622, 422};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    AdjustWindowRect(&r, style, FALSE);
    HWND main = CreateWindowExA(0, kClass, "Bare window", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!main) return 1;
    const Kind pushButton{"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, kControls};
    const Kind* kind = buttons ? &pushButton : kKinds;
    int leftOfKind = kind->count;
    for (int i = 0; i < kControls; ++i) {
        if (leftOfKind == 0 && kind + 1 < std::end(kKinds)) leftOfKind = (++kind)->count;
        --leftOfKind;
        const std::string name = "bareControl" + std::to_string(i);
        const int height = std::strcmp(kind->windowClass, "COMBOBOX") == 0 ? 200 : 25;
        HWND child = CreateWindowExA(kind->exStyle, kind->windowClass, name.c_str(), WS_CHILD | WS_VISIBLE | kind->style,
                                     4 + (i % kColumns) * 44, 4 + (i / kColumns) * 27, 42, height, main, nullptr,
                                     instance, nullptr);
        if (!child) return 1;
        names.push_back(GlobalAddAtomA(name.c_str()));
        SetPropA(child, "Name", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(names.back())));
    }
    ShowWindow(main, SW_SHOW);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
