#pragma once
// A list of rows in columns: the platform's list view in report view, one row selected at a time.
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

class TListView : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TListView"; }

    // The column captions, left to right.
    const std::vector<std::string>& Columns() const { return columns_; }
    void SetColumns(std::vector<std::string> captions);
    // The rows shown, top to bottom, a cell per column; the selection goes.
    const std::vector<std::vector<std::string>>& Rows() const { return rows_; }
    void SetRows(std::vector<std::vector<std::string>> rows);
    // Each column as wide as its caption or its widest cell, whichever is wider; widths stay when
    // the rows change afterwards.
    void SizeColumnsToContents();
    // The row selected, -1 for none; the program's selection runs no event and is scrolled into view.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The column whose header shows the sort mark, and which way; -1 for none.
    void SetSortMark(int column, bool ascending);

    // The user clicked a column's header.
    std::function<void(TObject* sender, int column)> OnColumnClick;
    // The user double-clicked a row.
    TNotifyEvent OnDblClick;

protected:
    CreateParams GetCreateParams() const override;
    void HandleCreated() override;
    bool Notify(void* nmhdr, long long& result) override;

private:
    void MirrorColumns();
    void MirrorRows();
    void MirrorSelection();
    void MirrorSortMark();

    std::vector<std::string> columns_;
    std::vector<int> widths_;  // pixels; empty until the columns are sized
    std::vector<std::vector<std::string>> rows_;
    int itemIndex_ = -1;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    bool sizeWhenMade_ = false;
    bool programSelection_ = false;
};

}  // namespace ui
