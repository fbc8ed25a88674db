// The list view in report view: columns, rows and the one selected row kept here, mirrored to the window.
#include "ui/ListView.h"

#include <algorithm>

#include "ui/Form.h"
#include "ui/Win32.h"

namespace ui {

TControl::CreateParams TListView::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = WC_LISTVIEWA;
    p.style = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
    p.exStyle = WS_EX_CLIENTEDGE;
    return p;
}

void TListView::HandleCreated()
{
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    MirrorColumns();
    MirrorRows();
    if (sizeWhenMade_) SizeColumnsToContents();
    MirrorSelection();
    MirrorSortMark();
}

void TListView::SetColumns(std::vector<std::string> captions)
{
    columns_ = std::move(captions);
    widths_.clear();
    MirrorColumns();
    MirrorRows();
}

void TListView::SetRows(std::vector<std::vector<std::string>> rows)
{
    rows_ = std::move(rows);
    itemIndex_ = -1;
    MirrorRows();
}

void TListView::SizeColumnsToContents()
{
    if (!hwnd_) {
        sizeWhenMade_ = true;
        return;
    }
    sizeWhenMade_ = false;
    widths_.clear();
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const auto column = static_cast<WPARAM>(c);
        // The widest cell; the header's words with the room the header gives them (the last
        // column's header width would fill the rest of the list).
        SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
        const int cells = static_cast<int>(SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, column, 0));
        const int words = static_cast<int>(SendMessageA(hwnd_, LVM_GETSTRINGWIDTHA, 0,
                                                        reinterpret_cast<LPARAM>(columns_[c].c_str())));
        const int width = std::max(cells, words + MulDiv(16, Form() ? Form()->PixelsPerInch() : 96, 96));
        SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, column, width);
        widths_.push_back(width);
    }
}

void TListView::SetItemIndex(int index)
{
    itemIndex_ = index >= 0 && index < static_cast<int>(rows_.size()) ? index : -1;
    MirrorSelection();
}

void TListView::SetSortMark(int column, bool ascending)
{
    sortColumn_ = column;
    sortAscending_ = ascending;
    MirrorSortMark();
}

void TListView::MirrorColumns()
{
    if (!hwnd_) return;
    while (SendMessageA(hwnd_, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns_[c].c_str());
        column.cx = c < widths_.size() ? widths_[c] : 100;
        column.iSubItem = static_cast<int>(c);
        SendMessageA(hwnd_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
}

void TListView::MirrorRows()
{
    if (!hwnd_) return;
    programSelection_ = true;
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t r = 0; r < rows_.size(); ++r)
        for (std::size_t c = 0; c < rows_[r].size() && c < columns_.size(); ++c) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(c);
            item.pszText = const_cast<char*>(rows_[r][c].c_str());
            SendMessageA(hwnd_, c == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, c == 0 ? 0 : r,
                         reinterpret_cast<LPARAM>(&item));
        }
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    programSelection_ = false;
    MirrorSelection();
}

void TListView::MirrorSelection()
{
    if (!hwnd_) return;
    programSelection_ = true;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (itemIndex_ >= 0) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(itemIndex_), reinterpret_cast<LPARAM>(&state));
        SendMessageA(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(itemIndex_), FALSE);
    }
    programSelection_ = false;
}

void TListView::MirrorSortMark()
{
    if (!hwnd_) return;
    HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
    if (!header) return;
    for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (c == sortColumn_) item.fmt |= sortAscending_ ? HDF_SORTUP : HDF_SORTDOWN;
        SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
    }
}

bool TListView::Notify(void* nmhdr, long long& result)
{
    auto* header = static_cast<NMHDR*>(nmhdr);
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(nmhdr);
        if (programSelection_ || !(change->uChanged & LVIF_STATE)) return false;
        if (change->uNewState & LVIS_SELECTED)
            itemIndex_ = change->iItem;
        else if ((change->uOldState & LVIS_SELECTED) && change->iItem == itemIndex_)
            itemIndex_ = -1;
        return false;
    }
    case LVN_COLUMNCLICK:
        if (OnColumnClick) OnColumnClick(this, reinterpret_cast<NMLISTVIEW*>(nmhdr)->iSubItem);
        result = 0;
        return true;
    case NM_DBLCLK:
        if (reinterpret_cast<NMITEMACTIVATE*>(nmhdr)->iItem >= 0 && OnDblClick) OnDblClick(this);
        return false;
    default:
        return false;
    }
}

}  // namespace ui
