#include "settings/IniFile.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "ui/Convert.h"
#include "settings/WholeFile.h"
#include "ui/Exception.h"
#include "ui/WideText.h"

namespace {

constexpr DWORD kValueBufferSize = 2048;
constexpr DWORD kSectionBufferSize = 16384;
// Room for a section read whole: enough for the language file's country list at the first try.
constexpr std::size_t kSectionLinesFirstSize = 32768;
// Past this a section is taken as far as it came (the reader itself needs twice as much room).
constexpr std::size_t kSectionLinesLargestSize = std::size_t(1) << 24;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view WithoutBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A stored value as ReadString delivers it: a value in a matching pair of quotes (' or ") loses
// them, and the 2048-character buffer keeps at most 2047 characters. The reader takes the closing
// quote off as the last character it kept whenever the rest after the opening quote is at most 2048
// characters long; at exactly 2048 the kept part already ends before that quote, so the value loses
// its own last character instead.
std::string DeliveredValue(std::string_view value)
{
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (!quoted) return std::string(value.substr(0, kValueBufferSize - 1));
    std::string_view rest = value.substr(1);
    std::string delivered(rest.substr(0, kValueBufferSize - 1));
    if (rest.size() <= kValueBufferSize) delivered.pop_back();
    return delivered;
}

// The profile functions' answer of length characters, as the ANSI functions give it in a buffer
// of bufferSize bytes: at most bufferSize - 1 bytes of whole characters.
std::string Answer(const wchar_t* text, DWORD length, std::size_t bufferSize)
{
    const std::wstring_view wide(text, length);
    std::string answer = ui::Narrow(wide);
    if (answer.size() < bufferSize) return answer;
    // Only where a character takes two bytes: a value of more bytes than characters.
    answer.clear();
    for (std::size_t i = 0; i < wide.size();) {
        const std::size_t n = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() ? 2 : 1;
        const std::string character = ui::Narrow(wide.substr(i, n));
        if (answer.size() + character.size() >= bufferSize) break;
        answer += character;
        i += n;
    }
    return answer;
}

}  // namespace

std::string FoldedKey(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

std::optional<int> ParseIniInteger(std::string_view text)
{
    if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t value = 0;
        for (char c : text.substr(2)) {
            int digit = HexDigit(c);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFu) return std::nullopt;
        }
        return static_cast<int>(static_cast<std::uint32_t>(value));
    }

    return ui::TryStrToInt(text);
}

IniFile::IniFile(std::wstring path) : path_(std::move(path)) {}

const wchar_t* IniFile::ProfilePath() const { return save_ ? save_->copy_.c_str() : path_.c_str(); }

