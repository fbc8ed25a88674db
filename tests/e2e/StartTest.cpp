// Starting the program: the command-line option, a missing language file, the first run, a second start.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <thread>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

const char kStoredLevel[] = "[Game Options]\r\nDifficulty Level=3\r\n";

class Start : public ::testing::Test {
protected:
    GameFolder folder;
    // The working folder of the program: never the game folder, so that a file looked for or written
    // there instead of beside the program shows.
    TempFolder elsewhere;
};

// The 43 keys that a save writes, by section.
const std::pair<const char*, const char*> kSavedKeys[] = {
    {"Game Options", "Difficulty Level"},
    {"Config", "General"},
    {"Config", "Graphics"},
    {"Config", "Sound"},
    {"Config", "CacheSize"},
    {"Program Options", "Path Search Nodes"},
    {"Program Options", "Maximum Frame Rate"},
    {"Game Options", "Enhanced Path Finding"},
    {"Program Options", "Resolution"},
    {"Program Options", "Full Screen"},
    {"Program Options", "BitsPerPixel"},
    {"Program Options", "SoftMirrorBlt"},
    {"Program Options", "SoftBlt"},
    {"Program Options", "SoftSrcKeyBlt"},
    {"Program Options", "3D Acceleration"},
    {"Game Options", "Use 3d Animations"},
    {"Program Options", "16Bit Textures"},
    {"Program Options", "GLSetup Driver"},
    {"Game Options", "Critical Hit Screen Shake"},
    {"Program Options", "Translucent Shadows"},
    {"Game Options", "Low End Machine"},
    {"Game Options", "Low End Machine 2"},
    {"Game Options", "Duplicate Floating Text"},
    {"Game Options", "Footsteps"},
    {"Game Options", "Attack Sounds"},
    {"Game Options", "Disable Casting Glows"},
    {"Game Options", "Low Mem Sounds 1"},
    {"Game Options", "Low Mem Sounds 2"},
    {"Game Options", "Disable VEFVidCells"},
    {"Program Options", "Disable Brighten"},
    {"Program Options", "Force 50 Percent Transparent"},
    {"Program Options", "Volume Movie"},
    {"Program Options", "Volume Music"},
    {"Program Options", "Volume Voices"},
    {"Program Options", "Volume Ambients"},
    {"Program Options", "Volume SFX"},
    {"Game Options", "Mid Level Brighten"},
    {"Game Options", "High Level Brighten"},
    {"Game Options", "Tiles Precache Percent"},
    {"Local", "Zip"},
    {"Local", "Country Code"},
    {"Gamespy", "Enabled"},
    {"Gamespy", "Location"},
};

int KeyLines(const std::string& fileText)
{
    int keys = 0;
    std::size_t start = 0;
    while (start < fileText.size()) {
        std::size_t end = fileText.find('\n', start);
        std::string line = fileText.substr(start, end == std::string::npos ? std::string::npos : end - start);
        keys += line.find('=') != std::string::npos;
        start = end == std::string::npos ? fileText.size() : end + 1;
    }
    return keys;
}

}  // namespace

TEST_F(Start, KeymapAsFirstArgumentOffersOnlyHotKeysAndGameplayAndOpensOnHotKeys)
{
    folder.Write("torvel.ini", kStoredLevel);
    RunningProgram program(folder, "-keymap", elsewhere);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();

    HWND tabs = Named(main, "pcConfig");
    EXPECT_EQ(Ask(tabs, TCM_GETITEMCOUNT), 2);
    EXPECT_EQ(Ask(tabs, TCM_GETCURSEL), 0);
    EXPECT_TRUE(IsWindowVisible(Named(main, "tsHotKeys")));
    for (const char* page : {"tsSimple", "tsGameplay", "tsOptions"})
        EXPECT_FALSE(IsWindowVisible(Named(main, page))) << page;
    for (const char* page : {"tsSimple", "tsOptions"}) EXPECT_FALSE(IsWindowEnabled(Named(main, page))) << page;

    EXPECT_EQ(program.CloseWithoutSaving(main), 0u);
}

