// Importing bindings from another key map file.
#include "app/Main.h"

using namespace ui;

void TfConfig::bImportClick(TObject*) {}
