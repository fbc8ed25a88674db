#include "ui/Dialogs.h"

#include "ui/Win32.h"
#include <commdlg.h>

#include "ui/Form.h"
#include "ui/OpenDialog.h"
#include "ui/WideText.h"
#include "ui/Win32.h"

namespace ui {

namespace {
// The window of a shown owner, with every window of its controls made: a box or dialog runs a loop of
// its own, in which the owner makes none of the windows it still misses.
HWND ShownWindowOf(TForm* owner)
{
    if (!owner || !owner->HandleAllocated() || !IsWindowVisible(owner->Handle())) return nullptr;
    owner->CreateAllHandles();
    return owner->Handle();
}


UINT BoxFlags(TMsgDlgType type, TMsgDlgButtons buttons)
{
    UINT flags = buttons == TMsgDlgButtons::YesNo ? MB_YESNO : MB_OK;
    switch (type) {
    case TMsgDlgType::Information: flags |= MB_ICONINFORMATION; break;
    case TMsgDlgType::Warning: flags |= MB_ICONWARNING; break;
    case TMsgDlgType::Error: flags |= MB_ICONERROR; break;
    case TMsgDlgType::Question: flags |= MB_ICONQUESTION; break;
    }
    return flags;
}

TModalResult BoxResult(int answer)
{
    switch (answer) {
    case IDOK: return TModalResult::OK;
    case IDYES: return TModalResult::Yes;
    case IDNO: return TModalResult::No;
    default: return TModalResult::Cancel;
    }
}
}  // namespace

TModalResult IDialogs::ShowWideMessage(TForm* owner, const std::wstring& text, const std::string& title,
                                       TMsgDlgType type, TMsgDlgButtons buttons)
{
    return ShowMessage(owner, ShownPath(text), title, type, buttons);
}

TModalResult Win32Dialogs::ShowMessage(TForm* owner, const std::string& text, const std::string& title,
                                      TMsgDlgType type, TMsgDlgButtons buttons)
{
    return BoxResult(MessageBoxA(ShownWindowOf(owner), text.c_str(), title.c_str(), BoxFlags(type, buttons)));
}

TModalResult Win32Dialogs::ShowWideMessage(TForm* owner, const std::wstring& text, const std::string& title,
                                           TMsgDlgType type, TMsgDlgButtons buttons)
{
    return BoxResult(
        MessageBoxW(ShownWindowOf(owner), text.c_str(), Widen(title).c_str(), BoxFlags(type, buttons)));
}

namespace {
// The open dialog's library is loaded when the dialog is first shown: most runs never show it, and
// loading it (with the printing libraries it brings) at every start costs time and memory.
using GetOpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
GetOpenFileNameFunction OpenFileDialog()
{
    static GetOpenFileNameFunction function = [] {
        HMODULE library = LoadLibraryA("comdlg32.dll");
        return library ? reinterpret_cast<GetOpenFileNameFunction>(GetProcAddress(library, "GetOpenFileNameW")) : nullptr;
    }();
    return function;
}
}  // namespace

bool Win32Dialogs::ExecuteOpen(TForm* owner, TOpenDialog& dialog)
{
    // The wide dialog gives the chosen file's name as it is, whatever the system code page can spell.
    // The filter's bars become the NULs the platform wants, with a double NUL at the end.
    std::wstring filter = Widen(dialog.Filter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    const std::wstring title = Widen(dialog.Title);
    wchar_t file[MAX_PATH * 4] = {};
    dialog.FileName.copy(file, std::size(file) - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ShownWindowOf(owner);
    ofn.lpstrFilter = dialog.Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
    GetOpenFileNameFunction open = OpenFileDialog();
    if (!open || !open(&ofn)) return false;
    dialog.FileName = file;
    return true;
}

void ScriptedDialogs::Clear()
{
    boxes_.clear();
    answers_.clear();
    openAnswers_.clear();
    unexpected_ = 0;
}

TModalResult ScriptedDialogs::ShowMessage(TForm*, const std::string& text, const std::string& title,
                                         TMsgDlgType type, TMsgDlgButtons buttons)
{
    return Answered({text, title, type, buttons});
}

TModalResult ScriptedDialogs::ShowWideMessage(TForm*, const std::wstring& text, const std::string& title,
                                              TMsgDlgType type, TMsgDlgButtons buttons)
{
    return Answered({ShownPath(text), title, type, buttons, text});
}

TModalResult ScriptedDialogs::Answered(Box box)
{
    const TMsgDlgButtons buttons = box.buttons;
    boxes_.push_back(std::move(box));
    if (answers_.empty()) {
        ++unexpected_;
        return buttons == TMsgDlgButtons::YesNo ? TModalResult::No : TModalResult::OK;
    }
    TModalResult answer = answers_.front();
    answers_.pop_front();
    return answer;
}

bool ScriptedDialogs::ExecuteOpen(TForm*, TOpenDialog& dialog)
{
    if (openAnswers_.empty()) {
        ++unexpected_;
        return false;
    }
    std::optional<std::string> answer = openAnswers_.front();
    openAnswers_.pop_front();
    if (!answer) return false;
    dialog.FileName = Widen(*answer);
    return true;
}

void ScriptedDialogs::ModalShowing(TForm& form)
{
    if (onModal)
        onModal(form);
    else {
        ++unexpected_;
        form.SetModalResult(TModalResult::Cancel);
    }
}

}  // namespace ui
