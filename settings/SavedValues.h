#pragma once
// What a save writes, as a list of keys and values.
#include <string>

// One key a save writes, and the value it writes there.
struct IniWrite {
    std::string section;
    std::string key;
    std::string value;
};
