#include "ui/Control.h"
#include "ui/Exception.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "ui/AccessKey.h"
#include "ui/GroupBox.h"
#include "ui/SystemText.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Win32.h"

#include <windowsx.h>

namespace ui {

namespace win32 {

HBRUSH BrushFor(COLORREF color)
{
    static std::map<COLORREF, HBRUSH> brushes;
    auto it = brushes.find(color);
    if (it != brushes.end()) return it->second;
    HBRUSH brush = CreateSolidBrush(color);
    brushes.emplace(color, brush);
    return brush;
}

std::string WindowText(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

}  // namespace win32

namespace {

const char kNameProperty[] = "Name";

// The control each window of ours belongs to, from its subclassing until it is destroyed. Kept here
// rather than as a window property: under Wine every property call, and the common controls'
// subclassing with its property read on every message, is a round trip to the window server.
std::unordered_map<HWND, TControl*>& ControlsByWindow()
{
    static std::unordered_map<HWND, TControl*> controls;
    return controls;
}

LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM);

TShiftState ShiftOf(WPARAM keys)
{
    TShiftState shift = 0;
    if (keys & MK_SHIFT) shift |= ssShift;
    if (keys & MK_CONTROL) shift |= ssCtrl;
    if (keys & MK_LBUTTON) shift |= ssLeft;
    if (keys & MK_RBUTTON) shift |= ssRight;
    if (keys & MK_MBUTTON) shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

// The control of the form that holds window h (h itself or the nearest of its parents); null
// when h lies outside the form.
TControl* ControlOfForm(TForm* form, HWND h)
{
    if (!h || !form || !form->HandleAllocated() || (h != form->Handle() && !IsChild(form->Handle(), h))) return nullptr;
    TControl* control = nullptr;
    while (h && !(control = TControl::FromHandle(h))) h = GetParent(h);
    return control;
}

}  // namespace

void ReportException()
{
    try {
        throw;
    } catch (const Exception& e) {
        if (e.WideMessage().empty())
            Application().ShowException(e.Message());
        else
            Application().ShowException(e.WideMessage());
    } catch (const std::exception& e) {
        Application().ShowException(e.what());
    } catch (...) {
        Application().ShowException("Unknown error");
    }
}

struct ControlProcAccess {
    static LRESULT Proc(TControl* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        // What the control leaves goes on to the procedure of the window's class.
        const WNDPROC classProc = reinterpret_cast<WNDPROC>(self->defaultProc_);
        auto passOn = [&] {
            return self->wideWindow_ ? CallWindowProcW(classProc, hwnd, msg, wParam, lParam)
                                     : CallWindowProcA(classProc, hwnd, msg, wParam, lParam);
        };
        // The form's tool tip learns of the mouse over a control with a hint from here, rather than by
        // subclassing every such window itself.
        if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && (self->ShowHint() || self->inToolTip_))
            if (TForm* form = self->Form()) form->RelayToToolTip(hwnd, msg, wParam, lParam);
        switch (msg) {
        case WM_COMMAND:
            if (lParam) {
                if (TControl* child = TControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
                    unsigned code = HIWORD(wParam);
                    // A disabled control takes no clicks, however the click was sent.
                    bool refused = code == BN_CLICKED && !child->Enabled();
                    if (child->EventsEnabled() && !refused) child->DispatchInput([&] { child->Command(code); });
                    return 0;
                }
            }
            break;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->code == TTN_GETDISPINFOA) {
                auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
                static std::string tip;
                TControl* tool = TControl::FromHandle(reinterpret_cast<HWND>(header->idFrom));
                tip = tool ? tool->ToolTipText() : std::string();
                info->lpszText = tip.data();
                info->hinst = nullptr;
                return 0;
            }
            if (TControl* child = TControl::FromHandle(header->hwndFrom)) {
                long long result = 0;
                bool handled = false;
                // Drawing is no input: the check boxes draw their disabled captions themselves.
                auto notify = [&] { handled = child->Notify(header, result); };
                if (child->EventsEnabled() && header->code == static_cast<UINT>(NM_CUSTOMDRAW))
                    TControl::Dispatch(notify);
                else if (child->EventsEnabled())
                    child->DispatchInput(notify);
                if (handled) return static_cast<LRESULT>(result);
            }
            break;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (lParam) {
                if (TControl* child = TControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
                    if (child->EventsEnabled()) {
                        unsigned code = LOWORD(wParam);
                        child->DispatchInput([&] { child->Scroll(code); });
                    }
                    return 0;
                }
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (TControl* child = TControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, child->FontColor());
                SetBkColor(dc, child->Color());
                return reinterpret_cast<LRESULT>(win32::BrushFor(child->Color()));
            }
            break;
        case WM_ERASEBKGND:
            if (self->PaintsBackground()) {
                RECT r;
                GetClientRect(hwnd, &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, win32::BrushFor(self->Color()));
                return 1;
            }
            break;
        case WM_MOUSEMOVE:
            if (self->OnMouseMove && self->EventsEnabled()) {
                TShiftState shift = ShiftOf(wParam);
                int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
                if (self->MouseMoved(x, y)) TControl::Dispatch([&] { self->OnMouseMove(self, shift, x, y); });
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (self->OnMouseDown && self->EventsEnabled()) {
                TMouseButton button = msg == WM_LBUTTONDOWN   ? TMouseButton::Left
                                      : msg == WM_RBUTTONDOWN ? TMouseButton::Right
                                                              : TMouseButton::Middle;
                TShiftState shift = ShiftOf(wParam);
                int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
                self->DispatchInput([&] { self->OnMouseDown(self, button, shift, x, y); });
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            // Before the window's own handling, which turns a left release into a click.
            if (self->OnMouseUp && self->EventsEnabled()) {
                TMouseButton button = msg == WM_LBUTTONUP   ? TMouseButton::Left
                                      : msg == WM_RBUTTONUP ? TMouseButton::Right
                                                            : TMouseButton::Middle;
                TShiftState shift = ShiftOf(wParam);
                int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
                self->DispatchInput([&] { self->OnMouseUp(self, button, shift, x, y); });
            }
            break;
        case WM_SETFOCUS: {
            LRESULT result = passOn();
            // Coming from another control of the same form (or from the form itself) is an entry;
            // the focus coming back from another window (a message box, another program) is not.
            TControl* source = ControlOfForm(self->Form(), reinterpret_cast<HWND>(wParam));
            if (TForm* form = self->Form()) form->FocusArrived(self);
            if (self->OnEnter && source && source != self && self->EventsEnabled())
                TControl::Dispatch([&] { self->OnEnter(self); });
            return result;
        }
        case WM_KILLFOCUS: {
            LRESULT result = passOn();
            self->FocusLeft(reinterpret_cast<HWND>(wParam));
            return result;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            TControl* child = item ? TControl::FromHandle(item->hwndItem) : nullptr;
            if (child && child->DrawItem(item)) return TRUE;
            break;
        }
        case WM_NCDESTROY: {
            // The window's last message: the class's procedure takes it, and none comes after it.
            RemovePropA(hwnd, kNameProperty);
            if (self->nameAtom_) GlobalDeleteAtom(self->nameAtom_);
            self->nameAtom_ = 0;
            ControlsByWindow().erase(hwnd);
            self->hwnd_ = nullptr;
            return passOn();
        }
        default:
            break;
        }
        long long result = 0;
        if (self->WindowMessage(msg, wParam, lParam, result)) return static_cast<LRESULT>(result);
        return passOn();
    }
};

namespace {
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (TControl* control = TControl::FromHandle(hwnd))
        return ControlProcAccess::Proc(control, hwnd, msg, wParam, lParam);
    return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}
}  // namespace

TControl::TControl(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

TControl::~TControl()
{
    if (hwnd_) DestroyWindow(hwnd_);
    for (TControl* control : controls_) control->parent_ = nullptr;
    LeaveParent();
}

namespace {
// Where the focus went when it last left one of our controls, and the form it left.
HWND focusWentTo = nullptr;
TForm* focusLeftForm = nullptr;
}  // namespace

void TControl::FocusEntered()
{
    const bool entry = focusWentTo && hwnd_ && (focusWentTo == hwnd_ || IsChild(hwnd_, focusWentTo)) &&
                       focusLeftForm == Form();
    focusWentTo = nullptr;
    if (entry && OnEnter && EventsEnabled()) TControl::Dispatch([&] { OnEnter(this); });
}

void TControl::FocusLeft(HWND to)
{
    focusWentTo = to;
    focusLeftForm = Form();
    // Leaving for another control of the same form is an exit; losing the focus to another window
    // (a message box, another program) is not.
    TControl* target = ControlOfForm(Form(), to);
    if (!OnExit || !target || target == this || !EventsEnabled() || inExit_) return;
    inExit_ = true;
    if (!DispatchInput([&] { OnExit(this); })) Form()->ExitRefused(this);
    inExit_ = false;
}

bool TControl::DispatchInput(const std::function<void()>& handlers)
{
    // A handler may take more input inside its own (a message box's loop); the form hears of it
    // once, when the outermost is done.
    static int depth = 0;
    TForm* form = Form();
    ++depth;
    const bool handled = Dispatch(handlers);
    if (--depth == 0 && form && form->OnUserInput && !form->IsDestroying()) Dispatch([&] { form->OnUserInput(form); });
    return handled;
}

void TControl::LeaveParent()
{
    if (!parent_) return;
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

TControl* TControl::FromHandle(HWND hwnd)
{
    if (!hwnd) return nullptr;
    auto found = ControlsByWindow().find(hwnd);
    return found == ControlsByWindow().end() ? nullptr : found->second;
}

HWND TControl::Handle() const
{
    if (!hwnd_) const_cast<TControl*>(this)->CreateHandle();
    return hwnd_;
}

void TControl::SetParent(TControl* parent)
{
    if (parent == parent_) return;
    LeaveParent();
    parent_ = parent;
    if (!parent_) return;
    parent_->controls_.push_back(this);
    parent_->ControlInserted(this);
    FitCaption();
    if (!hwnd_ && OnScreen()) CreateShowingHandles();
}

TForm* TControl::Form() const
{
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

bool TControl::OnScreen() const
{
    const TControl* c = this;
    for (; c->parent_; c = c->parent_)
        if (!c->visible_) return false;
    return c->visible_ && dynamic_cast<const TForm*>(c);
}

int TControl::Scale(int designPixels) const
{
    TForm* form = Form();
    return form ? form->ScaleValue(designPixels) : designPixels;
}

bool TControl::EventsEnabled() const
{
    TForm* form = Form();
    return hwnd_ && form && !form->IsDestroying();
}

TBounds TControl::WindowBounds() const
{
    return {Scale(bounds_.Left), Scale(bounds_.Top), Scale(bounds_.Width), Scale(bounds_.Height + ExtraHeight())};
}

void TControl::CreateHandle()
{
    if (hwnd_) return;
    CreateParams params = GetCreateParams();
    DWORD style = params.style;
    HWND parentWindow = nullptr;
    if (!params.topLevel) {
        if (!parent_ || !Form()) return;
        parentWindow = parent_->Handle();
        style |= WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0);
    }
    // A form's window comes hidden; the form shows it once the windows of what it shows are there.
    if (!enabled_) style |= WS_DISABLED;
    const TBounds at = WindowBounds();
    hwnd_ = CreateWindowExA(params.exStyle, params.windowClass, WindowTextAtCreation().c_str(), style, at.Left, at.Top,
                            at.Width, at.Height, parentWindow, nullptr, win32::Instance(), nullptr);
    if (!hwnd_) throw Exception("Cannot create the window of " + Name());
    if (parent_) PlaceInZOrder();
    AttachWindow();
}

void TControl::CreateShowingHandles()
{
    CreateHandle();
    if (!hwnd_) return;
    // By index: a control's HandleCreated may place no controls, but stay safe if one does.
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i]->visible_) controls_[i]->CreateShowingHandles();
}

void TControl::PlaceInZOrder()
{
    // A new child window goes below its siblings; one made before the windows of controls placed
    // after it goes back among them, so that the windows keep the order of the controls, which is
    // the order of Tab and of overlapping.
    const auto& siblings = parent_->controls_;
    auto me = std::find(siblings.begin(), siblings.end(), this);
    if (me == siblings.end() || std::none_of(me + 1, siblings.end(), [](TControl* c) { return c->hwnd_; })) return;
    HWND after = HWND_TOP;
    for (auto it = siblings.begin(); it != me; ++it)
        if ((*it)->hwnd_) after = (*it)->hwnd_;
    SetWindowPos(hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TControl::AttachWindow()
{
    // Subclassed the classic way, the class's procedure kept to pass on what the control leaves.
    // The procedure takes the messages in the window's own character set (wide for the platform's
    // controls, ANSI for the program's own classes), so the window keeps it: changing it costs a
    // round trip to the window server per window under Wine. The only text the procedure handles is
    // the tool tip's, asked of the form, an ANSI window.
    ControlsByWindow()[hwnd_] = this;
    wideWindow_ = IsWindowUnicode(hwnd_);
    const auto proc = reinterpret_cast<LONG_PTR>(ControlProc);
    defaultProc_ = reinterpret_cast<void (*)()>(wideWindow_ ? SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, proc)
                                                            : SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, proc));
    // Outside tools and end-to-end tests find controls by this property.
    nameAtom_ = GlobalAddAtomA(Name().c_str());
    SetPropA(hwnd_, kNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nameAtom_)));
    // A new window has not been drawn yet.
    if (parent_) ApplyFont(false);
    if (cut_ && !inToolTip_) {
        if (TForm* form = Form()) {
            form->AddToolTip(this);
            inToolTip_ = true;
        }
    }
    HandleCreated();
}

