// The settings file as the running program reads and writes it: shown on start, written by OK, left
// alone by Cancel, a refused write reported.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    GameFolder folder;
    TempFolder elsewhere;
};

}  // namespace

TEST_F(SettingsFile, StoredValuesAreShownAndOkWritesThemBackKeepingWhatItDoesNotKnow)
{
    folder.Write("torvel.ini",
                 "[Game Options]\r\n"
                 "Difficulty Level=2\r\n"
                 "Footsteps=1\r\n"
                 "Quest Log Style=compact\r\n"
                 "[Config]\r\n"
                 "General=4\r\n"
                 "CacheSize=0x12C\r\n"
                 "[Program Options]\r\n"
                 "Path Search Nodes=32050\r\n"
                 "Maximum Frame Rate=100\r\n"
                 "Resolution=1100\r\n"
                 "BitsPerPixel=8\r\n"
                 "Translucent Shadows=1\r\n"
                 "Volume Music=77\r\n"
                 "[Local]\r\n"
                 "Zip=60311\r\n"
                 "Country Code=DE\r\n"
                 "[Gamespy]\r\n"
                 "Location=60311\r\n"
                 "[Mod Loader]\r\n"
                 "Enabled Mods=rain,fog\r\n");
    RunningProgram program(folder, "", elsewhere);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();

    EXPECT_EQ(Ask(Named(main, "tbDifficulty"), TBM_GETPOS), 4);
    EXPECT_EQ(Ask(Named(main, "tbGeneral"), TBM_GETPOS), 4);
    EXPECT_EQ(TextOf(Named(main, "eCacheSize")), "300");
    EXPECT_EQ(TextOf(Named(main, "ePathSearchNodes")), "32000");
    EXPECT_EQ(TextOf(Named(main, "lUpdatesValue")), "60");
    EXPECT_EQ(Ask(Named(main, "tbFrameRate"), TBM_GETPOS), 60);
    EXPECT_TRUE(IsChecked(Named(main, "rb800")));
    EXPECT_TRUE(IsChecked(Named(main, "cbUnlockModes")));
    for (const char* other : {"rb640", "rb1024", "rb1280", "rb1600", "rb2048", "rb16bit", "rb24bit", "rb32bit"})
        EXPECT_FALSE(IsChecked(Named(main, other))) << other;
    EXPECT_FALSE(IsChecked(Named(main, "cbTranslucentShadows")));
    EXPECT_TRUE(IsChecked(Named(main, "cbFootsteps")));
    // The location is the zip: the zip is shown and the stored country is not.
    EXPECT_EQ(TextOf(Named(main, "eZipCode")), "60311");
    EXPECT_EQ(TextOf(Named(main, "cbCountry")), "");

    Click(Named(main, "bOK"));
    EXPECT_EQ(program.WaitForExit(), 0u);

    const std::string ini = folder.Read("torvel.ini");
    EXPECT_EQ(IniValue(ini, "Game Options", "Difficulty Level"), "2");
    EXPECT_EQ(IniValue(ini, "Game Options", "Footsteps"), "1");
    EXPECT_EQ(IniValue(ini, "Config", "General"), "4");
    EXPECT_EQ(IniValue(ini, "Config", "CacheSize"), "300");
    EXPECT_EQ(IniValue(ini, "Program Options", "Path Search Nodes"), "32000");
    EXPECT_EQ(IniValue(ini, "Program Options", "Maximum Frame Rate"), "60");
    EXPECT_EQ(IniValue(ini, "Program Options", "Resolution"), "800");
    EXPECT_EQ(IniValue(ini, "Program Options", "BitsPerPixel"), "");
    EXPECT_EQ(IniValue(ini, "Program Options", "Translucent Shadows"), "1");
    EXPECT_EQ(IniValue(ini, "Program Options", "Volume Music"), "77");
    EXPECT_EQ(IniValue(ini, "Program Options", "Volume Movie"), "-1");
    EXPECT_EQ(IniValue(ini, "Local", "Zip"), "60311");
    EXPECT_EQ(IniValue(ini, "Local", "Country Code"), "");
    EXPECT_EQ(IniValue(ini, "Gamespy", "Location"), "60311");
    EXPECT_EQ(IniValue(ini, "Game Options", "Quest Log Style"), "compact");
    EXPECT_EQ(IniValue(ini, "Mod Loader", "Enabled Mods"), "rain,fog");
    EXPECT_FALSE(IniValue(ini, "Program Options", "Install Type").has_value());
    EXPECT_TRUE(elsewhere.Names().empty());
}

