// The Test and 3D Setup buttons, and OK and Apply through the video guard, with the programs they
// start recorded instead of run.
#include <windows.h>

#include <functional>

#include "tests/support/WindowTest.h"

using namespace ui;

namespace {

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<bool> CheckedStates(const TfConfig& w)
{
    std::vector<bool> states;
    for (const TControl* control : w.videoControls) {
        const auto* box = dynamic_cast<const TCheckBox*>(control);
        const auto* radio = dynamic_cast<const TRadioButton*>(control);
        states.push_back(box ? box->Checked() : radio && radio->Checked());
    }
    return states;
}

}  // namespace

class VideoTestButtonTest : public WindowTest {
protected:
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : dialogs.Boxes()) texts.push_back(box.text);
        return texts;
    }
};

TEST_F(VideoTestButtonTest, TheProgramFollows3DAccelerationAsItIsAtTheClick)
{
    const struct {
        TCheckBoxState state;
        const char* program;
    } cases[] = {{TCheckBoxState::Checked, "kxgltest.exe"},
                 {TCheckBoxState::Unchecked, "kxdxtest.exe"},
                 {TCheckBoxState::Grayed, "kxdxtest.exe"}};
    for (const auto& c : cases) {
        TfConfig& w = Open();
        w.cb3dAcceleration->SetState(c.state);
        dialogs.Answer(TModalResult::Yes);
        dialogs.Answer(TModalResult::OK);
        Click(w.bTestSettings);
        EXPECT_EQ(processes.waited, std::vector<std::string>{c.program}) << static_cast<int>(c.state);
        EXPECT_TRUE(processes.started.empty());
        processes.waited.clear();
        dialogs.Clear();
        Close();
    }
}

TEST_F(VideoTestButtonTest, SavesAndRetakesTheSnapshotBeforeTheProgramAndTakesNoInputWhileItRuns)
{
    folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
    TfConfig& w = Open();
    folder.Remove("keymap.ini");
    w.Show();
    w.rb640->SetChecked(true);
    w.cbCriticalHit->SetChecked(!w.cbCriticalHit->Checked());
    bool ran = false;
    processes.whileWaiting = [&](const std::string&) {
        ran = true;
        EXPECT_TRUE(Holds(folder.Read("torvel.ini"), "Resolution=640")) << "the program reads what is under test";
        EXPECT_TRUE(folder.Exists("keymap.ini") && Holds(folder.Read("keymap.ini"), "[Keymap "))
            << "and the key map beside it";
        EXPECT_FALSE(w.Enabled());
        EXPECT_FALSE(IsWindowEnabled(w.Handle()));
        EXPECT_EQ(w.videoSnapshot, CheckedStates(w));
        EXPECT_TRUE(w.videoSnapshot[0]) << "rb640";
        EXPECT_TRUE(dialogs.Boxes().empty()) << "asked before the test ran";
    };
    dialogs.Answer(TModalResult::Yes);
    dialogs.Answer(TModalResult::OK);
    Click(w.bTestSettings);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(w.Enabled());
    EXPECT_TRUE(IsWindowEnabled(w.Handle()));
    EXPECT_TRUE(w.ConfirmVideoChanges()) << "the tested settings are the new baseline";
}

TEST_F(VideoTestButtonTest, TheAnswerDecidesWhetherTheTestPassed)
{
    const struct {
        TModalResult answer;
        bool passed;
    } cases[] = {{TModalResult::Yes, true}, {TModalResult::No, false}, {TModalResult::Cancel, false}};
    for (const auto& c : cases) {
        TfConfig& w = Open();
        w.videoTestPassed = !c.passed;
        dialogs.Answer(c.answer);
        dialogs.Answer(TModalResult::OK);
        Click(w.bTestSettings);
        ASSERT_EQ(dialogs.Boxes().size(), 2u);
        const auto& question = dialogs.Boxes()[0];
        const auto& verdict = dialogs.Boxes()[1];
        EXPECT_EQ(question.text, w.msgVideo);
        EXPECT_EQ(question.type, TMsgDlgType::Question);
        EXPECT_EQ(question.buttons, TMsgDlgButtons::YesNo);
        EXPECT_EQ(question.title, w.Caption());
        EXPECT_EQ(verdict.text, c.passed ? w.msgVideoGood : w.msgVideoBad);
        EXPECT_EQ(verdict.type, c.passed ? TMsgDlgType::Information : TMsgDlgType::Error);
        EXPECT_EQ(verdict.buttons, TMsgDlgButtons::OK);
        EXPECT_EQ(w.videoTestPassed, c.passed);
        dialogs.Clear();
        Close();
    }
}

