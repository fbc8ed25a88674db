#pragma once
#include "ui/Control.h"

namespace ui {

enum class TCheckBoxState { Unchecked, Checked, Grayed };

class TCheckBox : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TCheckBox"; }

    TCheckBoxState State() const { return state_; }
    // Runs OnClick when the state changes, as a click does.
    void SetState(TCheckBoxState state);
    bool Checked() const { return state_ == TCheckBoxState::Checked; }
    void SetChecked(bool checked) { SetState(checked ? TCheckBoxState::Checked : TCheckBoxState::Unchecked); }

protected:
    CreateParams GetCreateParams() const override;
    CaptionRoom RoomForCaption(int width, int height) const override;
    void HandleCreated() override;
    void Command(unsigned code) override;
    bool Notify(void* nmhdr, long long& result) override;

private:
    void Mirror();
    TCheckBoxState state_ = TCheckBoxState::Unchecked;
};

}  // namespace ui
