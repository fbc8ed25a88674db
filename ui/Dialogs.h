#pragma once
// Message boxes and the open dialog, behind one interface so that tests can answer them.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Events.h"

namespace ui {

class TForm;
class TOpenDialog;

enum class TMsgDlgType { Information, Warning, Error, Question };
enum class TMsgDlgButtons { OK, YesNo };

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A modal message box over owner (may be null); returns the button chosen.
    virtual TModalResult ShowMessage(TForm* owner, const std::string& text, const std::string& title,
                                    TMsgDlgType type, TMsgDlgButtons buttons) = 0;
    // The same for a text that names a file as it is; by default shown with what the system code
    // page can spell of it.
    virtual TModalResult ShowWideMessage(TForm* owner, const std::wstring& text, const std::string& title,
                                         TMsgDlgType type, TMsgDlgButtons buttons);
    // Shows the open dialog; true with dialog.FileName set when the user chose a file.
    virtual bool ExecuteOpen(TForm* owner, TOpenDialog& dialog) = 0;
    // A modal form is about to run its message loop.
    virtual void ModalShowing(TForm& form) {}
};

// The platform's own: MessageBoxA (MessageBoxW for a wide text) modal to the window, the common
// open dialog.
class Win32Dialogs : public IDialogs {
public:
    TModalResult ShowMessage(TForm* owner, const std::string& text, const std::string& title, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;
    TModalResult ShowWideMessage(TForm* owner, const std::wstring& text, const std::string& title, TMsgDlgType type,
                                 TMsgDlgButtons buttons) override;
    bool ExecuteOpen(TForm* owner, TOpenDialog& dialog) override;
};

// For tests: records every box and returns prepared answers, in order.
class ScriptedDialogs : public IDialogs {
public:
    struct Box {
        std::string text;
        std::string title;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        // A box about a file: its text with the file's name as it is (text has what the code page
        // can spell of it).
        std::wstring wideText{};
    };

    // The answer to the next box that nobody has answered yet.
    void Answer(TModalResult result) { answers_.push_back(result); }
    // The next open dialog chooses this file (nullopt: the user cancels).
    void AnswerOpen(std::optional<std::string> fileName) { openAnswers_.push_back(std::move(fileName)); }
    // Runs when a modal form starts its loop (post it messages, or close it).
    std::function<void(TForm&)> onModal;

    const std::vector<Box>& Boxes() const { return boxes_; }
    // Boxes and dialogs that came without a prepared answer.
    int Unexpected() const { return unexpected_; }
    int PendingAnswers() const { return static_cast<int>(answers_.size() + openAnswers_.size()); }
    void Clear();

    TModalResult ShowMessage(TForm* owner, const std::string& text, const std::string& title, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;
    TModalResult ShowWideMessage(TForm* owner, const std::wstring& text, const std::string& title, TMsgDlgType type,
                                 TMsgDlgButtons buttons) override;
    bool ExecuteOpen(TForm* owner, TOpenDialog& dialog) override;
    void ModalShowing(TForm& form) override;

private:
    TModalResult Answered(Box box);

    std::vector<Box> boxes_;
    std::deque<TModalResult> answers_;
    std::deque<std::optional<std::string>> openAnswers_;
    int unexpected_ = 0;
};

}  // namespace ui
