// Loading and unloading: which slots a load binds from which library, and what it does to the
// environment and the registry before, while and after a driver is loaded.
#include "tests/gls/gls_test_support.h"

#include <cstring>

extern "C" {
size_t CCallerSizeOfDriverInfo(void);
size_t CCallerOffsetOfGluFile(void);
int CCallerLoadAndCall(const char* pDriverPath, const char* pGLUPath, HGLRC* pContext);
}

namespace {

using Loading = GlsTest;

// Every slot of [first, end) holds the address its library exports under prefix + slot name.
void ExpectSlotsFrom(HMODULE module, int first, int end, const char* pPrefix = "")
{
    ASSERT_NE(module, nullptr);
    for (int slot = first; slot < end; ++slot) {
        std::string name = std::string(pPrefix) + _glsEntryPointNames[slot];
        FARPROC exported = GetProcAddress(module, name.c_str());
        EXPECT_NE(exported, nullptr) << name;
        EXPECT_EQ(Slot(slot), exported) << name;
    }
}

bool InsideModule(HMODULE module, FARPROC address)
{
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    auto at = reinterpret_cast<const BYTE*>(address);
    return at >= base && at < base + nt->OptionalHeader.SizeOfImage;
}

void ExpectUnloaded()
{
    EXPECT_FALSE(glsIsDriverLoaded());
    EXPECT_EQ(CountBoundSlots(), 0);
    EXPECT_STREQ(_glsGLDriverFilePath, "");
    EXPECT_STREQ(_glsGLUDriverFilePath, "");
    EXPECT_EQ(_glsLoadedDriverIndex, -1);
}

TEST_F(Loading, TheRealSystemDriverBindsAllSlotsWithPixelFormatsFromGdi32)
{
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    std::string driver = Upper(RealSystemFolder() + "\\opengl32.dll");
    std::string glu = Upper(RealSystemFolder() + "\\glu32.dll");
    EXPECT_TRUE(glsIsDriverLoaded());
    EXPECT_EQ(_glsLoadedDriverIndex, 0);
    EXPECT_STREQ(_glsGLDriverFilePath, driver.c_str());
    EXPECT_STREQ(_glsGLUDriverFilePath, glu.c_str());
    EXPECT_EQ(CountBoundSlots(), 408);
    HMODULE gdi = GetModuleHandleA("gdi32.dll");
    ExpectSlotsFrom(gdi, GLS_FIRST_PIXEL_FORMAT_ENTRY, GLS_FIRST_WGL_ENTRY);
    for (int slot = GLS_FIRST_PIXEL_FORMAT_ENTRY; slot < GLS_FIRST_WGL_ENTRY; ++slot)
        EXPECT_TRUE(InsideModule(gdi, Slot(slot))) << _glsEntryPointNames[slot];
    ExpectSlotsFrom(GetModuleHandleA(driver.c_str()), GLS_FIRST_WGL_ENTRY, GLS_FIRST_GLU_ENTRY);
    ExpectSlotsFrom(GetModuleHandleA(glu.c_str()), GLS_FIRST_GLU_ENTRY, GLS_NUMBER_OF_ENTRY_POINTS);

    DriverInfo loaded, listed;
    ASSERT_EQ(glsGetLoadedDriverInfo(&loaded), GLS_OK);
    ASSERT_EQ(glsGetDriverInfo(0, &listed), GLS_OK);
    EXPECT_EQ(std::memcmp(&loaded, &listed, sizeof loaded), 0);
    EXPECT_EQ(glsGetLoadedDriverFlags(), listed.flags);

    glsUnloadDriver();
    ExpectUnloaded();
}

TEST_F(Loading, AFixtureDriverBindsItsOwnExportsAndItsCompanions)
{
    UseFixture("all_four");
    ASSERT_EQ(glsLoadDriver(1), GLS_OK);
    EXPECT_EQ(_glsLoadedDriverIndex, 1);
    EXPECT_EQ(CountBoundSlots(), 408);
    HMODULE driver = GetModuleHandleA(FixtureFile("all_four", "3dfxogl.dll").c_str());
    ExpectSlotsFrom(driver, GLS_FIRST_PIXEL_FORMAT_ENTRY, GLS_FIRST_WGL_ENTRY, "wgl");
    ExpectSlotsFrom(driver, GLS_FIRST_WGL_ENTRY, GLS_FIRST_GLU_ENTRY);
    ExpectSlotsFrom(GetModuleHandleA(FixtureFile("all_four", "3dfxoglu.dll").c_str()), GLS_FIRST_GLU_ENTRY,
                    GLS_NUMBER_OF_ENTRY_POINTS);
    EXPECT_STREQ(_glsGLDriverFilePath, Upper(FixtureFile("all_four", "3dfxogl.dll")).c_str());
    EXPECT_STREQ(_glsGLUDriverFilePath, Upper(FixtureFile("all_four", "3dfxoglu.dll")).c_str());
    EXPECT_EQ(glsGetLoadedDriverFlags(), 0x0Bu);

    // The system folder's opengl32.dll takes its pixel formats from gdi32.dll; the previous
    // driver is gone.
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    EXPECT_EQ(GetModuleHandleA(FixtureFile("all_four", "3dfxogl.dll").c_str()), nullptr);
    ExpectSlotsFrom(GetModuleHandleA("gdi32.dll"), GLS_FIRST_PIXEL_FORMAT_ENTRY, GLS_FIRST_WGL_ENTRY);
    ExpectSlotsFrom(GetModuleHandleA(FixtureFile("all_four", "opengl32.dll").c_str()), GLS_FIRST_WGL_ENTRY,
                    GLS_FIRST_GLU_ENTRY);
    EXPECT_EQ(glsGetLoadedDriverFlags(), 0x0Cu);

    glsUnloadDriver();
    ExpectUnloaded();
    EXPECT_EQ(GetModuleHandleA(FixtureFile("all_four", "opengl32.dll").c_str()), nullptr);
    EXPECT_EQ(GetModuleHandleA(FixtureFile("all_four", "glu32.dll").c_str()), nullptr);
}

TEST_F(Loading, AMissingEntryPointUnloadsEverythingAndRestores)
{
    SetBothEnv(kSplash, "before");
    WriteDword(HKEY_CURRENT_USER, kTestRegistryKey, "OverrideDispatch", 5);
    UseFixture("lacking_gl");
    EXPECT_EQ(glsLoadDriver(0), GLS_ERROR_MISSING);
    ExpectUnloaded();
    EXPECT_EQ(GetModuleHandleA(FixtureFile("lacking_gl", "opengl.dll").c_str()), nullptr);
    EXPECT_EQ(GetModuleHandleA(FixtureFile("lacking_gl", "glu.dll").c_str()), nullptr);
    EXPECT_EQ(RuntimeEnv(kSplash), "before");
    EXPECT_EQ(SystemEnv(kSplash), "before");
    EXPECT_EQ(TestOverrideDispatch(), 5u);

    UseFixture("lacking_glu");
    EXPECT_EQ(glsLoadDriver(0), GLS_ERROR_MISSING);
    ExpectUnloaded();

    // With the trap option every slot is left holding the trap instead.
    glsSetOptions(GLS_OPTION_TRAP_UNBOUND);
    UseFixture("lacking_gl");
    glsFindDrivers();
    EXPECT_EQ(glsLoadDriver(0), GLS_ERROR_MISSING);
    EXPECT_FALSE(glsIsDriverLoaded());
    EXPECT_NE(Slot(0), nullptr);
    EXPECT_TRUE(AllSlotsHold(Slot(0)));
}

TEST_F(Loading, SplashVariableAndOverrideDispatchAreSetWhileLoadedAndRestoredAfter)
{
    UseFixture("system_like");
    // Neither there before: "1" and 1 while loaded; afterwards the variable is gone and the
    // value stays, as 0.
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    EXPECT_EQ(RuntimeEnv(kSplash), "1");
    EXPECT_EQ(SystemEnv(kSplash), "1");
    EXPECT_EQ(TestOverrideDispatch(), 1u);
    glsUnloadDriver();
    EXPECT_EQ(RuntimeEnv(kSplash), std::nullopt);
    EXPECT_EQ(SystemEnv(kSplash), std::nullopt);
    EXPECT_EQ(TestOverrideDispatch(), 0u);

    // Both there before, and loaded twice: the second load puts back and saves again, so the
    // values from before the first load return.
    SetBothEnv(kSplash, "before");
    WriteDword(HKEY_CURRENT_USER, kTestRegistryKey, "OverrideDispatch", 7);
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    EXPECT_EQ(RuntimeEnv(kSplash), "1");
    EXPECT_EQ(TestOverrideDispatch(), 1u);
    glsUnloadDriver();
    EXPECT_EQ(RuntimeEnv(kSplash), "before");
    EXPECT_EQ(SystemEnv(kSplash), "before");
    EXPECT_EQ(TestOverrideDispatch(), 7u);

    // Unloading with nothing loaded changes nothing.
    glsUnloadDriver();
    EXPECT_EQ(RuntimeEnv(kSplash), "before");
    EXPECT_EQ(TestOverrideDispatch(), 7u);
}

TEST_F(Loading, ADriverThatCannotBeLoadedLeavesTheChangesUntilTheNextUnload)
{
    SetBothEnv(kSplash, "before");
    WriteDword(HKEY_CURRENT_USER, kTestRegistryKey, "OverrideDispatch", 3);
    EXPECT_EQ(glsLoadDriverFiles(FixtureFile("system_like", "absent.dll").c_str(), nullptr), GLS_ERROR_NOT_LOADED);
    EXPECT_FALSE(glsIsDriverLoaded());
    EXPECT_EQ(RuntimeEnv(kSplash), "1");
    EXPECT_EQ(TestOverrideDispatch(), 1u);
    EXPECT_EQ(glsLoadDriverFiles(nullptr, FixtureFile("system_like", "glu32.dll").c_str()), GLS_ERROR_NOT_LOADED);
    EXPECT_EQ(glsLoadDriverFiles("", ""), GLS_ERROR_NOT_LOADED);
    glsUnloadDriver();
    EXPECT_EQ(RuntimeEnv(kSplash), "before");
    EXPECT_EQ(TestOverrideDispatch(), 3u);
}

// A program may set the variable through the system (SetEnvironmentVariableA) or the runtime
// (_putenv); either way the load saves what is there and the unload puts it back.
TEST_F(Loading, ASplashValueSetEitherWayIsSavedAndPutBack)
{
    struct Way {
        const char* name;
        void (*set)(const char* pValue);
    } ways[] = {
        {"SetEnvironmentVariableA", [](const char* pValue) { SetEnvironmentVariableA(kSplash, pValue); }},
        {"_putenv", [](const char* pValue) { _putenv((std::string(kSplash) + "=" + pValue).c_str()); }},
    };
    UseFixture("system_like");
    EXPECT_EQ(glsGetEnv(kSplash), nullptr);
    for (const Way& way : ways) {
        SetBothEnv(kSplash, nullptr);
        way.set(way.name);
        ASSERT_NE(glsGetEnv(kSplash), nullptr) << way.name;
        EXPECT_STREQ(glsGetEnv(kSplash), way.name);
        ASSERT_EQ(glsLoadDriver(0), GLS_OK);
        EXPECT_EQ(SystemEnv(kSplash), "1") << way.name;
        glsUnloadDriver();
        EXPECT_EQ(SystemEnv(kSplash), way.name);
        EXPECT_EQ(RuntimeEnv(kSplash), way.name);
    }
}

TEST_F(Loading, OptionsKeepTheSplashVariableOrOverrideDispatchAlone)
{
    UseFixture("system_like");
    SetBothEnv(kSplash, "keep");
    WriteDword(HKEY_CURRENT_USER, kTestRegistryKey, "OverrideDispatch", 9);

    glsSetOptions(GLS_OPTION_KEEP_GLIDE_SPLASH);
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    EXPECT_EQ(RuntimeEnv(kSplash), "keep");
    EXPECT_EQ(TestOverrideDispatch(), 1u);
    glsUnloadDriver();
    EXPECT_EQ(TestOverrideDispatch(), 9u);

    glsSetOptions(GLS_OPTION_KEEP_OVERRIDE_DISPATCH);
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    EXPECT_EQ(RuntimeEnv(kSplash), "1");
    EXPECT_EQ(TestOverrideDispatch(), 9u);
    glsUnloadDriver();
    EXPECT_EQ(RuntimeEnv(kSplash), "keep");

    // Neither read nor written: an absent variable and value stay absent.
    SetBothEnv(kSplash, nullptr);
    DeleteValue(HKEY_CURRENT_USER, kTestRegistryKey, "OverrideDispatch");
    glsSetOptions(GLS_OPTION_KEEP_GLIDE_SPLASH | GLS_OPTION_KEEP_OVERRIDE_DISPATCH);
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    glsUnloadDriver();
    EXPECT_EQ(SystemEnv(kSplash), std::nullopt);
    EXPECT_EQ(TestOverrideDispatch(), std::nullopt);
}

TEST_F(Loading, WhatALoadChangedIsRestoredEvenAfterTheOptionsChange)
{
    UseFixture("system_like");
    SetBothEnv(kSplash, "before");
    WriteDword(HKEY_CURRENT_USER, kTestRegistryKey, "OverrideDispatch", 4);
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    // Setting the trap option unloads at once.
    EXPECT_EQ(glsSetOptions(GLS_OPTION_TRAP_UNBOUND | GLS_OPTION_KEEP_GLIDE_SPLASH | GLS_OPTION_KEEP_OVERRIDE_DISPATCH), 0u);
    EXPECT_FALSE(glsIsDriverLoaded());
    EXPECT_TRUE(AllSlotsHold(Slot(0)));
    EXPECT_EQ(RuntimeEnv(kSplash), "before");
    EXPECT_EQ(SystemEnv(kSplash), "before");
    EXPECT_EQ(TestOverrideDispatch(), 4u);
    EXPECT_EQ(glsGetOptions(), 0x70u);
}

TEST_F(Loading, ASplashValueTooLongToPutBackIsLeftAlone)
{
    UseFixture("system_like");
    std::string value(240, 'v');
    SetBothEnv(kSplash, value.c_str());
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    EXPECT_EQ(RuntimeEnv(kSplash), value);
    glsUnloadDriver();
    EXPECT_EQ(RuntimeEnv(kSplash), value);
    EXPECT_EQ(SystemEnv(kSplash), value);
}

TEST_F(Loading, ACompanionInAnotherFolderIsRefusedUnlessAllowed)
{
    std::string driver = FixtureFile("elsewhere_driver", "3dfxogl.dll");
    std::string glu = FixtureFile("elsewhere_glu", "3dfxoglu.dll");
    EXPECT_EQ(glsLoadDriverFiles(driver.c_str(), glu.c_str()), GLS_ERROR_NOT_LOADED);
    EXPECT_FALSE(glsIsDriverLoaded());
    EXPECT_EQ(GetModuleHandleA(driver.c_str()), nullptr);

    glsSetOptions(GLS_OPTION_GLU_ANY_FOLDER);
    ASSERT_EQ(glsLoadDriverFiles(driver.c_str(), glu.c_str()), GLS_OK);
    EXPECT_EQ(CountBoundSlots(), 408);
    EXPECT_STREQ(_glsGLUDriverFilePath, glu.c_str());
    EXPECT_EQ(_glsLoadedDriverIndex, -1);
}

TEST_F(Loading, IgnoringCompanionsLoadsTheDriverAlone)
{
    UseFixture("all_four");
    glsSetOptions(GLS_OPTION_IGNORE_GLU);
    ASSERT_EQ(glsLoadDriver(1), GLS_OK);
    EXPECT_EQ(CountBoundSlots(), 357);
    EXPECT_STREQ(_glsGLUDriverFilePath, "");
    EXPECT_EQ(GetModuleHandleA(FixtureFile("all_four", "3dfxoglu.dll").c_str()), nullptr);

    // Also when the companion is named explicitly.
    ASSERT_EQ(glsLoadDriverFiles(FixtureFile("all_four", "3dfxogl.dll").c_str(),
                                 FixtureFile("all_four", "3dfxoglu.dll").c_str()), GLS_OK);
    EXPECT_EQ(CountBoundSlots(), 357);
    EXPECT_EQ(GetModuleHandleA(FixtureFile("all_four", "3dfxoglu.dll").c_str()), nullptr);
}

TEST_F(Loading, DriverLoadedByPathIsDescribedByInspection)
{
    DriverInfo info;
    EXPECT_EQ(glsGetLoadedDriverInfo(&info), GLS_ERROR_NO_DRIVER);
    EXPECT_EQ(glsGetLoadedDriverFlags(), 0x80000070u);

    ASSERT_EQ(glsLoadDriverFiles(FixtureFile("all_four", "3dfxogl.dll").c_str(),
                                 FixtureFile("all_four", "3dfxoglu.dll").c_str()), GLS_OK);
    EXPECT_EQ(_glsLoadedDriverIndex, -1);
    EXPECT_EQ(glsGetLoadedDriverInfo(nullptr), GLS_ERROR_NO_DRIVER);
    ASSERT_EQ(glsGetLoadedDriverInfo(&info), GLS_OK);
    EXPECT_EQ(info.flags, GLS_DRIVER_UNVERIFIED);
    EXPECT_STREQ(info.aDriverDescription, "KX Test Labs - KX Test OpenGL Driver");
    EXPECT_STREQ(info.gluFile.aFilePath, Upper(FixtureFile("all_four", "3dfxoglu.dll")).c_str());
    EXPECT_EQ(glsGetLoadedDriverFlags(), GLS_DRIVER_UNVERIFIED);

    UseFixture("all_four");
    EXPECT_EQ(glsGetLoadedDriverFlags(), GLS_DRIVER_UNVERIFIED | GLS_DRIVER_IN_SYSTEM_FOLDER);
}

TEST_F(Loading, DetectionRunAgainWhileLoadedDoesNotMisdescribeTheDriver)
{
    UseFixture("all_four");
    ASSERT_EQ(glsLoadDriver(2), GLS_OK);
    // The folder now holds a single driver: number 2 no longer exists.
    UseFixture("system_like");
    ASSERT_EQ(glsFindDrivers(), 1u);
    DriverInfo info;
    ASSERT_EQ(glsGetLoadedDriverInfo(&info), GLS_OK);
    EXPECT_STREQ(info.driverFile.aFilePath, Upper(FixtureFile("all_four", "opengl.dll")).c_str());
    EXPECT_EQ(info.flags & GLS_DRIVER_UNVERIFIED, GLS_DRIVER_UNVERIFIED);

    // Number 0 now names another driver than the loaded one.
    UseFixture("all_four");
    glsFindDrivers();
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    UseFixture("no_companion");
    glsFindDrivers();
    ASSERT_EQ(glsGetLoadedDriverInfo(&info), GLS_OK);
    EXPECT_STREQ(info.driverFile.aFilePath, Upper(FixtureFile("all_four", "opengl32.dll")).c_str());
}

TEST_F(Loading, LoadingByNumberChecksTheNumber)
{
    UseFixture("system_like");
    EXPECT_EQ(glsLoadDriver(1), GLS_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(_glsNumberOfDriverInfos, 1u);
    TempFolder empty("kxgls_none");
    glsTestSetSystemFolder(empty.Path().c_str());
    glsFindDrivers();
    EXPECT_EQ(glsLoadDriver(0), GLS_ERROR_BAD_ARGUMENT);
    EXPECT_FALSE(glsIsDriverLoaded());
}

// Without the test seam the value lives in the machine-wide key.
TEST_F(Loading, OverrideDispatchDefaultsToTheMachineWideKey)
{
    const char* pKey = "Software\\Silicon Graphics\\OpenGL";
    glsTestSetRegistryKey(nullptr, nullptr);
    std::optional<DWORD> before = ReadDword(HKEY_LOCAL_MACHINE, pKey, "OverrideDispatch");
    WriteDword(HKEY_LOCAL_MACHINE, pKey, "OverrideDispatch", 6);
    UseFixture("system_like");
    ASSERT_EQ(glsLoadDriver(0), GLS_OK);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, pKey, "OverrideDispatch"), 1u);
    glsUnloadDriver();
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, pKey, "OverrideDispatch"), 6u);
    EXPECT_EQ(TestOverrideDispatch(), std::nullopt);
    if (before)
        WriteDword(HKEY_LOCAL_MACHINE, pKey, "OverrideDispatch", *before);
    else
        DeleteValue(HKEY_LOCAL_MACHINE, pKey, "OverrideDispatch");
}

TEST_F(Loading, ACallerWrittenInCSeesTheSameRecordsAndSlots)
{
    EXPECT_EQ(CCallerSizeOfDriverInfo(), sizeof(DriverInfo));
    EXPECT_EQ(CCallerOffsetOfGluFile(), offsetof(DriverInfo, gluFile));
    HGLRC context = nullptr;
    EXPECT_EQ(CCallerLoadAndCall(FixtureFile("all_four", "3dfxogl.dll").c_str(),
                                 FixtureFile("all_four", "3dfxoglu.dll").c_str(), &context), 408);
    EXPECT_EQ(context, reinterpret_cast<HGLRC>(static_cast<INT_PTR>(0x6C0)));
    EXPECT_FALSE(glsIsDriverLoaded());
}

} // namespace
