// The help areas filled by mouse moves and keyboard focus, cleared by page changes; the notice on
// the first visit to each advanced page; the summary brought up to date on the Basic page.
#include <set>

#include "tests/presets/PresetsTest.h"
#include "ui/AccessKey.h"
#include "ui/PageControl.h"
#include "ui/SpeedButton.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

// What both help areas show: topic and text, of the Graphics page and of the Gameplay page.
struct Shown {
    std::string topic, help, topic2, help2;
    bool operator==(const Shown&) const = default;
};

Shown HelpOf(const TfConfig& w)
{
    return {w.lTopic->Caption(), w.mHelp->Text(), w.lTopic2->Caption(), w.mHelp2->Text()};
}

void Mark(TfConfig& w)
{
    w.lTopic->SetCaption("-");
    w.lTopic2->SetCaption("-");
    w.mHelp->SetText("-");
    w.mHelp2->SetText("-");
}

const Shown kMarked{"-", "-", "-", "-"};
const Shown kEmpty{};

// Forwards every box to the test's script, noting what the help areas showed while it was up.
class HelpWhileBoxes : public IDialogs {
public:
    HelpWhileBoxes(IDialogs& script, const TfConfig*& window) : script_(script), window_(window) {}
    std::vector<Shown> seen;
    TModalResult ShowMessage(TForm* owner, const std::string& text, const std::string& title, TMsgDlgType type,
                            TMsgDlgButtons buttons) override
    {
        seen.push_back(HelpOf(*window_));
        return script_.ShowMessage(owner, text, title, type, buttons);
    }
    bool ExecuteOpen(TForm* owner, TOpenDialog& dialog) override { return script_.ExecuteOpen(owner, dialog); }

private:
    IDialogs& script_;
    const TfConfig*& window_;
};

}  // namespace

TEST_F(PresetsTest, ExactlyTheHelpBoundControlsShowHelpWhenTheMouseMovesOverThem)
{
    const std::set<std::string> helpBound = {
        "gbDifficulty", "lDifficulty", "gbHardware", "lGeneral", "lGraphics", "lSound",
        "gbGameplay", "lTilesPrecache", "cbTranslucentShadows", "cbLowEndMachine", "cbLowEndMachine2",
        "cbFootsteps", "cbAttackSounds", "cbCriticalHit", "cbDuplicateFloatingText", "cbBrightenOff",
        "cbForce50Transparency", "cbDisableCastingGlows", "cbLowMemSounds1", "cbLowMemSounds2",
        "cbDisableVidCells", "cbMidLevelBrighten", "cbHighLevelBrighten", "gbCacheOptions", "gbAIOptions",
        "lPathSearchNodes", "ePathSearchNodes", "cbEnhancedPathfinding", "gbMultiplayer",
        "gbGameResolution", "gbWindowMode", "gb2d16bitOptions", "gbColorDepth", "gb3dOptions"};
    TfConfig& w = OpenShown();
    std::set<std::string> showing;
    for (int i = 0; i < w.ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(w.Components(i));
        // The keyboard's keys belong to the hot key editor.
        if (!control || !control->Handle() || dynamic_cast<TSpeedButton*>(control)) continue;
        Mark(w);
        MoveOver(control);
        if (HelpOf(w) != kMarked) showing.insert(control->Name());
    }
    EXPECT_EQ(showing, helpBound);
}

