#pragma once
#include <string>

// One key a save writes, and the value it writes there.
struct IniWrite {
    std::string section;
    std::string key;
    std::string value;
    friend bool operator==(const IniWrite&, const IniWrite&) = default;
};