TEST_F(SettingsFile, CancelAfterAChangeAsksFirstAndWritesNothing)
{
    // Hand-written, with blanks and mixed line ends that any rewrite of the file would change.
    const std::string original =
        "; my settings\r\n"
        "[Game Options]\r\n"
        "Difficulty Level = 4\r\n"
        "Footsteps=0\n"
        "\n"
        "[Config]\r\n"
        "General=2";
    folder.Write("torvel.ini", original);
    folder.Remove("keymap.ini");
    RunningProgram program(folder, "", elsewhere);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    EXPECT_EQ(Ask(Named(main, "tbDifficulty"), TBM_GETPOS), 2) << "the file was not read";

    HWND footsteps = Named(main, "cbFootsteps");
    ASSERT_FALSE(IsChecked(footsteps));
    Click(footsteps);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(footsteps) || !program.Running(); })) << program.DescribeWindows();

    Click(Named(main, "bCancel"));
    // The change is not saved: the window asks first, and Yes closes it without saving.
    HWND question = program.WaitForWindow("#32770");
    ASSERT_NE(question, nullptr) << program.DescribeWindows();
    EXPECT_EQ(MessageBoxButtons(question), (std::vector<int>{IDYES, IDNO}));
    Click(GetDlgItem(question, IDYES));
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(folder.Read("torvel.ini"), original);
    EXPECT_FALSE(folder.Exists("keymap.ini"));
    EXPECT_TRUE(elsewhere.Names().empty());
}

TEST_F(SettingsFile, RefusedWriteIsReportedAndTheProgramStaysOpen)
{
    // A folder where the file should be: every read finds nothing, every write is refused.
    folder.MakeFolder("torvel.ini");
    const std::string keymap = folder.Read("keymap.ini");
    RunningProgram program(folder, "", elsewhere);

    // Nothing could be read, so the difficulty is asked for first.
    HWND dialog = program.WaitForWindow("TdlgDifficulty");
    ASSERT_NE(dialog, nullptr) << program.DescribeWindows();
    HWND choice = Named(dialog, "rbDifficultyHard");
    HWND dialogOk = Named(dialog, "bOK");
    Click(choice);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialogOk) || !program.Running(); }));
    Click(dialogOk);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();

    Click(Named(main, "bOK"));
    HWND box = program.WaitForWindow("#32770");
    ASSERT_NE(box, nullptr) << program.DescribeWindows();
    EXPECT_EQ(MessageBoxText(box), "Unable to write to " + folder.PathOf("torvel.ini") + ".");
    EXPECT_EQ(TextOf(box), "KXConfig");
    EXPECT_EQ(MessageBoxButtons(box), std::vector<int>{IDOK});

    Click(GetDlgItem(box, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    // The window goes on taking clicks, and OK has not ended the program.
    HWND footsteps = Named(main, "cbFootsteps");
    const bool footstepsBefore = IsChecked(footsteps);
    Click(footsteps);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(footsteps) != footstepsBefore || !program.Running(); }));
    EXPECT_FALSE(WaitUntil([&] { return !program.Running(); }, std::chrono::milliseconds(500)))
        << "OK ended the program although nothing was saved";
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(folder.IsFolder("torvel.ini"));
    EXPECT_EQ(folder.Read("keymap.ini"), keymap) << "the key map was saved after the refused settings";

    EXPECT_EQ(program.CloseWithoutSaving(main), 0u);
    EXPECT_TRUE(elsewhere.Names().empty());
}