TEST_F(PresetsTest, HelpShowsTheHintsTitleAndExplanationInBothAreas)
{
    UseLanguage({"cbFootsteps=&Footsteps|Hear them walk.", "lTilesPrecache=Tile Precache",
                 "gbHardware=Hardware|Pick a class|or two", "gbColorDepth=Colours|", "lGeneral=",
                 "lPathSearchNodes=Search &Nodes|How far they look."});
    TfConfig& w = OpenShown();
    ASSERT_EQ(w.cbFootsteps->Caption(), "&Footsteps") << "the topic below is its title without the access key";
    const std::pair<TControl*, Shown> moves[] = {
        {w.cbFootsteps, {"Footsteps", "Hear them walk.", "Footsteps", "Hear them walk."}},
        {w.lTilesPrecache, {"Tile Precache", "Tile Precache", "Tile Precache", "Tile Precache"}},
        {w.gbHardware, {"Hardware", "Pick a class|or two", "Hardware", "Pick a class|or two"}},
        {w.gbColorDepth, {"Colours", "", "Colours", ""}},
        // An edit gets no hint from the language file: it tells what the label in front of it tells.
        {w.ePathSearchNodes, {"Search Nodes", "How far they look.", "Search Nodes", "How far they look."}},
        {w.lGeneral, kEmpty},
    };
    for (const auto& [control, expected] : moves) {
        MoveOver(control);
        EXPECT_EQ(HelpOf(w), expected) << control->Name();
    }
    // Moving onto a control without help changes nothing.
    MoveOver(w.gbHardware);
    MoveOver(w.cbGameSpy);
    MoveOver(w.tbGeneral);
    EXPECT_EQ(HelpOf(w).topic, "Hardware");
}

// In Shift-JIS the second byte of "\x83|" (a katakana) is the byte of "|", and that of "\x83{" is "{".
TEST_F(PresetsTest, TheBarOfAHintIsFoundBetweenWholeCharactersOfTheSystemCodePage)
{
    struct Row {
        unsigned codePage;
        const char *value, *caption, *help;
    };
    const Row rows[] = {
        {1252, "&Footsteps|Hear them walk.", "&Footsteps", "Hear them walk."},
        // "Support|Button" in katakana, each half with a second byte of "|" or "{".
        {932, "\x83T\x83|\x81[\x83g|\x83{\x83^\x83\x93", "\x83T\x83|\x81[\x83g", "\x83{\x83^\x83\x93"},
        {1251, "\xD8\xE0\xE3\xE8|\xC7\xE2\xF3\xEA \xF8\xE0\xE3\xEE\xE2.", "\xD8\xE0\xE3\xE8",
         "\xC7\xE2\xF3\xEA \xF8\xE0\xE3\xEE\xE2."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("code page " + std::to_string(row.codePage));
        ScopedCodePage codePage(row.codePage);
        UseLanguage({std::string("cbFootsteps=") + row.value});
        TfConfig& w = OpenShown();
        MoveOver(w.cbFootsteps);
        EXPECT_EQ(w.cbFootsteps->Caption(), row.caption);
        EXPECT_EQ(w.lTopic2->Caption(), StripAccessKeys(row.caption));
        EXPECT_EQ(w.mHelp2->Text(), row.help);
        Close();
    }
}

TEST_F(PresetsTest, TheKeyboardFocusShowsTheHelpOfTheControlOrElseOfItsLabelOrGroup)
{
    TfConfig& w = OpenShown();
    w.pcConfig->SetActivePage(w.tsGameplay);
    w.eCacheSize->SetFocus();
    // The Tab key from the cache size on, through the AI and multiplayer options to the first gameplay option.
    struct Stop {
        TControl* control;
        std::string topic;
        bool helpBound;  // the mouse over it shows the same
    };
    const Stop tabs[] = {
        {w.tbFrameRate, "AI Options", false},  // no help of its own: its group's
        {w.ePathSearchNodes, "Search Nodes", true},
        {w.cbEnhancedPathfinding, "Enhanced Path Finding", true},
        {w.cbGameSpy, "Multiplayer Options", false},
        {w.eZipCode, "Multiplayer Options", false},
        {w.cbCountry, "Multiplayer Options", false},
        {w.cbCriticalHit, "Screen Jolt on Critical Hits", true},
    };
    TControl* focused = w.eCacheSize;
    for (const Stop& stop : tabs) {
        SCOPED_TRACE(stop.control->Name());
        Mark(w);
        PressTab(focused);
        ASSERT_EQ(w.FocusedControl(), stop.control);
        focused = stop.control;
        Shown byFocus = HelpOf(w);
        EXPECT_EQ(byFocus.topic2, stop.topic);
        if (!stop.helpBound) continue;
        Mark(w);
        MoveOver(stop.control);
        EXPECT_EQ(HelpOf(w), byFocus) << "the same as a mouse move over it";
    }

    // A click moves the focus too; on the Graphics page a radio group tells its group's help.
    Click(w.cbFootsteps);
    EXPECT_EQ(HelpOf(w).topic2, "Footsteps");
    w.pcConfig->SetActivePage(w.tsOptions);
    w.cbSoftware->SetFocus();
    Mark(w);
    w.rbFullScreen->SetFocus();
    EXPECT_EQ(HelpOf(w).topic, "Window Mode");
    // Outside every help-bound group nothing changes.
    Mark(w);
    w.bOK->SetFocus();
    EXPECT_EQ(HelpOf(w), kMarked);
}

TEST_F(PresetsTest, TheNoticeComesOnTheFirstVisitToEachAdvancedPageAndEveryChangeClearsTheHelp)
{
    const TfConfig* shownWindow = nullptr;
    HelpWhileBoxes watcher(dialogs, shownWindow);
    Application().SetDialogs(&watcher);
    TfConfig& w = OpenShown();
    shownWindow = &w;
    struct Visit {
        TTabSheet* page;
        bool notice;
    };
    const Visit visits[] = {{w.tsOptions, true},  {w.tsSimple, false},   {w.tsOptions, false}, {w.tsGameplay, true},
                            {w.tsHotKeys, false}, {w.tsGameplay, false}, {w.tsOptions, false}};
    for (const Visit& visit : visits) {
        SCOPED_TRACE(visit.page->Name());
        MoveOver(w.gbHardware);  // help fills both areas, the shown page or not
        ASSERT_NE(HelpOf(w), kEmpty);
        dialogs.Clear();
        watcher.seen.clear();
        if (visit.notice) dialogs.Answer(TModalResult::OK);
        ChooseTab(visit.page);
        ASSERT_EQ(dialogs.Boxes().size(), visit.notice ? 1u : 0u);
        if (visit.notice) {
            EXPECT_EQ(dialogs.Boxes()[0].text, w.msgAdvanced);
            EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Information);
            EXPECT_EQ(dialogs.Boxes()[0].buttons, TMsgDlgButtons::OK);
            EXPECT_EQ(dialogs.Boxes()[0].title, w.Caption());
            EXPECT_EQ(watcher.seen, std::vector<Shown>{kEmpty}) << "the notice never shows over old help";
        }
        EXPECT_EQ(HelpOf(w), kEmpty);
    }
    Close();
    Application().SetDialogs(&dialogs);
}

