// The keyboard editor: selecting keys, choosing functions, the three questions, the Ctrl layer.
// Keys are clicked with real button messages; choices are made through the lists' component layer
// (Choose) or as the user makes them (Pick: a click in the open list, Type: characters typed into the
// list, keys: keys pressed in the shown window).
#include <windows.h>

#include "tests/hotkeys/HotKeysTest.h"
#include "tests/support/Keys.h"
#include "ui/SystemText.h"

using namespace ui;

class HotKeyEditorTest : public HotKeysTest {
protected:
    // Every binding of both layers, to see that nothing changed.
    std::vector<std::string> Layers() const
    {
        std::vector<std::string> all = Layer(KeyLayer::Plain), ctrl = Layer(KeyLayer::Ctrl);
        all.insert(all.end(), ctrl.begin(), ctrl.end());
        return all;
    }
};

TEST_F(HotKeyEditorTest, SelectingAKeyShowsItsFunctionAsTheChoiceOfItsGroup)
{
    TfConfig& w = OpenKeys();
    const std::string none;
    struct Row {
        const char* key;
        TRadioButton* TfConfig::*checked;
        std::vector<std::string> texts;
        const char* selected;  // the key selected after the click
    };
    const Row rows[] = {
        {"Q", &TfConfig::rbMiscellaneous, {none, none, "Rest", none, none, none}, "Q"},
        {"I", &TfConfig::rbPage, {"Inventory", none, none, none, none, none}, "I"},
        {"N", &TfConfig::rbWizardSpells, {none, none, none, none, "Odd Spell", none}, "N"},
        {"M", &TfConfig::rbPage, std::vector<std::string>(6), "M"},  // an entry without display name
        // The user picks Actions; a free key leaves the visible group as it is, and a key holding a
        // fixed function is the game's: it leaves the selection too.
        {"W", &TfConfig::rbActions, std::vector<std::string>(6), "W"},
        {"G", &TfConfig::rbActions, std::vector<std::string>(6), "W"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        if (std::string(row.key) == "W") Click(w.rbActions);
        TSpeedButton* key = Key(row.key);
        Click(key);
        EXPECT_EQ(w.selectedKey, Key(row.selected));
        EXPECT_EQ(w.selectedPosition, w.KeyNamed(row.selected));
        EXPECT_TRUE(Key(row.selected)->Selected());
        EXPECT_EQ(key->Down(), !key->Hint().empty() && !key->Grayed()) << "pressed exactly when it holds the player's function";
        EXPECT_TRUE((w.*row.checked)->Checked());
        EXPECT_EQ(w.shownList, w.groupLists[static_cast<std::size_t>((w.*row.checked)->Tag)]);
        EXPECT_TRUE(w.shownList->Visible());
        EXPECT_EQ(ListTexts(), row.texts);
        EXPECT_EQ(w.cbFixed->Text(), "");
        EXPECT_EQ(w.lFunction->Caption(), std::string("&Function for ") + row.selected);
        for (TSpeedButton* other : w.keyButtons)
            EXPECT_TRUE(other == Key(row.selected) || !other->Selected()) << other->Name();
    }
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(HotKeyEditorTest, TheSelectedKeyIsMarkedInEveryStateAndAKeyThatLooksUnselectedIsNot)
{
    TfConfig& w = OpenKeys();
    auto look = [](TSpeedButton* key) { return SendMessageA(key->Handle(), BM_GETCHECK, 0, 0); };
    EXPECT_EQ(w.lFunction->Caption(), "&Function") << "no key selected yet";
    // A free key: selected, then clicked again, selected no more; a choice then binds nothing and says why.
    Click(w.sbSemicolon);
    EXPECT_TRUE(w.sbSemicolon->Selected() && !w.sbSemicolon->Down());
    EXPECT_EQ(look(w.sbSemicolon), BST_INDETERMINATE);
    Click(w.sbSemicolon);
    EXPECT_FALSE(w.sbSemicolon->Selected());
    EXPECT_EQ(look(w.sbSemicolon), BST_UNCHECKED);
    EXPECT_EQ(w.selectedKey, nullptr);
    EXPECT_EQ(w.lFunction->Caption(), "&Function");
    const std::vector<std::string> before = Layers();
    Pick(w.cbPage, "Map");
    EXPECT_EQ(Layers(), before);
    EXPECT_EQ(w.cbPage->Text(), "");
    EXPECT_EQ(w.lKeyLine->Caption(), "Choose a key on the keyboard first, then the function to put on it.");

    // A bound key stays selected when clicked again, in the other layer too, where it is free.
    Click(w.sbA);
    Click(w.sbA);
    EXPECT_TRUE(w.sbA->Selected() && w.sbA->Down());
    EXPECT_EQ(look(w.sbA), BST_CHECKED);
    Click(w.sbCtrlLeft);
    EXPECT_TRUE(w.sbA->Selected());
    EXPECT_FALSE(w.sbA->Down());
    EXPECT_EQ(w.lFunction->Caption(), "&Function for Ctrl+A");
    Click(w.sbCtrlLeft);

    // After its binding is removed it is the selected free key, and a choice goes to it.
    dialogs.Answer(TModalResult::Yes);
    RightClick(w.sbA);
    EXPECT_TRUE(w.sbA->Selected());
    EXPECT_FALSE(w.sbA->Down());
    EXPECT_EQ(look(w.sbA), BST_INDETERMINATE);
    Click(w.rbPage);
    Pick(w.cbPage, "Map");
    EXPECT_EQ(Plain("A"), "Pages: Map");
    // An import leaves it selected.
    folder.Write("other.ini", "[Keymap]\r\nAttack=S\r\n");
    dialogs.AnswerOpen(folder.Path() + "other.ini");
    Click(w.bImport);
    EXPECT_TRUE(w.sbA->Selected());
    EXPECT_EQ(Plain("S"), "Actions: Attack");
}

TEST_F(HotKeyEditorTest, ChoicesWithoutASelectedKeyAreIgnoredAndDisabledKeysLeaveTheSelection)
{
    TfConfig& w = OpenKeys();
    const std::vector<std::string> before = Layers();
    Choose(w.cbActions, "Sneak");  // nothing clicked since the start
    EXPECT_EQ(Layers(), before);
    EXPECT_EQ(w.cbActions->Text(), "");

    Click(w.sbW);
    w.cbPage->SetText("Map");
    for (TSpeedButton* disabled : {w.sbSpace, w.sbF3, w.sb1}) {
        Click(disabled);
        EXPECT_EQ(SendMessageA(disabled->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED)
            << disabled->Name() << " looks neither bound nor selected";
        EXPECT_EQ(w.cbPage->Text(), "") << "the visible list shows no choice";
        EXPECT_EQ(w.selectedKey, w.sbW);
    }
    Choose(w.cbActions, "Sneak");
    EXPECT_EQ(Plain("W"), "Actions: Sneak");
    EXPECT_EQ(w.sbW->Hint(), "Actions: Sneak");
    EXPECT_EQ(Plain("Space"), "Fixed: Pause");
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(HotKeyEditorTest, AFunctionOfAnotherGroupOnTheKeyGivesWayOnlyAfterAYes)
{
    struct Row {
        bool confirm;
        TModalResult answer;
        const char* after;
    };
    for (const Row& row : {Row{true, TModalResult::Yes, "Actions: Sneak"}, Row{true, TModalResult::No, "Misc: Rest"},
                           Row{false, TModalResult::None, "Actions: Sneak"}}) {
        SCOPED_TRACE(row.after);
        TfConfig& w = OpenKeys();
        w.cbConfirmKey->SetChecked(row.confirm);
        Click(w.sbQ);
        Click(w.rbActions);
        if (row.confirm) dialogs.Answer(row.answer);
        Choose(w.cbActions, "Sneak");
        EXPECT_EQ(Boxes(), row.confirm ? std::vector<std::string>{"'Q' is on 'Misc: Rest'. Change it?"}
                                       : std::vector<std::string>{});
        EXPECT_EQ(Plain("Q"), row.after);
        EXPECT_EQ(w.sbQ->Hint(), row.after);
        EXPECT_TRUE(w.sbQ->Down());
        const bool replaced = row.answer != TModalResult::No;
        EXPECT_EQ(ListTexts(), (std::vector<std::string>{"", replaced ? "Sneak" : "", replaced ? "" : "Rest", "", "", ""}));
        EXPECT_EQ(w.shownList, replaced ? w.cbActions : w.cbMiscellaneous) << "the key's function is in sight";
        Close();
        dialogs.Clear();
    }

    // The question names the key with its layer; a function of the key's own group replaces it unasked.
    TfConfig& w = OpenKeys();
    Click(w.sbCtrlLeft);
    Click(w.sbQ);
    dialogs.Answer(TModalResult::Yes);
    Choose(w.cbActions, "Sneak");
    EXPECT_EQ(Boxes(), std::vector<std::string>{"'Ctrl-Q' is on 'Wizard: Ember Dart'. Change it?"});
    EXPECT_EQ(Ctrl("Q"), "Actions: Sneak");
    EXPECT_EQ(Plain("Q"), "Misc: Rest");
    Click(w.sbCtrlLeft);
    Click(w.sbI);
    Choose(w.cbPage, "Map");
    EXPECT_EQ(Plain("I"), "Pages: Map");
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(HotKeyEditorTest, AFunctionHeldByAnotherKeyMovesOnlyAfterAYes)
{
    TfConfig& w = OpenKeys();
    // Talk is on Ctrl-T; No keeps it there and binds nothing.
    Click(w.sbW);
    dialogs.Answer(TModalResult::No);
    Choose(w.cbActions, "Talk");
    EXPECT_EQ(Boxes(), std::vector<std::string>{"'Actions: Talk' is on 'Ctrl-T'. Change it?"});
    EXPECT_EQ(Ctrl("T"), "Actions: Talk");
    EXPECT_EQ(Plain("W"), "");
    EXPECT_EQ(w.cbActions->Text(), "");
    dialogs.Answer(TModalResult::Yes);
    Choose(w.cbActions, "Talk");
    EXPECT_EQ(Ctrl("T"), "");
    EXPECT_EQ(Plain("W"), "Actions: Talk");

    // Ember Dart leaves Ctrl-Q; the plain layer shown still has Rest on Q, and Q shows it.
    Click(w.sbE);
    dialogs.Answer(TModalResult::Yes);
    Choose(w.cbWizardSpells, "Ember Dart");
    EXPECT_EQ(Ctrl("Q"), "");
    EXPECT_EQ(Plain("E"), "Wizard: Ember Dart");
    EXPECT_TRUE(w.sbQ->Down());
    EXPECT_EQ(w.sbQ->Hint(), "Misc: Rest");

    // The function the key already has: the question names that key, and Yes leaves it bound and pressed.
    Click(w.sbI);
    dialogs.Answer(TModalResult::Yes);
    Choose(w.cbPage, "Inventory");
    EXPECT_EQ(Boxes().back(), "'Pages: Inventory' is on 'I'. Change it?");
    EXPECT_EQ(Plain("I"), "Pages: Inventory");
    EXPECT_TRUE(w.sbI->Down());
    EXPECT_EQ(w.sbI->Hint(), "Pages: Inventory");

}

TEST_F(HotKeyEditorTest, ARightClickRemovesTheShownBindingAfterAYes)
{
    TfConfig& w = OpenKeys();
    Click(w.sbQ);  // Rest shows in its list
    dialogs.Answer(TModalResult::No);
    RightClick(w.sbQ);
    EXPECT_EQ(Plain("Q"), "Misc: Rest");
    dialogs.Answer(TModalResult::Yes);
    RightClick(w.sbQ);
    EXPECT_EQ(Boxes(), std::vector<std::string>(2, "'Q' is on 'Misc: Rest'. Change it?"));
    EXPECT_EQ(Plain("Q"), "");
    EXPECT_EQ(Ctrl("Q"), "Wizard: Ember Dart") << "only the shown layer loses it";
    EXPECT_FALSE(w.sbQ->Down());
    EXPECT_EQ(w.sbQ->Hint(), "");
    EXPECT_EQ(ListTexts(), std::vector<std::string>(6));

    w.cbConfirmDeletions->SetChecked(false);
    RightClick(w.sbA);
    EXPECT_EQ(Plain("A"), "");
    EXPECT_EQ(Boxes().size(), 2u);
    w.cbConfirmDeletions->SetChecked(true);

    // Nothing to remove, or nothing that may be removed: no question, no change.
    Click(w.sbW);  // a free key, selected
    const std::vector<std::string> before = Layers();
    for (TSpeedButton* key : {w.sbW, w.sbE, w.sbT, w.sbSpace, w.sbEsc, w.sbG}) RightClick(key);
    EXPECT_EQ(Layers(), before);
    EXPECT_TRUE(w.sbG->Grayed()) << "a fixed function's key is the game's";
    EXPECT_EQ(Boxes().size(), 2u);

    Click(w.sbCtrlRight);
    dialogs.Answer(TModalResult::Yes);
    RightClick(w.sbT);
    EXPECT_EQ(Boxes().back(), "'Ctrl-T' is on 'Actions: Talk'. Change it?");
    EXPECT_EQ(Ctrl("T"), "");
}

TEST_F(HotKeyEditorTest, AFixedFunctionOnAnAssignableKeyKeepsItsKey)
{
    TfConfig& w = OpenKeys();
    Click(w.sbW);
    Click(w.sbCtrlLeft);
    Click(w.sbG);  // the game's in both layers: the selection stays on W
    EXPECT_EQ(w.selectedKey, w.sbW);
    EXPECT_TRUE(w.sbG->Grayed());
    EXPECT_TRUE(w.rbPage->Checked());
    Click(w.sbCtrlLeft);
    RightClick(w.sbG);
    EXPECT_EQ(Plain("G"), "Fixed: Odd Fixed");
    EXPECT_EQ(Ctrl("G"), "Fixed: Odd Fixed");
    EXPECT_EQ(w.sbG->Hint(), "Fixed: Odd Fixed");

    // Selected in a layer where it is free, then shown in the layer where the game keeps it: a
    // choice says so and binds nothing.
    TfConfig& other = OpenKeys(KeyboardSection() + "[Keymap Actions]\r\nACT_SNEAK=\r\n[Keymap Fixed]\r\nFIX_MENU=Ctrl-G\r\n");
    Click(other.sbG);
    Click(other.sbCtrlLeft);
    EXPECT_TRUE(other.sbG->Selected() && other.sbG->Grayed());
    Choose(other.cbActions, "Sneak");
    EXPECT_EQ(other.lKeyLine->Caption(), "The game keeps the key Ctrl+G: no function can be put on it.");
    EXPECT_EQ(Ctrl("G"), "Fixed: Game Menu");
    EXPECT_EQ(Plain("G"), "");
    EXPECT_EQ(other.cbActions->Text(), "");
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(HotKeyEditorTest, AListBindsOnlyWhatThePlayerSettlesOnAndOtherwiseShowsTheKeysOwnFunction)
{
    TfConfig& w = OpenKeys();
    w.pcConfig->SetActivePage(w.tsHotKeys);
    w.Show();
    keys::Settle();
    const std::vector<std::string> before = Layers();
    Click(w.sbCapsLock);
    Click(w.rbActions);
    w.cbActions->SetFocus();
    // Moving through the list, closed or open, binds nothing and asks nothing; Esc takes it back
    // and leaves the window open.
    for (WORD key : {VK_DOWN, VK_DOWN, VK_NEXT, VK_UP, VK_END, VK_HOME}) keys::Post(key);
    EXPECT_NE(w.cbActions->Text(), "");
    SendMessageA(w.cbActions->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    keys::Post(VK_DOWN);
    EXPECT_EQ(Layers(), before);
    keys::Post(VK_ESCAPE);
    keys::Post(VK_ESCAPE);
    EXPECT_EQ(w.cbActions->Text(), "") << "Caps is free";
    EXPECT_TRUE(w.Visible());
    // Leaving after browsing puts back the function of the key: Rest, on Q.
    Click(w.sbQ);
    w.cbActions->SetFocus();
    keys::Post(VK_DOWN);
    keys::Post(VK_TAB);
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"", "", "Rest", "", "", ""}));
    // Esc in another group's list shows the key's function in sight, and the focus goes with it.
    Click(w.rbActions);
    w.cbActions->SetFocus();
    keys::Post(VK_DOWN);
    keys::Post(VK_ESCAPE);
    EXPECT_TRUE(w.rbMiscellaneous->Checked());
    EXPECT_EQ(w.FocusedControl(), w.cbMiscellaneous);
    EXPECT_EQ(w.cbMiscellaneous->Text(), "Rest");
    EXPECT_EQ(Layers(), before);
    EXPECT_TRUE(dialogs.Boxes().empty());

    // Enter binds what the list shows, open or closed, and presses no button; so does a typed name
    // followed by Enter or Tab, and a click in the open list.
    Click(w.sbW);
    w.cbActions->SetFocus();
    Type(w.cbActions, "Sne");
    keys::Post(VK_RETURN);
    EXPECT_EQ(Plain("W"), "") << "no function is named so";
    EXPECT_EQ(w.lKeyLine->Caption(), "No function of Actions is called 'Sne'.");
    EXPECT_EQ(w.cbActions->Text(), "") << "the key's own function again";
    Type(w.cbActions, "sneak");
    EXPECT_EQ(Plain("W"), "");
    keys::Post(VK_RETURN);
    EXPECT_EQ(Plain("W"), "Actions: Sneak");
    EXPECT_EQ(w.cbActions->Text(), "Sneak") << "the item as the list spells it";
    Click(w.sbE);
    Click(w.rbPage);
    Type(w.cbPage, "map");
    keys::Post(VK_TAB);
    EXPECT_EQ(Plain("E"), "Pages: Map");
    Click(w.sbY);
    w.cbPage->SetFocus();
    SendMessageA(w.cbPage->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    dialogs.Answer(TModalResult::Yes);  // Inventory is on I
    keys::Post(VK_DOWN);
    keys::Post(VK_RETURN);
    EXPECT_EQ(Plain("Y"), "Pages: Inventory");
    Click(w.sbU);
    dialogs.Answer(TModalResult::No);
    Pick(w.cbPage, "Map");
    EXPECT_EQ(Boxes().back(), "'Pages: Map' is on 'E'. Change it?");
    EXPECT_EQ(Plain("E"), "Pages: Map");
    EXPECT_TRUE(w.Visible() && !ui::Application().Terminated()) << "Enter pressed no OK";
}

TEST_F(HotKeyEditorTest, AFunctionWithALongNameIsAskedAboutAndShownWhole)
{
    const std::string name(120, 'x');
    TfConfig& w = OpenKeys(KeyboardSection() + "[Keymap Miscellaneous]\r\nMISC_LONG=Y\r\n[Keymap Actions]\r\nACT_TALK=\r\n",
                           std::string(kTestLanguage) + "MISC_LONG=" + name + "\r\n");
    Click(w.sbY);
    EXPECT_EQ(w.cbMiscellaneous->Text(), name);
    dialogs.Answer(TModalResult::No);
    Choose(w.cbActions, "Talk");
    EXPECT_EQ(Boxes(), std::vector<std::string>{"'Y' is on 'Misc: " + name + "'. Change it?"});
    EXPECT_EQ(Plain("Y"), "Misc: " + name);
}

TEST_F(HotKeyEditorTest, EitherCtrlKeyShowsTheOtherLayerAndKeepsTheSelection)
{
    TfConfig& w = OpenKeys();
    const std::vector<std::string> before = Layers();
    Click(w.sbW);
    w.cbPage->SetText("Map");
    for (TSpeedButton* ctrl : {w.sbCtrlLeft, w.sbCtrlRight}) {
        SCOPED_TRACE(ctrl->Name());
        Click(ctrl);
        EXPECT_TRUE(w.sbCtrlLeft->Down() && w.sbCtrlRight->Down());
        EXPECT_EQ(w.shownLayer, KeyLayer::Ctrl);
        EXPECT_TRUE(w.sbT->Down());
        EXPECT_EQ(w.sbT->Hint(), "Actions: Talk");
        EXPECT_FALSE(w.sbA->Down());
        EXPECT_EQ(w.sbA->Hint(), "");
        EXPECT_EQ(w.cbPage->Text(), "");
        EXPECT_EQ(w.selectedKey, w.sbW);

        Click(ctrl);  // the same key again releases both
        EXPECT_FALSE(w.sbCtrlLeft->Down() || w.sbCtrlRight->Down());
        EXPECT_EQ(w.shownLayer, KeyLayer::Plain);
        EXPECT_TRUE(w.sbA->Down());
        EXPECT_EQ(w.sbA->Hint(), "Actions: Attack");
        EXPECT_FALSE(w.sbT->Down());
    }
    EXPECT_EQ(Layers(), before);
}

TEST_F(HotKeyEditorTest, TheKeyLineTheLayerInWordsAndTheKeysLooksTellWhatEachKeyHolds)
{
    TfConfig& w = OpenKeys();
    w.Show();
    w.pcConfig->SetActivePage(w.tsHotKeys);
    keys::Settle();
    auto look = [](TSpeedButton* key) { return SendMessageA(key->Handle(), BM_GETCHECK, 0, 0); };
    EXPECT_EQ(w.lLayer->Caption(), "Shown: the keys alone");
    MouseMove(w.sbQ);
    EXPECT_EQ(w.lKeyLine->Caption(), "Q: Misc: Rest. Ctrl+Q: Wizard: Ember Dart");
    MouseMove(w.sbEsc);
    EXPECT_EQ(w.lKeyLine->Caption(), "Esc: Fixed: Game Menu. Ctrl+Esc: Fixed: Game Menu (the game keeps this key)");
    EXPECT_EQ(look(w.sbEsc), BST_UNCHECKED);

    // The keyboard picture's focus: the line follows it from key to key.
    w.sbR->SetFocus();
    EXPECT_EQ(w.lKeyLine->Caption(), "R: free. Ctrl+R: free");
    keys::Post(VK_RIGHT);
    EXPECT_EQ(w.lKeyLine->Caption(), "T: free. Ctrl+T: Actions: Talk");

    // Bound, selected and free look apart.
    Click(w.sbW);
    EXPECT_EQ(look(w.sbQ), BST_CHECKED);
    EXPECT_EQ(look(w.sbW), BST_INDETERMINATE) << "the selected free key";
    EXPECT_EQ(look(w.sbE), BST_UNCHECKED);

    // The other layer: in words, first in the line, and the keys show it.
    Click(w.sbCtrlLeft);
    EXPECT_EQ(w.lLayer->Caption(), "Shown: the keys with Ctrl held down");
    MouseMove(w.sbQ);
    EXPECT_EQ(w.lKeyLine->Caption(), "Ctrl+Q: Wizard: Ember Dart. Q: Misc: Rest");
    EXPECT_EQ(look(w.sbA), BST_UNCHECKED);
}

TEST_F(HotKeyEditorTest, TheKeyboardActsOnTheFocusedKeyWhereverThePointerRests)
{
    TfConfig& w = OpenKeys();
    w.Show();
    w.pcConfig->SetActivePage(w.tsHotKeys);
    keys::Settle();
    // The player's pointer rests on D.
    RECT d;
    GetWindowRect(w.sbD->Handle(), &d);
    const POINT rest{(d.left + d.right) / 2, (d.top + d.bottom) / 2};
    SetCursorPos(rest.x, rest.y);
    auto moveOnD = [&] {
        POINT at = rest;
        ScreenToClient(w.sbD->Handle(), &at);
        SendMessageA(w.sbD->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    };
    moveOnD();
    ASSERT_EQ(w.lKeyLine->Caption(), "D: free. Ctrl+D: free");
    // A move read only once the pointer had crossed another key on its way is no move onto that key.
    SendMessageA(w.sbSpace->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(w.lKeyLine->Caption(), "D: free. Ctrl+D: free");

    // The keyboard takes over: the line, Space and Delete follow its focus. The system's
    // own moves where the pointer rests are no moves of the player's.
    w.sbW->SetFocus();
    keys::Post(VK_LEFT);
    EXPECT_EQ(w.lKeyLine->Caption(), "Q: Misc: Rest. Ctrl+Q: Wizard: Ember Dart");
    keys::Post(VK_SPACE);
    moveOnD();
    EXPECT_EQ(w.selectedKey, w.sbQ);
    EXPECT_EQ(w.lKeyLine->Caption(), "Q: Misc: Rest. Ctrl+Q: Wizard: Ember Dart");
    EXPECT_EQ(w.cbMiscellaneous->Text(), "Rest");
    // A free key, pressed again and again: selected, not, selected; what it looks is what it is.
    keys::Post(VK_RIGHT);
    for (bool selected : {true, false, true}) {
        keys::Post(VK_SPACE);
        moveOnD();
        EXPECT_EQ(w.selectedKey, selected ? w.sbW : nullptr);
        EXPECT_EQ(w.sbW->Selected(), selected);
        EXPECT_FALSE(w.sbW->Down());
    }
    keys::Post(VK_RIGHT);
    keys::Post(VK_SPACE);
    EXPECT_EQ(w.selectedKey, w.sbE);
    keys::Post(VK_LEFT);
    keys::Post(VK_LEFT);
    EXPECT_TRUE(w.sbQ->Focused());
    dialogs.Answer(TModalResult::Yes);
    keys::Post(VK_DELETE);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"'Q' is on 'Misc: Rest'. Change it?"});
    EXPECT_EQ(Plain("Q"), "");
    EXPECT_EQ(Plain("D"), "");
}

TEST_F(HotKeyEditorTest, TheLineTellsForEachKindOfKeyWhatItHoldsAndWhetherTheGameKeepsIt)
{
    TfConfig& w = OpenKeys(KeyboardSection() +
                           "[Keymap Page]\r\nPAGE_INV=Esc\r\nPAGE_MAP=B\r\nPAGE_NONAME=B\r\n"
                           "[Keymap Actions]\r\nACT_ATTACK=F5\r\nACT_TALK=A\r\n[Keymap Fixed]\r\nFIX_MENU=G\r\n");
    w.Show();
    w.pcConfig->SetActivePage(w.tsHotKeys);
    keys::Settle();
    const std::pair<TSpeedButton*, const char*> rows[] = {
        {w.sbEsc, "Esc: free. Ctrl+Esc: free (the game keeps this key)"},  // no key for the player's Inventory
        {w.sbB, "B: Pages: PAGE_NONAME (the file also gives this key to 'Pages: Map'). Ctrl+B: free"},
        {w.sbF5, "F5: Actions: Attack (choose this function for another key to move it). Ctrl+F5: free (the game keeps this key)"},
        {w.sbG, "G: Fixed: Game Menu. Ctrl+G: Fixed: Game Menu (the game keeps this key)"},
        {w.sbA, "A: Actions: Talk. Ctrl+A: free"},
        {w.sbAltLeft, "Left Alt: free. Ctrl+Left Alt: free (the game keeps this key)"},
        {w.sbWindowRight, "Right Win: free. Ctrl+Right Win: free (the game keeps this key)"},
        {w.sbCtrlLeft, "Left Ctrl: press it to see what the keys do with Ctrl held down"},
    };
    for (const auto& [key, line] : rows) {
        key->SetFocus();
        EXPECT_EQ(w.lKeyLine->Caption(), line) << key->Name();
    }
    keys::Post(VK_SPACE);  // on the left Ctrl key
    EXPECT_EQ(w.lKeyLine->Caption(), "Left Ctrl: press it to see what the keys do alone");
    w.sbCtrlRight->SetFocus();
    EXPECT_EQ(w.lKeyLine->Caption(), "Right Ctrl: press it to see what the keys do alone");
}

TEST_F(HotKeyEditorTest, TheLanguageFilesQuestionsNameWhatYesDoes)
{
    TfConfig& w = OpenKeys(KeyboardSection() + kTestKeymapGroups,
                           std::string(kTestLanguage) +
                               "msgRemoveHotKey=Remove '{old}' from {key}?\r\n"
                               "msgReplaceHotKey={key} does '{old}'. Put '{new}' ({group}) there?\r\n"
                               "msgMoveHotKey='{new}' is on {from}. Move it to {key}?\r\n"
                               "txtCtrlKey=Strg+{key}\r\n");
    Click(w.sbCtrlLeft);
    Click(w.sbQ);
    for (int i = 0; i < 3; ++i) dialogs.Answer(TModalResult::Yes);
    Choose(w.cbActions, "Sneak");
    Click(w.sbW);
    Choose(w.cbActions, "Talk");
    RightClick(w.sbW);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Strg+Q does 'Wizard: Ember Dart'. Put 'Actions: Sneak' (Actions) there?",
                                                 "'Actions: Talk' is on Strg+T. Move it to Strg+W?",
                                                 "Remove 'Actions: Talk' from Strg+W?"}));
    EXPECT_EQ(Ctrl("Q"), "Actions: Sneak");
    EXPECT_EQ(Ctrl("T"), "");
    EXPECT_EQ(Ctrl("W"), "");
}

// In Shift-JIS the second byte of "\x83{" (a katakana) is the byte of "{": no placeholder begins there.
TEST_F(HotKeyEditorTest, PlaceholdersAreFoundBetweenWholeCharactersOfTheSystemCodePage)
{
    struct Row {
        unsigned codePage;
        const char *question, *asked;
    };
    const Row rows[] = {
        {1252, "Remove '{old}' from {key}?", "Remove 'Misc: Rest' from Q?"},
        // "Button {key}: take off '{old}'?", beginning with a katakana whose second byte is "{".
        {932, "\x83{\x83^\x83\x93{key}\x82\xA9\x82\xE7\x81u{old}\x81v\x82\xF0\x8AO\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81H",
         "\x83{\x83^\x83\x93Q\x82\xA9\x82\xE7\x81uMisc: Rest\x81v\x82\xF0\x8AO\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81H"},
        {1251, "\xD1\xED\xFF\xF2\xFC '{old}' \xF1 \xEA\xEB\xE0\xE2\xE8\xF8\xE8 {key}?",
         "\xD1\xED\xFF\xF2\xFC 'Misc: Rest' \xF1 \xEA\xEB\xE0\xE2\xE8\xF8\xE8 Q?"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("code page " + std::to_string(row.codePage));
        ScopedCodePage codePage(row.codePage);
        TfConfig& w = OpenKeys(KeyboardSection() + kTestKeymapGroups,
                               std::string(kTestLanguage) + "msgRemoveHotKey=" + row.question + "\r\n");
        dialogs.Answer(TModalResult::No);
        RightClick(w.sbQ);
        EXPECT_EQ(Boxes(), std::vector<std::string>{row.asked});
        dialogs.Clear();
        Close();
    }
}
