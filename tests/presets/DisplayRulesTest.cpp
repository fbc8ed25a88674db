// The display modes of the screen, the depth, unlock and resolution rules, the 3D switch and its
// twin, the brighten levels; clicked as the user clicks them.
#include "gls/gls_testing.h"
#include "tests/presets/PresetsTest.h"

using namespace ui;

namespace {

// "x" for each enabled button, "-" for each disabled one.
std::string EnabledOf(const std::vector<TRadioButton*>& buttons)
{
    std::string marks;
    for (const TRadioButton* button : buttons) marks += button->Enabled() ? 'x' : '-';
    return marks;
}

// The 3D options at a glance: a box as "on" or "off", "-" after a disabled control.
std::string ThreeDOf(const TfConfig& w)
{
    auto box = [](const TCheckBox* b) { return std::string(b->Checked() ? "on" : "off") + (b->Enabled() ? "" : "-"); };
    std::string depth = w.rb16bit->Checked() ? "16" : w.rb24bit->Checked() ? "24" : w.rb32bit->Checked() ? "32" : "?";
    return "3D " + box(w.cb3dAcceleration) + ", twin " + box(w.cb3dAcceleration2) + ", textures " +
           box(w.cb16bitTextures) + ", drivers '" + w.cbGLDrivers->Text() + (w.cbGLDrivers->Enabled() ? "'" : "'-") +
           (w.lGLDrivers->Enabled() ? "" : "-") + ", setup" + (w.bGLSetup->Enabled() ? "" : "-") + ", " + depth +
           " bit of " + EnabledOf(w.depthButtons) + ", blit " + box(w.cbSoftwareMirror) + " " + box(w.cbSoftware) +
           " " + box(w.cbSoftwareTransparent);
}

}  // namespace

class DisplayRulesTest : public PresetsTest {
protected:
    void SetUp() override
    {
        PresetsTest::SetUp();
        // 800 x 600 at 16 and 32 bit, 640 x 480 only at 16 bit, one large size at each, and
        // modes of other depths and sizes that count for nothing.
        displayModes.modes = {{32, 800, 600},   {16, 800, 600},  {16, 640, 480},  {16, 1024, 768},
                              {32, 1280, 960},  {8, 640, 480},   {32, 720, 400}};
    }
    void TearDown() override
    {
        PresetsTest::TearDown();
        glsTestSetSystemFolder(nullptr);
    }
    // The driver discovery looks in a folder without drivers.
    void NoDrivers() { glsTestSetSystemFolder(emptySystemFolder.Path().c_str()); }

    TempFolder emptySystemFolder;
};

