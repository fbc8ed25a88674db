#include "settings/SavedValues.h"

#include <set>

#include "settings/IniFile.h"

namespace {

std::string Place(const std::string& section, const std::string& key) { return FoldedKey(section) + '\n' + FoldedKey(key); }

// A value as the reader gives it back once written: without the blanks around it.
std::string AsRead(const std::string& value)
{
    const std::size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void SavedValues::Read(const IniFile& file, const std::vector<IniWrite>& writes)
{
    values_.clear();
    std::set<std::string> sections;
    for (const IniWrite& write : writes) {
        if (!sections.insert(FoldedKey(write.section)).second) continue;
        for (auto& [key, value] : file.ReadSectionEntries(write.section)) values_.emplace(Place(write.section, key), value);
    }
}

void SavedValues::Wrote(const std::vector<IniWrite>& writes)
{
    for (const IniWrite& write : writes) values_[Place(write.section, write.key)] = AsRead(write.value);
}

bool SavedValues::Lacks(const std::vector<IniWrite>& writes) const
{
    for (const IniWrite& write : writes) {
        auto held = values_.find(Place(write.section, write.key));
        if (held == values_.end() || !held->second || *held->second != AsRead(write.value)) return true;
    }
    return false;
}
