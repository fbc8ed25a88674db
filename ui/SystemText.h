#pragma once
// Text as the platform's ANSI functions take it: bytes of the system's code page. In a double-byte
// code page (932 Japanese, 936 and 950 Chinese, 949 Korean) a character may take two bytes, and the
// second of them may be "|", "{", "}", "\" or a letter: every scan steps over whole characters, so
// that a trail byte is never taken for a character of its own. Letter case is folded and compared as
// the system does it, on the text converted to UTF-16 with the system code page (never with the
// code page of the user's locale, which may differ).
#include <string>
#include <string_view>

namespace ui {

// The code page the program's texts are in: the system's ANSI code page.
unsigned SystemCodePage();
// While it lives, texts are taken in another code page: for tests of what a Japanese or a Russian
// system does with its texts, in a process of any system.
class ScopedCodePage {
public:
    explicit ScopedCodePage(unsigned codePage);
    ~ScopedCodePage();
    ScopedCodePage(const ScopedCodePage&) = delete;
    ScopedCodePage& operator=(const ScopedCodePage&) = delete;

private:
    unsigned saved_;
};

// Bytes of the character that begins at text[at]: 2 for a lead byte with a second byte after it, else 1.
std::size_t CharSize(std::string_view text, std::size_t at);
// The first position at or after from (a character's start) where the one-byte character c stands
// as a character of its own; npos when none.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);
// The same for a text of whole characters, such as "SPPR" or "%d".
std::size_t FindText(std::string_view text, std::string_view what, std::size_t from = 0);
// The start of the last character of a text that is not empty.
std::size_t LastCharAt(std::string_view text);

// The character that begins at text[at], in UTF-16 (0 for bytes that spell none).
wchar_t WideCharAt(std::string_view text, std::size_t at);
// Upper case as the system maps it.
wchar_t UpperCase(wchar_t c);

// True when the two texts are equal ignoring letter case, as the user's locale compares them.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
// Below zero, zero or above zero as a is sorted before, with or after b, ignoring case.
int CompareTextIgnoringCase(std::string_view a, std::string_view b);
// A key for which SameTextIgnoringCase(a, b) holds exactly when FoldedText(a) == FoldedText(b):
// the locale's sort key with case ignored, which encodes just what the comparison compares
// (accents, expansions such as "ss" for the sharp s, ignorable characters, weights of "-" and "'").
std::string FoldedText(std::string_view text);

}  // namespace ui
