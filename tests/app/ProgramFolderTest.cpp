#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "app/Platform.h"

TEST(ProgramFolder, IsTheProgramFilesFolderEndingInOneBackslash)
{
    EXPECT_EQ(ProgramFolderOf(L"C:\\Games\\Torvel II\\KXConfig.exe"), L"C:\\Games\\Torvel II\\");
    EXPECT_EQ(ProgramFolderOf(L"\\\\server\\games\\KXConfig.exe"), L"\\\\server\\games\\");
    EXPECT_EQ(ProgramFolderOf(L"Z:\\work\\KXConfig.exe"), L"Z:\\work\\");
    EXPECT_EQ(ProgramFolderOf(L"C:\\Игры\\ゲーム\\KXConfig.exe"), L"C:\\Игры\\ゲーム\\") << "any name, as it is";
}

TEST(ProgramFolder, KeepsTheBackslashOfADriveRootAndOfANetworkPrefix)
{
    EXPECT_EQ(ProgramFolderOf(L"C:\\KXConfig.exe"), L"C:\\");
    EXPECT_EQ(ProgramFolderOf(L"\\\\KXConfig.exe"), L"\\\\");
    EXPECT_EQ(ProgramFolderOf(L"C:\\Games\\\\KXConfig.exe"), L"C:\\Games\\\\") << "a doubled separator is kept, not tripled";
}

TEST(ProgramFolder, CutsAfterAColonAndAddsTheBackslash)
{
    EXPECT_EQ(ProgramFolderOf(L"C:KXConfig.exe"), L"C:\\");
    EXPECT_EQ(ProgramFolderOf(L"D:"), L"D:\\");
    EXPECT_EQ(ProgramFolderOf(L"C:\\Games\\"), L"C:\\Games\\") << "a path that ends in a separator is a folder";
    EXPECT_EQ(ProgramFolderOf(L"KXConfig.exe"), L"\\");
}

TEST(ProgramFolder, OfTheRunningProgramEndsInABackslashAndHoldsIt)
{
    std::wstring folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_NE(folder.find(L':'), std::wstring::npos);
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
