#pragma once
#include "ui/Control.h"

namespace ui {

enum class TTrackBarOrientation { Horizontal, Vertical };

class TTrackBar : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TTrackBar"; }

    void SetOrientation(TTrackBarOrientation orientation) { orientation_ = orientation; }
    void SetRange(int min, int max);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    // Held in the range; runs OnChange when the position changes.
    void SetPosition(int position);
    void SetPageSize(int size);
    void SetLineSize(int size);
    void SetTickFrequency(int frequency);

    // A program change of the position, and every scroll notification of the user's mouse or
    // keyboard, also one that leaves the position where it was.
    TNotifyEvent OnChange;

protected:
    CreateParams GetCreateParams() const override;
    void HandleCreated() override;
    void Scroll(unsigned code) override;

private:
    TTrackBarOrientation orientation_ = TTrackBarOrientation::Horizontal;
    int min_ = 0, max_ = 10, position_ = 0, pageSize_ = 2, lineSize_ = 1, tickFrequency_ = 1;
};

}  // namespace ui
