// How long KXConfig takes from its launch until its window is shown, and until every control of every
// page is a window, as another program sees it; and its working set once it stands. Measured from
// outside the process, against a bare program that creates a main window with 210 plain named controls
// (bare_window: of the kinds of KXConfig's window, and all push buttons), launched in turn with
// KXConfig so that a busy moment of the shared machine hits all alike. KXConfig runs in game folders of its own with language files of 2,000 and 10,000 lines and a
// key map of 600 functions.
//
// Run by hand: launch_bench [runs [folder]], the game folders made inside folder (the temporary folder
// unless given). KX_BENCH_RAW=1 also prints every run.
//
// Shown: the first moment the program's top-level window of its class is visible. Fully built: the
// first moment the window is shown and every named control has its window; a control's "Name"
// property is a global atom made when its window is, so the benchmark looks the names up in the atom
// table instead of walking the program's windows, which would cost the program time on every look.
// The names are those found on a first launch of each program, left to stand for two seconds.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/Clock.h"
#include "bench/Stats.h"
#include "bench/GameFiles.h"

namespace {

struct Program {
    std::string label;
    std::string path;        // the program file to start
    std::string arguments;
    std::string windowClass;  // the class of its main window
    std::string folder;       // its working folder
    std::vector<std::string> names;  // the names of its controls, found by the first launch
};

struct Launch {
    double shown = -1, built = -1;  // milliseconds from the launch
    double workingSet = 0;          // megabytes once built
};

std::string NameOf(HWND hwnd)
{
    auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, "Name")));
    char name[256] = {};
    UINT n = atom ? GlobalGetAtomNameA(atom, name, sizeof name) : 0;
    return std::string(name, n);
}

BOOL CALLBACK CollectName(HWND hwnd, LPARAM param)
{
    if (std::string name = NameOf(hwnd); !name.empty()) reinterpret_cast<std::vector<std::string>*>(param)->push_back(name);
    return TRUE;
}

std::vector<std::string> NamesBelow(HWND hwnd)
{
    std::vector<std::string> names;
    EnumChildWindows(hwnd, CollectName, reinterpret_cast<LPARAM>(&names));
    return names;
}

// The shown main window of the process; nullptr while there is none.
HWND ShownWindow(const Program& program, DWORD processId)
{
    HWND hwnd = FindWindowA(program.windowClass.c_str(), nullptr);
    DWORD owner = 0;
    if (hwnd) GetWindowThreadProcessId(hwnd, &owner);
    return hwnd && owner == processId && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

class Process {
public:
    explicit Process(const Program& program)
    {
        std::string commandLine = "\"" + program.path + "\"" + (program.arguments.empty() ? "" : " " + program.arguments);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            program.folder.c_str(), &startup, &info)) {
            std::fprintf(stderr, "cannot start %s (error %lu)\n", program.path.c_str(), GetLastError());
            std::exit(1);
        }
        CloseHandle(info.hThread);
        handle = info.hProcess;
        id = info.dwProcessId;
    }
    ~Process()
    {
        if (WaitForSingleObject(handle, 10000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "a program did not end when its window was closed; stopped\n");
            TerminateProcess(handle, 1);
            WaitForSingleObject(handle, 10000);
        }
        CloseHandle(handle);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    HANDLE handle = nullptr;
    DWORD id = 0;
};

void Close(HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); }

double WorkingSetMegabytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

// The first launch: which names the program's controls have once it has stood for two seconds.
std::vector<std::string> DiscoverNames(const Program& program)
{
    Process process(program);
    const double start = Now();
    HWND main = nullptr;
    while (!(main = ShownWindow(program, process.id))) {
        if (Now() - start > 20) {
            std::fprintf(stderr, "%s showed no window of class %s\n", program.label.c_str(), program.windowClass.c_str());
            std::exit(1);
        }
        Sleep(10);
    }
    Sleep(2000);
    std::vector<std::string> names = NamesBelow(main);
    Close(main);
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    if (names.empty() || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        std::fprintf(stderr, "%s: %zu named controls, or a name twice\n", program.label.c_str(), names.size());
        std::exit(1);
    }
    return names;
}

Launch Measure(const Program& program)
{
    for (const std::string& name : program.names)
        if (GlobalFindAtomA(name.c_str())) {
            std::fprintf(stderr, "the name %s is left in the atom table by an earlier run; the figures would be "
                                 "wrong\n", name.c_str());
            std::exit(1);
        }
    Launch launch;
    const std::vector<std::string>& names = program.names;
    std::size_t next = 0;
    double allNamed = -1;
    const double start = Now();
    Process process(program);
    HWND main = nullptr;
    for (;;) {
        const double now = Now();
        if (!main && (main = ShownWindow(program, process.id))) launch.shown = (now - start) * 1000.0;
        // One look per poll at the first name not yet seen, and on past the names that are there:
        // whatever order the windows come in, the last look succeeds once the last of them is made.
        while (next < names.size() && GlobalFindAtomA(names[next].c_str())) ++next;
        if (next == names.size() && allNamed < 0) allNamed = (now - start) * 1000.0;
        if (main && allNamed >= 0) break;
        if (now - start > 20) {
            std::fprintf(stderr, "%s: not shown and built within 20 s\n", program.label.c_str());
            std::exit(1);
        }
        Sleep(1);
    }
    launch.built = std::max(launch.shown, allNamed);
    // Working set once the program stands idle.
    Sleep(500);
    launch.workingSet = WorkingSetMegabytes(process.handle);
    Close(main);
    return launch;
}

