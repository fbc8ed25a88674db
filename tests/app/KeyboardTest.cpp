// The main window used from the keyboard alone, with the shipped language file: where Tab goes on
// each page, the access keys, the page keys, Enter and Esc, and the keys of the Hot Keys page.
#include <windows.h>

#include <map>
#include <set>

#include "presets/Difficulty.h"
#include "tests/support/Keys.h"
#include "tests/support/WindowTest.h"
#include "ui/AccessKey.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

class KeyboardTest : public WindowTest {
protected:
    TfConfig& OpenShown(std::vector<std::string> arguments = {})
    {
        TfConfig& w = Open(std::move(arguments));
        w.Show();
        keys::Settle();
        return w;
    }
    // Another test program may have come to the front: the form is brought back first, and gives
    // the focus back to the control that had it.
    std::string Focused() const
    {
        keys::FocusOfFrontForm();
        TControl* c = window->FocusedControl();
        return c ? c->Name() : "(none)";
    }
    std::vector<std::string> Stops() const
    {
        std::vector<std::string> names;
        for (TControl* c : window->TabStops()) names.push_back(c->Name());
        return names;
    }
};

// The buttons below the pages as they stand, left to right.
const std::vector<std::string> kFrame = {"bTestSettings", "bCancel", "bApply", "bOK", "pcConfig"};

std::vector<std::string> WithFrame(std::vector<std::string> page)
{
    page.insert(page.end(), kFrame.begin(), kFrame.end());
    return page;
}

}  // namespace

TEST_F(KeyboardTest, TabGoesThroughEachPageInReadingOrderThenTheButtonsLeftToRightAndTheTabs)
{
    TfConfig& w = OpenShown();
    EXPECT_EQ(Focused(), "tbDifficulty") << "the first control has the focus when the window opens";
    const std::pair<TTabSheet*, std::vector<std::string>> pages[] = {
        // The summary only tells what the sliders chose: no stop.
        {w.tsSimple, WithFrame({"tbDifficulty", "tbGeneral", "tbGraphics", "tbSound", "cb3dAcceleration2"})},
        {w.tsHotKeys, WithFrame({"sbEsc", "rbPage", "cbPage", "cbConfirmDeletions", "cbConfirmKey", "cbConfirmSpell",
                                 "bKeyList", "bRestoreKeys", "bImport"})},
        {w.tsGameplay,
         WithFrame({"eCacheSize", "tbFrameRate", "ePathSearchNodes", "cbEnhancedPathfinding", "cbGameSpy", "eZipCode",
                    "cbCountry", "cbCriticalHit", "cbTranslucentShadows", "cbLowEndMachine", "cbLowEndMachine2",
                    "cbFootsteps", "cbAttackSounds", "cbLowMemSounds1", "cbLowMemSounds2", "cbDuplicateFloatingText",
                    "cbDisableCastingGlows", "cbDisableVidCells", "cbForce50Transparency", "cbBrightenOff",
                    "cbMidLevelBrighten", "cbHighLevelBrighten", "eTilesPrecache", "mHelp2"})},
    };
    for (const auto& [page, expected] : pages) {
        SCOPED_TRACE(page->Name());
        w.pcConfig->SetActivePage(page);
        std::vector<std::string> stops = Stops();
        // Disabled options are passed over; the rules of the page decide which those are now.
        std::vector<std::string> wanted;
        for (const std::string& name : expected)
            if (std::find(stops.begin(), stops.end(), name) != stops.end() ||
                dynamic_cast<TControl*>(w.FindComponent(name))->Enabled())
                wanted.push_back(name);
        EXPECT_EQ(stops, wanted);
    }
    // The Graphics page through real Tab keys, round to where it started: one stop per radio group.
    w.pcConfig->SetActivePage(w.tsOptions);
    w.FocusFirstControl();
    std::vector<std::string> walked = {Focused()};
    for (int i = 0; i < 40 && (walked.size() == 1 || walked.back() != walked.front()); ++i) {
        keys::Post(VK_TAB);
        walked.push_back(Focused());
        if (walked.back() != "mHelp") continue;
        // Reached by the keyboard, an edit is selected whole to be typed over; a text that is only read is not.
        ASSERT_FALSE(w.mHelp->Text().empty()) << "the help of the group left";
        DWORD from = 0, to = 0;
        SendMessageA(w.mHelp->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, to) << "the help is shown selected";
    }
    walked.pop_back();
    EXPECT_EQ(walked, Stops());
    const std::set<std::string> radios = {"rb16bit", "rb24bit", "rb32bit", "rb640",        "rb800",     "rb1024",
                                          "rb1280",  "rb1600",  "rb2048",  "rbFullScreen", "rbWindowed"};
    EXPECT_EQ(std::count_if(walked.begin(), walked.end(), [&](const std::string& n) { return radios.count(n) > 0; }), 3)
        << "colour depth, resolution and window mode are one stop each";
    EXPECT_EQ(walked.front(), w.rb16bit->Checked() ? "rb16bit" : w.rb24bit->Checked() ? "rb24bit" : "rb32bit");
}

