// Binding functions to keys on the Hot Keys page.
#include <algorithm>
#include <utility>

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

// A text of the language file with its placeholders ("{key}") replaced by their values, in one
// pass, so that a value holding braces is taken as it stands; an unknown placeholder stays.
std::string FillIn(const std::string& text, std::initializer_list<std::pair<const char*, std::string>> values)
{
    std::string filled;
    std::size_t at = 0;
    for (std::size_t open = FindChar(text, '{'); open != std::string::npos; open = FindChar(text, '{', at)) {
        const std::size_t close = FindChar(text, '}', open);
        if (close == std::string::npos) break;
        const std::string name = text.substr(open + 1, close - open - 1);
        auto value = std::find_if(values.begin(), values.end(), [&](const auto& v) { return name == v.first; });
        filled += text.substr(at, open - at);
        filled += value != values.end() ? value->second : text.substr(open, close - open + 1);
        at = close + 1;
    }
    return filled + text.substr(at);
}

}  // namespace

// --- What the page says about the keys

std::string TfConfig::KeyLabel(std::size_t position, bool ctrl) const
{
    const std::string caption = KeyCaption(keyNames[position]);
    return ctrl ? FillIn(LanguageTextOr("txtCtrlKey", "Ctrl+{key}"), {{"key", caption}}) : caption;
}

void TfConfig::ShowKeyLine(int position)
{
    keyLinePosition_ = position;
    if (position < 0 || position >= static_cast<int>(keyNames.size())) {
        lKeyLine->SetCaption(LanguageTextOr("txtKeyLineHelp", "Point at a key, or move to it with the arrow keys, "
                                                              "to see what it does."));
        return;
    }
    const auto p = static_cast<std::size_t>(position);
    const std::string free = LanguageTextOr("txtKeyFree", "free");
    auto part = [&](bool ctrl) {
        const std::string& bound = (ctrl ? ctrlAssignments : plainAssignments)[p];
        return KeyLabel(p, ctrl) + ": " + (bound.empty() ? free : bound);
    };
    const bool ctrlShown = shownAssignments == &ctrlAssignments;
    std::string line = part(ctrlShown) + ". " + part(!ctrlShown);
    if (std::find(disabledKeys.begin(), disabledKeys.end(), keyButtons[p]) != disabledKeys.end())
        line += " (" + LanguageTextOr("txtKeyKept", "the game keeps this key") + ")";
    lKeyLine->SetCaption(line);
}

void TfConfig::ShowKeyState()
{
    // A pressed key without a function is the selected free key: framed, so that it does not
    // pass for a bound one.
    for (TSpeedButton* key : assignableKeys) key->SetOutlined(key->Hint().empty());
    lLayer->SetCaption(shownAssignments == &ctrlAssignments
                           ? LanguageTextOr("txtLayerCtrl", "Shown: the keys with Ctrl held down")
                           : LanguageTextOr("txtLayerPlain", "Shown: the keys alone"));
    ShowKeyLine(keyLinePosition_);
}

void TfConfig::ShowSelectedKeyFunction()
{
    const std::string assignment =
        selectedKey && selectedPosition > 0 && static_cast<std::size_t>(selectedPosition) < shownAssignments->size()
            ? (*shownAssignments)[static_cast<std::size_t>(selectedPosition)]
            : std::string();
    const int group = assignment.empty() ? -1 : GroupOf(assignment);
    // A fixed function is no choice: it shows in no list.
    for (std::size_t i = 0; i < groupLists.size(); ++i)
        groupLists[i]->SetText(static_cast<int>(i) == group && i != kFixedGroup ? AssignmentFunction(assignment) : "");
}

// --- Handlers

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

    if (!key->Hint().empty()) {
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
    // The key's function is shown as the choice of its group, whose list becomes the visible one.
    // A free key leaves the visible group as it was; a fixed function checks no radio button.
    ShowSelectedKeyFunction();
    keyLinePosition_ = position;
    ShowKeyState();
    const int group = assignment.empty() ? -1 : GroupOf(assignment);
    if (group < 0 || group >= static_cast<int>(groupRadios.size())) return;
    selectedGroup = group;
    groupRadios[static_cast<std::size_t>(selectedGroup)]->SetChecked(true);
}

void TfConfig::sbDummyMouseMove(TObject* sender, TShiftState, int, int)
{
    pressedAtHover = static_cast<TSpeedButton*>(sender)->Down();
    if (const int position = KeyPositionOf(sender); position != keyLinePosition_) ShowKeyLine(position);
}

void TfConfig::sbDummyEnter(TObject* sender) { ShowKeyLine(KeyPositionOf(sender)); }