void TControl::ApplyFont(bool redraw)
{
    TForm* form = Form();
    if (hwnd_ && form) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form->FontHandle(bold_)), redraw);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    designBounds_ = bounds_ = {left, top, width, height};
    FitCaption();
    Reposition();
}

namespace {

// Texts measured in a font as a control's window draws them.
class TextMeasure {
public:
    TextMeasure(HFONT font, bool marks) : dc_(GetDC(nullptr)), old_(SelectObject(dc_, font)), marks_(marks) {}
    ~TextMeasure()
    {
        SelectObject(dc_, old_);
        ReleaseDC(nullptr, dc_);
    }
    TextMeasure(const TextMeasure&) = delete;
    TextMeasure& operator=(const TextMeasure&) = delete;
    // The extent of a text on one line, or wrapped at width when width is given.
    SIZE Extent(const std::string& text, int wrapWidth = 0) const
    {
        RECT r{0, 0, wrapWidth, 0};
        const UINT flags = DT_CALCRECT | (wrapWidth ? DT_WORDBREAK : DT_SINGLELINE) | (marks_ ? 0 : DT_NOPREFIX);
        DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, flags);
        return {r.right, r.bottom};
    }

private:
    HDC dc_;
    HGDIOBJ old_;
    bool marks_;
};

}  // namespace

