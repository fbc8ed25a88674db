#include "tests/e2e/RunningProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace e2e {

bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (ready()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Section, key and class names are plain ASCII; their letter case does not count.
bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

struct TopLevelSearch {
    DWORD id;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->id && (!search->visibleOnly || IsWindowVisible(hwnd))) search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

}  // namespace

// --- Folders

TempFolder::TempFolder()
{
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    char longTemp[MAX_PATH] = {};
    if (GetLongPathNameA(temp, longTemp, MAX_PATH)) strcpy(temp, longTemp);
    std::string base = std::string(temp) + "kx-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(counter++);
    std::error_code ignored;
    fs::remove_all(base, ignored);
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
    std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
    out << bytes;
    EXPECT_TRUE(out.good()) << "cannot write " << PathOf(name);
}

std::string TempFolder::Read(const std::string& name) const { return ReadBytes(PathOf(name)); }

bool TempFolder::Exists(const std::string& name) const { return fs::exists(PathOf(name)); }

bool TempFolder::IsFolder(const std::string& name) const { return fs::is_directory(PathOf(name)); }

void TempFolder::Remove(const std::string& name) const
{
    std::error_code ignored;
    fs::remove_all(PathOf(name), ignored);
}

void TempFolder::MakeFolder(const std::string& name) const
{
    Remove(name);
    fs::create_directories(PathOf(name));
}

std::vector<std::string> TempFolder::Names() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

GameFolder::GameFolder()
{
    EXPECT_TRUE(CopyFileA(KX_E2E_PROGRAM, Program().c_str(), FALSE)) << "cannot copy " << KX_E2E_PROGRAM;
    for (const char* name : {"Language.txt", "keymap.ini"}) Write(name, Shipped(name));
}

std::string GameFolder::Shipped(const std::string& name)
{
    std::string bytes = ReadBytes(std::string(KX_E2E_DATA_DIR) + "/" + name);
    EXPECT_FALSE(bytes.empty()) << "the shipped file " << name << " is missing";
    return bytes;
}

// --- The process

RunningProgram::RunningProgram(const std::string& program, const std::string& arguments, const TempFolder& workingFolder)
{
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.Path().c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

RunningProgram::RunningProgram(const std::wstring& program, const std::wstring& workingFolder)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start the program (error " << GetLastError() << ")";
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

RunningProgram::~RunningProgram()
{
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, static_cast<DWORD>(kWait.count()));
    }
    CloseHandle(process_);
}

bool RunningProgram::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::vector<HWND> RunningProgram::TopLevelWindows(bool visibleOnly) const
{
    TopLevelSearch search{id_, visibleOnly, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND RunningProgram::WaitForWindow(const std::string& className, std::chrono::milliseconds timeout) const
{
    if (!process_) return nullptr;
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindows(true))
                if (className.empty() || SameText(ClassOf(hwnd), className)) {
                    found = hwnd;
                    return true;
                }
            return !Running();
        },
        timeout);
    return found;
}

std::string RunningProgram::DescribeWindows() const
{
    std::string text = Running() ? "visible windows of the program:" : "the program has ended";
    for (HWND hwnd : TopLevelWindows(true)) {
        text += " [" + ClassOf(hwnd) + " \"" + TextOf(hwnd) + "\"";
        if (ClassOf(hwnd) == "#32770") text += ": \"" + MessageBoxText(hwnd) + "\"";
        text += "]";
    }
    return text;
}

std::optional<DWORD> RunningProgram::WaitForExit(std::chrono::milliseconds timeout)
{
    if (!process_) return std::nullopt;
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        std::string windows = DescribeWindows();
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, static_cast<DWORD>(kWait.count()));
        ADD_FAILURE() << "the program did not end in time and was stopped; " << windows;
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::optional<DWORD> RunningProgram::CloseWithoutSaving(HWND main)
{
    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitUntil([&] {
        for (HWND hwnd : TopLevelWindows(true))
            if (ClassOf(hwnd) == "#32770" && GetDlgItem(hwnd, IDYES)) {
                Click(GetDlgItem(hwnd, IDYES));
                return true;
            }
        return !Running();
    });
    return WaitForExit();
}