TEST_F(KeyboardTest, EveryCaptionAUserActsOnCarriesAnAccessKeyUniqueOnItsPage)
{
    // The shipped files: English, and Russian as a Russian system reads it.
    const std::pair<const char*, unsigned> files[] = {{"data/Language.txt", 1252}, {"data/Russian/Language.txt", 1251}};
    for (const auto& [file, codePage] : files) {
        SCOPED_TRACE(file);
        ScopedCodePage system(codePage);
        folder.Write("Language.txt", ReadFileBytes(SourceFile(file)));
        TfConfig& w = OpenShown();
        // Enter and Esc press OK and Cancel; every other push button, the tabs, check boxes, radio
        // buttons and the labels in front of edits and lists have a key of their own.
        auto needsKey = [&](TControl* c) {
            if (c == w.bOK || c == w.bCancel) return false;
            if (auto* sheet = dynamic_cast<TTabSheet*>(c)) return sheet->TabVisible();
            if (!c->Visible()) return false;
            if (auto* label = dynamic_cast<TLabel*>(c)) return label->FocusControl && label != w.lFrameRate;
            return dynamic_cast<TButton*>(c) || dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c);
        };
        auto pageOf = [&](TControl* c) -> TTabSheet* {
            for (TControl* p = c; p; p = p->Parent())
                if (auto* sheet = dynamic_cast<TTabSheet*>(p); sheet && sheet != c) return sheet;
            return nullptr;
        };
        std::map<TTabSheet*, std::map<wchar_t, std::string>> keysOf;
        for (int i = 0; i < w.ComponentCount(); ++i) {
            auto* c = dynamic_cast<TControl*>(w.Components(i));
            if (!c || !needsKey(c)) continue;
            wchar_t key = AccessKeyOf(c->Caption());
            EXPECT_NE(key, 0) << c->Name() << " \"" << c->Caption() << "\" has no access key";
            if (!key) continue;
            // The tabs and the buttons below the pages are there on every page.
            TTabSheet* page = pageOf(c);
            for (TTabSheet* sheet : {w.tsSimple, w.tsHotKeys, w.tsGameplay, w.tsOptions}) {
                if (page && page != sheet) continue;
                auto [at, added] = keysOf[sheet].emplace(key, c->Name());
                EXPECT_TRUE(added) << c->Name() << " and " << at->second << " share a key on " << sheet->Name();
            }
        }
        EXPECT_GT(keysOf[w.tsGameplay].size(), 25u);

        // The difficulty dialog's choices, which take the slider's level names, get keys of their own.
        std::set<wchar_t> dialogKeys;
        const TdlgDifficulty& d = *w.dlgDifficulty;
        const std::pair<TRadioButton*, TLabel*> levels[] = {
            {d.rbDifficultyInsane, w.lExpert}, {d.rbDifficultyHard, w.lHard}, {d.rbDifficultyCoreRules, w.lNormal},
            {d.rbDifficultyNormal, w.lEasy},   {d.rbDifficultyNovice, w.lNovice}};
        for (const auto& [choice, label] : levels) {
            EXPECT_EQ(choice->CaptionText(), label->CaptionText());
            EXPECT_TRUE(dialogKeys.insert(AccessKeyOf(choice->Caption())).second) << choice->Caption();
        }
        EXPECT_EQ(dialogKeys.count(0), 0u);
        Close();
    }
}

