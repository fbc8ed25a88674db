// The Russian language file the program ships, on a Russian system (code page 1251): the first-run
// dialog with access keys, the window's captions, a help text, a question, and a country typed in
// lower case saved as its code. ctest runs these as e2e_russian, in the Russian locale; under other
// code pages they are skipped. The expected texts are read from the shipped file itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

// The value of the first line of the file named so, as the program takes it.
std::string Entry(const std::string& file, const std::string& name)
{
    const std::string start = name + "=";
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = file.find("\r\n", at);
        const std::string line = file.substr(at, end - at);
        if (line.compare(0, start.size(), start) == 0) return line.substr(start.size());
        if (end == std::string::npos) break;
        at = end + 2;
    }
    ADD_FAILURE() << "no entry " << name;
    return {};
}

std::string Before(const std::string& text, char c) { return text.substr(0, text.find(c)); }

std::string Replaced(std::string text, const std::string& placeholder, const std::string& value)
{
    return text.replace(text.find(placeholder), placeholder.size(), value);
}

std::string WithoutMarks(std::string text)
{
    for (std::size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at)) text.erase(at, 1);
    return text;
}

}  // namespace

TEST(SecondLanguage, TheRussianFileCaptionsAsksAndSavesUnderCodePage1251)
{
    if (GetACP() != 1251) GTEST_SKIP() << "runs under code page 1251 (e2e_russian)";
    const std::string russian = GameFolder::Shipped("Russian/Language.txt");
    GameFolder folder;
    folder.Write("Language.txt", russian);
    TempFolder elsewhere;
    RunningProgram program(folder, "", elsewhere);

    // The first run: the choices take the level names, each with an access key of its own (a letter
    // of code page 1251 is one byte).
    HWND dialog = program.WaitForWindow("TdlgDifficulty");
    ASSERT_NE(dialog, nullptr) << program.DescribeWindows();
    EXPECT_EQ(TextOf(dialog), Entry(russian, "fConfig"));
    const std::pair<const char*, const char*> levels[] = {
        {"rbDifficultyInsane", "lExpert"}, {"rbDifficultyHard", "lHard"}, {"rbDifficultyCoreRules", "lNormal"},
        {"rbDifficultyNormal", "lEasy"},   {"rbDifficultyNovice", "lNovice"}};
    std::string keys;
    for (const auto& [choice, label] : levels) {
        const std::string caption = TextOf(Named(dialog, choice));
        EXPECT_EQ(WithoutMarks(caption), Entry(russian, label));
        const std::size_t mark = caption.find('&');
        ASSERT_LT(mark + 1, caption.size()) << caption << " has no access key";
        EXPECT_EQ(keys.find(caption[mark + 1]), std::string::npos) << caption << ": its key is taken";
        keys += caption[mark + 1];
    }
    Click(Named(dialog, "rbDifficultyCoreRules"));
    Click(Named(dialog, "bOK"));

    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    EXPECT_EQ(TextOf(main), Entry(russian, "fConfig"));
    const std::string footsteps = Entry(russian, "cbFootsteps");
    EXPECT_EQ(TextOf(Named(main, "cbFootsteps")), Before(footsteps, '|'));
    EXPECT_EQ(TextOf(Named(main, "gbGameplay")), " " + Before(Entry(russian, "gbGameplay"), '|') + " ");
    EXPECT_EQ(TextOf(Named(main, "bApply")), Entry(russian, "bApply"));

    // Help: the title and the explanation of the option the mouse is over.
    Ask(Named(main, "cbFootsteps"), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(TextOf(Named(main, "lTopic2")), WithoutMarks(Before(footsteps, '|')));
    EXPECT_EQ(TextOf(Named(main, "mHelp2")), footsteps.substr(footsteps.find('|') + 1));

    // A question: a right click on the key of the inventory, asked and answered No.
    HWND key = Named(main, "sbI");
    PostMessageA(key, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageA(key, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND box = program.WaitForWindow("#32770");
    ASSERT_NE(box, nullptr) << program.DescribeWindows();
    const std::string function = WithoutMarks(Entry(russian, "rbPage")) + ": " + Entry(russian, "PAGE_INVENTORY");
    EXPECT_EQ(MessageBoxText(box), Replaced(Replaced(Entry(russian, "msgRemoveHotKey"), "{old}", function), "{key}", "I"));
    EXPECT_EQ(TextOf(box), Entry(russian, "fConfig"));
    Click(GetDlgItem(box, IDNO));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));

    // "japan" typed in lower case into the country list is found ignoring case and saved as its code.
    HWND country = FindWindowExA(Named(main, "cbCountry"), nullptr, "Edit", nullptr);
    ASSERT_NE(country, nullptr);
    Ask(country, WM_SETFOCUS);
    for (wchar_t c : std::wstring(L"\u044F\u043F\u043E\u043D\u0438\u044F")) PostMessageW(country, WM_CHAR, c, 1);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(Named(main, "cbCountry")).size() == 6; }));
    Click(Named(main, "bOK"));
    EXPECT_EQ(program.WaitForExit(), 0u);
    const std::string ini = folder.Read("torvel.ini");
    EXPECT_EQ(IniValue(ini, "Local", "Country Code"), "JP");
    EXPECT_EQ(IniValue(ini, "Gamespy", "Location"), "JP");
    EXPECT_EQ(IniValue(ini, "Game Options", "Difficulty Level"), "3");
    EXPECT_NE(folder.Read("keymap.ini").find("PAGE_INVENTORY=I"), std::string::npos) << "the No kept the key";
}
