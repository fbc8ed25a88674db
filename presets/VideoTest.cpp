// The video test and the start of the 3D driver set-up.
#include "app/Main.h"
#include "ui/Application.h"
#include "ui/WideText.h"

using namespace ui;

namespace {

// The window takes no input while a test program owns the screen, and is usable again
// afterwards whatever happened meanwhile.
class InputOffWhile {
public:
    explicit InputOffWhile(TForm& form) : form_(form), wasEnabled_(form.Enabled()) { form_.SetEnabled(false); }
    ~InputOffWhile() { form_.SetEnabled(wasEnabled_); }
    InputOffWhile(const InputOffWhile&) = delete;
    InputOffWhile& operator=(const InputOffWhile&) = delete;

private:
    TForm& form_;
    bool wasEnabled_;
};

// Tells that a program could not be started, and where it was looked for, on a line of its own.
void CannotStart(TfConfig& window, const std::string& text, const std::wstring& program)
{
    Application().Dialogs().ShowWideMessage(&window, Widen(text) + L"\r\n\r\n" + FullPathOf(program), window.Caption(),
                                            TMsgDlgType::Error, TMsgDlgButtons::OK);
}

}  // namespace

void TfConfig::bTestSettingsClick(TObject*) { RunVideoTest(); }

bool TfConfig::RunVideoTest()
{
    const std::wstring program = cb3dAcceleration->Checked() ? L"kxgltest.exe" : L"kxdxtest.exe";
    const std::string notStarted =
        LanguageTextOr("msgTestNotStarted", "The video test could not be started, so nothing has been saved: this "
                                            "program is missing, or it is no program.");
    // Nothing is saved for a test that cannot run.
    if (!Processes().Exists(program)) {
        CannotStart(*this, notStarted, program);
        return false;
    }
    // The test programs read what is under test from the files, so a refused write ends the test here.
    SaveSettings();
    SaveKeyMap();
    // What is tested is the baseline of the next OK or Apply, whatever the verdict; a test that
    // does not run leaves the one before.
    const std::vector<bool> snapshot = videoSnapshot;
    const int driverIndex = snapshotDriverIndex;
    TakeVideoSnapshot();
    snapshotDriverIndex = cbGLDrivers->IndexOf(cbGLDrivers->Text());
    bool ran = false;
    {
        InputOffWhile testRuns(*this);
        // The bare name: the program is taken from the working directory, whatever folder this one lies in.
        ran = Processes().RunAndWait(program);
    }
    if (!ran) {
        videoSnapshot = snapshot;
        snapshotDriverIndex = driverIndex;
        CannotStart(*this, notStarted, program);
        return false;
    }
    if (MessageDlg(msgVideo, TMsgDlgType::Question, TMsgDlgButtons::YesNo) == TModalResult::Yes) {
        MessageDlg(msgVideoGood, TMsgDlgType::Information, TMsgDlgButtons::OK);
        videoTestPassed = true;
    } else {
        MessageDlg(msgVideoBad, TMsgDlgType::Error, TMsgDlgButtons::OK);
        videoTestPassed = false;
    }
    return true;
}

void TfConfig::bGLSetupClick(TObject*)
{
    const std::wstring glSetup = programFolder + L"glsetup.exe";
    const std::string notStarted = LanguageTextOr(
        "msgGLSetupNotStarted", "3D Setup could not be started: this program is missing, or it is no program.");
    // Without the installer nothing is saved for it.
    if (!Processes().Exists(glSetup)) {
        CannotStart(*this, notStarted, glSetup);
        return;
    }
    if (MessageDlg(msgRunGLSetup, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) return;
    SaveSettings();
    SaveKeyMap();
    if (!Processes().Start(glSetup)) CannotStart(*this, notStarted, glSetup);
}
