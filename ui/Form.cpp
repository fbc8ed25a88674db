#include "ui/Form.h"
#include "ui/Exception.h"

#include "ui/Application.h"
#include "ui/Win32.h"

namespace ui {

namespace {

void RegisterFormClass(const std::string& name)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(win32::Instance(), name.c_str(), &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = win32::Instance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    // The program's icon: the large one for the task bar and Alt+Tab, the small one for the title bar.
    wc.hIcon = LoadIconA(win32::Instance(), MAKEINTRESOURCEA(1));
    if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hIconSm = static_cast<HICON>(LoadImageA(win32::Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hbrBackground = nullptr;
    wc.lpszClassName = name.c_str();
    RegisterClassExA(&wc);
}

// The face the layout is designed for.
constexpr const char* kDesignFace = "MS Sans Serif";

// The character set of the system's code page, which the captions are written in.
BYTE SystemCharset()
{
    CHARSETINFO info{};
    const auto codePage = static_cast<UINT_PTR>(GetACP());
    return TranslateCharsetInfo(reinterpret_cast<DWORD*>(codePage), &info, TCI_SRCCODEPAGE)
               ? static_cast<BYTE>(info.ciCharset)
               : static_cast<BYTE>(ANSI_CHARSET);
}

int CALLBACK FoundFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// True when the system has the face with the glyphs of the character set.
bool HasFace(HDC dc, const std::string& face, BYTE charset)
{
    LOGFONTA wanted{};
    wanted.lfCharSet = charset;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExA(dc, &wanted, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The face the system's font mapper gives for a face name and a character set.
std::string MappedFace(HDC dc, const char* face, BYTE charset)
{
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, face);
    if (!font) return {};
    HGDIOBJ old = SelectObject(dc, font);
    char mapped[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, mapped);
    SelectObject(dc, old);
    DeleteObject(font);
    return mapped;
}

}  // namespace

std::string WindowFontFace()
{
    const BYTE charset = SystemCharset();
    HDC dc = GetDC(nullptr);
    std::string face = kDesignFace;
    if (!HasFace(dc, face, charset)) {
        // The face the system's dialogs use for its script ("MS Shell Dlg" stands for it), else the
        // one the font mapper picks for the script's character set, which weighs more than a name.
        face = MappedFace(dc, "MS Shell Dlg", DEFAULT_CHARSET);
        if (!HasFace(dc, face, charset)) face = MappedFace(dc, kDesignFace, charset);
    }
    ReleaseDC(nullptr, dc);
    return face.empty() ? kDesignFace : face;
}

TForm::TForm(TComponent* owner, std::string name, std::string windowClass, int fontPixels)
    : TControl(owner, std::move(name)), windowClass_(std::move(windowClass))
{
    dpi_ = Application().PixelsPerInch();
    SetVisible(false);
    SetColor(clSilver);
    // The character set is the system's own (DEFAULT_CHARSET), and so is the face where the one
    // the layout is designed for lacks the glyphs of the system's script.
    static const std::string face = WindowFontFace();
    auto makeFont = [&](int weight) {
        return CreateFontA(-ScaleValue(fontPixels), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                           face.c_str());
    };
    font_ = makeFont(FW_NORMAL);
    boldFont_ = makeFont(FW_BOLD);
    RegisterFormClass(windowClass_);
    Application().FormCreated(this);
}

TForm::~TForm()
{
    destroying_ = true;
    Application().FormDestroyed(this);
    DestroyComponents();
    if (toolTip_) DestroyWindow(toolTip_);
    if (hwnd_) DestroyWindow(hwnd_);
    DeleteObject(font_);
    DeleteObject(boldFont_);
}

TControl::CreateParams TForm::GetCreateParams() const
{
    CreateParams params;
    params.windowClass = windowClass_.c_str();
    params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN |
                   (borderStyle_ == TFormBorderStyle::Single ? WS_MINIMIZEBOX : 0);
    params.exStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
    params.topLevel = true;
    return params;
}

void TForm::SetBorderStyle(TFormBorderStyle style)
{
    borderStyle_ = style;
    if (!hwnd_) return;
    SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>(GetCreateParams().style | (GetWindowLongA(hwnd_, GWL_STYLE) &
                                                                                 (WS_VISIBLE | WS_DISABLED))));
    Reposition();
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int TForm::ScaleValue(int designPixels) const { return MulDiv(designPixels, dpi_, 120); }

int TForm::DigitWidth(bool bold) const
{
    int& width = digitWidth_[bold ? 1 : 0];
    if (width == 0) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, FontHandle(bold));
        INT measured = 0;
        if (!GetCharWidth32A(dc, '0', '0', &measured)) measured = 0;
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        width = measured > 0 ? measured : ScaleValue(8);
    }
    return width;
}

void TForm::SetClientSize(int width, int height)
{
    clientWidth_ = width;
    clientHeight_ = height;
    Reposition();
}

TBounds TForm::WindowBounds() const
{
    // The frame around the client size, centred on the work area.
    const CreateParams params = GetCreateParams();
    RECT r{0, 0, ScaleValue(clientWidth_), ScaleValue(clientHeight_)};
    AdjustWindowRectEx(&r, params.style, FALSE, params.exStyle);
    int w = r.right - r.left, h = r.bottom - r.top;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return {work.left + ((work.right - work.left) - w) / 2, work.top + ((work.bottom - work.top) - h) / 2, w, h};
}

void TForm::SetCaption(const std::string& caption) { TControl::SetCaption(caption); }

void TForm::HandleCreated()
{
    // The class's icons, told to the window too: the title bar, the task bar and other programs ask it.
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, GetClassLongPtrA(hwnd_, GCLP_HICON));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, GetClassLongPtrA(hwnd_, GCLP_HICONSM));
}