void TfConfig::sbDummyMouseUp(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button != TMouseButton::Right) return;
    auto* key = static_cast<TSpeedButton*>(sender);
    const int position = KeyPositionOf(key);
    if (position < 0 || position >= static_cast<int>(shownAssignments->size())) return;
    if (std::find(disabledKeys.begin(), disabledKeys.end(), key) != disabledKeys.end() || !key->Down()) return;
    const auto p = static_cast<std::size_t>(position);
    std::string& assignment = (*shownAssignments)[p];
    // Only a binding the keyboard shows can be removed, and a fixed function keeps its key.
    if (assignment.empty() || GroupOf(assignment) == static_cast<int>(kFixedGroup)) return;

    if (cbConfirmDeletions->Checked()) {
        const bool ctrl = shownAssignments == &ctrlAssignments;
        const std::string composed = "'" + std::string(ctrl ? kCtrlLayer : "") + keyNames[p] + msgAssigned +
                                     assignment + msgReassign;
        const std::string question = FillIn(LanguageTextOr("msgRemoveHotKey", composed),
                                            {{"key", KeyLabel(p, ctrl)}, {"old", assignment}});
        if (MessageDlg(question, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) return;
    }
    for (TComboBox* list : groupLists)
        if (!list->Text().empty()) list->SetText("");
    assignment.clear();
    key->SetHint("");
    key->SetAllowAllUp(true);
    key->SetDown(false);
    ShowKeyState();
}

void TfConfig::sbDisabledButtonClick(TObject*)
{
    // The key stays as it looks: not for the player's functions.
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
    lFunction->FocusControl = shownList;
}

void TfConfig::HotkeyListExit(TObject*) { ShowSelectedKeyFunction(); }

void TfConfig::ConfigureHotkeys(TObject* sender)
{
    auto* chosen = static_cast<TComboBox*>(sender);
    const auto position = static_cast<std::size_t>(selectedPosition);
    if (chosen->Text().empty() || selectedPosition <= 0 || position >= shownAssignments->size()) return;
    // Only a function of the list binds; typed text once it names one, which it then shows as spelt.
    const std::string function = ItemNamed(*chosen, chosen->Text());
    if (function.empty()) return;
    if (chosen->Text() != function) chosen->SetText(function);
    const std::string held = (*shownAssignments)[position];
    const int heldGroup = held.empty() ? -1 : GroupOf(held);
    // A fixed function keeps its key.
    if (heldGroup == static_cast<int>(kFixedGroup)) {
        chosen->SetText("");
        return;
    }
    const bool ctrlShown = shownAssignments == &ctrlAssignments;
    const std::string binding = chosen->Hint() + ": " + function;
    auto ask = [this](const char* entry, const std::string& composed,
                      std::initializer_list<std::pair<const char*, std::string>> values) {
        const std::string question = FillIn(LanguageTextOr(entry, composed), values);
        return MessageDlg(question, TMsgDlgType::Question, TMsgDlgButtons::YesNo) == TModalResult::Yes;
    };

    // The key holds a function of another group: that one gives way. What the key holds is read from
    // the key map, not from the lists, which may show it cut or not at all.
    const auto chosenGroup = std::find(groupLists.begin(), groupLists.end(), chosen) - groupLists.begin();
    if (heldGroup >= 0 && heldGroup != chosenGroup) {
        TComboBox* other = groupLists[static_cast<std::size_t>(heldGroup)];
        if (cbConfirmKey->Checked()) {
            const std::string composed = "'" + std::string(ctrlShown ? kCtrlLayer : "") + keyNames[position] +
                                         msgAssigned + held + msgReassign;
            if (!ask("msgReplaceHotKey", composed,
                     {{"key", KeyLabel(position, ctrlShown)}, {"old", held}, {"new", binding},
                      {"group", chosen->Hint()}})) {
                chosen->SetText("");
                if (selectedKey) selectedKey->SetDown(true);
                return;
            }
        }
        other->SetText("");
    }

    // The function leaves any key that holds it, in either layer.
    for (std::size_t p = 0; p < plainAssignments.size(); ++p) {
        const bool inCtrl = ctrlAssignments[p] == binding;
        if (!inCtrl && plainAssignments[p] != binding) continue;
        std::vector<std::string>& found = inCtrl ? ctrlAssignments : plainAssignments;
        if (cbConfirmSpell->Checked()) {
            const std::string composed =
                "'" + binding + msgAssigned + (inCtrl ? kCtrlLayer : "") + keyNames[p] + msgReassign;
            if (!ask("msgMoveHotKey", composed,
                     {{"from", KeyLabel(p, inCtrl)}, {"key", KeyLabel(position, ctrlShown)}, {"new", binding},
                      {"old", held}, {"group", chosen->Hint()}})) {
                if (&found == shownAssignments) {
                    keyButtons[p]->SetAllowAllUp(true);
                    keyButtons[p]->SetDown(true);
                }
                chosen->SetText("");
                ShowKeyState();
                return;
            }
        }
        found[p].clear();
        ShowKey(p);
    }

    if (selectedKey) {
        (*shownAssignments)[position] = binding;
        selectedKey->SetHint(binding);
        selectedKey->SetDown(true);
        ForgetStoredValue(*chosen, function);
    }
    ShowKeyState();
}
