// How long the main window takes to come up, as the program builds it at start: the controls, the
// language file, the settings file and the key map, in a game folder of its own. Compared with a bare
// window, and with language files of the shipped size, 2,000 and 10,000 lines, so that the cost of
// each further line of the language file shows. Run by hand: startup_bench [runs [folder]], where the
// game folders are made inside folder (the temporary folder unless given; a folder on a RAM disk
// keeps the disk traffic of a shared machine out of the figures). KX_BENCH_RAW=1 also prints the
// time of every run. A second table compares the shipped key map with one of 600 functions.
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
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Exception.h"
#include "ui/Form.h"
#include "bench/Clock.h"

namespace {

double MillisecondsOf(const std::function<void()>& work)
{
    double start = Now();
    work();
    return (Now() - start) * 1000.0;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        std::exit(1);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
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

// The shipped file grown to lineCount lines: its own entries first, then made-up captions, hints,
// messages and spell names of both kinds (some repeating an earlier name in another case), and the
// sections "Codes" and "Import" last, as the shipped file has them.
std::string GrownLanguageFile(const std::string& shipped, int lineCount)
{
    std::vector<std::string> lines = SplitLanguageLines(shipped);
    auto sections = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l == "[Codes]"; });
    std::vector<std::string> flat(lines.begin(), sections);
    std::vector<std::string> tail(sections, lines.end());

    const int extra = lineCount - static_cast<int>(lines.size());
    for (int i = 0; i < extra; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 8) {
        case 0: flat.push_back("lMadeUp" + n + "=Made-up caption " + n + "|A made-up hint for label " + n); break;
        case 1: flat.push_back("cbMadeUp" + n + "=Made-up option " + n + "|What made-up option " + n + " does"); break;
        case 2: flat.push_back("SPWI9" + n + "=Made-up wizard spell " + n); break;
        case 3: flat.push_back("SPPR9" + n + "=Made-up priest spell " + n); break;
        case 4: flat.push_back("msgMadeUp" + n + "=A made-up message, number " + n + "."); break;
        case 5: flat.push_back("LMADEUP" + std::to_string(i - 5) + "=shadowed by the first spelling"); break;
        case 6: flat.push_back("aMadeUpAction" + n + "=Made-up action " + n); break;
        default: flat.push_back("MadeUpName" + n + " = value = with blanks and signs " + n); break;
        }
    }
    std::string text;
    for (const std::string& line : flat) text += line + "\r\n";
    for (const std::string& line : tail) text += line + "\r\n";
    return text;
}

struct Stats {
    double min = 0, median = 0;
};

Stats StatsOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    Stats s;
    if (times.empty()) return s;
    s.min = times.front();
    const std::size_t n = times.size();
    s.median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return s;
}

struct LanguageCase {
    std::string label;
    std::string bytes;
    int lines;
};

const char* const kSettings = "[Game Options]\r\nDifficulty Level=3\r\n";

// One start of the window in a fresh folder; milliseconds of the constructor alone.
double TimeWindow(const LanguageCase& language, const std::string& keymap, FileAge age, double* destroyMs = nullptr)
{
    GameFolder folder(age);
    folder.Write("Language.txt", language.bytes);
    folder.Write("keymap.ini", keymap);
    folder.Write("torvel.ini", kSettings);
    std::unique_ptr<TfConfig> window;
    double ms = MillisecondsOf([&] { window = std::make_unique<TfConfig>(folder.Path(), std::vector<std::string>{}); });
    double gone = MillisecondsOf([&] { window.reset(); });
    if (destroyMs) *destroyMs = gone;
    return ms;
}

