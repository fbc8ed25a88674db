// The running program's main window as an outside tool sees it: every control of the layout is a
// window of its kind that carries its component name, inside the group or page it belongs to; those
// of the first page from the moment the window is shown, the others while it waits for input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <thread>

#include "tests/e2e/RunningProgram.h"

using namespace e2e;

namespace {

enum class Kind {
    Label, CheckBox, RadioButton, PushButton, SpeedButton, GroupBox, Edit, Memo, ComboBox, TrackBar, UpDown,
    PageControl, TabSheet
};

const char* KindName(Kind kind)
{
    switch (kind) {
    case Kind::Label: return "label";
    case Kind::CheckBox: return "check box";
    case Kind::RadioButton: return "radio button";
    case Kind::PushButton: return "push button";
    case Kind::SpeedButton: return "speed button";
    case Kind::GroupBox: return "group box";
    case Kind::Edit: return "edit";
    case Kind::Memo: return "memo";
    case Kind::ComboBox: return "combo box";
    case Kind::TrackBar: return "track bar";
    case Kind::UpDown: return "up-down";
    case Kind::PageControl: return "page control";
    case Kind::TabSheet: return "tab sheet";
    }
    return "?";
}

// The kind of control a window is, by its class and style; nothing for a window of no known kind.
std::optional<Kind> KindOf(HWND hwnd)
{
    const std::string cls = ClassOf(hwnd);
    const LONG style = StyleOf(hwnd);
    if (SameText(cls, "Static")) return Kind::Label;
    if (SameText(cls, "Button")) {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_OWNERDRAW) return Kind::SpeedButton;  // the keys draw themselves
        if (type == BS_3STATE) return Kind::CheckBox;
        if (type == BS_RADIOBUTTON) return Kind::RadioButton;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return Kind::PushButton;
        if (type == BS_GROUPBOX) return Kind::GroupBox;
        return std::nullopt;
    }
    if (SameText(cls, "Edit")) {
        const bool multiLine = style & ES_MULTILINE, readOnly = style & ES_READONLY;
        if (multiLine && readOnly) return Kind::Memo;
        if (!multiLine && !readOnly) return Kind::Edit;
        return std::nullopt;
    }
    if (SameText(cls, "ComboBox")) return Kind::ComboBox;
    if (SameText(cls, TRACKBAR_CLASSA)) return Kind::TrackBar;
    if (SameText(cls, UPDOWN_CLASSA)) return Kind::UpDown;
    if (SameText(cls, WC_TABCONTROLA)) return Kind::PageControl;
    if (SameText(cls, "TTabSheet")) return Kind::TabSheet;
    return std::nullopt;
}

struct Control {
    const char* name;
    Kind kind;
    // The group box, tab sheet or page control the control lies in, or "fConfig" for the window itself.
    const char* container;
};

using K = Kind;

