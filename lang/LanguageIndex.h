#pragma once
// The language file read flat: every line is an entry, its name the text before the first "=",
// its value the rest. Names are looked up ignoring letter case the way the user's locale compares
// texts of the system's code page; the first line of a name wins.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/SystemText.h"

// Lines end at CR, LF or CR LF; a NUL byte ends the text; nothing is trimmed, a byte-order mark
// stays in the first line, and a line end at the very end adds no empty line.
std::vector<std::string> SplitLanguageLines(std::string_view bytes);
// The whole file, split as above; throws ui::Exception "Cannot open file <path>" when it cannot be read.
std::vector<std::string> ReadLanguageFile(const std::wstring& path);

// Text before the first "=", empty when the line has none.
std::string EntryName(std::string_view line);
// Text after the first "=", empty when the line has none.
std::string EntryValue(std::string_view line);
// "P " for a line with "SPPR" anywhere in it, else "W " for one with "SPWI", else "".
std::string_view SpellPrefix(std::string_view line);

// Case-insensitive comparison and its key, in the system's code page (ui/SystemText.h).
using ui::FoldedText;
using ui::SameTextIgnoringCase;

// The lookups of the language file, answered from hash tables built once over the lines: the names'
// with the index, the shown texts' when they are first asked for (the start of the program asks only
// for names). An empty text matches nothing, neither as a name looked up nor as the name of a line.
class LanguageIndex {
public:
    explicit LanguageIndex(std::vector<std::string> lines);

    const std::vector<std::string>& Lines() const { return lines_; }

    // Index of the first line whose name equals name ignoring case, -1 when none.
    int FirstLineNamed(std::string_view name) const;
    // The value of that line, "" when there is none.
    std::string Text(std::string_view name) const;

    // Per line: its spell prefix followed by the text of its name, so a repeated name shows the
    // value of its first line.
    const std::vector<std::string>& DisplayList() const;
    // Index of the first display entry equal to shown ignoring case, -1 when none.
    int FirstDisplayIndex(std::string_view shown) const;
    // The name of the line a shown text stands for; nullopt when no line shows it, or when the
    // first line that does has no name (it can stand for no function).
    std::optional<std::string> KeyOf(std::string_view shown) const;

private:
    void BuildDisplay() const;

    std::vector<std::string> lines_;
    std::unordered_map<std::string, int> firstByName_;
    // Per line, the first line of its name; -1 for a line without one.
    std::vector<int> firstOfName_;
    mutable bool displayBuilt_ = false;
    mutable std::vector<std::string> displayList_;
    mutable std::unordered_map<std::string, int> firstByDisplay_;
};

// The same answers by walking the lines and comparing each with SameTextIgnoringCase, stopping at
// the first match: the behaviour the index must keep, and its yardstick in tests and benchmarks.
namespace scan {
int FirstLineNamed(const std::vector<std::string>& lines, std::string_view name);
std::string Text(const std::vector<std::string>& lines, std::string_view name);
std::vector<std::string> DisplayList(const std::vector<std::string>& lines);
int FirstDisplayIndex(const std::vector<std::string>& displayList, std::string_view shown);
}  // namespace scan

// The "Codes" section of the language file as the profile reader delivers it, one "name=value"
// string per country in file order.
std::vector<std::string> ReadCountryCodes(const std::wstring& path);
// The code of a country name (ignoring case) in such a list, "" when the name is not in it.
std::string CountryCodeOf(const std::vector<std::string>& countryCodes, std::string_view name);
// Index of the first entry whose code is exactly code, -1 when none.
int CountryIndexOfCode(const std::vector<std::string>& countryCodes, std::string_view code);