TEST_F(Start, OtherSpellingOrPlaceOfTheKeymapOptionLeavesAllFourPages)
{
    folder.Write("torvel.ini", kStoredLevel);
    for (const char* arguments : {"-KEYMAP", "-Keymap", "extra -keymap", "-keymap2"}) {
        SCOPED_TRACE(arguments);
        RunningProgram program(folder, arguments, elsewhere);
        HWND main = program.WaitForWindow("TfConfig");
        ASSERT_NE(main, nullptr) << program.DescribeWindows();

        HWND tabs = Named(main, "pcConfig");
        EXPECT_EQ(Ask(tabs, TCM_GETITEMCOUNT), 4);
        EXPECT_EQ(Ask(tabs, TCM_GETCURSEL), 0);
        EXPECT_TRUE(IsWindowVisible(Named(main, "tsSimple")));
        EXPECT_FALSE(IsWindowVisible(Named(main, "tsHotKeys")));

        EXPECT_EQ(program.CloseWithoutSaving(main), 0u);
    }
}

TEST_F(Start, MissingLanguageFileIsReportedWithItsPathAndEndsTheProgramWithoutAWindow)
{
    folder.Write("torvel.ini", kStoredLevel);
    folder.Remove("Language.txt");
    // A language file in the working folder must not stand in for the missing one.
    elsewhere.Write("Language.txt", GameFolder::Shipped("Language.txt"));
    RunningProgram program(folder, "", elsewhere);

    HWND box = nullptr;
    bool windowShown = false;
    WaitUntil([&] {
        for (HWND hwnd : program.TopLevelWindows(true)) {
            if (ClassOf(hwnd) == "TfConfig") windowShown = true;
            if (ClassOf(hwnd) == "#32770") box = hwnd;
        }
        return box || !program.Running();
    });
    ASSERT_NE(box, nullptr) << "no error box; " << program.DescribeWindows();
    EXPECT_FALSE(windowShown);
    for (HWND hwnd : program.TopLevelWindows(false)) EXPECT_NE(ClassOf(hwnd), "TfConfig") << "the main window exists";

    EXPECT_EQ(MessageBoxText(box), "Cannot open file " + folder.PathOf("Language.txt") + ".");
    EXPECT_EQ(TextOf(box), "KXConfig");
    EXPECT_EQ(MessageBoxButtons(box), std::vector<int>{IDOK});

    Click(GetDlgItem(box, IDOK));
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(folder.Read("torvel.ini"), kStoredLevel);
    EXPECT_TRUE(elsewhere.Names() == std::vector<std::string>{"Language.txt"});
}

TEST_F(Start, FirstRunAsksForTheDifficultyBeforeTheWindowAndOkWritesTheChosenLevel)
{
    RunningProgram program(folder, "", elsewhere);
    HWND first = program.WaitForWindow();
    ASSERT_NE(first, nullptr) << program.DescribeWindows();
    ASSERT_EQ(ClassOf(first), "TdlgDifficulty") << program.DescribeWindows();
    EXPECT_EQ(program.TopLevelWindows(true).size(), 1u) << program.DescribeWindows();

    HWND ok = Named(first, "bOK");
    HWND coreRules = Named(first, "rbDifficultyCoreRules");
    ASSERT_TRUE(ok && coreRules);
    EXPECT_FALSE(IsWindowEnabled(ok));
    // Clicks come in order: once the choice has enabled OK, the click on the disabled OK has been handled.
    Click(ok);
    Click(coreRules);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) || !program.Running(); })) << program.DescribeWindows();
    EXPECT_TRUE(IsWindowEnabled(ok));
    EXPECT_TRUE(IsChecked(coreRules));
    EXPECT_TRUE(IsWindowVisible(first)) << "a click on the disabled OK closed the dialog";

    Click(ok);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    EXPECT_FALSE(IsWindowVisible(first));
    EXPECT_EQ(Ask(Named(main, "tbDifficulty"), TBM_GETPOS), 3);
    // The dialog is captioned like the window.
    EXPECT_FALSE(TextOf(main).empty());
    EXPECT_EQ(TextOf(first), TextOf(main));
    EXPECT_FALSE(folder.Exists("torvel.ini")) << "written before OK";

    Click(Named(main, "bOK"));
    EXPECT_EQ(program.WaitForExit(), 0u);

    ASSERT_TRUE(folder.Exists("torvel.ini"));
    const std::string ini = folder.Read("torvel.ini");
    EXPECT_EQ(IniValue(ini, "Game Options", "Difficulty Level"), "3");
    for (const auto& [section, key] : kSavedKeys)
        EXPECT_TRUE(IniValue(ini, section, key).has_value()) << "[" << section << "] " << key << " not written";
    EXPECT_EQ(KeyLines(ini), 43) << ini;
    EXPECT_FALSE(IniValue(ini, "Program Options", "Install Type").has_value());
    EXPECT_TRUE(folder.Exists("keymap.ini"));
    EXPECT_TRUE(elsewhere.Names().empty());
}

