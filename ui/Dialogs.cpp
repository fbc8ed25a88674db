#include "ui/Dialogs.h"

#include "ui/Win32.h"
#include <commdlg.h>

#include "ui/Form.h"
#include "ui/OpenDialog.h"
#include "ui/SystemText.h"
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
}  // namespace

TModalResult Win32Dialogs::ShowMessage(TForm* owner, const std::string& text, const std::string& title,
                                      TMsgDlgType type, TMsgDlgButtons buttons)
{
    UINT flags = buttons == TMsgDlgButtons::YesNo ? MB_YESNO : MB_OK;
    switch (type) {
    case TMsgDlgType::Information: flags |= MB_ICONINFORMATION; break;
    case TMsgDlgType::Warning: flags |= MB_ICONWARNING; break;
    case TMsgDlgType::Error: flags |= MB_ICONERROR; break;
    case TMsgDlgType::Question: flags |= MB_ICONQUESTION; break;
    }
    HWND parent = ShownWindowOf(owner);
    switch (MessageBoxA(parent, text.c_str(), title.c_str(), flags)) {
    case IDOK: return TModalResult::OK;
    case IDYES: return TModalResult::Yes;
    case IDNO: return TModalResult::No;
    default: return TModalResult::Cancel;
    }
}

namespace {
// The open dialog's library is loaded when the dialog is first shown: most runs never show it, and
// loading it (with the printing libraries it brings) at every start costs time and memory.
using GetOpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);
GetOpenFileNameFunction OpenFileDialog()
{
    static GetOpenFileNameFunction function = [] {
        HMODULE library = LoadLibraryA("comdlg32.dll");
        return library ? reinterpret_cast<GetOpenFileNameFunction>(GetProcAddress(library, "GetOpenFileNameA")) : nullptr;
    }();
    return function;
}
}  // namespace

bool Win32Dialogs::ExecuteOpen(TForm* owner, TOpenDialog& dialog)
{
    // The filter's bars become the NULs the platform wants, with a double NUL at the end.
    std::string filter = dialog.Filter;
    for (std::size_t bar = FindChar(filter, '|'); bar != std::string::npos; bar = FindChar(filter, '|', bar + 1))
        filter[bar] = '\0';
    filter.append(2, '\0');
    char file[MAX_PATH * 4] = {};
    dialog.FileName.copy(file, sizeof file - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ShownWindowOf(owner);
    ofn.lpstrFilter = dialog.Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = dialog.Title.empty() ? nullptr : dialog.Title.c_str();
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
    boxes_.push_back({text, title, type, buttons});
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
    dialog.FileName = *answer;
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
