// The help areas of the Gameplay and Graphics pages.
#include "app/Main.h"

using namespace ui;

void TfConfig::DisplayHelp(TObject*, TShiftState, int, int) {}

void TfConfig::pcConfigChange(TObject*) {}
