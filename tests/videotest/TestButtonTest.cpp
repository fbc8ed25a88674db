// The built program's Test button, driven from outside as the player would: with the shipped
// kxdxtest.exe the test card comes, a key ends it, the question follows; keys typed while a test
// program runs answer nothing.
#include <windows.h>

#include <sstream>

#include <gtest/gtest.h>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

// The text of a top-level line of the shipped language file.
std::string ShippedText(const std::string& name)
{
    std::istringstream lines(GameFolder::Shipped("Language.txt"));
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(name + "=", 0) == 0) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line.substr(name.size() + 1);
        }
    ADD_FAILURE() << name << " is not in the language file";
    return {};
}

// The program's message box with that text, once it is shown.
HWND BoxSaying(const RunningProgram& program, const std::string& text)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND hwnd : program.TopLevelWindows(true))
            if (ClassOf(hwnd) == "#32770" && MessageBoxText(hwnd) == text) found = hwnd;
        return found || !program.Running();
    });
    return found;
}

HWND FindCard()
{
    HWND card = nullptr;
    WaitUntil([&] { return (card = FindWindowA("KXVideoTest", nullptr)) != nullptr; });
    return card;
}

}  // namespace

TEST(TestButton, RunsTheShippedTwoDimensionalTestFromTheWorkingFolderAndAsksAboutIt)
{
    GameFolder game;
    const std::string shipped = std::string(KX_DEMO_DIR) + "/kxdxtest.exe";
    ASSERT_TRUE(CopyFileA(shipped.c_str(), game.PathOf("kxdxtest.exe").c_str(), FALSE)) << shipped;
    game.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n[Program Options]\r\nFull Screen=0\r\n");
    RunningProgram program(game, "", game);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();

    Click(Named(main, "rb640"));
    Click(Named(main, "bTestSettings"));
    HWND card = FindCard();
    ASSERT_NE(card, nullptr) << "kxdxtest showed no test card";
    EXPECT_FALSE(IsWindowEnabled(main)) << "the window takes input while the test runs";
    EXPECT_EQ(IniValue(game.Read("torvel.ini"), "Program Options", "Resolution"), "640") << "saved before the test";

    PostMessageA(card, WM_KEYDOWN, VK_ESCAPE, 1);
    HWND question = BoxSaying(program, ShippedText("msgVideo"));
    ASSERT_NE(question, nullptr) << program.DescribeWindows();
    EXPECT_EQ(FindWindowA("KXVideoTest", nullptr), nullptr) << "asked before the test had ended";
    Click(GetDlgItem(question, IDYES));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    HWND passed = BoxSaying(program, ShippedText("msgVideoGood"));
    ASSERT_NE(passed, nullptr) << program.DescribeWindows();
    Click(GetDlgItem(passed, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) && program.TopLevelWindows(true).size() == 1; }))
        << program.DescribeWindows();

    // The passed test lets OK save without asking again.
    Click(Named(main, "bOK"));
    EXPECT_EQ(program.WaitForExit(), 0u) << program.DescribeWindows();
}

TEST(TestButton, KeysTypedWhileTheTestProgramRunsDoNotAnswerTheQuestion)
{
    GameFolder game;
    // A test program that shows no window for three seconds: the keyboard stays at the settings window.
    ASSERT_TRUE(CopyFileA(KX_RECORDER, game.PathOf("kxdxtest.exe").c_str(), FALSE));
    game.Write("stay-ms.txt", "3000");
    game.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n");
    RunningProgram program(game, "", game);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    SetForegroundWindow(main);
    Click(Named(main, "bTestSettings"));
    ASSERT_TRUE(WaitUntil([&] { return game.Exists("kxdxtest.log"); })) << "the test program did not start";
    ASSERT_EQ(GetForegroundWindow(), main);
    // Typed as a keyboard types, to the window in front: Enter would say Yes, and close the next box.
    INPUT keys[4] = {};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = VK_RETURN;
        keys[i].ki.dwFlags = i % 2 ? KEYEVENTF_KEYUP : 0;
    }
    ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);

    HWND question = BoxSaying(program, ShippedText("msgVideo"));
    ASSERT_NE(question, nullptr) << program.DescribeWindows();
    Click(GetDlgItem(question, IDNO));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_NE(BoxSaying(program, ShippedText("msgVideoBad")), nullptr)
        << "the question was answered before it was seen: " << program.DescribeWindows();
}
