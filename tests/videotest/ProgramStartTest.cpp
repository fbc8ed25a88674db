// The programs the window starts, started for real: a recording stand-in copied under their names
// tells which file ran, from which working folder, with which command line, and for how long.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "tests/e2e/RunningProgram.h"
#include "tests/support/WindowTest.h"

using namespace ui;
using namespace std::chrono_literals;

namespace {

// What the stand-in wrote: "name: value" lines, and "ended" once it had stayed its time.
struct Log {
    bool exists = false;
    bool ended = false;
    std::map<std::string, std::string> values;
};

Log ReadLog(const std::string& path)
{
    Log log;
    log.exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::istringstream lines(ReadFileBytes(path));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "ended") log.ended = true;
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos) log.values[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return log;
}

void PlaceStandIn(const std::string& folder, const std::string& name, int stayMs = 0)
{
    ASSERT_TRUE(CopyFileA(KX_RECORDER, (folder + name).c_str(), FALSE)) << folder + name;
    std::ofstream(folder + "stay-ms.txt") << stayMs;
}

// The stand-in's log for a program name: "kxdxtest.exe" logs to "kxdxtest.log".
std::string LogOf(const std::string& folder, const std::string& program)
{
    return folder + program.substr(0, program.size() - 4) + ".log";
}

std::string WithoutBackslash(std::string path)
{
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace

class ProgramStartTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        realProcesses = true;
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        savedDirectory_ = current;
        ASSERT_TRUE(SetCurrentDirectoryA(working.Path().c_str()));
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(savedDirectory_.c_str());
        WindowTest::TearDown();
    }
    void AnswerTheTest()
    {
        dialogs.Answer(TModalResult::Yes);
        dialogs.Answer(TModalResult::OK);
    }

    TempFolder working;  // where the window is started from; not its program folder

private:
    std::string savedDirectory_;
};

TEST_F(ProgramStartTest, TheTestProgramIsTheOneInTheWorkingFolderStartedByItsNameAloneAndWaitedFor)
{
    PlaceStandIn(working.Path(), "kxdxtest.exe", 300);
    TfConfig& w = Open();
    AnswerTheTest();
    Click(w.bTestSettings);
    const Log log = ReadLog(LogOf(working.Path(), "kxdxtest.exe"));
    ASSERT_TRUE(log.exists) << "kxdxtest.exe was not started";
    EXPECT_EQ(log.values.at("command line"), "kxdxtest.exe");
    EXPECT_EQ(log.values.at("arguments"), "0");
    EXPECT_TRUE(e2e::SameText(log.values.at("working folder"), WithoutBackslash(working.Path())));
    EXPECT_TRUE(e2e::SameText(log.values.at("program"), working.Path() + "kxdxtest.exe"));
    EXPECT_TRUE(log.ended) << "the question came before the program had ended";
    EXPECT_EQ(dialogs.Boxes().size(), 2u);
}

TEST_F(ProgramStartTest, NeitherTheSearchPathNorTheProgramFolderNorThisProgramsFolderIsLookedIn)
{
    TempFolder onPath;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string besideThisProgram = self;
    besideThisProgram.erase(besideThisProgram.find_last_of('\\') + 1);
    const std::vector<std::string> elsewhere = {onPath.Path(), folder.Path(), besideThisProgram};
    for (const std::string& place : elsewhere) PlaceStandIn(place, "kxdxtest.exe");
    char path[32767] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    SetEnvironmentVariableA("PATH", (onPath.Path() + ";" + path).c_str());

    TfConfig& w = Open();
    dialogs.Answer(TModalResult::OK);
    Click(w.bTestSettings);
    SetEnvironmentVariableA("PATH", path);
    for (const std::string& place : elsewhere) {
        EXPECT_FALSE(ReadLog(LogOf(place, "kxdxtest.exe")).exists) << "started from " << place;
        DeleteFileA((place + "kxdxtest.exe").c_str());
        DeleteFileA((place + "kxdxtest.log").c_str());
    }
    // Not found where it is looked for, and said so, naming that place; no verdict is asked.
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    const std::wstring told = dialogs.Boxes()[0].wideText;
    const std::wstring lookedAt = ui::Widen(working.Path() + "kxdxtest.exe");
    EXPECT_EQ(told.substr(told.size() - std::min(told.size(), lookedAt.size())), lookedAt);
}

TEST_F(ProgramStartTest, GLSetupIsStartedByItsFullPathAndNotWaitedFor)
{
    PlaceStandIn(folder.Path(), "glsetup.exe", 1500);
    TfConfig& w = Open();
    w.cb3dAcceleration->SetChecked(true);
    dialogs.Answer(TModalResult::Yes);
    Click(w.bGLSetup);
    const std::string logPath = LogOf(folder.Path(), "glsetup.exe");
    ASSERT_TRUE(e2e::WaitUntil([&] { return ReadLog(logPath).values.count("program") > 0; }));
    Log log = ReadLog(logPath);
    EXPECT_FALSE(log.ended) << "the window waited for 3D Setup";
    EXPECT_EQ(log.values.at("command line"), folder.Path() + "glsetup.exe");
    EXPECT_EQ(log.values.at("arguments"), "0");
    // The folder goes when the test ends, and a running program would keep it.
    EXPECT_TRUE(e2e::WaitUntil([&] { return ReadLog(logPath).ended; }));
}

