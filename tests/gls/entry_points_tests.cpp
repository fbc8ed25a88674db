// The entry-point table: its slots and their names, the forwarding stubs it starts with, and the
// trap that option 0x40 puts into unbound slots.
#include "tests/gls/gls_test_support.h"

#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace {

using EntryPoints = GlsTest;

std::vector<std::string> Names(int first, int end)
{
    return std::vector<std::string>(_glsEntryPointNames + first, _glsEntryPointNames + end);
}

TEST_F(EntryPoints, The408SlotsFormFourNamedGroups)
{
    EXPECT_EQ(sizeof(GLSEntryPoints), 408 * sizeof(void*));
    EXPECT_EQ(Names(0, 5), (std::vector<std::string>{"ChoosePixelFormat", "DescribePixelFormat", "SetPixelFormat",
                                                      "GetPixelFormat", "SwapBuffers"}));
    EXPECT_EQ(Names(5, 21), (std::vector<std::string>{
                                "wglGetCurrentContext", "wglCopyContext", "wglCreateContext", "wglCreateLayerContext",
                                "wglDeleteContext", "wglGetCurrentDC", "wglGetProcAddress", "wglMakeCurrent",
                                "wglShareLists", "wglUseFontBitmapsA", "wglUseFontOutlinesA", "wglDescribeLayerPlane",
                                "wglSetLayerPaletteEntries", "wglGetLayerPaletteEntries", "wglRealizeLayerPalette",
                                "wglSwapLayerBuffers"}));
    EXPECT_EQ(Names(357, 408), (std::vector<std::string>{
        "gluBeginCurve", "gluBeginPolygon", "gluBeginSurface", "gluBeginTrim", "gluBuild1DMipmaps",
        "gluBuild2DMipmaps", "gluCylinder", "gluDeleteNurbsRenderer", "gluDeleteQuadric", "gluDeleteTess", "gluDisk",
        "gluEndCurve", "gluEndPolygon", "gluEndSurface", "gluEndTrim", "gluErrorString", "gluGetNurbsProperty",
        "gluGetString", "gluGetTessProperty", "gluLoadSamplingMatrices", "gluLookAt", "gluNewNurbsRenderer",
        "gluNewQuadric", "gluNewTess", "gluNextContour", "gluNurbsCallback", "gluNurbsCurve", "gluNurbsProperty",
        "gluNurbsSurface", "gluOrtho2D", "gluPartialDisk", "gluPerspective", "gluPickMatrix", "gluProject",
        "gluPwlCurve", "gluQuadricCallback", "gluQuadricDrawStyle", "gluQuadricNormals", "gluQuadricOrientation",
        "gluQuadricTexture", "gluScaleImage", "gluSphere", "gluTessBeginContour", "gluTessBeginPolygon",
        "gluTessCallback", "gluTessEndContour", "gluTessEndPolygon", "gluTessNormal", "gluTessProperty",
        "gluTessVertex", "gluUnProject"}));

    // The slots are the named members, in the same order.
    EXPECT_EQ(offsetof(GLSEntryPoints, SwapBuffers), 4 * sizeof(void*));
    EXPECT_EQ(offsetof(GLSEntryPoints, wglSwapLayerBuffers), 20 * sizeof(void*));
    EXPECT_EQ(offsetof(GLSEntryPoints, glAccum), 21 * sizeof(void*));
    EXPECT_EQ(offsetof(GLSEntryPoints, glViewport), 356 * sizeof(void*));
    EXPECT_EQ(offsetof(GLSEntryPoints, gluUnProject), 407 * sizeof(void*));
}

TEST_F(EntryPoints, TheGlGroupIsOpenGL11InAlphabeticalOrder)
{
    std::vector<std::string> gl = Names(21, 357);
    ASSERT_EQ(gl.size(), 336u);
    EXPECT_EQ(gl.front(), "glAccum");
    EXPECT_EQ(gl.back(), "glViewport");
    for (size_t i = 1; i < gl.size(); ++i)
        EXPECT_LT(std::strcmp(gl[i - 1].c_str(), gl[i].c_str()), 0) << gl[i - 1] << " before " << gl[i];
    for (const std::string& name : gl)
        EXPECT_TRUE(name.rfind("gl", 0) == 0 && name.rfind("glu", 0) != 0 && isupper(static_cast<unsigned char>(name[2])))
            << name;

    // The 30 functions that 1.1 added to the 306 of 1.0.
    const char* added[] = {"glAreTexturesResident", "glArrayElement", "glBindTexture", "glColorPointer",
                           "glCopyTexImage1D", "glCopyTexImage2D", "glCopyTexSubImage1D", "glCopyTexSubImage2D",
                           "glDeleteTextures", "glDisableClientState", "glDrawArrays", "glDrawElements",
                           "glEdgeFlagPointer", "glEnableClientState", "glGenTextures", "glGetPointerv",
                           "glIndexPointer", "glIndexub", "glIndexubv", "glInterleavedArrays", "glIsTexture",
                           "glNormalPointer", "glPolygonOffset", "glPopClientAttrib", "glPrioritizeTextures",
                           "glPushClientAttrib", "glTexCoordPointer", "glTexSubImage1D", "glTexSubImage2D",
                           "glVertexPointer"};
    std::set<std::string> names(gl.begin(), gl.end());
    EXPECT_EQ(names.size(), 336u);
    for (const char* name : added)
        EXPECT_EQ(names.count(name), 1u) << name;

    // The system's opengl32.dll exports every one of them by that name; extension functions
    // it would not export.
    HMODULE system = LoadLibraryA((RealSystemFolder() + "\\opengl32.dll").c_str());
    ASSERT_NE(system, nullptr);
    for (int slot = GLS_FIRST_WGL_ENTRY; slot < GLS_FIRST_GLU_ENTRY; ++slot)
        EXPECT_NE(GetProcAddress(system, _glsEntryPointNames[slot]), nullptr) << _glsEntryPointNames[slot];
    FreeLibrary(system);
}

