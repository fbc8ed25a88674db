// The Hot Keys page of the running program, driven from outside as a player uses it: keys clicked and
// right-clicked, functions picked from the lists, the questions answered, the Ctrl layer, an import
// through the open dialog; then what OK wrote into keymap.ini.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

class HotKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n");
        folder.Write("import-example.ini", GameFolder::Shipped("import-example.ini"));
        program = std::make_unique<RunningProgram>(folder, "-keymap", elsewhere);
        main = program->WaitForWindow("TfConfig");
        ASSERT_NE(main, nullptr) << program->DescribeWindows();
    }

    // A click that opens nothing: sent, so it has run when this returns.
    void Press(const char* name) { Ask(Named(main, name), BM_CLICK); }
    void RightPress(const char* name, bool asks)
    {
        HWND key = Named(main, name);
        if (asks) {
            PostMessageA(key, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
            PostMessageA(key, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        } else {
            Ask(key, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
            Ask(key, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        }
    }
    // Picks an item as the mouse does: the list opened, and the item clicked in it. A question the
    // choice asks is answered with Answer.
    void Pick(const char* list, const char* item)
    {
        HWND combo = Named(main, list);
        LRESULT index = Ask(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
        ASSERT_GE(index, 0) << item << " is not offered in " << list;
        Ask(combo, CB_SHOWDROPDOWN, TRUE);
        HWND open = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND w : program->TopLevelWindows(true))
                if (SameText(ClassOf(w), "ComboLBox")) open = w;
            return open != nullptr;
        })) << "the list did not open";
        Ask(open, LB_SETTOPINDEX, static_cast<WPARAM>(index));
        const auto shown = index - Ask(open, LB_GETTOPINDEX);
        const auto height = Ask(open, LB_GETITEMHEIGHT, static_cast<WPARAM>(index));
        const LPARAM at = MAKELPARAM(8, static_cast<int>(shown * height + height / 2));
        PostMessageA(open, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(open, WM_LBUTTONUP, 0, at);
    }
    // The text of the message box that came, answered with the button given; once it is gone.
    std::string Answer(int button)
    {
        HWND box = program->WaitForWindow("#32770");
        if (!box) {
            ADD_FAILURE() << "no message box came; " << program->DescribeWindows();
            return {};
        }
        std::string text = MessageBoxText(box);
        EXPECT_EQ(TextOf(box), "Torvel II Configuration");
        Click(GetDlgItem(box, button));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "the box did not close";
        return text;
    }
    std::string SavedKeymap()
    {
        Click(Named(main, "bOK"));
        EXPECT_EQ(program->WaitForExit(), 0u);
        return folder.Read("keymap.ini");
    }
    static std::string Section(const std::string& text, const std::string& header)
    {
        std::size_t start = text.find(header);
        if (start == std::string::npos) return {};
        std::string section = text.substr(start, text.find("\r\n[", start) - start);
        return section.substr(0, section.find_last_not_of("\r\n") + 1);
    }

    GameFolder folder;
    TempFolder elsewhere;
    std::unique_ptr<RunningProgram> program;
    HWND main = nullptr;
};

}  // namespace

