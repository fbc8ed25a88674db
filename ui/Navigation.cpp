// The keyboard in a form, as in a dialog of the platform: Tab and Shift+Tab through the controls,
// the arrows within a radio group or a picture of keys, Enter and Esc for the default and cancel
// buttons, Ctrl+Tab and Ctrl+PageDown/PageUp for the pages, Alt and a caption's marked letter.
// The platform's own dialog navigation is not used: it knows neither our tab order, nor labels
// that lead to a control, nor pages, and it differs between Windows and Wine on plain windows.
#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>
#include <iterator>
#include <set>

#include "ui/AccessKey.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/PageControl.h"
#include "ui/RadioButton.h"
#include "ui/SpeedButton.h"
#include "ui/SystemText.h"
#include "ui/Win32.h"

namespace ui {

// --- Access keys in captions

std::size_t BracketedAccessKeyAt(std::string_view caption)
{
    for (std::size_t i = 0; i < caption.size(); i += CharSize(caption, i)) {
        if (caption[i] != '&') continue;
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            ++i;  // "&&" is a plain "&"
            continue;
        }
        // The one mark of the caption: bracketed when it stands as "(&X)", X a character of one byte.
        // (No double-byte character has a second byte below 0x40: "(" and ")" are characters of their own.)
        const bool bracketed = i > 0 && caption[i - 1] == '(' && i + 2 < caption.size() && caption[i + 2] == ')' &&
                               CharSize(caption, i + 1) == 1;
        return bracketed ? i - 1 : std::string_view::npos;
    }
    return std::string_view::npos;
}

std::string StripAccessKeys(std::string_view caption)
{
    // A key written after the words in brackets, "(&S)", is no word of the caption: it goes whole,
    // with the blanks before it.
    if (const std::size_t bracket = BracketedAccessKeyAt(caption); bracket != std::string_view::npos) {
        std::string_view before = caption.substr(0, bracket);
        while (!before.empty() && before.back() == ' ') before.remove_suffix(1);
        return StripAccessKeys(before) + StripAccessKeys(caption.substr(bracket + 4));
    }
    std::string text;
    for (std::size_t i = 0; i < caption.size();) {
        if (caption[i] == '&' && ++i == caption.size()) break;
        const std::size_t size = CharSize(caption, i);
        text.append(caption.substr(i, size));
        i += size;
    }
    return text;
}

wchar_t AccessKeyOf(std::string_view caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); i += CharSize(caption, i)) {
        if (caption[i] != '&') continue;
        if (caption[++i] == '&') continue;
        return UpperCase(WideCharAt(caption, i));
    }
    return 0;
}

wchar_t AccessKeyTyped(unsigned typed)
{
    std::string bytes;
    if (typed > 0xFF) bytes += static_cast<char>((typed >> 8) & 0xFF);
    bytes += static_cast<char>(typed & 0xFF);
    if (CharSize(bytes, 0) != bytes.size()) return 0;
    const wchar_t c = WideCharAt(bytes, 0);
    return c ? UpperCase(c) : 0;
}

std::string WithAccessKey(const std::string& text, std::wstring& used)
{
    // Characters that one key types, their starts in the text and their keys.
    std::vector<std::pair<std::size_t, wchar_t>> keys;
    bool any = false;
    for (std::size_t i = 0; i < text.size(); i += CharSize(text, i)) {
        const wchar_t c = CharSize(text, i) == 1 ? WideCharAt(text, i) : 0;
        if (!c || !IsCharAlphaNumericW(c)) continue;
        any = true;
        if (used.find(UpperCase(c)) == std::wstring::npos) keys.emplace_back(i, UpperCase(c));
    }
    auto wordStart = [&](std::size_t i) { return i == 0 || text[i - 1] == ' '; };
    auto pick = std::find_if(keys.begin(), keys.end(), [&](const auto& key) { return wordStart(key.first); });
    if (pick == keys.end()) pick = keys.begin();

    std::string caption;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (pick != keys.end() && i == pick->first) caption += '&';
        caption += text[i];
        if (text[i] == '&' && CharSize(text, i) == 1) caption += '&';
        // The second byte of a character is copied as it stands, never doubled.
        if (CharSize(text, i) == 2) caption += text[++i];
    }
    if (pick != keys.end()) {
        used += pick->second;
    } else if (!any) {
        for (wchar_t key : std::wstring_view(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
            if (used.find(key) != std::wstring::npos) continue;
            caption += "(&" + std::string(1, static_cast<char>(key)) + ")";
            used += key;
            break;
        }
    }
    return caption;
}