double TimeBareForm()
{
    std::unique_ptr<ui::TForm> form;
    double ms = MillisecondsOf([&] { form = std::make_unique<ui::TForm>(nullptr, "fBare", "TfBare", 14); });
    form.reset();
    return ms;
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
    breakdown[kPieces[0]].push_back(MillisecondsOf([&] { lines = ReadLanguageFile(path); }));
    breakdown[kPieces[1]].push_back(MillisecondsOf([&] { count += LanguageIndex(lines).Lines().size(); }));
    breakdown[kPieces[2]].push_back(MillisecondsOf([&] { count += ReadCountryCodes(forCodes).size(); }));
    breakdown[kPieces[3]].push_back(MillisecondsOf([&] { count += ReadCountryCodes(forCodes).size(); }));
    breakdown[kPieces[4]].push_back(
        MillisecondsOf([&] { count += IniFile(forPerKey).ReadSectionValuesPerKey("Codes").size(); }));
    {
        GameFolder fresh(FileAge::JustWritten);
        const std::string codes = fresh.Write("Codes.txt", language.bytes);
        breakdown[kPieces[5]].push_back(MillisecondsOf([&] { count += ReadCountryCodes(codes).size(); }));
        const std::string perKey = fresh.Write("PerKey.txt", language.bytes);
        breakdown[kPieces[6]].push_back(
            MillisecondsOf([&] { count += IniFile(perKey).ReadSectionValuesPerKey("Codes").size(); }));
    }

    TfConfig window(folder.Path(), {});
    // Running the steps again on the built window does the same work once more: every caption is
    // set again, and the country list gets the countries a second time.
    breakdown[kPieces[7]].push_back(MillisecondsOf([&] { window.LoadLanguage(forLoad); }));
    breakdown[kPieces[8]].push_back(MillisecondsOf([&] { window.LoadSettings(); }));
    breakdown[kPieces[9]].push_back(MillisecondsOf([&] { count += glsFindDrivers(); }));
    if (count == 0) std::printf(" ");  // keeps the readings from being optimised away
}

// A key map of `functions` functions spread over the six groups that can be edited (a third of them
// bound, half of those in the Ctrl layer), with the language lines that name them put before the
// sections of the language file, as a game with many spells would ship them.
struct KeymapCase {
    std::string label;
    std::string keymap;
    std::string language;
};

KeymapCase GrownKeymap(const std::string& shippedKeymap, const std::string& shippedLanguage, int functions)
{
    const char* const groups[] = {"Page", "Actions", "Miscellaneous", "Quick Slots", "Wizard Spells", "Priest Spells"};
    const char* const prefixes[] = {"PG", "AC", "MI", "QS", "SPWI", "SPPR"};
    const char* const keys[] = {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P", "A", "S", "D", "F", "G", "H",
                                "J", "K", "L", "Z", "X", "C", "V", "B", "N", "M", "~", "Caps", "Enter"};
    std::string keymap = shippedKeymap.substr(0, shippedKeymap.find("[Keymap "));
    std::string names;
    int made = 0;
    for (int g = 0; g < 6; ++g) {
        keymap += std::string("[Keymap ") + groups[g] + "]\r\n";
        const int count = functions / 6 + (g < functions % 6 ? 1 : 0);
        for (int i = 0; i < count; ++i, ++made) {
            std::string value;
            if (made % 3 == 0) value = std::string((made / 3) % 2 ? "Ctrl-" : "") + keys[(made / 3) % std::size(keys)];
            const std::string id = std::string(prefixes[g]) + std::to_string(1000 + made);
            keymap += id + "=" + value + "\r\n";
            names += id + "=Made-up " + groups[g] + " function " + std::to_string(made) + "\r\n";
        }
    }
    keymap += shippedKeymap.substr(shippedKeymap.find("[Keymap Fixed]"));
    std::string language = shippedLanguage;
    language.insert(language.find("[Codes]"), names);
    return {std::to_string(functions) + " functions", keymap, language};
}

