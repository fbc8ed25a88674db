// Importing bindings from another key map file.
#include <array>

#include "app/Main.h"
#include "hotkeys/KeyMap.h"
#include "settings/IniFile.h"

using namespace ui;

namespace {

// Unticks check boxes for as long as it lives, and ticks back those that were ticked.
class UncheckedWhile {
public:
    explicit UncheckedWhile(std::array<TCheckBox*, 3> boxes) : boxes_(boxes)
    {
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            were_[i] = boxes_[i]->State();
            boxes_[i]->SetChecked(false);
        }
    }
    ~UncheckedWhile()
    {
        for (std::size_t i = 0; i < boxes_.size(); ++i) boxes_[i]->SetState(were_[i]);
    }
    UncheckedWhile(const UncheckedWhile&) = delete;
    UncheckedWhile& operator=(const UncheckedWhile&) = delete;

private:
    std::array<TCheckBox*, 3> boxes_;
    std::array<TCheckBoxState, 3> were_{};
};

}  // namespace

void TfConfig::bImportClick(TObject*)
{
    openImport->Filter = "INI Files (*.ini)|*.ini";
    openImport->FileName = "Keymap.ini";
    if (!openImport->Execute()) return;

    // The other file's bindings under its own names, and our names for them: one profile call each.
    const IniFileSections keymap{IniFile(openImport->FileName)};
    const IniFileSections names{IniFile(programFolder + "language.txt")};
    if (!keymap.HasValues("Keymap") || !names.HasValues("Import")) {
        const std::string nothing = LanguageText("msgImportEmpty");
        if (!nothing.empty()) MessageDlg(nothing, TMsgDlgType::Information, TMsgDlgButtons::OK);
        return;
    }

    const UncheckedWhile quiet({cbConfirmDeletions, cbConfirmKey, cbConfirmSpell});
    for (TSpeedButton* key : assignableKeys) sbDummyMouseUp(key, TMouseButton::Right, 0, 0, 0);

    for (const TComboBox* list : groupLists) {
        const std::string caption = list->Hint() + ": ";
        for (const std::string& item : list->Items()) {
            const std::string identifier = LanguageKeyOf(SpellPrefixOf(*list) + item);
            if (identifier.empty()) continue;
            const std::string name = names.ReadString("Import", identifier, "");
            if (name.empty()) continue;
            const std::string value = keymap.ReadString("Keymap", name, "");
            // A value that names no key of ours is passed over.
            if (!value.empty()) PlaceBinding(value, caption + item, false);
        }
    }
    RefreshKeyboard();
}
