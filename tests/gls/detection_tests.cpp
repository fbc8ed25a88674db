// Detection: which known drivers a system folder holds and how each one is described.
#include "tests/gls/gls_test_support.h"

#include <cstring>
#include <vector>

namespace {

using Detection = GlsTest;

struct FileTime {
    uint32_t high;
    uint32_t low;
};

FileTime WriteTimeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
    return {data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime};
}

bool HasVersionResource(const std::string& path)
{
    DWORD handle;
    return GetFileVersionInfoSizeA(path.c_str(), &handle) != 0;
}

void ExpectFile(const DriverFileInfo& file, const std::string& path, uint32_t versionMS, uint32_t versionLS)
{
    EXPECT_STREQ(file.aFilePath, Upper(path).c_str());
    EXPECT_EQ(file.fileVersionMS, versionMS) << path;
    EXPECT_EQ(file.fileVersionLS, versionLS) << path;
    FileTime time = WriteTimeOf(path);
    EXPECT_EQ(file.writeTimeHigh, time.high) << path;
    EXPECT_EQ(file.writeTimeLow, time.low) << path;
}

void ExpectNoFile(const DriverFileInfo& file)
{
    EXPECT_STREQ(file.aFilePath, "");
    EXPECT_EQ(file.fileVersionMS | file.fileVersionLS | file.writeTimeHigh | file.writeTimeLow, 0u);
}

std::vector<DriverInfo> Detect()
{
    std::vector<DriverInfo> found(glsFindDrivers());
    for (uint32_t index = 0; index < found.size(); ++index)
        EXPECT_EQ(glsGetDriverInfo(index, &found[index]), GLS_OK);
    return found;
}

// Version 4.3.2.1 of the test driver, 1.2.0.7 of its companion.
const uint32_t kDriverMS = 0x00040003, kDriverLS = 0x00020001;
const uint32_t kGluMS = 0x00010002, kGluLS = 0x00000007;

TEST_F(Detection, TheRealSystemFolderListsItsOpenGL32WithGlu32)
{
    std::string folder = RealSystemFolder();
    std::string driver = folder + "\\opengl32.dll";
    std::string glu = folder + "\\glu32.dll";
    ASSERT_TRUE(HasVersionResource(driver));
    std::vector<DriverInfo> found = Detect();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_STREQ(found[0].aDriverDescription, "Default OpenGL Driver");
    // Wine's glu32.dll carries no version resource, a Windows one does.
    uint32_t gluFlag = HasVersionResource(glu) ? 0 : GLS_DRIVER_NO_GLU_VERSION;
    EXPECT_EQ(found[0].flags, 0x0Cu | gluFlag);
    EXPECT_STREQ(found[0].driverFile.aFilePath, Upper(driver).c_str());
    EXPECT_STREQ(found[0].gluFile.aFilePath, Upper(glu).c_str());
    EXPECT_NE(found[0].driverFile.fileVersionMS, 0u);
    FileTime time = WriteTimeOf(driver);
    EXPECT_EQ(found[0].driverFile.writeTimeHigh, time.high);
    EXPECT_EQ(found[0].driverFile.writeTimeLow, time.low);
    EXPECT_EQ(found[0].gluFile.fileVersionMS == 0, gluFlag != 0);
}

TEST_F(Detection, SystemOpenGLWithVersionedCompanionHasFlags0C)
{
    UseFixture("system_like");
    std::vector<DriverInfo> found = Detect();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_STREQ(found[0].aDriverDescription, "Default OpenGL Driver");
    EXPECT_EQ(found[0].flags, 0x0Cu);
    ExpectFile(found[0].driverFile, FixtureFile("system_like", "opengl32.dll"), kDriverMS, kDriverLS);
    ExpectFile(found[0].gluFile, FixtureFile("system_like", "glu32.dll"), kGluMS, kGluLS);
}

TEST_F(Detection, AllFourKnownDriversListTheFirstThreeInTableOrder)
{
    UseFixture("all_four");
    std::vector<DriverInfo> found = Detect();
    ASSERT_EQ(found.size(), 3u);
    const char* descriptions[] = {"Default OpenGL Driver", "3dfx Installed OpenGL Driver", "SGI Software OpenGL Driver"};
    const uint32_t flags[] = {0x0C, 0x0B, 0x88};
    const char* files[][2] = {{"opengl32.dll", "glu32.dll"}, {"3dfxogl.dll", "3dfxoglu.dll"}, {"opengl.dll", "glu.dll"}};
    for (int index = 0; index < 3; ++index) {
        EXPECT_STREQ(found[index].aDriverDescription, descriptions[index]);
        EXPECT_EQ(found[index].flags, flags[index]) << index;
        ExpectFile(found[index].driverFile, FixtureFile("all_four", files[index][0]), kDriverMS, kDriverLS);
        ExpectFile(found[index].gluFile, FixtureFile("all_four", files[index][1]), kGluMS, kGluLS);
    }
    DriverInfo fourth;
    EXPECT_EQ(glsGetDriverInfo(3, &fourth), GLS_ERROR_BAD_ARGUMENT);

    // A second detection rebuilds the same records in the same order.
    std::vector<DriverInfo> again = Detect();
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(std::memcmp(again.data(), found.data(), sizeof(DriverInfo) * 3), 0);
}

