// The key map: the file, the two layers of bindings, the keyboard that shows them.
#include "hotkeys/KeyMap.h"

#include <algorithm>

#include "app/Main.h"
#include "lang/LanguageIndex.h"
#include "settings/IniFile.h"

using namespace ui;

namespace {

constexpr std::string_view kCtrlPrefix = "Ctrl-";

// The name as "Keyboard" stores it, in quotes: without its first and last character.
std::string StoredKeyName(const std::string& stored)
{
    return stored.size() > 2 ? stored.substr(1, stored.size() - 2) : std::string();
}

// An entry of a group's section, as the profile reader tells entries apart.
std::string EntryKey(const std::string& groupName, const std::string& identifier)
{
    return FoldedKey(groupName + "=" + identifier);
}

}  // namespace

std::string AssignmentGroup(std::string_view assignment)
{
    return std::string(assignment.substr(0, assignment.find(':')));
}

std::string AssignmentFunction(std::string_view assignment)
{
    const std::size_t colon = assignment.find(':');
    if (colon == std::string_view::npos || colon + 2 > assignment.size()) return {};
    return std::string(assignment.substr(colon + 2));
}

KeyValue ParseKeyValue(std::string_view value)
{
    const std::size_t prefix = value.find(kCtrlPrefix);
    if (prefix == std::string_view::npos) return {false, std::string(value)};
    return {true, std::string(value.substr(prefix + kCtrlPrefix.size()))};
}

std::string KeyCaption(const std::string& keyName)
{
    const bool shortened = keyName.find("Alt") != std::string::npos || keyName.find("Win") != std::string::npos;
    return shortened ? keyName.substr(0, keyName.size() - 1) : keyName;
}

std::string SpellPrefixOf(const TComboBox& list) { return list.Tag == 4 ? "W " : list.Tag == 5 ? "P " : ""; }

int TfConfig::KeyPositionOf(const TObject* key) const
{
    auto found = std::find(keyButtons.begin(), keyButtons.end(), key);
    return found == keyButtons.end() ? -1 : static_cast<int>(found - keyButtons.begin());
}

int TfConfig::KeyNamed(const std::string& keyName) const
{
    if (keyName.empty()) return -1;
    auto found = keyPositions_.find(FoldedText(keyName));
    return found == keyPositions_.end() ? -1 : found->second;
}

bool TfConfig::PlaceBinding(const std::string& keyValue, const std::string& text, bool bothLayers)
{
    const KeyValue key = ParseKeyValue(keyValue);
    const int position = KeyNamed(key.keyName);
    if (position < 0) return false;
    if (key.ctrl) {
        ctrlAssignments[position] = text;
    } else {
        plainAssignments[position] = text;
        if (bothLayers) ctrlAssignments[position] = text;
    }
    return true;
}

int TfConfig::GroupOf(const std::string& assignment) const
{
    const std::string caption = AssignmentGroup(assignment);
    for (std::size_t i = 0; i < groupLists.size(); ++i)
        if (groupLists[i]->Hint() == caption) return static_cast<int>(i);
    return -1;
}

void TfConfig::ShowKey(std::size_t n)
{
    const std::string& assignment = (*shownAssignments)[n];
    TSpeedButton* key = keyButtons[n];
    key->SetHint(assignment);
    key->SetAllowAllUp(true);
    key->SetDown(!assignment.empty());
}

void TfConfig::MarkDisabledKeys()
{
    for (TSpeedButton* key : disabledKeys) {
        key->OnClick = Bind(this, &TfConfig::sbDisabledButtonClick);
        key->OnMouseDown = Bind(this, &TfConfig::DisabledMouseDown);
        // Not for the player's functions: it never looks bound or selected, whatever it holds.
        key->SetGrayed(true);
    }
}

void TfConfig::FillGroupList(const std::string& section, TComboBox* items)
{
    for (const std::string& identifier : keymapFile->ReadSection(section)) {
        std::string shown = LanguageText(identifier);
        if (!shown.empty()) items->Add(shown);
    }
}

