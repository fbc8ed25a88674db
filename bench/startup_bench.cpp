// How long the main window takes to come up, as the program builds it at start: the controls, the
// language file, the settings file and the key map, in a game folder of its own, until the window is
// shown (the windows of its first page made) and until every control has its window. Compared with a
// bare window, and with language files of the shipped size, 2,000 and 10,000 lines, so that the cost of
// each further line of the language file shows. Run by hand: startup_bench [runs [folder]], where the
// game folders are made inside folder (the temporary folder unless given; a folder on a RAM disk
// keeps the disk traffic of a shared machine out of the figures). KX_BENCH_RAW=1 also prints the
// times of every run. A second table compares the shipped key map with one of 600 functions.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Main.h"
#include "gls/gls.h"
#include "lang/LanguageIndex.h"
#include "settings/IniFile.h"
#include "ui/WideText.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Exception.h"
#include "ui/Form.h"
#include "bench/Clock.h"
#include "bench/Stats.h"
#include "bench/GameFiles.h"

namespace {

double MillisecondsOf(const std::function<void()>& work)
{
    double start = Now();
    work();
    return (Now() - start) * 1000.0;
}

// Wine's profile reader reads a file again on every call while its last write is less than about
// two seconds old (the time resolution of FAT); older files it reads once and keeps.
enum class FileAge { Installed, JustWritten };

// A game folder of its own for every window built: the profile reader keeps the files it has read by
// name, and a start of the program finds none of them read yet.
class GameFolder {
public:
    explicit GameFolder(FileAge age) : age_(age)
    {
        static int counter = 0;
        path_ = Parent() + "kxstartup-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~GameFolder()
    {
        for (const std::string& name : written_) DeleteFileA((path_ + name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Where the game folders are made, ending in a backslash.
    static std::string& Parent()
    {
        static std::string parent = [] {
            char temp[MAX_PATH] = {};
            GetTempPathA(MAX_PATH, temp);
            return std::string(temp);
        }();
        return parent;
    }
    // An installed file was last written a day ago.
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = path_ + name;
        WriteBytes(path, bytes);
        written_.push_back(name);
        if (age_ == FileAge::Installed) {
            HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            FILETIME now;
            GetSystemTimeAsFileTime(&now);
            ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
            time.QuadPart -= 24ULL * 3600 * 10000000;
            FILETIME dayAgo{time.LowPart, time.HighPart};
            if (file == INVALID_HANDLE_VALUE || !SetFileTime(file, nullptr, nullptr, &dayAgo)) {
                std::fprintf(stderr, "cannot set the time of %s\n", path.c_str());
                std::exit(1);
            }
            CloseHandle(file);
        }
        return path;
    }

private:
    FileAge age_;
    std::string path_;
    std::vector<std::string> written_;
};

struct LanguageCase {
    std::string label;
    std::string bytes;
    int lines;
};

const char* const kSettings = "[Game Options]\r\nDifficulty Level=3\r\n";

// Milliseconds from the start of the constructor until the window is shown, and until every control
// has its window: the first page drawn, then the windows of the other pages, all at once.
struct Start {
    double shown = 0, built = 0;
};

template <class Form>
Start TimeStart(const std::function<std::unique_ptr<Form>()>& make, double* destroyMs = nullptr)
{
    std::unique_ptr<Form> window;
    const double start = Now();
    window = make();
    window->Show();
    Start times;
    times.shown = (Now() - start) * 1000.0;
    ui::Application().ProcessMessages();
    window->CreateAllHandles();
    times.built = (Now() - start) * 1000.0;
    double gone = MillisecondsOf([&] { window.reset(); });
    if (destroyMs) *destroyMs = gone;
    return times;
}

// One start of the window in a fresh folder.
Start TimeWindow(const LanguageCase& language, const std::string& keymap, FileAge age, double* destroyMs = nullptr)
{
    GameFolder folder(age);
    folder.Write("Language.txt", language.bytes);
    folder.Write("keymap.ini", keymap);
    folder.Write("torvel.ini", kSettings);
    return TimeStart<TfConfig>([&] { return std::make_unique<TfConfig>(ui::Widen(folder.Path()), std::vector<std::string>{}); },
                               destroyMs);
}

Start TimeBareForm()
{
    return TimeStart<ui::TForm>([] { return std::make_unique<ui::TForm>(nullptr, "fBare", "TfBare", 14); });
}

// The pieces of the language step and of the settings load, each timed on its own.
const char* const kPieces[] = {
    "ReadLanguageFile",
    "LanguageIndex",
    "ReadCountryCodes",
    "ReadCountryCodes, read again",
    "Codes, one call a key",
    "ReadCountryCodes, just written",
    "Codes, one call a key, just wr.",
    "LoadLanguage",
    "LoadSettings",
    "glsFindDrivers",
};

using Breakdown = std::map<std::string, std::vector<double>>;

void MeasurePieces(const LanguageCase& language, const std::string& keymap, Breakdown& breakdown)
{
    GameFolder folder(FileAge::Installed);
    folder.Write("keymap.ini", keymap);
    folder.Write("torvel.ini", kSettings);
    const std::string path = folder.Write("Language.txt", language.bytes);
    // Fresh names for the pieces that open the file with the profile reader, so that each finds it
    // unread, as the start does.
    const std::string forCodes = folder.Write("Codes.txt", language.bytes);
    const std::string forPerKey = folder.Write("PerKey.txt", language.bytes);
    const std::string forLoad = folder.Write("Reload.txt", language.bytes);
    std::size_t count = 0;

    std::vector<std::string> lines;
    breakdown[kPieces[0]].push_back(MillisecondsOf([&] { lines = ReadLanguageFile(ui::Widen(path)); }));
    breakdown[kPieces[1]].push_back(MillisecondsOf([&] { count += LanguageIndex(lines).Lines().size(); }));
    breakdown[kPieces[2]].push_back(MillisecondsOf([&] { count += ReadCountryCodes(ui::Widen(forCodes)).size(); }));
    breakdown[kPieces[3]].push_back(MillisecondsOf([&] { count += ReadCountryCodes(ui::Widen(forCodes)).size(); }));
    breakdown[kPieces[4]].push_back(
        MillisecondsOf([&] { count += IniFile(ui::Widen(forPerKey)).ReadSectionValuesPerKey("Codes").size(); }));
    {
        GameFolder fresh(FileAge::JustWritten);
        const std::string codes = fresh.Write("Codes.txt", language.bytes);
        breakdown[kPieces[5]].push_back(MillisecondsOf([&] { count += ReadCountryCodes(ui::Widen(codes)).size(); }));
        const std::string perKey = fresh.Write("PerKey.txt", language.bytes);
        breakdown[kPieces[6]].push_back(
            MillisecondsOf([&] { count += IniFile(ui::Widen(perKey)).ReadSectionValuesPerKey("Codes").size(); }));
    }

    TfConfig window(ui::Widen(folder.Path()), {});
    // Running the steps again on the built window does the same work once more: every caption is
    // set again, and the country list gets the countries a second time.
    breakdown[kPieces[7]].push_back(MillisecondsOf([&] { window.LoadLanguage(ui::Widen(forLoad)); }));
    breakdown[kPieces[8]].push_back(MillisecondsOf([&] { window.LoadSettings(); }));
    breakdown[kPieces[9]].push_back(MillisecondsOf([&] { count += glsFindDrivers(); }));
    if (count == 0) std::printf(" ");  // keeps the readings from being optimised away
}

const char* const kKeymapPieces[] = {"LoadKeyMap",          "sections, one call each", "sections, one call a key",
                                     "SaveKeyMap",          "ReadSavedFiles",          "Apply's state, 100 times"};

// The key map step alone, run again on a built window (its lists get their items a second time); the
// seven "Keymap" sections read with one profile call each, as that step reads them, or with one a key;
// and the save, one write per function.
void MeasureKeymapPieces(const KeymapCase& keymapCase, Breakdown& breakdown)
{
    GameFolder folder(FileAge::Installed);
    folder.Write("Language.txt", keymapCase.language);
    folder.Write("keymap.ini", keymapCase.keymap);
    folder.Write("torvel.ini", kSettings);
    const std::string whole = folder.Write("Whole.ini", keymapCase.keymap);
    const std::string perKey = folder.Write("PerKey.ini", keymapCase.keymap);
    const char* const sections[] = {"Keymap Page", "Keymap Actions", "Keymap Miscellaneous", "Keymap Quick Slots",
                                    "Keymap Wizard Spells", "Keymap Priest Spells", "Keymap Fixed"};
    std::size_t count = 0;
    breakdown[kKeymapPieces[1]].push_back(MillisecondsOf([&] {
        IniFile file(ui::Widen(whole));
        for (const char* section : sections) count += file.ReadSectionValues(section).size();
    }));
    breakdown[kKeymapPieces[2]].push_back(MillisecondsOf([&] {
        IniFile file(ui::Widen(perKey));
        for (const char* section : sections) count += file.ReadSectionValuesPerKey(section).size();
    }));
    TfConfig window(ui::Widen(folder.Path()), {});
    // Before the key map step runs again and doubles the lists; once saved, the files hold what the
    // window shows, so that working out Apply's state compares every key (it stops at the first
    // unsaved one).
    window.SaveSettings();
    window.SaveKeyMap();
    breakdown[kKeymapPieces[4]].push_back(MillisecondsOf([&] { window.ReadSavedFiles(); }));
    breakdown[kKeymapPieces[5]].push_back(MillisecondsOf([&] {
        for (int i = 0; i < 100; ++i) count += window.HasUnsavedWork();
    }));
    window.keymapPath = ui::Widen(folder.Write("Again.ini", keymapCase.keymap));
    breakdown[kKeymapPieces[0]].push_back(MillisecondsOf([&] { window.LoadKeyMap(); }));
    breakdown[kKeymapPieces[3]].push_back(MillisecondsOf([&] { window.SaveKeyMap(); }));
    if (count == 0) std::printf(" ");
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    if (argc > 2) {
        GameFolder::Parent() = argv[2];
        if (GameFolder::Parent().back() != '\\') GameFolder::Parent() += '\\';
    }

    ui::Application().Initialize();
    ui::ScriptedDialogs dialogs;
    ui::Application().SetDialogs(&dialogs);

    const std::string shipped = ReadBytes(KX_DATA_DIR "/Language.txt");
    const std::string keymap = ReadBytes(KX_DATA_DIR "/keymap.ini");
    const int shippedLines = static_cast<int>(SplitLanguageLines(shipped).size());

    std::vector<LanguageCase> cases = {
        {"shipped", shipped, shippedLines},
        {"2,000 lines", GrownLanguageFile(shipped, 2000), 2000},
        {"10,000 lines", GrownLanguageFile(shipped, 10000), 10000},
    };
    for (const LanguageCase& c : cases) {
        int counted = static_cast<int>(SplitLanguageLines(c.bytes).size());
        if (counted != c.lines) {
            std::fprintf(stderr, "%s: generated %d lines\n", c.label.c_str(), counted);
            return 1;
        }
    }
    const FileAge ages[] = {FileAge::Installed, FileAge::JustWritten};

    try {
        // The first window of a process also pays for loading the common controls and the fonts.
        double firstDestroy = 0;
        Start first = TimeWindow(cases[0], keymap, FileAge::Installed, &firstDestroy);
        Start firstBare = TimeBareForm();

        std::vector<Start> bare;
        std::vector<Start> windows[2][3];
        std::vector<double> destroy;
        Breakdown breakdowns[3];
        // Round by round, so that a busy moment of the shared machine hits every case alike.
        for (int run = 0; run < runs; ++run) {
            bare.push_back(TimeBareForm());
            for (int a = 0; a < 2; ++a)
                for (std::size_t i = 0; i < cases.size(); ++i) {
                    double gone = 0;
                    windows[a][i].push_back(TimeWindow(cases[i], keymap, ages[a], &gone));
                    if (a == 0 && i == 0) destroy.push_back(gone);
                }
            for (std::size_t i = 0; i < cases.size(); ++i) MeasurePieces(cases[i], keymap, breakdowns[i]);
        }

        std::printf("main window start-up from the start of the TfConfig constructor until the window is shown,\n"
                    "and until every control of every page has its window (fully built); milliseconds, %d runs per\n"
                    "case, each in a fresh game folder with the shipped keymap.ini and a torvel.ini that holds a\n"
                    "difficulty\n\n",
                    runs);
        std::printf("%-34s %6s | %-35s | %-35s\n", "", "", "installed files", "files just written");
        std::printf("%-34s %6s | %-17s %-17s | %-17s %-17s\n", "", "", "shown", "fully built", "shown", "fully built");
        std::printf("%-34s %6s |%8s %8s %8s %8s |%8s %8s %8s %8s\n", "case", "lines", "min", "median", "min", "median",
                    "min", "median", "min", "median");
        auto shownOf = [](const std::vector<Start>& starts) {
            std::vector<double> v;
            for (const Start& s : starts) v.push_back(s.shown);
            return StatsOf(v);
        };
        auto builtOf = [](const std::vector<Start>& starts) {
            std::vector<double> v;
            for (const Start& s : starts) v.push_back(s.built);
            return StatsOf(v);
        };
        const Stats bs = shownOf(bare), bb = builtOf(bare);
        std::printf("%-34s %6s |%8.1f %8.1f %8.1f %8.1f |\n", "bare window (TForm, no controls)", "-", bs.min, bs.median,
                    bb.min, bb.median);
        Stats stats[2][3];
        for (std::size_t i = 0; i < cases.size(); ++i) {
            for (int a = 0; a < 2; ++a) stats[a][i] = shownOf(windows[a][i]);
            const Stats built0 = builtOf(windows[0][i]), built1 = builtOf(windows[1][i]);
            std::string label = "TfConfig, " + cases[i].label + (i == 0 ? " (reference)" : "");
            std::printf("%-34s %6d |%8.1f %8.1f %8.1f %8.1f |%8.1f %8.1f %8.1f %8.1f\n", label.c_str(), cases[i].lines,
                        stats[0][i].min, stats[0][i].median, built0.min, built0.median, stats[1][i].min,
                        stats[1][i].median, built1.min, built1.median);
        }
        if (std::getenv("KX_BENCH_RAW"))
            for (int a = 0; a < 2; ++a)
                for (std::size_t i = 0; i < cases.size(); ++i) {
                    std::printf("raw %d %zu:", a, i);
                    for (const Start& t : windows[a][i]) std::printf(" %.0f/%.0f", t.shown, t.built);
                    std::printf("\n");
                }
        std::printf("\ninstalled: every file last written a day ago; just written: the files written right before\n"
                    "the start. First window of the process: shown %.1f ms, fully built %.1f ms (bare form after it:\n"
                    "%.1f ms); destroying the window: %.1f ms median. For the launch of the program as a process,\n"
                    "against a bare program with as many controls, see launch_bench.\n",
                    first.shown, first.built, firstBare.shown, StatsOf(destroy).median);

        auto perThousand = [&](int a, std::size_t from, double Stats::*which) {
            const std::size_t to = from + 1;
            return (stats[a][to].*which - stats[a][from].*which) / ((cases[to].lines - cases[from].lines) / 1000.0);
        };
        std::printf("\ncost per 1,000 further lines until shown, ms  installed    just written\n");
        std::printf("                                         min  median        min  median\n");
        for (std::size_t from : {0u, 1u})
            std::printf("  %6d -> %6d lines              %7.2f %7.2f    %7.2f %7.2f\n", cases[from].lines,
                        cases[from + 1].lines, perThousand(0, from, &Stats::min), perThousand(0, from, &Stats::median),
                        perThousand(1, from, &Stats::min), perThousand(1, from, &Stats::median));
        std::printf("(the same cost over both spans: the start-up grows linearly with the file)\n");

        std::printf("\nwhere the time goes, each piece run on its own (installed files unless marked), min ms\n");
        std::printf("%-32s", "piece");
        for (const LanguageCase& c : cases) std::printf(" %12s", c.label.c_str());
        std::printf("\n");
        for (const char* piece : kPieces) {
            std::printf("%-32s", piece);
            for (std::size_t i = 0; i < cases.size(); ++i) std::printf(" %12.2f", StatsOf(breakdowns[i][piece]).min);
            std::printf("\n");
        }
        std::printf("%-32s", "rest of the window (by min)");
        for (std::size_t i = 0; i < cases.size(); ++i)
            std::printf(" %12.2f", stats[0][i].min - StatsOf(breakdowns[i]["LoadLanguage"]).min -
                                       StatsOf(breakdowns[i]["LoadSettings"]).min);
        std::printf("\n\nReadLanguageFile: the flat reading; LanguageIndex: its lookup tables and display list;\n"
                    "ReadCountryCodes: the \"Codes\" section as the window reads it, from a file the profile reader\n"
                    "has not read yet (\"read again\": the same file once more); \"one call a key\": the same section\n"
                    "read with a profile call per key; LoadLanguage: the whole language step (flat reading, index,\n"
                    "captions, Codes); LoadSettings: torvel.ini into the controls, with glsFindDrivers, the driver\n"
                    "detection it runs; rest: until shown less those two steps (controls, lists, key map, the\n"
                    "windows of the first page).\n");

        // The key map: the shipped one against one of 600 functions, the language file naming them all.
        const KeymapCase keymaps[] = {{"shipped key map", keymap, shipped}, GrownKeymap(keymap, shipped, 600)};
        std::vector<double> keymapShown[2], keymapBuilt[2];
        Breakdown keymapPieces[2];
        for (int run = 0; run < runs; ++run)
            for (int k = 0; k < 2; ++k) {
                const LanguageCase language{keymaps[k].label, keymaps[k].language, 0};
                const Start times = TimeWindow(language, keymaps[k].keymap, FileAge::Installed);
                keymapShown[k].push_back(times.shown);
                keymapBuilt[k].push_back(times.built);
                MeasureKeymapPieces(keymaps[k], keymapPieces[k]);
            }
        std::printf("\nkey map, installed files, ms            %19s  %19s\n", keymaps[0].label.c_str(),
                    keymaps[1].label.c_str());
        std::printf("%-40s %9s %9s  %9s %9s\n", "", "min", "median", "min", "median");
        auto row = [](const char* label, const std::vector<double>& a, const std::vector<double>& b) {
            const Stats x = StatsOf(a), y = StatsOf(b);
            std::printf("%-40s %9.1f %9.1f  %9.1f %9.1f\n", label, x.min, x.median, y.min, y.median);
        };
        row("TfConfig shown", keymapShown[0], keymapShown[1]);
        row("TfConfig fully built", keymapBuilt[0], keymapBuilt[1]);
        for (const char* piece : kKeymapPieces) row(piece, keymapPieces[0][piece], keymapPieces[1][piece]);
        std::printf("\nLoadKeyMap: the key map step of the start; sections: the seven \"Keymap\" sections read as it\n"
                    "reads them, or with a profile call per key; SaveKeyMap: one write per function, as OK does;\n"
                    "ReadSavedFiles: what both files hold, read at the start and when the window comes back from\n"
                    "another program; Apply's state: whether a save would write anything, as worked out after\n"
                    "every input, from what was read (no file is read for it), with nothing unsaved, so that\n"
                    "every key is compared.\n");
    } catch (const ui::Exception& e) {
        std::fprintf(stderr, "error: %s\n", e.Message().c_str());
        return 1;
    }

    if (dialogs.Unexpected() > 0) {
        std::fprintf(stderr, "%d message boxes came during the runs; the figures include them\n", dialogs.Unexpected());
        return 1;
    }
    ui::Application().SetDialogs(nullptr);
    return 0;
}
