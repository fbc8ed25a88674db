// Binding functions to keys on the Hot Keys page.
#include <windows.h>  // the virtual key codes of the keys left to the keyboard's navigation

#include <algorithm>
#include <utility>

#include "app/Main.h"
#include "hotkeys/KeyMap.h"
#include "lang/LanguageIndex.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

constexpr const char* kCtrlLayer = "Ctrl-";

KeyLayer OtherLayer(KeyLayer layer) { return layer == KeyLayer::Ctrl ? KeyLayer::Plain : KeyLayer::Ctrl; }

// The item of a list that a text names: the item spelt exactly so, else the first that equals it
// ignoring case; empty when none does.
std::string ItemNamed(const TComboBox& list, const std::string& text)
{
    if (list.IndexOf(text) >= 0) return text;
    for (const std::string& item : list.Items())
        if (SameTextIgnoringCase(item, text)) return item;
    return {};
}

// An access key's mark doubled, so that a text stands as it is in a caption.
std::string AsCaptionText(const std::string& text)
{
    std::string caption;
    for (std::size_t at = 0, size = 0; at < text.size(); at += size) {
        size = CharSize(text, at);
        if (size == 1 && text[at] == '&') caption += '&';
        caption += text.substr(at, size);
    }
    return caption;
}

}  // namespace

// --- What the page says about the keys

std::string TfConfig::KeyLabel(const TSpeedButton* key, KeyLayer layer) const
{
    // Keys of one caption (the two Alt keys, the two Ctrl keys) are told apart by their side.
    std::string name = key->Caption();
    int left = 0, right = 0;
    auto count = [&](const TSpeedButton* other) {
        if (other == key || other->Caption() != key->Caption()) return;
        (other->Left() < key->Left() ? left : right) += 1;
    };
    for (const TSpeedButton* other : keyButtons) count(other);
    for (const TSpeedButton* other : {sbCtrlLeft, sbCtrlRight}) count(other);
    if (left + right > 0)
        name = FillIn(LanguageTextOr(left == 0 ? "txtLeftKey" : "txtRightKey", left == 0 ? "Left {key}" : "Right {key}"),
                      {{"key", name}});
    if (layer == KeyLayer::Ctrl) name = FillIn(LanguageTextOr("txtCtrlKey", "Ctrl+{key}"), {{"key", name}});
    return name;
}

const TSpeedButton* TfConfig::KeyOfTheLine() const
{
    if (pointedKey_) return pointedKey_;
    if (auto* focused = dynamic_cast<const TSpeedButton*>(FocusedControl()); focused && focused->Parent() == gbKeyboard)
        return focused;
    return selectedKey;
}

void TfConfig::ShowKeyLine(const TSpeedButton* key)
{
    const int position = key ? KeyPositionOf(key) : -1;
    if (key && (key == sbCtrlLeft || key == sbCtrlRight)) {
        lKeyLine->SetCaption(FillIn(
            shownLayer == KeyLayer::Ctrl
                ? LanguageTextOr("txtCtrlKeyShowsPlain", "{key}: press it to see what the keys do alone")
                : LanguageTextOr("txtCtrlKeyShowsCtrl", "{key}: press it to see what the keys do with Ctrl held down"),
            {{"key", KeyLabel(key, KeyLayer::Plain)}}));
        return;
    }
    if (position < 0 || static_cast<std::size_t>(position) >= keyMap.KeyCount()) {
        lKeyLine->SetCaption(LanguageTextOr("txtKeyLineHelp", "Point at a key, or move to it with the arrow keys, "
                                                              "to see what it does."));
        return;
    }
    const auto p = static_cast<std::size_t>(position);
    const std::string kept = " (" + LanguageTextOr("txtKeyKept", "the game keeps this key") + ")";
    // What the key holds in a layer, and whether the game keeps it there: a key the player may not
    // assign, unless it holds one of the player's functions, and a key holding a fixed function.
    auto part = [&](KeyLayer layer, bool& gameKeeps) {
        const FunctionRef held = keyMap.At({layer, p});
        const bool players = held && keyMap.GroupAt(static_cast<std::size_t>(held.group)).editable;
        std::string text = KeyLabel(p, layer) + ": " + (held ? keyMap.Text(held) : LanguageTextOr("txtKeyFree", "free"));
        gameKeeps = held ? !players : !keyMap.Assignable(p);
        if (players && !keyMap.Assignable(p))
            text += " (" + LanguageTextOr("txtKeyMoveOnly", "choose this function for another key to move it") + ")";
        std::string others;
        for (FunctionRef other : keyMap.AlsoGiven({layer, p})) others += (others.empty() ? "'" : ", '") + keyMap.Text(other) + "'";
        if (!others.empty())
            text += " (" + FillIn(LanguageTextOr("txtKeyAlsoGiven", "the file also gives this key to {functions}"),
                                  {{"functions", others}}) + ")";
        return text;
    };
    bool shownKept = false, otherKept = false;
    std::string shown = part(shownLayer, shownKept), other = part(OtherLayer(shownLayer), otherKept);
    if (shownKept && otherKept) {
        lKeyLine->SetCaption(shown + ". " + other + kept);
        return;
    }
    lKeyLine->SetCaption(shown + (shownKept ? kept : "") + ". " + other + (otherKept ? kept : ""));
}

