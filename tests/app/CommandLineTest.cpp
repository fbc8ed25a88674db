#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/Platform.h"

namespace {

// How many arguments the shell's own splitter finds after the program's name.
int ShellArgumentCount(const std::wstring& line)
{
    HMODULE shell = LoadLibraryA("shell32.dll");
    using Split = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    auto split = reinterpret_cast<Split>(GetProcAddress(shell, "CommandLineToArgvW"));
    int count = 0;
    LPWSTR* args = split(line.c_str(), &count);
    LocalFree(args);
    FreeLibrary(shell);
    return count - 1;
}

}  // namespace

// The shell is asked only when a line has arguments, so the test holds the answer against the
// shell's own count for lines with and without them.
TEST(CommandLine, HasArgumentsExactlyWhenTheShellFindsSome)
{
    struct Case {
        const wchar_t* line;
        bool arguments;
    };
    const Case cases[] = {
        {L"KXConfig.exe", false},
        {L"KXConfig.exe \t ", false},
        {L"\"C:\\Games\\Torvel II\\KXConfig.exe\"", false},
        {L"\"C:\\Games\\Torvel II\\KXConfig.exe\"  ", false},
        {L"\"C:\\Games\\Torvel II\\KXConfig.exe", false},  // no closing quote: all of it is the name
        {L"KXConfig.exe -keymap", true},
        {L"KXConfig.exe\t-keymap", true},
        {L"\"C:\\Games\\Torvel II\\KXConfig.exe\" -keymap", true},
        {L"\"C:\\Games\\KXConfig.exe\"-keymap", true},  // the name ends at its closing quote
        {L"C:\\Games\\Torvel II\\KXConfig.exe", true},   // unquoted, the name ends at the blank
        {L"KXConfig.exe \"\"", true},                     // an empty argument is one
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasArguments(c.line), c.arguments) << std::string(c.line, c.line + wcslen(c.line));
        EXPECT_EQ(ShellArgumentCount(c.line) > 0, c.arguments) << std::string(c.line, c.line + wcslen(c.line));
    }
    EXPECT_FALSE(HasArguments(L""));
}
