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
    // The frame's line runs on either side of the caption.
    CaptionRoom RoomForCaption(int width, int height) const override { return {width - 14, 0}; }
    bool PaintsBackground() const override { return true; }
    bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result) override;
};

}  // namespace ui
