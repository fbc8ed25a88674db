// Labels, group boxes, check boxes, radio buttons, push buttons, edits, memos, combo boxes.
#include <algorithm>

#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/RadioButton.h"
#include "ui/SystemText.h"
#include "ui/UpDown.h"
#include "ui/Win32.h"

#include <windowsx.h>

namespace ui {

namespace {

// How the platform draws a check box or radio button: the box, 12 pixels and one at 96 per inch,
// at the left; after it a gap of half the width of a digit ("0" in the caption's font), and the
// caption a pixel into the room that leaves it; the focus frame a pixel around the caption.
int BoxWidth(int pixelsPerInch) { return MulDiv(12, pixelsPerInch, 96) + 1; }
int CaptionStart(int pixelsPerInch, int digitWidth) { return BoxWidth(pixelsPerInch) + digitWidth / 2 + 1; }

// The platform draws the caption of a disabled check box or radio button in a grey that all but
// vanishes on the window's silver; it is drawn again, after the platform's, in the grey of
// disabled text. Where the platform sends no custom-draw notice, its own drawing stays.
bool DrawDisabledCaption(TControl* control, void* nmhdr, long long& result)
{
    auto* draw = static_cast<NMCUSTOMDRAW*>(nmhdr);
    HWND hwnd = control->Handle();
    if (draw->hdr.code != static_cast<UINT>(NM_CUSTOMDRAW) || IsWindowEnabled(hwnd)) return false;
    if (draw->dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYPOSTPAINT;
        return true;
    }
    if (draw->dwDrawStage != CDDS_POSTPAINT) return false;
    RECT r;
    GetClientRect(hwnd, &r);
    HDC dc = draw->hdc;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    // Over the platform's caption, which starts where it does at the screen's resolution.
    INT digit = 0;
    GetCharWidth32A(dc, '0', '0', &digit);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    r.left = BoxWidth(dpi);
    FillRect(dc, &r, win32::BrushFor(control->Color()));
    r.left = CaptionStart(dpi, digit);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, control->ShownCaption().c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    SelectObject(dc, old);
    result = CDRF_DODEFAULT;
    return true;
}

}  // namespace

// --- TLabel

TControl::CreateParams TLabel::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "STATIC";
    p.style = SS_NOTIFY | (showAccelChar_ ? 0 : SS_NOPREFIX) | (endEllipsis_ ? SS_ENDELLIPSIS : 0) |
              (alignment_ == TAlignment::Right    ? SS_RIGHT
               : alignment_ == TAlignment::Center ? SS_CENTER
               : wordWrap_                        ? SS_LEFT
                                                  : SS_LEFTNOWORDWRAP);
    return p;
}

void TLabel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    if (hwnd_) {
        LONG style = GetWindowLongA(hwnd_, GWL_STYLE) & ~0x1F;
        SetWindowLongA(hwnd_, GWL_STYLE, style | (GetCreateParams().style & 0x1F));
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void TLabel::SetShowAccelChar(bool show)
{
    showAccelChar_ = show;
    FitCaption();
    if (!hwnd_) return;
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE, show ? style & ~SS_NOPREFIX : style | SS_NOPREFIX);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TLabel::SetWordWrap(bool wrap)
{
    wordWrap_ = wrap;
    FitCaption();
    SetAlignment(alignment_);
}

// --- TGroupBox

TControl::CreateParams TGroupBox::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "BUTTON";
    p.style = BS_GROUPBOX | WS_CLIPCHILDREN;
    p.exStyle = WS_EX_CONTROLPARENT;
    return p;
}

bool TGroupBox::WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result)
{
    switch (msg) {
    case WM_NCHITTEST:
        // A plain group box lets the mouse through to its parent; this one keeps it, so that
        // moving over its free area is a move over the group.
        result = HTCLIENT;
        return true;
    default:
        return false;
    }
}

// --- TCheckBox

namespace {
// Where the caption starts, at the form's resolution, and the pixel of the focus frame after it.
int GlyphWidth(const TControl* control)
{
    const TForm* form = control->Form();
    if (!form) return CaptionStart(96, 8) + 1;
    return CaptionStart(form->PixelsPerInch(), form->DigitWidth(control->Bold())) + 1;
}
}  // namespace

