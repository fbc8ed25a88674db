#pragma once
#include "ui/Control.h"

namespace ui {

class TUpDown;

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

    // Arrows beside the edit but not attached to it. Up and Down in the edit act as a click on
    // them and Page Up and Page Down as ten, as attached arrows take Up and Down from their edit.
    TUpDown* Spinner = nullptr;

protected:
    CreateParams GetCreateParams() const override;
    std::string WindowTextAtCreation() const override { return text_; }
    void Command(unsigned code) override;
    bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result) override;

private:
    std::string text_;
    bool settingText_ = false;
    bool numbersOnly_ = false;
};

}  // namespace ui