TEST_F(EntryPoints, AtStartOnlyTheFourForwardingStubsAreSet)
{
    std::vector<int> set;
    for (int slot = 0; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot)
        if (Slot(slot))
            set.push_back(slot);
    EXPECT_EQ(set, (std::vector<int>{0, 1, 2, 5}));
    EXPECT_FALSE(glsIsDriverLoaded());
    EXPECT_EQ(_glsLoadedDriverIndex, -1);
}

// Each stub loads the first detected driver (here a driver of the 3dfx kind, whose pixel-format
// functions come from the driver itself), then calls through its slot with the arguments it got.
// The calls go through WINAPI function pointers, so on i686 they prove the stdcall frames match.
TEST_F(EntryPoints, ForwardingStubsLoadTheFirstDriverAndCallThrough)
{
    UseFixture("no_companion");
    HMODULE module = nullptr;
    auto expectLoaded = [&] {
        EXPECT_TRUE(glsIsDriverLoaded());
        EXPECT_EQ(_glsLoadedDriverIndex, 0);
        module = GetModuleHandleA(FixtureFile("no_companion", "3dfxogl.dll").c_str());
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(CountBoundSlots(), 357);
    };
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    for (int round = 0; round < 20; ++round) {
        glsTestRestoreStartState();
        EXPECT_EQ(_glsEntryPoints.ChoosePixelFormat(reinterpret_cast<HDC>(3), &pfd), 2419);
        expectLoaded();
        EXPECT_EQ(reinterpret_cast<FARPROC>(_glsEntryPoints.ChoosePixelFormat), GetProcAddress(module, "wglChoosePixelFormat"));
    }

    glsTestRestoreStartState();
    PIXELFORMATDESCRIPTOR described{};
    EXPECT_EQ(_glsEntryPoints.DescribePixelFormat(reinterpret_cast<HDC>(5), 9, sizeof described, &described), 12);
    EXPECT_EQ(described.cColorBits, 9);
    EXPECT_EQ(described.cDepthBits, 5);
    expectLoaded();

    glsTestRestoreStartState();
    pfd.cColorBits = 32;
    EXPECT_TRUE(_glsEntryPoints.SetPixelFormat(reinterpret_cast<HDC>(1), 7, &pfd));
    expectLoaded();
    EXPECT_FALSE(_glsEntryPoints.SetPixelFormat(reinterpret_cast<HDC>(1), 8, &pfd));

    glsTestRestoreStartState();
    EXPECT_EQ(_glsEntryPoints.wglGetCurrentContext(), reinterpret_cast<HGLRC>(static_cast<INT_PTR>(0x6C0)));
    expectLoaded();
}