TControl::CaptionRoom TCheckBox::RoomForCaption(int width, int) const { return {width - GlyphWidth(this), 0}; }

TControl::CaptionRoom TRadioButton::RoomForCaption(int width, int) const { return {width - GlyphWidth(this), 0}; }

TControl::CaptionRoom TButton::RoomForCaption(int width, int) const
{
    const TForm* form = Form();
    return {width - MulDiv(8, form ? form->PixelsPerInch() : 96, 96), 0};
}

TControl::CreateParams TCheckBox::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "BUTTON";
    p.style = BS_3STATE | WS_TABSTOP;
    return p;
}

// A new window is unchecked.
void TCheckBox::HandleCreated()
{
    if (state_ != TCheckBoxState::Unchecked) Mirror();
}

void TCheckBox::Mirror()
{
    if (hwnd_) SendMessageA(hwnd_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState state)
{
    if (state == state_) return;
    state_ = state;
    Mirror();
    Click();
}

bool TCheckBox::Notify(void* nmhdr, long long& result) { return DrawDisabledCaption(this, nmhdr, result); }

void TCheckBox::Command(unsigned code)
{
    // The user's click: unchecked and indeterminate become checked, checked becomes unchecked.
    if (code == BN_CLICKED) SetChecked(state_ != TCheckBoxState::Checked);
}

// --- TRadioButton

TControl::CreateParams TRadioButton::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "BUTTON";
    p.style = BS_RADIOBUTTON | WS_TABSTOP;
    return p;
}

void TRadioButton::HandleCreated()
{
    if (checked_) Mirror();
}

void TRadioButton::Mirror()
{
    if (hwnd_) SendMessageA(hwnd_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool checked)
{
    if (checked == checked_) return;
    checked_ = checked;
    Mirror();
    if (!checked_) return;
    if (TControl* parent = Parent()) {
        // Siblings are the radio buttons of the same parent, found among the owner's components.
        for (TComponent* owner = Owner(); owner; owner = nullptr) {
            for (int i = 0; i < owner->ComponentCount(); ++i) {
                auto* other = dynamic_cast<TRadioButton*>(owner->Components(i));
                if (other && other != this && other->Parent() == parent) other->SetChecked(false);
            }
        }
    }
    Click();
}

bool TRadioButton::Notify(void* nmhdr, long long& result) { return DrawDisabledCaption(this, nmhdr, result); }

void TRadioButton::Command(unsigned code)
{
    // Clicking the checked button changes nothing and runs nothing. A radio button of the
    // platform may report a click when it merely gets the focus; the keyboard's Tab chooses nothing.
    TForm* form = Form();
    if (code == BN_CLICKED && !(form && form->MovingFocus())) SetChecked(true);
}

// --- TButton

TControl::CreateParams TButton::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "BUTTON";
    p.style = (shownDefault_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
    return p;
}

void TButton::HandleCreated()
{
    // Disabled, a button takes no mouse messages: its tool tip then tells why from its parent's.
    if (ShowHint())
        if (TForm* form = Form()) form->AddToolTip(this, true);
}

void TButton::SetDefault(bool isDefault)
{
    default_ = isDefault;
    ShowAsDefault(isDefault);
}

void TButton::ShowAsDefault(bool shown)
{
    if (shown == shownDefault_) return;
    shownDefault_ = shown;
    if (hwnd_) SendMessageA(hwnd_, BM_SETSTYLE, shown ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Command(unsigned code)
{
    if (code != BN_CLICKED) return;
    Click();
    if (ModalResult != TModalResult::None)
        if (TForm* form = Form()) form->SetModalResult(ModalResult);
}

// --- TEdit

TControl::CreateParams TEdit::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "EDIT";
    p.style = ES_AUTOHSCROLL | WS_TABSTOP | (numbersOnly_ ? ES_NUMBER : 0);
    p.exStyle = WS_EX_CLIENTEDGE;
    return p;
}

void TEdit::SetNumbersOnly(bool numbersOnly)
{
    numbersOnly_ = numbersOnly;
    if (!hwnd_) return;
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE, numbersOnly ? style | ES_NUMBER : style & ~ES_NUMBER);
}

void TEdit::SetText(const std::string& text)
{
    if (text == text_) return;
    text_ = text;
    if (hwnd_) {
        settingText_ = true;
        SetWindowTextA(hwnd_, text_.c_str());
        settingText_ = false;
    }
    // Runs here rather than from the window's notification, so an error reaches the caller.
    if (OnChange) OnChange(this);
}

void TEdit::Command(unsigned code)
{
    if (code != EN_CHANGE || settingText_) return;
    std::string now = win32::WindowText(hwnd_);
    text_ = now;
    if (OnChange) OnChange(this);
}

bool TEdit::WindowMessage(unsigned msg, unsigned long long wParam, long long, long long& result)
{
    if (msg != WM_KEYDOWN || !Spinner || !Spinner->Enabled() || !EventsEnabled()) return false;
    int delta = 0;
    switch (wParam) {
    case VK_UP: delta = 1; break;
    case VK_DOWN: delta = -1; break;
    case VK_PRIOR: delta = 10; break;
    case VK_NEXT: delta = -10; break;
    default: return false;
    }
    DispatchInput([&] { Spinner->Step(delta); });
    result = 0;
    return true;
}

// --- TMemo

TMemo::TMemo(TComponent* owner, std::string name, TScrollStyle scrollBars)
    : TControl(owner, std::move(name)), scrollBars_(scrollBars)
{
}

TControl::CreateParams TMemo::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "EDIT";
    p.style = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | (tabStop_ ? WS_TABSTOP : 0) |
              (scrollBars_ == TScrollStyle::Vertical ? WS_VSCROLL : 0);
    p.exStyle = WS_EX_CLIENTEDGE;
    return p;
}

