#include "ui/SystemText.h"

#include <windows.h>

#include <vector>

namespace ui {

namespace {

unsigned pinnedCodePage = 0;

// What a scan needs of a code page: which bytes begin a two-byte character.
struct CodePageBytes {
    unsigned id = 0;
    bool doubleByte = false;
    bool lead[256] = {};
};

const CodePageBytes& Bytes()
{
    static CodePageBytes bytes;
    const unsigned id = SystemCodePage();
    if (bytes.id != id) {
        bytes = CodePageBytes{};
        bytes.id = id;
        CPINFO info{};
        if (GetCPInfo(id, &info) && info.MaxCharSize == 2) {
            bytes.doubleByte = true;
            for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
                for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) bytes.lead[b] = true;
        }
    }
    return bytes;
}

// A text in UTF-16, on the stack when it is short: the comparisons run for every line of the
// language file at start.
class Wide {
public:
    explicit Wide(std::string_view text)
    {
        if (text.empty()) return;
        const int length = static_cast<int>(text.size());
        if (text.size() <= std::size(small_)) {
            size_ = MultiByteToWideChar(SystemCodePage(), 0, text.data(), length, small_, length);
            if (size_ > 0) return;
        }
        size_ = MultiByteToWideChar(SystemCodePage(), 0, text.data(), length, nullptr, 0);
        large_.resize(static_cast<std::size_t>(size_ > 0 ? size_ : 0));
        if (size_ > 0) MultiByteToWideChar(SystemCodePage(), 0, text.data(), length, large_.data(), size_);
    }
    const wchar_t* Data() const { return large_.empty() ? small_ : large_.data(); }
    int Size() const { return size_ > 0 ? size_ : 0; }

private:
    wchar_t small_[128];
    std::vector<wchar_t> large_;
    int size_ = 0;
};

}  // namespace

unsigned SystemCodePage() { return pinnedCodePage ? pinnedCodePage : GetACP(); }

ScopedCodePage::ScopedCodePage(unsigned codePage) : saved_(pinnedCodePage) { pinnedCodePage = codePage; }

ScopedCodePage::~ScopedCodePage() { pinnedCodePage = saved_; }

std::size_t CharSize(std::string_view text, std::size_t at)
{
    const CodePageBytes& bytes = Bytes();
    // No double-byte code page has a second byte below 0x40: a lead byte before a blank, a digit,
    // "=", "&" or "%" is a broken character, and the byte after it stays a character of its own.
    return bytes.doubleByte && at + 1 < text.size() && bytes.lead[static_cast<unsigned char>(text[at])] &&
                   static_cast<unsigned char>(text[at + 1]) >= 0x40
               ? 2
               : 1;
}

std::size_t FindChar(std::string_view text, char c, std::size_t from)
{
    const CodePageBytes& bytes = Bytes();
    if (!bytes.doubleByte) return text.find(c, from);
    for (std::size_t at = from; at < text.size(); at += CharSize(text, at))
        if (text[at] == c) return at;
    return std::string_view::npos;
}

std::size_t FindText(std::string_view text, std::string_view what, std::size_t from)
{
    const CodePageBytes& bytes = Bytes();
    if (!bytes.doubleByte) return text.find(what, from);
    for (std::size_t at = from; at + what.size() <= text.size(); at += CharSize(text, at))
        if (text.compare(at, what.size(), what) == 0) return at;
    return std::string_view::npos;
}

std::size_t LastCharAt(std::string_view text)
{
    std::size_t last = 0;
    for (std::size_t at = 0; at < text.size(); at += CharSize(text, at)) last = at;
    return last;
}

wchar_t WideCharAt(std::string_view text, std::size_t at)
{
    if (at >= text.size()) return 0;
    wchar_t c = 0;
    const int size = static_cast<int>(CharSize(text, at));
    return MultiByteToWideChar(SystemCodePage(), MB_ERR_INVALID_CHARS, text.data() + at, size, &c, 1) == 1 ? c : 0;
}

wchar_t UpperCase(wchar_t c)
{
    CharUpperBuffW(&c, 1);
    return c;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) { return CompareTextIgnoringCase(a, b) == 0; }

int CompareTextIgnoringCase(std::string_view a, std::string_view b)
{
    const Wide wa(a), wb(b);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.Data(), wa.Size(), wb.Data(), wb.Size()) - CSTR_EQUAL;
}

std::string FoldedText(std::string_view text)
{
    if (text.empty()) return {};
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const Wide wide(text);
    // A sort key is bytes, however the function is declared; room for the usual keys in one call.
    char small[512];
    std::vector<char> large;
    char* key = small;
    int capacity = static_cast<int>(sizeof small);
    if (static_cast<std::size_t>(wide.Size()) * 12 + 16 > sizeof small) {
        large.resize(static_cast<std::size_t>(wide.Size()) * 12 + 16);
        key = large.data();
        capacity = static_cast<int>(large.size());
    }
    auto map = [&](char* into, int room) {
        return LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.Data(), wide.Size(), reinterpret_cast<LPWSTR>(into), room);
    };
    int size = wide.Size() > 0 ? map(key, capacity) : 0;
    if (size == 0 && wide.Size() > 0) {
        size = map(nullptr, 0);
        if (size > 0) {
            large.resize(static_cast<std::size_t>(size));
            key = large.data();
            size = map(key, size);
        }
    }
    if (size <= 0) {
        // A sort key never begins with a zero byte, so a text the locale cannot map keeps to itself.
        std::string itself(1, '\0');
        itself.append(text);
        return itself;
    }
    return std::string(key, static_cast<std::size_t>(size) - 1);  // without the key's terminating zero
}

}  // namespace ui
