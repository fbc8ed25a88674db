// The key map read into the keyboard and the lists, and written back.
#include <windows.h>

#include <algorithm>
#include <sstream>

#include "settings/IniFile.h"
#include "tests/hotkeys/HotKeysTest.h"
#include "ui/Exception.h"
#include "ui/WideText.h"

using namespace ui;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

class KeyMapTest : public HotKeysTest {};

TEST_F(KeyMapTest, LoadPutsEachFunctionOnItsKeyInItsLayerAndOffersTheNamedOnes)
{
    TfConfig& w = OpenKeys();
    struct Row {
        const char* key;
        const char* plain;
        const char* ctrl;
    };
    const Row rows[] = {
        {"I", "Pages: Inventory", ""},
        {"M", "Pages: PAGE_NONAME", ""},  // an identifier without display name, shown by itself
        {"A", "Actions: Attack", ""},
        {"T", "", "Actions: Talk"},
        {"Enter", "", "Misc: Quick Save"},  // "Ctrl-" and a key name of several characters
        {"Q", "Misc: Rest", "Wizard: Ember Dart"},  // "Ctrl-q": key names ignore case
        {"N", "Wizard: Odd Spell", ""},
        {"R", "", ""},  // "ctrl-R" is no Ctrl value and names no key
        {"Esc", "Fixed: Game Menu", "Fixed: Game Menu"},
        {"Space", "Fixed: Pause", "Fixed: Pause"},
        {"G", "Fixed: Odd Fixed", "Fixed: Odd Fixed"},
        {"W", "", ""},
    };
    ASSERT_EQ(w.keyMap.KeyCount(), 72u);
    int bound = 0;
    for (const Row& row : rows) {
        EXPECT_EQ(Plain(row.key), row.plain) << row.key;
        EXPECT_EQ(Ctrl(row.key), row.ctrl) << row.key;
        bound += (*row.plain ? 1 : 0) + (*row.ctrl ? 1 : 0);
    }
    const std::vector<std::string> plain = Layer(KeyLayer::Plain), ctrl = Layer(KeyLayer::Ctrl);
    int all = 0;
    for (std::size_t p = 0; p < 72; ++p) {
        all += !plain[p].empty() + !ctrl[p].empty();
        EXPECT_EQ(w.keyButtons[p]->Hint(), plain[p]) << p;
        // A key that is not the player's never looks bound, whatever the game puts on it.
        const bool players = w.keyMap.Changeable({KeyLayer::Plain, p});
        EXPECT_EQ(w.keyButtons[p]->Down(), players && !plain[p].empty()) << p;
        EXPECT_EQ(w.keyButtons[p]->Grayed(), !players) << p;
    }
    EXPECT_EQ(all, bound) << "no binding beyond those of the table";

    EXPECT_EQ(w.sbQ->Caption(), "Q");
    EXPECT_EQ(w.sbBackslash->Caption(), "\\");
    EXPECT_EQ(w.sbSpace->Caption(), "Space");
    EXPECT_EQ(w.sbAltLeft->Caption(), "Alt") << "a name holding Alt or Win loses its last character";
    EXPECT_EQ(w.sbWindowRight->Caption(), "Win");
    EXPECT_EQ(w.keyMap.KeyName(66), "WinL");

    using Items = std::vector<std::string>;
    EXPECT_EQ(w.cbPage->Items(), (Items{"Inventory", "Map"}));
    EXPECT_EQ(w.cbActions->Items(), (Items{"Attack", "Sneak", "Talk"}));
    EXPECT_EQ(w.cbQuickSlots->Items(), (Items{"Slot One"}));
    EXPECT_EQ(w.cbWizardSpells->Items(), (Items{"Ember Dart", "Frost Veil", "Odd Spell"}));
    EXPECT_EQ(w.cbFixed->Items(), (Items{"Game Menu", "Pause", "Odd Fixed"})) << "in file order";
    EXPECT_EQ(ListTexts(), Items(6));
    EXPECT_EQ(w.keymapFile->FileName(), w.keymapPath);
    EXPECT_TRUE(w.rbPage->Checked());
}

