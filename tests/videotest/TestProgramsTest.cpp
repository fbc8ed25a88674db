// kxgltest and kxdxtest as the demo game folder holds them, each run from a game folder of its own
// on the settings under test, and judged by exit code, report and window. The suite OnVirtualScreen
// needs a screen where OpenGL really draws: tests/videotest/on-virtual-screen.sh gives it one.
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/e2e/RunningProgram.h"
#include "tools/videotest/TestProgram.h"
#include "ui/WideText.h"

using namespace std::chrono_literals;
using e2e::WaitUntil;

namespace {

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }
bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The report's lines in their order.
struct Report {
    std::vector<std::pair<std::string, std::string>> lines;

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& line : lines) names.push_back(line.first);
        return names;
    }
    std::string operator[](const std::string& name) const
    {
        for (const auto& [key, value] : lines)
            if (key == name) return value;
        return "(no line " + name + ")";
    }
};

Report ParseReport(const std::string& text)
{
    Report report;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos) report.lines.emplace_back(line.substr(0, colon), line.substr(colon + 2));
    }
    return report;
}

std::string DesktopMode()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return videotest::ModeText(static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                               static_cast<int>(mode.dmBitsPerPel));
}

struct CardWindowSearch {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK FindCardWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<CardWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->process && IsWindowVisible(hwnd) && e2e::ClassOf(hwnd) == "KXVideoTest") {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A console of the test's own, as a console window is for the programs started from it.
class Console {
public:
    Console()
    {
        FreeConsole();
        AllocConsole();
        out_ = CreateFileA("CONOUT$", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    ~Console()
    {
        CloseHandle(out_);
        FreeConsole();
    }
    // What was written to it, row after row.
    std::string Text() const
    {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        GetConsoleScreenBufferInfo(out_, &info);
        std::string text(static_cast<std::size_t>(info.dwSize.X * (info.dwCursorPosition.Y + 1)), ' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterA(out_, text.data(), static_cast<DWORD>(text.size()), {0, 0}, &read);
        return text;
    }

private:
    HANDLE out_;
};

// One run of a test program copied from the demo folder into a game folder of its own.
class TestProgramRun {
public:
    TestProgramRun(const e2e::TempFolder& game, const std::string& program, const std::string& arguments,
                   bool toConsole = false)
        : start_(std::chrono::steady_clock::now())
    {
        const std::string path = game.PathOf(program);
        std::string commandLine = "\"" + path + "\" " + arguments;
        // What the program says on its error output (its usage) is not the test's output, unless it
        // is started as a console window starts a GUI program: with no output or error at all.
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        nowhere_ = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = startup.hStdError = toConsole ? nullptr : nowhere_;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            game.Path().c_str(), &startup, &info)) {
            ADD_FAILURE() << "cannot start " << commandLine;
            return;
        }
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
    ~TestProgramRun()
    {
        if (nowhere_ != INVALID_HANDLE_VALUE) CloseHandle(nowhere_);
        if (!process_) return;
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 10000);
        }
        CloseHandle(process_);
    }
    TestProgramRun(const TestProgramRun&) = delete;
    TestProgramRun& operator=(const TestProgramRun&) = delete;

    bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    // The test card's window (or the notice's) once it is shown.
    HWND WaitForWindow() const
    {
        CardWindowSearch search{id_};
        WaitUntil([&] {
            EnumWindows(FindCardWindow, reinterpret_cast<LPARAM>(&search));
            return search.found || !Running();
        });
        return search.found;
    }
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 60s)
    {
        if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        return code;
    }
    // From the start to the end.
    double Seconds() const { return seconds_; }

private:
    HANDLE process_ = nullptr;
    HANDLE nowhere_ = INVALID_HANDLE_VALUE;
    DWORD id_ = 0;
    std::chrono::steady_clock::time_point start_;
    double seconds_ = 0;
};

constexpr char kShortRun[] = "--seconds 1 --report report.txt";

}  // namespace

