// Binding functions to keys on the Hot Keys page.
#include <algorithm>

#include "app/Main.h"
#include "hotkeys/KeyMap.h"
#include "lang/LanguageIndex.h"

using namespace ui;

namespace {

constexpr const char* kCtrlLayer = "Ctrl-";

// The item of a list that a text names: the item spelt exactly so, else the first that equals it
// ignoring case; empty when none does.
std::string ItemNamed(const TComboBox& list, const std::string& text)
{
    if (list.IndexOf(text) >= 0) return text;
    for (const std::string& item : list.Items())
        if (SameTextIgnoringCase(item, text)) return item;
    return {};
}

}  // namespace

void TfConfig::sbDummyClick(TObject* sender)
{
    auto* key = static_cast<TSpeedButton*>(sender);
    const int position = KeyPositionOf(key);
    // A key past the last name of the key map has nothing to bind: it answers as a disabled key.
    if (position < 0 || position >= static_cast<int>(shownAssignments->size())) {
        sbDisabledButtonClick(sender);
        return;
    }
    previousKey = selectedKey;
    selectedKey = key;
    selectedPosition = position;
    const std::string assignment = (*shownAssignments)[static_cast<std::size_t>(position)];

    if (key->Hint().empty()) {
        for (TComboBox* list : groupLists) list->SetText("");
    } else {
        key->SetDown(true);
        key->SetAllowAllUp(false);
    }
    if (key == previousKey && key->Hint().empty()) {
        // The same free key clicked again: it toggles.
        key->SetAllowAllUp(true);
        key->SetDown(!pressedAtHover);
        pressedAtHover = !pressedAtHover;
    } else if (previousKey && previousKey != key && previousKey->Hint().empty()) {
        previousKey->SetAllowAllUp(true);
        previousKey->SetDown(false);
    }
    // A free key leaves the visible group as it was.
    if (assignment.empty()) return;

    // The key's function is shown as the choice of its group, whose list becomes the visible one.
    // A fixed function is no choice: it shows in no list and checks no radio button.
    const int group = GroupOf(assignment);
    const bool choosable = group >= 0 && group < static_cast<int>(groupRadios.size());
    for (std::size_t i = 0; i < groupLists.size(); ++i)
        groupLists[i]->SetText(choosable && static_cast<int>(i) == group ? AssignmentFunction(assignment) : "");
    if (!choosable) return;
    selectedGroup = group;
    groupRadios[static_cast<std::size_t>(selectedGroup)]->SetChecked(true);
}

void TfConfig::sbDummyMouseMove(TObject* sender, TShiftState, int, int)
{
    pressedAtHover = static_cast<TSpeedButton*>(sender)->Down();
}

void TfConfig::sbDummyMouseUp(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button != TMouseButton::Right) return;
    auto* key = static_cast<TSpeedButton*>(sender);
    const int position = KeyPositionOf(key);
    if (position < 0 || position >= static_cast<int>(shownAssignments->size())) return;
    if (std::find(disabledKeys.begin(), disabledKeys.end(), key) != disabledKeys.end() || !key->Down()) return;
    std::string& assignment = (*shownAssignments)[static_cast<std::size_t>(position)];
    // Only a binding the keyboard shows can be removed, and a fixed function keeps its key.
    if (assignment.empty() || GroupOf(assignment) == static_cast<int>(kFixedGroup)) return;

    if (cbConfirmDeletions->Checked()) {
        const std::string layer = shownAssignments == &ctrlAssignments ? kCtrlLayer : "";
        const std::string question = "'" + layer + keyNames[static_cast<std::size_t>(position)] + msgAssigned +
                                     assignment + msgReassign;
        if (MessageDlg(question, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) return;
    }
    for (TComboBox* list : groupLists)
        if (!list->Text().empty()) list->SetText("");
    assignment.clear();
    key->SetHint("");
    key->SetAllowAllUp(true);
    key->SetDown(false);
}

void TfConfig::sbDisabledButtonClick(TObject* sender)
{
    static_cast<TSpeedButton*>(sender)->SetDown(true);
    if (shownList) shownList->SetText("");
}

void TfConfig::DisabledMouseDown(TObject*, TMouseButton, TShiftState, int, int) {}

void TfConfig::sbCtrlClick(TObject* sender)
{
    // Both Ctrl keys show the layer, and either releases it again.
    const bool ctrlLayer = static_cast<TSpeedButton*>(sender)->Down();
    for (TSpeedButton* ctrl : {sbCtrlLeft, sbCtrlRight}) {
        ctrl->SetAllowAllUp(true);
        ctrl->SetDown(ctrlLayer);
    }
    shownAssignments = ctrlLayer ? &ctrlAssignments : &plainAssignments;
    RefreshKeyboard();
}

void TfConfig::rgHotKeyGroupsClick(TObject* sender)
{
    shownList->SetVisible(false);
    shownList = groupLists.at(static_cast<std::size_t>(static_cast<TComponent*>(sender)->Tag));
    shownList->SetVisible(true);
}

void TfConfig::ConfigureHotkeys(TObject* sender)
{
    auto* chosen = static_cast<TComboBox*>(sender);
    const auto position = static_cast<std::size_t>(selectedPosition);
    if (chosen->Text().empty() || selectedPosition <= 0 || position >= shownAssignments->size()) return;
    // Only a function of the list binds; typed text once it names one, which it then shows as spelt.
    const std::string function = ItemNamed(*chosen, chosen->Text());
    if (function.empty()) return;
    if (chosen->Text() != function) chosen->SetText(function);
    // A fixed function keeps its key.
    if (GroupOf((*shownAssignments)[position]) == static_cast<int>(kFixedGroup)) {
        chosen->SetText("");
        return;
    }
    const std::string layer = shownAssignments == &ctrlAssignments ? kCtrlLayer : "";

    // The key holds a function of another group: that one gives way.
    for (TComboBox* other : groupLists) {
        if (other == chosen || other->Text().empty()) continue;
        if (cbConfirmKey->Checked() && other->IndexOf(other->Text()) >= 0) {
            const std::string question = "'" + layer + keyNames[position] + msgAssigned + other->Hint() + ": " +
                                         other->Text() + msgReassign;
            if (MessageDlg(question, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) {
                chosen->SetText("");
                if (selectedKey) selectedKey->SetDown(true);
                return;
            }
        }
        other->SetText("");
    }

    // The function leaves any key that holds it, in either layer.
    const std::string binding = chosen->Hint() + ": " + function;
    for (std::size_t p = 0; p < plainAssignments.size(); ++p) {
        const bool inCtrl = ctrlAssignments[p] == binding;
        if (!inCtrl && plainAssignments[p] != binding) continue;
        std::vector<std::string>& found = inCtrl ? ctrlAssignments : plainAssignments;
        if (cbConfirmSpell->Checked()) {
            const std::string question =
                "'" + binding + msgAssigned + (inCtrl ? kCtrlLayer : "") + keyNames[p] + msgReassign;
            if (MessageDlg(question, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) {
                if (&found == shownAssignments) {
                    keyButtons[p]->SetAllowAllUp(true);
                    keyButtons[p]->SetDown(true);
                }
                chosen->SetText("");
                return;
            }
        }
        found[p].clear();
        ShowKey(p);
    }

    if (!selectedKey) return;
    (*shownAssignments)[position] = binding;
    selectedKey->SetHint(binding);
    selectedKey->SetDown(true);
}