namespace {

// Radio buttons of one parent are one group; so are the speed buttons of one parent, a picture of keys.
enum class StopKind { Single, Radio, Keys };

StopKind KindOf(const TControl* c)
{
    if (dynamic_cast<const TRadioButton*>(c)) return StopKind::Radio;
    if (dynamic_cast<const TSpeedButton*>(c)) return StopKind::Keys;
    return StopKind::Single;
}

bool SameStop(const TControl* a, const TControl* b)
{
    return a == b || (KindOf(a) != StopKind::Single && KindOf(a) == KindOf(b) && a->Parent() == b->Parent());
}

// The platform takes WS_TABSTOP from a radio button when it is unchecked; the group decides here.
bool IsTabStop(const TControl* c)
{
    return c->HandleAllocated() &&
           (KindOf(c) == StopKind::Radio || (GetWindowLongA(c->Handle(), GWL_STYLE) & WS_TABSTOP));
}

// Shown, and neither it nor a parent disabled.
bool Usable(const TControl* c)
{
    // A control without a window is not on the screen.
    if (!c->HandleAllocated() || !IsWindowVisible(c->Handle())) return false;
    for (const TControl* p = c; p; p = p->Parent())
        if (!p->HandleAllocated() || !IsWindowEnabled(p->Handle())) return false;
    return true;
}

bool Contains(const TControl* container, const TControl* c)
{
    for (; c; c = c->Parent())
        if (c == container) return true;
    return false;
}

std::vector<TControl*> ChildrenOf(const TForm* form, const TControl* parent)
{
    std::vector<TControl*> children;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(form->Components(i));
        if (c && c->Parent() == parent) children.push_back(c);
    }
    return children;
}

void Expand(const TForm* form, TControl* entry, std::vector<TControl*>& out, std::set<TControl*>& seen)
{
    if (!seen.insert(entry).second) return;
    if (entry != form) out.push_back(entry);
    for (TControl* child : ChildrenOf(form, entry)) Expand(form, child, out, seen);
}

// Every control of the form in tab order, containers before their controls.
std::vector<TControl*> AllInOrder(const TForm* form, const std::vector<TControl*>& tabOrder)
{
    std::vector<TControl*> out;
    std::set<TControl*> seen{const_cast<TForm*>(form)};
    for (TControl* entry : tabOrder) Expand(form, entry, out, seen);
    for (TControl* child : ChildrenOf(form, form)) Expand(form, child, out, seen);
    return out;
}

std::vector<TControl*> Focusable(const std::vector<TControl*>& all)
{
    std::vector<TControl*> out;
    for (TControl* c : all)
        if (IsTabStop(c) && Usable(c)) out.push_back(c);
    return out;
}

std::vector<TControl*> Members(const std::vector<TControl*>& focusable, const TControl* c)
{
    std::vector<TControl*> members;
    for (TControl* other : focusable)
        if (SameStop(c, other)) members.push_back(other);
    return members;
}

