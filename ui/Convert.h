#pragma once
// Conversions between numbers and the texts the user types.
#include <optional>
#include <string>
#include <string_view>

namespace ui {

// An optional sign and decimal digits, within the signed 32-bit range.
std::optional<int> TryStrToInt(std::string_view text);
// As TryStrToInt; otherwise raises "'%s' is not a valid integer value".
int StrToInt(const std::string& text);
std::string IntToStr(long long value);

}  // namespace ui