void TfConfig::ShowKey(std::size_t n)
{
    TSpeedButton* key = keyButtons[n];
    const KeyRef ref{shownLayer, n};
    const bool named = n < keyMap.KeyCount();
    const FunctionRef held = named ? keyMap.At(ref) : FunctionRef{};
    // Not the player's in this layer: grayed, whatever it holds; a key past the last name has nothing to bind.
    const bool players = named && keyMap.Assignable(n) && keyMap.Changeable(ref);
    key->SetHint(named ? keyMap.Assignment(ref) : std::string());
    key->SetGrayed(!players);
    key->SetAllowAllUp(true);
    key->SetDown(held && players);
    key->SetSelected(key == selectedKey);
}

void TfConfig::ShowKeyState()
{
    lLayer->SetCaption(shownLayer == KeyLayer::Ctrl ? LanguageTextOr("txtLayerCtrl", "Shown: the keys with Ctrl held down")
                                                    : LanguageTextOr("txtLayerPlain", "Shown: the keys alone"));
    lFunction->SetCaption(pendingFunction_ ? LanguageTextOr("txtFunctionForNextKey", "&Function for the key chosen next")
                          : selectedKey    ? FillIn(LanguageTextOr("txtFunctionFor", "&Function for {key}"),
                                                    {{"key", AsCaptionText(KeyLabel(selectedKey, shownLayer))}})
                                           : functionCaption_);
    ShowKeyLine(KeyOfTheLine());
}

void TfConfig::ShowSelectedKeyFunction(bool bringForward)
{
    const FunctionRef held = pendingFunction_ ? pendingFunction_ : selectedKey ? keyMap.At(SelectedKeyRef()) : FunctionRef{};
    // A fixed function, or a nameless entry, is no choice: it shows in no list.
    const std::string function = held ? keyMap.FunctionAt(held).name : std::string();
    for (std::size_t i = 0; i < groupLists.size(); ++i)
        groupLists[i]->SetText(held && static_cast<int>(i) == held.group && i != kFixedGroup ? function : "");
    // The list in sight shows it: its group comes forward, and the focus, on a list now out of sight,
    // goes with it.
    if (!bringForward || !held || static_cast<std::size_t>(held.group) >= groupRadios.size() ||
        groupLists[static_cast<std::size_t>(held.group)] == shownList)
        return;
    const bool inList = FocusedControl() == shownList;
    selectedGroup = held.group;
    groupRadios[static_cast<std::size_t>(selectedGroup)]->SetChecked(true);
    if (inList) MoveFocus(shownList);
}

// --- Handlers