// The layout of the main window: every control that is a window, its kind and where it lies.
const Control kLayout[] = {
    // The frame, below the pages.
    {"bTestSettings", K::PushButton, "fConfig"},
    {"bCancel", K::PushButton, "fConfig"},
    {"bApply", K::PushButton, "fConfig"},
    {"bOK", K::PushButton, "fConfig"},
    {"pcConfig", K::PageControl, "fConfig"},
    {"tsSimple", K::TabSheet, "pcConfig"},
    {"tsHotKeys", K::TabSheet, "pcConfig"},
    {"tsGameplay", K::TabSheet, "pcConfig"},
    {"tsOptions", K::TabSheet, "pcConfig"},

    // Basic
    {"gbDifficulty", K::GroupBox, "tsSimple"},
    {"lDifficulty", K::Label, "gbDifficulty"},
    {"lExpert", K::Label, "gbDifficulty"},
    {"lHard", K::Label, "gbDifficulty"},
    {"lNormal", K::Label, "gbDifficulty"},
    {"lEasy", K::Label, "gbDifficulty"},
    {"lNovice", K::Label, "gbDifficulty"},
    {"tbDifficulty", K::TrackBar, "gbDifficulty"},
    {"gbHardware", K::GroupBox, "tsSimple"},
    {"lGeneral", K::Label, "gbHardware"},
    {"lGraphics", K::Label, "gbHardware"},
    {"lSound", K::Label, "gbHardware"},
    {"lHighEnd", K::Label, "gbHardware"},
    {"lAboveAverage", K::Label, "gbHardware"},
    {"lAverage", K::Label, "gbHardware"},
    {"lBudget", K::Label, "gbHardware"},
    {"lMinSpec", K::Label, "gbHardware"},
    {"lBelowMinSpec", K::Label, "gbHardware"},
    {"Label1", K::Label, "gbHardware"},
    {"Label2", K::Label, "gbHardware"},
    {"Label3", K::Label, "gbHardware"},
    {"Label4", K::Label, "gbHardware"},
    {"Label5", K::Label, "gbHardware"},
    {"Label6", K::Label, "gbHardware"},
    {"tbGeneral", K::TrackBar, "gbHardware"},
    {"tbGraphics", K::TrackBar, "gbHardware"},
    {"tbSound", K::TrackBar, "gbHardware"},
    {"cb3dAcceleration2", K::CheckBox, "gbHardware"},
    {"lSettings", K::Label, "tsSimple"},
    {"mSettings", K::Memo, "tsSimple"},

    // Hot Keys
    {"gbKeyboard", K::GroupBox, "tsHotKeys"},
    {"lDelete", K::Label, "tsHotKeys"},
    {"lLayer", K::Label, "tsHotKeys"},
    {"lKeyLine", K::Label, "tsHotKeys"},
    {"lFunction", K::Label, "gbHotKeyGroups"},
    {"sbDummy", K::SpeedButton, "tsHotKeys"},
    {"cbConfirmDeletions", K::CheckBox, "tsHotKeys"},
    {"cbConfirmKey", K::CheckBox, "tsHotKeys"},
    {"cbConfirmSpell", K::CheckBox, "tsHotKeys"},
    {"bKeyList", K::PushButton, "tsHotKeys"},
    {"bRestoreKeys", K::PushButton, "tsHotKeys"},
    {"bImport", K::PushButton, "tsHotKeys"},
    {"gbHotKeyGroups", K::GroupBox, "tsHotKeys"},
    {"rbPage", K::RadioButton, "gbHotKeyGroups"},
    {"rbActions", K::RadioButton, "gbHotKeyGroups"},
    {"rbMiscellaneous", K::RadioButton, "gbHotKeyGroups"},
    {"rbQuickSlots", K::RadioButton, "gbHotKeyGroups"},
    {"rbWizardSpells", K::RadioButton, "gbHotKeyGroups"},
    {"rbPriestSpells", K::RadioButton, "gbHotKeyGroups"},
    {"cbPage", K::ComboBox, "gbHotKeyGroups"},
    {"cbActions", K::ComboBox, "gbHotKeyGroups"},
    {"cbMiscellaneous", K::ComboBox, "gbHotKeyGroups"},
    {"cbQuickSlots", K::ComboBox, "gbHotKeyGroups"},
    {"cbWizardSpells", K::ComboBox, "gbHotKeyGroups"},
    {"cbPriestSpells", K::ComboBox, "gbHotKeyGroups"},
    {"cbFixed", K::ComboBox, "gbHotKeyGroups"},

    // Gameplay
    {"gbCacheOptions", K::GroupBox, "tsGameplay"},
    {"lCacheSize", K::Label, "gbCacheOptions"},
    {"eCacheSize", K::Edit, "gbCacheOptions"},
    {"udCacheSize", K::UpDown, "gbCacheOptions"},
    {"lmb", K::Label, "gbCacheOptions"},
    {"gbAIOptions", K::GroupBox, "tsGameplay"},
    {"lFrameRate", K::Label, "gbAIOptions"},
    {"tbFrameRate", K::TrackBar, "gbAIOptions"},
    {"lUpdatesValue", K::Label, "gbAIOptions"},
    {"lUpdates", K::Label, "gbAIOptions"},
    {"lPathSearchNodes", K::Label, "gbAIOptions"},
    {"ePathSearchNodes", K::Edit, "gbAIOptions"},
    {"udPathSearchNodes", K::UpDown, "gbAIOptions"},
    {"cbEnhancedPathfinding", K::CheckBox, "gbAIOptions"},
    {"gbMultiplayer", K::GroupBox, "tsGameplay"},
    {"cbGameSpy", K::CheckBox, "gbMultiplayer"},
    {"lZipCode", K::Label, "gbMultiplayer"},
    {"eZipCode", K::Edit, "gbMultiplayer"},
    {"lCountry", K::Label, "gbMultiplayer"},
    {"cbCountry", K::ComboBox, "gbMultiplayer"},
    {"gbGameplay", K::GroupBox, "tsGameplay"},
    {"cbCriticalHit", K::CheckBox, "gbGameplay"},
    {"cbTranslucentShadows", K::CheckBox, "gbGameplay"},
    {"cbLowEndMachine", K::CheckBox, "gbGameplay"},
    {"cbLowEndMachine2", K::CheckBox, "gbGameplay"},
    {"cbFootsteps", K::CheckBox, "gbGameplay"},
    {"cbAttackSounds", K::CheckBox, "gbGameplay"},
    {"cbLowMemSounds1", K::CheckBox, "gbGameplay"},
    {"cbLowMemSounds2", K::CheckBox, "gbGameplay"},
    {"cbDuplicateFloatingText", K::CheckBox, "gbGameplay"},
    {"cbDisableCastingGlows", K::CheckBox, "gbGameplay"},
    {"cbDisableVidCells", K::CheckBox, "gbGameplay"},
    {"cbForce50Transparency", K::CheckBox, "gbGameplay"},
    {"cbBrightenOff", K::CheckBox, "gbGameplay"},
    {"cbMidLevelBrighten", K::CheckBox, "gbGameplay"},
    {"cbHighLevelBrighten", K::CheckBox, "gbGameplay"},
    {"lTilesPrecache", K::Label, "gbGameplay"},
    {"eTilesPrecache", K::Edit, "gbGameplay"},
    {"udTilesPrecache", K::UpDown, "gbGameplay"},
    {"lPercent", K::Label, "gbGameplay"},
    {"lHelp2", K::Label, "tsGameplay"},
    {"lTopic2", K::Label, "tsGameplay"},
    {"mHelp2", K::Memo, "tsGameplay"},

    // Graphics
    {"gbColorDepth", K::GroupBox, "tsOptions"},
    {"rb16bit", K::RadioButton, "gbColorDepth"},
    {"rb24bit", K::RadioButton, "gbColorDepth"},
    {"rb32bit", K::RadioButton, "gbColorDepth"},
    {"gbGameResolution", K::GroupBox, "tsOptions"},
    {"lSupported", K::Label, "gbGameResolution"},
    {"rb640", K::RadioButton, "gbGameResolution"},
    {"rb800", K::RadioButton, "gbGameResolution"},
    {"lUnsupported", K::Label, "gbGameResolution"},
    {"cbUnlockModes", K::CheckBox, "gbGameResolution"},
    {"rb1024", K::RadioButton, "gbGameResolution"},
    {"rb1280", K::RadioButton, "gbGameResolution"},
    {"rb1600", K::RadioButton, "gbGameResolution"},
    {"rb2048", K::RadioButton, "gbGameResolution"},
    {"gbWindowMode", K::GroupBox, "tsOptions"},
    {"rbFullScreen", K::RadioButton, "gbWindowMode"},
    {"rbWindowed", K::RadioButton, "gbWindowMode"},
    {"gb2d16bitOptions", K::GroupBox, "tsOptions"},
    {"cbSoftwareMirror", K::CheckBox, "gb2d16bitOptions"},
    {"cbSoftware", K::CheckBox, "gb2d16bitOptions"},
    {"cbSoftwareTransparent", K::CheckBox, "gb2d16bitOptions"},
    {"gb3dOptions", K::GroupBox, "tsOptions"},
    {"cb3dAnimations", K::CheckBox, "gb3dOptions"},
    {"cb3dAcceleration", K::CheckBox, "gb3dOptions"},
    {"bGLSetup", K::PushButton, "gb3dOptions"},
    {"lGLDrivers", K::Label, "gb3dOptions"},
    {"cbGLDrivers", K::ComboBox, "gb3dOptions"},
    {"cb16bitTextures", K::CheckBox, "gb3dOptions"},
    {"lHelp", K::Label, "tsOptions"},
    {"lTopic", K::Label, "tsOptions"},
    {"mHelp", K::Memo, "tsOptions"},
};

