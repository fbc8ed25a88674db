#pragma once
// One INI file, read and written a key at a time through the platform's profile functions.
// The file is never rewritten by us as a whole, so whatever the game or the player put there
// that this program does not know about stays in it. The path goes to the wide profile functions
// as it is; sections, keys and values are texts of the system code page, converted as the ANSI
// profile functions convert them, so the file's bytes are what they would write.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/WholeFile.h"

class IniSave;

class IniFile {
public:
    explicit IniFile(std::wstring path);
    IniFile(const IniFile& other) : path_(other.path_), asLoaded_(other.asLoaded_) {}
    IniFile& operator=(const IniFile&) = delete;

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

    // Keeps what the file holds now: a save that finds the file gone since starts from it.
    void KeepAsLoaded();

private:
    friend class IniSave;
    // Where the profile calls go: the file, or the copy of an open save.
    const wchar_t* ProfilePath() const;

    bool HasKey(const std::string& section, const std::string& key) const;
    // The lines of a section as the platform gives them whole, one "name=value" (or bare name) each.
    std::vector<std::string> SectionLines(const std::string& section) const;

    std::wstring path_;
    std::optional<std::string> asLoaded_;
    IniSave* save_ = nullptr;
};

// One save of an INI file, which replaces the file as a whole or not at all. Opened, it starts a copy
// beside the file from the file's bytes on the disk now (not from what the profile functions keep of
// it), after removing a copy that a save cut short left. The file's writes then go to the copy, with
// the profile functions' own rules (what is not ours kept, missing keys added to their sections),
// and are recorded. Commit flushes the copy, reads it back from the disk (every key written has the
// value written, every other entry is as it was: the platform's writer may cut a file on a full disk
// and report success) and puts it in the file's place in one step. Any failure, or a save that ends
// without Commit, removes the copy and leaves the file byte for byte as it was; the failure is
// "Unable to write to <the file's path>".
class IniSave {
public:
    explicit IniSave(IniFile& file);
    ~IniSave();
    IniSave(const IniSave&) = delete;
    IniSave& operator=(const IniSave&) = delete;

    void Commit();

    // Tests only: runs after each profile write of a save, with the copy and the write's number from
    // 1; false refuses that write as the platform would. Empty: none.
    static std::function<bool(const std::wstring& copy, int write)> afterWrite;
    // Tests only: the room left on the disk of the copy once the writes are done. Empty: the system tells.
    static std::function<std::optional<DiskRoom>(const std::wstring& copy)> diskRoom;

private:
    friend class IniFile;
    using Entries = std::vector<std::pair<std::string, std::optional<std::string>>>;
    void Wrote(const std::string& section, const std::string& key, const std::string& value);
    // The sections of the copy, each with its entries, as the profile reader reads them from the disk.
    std::map<std::string, Entries> Sections() const;
    bool ReadsBackAsWritten() const;

    IniFile& file_;
    std::wstring copy_;
    bool existed_ = false;
    unsigned long attributes_ = 0;
    std::wstring name_;
    std::map<std::string, Entries> before_;
    // What the copy holds per section and key (folded), as read: none for a line without "=".
    std::map<std::pair<std::string, std::string>, std::optional<std::string>> held_;
    // The copy's time of last writing while the writes go on: long ago, so that the profile functions
    // read it only when a write has changed it.
    unsigned long long dated_ = 0;
    // The last value written per section and key (folded), with the names as written.
    std::map<std::pair<std::string, std::string>, std::string> writes_;
    int writeCount_ = 0;
    bool done_ = false;
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