class VideoTestProgram : public ::testing::Test {
protected:
    // The program from the demo folder, and the settings under test beside it ("" for no file).
    void Install(const std::string& program, const std::string& programOptions)
    {
        const std::string shipped = std::string(KX_DEMO_DIR) + "/" + program;
        ASSERT_TRUE(CopyFileA(shipped.c_str(), game.PathOf(program).c_str(), FALSE)) << shipped;
        game.Remove("torvel.ini");
        if (!programOptions.empty()) game.Write("torvel.ini", "[Program Options]\r\n" + programOptions);
        game.Remove("report.txt");
    }
    // Runs it to its end; the exit code, or 999 when it did not end in time.
    DWORD RunToEnd(const std::string& program, const std::string& arguments = kShortRun, bool toConsole = false)
    {
        TestProgramRun run(game, program, arguments, toConsole);
        const std::optional<DWORD> code = run.WaitForExit();
        seconds = run.Seconds();
        return code.value_or(999);
    }
    Report ReadReport() const { return ParseReport(game.Read("report.txt")); }

    e2e::TempFolder game;
    double seconds = 0;
};

TEST_F(VideoTestProgram, TheTwoDimensionalCardIsShownAsAskedAndReadsBackAsDrawn)
{
    const std::string desktop = DesktopMode();
    const struct {
        const char* settings;
        const char* asked;
        std::string set;
    } cases[] = {
        {"Resolution=640\r\nFull Screen=0\r\n", "640 x 480, 16 bit, in a window",
         "640 x 480 in a window, the desktop at " + desktop},
        // Other tests share this screen: a change of its mode is tried in a prefix of its own (ModeChange).
        {"Resolution=1024\r\nBitsPerPixel=32\r\nFull Screen=1\r\n", "1024 x 768, 32 bit, full screen",
         desktop + ", full screen (the desktop's mode, kept)"},
    };
    ASSERT_EQ(desktop, "1024 x 768, 32 bit") << "the null driver's screen";
    for (const auto& c : cases) {
        Install("kxdxtest.exe", c.settings);
        EXPECT_EQ(RunToEnd("kxdxtest.exe"), 0u) << c.settings;
        const Report report = ReadReport();
        EXPECT_EQ(report.Names(), (std::vector<std::string>{"program", "settings", "asked", "set", "driver", "frames",
                                                            "fps", "pixel", "result"}));
        EXPECT_EQ(report["program"], "kxdxtest");
        EXPECT_EQ(report["settings"], game.PathOf("torvel.ini"));
        EXPECT_EQ(report["asked"], c.asked);
        EXPECT_EQ(report["set"], c.set);
        EXPECT_TRUE(StartsWith(report["driver"], "DirectDraw")) << report["driver"];
        EXPECT_GT(std::atoi(report["frames"].c_str()), 0);
        EXPECT_GT(std::atof(report["fps"].c_str()), 0);
        EXPECT_TRUE(EndsWith(report["pixel"], "drew 255 255 0, read 255 255 0: the same")) << report["pixel"];
        EXPECT_EQ(report["result"], "0 (shown as asked)");
        EXPECT_EQ(DesktopMode(), desktop) << "the desktop's mode was not put back";
    }
}

