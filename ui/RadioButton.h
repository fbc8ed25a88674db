#pragma once
#include "ui/Control.h"

namespace ui {

class TRadioButton : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TRadioButton"; }

    bool Checked() const { return checked_; }
    // Checking unchecks the other radio buttons of the same parent and runs OnClick;
    // unchecking runs nothing.
    void SetChecked(bool checked);

protected:
    CreateParams GetCreateParams() const override;
    CaptionRoom RoomForCaption(int width, int height) const override;
    void HandleCreated() override;
    void Command(unsigned code) override;
    bool Notify(void* nmhdr, long long& result) override;

private:
    void Mirror();
    bool checked_ = false;
};

}  // namespace ui
