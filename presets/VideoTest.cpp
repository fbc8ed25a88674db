// The video test and the start of the 3D driver set-up.
#include <exception>

#include "app/Main.h"
#include "settings/WholeFile.h"
#include "ui/Application.h"
#include "ui/Exception.h"
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

// Puts each file back as it was: its bytes, or no file where there was none. A file that cannot be
// put back leaves the other put back; the first refusal is raised once both have been tried.
void PutBack(const std::initializer_list<std::pair<const std::wstring&, const FileContent&>>& files)
{
    std::exception_ptr refused;
    for (const auto& [path, was] : files) {
        try {
            if (was.exists)
                ReplaceWholeFile(path, was.bytes);
            else
                RemoveWholeFile(path);
        } catch (const Exception&) {
            if (!refused) refused = std::current_exception();
        }
    }
    if (refused) std::rethrow_exception(refused);
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
    // The test programs read what is under test from the files, so a refused write ends the test
    // here. A test that is rejected, or does not run, leaves them as they were before it.
    const FileContent settingsBefore = ReadWholeFile(settingsPath), keymapBefore = ReadWholeFile(keymapPath);
    auto putBack = [&] {
        try {
            PutBack({{settingsPath, settingsBefore}, {keymapPath, keymapBefore}});
        } catch (...) {
            ReadSavedFiles();
            throw;
        }
        ReadSavedFiles();
    };
    try {
        SaveSettings();
        SaveKeyMap();
    } catch (const Exception&) {
        // The settings saved without their key map are tested by no one: they go back too.
        try {
            putBack();
        } catch (const Exception&) {
        }
        throw;
    }
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
        putBack();
        CannotStart(*this, notStarted, program);
        return false;
    }
    if (MessageDlg(msgVideo, TMsgDlgType::Question, TMsgDlgButtons::YesNo) == TModalResult::Yes) {
        MessageDlg(msgVideoGood, TMsgDlgType::Information, TMsgDlgButtons::OK);
        videoTestPassed = true;
    } else {
        // The window keeps the rejected choices, to be changed and tested again; the game does not get them.
        videoTestPassed = false;
        putBack();
        MessageDlg(msgVideoBad, TMsgDlgType::Error, TMsgDlgButtons::OK);
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
