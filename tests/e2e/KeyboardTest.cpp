// The built program used with the keyboard alone: the first run answered, a page changed, an option
// ticked, OK pressed with Enter.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <thread>
#include <vector>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

// Types a chord into the program as its keyboard would: from a thread attached to the program's
// input, so that both share its focus and key state, every key but the last is held in that key
// state while the last is posted, pressed and released, to the focused window. Typed input
// (SendInput) would go to whichever window is in front, and test programs run side by side here.
void TypeInto(HWND window, std::initializer_list<WORD> chord)
{
    std::vector<WORD> held(chord);
    const WORD key = held.back();
    held.pop_back();
    DWORD theirs = GetWindowThreadProcessId(window, nullptr);
    DWORD ours = GetCurrentThreadId();
    ASSERT_TRUE(AttachThreadInput(ours, theirs, TRUE));
    // Another program may have come to the front (a test of another folder): the window is
    // brought back, which gives the focus back to its control, before the key state is set, as
    // coming to the front takes the desktop's key state.
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    HWND focus = GetFocus();
    if (!focus) focus = window;
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    std::memcpy(state, saved, sizeof state);
    bool alt = false;
    for (WORD k : held) {
        state[k] |= 0x80;
        alt = alt || k == VK_MENU;
    }
    SetKeyboardState(state);
    PostMessageA(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? 0x20000001 : 1);
    PostMessageA(focus, alt ? WM_SYSKEYUP : WM_KEYUP, key, alt ? 0xE0000001 : 0xC0000001);
    // A message sent to the program is answered the next time its loop asks for a message, before
    // the posted ones; each answer is one more turn of the loop, and three turns have taken both keys.
    for (int turn = 0; turn < 3; ++turn) {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)) break;  // gone
    }
    SetKeyboardState(saved);
    AttachThreadInput(ours, theirs, FALSE);
}

// The control that has the keyboard focus in the program's window.
std::string FocusedName(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) return "(none)";
    for (HWND h = info.hwndFocus; h && h != window; h = GetParent(h))
        if (!NameOf(h).empty()) return NameOf(h);
    return "(none)";
}

}  // namespace

TEST(Keyboard, AFirstRunDoneWithTheKeyboardAloneSavesWhatWasChosen)
{
    GameFolder folder;
    TempFolder elsewhere;
    RunningProgram program(folder, "", elsewhere);
    HWND dialog = program.WaitForWindow("TdlgDifficulty");
    ASSERT_NE(dialog, nullptr) << program.DescribeWindows();
    EXPECT_TRUE(WaitUntil([&] { return FocusedName(dialog) == "rbDifficultyInsane"; }))
        << "the first choice has the focus, not " << FocusedName(dialog);

    // Down twice chooses Core Rules as clicks would; Enter is OK.
    TypeInto(dialog, {VK_DOWN});
    TypeInto(dialog, {VK_DOWN});
    EXPECT_TRUE(IsChecked(Named(dialog, "rbDifficultyCoreRules")));
    TypeInto(dialog, {VK_RETURN});
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    EXPECT_TRUE(WaitUntil([&] { return FocusedName(main) == "tbDifficulty"; })) << FocusedName(main);
    EXPECT_EQ(StyleOf(Named(main, "bOK")) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "OK shows that Enter presses it";

    // Ctrl+Tab twice: the Gameplay page, with its notice on the first visit.
    TypeInto(main, {VK_CONTROL, VK_TAB});
    TypeInto(main, {VK_CONTROL, VK_TAB});
    HWND notice = program.WaitForWindow("#32770");
    ASSERT_NE(notice, nullptr) << program.DescribeWindows();
    TypeInto(notice, {VK_RETURN});
    ASSERT_TRUE(WaitUntil([&] { return program.WaitForWindow("#32770", std::chrono::milliseconds(1)) == nullptr; }));
    EXPECT_EQ(Ask(Named(main, "pcConfig"), TCM_GETCURSEL), 2);

    // Alt+F ticks Footsteps; Enter saves and ends the program.
    HWND footsteps = Named(main, "cbFootsteps");
    const bool before = IsChecked(footsteps);
    TypeInto(main, {VK_MENU, 'F'});
    EXPECT_EQ(IsChecked(footsteps), !before);
    TypeInto(main, {VK_RETURN});
    EXPECT_EQ(program.WaitForExit(), 0u);
    const std::string ini = folder.Read("torvel.ini");
    EXPECT_EQ(IniValue(ini, "Game Options", "Difficulty Level"), "3");
    EXPECT_EQ(IniValue(ini, "Game Options", "Footsteps"), before ? "0" : "1");
}
