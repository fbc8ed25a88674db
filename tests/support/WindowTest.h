#pragma once
// A game folder of its own for each test, the window built in it with scripted platform seams.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/WideText.h"

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    // The folder's path, ending in a backslash.
    const std::string& Path() const { return path_; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    void Remove(const std::string& name) const;
    // A folder where a file should be: every write to that file is refused.
    void BlockFile(const std::string& name) const;

private:
    std::string path_;
};

class ScriptedDisplayModes : public IDisplayModes {
public:
    std::vector<DisplayMode> modes{{32, 640, 480}, {32, 800, 600}, {32, 1024, 768},
                                   {16, 640, 480}, {16, 800, 600}, {16, 1024, 768}};
    bool Mode(int index, DisplayMode& mode) override;
};

// Records the programs in the system code page (the tests' folders have plain names).
class RecordingProcesses : public IProcesses {
public:
    std::vector<std::string> waited;
    std::vector<std::string> started;
    // Runs inside RunAndWait, as if it were the program waited for.
    std::function<void(const std::string&)> whileWaiting;
    // Programs not there, and programs there that do not start (files that are no programs).
    std::vector<std::string> missing, refused;
    bool RunAndWait(const std::wstring& commandLine) override
    {
        if (!Starts(commandLine)) return false;
        waited.push_back(ui::ShownPath(commandLine));
        if (whileWaiting) whileWaiting(waited.back());
        return true;
    }
    bool Start(const std::wstring& commandLine) override
    {
        if (!Starts(commandLine)) return false;
        started.push_back(ui::ShownPath(commandLine));
        return true;
    }
    bool Exists(const std::wstring& program) override { return !Listed(missing, program); }

private:
    static bool Listed(const std::vector<std::string>& names, const std::wstring& program)
    {
        return std::find(names.begin(), names.end(), ui::ShownPath(program)) != names.end();
    }
    bool Starts(const std::wstring& program) const { return !Listed(missing, program) && !Listed(refused, program); }
};

// The shipped files of the program.
std::string SourceFile(const std::string& relativePath);
std::string ReadFileBytes(const std::string& path);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window in the folder: with the shipped language file unless the test wrote one,
    // and a stored difficulty so that no dialog asks for one, unless the test wrote a settings file.
    TfConfig& Open(std::vector<std::string> arguments = {});
    void Close();
    // Sends a real click to a control's window, as the mouse would.
    static void Click(ui::TControl* control);
    // A right button pressed and released over the control.
    static void RightClick(ui::TControl* control);
    // The mouse moving over the control.
    static void MouseMove(ui::TControl* control);
    // Picks an item of a drop-down list as the mouse does: the list opened and the item clicked in it.
    static void Pick(ui::TComboBox* list, const std::string& item);
    // Types text into the edit of a drop-down list, a character at a time, after selecting what it shows.
    static void Type(ui::TComboBox* list, const std::string& text);

    // Off: no settings file is written before the window is built (a first run).
    bool storeDifficulty = true;
    // On: the window starts programs for real instead of recording them in processes.
    bool realProcesses = false;
    TempFolder folder;
    ui::ScriptedDialogs dialogs;
    ScriptedDisplayModes displayModes;
    RecordingProcesses processes;
    std::unique_ptr<TfConfig> window;
};
