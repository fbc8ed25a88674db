#pragma once
// The platform seams of the window: display modes and programs started. Tests pass their own.
#include <string>
#include <string_view>
#include <vector>

struct DisplayMode {
    unsigned bitsPerPixel = 0;
    unsigned width = 0;
    unsigned height = 0;
};

class IDisplayModes {
public:
    virtual ~IDisplayModes() = default;
    // Mode number index of the current display device; false after the last one.
    virtual bool Mode(int index, DisplayMode& mode) = 0;
};

class IProcesses {
public:
    virtual ~IProcesses() = default;
    // Starts a program file with nothing on its command line but its own name, and returns when
    // it has ended. program is a full path, or a bare name taken in the working directory: it is
    // never looked for on the search path or beside this program. False, at once, when it cannot
    // be started (no such file, or a file that is no program). Keyboard and mouse input that came
    // meanwhile is thrown away: it was meant for the other program, and must not answer what this
    // one asks next.
    virtual bool RunAndWait(const std::wstring& program) = 0;
    // The same, returning at once.
    virtual bool Start(const std::wstring& program) = 0;
    // Whether there is a file of that name to start, found as RunAndWait would look for it.
    virtual bool Exists(const std::wstring& program) = 0;
};

// EnumDisplaySettingsA on the current display device.
class Win32DisplayModes : public IDisplayModes {
public:
    bool Mode(int index, DisplayMode& mode) override;
};

// CreateProcessW. While RunAndWait waits, the thread handles paint messages and nothing else.
class Win32Processes : public IProcesses {
public:
    bool RunAndWait(const std::wstring& program) override;
    bool Start(const std::wstring& program) override;
    bool Exists(const std::wstring& program) override;
};

// Where a program of that name is looked for: a full path as it stands, a bare name in the
// working directory.
std::wstring FullPathOf(const std::wstring& program);

// What a folder is known by whatever the spelling of its path: its full path with the long form of
// every name, in capitals, without a backslash at the end. "c:/games/TORVEL~1/" and
// "C:\Games\Torvel II" give one key; the folder must exist for its short names to be read.
std::wstring FolderKey(const std::wstring& folder);

// One running program per program folder: two would each write the folder's files, and the later
// OK would undo what the earlier one saved. The claim is named after the folder's key, in the
// session of the user who starts the program.
class FolderClaim {
public:
    // The claim on the program folder, the folder whose files the program reads and writes.
    explicit FolderClaim(const std::wstring& programFolder);
    ~FolderClaim();
    FolderClaim(const FolderClaim&) = delete;
    FolderClaim& operator=(const FolderClaim&) = delete;

    // True when this program now holds its folder: it is the first there, or the one before it has
    // ended. Otherwise the holder's window has been brought to the front, restored when minimised
    // (or the holder showed none for ten seconds), and this program should end without a window.
    bool Take();

private:
    void* lock_ = nullptr;     // a mutex, owned by the holder's main thread
    void* mapping_ = nullptr;  // a page shared by the starts in the folder
    long* holder_ = nullptr;   // in it: the process id of the holder, 0 until it has written it
    bool held_ = false;
};

// The folder of a program file's full path, ending in a backslash.
std::wstring ProgramFolderOf(const std::wstring& programPath);
// The folder of the running program file, from its full path as the system has it: every path of
// the program's files is built from it in UTF-16, whatever the system code page can spell.
std::wstring ProgramFolder();
// The arguments the program was started with, without the program's own name.
std::vector<std::string> CommandLineArguments();
// Whether a command line holds anything after the program's own name, which the shell's splitter
// takes as the text up to the next quote when the line starts with one, else up to the first blank
// or tab. Without arguments the shell's library need not be loaded (under Wine that costs about
// 40 ms of the start).
bool HasArguments(std::wstring_view commandLine);
