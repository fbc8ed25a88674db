// The list of every function (Key List ...), keys pressed on the keyboard picture, and the game's
// own keys put back (Restore Defaults).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "hotkeys/KeyList.h"
#include "tests/hotkeys/HotKeysTest.h"
#include "tests/support/Keys.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

using Cells = std::array<std::string, 4>;

std::vector<Cells> CellsOf(const std::vector<TdlgKeyList::Row>& rows)
{
    std::vector<Cells> cells;
    for (const TdlgKeyList::Row& row : rows) cells.push_back(row.cells);
    return cells;
}

// Types into an edit as the keyboard does, a character at a time.
void TypeInto(TControl* edit, const std::string& text)
{
    for (char c : text) SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
}

}  // namespace

class KeyListTest : public HotKeysTest {
protected:
    // Opens the list from the page and runs inside it; the list is closed with Esc unless the
    // steps closed it.
    void InTheList(const std::function<void(TdlgKeyList&)>& steps)
    {
        dialogs.onModal = [&](TForm& form) {
            auto& list = dynamic_cast<TdlgKeyList&>(form);
            keys::Settle();
            steps(list);
            if (list.ModalResult() == TModalResult::None) keys::Post(VK_ESCAPE);
        };
        Click(window->bKeyList);
        dialogs.onModal = nullptr;
    }
    TfConfig& OpenShown(const std::string& keymap = KeyboardSection() + kTestKeymapGroups)
    {
        TfConfig& w = OpenKeys(keymap);
        w.Show();
        w.pcConfig->SetActivePage(w.tsHotKeys);
        keys::Settle();
        return w;
    }
};

