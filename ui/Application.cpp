#include "ui/Application.h"

#include <algorithm>
#include <utility>

#include "ui/Form.h"
#include "ui/OpenDialog.h"
#include "ui/SystemText.h"
#include "ui/WideText.h"
#include "ui/Win32.h"

namespace ui {

TApplication& Application()
{
    static TApplication application;
    return application;
}

TApplication::TApplication()
{
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring name = path;
    std::size_t slash = name.find_last_of(L"\\/:");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    title_ = ShownPath(name);
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                             ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::Run()
{
    running_ = true;
    if (mainForm_ && !terminated_) mainForm_->Show();
    MSG msg;
    while (!terminated_ && NextMessage(msg)) HandleMessage(msg);
    running_ = false;
}

bool TApplication::NextMessage(MSG& msg)
{
    while (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!CreateMissingWindows()) return GetMessageA(&msg, nullptr, 0, 0) > 0;
    return msg.message != WM_QUIT;
}

bool TApplication::CreateMissingWindows()
{
    // About a frame's time of work at a time on a slow machine.
    constexpr int kWindowsAtATime = 8;
    for (TForm* form : forms_)
        if (form->Visible() && form->CreateMissingHandles(kWindowsAtATime)) return true;
    return false;
}

void TApplication::HandleMessage(const MSG& msg)
{
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    auto formOf = [top] { return dynamic_cast<TForm*>(TControl::FromHandle(top)); };
    if (TForm* form = formOf(); form && !form->IsDestroying()) {
        bool used = false;
        if (!TControl::Dispatch([&] { used = form->DialogKey(msg); }) || used) return;
    }
    TranslateMessage(&msg);
    const MSG* outer = std::exchange(dispatching_, &msg);
    DispatchMessageA(&msg);
    dispatching_ = outer;
    // The window may be gone now; the form is looked up again.
    if (TForm* form = formOf(); form && !form->IsDestroying()) form->ShowDefaultButton();
}

int TApplication::PixelsPerInch() const
{
    if (pixelsPerInch_ > 0) return pixelsPerInch_;
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

void TApplication::Terminate()
{
    terminated_ = true;
    if (running_) PostQuitMessage(0);
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        HandleMessage(msg);
    }
}

void TApplication::FormCreated(TForm* form)
{
    forms_.push_back(form);
    if (!mainForm_) mainForm_ = form;
}

void TApplication::FormDestroyed(TForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainForm_ == form) mainForm_ = nullptr;
}

namespace {
// The full stop, exclamation and question marks that end a sentence of Japanese or Chinese: the
// ideographic full stop and the full-width and half-width forms.
bool IsWideSentenceEnd(wchar_t c)
{
    return c == L'\x3002' || c == L'\xFF0E' || c == L'\xFF01' || c == L'\xFF1F' || c == L'\xFF61';
}
}  // namespace

std::string TApplication::ErrorBoxText(const std::string& message)
{
    std::string text = message;
    if (text.empty()) return text;
    // The last character, whole: in a double-byte code page its second byte is no mark of its own.
    const std::size_t last = LastCharAt(text);
    const bool single = CharSize(text, last) == 1;
    if (!(single && static_cast<unsigned char>(text[last]) <= static_cast<unsigned char>('.')) &&
        !IsWideSentenceEnd(WideCharAt(text, last)))
        text += '.';
    return text;
}

std::wstring TApplication::ErrorBoxText(const std::wstring& message)
{
    std::wstring text = message;
    if (!text.empty() && text.back() > L'.' && !IsWideSentenceEnd(text.back())) text += L'.';
    return text;
}

void TApplication::ShowException(const std::string& message)
{
    Dialogs().ShowMessage(mainForm_, ErrorBoxText(message), title_, TMsgDlgType::Error, TMsgDlgButtons::OK);
}

void TApplication::ShowException(const std::wstring& message)
{
    Dialogs().ShowWideMessage(mainForm_, ErrorBoxText(message), title_, TMsgDlgType::Error, TMsgDlgButtons::OK);
}

bool TOpenDialog::Execute()
{
    TForm* owner = nullptr;
    for (TComponent* c = Owner(); c && !owner; c = c->Owner()) owner = dynamic_cast<TForm*>(c);
    return Application().Dialogs().ExecuteOpen(owner, *this);
}

}  // namespace ui