TEST_F(VideoTestButtonTest, ARefusedWriteEndsTheTestBeforeTheProgram)
{
    for (const char* file : {"torvel.ini", "keymap.ini"}) {
        folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
        TfConfig& w = Open();
        w.rb640->SetChecked(true);
        w.videoTestPassed = false;
        const std::vector<bool> snapshot = w.videoSnapshot;
        const std::string settings = folder.Read("torvel.ini");
        folder.Remove(file);
        folder.BlockFile(file);
        dialogs.Answer(TModalResult::OK);
        Click(w.bTestSettings);
        ASSERT_EQ(dialogs.Boxes().size(), 1u) << file;
        EXPECT_EQ(dialogs.Boxes()[0].text, "Unable to write to " + folder.Path() + file + ".");
        if (file == std::string("keymap.ini")) {
            EXPECT_EQ(folder.Read("torvel.ini"), settings) << "the settings saved before the refused key map go back";
        }
        EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Error);
        EXPECT_TRUE(processes.waited.empty()) << file;
        EXPECT_FALSE(w.videoTestPassed);
        EXPECT_EQ(w.videoSnapshot, snapshot) << file;
        EXPECT_TRUE(w.Enabled());
        dialogs.Clear();
        Close();
        folder.Remove(file);
    }
}

TEST_F(VideoTestButtonTest, ADriverTextOfNoEntryIsRecordedAsNoneAndStaysUnchangedWhileItMatchesNone)
{
    TfConfig& w = Open();
    ASSERT_FALSE(w.cbGLDrivers->Items().empty()) << "Wine's own opengl32.dll is the default driver";
    w.cb3dAcceleration->SetChecked(true);
    w.cbGLDrivers->SetText("A driver nobody has");
    dialogs.Answer(TModalResult::Yes);
    dialogs.Answer(TModalResult::OK);
    Click(w.bTestSettings);
    EXPECT_EQ(w.snapshotDriverIndex, -1);
    EXPECT_TRUE(w.ConfirmVideoChanges());
    w.cbGLDrivers->SetText("Another driver nobody has");
    EXPECT_TRUE(w.ConfirmVideoChanges());

    w.cbGLDrivers->SetText(w.cbGLDrivers->Items()[0]);
    dialogs.Answer(TModalResult::No);
    EXPECT_FALSE(w.ConfirmVideoChanges()) << "choosing a listed driver is a change";
    EXPECT_EQ(BoxTexts().back(), w.msgVideoTest);
}

TEST_F(VideoTestButtonTest, ANoRefusesOkAndApplyUntilALaterTestIsAnsweredYes)
{
    TfConfig& w = Open();
    const std::string before = folder.Read("torvel.ini");
    w.rb640->SetChecked(true);
    dialogs.Answer(TModalResult::Yes);  // run the test?
    dialogs.Answer(TModalResult::No);   // did it look right?
    dialogs.Answer(TModalResult::OK);   // failed
    dialogs.Answer(TModalResult::OK);   // nothing saved
    processes.whileWaiting = [&](const std::string&) {
        EXPECT_TRUE(Holds(folder.Read("torvel.ini"), "Resolution=640")) << "the test program reads what is tested";
    };
    Click(w.bApply);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{w.msgVideoTest, w.msgVideo, w.msgVideoBad, w.msgResetVideo}));
    EXPECT_EQ(processes.waited, std::vector<std::string>{"kxdxtest.exe"});
    const std::string tested = folder.Read("torvel.ini");
    EXPECT_EQ(tested, before) << "the rejected mode does not stay in the file";
    EXPECT_TRUE(w.rb640->Checked()) << "the window keeps it";
    processes.whileWaiting = nullptr;

    // Without a video change nothing is asked, and nothing is saved.
    w.cbFootsteps->SetChecked(!w.cbFootsteps->Checked());
    dialogs.Clear();
    dialogs.Answer(TModalResult::OK);
    Click(w.bOK);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{w.msgResetVideo});
    EXPECT_EQ(folder.Read("torvel.ini"), tested);
    EXPECT_FALSE(Application().Terminated());

    // A changed mode and a test answered Yes let OK save everything and end.
    w.rb800->SetChecked(true);
    dialogs.Clear();
    dialogs.Answer(TModalResult::Yes);
    dialogs.Answer(TModalResult::Yes);
    dialogs.Answer(TModalResult::OK);
    Click(w.bOK);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{w.msgVideoTest, w.msgVideo, w.msgVideoGood}));
    EXPECT_EQ(processes.waited.size(), 2u);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_TRUE(Holds(folder.Read("torvel.ini"), "Resolution=800"));
    EXPECT_TRUE(Holds(folder.Read("torvel.ini"), w.cbFootsteps->Checked() ? "Footsteps=1" : "Footsteps=0"));
}