TEST_F(VideoTestProgram, WhatCannotBeShownAsAskedIsToldInAWindowThatFitsAndTheProgramStillEnds)
{
    const struct {
        const char* settings;
        const char* set;  // how the line starts
        const char* message;
    } cases[] = {
        {"Resolution=2048\r\nBitsPerPixel=32\r\nFull Screen=1\r\n",
         "refused (DISP_CHANGE_BADMODE: the screen has no such mode)",
         "The screen cannot show 2048 x 1536, 32 bit in full screen: the screen has no such mode."},
        // The system makes these windows smaller than the card: nothing is drawn in them.
        {"Resolution=2048\r\nFull Screen=0\r\n", "2048 x 1536 in a window asked, ",
         "A window of 2048 x 1536 does not fit on this desktop of 1024 x 768."},
        {"Resolution=1024\r\nFull Screen=0\r\n", "1024 x 768 in a window asked, ",
         "A window of 1024 x 768 does not fit on this desktop of 1024 x 768 once its title bar and frame are added."},
    };
    RECT work{}, frame{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const auto& c : cases)
        for (const char* program : {"kxdxtest.exe", "kxgltest.exe"}) {
            Install(program, c.settings);
            TestProgramRun run(game, program, "--seconds 2 --report report.txt");
            HWND notice = run.WaitForWindow();
            ASSERT_NE(notice, nullptr) << program << " showed no window";
            GetWindowRect(notice, &frame);
            EXPECT_TRUE(GetWindowLongA(notice, GWL_STYLE) & WS_CAPTION) << "a window, not the full screen";
            EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
                        frame.bottom <= work.bottom);
            EXPECT_EQ(run.WaitForExit(), static_cast<DWORD>(videotest::kNotShownAsAsked)) << program << c.settings;
            EXPECT_GE(run.Seconds(), 2.0);
            const Report report = ReadReport();
            EXPECT_TRUE(StartsWith(report["set"], c.set)) << report["set"];
            EXPECT_EQ(report["message"], c.message);
            EXPECT_EQ(report["pixel"], "none, nothing was shown");
            EXPECT_EQ(report["result"], "10 (not shown as asked)");
        }
}

TEST_F(VideoTestProgram, WithoutOpenGLOnTheScreenTheGlTestLoadsTheDriverAndSaysWhatFailed)
{
    Install("kxgltest.exe", "Resolution=640\r\nFull Screen=0\r\nGLSetup Driver=0\r\n16Bit Textures=1\r\n");
    EXPECT_EQ(RunToEnd("kxgltest.exe"), static_cast<DWORD>(videotest::kNoPixelFormat));
    const Report report = ReadReport();
    EXPECT_EQ(report.Names(), (std::vector<std::string>{"program", "settings", "asked", "set", "driver", "pixel format",
                                                        "vendor", "renderer", "version", "message", "frames", "fps",
                                                        "pixel", "result"}));
    EXPECT_EQ(report["asked"], "640 x 480, 16 bit, in a window, OpenGL driver 0, 16-bit textures");
    EXPECT_TRUE(StartsWith(report["driver"], "0 Default OpenGL Driver, load result 0 (loaded), ")) << report["driver"];
    EXPECT_EQ(report["pixel format"], "none");
    EXPECT_EQ(report["vendor"], "none");
    EXPECT_EQ(report["message"], "The OpenGL driver cannot draw 16-bit colour in a window on this computer.");
    EXPECT_EQ(report["result"], "21 (no pixel format)");

    Install("kxgltest.exe", "Resolution=1024\r\nBitsPerPixel=32\r\nFull Screen=1\r\n");
    EXPECT_EQ(RunToEnd("kxgltest.exe"), static_cast<DWORD>(videotest::kNoPixelFormat));
    EXPECT_EQ(ReadReport()["message"], "The OpenGL driver cannot draw 32-bit colour in full screen on this computer.");
}

TEST_F(VideoTestProgram, ADriverNumberThatDetectionDoesNotListIsNamedNotInstalled)
{
    for (const char* driver : {"2", "-1"}) {
        Install("kxgltest.exe", std::string("Full Screen=0\r\nGLSetup Driver=") + driver + "\r\n");
        EXPECT_EQ(RunToEnd("kxgltest.exe"), static_cast<DWORD>(videotest::kDriverNotLoaded)) << driver;
        const Report report = ReadReport();
        EXPECT_TRUE(Holds(report["driver"], "load result 4 (no such driver is installed)")) << report["driver"];
        EXPECT_TRUE(StartsWith(report["message"], "The chosen OpenGL driver is not installed")) << report["message"];
        EXPECT_EQ(report["result"], "20 (the OpenGL driver did not load)");
    }
}

