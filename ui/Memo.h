#pragma once
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

enum class TScrollStyle { None, Vertical };

// A read-only text of lines, wrapped at its width.
class TMemo : public TControl {
public:
    // The scroll bar is part of the window from its making, as the platform's edit wants it.
    TMemo(TComponent* owner, std::string name, TScrollStyle scrollBars = TScrollStyle::Vertical);
    const char* ClassName() const override { return "TMemo"; }

    const std::vector<std::string>& Lines() const { return lines_; }
    void Clear();
    void Add(const std::string& line);
    void SetLines(std::vector<std::string> lines);
    // The lines joined with CR LF, as the window shows them.
    std::string Text() const;
    void SetText(const std::string& text);
    // Whether Tab stops at it; it does unless told otherwise.
    void SetTabStop(bool tabStop);

protected:
    CreateParams GetCreateParams() const override;
    // The lines are laid out once, in the window's font: set after it, not with the window.
    std::string WindowTextAtCreation() const override { return {}; }
    void HandleCreated() override;

private:
    void Mirror();
    std::vector<std::string> lines_;
    TScrollStyle scrollBars_;
    bool tabStop_ = true;
};

}  // namespace ui
