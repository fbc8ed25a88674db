#include "lang/LanguageIndex.h"

#include <windows.h>

#include <algorithm>

#include "settings/IniFile.h"
#include "ui/Exception.h"

namespace {

std::string_view NameOf(std::string_view line)
{
    std::size_t equals = ui::FindChar(line, '=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

std::string_view ValueOf(std::string_view line)
{
    std::size_t equals = ui::FindChar(line, '=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

std::vector<std::string> SplitLanguageLines(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::size_t position = 0;
    while (position < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", position);
        if (end == std::string_view::npos) end = bytes.size();
        lines.emplace_back(bytes.substr(position, end - position));
        position = end;
        if (position < bytes.size() && bytes[position] == '\r') ++position;
        if (position < bytes.size() && bytes[position] == '\n') ++position;
    }
    return lines;
}

std::vector<std::string> ReadLanguageFile(const std::wstring& path)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (file.Get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.Get(), &size))
        throw ui::Exception(ui::TextOf(ui::ErrorText::CannotOpenFile), path);

    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr))
            throw ui::Exception(ui::TextOf(ui::ErrorText::CannotOpenFile), path);
        if (read == 0) break;  // the file shrank while we read it
        done += read;
    }
    bytes.resize(done);
    return SplitLanguageLines(bytes);
}

std::string EntryName(std::string_view line) { return std::string(NameOf(line)); }

std::string EntryValue(std::string_view line) { return std::string(ValueOf(line)); }

std::string_view SpellPrefix(std::string_view line)
{
    if (ui::FindText(line, "SPPR") != std::string_view::npos) return "P ";
    if (ui::FindText(line, "SPWI") != std::string_view::npos) return "W ";
    return {};
}

LanguageIndex::LanguageIndex(std::vector<std::string> lines) : lines_(std::move(lines)), firstOfName_(lines_.size(), -1)
{
    const int count = static_cast<int>(lines_.size());
    firstByName_.reserve(lines_.size());
    for (int i = 0; i < count; ++i) {
        std::string_view name = NameOf(lines_[i]);
        if (name.empty()) continue;
        firstOfName_[i] = firstByName_.try_emplace(FoldedText(name), i).first->second;
    }
}

void LanguageIndex::BuildDisplay() const
{
    if (displayBuilt_) return;
    displayBuilt_ = true;
    const int count = static_cast<int>(lines_.size());
    displayList_.reserve(lines_.size());
    firstByDisplay_.reserve(lines_.size());
    for (int i = 0; i < count; ++i) {
        std::string shown(SpellPrefix(lines_[i]));
        if (firstOfName_[i] >= 0) shown += ValueOf(lines_[firstOfName_[i]]);
        if (!shown.empty()) firstByDisplay_.try_emplace(FoldedText(shown), i);
        displayList_.push_back(std::move(shown));
    }
}

const std::vector<std::string>& LanguageIndex::DisplayList() const
{
    BuildDisplay();
    return displayList_;
}

int LanguageIndex::FirstLineNamed(std::string_view name) const
{
    if (name.empty()) return -1;
    auto found = firstByName_.find(FoldedText(name));
    return found == firstByName_.end() ? -1 : found->second;
}

std::string LanguageIndex::Text(std::string_view name) const
{
    int line = FirstLineNamed(name);
    return line < 0 ? std::string() : EntryValue(lines_[line]);
}

int LanguageIndex::FirstDisplayIndex(std::string_view shown) const
{
    if (shown.empty()) return -1;
    BuildDisplay();
    auto found = firstByDisplay_.find(FoldedText(shown));
    return found == firstByDisplay_.end() ? -1 : found->second;
}

std::optional<std::string> LanguageIndex::KeyOf(std::string_view shown) const
{
    int line = FirstDisplayIndex(shown);
    if (line < 0) return std::nullopt;
    // A line without a name shows only its spell prefix; it stands for no function.
    std::string name = EntryName(lines_[line]);
    if (name.empty()) return std::nullopt;
    return name;
}

namespace scan {

int FirstLineNamed(const std::vector<std::string>& lines, std::string_view name)
{
    if (name.empty()) return -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view lineName = NameOf(lines[i]);
        if (!lineName.empty() && SameTextIgnoringCase(lineName, name)) return static_cast<int>(i);
    }
    return -1;
}

std::string Text(const std::vector<std::string>& lines, std::string_view name)
{
    int line = FirstLineNamed(lines, name);
    return line < 0 ? std::string() : EntryValue(lines[line]);
}

std::vector<std::string> DisplayList(const std::vector<std::string>& lines)
{
    std::vector<std::string> shown;
    shown.reserve(lines.size());
    for (const std::string& line : lines) shown.push_back(std::string(SpellPrefix(line)) + Text(lines, NameOf(line)));
    return shown;
}

int FirstDisplayIndex(const std::vector<std::string>& displayList, std::string_view shown)
{
    if (shown.empty()) return -1;
    for (std::size_t i = 0; i < displayList.size(); ++i)
        if (!displayList[i].empty() && SameTextIgnoringCase(displayList[i], shown)) return static_cast<int>(i);
    return -1;
}

}  // namespace scan

std::vector<std::string> ReadCountryCodes(const std::wstring& path)
{
    std::vector<std::string> codes;
    const IniFile file(path);
    for (const auto& [name, code] : file.ReadSectionValues("Codes")) codes.push_back(name + "=" + code);
    // Nothing else of the language file is read through the profile reader.
    file.ReleaseCache();
    return codes;
}

std::string CountryCodeOf(const std::vector<std::string>& countryCodes, std::string_view name)
{
    if (name.empty()) return {};
    for (const std::string& entry : countryCodes) {
        std::string_view entryName = NameOf(entry);
        if (!entryName.empty() && SameTextIgnoringCase(entryName, name)) return EntryValue(entry);
    }
    return {};
}

int CountryIndexOfCode(const std::vector<std::string>& countryCodes, std::string_view code)
{
    for (std::size_t i = 0; i < countryCodes.size(); ++i)
        if (ValueOf(countryCodes[i]) == code) return static_cast<int>(i);
    return -1;
}
