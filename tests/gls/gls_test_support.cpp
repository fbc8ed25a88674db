#include "tests/gls/gls_test_support.h"

#include <algorithm>
#include <cstring>
#include <vector>

const char* const kSplash = "FX_GLIDE_NO_SPLASH";
const char* const kTestRegistryKey = "Software\\KXConfig Tests\\gls\\OpenGL";

namespace {

void ThrowAssertion(const char* pMessage)
{
    throw GlsAssertion(pMessage);
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\'));
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

std::string FixtureFolder(const std::string& scenario)
{
    return ProgramFolder() + "\\gls_fixtures\\" + scenario;
}

std::string FixtureFile(const std::string& scenario, const std::string& file)
{
    return FixtureFolder(scenario) + "\\" + file;
}

std::string RealSystemFolder()
{
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder, length);
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(toupper(c)); });
    return text;
}

FARPROC Slot(int slot)
{
    FARPROC address;
    std::memcpy(&address, reinterpret_cast<const char*>(&_glsEntryPoints) + slot * sizeof address, sizeof address);
    return address;
}

int CountBoundSlots()
{
    int bound = 0;
    for (int slot = 0; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot)
        bound += Slot(slot) != nullptr;
    return bound;
}

bool AllSlotsHold(FARPROC address)
{
    for (int slot = 0; slot < GLS_NUMBER_OF_ENTRY_POINTS; ++slot)
        if (Slot(slot) != address)
            return false;
    return true;
}

std::optional<std::string> RuntimeEnv(const char* pName)
{
    const char* pValue = std::getenv(pName);
    return pValue ? std::optional<std::string>(pValue) : std::nullopt;
}

std::optional<std::string> SystemEnv(const char* pName)
{
    char value[1024];
    DWORD length = GetEnvironmentVariableA(pName, value, sizeof value);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
    return std::string(value, length);
}

void SetBothEnv(const char* pName, const char* pValue)
{
    std::string assignment = std::string(pName) + "=" + (pValue ? pValue : "");
    _putenv(assignment.c_str());
    SetEnvironmentVariableA(pName, pValue);
}

std::optional<DWORD> ReadDword(HKEY root, const char* pKey, const char* pValue)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, pKey, pValue, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void WriteDword(HKEY root, const char* pKey, const char* pValue, DWORD value)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, pKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, pValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void DeleteValue(HKEY root, const char* pKey, const char* pValue)
{
    HKEY key;
    if (RegOpenKeyExA(root, pKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, pValue);
        RegCloseKey(key);
    }
}

std::optional<DWORD> TestOverrideDispatch()
{
    return ReadDword(HKEY_CURRENT_USER, kTestRegistryKey, "OverrideDispatch");
}

TempFolder::TempFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId());
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

void GlsTest::SetUp()
{
    glsTestSetAssertHandler(ThrowAssertion);
    glsTestSetSystemFolder(nullptr);
    glsTestSetRegistryKey(HKEY_CURRENT_USER, kTestRegistryKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestRegistryKey);
    SetBothEnv(kSplash, nullptr);
    glsTestRestoreStartState();
}

void GlsTest::TearDown()
{
    glsTestRestoreStartState();
    glsTestSetSystemFolder(nullptr);
    glsTestSetRegistryKey(nullptr, nullptr);
    glsTestSetAssertHandler(nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestRegistryKey);
    SetBothEnv(kSplash, nullptr);
}

void GlsTest::UseFixture(const std::string& scenario)
{
    glsTestSetSystemFolder(FixtureFolder(scenario).c_str());
}