TEST_F(VideoTestProgram, AnUnknownArgumentEndsTheProgramAtOnceWith64)
{
    for (const char* arguments : {"--seconds", "--seconds 0", "--seconds 3601", "--seconds ten", "--report",
                                  "--fullscreen", "--seconds 1 extra"}) {
        Install("kxdxtest.exe", "Full Screen=0\r\n");
        EXPECT_EQ(RunToEnd("kxdxtest.exe", std::string(arguments) + " --report report.txt"),
                  static_cast<DWORD>(videotest::kBadCommandLine))
            << arguments;
        EXPECT_FALSE(game.Exists("report.txt")) << arguments;
    }
}

TEST_F(VideoTestProgram, WhatTheProgramsSayGoesToTheConsoleTheyWereStartedFromAndAnUnwritableReportEndsWith73)
{
    game.MakeFolder("folder");
    const struct {
        const char* arguments;
        DWORD code;
        const char* said;  // after the program's name
    } cases[] = {
        {"--help", 0, " [--seconds N] [--report FILE]"},
        {"--seconds 0", videotest::kBadCommandLine, ": --seconds needs a number from 1 to 3600"},
        {"--report folder", videotest::kReportNotWritten, ": cannot write the report to folder: "},
        {"--report missing\\r.txt", videotest::kReportNotWritten, ": cannot write the report to missing\\r.txt: "},
    };
    const Console console;
    for (const std::string program : {"kxdxtest", "kxgltest"})
        for (const auto& c : cases) {
            Install(program + ".exe", "Full Screen=0\r\n");
            EXPECT_EQ(RunToEnd(program + ".exe", c.arguments, true), c.code) << program << " " << c.arguments;
            EXPECT_TRUE(Holds(console.Text(), program + c.said)) << console.Text();
        }
}

TEST_F(VideoTestProgram, AKeyOrAClickEndsTheCardAtOnceButAKeyHeldFromBeforeDoesNot)
{
    const struct {
        UINT message;
        WPARAM wParam;
    } inputs[] = {{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, 'A'}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_RBUTTONDOWN, MK_RBUTTON}};
    for (const auto& input : inputs) {
        Install("kxdxtest.exe", "Resolution=640\r\nFull Screen=0\r\n");
        TestProgramRun run(game, "kxdxtest.exe", "--seconds 60 --report report.txt");
        HWND card = run.WaitForWindow();
        ASSERT_NE(card, nullptr);
        if (input.message == WM_KEYDOWN) {
            // Repeats of the key that started the test (bit 30: it was already down).
            PostMessageA(card, WM_KEYDOWN, VK_RETURN, 1 | (1L << 30));
            Sleep(300);
            EXPECT_TRUE(run.Running()) << "a key held from before ended the test";
        }
        PostMessageA(card, input.message, input.wParam, 1);
        EXPECT_EQ(run.WaitForExit(20s), 0u) << input.message;
        EXPECT_LT(run.Seconds(), 30);
        EXPECT_EQ(ReadReport()["result"], "0 (shown as asked)");
    }
}

TEST(VideoTestSettings, TheSettingsAreReadAsTheSettingsWindowWritesThem)
{
    e2e::TempFolder folder;
    const struct {
        const char* options;
        int width, height, bits;
        bool fullScreen;
        int driver;
        bool textures16;
    } cases[] = {
        {"", 800, 600, 16, true, 0, false},
        {"Resolution=640\r\nBitsPerPixel=24\r\n", 640, 480, 24, true, 0, false},
        {"Resolution=1024\r\nBitsPerPixel=32\r\nFull Screen=0\r\n", 1024, 768, 32, false, 0, false},
        {"Resolution=1280\r\n", 1280, 960, 16, true, 0, false},
        {"Resolution=1600\r\n", 1600, 1200, 16, true, 0, false},
        {"Resolution=2048\r\n", 2048, 1536, 16, true, 0, false},
        {"Resolution=1100\r\nBitsPerPixel=8\r\n", 800, 600, 16, true, 0, false},
        {"Resolution=-1\r\nBitsPerPixel=\r\n", 800, 600, 16, true, 0, false},
        {"GLSetup Driver=2\r\n16Bit Textures=1\r\n", 800, 600, 16, true, 2, true},
        {"GLSetup Driver=-1\r\n16Bit Textures=0\r\n", 800, 600, 16, true, -1, false},
    };
    for (const auto& c : cases) {
        folder.Write("torvel.ini", std::string("[Program Options]\r\n") + c.options);
        const videotest::Settings s = videotest::ReadSettings(ui::Widen(folder.PathOf("torvel.ini")));
        EXPECT_EQ(std::make_tuple(s.width, s.height, s.bitsPerPixel, s.fullScreen, s.driver, s.textures16),
                  std::make_tuple(c.width, c.height, c.bits, c.fullScreen, c.driver, c.textures16))
            << c.options;
    }
}

