#include "ui/Convert.h"

#include "ui/Exception.h"

namespace ui {

std::optional<int> TryStrToInt(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<int>(value);
}

int StrToInt(const std::string& text)
{
    if (auto value = TryStrToInt(text)) return *value;
    throw EConvertError(Format(TextOf(ErrorText::NotAnInteger), text));
}

std::string IntToStr(long long value) { return std::to_string(value); }

}  // namespace ui
