#pragma once
// What a file already holds under the keys its save writes: whether a save would change anything
// is told from this, without reading the file at every change in the window.
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "settings/IniWrite.h"

class IniFile;

class SavedValues {
public:
    // Takes what the file holds now in the sections those writes go to (one profile call per
    // section); a file that does not exist holds nothing.
    void Read(const IniFile& file, const std::vector<IniWrite>& writes);
    // The file holds these now: a save has just written them.
    void Wrote(const std::vector<IniWrite>& writes);
    // Whether the file lacks any of these writes: a key not there (or there without "=") or
    // holding another value. The values are compared as the profile reader delivers them.
    bool Lacks(const std::vector<IniWrite>& writes) const;

private:
    // By folded section and key, as the profile reader tells them apart; none for a line without "=".
    std::unordered_map<std::string, std::optional<std::string>> values_;
};