// Ctrl, Shift and Alt held as the keyboard holds them, the keys posted as it sends them.
TEST_F(KeyboardTest, PageKeysAccessKeysEnterAndEscWorkAsTheKeyboardTypesThem)
{
    TfConfig& w = OpenShown();
    // Ctrl+Tab runs the page change as a click on the tab does: the first visit to Gameplay tells
    // its notice, and the focus goes into the page.
    dialogs.Answer(TModalResult::OK);
    keys::Type({VK_CONTROL, VK_TAB});
    keys::Type({VK_CONTROL, VK_TAB});
    EXPECT_EQ(w.pcConfig->ActivePage(), w.tsGameplay);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, w.msgAdvanced);
    EXPECT_EQ(Focused(), "eCacheSize");
    keys::Type({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_EQ(w.pcConfig->ActivePage(), w.tsHotKeys);
    keys::Type({VK_CONTROL, VK_PRIOR});
    EXPECT_EQ(w.pcConfig->ActivePage(), w.tsSimple);
    dialogs.Answer(TModalResult::OK);
    keys::Type({VK_CONTROL, VK_PRIOR});
    EXPECT_EQ(w.pcConfig->ActivePage(), w.tsOptions) << "round from the first page to the last";
    EXPECT_EQ(dialogs.Boxes().size(), 2u);

    // Alt and a letter: a tab, a check box, a label before a list.
    keys::Type({VK_MENU, 'G'});
    EXPECT_EQ(w.pcConfig->ActivePage(), w.tsGameplay);
    bool footsteps = w.cbFootsteps->Checked();
    keys::Type({VK_MENU, 'F'});
    EXPECT_EQ(w.cbFootsteps->Checked(), !footsteps);
    EXPECT_EQ(Focused(), "cbFootsteps");
    keys::Type({VK_MENU, 'O'});
    EXPECT_EQ(Focused(), "cbCountry");

    // A radio group's arrows choose as a click does, with the handler of the group.
    keys::Type({VK_MENU, 'H'});
    keys::Type({VK_MENU, 'C'});
    EXPECT_TRUE(w.rbActions->Checked());
    EXPECT_TRUE(w.cbActions->Visible()) << "the group's list is shown";
    keys::Post(VK_DOWN);
    EXPECT_TRUE(w.rbMiscellaneous->Checked());
    EXPECT_TRUE(w.cbMiscellaneous->Visible());

    // Esc is Cancel: the changes above are not saved, so the window asks first; then it closes
    // and nothing is written.
    const std::string before = folder.Read("torvel.ini");
    dialogs.Answer(TModalResult::Yes);
    keys::Type({VK_ESCAPE});
    EXPECT_TRUE(Application().Terminated());
    EXPECT_EQ(dialogs.Boxes().back().type, TMsgDlgType::Question);
    EXPECT_EQ(folder.Read("torvel.ini"), before);
}

TEST_F(KeyboardTest, EnterPressesOkWhichSavesAndEnds)
{
    TfConfig& w = OpenShown();
    keys::Post(VK_DOWN);  // the difficulty slider, one level easier
    EXPECT_EQ(w.tbDifficulty->Position(), 4);
    keys::Post(VK_RETURN);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_NE(folder.Read("torvel.ini").find("Difficulty Level=2"), std::string::npos);
}

TEST_F(KeyboardTest, TheKeyboardPictureIsOneStopWithArrowsSpaceAndDelete)
{
    folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
    TfConfig& w = OpenShown({"-keymap"});
    ASSERT_EQ(w.pcConfig->ActivePage(), w.tsHotKeys);
    ASSERT_GT(w.keyMap.KeyCount(), 0u) << "the shipped key map is read";
    EXPECT_EQ(Focused(), "sbEsc") << "the picture is the first stop of the page";
    struct Step {
        WORD key;
        const char* focused;
    };
    for (const Step& step : {Step{VK_DOWN, "sbTilde"}, Step{VK_RIGHT, "sb1"}, Step{VK_DOWN, "sbQ"},
                             Step{VK_DOWN, "sbA"}, Step{VK_RIGHT, "sbS"}, Step{VK_UP, "sbW"}}) {
        keys::Post(step.key);
        EXPECT_EQ(Focused(), step.focused);
    }
    keys::Post(VK_SPACE);
    EXPECT_EQ(w.selectedKey, w.sbW) << "Space is a left click";
    keys::Post(VK_LEFT);
    keys::Post(VK_SPACE);
    EXPECT_EQ(w.selectedKey, w.sbQ);
    keys::Post(VK_TAB);
    auto checked = std::find_if(w.groupRadios.begin(), w.groupRadios.end(), [](TRadioButton* r) { return r->Checked(); });
    ASSERT_NE(checked, w.groupRadios.end());
    EXPECT_EQ(Focused(), (*checked)->Name()) << "the group of the key's function, chosen by the click";
    keys::Type({VK_SHIFT, VK_TAB});
    EXPECT_EQ(Focused(), "sbQ") << "the picture is entered again at the key used last";
    // A key clicked is a key used, though the keyboard never touched it before the focus went on.
    Click(w.sbE);
    (*checked)->SetFocus();
    keys::Type({VK_SHIFT, VK_TAB});
    EXPECT_EQ(Focused(), "sbE");

    // Delete is a right click: it removes the key's binding, after the question.
    TSpeedButton* bound = nullptr;
    for (TSpeedButton* key : w.assignableKeys)
        if (!key->Hint().empty() && key->Down() && !bound) bound = key;
    ASSERT_NE(bound, nullptr) << "the shipped key map binds a key";
    bound->SetFocus();
    dialogs.Answer(TModalResult::Yes);
    keys::Post(VK_DELETE);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Question);
    EXPECT_EQ(bound->Hint(), "");
}

