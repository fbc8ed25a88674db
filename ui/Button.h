#pragma once
#include "ui/Control.h"

namespace ui {

class TButton : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TButton"; }

    // Set on the form after OnClick; a modal form then closes with it.
    TModalResult ModalResult = TModalResult::None;

protected:
    CreateParams GetCreateParams() const override;
    void Command(unsigned code) override;
};

}  // namespace ui
