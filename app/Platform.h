#pragma once
// The platform seams of the window: display modes and programs started. Tests pass their own.
#include <string>
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
    // Starts the command line and waits until the program has ended; a failure to start is ignored.
    virtual void RunAndWait(const std::string& commandLine) = 0;
    // Starts the command line and returns at once; a failure to start is ignored.
    virtual void Start(const std::string& commandLine) = 0;
};

// EnumDisplaySettingsA on the current display device.
class Win32DisplayModes : public IDisplayModes {
public:
    bool Mode(int index, DisplayMode& mode) override;
};

// CreateProcessA.
class Win32Processes : public IProcesses {
public:
    void RunAndWait(const std::string& commandLine) override;
    void Start(const std::string& commandLine) override;
};

// The folder of a program file's full path, ending in a backslash.
std::string ProgramFolderOf(const std::string& programPath);
// The folder of the running program file.
std::string ProgramFolder();
// The arguments the program was started with, without the program's own name.
std::vector<std::string> CommandLineArguments();
