// The hardware sliders' presets, level by level, and the summary beside them.
#include "tests/presets/PresetsTest.h"

using namespace ui;

namespace {

std::string OnOff(bool on) { return on ? "1" : "0"; }

}  // namespace

TEST_F(PresetsTest, EachGeneralLevelSetsItsColumnAsTheUserMovesTheSlider)
{
    struct Column {
        const char* searchNodes;
        int spinner;
        int frameRate;
        bool enhancedPathfinding;
    };
    const Column columns[] = {{"400000", 4000, 30, true}, {"50000", 500, 30, true}, {"32000", 320, 30, true},
                              {"20000", 200, 27, false},  {"8000", 80, 24, false},  {"8000", 80, 20, false}};
    TfConfig& w = OpenShown();
    for (int level = 1; level <= 6; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        Press(w.tbGeneral, level == 1 ? VK_HOME : VK_DOWN);  // the top, then one level down at a time
        ASSERT_EQ(w.tbGeneral->Position(), level);
        const Column& c = columns[level - 1];
        EXPECT_EQ(w.ePathSearchNodes->Text(), c.searchNodes);
        EXPECT_EQ(w.udPathSearchNodes->Position(), c.spinner);
        EXPECT_EQ(w.tbFrameRate->Position(), c.frameRate);
        EXPECT_EQ(w.lUpdatesValue->Caption(), std::to_string(c.frameRate)) << "the frame rate's own handler ran";
        EXPECT_EQ(w.cbEnhancedPathfinding->Checked(), c.enhancedPathfinding);
        EXPECT_EQ(w.mSettings->Lines().at(2), std::string("Search Nodes = ") + c.searchNodes) << "the caption's words";
        Save();
        EXPECT_EQ(Saved("Config", "General"), std::to_string(level));
        EXPECT_EQ(Saved("Program Options", "Path Search Nodes"), c.searchNodes);
        EXPECT_EQ(Saved("Program Options", "Maximum Frame Rate"), std::to_string(c.frameRate));
        EXPECT_EQ(Saved("Game Options", "Enhanced Path Finding"), OnOff(c.enhancedPathfinding));
    }
}

TEST_F(PresetsTest, EachGraphicsLevelSetsItsColumnAndChecksItsResolutionWithoutAWarning)
{
    // A screen without 640 x 480: the preset checks rb640 all the same, and leaves it disabled.
    displayModes.modes = {{16, 800, 600}, {16, 1600, 1200}};
    Store("[Program Options]\r\nResolution=1600\r\n");
    TfConfig& w = OpenShown();
    ASSERT_TRUE(w.rb1600->Checked());
    ASSERT_FALSE(w.rb640->Enabled());
    const std::vector<TCheckBox*> boxes = {w.cbTranslucentShadows, w.cbLowEndMachine,       w.cbLowEndMachine2,
                                           w.cb3dAnimations,       w.cbBrightenOff,         w.cbForce50Transparency,
                                           w.cbDisableCastingGlows, w.cbDisableVidCells,    w.cbMidLevelBrighten,
                                           w.cbHighLevelBrighten};
    struct Column {
        const char* ticks;  // x: checked, -: unchecked, in the order of boxes
        int tilesPrecache;
        TRadioButton* resolution;
    };
    const Column columns[] = {{"x--xx---xx", 100, w.rb800}, {"x---x---x-", 75, w.rb800}, {"x---x---x-", 50, w.rb800},
                              {"xx--x-----", 25, w.rb640},  {"-xx-x-----", 0, w.rb640},  {"-xx--xxx--", 0, w.rb640}};
    // From the stored level 3 one down to 4 (away from rb1600), then the top, then down to the bottom.
    const std::pair<UINT, int> moves[] = {{VK_DOWN, 4}, {VK_HOME, 1}, {VK_DOWN, 2}, {VK_DOWN, 3},
                                          {VK_DOWN, 4}, {VK_DOWN, 5}, {VK_DOWN, 6}};
    for (const auto& [key, level] : moves) {
        SCOPED_TRACE("level " + std::to_string(level));
        Press(w.tbGraphics, key);
        ASSERT_EQ(w.tbGraphics->Position(), level);
        const Column& c = columns[level - 1];
        for (std::size_t i = 0; i < boxes.size(); ++i)
            EXPECT_EQ(boxes[i]->Checked(), c.ticks[i] == 'x') << boxes[i]->Name();
        // The brighten levels follow "Brighten Off" through its own handler.
        EXPECT_EQ(w.cbMidLevelBrighten->Enabled(), w.cbBrightenOff->Checked());
        EXPECT_EQ(w.cbHighLevelBrighten->Enabled(), w.cbBrightenOff->Checked());
        EXPECT_EQ(w.udTilesPrecache->Position(), c.tilesPrecache);
        EXPECT_EQ(w.eTilesPrecache->Text(), std::to_string(c.tilesPrecache));
        for (TRadioButton* button : w.resolutionButtons)
            EXPECT_EQ(button->Checked(), button == c.resolution) << button->Name();
        EXPECT_FALSE(w.rb640->Enabled());
        EXPECT_EQ(w.mSettings->Lines().at(6), "Game Resolution = " + c.resolution->CaptionText());
    }
    EXPECT_TRUE(dialogs.Boxes().empty()) << "640 and 800 draw no warning";
}

