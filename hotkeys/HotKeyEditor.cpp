// Binding functions to keys on the Hot Keys page.
#include "app/Main.h"

using namespace ui;

void TfConfig::sbDummyClick(TObject*) {}

void TfConfig::sbDummyMouseMove(TObject*, TShiftState, int, int) {}

void TfConfig::sbDummyMouseUp(TObject*, TMouseButton, TShiftState, int, int) {}

void TfConfig::sbDisabledButtonClick(TObject*) {}

void TfConfig::DisabledMouseDown(TObject*, TMouseButton, TShiftState, int, int) {}

void TfConfig::sbCtrlClick(TObject*) {}

void TfConfig::rgHotKeyGroupsClick(TObject* sender)
{
    shownList->SetVisible(false);
    shownList = groupLists.at(static_cast<std::size_t>(static_cast<TComponent*>(sender)->Tag));
    shownList->SetVisible(true);
}

void TfConfig::ConfigureHotkeys(TObject*) {}
