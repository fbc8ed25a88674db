// The key map: the file, the two layers of bindings, the keyboard that shows them.
#include "app/Main.h"
#include "settings/IniFile.h"

using namespace ui;

void TfConfig::MarkDisabledKeys() {}

void TfConfig::LoadKeyMap() {}

void TfConfig::FillGroupList(const std::string&, TComboBox*) {}

void TfConfig::SaveKeyMap() {}

void TfConfig::RefreshKeyboard() {}
