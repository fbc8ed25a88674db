#include <gtest/gtest.h>

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