void TfConfig::sbDummyClick(TObject* sender)
{
    auto* key = static_cast<TSpeedButton*>(sender);
    const int position = KeyPositionOf(key);
    // A key past the last name of the key map, or one holding a function the game fixes, answers
    // as a key the player may not assign.
    if (position <= 0 || static_cast<std::size_t>(position) >= keyMap.KeyCount() ||
        !keyMap.Changeable({shownLayer, static_cast<std::size_t>(position)})) {
        sbDisabledButtonClick(sender);
        return;
    }
    const FunctionRef held = keyMap.At({shownLayer, static_cast<std::size_t>(position)});
    // The selected free key clicked again is selected no more.
    if (key == selectedKey && !held) {
        selectedKey = nullptr;
        selectedPosition = 0;
    } else {
        selectedKey = key;
        selectedPosition = position;
    }
    // A function chosen from the list of every function, on no key, goes to the key chosen next.
    if (const FunctionRef pending = std::exchange(pendingFunction_, FunctionRef{}); pending && selectedKey)
        PutOnSelectedKey(pending);
    RefreshKeyboard();
    // The key's function is shown as the choice of its group, whose list becomes the visible one.
    // A free key leaves the visible group as it was; a fixed function checks no radio button.
    const FunctionRef holds = keyMap.At({shownLayer, static_cast<std::size_t>(position)});
    if (!holds || static_cast<std::size_t>(holds.group) >= groupRadios.size()) return;
    selectedGroup = holds.group;
    groupRadios[static_cast<std::size_t>(selectedGroup)]->SetChecked(true);
}

void TfConfig::sbDummyMouseMove(TObject* sender, TShiftState, int, int)
{
    const auto* key = static_cast<const TSpeedButton*>(sender);
    if (key == pointedKey_) return;
    pointedKey_ = key;
    ShowKeyLine(key);
}

void TfConfig::sbDummyMouseLeave(TObject* sender)
{
    if (sender != pointedKey_) return;
    pointedKey_ = nullptr;
    ShowKeyLine(KeyOfTheLine());
}

void TfConfig::sbDummyEnter(TObject*)
{
    // The player turned to the keyboard: the line follows its focus, not where the pointer rests.
    pointedKey_ = nullptr;
    ShowKeyLine(KeyOfTheLine());
}

void TfConfig::sbDummyExit(TObject*) { ShowKeyLine(KeyOfTheLine()); }

void TfConfig::sbDummyMouseUp(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button != TMouseButton::Right) return;
    const int position = KeyPositionOf(sender);
    if (position < 0 || static_cast<std::size_t>(position) >= keyMap.KeyCount()) return;
    const KeyRef key{shownLayer, static_cast<std::size_t>(position)};
    // Only a binding the keyboard shows can be removed, and a fixed function keeps its key.
    if (!keyMap.Changeable(key) || !keyMap.At(key)) return;
    const std::string assignment = keyMap.Assignment(key);

    if (cbConfirmDeletions->Checked()) {
        const bool ctrl = shownLayer == KeyLayer::Ctrl;
        const std::string composed = "'" + std::string(ctrl ? kCtrlLayer : "") + keyMap.KeyName(key.position) +
                                     msgAssigned + assignment + msgReassign;
        const std::string question = FillIn(LanguageTextOr("msgRemoveHotKey", composed),
                                            {{"key", KeyLabel(key.position, shownLayer)}, {"old", assignment}});
        if (MessageDlg(question, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) return;
    }
    keyMap.Remove(key);
    RefreshKeyboard();
}

void TfConfig::sbDisabledButtonClick(TObject*)
{
    // The key stays as it looks, not for the player's functions, and the selection stays.
    RefreshKeyboard();
}

void TfConfig::DisabledMouseDown(TObject*, TMouseButton, TShiftState, int, int) {}

void TfConfig::sbCtrlClick(TObject* sender)
{
    ShowLayer(static_cast<TSpeedButton*>(sender)->Down() ? KeyLayer::Ctrl : KeyLayer::Plain);
}

