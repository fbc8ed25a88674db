#pragma once
// A chord as a keyboard gives it to the focused window: every key but the last held in the thread's
// key state while the last is posted, pressed and released (WM_SYSKEYDOWN and WM_SYSKEYUP with Alt).
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <vector>

namespace keys {

// Posts the chord to focus and lets the held keys go only once wait() has returned; its result is returned.
template <class Wait>
auto PressChord(HWND focus, std::initializer_list<WORD> chord, Wait wait)
{
    std::vector<WORD> held(chord);
    const WORD key = held.back();
    held.pop_back();
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    std::memcpy(state, saved, sizeof state);
    bool alt = false;
    for (WORD k : held) {
        state[k] |= 0x80;
        alt = alt || k == VK_MENU;
    }
    SetKeyboardState(state);
    // With Alt, the system's keys: bit 29 tells that Alt is down.
    PostMessageA(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? 0x20000001 : 1);
    PostMessageA(focus, alt ? WM_SYSKEYUP : WM_KEYUP, key, alt ? 0xE0000001 : 0xC0000001);
    auto result = wait();
    SetKeyboardState(saved);
    return result;
}

}  // namespace keys
