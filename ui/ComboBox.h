#pragma once
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

// An editable drop-down list.
class TComboBox : public TControl {
public:
    TComboBox(TComponent* owner, std::string name, bool sorted = false);
    const char* ClassName() const override { return "TComboBox"; }

    bool Sorted() const { return sorted_; }
    // Items in list order; a sorted list places each new item where the user's locale sorts it,
    // ignoring case, after the items equal to it.
    const std::vector<std::string>& Items() const { return items_; }
    int Add(const std::string& item);
    void ClearItems();
    // Exact comparison; -1 when no item equals text.
    int IndexOf(const std::string& text) const;

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int ItemIndex() const { return itemIndex_; }
    // -1 clears the selection and the text.
    void SetItemIndex(int index);

    // Only the user's changes: picking an item or typing. The program's changes run nothing.
    TNotifyEvent OnChange;

protected:
    CreateParams GetCreateParams() const override;
    // A combo box takes no text at its creation.
    std::string WindowTextAtCreation() const override { return {}; }
    void HandleCreated() override;
    void Command(unsigned code) override;
    int ExtraHeight() const override { return 240; }

private:
    bool sorted_;
    std::vector<std::string> items_;
    std::string text_;
    int itemIndex_ = -1;
    bool programChange_ = false;
};

}  // namespace ui
