#pragma once
#include "ui/Control.h"

namespace ui {

// A framed group; its controls are placed relative to it.
class TGroupBox : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TGroupBox"; }

protected:
    CreateParams GetCreateParams() const override;
    bool PaintsBackground() const override { return true; }
    bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result) override;
};

}  // namespace ui