TEST_F(KeyMapTest, KeyboardsOfMoreOrFewerThanSeventyTwoNamesStillOpen)
{
    struct Row {
        std::size_t names;
        bool file;
    };
    for (const Row row : {Row{75, true}, Row{40, true}, Row{0, false}}) {
        SCOPED_TRACE(row.names);
        // Talk on A, which every keyboard here has; Attack on a name past the 72nd, which has no key.
        TfConfig& w = OpenKeys(row.file ? KeyboardSection(row.names) +
                                              "[Keymap Actions]\r\nACT_ATTACK=Extra73\r\nACT_TALK=W\r\n"
                                        : "");
        const std::size_t keys = std::min<std::size_t>(row.names, 72);
        EXPECT_EQ(w.keyMap.KeyCount(), keys);
        if (row.names > 40) {
            EXPECT_EQ(Plain("W"), "Actions: Talk");
        }

        // A key past the last name binds nothing: a click leaves the selection, a choice goes to the
        // key chosen before (none here), a right click asks nothing.
        TSpeedButton* pastTheNames = w.sbA;
        if (keys > 42) continue;
        EXPECT_EQ(pastTheNames->Caption(), "");
        Click(pastTheNames);
        EXPECT_EQ(w.selectedKey, nullptr);
        EXPECT_EQ(w.selectedPosition, 0);
        EXPECT_FALSE(pastTheNames->Down()) << "shown as a disabled key";
        if (!w.cbActions->Items().empty()) {
            Pick(w.cbActions, "Attack");
            for (const std::string& binding : Layer(KeyLayer::Plain)) EXPECT_NE(binding, "Actions: Attack");
        }
        RightClick(pastTheNames);
        EXPECT_TRUE(dialogs.Boxes().empty());

        Click(w.bApply);
        if (!row.file) {
            EXPECT_FALSE(folder.Exists("keymap.ini")) << "empty lists write nothing";
        }
        Close();
    }
}

TEST_F(KeyMapTest, RoundTripKeepsWhatWasNotChangedAndWritesEveryListedFunction)
{
    const std::string original = KeyboardSection() + kTestKeymapGroups;
    TfConfig& w = OpenKeys(original);

    // Bind a free key, move a function to another key, delete one, and in the Ctrl layer bind and
    // delete, all as the user does it.
    Click(w.sbW);
    Click(w.rbActions);
    Pick(w.cbActions, "Sneak");
    Click(w.sbE);
    Click(w.rbMiscellaneous);
    dialogs.Answer(TModalResult::Yes);  // Rest is on Q
    Pick(w.cbMiscellaneous, "Rest");
    dialogs.Answer(TModalResult::Yes);
    RightClick(w.sbA);
    Click(w.sbU);
    Click(w.rbQuickSlots);
    Pick(w.cbQuickSlots, "Slot One");
    Click(w.sbCtrlLeft);
    Click(w.sbZ);
    Click(w.rbPage);
    Pick(w.cbPage, "Map");
    dialogs.Answer(TModalResult::Yes);
    RightClick(w.sbT);
    Click(w.sbCtrlRight);
    EXPECT_EQ(w.shownLayer, KeyLayer::Plain);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"'Misc: Rest' is on 'Q'. Change it?",
                                                 "'A' is on 'Actions: Attack'. Change it?",
                                                 "'Ctrl-T' is on 'Actions: Talk'. Change it?"}));
    Click(w.bApply);

    std::vector<std::string> expected = Lines(KeyboardSection());
    for (const char* line : {"[Keymap Page]", "PAGE_INV=I", "PAGE_MAP=Ctrl-Z", "PAGE_NONAME=M",
                             "[Keymap Actions]", "ACT_ATTACK=", "ACT_TALK=", "ACT_SNEAK=W",
                             "[Keymap Miscellaneous]", "MISC_SAVE=Ctrl-Enter", "MISC_REST=E",
                             "[Keymap Quick Slots]", "QS_ONE=U",  // bound now, so written
                             "[Keymap Wizard Spells]", "SPWI1=Ctrl-Q", "SPWI2=",
                             "ODD_SPELL=N",
                             "[Keymap Priest Spells]", "SPPR1=ctrl-R",  // still on no key: kept as stored
                             "[Keymap Fixed]", "FIX_MENU=Esc", "FIX_PAUSE=Space", "FIX_ODD=G",
                             "[Game Extras]", "Kept=yes"})
        expected.push_back(line);
    std::vector<std::string> saved = Lines(folder.Read("keymap.ini"));
    saved.erase(std::remove(saved.begin(), saved.end(), ""), saved.end());
    EXPECT_EQ(saved, expected);
}

TEST_F(KeyMapTest, AValueThatNamedNoKeyIsKeptOnlyUntilThePlayerPlacesTheFunction)
{
    // QS_ONE=Nowhere: bound, saved, removed and saved again; bound and removed between two saves.
    for (bool saveBetween : {true, false}) {
        SCOPED_TRACE(saveBetween ? "saved in between" : "not saved in between");
        TfConfig& w = OpenKeys();
        Click(w.sbW);
        Click(w.rbQuickSlots);
        Pick(w.cbQuickSlots, "Slot One");
        if (saveBetween) {
            Click(w.bApply);
            EXPECT_NE(folder.Read("keymap.ini").find("QS_ONE=W\r\n"), std::string::npos);
        }
        dialogs.Answer(TModalResult::Yes);
        RightClick(w.sbW);
        Click(w.bApply);
        EXPECT_NE(folder.Read("keymap.ini").find("QS_ONE=\r\n"), std::string::npos);
        Close();
    }
}

