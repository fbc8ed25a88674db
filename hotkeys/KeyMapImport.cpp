// Importing bindings from another key map file.
#include <algorithm>
#include <array>

#include "app/Main.h"
#include "hotkeys/KeyMap.h"
#include "settings/IniFile.h"
#include "ui/SystemText.h"

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
    openImport->Filter = LanguageTextOr("txtIniFiles", "INI Files (*.ini)") + "|*.ini";
    openImport->FileName = L"Keymap.ini";
    if (!openImport->Execute()) return;
    // A notice of the language file, when it has the entry; "%d" stands for the functions placed.
    auto notice = [this](const char* entry, int placed) {
        std::string text = LanguageText(entry);
        if (text.empty()) return;
        if (const std::size_t at = FindText(text, "%d"); at != std::string::npos) text.replace(at, 2, std::to_string(placed));
        MessageDlg(text, TMsgDlgType::Information, TMsgDlgButtons::OK);
    };

    // The other file's bindings under its own names, and our names for them: one profile call each.
    const IniFileSections keymap{IniFile(openImport->FileName)};
    const IniFileSections names{IniFile(programFolder + L"language.txt")};
    if (!keymap.HasValues("Keymap") || !names.HasValues("Import")) {
        notice("msgImportEmpty", 0);
        return;
    }

    int placed = 0;
    {
        // Nothing is asked while the file's bindings take the place of the shown ones.
        const UncheckedWhile quiet({cbConfirmDeletions, cbConfirmKey, cbConfirmSpell});
        for (TSpeedButton* key : assignableKeys) sbDummyMouseUp(key, TMouseButton::Right, 0, 0, 0);
        for (std::size_t g = 0; g < groupLists.size(); ++g) {
            const TComboBox* list = groupLists[g];
            const std::string caption = list->Hint() + ": ";
            for (const std::string& item : list->Items()) {
                const std::string identifier = LanguageKeyOf(SpellPrefixOf(*list) + item);
                if (identifier.empty()) continue;
                const std::string name = names.ReadString("Import", identifier, "");
                if (name.empty()) continue;
                const std::string value = keymap.ReadString("Keymap", name, "");
                // A value that names no key of ours is passed over.
                if (value.empty() || KeyNamed(ParseKeyValue(value).keyName) < 0) continue;
                // The function leaves the keys it sat on, in both layers, so that the key the file gives
                // it is the one saved; a function the game fixes may sit on several.
                const std::string text = caption + item;
                if (g != kFixedGroup)
                    for (auto* layer : {&plainAssignments, &ctrlAssignments})
                        std::replace(layer->begin(), layer->end(), text, std::string());
                PlaceBinding(value, text, false);
                ForgetStoredValue(*list, item);
                ++placed;
            }
        }
        RefreshKeyboard();
    }

    notice("msgImportDone", placed);
}