void TControl::FitCaption()
{
    const bool wasCut = cut_;
    const std::string wasShown = ShownCaption();
    const TBounds wasAt = bounds_;
    bounds_ = designBounds_;
    cut_ = false;
    shown_.clear();
    TForm* form = Form();
    const int width = Scale(bounds_.Width), height = Scale(bounds_.Height);
    const CaptionRoom room = RoomForCaption(width, height);
    if (form && room.width > 0 && !caption_.empty() && form != this) {
        const TextMeasure measure(form->FontHandle(bold_), MarksAccessKeys());
        auto fits = [&](const std::string& text, const CaptionRoom& in) {
            const SIZE size = measure.Extent(text, in.height ? in.width : 0);
            return size.cx <= in.width && (!in.height || size.cy <= in.height);
        };
        CaptionRoom now = room;
        if (!fits(caption_, now) && !room.height && dynamic_cast<TGroupBox*>(parent_)) {
            // Inside a group the control first takes the free width on its row, up to the frame
            // or the next control beside it.
            const int needed = measure.Extent(caption_).cx + (width - room.width);
            const int wanted = MulDiv(needed, 120, form->PixelsPerInch()) + 1;
            int leftEnd = 8, rightEnd = parent_->designBounds_.Width - 8;
            for (const TControl* other : parent_->controls_) {
                const TBounds& o = other->designBounds_;
                if (other == this || o.Top >= bounds_.Top + bounds_.Height || bounds_.Top >= o.Top + o.Height) continue;
                if (o.Left >= bounds_.Left + bounds_.Width) rightEnd = std::min(rightEnd, o.Left - 4);
                else if (o.Left + o.Width <= bounds_.Left) leftEnd = std::max(leftEnd, o.Left + o.Width + 4);
            }
            const int right = bounds_.Left + bounds_.Width, more = wanted - bounds_.Width;
            const int toRight = std::max(0, rightEnd - right), toLeft = std::max(0, bounds_.Left - leftEnd);
            if (more > 0) {
                switch (CaptionAlignment()) {
                case TAlignment::Left: bounds_.Width += std::min(more, toRight); break;
                case TAlignment::Right: {
                    const int grow = std::min(more, toLeft);
                    bounds_.Left -= grow;
                    bounds_.Width += grow;
                    break;
                }
                case TAlignment::Center: {
                    const int side = std::min((more + 1) / 2, std::min(toLeft, toRight));
                    bounds_.Left -= side;
                    bounds_.Width += 2 * side;
                    break;
                }
                }
                now = RoomForCaption(Scale(bounds_.Width), height);
            }
        }
        if (!fits(caption_, now)) {
            // The longest beginning, of whole characters and never between a mark and its
            // character, that fits with "..." after it.
            std::vector<std::size_t> ends;
            for (std::size_t at = 0; at < caption_.size();) {
                const bool mark = MarksAccessKeys() && caption_[at] == '&' && at + 1 < caption_.size();
                at += mark ? 1 + CharSize(caption_, at + 1) : CharSize(caption_, at);
                if (at < caption_.size()) ends.push_back(at);
            }
            // A key written in brackets after the words, "(&S)", stays after the "..." when the
            // words are cut before it, so that the key is still seen; unless that leaves less than
            // half of the words that fit without it, words being worth more than the key's picture.
            const std::size_t bracket = MarksAccessKeys() ? BracketedAccessKeyAt(caption_) : std::string::npos;
            auto shortened = [&](std::size_t end, bool keepKey) {
                const bool keyCut = keepKey && end < bracket + 4;
                std::string text = caption_.substr(0, keyCut ? std::min(end, bracket) : end);
                while (!text.empty() && text.back() == ' ') text.pop_back();
                return text + "..." + (keyCut ? caption_.substr(bracket, 4) : std::string());
            };
            auto longest = [&](bool keepKey) {
                std::size_t lo = 0, hi = ends.size();  // ends[0, lo) fit
                while (lo < hi) {
                    const std::size_t mid = (lo + hi) / 2;
                    if (fits(shortened(ends[mid], keepKey), now)) lo = mid + 1;
                    else hi = mid;
                }
                return lo;
            };
            std::size_t kept = longest(false);
            bool keepKey = false;
            if (bracket != std::string::npos) {
                const std::size_t withKey = longest(true);
                keepKey = 2 * withKey > kept;
                if (keepKey) kept = withKey;
            }
            shown_ = shortened(kept == 0 ? 0 : ends[kept - 1], keepKey);
            cut_ = true;
        }
    }
    if (!hwnd_) return;
    if (bounds_.Left != wasAt.Left || bounds_.Width != wasAt.Width) Reposition();
    if (ShownCaption() != wasShown || cut_ != wasCut) SetWindowTextA(hwnd_, ShownCaption().c_str());
    if (cut_ && !inToolTip_ && form) {
        form->AddToolTip(this);
        inToolTip_ = true;
    }
}

