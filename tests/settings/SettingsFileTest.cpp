// The settings file read into the window and written back: defaults, encodings, load order.
#include <windows.h>

#include "presets/Difficulty.h"
#include "settings/IniFile.h"
#include "ui/WideText.h"
#include "tests/support/WindowTest.h"
#include "ui/Exception.h"

using namespace ui;

namespace {

// Every key in the order of the save, with its section.
const std::pair<const char*, const char*> kKeyOrder[] = {
    {"Game Options", "Difficulty Level"}, {"Config", "General"}, {"Config", "Graphics"}, {"Config", "Sound"},
    {"Config", "CacheSize"}, {"Program Options", "Path Search Nodes"}, {"Program Options", "Maximum Frame Rate"},
    {"Game Options", "Enhanced Path Finding"}, {"Program Options", "Resolution"}, {"Program Options", "Full Screen"},
    {"Program Options", "BitsPerPixel"}, {"Program Options", "SoftMirrorBlt"}, {"Program Options", "SoftBlt"},
    {"Program Options", "SoftSrcKeyBlt"}, {"Program Options", "3D Acceleration"},
    {"Game Options", "Use 3d Animations"}, {"Program Options", "16Bit Textures"},
    {"Program Options", "GLSetup Driver"}, {"Game Options", "Critical Hit Screen Shake"},
    {"Program Options", "Translucent Shadows"}, {"Game Options", "Low End Machine"},
    {"Game Options", "Low End Machine 2"}, {"Game Options", "Duplicate Floating Text"}, {"Game Options", "Footsteps"},
    {"Game Options", "Attack Sounds"}, {"Game Options", "Disable Casting Glows"}, {"Game Options", "Low Mem Sounds 1"},
    {"Game Options", "Low Mem Sounds 2"}, {"Game Options", "Disable VEFVidCells"},
    {"Program Options", "Disable Brighten"}, {"Program Options", "Force 50 Percent Transparent"},
    {"Program Options", "Volume Movie"}, {"Program Options", "Volume Music"}, {"Program Options", "Volume Voices"},
    {"Program Options", "Volume Ambients"}, {"Program Options", "Volume SFX"}, {"Game Options", "Mid Level Brighten"},
    {"Game Options", "High Level Brighten"}, {"Game Options", "Tiles Precache Percent"}, {"Local", "Zip"},
    {"Local", "Country Code"}, {"Gamespy", "Enabled"}, {"Gamespy", "Location"}};

}  // namespace