const char* const kKeymapPieces[] = {"LoadKeyMap", "sections, one call each", "sections, one call a key", "SaveKeyMap"};

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
        IniFile file(whole);
        for (const char* section : sections) count += file.ReadSectionValues(section).size();
    }));
    breakdown[kKeymapPieces[2]].push_back(MillisecondsOf([&] {
        IniFile file(perKey);
        for (const char* section : sections) count += file.ReadSectionValuesPerKey(section).size();
    }));
    TfConfig window(folder.Path(), {});
    window.keymapPath = folder.Write("Again.ini", keymapCase.keymap);
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
        double first = TimeWindow(cases[0], keymap, FileAge::Installed, &firstDestroy);
        double firstBare = TimeBareForm();

        std::vector<double> bare;
        std::vector<double> windows[2][3];
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

        std::printf("main window start-up (TfConfig constructor), milliseconds, %d runs per case, each in a\n"
                    "fresh game folder with the shipped keymap.ini and a torvel.ini that holds a difficulty\n\n",
                    runs);
        std::printf("%-34s %6s | %-17s | %-17s\n", "", "", "installed files", "files just written");
        std::printf("%-34s %6s | %8s %8s | %8s %8s\n", "case", "lines", "min", "median", "min", "median");
        Stats b = StatsOf(bare);
        std::printf("%-34s %6s | %8.1f %8.1f | %8s %8s\n", "bare window (TForm, no controls)", "-", b.min, b.median,
                    "", "");
        Stats stats[2][3];
        for (std::size_t i = 0; i < cases.size(); ++i) {
            for (int a = 0; a < 2; ++a) stats[a][i] = StatsOf(windows[a][i]);
            std::string label = "TfConfig, " + cases[i].label + (i == 0 ? " (reference)" : "");
            std::printf("%-34s %6d | %8.1f %8.1f | %8.1f %8.1f\n", label.c_str(), cases[i].lines, stats[0][i].min,
                        stats[0][i].median, stats[1][i].min, stats[1][i].median);
        }
        if (std::getenv("KX_BENCH_RAW"))
            for (int a = 0; a < 2; ++a)
                for (std::size_t i = 0; i < cases.size(); ++i) {
                    std::printf("raw %d %zu:", a, i);
                    for (double t : windows[a][i]) std::printf(" %.0f", t);
                    std::printf("\n");
                }
        std::printf("\ninstalled: every file last written a day ago; just written: the files written right before\n"
                    "the start. First window of the process: %.1f ms (bare form after it: %.1f ms); destroying\n"
                    "the window: %.1f ms median.\n",
                    first, firstBare, StatsOf(destroy).median);

        auto perThousand = [&](int a, std::size_t from, double Stats::*which) {
            const std::size_t to = from + 1;
            return (stats[a][to].*which - stats[a][from].*which) / ((cases[to].lines - cases[from].lines) / 1000.0);
        };
        std::printf("\ncost per 1,000 further lines, ms          installed        just written\n");
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
                    "detection it runs; rest: the constructor less those two steps (controls, lists, key map).\n");

        // The key map: the shipped one against one of 600 functions, the language file naming them all.
        const KeymapCase keymaps[] = {{"shipped key map", keymap, shipped}, GrownKeymap(keymap, shipped, 600)};
        std::vector<double> keymapWindows[2];
        Breakdown keymapPieces[2];
        for (int run = 0; run < runs; ++run)
            for (int k = 0; k < 2; ++k) {
                const LanguageCase language{keymaps[k].label, keymaps[k].language, 0};
                keymapWindows[k].push_back(TimeWindow(language, keymaps[k].keymap, FileAge::Installed));
                MeasureKeymapPieces(keymaps[k], keymapPieces[k]);
            }
        std::printf("\nkey map, installed files, ms            %19s  %19s\n", keymaps[0].label.c_str(),
                    keymaps[1].label.c_str());
        std::printf("%-40s %9s %9s  %9s %9s\n", "", "min", "median", "min", "median");
        auto row = [](const char* label, const std::vector<double>& a, const std::vector<double>& b) {
            const Stats x = StatsOf(a), y = StatsOf(b);
            std::printf("%-40s %9.1f %9.1f  %9.1f %9.1f\n", label, x.min, x.median, y.min, y.median);
        };
        row("TfConfig constructor", keymapWindows[0], keymapWindows[1]);
        for (const char* piece : kKeymapPieces) row(piece, keymapPieces[0][piece], keymapPieces[1][piece]);
        std::printf("\nLoadKeyMap: the key map step of the start; sections: the seven \"Keymap\" sections read as it\n"
                    "reads them, or with a profile call per key; SaveKeyMap: one write per function, as OK does.\n");
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