void IniFile::KeepAsLoaded()
{
    FileContent content = ReadWholeFile(path_);
    if (content.readable) asLoaded_ = std::move(content.bytes);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    wchar_t buffer[kValueBufferSize];
    DWORD length = GetPrivateProfileStringW(ui::Widen(section).c_str(), ui::Widen(key).c_str(),
                                            ui::Widen(defaultValue).c_str(), buffer, kValueBufferSize, ProfilePath());
    return Answer(buffer, length, kValueBufferSize);
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    return ParseIniInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!WritePrivateProfileStringW(ui::Widen(section).c_str(), ui::Widen(key).c_str(), ui::Widen(value).c_str(),
                                    ProfilePath()))
        throw ui::Exception(ui::TextOf(ui::ErrorText::UnableToWrite), path_);
    if (save_) save_->Wrote(section, key, value);
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool IniFile::HasKey(const std::string& section, const std::string& key) const
{
    // Only an absent key gives back whichever default it is asked with.
    return ReadString(section, key, "\x01") != "\x01" || ReadString(section, key, "\x02") != "\x02";
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const
{
    std::vector<wchar_t> buffer(kSectionBufferSize);
    DWORD length = GetPrivateProfileStringW(ui::Widen(section).c_str(), nullptr, L"", buffer.data(),
                                            kSectionBufferSize, ProfilePath());
    std::vector<std::string> names;
    for (DWORD start = 0; start < length;) {
        const std::wstring_view name(buffer.data() + start);
        start += static_cast<DWORD>(name.size()) + 1;
        names.push_back(ui::Narrow(name));
    }
    // A full buffer is reported as its size less two, and its last name may be cut short:
    // a cut name is no key of the file and would be read as one.
    if (length == kSectionBufferSize - 2 && !names.empty() && !HasKey(section, names.back()))
        names.pop_back();
    return names;
}

std::vector<std::string> IniFile::SectionLines(const std::string& section) const
{
    std::vector<wchar_t> buffer(kSectionLinesFirstSize);
    const std::wstring wideSection = ui::Widen(section);
    DWORD length = 0;
    bool cut = false;
    for (;;) {
        length = GetPrivateProfileSectionW(wideSection.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                           ProfilePath());
        // A section that does not fit comes back cut short, reported as the buffer's size less two.
        cut = length + 2 >= buffer.size();
        if (!cut || buffer.size() >= kSectionLinesLargestSize) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> lines;
    for (DWORD start = 0; start < length;) {
        const std::wstring_view line(buffer.data() + start);
        start += static_cast<DWORD>(line.size()) + 1;
        lines.push_back(ui::Narrow(line));
    }
    if (cut && !lines.empty()) lines.pop_back();
    return lines;
}

std::vector<std::pair<std::string, std::optional<std::string>>> IniFile::ReadSectionEntries(const std::string& section) const
{
    std::vector<std::pair<std::string, std::optional<std::string>>> entries;
    std::unordered_set<std::string> seen;
    for (const std::string& line : SectionLines(section)) {
        const std::size_t equals = line.find('=');
        // Wine's reader hands the lines over trimmed and without comments; others may not.
        std::string name(WithoutBlanks(std::string_view(line).substr(0, equals)));
        if (!name.empty() && name[0] == ';') continue;
        // The first line of a name answers for every spelling of it, a line without "=" too: asked
        // for the name, the reader finds that line and delivers the default.
        if (!seen.insert(FoldedKey(name)).second) continue;
        std::optional<std::string> value;
        if (equals != std::string::npos) value = DeliveredValue(WithoutBlanks(std::string_view(line).substr(equals + 1)));
        entries.emplace_back(std::move(name), std::move(value));
    }
    return entries;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(const std::string& section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    for (auto& [name, value] : ReadSectionEntries(section))
        if (value && !value->empty()) values.emplace_back(std::move(name), std::move(*value));
    return values;
}

void IniFile::ReleaseCache() const { WritePrivateProfileStringW(nullptr, nullptr, nullptr, ProfilePath()); }

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValuesPerKey(const std::string& section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    std::unordered_set<std::string> seen;
    for (std::string& name : ReadSection(section)) {
        // The reader answers every spelling of a repeated key with its first value.
        if (!seen.insert(FoldedKey(name)).second) continue;
        std::string value = ReadString(section, name, "");
        if (!value.empty()) values.emplace_back(std::move(name), std::move(value));
    }
    return values;
}

std::string IniFileSections::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const
{
    // The section reader leaves out what looks like a comment; such a name is asked for alone.
    if (key.empty() || key[0] == ';' || WithoutBlanks(key).size() != key.size())
        return file_.ReadString(section, key, defaultValue);
    const Values& values = Section(section);
    auto found = values.find(FoldedKey(key));
    return found == values.end() || !found->second ? defaultValue : *found->second;
}

bool IniFileSections::HasValues(const std::string& section) const
{
    const Values& values = Section(section);
    return std::any_of(values.begin(), values.end(), [](const auto& entry) { return entry.second && !entry.second->empty(); });
}

const IniFileSections::Values& IniFileSections::Section(const std::string& section) const
{
    auto [place, added] = sections_.try_emplace(section);
    if (added)
        for (auto& [name, value] : file_.ReadSectionEntries(section)) place->second.emplace(FoldedKey(name), std::move(value));
    return place->second;
}

int IniFileSections::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    return ParseIniInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool IniFileSections::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::function<bool(const std::wstring& copy, int write)> IniSave::afterWrite;
std::function<std::optional<DiskRoom>(const std::wstring& copy)> IniSave::diskRoom;

namespace {
// Lets the profile functions' memory of a file go, writing out what they had not written yet: the
// next call reads the file from the disk again. The file named is looked at first, and read once more
// (only to be let go) unless it is missing or what they keep of it still holds (see kLongAgo).
void Release(const std::wstring& path) { WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()); }

// The profile functions keep the file they read, and read it again at the next call when its time of
// last writing is another than it was, and at every call while that time lies less than about two
// seconds back. A copy whose time lies further back is read once for all the calls made on it.
constexpr unsigned long long kLongAgo = 3 * 10000000ull;  // 3 s, in the 100 ns of a FILETIME

unsigned long long TimeNow()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

bool SetWritten(HANDLE file, unsigned long long time)
{
    const FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    return SetFileTime(file, nullptr, nullptr, &written);
}

bool SetWritten(const std::wstring& path, unsigned long long time)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool set = SetWritten(file, time);
    CloseHandle(file);
    return set;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes, unsigned long long written)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                       done == bytes.size() && SetWritten(file, written);
    CloseHandle(file);
    return whole;
}

// The copy as the disk has it once flushed: its size and its time of last writing, after which it is
// dated back by kLongAgo.
struct Flushed {
    unsigned long long size = 0;
    unsigned long long written = 0;
};
std::optional<Flushed> FlushAndDateBack(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size{};
    FILETIME time{};
    const bool flushed = FlushFileBuffers(file) && GetFileSizeEx(file, &size) && GetFileTime(file, nullptr, nullptr, &time);
    const unsigned long long written = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    const bool dated = flushed && SetWritten(file, written - kLongAgo);
    CloseHandle(file);
    if (!dated) return std::nullopt;
    return Flushed{static_cast<unsigned long long>(size.QuadPart), written};
}
}  // namespace