TEST(VideoTestCard, TheCardIsLaidOutInWholePixelsAndTheSquareMovesEvenly)
{
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{1024, 768}, std::pair{2048, 1536}}) {
        const videotest::CardLayout card(width, height);
        int right = 0;
        for (const auto& bar : card.Bars()) {
            EXPECT_EQ(bar.box.left, right) << "bars with a gap";
            right = bar.box.right;
        }
        EXPECT_EQ(right, width);
        const POINT at = card.SamplePoint();
        EXPECT_EQ(card.SampleColour(), (videotest::Rgb{255, 255, 0}));
        EXPECT_TRUE(at.x >= card.Bars()[1].box.left && at.x < card.Bars()[1].box.right);
        const videotest::Box& track = card.Track();
        EXPECT_EQ(card.Square(0).left, track.left);
        EXPECT_EQ(card.Square(2).right, track.right);
        EXPECT_EQ(card.Square(4).left, track.left);
        EXPECT_NEAR(card.Square(0.5).left - card.Square(0).left, card.Square(1.5).left - card.Square(1).left, 1);
        EXPECT_EQ(card.Square(1).top, track.top);
        EXPECT_EQ(card.Square(1).Height(), track.Height());
        EXPECT_GE(card.TextArea().top, track.bottom);
        EXPECT_LE(card.TextArea().bottom, height);
    }
}

// --- Changing the mode of a screen that no other test uses

class ModeChange : public VideoTestProgram {
protected:
    void SetUp() override
    {
        if (!std::getenv("KX_SCREEN_OF_ITS_OWN")) GTEST_SKIP() << "changes the mode of the screen other tests use";
    }
};