void TMemo::SetTabStop(bool tabStop)
{
    tabStop_ = tabStop;
    if (!hwnd_) return;
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

void TMemo::HandleCreated()
{
    if (!lines_.empty()) Mirror();
}

void TMemo::Clear()
{
    lines_.clear();
    Mirror();
}

void TMemo::Add(const std::string& line)
{
    lines_.push_back(line);
    Mirror();
}

void TMemo::SetLines(std::vector<std::string> lines)
{
    lines_ = std::move(lines);
    Mirror();
}

std::string TMemo::Text() const
{
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) text += "\r\n";
        text += lines_[i];
    }
    return text;
}

void TMemo::SetText(const std::string& text)
{
    lines_.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            if (start < text.size()) lines_.push_back(text.substr(start));
            break;
        }
        lines_.push_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    Mirror();
}

void TMemo::Mirror()
{
    if (hwnd_) SetWindowTextA(hwnd_, Text().c_str());
}

// --- TComboBox

TComboBox::TComboBox(TComponent* owner, std::string name, bool sorted) : TControl(owner, std::move(name)), sorted_(sorted)
{
}

TControl::CreateParams TComboBox::GetCreateParams() const
{
    CreateParams p;
    p.windowClass = "COMBOBOX";
    p.style = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | (sorted_ ? CBS_SORT : 0);
    return p;
}

void TComboBox::HandleCreated()
{
    // The list takes the items where they stand here, sorted or not.
    programChange_ = true;
    SendMessageA(hwnd_, CB_INITSTORAGE, items_.size(), 0);
    // The list neither draws nor sets its scroll bar for each item: once, when it is next shown.
    if (!items_.empty()) SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = 0; i < items_.size(); ++i)
        SendMessageA(hwnd_, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(items_[i].c_str()));
    if (!items_.empty()) SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    // The selection shows its item; a text that is no item is set as such.
    if (itemIndex_ >= 0)
        SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    else if (!text_.empty())
        SetWindowTextA(hwnd_, text_.c_str());
    programChange_ = false;
}

int TComboBox::Add(const std::string& item)
{
    int index = static_cast<int>(items_.size());
    if (sorted_) {
        // As a sorted list of the platform compares its items; an item goes after those equal to it.
        auto at = std::upper_bound(items_.begin(), items_.end(), item, [](const std::string& a, const std::string& b) {
            return CompareTextIgnoringCase(a, b) < 0;
        });
        index = static_cast<int>(at - items_.begin());
    }
    if (hwnd_) {
        // Inserted, not added: the window keeps the order worked out here.
        programChange_ = true;
        SendMessageA(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.c_str()));
        programChange_ = false;
    }
    items_.insert(items_.begin() + index, item);
    if (itemIndex_ >= index) ++itemIndex_;
    return index;
}

