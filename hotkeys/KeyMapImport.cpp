// Importing bindings from another key map file.
#include "app/Main.h"
#include "hotkeys/KeyMap.h"
#include "settings/IniFile.h"
#include "ui/SystemText.h"

using namespace ui;

void TfConfig::bImportClick(TObject*)
{
    openImport->Filter = LanguageTextOr("txtIniFiles", "INI Files (*.ini)") + "|*.ini";
    openImport->FileName = L"Keymap.ini";
    if (!openImport->Execute()) return;
    // A notice: "%d" stands for the functions placed.
    auto notice = [this](std::string text, int placed) {
        if (text.empty()) return;
        if (const std::size_t at = FindText(text, "%d"); at != std::string::npos) text.replace(at, 2, std::to_string(placed));
        MessageDlg(text, TMsgDlgType::Information, TMsgDlgButtons::OK);
    };

    // The other file's bindings under its own names, and our names for them: one profile call each.
    const IniFileSections keymap{IniFile(openImport->FileName)};
    const IniFileSections names{IniFile(programFolder + L"language.txt")};
    if (!keymap.HasValues("Keymap") || !names.HasValues("Import")) {
        notice(LanguageText("msgImportEmpty"), 0);
        return;
    }

    // In group order and each group's list order: of two functions the file gives one key, the later takes it.
    std::vector<KeyMap::Imported> bindings;
    for (std::size_t g = 0; g < groupLists.size(); ++g)
        for (const std::string& item : groupLists[g]->Items()) {
            const FunctionRef f = keyMap.FunctionNamed(g, item);
            if (!f) continue;
            const std::string name = names.ReadString("Import", keyMap.FunctionAt(f).identifier, "");
            if (name.empty()) continue;
            if (std::string value = keymap.ReadString("Keymap", name, ""); !value.empty()) bindings.push_back({f, value});
        }
    const int placed = keyMap.Import(bindings, shownLayer);
    if (placed == 0) {
        const std::string none = LanguageText("msgImportNothingPlaced");
        notice(!none.empty() ? none
                             : LanguageTextOr("msgImportEmpty", "No function of the chosen file could be put on a key "
                                                                "you may assign, so your hot keys are unchanged."),
               0);
        return;
    }
    RefreshKeyboard();
    notice(LanguageText("msgImportDone"), placed);
}