TEST_F(DisplayRulesTest, TheScreensModesEnableTheDepthsAndTheDepthAndUnlockRulesTheResolutions)
{
    TfConfig& w = OpenShown();
    w.pcConfig->SetActivePage(w.tsOptions);
    EXPECT_EQ(EnabledOf(w.depthButtons), "x-x") << "no mode at 24 bit";
    for (std::size_t i = 0; i < w.supportedModes.size(); ++i) {
        bool offered = i == 0 || i == 1 || i == 2 || i == 12 + 1 || i == 12 + 3;  // d * 6 + r
        EXPECT_EQ(w.supportedModes[i], offered) << "depth " << i / 6 << ", resolution " << i % 6;
    }
    ASSERT_TRUE(w.rb16bit->Checked());
    EXPECT_EQ(EnabledOf(w.resolutionButtons), "xx----") << "locked until unlocked";

    struct Step {
        TControl* click;
        const char* resolutions;
        bool blitOptions;
    };
    const Step steps[] = {
        {w.cbSoftware, "xx----", true},     // ticked at 16 bit
        {w.rb32bit, "-x----", false},       // no 640 x 480 at 32 bit
        {w.rb16bit, "xx----", true},
        {w.cbUnlockModes, "xxx---", true},  // only 1024 x 768 at 16 bit
        {w.rb32bit, "-x-x--", false},       // only 1280 x 960 at 32 bit
        {w.cbUnlockModes, "-x----", false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE("after " + step.click->Name());
        Click(step.click);
        EXPECT_EQ(EnabledOf(w.resolutionButtons), step.resolutions);
        for (TCheckBox* blit : {w.cbSoftwareMirror, w.cbSoftware, w.cbSoftwareTransparent})
            EXPECT_EQ(blit->Enabled(), step.blitOptions) << blit->Name();
    }
    EXPECT_TRUE(w.rb800->Checked()) << "enabling never moves the check mark";
    EXPECT_FALSE(w.cbSoftware->Checked()) << "leaving 16 bit unticked it";
    Click(w.rb16bit);
    EXPECT_TRUE(w.cbSoftwareMirror->Enabled());
    EXPECT_FALSE(w.cbSoftware->Checked()) << "coming back to 16 bit ticks nothing";
}

TEST_F(DisplayRulesTest, AScreenWithoutModesDisablesEveryDepthAndResolutionButKeepsTheStoredChoices)
{
    displayModes.modes.clear();
    Store("[Program Options]\r\nResolution=640\r\nBitsPerPixel=16\r\n");
    TfConfig& w = Open();
    EXPECT_EQ(EnabledOf(w.depthButtons), "---");
    EXPECT_EQ(EnabledOf(w.resolutionButtons), "------");
    EXPECT_TRUE(w.rb640->Checked());
    EXPECT_TRUE(w.rb16bit->Checked());
    Save();
    EXPECT_EQ(Saved("Program Options", "Resolution"), "640");
    EXPECT_EQ(Saved("Program Options", "BitsPerPixel"), "16");
}

TEST_F(DisplayRulesTest, ChoosingAnUnsupportedResolutionWarnsEachTimeAndEveryChoiceRebuildsTheSummary)
{
    Store("[Program Options]\r\nResolution=1024\r\n");
    TfConfig& w = OpenShown();  // the stored resolution is taken without a warning
    ASSERT_TRUE(w.cbUnlockModes->Checked());
    w.pcConfig->SetActivePage(w.tsOptions);
    Click(w.rb32bit);
    ASSERT_TRUE(w.rb1280->Enabled());

    dialogs.Answer(TModalResult::OK);
    Click(w.rb1280);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, w.msgUnsupportedRes);
    EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Warning);
    EXPECT_EQ(dialogs.Boxes()[0].buttons, TMsgDlgButtons::OK);
    EXPECT_EQ(dialogs.Boxes()[0].title, w.Caption());
    EXPECT_EQ(w.mSettings->Lines().at(6), "Game Resolution = 1280 x 960");

    Click(w.rb1280);
    EXPECT_EQ(dialogs.Boxes().size(), 1u) << "the checked button clicked again changes nothing";
    Click(w.rb800);
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(w.mSettings->Lines().at(6), "Game Resolution = 800 x 600");

    dialogs.Answer(TModalResult::OK);
    w.rb2048->SetChecked(true);  // the program's choice warns as well, disabled as the button is
    EXPECT_EQ(dialogs.Boxes().size(), 2u);
    EXPECT_EQ(w.mSettings->Lines().at(6), "Game Resolution = 2048 x 1536");
}

TEST_F(DisplayRulesTest, ThreeDAccelerationThroughEitherBoxOnAndOffWithAndWithoutDrivers)
{
    struct Case {
        bool onByTwin, offByTwin, drivers;
    };
    const Case cases[] = {{false, false, true}, {true, true, true}, {false, true, false}, {true, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("on by ") + (c.onByTwin ? "twin" : "main box") + ", off by " +
                     (c.offByTwin ? "twin" : "main box") + (c.drivers ? ", drivers" : ", no driver"));
        if (!c.drivers) NoDrivers();
        Store("[Program Options]\r\nResolution=800\r\nBitsPerPixel=16\r\nSoftBlt=1\r\n");
        TfConfig& w = OpenShown();
        ASSERT_EQ(w.driverCount > 0, c.drivers);
        // Each box is clicked on its own page.
        auto click = [&](bool twin) {
            w.pcConfig->SetActivePage(twin ? w.tsSimple : w.tsOptions);
            Click(twin ? w.cb3dAcceleration2 : w.cb3dAcceleration);
        };

        if (c.onByTwin) dialogs.Answer(TModalResult::OK);
        click(c.onByTwin);
        ASSERT_EQ(dialogs.Boxes().size(), c.onByTwin ? 1u : 0u);
        if (c.onByTwin) {
            EXPECT_EQ(dialogs.Boxes()[0].text, w.msg3dAcceleration);
            EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Information);
        }
        // The first driver chosen; with none, 3D Setup is still the way to one.
        std::string first = c.drivers ? w.cbGLDrivers->Items().at(0) : "";
        EXPECT_EQ(ThreeDOf(w),
                  "3D on, twin on, textures on, drivers '" + first + "', setup, 32 bit of --x, blit off- off- off-");
        EXPECT_EQ(EnabledOf(w.resolutionButtons), "-x----") << "the depth rule ran for 32 bit";

        dialogs.Clear();
        click(c.offByTwin);
        EXPECT_TRUE(dialogs.Boxes().empty());
        // 32 bit stays, the depths of 800 x 600 are free; the blit options wait for 16 bit.
        EXPECT_EQ(ThreeDOf(w),
                  "3D off, twin off, textures off-, drivers ''--, setup-, 32 bit of x-x, blit off- off- off-");
        EXPECT_EQ(w.cbGLDrivers->ItemIndex(), -1);
        Save();
        EXPECT_EQ(Saved("Program Options", "3D Acceleration"), "0");
        EXPECT_EQ(Saved("Program Options", "BitsPerPixel"), "32");
        Close();
        glsTestSetSystemFolder(nullptr);
    }
}