// The platform's click, as the mouse gives it: the control's mouse events run too.
void MouseClick(TControl* c, bool right)
{
    RECT r;
    GetClientRect(c->Handle(), &r);
    LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageA(c->Handle(), right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    SendMessageA(c->Handle(), right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}

// A press that leaves the focus where it is, as the platform's dialogs press their buttons.
void Press(TControl* c)
{
    SendMessageA(GetParent(c->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c->Handle()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(c->Handle()));
}

// As the platform's dialogs do, an edit reached by the keyboard has its text selected, ready to be
// typed over; a text that can only be read is not, as a whole block of selection would hide it.
void SelectAllOfEdit(HWND hwnd)
{
    if (!(SendMessageA(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) return;
    char kind[8] = {};
    GetClassNameA(hwnd, kind, sizeof kind);
    if (lstrcmpiA(kind, "Edit") == 0 && (GetWindowLongA(hwnd, GWL_STYLE) & ES_READONLY)) return;
    SendMessageA(hwnd, EM_SETSEL, 0, -1);
}

bool ListDropped(const TControl* c)
{
    return dynamic_cast<const TComboBox*>(c) && SendMessageA(c->Handle(), CB_GETDROPPEDSTATE, 0, 0);
}

// The key of a picture of keys that an arrow leads to: left and right in reading order, up and
// down to the nearest key of the next row that has one.
TControl* KeyTowards(const std::vector<TControl*>& keys, const TControl* from, WPARAM arrow)
{
    std::vector<TControl*> sorted = keys;
    std::stable_sort(sorted.begin(), sorted.end(), [](const TControl* a, const TControl* b) {
        return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
    });
    auto at = std::find(sorted.begin(), sorted.end(), from);
    if (arrow == VK_LEFT) return at == sorted.begin() ? nullptr : *(at - 1);
    if (arrow == VK_RIGHT) return at + 1 == sorted.end() ? nullptr : *(at + 1);
    const int centre = from->Left() + from->Width() / 2;
    TControl* best = nullptr;
    for (TControl* key : sorted) {
        bool beyond = arrow == VK_UP ? key->Top() < from->Top() : key->Top() > from->Top();
        if (!beyond) continue;
        auto rowDistance = [&](const TControl* k) { return std::abs(k->Top() - from->Top()); };
        auto distance = [&](const TControl* k) { return std::abs(k->Left() + k->Width() / 2 - centre); };
        if (!best || rowDistance(key) < rowDistance(best) ||
            (rowDistance(key) == rowDistance(best) && distance(key) < distance(best)))
            best = key;
    }
    return best;
}

}  // namespace

void TForm::SetTabOrder(std::vector<TControl*> order) { tabOrder_ = std::move(order); }

std::vector<TControl*> TForm::TabStops() const
{
    std::vector<TControl*> focusable = Focusable(AllInOrder(this, tabOrder_));
    TControl* focused = FocusedControl();
    std::vector<TControl*> stops;
    for (TControl* c : focusable) {
        StopKind kind = KindOf(c);
        if (kind == StopKind::Single) {
            stops.push_back(c);
            continue;
        }
        if (std::any_of(stops.begin(), stops.end(), [&](TControl* s) { return SameStop(s, c); })) continue;
        std::vector<TControl*> members = Members(focusable, c);
        TControl* stop = members.front();
        auto has = [&](TControl* m) { return std::find(members.begin(), members.end(), m) != members.end(); };
        if (kind == StopKind::Radio) {
            for (TControl* m : members)
                if (static_cast<TRadioButton*>(m)->Checked()) {
                    stop = m;
                    break;
                }
        } else if (focused && has(focused)) {
            stop = focused;
        } else if (auto last = lastKey_.find(c->Parent()); last != lastKey_.end() && has(last->second)) {
            stop = last->second;
        }
        stops.push_back(stop);
    }
    return stops;
}

TControl* TForm::FocusedControl() const
{
    for (HWND h = GetFocus(); h && h != hwnd_; h = GetParent(h))
        if (TControl* c = FromHandle(h)) return c->Form() == this ? c : nullptr;
    return nullptr;
}

bool TForm::MoveFocus(TControl* control)
{
    if (!control || !IsTabStop(control) || !Usable(control)) return false;
    exitRefused_ = false;
    movingFocus_ = true;
    ::SetFocus(control->Handle());
    movingFocus_ = false;
    if (exitRefused_ || FocusedControl() != control) return false;
    SelectAllOfEdit(control->Handle());
    ShowDefaultButton();
    return true;
}

void TForm::FocusArrived(TControl* control)
{
    if (KindOf(control) == StopKind::Keys) lastKey_[control->Parent()] = control;
}

void TForm::FocusFirstControl()
{
    std::vector<TControl*> stops = TabStops();
    if (!stops.empty()) MoveFocus(stops.front());
}

void TForm::ExitRefused(TControl* control)
{
    exitRefused_ = true;
    // Posted: the focus is still on its way to the other control, and the error box has moved it again.
    PostMessageA(hwnd_, kRefocusMessage, 0, reinterpret_cast<LPARAM>(control->Handle()));
}

void TForm::Refocus(HWND hwnd)
{
    TControl* control = FromHandle(hwnd);
    if (!control || control->Form() != this || !Usable(control)) return;
    movingFocus_ = true;
    ::SetFocus(hwnd);
    movingFocus_ = false;
    SelectAllOfEdit(hwnd);
}

TButton* TForm::DefaultButton() const
{
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(Components(i)); b && b->Default()) return b;
    return nullptr;
}

TButton* TForm::CancelButton() const
{
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(Components(i)); b && b->Cancel()) return b;
    return nullptr;
}

void TForm::ShowDefaultButton()
{
    HWND focus = GetFocus();
    if (focus == lastFocus_) return;
    lastFocus_ = focus;
    auto* focusedButton = dynamic_cast<TButton*>(FocusedControl());
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(Components(i)))
            b->ShowAsDefault(focusedButton ? b == focusedButton : b->Default());
}

TPageControl* TForm::PageControlOfForm() const
{
    TControl* focused = FocusedControl();
    TPageControl* first = nullptr;
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* pages = dynamic_cast<TPageControl*>(Components(i));
        if (!pages || !Usable(pages)) continue;
        if (focused && Contains(pages, focused)) return pages;
        if (!first) first = pages;
    }
    return first;
}

