// The hardware sliders of the Basic page and the summary of the settings they govern.
#include "app/Main.h"

using namespace ui;

void TfConfig::tbGeneralChange(TObject*) { RefreshSummary(); }

void TfConfig::tbGraphicsChange(TObject*) { RefreshSummary(); }

void TfConfig::tbSoundChange(TObject*) { RefreshSummary(); }

void TfConfig::RefreshSummary() {}