TEST_F(VideoTestButtonTest, ThreeDSetupAsksThenSavesAndStartsGLSetupFromTheProgramFolderWithoutAWait)
{
    folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
    TfConfig& w = Open();
    w.cb3dAcceleration->SetChecked(true);
    ASSERT_TRUE(w.bGLSetup->Enabled()) << "3D acceleration offers the driver set-up";
    w.rb640->SetChecked(true);
    w.videoTestPassed = false;
    const std::vector<bool> snapshot = w.videoSnapshot;
    const std::string stored = folder.Read("torvel.ini");
    folder.Remove("keymap.ini");

    dialogs.Answer(TModalResult::No);
    Click(w.bGLSetup);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, w.msgRunGLSetup);
    EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Question);
    EXPECT_EQ(dialogs.Boxes()[0].buttons, TMsgDlgButtons::YesNo);
    EXPECT_EQ(folder.Read("torvel.ini"), stored);
    EXPECT_FALSE(folder.Exists("keymap.ini"));
    EXPECT_TRUE(processes.started.empty());

    dialogs.Clear();
    dialogs.Answer(TModalResult::Yes);
    Click(w.bGLSetup);
    EXPECT_EQ(processes.started, std::vector<std::string>{folder.Path() + "glsetup.exe"});
    EXPECT_TRUE(processes.waited.empty());
    EXPECT_TRUE(Holds(folder.Read("torvel.ini"), "Resolution=640"));
    EXPECT_TRUE(folder.Exists("keymap.ini"));
    EXPECT_FALSE(w.videoTestPassed);
    EXPECT_EQ(w.videoSnapshot, snapshot);
}

TEST_F(VideoTestButtonTest, AProgramThatIsNotThereIsSaidSoWithWhereItWasLookedForAndNothingIsSavedOrAsked)
{
    struct Row {
        const char* how;
        std::string program;  // as the window names it
        std::function<void(TfConfig&)> press;
        const char* entry;
        bool asksForTheTest;  // a video change made OK ask first
    };
    const Row rows[] = {
        {"Test", "kxgltest.exe", [](TfConfig& w) { Click(w.bTestSettings); }, "msgTestNotStarted", false},
        {"OK after a video change", "kxgltest.exe",
         [](TfConfig& w) {
             w.rb640->SetChecked(true);
             Click(w.bOK);
         },
         "msgTestNotStarted", true},
        {"3D Setup", folder.Path() + "glsetup.exe", [](TfConfig& w) { Click(w.bGLSetup); }, "msgGLSetupNotStarted", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        TfConfig& w = Open();
        w.cb3dAcceleration->SetChecked(true);
        w.videoTestPassed = false;
        const std::vector<bool> snapshot = w.videoSnapshot;
        const std::string stored = folder.Read("torvel.ini");
        processes.missing = {row.program};
        if (row.asksForTheTest) dialogs.Answer(TModalResult::Yes);
        dialogs.Answer(TModalResult::OK);
        row.press(w);
        ASSERT_FALSE(dialogs.Boxes().empty());
        const auto& told = dialogs.Boxes().back();
        EXPECT_EQ(told.wideText, Widen(w.LanguageText(row.entry)) + L"\r\n\r\n" + FullPathOf(Widen(row.program)));
        EXPECT_EQ(told.type, TMsgDlgType::Error);
        EXPECT_EQ(dialogs.Boxes().size(), row.asksForTheTest ? 2u : 1u) << "neither the verdict nor the refusal is asked";
        EXPECT_TRUE(processes.waited.empty() && processes.started.empty());
        EXPECT_EQ(folder.Read("torvel.ini"), stored);
        EXPECT_FALSE(folder.Exists("keymap.ini"));
        EXPECT_FALSE(w.videoTestPassed);
        EXPECT_EQ(w.videoSnapshot, snapshot);
        EXPECT_FALSE(Application().Terminated());
        dialogs.Clear();
        Close();
    }
}

TEST_F(VideoTestButtonTest, AFileThatCannotBePutBackAfterANoIsReportedAndTheOtherIsPutBack)
{
    folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
    TfConfig& w = Open();
    const std::string keymap = folder.Read("keymap.ini");
    Click(w.rb640);
    // A binding removed too, so that the key map the test writes differs from the file.
    auto bound = std::find_if(w.assignableKeys.begin(), w.assignableKeys.end(), [](TSpeedButton* k) { return k->Down(); });
    ASSERT_NE(bound, w.assignableKeys.end());
    dialogs.Answer(TModalResult::Yes);
    RightClick(*bound);
    dialogs.Clear();
    // While the test runs, something takes the place beside torvel.ini where its replacement is made.
    processes.whileWaiting = [&](const std::string&) { folder.BlockFile("torvel.ini.kxsave"); };
    dialogs.Answer(TModalResult::No);  // did it look right?
    dialogs.Answer(TModalResult::OK);  // unable to write
    Click(w.bTestSettings);
    ASSERT_EQ(BoxTexts(), (std::vector<std::string>{w.msgVideo, "Unable to write to " + folder.Path() + "torvel.ini."}));
    EXPECT_EQ(folder.Read("keymap.ini"), keymap);
    EXPECT_FALSE(w.videoTestPassed);
    folder.Remove("torvel.ini.kxsave");
}