TEST_F(PresetsTest, WithTheKeymapOptionTheFirstPageRaisesNoNoticeAndOnlyGameplayHasOne)
{
    TfConfig& w = OpenShown({"-keymap"});
    ASSERT_EQ(w.pcConfig->ActivePage(), w.tsHotKeys);
    EXPECT_TRUE(dialogs.Boxes().empty());
    dialogs.Answer(TModalResult::OK);
    ChooseTab(w.tsGameplay);
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
    ChooseTab(w.tsHotKeys);
    ChooseTab(w.tsGameplay);
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
}

TEST_F(PresetsTest, AnOptionChangedOnAnotherPageShowsInTheSummaryWhenTheBasicPageComesBack)
{
    Store("Footsteps=1\r\n");
    TfConfig& w = OpenShown();
    ASSERT_EQ(w.mSettings->Lines().at(20), "Footsteps = On");
    dialogs.Answer(TModalResult::OK);  // the first visit's notice
    ChooseTab(w.tsGameplay);
    Click(w.cbFootsteps);
    ASSERT_FALSE(w.cbFootsteps->Checked());
    EXPECT_EQ(w.mSettings->Lines().at(20), "Footsteps = On") << "rebuilt only when it can be seen again";
    ChooseTab(w.tsSimple);
    EXPECT_EQ(w.mSettings->Lines().at(20), "Footsteps = Off");
}
