#include "settings/IniFile.h"

#include <windows.h>

#include <cstdint>
#include <unordered_set>

#include "ui/Exception.h"

namespace {

constexpr DWORD kValueBufferSize = 2048;
constexpr DWORD kSectionBufferSize = 16384;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Key names as the profile reader tells them apart: letter case does not count.
std::string UpperCased(const std::string& name)
{
    std::string upper = name;
    if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

}  // namespace

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

    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // One beyond the largest positive value, so that the most negative one still fits.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    char buffer[kValueBufferSize];
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                            kValueBufferSize, path_.c_str());
    return std::string(buffer, length);
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
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        throw ui::Exception("Unable to write to " + path_);
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
    std::vector<char> buffer(kSectionBufferSize);
    DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), kSectionBufferSize,
                                            path_.c_str());
    std::vector<std::string> names;
    for (DWORD start = 0; start < length;) {
        std::string name(buffer.data() + start);
        start += static_cast<DWORD>(name.size()) + 1;
        names.push_back(std::move(name));
    }
    // A full buffer is reported as its size less two, and its last name may be cut short:
    // a cut name is no key of the file and would be read as one.
    if (length == kSectionBufferSize - 2 && !names.empty() && !HasKey(section, names.back()))
        names.pop_back();
    return names;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(const std::string& section) const
{
    return ReadSectionValuesPerKey(section);
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValuesPerKey(const std::string& section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    std::unordered_set<std::string> seen;
    for (std::string& name : ReadSection(section)) {
        // The reader answers every spelling of a repeated key with its first value.
        if (!seen.insert(UpperCased(name)).second) continue;
        std::string value = ReadString(section, name, "");
        if (!value.empty()) values.emplace_back(std::move(name), std::move(value));
    }
    return values;
}
