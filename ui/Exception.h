#pragma once
// Errors are exceptions carrying the text the user is shown.
#include <exception>
#include <string>

namespace ui {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    // A message about a file: the first %s of pattern takes the path as it is, so that the error
    // box names the file even where the system code page cannot spell its name.
    Exception(const std::string& pattern, const std::wstring& path);
    // In the system code page; what it cannot spell of a path shows as "?".
    const std::string& Message() const { return message_; }
    // The whole message with the path as it is; empty when the message names no path.
    const std::wstring& WideMessage() const { return wideMessage_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    std::wstring wideMessage_;
};

// A text that is no whole decimal number where one is needed.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A list read or written at a position it does not have.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// The error texts raised below the window, as patterns whose %s takes what they name: English,
// unless the language file gives its own (LoadLanguage sets them; SetErrorText with an empty text
// puts the English back).
enum class ErrorText { CannotOpenFile, UnableToWrite, NotAnInteger };
struct ErrorTextRow {
    ErrorText text;
    const char* entry;    // the language file's entry that replaces it
    const char* english;  // the built-in text
};
extern const ErrorTextRow kErrorTexts[3];
const std::string& TextOf(ErrorText text);
void SetErrorText(ErrorText text, const std::string& pattern);

// Formats like the messages the program shows: each %s and %d takes the next argument.
std::string Format(const std::string& pattern, const std::string& arg);
std::string Format(const std::string& pattern, long long arg);

}  // namespace ui