// The keyboard of the Hot Keys page, row by row: speed buttons in the keyboard group.
const char* const kKeyboard[] = {
    "sbEsc", "sbF1", "sbF2", "sbF3", "sbF4", "sbF5", "sbF6", "sbF7", "sbF8", "sbF9", "sbF10", "sbF11", "sbF12",
    "sbTilde", "sb1", "sb2", "sb3", "sb4", "sb5", "sb6", "sb7", "sb8", "sb9", "sb0", "sbDash", "sbEquals",
    "sbBackspace",
    "sbTab", "sbQ", "sbW", "sbE", "sbR", "sbT", "sbY", "sbU", "sbI", "sbO", "sbP", "sbOpenBrace", "sbCloseBrace",
    "sbBackslash",
    "sbCapsLock", "sbA", "sbS", "sbD", "sbF", "sbG", "sbH", "sbJ", "sbK", "sbL", "sbSemicolon", "sbApostrophe",
    "sbEnter",
    "sbShiftLeft", "sbZ", "sbX", "sbC", "sbV", "sbB", "sbN", "sbM", "sbComma", "sbPeriod", "sbForwardSlash",
    "sbShiftRight",
    "sbCtrlLeft", "sbWindowLeft", "sbAltLeft", "sbSpace", "sbAltRight", "sbWindowRight", "sbMenu", "sbCtrlRight",
};