TEST_F(HotKeys, KeysAreBoundMovedAndRemovedInBothLayersAndOkWritesTheKeyMap)
{
    EXPECT_EQ(TextOf(Named(main, "sbQ")), "Q");
    EXPECT_EQ(TextOf(Named(main, "sbAltLeft")), "Alt");
    EXPECT_EQ(TextOf(Named(main, "sbCapsLock")), "Caps");
    // A free key takes a function that no key holds.
    Press("sbSemicolon");
    Press("rbActions");
    Pick("cbActions", "Throw");
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(Named(main, "sbSemicolon")); }));

    // A key of another group's function: No keeps it, Yes replaces it.
    Press("sbQ");
    EXPECT_TRUE(IsChecked(Named(main, "rbMiscellaneous")));
    EXPECT_TRUE(HasStyle(Named(main, "cbMiscellaneous"), WS_VISIBLE));
    EXPECT_EQ(TextOf(Named(main, "cbMiscellaneous")), "Toggle Party AI");
    const char* const replace = "The key \"Q\" does 'Miscellaneous: Toggle Party AI'. Put 'Actions: Bandage Wounds' on it instead?";
    Pick("cbActions", "Bandage Wounds");
    EXPECT_EQ(Answer(IDNO), replace);
    Pick("cbActions", "Bandage Wounds");
    EXPECT_EQ(Answer(IDYES), replace);

    // A function held by another key moves.
    Press("sbApostrophe");
    Pick("cbActions", "Attack");
    EXPECT_EQ(Answer(IDYES), "'Actions: Attack' is on the key \"A\". Move it to the key \"'\"?");
    EXPECT_FALSE(IsChecked(Named(main, "sbA")));

    // A right click removes a binding.
    RightPress("sbV", true);
    EXPECT_EQ(Answer(IDYES), "Remove 'Quick Slots: Weapon Slot 2' from the key \"V\"?");
    EXPECT_FALSE(IsChecked(Named(main, "sbV")));

    // The Ctrl layer.
    Press("sbCtrlLeft");
    EXPECT_TRUE(IsChecked(Named(main, "sbCtrlRight")));
    EXPECT_FALSE(IsChecked(Named(main, "sbQ"))) << "Q is free in the Ctrl layer";
    Press("sbK");
    Pick("cbActions", "Sneak");
    EXPECT_EQ(Answer(IDYES), "'Actions: Sneak' is on the key \"S\". Move it to the key \"Ctrl+K\"?");
    RightPress("sbS", true);
    EXPECT_EQ(Answer(IDYES), "Remove 'Miscellaneous: Quick Save' from the key \"Ctrl+S\"?");
    RightPress("sbW", false);  // free in the Ctrl layer: nothing to remove, nothing asked
    Press("sbCtrlRight");
    EXPECT_FALSE(IsChecked(Named(main, "sbCtrlLeft")));
    EXPECT_TRUE(IsChecked(Named(main, "sbQ")));
    EXPECT_TRUE(IsChecked(Named(main, "sbW")));

    const std::string saved = SavedKeymap();
    const std::pair<const char*, const char*> expected[] = {
        {"ACT_THROW", ";"},      {"ACT_BANDAGE", "Q"},      {"MISC_PARTYAI", ""},        {"ACT_ATTACK", "'"},
        {"QS_WEAPON2", ""},      {"ACT_SNEAK", "Ctrl-K"},   {"MISC_QUICKSAVE", ""},      {"MISC_CLOCK", "Ctrl-Enter"},
        {"PAGE_REALMMAP", "W"},  {"SPWI101", "Ctrl-F"},     {"PAGE_ROSTER", ""},
    };
    for (const auto& [identifier, value] : expected) {
        bool found = false;
        for (const char* section : {"Keymap Page", "Keymap Actions", "Keymap Miscellaneous", "Keymap Quick Slots",
                                    "Keymap Wizard Spells"})
            if (auto stored = IniValue(saved, section, identifier)) {
                EXPECT_EQ(*stored, value) << identifier;
                found = true;
            }
        EXPECT_TRUE(found) << identifier;
    }
    const std::string shipped = GameFolder::Shipped("keymap.ini");
    EXPECT_EQ(Section(saved, "[Keyboard]"), Section(shipped, "[Keyboard]"));
    EXPECT_EQ(Section(saved, "[Keymap Fixed]"), Section(shipped, "[Keymap Fixed]"));
}

TEST_F(HotKeys, AKeyMapOfTheOtherLayoutIsImportedThroughTheOpenDialog)
{
    Click(Named(main, "bImport"));
    HWND dialog = program->WaitForWindow("#32770");
    ASSERT_NE(dialog, nullptr) << program->DescribeWindows();
    // The file name box: a combo box in the explorer-style dialog, an edit in the older one.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name) name = GetDlgItem(dialog, 0x480);
    ASSERT_NE(name, nullptr) << "no file name box in the open dialog";
    EXPECT_EQ(TextOf(name), "Keymap.ini");
    const std::string path = folder.PathOf("import-example.ini");
    Ask(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Click(GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << program->DescribeWindows();
    EXPECT_EQ(Answer(IDOK), "55 functions were placed on keys. Press OK or Apply to keep them.");

    EXPECT_TRUE(IsChecked(Named(main, "sbU")));
    EXPECT_FALSE(IsChecked(Named(main, "sbF"))) << "the plain layer of the assignable keys was cleared first";
    for (const char* box : {"cbConfirmDeletions", "cbConfirmKey", "cbConfirmSpell"})
        EXPECT_TRUE(IsChecked(Named(main, box))) << box;

    const std::string saved = SavedKeymap();
    struct Entry {
        const char* section;
        const char* identifier;
        const char* value;
    };
    const Entry entries[] = {
        {"Keymap Page", "PAGE_INVENTORY", "I"},
        {"Keymap Page", "PAGE_CHARACTER", "U"},     // was C
        {"Keymap Page", "PAGE_REALMMAP", "Ctrl-M"},  // the Ctrl binding it brought
        {"Keymap Actions", "ACT_CASTSPELL", "C"},
        {"Keymap Actions", "ACT_USEITEM", "Ctrl-U"},
        {"Keymap Miscellaneous", "MISC_PARTYAI", "Ctrl-/"},
        {"Keymap Miscellaneous", "MISC_CHAT", "Ctrl-Enter"},
        {"Keymap Miscellaneous", "MISC_CLOCK", ";"},  // its Ctrl-Enter went to the chat
        {"Keymap Miscellaneous", "MISC_SCREENSHOT", "Ctrl-,"},  // off Ctrl-P, which the Ctrl layer kept
        {"Keymap Quick Slots", "QS_WEAPON1", "W"},
        {"Keymap Wizard Spells", "SPWI101", "Ctrl-C"},  // its Ctrl-F went to the search
        {"Keymap Priest Spells", "SPPR101", "S"},
    };
    for (const Entry& e : entries) EXPECT_EQ(IniValue(saved, e.section, e.identifier), e.value) << e.identifier;
}