void TForm::ActivatePage(TPageControl* pages, TTabSheet* page)
{
    if (!pages || !page || page == pages->ActivePage()) return;
    // The control that has the focus on the page that goes must let it go first.
    TControl* focused = FocusedControl();
    bool inside = focused && focused != pages && Contains(pages, focused);
    if (inside && !MoveFocus(pages)) return;
    pages->ChangeActivePage(page);
    if (!inside) return;
    for (TControl* stop : TabStops())
        if (Contains(pages->ActivePage(), stop)) {
            MoveFocus(stop);
            break;
        }
}

bool TForm::PressAccessKey(wchar_t key)
{
    if (!key) return false;
    std::vector<TControl*> all = AllInOrder(this, tabOrder_);
    auto marked = [&](TControl* c) {
        if (auto* sheet = dynamic_cast<TTabSheet*>(c)) {
            TPageControl* pages = sheet->PageControl();
            return pages && Usable(pages) && sheet->TabVisible() && sheet->Enabled() && AccessKeyOf(c->Caption()) == key;
        }
        bool kind = dynamic_cast<TButton*>(c) || dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c) ||
                    dynamic_cast<TLabel*>(c) || dynamic_cast<TGroupBox*>(c);
        return kind && Usable(c) && AccessKeyOf(c->Caption()) == key;
    };
    std::vector<TControl*> matches;
    std::copy_if(all.begin(), all.end(), std::back_inserter(matches), marked);
    if (matches.empty()) return false;

    // Where a label or a group leads: its control, the control after it, the first control in it.
    std::vector<TControl*> stops = TabStops();
    auto leadsTo = [&](TControl* c) -> TControl* {
        auto* label = dynamic_cast<TLabel*>(c);
        if (label && label->FocusControl) {
            for (TControl* stop : stops)
                if (SameStop(stop, label->FocusControl)) return stop;
            return nullptr;
        }
        for (auto next = std::find(all.begin(), all.end(), c) + 1; next != all.end(); ++next)
            if (std::find(stops.begin(), stops.end(), *next) != stops.end()) return *next;
        return nullptr;
    };
    auto act = [&](TControl* c, bool click) {
        if (auto* sheet = dynamic_cast<TTabSheet*>(c))
            ActivatePage(sheet->PageControl(), sheet);
        else if (dynamic_cast<TLabel*>(c) || dynamic_cast<TGroupBox*>(c))
            MoveFocus(leadsTo(c));
        else if (MoveFocus(c) && click)
            Press(c);
    };
    if (matches.size() == 1) {
        act(matches.front(), true);
        return true;
    }
    // Several controls share the key: each press moves on to the next one, clicking none.
    TControl* focused = FocusedControl();
    std::size_t next = 0;
    for (std::size_t i = 0; i < matches.size(); ++i)
        if (focused && (matches[i] == focused || leadsTo(matches[i]) == focused)) next = (i + 1) % matches.size();
    act(matches[next], false);
    return true;
}