TEST_F(Detection, MissingCompanionLeavesTheDriverListedWithoutGlu)
{
    UseFixture("no_companion");
    std::vector<DriverInfo> found = Detect();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_STREQ(found[0].aDriverDescription, "3dfx Installed OpenGL Driver");
    EXPECT_EQ(found[0].flags, 0x6Bu);
    ExpectFile(found[0].driverFile, FixtureFile("no_companion", "3dfxogl.dll"), kDriverMS, kDriverLS);
    ExpectNoFile(found[0].gluFile);
}

TEST_F(Detection, DriverWithoutVersionResourceIsUnknownUnlessTheTableNamesIt)
{
    UseFixture("no_version");
    std::vector<DriverInfo> found = Detect();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_STREQ(found[0].aDriverDescription, "3dfx Installed OpenGL Driver");
    EXPECT_EQ(found[0].flags, 0x03u | 0x08u | 0x10u | 0x40u);
    ExpectFile(found[0].driverFile, FixtureFile("no_version", "3dfxogl.dll"), 0, 0);
    ExpectFile(found[0].gluFile, FixtureFile("no_version", "3dfxoglu.dll"), 0, 0);

    DriverInfo inspected;
    ASSERT_EQ(glsInspectDriver(FixtureFile("no_version", "3dfxogl.dll").c_str(),
                               FixtureFile("no_version", "3dfxoglu.dll").c_str(), &inspected), GLS_OK);
    EXPECT_STREQ(inspected.aDriverDescription, "Unknown");
    EXPECT_EQ(inspected.flags, GLS_DRIVER_UNVERIFIED | 0x08u | 0x10u | 0x40u);
}

TEST_F(Detection, IgnoringCompanionsMarksEveryRecordWithoutGlu)
{
    UseFixture("all_four");
    glsSetOptions(GLS_OPTION_IGNORE_GLU);
    std::vector<DriverInfo> found = Detect();
    ASSERT_EQ(found.size(), 3u);
    const uint32_t flags[] = {0x6C, 0x6B, 0xE8};
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(found[index].flags, flags[index]) << index;
        ExpectNoFile(found[index].gluFile);
    }
}

TEST_F(Detection, DescriptionIsComposedFromTheVersionStrings)
{
    std::string c120(120, 'C'), d132(132, 'D');
    struct Case {
        const char* name;
        std::string expected;
    } cases[] = {
        {"company_product", "KX Labs - Fixture Suite"},
        {"company_only", "KX Labs"},
        {"description_product", "Fixture Driver"},
        {"all_three", "KX Labs - Fixture Driver"},
        {"none", ""},
        {"longest_fitting", c120 + " - " + d132},
        {"too_long", ""},
        {"product_too_long", ""},
        {"codepage_1252", "Western Driver"},
        {"other_language", ""},
        {"empty_company", "Solo"},
    };
    for (const Case& c : cases) {
        std::string folder = std::string("description_") + c.name;
        DriverInfo info;
        ASSERT_EQ(glsInspectDriver(FixtureFile(folder, "opengl.dll").c_str(), "", &info), GLS_OK) << c.name;
        EXPECT_EQ(std::string(info.aDriverDescription), c.expected) << c.name;
        EXPECT_EQ(info.flags, GLS_DRIVER_UNVERIFIED | GLS_DRIVER_NO_GLU | GLS_DRIVER_NO_GLU_VERSION) << c.name;
        EXPECT_EQ(info.driverFile.fileVersionMS, 0x00020000u) << c.name;
    }
    EXPECT_EQ(std::string(c120 + " - " + d132).size(), 255u);

    // A known driver shows the table's description whatever its file says.
    UseFixture("description_too_long");
    std::vector<DriverInfo> found = Detect();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_STREQ(found[0].aDriverDescription, "SGI Software OpenGL Driver");
    EXPECT_EQ(found[0].flags, 0x80u | 0x08u | 0x60u);
}

