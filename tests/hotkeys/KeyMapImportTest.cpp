// Importing the bindings of a key map of another layout through the Import button.
#include <windows.h>

#include <map>
#include <optional>

#include "tests/hotkeys/HotKeysTest.h"

using namespace ui;

namespace {

// Its own names for our functions, through the language file's "Import" section.
const char* const kOtherLayout =
    "[Keymap]\r\n"
    "OpenInventory=P\r\n"
    "OpenMap=Ctrl-M\r\n"
    "Attack=Ctrl-A\r\n"
    "Talk=T\r\n"
    "QuickSave=Enter\r\n"
    "Rest=Nowhere\r\n"  // names no key of ours
    "SlotOne=Ctrl-Caps\r\n"
    "EmberDart=e\r\n"
    "MendingTouch=D\r\n"
    "Pause=Caps\r\n"  // a fixed function: the game keeps its keys, the import places it nowhere
    "UnknownThing=Q\r\n";

using Bound = std::map<std::string, std::string>;  // key name -> assignment text

}  // namespace

class KeyMapImportTest : public HotKeysTest {
protected:
    // The whole layer as expected: the keys given, every other key free.
    std::vector<std::string> Expected(const Bound& bound) const
    {
        std::vector<std::string> layer(72);
        for (const auto& [key, text] : bound) layer[static_cast<std::size_t>(window->KeyNamed(key))] = text;
        return layer;
    }
};

