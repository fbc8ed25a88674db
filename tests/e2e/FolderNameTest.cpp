// A game folder of any name: the program reads and writes the files of its own folder, whatever the
// system code page can spell of the folder's name, and never those of a folder whose name looks alike.
// Wine gives a program the code page of the locale its starter ran in (the environment a program
// passes on does not change it), so the program runs under this test program's code page: the
// test e2e_folder_names_cp1251 runs these tests again under the Russian one.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string ReadWide(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void WriteWide(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The shipped files with a window caption of the folder's own, and a settings file with a section
// of another program's.
std::string LanguageCaptioned(const std::string& caption)
{
    std::string language = GameFolder::Shipped("Language.txt");
    const std::size_t at = language.find("\r\nfConfig=");
    const std::size_t end = language.find("\r\n", at + 2);
    return language.replace(at, end - at, "\r\nfConfig=" + caption);
}

const char kSettings[] = "[Game Options]\r\nDifficulty Level=3\r\n[Mod Loader]\r\nEnabled Mods=rain\r\n";

// A game folder under base, made with the wide functions: base + name + "\".
std::wstring MakeGameFolder(const std::wstring& base, const std::wstring& name, const std::string& caption)
{
    std::wstring folder = base;
    for (std::size_t at = 0; at != std::wstring::npos;) {
        const std::size_t next = name.find(L'\\', at);
        folder += name.substr(at, next == std::wstring::npos ? next : next - at) + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        at = next == std::wstring::npos ? next : next + 1;
    }
    EXPECT_TRUE(CopyFileW(Wide(KX_E2E_PROGRAM).c_str(), (folder + L"KXConfig.exe").c_str(), FALSE));
    WriteWide(folder + L"Language.txt", LanguageCaptioned(caption));
    WriteWide(folder + L"keymap.ini", GameFolder::Shipped("keymap.ini"));
    WriteWide(folder + L"torvel.ini", kSettings);
    return folder;
}

// Starts the program of the folder, checks that it shows the folder's own caption, presses OK and
// waits for the end.
void SaveWithOk(const std::wstring& folder, const std::string& caption)
{
    TempFolder elsewhere;
    RunningProgram program(folder + L"KXConfig.exe", Wide(elsewhere.Path()));
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    EXPECT_EQ(TextOf(main), caption) << "the language file of another folder was read";
    Click(Named(main, "bOK"));
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0)) << program.DescribeWindows();
}

class FolderName : public ::testing::Test {
protected:
    TempFolder base;
    std::wstring Base() const { return Wide(base.Path()); }
};

}  // namespace

TEST_F(FolderName, AFolderTheCodePageCannotSpellIsReadAndSavedAsItIs)
{
    // Neither code page 1252 nor 1251 spells the Japanese letters, nor 1252 the Cyrillic ones: "?".
    const std::wstring folder = MakeGameFolder(Base(), L"Игры\\ゲーム\\Torvel II", "Settings of the own folder");
    SaveWithOk(folder, "Settings of the own folder");

    const std::string saved = ReadWide(folder + L"torvel.ini");
    EXPECT_NE(saved, kSettings) << "OK wrote nothing to the folder's settings file";
    EXPECT_EQ(IniValue(saved, "Game Options", "Difficulty Level"), "3");
    EXPECT_EQ(IniValue(saved, "Mod Loader", "Enabled Mods"), "rain");
    EXPECT_TRUE(IniValue(saved, "Program Options", "Resolution").has_value());
    // Nothing was made beside the folder under a name the code page spells.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Base() + L"*").c_str(), &found);
    std::vector<std::wstring> names;
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        if (found.cFileName != std::wstring(L".") && found.cFileName != std::wstring(L"..")) names.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_EQ(names, std::vector<std::wstring>{L"Игры"});
}

TEST_F(FolderName, AFolderSpelledByBestFitIsNotTakenForItsLookAlike)
{
    // Code page 1251 spells "ü" by best fit as "u": the ANSI form of the one folder names the other.
    if (GetACP() != 1251) GTEST_SKIP() << "runs under code page 1251 (e2e_folder_names_cp1251)";
    const std::wstring own = MakeGameFolder(Base(), L"J\u00FCrgen\\Torvel II", "Settings of Juergen");
    const std::wstring lookAlike = MakeGameFolder(Base(), L"Jurgen\\Torvel II", "Settings of Jurgen");
    SaveWithOk(own, "Settings of Juergen");

    EXPECT_EQ(ReadWide(lookAlike + L"torvel.ini"), kSettings) << "OK wrote the look-alike folder's file";
    EXPECT_EQ(ReadWide(lookAlike + L"keymap.ini"), GameFolder::Shipped("keymap.ini"));
    const std::string saved = ReadWide(own + L"torvel.ini");
    EXPECT_TRUE(IniValue(saved, "Program Options", "Resolution").has_value()) << saved;
    EXPECT_EQ(IniValue(saved, "Mod Loader", "Enabled Mods"), "rain");

    // Each folder has a window of its own: the one-window check and the files use one path.
    TempFolder elsewhere;
    RunningProgram first(own + L"KXConfig.exe", Wide(elsewhere.Path()));
    ASSERT_NE(first.WaitForWindow("TfConfig"), nullptr) << first.DescribeWindows();
    RunningProgram second(lookAlike + L"KXConfig.exe", Wide(elsewhere.Path()));
    HWND other = second.WaitForWindow("TfConfig");
    ASSERT_NE(other, nullptr) << second.DescribeWindows();
    EXPECT_EQ(TextOf(other), "Settings of Jurgen");
}