std::string TControl::ToolTipText() const
{
    if (cut_) return MarksAccessKeys() ? StripAccessKeys(caption_) : caption_;
    return hint_.substr(0, FindChar(hint_, '|'));
}

void TControl::Reposition()
{
    if (!hwnd_) return;
    const TBounds at = WindowBounds();
    SetWindowPos(hwnd_, nullptr, at.Left, at.Top, at.Width, at.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::SetCaption(const std::string& caption)
{
    caption_ = caption;
    const bool wasCut = cut_;
    FitCaption();
    // A caption that fits is mirrored here; one that is cut, by the fitting.
    if (hwnd_ && !cut_ && !wasCut) SetWindowTextA(hwnd_, caption_.c_str());
}

std::string TControl::CaptionText() const { return StripAccessKeys(caption_); }

void TControl::SetHint(const std::string& hint) { hint_ = hint; }

void TControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_) return;
    visible_ = visible;
    VisibleChanged();
}

void TControl::VisibleChanged()
{
    const bool hadWindow = hwnd_;
    // Coming on the screen: the windows of this control and of what it shows, made visible.
    if (visible_ && OnScreen()) CreateShowingHandles();
    if (hadWindow) ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
}

bool TControl::Showing() const
{
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetBold(bool bold)
{
    bold_ = bold;
    FitCaption();
    ApplyFont();
}

void TControl::SetFontColor(TColor color)
{
    fontColor_ = color;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

TColor TControl::Color() const
{
    if (color_ != clDefault) return color_;
    return parent_ ? parent_->Color() : clSilver;
}

void TControl::SetColor(TColor color)
{
    color_ = color;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TControl::SetFocus()
{
    if (HWND hwnd = Handle()) ::SetFocus(hwnd);
}

bool TControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

bool TControl::WindowMessage(unsigned, unsigned long long, long long, long long&) { return false; }

}  // namespace ui
