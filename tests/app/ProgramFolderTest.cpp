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

TEST(ProgramFolder, KeyIsOneForEverySpellingOfAFolderAndAnotherForAnotherFolder)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp + (L"Torvel II Game " + std::to_wstring(GetCurrentProcessId()));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t shortName[MAX_PATH] = {};
    GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
    std::wstring lower = folder + L"/";
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    std::replace(lower.begin(), lower.end(), L'\\', L'/');

    EXPECT_NE(std::wstring(shortName).find(L'~'), std::wstring::npos) << "no short name to try";
    for (const std::wstring& spelling : {folder + L"\\", lower, std::wstring(shortName), folder + L"\\Saves\\..\\."})
        EXPECT_EQ(FolderKey(spelling), FolderKey(folder)) << std::string(spelling.begin(), spelling.end());
    EXPECT_NE(FolderKey(folder + L" Copy"), FolderKey(folder));
    RemoveDirectoryW(folder.c_str());
}
