#include "tools/videotest/TestProgram.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/Platform.h"
#include "settings/IniFile.h"
#include "ui/WideText.h"

namespace videotest {

namespace {

const char kSection[] = "Program Options";

std::string Usage(const std::string& program)
{
    return "Usage: " + program + " [--seconds N] [--report FILE]\n"
           "\n"
           "Shows the game's test card for the display settings in torvel.ini beside the program.\n"
           "  --seconds N     show it for N seconds (1 to 3600) instead of 10\n"
           "  --report FILE   write what was asked, set, drawn and read back to FILE\n"
           "Exit codes: 0 shown as asked, 10 not shown as asked (mode refused, or the window does\n"
           "not fit the desktop), 11 no window, 20 OpenGL driver not loaded, 21 no pixel format,\n"
           "22 no OpenGL context, 23 no drawing surface, 30 pixel read back differs, 31 frame not\n"
           "shown, 64 bad command line, 73 cannot write the report.\n";
}

// --- What the program says, where the one who started it reads it

// The console of the program that started this one, opened once; nullptr when it has none. A
// program of the GUI subsystem gets no console of its own, and none is made for it here.
HANDLE StartersConsole()
{
    static const HANDLE console = [] {
        // Wine attaches a program to its starter's console whatever its subsystem: attaching again
        // is then refused as access denied, and the console is there all the same.
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return HANDLE{};
        HANDLE out = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
        return out == INVALID_HANDLE_VALUE ? HANDLE{} : out;
    }();
    return console;
}

// Text for standard output or error (which: STD_OUTPUT_HANDLE, STD_ERROR_HANDLE). Started from a
// console window without a redirection, a GUI program is given neither: the text then goes to
// that console.
void Print(DWORD which, const std::string& text)
{
    std::string lines;
    for (char c : text) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto write = [&](HANDLE out) {
        DWORD written = 0;
        return out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN &&
               WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    };
    if (!write(GetStdHandle(which))) write(StartersConsole());
}

std::string SystemMessage(DWORD error)
{
    char text[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                             sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

// The sizes the game offers, by the value it stores.
struct Resolution {
    int stored, width, height;
};
constexpr Resolution kResolutions[] = {{640, 640, 480},    {800, 800, 600},     {1024, 1024, 768},
                                       {1280, 1280, 960},  {1600, 1600, 1200},  {2048, 2048, 1536}};

constexpr int kFramesPerSecond = 60;
constexpr int kNoticeWidth = 640, kNoticeHeight = 360;

// --- The display mode, put back on every way out

std::atomic<bool> modeChanged{false};

void RestoreDesktopMode()
{
    if (modeChanged.exchange(false)) ChangeDisplaySettingsA(nullptr, 0);
}

LONG WINAPI RestoreOnCrash(EXCEPTION_POINTERS*)
{
    RestoreDesktopMode();
    return EXCEPTION_CONTINUE_SEARCH;
}

void RestoreOnAbort(int) { RestoreDesktopMode(); }

// A full-screen mode changed with CDS_FULLSCREEN is not stored, and Windows puts the desktop's
// mode back itself when the process ends, however it ends. Before that, the program puts it back
// on its own: at the end of the test, on leaving main, on an uncaught exception, on abort and on a
// crash that reaches the unhandled-exception filter.
void GuardDisplayMode()
{
    SetUnhandledExceptionFilter(RestoreOnCrash);
    std::set_terminate([] {
        RestoreDesktopMode();
        std::abort();
    });
    std::signal(SIGABRT, RestoreOnAbort);
    std::atexit(RestoreDesktopMode);
}

struct ModeChange {
    LONG result = DISP_CHANGE_SUCCESSFUL;
    bool alreadySet = false;
    ~ModeChange() { RestoreDesktopMode(); }
    void Set(const Settings& asked)
    {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        // The desktop's own mode needs no change, and a change to it can make the screen flicker.
        alreadySet = EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) &&
                     mode.dmPelsWidth == static_cast<DWORD>(asked.width) &&
                     mode.dmPelsHeight == static_cast<DWORD>(asked.height) &&
                     mode.dmBitsPerPel == static_cast<DWORD>(asked.bitsPerPixel);
        if (alreadySet) return;
        mode = {};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = static_cast<DWORD>(asked.width);
        mode.dmPelsHeight = static_cast<DWORD>(asked.height);
        mode.dmBitsPerPel = static_cast<DWORD>(asked.bitsPerPixel);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
        result = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
        if (result == DISP_CHANGE_SUCCESSFUL) modeChanged = true;
    }
};

std::string DesktopModeText()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return "an unknown mode";
    return ModeText(static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                    static_cast<int>(mode.dmBitsPerPel));
}

// The name of ChangeDisplaySettings' answer, and what it means in plain words.
std::pair<std::string, std::string> ModeResultText(LONG result)
{
    switch (result) {
    case DISP_CHANGE_BADMODE: return {"DISP_CHANGE_BADMODE", "the screen has no such mode"};
    case DISP_CHANGE_FAILED: return {"DISP_CHANGE_FAILED", "the display driver could not set it"};
    case DISP_CHANGE_RESTART: return {"DISP_CHANGE_RESTART", "the computer would have to restart for it"};
    case DISP_CHANGE_NOTUPDATED: return {"DISP_CHANGE_NOTUPDATED", "the system refused it"};
    case DISP_CHANGE_BADFLAGS: return {"DISP_CHANGE_BADFLAGS", "the system refused it"};
    case DISP_CHANGE_BADPARAM: return {"DISP_CHANGE_BADPARAM", "the system refused it"};
    default: return {"result " + std::to_string(result), "the system refused it"};
    }
}

// --- The window

struct WindowState {
    bool ended = false;
    bool fullScreen = false;
    bool wasActive = false;
    std::vector<std::string> notice;  // empty: the renderer draws the card
};
WindowState state;

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // A key already down when the window came (bit 30) is the one that started the test.
        if (!(lParam & (1L << 30))) state.ended = true;
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_CLOSE:
        state.ended = true;
        return 0;
    case WM_ACTIVATEAPP:
        // A full-screen test that loses the screen to another program ends, so that the desktop's
        // mode comes back at once.
        if (wParam) state.wasActive = true;
        else if (state.fullScreen && state.wasActive) state.ended = true;
        break;
    case WM_SETCURSOR:
        if (state.fullScreen && LOWORD(lParam) == HTCLIENT) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        if (!state.notice.empty()) {
            RECT client;
            GetClientRect(hwnd, &client);
            PaintNotice(dc, client, state.notice);
        }
        EndPaint(hwnd, &paint);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Made hidden: the window is shown once it is known to have the card's size.
HWND CreateTestWindow(const char* program, int width, int height, bool fullScreen)
{
    const char kClass[] = "KXVideoTest";
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(GetModuleHandleA(nullptr), kClass, &wc)) {
        wc.cbSize = sizeof wc;
        wc.style = CS_OWNDC;  // one device context for the window's life, as OpenGL wants
        wc.lpfnWndProc = TestWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        wc.lpszClassName = kClass;
        if (!RegisterClassExA(&wc)) return nullptr;
    }
    state.fullScreen = fullScreen;
    const std::string title = std::string("Video test (") + program + ")";
    HWND hwnd;
    if (fullScreen) {
        hwnd = CreateWindowExA(WS_EX_TOPMOST, kClass, title.c_str(), WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                               0, width, height, nullptr, nullptr, wc.hInstance, nullptr);
    } else {
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        RECT frame{0, 0, width, height};
        AdjustWindowRectEx(&frame, style, FALSE, 0);
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        const int w = frame.right - frame.left, h = frame.bottom - frame.top;
        const int x = std::max<int>(work.left, work.left + (work.right - work.left - w) / 2);
        const int y = std::max<int>(work.top, work.top + (work.bottom - work.top - h) / 2);
        hwnd = CreateWindowExA(0, kClass, title.c_str(), style, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    }
    return hwnd;
}

void HandleMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) state.ended = true;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Sleeps until then, or until input or a message arrives.
void WaitForInputUntil(double now, double then)
{
    const double ms = std::ceil((then - now) * 1000);
    if (ms >= 1) MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms), QS_ALLINPUT);
}

