#pragma once
// Texts of the system's ANSI code page and UTF-16, the two forms Windows knows. A path is UTF-16
// from the system to the file functions: a name the code page cannot spell has no ANSI form, and
// the platform's conversion by best fit would give the name of another file ("Jürgen" becomes
// "Jurgen" under code page 1251).
#include <string>
#include <string_view>

namespace ui {

// A text of the system code page in UTF-16, character for character.
std::wstring Widen(std::string_view text);
// UTF-16 in the system code page, as the platform's ANSI functions give it (the language file's
// bytes come back as they were).
std::string Narrow(std::wstring_view text);
// A path, or a text naming one, for a text of the system code page: a character the code page
// cannot spell becomes "?", never a look-alike that would name another file.
std::string ShownPath(std::wstring_view path);
// The path in the system code page only if the code page spells every character of it.
bool AnsiPathOf(std::wstring_view path, std::string& ansi);

}  // namespace ui