TEST_F(KeyListTest, TheListHoldsEveryFunctionWithItsKeysInBothLayersAsTheWindowHoldsThem)
{
    TfConfig& w = OpenShown();
    Click(w.sbW);
    Click(w.rbActions);
    Pick(w.cbActions, "Sneak");  // not saved: the list shows it all the same
    const std::vector<std::string> plain = Layer(KeyLayer::Plain), ctrl = Layer(KeyLayer::Ctrl);
    std::vector<Cells> rows;
    InTheList([&](TdlgKeyList& list) { rows = CellsOf(list.ShownRows()); });
    const std::vector<Cells> expected = {
        {"Attack", "Actions", "A", "no key"},
        {"Ember Dart", "Wizard", "no key", "Ctrl+Q"},
        {"Frost Veil", "Wizard", "no key", "no key"},
        {"Game Menu", "Fixed", "Esc (the game keeps it)", "Ctrl+Esc (the game keeps it)"},
        {"Inventory", "Pages", "I", "no key"},
        {"Map", "Pages", "no key", "no key"},
        {"Mending Touch", "Priest", "no key", "no key"},
        {"Odd Fixed", "Fixed", "G (the game keeps it)", "Ctrl+G (the game keeps it)"},
        {"Odd Spell", "Wizard", "N", "no key"},
        {"PAGE_NONAME", "Pages", "M", "no key"},  // shown on its key by its identifier
        {"Pause", "Fixed", "Space (the game keeps it)", "Ctrl+Space (the game keeps it)"},
        {"Quick Save", "Misc", "no key", "Ctrl+Enter"},
        {"Rest", "Misc", "Q", "no key"},
        {"Slot One", "Slots", "no key", "no key"},
        {"Sneak", "Actions", "W", "no key"},
        {"Talk", "Actions", "no key", "Ctrl+T"},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(Layer(KeyLayer::Plain), plain) << "the list changes nothing";
    EXPECT_EQ(Layer(KeyLayer::Ctrl), ctrl);
    EXPECT_EQ(w.selectedKey, w.sbW);
}

TEST_F(KeyListTest, TheFilterKeepsTheFunctionsWhoseNameHoldsItAndEveryColumnSorts)
{
    struct Row {
        unsigned codePage;
        std::string names;   // extra language lines
        std::string typed;
        std::vector<std::string> shown;
    };
    const Row rows[] = {
        {1252, "", "DART", {"Ember Dart"}},
        {1252, "", "st", {"Frost Veil", "Rest"}},  // anywhere in the name, case aside
        {1252, "", "xyz", {}},
        // "Удар" (a blow) found by "уд": letters of the code page in any case
        {1251, "ACT_SNEAK=\xD3\xE4\xE0\xF0\r\n", "\xF3\xE4", {"\xD3\xE4\xE0\xF0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        ScopedCodePage codePage(row.codePage);
        folder.Write("Language.txt", row.names + kTestLanguage);
        folder.Write("keymap.ini", KeyboardSection() + kTestKeymapGroups);
        TfConfig& w = Open();
        w.Show();
        keys::Settle();
        InTheList([&](TdlgKeyList& list) {
            TypeInto(list.eFind, row.typed);
            std::vector<std::string> names;
            for (const auto& cells : CellsOf(list.ShownRows())) names.push_back(cells[0]);
            EXPECT_EQ(names, row.shown);
            EXPECT_EQ(list.lvKeys->Rows().size(), row.shown.size());
            EXPECT_EQ(list.lvKeys->ItemIndex(), row.shown.empty() ? -1 : 0) << "the first row is ready for Enter";
        });
        Close();
    }

    // Sorted by a column, by its radio button or its header; the header again turns the order round.
    TfConfig& w = OpenShown();
    InTheList([&](TdlgKeyList& list) {
        TypeInto(list.eFind, "a");
        auto column = [&](std::size_t c) {
            std::vector<std::string> cells;
            for (const auto& row : CellsOf(list.ShownRows())) cells.push_back(row[c]);
            return cells;
        };
        EXPECT_EQ(column(0), (std::vector<std::string>{"Attack", "Ember Dart", "Game Menu", "Map", "PAGE_NONAME",
                                                        "Pause", "Quick Save", "Sneak", "Talk"}));
        Click(list.rbSortGroup);
        EXPECT_EQ(column(1), (std::vector<std::string>{"Actions", "Actions", "Actions", "Fixed", "Fixed", "Misc", "Pages",
                                                        "Pages", "Wizard"}));
        // A click on a column's header, as the mouse gives it.
        auto clickHeader = [&](int c) {
            HWND header = reinterpret_cast<HWND>(SendMessageA(list.lvKeys->Handle(), LVM_GETHEADER, 0, 0));
            RECT r{};
            SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&r));
            const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(header, WM_LBUTTONUP, 0, at);
        };
        clickHeader(1);
        EXPECT_EQ(column(1).front(), "Wizard") << "the same header again: the other way round";
        // The functions on no key come after those on keys, either way round.
        clickHeader(2);
        EXPECT_TRUE(list.rbSortKey->Checked());
        const std::vector<std::string> keys = {"A", "Esc (the game keeps it)", "M", "Space (the game keeps it)"};
        std::vector<std::string> sorted = keys;
        sorted.resize(9, "no key");
        EXPECT_EQ(column(2), sorted);
        clickHeader(2);
        std::reverse_copy(keys.begin(), keys.end(), sorted.begin());
        EXPECT_EQ(column(2), sorted);
    });
    EXPECT_EQ(w.selectedKey, nullptr);
}

TEST_F(KeyListTest, AChosenRowShowsItsLayerAndSelectsItsKeyOrWaitsForTheNextKey)
{
    struct Row {
        const char* typed;  // Enter chooses the first row the filter leaves
        KeyLayer layer;
        TSpeedButton* TfConfig::*focused;
        TSpeedButton* TfConfig::*selected;  // null: none
        const char* label;
    };
    const Row rows[] = {
        {"Rest", KeyLayer::Plain, &TfConfig::sbQ, &TfConfig::sbQ, "&Function for Q"},
        {"Ember", KeyLayer::Ctrl, &TfConfig::sbQ, &TfConfig::sbQ, "&Function for Ctrl+Q"},
        {"Game Menu", KeyLayer::Plain, &TfConfig::sbEsc, &TfConfig::sbW, "&Function for W"},  // the game's: focus only
        {"Slot", KeyLayer::Plain, nullptr, nullptr, "&Function for the key chosen next"},  // a key of the picture
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        TfConfig& w = OpenShown();
        Click(w.sbW);
        InTheList([&](TdlgKeyList& list) {
            TypeInto(list.eFind, row.typed);
            keys::Post(VK_RETURN);
        });
        keys::Settle();
        EXPECT_EQ(w.shownLayer, row.layer);
        TControl* focused = w.FocusedControl();
        ASSERT_NE(focused, nullptr);
        EXPECT_TRUE(row.focused ? focused == w.*row.focused : focused->Parent() == w.gbKeyboard) << focused->Name();
        EXPECT_EQ(w.selectedKey, row.selected ? w.*row.selected : nullptr);
        EXPECT_EQ(w.lFunction->Caption(), row.label);
        Close();
    }

    // On no key, the function waits in its group's list: the next key chosen takes it, by a press too.
    TfConfig& w = OpenShown();
    InTheList([&](TdlgKeyList& list) {
        TypeInto(list.eFind, "slot");
        // A double click on the row chooses it.
        RECT r{LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list.lvKeys->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 8, (r.top + r.bottom) / 2);
        SendMessageA(list.lvKeys->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(list.lvKeys->Handle(), WM_LBUTTONUP, 0, at);
        SendMessageA(list.lvKeys->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(list.lvKeys->Handle(), WM_LBUTTONUP, 0, at);
    });
    keys::Settle();
    EXPECT_TRUE(w.rbQuickSlots->Checked());
    EXPECT_EQ(w.cbQuickSlots->Text(), "Slot One");
    keys::Post('Y');
    EXPECT_EQ(Plain("Y"), "Slots: Slot One");
    EXPECT_EQ(w.selectedKey, w.sbY);
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(KeyListTest, AKeyPressedOnThePictureTakesTheFocusToItsKeyAndSelectsItWhenThePlayerMayAssignIt)
{
    TfConfig& w = OpenShown();
    w.sbW->SetFocus();
    struct Row {
        WORD key;
        TSpeedButton* TfConfig::*focused;
        TSpeedButton* TfConfig::*selected;
    };
    const Row rows[] = {
        {'Q', &TfConfig::sbQ, &TfConfig::sbQ},
        {'Q', &TfConfig::sbQ, &TfConfig::sbQ},  // again: still selected
        {VK_OEM_1, &TfConfig::sbSemicolon, &TfConfig::sbSemicolon},
        {VK_CAPITAL, &TfConfig::sbCapsLock, &TfConfig::sbCapsLock},
        {VK_RETURN, &TfConfig::sbEnter, &TfConfig::sbEnter},
        {'5', &TfConfig::sb5, &TfConfig::sbEnter},  // the game's keys: the focus and the line only
        {VK_F5, &TfConfig::sbF5, &TfConfig::sbEnter},
        {VK_BACK, &TfConfig::sbBackspace, &TfConfig::sbEnter},
        {VK_SPACE, &TfConfig::sbBackspace, &TfConfig::sbEnter},  // Space clicks the focused key
        {VK_RIGHT, &TfConfig::sbTab, &TfConfig::sbEnter},  // the arrows move, Tab's key is the game's
        {VK_DOWN, &TfConfig::sbCapsLock, &TfConfig::sbEnter},
        {'A', &TfConfig::sbA, &TfConfig::sbA},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        keys::Post(row.key);
        EXPECT_TRUE((w.*row.focused)->Focused()) << (w.*row.focused)->Name();
        EXPECT_EQ(w.selectedKey, w.*row.selected);
    }
    EXPECT_EQ(w.lKeyLine->Caption(), "A: Actions: Attack. Ctrl+A: free");
    EXPECT_EQ(w.cbActions->Text(), "Attack");
    keys::Post(VK_TAB);
    EXPECT_FALSE(w.sbA->Focused()) << "Tab leaves the picture";
}

TEST_F(KeyListTest, RestoreDefaultsPutsBackTheGamesKeysAfterAQuestionAndOnlyOkOrApplyKeepsThem)
{
    const std::string keymap = KeyboardSection() + kTestKeymapGroups;
    // The game's own: Attack on Z, Talk on Ctrl-X, Rest on no key, a nameless entry on B.
    const std::string game = KeyboardSection() + "[Keymap Page]\r\nPAGE_NONAME=B\r\n[Keymap Actions]\r\n"
                                                  "ACT_ATTACK=Z\r\nACT_TALK=Ctrl-X\r\n[Keymap Miscellaneous]\r\nMISC_REST=\r\n";
    const char* question =
        "Your own hot keys will be replaced by the keys the game came with, in both layers: OK or Apply then keeps "
        "the game's keys, Cancel keeps yours. Put back the game's keys?";
    struct Row {
        bool copy;
        std::vector<std::pair<const char*, const char*>> after;  // key value -> held
    };
    const Row rows[] = {
        {true, {{"Z", "Actions: Attack"}, {"Ctrl-X", "Actions: Talk"}, {"B", "Pages: PAGE_NONAME"}, {"Q", ""},
                {"M", ""}, {"A", ""}, {"W", ""}, {"G", "Fixed: Odd Fixed"}}},
        // No copy yet: the key map as loaded at the start is the game's.
        {false, {{"A", "Actions: Attack"}, {"Ctrl-T", "Actions: Talk"}, {"Q", "Misc: Rest"}, {"M", "Pages: PAGE_NONAME"},
                 {"W", ""}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.copy ? "with a copy" : "without one");
        folder.Remove("keymap-original.ini");
        if (row.copy) folder.Write("keymap-original.ini", game);
        TfConfig& w = OpenKeys(keymap);
        EXPECT_TRUE(w.bRestoreKeys->Enabled());
        Click(w.sbW);
        Click(w.rbActions);
        dialogs.Answer(TModalResult::Yes);
        Pick(w.cbActions, "Attack");  // from A
        dialogs.Answer(TModalResult::No);
        Click(w.bRestoreKeys);
        EXPECT_EQ(Plain("W"), "Actions: Attack") << "No keeps the player's keys";
        dialogs.Answer(TModalResult::Yes);
        Click(w.bRestoreKeys);
        EXPECT_EQ(Boxes(), (std::vector<std::string>{"'Actions: Attack' is on 'A'. Change it?", question, question}));
        for (const auto& [key, held] : row.after) EXPECT_EQ(w.keyMap.Assignment(*w.keyMap.KeyOfValue(key)), held) << key;
        EXPECT_EQ(folder.Read("keymap.ini"), keymap) << "only OK or Apply writes it";
        Close();  // as Cancel: nothing written
        EXPECT_EQ(folder.Read("keymap.ini"), keymap);

        TfConfig& again = Open();
        dialogs.Answer(TModalResult::Yes);
        Click(again.bRestoreKeys);
        Click(again.bApply);
        Close();
        Open();
        for (const auto& [key, held] : row.after) EXPECT_EQ(window->keyMap.Assignment(*window->keyMap.KeyOfValue(key)), held) << key;
        // The first save kept the key map it found; later saves leave that copy alone.
        EXPECT_EQ(folder.Read("keymap-original.ini"), row.copy ? game : keymap);
        Click(window->bApply);
        EXPECT_EQ(folder.Read("keymap-original.ini"), row.copy ? game : keymap);
        Close();
        dialogs.Clear();
    }
}

TEST_F(KeyListTest, ACopyThatCannotBeWrittenStopsNoSaveAndOneThatCannotServeDisablesRestoreSayingWhy)
{
    struct Row {
        const char* what;
        const char* blocked;    // a folder where this file would go
        const char* copy;       // the copy's bytes, when there is one
        const char* why;        // empty: Restore Defaults can be used
        bool deleted;           // keymap.ini deleted while the window is open
    };
    const Row rows[] = {
        {"the copy cannot be written", "keymap-original.ini.kxsave", nullptr, "", false},
        {"a folder where the copy would be", "keymap-original.ini", nullptr,
         "The game's keys cannot be put back: keymap-original.ini cannot be read.", false},
        {"a copy without keys", nullptr, "[Other]\r\nx=1\r\n",
         "The game's keys cannot be put back: keymap-original.ini holds no hot keys.", false},
        {"the key map deleted before the first save", nullptr, nullptr, "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.blocked) folder.BlockFile(row.blocked);
        if (row.copy) folder.Write("keymap-original.ini", row.copy);
        TfConfig& w = OpenKeys();
        const std::string found = folder.Read("keymap.ini");
        if (row.deleted) folder.Remove("keymap.ini");
        EXPECT_EQ(w.bRestoreKeys->Enabled(), !*row.why);
        EXPECT_EQ(w.bRestoreKeys->Hint(), *row.why ? row.why : "Put back the hot keys the game came with");
        Click(w.sbW);
        Click(w.rbActions);
        Pick(w.cbActions, "Sneak");
        Click(w.bApply);
        EXPECT_NE(folder.Read("keymap.ini").find("ACT_SNEAK=W\r\n"), std::string::npos);
        EXPECT_EQ(folder.Read("keymap-original.ini"), row.copy ? row.copy : row.blocked ? "" : found);
        // A later save keeps as the game's the key map found before this program's first save, not its own.
        if (row.blocked) folder.Remove(row.blocked);
        Click(w.sbE);
        Click(w.rbPage);
        Pick(w.cbPage, "Map");
        Click(w.bApply);
        EXPECT_NE(folder.Read("keymap.ini").find("PAGE_MAP=E\r\n"), std::string::npos);
        EXPECT_EQ(folder.Read("keymap-original.ini"), row.copy ? row.copy : found);
        Close();
        folder.Remove("keymap-original.ini");
    }
    // No key map and no copy: no keys to put back.
    TfConfig& w = OpenKeys("");
    EXPECT_FALSE(w.bRestoreKeys->Enabled());
    EXPECT_EQ(w.bRestoreKeys->Hint(),
              "The game's keys cannot be put back: keymap.ini holds no hot keys, and keymap-original.ini is not there.");
    EXPECT_TRUE(dialogs.Boxes().empty());
}