// Waits of a millisecond's precision, for even frames, as long as the test runs.
struct FineTimer {
    FineTimer() { timeBeginPeriod(1); }
    ~FineTimer() { timeEndPeriod(1); }
};

class Clock {
public:
    Clock()
    {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double Seconds() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{}, start_{};
};

std::string SizeText(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

std::vector<std::string> NoticeLines(const Failure& failure, int secondsLeft)
{
    return {"The video test cannot show these settings.", failure.reason,
            "Answer No when the settings program asks whether the test worked, and choose other settings.",
            "This window closes in " + std::to_string(secondsLeft) + " s. Esc, a key or a click closes it now."};
}

std::string ExitCodeText(int code)
{
    switch (code) {
    case kShown: return "shown as asked";
    case kNotShownAsAsked: return "not shown as asked";
    case kNoWindow: return "no window";
    case kDriverNotLoaded: return "the OpenGL driver did not load";
    case kNoPixelFormat: return "no pixel format";
    case kNoContext: return "no OpenGL context";
    case kNoSurface: return "no drawing surface";
    case kReadBackDiffers: return "the pixel read back differs from what was drawn";
    case kNotPresented: return "a frame was not shown";
    default: return "";
    }
}

std::string RgbText(const Rgb& c)
{
    return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b);
}

// Equal within what the channels can hold: 5 bits keep only the top five bits of 255.
bool SameColour(const Rgb& drawn, const Rgb& read, int channelBits)
{
    const int tolerance = channelBits >= 8 ? 0 : (1 << (8 - channelBits)) - 1;
    return std::abs(drawn.r - read.r) <= tolerance && std::abs(drawn.g - read.g) <= tolerance &&
           std::abs(drawn.b - read.b) <= tolerance;
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The command line's arguments after the program's name, as the system has them: the C library's
// argv spells them in the code page, by best fit where it cannot, which names another report file.
std::vector<std::wstring> WideArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!split) return arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(split[i]);
    LocalFree(split);
    return arguments;
}

}  // namespace

