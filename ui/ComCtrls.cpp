// Track bars, up-downs, page controls and tab sheets, speed buttons.
#include <algorithm>

#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/PageControl.h"
#include "ui/SpeedButton.h"
#include "ui/TrackBar.h"
#include "ui/UpDown.h"
#include "ui/Win32.h"

namespace ui {

// --- TTrackBar

TControl::CreateParams TTrackBar::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = TRACKBAR_CLASSA;
    p.style = TBS_AUTOTICKS | WS_TABSTOP | (orientation_ == TTrackBarOrientation::Vertical ? TBS_VERT | TBS_RIGHT : TBS_BOTTOM);
    return p;
}

void TTrackBar::HandleCreated()
{
    // A new window has not been drawn yet.
    SendMessageA(hwnd_, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageA(hwnd_, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageA(hwnd_, TBM_SETPAGESIZE, 0, pageSize_);
    SendMessageA(hwnd_, TBM_SETLINESIZE, 0, lineSize_);
    SendMessageA(hwnd_, TBM_SETTICFREQ, static_cast<WPARAM>(tickFrequency_), 0);
    SendMessageA(hwnd_, TBM_SETPOS, FALSE, position_);
}

void TTrackBar::SetRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    if (hwnd_) {
        SendMessageA(hwnd_, TBM_SETRANGEMIN, FALSE, min_);
        SendMessageA(hwnd_, TBM_SETRANGEMAX, TRUE, max_);
    }
    position_ = std::clamp(position_, min_, max_);
}

void TTrackBar::SetPosition(int position)
{
    position = std::clamp(position, min_, max_);
    if (position == position_) return;
    position_ = position;
    if (hwnd_) SendMessageA(hwnd_, TBM_SETPOS, TRUE, position_);
    if (OnChange) OnChange(this);
}

void TTrackBar::SetPageSize(int size)
{
    pageSize_ = size;
    if (hwnd_) SendMessageA(hwnd_, TBM_SETPAGESIZE, 0, size);
}

void TTrackBar::SetLineSize(int size)
{
    lineSize_ = size;
    if (hwnd_) SendMessageA(hwnd_, TBM_SETLINESIZE, 0, size);
}

void TTrackBar::SetTickFrequency(int frequency)
{
    tickFrequency_ = frequency;
    if (hwnd_) SendMessageA(hwnd_, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

void TTrackBar::Scroll(unsigned)
{
    position_ = static_cast<int>(SendMessageA(hwnd_, TBM_GETPOS, 0, 0));
    if (OnChange) OnChange(this);
}

// --- TUpDown

TControl::CreateParams TUpDown::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = UPDOWN_CLASSA;
    p.style = UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    return p;
}

void TUpDown::HandleCreated()
{
    SendMessageA(hwnd_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(hwnd_, UDM_SETPOS32, 0, position_);
    if (associate_) SendMessageA(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
}

void TUpDown::SetRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    if (hwnd_) SendMessageA(hwnd_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TUpDown::Position() const
{
    if (associate_) {
        // The edit may hold what the user typed; a number in range is the position.
        const std::string& text = associate_->Text();
        if (!text.empty() && text.size() < 12) {
            char* end = nullptr;
            long value = strtol(text.c_str(), &end, 10);
            if (*end == '\0' && value >= min_ && value <= max_) position_ = static_cast<int>(value);
        }
    }
    return position_;
}

void TUpDown::SetPosition(int position)
{
    position_ = std::clamp(position, min_, max_);
    if (hwnd_) SendMessageA(hwnd_, UDM_SETPOS32, 0, position_);
    if (associate_) associate_->SetText(std::to_string(position_));
}

void TUpDown::SetAssociate(TEdit* edit)
{
    associate_ = edit;
    if (!edit) return;
    // The arrows sit at the edit's right edge, inside the edit's former width.
    const TBounds e = edit->Bounds();
    int arrows = std::max(Width(), 17);
    edit->SetBounds(e.Left, e.Top, e.Width - arrows, e.Height);
    SetBounds(e.Left + e.Width - arrows, e.Top, arrows, e.Height);
    // As the platform's buddy the edit keeps the focus while the arrows are clicked.
    if (hwnd_) SendMessageA(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit->Handle()), 0);
    edit->SetText(std::to_string(position_));
}

bool TUpDown::Notify(void* nmhdr, long long& result)
{
    auto* change = static_cast<NMUPDOWN*>(nmhdr);
    if (change->hdr.code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    result = 1;  // the control's own idea of the position is not used
    Step(change->iDelta);
    return true;
}

void TUpDown::Step(int delta)
{
    // The step starts from what the edit shows, which the user may have typed.
    position_ = std::clamp(Position() + delta, min_, max_);
    if (hwnd_) SendMessageA(hwnd_, UDM_SETPOS32, 0, position_);
    if (associate_) associate_->SetText(std::to_string(position_));
    if (OnClick) OnClick(this);
}

// --- TTabSheet and TPageControl

namespace {
void RegisterSheetClass()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(win32::Instance(), "TTabSheet", &wc)) return;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = win32::Instance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "TTabSheet";
    RegisterClassExA(&wc);
}
}  // namespace

TTabSheet::TTabSheet(TComponent* owner, std::string name) : TControl(owner, std::move(name))
{
    RegisterSheetClass();
    SetVisible(false);
}

TControl::CreateParams TTabSheet::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "TTabSheet";
    p.style = WS_CLIPCHILDREN;
    p.exStyle = WS_EX_CONTROLPARENT;
    return p;
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

TBounds TTabSheet::WindowBounds() const
{
    // A page fills the page control's display area, whatever its design bounds say.
    TPageControl* pc = PageControl();
    if (!pc || !pc->HandleAllocated()) return TControl::WindowBounds();
    RECT r;
    GetClientRect(pc->Handle(), &r);
    SendMessageA(pc->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int TTabSheet::PageIndex() const
{
    TPageControl* pc = PageControl();
    if (!pc) return -1;
    for (int i = 0; i < pc->PageCount(); ++i)
        if (pc->Pages(i) == this) return i;
    return -1;
}

void TTabSheet::SetCaption(const std::string& caption)
{
    TControl::SetCaption(caption);
    if (TPageControl* pc = PageControl()) pc->RebuildTabs();
}

void TTabSheet::SetTabVisible(bool visible)
{
    if (visible == tabVisible_) return;
    tabVisible_ = visible;
    TPageControl* pc = PageControl();
    if (!pc) return;
    if (!visible && pc->ActivePage() == this) {
        TTabSheet* next = nullptr;
        int n = pc->PageCount(), me = PageIndex();
        for (int step = 1; step < n && !next; ++step) {
            TTabSheet* candidate = pc->Pages((me + step) % n);
            if (candidate->TabVisible()) next = candidate;
        }
        pc->SetActivePage(next);
    }
    pc->RebuildTabs();
}

TControl::CreateParams TPageControl::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = WC_TABCONTROLA;
    p.style = WS_CLIPCHILDREN | WS_TABSTOP | TCS_TABS;
    p.exStyle = WS_EX_CONTROLPARENT;
    return p;
}

void TPageControl::HandleCreated() { RebuildTabs(); }

void TPageControl::ControlInserted(TControl* control)
{
    if (auto* page = dynamic_cast<TTabSheet*>(control)) AddPage(page);
}

void TPageControl::AddPage(TTabSheet* page)
{
    pages_.push_back(page);
    if (!active_) active_ = page;
    RebuildTabs();
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const
{
    std::vector<TTabSheet*> tabs;
    for (TTabSheet* p : pages_)
        if (p->TabVisible()) tabs.push_back(p);
    return tabs;
}

void TPageControl::RebuildTabs()
{
    if (hwnd_) {
        SendMessageA(hwnd_, TCM_DELETEALLITEMS, 0, 0);
        std::vector<TTabSheet*> tabs = VisibleTabs();
        for (std::size_t i = 0; i < tabs.size(); ++i) {
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            std::string text = tabs[i]->Caption();
            item.pszText = text.data();
            SendMessageA(hwnd_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
            if (tabs[i] == active_) SendMessageA(hwnd_, TCM_SETCURSEL, i, 0);
        }
    }
    ShowActivePage();
}

void TPageControl::ShowActivePage()
{
    // The page that goes first, then the one that comes, which makes the windows it shows if it has
    // none yet.
    for (TTabSheet* p : pages_)
        if (p != active_) p->SetVisible(false);
    if (active_) active_->SetVisible(true);
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    active_ = page;
    RebuildTabs();
}

void TPageControl::ChangeActivePage(TTabSheet* page)
{
    if (!page || page == active_) return;
    active_ = page;
    RebuildTabs();
    if (OnChange) OnChange(this);
}

TTabSheet* TPageControl::FindNextPage(bool forward) const
{
    std::vector<TTabSheet*> tabs = VisibleTabs();
    if (tabs.empty()) return nullptr;
    auto at = std::find(tabs.begin(), tabs.end(), active_);
    int n = static_cast<int>(tabs.size());
    int index = at == tabs.end() ? 0 : static_cast<int>(at - tabs.begin());
    return tabs[static_cast<std::size_t>((index + (forward ? 1 : n - 1)) % n)];
}

bool TPageControl::Notify(void* nmhdr, long long& result)
{
    auto* header = static_cast<NMHDR*>(nmhdr);
    if (header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    int index = static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0));
    std::vector<TTabSheet*> tabs = VisibleTabs();
    if (index >= 0 && index < static_cast<int>(tabs.size())) {
        active_ = tabs[static_cast<std::size_t>(index)];
        ShowActivePage();
        if (OnChange) OnChange(this);
    }
    result = 0;
    return true;
}

// --- TSpeedButton

TControl::CreateParams TSpeedButton::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "BUTTON";
    p.style = BS_OWNERDRAW | WS_TABSTOP;
    return p;
}

void TSpeedButton::HandleCreated()
{
    if (ShowHint())
        if (TForm* form = Form()) form->AddToolTip(this);
}

void TSpeedButton::Mirror()
{
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TSpeedButton::SetGroupIndex(int index)
{
    groupIndex_ = index;
    if (groupIndex_ == 0 && down_) {
        down_ = false;
        Mirror();
    }
}

void TSpeedButton::SetDown(bool down)
{
    if (groupIndex_ == 0 || grayed_) down = false;
    if (down == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = down;
    Mirror();
    if (!down_) return;
    // The others of the group come up, and take this button's releasable flag.
    for (TComponent* owner = Owner(); owner; owner = nullptr) {
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            auto* other = dynamic_cast<TSpeedButton*>(owner->Components(i));
            if (!other || other == this || other->groupIndex_ != groupIndex_ || other->Parent() != Parent()) continue;
            if (other->down_) {
                other->down_ = false;
                other->Mirror();
            }
            other->allowAllUp_ = allowAllUp_;
        }
    }
}

void TSpeedButton::SetSelected(bool selected)
{
    if (selected == selected_) return;
    selected_ = selected;
    Mirror();
}

void TSpeedButton::SetGrayed(bool grayed)
{
    if (grayed == grayed_) return;
    grayed_ = grayed;
    down_ = down_ && !grayed_;
    Mirror();
}

void TSpeedButton::SetHint(const std::string& hint) { TControl::SetHint(hint); }

void TSpeedButton::Command(unsigned code)
{
    // A drawn button tells a quick second click as a double click; it is a click all the same.
    if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;
    if (groupIndex_ != 0) SetDown(!down_);
    Click();
}

bool TSpeedButton::DrawItem(void* drawItem)
{
    auto* item = static_cast<DRAWITEMSTRUCT*>(drawItem);
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    const bool held = item->itemState & ODS_SELECTED;  // the mouse or the space bar holds it down
    const TForm* form = Form();
    const int dpi = form ? form->PixelsPerInch() : 96;

    FillRect(dc, &r, GetSysColorBrush(grayed_ ? COLOR_WINDOW : down_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    if (grayed_) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    } else if (down_ || held) {
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    } else {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    }
    // The selection: a dark frame, with a light line inside it that parts it from a filled key.
    if (selected_) {
        RECT frame = r;
        for (int i = MulDiv(3, dpi, 96); i > 0; --i) {
            FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWTEXT));
            InflateRect(&frame, -1, -1);
        }
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOW));
    }

    RECT text = r;
    if (held || down_) OffsetRect(&text, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(grayed_ ? COLOR_GRAYTEXT : down_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    DrawTextA(dc, Caption().c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        InflateRect(&focus, -MulDiv(selected_ ? 6 : 4, dpi, 96), -MulDiv(selected_ ? 6 : 4, dpi, 96));
        DrawFocusRect(dc, &focus);
    }
    return true;
}

bool TSpeedButton::PreviewKey(unsigned key)
{
    if (OnKeyDown) {
        TShiftState shift = 0;
        if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
        if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
        if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
        OnKeyDown(this, key, shift);
        if (key == 0) return true;
    }
    switch (key) {
    case VK_SPACE:
    case VK_RETURN:
        Command(BN_CLICKED);
        return true;
    case VK_DELETE: {
        RECT r;
        GetClientRect(hwnd_, &r);
        const int x = r.right / 2, y = r.bottom / 2;
        if (OnMouseDown) OnMouseDown(this, TMouseButton::Right, 0, x, y);
        if (OnMouseUp) OnMouseUp(this, TMouseButton::Right, 0, x, y);
        return true;
    }
    default:
        return false;
    }
}

bool TSpeedButton::PointerOver() const
{
    POINT at;
    RECT r;
    return GetCursorPos(&at) && GetWindowRect(hwnd_, &r) && PtInRect(&r, at);
}

bool TSpeedButton::MouseMoved(int x, int y)
{
    // A move read only once the pointer has left the button again (it crossed the button on its way
    // faster than the moves were read) is no move onto it.
    if (!PointerOver()) return false;
    // The system tells the window under the pointer of a move when a capture ends or a window comes
    // or goes, at the place where the pointer already was: that is no move of the user's.
    static POINT last{-32768, -32768};
    POINT at{x, y};
    ClientToScreen(hwnd_, &at);
    if (at.x == last.x && at.y == last.y) return false;
    last = at;
    return true;
}

bool TSpeedButton::WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result)
{
    switch (msg) {
    case BM_GETCHECK:
        // The state another program (a screen reader, a test) asks the window for is the one drawn.
        result = down_ ? BST_CHECKED : selected_ ? BST_INDETERMINATE : BST_UNCHECKED;
        return true;
    case WM_MOUSEMOVE:
        // Such a move tells that the pointer has left: the system may tell no more, as it watches
        // for the leave only while the pointer is over the window (so under Wine).
        if (!PointerOver()) {
            if (OnMouseLeave && EventsEnabled()) Dispatch([this] { OnMouseLeave(this); });
            return false;
        }
        if (!trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
            trackingLeave_ = TrackMouseEvent(&track);
        }
        return false;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (OnMouseLeave && EventsEnabled()) Dispatch([this] { OnMouseLeave(this); });
        result = 0;
        return true;
    default:
        return TControl::WindowMessage(msg, wParam, lParam, result);
    }
}

}  // namespace ui