class SettingsFileTest : public WindowTest {
protected:
    // A settings file with a stored difficulty and the given lines of "Program Options" and more.
    void Store(const std::string& lines) { folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n" + lines); }
    std::string Saved(const char* section, const char* key)
    {
        return IniFile(ui::Widen(folder.Path() + "torvel.ini")).ReadString(section, key, "<absent>");
    }
    void Save() { window->SaveSettings(); }
    // The difficulty dialog: clicks these choices, then OK (or the close box when ok is false).
    void AnswerDifficulty(std::vector<const char*> choices, bool ok = true)
    {
        dialogs.onModal = [this, choices, ok](TForm& form) {
            auto& dialog = static_cast<TdlgDifficulty&>(form);
            EXPECT_FALSE(dialog.bOK->Enabled()) << "OK waits for a choice";
            for (const char* name : choices)
                PostMessageA(static_cast<TControl*>(dialog.FindComponent(name))->Handle(), BM_CLICK, 0, 0);
            PostMessageA(ok ? dialog.bOK->Handle() : dialog.Handle(), ok ? BM_CLICK : WM_CLOSE, 0, 0);
        };
    }
};

TEST_F(SettingsFileTest, FirstRunAsksTheDifficultyShowsDefaultsAndTheFirstSaveWritesEveryKey)
{
    storeDifficulty = false;
    AnswerDifficulty({"rbDifficultyCoreRules"});
    TfConfig& w = Open();
    EXPECT_FALSE(folder.Exists("torvel.ini")) << "nothing is written by the load";
    EXPECT_EQ(w.dlgDifficulty->chosenLevel, 3);
    EXPECT_EQ(w.tbDifficulty->Position(), 3);
    EXPECT_EQ(w.tbGeneral->Position(), 3);
    EXPECT_EQ(w.udCacheSize->Position(), 300);
    EXPECT_EQ(w.eCacheSize->Text(), "300");
    EXPECT_EQ(w.ePathSearchNodes->Text(), "32000");
    EXPECT_EQ(w.lUpdatesValue->Caption(), "30");
    EXPECT_TRUE(w.cbEnhancedPathfinding->Checked());
    EXPECT_TRUE(w.rb800->Checked());
    EXPECT_FALSE(w.cbUnlockModes->Checked());
    EXPECT_TRUE(w.rbFullScreen->Checked());
    EXPECT_TRUE(w.rb16bit->Checked());
    EXPECT_FALSE(w.cb3dAcceleration->Checked());
    EXPECT_TRUE(w.cbCriticalHit->Checked());
    EXPECT_TRUE(w.cbTranslucentShadows->Checked());
    EXPECT_TRUE(w.cbAttackSounds->Checked());
    EXPECT_TRUE(w.cbBrightenOff->Checked());
    EXPECT_FALSE(w.cbFootsteps->Checked());
    EXPECT_EQ(w.udTilesPrecache->Position(), 50);
    EXPECT_EQ(w.volumeMovie, -1);
    EXPECT_EQ(w.snapshotDriverIndex, -1);

    Save();
    IniFile saved(ui::Widen(folder.Path() + "torvel.ini"));
    // A new file holds the keys in the order they were written, section by section.
    for (const char* section : {"Game Options", "Config", "Program Options", "Local", "Gamespy"}) {
        std::vector<std::string> expected;
        for (const auto& [keySection, key] : kKeyOrder)
            if (std::string(keySection) == section) expected.push_back(key);
        EXPECT_EQ(saved.ReadSection(section), expected) << section;
    }
    EXPECT_EQ(Saved("Program Options", "Install Type"), "<absent>");
    EXPECT_EQ(Saved("Game Options", "Difficulty Level"), "3");
    EXPECT_EQ(Saved("Program Options", "Volume Movie"), "-1");
    EXPECT_EQ(Saved("Program Options", "Volume SFX"), "-1");
    EXPECT_EQ(Saved("Program Options", "GLSetup Driver"), "-1");
    EXPECT_EQ(Saved("Program Options", "16Bit Textures"), "1");
    EXPECT_EQ(Saved("Program Options", "Resolution"), "800");
    EXPECT_EQ(Saved("Program Options", "BitsPerPixel"), "16");
    EXPECT_EQ(Saved("Program Options", "Translucent Shadows"), "0");
    EXPECT_EQ(Saved("Game Options", "Critical Hit Screen Shake"), "1");
    EXPECT_EQ(Saved("Config", "CacheSize"), "300");
    EXPECT_EQ(Saved("Program Options", "Path Search Nodes"), "32000");
    EXPECT_EQ(Saved("Gamespy", "Location"), "");
}

TEST_F(SettingsFileTest, ClosingTheDialogWithoutAChoiceGivesLevelTwo)
{
    storeDifficulty = false;
    AnswerDifficulty({}, /*ok=*/false);
    TfConfig& w = Open();
    EXPECT_EQ(w.dlgDifficulty->chosenLevel, 2);
    EXPECT_EQ(w.tbDifficulty->Position(), 4);
    Save();
    EXPECT_EQ(Saved("Game Options", "Difficulty Level"), "2");
}

TEST_F(SettingsFileTest, TheLastChoiceClickedCounts)
{
    folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=6\r\n");
    storeDifficulty = false;
    AnswerDifficulty({"rbDifficultyInsane", "rbDifficultyNovice"});
    TfConfig& w = Open();
    EXPECT_EQ(w.tbDifficulty->Position(), 5);
    Save();
    EXPECT_EQ(Saved("Game Options", "Difficulty Level"), "1");
}

TEST_F(SettingsFileTest, StoredDifficultiesMapToTheSliderAndOutOfRangeOnesAreClamped)
{
    const std::pair<const char*, std::pair<int, const char*>> cases[] = {
        {"2", {4, "2"}}, {"5", {1, "5"}}, {"9", {1, "5"}}, {"-3", {5, "1"}}, {"65538", {4, "2"}}};
    for (const auto& [stored, expected] : cases) {
        folder.Write("torvel.ini", std::string("[Game Options]\r\nDifficulty Level=") + stored + "\r\n");
        TfConfig& w = Open();
        EXPECT_EQ(w.tbDifficulty->Position(), expected.first) << stored;
        Save();
        EXPECT_EQ(Saved("Game Options", "Difficulty Level"), expected.second) << stored;
        Close();
    }
}

TEST_F(SettingsFileTest, ResolutionAndDepthAreReadAsNumbersAndWrittenAsTheCheckedButtonsText)
{
    Store("[Program Options]\r\nResolution=1100\r\nBitsPerPixel=8\r\n");
    TfConfig& w = Open();
    EXPECT_TRUE(w.rb800->Checked());
    EXPECT_TRUE(w.cbUnlockModes->Checked());
    for (TRadioButton* depth : w.depthButtons) EXPECT_FALSE(depth->Checked()) << depth->Name();
    Save();
    EXPECT_EQ(Saved("Program Options", "Resolution"), "800");
    EXPECT_EQ(Saved("Program Options", "BitsPerPixel"), "");
    Close();

    Store("[Program Options]\r\nResolution=1600\r\nBitsPerPixel=24\r\nFull Screen=0\r\n");
    TfConfig& again = Open();
    EXPECT_TRUE(again.rb1600->Checked());
    EXPECT_TRUE(again.cbUnlockModes->Checked());
    EXPECT_TRUE(again.rb24bit->Checked());
    EXPECT_TRUE(again.rbWindowed->Checked());
    Save();
    EXPECT_EQ(Saved("Program Options", "Resolution"), "1600");
    EXPECT_EQ(Saved("Program Options", "BitsPerPixel"), "24");
    EXPECT_EQ(Saved("Program Options", "Full Screen"), "0");
}

TEST_F(SettingsFileTest, InvertedAndCheckStateKeys)
{
    folder.Write("torvel.ini",
                 "[Program Options]\r\nTranslucent Shadows=1\r\nDisable Brighten=1\r\nSoftMirrorBlt=2\r\nSoftBlt=7\r\n"
                 "[Game Options]\r\nDifficulty Level=3\r\nCritical Hit Screen Shake=5\r\nAttack Sounds=0\r\n");
    TfConfig& w = Open();
    EXPECT_FALSE(w.cbTranslucentShadows->Checked());
    EXPECT_FALSE(w.cbBrightenOff->Checked());
    EXPECT_EQ(w.cbSoftwareMirror->State(), TCheckBoxState::Grayed);
    // A check state the box does not have counts as checked, as any non-zero boolean would.
    EXPECT_EQ(w.cbSoftware->State(), TCheckBoxState::Checked);
    EXPECT_TRUE(w.cbCriticalHit->Checked()) << "read as a boolean";
    EXPECT_FALSE(w.cbAttackSounds->Checked());
    Save();
    EXPECT_EQ(Saved("Program Options", "Translucent Shadows"), "1");
    EXPECT_EQ(Saved("Program Options", "Disable Brighten"), "1");
    EXPECT_EQ(Saved("Program Options", "SoftMirrorBlt"), "2");
    EXPECT_EQ(Saved("Program Options", "SoftBlt"), "1");
    EXPECT_EQ(Saved("Game Options", "Critical Hit Screen Shake"), "1") << "written as a check state";
    EXPECT_EQ(Saved("Game Options", "Attack Sounds"), "0");
}

TEST_F(SettingsFileTest, NumbersInDecimalHexadecimalAndSixteenBits)
{
    Store("[Config]\r\nCacheSize=0x12C\r\nGeneral=65537\r\n[Program Options]\r\nPath Search Nodes=32050\r\n"
          "Volume Music=77\r\n[Game Options]\r\nTiles Precache Percent=abc\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(w.udCacheSize->Position(), 300);
    EXPECT_EQ(w.tbGeneral->Position(), 1) << "only the low 16 bits count";
    EXPECT_EQ(w.ePathSearchNodes->Text(), "32000");
    EXPECT_EQ(w.udTilesPrecache->Position(), 50) << "unreadable: the default";
    EXPECT_EQ(w.volumeMusic, 77);
    Save();
    EXPECT_EQ(Saved("Config", "CacheSize"), "300");
    EXPECT_EQ(Saved("Config", "General"), "1");
    EXPECT_EQ(Saved("Program Options", "Path Search Nodes"), "32000");
    EXPECT_EQ(Saved("Program Options", "Volume Music"), "77");
    EXPECT_EQ(Saved("Program Options", "Volume Movie"), "-1");
}

TEST_F(SettingsFileTest, InstallTypeChoosesTheCacheDefaultAndIsNeverWritten)
{
    Store("[Program Options]\r\nInstall Type=1\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(w.udCacheSize->Position(), 150);
    Save();
    EXPECT_EQ(Saved("Config", "CacheSize"), "150");
    EXPECT_EQ(Saved("Program Options", "Install Type"), "1") << "left as it was";
}

TEST_F(SettingsFileTest, FrameRateIsShownAsStoredThenHeldInTheSlidersRange)
{
    const std::pair<const char*, const char*> cases[] = {{"100", "60"}, {"30", "30"}, {"10", "15"}, {"45", "45"}};
    for (const auto& [stored, expected] : cases) {
        Store(std::string("[Program Options]\r\nMaximum Frame Rate=") + stored + "\r\n");
        TfConfig& w = Open();
        EXPECT_EQ(w.lUpdatesValue->Caption(), expected) << stored;
        EXPECT_EQ(w.tbFrameRate->Position(), std::stoi(expected)) << stored;
        Save();
        EXPECT_EQ(Saved("Program Options", "Maximum Frame Rate"), expected) << stored;
        Close();
    }
}

TEST_F(SettingsFileTest, AFrameRateThatIsNoWholeNumberIsUnreadableAndTheProgramStarts)
{
    for (const char* stored : {"fast", "", "25.5"}) {
        Store(std::string("[Program Options]\r\nMaximum Frame Rate=") + stored + "\r\n");
        TfConfig& w = Open();
        EXPECT_EQ(w.lUpdatesValue->Caption(), "30") << stored;
        EXPECT_EQ(w.tbFrameRate->Position(), 30) << stored;
        Save();
        EXPECT_EQ(Saved("Program Options", "Maximum Frame Rate"), "30") << stored;
        Close();
    }
}

TEST_F(SettingsFileTest, WithoutThreeDAccelerationTheDriverAndTexturesAreWrittenOff)
{
    Store("[Program Options]\r\nGLSetup Driver=2\r\n16Bit Textures=0\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(w.snapshotDriverIndex, -1);
    EXPECT_FALSE(w.cbGLDrivers->Enabled());
    EXPECT_FALSE(w.lGLDrivers->Enabled());
    EXPECT_FALSE(w.cb16bitTextures->Enabled());
    EXPECT_FALSE(w.cb16bitTextures->Checked());
    EXPECT_FALSE(w.bGLSetup->Enabled());
    Save();
    EXPECT_EQ(Saved("Program Options", "GLSetup Driver"), "-1");
    EXPECT_EQ(Saved("Program Options", "16Bit Textures"), "1");
}

TEST_F(SettingsFileTest, WithThreeDAccelerationTheStoredDriverIsChosenFromTheDetectedOnes)
{
    Store("[Program Options]\r\n3D Acceleration=1\r\nGLSetup Driver=0\r\n16Bit Textures=1\r\n");
    TfConfig& w = Open();
    ASSERT_GE(w.driverCount, 1) << "the system folder has its OpenGL driver";
    EXPECT_EQ(w.cbGLDrivers->Items().size(), static_cast<std::size_t>(w.driverCount));
    EXPECT_EQ(w.cbGLDrivers->Text(), "Default OpenGL Driver");
    EXPECT_EQ(w.snapshotDriverIndex, 0);
    EXPECT_FALSE(w.cb16bitTextures->Checked());
    EXPECT_TRUE(w.bGLSetup->Enabled());
    Save();
    EXPECT_EQ(Saved("Program Options", "GLSetup Driver"), "0");
    EXPECT_EQ(Saved("Program Options", "16Bit Textures"), "1");
    Close();

    Store("[Program Options]\r\n3D Acceleration=1\r\nGLSetup Driver=5\r\n");
    TfConfig& again = Open();
    EXPECT_EQ(again.cbGLDrivers->Text(), "") << "no such driver";
    EXPECT_EQ(again.snapshotDriverIndex, 5);
    Save();
    EXPECT_EQ(Saved("Program Options", "GLSetup Driver"), "-1");
}

TEST_F(SettingsFileTest, LocationEqualToTheZipShowsTheZip)
{
    Store("[Local]\r\nZip=12345\r\nCountry Code=DE\r\n[Gamespy]\r\nLocation=12345\r\nEnabled=1\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(w.eZipCode->Text(), "12345");
    EXPECT_EQ(w.cbCountry->Text(), "");
    EXPECT_TRUE(w.cbGameSpy->Checked());
    Save();
    EXPECT_EQ(Saved("Local", "Zip"), "12345");
    EXPECT_EQ(Saved("Local", "Country Code"), "");
    EXPECT_EQ(Saved("Gamespy", "Location"), "12345");
}

TEST_F(SettingsFileTest, LocationEqualToTheCountryCodeShowsTheCountry)
{
    Store("[Local]\r\nZip=\r\nCountry Code=DE\r\n[Gamespy]\r\nLocation=DE\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(w.cbCountry->Text(), "Germany");
    EXPECT_EQ(w.eZipCode->Text(), "");
    Save();
    EXPECT_EQ(Saved("Local", "Country Code"), "DE");
    EXPECT_EQ(Saved("Gamespy", "Location"), "DE");
    Close();

    // The country is looked up by name ignoring case when it is saved.
    Store("[Local]\r\nCountry Code=DE\r\n[Gamespy]\r\nLocation=DE\r\n");
    TfConfig& again = Open();
    again.cbCountry->SetText("united states");
    Save();
    EXPECT_EQ(Saved("Local", "Country Code"), "US");
    EXPECT_EQ(Saved("Gamespy", "Location"), "US");
}

TEST_F(SettingsFileTest, ACountryCodeNoCountryHasShowsNoCountryAndTheProgramStarts)
{
    Store("[Local]\r\nCountry Code=QQ\r\n[Gamespy]\r\nLocation=QQ\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(w.cbCountry->Text(), "");
    Save();
    EXPECT_EQ(Saved("Local", "Country Code"), "");
    EXPECT_EQ(Saved("Gamespy", "Location"), "");
}

TEST_F(SettingsFileTest, LocationMatchingNeitherShowsNothing)
{
    Store("[Local]\r\nZip=999\r\nCountry Code=DE\r\n[Gamespy]\r\nLocation=FR\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(w.eZipCode->Text(), "");
    EXPECT_EQ(w.cbCountry->Text(), "");
}

TEST_F(SettingsFileTest, TheVideoSnapshotIsTakenWhenTheControlsHoldTheirLoadedValues)
{
    Store("[Program Options]\r\nResolution=640\r\nBitsPerPixel=32\r\n");
    TfConfig& w = Open();
    for (std::size_t i = 0; i < w.videoControls.size(); ++i) {
        bool checked = w.videoControls[i] == w.rb640 || w.videoControls[i] == w.rb32bit ||
                       w.videoControls[i] == w.cbCriticalHit;
        EXPECT_EQ(w.videoSnapshot[i], checked) << w.videoControls[i]->Name();
    }
}

TEST_F(SettingsFileTest, KeysAndSectionsTheProgramDoesNotKnowStayAsTheyWere)
{
    // Lines the program has no business with: comments, unknown sections and keys, odd text.
    // (Blanks around an "=" are the platform writer's to keep or drop: Wine drops them.)
    const std::vector<std::string> foreign = {
        "; written by the game",
        "[Window]",
        "Left=12",
        "Top=-4",
        "Odd Value=spaced out\tand tabbed",
        "[Game Options]",
        "Difficulty Level=2",
        "Party Size=6",
        "Quest Log=\"quoted; not a comment\"",
        "[Multiplayer Extras]",
        "Nickname=\xC9lise",
        "=no name",
        "no equals sign",
    };
    std::string text;
    for (const std::string& line : foreign) text += line + "\r\n";
    folder.Write("torvel.ini", text);
    Open();
    Save();
    std::string after = folder.Read("torvel.ini");
    for (const std::string& line : foreign) {
        if (line == "Difficulty Level=2") continue;  // the program's own key, written back the same
        EXPECT_NE(after.find(line + "\r\n"), std::string::npos) << "lost or changed: " << line;
    }
    // Unknown lines keep their order.
    std::size_t last = 0;
    for (const char* line : {"[Window]", "Left=12", "Top=-4", "Party Size=6", "[Multiplayer Extras]", "Nickname=\xC9lise"}) {
        std::size_t at = after.find(line);
        EXPECT_GT(at, last) << line;
        last = at;
    }
}

TEST_F(SettingsFileTest, ARefusedWriteStopsTheSaveAtThatKey)
{
    TfConfig& w = Open();
    folder.BlockFile("torvel.ini");
    try {
        w.SaveSettings();
        FAIL() << "the refused write was reported as success";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + folder.Path() + "torvel.ini");
    }
}