Settings ReadSettings(const std::wstring& path)
{
    const IniFile ini(path);
    Settings settings;
    // Any other value is read as the settings window reads it: 800 x 600.
    const int resolution = ini.ReadInteger(kSection, "Resolution", -1);
    for (const Resolution& r : kResolutions)
        if (r.stored == resolution) {
            settings.width = r.width;
            settings.height = r.height;
        }
    const int bits = ini.ReadInteger(kSection, "BitsPerPixel", -1);
    settings.bitsPerPixel = bits == 24 || bits == 32 ? bits : 16;
    settings.fullScreen = ini.ReadBool(kSection, "Full Screen", true);
    settings.driver = ini.ReadInteger(kSection, "GLSetup Driver", 0);
    settings.textures16 = ini.ReadInteger(kSection, "16Bit Textures", 0) != 0;
    return settings;
}

std::string ModeText(int width, int height, int bitsPerPixel)
{
    return std::to_string(width) + " x " + std::to_string(height) + ", " + std::to_string(bitsPerPixel) + " bit";
}

std::optional<std::string> ParseOptions(const std::vector<std::wstring>& arguments, Options& options)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == L"--seconds") {
            if (!hasValue) return "--seconds needs a number";
            const std::optional<int> seconds = ParseIniInteger(ui::ShownPath(arguments[++i]));
            if (!seconds || *seconds < 1 || *seconds > 3600) return "--seconds needs a number from 1 to 3600";
            options.seconds = *seconds;
        } else if (argument == L"--report") {
            if (!hasValue || arguments[i + 1].empty()) return "--report needs a file name";
            options.reportPath = arguments[++i];
        } else {
            return "unknown argument: " + ui::ShownPath(argument);
        }
    }
    return std::nullopt;
}