TEST_F(KeyMapImportTest, ImportClearsTheShownLayerAndPutsEachTranslatedFunctionOnTheOneKeyItNames)
{
    const Bound fixed = {{"Esc", "Fixed: Game Menu"}, {"Space", "Fixed: Pause"}, {"G", "Fixed: Odd Fixed"}};
    auto with = [&](Bound layer) {
        layer.insert(fixed.begin(), fixed.end());
        return layer;
    };
    // The imported functions leave the keys they sat on in the other layer too (Talk its Ctrl-T,
    // Attack its A); Pause, which the game fixes, stays on Space alone.
    struct Row {
        bool ctrlShown;
        Bound plain, ctrl;
        const char* done;  // the language file's words for a finished import, and what they show
        std::vector<std::string> boxes;
    };
    const Bound ctrl = with({{"M", "Pages: Map"}, {"A", "Actions: Attack"}, {"Caps", "Slots: Slot One"}});
    const Row rows[] = {
        {false,
         with({{"P", "Pages: Inventory"}, {"T", "Actions: Talk"}, {"Enter", "Misc: Quick Save"},
               {"E", "Wizard: Ember Dart"}, {"D", "Priest: Mending Touch"}}),
         ctrl, "", {}},
        {true,
         with({{"M", "Pages: PAGE_NONAME"}, {"Q", "Misc: Rest"}, {"N", "Wizard: Odd Spell"}, {"P", "Pages: Inventory"},
               {"T", "Actions: Talk"}, {"Enter", "Misc: Quick Save"}, {"E", "Wizard: Ember Dart"},
               {"D", "Priest: Mending Touch"}}),
         ctrl, "msgImportDone=%d functions placed.\r\n", {"8 functions placed."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ctrlShown ? "Ctrl layer shown" : "plain layer shown");
        TfConfig& w = OpenKeys(KeyboardSection() + kTestKeymapGroups, std::string(kTestLanguage) + row.done);
        folder.Write("other.ini", kOtherLayout);
        const std::string keymapBefore = folder.Read("keymap.ini");
        if (row.ctrlShown) Click(w.sbCtrlLeft);
        Click(w.sbW);
        w.cbConfirmKey->SetChecked(false);
        dialogs.AnswerOpen(folder.Path() + "other.ini");
        if (!row.boxes.empty()) dialogs.Answer(TModalResult::OK);
        Click(w.bImport);

        EXPECT_EQ(w.openImport->Filter, "INI Files (*.ini)|*.ini");
        EXPECT_EQ(Boxes(), row.boxes) << "no question during the import, and the count when the language has words for it";
        EXPECT_EQ(Layer(KeyLayer::Plain), Expected(row.plain));
        EXPECT_EQ(Layer(KeyLayer::Ctrl), Expected(row.ctrl));
        const std::vector<std::string> shown = Layer(w.shownLayer);
        for (std::size_t p = 0; p < 72; ++p) {
            EXPECT_EQ(w.keyButtons[p]->Hint(), shown[p]) << p;
            EXPECT_EQ(w.keyButtons[p]->Down(), !shown[p].empty() && !w.keyButtons[p]->Grayed()) << p;
        }
        EXPECT_EQ(ListTexts(), std::vector<std::string>(6));
        EXPECT_EQ(w.selectedKey, w.sbW);
        EXPECT_TRUE(w.sbW->Selected());
        EXPECT_EQ(w.shownLayer, row.ctrlShown ? KeyLayer::Ctrl : KeyLayer::Plain);
        EXPECT_TRUE(w.cbConfirmDeletions->Checked());
        EXPECT_FALSE(w.cbConfirmKey->Checked());
        EXPECT_TRUE(w.cbConfirmSpell->Checked());
        EXPECT_EQ(folder.Read("keymap.ini"), keymapBefore) << "only OK and Apply write the key map";
        Click(w.bApply);
        const std::string saved = folder.Read("keymap.ini");
        for (const char* entry : {"PAGE_INV=P\r\n", "ACT_ATTACK=Ctrl-A\r\n", "ACT_TALK=T\r\n", "SPWI1=E\r\n"})
            EXPECT_NE(saved.find(entry), std::string::npos) << entry;
        EXPECT_NE(saved.find("FIX_PAUSE=Space\r\n"), std::string::npos);
        Close();
    }
}

TEST_F(KeyMapImportTest, WithoutBindingsToImportNothingChangesAndTheLanguageFileSaysSo)
{
    const std::string language = kTestLanguage;
    const std::string withoutImport = language.substr(0, language.find("[Import]"));
    std::string silent = withoutImport;
    silent.erase(silent.find("msgImportEmpty"), silent.find("\r\n", silent.find("msgImportEmpty")) + 2 -
                                                    silent.find("msgImportEmpty"));
    struct Row {
        const char* what;
        std::optional<std::string> file;  // nothing: the dialog is cancelled
        std::string language;
        std::vector<std::string> boxes;
    };
    const Row rows[] = {
        {"no [Keymap]", "[Other]\r\nAttack=Q\r\n", language, {"Nothing to import."}},
        {"[Keymap] without values", "[Keymap]\r\nAttack=\r\n", language, {"Nothing to import."}},
        {"no [Import]", kOtherLayout, withoutImport, {"Nothing to import."}},
        {"no [Import] and no message", kOtherLayout, silent, {}},
        {"no name of ours", "[Keymap]\r\nUnknownThing=Q\r\nAttack=Nowhere\r\n", language, {"Nothing to import."}},
        {"nothing on a key the player may assign", "[Keymap]\r\nAttack=F3\r\nPause=Caps\r\n", language,
         {"Nothing to import."}},
        {"cancelled", std::nullopt, language, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TfConfig& w = OpenKeys(KeyboardSection() + kTestKeymapGroups, row.language);
        const auto plain = Layer(KeyLayer::Plain), ctrl = Layer(KeyLayer::Ctrl);
        w.openImport->FileName = L"elsewhere.ini";
        if (row.file) folder.Write("other.ini", *row.file);
        dialogs.AnswerOpen(row.file ? std::optional<std::string>(folder.Path() + "other.ini") : std::nullopt);
        for (std::size_t i = 0; i < row.boxes.size(); ++i) dialogs.Answer(TModalResult::OK);
        Click(w.bImport);
        if (!row.file) {
            EXPECT_EQ(w.openImport->FileName, L"Keymap.ini") << "the dialog offers Keymap.ini each time";
        }
        EXPECT_EQ(Boxes(), row.boxes);
        if (!row.boxes.empty()) {
            EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Information);
        }
        EXPECT_EQ(Layer(KeyLayer::Plain), plain);
        EXPECT_EQ(Layer(KeyLayer::Ctrl), ctrl);
        EXPECT_TRUE(w.sbQ->Down());
        EXPECT_TRUE(w.cbConfirmDeletions->Checked() && w.cbConfirmKey->Checked() && w.cbConfirmSpell->Checked());
        Close();
        dialogs.Clear();
    }
}