bool TForm::DialogKey(const MSG& msg)
{
    if (msg.message == WM_SYSCHAR)
        return PressAccessKey(AccessKeyTyped(static_cast<unsigned>(msg.wParam)));
    if (msg.message != WM_KEYDOWN) return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    TControl* focused = FocusedControl();
    const StopKind kind = focused ? KindOf(focused) : StopKind::Single;
    // A key the control takes for itself is the user's input to it, as a click is (a function put on a
    // key, a binding removed): the form hears of it.
    if (focused) {
        bool used = false;
        if (!focused->DispatchInput([&] { used = focused->PreviewKey(static_cast<unsigned>(msg.wParam)); }) || used)
            return true;
    }
    switch (msg.wParam) {
    case VK_TAB: {
        if (ctrl) {
            if (TPageControl* pages = PageControlOfForm()) ActivatePage(pages, pages->FindNextPage(!shift));
            return true;
        }
        std::vector<TControl*> stops = TabStops();
        if (stops.empty()) return true;
        std::vector<TControl*> order = Focusable(AllInOrder(this, tabOrder_));
        auto at = focused ? std::find(order.begin(), order.end(), focused) : order.end();
        const int n = static_cast<int>(order.size());
        int index = at == order.end() ? (shift ? 0 : n - 1) : static_cast<int>(at - order.begin());
        for (int step = 1; step <= n; ++step) {
            TControl* c = order[static_cast<std::size_t>(((index + (shift ? -step : step)) % n + n) % n)];
            if ((!focused || !SameStop(c, focused)) && std::find(stops.begin(), stops.end(), c) != stops.end()) {
                MoveFocus(c);
                break;
            }
        }
        return true;
    }
    case VK_NEXT:
    case VK_PRIOR: {
        if (!ctrl) return false;
        TPageControl* pages = PageControlOfForm();
        if (!pages) return false;
        ActivatePage(pages, pages->FindNextPage(msg.wParam == VK_NEXT));
        return true;
    }
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        if (ctrl || kind == StopKind::Single) return false;
        std::vector<TControl*> members = Members(Focusable(AllInOrder(this, tabOrder_)), focused);
        if (kind == StopKind::Keys) {
            if (TControl* key = KeyTowards(members, focused, msg.wParam)) MoveFocus(key);
            return true;
        }
        // A radio group: the next choice round the group is chosen, as a click chooses it.
        auto at = std::find(members.begin(), members.end(), focused);
        if (at == members.end() || members.size() < 2) return true;
        const int n = static_cast<int>(members.size());
        const int step = msg.wParam == VK_LEFT || msg.wParam == VK_UP ? n - 1 : 1;
        TControl* next = members[static_cast<std::size_t>((at - members.begin() + step) % n)];
        if (MoveFocus(next)) Press(next);
        return true;
    }
    case VK_SPACE:
    case VK_DELETE:
        if (kind != StopKind::Keys) return false;
        MouseClick(focused, msg.wParam == VK_DELETE);
        return true;
    case VK_RETURN: {
        if (ListDropped(focused)) return false;
        if (kind == StopKind::Keys) {
            MouseClick(focused, false);
            return true;
        }
        if (auto* button = dynamic_cast<TButton*>(focused)) {
            Press(button);
            return true;
        }
        TButton* button = DefaultButton();
        if (!button) return false;
        // As a click would, the focus goes to the button first, so the control left checks its text.
        if (Usable(button) && MoveFocus(button)) Press(button);
        return true;
    }
    case VK_ESCAPE: {
        if (ListDropped(focused)) return false;
        if (TButton* button = CancelButton(); button && Usable(button)) {
            Press(button);
            return true;
        }
        if (!Modal()) return false;
        Close();  // as the close box does
        return true;
    }
    default:
        return false;
    }
}

}  // namespace ui