TEST_F(KeyMapTest, WhatThePlayerLeavesOnAKeyIsWhatTheNextStartShows)
{
    // B holds an entry that has no words in the language file, after Inventory, which is on no key.
    const std::string keymap = KeyboardSection() + "[Keymap Page]\r\nPAGE_INV=\r\nPAGE_NOLANG=B\r\n";
    struct Row {
        bool rebind;  // Inventory on B, else B's binding removed
        const char* shownAfterRestart;
    };
    for (const Row& row : {Row{true, "Pages: Inventory"}, Row{false, ""}}) {
        SCOPED_TRACE(row.shownAfterRestart);
        TfConfig& w = OpenKeys(keymap);
        EXPECT_EQ(Plain("B"), "Pages: PAGE_NOLANG");
        if (row.rebind) {
            Click(w.sbB);
            Pick(w.cbPage, "Inventory");
        } else {
            dialogs.Answer(TModalResult::Yes);
            RightClick(w.sbB);
        }
        Click(w.bApply);
        Close();
        Open();
        EXPECT_EQ(Plain("B"), row.shownAfterRestart);
        EXPECT_NE(folder.Read("keymap.ini").find("PAGE_NOLANG=\r\n"), std::string::npos);
        Close();
    }
}

TEST_F(KeyMapTest, ARefusedWriteIsReported)
{
    TfConfig& w = OpenKeys();
    folder.BlockFile("keymap.ini");
    try {
        w.SaveKeyMap();
        FAIL() << "a refused write went unreported";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + folder.Path() + "keymap.ini");
    }
}

// Apply whose key map cannot be finished keeps the key map as it was and says so; one whose
// settings file cannot be finished saves no key map either.
TEST_F(KeyMapTest, ASaveThatCannotFinishAFileLeavesItAsItWas)
{
    const std::string original = KeyboardSection() + kTestKeymapGroups;
    for (const char* file : {"torvel.ini", "keymap.ini"}) {
        SCOPED_TRACE(file);
        folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n[Mod Loader]\r\nEnabled Mods=rain\r\n");
        TfConfig& w = OpenKeys(original);
        const std::string settings = folder.Read("torvel.ini");
        Click(w.sbW);
        Click(w.rbActions);
        Pick(w.cbActions, "Sneak");
        // The platform's writer cuts the copy on a full disk, and says nothing.
        IniSave::afterWrite = [&](const std::wstring& copy, int write) {
            if (write > 3 && copy.find(ui::Widen(file)) != std::wstring::npos) DeleteFileW(copy.c_str());
            return true;
        };
        dialogs.Answer(TModalResult::OK);
        Click(w.bApply);
        IniSave::afterWrite = nullptr;
        EXPECT_EQ(Boxes(), std::vector<std::string>{"Unable to write to " + folder.Path() + file + "."});
        EXPECT_EQ(folder.Read("keymap.ini"), original);
        if (std::string(file) == "torvel.ini") {
            EXPECT_EQ(folder.Read("torvel.ini"), settings);
        }
        EXPECT_FALSE(folder.Exists(std::string(file) + ".kxsave"));
        Close();
        dialogs.Clear();
    }
}

// Deleted while the window is open, the key map is written back whole: the next start shows the
// same keyboard, with the player's change.
TEST_F(KeyMapTest, AKeyMapDeletedUnderTheWindowIsSavedWhole)
{
    TfConfig& w = OpenKeys();
    const std::vector<std::string> captions = [&] {
        std::vector<std::string> texts;
        for (TSpeedButton* key : w.keyButtons) texts.push_back(key->Caption());
        return texts;
    }();
    Click(w.sbW);
    Click(w.rbActions);
    Pick(w.cbActions, "Sneak");
    folder.Remove("keymap.ini");
    Click(w.bApply);
    const std::string saved = folder.Read("keymap.ini");
    for (const char* kept : {"[Keyboard]", "[Keymap Fixed]\r\nFIX_MENU=Esc\r\n", "ACT_SNEAK=W\r\n", "[Game Extras]\r\nKept=yes"})
        EXPECT_NE(saved.find(kept), std::string::npos) << kept;
    Close();
    TfConfig& again = OpenKeys(saved);
    for (std::size_t n = 0; n < captions.size(); ++n) EXPECT_EQ(again.keyButtons[n]->Caption(), captions[n]) << n;
    EXPECT_EQ(Plain("W"), "Actions: Sneak");
}
