#include "ui/WideText.h"

#include "ui/Win32.h"

namespace ui {

std::wstring Widen(std::string_view text)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

namespace {
std::string ToAnsi(std::wstring_view text, DWORD flags, BOOL* defaulted)
{
    if (text.empty()) return {};
    // UTF-8 spells everything and takes neither the flag nor the question.
    if (GetACP() == CP_UTF8) flags = 0, defaulted = nullptr;
    const int size = static_cast<int>(text.size());
    std::string ansi(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), size, ansi.data(), static_cast<int>(ansi.size()), nullptr, defaulted);
    return ansi;
}
}  // namespace

std::string Narrow(std::wstring_view text) { return ToAnsi(text, 0, nullptr); }

std::string ShownPath(std::wstring_view path) { return ToAnsi(path, WC_NO_BEST_FIT_CHARS, nullptr); }

bool AnsiPathOf(std::wstring_view path, std::string& ansi)
{
    BOOL defaulted = FALSE;
    ansi = ToAnsi(path, WC_NO_BEST_FIT_CHARS, &defaulted);
    return !defaulted;
}

}  // namespace ui
