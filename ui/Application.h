#pragma once
// The application object: the forms, the message loop, the error box.
#include <memory>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

struct tagMSG;

namespace ui {

class TForm;

class TApplication {
public:
    TApplication();

    void Initialize();
    // The program file's name without extension; the caption of the error box.
    const std::string& Title() const { return title_; }

    // Runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ResetTerminated() { terminated_ = false; }
    // Handles the messages waiting in the queue and returns.
    void ProcessMessages();
    // The next message for a loop: false for WM_QUIT. While the queue is empty, the shown forms make
    // the windows they still miss, a few at a time, so that input waits no longer than a few of them.
    bool NextMessage(tagMSG& msg);
    // One message of a loop: the keyboard's navigation of the form it is for, else the window's own.
    void HandleMessage(const tagMSG& msg);
    // The message HandleMessage is dispatching, for a control to tell what input caused what it is
    // told (a list closed by a click in it, or by a key); null outside a dispatch.
    const tagMSG* Dispatching() const { return dispatching_; }

    // The first form created is the main form; closing it ends the program.
    TForm* MainForm() const { return mainForm_; }
    const std::vector<TForm*>& Forms() const { return forms_; }
    void FormCreated(TForm* form);
    void FormDestroyed(TForm* form);

    // The error box: the message (with a period when it ends in a character after the
    // period), the title as caption, an error icon, OK.
    void ShowException(const std::string& message);
    // The same for a message that names a file, with the file's name as it is.
    void ShowException(const std::wstring& message);
    static std::string ErrorBoxText(const std::string& message);
    static std::wstring ErrorBoxText(const std::wstring& message);

    // The resolution forms are scaled to: the screen's, unless set (0 gives the screen's back).
    int PixelsPerInch() const;
    void SetPixelsPerInch(int dpi) { pixelsPerInch_ = dpi; }

    IDialogs& Dialogs() { return dialogs_ ? *dialogs_ : win32Dialogs_; }
    // Null restores the platform's dialogs.
    void SetDialogs(IDialogs* dialogs) { dialogs_ = dialogs; }

private:
    // False when no shown form misses a window.
    bool CreateMissingWindows();

    std::string title_;
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> forms_;
    bool terminated_ = false;
    bool running_ = false;
    const tagMSG* dispatching_ = nullptr;
    IDialogs* dialogs_ = nullptr;
    int pixelsPerInch_ = 0;
    Win32Dialogs win32Dialogs_;
};

TApplication& Application();

}  // namespace ui
