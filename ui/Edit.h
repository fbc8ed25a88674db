#pragma once
#include "ui/Control.h"

namespace ui {

class TEdit : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TEdit"; }

    const std::string& Text() const { return text_; }
    // Runs OnChange when the text changes.
    void SetText(const std::string& text);

    // Typing takes digits only; a pasted text or the program's may still hold anything.
    bool NumbersOnly() const { return numbersOnly_; }
    void SetNumbersOnly(bool numbersOnly);

    // Every change of the text, by the user or by the program.
    TNotifyEvent OnChange;

protected:
    CreateParams GetCreateParams() const override;
    std::string WindowTextAtCreation() const override { return text_; }
    void Command(unsigned code) override;

private:
    std::string text_;
    bool settingText_ = false;
    bool numbersOnly_ = false;
};

}  // namespace ui