TEST_F(Start, FirstRunDialogClosedWithoutAChoiceGivesTheSecondEasiestLevel)
{
    RunningProgram program(folder, "", elsewhere);
    HWND dialog = program.WaitForWindow("TdlgDifficulty");
    ASSERT_NE(dialog, nullptr) << program.DescribeWindows();
    // What the close box and the system menu do: a close command through the dialog's queue.
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    EXPECT_EQ(Ask(Named(main, "tbDifficulty"), TBM_GETPOS), 4);

    Click(Named(main, "bOK"));
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(IniValue(folder.Read("torvel.ini"), "Game Options", "Difficulty Level"), "2");
}

// Tools that close windows send WM_CLOSE rather than post it; the modal loop must wake for it.
TEST_F(Start, FirstRunDialogClosesWhenAnotherProgramSendsItWmClose)
{
    RunningProgram program(folder, "", elsewhere);
    HWND dialog = program.WaitForWindow("TdlgDifficulty");
    ASSERT_NE(dialog, nullptr) << program.DescribeWindows();
    // Once the dialog has painted itself, nothing else wakes its loop by chance.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    Ask(dialog, WM_CLOSE);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    EXPECT_EQ(Ask(Named(main, "tbDifficulty"), TBM_GETPOS), 4);
    EXPECT_EQ(program.CloseWithoutSaving(main), 0u);
}

TEST_F(Start, ASecondStartInTheSameFolderBringsTheWindowForwardAndEndsWritingNothing)
{
    RunningProgram first(folder, "", elsewhere);
    HWND dialog = first.WaitForWindow("TdlgDifficulty");
    ASSERT_NE(dialog, nullptr) << first.DescribeWindows();
    // Another game folder gets a window of its own, in front.
    GameFolder otherFolder;
    RunningProgram other(otherFolder, "", elsewhere);
    HWND otherDialog = other.WaitForWindow("TdlgDifficulty");
    ASSERT_TRUE(otherDialog && WaitUntil([&] { return GetForegroundWindow() == otherDialog; }));

    // The same folder by another spelling: short names, small letters, forward slashes.
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(folder.Program().c_str(), shortPath, MAX_PATH);
    std::string spelling = shortPath;
    for (char& c : spelling) c = c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::vector<std::string> names = folder.Names();
    RunningProgram second(spelling, "", elsewhere);
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; })) << "the first-run dialog stayed behind";

    // The window, minimised, comes back.
    Click(Named(dialog, "rbDifficultyCoreRules"));
    Click(Named(dialog, "bOK"));
    HWND main = first.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << first.DescribeWindows();
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != 0; }));
    RunningProgram third(spelling, "", elsewhere);
    EXPECT_EQ(third.WaitForExit(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && GetForegroundWindow() == main; }));

    EXPECT_EQ(folder.Names(), names);
    EXPECT_TRUE(elsewhere.Names().empty());
}
