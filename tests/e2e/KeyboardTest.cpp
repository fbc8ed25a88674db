// The built program used with the keyboard alone: the first run answered, a page changed, an option
// ticked, OK pressed with Enter.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

#include "tests/e2e/RunningProgram.h"
#include "tests/support/Chord.h"

using namespace e2e;

namespace {

// Types a chord into the program as its keyboard would: from a thread attached to the program's
// input, so that both share its focus and key state, every key but the last is held in that key
// state while the last is posted, pressed and released, to the focused window. Typed input
// (SendInput) would go to whichever window is in front, and test programs run side by side here.
// The held keys are let go only once done() shows the press has had its effect: the program takes
// posted keys only after answering every message sent to it, and a sender that keeps sending keeps
// it answering, so no count of answered messages tells that it has taken them; a press taken after
// the keys were let go would be read without them (Ctrl+Tab as Tab). False when done() did not come
// true in time.
bool TypeInto(HWND window, std::initializer_list<WORD> chord, const std::function<bool()>& done)
{
    DWORD theirs = GetWindowThreadProcessId(window, nullptr);
    DWORD ours = GetCurrentThreadId();
    if (!AttachThreadInput(ours, theirs, TRUE)) return false;
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
    const bool pressed = keys::PressChord(focus, chord, [&] { return WaitUntil(done); });
    AttachThreadInput(ours, theirs, FALSE);
    return pressed;
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
    HWND hard = Named(dialog, "rbDifficultyHard"), coreRules = Named(dialog, "rbDifficultyCoreRules");
    ASSERT_TRUE(TypeInto(dialog, {VK_DOWN}, [&] { return IsChecked(hard); })) << FocusedName(dialog);
    ASSERT_TRUE(TypeInto(dialog, {VK_DOWN}, [&] { return IsChecked(coreRules); })) << FocusedName(dialog);
    HWND main = nullptr;
    ASSERT_TRUE(TypeInto(dialog, {VK_RETURN},
                         [&] { return (main = program.WaitForWindow("TfConfig", {})) != nullptr; }))
        << program.DescribeWindows();
    EXPECT_TRUE(WaitUntil([&] { return FocusedName(main) == "tbDifficulty"; })) << FocusedName(main);
    EXPECT_EQ(StyleOf(Named(main, "bOK")) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "OK shows that Enter presses it";

    // Ctrl+Tab twice: the Gameplay page, with its notice on the first visit.
    HWND pages = Named(main, "pcConfig");
    ASSERT_TRUE(TypeInto(main, {VK_CONTROL, VK_TAB}, [&] { return Ask(pages, TCM_GETCURSEL) == 1; }))
        << Ask(pages, TCM_GETCURSEL) << ", focus on " << FocusedName(main);
    HWND notice = nullptr;
    ASSERT_TRUE(TypeInto(main, {VK_CONTROL, VK_TAB},
                         [&] { return (notice = program.WaitForWindow("#32770", {})) != nullptr; }))
        << program.DescribeWindows();
    ASSERT_TRUE(TypeInto(notice, {VK_RETURN},
                         [&] { return program.WaitForWindow("#32770", std::chrono::milliseconds(1)) == nullptr; }));
    EXPECT_EQ(Ask(pages, TCM_GETCURSEL), 2);

    // Alt+F ticks Footsteps; Enter saves and ends the program.
    HWND footsteps = Named(main, "cbFootsteps");
    const bool before = IsChecked(footsteps);
    EXPECT_TRUE(TypeInto(main, {VK_MENU, 'F'}, [&] { return IsChecked(footsteps) != before; }));
    EXPECT_TRUE(TypeInto(main, {VK_RETURN}, [&] { return !program.Running(); }));
    EXPECT_EQ(program.WaitForExit(), 0u);
    const std::string ini = folder.Read("torvel.ini");
    EXPECT_EQ(IniValue(ini, "Game Options", "Difficulty Level"), "3");
    EXPECT_EQ(IniValue(ini, "Game Options", "Footsteps"), before ? "0" : "1");
}
