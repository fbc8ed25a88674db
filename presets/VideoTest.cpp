// The video test and the start of the 3D driver set-up.
#include "app/Main.h"

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

}  // namespace

void TfConfig::bTestSettingsClick(TObject*)
{
    const std::wstring program = cb3dAcceleration->Checked() ? L"kxgltest.exe" : L"kxdxtest.exe";
    // The test programs read what is under test from the files, so a refused write ends the test here.
    SaveSettings();
    SaveKeyMap();
    TakeVideoSnapshot();
    snapshotDriverIndex = cbGLDrivers->IndexOf(cbGLDrivers->Text());
    {
        InputOffWhile testRuns(*this);
        // The bare name: the program is taken from the working directory, whatever folder this one lies in.
        Processes().RunAndWait(program);
    }
    if (MessageDlg(msgVideo, TMsgDlgType::Question, TMsgDlgButtons::YesNo) == TModalResult::Yes) {
        MessageDlg(msgVideoGood, TMsgDlgType::Information, TMsgDlgButtons::OK);
        videoTestPassed = true;
    } else {
        MessageDlg(msgVideoBad, TMsgDlgType::Error, TMsgDlgButtons::OK);
        videoTestPassed = false;
    }
}

void TfConfig::bGLSetupClick(TObject*)
{
    const std::wstring glSetup = programFolder + L"glsetup.exe";
    if (MessageDlg(msgRunGLSetup, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) return;
    SaveSettings();
    SaveKeyMap();
    Processes().Start(glSetup);
}
