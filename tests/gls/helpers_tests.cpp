// The module's helpers: strings, paths, registry, environment and the assertion report.
#include "tests/gls/gls_test_support.h"

#include <regex>
#include <set>

namespace {

using Helpers = GlsTest;

std::string AssertionOf(void (*call)())
{
    try {
        call();
    } catch (const GlsAssertion& failure) {
        return failure.what();
    }
    return "no assertion";
}

TEST_F(Helpers, CopyStringTruncatesToSizeAndAlwaysTerminates)
{
    char buffer[8] = "xxxxxxx";
    EXPECT_STREQ(glsCopyString(buffer, "abcdef", 4), "abc");
    EXPECT_EQ(buffer[4], 'x');
    EXPECT_STREQ(glsCopyString(buffer, "abc", 4), "abc");
    EXPECT_STREQ(glsCopyString(buffer, "abc", 1), "");
    buffer[0] = 'q';
    glsCopyString(buffer, "abc", 0);
    EXPECT_EQ(buffer[0], 'q');
    EXPECT_STREQ(glsCopyString(buffer, "", sizeof buffer), "");
}

TEST_F(Helpers, SameFolderComparesTheFolderPartsIgnoringCase)
{
    EXPECT_TRUE(glsSameFolder("C:\\Drivers\\Gl\\a.dll", "c:\\DRIVERS\\gl\\B.DLL"));
    EXPECT_TRUE(glsSameFolder("C:\\Drivers\\.\\a.dll", "C:\\Drivers\\Sub\\..\\b.dll"));
    EXPECT_FALSE(glsSameFolder("C:\\Drivers\\a.dll", "C:\\Drivers\\Gl\\a.dll"));
    EXPECT_FALSE(glsSameFolder("C:\\Drivers\\Gl\\a.dll", "C:\\Drivers\\Glx\\a.dll"));
    // Relative names are taken in the working folder.
    EXPECT_TRUE(glsSameFolder("a.dll", ".\\b.dll"));
    EXPECT_FALSE(glsSameFolder("a.dll", "sub\\b.dll"));
}

TEST_F(Helpers, SystemOpenGLIsOnlyTheSystemFoldersOpenGL32)
{
    std::string system = RealSystemFolder();
    EXPECT_TRUE(glsIsSystemOpenGL((system + "\\opengl32.dll").c_str()));
    EXPECT_TRUE(glsIsSystemOpenGL(Upper(system + "\\OpenGL32.dll").c_str()));
    EXPECT_TRUE(glsIsSystemOpenGL((system + "\\..\\" + system.substr(system.rfind('\\') + 1) + "\\opengl32.dll").c_str()));
    EXPECT_FALSE(glsIsSystemOpenGL((system + "\\opengl32.dll.old").c_str()));
    EXPECT_FALSE(glsIsSystemOpenGL((system + "\\glu32.dll").c_str()));
    EXPECT_FALSE(glsIsSystemOpenGL(FixtureFile("system_like", "opengl32.dll").c_str()));

    UseFixture("system_like");
    EXPECT_TRUE(glsIsSystemOpenGL(FixtureFile("system_like", "opengl32.dll").c_str()));
    EXPECT_FALSE(glsIsSystemOpenGL((system + "\\opengl32.dll").c_str()));
}

TEST_F(Helpers, RegistryDwordsAreReadWithADefaultAndWrittenAsDword)
{
    EXPECT_EQ(glsReadRegistryDword(HKEY_CURRENT_USER, kTestRegistryKey, "Value", 77), 77u);
    EXPECT_EQ(glsWriteRegistryDword(HKEY_CURRENT_USER, kTestRegistryKey, "Value", 0x12345678), ERROR_SUCCESS);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kTestRegistryKey, "Value"), 0x12345678u);
    EXPECT_EQ(glsReadRegistryDword(HKEY_CURRENT_USER, kTestRegistryKey, "Value", 77), 0x12345678u);
    EXPECT_EQ(glsReadRegistryDword(HKEY_CURRENT_USER, kTestRegistryKey, "Other", 5), 5u);

    // A text that happens to be four bytes long is no number.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestRegistryKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 4);
    RegCloseKey(key);
    EXPECT_EQ(glsReadRegistryDword(HKEY_CURRENT_USER, kTestRegistryKey, "Text", 9), 9u);

    HKEY invalid = reinterpret_cast<HKEY>(static_cast<INT_PTR>(0x7654320));
    EXPECT_EQ(glsReadRegistryDword(invalid, kTestRegistryKey, "Value", 3), 3u);
    EXPECT_NE(glsWriteRegistryDword(invalid, kTestRegistryKey, "Value", 1), ERROR_SUCCESS);
}