TEST_F(ModeChange, FullScreenSetsTheModeAndTheEndPutsTheDesktopsModeBack)
{
    const std::string desktop = DesktopMode();
    const struct {
        const char* settings;  // "" for no file: the game's defaults
        const char* asked;
        bool byEsc;
    } cases[] = {{"Resolution=640\r\nBitsPerPixel=32\r\n", "640 x 480, 32 bit", false},
                 {"", "800 x 600, 16 bit", true}};
    for (const auto& c : cases) {
        Install("kxdxtest.exe", c.settings);
        TestProgramRun run(game, "kxdxtest.exe", c.byEsc ? "--seconds 60 --report report.txt"
                                                         : "--seconds 2 --report report.txt");
        HWND card = run.WaitForWindow();
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(DesktopMode(), c.asked) << "the mode was not set";
        EXPECT_FALSE(GetWindowLongA(card, GWL_STYLE) & WS_CAPTION) << "full screen has no frame";
        if (c.byEsc) PostMessageA(card, WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_EQ(run.WaitForExit(), 0u);
        EXPECT_EQ(DesktopMode(), desktop) << "the desktop's mode was not put back";
        const Report report = ReadReport();
        EXPECT_EQ(report["asked"], c.asked + std::string(", full screen"));
        EXPECT_EQ(report["set"], c.asked + std::string(", full screen"));
        EXPECT_EQ(EndsWith(report["settings"], "(missing: the game's defaults)"), !*c.settings);
        EXPECT_TRUE(EndsWith(report["pixel"], ": the same")) << "no frame before the key: " << report["pixel"];
    }
}

// --- On a screen where OpenGL draws

class OnVirtualScreen : public VideoTestProgram {
protected:
    void SetUp() override
    {
        if (!std::getenv("KX_VIRTUAL_SCREEN")) GTEST_SKIP() << "run by tests/videotest/on-virtual-screen.sh";
    }
};

TEST_F(OnVirtualScreen, OpenGLDrawsTheCardThroughTheChosenDriverAndReadsItBackAsDrawn)
{
    const struct {
        const char* settings;
        const char* asked;
        const char* set;
    } cases[] = {
        {"Resolution=800\r\nBitsPerPixel=32\r\nFull Screen=0\r\nGLSetup Driver=0\r\n16Bit Textures=0\r\n",
         "800 x 600, 32 bit, in a window, OpenGL driver 0, 32-bit textures",
         "800 x 600 in a window, the desktop at 1024 x 768, 32 bit"},
        {"Resolution=1024\r\nBitsPerPixel=32\r\nFull Screen=1\r\nGLSetup Driver=0\r\n16Bit Textures=1\r\n",
         "1024 x 768, 32 bit, full screen, OpenGL driver 0, 16-bit textures",
         "1024 x 768, 32 bit, full screen (the desktop's mode, kept)"},
    };
    for (const auto& c : cases) {
        Install("kxgltest.exe", c.settings);
        EXPECT_EQ(RunToEnd("kxgltest.exe"), 0u) << c.settings << game.Read("report.txt");
        const Report report = ReadReport();
        EXPECT_EQ(report.Names(), (std::vector<std::string>{"program", "settings", "asked", "set", "driver",
                                                            "pixel format", "vendor", "renderer", "version", "frames",
                                                            "fps", "pixel", "result"}));
        EXPECT_EQ(report["asked"], c.asked);
        EXPECT_EQ(report["set"], c.set);
        EXPECT_TRUE(StartsWith(report["driver"], "0 Default OpenGL Driver, load result 0 (loaded), ")) << report["driver"];
        EXPECT_TRUE(EndsWith(report["pixel format"], "double buffered")) << report["pixel format"];
        EXPECT_NE(report["vendor"], "none");
        EXPECT_TRUE(Holds(report["renderer"], "llvmpipe")) << report["renderer"];
        EXPECT_FALSE(report["version"].empty());
        EXPECT_GT(std::atoi(report["frames"].c_str()), 0);
        EXPECT_TRUE(EndsWith(report["pixel"], "drew 255 255 0, read 255 255 0: the same")) << report["pixel"];
        EXPECT_EQ(report["result"], "0 (shown as asked)");
    }
}

TEST_F(OnVirtualScreen, TheOneModeOfTheScreenRefusesOthersAndTheGlTestStillEndsByItself)
{
    Install("kxgltest.exe", "Resolution=640\r\nBitsPerPixel=16\r\nFull Screen=1\r\n");
    EXPECT_EQ(RunToEnd("kxgltest.exe", "--seconds 2 --report report.txt"),
              static_cast<DWORD>(videotest::kNotShownAsAsked));
    EXPECT_LT(seconds, 30);
    const Report report = ReadReport();
    EXPECT_EQ(report["set"],
              "refused (DISP_CHANGE_BADMODE: the screen has no such mode); the desktop stays at 1024 x 768, 32 bit");
    EXPECT_EQ(report["result"], "10 (not shown as asked)");
}

TEST_F(OnVirtualScreen, TheTwoDimensionalCardIsDrawnAndReadBackToo)
{
    Install("kxdxtest.exe", "Resolution=800\r\nFull Screen=0\r\n");
    EXPECT_EQ(RunToEnd("kxdxtest.exe"), 0u) << game.Read("report.txt");
    EXPECT_TRUE(EndsWith(ReadReport()["pixel"], ": the same")) << ReadReport()["pixel"];
}