// --- Windows of the program

std::string ClassOf(HWND hwnd)
{
    char name[256] = {};
    int n = GetClassNameA(hwnd, name, sizeof name);
    return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string NameOf(HWND hwnd)
{
    auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, "Name")));
    if (!atom) return {};
    char name[256] = {};
    UINT n = GlobalGetAtomNameA(atom, name, sizeof name);
    return std::string(name, n);
}

std::string TextOf(HWND hwnd)
{
    char text[4096] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, static_cast<UINT>(kWait.count()), &length)) {
        ADD_FAILURE() << "WM_GETTEXT got no answer from " << NameOf(hwnd);
        return {};
    }
    return std::string(text, std::min<std::size_t>(length, sizeof text - 1));
}

LONG StyleOf(HWND hwnd) { return GetWindowLongA(hwnd, GWL_STYLE); }

bool HasStyle(HWND hwnd, LONG bits) { return (StyleOf(hwnd) & bits) == bits; }

std::vector<HWND> Descendants(HWND root)
{
    std::vector<HWND> found;
    EnumChildWindows(root, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> AllNamed(HWND root, const std::string& name)
{
    std::vector<HWND> found;
    for (HWND hwnd : Descendants(root))
        if (NameOf(hwnd) == name) found.push_back(hwnd);
    return found;
}

HWND Named(HWND root, const std::string& name)
{
    std::vector<HWND> found;
    WaitUntil([&] {
        found = AllNamed(root, name);
        return !found.empty() || !IsWindow(root);
    });
    if (found.size() != 1) {
        ADD_FAILURE() << found.size() << " windows named " << name << " in the " << ClassOf(root) << " window";
        return nullptr;
    }
    return found.front();
}

LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!hwnd || !SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                      static_cast<UINT>(kWait.count()), &result)) {
        ADD_FAILURE() << "message " << message << " got no answer from " << (hwnd ? NameOf(hwnd) : "no window");
        return -1;
    }
    return static_cast<LRESULT>(result);
}

void Click(HWND button)
{
    if (!button || !PostMessageA(button, BM_CLICK, 0, 0))
        ADD_FAILURE() << "cannot click " << (button ? NameOf(button) : "a missing button");
}

bool IsChecked(HWND button) { return Ask(button, BM_GETCHECK) == BST_CHECKED; }

std::string MessageBoxText(HWND box)
{
    // The text is the one static control of the box that is not its icon.
    for (HWND child : Descendants(box))
        if (SameText(ClassOf(child), "Static") && (StyleOf(child) & SS_TYPEMASK) != SS_ICON) return TextOf(child);
    return {};
}

std::vector<int> MessageBoxButtons(HWND box)
{
    std::vector<int> buttons;
    for (HWND child : Descendants(box))
        if (SameText(ClassOf(child), "Button") && HasStyle(child, WS_VISIBLE)) buttons.push_back(GetDlgCtrlID(child));
    return buttons;
}

// --- Profile files

namespace {

// The lines of one section, or nothing when the file has no such section.
std::optional<std::vector<std::string>> SectionLines(const std::string& fileText, const std::string& section)
{
    std::istringstream in(fileText);
    std::string line;
    bool inside = false, found = false;
    std::vector<std::string> lines;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string trimmed = Trimmed(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            std::size_t close = trimmed.find(']');
            inside = close != std::string::npos && SameText(Trimmed(trimmed.substr(1, close - 1)), section);
            found = found || inside;
            continue;
        }
        if (inside) lines.push_back(line);
    }
    if (!found) return std::nullopt;
    return lines;
}

}  // namespace

std::optional<std::string> IniValue(const std::string& fileText, const std::string& section, const std::string& key)
{
    auto lines = SectionLines(fileText, section);
    if (!lines) return std::nullopt;
    for (const std::string& line : *lines) {
        std::size_t equals = line.find('=');
        if (equals != std::string::npos && SameText(Trimmed(line.substr(0, equals)), key))
            return Trimmed(line.substr(equals + 1));
    }
    return std::nullopt;
}

bool IniHasSection(const std::string& fileText, const std::string& section)
{
    return SectionLines(fileText, section).has_value();
}

}  // namespace e2e