TEST_F(Detection, CompanionOutsideTheDriversFolderIsUnusableUnlessAllowed)
{
    std::string driver = FixtureFile("elsewhere_driver", "3dfxogl.dll");
    std::string glu = FixtureFile("elsewhere_glu", "3dfxoglu.dll");
    DriverInfo info;
    ASSERT_EQ(glsInspectDriver(driver.c_str(), glu.c_str(), &info), GLS_OK);
    EXPECT_EQ(info.flags, GLS_DRIVER_UNVERIFIED | 0x60u);
    // Only the path goes: what was read of the file stays in the record.
    EXPECT_STREQ(info.gluFile.aFilePath, "");
    FileTime time = WriteTimeOf(glu);
    EXPECT_EQ(info.gluFile.writeTimeHigh, time.high);
    EXPECT_EQ(info.gluFile.writeTimeLow, time.low);
    EXPECT_EQ(info.gluFile.fileVersionMS, kGluMS);
    EXPECT_EQ(info.gluFile.fileVersionLS, kGluLS);

    glsSetOptions(GLS_OPTION_GLU_ANY_FOLDER);
    ASSERT_EQ(glsInspectDriver(driver.c_str(), glu.c_str(), &info), GLS_OK);
    EXPECT_EQ(info.flags, GLS_DRIVER_UNVERIFIED);
    ExpectFile(info.gluFile, glu, kGluMS, kGluLS);
}

TEST_F(Detection, InspectionRefusesMissingArgumentsAndUnreadableFiles)
{
    DriverInfo info;
    std::string driver = FixtureFile("system_like", "opengl32.dll");
    EXPECT_EQ(glsInspectDriver(nullptr, "", &info), GLS_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(glsInspectDriver(driver.c_str(), "", nullptr), GLS_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(glsInspectDriver(FixtureFile("system_like", "absent.dll").c_str(), "", &info), GLS_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(glsInspectDriver(FixtureFolder("system_like").c_str(), "", &info), GLS_ERROR_BAD_ARGUMENT);
    // Outside the system folder, and with no companion given at all.
    ASSERT_EQ(glsInspectDriver(driver.c_str(), nullptr, &info), GLS_OK);
    EXPECT_EQ(info.flags, GLS_DRIVER_UNVERIFIED | 0x60u);
    EXPECT_STREQ(info.aDriverDescription, "KX Test Labs - KX Test OpenGL Driver");
}

TEST_F(Detection, DriverInfoIsDetectedLazilyWhileNoneWasFound)
{
    TempFolder folder("kxgls_lazy");
    glsTestSetSystemFolder(folder.Path().c_str());
    DriverInfo info;
    EXPECT_EQ(glsGetDriverInfo(0, &info), GLS_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(_glsNumberOfDriverInfos, 0u);
    // With nothing found, every call looks again.
    ASSERT_TRUE(CopyFileA(FixtureFile("system_like", "opengl32.dll").c_str(), (folder.Path() + "\\opengl32.dll").c_str(), FALSE));
    ASSERT_EQ(glsGetDriverInfo(0, &info), GLS_OK);
    EXPECT_EQ(info.flags, 0x6Cu);
    EXPECT_EQ(glsGetDriverInfo(0, nullptr), GLS_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(glsGetDriverInfo(1, &info), GLS_ERROR_BAD_ARGUMENT);
}

TEST_F(Detection, EntriesWhosePathsWouldBeTooLongAreSkipped)
{
    // A folder of 247 characters: "\opengl.dll" and "\glu.dll" still fit below 260,
    // "\3dfxoglu.dll" does not, so the 3dfx driver is skipped although its own file fits.
    TempFolder base("kxgls_long");
    std::string folder = base.Path() + "\\";
    folder += std::string(247 - folder.size(), 'x');
    ASSERT_EQ(folder.size(), 247u);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(FixtureFile("all_four", "3dfxogl.dll").c_str(), (folder + "\\3dfxogl.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(FixtureFile("all_four", "opengl.dll").c_str(), (folder + "\\opengl.dll").c_str(), FALSE));
    glsTestSetSystemFolder(folder.c_str());
    std::vector<DriverInfo> found = Detect();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_STREQ(found[0].aDriverDescription, "SGI Software OpenGL Driver");
}

TEST_F(Detection, NoDriversInAnEmptyFolder)
{
    TempFolder folder("kxgls_empty");
    glsTestSetSystemFolder(folder.Path().c_str());
    EXPECT_EQ(glsFindDrivers(), 0u);
}

} // namespace