// The group box, tab sheet, page control or window that a control lies in: its nearest such ancestor.
std::string ContainerOf(HWND hwnd, HWND mainWindow)
{
    for (HWND parent = GetParent(hwnd); parent; parent = GetParent(parent)) {
        if (parent == mainWindow) return NameOf(parent);
        std::optional<Kind> kind = KindOf(parent);
        if (kind == Kind::GroupBox || kind == Kind::TabSheet || kind == Kind::PageControl) return NameOf(parent);
    }
    return "(outside the window)";
}

class MainWindowLayout : public ::testing::Test {
protected:
    GameFolder folder;
    TempFolder elsewhere;
};

}  // namespace

TEST_F(MainWindowLayout, EveryControlIsAWindowOfItsKindCarryingItsName)
{
    ASSERT_EQ(std::size(kKeyboard), 74u);
    folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n");
    RunningProgram program(folder, "", elsewhere);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();
    EXPECT_EQ(NameOf(main), "fConfig");

    const auto shown = std::chrono::steady_clock::now();
    std::vector<Control> expected(std::begin(kLayout), std::end(kLayout));
    for (const char* key : kKeyboard) expected.push_back({key, Kind::SpeedButton, "gbKeyboard"});

    // Every name of the window, with the windows that carry it. A window is asked for its name until it
    // has one (it gets it a moment after it is made), so that looking again and again costs the program
    // little while it makes its windows.
    std::map<std::string, std::vector<HWND>> windows;
    std::set<HWND> named;
    auto look = [&] {
        for (HWND hwnd : Descendants(main))
            if (!named.count(hwnd))
                if (std::string name = NameOf(hwnd); !name.empty()) {
                    windows[name].push_back(hwnd);
                    named.insert(hwnd);
                }
        return std::all_of(expected.begin(), expected.end(), [&](const Control& c) { return windows.count(c.name); });
    };
    // What the window shows is there as soon as it is shown: the frame and the first page.
    look();
    std::map<std::string, std::string> containers;
    for (const Control& control : expected) containers[control.name] = control.container;
    // On the first page: no other page on the way from the control to the window.
    auto onFirstPage = [&](std::string at) {
        for (; at != "fConfig"; at = containers[at])
            if (at.rfind("ts", 0) == 0 && at != "tsSimple") return false;
        return true;
    };
    for (const Control& control : expected)
        if (onFirstPage(control.name)) {
            EXPECT_TRUE(windows.count(control.name)) << control.name << " is not there when the window is shown";
        }
    // The other pages follow while the program waits for input, with nothing asking for them (how soon
    // is the launch benchmark's figure). Looked at every tenth of a second: walking the windows of
    // another program costs it time while it makes them.
    while (!look() && std::chrono::steady_clock::now() - shown < kWait)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));

    std::set<std::string> known;
    for (const Control& control : expected) {
        known.insert(control.name);
        auto it = windows.find(control.name);
        if (it == windows.end()) {
            ADD_FAILURE() << control.name << ": no window carries this name";
            continue;
        }
        if (it->second.size() != 1) {
            ADD_FAILURE() << control.name << ": " << it->second.size() << " windows carry this name";
            continue;
        }
        HWND hwnd = it->second.front();
        std::optional<Kind> kind = KindOf(hwnd);
        EXPECT_TRUE(kind == control.kind) << control.name << ": a " << KindName(control.kind)
                                          << " is expected, the window is of class " << ClassOf(hwnd)
                                          << " with style 0x" << std::hex << StyleOf(hwnd);
        EXPECT_EQ(ContainerOf(hwnd, main), control.container) << control.name;
    }
    for (const auto& [name, hwnds] : windows)
        EXPECT_TRUE(known.count(name)) << name << ": a named window that the layout does not have";

    // Exactly the 74 keys in the keyboard; the dummy key is no part of it and is neither shown nor usable.
    HWND keyboard = Named(main, "gbKeyboard");
    int keys = 0;
    for (HWND hwnd : Descendants(keyboard)) keys += KindOf(hwnd) == Kind::SpeedButton;
    EXPECT_EQ(keys, 74);
    HWND dummy = Named(main, "sbDummy");
    EXPECT_FALSE(HasStyle(dummy, WS_VISIBLE));
    EXPECT_FALSE(IsWindowEnabled(dummy));

    EXPECT_EQ(program.CloseWithoutSaving(main), 0u);
}

TEST_F(MainWindowLayout, OfTheHotKeyGroupListsOnlyThePageListIsShown)
{
    folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n");
    RunningProgram program(folder, "", elsewhere);
    HWND main = program.WaitForWindow("TfConfig");
    ASSERT_NE(main, nullptr) << program.DescribeWindows();

    // The page itself is not open at start, so the lists' own visibility counts, not their page's.
    for (const char* name : {"cbActions", "cbMiscellaneous", "cbQuickSlots", "cbWizardSpells", "cbPriestSpells",
                             "cbFixed"})
        EXPECT_FALSE(HasStyle(Named(main, name), WS_VISIBLE)) << name;
    EXPECT_TRUE(HasStyle(Named(main, "cbPage"), WS_VISIBLE));
    EXPECT_TRUE(IsChecked(Named(main, "rbPage")));

    EXPECT_EQ(program.CloseWithoutSaving(main), 0u);
}
