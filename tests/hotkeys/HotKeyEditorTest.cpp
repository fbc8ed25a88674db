// The keyboard editor: selecting keys, choosing functions, the three questions, the Ctrl layer.
// Keys are clicked with real button messages; choices are made through the lists' component layer
// (Choose) or as the user makes them (Pick: CBN_SELCHANGE, Type: characters typed into the list).
#include <windows.h>

#include "tests/hotkeys/HotKeysTest.h"

using namespace ui;

class HotKeyEditorTest : public HotKeysTest {
protected:
    std::string& Plain(const char* key) { return window->plainAssignments[Position(key)]; }
    std::string& Ctrl(const char* key) { return window->ctrlAssignments[Position(key)]; }
    std::size_t Position(const char* key) const { return static_cast<std::size_t>(window->KeyNamed(key)); }
    // Every binding of both layers, to see that nothing changed.
    std::vector<std::string> Layers() const
    {
        std::vector<std::string> all = window->plainAssignments;
        all.insert(all.end(), window->ctrlAssignments.begin(), window->ctrlAssignments.end());
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
    };
    const Row rows[] = {
        {"Q", &TfConfig::rbMiscellaneous, {none, none, "Rest", none, none, none}},
        {"I", &TfConfig::rbPage, {"Inventory", none, none, none, none, none}},
        {"N", &TfConfig::rbWizardSpells, {none, none, none, none, "Odd Spell", none}},
        {"M", &TfConfig::rbPage, std::vector<std::string>(6)},  // a function without display name
        // The user picks Actions; a fixed function and a free key leave the visible group as it is.
        {"G", &TfConfig::rbActions, std::vector<std::string>(6)},
        {"W", &TfConfig::rbActions, std::vector<std::string>(6)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        if (std::string(row.key) == "G") Click(w.rbActions);
        TSpeedButton* key = Key(row.key);
        Click(key);
        EXPECT_EQ(w.selectedKey, key);
        EXPECT_EQ(w.selectedPosition, w.KeyNamed(row.key));
        EXPECT_TRUE(key->Down());
        EXPECT_EQ(key->AllowAllUp(), key->Hint().empty()) << "a bound key stays pressed when clicked again";
        EXPECT_TRUE((w.*row.checked)->Checked());
        EXPECT_EQ(w.shownList, w.groupLists[static_cast<std::size_t>((w.*row.checked)->Tag)]);
        EXPECT_TRUE(w.shownList->Visible());
        EXPECT_EQ(ListTexts(), row.texts);
        EXPECT_EQ(w.cbFixed->Text(), "");
    }
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(HotKeyEditorTest, AFreeKeyTogglesWhenClickedAgainAndIsReleasedWhenAnotherKeyIsClicked)
{
    TfConfig& w = OpenKeys();
    MouseMove(w.sbW);
    Click(w.sbW);
    EXPECT_TRUE(w.sbW->Down());
    MouseMove(w.sbW);  // over the key as it is now: pressed
    Click(w.sbW);
    EXPECT_FALSE(w.sbW->Down());
    Click(w.sbW);
    EXPECT_TRUE(w.sbW->Down());
    Click(w.sbE);
    EXPECT_FALSE(w.sbW->Down()) << "the free key clicked before comes up";
    EXPECT_TRUE(w.sbE->Down());
    Click(w.sbQ);
    EXPECT_FALSE(w.sbE->Down());
    Click(w.sbA);
    EXPECT_TRUE(w.sbQ->Down()) << "a bound key stays pressed";
}

TEST_F(HotKeyEditorTest, ChoicesWithoutASelectedKeyAreIgnoredAndDisabledKeysLeaveTheSelection)
{
    TfConfig& w = OpenKeys();
    const std::vector<std::string> before = Layers();
    Choose(w.cbActions, "Sneak");  // nothing clicked since the start
    EXPECT_EQ(Layers(), before);

    Click(w.sbW);
    w.cbPage->SetText("Map");
    for (TSpeedButton* disabled : {w.sbSpace, w.sbF3, w.sb1}) {
        Click(disabled);
        EXPECT_TRUE(disabled->Down()) << disabled->Name();
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
        if (row.confirm) dialogs.Answer(row.answer);
        Choose(w.cbActions, "Sneak");
        EXPECT_EQ(Boxes(), row.confirm ? std::vector<std::string>{"'Q' is on 'Misc: Rest'. Change it?"}
                                       : std::vector<std::string>{});
        EXPECT_EQ(Plain("Q"), row.after);
        EXPECT_EQ(w.sbQ->Hint(), row.after);
        EXPECT_TRUE(w.sbQ->Down());
        const bool replaced = row.answer != TModalResult::No;
        EXPECT_EQ(ListTexts(), (std::vector<std::string>{"", replaced ? "Sneak" : "", replaced ? "" : "Rest", "", "", ""}));
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

    // A key whose Ctrl layer holds another group's function of the same name: the plain binding moves.
    Ctrl("A") = "Misc: Attack";
    Click(w.sbR);
    dialogs.Answer(TModalResult::Yes);
    Choose(w.cbActions, "Attack");
    EXPECT_EQ(Boxes().back(), "'Actions: Attack' is on 'A'. Change it?");
    EXPECT_EQ(Plain("A"), "");
    EXPECT_EQ(Ctrl("A"), "Misc: Attack");
    EXPECT_FALSE(w.sbA->Down());
    EXPECT_EQ(Plain("R"), "Actions: Attack");
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
    Click(w.sbW);  // a free key, pressed by its selection
    const std::vector<std::string> before = Layers();
    for (TSpeedButton* key : {w.sbW, w.sbE, w.sbT, w.sbSpace, w.sbEsc, w.sbG}) RightClick(key);
    EXPECT_EQ(Layers(), before);
    EXPECT_TRUE(w.sbG->Down());
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
    Click(w.sbG);
    EXPECT_EQ(ListTexts(), std::vector<std::string>(6));
    EXPECT_TRUE(w.rbPage->Checked());
    Choose(w.cbActions, "Sneak");
    Pick(w.cbPage, "Map");
    EXPECT_EQ(Plain("G"), "Fixed: Odd Fixed");
    EXPECT_EQ(w.sbG->Hint(), "Fixed: Odd Fixed");
    EXPECT_EQ(w.cbActions->Text(), "");
    EXPECT_EQ(w.cbPage->Text(), "");
    for (const std::string& binding : w.plainAssignments) EXPECT_NE(binding, "Actions: Sneak");
    RightClick(w.sbG);
    EXPECT_EQ(Plain("G"), "Fixed: Odd Fixed");
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(HotKeyEditorTest, TypedTextBindsOnlyOnceItNamesAFunctionOfTheList)
{
    TfConfig& w = OpenKeys();
    Click(w.sbW);
    Click(w.rbActions);
    for (const char* typed : {"Sne", "Snack", "xyz"}) {
        Type(w.cbActions, typed);
        EXPECT_EQ(w.cbActions->Text(), typed);
        EXPECT_EQ(Plain("W"), "") << typed;
    }
    Type(w.cbActions, "sneak");
    EXPECT_EQ(Plain("W"), "Actions: Sneak");
    EXPECT_EQ(w.cbActions->Text(), "Sneak") << "the item as the list spells it";
    EXPECT_TRUE(dialogs.Boxes().empty());
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
        EXPECT_EQ(w.shownAssignments, &w.ctrlAssignments);
        EXPECT_TRUE(w.sbT->Down());
        EXPECT_EQ(w.sbT->Hint(), "Actions: Talk");
        EXPECT_FALSE(w.sbA->Down());
        EXPECT_EQ(w.sbA->Hint(), "");
        EXPECT_EQ(w.cbPage->Text(), "");
        EXPECT_EQ(w.selectedKey, w.sbW);

        Click(ctrl);  // the same key again releases both
        EXPECT_FALSE(w.sbCtrlLeft->Down() || w.sbCtrlRight->Down());
        EXPECT_EQ(w.shownAssignments, &w.plainAssignments);
        EXPECT_TRUE(w.sbA->Down());
        EXPECT_EQ(w.sbA->Hint(), "Actions: Attack");
        EXPECT_FALSE(w.sbT->Down());
    }
    EXPECT_EQ(Layers(), before);
}