std::string LoadAverage()
{
    std::ifstream in("Z:\\proc\\loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return in ? a + " " + b + " " + c : "unknown";
}

// A game folder: the program and its files, with a stored difficulty so that no dialog asks for one.
std::string MakeGameFolder(const std::string& parent, const std::string& name, const std::string& language,
                           const std::string& keymap)
{
    const std::string folder = parent + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA(KX_PROGRAM, (folder + "KXConfig.exe").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s to %s\n", KX_PROGRAM, folder.c_str());
        std::exit(1);
    }
    WriteBytes(folder + "Language.txt", language);
    WriteBytes(folder + "keymap.ini", keymap);
    WriteBytes(folder + "torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n");
    return folder;
}

void RemoveGameFolder(const std::string& folder)
{
    for (const char* name : {"KXConfig.exe", "Language.txt", "keymap.ini", "torvel.ini"})
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::string parent;
    if (argc > 2) {
        parent = argv[2];
    } else {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        parent = temp;
    }
    if (parent.back() != '\\') parent += '\\';
    parent += "kxlaunch-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(parent.c_str(), nullptr);

    const std::string shipped = ReadBytes(KX_DATA_DIR "/Language.txt");
    const std::string shippedKeymap = ReadBytes(KX_DATA_DIR "/keymap.ini");
    constexpr int kFunctions = 600;
    std::vector<Program> programs = {
        {"bare window, KXConfig's kinds", KX_BARE_PROGRAM, "", "KXBareWindow", parent, {}},
        {"bare window, push buttons", KX_BARE_PROGRAM, "--buttons", "KXBareWindow", parent, {}}};
    const std::size_t bares = programs.size();
    for (int lines : {2000, 10000}) {
        // The names of the 600 functions count among the lines.
        KeymapCase files = GrownKeymap(shippedKeymap, GrownLanguageFile(shipped, lines - kFunctions), kFunctions);
        const int counted = static_cast<int>(SplitLanguageLines(files.language).size());
        if (counted != lines) {
            std::fprintf(stderr, "the language file has %d lines instead of %d\n", counted, lines);
            return 1;
        }
        const std::string label = "KXConfig, " + std::to_string(lines) + " lines";
        programs.push_back(
            {label, "", "", "TfConfig", MakeGameFolder(parent, std::to_string(lines), files.language, files.keymap), {}});
        programs.back().path = programs.back().folder + "KXConfig.exe";
    }

    const std::string loadBefore = LoadAverage();
    for (Program& program : programs) program.names = DiscoverNames(program);

    std::vector<std::vector<Launch>> launches(programs.size());
    for (int run = 0; run < runs; ++run)
        for (std::size_t k = 0; k < programs.size(); ++k) {
            // Each round begins with another program, so that none always follows the same one.
            const std::size_t p = (k + static_cast<std::size_t>(run)) % programs.size();
            launches[p].push_back(Measure(programs[p]));
        }
    const std::string loadAfter = LoadAverage();

    std::printf("launch of the program until its window is shown, until every control is a window (fully built),\n"
                "and its working set then; %d launches each, in turn; milliseconds and megabytes, median (min)\n\n",
                runs);
    std::printf("%-28s %8s | %17s | %17s | %17s\n", "program", "controls", "shown", "fully built", "working set");
    std::vector<Stats> shown, built, memory;
    for (std::size_t p = 0; p < programs.size(); ++p) {
        std::vector<double> s, b, m;
        for (const Launch& l : launches[p]) {
            s.push_back(l.shown);
            b.push_back(l.built);
            m.push_back(l.workingSet);
        }
        shown.push_back(StatsOf(s));
        built.push_back(StatsOf(b));
        memory.push_back(StatsOf(m));
        std::printf("%-28s %8zu | %7.0f (%7.0f) | %7.0f (%7.0f) | %7.1f (%7.1f)\n", programs[p].label.c_str(),
                    programs[p].names.size(), shown[p].median, shown[p].min, built[p].median, built[p].min,
                    memory[p].median, memory[p].min);
    }
    for (std::size_t b = 0; b < bares; ++b) {
        std::printf("\nto the %-30s  shown   fully built   working set\n", (programs[b].label + ", by medians").c_str());
        for (std::size_t p = bares; p < programs.size(); ++p)
            std::printf("%-38s %7.2f   %11.2f   %11.2f\n", programs[p].label.c_str(), shown[p].median / shown[b].median,
                        built[p].median / built[b].median, memory[p].median / memory[b].median);
    }
    if (std::getenv("KX_BENCH_RAW"))
        for (std::size_t p = 0; p < programs.size(); ++p) {
            std::printf("raw %s:", programs[p].label.c_str());
            for (const Launch& l : launches[p]) std::printf(" %.0f/%.0f/%.1f", l.shown, l.built, l.workingSet);
            std::printf("\n");
        }
    std::printf("\nload average of the machine before and after: %s; %s\n", loadBefore.c_str(), loadAfter.c_str());

    for (std::size_t p = bares; p < programs.size(); ++p) RemoveGameFolder(programs[p].folder);
    RemoveDirectoryA(parent.c_str());
    return 0;
}
