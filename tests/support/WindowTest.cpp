#include "tests/support/WindowTest.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = std::string(temp) + "kxconfig-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(counter++);
    fs::remove_all(base);
    fs::create_directories(base);
    path_ = base + "\\";
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(path_ + name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempFolder::Read(const std::string& name) const { return ReadFileBytes(path_ + name); }

bool TempFolder::Exists(const std::string& name) const { return fs::exists(path_ + name); }

void TempFolder::Remove(const std::string& name) const
{
    std::error_code ignored;
    fs::remove_all(path_ + name, ignored);
}

void TempFolder::BlockFile(const std::string& name) const
{
    Remove(name);
    fs::create_directories(path_ + name);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string SourceFile(const std::string& relativePath) { return std::string(KX_SOURCE_DIR) + "/" + relativePath; }

bool ScriptedDisplayModes::Mode(int index, DisplayMode& mode)
{
    if (index < 0 || index >= static_cast<int>(modes.size())) return false;
    mode = modes[static_cast<std::size_t>(index)];
    return true;
}

void WindowTest::SetUp()
{
    ui::Application().Initialize();
    ui::Application().SetDialogs(&dialogs);
    ui::Application().ResetTerminated();
}

void WindowTest::TearDown()
{
    Close();
    EXPECT_EQ(dialogs.Unexpected(), 0) << "a message box or dialog came that the test did not expect";
    EXPECT_EQ(dialogs.PendingAnswers(), 0) << "an expected message box or dialog did not come";
    ui::Application().SetDialogs(nullptr);
    ui::Application().ResetTerminated();
}

TfConfig& WindowTest::Open(std::vector<std::string> arguments)
{
    if (!folder.Exists("Language.txt")) folder.Write("Language.txt", ReadFileBytes(SourceFile("data/Language.txt")));
    if (storeDifficulty && !folder.Exists("torvel.ini")) folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n");
    TfConfigPlatform platform;
    platform.displayModes = &displayModes;
    platform.processes = realProcesses ? nullptr : &processes;
    window = std::make_unique<TfConfig>(ui::Widen(folder.Path()), std::move(arguments), platform);
    return *window;
}

void WindowTest::Close() { window.reset(); }

void WindowTest::Click(ui::TControl* control) { SendMessageA(control->Handle(), BM_CLICK, 0, 0); }

void WindowTest::RightClick(ui::TControl* control)
{
    SendMessageA(control->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageA(control->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
}

void WindowTest::MouseMove(ui::TControl* control)
{
    // The pointer is where the move says, as when the mouse moves it.
    POINT at{6, 6};
    ClientToScreen(control->Handle(), &at);
    SetCursorPos(at.x, at.y);
    SendMessageA(control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
}

void WindowTest::Pick(ui::TComboBox* list, const std::string& item)
{
    HWND combo = list->Handle();
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
    ASSERT_NE(index, CB_ERR) << item << " is no item of " << list->Name();
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    SendMessageA(info.hwndList, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT r{};
    SendMessageA(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(info.hwndList, WM_LBUTTONUP, 0, at);
    ui::Application().ProcessMessages();
}

void WindowTest::Type(ui::TComboBox* list, const std::string& text)
{
    HWND edit = FindWindowExA(list->Handle(), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr) << list->Name() << " has no edit";
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}
