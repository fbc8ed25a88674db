// The built program used with the keyboard alone, keys typed through the system's input queue into
// its window: the first run answered, a page changed, an option ticked, OK pressed with Enter.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <thread>
#include <vector>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

// Brings the program's window to the front as a user's click would, from a thread attached to its
// input, then types the chord: keys pressed in order, released in reverse.
void TypeInto(HWND window, std::initializer_list<WORD> chord)
{
    DWORD theirs = GetWindowThreadProcessId(window, nullptr);
    DWORD ours = GetCurrentThreadId();
    AttachThreadInput(ours, theirs, TRUE);
    SetForegroundWindow(window);
    AttachThreadInput(ours, theirs, FALSE);
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
    // Answered once everything typed so far has been handled (or the window has gone).
    DWORD_PTR ignored = 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
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