TEST_F(ProgramStartTest, APathWithBlanksIsOneArgumentOfNothing)
{
    TempFolder parent;
    const std::string spaced = parent.Path() + "Torvel II\\";
    ASSERT_TRUE(CreateDirectoryA(spaced.c_str(), nullptr));
    PlaceStandIn(spaced, "glsetup.exe");
    Win32Processes().RunAndWait(ui::Widen(spaced + "glsetup.exe"));
    const Log log = ReadLog(LogOf(spaced, "glsetup.exe"));
    ASSERT_TRUE(log.ended);
    EXPECT_EQ(log.values.at("command line"), "\"" + spaced + "glsetup.exe\"");
    EXPECT_EQ(log.values.at("arguments"), "0");
}

TEST_F(ProgramStartTest, WhileTheTestRunsTheWindowPaintsAndAnswersButTakesNoInput)
{
    // Longer than the five seconds after which Windows calls a window that does not look at its
    // queue "not responding".
    PlaceStandIn(working.Path(), "kxdxtest.exe", 5800);
    TfConfig& w = Open();
    w.Show();
    HWND hwnd = w.Handle();
    struct {
        std::atomic<bool> disabled{false}, painted{false}, hung{true}, checked{false};
    } seen;
    std::thread watcher([&] {
        const auto start = std::chrono::steady_clock::now();
        if (!e2e::WaitUntil([&] { return ReadLog(LogOf(working.Path(), "kxdxtest.exe")).exists; })) return;
        seen.disabled = !IsWindowEnabled(hwnd);
        // Input meant for the window waits in its queue until the test has ended.
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        InvalidateRect(hwnd, nullptr, TRUE);
        seen.painted = e2e::WaitUntil([&] { return !GetUpdateRect(hwnd, nullptr, FALSE); }, 2000ms);
        std::this_thread::sleep_until(start + 5500ms);
        seen.hung = IsHungAppWindow(hwnd);
        seen.checked = true;
    });
    AnswerTheTest();
    Click(w.bTestSettings);
    watcher.join();
    ASSERT_TRUE(seen.checked) << "the test program did not start";
    EXPECT_TRUE(seen.disabled);
    EXPECT_TRUE(seen.painted) << "the window was not repainted while the test ran";
    EXPECT_FALSE(seen.hung) << "the window was not responding while the test ran";
    EXPECT_TRUE(ReadLog(LogOf(working.Path(), "kxdxtest.exe")).ended);
    MSG close;
    EXPECT_TRUE(PeekMessageA(&close, hwnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "the window took input during the test";
    EXPECT_FALSE(Application().Terminated());
    EXPECT_TRUE(IsWindowEnabled(hwnd));
}

TEST_F(ProgramStartTest, ARejectedOrUnstartedTestLeavesBothFilesAsTheyWereAndAPassedOneKeepsWhatItTested)
{
    // Files of our own, with sections and lines the program does not own.
    const std::string settings = "; set up by the mod loader\r\n[Game Options]\r\nDifficulty Level = 2\r\n"
                                 "[Mod Loader]\r\nOrder=b,a\r\n[Program Options]\r\nResolution=800\r\n";
    const std::string keymap = ReadFileBytes(SourceFile("data/keymap.ini")) + "[Mod Keys]\r\nQuickCast=Q\r\n";
    struct Row {
        const char* how;
        bool program;               // the stand-in, or a file that is no program
        TModalResult verdict;       // for the program
        bool keymapGoneBeforeTest;  // deleted under the window: the test writes it again
    };
    const Row rows[] = {{"No", true, TModalResult::No, false},
                        {"No, the key map deleted before", true, TModalResult::No, true},
                        {"no program", false, TModalResult::None, false},
                        {"Yes", true, TModalResult::Yes, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        folder.Write("torvel.ini", settings);
        folder.Write("keymap.ini", keymap);
        if (row.program)
            PlaceStandIn(working.Path(), "kxdxtest.exe");
        else
            working.Write("kxdxtest.exe", "MZ, and then nothing a program has");
        TfConfig& w = Open();
        if (row.keymapGoneBeforeTest) folder.Remove("keymap.ini");
        Click(w.rb640);
        if (row.program) dialogs.Answer(row.verdict);
        dialogs.Answer(TModalResult::OK);
        Click(w.bTestSettings);

        EXPECT_TRUE(w.rb640->Checked()) << "the window keeps the player's choice";
        EXPECT_EQ(w.videoTestPassed, row.verdict != TModalResult::No);
        ASSERT_EQ(dialogs.Boxes().size(), row.program ? 2u : 1u) << "no verdict without a test";
        if (row.verdict == TModalResult::Yes) {
            EXPECT_EQ(e2e::IniValue(folder.Read("torvel.ini"), "Program Options", "Resolution"), "640");
            EXPECT_EQ(e2e::IniValue(folder.Read("torvel.ini"), "Mod Loader", "Order"), "b,a");
        } else {
            EXPECT_EQ(folder.Read("torvel.ini"), settings);
            if (row.keymapGoneBeforeTest)
                EXPECT_FALSE(folder.Exists("keymap.ini")) << "a file the test made is removed again";
            else
                EXPECT_EQ(folder.Read("keymap.ini"), keymap);
            EXPECT_FALSE(folder.Exists("torvel.ini.kxsave") || folder.Exists("keymap.ini.kxsave"));
        }
        EXPECT_EQ(w.bApply->Enabled(), row.verdict != TModalResult::Yes) << "what the window shows is not saved";
        dialogs.Clear();
        Close();
        working.Remove("kxdxtest.exe");
        working.Remove("kxdxtest.log");
    }
}
