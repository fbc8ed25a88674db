#pragma once
// Inside the component layer only.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace ui::win32 {

// A solid brush per colour, kept for the life of the program.
HBRUSH BrushFor(COLORREF color);
// Text of a window as the control has it now.
std::string WindowText(HWND hwnd);
HINSTANCE Instance();

}  // namespace ui::win32
