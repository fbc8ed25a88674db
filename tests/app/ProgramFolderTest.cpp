#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "app/Platform.h"

TEST(ProgramFolder, IsTheProgramFilesFolderEndingInOneBackslash)
{
    EXPECT_EQ(ProgramFolderOf("C:\\Games\\Torvel II\\KXConfig.exe"), "C:\\Games\\Torvel II\\");
    EXPECT_EQ(ProgramFolderOf("\\\\server\\games\\KXConfig.exe"), "\\\\server\\games\\");
    EXPECT_EQ(ProgramFolderOf("Z:\\work\\KXConfig.exe"), "Z:\\work\\");
}

TEST(ProgramFolder, KeepsTheBackslashOfADriveRootAndOfANetworkPrefix)
{
    EXPECT_EQ(ProgramFolderOf("C:\\KXConfig.exe"), "C:\\");
    EXPECT_EQ(ProgramFolderOf("\\\\KXConfig.exe"), "\\\\");
    EXPECT_EQ(ProgramFolderOf("C:\\Games\\\\KXConfig.exe"), "C:\\Games\\\\") << "a doubled separator is kept, not tripled";
}

TEST(ProgramFolder, CutsAfterAColonAndAddsTheBackslash)
{
    EXPECT_EQ(ProgramFolderOf("C:KXConfig.exe"), "C:\\");
    EXPECT_EQ(ProgramFolderOf("D:"), "D:\\");
    EXPECT_EQ(ProgramFolderOf("C:\\Games\\"), "C:\\Games\\") << "a path that ends in a separator is a folder";
    EXPECT_EQ(ProgramFolderOf("KXConfig.exe"), "\\");
}

TEST(ProgramFolder, OfTheRunningProgramEndsInABackslashAndHoldsIt)
{
    std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_NE(folder.find(':'), std::string::npos);
}

TEST(ProgramFolder, KeyIsTheSameForEverySpellingOfAFolderAndDiffersForAnother)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"Torvel II Game Folder " + std::to_wstring(GetCurrentProcessId());
    const std::wstring other = folder + L" Copy";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    wchar_t shortName[MAX_PATH] = {};
    GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
    std::wstring lower = folder;
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    std::replace(lower.begin(), lower.end(), L'\\', L'/');

    const std::wstring key = FolderKey(folder);
    for (const std::wstring& spelling : {folder + L"\\", lower + L"/", std::wstring(shortName), folder + L"\\..\\" +
                                         folder.substr(folder.find_last_of(L'\\') + 1) + L"\\.\\"})
        EXPECT_EQ(FolderKey(spelling), key) << std::string(spelling.begin(), spelling.end());
    EXPECT_NE(std::wstring(shortName), folder) << "no short name to try";
    EXPECT_NE(FolderKey(other), key);

    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(other.c_str());
}
