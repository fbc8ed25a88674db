#include "ui/Exception.h"

namespace ui {

namespace {
std::string Substitute(const std::string& pattern, const std::string& arg)
{
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == '%' && (pattern[i + 1] == 's' || pattern[i + 1] == 'd'))
            return pattern.substr(0, i) + arg + pattern.substr(i + 2);
    }
    return pattern;
}
}  // namespace

std::string Format(const std::string& pattern, const std::string& arg) { return Substitute(pattern, arg); }
std::string Format(const std::string& pattern, long long arg) { return Substitute(pattern, std::to_string(arg)); }

}  // namespace ui
