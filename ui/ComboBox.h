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
    // The user settles on what the list shows: an item clicked in the open list, Enter (the list
    // open or closed), or Tab after typing. Moving through the items with the arrow, Page, Home and
    // End keys only changes what is shown. While it is set, Enter and Esc in the list belong to the
    // list and press none of the form's buttons.
    TNotifyEvent OnSelect;
    // Esc in the list: the user takes back what the list shows (with OnSelect set).
    TNotifyEvent OnCancel;

protected:
    CreateParams GetCreateParams() const override;
    // A combo box takes no text at its creation.
    std::string WindowTextAtCreation() const override { return {}; }
    void HandleCreated() override;
    void Command(unsigned code) override;
    bool PreviewKey(unsigned key) override;
    bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result) override;
    int ExtraHeight() const override { return 240; }

private:
    // The open list closed on a click in it (rather than on a key or a click elsewhere).
    bool ClosedByClickInList() const;
    // Closes the open list, keeping the text it shows.
    void CloseList();
    void Select();
    static constexpr unsigned kPickedMessage = 0x8000 + 0x4C;  // WM_APP + 0x4C

    bool sorted_;
    // Typed into since the program last set the text or the user last chose: Tab makes a choice of it.
    bool typed_ = false;
    std::vector<std::string> items_;
    std::string text_;
    int itemIndex_ = -1;
    bool programChange_ = false;
};

}  // namespace ui