TEST_F(PresetsTest, EachSoundLevelSetsItsBoxesAndTheFiveVolumesThatOnlyTheFileShows)
{
    struct Column {
        bool footsteps, attackSounds, lowMemSounds1, lowMemSounds2;
        int movie, others;
    };
    const Column columns[] = {{true, true, false, false, 150, 150},  {true, true, false, false, 150, 150},
                              {false, true, false, false, 150, 150}, {false, true, true, false, 150, 150},
                              {false, false, true, false, 0, 150},   {false, false, true, true, 0, 0}};
    Store("[Program Options]\r\nVolume Movie=77\r\nVolume SFX=12\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(w.volumeMovie, 77) << "loaded, no preset ran for the stored level";
    // Set by the program, each position different from the one before.
    for (int level : {6, 1, 5, 2, 4, 3}) {
        SCOPED_TRACE("level " + std::to_string(level));
        w.tbSound->SetPosition(level);
        const Column& c = columns[level - 1];
        EXPECT_EQ(w.cbFootsteps->Checked(), c.footsteps);
        EXPECT_EQ(w.cbAttackSounds->Checked(), c.attackSounds);
        EXPECT_EQ(w.cbLowMemSounds1->Checked(), c.lowMemSounds1);
        EXPECT_EQ(w.cbLowMemSounds2->Checked(), c.lowMemSounds2);
        EXPECT_EQ(w.mSettings->Lines().at(20), std::string("Footsteps = ") + (c.footsteps ? "On" : "Off"));
        EXPECT_EQ(w.mSettings->Lines().at(21), std::string("Attack Sounds = ") + (c.attackSounds ? "On" : "Off"));
        Save();
        EXPECT_EQ(Saved("Config", "Sound"), std::to_string(level));
        EXPECT_EQ(Saved("Program Options", "Volume Movie"), std::to_string(c.movie));
        for (const char* key : {"Volume Music", "Volume Voices", "Volume Ambients", "Volume SFX"})
            EXPECT_EQ(Saved("Program Options", key), std::to_string(c.others)) << key;
        EXPECT_EQ(Saved("Game Options", "Low Mem Sounds 2"), OnOff(c.lowMemSounds2));
    }
}

TEST_F(PresetsTest, AUsersScrollAppliesTheLevelAgainInPlaceButTheProgramsSamePositionFiresNothing)
{
    TfConfig& w = OpenShown();
    w.tbGraphics->SetPosition(1);
    ASSERT_TRUE(w.cbHighLevelBrighten->Checked());
    auto untickByHand = [&] {
        Click(w.cbHighLevelBrighten);
        ASSERT_FALSE(w.cbHighLevelBrighten->Checked());
    };

    untickByHand();
    w.tbGraphics->SetPosition(1);
    EXPECT_FALSE(w.cbHighLevelBrighten->Checked()) << "the program's unchanged position fires nothing";

    // The thumb pressed and released where it is.
    RECT thumb;
    SendMessageA(w.tbGraphics->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    LPARAM at = MAKELPARAM((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
    SendMessageA(w.tbGraphics->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(w.tbGraphics->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(w.tbGraphics->Position(), 1);
    EXPECT_TRUE(w.cbHighLevelBrighten->Checked()) << "a click on the thumb applies the level again";

    // The up key at the top of the slider.
    untickByHand();
    Press(w.tbGraphics, VK_UP);
    EXPECT_EQ(w.tbGraphics->Position(), 1);
    EXPECT_TRUE(w.cbHighLevelBrighten->Checked()) << "a key that cannot move the slider applies the level again";
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(PresetsTest, TheSummaryHasTwentyTwoLinesInTheLanguageFilesCaptionsOrTheBuiltInOnes)
{
    // A language file of its own; it names neither cbHighLevelBrighten nor rb1280, which keep
    // their built-in captions. Access keys in captions are no part of the summary's words.
    const char* language[] = {
        "lGeneral=&Allgemein|Prozessor",
        "lFrameRate=KI-&Takt",
        "lPathSearchNodes=Suchknoten|Schritte beim Suchen",
        "cbEnhancedPathfinding=Bessere Wege|Sorgfalt",
        "lGraphics=Grafik",
        "gbGameResolution=Aufloesung|Groesse des Bildes",
        "cbTranslucentShadows=Scha&tten",
        "cbLowEndMachine=Standbilder",
        "cbLowEndMachine2=Mehr Standbilder",
        "cb3dAnimations=3D-Figuren",
        "cbBrightenOff=Aufhellen",
        "cbForce50Transparency=Halbe Transparenz",
        "cbDisableCastingGlows=Kein Leuchten",
        "cbDisableVidCells=Keine Effekte",
        "cbMidLevelBrighten=Mittleres Aufhellen",
        "lTilesPrecache=Kachelvorrat|Wie viel vorab",
        "lSound=&Klang",
        "cbFootsteps=&Schritte|Hoeren",
        "cbAttackSounds=Kampfgeraeusche",
    };
    std::string text;
    for (const char* line : language) text += std::string(line) + "\r\n";
    folder.Write("Language.txt", text);
    Store("Footsteps=1\r\nLow End Machine=1\r\nTiles Precache Percent=75\r\n"
          "[Program Options]\r\nMaximum Frame Rate=45\r\nPath Search Nodes=12345\r\nResolution=1280\r\n");
    TfConfig& w = Open();
    ASSERT_EQ(w.gbGameResolution->Caption(), " Aufloesung ");
    const std::vector<std::string> expected = {
        "Allgemein",
        "KI-Takt = 45",
        "Suchknoten = 12300",
        "Bessere Wege = On",
        "",
        "Grafik",
        "Aufloesung = rb1280",
        "Schatten = On",
        "Standbilder = On",
        "Mehr Standbilder = Off",
        "3D-Figuren = Off",
        "Aufhellen = On",
        "Halbe Transparenz = Off",
        "Kein Leuchten = Off",
        "Keine Effekte = Off",
        "Mittleres Aufhellen = Off",
        "High Level Brighten = Off",
        "Kachelvorrat = 75%",
        "",
        "Klang",
        "Schritte = On",
        "Kampfgeraeusche = On",
    };
    EXPECT_EQ(w.mSettings->Lines(), expected);
    char shown[2048] = {};
    GetWindowTextA(w.mSettings->Handle(), shown, sizeof shown);
    EXPECT_EQ(shown, w.mSettings->Text()) << "the memo's window shows the lines";

    // No resolution checked: the line ends after the equals sign.
    w.rb1280->SetChecked(false);
    w.RefreshSummary();
    EXPECT_EQ(w.mSettings->Lines().at(6), "Aufloesung = ");
    EXPECT_EQ(w.mSettings->Lines().size(), 22u);
}