TEST_F(KeyboardTest, TheFirstRunDialogIsAnsweredWithTheKeyboard)
{
    storeDifficulty = false;
    std::vector<std::string> seen;
    dialogs.onModal = [&](TForm& dialog) {
        auto focused = [&] {
            keys::FocusOfFrontForm();
            TControl* c = dialog.FocusedControl();
            return c ? c->Name() : std::string("(none)");
        };
        seen.push_back(focused());
        keys::Post(VK_RETURN);  // OK is not enabled yet
        keys::Post(VK_DOWN);
        keys::Post(VK_DOWN);
        seen.push_back(focused());
        keys::Type({VK_MENU, 'O'});  // "N&ovice": N is taken by "&Normal" above it
        seen.push_back(focused());
        keys::Post(VK_TAB);
        seen.push_back(focused());
        keys::Post(VK_RETURN);
    };
    TfConfig& w = Open();
    EXPECT_EQ(seen, (std::vector<std::string>{"rbDifficultyInsane", "rbDifficultyCoreRules", "rbDifficultyNovice", "bOK"}));
    EXPECT_EQ(w.dlgDifficulty->chosenLevel, 1);
    EXPECT_EQ(w.tbDifficulty->Position(), 5);

    // Esc closes it as its close box does: the second easiest level.
    Close();
    folder.Remove("torvel.ini");
    dialogs.onModal = [&](TForm&) { keys::Post(VK_ESCAPE); };
    TfConfig& again = Open();
    EXPECT_EQ(again.tbDifficulty->Position(), 4);
}
