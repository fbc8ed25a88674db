#include "ui/Application.h"

#include <algorithm>

#include "ui/Form.h"
#include "ui/OpenDialog.h"
#include "ui/Win32.h"

namespace ui {

TApplication& Application()
{
    static TApplication application;
    return application;
}

TApplication::TApplication()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    std::size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    title_ = name;
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
    while (!terminated_ && NextMessage(msg)) Dispatch(msg);
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

void TApplication::Dispatch(const MSG& msg)
{
    // Tab, the arrow keys and the like move between the controls of a form.
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top && IsDialogMessageA(top, const_cast<MSG*>(&msg))) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
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
        Dispatch(msg);
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

std::string TApplication::ErrorBoxText(const std::string& message)
{
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

void TApplication::ShowException(const std::string& message)
{
    Dialogs().ShowMessage(mainForm_, ErrorBoxText(message), title_, TMsgDlgType::Error, TMsgDlgButtons::OK);
}

bool TOpenDialog::Execute()
{
    TForm* owner = nullptr;
    for (TComponent* c = Owner(); c && !owner; c = c->Owner()) owner = dynamic_cast<TForm*>(c);
    return Application().Dialogs().ExecuteOpen(owner, *this);
}

}  // namespace ui
