#pragma once
// Access keys: a caption marks the character that Alt takes to the control with "&" before it;
// "&&" stands for one "&". Captions are texts of the system code page, read by whole characters,
// and keys are compared as the system maps letters to upper case, in any alphabet.
#include <string>
#include <string_view>

namespace ui {

// The caption as plain text: the marks gone, "&&" as one "&". A key added after the words in
// brackets, as Japanese captions have it ("設定(&S)"), goes with its brackets and the blanks before them.
std::string StripAccessKeys(std::string_view caption);
// Where a caption's mark stands in brackets after its words, "(&S)": the position of the "("; npos
// when the caption marks no key or marks one inside its words.
std::size_t BracketedAccessKeyAt(std::string_view caption);
// The marked character in upper case (UTF-16); 0 when the caption marks none.
wchar_t AccessKeyOf(std::string_view caption);
// The key that a character typed with Alt stands for: the bytes of one character of the system
// code page (a lead byte in the high byte of a double-byte one), in upper case; 0 for none.
wchar_t AccessKeyTyped(unsigned typed);
// A plain text as a caption ("&" doubled) with a mark added before its first letter or digit whose
// key is not in used, word starts first: a character typed with one key, so not one of two bytes.
// A text with no such character at all (one written in kanji) gets a free letter or digit after it
// in brackets, as "(&A)"; one whose letters are all taken gets no mark. The key taken is added to used.
std::string WithAccessKey(const std::string& text, std::wstring& used);

}  // namespace ui
