// Building the window, the command line, OK, Apply, Cancel and closing, the video guard.
#include <windows.h>

#include "presets/Difficulty.h"
#include "tests/support/WindowTest.h"
#include "ui/Exception.h"

using namespace ui;

class LifecycleTest : public WindowTest {};

TEST_F(LifecycleTest, KeymapOptionOffersOnlyHotKeysAndGameplayAndOpensOnHotKeys)
{
    TfConfig& w = Open({"-keymap"});
    EXPECT_EQ(w.pcConfig->VisibleTabs(), (std::vector<TTabSheet*>{w.tsHotKeys, w.tsGameplay}));
    EXPECT_EQ(w.pcConfig->ActivePage(), w.tsHotKeys);
    EXPECT_FALSE(w.tsSimple->Enabled());
    EXPECT_FALSE(w.tsOptions->Enabled());
    EXPECT_TRUE(GetWindowLongA(w.tsHotKeys->Handle(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(LifecycleTest, OtherArgumentsLeaveAllFourPages)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-KEYMAP"}, {"extra", "-keymap"}, {"-keymap2"}, {}}) {
        TfConfig& w = Open(args);
        EXPECT_EQ(w.pcConfig->VisibleTabs().size(), 4u) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(w.pcConfig->ActivePage(), w.tsSimple);
        Close();
    }
}

TEST_F(LifecycleTest, PathsAndFirstStateOfTheWindow)
{
    TfConfig& w = Open();
    EXPECT_EQ(w.settingsPath, ui::Widen(folder.Path() + "torvel.ini"));
    EXPECT_EQ(w.keymapPath, ui::Widen(folder.Path() + "keymap.ini"));
    EXPECT_TRUE(w.videoTestPassed);
    EXPECT_EQ(w.advancedNoticePending, (std::array<bool, 2>{true, true}));
    EXPECT_EQ(w.videoControls.size(), 12u);
    EXPECT_EQ(w.videoSnapshot.size(), 12u);
    EXPECT_EQ(w.videoControls.front(), w.rb640);
    EXPECT_EQ(w.videoControls.back(), w.cbCriticalHit);
    EXPECT_EQ(w.shownLayer, KeyLayer::Plain);
    EXPECT_EQ(w.selectedPosition, 0);
    EXPECT_EQ(w.selectedKey, nullptr);
    EXPECT_FALSE(w.Visible()) << "the window is shown by the message loop, not by building it";
}

TEST_F(LifecycleTest, MissingLanguageFileStopsTheBuildWithItsPath)
{
    folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n");
    folder.BlockFile("Language.txt");  // a folder of that name: the file cannot be opened
    try {
        Open();
        FAIL() << "the window was built without its language file";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + folder.Path() + "Language.txt");
    }
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(Application().MainForm(), nullptr) << "nothing of the half-built window is left";
}

TEST_F(LifecycleTest, CancelAndTheCloseBoxEndTheProgramWithoutWritingAFile)
{
    const std::string stored = "[Game Options]\r\nDifficulty Level=3\r\n";
    folder.Write("torvel.ini", stored);
    TfConfig& w = Open();
    w.Show();
    w.cbFootsteps->SetChecked(!w.cbFootsteps->Checked());
    Click(w.bCancel);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_FALSE(IsWindowVisible(w.Handle()));
    EXPECT_EQ(folder.Read("torvel.ini"), stored);
    EXPECT_FALSE(folder.Exists("keymap.ini"));
    Close();

    Application().ResetTerminated();
    TfConfig& again = Open();
    again.Show();
    SendMessageA(again.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_EQ(folder.Read("torvel.ini"), stored);
}

TEST_F(LifecycleTest, OkWithoutVideoChangesWritesAndEnds)
{
    TfConfig& w = Open();
    w.cbFootsteps->SetChecked(!w.cbFootsteps->Checked());  // not a video setting
    Click(w.bOK);
    EXPECT_TRUE(dialogs.Boxes().empty());
    EXPECT_TRUE(Application().Terminated());
    EXPECT_NE(folder.Read("torvel.ini").find("Footsteps="), std::string::npos);
}

TEST_F(LifecycleTest, ApplyWritesAndStaysOpenWithItsValues)
{
    TfConfig& w = Open();
    w.cbDuplicateFloatingText->SetChecked(true);
    Click(w.bApply);
    EXPECT_FALSE(Application().Terminated());
    EXPECT_NE(folder.Read("torvel.ini").find("Duplicate Floating Text=1"), std::string::npos);
    EXPECT_TRUE(w.cbDuplicateFloatingText->Checked());
}

TEST_F(LifecycleTest, AVideoChangeAsksForTheTestAndNoRefusesWithoutWriting)
{
    TfConfig& w = Open();
    ASSERT_TRUE(w.rb800->Checked());
    const std::string before = folder.Read("torvel.ini");
    dialogs.Answer(TModalResult::OK);  // the unsupported resolution's warning
    w.rb1024->SetChecked(true);
    dialogs.Clear();
    dialogs.Answer(TModalResult::No);  // run the video test?
    dialogs.Answer(TModalResult::OK);  // refused
    Click(w.bOK);
    ASSERT_EQ(dialogs.Boxes().size(), 2u);
    EXPECT_EQ(dialogs.Boxes()[0].text, w.msgVideoTest);
    EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Question);
    EXPECT_EQ(dialogs.Boxes()[0].buttons, TMsgDlgButtons::YesNo);
    EXPECT_EQ(dialogs.Boxes()[0].title, w.Caption());
    EXPECT_EQ(dialogs.Boxes()[1].text, w.msgResetVideo);
    EXPECT_EQ(dialogs.Boxes()[1].type, TMsgDlgType::Information);
    EXPECT_FALSE(Application().Terminated());
    EXPECT_EQ(folder.Read("torvel.ini"), before);
    EXPECT_FALSE(folder.Exists("keymap.ini"));
}

TEST_F(LifecycleTest, OnlyTheCheckedStatesOfTheVideoControlsAndTheDriverCount)
{
    folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n[Program Options]\r\nResolution=1024\r\n");
    TfConfig& w = Open();
    ASSERT_TRUE(w.rb1024->Checked());
    dialogs.Answer(TModalResult::OK);  // the unsupported resolution's warning
    w.rb1280->SetChecked(true);        // neither 640 nor 800 changes
    dialogs.Clear();
    EXPECT_TRUE(w.ConfirmVideoChanges());
    EXPECT_TRUE(dialogs.Boxes().empty());

    w.cbGLDrivers->SetText("a driver nobody has");  // still no item: index -1 as at the load
    EXPECT_TRUE(w.ConfirmVideoChanges());

    w.cbCriticalHit->SetChecked(!w.cbCriticalHit->Checked());
    dialogs.Answer(TModalResult::No);
    EXPECT_FALSE(w.ConfirmVideoChanges());
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
}

TEST_F(LifecycleTest, AFailedVideoTestRefusesOkEvenWithoutChanges)
{
    TfConfig& w = Open();
    w.videoTestPassed = false;
    dialogs.Answer(TModalResult::OK);
    Click(w.bApply);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, w.msgResetVideo);
    EXPECT_FALSE(folder.Read("torvel.ini").find("Footsteps") != std::string::npos);
}

TEST_F(LifecycleTest, ARefusedWriteShowsTheErrorAndOkNeitherEndsNorWritesTheKeyMap)
{
    TfConfig& w = Open();
    folder.BlockFile("torvel.ini");
    dialogs.Answer(TModalResult::OK);
    Click(w.bOK);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, "Unable to write to " + folder.Path() + "torvel.ini.");
    EXPECT_EQ(dialogs.Boxes()[0].wideText, ui::Widen(dialogs.Boxes()[0].text)) << "the box names the file as it is";
    EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Error);
    EXPECT_FALSE(Application().Terminated());
    EXPECT_FALSE(folder.Exists("keymap.ini"));
}
