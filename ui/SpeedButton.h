#pragma once
#include "ui/Control.h"

namespace ui {

// A latching button. In a group (GroupIndex not 0) a left click presses a released button, and
// releases a pressed one only when all may be up; pressing one releases the others of its group.
// With GroupIndex 0 it does not latch. A right click never changes the state.
// It draws itself, so that its looks tell apart what the platform's button cannot: pressed (filled),
// pressed and outlined (picked out for now, framed), released, and grayed (not to be used).
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
    // Without a group the button cannot stay down; a pressed button that may not be released stays
    // down; a grayed button is never down.
    void SetDown(bool down);
    void SetHint(const std::string& hint) override;
    // Pressed, it is shown framed rather than filled. Its check state, as other programs ask for
    // it, is then "indeterminate" rather than "checked".
    bool Outlined() const { return outlined_; }
    void SetOutlined(bool outlined);
    // Shown as not to be used, and never pressed; it still takes clicks, the mouse and the focus.
    bool Grayed() const { return grayed_; }
    void SetGrayed(bool grayed);

protected:
    CreateParams GetCreateParams() const override;
    void HandleCreated() override;
    void Command(unsigned code) override;
    bool DrawItem(void* drawItem) override;
    bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result) override;

private:
    void Mirror();
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool outlined_ = false;
    bool grayed_ = false;
};

}  // namespace ui
