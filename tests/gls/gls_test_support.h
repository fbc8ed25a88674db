// Shared set-up of the gls tests: the fixture folders, the module's seams pointed at places of
// the tests' own, and plain readers of the environment, the registry and the slots.
#pragma once

#include "gls/gls.h"
#include "gls/gls_testing.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

// What the test assertion handler throws, carrying the module's message.
struct GlsAssertion : std::runtime_error {
    using std::runtime_error::runtime_error;
};

extern const char* const kSplash;           // FX_GLIDE_NO_SPLASH
extern const char* const kTestRegistryKey;  // under HKEY_CURRENT_USER, in place of the machine-wide key

std::string FixtureFolder(const std::string& scenario); // full path of one fixture folder
std::string FixtureFile(const std::string& scenario, const std::string& file);
std::string RealSystemFolder();
std::string Upper(std::string text);

FARPROC Slot(int slot);
int CountBoundSlots();
bool AllSlotsHold(FARPROC address);

std::optional<std::string> RuntimeEnv(const char* pName);
std::optional<std::string> SystemEnv(const char* pName);
void SetBothEnv(const char* pName, const char* pValue); // null removes, independently of the module

std::optional<DWORD> ReadDword(HKEY root, const char* pKey, const char* pValue);
void WriteDword(HKEY root, const char* pKey, const char* pValue, DWORD value);
void DeleteValue(HKEY root, const char* pKey, const char* pValue);
std::optional<DWORD> TestOverrideDispatch();

// A folder under the temporary folder that is removed again with what it holds.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    const std::string& Path() const { return path_; }
private:
    std::string path_;
};

// Every test starts from the module's state at program start, with assertions thrown as
// GlsAssertion, OverrideDispatch kept under a test key and FX_GLIDE_NO_SPLASH unset.
class GlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void UseFixture(const std::string& scenario);
};