std::optional<std::string> Report::Write(const std::wstring& path) const
{
    std::string text;
    for (const auto& [name, value] : lines_) text += name + ": " + value + "\r\n";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SystemMessage(GetLastError());
    DWORD written = 0;
    const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size();
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!whole) return SystemMessage(error);
    return std::nullopt;
}

namespace {

// Where the card is shown, after the mode has been set (or refused).
struct Stage {
    int width = 0, height = 0;
    bool fullScreen = false;
    std::string shownMode;  // the card's first line
    std::string set;        // the report's line of what was set
    std::optional<Failure> failure;
};

// A failure is shown in a window at the desktop's mode, small enough for any desktop.
Stage NoticeStage(std::string set, Failure failure)
{
    return {kNoticeWidth, kNoticeHeight, false, {}, std::move(set), std::move(failure)};
}

Stage SetMode(const Settings& asked, ModeChange& modeChange)
{
    Stage stage{asked.width, asked.height, asked.fullScreen, {}, {}, std::nullopt};
    const std::string askedMode = ModeText(asked.width, asked.height, asked.bitsPerPixel);
    if (!asked.fullScreen) {
        stage.shownMode = SizeText(asked.width, asked.height) + " in a window, the desktop at " + DesktopModeText();
        stage.set = stage.shownMode;
        return stage;
    }
    const std::string desktop = DesktopModeText();
    modeChange.Set(asked);
    if (modeChange.result == DISP_CHANGE_SUCCESSFUL) {
        stage.shownMode = askedMode + ", full screen";
        stage.set = stage.shownMode + (modeChange.alreadySet ? " (the desktop's mode, kept)" : "");
        return stage;
    }
    const auto [name, meaning] = ModeResultText(modeChange.result);
    return NoticeStage("refused (" + name + ": " + meaning + "); the desktop stays at " + desktop,
                       Failure{kNotShownAsAsked, "The screen cannot show " + askedMode + " in full screen: " + meaning + "."});
}

// The notice that takes the card's place when the window did not get the card's client size
// within the desktop's work area (full screen covers the task bar too); nothing when it did. The
// system makes a window larger than the desktop smaller, or leaves it hanging off the screen:
// either way part of the card would not be seen, and a pixel read back there tells nothing.
std::optional<Stage> Misfit(HWND window, const Stage& stage)
{
    RECT client{}, frame{}, work{};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const bool sized = client.right == stage.width && client.bottom == stage.height;
    const bool inside = stage.fullScreen || (frame.left >= work.left && frame.top >= work.top &&
                                             frame.right <= work.right && frame.bottom <= work.bottom);
    if (sized && inside) return std::nullopt;
    const std::string asked = SizeText(stage.width, stage.height);
    const std::string got = SizeText(client.right, client.bottom);
    const std::string set = asked + (stage.fullScreen ? " full screen" : " in a window") + " asked, " + got +
                            " obtained; the desktop at " + DesktopModeText() + ", its work area " +
                            SizeText(work.right - work.left, work.bottom - work.top);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    std::string reason;
    if (stage.fullScreen)
        reason = "The screen was set to " + asked + ", but the window on it got " + got;
    else
        reason = "A window of " + asked + " does not fit on this desktop of " + SizeText(screenWidth, screenHeight) +
                 (stage.width <= screenWidth && stage.height <= screenHeight ? " once its title bar and frame are added"
                                                                            : "");
    return NoticeStage(set, Failure{kNotShownAsAsked, reason + "."});
}

// The window of the card or of the notice. A failure's notice gets a fresh one: a window that had
// a pixel format set keeps it.
class TestWindow {
public:
    explicit TestWindow(const char* program) : program_(program) {}
    ~TestWindow() { Close(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    // Hidden until shown.
    HWND Make(const Stage& stage)
    {
        Close();
        return hwnd_ = CreateTestWindow(program_, stage.width, stage.height, stage.fullScreen);
    }
    void Show() const
    {
        if (!hwnd_) return;
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        UpdateWindow(hwnd_);
    }
    HWND Renew(const Stage& stage)
    {
        Make(stage);
        Show();
        return hwnd_;
    }
    void Close()
    {
        if (hwnd_) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    HWND Handle() const { return hwnd_; }

private:
    const char* program_;
    HWND hwnd_ = nullptr;
};

struct Shown {
    long frames = 0;
    double seconds = 0;
    std::optional<Rgb> read;  // the sample point as the last frame showed it
};

// The sample point as the player sees it, after the frame was shown: the window as it is on the
// screen, where a part of the card that did not get there reads as nothing (-1); or the
// renderer's front buffer, which some drivers do not let the window's pixels show.
Rgb SeenPixel(HWND window, const CardLayout& layout, Renderer& renderer)
{
    const POINT at = layout.SamplePoint();
    const auto shows = [&](const std::optional<Rgb>& read) {
        return read && SameColour(layout.SampleColour(), *read, renderer.ChannelBits());
    };
    std::optional<Rgb> seen;
    HDC dc = GetDC(window);
    const COLORREF pixel = dc ? GetPixel(dc, at.x, at.y) : CLR_INVALID;
    if (dc) ReleaseDC(window, dc);
    if (pixel != CLR_INVALID) seen = Rgb{GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
    if (!shows(seen)) {
        const std::optional<Rgb> front = renderer.ReadFront(at);
        if (shows(front)) seen = front;
    }
    return seen.value_or(Rgb{-1, -1, -1});
}

// The card, or the failure notice, until the time is up or the player ends it. A frame that cannot
// be put on the screen ends the card: the notice says why for the rest of the time.
Shown ShowCard(TestWindow& window, Stage& stage, const CardLayout& layout, Renderer& renderer, int length)
{
    state.ended = false;
    const FineTimer fineTimer;
    const Clock clock;
    Shown shown;
    int noticeSeconds = -1;
    double nextFrame = 0;
    for (;;) {
        HandleMessages();
        const double now = shown.seconds = clock.Seconds();
        // The card is drawn once at least, so that even a key pressed at once leaves a report of it.
        if ((state.ended && (stage.failure || shown.frames > 0)) || now >= length) break;
        const int secondsLeft = static_cast<int>(std::ceil(length - now));
        if (stage.failure) {
            if (secondsLeft != noticeSeconds) {
                state.notice = NoticeLines(*stage.failure, secondsLeft);
                InvalidateRect(window.Handle(), nullptr, FALSE);
                noticeSeconds = secondsLeft;
            }
            WaitForInputUntil(now, length - (secondsLeft - 1));
            continue;
        }
        renderer.Draw(now, CardText(stage.shownMode, renderer.Drawing(), secondsLeft));
        stage.failure = renderer.Present();
        if (stage.failure) {
            renderer.Stop();
            if (!window.Renew(stage)) break;
            continue;
        }
        shown.read = SeenPixel(window.Handle(), layout, renderer);
        ++shown.frames;
        // The next frame a sixtieth of a second after this one was due; a late frame is not made
        // up for. Input wakes the loop at once.
        const double drawn = clock.Seconds();
        nextFrame = std::max(nextFrame + 1.0 / kFramesPerSecond, drawn);
        WaitForInputUntil(drawn, nextFrame);
    }
    return shown;
}

// Frames, rate, the pixel read back and the result; returns the exit code.
int ReportShown(const Shown& shown, const std::optional<Failure>& failure, const CardLayout& layout,
                const Renderer& renderer, Report& report)
{
    int code = failure ? failure->code : kShown;
    report.Add("frames", std::to_string(shown.frames));
    char fps[32];
    std::snprintf(fps, sizeof fps, "%.1f", shown.seconds > 0 ? shown.frames / shown.seconds : 0.0);
    report.Add("fps", fps);
    if (shown.read) {
        const Rgb drawn = layout.SampleColour();
        const bool same = SameColour(drawn, *shown.read, renderer.ChannelBits());
        const POINT at = layout.SamplePoint();
        report.Add("pixel", "at " + std::to_string(at.x) + ", " + std::to_string(at.y) + " drew " + RgbText(drawn) +
                                ", read " + RgbText(*shown.read) + (same ? ": the same" : ": different"));
        if (!same && code == kShown) code = kReadBackDiffers;
    } else {
        report.Add("pixel", "none, nothing was shown");
    }
    report.Add("result", std::to_string(code) + " (" + ExitCodeText(code) + ")");
    return code;
}

}  // namespace

int RunVideoTest(const char* program, Renderer& renderer)
{
    GuardDisplayMode();
    const std::vector<std::wstring> arguments = WideArguments();
    Options options;
    if (arguments.size() == 1 && (arguments[0] == L"--help" || arguments[0] == L"/?")) {
        Print(STD_OUTPUT_HANDLE, Usage(program));
        return kShown;
    }
    if (const std::optional<std::string> error = ParseOptions(arguments, options)) {
        Print(STD_ERROR_HANDLE, std::string(program) + ": " + *error + "\n\n" + Usage(program));
        return kBadCommandLine;
    }
    Report report;
    const auto finish = [&](int code) {
        if (options.reportPath.empty()) return code;
        const std::optional<std::string> refused = report.Write(options.reportPath);
        if (!refused) return code;
        Print(STD_ERROR_HANDLE,
              std::string(program) + ": cannot write the report to " + ui::ShownPath(options.reportPath) + ": " +
                  *refused + "\n");
        return static_cast<int>(kReportNotWritten);
    };
    // A report that cannot be written is told at once, not after the card's seconds.
    if (finish(kShown) == kReportNotWritten) return kReportNotWritten;

    report.Add("program", program);
    const std::wstring settingsPath = ProgramFolder() + L"torvel.ini";
    report.Add("settings", ui::ShownPath(settingsPath) + (FileExists(settingsPath) ? "" : " (missing: the game's defaults)"));
    const Settings asked = ReadSettings(settingsPath);
    report.Add("asked", ModeText(asked.width, asked.height, asked.bitsPerPixel) +
                            (asked.fullScreen ? ", full screen" : ", in a window") + renderer.AskedBeyondMode(asked));

    ModeChange modeChange;
    Stage stage = SetMode(asked, modeChange);
    TestWindow window(program);
    // The window's size is checked before it is shown and anything is drawn in it, whatever the
    // drawing would have made of it.
    if (window.Make(stage) && !stage.failure) {
        if (std::optional<Stage> misfit = Misfit(window.Handle(), stage)) {
            window.Close();
            RestoreDesktopMode();
            stage = *misfit;
            window.Make(stage);
        }
    }
    window.Show();
    report.Add("set", stage.set);
    if (!window.Handle()) {
        report.Add("result", std::to_string(kNoWindow) + " (" + ExitCodeText(kNoWindow) + ")");
        return finish(kNoWindow);
    }
    const CardLayout layout(stage.width, stage.height);
    if (!stage.failure) {
        stage.failure = renderer.Start(window.Handle(), asked, layout, report);
        if (stage.failure) {
            renderer.Stop();
            window.Renew(stage);
        }
    }

    const Shown shown = window.Handle() ? ShowCard(window, stage, layout, renderer, options.seconds) : Shown{};
    if (stage.failure) report.Add("message", stage.failure->reason);
    renderer.Stop();
    window.Close();
    RestoreDesktopMode();
    return finish(ReportShown(shown, stage.failure, layout, renderer, report));
}

}  // namespace videotest
