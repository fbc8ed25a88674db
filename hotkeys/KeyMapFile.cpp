// The key map of the window: read from keymap.ini into the model and the keyboard, written back.
#include <algorithm>

#include "app/Main.h"
#include "settings/IniFile.h"

using namespace ui;

int TfConfig::KeyPositionOf(const TObject* key) const
{
    auto found = std::find(keyButtons.begin(), keyButtons.end(), key);
    return found == keyButtons.end() ? -1 : static_cast<int>(found - keyButtons.begin());
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
    for (const KeyMap::Group& group : keyMap.Groups()) {
        if ("Keymap " + group.name != section) continue;
        // A nameless entry is offered in no list.
        for (const KeyMap::Function& function : group.functions)
            if (!function.name.empty()) items->Add(function.name);
    }
}

void TfConfig::LoadKeyMap()
{
    groupNames.assign(KeyMap::kGroupNames.begin(), KeyMap::kGroupNames.end());
    keymapFile = std::make_unique<IniFile>(keymapPath);
    // A key map deleted while the window is open is saved again whole, from what it held at the start.
    keymapFile->KeepAsLoaded();
    KeyMap::Captions captions;
    for (std::size_t g = 0; g < kGroupCount; ++g) captions[g] = groupLists[g]->Hint();
    std::vector<bool> assignable;
    for (TSpeedButton* key : keyButtons)
        assignable.push_back(std::find(assignableKeys.begin(), assignableKeys.end(), key) != assignableKeys.end());
    keyMap.Load(ReadKeyMapEntries(*keymapFile), captions, assignable,
                [this](const std::string& identifier) { return LanguageText(identifier); });
    for (std::size_t g = 0; g < groupLists.size(); ++g) FillGroupList("Keymap " + groupNames[g], groupLists[g]);

    // Every key latches on its own, those past the last name too, so that none of them shares the
    // down-state group the form gives the Ctrl keys.
    for (std::size_t n = 0; n < keyButtons.size(); ++n) {
        keyButtons[n]->SetGroupIndex(static_cast<int>(n) + 1);
        if (n < keyMap.KeyCount()) keyButtons[n]->SetCaption(KeyCaption(keyMap.KeyName(n)));
    }
    functionCaption_ = lFunction->Caption();
    RefreshKeyboard();
}

void TfConfig::RefreshKeyboard()
{
    for (std::size_t n = 0; n < keyButtons.size(); ++n) ShowKey(n);
    ShowSelectedKeyFunction();
    ShowKeyState();
}

void TfConfig::SaveKeyMap()
{
    // The file is replaced whole when every function is written, or kept as it was.
    IniSave save(*keymapFile);
    const std::vector<KeyMapWrite> writes = keyMap.Writes();
    for (const KeyMapWrite& write : writes) keymapFile->WriteString(write.section, write.key, write.value);
    save.Commit();
    keyMap.Saved();
    savedKeyMap_.Wrote(writes);
}
