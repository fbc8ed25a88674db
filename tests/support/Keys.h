#pragma once
// Keys as a keyboard gives them: posted to the focused window, or typed through the system's
// input queue (SendInput) where Ctrl, Shift or Alt must be held, as Windows then reports them.
#include <windows.h>

#include <initializer_list>
#include <vector>

#include "ui/Application.h"

namespace keys {

// Lets the loop handle what arrived, including typed keys that the system delivers a moment later.
inline void Settle()
{
    for (int i = 0; i < 8; ++i) {
        ui::Application().ProcessMessages();
        Sleep(5);
    }
}

// One key pressed and released on the window that has the focus.
inline void Post(WORD key)
{
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
    Settle();
}

// Alt and a letter: what the loop gets once the system has translated them.
inline void PostAlt(char letter)
{
    PostMessageA(GetFocus(), WM_SYSCHAR, static_cast<unsigned char>(letter), 0x20000001);
    Settle();
}

// A chord typed on the keyboard: the keys pressed in order, released in reverse.
inline void Type(std::initializer_list<WORD> chord)
{
    std::vector<INPUT> inputs;
    for (WORD key : chord) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = chord.end(); it != chord.begin();) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Settle();
}

}  // namespace keys