void TComboBox::ClearItems()
{
    items_.clear();
    itemIndex_ = -1;
    if (hwnd_) {
        programChange_ = true;
        SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
        SetWindowTextA(hwnd_, text_.c_str());
        programChange_ = false;
    }
}

int TComboBox::IndexOf(const std::string& text) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text) return static_cast<int>(i);
    return -1;
}

void TComboBox::SetText(const std::string& text)
{
    text_ = text;
    typed_ = false;
    itemIndex_ = IndexOf(text);
    if (hwnd_) {
        programChange_ = true;
        SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
        SetWindowTextA(hwnd_, text_.c_str());
        programChange_ = false;
    }
}

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    itemIndex_ = index;
    text_ = index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string();
    typed_ = false;
    if (hwnd_) {
        programChange_ = true;
        SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        if (index < 0) SetWindowTextA(hwnd_, "");
        programChange_ = false;
    }
}

void TComboBox::Command(unsigned code)
{
    if (programChange_) return;
    if (code == CBN_KILLFOCUS) FocusLeft(GetFocus());
    if (code == CBN_SETFOCUS) FocusEntered();
    // The choice is made once the list has closed and shows the item, not while the click that
    // picked it is still being handled.
    if (code == CBN_SELENDOK && OnSelect && ClosedByClickInList()) PostMessageA(hwnd_, kPickedMessage, 0, 0);
    if (code == CBN_SELCHANGE) {
        // The edit shows the picked item only after this notification; take it from the list.
        int index = static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
        if (index < 0 || index >= static_cast<int>(items_.size())) return;
        itemIndex_ = index;
        text_ = items_[static_cast<std::size_t>(index)];
        if (OnChange) OnChange(this);
    } else if (code == CBN_EDITCHANGE) {
        typed_ = true;
        text_ = win32::WindowText(hwnd_);
        itemIndex_ = IndexOf(text_);
        if (OnChange) OnChange(this);
    }
}

bool TComboBox::ClosedByClickInList() const
{
    const MSG* input = Application().Dispatching();
    if (!input || (input->message != WM_LBUTTONUP && input->message != WM_LBUTTONDOWN)) return false;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(hwnd_, &info) || input->hwnd != info.hwndList) return false;
    RECT items;
    GetClientRect(info.hwndList, &items);
    const POINT at{GET_X_LPARAM(input->lParam), GET_Y_LPARAM(input->lParam)};
    return PtInRect(&items, at) != FALSE;
}

void TComboBox::CloseList()
{
    if (!hwnd_ || !SendMessageA(hwnd_, CB_GETDROPPEDSTATE, 0, 0)) return;
    // Closing may put back the text the list showed before it opened.
    const std::string shown = text_;
    programChange_ = true;
    SendMessageA(hwnd_, CB_SHOWDROPDOWN, FALSE, 0);
    programChange_ = false;
    if (win32::WindowText(hwnd_) != shown) SetText(shown);
}

void TComboBox::Select()
{
    typed_ = false;
    if (OnSelect) OnSelect(this);
}

bool TComboBox::PreviewKey(unsigned key)
{
    if (!OnSelect) return false;
    switch (key) {
    case VK_RETURN:
        CloseList();
        Select();
        return true;
    case VK_ESCAPE:
        CloseList();
        typed_ = false;
        if (OnCancel) OnCancel(this);
        return true;
    case VK_TAB:
        // The focus moves on after the choice, as from any control.
        if (typed_ && GetKeyState(VK_CONTROL) >= 0) Select();
        return false;
    default:
        return false;
    }
}

bool TComboBox::WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result)
{
    if (msg != kPickedMessage) return TControl::WindowMessage(msg, wParam, lParam, result);
    const int index = static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(items_.size())) {
        itemIndex_ = index;
        text_ = items_[static_cast<std::size_t>(index)];
        if (EventsEnabled()) DispatchInput([this] { Select(); });
    }
    result = 0;
    return true;
}

}  // namespace ui
