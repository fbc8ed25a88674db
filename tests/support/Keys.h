#pragma once
// Keys as the keyboard gives them to the program: WM_KEYDOWN and WM_KEYUP (WM_SYSKEYDOWN with
// Alt) posted to the focused window, with Ctrl, Shift or Alt held in the thread's key state, so
// that the program reads them as a typist's. The thread's own state rather than typed input: test
// programs run side by side on one desktop, and typed input goes to whichever window is in front.
#include <windows.h>

#include <initializer_list>

#include "ui/Application.h"
#include "ui/Form.h"
#include "tests/support/Chord.h"

namespace keys {

// Lets the loop handle what arrived.
inline void Settle()
{
    for (int i = 0; i < 4; ++i) {
        ui::Application().ProcessMessages();
        Sleep(2);
    }
}

// The form the keyboard is at: a modal one, else the main one. Another test program may have come
// to the front meanwhile; the form is brought back, and gives the focus back to its control.
inline HWND FocusOfFrontForm()
{
    ui::TForm* front = ui::Application().MainForm();
    for (ui::TForm* form : ui::Application().Forms())
        if (form->Modal()) front = form;
    if (front && GetForegroundWindow() != front->Handle()) {
        SetForegroundWindow(front->Handle());
        Settle();
    }
    return GetFocus();
}

// A chord: every key but the last held down while the last is pressed and released.
inline void Type(std::initializer_list<WORD> chord)
{
    // In front first: a window coming to the front takes the desktop's key state, which would undo ours.
    HWND focus = FocusOfFrontForm();
    keys::PressChord(focus, chord, [] {
        Settle();
        return true;
    });
    Settle();
}

// One key pressed and released.
inline void Post(WORD key) { Type({key}); }

// Alt and a letter as the loop gets them once the system has translated the keys.
inline void PostAlt(char letter)
{
    PostMessageA(FocusOfFrontForm(), WM_SYSCHAR, static_cast<unsigned char>(letter), 0x20000001);
    Settle();
}

}  // namespace keys
