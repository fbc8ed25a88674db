#pragma once
#include "ui/Control.h"

namespace ui {

// A latching button. In a group (GroupIndex not 0) a left click presses a released button, and
// releases a pressed one only when all may be up; pressing one releases the others of its group.
// With GroupIndex 0 it does not latch. A right click never changes the state.
// It draws itself, so that its looks tell apart what the platform's button cannot: pressed (filled),
// released, selected (a thick dark frame, pressed or not), and grayed (not to be used).
// Focused, Space and Enter act as a left click on it and Delete as a right click, without a mouse
// message: the system would follow those with a made-up move of the mouse where its pointer rests.
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
    // Picked out, pressed or not, by a thick frame unlike the focus mark. Its check state, as other
    // programs ask for it, is "indeterminate" when it is selected and not pressed.
    bool Selected() const { return selected_; }
    void SetSelected(bool selected);
    // Shown as not to be used, and never pressed; it still takes clicks, the mouse and the focus.
    bool Grayed() const { return grayed_; }
    void SetGrayed(bool grayed);

    // The mouse pointer left the button.
    TNotifyEvent OnMouseLeave;
    // A key pressed while the button has the focus, before Space, Enter and Delete act on it and
    // before the form's keyboard handling.
    TKeyEvent OnKeyDown;

protected:
    CreateParams GetCreateParams() const override;
    void HandleCreated() override;
    void Command(unsigned code) override;
    bool DrawItem(void* drawItem) override;
    bool PreviewKey(unsigned key) override;
    bool MouseMoved(int x, int y) override;
    bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result) override;

private:
    void Mirror();
    // The mouse pointer is over the button's window now.
    bool PointerOver() const;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool selected_ = false;
    bool trackingLeave_ = false;
    bool grayed_ = false;
};

}  // namespace ui
