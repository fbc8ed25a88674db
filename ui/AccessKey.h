#pragma once
// Access keys: a caption marks the letter that Alt takes to the control with "&" before it;
// "&&" stands for one "&".
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// The caption as plain text: the marks gone, "&&" as one "&".
std::string StripAccessKeys(std::string_view caption);
// The marked character, upper-case; 0 when the caption marks none.
char AccessKeyOf(std::string_view caption);
// The caption with a mark added before its first letter or digit not in used (upper-case), word
// starts first; unchanged when it marks one already or no character is free. The key taken is
// added to used.
std::string WithAccessKey(const std::string& caption, std::string& used);

}  // namespace ui
