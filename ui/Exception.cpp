#include "ui/Exception.h"

#include <iterator>

#include "ui/SystemText.h"
#include "ui/WideText.h"

namespace ui {

namespace {
// A pattern may come from the language file: "%" is looked for as a character of its own.
std::size_t PlaceholderAt(const std::string& pattern)
{
    for (std::size_t i = FindChar(pattern, '%'); i != std::string::npos; i = FindChar(pattern, '%', i + 1))
        if (i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) return i;
    return std::string::npos;
}

std::string Substitute(const std::string& pattern, const std::string& arg)
{
    const std::size_t at = PlaceholderAt(pattern);
    return at == std::string::npos ? pattern : pattern.substr(0, at) + arg + pattern.substr(at + 2);
}
}  // namespace

Exception::Exception(const std::string& pattern, const std::wstring& path)
    : message_(Substitute(pattern, ShownPath(path)))
{
    const std::size_t at = PlaceholderAt(pattern);
    wideMessage_ = at == std::string::npos ? Widen(pattern)
                                           : Widen(pattern.substr(0, at)) + path + Widen(pattern.substr(at + 2));
}

const ErrorTextRow kErrorTexts[3] = {
    {ErrorText::CannotOpenFile, "errOpenFile", "Cannot open file %s"},
    {ErrorText::UnableToWrite, "errWriteFile", "Unable to write to %s"},
    {ErrorText::NotAnInteger, "errNotInteger", "'%s' is not a valid integer value"},
};

namespace {
std::string errorTexts[std::size(kErrorTexts)];
}  // namespace

const std::string& TextOf(ErrorText text)
{
    const auto at = static_cast<std::size_t>(text);
    if (errorTexts[at].empty()) errorTexts[at] = kErrorTexts[at].english;
    return errorTexts[at];
}

void SetErrorText(ErrorText text, const std::string& pattern)
{
    errorTexts[static_cast<std::size_t>(text)] = pattern.empty() ? kErrorTexts[static_cast<std::size_t>(text)].english : pattern;
}

std::string Format(const std::string& pattern, const std::string& arg) { return Substitute(pattern, arg); }
std::string Format(const std::string& pattern, long long arg) { return Substitute(pattern, std::to_string(arg)); }

}  // namespace ui
