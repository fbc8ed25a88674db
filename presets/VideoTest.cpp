// The video test and the start of the 3D driver set-up.
#include "app/Main.h"

using namespace ui;

void TfConfig::bTestSettingsClick(TObject*) {}

void TfConfig::bGLSetupClick(TObject*) {}