TEST_F(DisplayRulesTest, ANegativeDriverCountRefusesThreeDAccelerationWithItsError)
{
    TfConfig& w = OpenShown();
    w.driverCount = -1;
    ASSERT_TRUE(w.rb16bit->Checked());
    for (TCheckBox* sender : {w.cb3dAcceleration, w.cb3dAcceleration2}) {
        SCOPED_TRACE(sender->Name());
        dialogs.Clear();
        if (sender == w.cb3dAcceleration2) dialogs.Answer(TModalResult::OK);
        dialogs.Answer(TModalResult::OK);
        w.pcConfig->SetActivePage(sender == w.cb3dAcceleration2 ? w.tsSimple : w.tsOptions);
        Click(sender);
        ASSERT_EQ(dialogs.Boxes().size(), sender == w.cb3dAcceleration2 ? 2u : 1u);
        EXPECT_EQ(dialogs.Boxes().back().text, w.msgNoOpenGL);
        EXPECT_EQ(dialogs.Boxes().back().type, TMsgDlgType::Error);
        EXPECT_EQ(ThreeDOf(w),
                  "3D off, twin off, textures off-, drivers ''--, setup-, 16 bit of x-x, blit off off off");
    }
}

TEST_F(DisplayRulesTest, TheLoadSetsTheBlitOptionsBeforeThreeDAccelerationAndAfterTheDepth)
{
    struct Case {
        const char* stored;
        const char* savedDepth;
        const char* savedSoftBlt;
        bool threeD;
    };
    const Case cases[] = {
        // The 3D rule comes last: 32 bit, the blit options off.
        {"3D Acceleration=1\r\nBitsPerPixel=16\r\nSoftBlt=1\r\n", "32", "0", true},
        // The depth rule comes first: the stored tick stays, on a disabled box.
        {"BitsPerPixel=32\r\nSoftBlt=1\r\n", "32", "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Store(std::string("[Program Options]\r\n") + c.stored);
        TfConfig& w = Open();
        EXPECT_TRUE(w.rb32bit->Checked());
        EXPECT_FALSE(w.cbSoftware->Enabled());
        EXPECT_EQ(w.cb3dAcceleration2->Checked(), c.threeD) << "the twin follows without its message";
        Save();
        EXPECT_EQ(Saved("Program Options", "BitsPerPixel"), c.savedDepth);
        EXPECT_EQ(Saved("Program Options", "SoftBlt"), c.savedSoftBlt);
        EXPECT_EQ(Saved("Program Options", "3D Acceleration"), c.threeD ? "1" : "0");
        Close();
    }
}

TEST_F(DisplayRulesTest, TheBrightenLevelsFollowBrightenOffAndKeepTheirTicks)
{
    Store("Mid Level Brighten=1\r\n[Program Options]\r\nDisable Brighten=1\r\n");
    TfConfig& w = OpenShown();
    EXPECT_FALSE(w.cbMidLevelBrighten->Enabled());
    EXPECT_TRUE(w.cbMidLevelBrighten->Checked());
    w.pcConfig->SetActivePage(w.tsGameplay);
    for (bool brightening : {true, false}) {
        Click(w.cbBrightenOff);
        ASSERT_EQ(w.cbBrightenOff->Checked(), brightening);
        EXPECT_EQ(w.cbMidLevelBrighten->Enabled(), brightening);
        EXPECT_EQ(w.cbHighLevelBrighten->Enabled(), brightening);
        EXPECT_TRUE(w.cbMidLevelBrighten->Checked());
        EXPECT_FALSE(w.cbHighLevelBrighten->Checked());
    }
    Save();
    EXPECT_EQ(Saved("Game Options", "Mid Level Brighten"), "1");
    EXPECT_EQ(Saved("Program Options", "Disable Brighten"), "1");
}
