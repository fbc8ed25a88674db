// Apply, timed: both files saved from the window, with the shipped files and with the key map of
// 600 functions the start-up benchmark uses. Run by hand, never by ctest:
//   save_bench [applies]
// prints the least and the median milliseconds of one Apply, and of the two saves alone.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Main.h"
#include "bench/Clock.h"
#include "bench/GameFiles.h"
#include "bench/Stats.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/WideText.h"

namespace {

struct Case {
    std::string label, language, keymap;
};

struct Times {
    std::vector<double> apply, settings, keymap;
};

// A folder of its own per case, with a stored difficulty and a section another program owns.
Times Measure(const Case& c, int applies)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    const std::string folder = std::string(temp) + "kxsave-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++counter) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteBytes(folder + "Language.txt", c.language);
    WriteBytes(folder + "keymap.ini", c.keymap);
    WriteBytes(folder + "torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n[Mod Loader]\r\nEnabled Mods=rain,fog\r\n");
    Times times;
    {
        TfConfig window(ui::Widen(folder), {});
        for (int i = 0; i < applies; ++i) {
            double start = Now();
            window.bApplyClick(nullptr);
            times.apply.push_back((Now() - start) * 1000.0);
            start = Now();
            window.SaveSettings();
            times.settings.push_back((Now() - start) * 1000.0);
            start = Now();
            window.SaveKeyMap();
            times.keymap.push_back((Now() - start) * 1000.0);
        }
    }
    for (const char* name : {"Language.txt", "keymap.ini", "torvel.ini"}) DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
    return times;
}

}  // namespace

int main(int argc, char** argv)
{
    const int applies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    ui::Application().Initialize();
    ui::ScriptedDialogs dialogs;
    ui::Application().SetDialogs(&dialogs);

    const std::string language = ReadBytes(KX_DATA_DIR "/Language.txt");
    const std::string keymap = ReadBytes(KX_DATA_DIR "/keymap.ini");
    const KeymapCase grown = GrownKeymap(keymap, language, 600);
    const Case cases[] = {{"shipped files", language, keymap}, {"600 functions", grown.language, grown.keymap}};

    std::printf("%-14s %22s %22s %22s\n", "ms per Apply", "Apply (min / median)", "torvel.ini", "keymap.ini");
    for (const Case& c : cases) {
        const Times t = Measure(c, applies);
        const Stats apply = StatsOf(t.apply), settings = StatsOf(t.settings), keys = StatsOf(t.keymap);
        std::printf("%-14s %10.1f / %9.1f %10.1f / %9.1f %10.1f / %9.1f\n", c.label.c_str(), apply.min, apply.median,
                    settings.min, settings.median, keys.min, keys.median);
    }
    if (dialogs.Unexpected()) {
        std::fprintf(stderr, "%d unexpected boxes, the first: %s\n", dialogs.Unexpected(), dialogs.Boxes()[0].text.c_str());
        return 1;
    }
    return 0;
}
