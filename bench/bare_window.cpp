// The yardstick of the launch benchmark: a program that does nothing but create a main window with
// 210 plain child controls, each named by a "Name" property as KXConfig names its controls, show it
// and wait for it to be closed. No files, no fonts, no subclassing: what any program with that many
// controls pays at least.
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr int kControls = 210;
constexpr int kColumns = 14;
const char kClass[] = "KXBareWindow";

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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassExA(&wc);

    // The client area of KXConfig's window at 96 pixels per inch.
    RECT r{0, 0, 622, 422};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    AdjustWindowRect(&r, style, FALSE);
    HWND main = CreateWindowExA(0, kClass, "Bare window", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!main) return 1;
    for (int i = 0; i < kControls; ++i) {
        const std::string name = "bareControl" + std::to_string(i);
        HWND child = CreateWindowExA(0, "BUTTON", name.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                     4 + (i % kColumns) * 44, 4 + (i / kColumns) * 27, 42, 25, main, nullptr,
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
