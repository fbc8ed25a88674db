// Building the window, the command line, OK, Apply, Cancel and closing, the video guard.
#include <windows.h>

#include <functional>

#include "presets/Difficulty.h"
#include "tests/support/Keys.h"
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

TEST_F(LifecycleTest, EveryWayOfClosingWithoutSavingAsksFirstWhenWorkIsUnsavedAndWritesNothing)
{
    folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
    Open();
    Click(window->bApply);  // the files hold what the window shows
    Close();
    const std::string settings = folder.Read("torvel.ini"), keymap = folder.Read("keymap.ini");
    const std::pair<const char*, void (*)(TfConfig&)> ways[] = {
        {"Cancel", [](TfConfig& w) { Click(w.bCancel); }},
        {"Esc", [](TfConfig& w) {
             w.bOK->SetFocus();
             keys::Post(VK_ESCAPE);
         }},
        {"close box", [](TfConfig& w) { SendMessageA(w.Handle(), WM_CLOSE, 0, 0); }},
        {"system menu", [](TfConfig& w) { SendMessageA(w.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& [way, close] : ways) {
        for (bool changed : {false, true}) {
            SCOPED_TRACE(std::string(way) + (changed ? " after a change" : " without one"));
            Application().ResetTerminated();
            dialogs.Clear();
            TfConfig& w = Open();
            w.Show();
            SetForegroundWindow(w.Handle());
            if (changed) {
                Click(w.cbFootsteps);
                dialogs.Answer(TModalResult::No);  // stay
                close(w);
                ASSERT_EQ(dialogs.Boxes().size(), 1u);
                EXPECT_EQ(dialogs.Boxes()[0].text, w.LanguageTextOr("msgCloseUnsaved", "?"));
                EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Question);
                EXPECT_EQ(dialogs.Boxes()[0].buttons, TMsgDlgButtons::YesNo);
                EXPECT_FALSE(Application().Terminated());
                EXPECT_TRUE(IsWindowVisible(w.Handle()));
                dialogs.Answer(TModalResult::Yes);  // close without saving
            }
            close(w);
            EXPECT_EQ(dialogs.Boxes().size(), changed ? 2u : 0u);
            EXPECT_TRUE(Application().Terminated());
            EXPECT_FALSE(IsWindowVisible(w.Handle()));
            EXPECT_EQ(folder.Read("torvel.ini"), settings);
            EXPECT_EQ(folder.Read("keymap.ini"), keymap);
            Close();
        }
    }
}

TEST_F(LifecycleTest, ApplyIsEnabledExactlyWhenASaveWouldWriteWhatTheFilesDoNotHold)
{
    folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
    TfConfig& first = Open();
    EXPECT_TRUE(first.bApply->Enabled()) << "a file holding only the difficulty";
    Click(first.bApply);
    EXPECT_FALSE(first.bApply->Enabled()) << "after a save";
    Close();
    // The key map as shipped holds what its save writes.
    folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));

    TfConfig& w = Open();
    w.Show();
    EXPECT_FALSE(w.bApply->Enabled()) << "the files hold what the window shows";
    TSpeedButton* bound = nullptr;
    for (TSpeedButton* key : w.assignableKeys)
        if (!bound && key->Down()) bound = key;
    ASSERT_NE(bound, nullptr) << "the shipped key map binds a key";
    const std::string saved = folder.Read("torvel.ini");
    const std::string changed = saved.find("Footsteps=0") != std::string::npos ? "Footsteps=1" : "Footsteps=0";
    const std::string edited = std::string(saved).replace(saved.find("Footsteps="), 11, changed);

    const std::pair<const char*, std::function<void()>> steps[] = {
        {"an option ticked", [&] { Click(w.cbFootsteps); }},
        {"and unticked by hand", [&] { Click(w.cbFootsteps); }},
        {"a key's function removed", [&] {
             dialogs.Answer(TModalResult::Yes);
             RightClick(bound);
         }},
        {"saved", [&] { Click(w.bApply); }},
        {"a key map imported", [&] {
             dialogs.AnswerOpen(SourceFile("data/import-example.ini"));
             dialogs.Answer(TModalResult::OK);
             Click(w.bImport);
         }},
        {"saved", [&] { Click(w.bOK); }},
        // Another program changes the file while the window is open: seen when the window comes back.
        {"changed elsewhere", [&] { folder.Write("torvel.ini", edited); }},
        {"the window back in front", [&] { SendMessageA(w.Handle(), WM_ACTIVATEAPP, TRUE, 0); }},
    };
    const bool enabled[] = {true, false, true, false, true, false, false, true};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].second();
        EXPECT_EQ(w.bApply->Enabled(), enabled[i]) << steps[i].first;
    }
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
