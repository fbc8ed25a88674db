#pragma once
#include "ui/Control.h"

namespace ui {

class TButton : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TButton"; }

    // Set on the form after OnClick; a modal form then closes with it.
    TModalResult ModalResult = TModalResult::None;

    // The default button is pressed by Enter and shows it by its frame; the cancel button by Esc.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel) { cancel_ = isCancel; }
    // Shows the default look (the focused push button has it instead of the default button).
    void ShowAsDefault(bool shown);

protected:
    CreateParams GetCreateParams() const override;
    // Inside the button's edges.
    CaptionRoom RoomForCaption(int width, int height) const override;
    void HandleCreated() override;
    void Command(unsigned code) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    bool shownDefault_ = false;
};

}  // namespace ui