IniSave::IniSave(IniFile& file) : file_(file), copy_(ReplacementOf(file.path_))
{
    // The file as the disk has it now: another program may have replaced it since it was read, and
    // what the profile functions keep of a file they read is not looked at again while its time of
    // last writing stays the same.
    FileContent now = ReadWholeFile(file_.path_);
    const bool folderInTheWay = !now.exists && !now.name.empty();
    if (folderInTheWay || (now.exists && !now.readable) || !RemoveReplacement(file_.path_))
        throw ui::Exception(ui::TextOf(ui::ErrorText::UnableToWrite), file_.path_);
    // The copy's name is the same at every save: what the profile functions may keep of an earlier one
    // must not stand for this one. With no copy there, they let it go without reading anything.
    Release(copy_);
    existed_ = now.exists;
    attributes_ = now.attributes;
    name_ = now.name;
    // A file gone since it was read is written back whole from what it held then. The copy takes the
    // time of the file, or one long enough ago, so that it is read once for the reads below and the
    // first write.
    const std::optional<std::string> start = now.exists ? std::optional<std::string>(std::move(now.bytes)) : file_.asLoaded_;
    const unsigned long long longAgo = TimeNow() - kLongAgo;
    dated_ = now.exists ? std::min(now.lastWritten, longAgo) : longAgo;
    if (start && !WriteFileBytes(copy_, *start, dated_)) {
        RemoveReplacement(file_.path_);
        throw ui::Exception(ui::TextOf(ui::ErrorText::UnableToWrite), file_.path_);
    }
    file_.save_ = this;
    if (!start) return;
    before_ = Sections();
    for (const auto& [section, entries] : before_)
        for (const auto& [key, value] : entries) held_.emplace(std::pair{section, FoldedKey(key)}, value);
}

IniSave::~IniSave()
{
    file_.save_ = nullptr;
    if (!done_) {
        Release(copy_);
        RemoveReplacement(file_.path_);
    }
}

