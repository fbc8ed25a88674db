#include "ui/Exception.h"

#include "ui/SystemText.h"

namespace ui {

namespace {
std::string Substitute(const std::string& pattern, const std::string& arg)
{
    // A pattern may come from the language file: "%" is looked for as a character of its own.
    for (std::size_t i = FindChar(pattern, '%'); i != std::string::npos; i = FindChar(pattern, '%', i + 1)) {
        if (i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd'))
            return pattern.substr(0, i) + arg + pattern.substr(i + 2);
    }
    return pattern;
}
}  // namespace

std::string Format(const std::string& pattern, const std::string& arg) { return Substitute(pattern, arg); }
std::string Format(const std::string& pattern, long long arg) { return Substitute(pattern, std::to_string(arg)); }

}  // namespace ui
