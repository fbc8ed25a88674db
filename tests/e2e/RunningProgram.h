#pragma once
// The built program run as a process of its own, in a game folder of its own, and looked at from
// outside the way another tool would: through its windows, their "Name" property and messages.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// How long any one wait lasts: the program starts in well under a second, but the machine is shared.
constexpr std::chrono::milliseconds kWait{20000};

// Polls until ready() holds; false when the time ran out first.
bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds timeout = kWait);

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends in a backslash.
    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    bool IsFolder(const std::string& name) const;
    void Remove(const std::string& name) const;
    void MakeFolder(const std::string& name) const;
    // Every name in the folder, sorted.
    std::vector<std::string> Names() const;

private:
    std::string path_;
};

// A game folder: a copy of the built program and the files it ships ("Language.txt", "keymap.ini").
class GameFolder : public TempFolder {
public:
    GameFolder();
    std::string Program() const { return PathOf("KXConfig.exe"); }
    // The shipped file's bytes, as the build tree has them.
    static std::string Shipped(const std::string& name);
};

// One run of the program. Whatever happens in a test, the destructor leaves no process behind.
class RunningProgram {
public:
    // arguments: the command line after the program's own (quoted) name; workingFolder: where it runs.
    RunningProgram(const GameFolder& folder, const std::string& arguments, const TempFolder& workingFolder)
        : RunningProgram(folder.Program(), arguments, workingFolder)
    {
    }
    // program: the program file, by any spelling of its path.
    RunningProgram(const std::string& program, const std::string& arguments, const TempFolder& workingFolder);
    // The program file by a path of any name.
    RunningProgram(const std::wstring& program, const std::wstring& workingFolder);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    bool Running() const;
    DWORD Id() const { return id_; }

    // Top-level windows of the process, in the desktop's order.
    std::vector<HWND> TopLevelWindows(bool visibleOnly) const;
    // The first visible top-level window of the class (any class when empty); nullptr when none came in
    // time or the process ended.
    HWND WaitForWindow(const std::string& className = {}, std::chrono::milliseconds timeout = kWait) const;
    // Every visible top-level window, class and text, for failure messages.
    std::string DescribeWindows() const;

    // The exit code once the process has ended; nothing when it did not end in time (it is then ended).
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kWait);
    // Closes the window as its close box does, and says Yes when it asks whether to close without
    // saving the changes; then WaitForExit.
    std::optional<DWORD> CloseWithoutSaving(HWND main);

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// --- Looking at windows of another process

// Compares names (classes, sections, keys) the way Windows does: letter case does not count.
bool SameText(const std::string& a, const std::string& b);

std::string ClassOf(HWND hwnd);
// The component name the program gives the window (its "Name" property, a global atom); empty when none.
std::string NameOf(HWND hwnd);
// The window's text, asked for with WM_GETTEXT.
std::string TextOf(HWND hwnd);
LONG StyleOf(HWND hwnd);
bool HasStyle(HWND hwnd, LONG bits);
std::vector<HWND> Descendants(HWND root);
// Every descendant of root with that component name.
std::vector<HWND> AllNamed(HWND root, const std::string& name);
// The one descendant of root with that name, waited for as the program makes the windows of its other
// pages after its window has appeared; nullptr (and a test failure) when none comes or there are several.
HWND Named(HWND root, const std::string& name);

// A message without pointers; sent with a time limit, so a program that hangs fails the test instead of
// stopping it. A message that could not be delivered is a test failure and gives -1.
LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// A click as the mouse would give it: queued, so that the test does not wait for a modal box it opens.
void Click(HWND button);
bool IsChecked(HWND button);
// The message text of a standard message box.
std::string MessageBoxText(HWND box);
// The control identifiers (IDOK, IDYES, ...) of the buttons a message box shows.
std::vector<int> MessageBoxButtons(HWND box);

// --- Reading the program's files

// A key's value as the profile reader would give it (names without regard to case, blanks around the
// value removed); nothing when the section or key is absent.
std::optional<std::string> IniValue(const std::string& fileText, const std::string& section, const std::string& key);
bool IniHasSection(const std::string& fileText, const std::string& section);

}  // namespace e2e