void TfConfig::ShowLayer(KeyLayer layer)
{
    // Both Ctrl keys show the layer, and either releases it again.
    for (TSpeedButton* ctrl : {sbCtrlLeft, sbCtrlRight}) {
        ctrl->SetAllowAllUp(true);
        ctrl->SetDown(layer == KeyLayer::Ctrl);
    }
    shownLayer = layer;
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

void TfConfig::HotkeyListCancel(TObject*) { ShowSelectedKeyFunction(true); }

void TfConfig::ConfigureHotkeys(TObject* sender)
{
    auto* chosen = static_cast<TComboBox*>(sender);
    if (chosen->Text().empty()) return;
    pendingFunction_ = {};
    const auto group = static_cast<std::size_t>(std::find(groupLists.begin(), groupLists.end(), chosen) - groupLists.begin());
    // A choice that cannot bind says why, and the list shows the selected key's own function again.
    auto refuse = [this](const std::string& why) {
        ShowSelectedKeyFunction(true);
        lKeyLine->SetCaption(why);
    };
    if (!selectedKey) {
        refuse(LanguageTextOr("txtChooseKeyFirst", "Choose a key on the keyboard first, then the function to put on it."));
        return;
    }
    // Only a function of the list binds; typed text once it names one, which it then shows as spelt.
    const std::string function = ItemNamed(*chosen, chosen->Text());
    const FunctionRef f = function.empty() ? FunctionRef{} : keyMap.FunctionNamed(group, function);
    if (!f) {
        refuse(FillIn(LanguageTextOr("txtNoSuchFunction", "No function of {group} is called '{text}'."),
                      {{"group", chosen->Hint()}, {"text", chosen->Text()}}));
        return;
    }
    if (!keyMap.Changeable(SelectedKeyRef())) {
        refuse(FillIn(LanguageTextOr("txtKeyCannotBind", "The game keeps the key {key}: no function can be put on it."),
                      {{"key", KeyLabel(static_cast<std::size_t>(selectedPosition), shownLayer)}}));
        return;
    }
    if (chosen->Text() != function) chosen->SetText(function);
    PutOnSelectedKey(f);
}

bool TfConfig::PutOnSelectedKey(FunctionRef f)
{
    const KeyRef key = SelectedKeyRef();
    const bool ctrlShown = shownLayer == KeyLayer::Ctrl;
    const FunctionRef held = keyMap.At(key);
    const std::string heldText = held ? keyMap.Text(held) : std::string();
    const std::string binding = keyMap.Text(f);
    const std::string group = keyMap.GroupAt(static_cast<std::size_t>(f.group)).caption;
    auto ask = [this](const char* entry, const std::string& composed,
                      std::initializer_list<std::pair<const char*, std::string>> values) {
        const std::string question = FillIn(LanguageTextOr(entry, composed), values);
        return MessageDlg(question, TMsgDlgType::Question, TMsgDlgButtons::YesNo) == TModalResult::Yes;
    };

    // The key holds a function of another group: that one gives way.
    if (held && held.group != f.group && cbConfirmKey->Checked()) {
        const std::string composed = "'" + std::string(ctrlShown ? kCtrlLayer : "") + keyMap.KeyName(key.position) +
                                     msgAssigned + heldText + msgReassign;
        if (!ask("msgReplaceHotKey", composed,
                 {{"key", KeyLabel(key.position, shownLayer)}, {"old", heldText}, {"new", binding}, {"group", group}})) {
            ShowSelectedKeyFunction(true);
            return false;
        }
    }

    // The function leaves the key that holds it, in either layer.
    if (const std::optional<KeyRef> from = keyMap.KeyOf(f); from && cbConfirmSpell->Checked()) {
        const bool inCtrl = from->layer == KeyLayer::Ctrl;
        const std::string composed =
            "'" + binding + msgAssigned + (inCtrl ? kCtrlLayer : "") + keyMap.KeyName(from->position) + msgReassign;
        if (!ask("msgMoveHotKey", composed,
                 {{"from", KeyLabel(from->position, from->layer)}, {"key", KeyLabel(key.position, shownLayer)},
                  {"new", binding}, {"old", heldText}, {"group", group}})) {
            ShowSelectedKeyFunction(true);
            return false;
        }
    }
    keyMap.Place(f, key);
    RefreshKeyboard();
    return true;
}

void TfConfig::sbDummyKeyDown(TObject*, unsigned& key, TShiftState shift)
{
    // Space clicks the focused key, Tab and the arrows move, Esc cancels, Delete removes; Ctrl and
    // Alt belong to the window's own keys.
    if (shift & (ssCtrl | ssAlt)) return;
    for (const KeyboardRow& row : KeyboardRows())
        for (const KeyboardKey& pictured : row.keys) {
            if (pictured.virtualKey != key || pictured.handlers == KeyHandlers::Ctrl) continue;
            if (key == VK_SPACE || key == VK_TAB || key == VK_ESCAPE || key == VK_DELETE) return;
            key = 0;
            TSpeedButton* button = this->*pictured.button;
            MoveFocus(button);
            // A key the player may not assign gets the focus and the line only; the selected key stays selected.
            if (!pictured.assignable || button == selectedKey) return;
            sbDummyClick(button);
            return;
        }
}
