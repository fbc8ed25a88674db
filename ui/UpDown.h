#pragma once
#include "ui/Control.h"

namespace ui {

class TEdit;

// Arrows that step a position: attached to an edit that shows it, or standing alone.
class TUpDown : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TUpDown"; }

    void SetRange(int min, int max);
    int Min() const { return min_; }
    int Max() const { return max_; }
    // Attached: the edit's text when it is a number in range, else the last such number.
    int Position() const;
    // Held in the range; an attached edit shows the new position.
    void SetPosition(int position);
    TEdit* Associate() const { return associate_; }
    // Places the arrows at the edit's right edge; the edit shows the position from now on.
    void SetAssociate(TEdit* edit);

    // What a click on an arrow does: the position moves by delta from the one shown, held in the
    // range, and OnClick runs.
    void Step(int delta);

    // The user clicked an arrow; the position has already moved.
    TNotifyEvent OnClick;

protected:
    CreateParams GetCreateParams() const override;
    void HandleCreated() override;
    bool Notify(void* nmhdr, long long& result) override;

private:
    int min_ = 0, max_ = 100;
    mutable int position_ = 0;
    TEdit* associate_ = nullptr;
};

}  // namespace ui
