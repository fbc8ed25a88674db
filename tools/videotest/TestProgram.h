#pragma once
// What the two video test programs share: the settings under test, the command line, the display
// mode, the window, the ten seconds of the test card, the failure notice and the report. Each
// program adds only its way of drawing (a Renderer).
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/videotest/TestCard.h"

namespace videotest {

// The exit codes, the same in both programs. The settings program ignores them; they are for
// support and tests.
enum ExitCode : int {
    kShown = 0,              // the card was shown as asked (to the end, or until the player ended it)
    kNotShownAsAsked = 10,   // the display refused the full-screen mode, or the window did not get its size
    kNoWindow = 11,          // no window could be made
    kDriverNotLoaded = 20,   // kxgltest: the chosen OpenGL driver is not installed or did not load
    kNoPixelFormat = 21,     // kxgltest: the driver offers no pixel format for the window
    kNoContext = 22,         // kxgltest: the driver made no drawing context
    kNoSurface = 23,         // kxdxtest: neither DirectDraw nor GDI gave a picture to draw in
    kReadBackDiffers = 30,   // the card was drawn, but the pixel read back from the screen is not what was drawn
    kNotPresented = 31,      // a frame drawn could not be put on the screen
    kBadCommandLine = 64,    // an argument the program does not know
    kReportNotWritten = 73,  // the report file cannot be written
};

// The settings under test, from the "Program Options" of the game's settings file.
struct Settings {
    int width = 800, height = 600;
    int bitsPerPixel = 16;
    bool fullScreen = true;
    int driver = 0;             // kxgltest: the number of the OpenGL driver, as detection lists them
    bool textures16 = false;    // kxgltest: 16-bit instead of 32-bit textures
};

// Reads the file at path; what is absent or unreadable takes the game's default.
Settings ReadSettings(const std::wstring& path);
// "1024 x 768, 32 bit"
std::string ModeText(int width, int height, int bitsPerPixel);

struct Options {
    int seconds = 10;
    std::wstring reportPath;  // empty: no report
};
// The command line after the program's name; an error text for arguments it does not know.
std::optional<std::string> ParseOptions(const std::vector<std::wstring>& arguments, Options& options);

// The report: one "name: value" line per fact, in the order they were found.
class Report {
public:
    void Add(const std::string& name, const std::string& value) { lines_.emplace_back(name, value); }
    // Writes the lines to path; why not, in the system's words, when the file cannot be written.
    std::optional<std::string> Write(const std::wstring& path) const;

private:
    std::vector<std::pair<std::string, std::string>> lines_;
};

// Why the test cannot show the card: the exit code, and the reason in words the player reads.
struct Failure {
    ExitCode code;
    std::string reason;
};

// One way of drawing the card.
class Renderer {
public:
    virtual ~Renderer() = default;
    // Prepares drawing into the window's client area of the layout's size; adds what it did to the report.
    virtual std::optional<Failure> Start(HWND window, const Settings& asked, const CardLayout& layout,
                                         Report& report) = 0;
    // What the program reads beyond the mode, for the report, e.g. ", OpenGL driver 0, 32-bit textures".
    virtual std::string AskedBeyondMode(const Settings& asked) const { return {}; }
    // The drawing line of the card, e.g. "OpenGL driver: Default OpenGL Driver, 32-bit textures".
    virtual std::string Drawing() const = 0;
    // Draws one frame without showing it yet.
    virtual void Draw(double seconds, const std::vector<std::string>& text) = 0;
    // Shows the frame drawn; why not, when it could not be put on the screen.
    virtual std::optional<Failure> Present() = 0;
    // A pixel of the frame just shown, in card coordinates, from a front buffer of the renderer's
    // own, where the window's pixels may not show it; nothing when it has none.
    virtual std::optional<Rgb> ReadFront(POINT) { return std::nullopt; }
    // Bits per colour channel of the picture, for comparing a pixel read back.
    virtual int ChannelBits() const = 0;
    // Gives back everything Start took; safe when Start failed or never ran.
    virtual void Stop() = 0;
};

// The whole test, with the arguments of the program's command line: program is the program's name
// for the report ("kxgltest").
int RunVideoTest(const char* program, Renderer& renderer);

}  // namespace videotest