void TfConfig::LoadKeyMap()
{
    groupNames = {"Page", "Actions", "Miscellaneous", "Quick Slots", "Wizard Spells", "Priest Spells", "Fixed"};
    keymapFile = std::make_unique<IniFile>(keymapPath);
    // A key map deleted while the window is open is saved again whole, from what it held at the start.
    keymapFile->KeepAsLoaded();
    for (std::size_t g = 0; g < groupLists.size(); ++g) FillGroupList("Keymap " + groupNames[g], groupLists[g]);

    // Names past the last key button have no key to show them and are left out.
    std::vector<std::string> stored = keymapFile->ReadSection("Keyboard");
    stored.resize(std::min(stored.size(), keyButtons.size()));
    keyNames.clear();
    keyPositions_.clear();
    for (std::size_t n = 0; n < stored.size(); ++n) {
        keyNames.push_back(StoredKeyName(stored[n]));
        keyButtons[n]->SetCaption(KeyCaption(keyNames[n]));
        if (!keyNames[n].empty()) keyPositions_.try_emplace(FoldedText(keyNames[n]), static_cast<int>(n));
    }
    // Every key latches on its own, those past the last name too, so that none of them shares the
    // down-state group the form gives the Ctrl keys. A key past the last name has nothing to bind and
    // looks it.
    for (std::size_t n = 0; n < keyButtons.size(); ++n) {
        keyButtons[n]->SetGroupIndex(static_cast<int>(n) + 1);
        if (n >= keyNames.size()) keyButtons[n]->SetGrayed(true);
    }
    plainAssignments.assign(keyNames.size(), std::string());
    ctrlAssignments.assign(keyNames.size(), std::string());

    // One profile call per section. A value that names no key is passed over and kept for the save.
    unplacedEntries_.clear();
    for (std::size_t g = 0; g < groupLists.size(); ++g) {
        const std::string caption = groupLists[g]->Hint() + ": ";
        for (const auto& [identifier, value] : keymapFile->ReadSectionValues("Keymap " + groupNames[g]))
            if (!PlaceBinding(value, caption + LanguageText(identifier), g == kFixedGroup))
                unplacedEntries_.insert(EntryKey(groupNames[g], identifier));
    }
    RefreshKeyboard();
}

void TfConfig::RefreshKeyboard()
{
    const std::size_t count = std::min(shownAssignments->size(), keyButtons.size());
    for (std::size_t n = 0; n < count; ++n) ShowKey(n);
    for (TComboBox* list : groupLists) list->SetText("");
    ShowKeyState();
}

void TfConfig::ForgetStoredValue(const TComboBox& list, const std::string& function)
{
    const auto group = std::find(groupLists.begin(), groupLists.end(), &list) - groupLists.begin();
    if (group >= static_cast<std::ptrdiff_t>(groupNames.size())) return;
    unplacedEntries_.erase(EntryKey(groupNames[static_cast<std::size_t>(group)],
                                    LanguageKeyOf(SpellPrefixOf(list) + function)));
}

void TfConfig::SaveKeyMap()
{
    // Where each assignment text first stands in a layer, past position 0 (no key), ignoring case.
    auto firstPositions = [](const std::vector<std::string>& layer) {
        std::unordered_map<std::string, std::size_t> first;
        for (std::size_t p = 1; p < layer.size(); ++p)
            if (!layer[p].empty()) first.try_emplace(FoldedText(layer[p]), p);
        return first;
    };
    const auto plain = firstPositions(plainAssignments);
    const auto ctrl = firstPositions(ctrlAssignments);
    // The file is replaced whole when every function is written, or kept as it was.
    IniSave save(*keymapFile);

    for (std::size_t g = 0; g < kFixedGroup; ++g) {
        const TComboBox* list = groupLists[g];
        const std::string section = "Keymap " + groupNames[g];
        for (const std::string& item : list->Items()) {
            // A function the language file cannot name again has no entry to write.
            const std::string identifier = LanguageKeyOf(SpellPrefixOf(*list) + item);
            if (identifier.empty()) continue;
            const std::string text = FoldedText(list->Hint() + ": " + item);
            std::string value;
            if (auto found = plain.find(text); found != plain.end())
                value = keyNames[found->second];
            else if (auto inCtrl = ctrl.find(text); inCtrl != ctrl.end())
                value = std::string(kCtrlPrefix) + keyNames[inCtrl->second];
            if (value.empty() && unplacedEntries_.count(EntryKey(groupNames[g], identifier))) continue;
            keymapFile->WriteString(section, identifier, value);
        }
    }
    save.Commit();
}
