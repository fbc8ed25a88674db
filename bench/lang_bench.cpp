// How long the language file takes at start-up: reading it, indexing it, and one lookup per line
// (captions by name, then the shown name of every line back to its key), with the hash index and
// with the plain first-match scan it replaces. Run by hand: lang_bench [lines...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "lang/LanguageIndex.h"
#include "ui/WideText.h"
#include "bench/Clock.h"

namespace {

// Milliseconds of the best of a few runs: the machine is shared.
double BestOf(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        work();
        best = std::min(best, (Now() - start) * 1000.0);
    }
    return best;
}

// A file shaped like the shipped one: captions and hints of controls, messages, spell names of both
// kinds, some names repeated in another case, and the Codes and Import sections at the end.
std::string GeneratedFile(int lineCount)
{
    std::string text;
    int lines = 0;
    auto add = [&](const std::string& line) {
        text += line + "\r\n";
        ++lines;
    };
    const int countries = 40;
    const int imports = lineCount / 10;
    const int flat = lineCount - countries - imports - 2;
    for (int i = 0; i < flat; ++i) {
        std::string n = std::to_string(i);
        switch (i % 8) {
        case 0: add("lLabel" + n + "=Caption " + n + "|A longer hint for label " + n); break;
        case 1: add("cbOption" + n + "=Option " + n + "|What option " + n + " does"); break;
        case 2: add("SPPR" + n + "=Priest spell " + n); break;
        case 3: add("SPWI" + n + "=Wizard spell " + n); break;
        case 4: add("msgMessage" + n + "=Message text number " + n); break;
        case 5: add("LLABEL" + std::to_string(i - 5) + "=shadowed by the first spelling"); break;
        case 6: add("aAction" + n + "=Action " + n); break;
        default: add(""); break;
        }
    }
    add("[Codes]");
    for (int i = 0; i < countries; ++i) add("Country " + std::to_string(i) + "=C" + std::to_string(i));
    add("[Import]");
    for (int i = 0; lines < lineCount; ++i) add("SPPR" + std::to_string(i * 8 + 2) + "=PriestSpell" + std::to_string(i));
    return text;
}

struct Row {
    int lines;
    double read, indexBuild, captions, keys;           // the index
    double scanDisplay, scanCaptions, scanKeys;        // the plain scan
    bool sampled;
    double countryCodes;
};

Row Measure(int lineCount, const std::string& folder)
{
    Row row{};
    row.lines = lineCount;
    const std::string path = folder + "\\Language-" + std::to_string(lineCount) + ".txt";
    std::ofstream(path, std::ios::binary) << GeneratedFile(lineCount);

    std::vector<std::string> lines;
    row.read = BestOf(5, [&] { lines = ReadLanguageFile(ui::Widen(path)); });
    row.indexBuild = BestOf(5, [&] { LanguageIndex index(lines); });

    LanguageIndex index(lines);
    std::vector<std::string> names;
    for (const std::string& line : lines) names.push_back(EntryName(line));
    std::size_t found = 0;
    row.captions = BestOf(5, [&] {
        for (const std::string& name : names) found += index.Text(name).size();
    });
    row.keys = BestOf(5, [&] {
        for (const std::string& shown : index.DisplayList()) found += index.KeyOf(shown).has_value();
    });

    // The scan grows with the square of the file; past 2000 lines a sample of lookups is timed
    // and scaled up to one per line.
    const std::size_t step = lineCount > 2000 ? lineCount / 500 : 1;
    row.sampled = step > 1;
    const double scale = static_cast<double>(step);
    row.scanCaptions = BestOf(1, [&] {
        for (std::size_t i = 0; i < lines.size(); i += step) found += scan::Text(lines, names[i]).size();
    }) * scale;
    const std::vector<std::string>& shown = index.DisplayList();
    row.scanKeys = BestOf(1, [&] {
        for (std::size_t i = 0; i < shown.size(); i += step) found += scan::FirstDisplayIndex(shown, shown[i]) >= 0;
    }) * scale;
    // Building the display list is one caption lookup per line as well.
    row.scanDisplay = row.sampled ? row.scanCaptions : BestOf(1, [&] { found += scan::DisplayList(lines).size(); });

    row.countryCodes = BestOf(1, [&] { found += ReadCountryCodes(ui::Widen(path)).size(); });
    std::printf("%s", found == 0 ? " " : "");  // keeps the lookups from being optimised away
    DeleteFileA(path.c_str());
    return row;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {2000, 10000};

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "kxlangbench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    std::printf("language file start-up, milliseconds (index: best of 5; scan: one run)\n\n");
    std::printf("%7s | %6s %7s %9s %7s %8s | %10s %9s %8s %8s | %6s\n", "lines", "read", "index", "captions",
                "keys", "total", "scan list", "captions", "keys", "total", "Codes");
    for (int size : sizes) {
        Row r = Measure(size, folder);
        double indexTotal = r.read + r.indexBuild + r.captions + r.keys;
        double scanTotal = r.read + r.scanDisplay + r.scanCaptions + r.scanKeys;
        std::printf("%7d | %6.2f %7.2f %9.2f %7.2f %8.2f | %10.1f %9.1f %8.1f %8.1f%s | %6.1f\n", r.lines, r.read,
                    r.indexBuild, r.captions, r.keys, indexTotal, r.scanDisplay, r.scanCaptions, r.scanKeys,
                    scanTotal, r.sampled ? "*" : " ", r.countryCodes);
    }
    std::printf("\nindex: \"index\" builds the hash tables and the display list; captions = one Text per line;\n"
                "keys = one KeyOf per display entry. scan: the display list, one Text and one display lookup\n"
                "per line by first-match comparison. * = scan timed on a sample of 500 lookups and scaled.\n"
                "Codes = the Codes section (40 countries) through the profile reader.\n");
    RemoveDirectoryA(folder.c_str());
    return 0;
}