TEST_F(EntryPoints, ForwardingStubsFailQuietlyWhenNoDriverLoads)
{
    TempFolder empty("kxgls_nodriver");
    glsTestSetSystemFolder(empty.Path().c_str());
    PIXELFORMATDESCRIPTOR pfd{};
    EXPECT_EQ(_glsEntryPoints.ChoosePixelFormat(reinterpret_cast<HDC>(3), &pfd), 0);
    EXPECT_FALSE(glsIsDriverLoaded());
    glsTestRestoreStartState();
    EXPECT_EQ(_glsEntryPoints.DescribePixelFormat(reinterpret_cast<HDC>(3), 1, sizeof pfd, &pfd), 0);
    glsTestRestoreStartState();
    EXPECT_FALSE(_glsEntryPoints.SetPixelFormat(reinterpret_cast<HDC>(3), 1, &pfd));
    glsTestRestoreStartState();
    EXPECT_EQ(_glsEntryPoints.wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(glsIsDriverLoaded());
    // With no driver found nothing was loaded or unloaded: the stubs stay and look again.
    EXPECT_EQ(CountBoundSlots(), 4);
    EXPECT_EQ(_glsEntryPoints.wglGetCurrentContext(), nullptr);
    // A driver that fails to load takes the stubs with it, so no stub ever calls an empty slot.
    UseFixture("lacking_gl");
    EXPECT_EQ(_glsEntryPoints.wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(glsIsDriverLoaded());
    EXPECT_EQ(CountBoundSlots(), 0);
}

// How many slots hold an address of each source.
std::map<uint32_t, int> SlotSources()
{
    std::map<uint32_t, int> sources;
    for (uint32_t slot = 0; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot)
        ++sources[glsGetEntryPointSource(slot)];
    return sources;
}

// Only what the driver, its companion or gdi32.dll gave counts as bound; a trap, a stub or an
// address put there by someone else does not.
TEST_F(EntryPoints, EachSlotTellsWhereItsAddressComesFrom)
{
    using Sources = std::map<uint32_t, int>;
    EXPECT_EQ(SlotSources(), (Sources{{GLS_SLOT_EMPTY, 404}, {GLS_SLOT_STUB, 4}}));
    EXPECT_EQ(glsGetEntryPointSource(GLS_FIRST_WGL_ENTRY), GLS_SLOT_STUB);

    struct Case {
        const char* fixture;
        uint32_t index;
        uint32_t options;
        uint32_t result;
        Sources sources;
    } cases[] = {
        {"all_four", 1, 0, GLS_OK, {{GLS_SLOT_DRIVER, 357}, {GLS_SLOT_GLU, 51}}},
        {"all_four", 0, 0, GLS_OK, {{GLS_SLOT_GDI, 5}, {GLS_SLOT_DRIVER, 352}, {GLS_SLOT_GLU, 51}}},
        {"all_four", 1, GLS_OPTION_IGNORE_GLU | GLS_OPTION_TRAP_UNBOUND, GLS_OK,
         {{GLS_SLOT_DRIVER, 357}, {GLS_SLOT_TRAP, 51}}},
        {"lacking_gl", 0, GLS_OPTION_TRAP_UNBOUND, GLS_ERROR_MISSING, {{GLS_SLOT_TRAP, 408}}},
        {"lacking_gl", 0, 0, GLS_ERROR_MISSING, {{GLS_SLOT_EMPTY, 408}}},
    };
    for (const Case& c : cases) {
        glsSetOptions(c.options);
        UseFixture(c.fixture);
        glsFindDrivers();
        EXPECT_EQ(glsLoadDriver(c.index), c.result) << c.fixture << " " << c.index;
        EXPECT_EQ(SlotSources(), c.sources) << c.fixture << " " << c.index << " options " << c.options;
    }

    glsSetOptions(0);
    UseFixture("all_four");
    glsFindDrivers();
    ASSERT_EQ(glsLoadDriver(1), GLS_OK);
    FARPROC bound = Slot(GLS_FIRST_GL_ENTRY);
    _glsEntryPoints.glAccum = reinterpret_cast<decltype(_glsEntryPoints.glAccum)>(Slot(GLS_FIRST_GL_ENTRY + 1));
    EXPECT_EQ(glsGetEntryPointSource(GLS_FIRST_GL_ENTRY), GLS_SLOT_OTHER);
    _glsEntryPoints.glAccum = reinterpret_cast<decltype(_glsEntryPoints.glAccum)>(bound);
    EXPECT_EQ(glsGetEntryPointSource(GLS_FIRST_GL_ENTRY), GLS_SLOT_DRIVER);
    EXPECT_THROW(glsGetEntryPointSource(GLS_NUMBER_OF_ENTRY_POINTS), GlsAssertion);
}

int breakpoints;

LONG CALLBACK SkipBreakpoint(EXCEPTION_POINTERS* pException)
{
    if (pException->ExceptionRecord->ExceptionCode != EXCEPTION_BREAKPOINT)
        return EXCEPTION_CONTINUE_SEARCH;
    ++breakpoints;
#ifdef _WIN64
    DWORD64& ip = pException->ContextRecord->Rip;
#else
    DWORD& ip = pException->ContextRecord->Eip;
#endif
    if (*reinterpret_cast<const BYTE*>(ip) == 0xCC)
        ++ip;
    return EXCEPTION_CONTINUE_EXECUTION;
}

TEST_F(EntryPoints, TrapOptionFillsEverySlotWithADebuggerBreak)
{
    glsSetOptions(GLS_OPTION_TRAP_UNBOUND);
    FARPROC trap = Slot(0);
    ASSERT_NE(trap, nullptr);
    EXPECT_TRUE(AllSlotsHold(trap));

    // Calling an unbound entry point stops in the debugger; here a handler stands in for one.
    PVOID handler = AddVectoredExceptionHandler(1, SkipBreakpoint);
    breakpoints = 0;
    EXPECT_EQ(_glsEntryPoints.wglGetCurrentContext(), nullptr);
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(breakpoints, 1);

    // Back to empty slots once the option is gone.
    glsSetOptions(0);
    glsUnloadDriver();
    EXPECT_EQ(CountBoundSlots(), 0);
}

} // namespace
