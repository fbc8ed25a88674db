#pragma once
// One INI file, read and written a key at a time through the platform's profile functions.
// The file is never rewritten by us as a whole, so whatever the game or the player put there
// that this program does not know about stays in it. The path goes to the wide profile functions
// as it is; sections, keys and values are texts of the system code page, converted as the ANSI
// profile functions convert them, so the file's bytes are what they would write.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class IniFile {
public:
    explicit IniFile(std::wstring path);

    const std::wstring& FileName() const { return path_; }

    // The value as the profile reader delivers it (blanks around it removed), at most 2047
    // characters of it; defaultValue when the key is absent.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Decimal, or hexadecimal after "0x"; defaultValue when absent, empty or no whole number.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // Any number other than 0 is true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    // Each write is one profile call; a write the platform refuses throws ui::Exception
    // "Unable to write to <path>".
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The key names of a section in file order, as far as they fit the profile reader's
    // 16384-byte buffer; a name the buffer cut short is left out.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // Name and value of each distinct key of a section in file order, from one profile call (a few
    // more only for a section beyond 32 KiB, to grow the buffer): each value as ReadString delivers
    // it, keys whose value is empty left out. The first line of a key stands for all its spellings
    // (the case of A to Z does not count), a line without "=" too, which has no value. Unlike
    // ReadSection, not bounded by the buffer for key names.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& section) const;
    // Each distinct key of a section once, in file order, with its value as ReadString delivers it
    // (none for a line without "=", for which ReadString gives its default), from one profile call
    // as ReadSectionValues. Lines starting with ";" are left out: the section reader passes them
    // over, although the key reader finds them.
    std::vector<std::pair<std::string, std::optional<std::string>>> ReadSectionEntries(const std::string& section) const;
    // The same answer from ReadSection and one ReadString per key, so a profile call per key, and
    // only for the keys whose names fit ReadSection's buffer: the yardstick of ReadSectionValues in
    // tests and benchmarks.
    std::vector<std::pair<std::string, std::string>> ReadSectionValuesPerKey(const std::string& section) const;

    // The platform's profile reader keeps the file it read last in memory, whole and parsed; a large
    // file read once (the language file) is let go here, the next call reading it again.
    void ReleaseCache() const;

private:
    bool HasKey(const std::string& section, const std::string& key) const;
    // The lines of a section as the platform gives them whole, one "name=value" (or bare name) each.
    std::vector<std::string> SectionLines(const std::string& section) const;

    std::wstring path_;
};

// Keys read as IniFile reads them, each section read whole at its first key: one profile call for
// the section instead of one per key (about half a millisecond each under Wine). For a file
// nothing writes to while it is being read, as the settings file at start-up.
class IniFileSections {
public:
    explicit IniFileSections(IniFile file) : file_(std::move(file)) {}

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // Whether any key of the section has a value that is not empty.
    bool HasValues(const std::string& section) const;

private:
    using Values = std::map<std::string, std::optional<std::string>>;
    const Values& Section(const std::string& section) const;

    IniFile file_;
    // Per section as asked for, the values by folded key name; none for a line without "=", which
    // the reader finds but answers with the default.
    mutable std::map<std::string, Values> sections_;
};

// How ReadInteger reads a value: an optional sign and decimal digits within the signed 32-bit
// range, or "0x"/"0X" and hexadecimal digits within the unsigned 32-bit range, taken as the same
// 32 bits ("0xFFFFFFFF" is -1). Anything else, blanks included, is no number.
std::optional<int> ParseIniInteger(std::string_view text);

// A key name as the profile reader tells keys apart: the case of the letters A to Z does not count,
// that of other letters does ("\xC4" and "\xE4" are two keys to it). Equal for two names exactly
// when the reader takes them for one key.
std::string FoldedKey(std::string_view name);
