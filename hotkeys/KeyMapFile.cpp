// The key map of the window: read from keymap.ini into the model and the keyboard, written back.
#include <algorithm>

#include "app/Main.h"
#include "settings/IniFile.h"
#include "settings/WholeFile.h"
#include "ui/Exception.h"

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
    if (FileContent found = ReadWholeFile(keymapPath); found.readable) keymapAtStart_ = std::move(found.bytes);
    KeyMap::Captions captions;
    for (std::size_t g = 0; g < kGroupCount; ++g) captions[g] = groupLists[g]->Hint();
    std::vector<bool> assignable;
    for (TSpeedButton* key : keyButtons)
        assignable.push_back(std::find(assignableKeys.begin(), assignableKeys.end(), key) != assignableKeys.end());
    const KeyMapEntries loaded = ReadKeyMapEntries(*keymapFile);
    keyMap.Load(loaded, captions, assignable, [this](const std::string& identifier) { return LanguageText(identifier); });
    ReadGameKeys(loaded);
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
    KeepOriginalKeymap();
    // The file is replaced whole when every function is written, or kept as it was.
    IniSave save(*keymapFile);
    const std::vector<KeyMapWrite> writes = keyMap.Writes();
    for (const KeyMapWrite& write : writes) keymapFile->WriteString(write.section, write.key, write.value);
    save.Commit();
    keymapWritten_ = true;
    keyMap.Saved();
    savedKeyMap_.Wrote(writes);
}

// --- The game's own keys

void TfConfig::ReadGameKeys(const KeyMapEntries& loaded)
{
    const FileContent copy = ReadWholeFile(originalKeymapPath);
    gameKeysProblem_.clear();
    auto holdsKeys = [](const KeyMapEntries& file) {
        return !file.keyboard.empty() && std::any_of(file.groups.begin(), file.groups.end(),
                                                     [](const auto& entries) { return !entries.empty(); });
    };
    if (copy.exists && copy.readable) {
        gameKeys_ = ReadKeyMapEntries(IniFile(originalKeymapPath));
        if (!holdsKeys(gameKeys_))
            gameKeysProblem_ = LanguageTextOr("txtRestoreNoKeys", "The game's keys cannot be put back: keymap-original.ini "
                                                                  "holds no hot keys.");
    } else if (copy.exists || !copy.name.empty()) {
        // A file that cannot be read, or a folder of that name.
        gameKeysProblem_ =
            LanguageTextOr("txtRestoreUnreadable", "The game's keys cannot be put back: keymap-original.ini cannot be read.");
    } else {
        // Nothing saved in this folder yet: the key map as it is now is the game's, unless there is
        // none to take the keys from.
        gameKeys_ = loaded;
        if (!holdsKeys(loaded))
            gameKeysProblem_ = LanguageTextOr("txtRestoreNoKeyMap", "The game's keys cannot be put back: keymap.ini "
                                                                    "holds no hot keys, and keymap-original.ini is not there.");
    }
    bRestoreKeys->SetEnabled(gameKeysProblem_.empty());
    bRestoreKeys->SetShowHint(true);
    bRestoreKeys->SetHint(gameKeysProblem_.empty()
                              ? LanguageTextOr("txtRestoreKeysHint", "Put back the hot keys the game came with")
                              : gameKeysProblem_);
}

void TfConfig::KeepOriginalKeymap()
{
    // Anything of that name stays as it is: the copy is made once and never written again.
    const FileContent copy = ReadWholeFile(originalKeymapPath);
    if (copy.exists || !copy.name.empty()) return;
    // The file found is the game's until this program writes it; the first save after it went
    // (deleted meanwhile), or after a copy that could not be made, keeps the one of the start.
    FileContent found = ReadWholeFile(keymapPath);
    if (keymapWritten_ || !found.readable) {
        if (!keymapAtStart_) return;
        found.bytes = *keymapAtStart_;
    }
    try {
        ReplaceWholeFile(originalKeymapPath, found.bytes);
    } catch (const Exception&) {
        // The save goes on without it; the game's keys are then those loaded at the start.
        return;
    }
    ReadGameKeys(gameKeys_);
}

void TfConfig::bRestoreKeysClick(TObject*)
{
    const std::string question = LanguageTextOr(
        "msgRestoreKeys", "Your own hot keys will be replaced by the keys the game came with, in both layers: OK or "
                          "Apply then keeps the game's keys, Cancel keeps yours. Put back the game's keys?");
    if (MessageDlg(question, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) return;
    pendingFunction_ = {};
    keyMap.Restore(gameKeys_);
    RefreshKeyboard();
}