TEST_F(Helpers, EnvironmentIsSetInBothCopiesAndAnEmptyValueRemovesIt)
{
    const char* pName = "KX_GLS_TEST_VARIABLE";
    glsSetEnv(pName, "abc");
    EXPECT_EQ(RuntimeEnv(pName), "abc");
    EXPECT_EQ(SystemEnv(pName), "abc");
    EXPECT_STREQ(glsGetEnv(pName), "abc");
    glsSetEnv(pName, "");
    EXPECT_EQ(RuntimeEnv(pName), std::nullopt);
    EXPECT_EQ(SystemEnv(pName), std::nullopt);
    EXPECT_EQ(glsGetEnv(pName), nullptr);
    glsSetEnv(pName, "again");
    glsSetEnv(pName, nullptr);
    EXPECT_EQ(SystemEnv(pName), std::nullopt);

    // Name and value must leave room for "=" and the terminator in 256 characters.
    std::string name(pName);
    std::string longest(254 - name.size(), 'v');
    glsSetEnv(pName, longest.c_str());
    EXPECT_EQ(RuntimeEnv(pName), longest);
    EXPECT_EQ(SystemEnv(pName), longest);
    glsSetEnv(pName, (longest + "w").c_str());
    EXPECT_EQ(RuntimeEnv(pName), longest);
    EXPECT_EQ(SystemEnv(pName), longest);
    glsSetEnv(pName, nullptr);
}

TEST_F(Helpers, BrokenPreconditionsReportExpressionSourceAndLine)
{
    struct Case {
        void (*call)();
        const char* expression;
    } cases[] = {
        {[] { glsSetEnv(nullptr, "1"); }, "pEnv"},
        {[] { glsCopyString(nullptr, "x", 2); }, "pDest && pSource"},
        {[] { glsSameFolder("a", nullptr); }, "pPathA && pPathB"},
        {[] { glsIsSystemOpenGL(nullptr); }, "pPath"},
        {[] { UINT size; glsQueryVersionString(nullptr, "CompanyName", &size); }, "pVersionInfo && pVersionString && pStringSize"},
        {[] { glsReadRegistryDword(HKEY_CURRENT_USER, nullptr, "v", 0); }, "pSubKey && pValueName"},
    };
    std::regex format("Assertion failed: (.*), file gls, line ([1-9][0-9]*)");
    std::set<std::string> lines;
    for (const Case& c : cases) {
        std::string message = AssertionOf(c.call);
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(message, parts, format)) << message;
        EXPECT_EQ(parts[1].str(), c.expression);
        lines.insert(parts[2].str());
    }
    EXPECT_EQ(lines.size(), std::size(cases));
}

void ReturningHandler(const char* pMessage)
{
    std::fprintf(stderr, "reported: %s\n", pMessage);
}

TEST(HelpersDeathTest, TheProgramEndsEvenWhenTheHandlerReturns)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            glsTestSetAssertHandler(ReturningHandler);
            glsSetEnv(nullptr, "1");
            std::fprintf(stderr, "went on\n");
        },
        ::testing::ExitedWithCode(3), "reported: Assertion failed: pEnv, file gls, line \\d+");
}

} // namespace
