#pragma once
#include "ui/Control.h"

namespace ui {

class TLabel : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TLabel"; }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    // Off: an "&" in the caption is shown as it stands rather than marking an access key.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    // On: a caption longer than the label ends in "..." where it is cut (set before the window is made).
    bool EndEllipsis() const { return endEllipsis_; }
    void SetEndEllipsis(bool on) { endEllipsis_ = on; }
    // The control the label's access key takes the focus to; null: the next in the tab order.
    TControl* FocusControl = nullptr;

protected:
    CreateParams GetCreateParams() const override;
    CaptionRoom RoomForCaption(int width, int height) const override { return {width, wordWrap_ ? height : 0}; }
    bool MarksAccessKeys() const override { return showAccelChar_; }
    TAlignment CaptionAlignment() const override { return alignment_; }

private:
    TAlignment alignment_ = TAlignment::Left;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool endEllipsis_ = false;
};

}  // namespace ui