void IniSave::Wrote(const std::string& section, const std::string& key, const std::string& value)
{
    const std::pair<std::string, std::string> place{FoldedKey(section), FoldedKey(key)};
    writes_[place] = value;
    ++writeCount_;
    // A write that changed the copy has made it new, and the profile functions would read it anew at
    // every call for the next two seconds: dated back again, it is read once, at the next call.
    std::optional<std::string> read = DeliveredValue(WithoutBlanks(value));
    auto held = held_.find(place);
    if (held == held_.end() || held->second != read) {
        held_[place] = std::move(read);
        SetWritten(copy_, dated_);
    }
    if (afterWrite && !afterWrite(copy_, writeCount_))
        throw ui::Exception(ui::TextOf(ui::ErrorText::UnableToWrite), file_.path_);
}

std::map<std::string, IniSave::Entries> IniSave::Sections() const
{
    std::map<std::string, Entries> sections;
    std::vector<wchar_t> names(4096);
    for (;;) {
        const DWORD length = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), copy_.c_str());
        if (length + 2 < names.size()) {
            names.resize(length);
            break;
        }
        names.resize(names.size() * 2);
    }
    for (std::size_t start = 0; start < names.size();) {
        const std::wstring_view name(names.data() + start);
        start += name.size() + 1;
        if (name.empty()) break;
        const std::string section = ui::Narrow(name);
        sections.emplace(FoldedKey(section), file_.ReadSectionEntries(section));
    }
    return sections;
}

bool IniSave::ReadsBackAsWritten() const
{
    // Per section and key (folded): the value as read, none for a line without "=".
    using Value = std::optional<std::string>;
    std::map<std::pair<std::string, std::string>, Value> values;
    const std::map<std::string, Entries> after = Sections();
    for (const auto& [section, entries] : after)
        for (const auto& [key, value] : entries) values.emplace(std::pair{section, FoldedKey(key)}, value);
    auto readsAs = [&](const std::string& section, const std::string& key, const Value& expected) {
        auto at = values.find({section, FoldedKey(key)});
        return at != values.end() && at->second == expected;
    };
    // Every entry the file had, as it was, unless this save wrote it.
    for (const auto& [section, entries] : before_) {
        if (!after.count(section)) return false;
        for (const auto& [key, value] : entries)
            if (!writes_.count({section, FoldedKey(key)}) && !readsAs(section, key, value)) return false;
    }
    // Every key written, with the value the reader gives for what was written.
    for (const auto& [where, value] : writes_)
        if (!readsAs(where.first, where.second, DeliveredValue(WithoutBlanks(value)))) return false;
    return true;
}

void IniSave::Commit()
{
    file_.save_ = nullptr;
    // Nothing written: the file stays as it is, or missing.
    if (writeCount_ == 0) return;
    // What the profile functions had not written yet goes out, with no file named, which would make
    // them read the copy first (the copy is the file they were used on last).
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr);
    // Out of room, the platform's writer cuts the copy and reports success; cut among the comments and
    // blank lines at its end, the copy still reads back whole.
    const std::optional<Flushed> flushed = FlushAndDateBack(copy_);
    const std::optional<DiskRoom> room = diskRoom ? diskRoom(copy_) : DiskRoomOf(copy_);
    bool good = flushed && !(room && EndsWhereTheRoomEnded(flushed->size, *room));
    // Read back from the disk, once: dated back, the copy is read anew at the first read (what the
    // profile functions kept of it bears another time) and kept for the others. It takes the file's
    // place with the time of this save.
    if (good) {
        file_.save_ = this;
        good = ReadsBackAsWritten();
        file_.save_ = nullptr;
        Release(copy_);
        good = good && SetWritten(copy_, TimeNow());
    }
    FileContent was;
    was.exists = existed_;
    was.attributes = attributes_;
    was.name = name_;
    if (!good || !PutReplacementInPlace(file_.path_, was))
        throw ui::Exception(ui::TextOf(ui::ErrorText::UnableToWrite), file_.path_);
    done_ = true;
    // What the profile functions keep of the file it replaced is not taken for it: the file bears the
    // time of this save.
}
