#pragma once
// The files of a game folder for the benchmarks: the shipped ones read from the source tree, and
// grown ones, a language file of many lines and a key map of many functions.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "lang/LanguageIndex.h"

inline std::string ReadBytes(const std::string& path)
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

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The shipped file grown to lineCount lines: its own entries first, then made-up captions, hints,
// messages and spell names of both kinds (some repeating an earlier name in another case), and the
// sections "Codes" and "Import" last, as the shipped file has them.
inline std::string GrownLanguageFile(const std::string& shipped, int lineCount)
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

// A key map of `functions` functions spread over the six groups that can be edited (a third of them
// bound, half of those in the Ctrl layer), with the language lines that name them put before the
// sections of the language file, as a game with many spells would ship them.
struct KeymapCase {
    std::string label;
    std::string keymap;
    std::string language;
};

inline KeymapCase GrownKeymap(const std::string& shippedKeymap, const std::string& shippedLanguage, int functions)
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
