#pragma once
#include "ui/Control.h"

namespace ui {

// A latching button. In a group (GroupIndex not 0) a left click presses a released button, and
// releases a pressed one only when all may be up; pressing one releases the others of its group.
// With GroupIndex 0 it does not latch. A right click never changes the state.
class TSpeedButton : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TSpeedButton"; }

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    // Releasable: a click on the pressed button releases it.
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow) { allowAllUp_ = allow; }
    bool Down() const { return down_; }
    // Without a group the button cannot stay down; a pressed button that may not be released stays down.
    void SetDown(bool down);
    void SetHint(const std::string& hint) override;

protected:
    CreateParams GetCreateParams() const override;
    void HandleCreated() override;
    void Command(unsigned code) override;

private:
    void Mirror();
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
};

}  // namespace ui