void TForm::VisibleChanged()
{
    // The windows of what the form shows are made before it appears.
    if (Visible()) CreateShowingHandles();
    if (hwnd_) ShowWindow(hwnd_, Visible() ? SW_SHOW : SW_HIDE);
}

void TForm::Show()
{
    SetVisible(true);
    SetForegroundWindow(hwnd_);
    if (!FocusedControl()) FocusFirstControl();
}

void TForm::Hide() { SetVisible(false); }

namespace {
// The first control below `control`, depth first in the order of placing, that has no window yet.
TControl* FirstWithoutWindow(const TControl* control)
{
    for (TControl* child : control->Controls()) {
        if (!child->HandleAllocated()) return child;
        if (TControl* below = FirstWithoutWindow(child)) return below;
    }
    return nullptr;
}
}  // namespace

bool TForm::CreateMissingHandles(int most)
{
    for (int made = 0; made < most; ++made) {
        TControl* next = FirstWithoutWindow(this);
        if (!next) return false;
        next->Handle();
    }
    return FirstWithoutWindow(this) != nullptr;
}

void TForm::CreateAllHandles()
{
    while (TControl* next = FirstWithoutWindow(this)) next->Handle();
}

bool TForm::HandlesComplete() const { return HandleAllocated() && !FirstWithoutWindow(this); }

void TForm::SetEnabled(bool enabled)
{
    if (!enabled && Visible()) CreateAllHandles();
    TControl::SetEnabled(enabled);
}

TModalResult TForm::ShowModal()
{
    modalResult_ = TModalResult::None;
    modal_ = true;
    // Every other form of the program waits while this one runs.
    std::vector<HWND> disabled;
    for (TForm* other : Application().Forms()) {
        if (other != this && other->HandleAllocated() && IsWindowEnabled(other->Handle())) {
            EnableWindow(other->Handle(), FALSE);
            disabled.push_back(other->Handle());
        }
    }
    Show();
    Application().Dialogs().ModalShowing(*this);
    MSG msg;
    for (;;) {
        // The result may come before the first message (set by whatever ran as the form showed).
        if (modalResult_ != TModalResult::None) {
            // Closing the form by its result still asks it, as its close box does.
            bool canClose = true;
            if (OnCloseQuery) OnCloseQuery(this, canClose);
            if (canClose) {
                TCloseAction action = TCloseAction::Hide;
                if (OnClose) OnClose(this, action);
                break;
            }
            modalResult_ = TModalResult::None;
        }
        if (!Application().NextMessage(msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = TModalResult::Cancel;
            break;
        }
        Application().HandleMessage(msg);
    }
    for (HWND h : disabled) EnableWindow(h, TRUE);
    Hide();
    modal_ = false;
    return modalResult_;
}

void TForm::SetModalResult(TModalResult result)
{
    modalResult_ = result;
    // The loop looks at the result when a message arrives in its queue; a message sent to the
    // form is handled inside the wait, so give the loop one to wake for.
    if (modal_ && hwnd_) PostMessageA(hwnd_, WM_NULL, 0, 0);
}

void TForm::Close()
{
    if (modal_) {
        // The close box of a modal form: the loop asks OnCloseQuery and OnClose.
        SetModalResult(TModalResult::Cancel);
        return;
    }
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    TCloseAction action = TCloseAction::Hide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::None) return;
    if (action == TCloseAction::Minimize) {
        ShowWindow(hwnd_, SW_MINIMIZE);
        return;
    }
    Hide();
    // Closing the main form ends the program.
    if (Application().MainForm() == this) Application().Terminate();
}

void TForm::AddToolTip(TControl* control, bool whenDisabled)
{
    if (!toolTip_) {
        toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   win32::Instance(), nullptr);
    }
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND;  // the control's mouse messages are relayed to it (RelayToToolTip)
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(control->Handle());
    info.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    if (!whenDisabled || !control->Parent()) return;
    // The place of the control in its parent, whose mouse messages the tool tip watches itself.
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = control->Parent()->Handle();
    GetWindowRect(control->Handle(), &info.rect);
    MapWindowPoints(nullptr, info.hwnd, reinterpret_cast<POINT*>(&info.rect), 2);
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void TForm::RelayToToolTip(HWND control, unsigned msg, unsigned long long wParam, long long lParam)
{
    if (!toolTip_) return;
    MSG relayed{control, msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam), static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

bool TForm::WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result)
{
    switch (msg) {
    case WM_CLOSE:
        if (!destroying_) Dispatch([&] { Close(); });
        result = 0;
        return true;
    case WM_ACTIVATE:
        // A plain window gives the focus to itself when it becomes active again (after a message
        // box, or another program); a form gives it back to the control that had it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
            return false;
        }
        if (HIWORD(wParam) || !savedFocus_ || !IsWindow(savedFocus_) || !IsChild(hwnd_, savedFocus_) ||
            !IsWindowVisible(savedFocus_) || !IsWindowEnabled(savedFocus_))
            return false;
        ::SetFocus(savedFocus_);
        result = 0;
        return true;
    case WM_ACTIVATEAPP:
        if (wParam && OnActivate && !destroying_) Dispatch([&] { OnActivate(this); });
        return false;
    case kRefocusMessage:
        Refocus(reinterpret_cast<HWND>(lParam));
        result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace ui
