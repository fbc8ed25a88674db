// The program file itself: a GUI program for its target with a manifest and a version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Resources {
    HMODULE module = LoadLibraryExA(KX_E2E_PROGRAM, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ~Resources()
    {
        if (module) FreeLibrary(module);
    }
    std::string Manifest() const
    {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_MANIFEST));
        if (!found) return {};
        HGLOBAL data = LoadResource(module, found);
        return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(module, found));
    }
};

}  // namespace

TEST(ProgramFile, CarriesAManifestForCommonControlsSixAndDpiAwareness)
{
    Resources program;
    ASSERT_NE(program.module, nullptr);
    std::string manifest = program.Manifest();
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
}

// Under Program Files, the game and the 32-bit program that edits its files must both be
// virtualised, or they read two sets of files: a manifest that names an execution level turns
// virtualisation off. A 64-bit program is never virtualised, and keeps it.
TEST(ProgramFile, NamesAnExecutionLevelOnlyWhereVirtualisationCannotApply)
{
    Resources program;
    ASSERT_NE(program.module, nullptr);
    const std::string manifest = program.Manifest();
    ASSERT_NE(manifest.find("</assembly>"), std::string::npos);
#ifdef _WIN64
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
#else
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
    EXPECT_EQ(manifest.find("trustInfo"), std::string::npos);
#endif
}

TEST(ProgramFile, CarriesAVersionResourceAndIsAGuiProgramForItsTarget)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(KX_E2E_PROGRAM, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(KX_E2E_PROGRAM, 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // The headers: the GUI subsystem, and the machine the program was built for.
    HANDLE file = CreateFileA(KX_E2E_PROGRAM, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<char> head(4096);
    DWORD got = 0;
    ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
    CloseHandle(file);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(head.data());
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(head.data() + dos->e_lfanew);
    ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
#ifdef _WIN64
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
#else
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
#endif
}

// The icon group the shell shows for the program: our icon at 16, 32, 48 and 256 pixels.
TEST(ProgramFile, CarriesItsIconInFourSizesAsTheFirstIconGroup)
{
    Resources program;
    ASSERT_NE(program.module, nullptr);
    HRSRC group = FindResourceA(program.module, MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    ASSERT_NE(group, nullptr);
    // A group: a header of three words, then 14 bytes per image: width, height (0 meaning 256), ...
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(program.module, group)));
    ASSERT_GE(SizeofResource(program.module, group), 6u);
    const int count = bytes[4] | bytes[5] << 8;
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const unsigned char* entry = bytes + 6 + 14 * i;
        EXPECT_EQ(entry[0], entry[1]) << "square";
        sizes.push_back(entry[0] ? entry[0] : 256);
        const int id = entry[12] | entry[13] << 8;
        EXPECT_NE(FindResourceA(program.module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_ICON)), nullptr);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
}
