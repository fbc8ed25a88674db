// The window as built: every control with its kind, parent, caption, range and first state.
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "presets/Difficulty.h"
#include "tests/support/MessageLog.h"
#include "tests/support/WindowTest.h"

using namespace ui;

namespace {

struct Expected {
    const char* name;
    const char* kind;
    const char* parent;
};

// Every component of the window but the keyboard's keys, which have a table of their own below.
const Expected kComponents[] = {
    {"bTestSettings", "TButton", "fConfig"}, {"bCancel", "TButton", "fConfig"}, {"bApply", "TButton", "fConfig"},
    {"bOK", "TButton", "fConfig"}, {"openImport", "TOpenDialog", nullptr}, {"pcConfig", "TPageControl", "fConfig"},
    {"tsSimple", "TTabSheet", "pcConfig"}, {"tsHotKeys", "TTabSheet", "pcConfig"},
    {"tsGameplay", "TTabSheet", "pcConfig"}, {"tsOptions", "TTabSheet", "pcConfig"},
    {"gbDifficulty", "TGroupBox", "tsSimple"}, {"lDifficulty", "TLabel", "gbDifficulty"},
    {"lExpert", "TLabel", "gbDifficulty"}, {"lHard", "TLabel", "gbDifficulty"}, {"lNormal", "TLabel", "gbDifficulty"},
    {"lEasy", "TLabel", "gbDifficulty"}, {"lNovice", "TLabel", "gbDifficulty"},
    {"tbDifficulty", "TTrackBar", "gbDifficulty"}, {"gbHardware", "TGroupBox", "tsSimple"},
    {"lGeneral", "TLabel", "gbHardware"}, {"lGraphics", "TLabel", "gbHardware"}, {"lSound", "TLabel", "gbHardware"},
    {"lHighEnd", "TLabel", "gbHardware"}, {"lAboveAverage", "TLabel", "gbHardware"},
    {"lAverage", "TLabel", "gbHardware"}, {"lBudget", "TLabel", "gbHardware"}, {"lMinSpec", "TLabel", "gbHardware"},
    {"lBelowMinSpec", "TLabel", "gbHardware"}, {"Label1", "TLabel", "gbHardware"}, {"Label2", "TLabel", "gbHardware"},
    {"Label3", "TLabel", "gbHardware"}, {"Label4", "TLabel", "gbHardware"}, {"Label5", "TLabel", "gbHardware"},
    {"Label6", "TLabel", "gbHardware"}, {"tbGeneral", "TTrackBar", "gbHardware"},
    {"tbGraphics", "TTrackBar", "gbHardware"}, {"tbSound", "TTrackBar", "gbHardware"},
    {"cb3dAcceleration2", "TCheckBox", "gbHardware"}, {"lSettings", "TLabel", "tsSimple"},
    {"mSettings", "TMemo", "tsSimple"}, {"gbKeyboard", "TGroupBox", "tsHotKeys"}, {"lDelete", "TLabel", "tsHotKeys"},
    {"lLayer", "TLabel", "tsHotKeys"}, {"lKeyLine", "TLabel", "tsHotKeys"}, {"lFunction", "TLabel", "gbHotKeyGroups"},
    {"sbDummy", "TSpeedButton", "tsHotKeys"}, {"cbConfirmDeletions", "TCheckBox", "tsHotKeys"},
    {"cbConfirmKey", "TCheckBox", "tsHotKeys"}, {"cbConfirmSpell", "TCheckBox", "tsHotKeys"},
    {"bImport", "TButton", "tsHotKeys"}, {"gbHotKeyGroups", "TGroupBox", "tsHotKeys"},
    {"rbPage", "TRadioButton", "gbHotKeyGroups"}, {"rbActions", "TRadioButton", "gbHotKeyGroups"},
    {"rbMiscellaneous", "TRadioButton", "gbHotKeyGroups"}, {"rbQuickSlots", "TRadioButton", "gbHotKeyGroups"},
    {"rbWizardSpells", "TRadioButton", "gbHotKeyGroups"}, {"rbPriestSpells", "TRadioButton", "gbHotKeyGroups"},
    {"cbPage", "TComboBox", "gbHotKeyGroups"}, {"cbActions", "TComboBox", "gbHotKeyGroups"},
    {"cbMiscellaneous", "TComboBox", "gbHotKeyGroups"}, {"cbQuickSlots", "TComboBox", "gbHotKeyGroups"},
    {"cbWizardSpells", "TComboBox", "gbHotKeyGroups"}, {"cbPriestSpells", "TComboBox", "gbHotKeyGroups"},
    {"cbFixed", "TComboBox", "gbHotKeyGroups"}, {"gbCacheOptions", "TGroupBox", "tsGameplay"},
    {"lCacheSize", "TLabel", "gbCacheOptions"}, {"eCacheSize", "TEdit", "gbCacheOptions"},
    {"udCacheSize", "TUpDown", "gbCacheOptions"}, {"lmb", "TLabel", "gbCacheOptions"},
    {"gbAIOptions", "TGroupBox", "tsGameplay"}, {"lFrameRate", "TLabel", "gbAIOptions"},
    {"tbFrameRate", "TTrackBar", "gbAIOptions"}, {"lUpdatesValue", "TLabel", "gbAIOptions"},
    {"lUpdates", "TLabel", "gbAIOptions"}, {"lPathSearchNodes", "TLabel", "gbAIOptions"},
    {"ePathSearchNodes", "TEdit", "gbAIOptions"}, {"udPathSearchNodes", "TUpDown", "gbAIOptions"},
    {"cbEnhancedPathfinding", "TCheckBox", "gbAIOptions"}, {"gbMultiplayer", "TGroupBox", "tsGameplay"},
    {"cbGameSpy", "TCheckBox", "gbMultiplayer"}, {"lZipCode", "TLabel", "gbMultiplayer"},
    {"eZipCode", "TEdit", "gbMultiplayer"}, {"lCountry", "TLabel", "gbMultiplayer"},
    {"cbCountry", "TComboBox", "gbMultiplayer"}, {"gbGameplay", "TGroupBox", "tsGameplay"},
    {"cbCriticalHit", "TCheckBox", "gbGameplay"}, {"cbTranslucentShadows", "TCheckBox", "gbGameplay"},
    {"cbLowEndMachine", "TCheckBox", "gbGameplay"}, {"cbLowEndMachine2", "TCheckBox", "gbGameplay"},
    {"cbFootsteps", "TCheckBox", "gbGameplay"}, {"cbAttackSounds", "TCheckBox", "gbGameplay"},
    {"cbLowMemSounds1", "TCheckBox", "gbGameplay"}, {"cbLowMemSounds2", "TCheckBox", "gbGameplay"},
    {"cbDuplicateFloatingText", "TCheckBox", "gbGameplay"}, {"cbDisableCastingGlows", "TCheckBox", "gbGameplay"},
    {"cbDisableVidCells", "TCheckBox", "gbGameplay"}, {"cbForce50Transparency", "TCheckBox", "gbGameplay"},
    {"cbBrightenOff", "TCheckBox", "gbGameplay"}, {"cbMidLevelBrighten", "TCheckBox", "gbGameplay"},
    {"cbHighLevelBrighten", "TCheckBox", "gbGameplay"}, {"lTilesPrecache", "TLabel", "gbGameplay"},
    {"eTilesPrecache", "TEdit", "gbGameplay"}, {"udTilesPrecache", "TUpDown", "gbGameplay"},
    {"lPercent", "TLabel", "gbGameplay"}, {"lHelp2", "TLabel", "tsGameplay"}, {"lTopic2", "TLabel", "tsGameplay"},
    {"mHelp2", "TMemo", "tsGameplay"}, {"gbColorDepth", "TGroupBox", "tsOptions"},
    {"rb16bit", "TRadioButton", "gbColorDepth"}, {"rb24bit", "TRadioButton", "gbColorDepth"},
    {"rb32bit", "TRadioButton", "gbColorDepth"}, {"gbGameResolution", "TGroupBox", "tsOptions"},
    {"lSupported", "TLabel", "gbGameResolution"}, {"rb640", "TRadioButton", "gbGameResolution"},
    {"rb800", "TRadioButton", "gbGameResolution"}, {"lUnsupported", "TLabel", "gbGameResolution"},
    {"cbUnlockModes", "TCheckBox", "gbGameResolution"}, {"rb1024", "TRadioButton", "gbGameResolution"},
    {"rb1280", "TRadioButton", "gbGameResolution"}, {"rb1600", "TRadioButton", "gbGameResolution"},
    {"rb2048", "TRadioButton", "gbGameResolution"}, {"gbWindowMode", "TGroupBox", "tsOptions"},
    {"rbFullScreen", "TRadioButton", "gbWindowMode"}, {"rbWindowed", "TRadioButton", "gbWindowMode"},
    {"gb2d16bitOptions", "TGroupBox", "tsOptions"}, {"cbSoftwareMirror", "TCheckBox", "gb2d16bitOptions"},
    {"cbSoftware", "TCheckBox", "gb2d16bitOptions"}, {"cbSoftwareTransparent", "TCheckBox", "gb2d16bitOptions"},
    {"gb3dOptions", "TGroupBox", "tsOptions"}, {"cb3dAnimations", "TCheckBox", "gb3dOptions"},
    {"cb3dAcceleration", "TCheckBox", "gb3dOptions"}, {"bGLSetup", "TButton", "gb3dOptions"},
    {"lGLDrivers", "TLabel", "gb3dOptions"}, {"cbGLDrivers", "TComboBox", "gb3dOptions"},
    {"cb16bitTextures", "TCheckBox", "gb3dOptions"}, {"lHelp", "TLabel", "tsOptions"},
    {"lTopic", "TLabel", "tsOptions"}, {"mHelp", "TMemo", "tsOptions"},
};

// The keyboard, row by row: key names and widths of the keys whose width is fixed (0: ordinary).
struct Row {
    int top;
    std::vector<std::pair<const char*, int>> keys;
};
const std::vector<Row> kKeyboard = {
    {22, {{"sbEsc", 0}, {"sbF1", 0}, {"sbF2", 0}, {"sbF3", 0}, {"sbF4", 0}, {"sbF5", 0}, {"sbF6", 0}, {"sbF7", 0},
          {"sbF8", 0}, {"sbF9", 0}, {"sbF10", 0}, {"sbF11", 0}, {"sbF12", 0}}},
    {64, {{"sbTilde", 0}, {"sb1", 0}, {"sb2", 0}, {"sb3", 0}, {"sb4", 0}, {"sb5", 0}, {"sb6", 0}, {"sb7", 0},
          {"sb8", 0}, {"sb9", 0}, {"sb0", 0}, {"sbDash", 0}, {"sbEquals", 0}, {"sbBackspace", 80}}},
    {107, {{"sbTab", 60}, {"sbQ", 0}, {"sbW", 0}, {"sbE", 0}, {"sbR", 0}, {"sbT", 0}, {"sbY", 0}, {"sbU", 0},
           {"sbI", 0}, {"sbO", 0}, {"sbP", 0}, {"sbOpenBrace", 0}, {"sbCloseBrace", 0}, {"sbBackslash", 51}}},
    {149, {{"sbCapsLock", 70}, {"sbA", 0}, {"sbS", 0}, {"sbD", 0}, {"sbF", 0}, {"sbG", 0}, {"sbH", 0}, {"sbJ", 0},
           {"sbK", 0}, {"sbL", 0}, {"sbSemicolon", 0}, {"sbApostrophe", 0}, {"sbEnter", 90}}},
    {191, {{"sbShiftLeft", 90}, {"sbZ", 0}, {"sbX", 0}, {"sbC", 0}, {"sbV", 0}, {"sbB", 0}, {"sbN", 0}, {"sbM", 0},
           {"sbComma", 0}, {"sbPeriod", 0}, {"sbForwardSlash", 0}, {"sbShiftRight", 120}}},
    {232, {{"sbCtrlLeft", 69}, {"sbWindowLeft", 0}, {"sbAltLeft", 0}, {"sbSpace", 277}, {"sbAltRight", 0},
           {"sbWindowRight", 0}, {"sbMenu", 0}, {"sbCtrlRight", 0}}},
};

TControl* Control(TfConfig& w, const char* name) { return dynamic_cast<TControl*>(w.FindComponent(name)); }

// The text a control's window shows: an edit's, a memo's or a list's text, else the caption.
std::string ShownText(TControl* control)
{
    if (auto* edit = dynamic_cast<TEdit*>(control)) return edit->Text();
    if (auto* memo = dynamic_cast<TMemo*>(control)) return memo->Text();
    if (auto* list = dynamic_cast<TComboBox*>(control)) return list->Text();
    return control->Caption();
}

// The state a control's window shows by a message, when it has one: checked or pressed, or the position.
std::optional<LRESULT> ShownState(TControl* control)
{
    if (auto* box = dynamic_cast<TCheckBox*>(control)) return static_cast<LRESULT>(box->State());
    if (auto* radio = dynamic_cast<TRadioButton*>(control)) return radio->Checked() ? BST_CHECKED : BST_UNCHECKED;
    if (auto* key = dynamic_cast<TSpeedButton*>(control)) return key->Down() ? BST_CHECKED : BST_UNCHECKED;
    if (auto* bar = dynamic_cast<TTrackBar*>(control)) return bar->Position();
    return std::nullopt;
}

std::string NameProperty(HWND hwnd)
{
    auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, "Name")));
    char name[256] = {};
    if (!atom || !GlobalGetAtomNameA(atom, name, sizeof name)) return {};
    return name;
}

}  // namespace

class LayoutTest : public WindowTest {};

TEST_F(LayoutTest, EveryControlIsThereWithItsKindParentAndWindowName)
{
    TfConfig& w = Open();
    for (const Expected& e : kComponents) {
        TComponent* c = w.FindComponent(e.name);
        ASSERT_NE(c, nullptr) << e.name;
        EXPECT_STREQ(c->ClassName(), e.kind) << e.name;
        if (!e.parent) continue;
        auto* control = dynamic_cast<TControl*>(c);
        ASSERT_NE(control, nullptr) << e.name;
        ASSERT_NE(control->Parent(), nullptr) << e.name;
        EXPECT_EQ(control->Parent()->Name(), e.parent) << e.name;
        ASSERT_NE(control->Handle(), nullptr) << e.name;
        EXPECT_EQ(NameProperty(control->Handle()), e.name);
    }
    char windowClass[64] = {};
    GetClassNameA(w.Handle(), windowClass, sizeof windowClass);
    EXPECT_STREQ(windowClass, "TfConfig");
    GetClassNameA(w.dlgDifficulty->Handle(), windowClass, sizeof windowClass);
    EXPECT_STREQ(windowClass, "TdlgDifficulty");
    EXPECT_EQ(w.dlgDifficulty->Owner(), &w);
}

TEST_F(LayoutTest, KeyboardHasSeventyFourKeysInSixRowsWithTheirWidths)
{
    TfConfig& w = Open();
    int count = 0;
    for (const Row& row : kKeyboard) {
        int previousRight = 0;
        for (const auto& [name, width] : row.keys) {
            auto* key = dynamic_cast<TSpeedButton*>(Control(w, name));
            ASSERT_NE(key, nullptr) << name;
            ++count;
            EXPECT_EQ(key->Parent(), w.gbKeyboard) << name;
            EXPECT_EQ(key->Top(), row.top) << name;
            EXPECT_GT(key->Left(), previousRight) << name << " lies right of the key before it";
            previousRight = key->Left() + key->Width();
            if (width) EXPECT_EQ(key->Width(), width) << name;
            else EXPECT_GE(key->Width(), 35) << name;
            EXPECT_LE(previousRight, w.gbKeyboard->Width()) << name;
            EXPECT_TRUE(key->ShowHint()) << name;
        }
    }
    EXPECT_EQ(count, 74);
    EXPECT_EQ(w.keyButtons.size(), 72u);
    EXPECT_EQ(w.disabledKeys.size(), 35u);
    EXPECT_EQ(w.assignableKeys.size(), 37u);
    EXPECT_EQ(w.keyButtons.front(), w.sbEsc);
    EXPECT_EQ(w.keyButtons[13], w.sbTilde);
    EXPECT_EQ(w.keyButtons[27], w.sbTab);
    EXPECT_EQ(w.keyButtons[54], w.sbShiftLeft);
    EXPECT_EQ(w.keyButtons.back(), w.sbMenu);
    EXPECT_EQ(w.sbCtrlLeft->Caption(), "Ctrl");
    EXPECT_EQ(w.sbCtrlRight->Caption(), "Ctrl");
    EXPECT_EQ(w.sbCtrlLeft->GroupIndex(), 100);
    EXPECT_EQ(w.sbCtrlRight->GroupIndex(), 101);
    EXPECT_TRUE(w.sbCtrlLeft->AllowAllUp() && w.sbCtrlRight->AllowAllUp());
    for (std::size_t n = 0; n < w.keyButtons.size(); ++n)
        EXPECT_EQ(w.keyButtons[n]->GroupIndex(), static_cast<int>(n) + 1) << "each key latches on its own";
    EXPECT_FALSE(w.sbDummy->Visible());
    EXPECT_FALSE(w.sbDummy->Enabled());
    EXPECT_TRUE(w.sbDummy->OnClick && w.sbDummy->OnMouseMove && w.sbDummy->OnMouseUp);
    EXPECT_TRUE(w.sbF3->OnClick && w.sbF3->OnMouseDown) << "F3, which the form leaves unbound, refuses too";
    EXPECT_EQ(w.gbKeyboard->Color(), clWhite);
}

TEST_F(LayoutTest, OnlyTheKeyboardAndRestoreDefaultsShowToolTips)
{
    TfConfig& w = Open();
    int tips = 0;
    for (int i = 0; i < w.ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(w.Components(i));
        if (!control || !control->ShowHint() || control == w.bRestoreKeys) continue;
        ++tips;
        EXPECT_EQ(control->Parent(), w.gbKeyboard) << control->Name();
    }
    EXPECT_EQ(tips, 74);
    EXPECT_TRUE(w.bRestoreKeys->ShowHint()) << "it tells why when it cannot be used";
}

TEST_F(LayoutTest, RangesPositionsAndFirstStatesAreTheFormsOwn)
{
    TfConfig& w = Open();
    EXPECT_EQ(w.tbDifficulty->Min(), 1);
    EXPECT_EQ(w.tbDifficulty->Max(), 5);
    for (TTrackBar* bar : {w.tbGeneral, w.tbGraphics, w.tbSound}) {
        EXPECT_EQ(bar->Min(), 1);
        EXPECT_EQ(bar->Max(), 6);
        EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & TBS_VERT);
    }
    EXPECT_EQ(w.tbFrameRate->Min(), 15);
    EXPECT_EQ(w.tbFrameRate->Max(), 60);
    EXPECT_EQ(SendMessageA(w.tbFrameRate->Handle(), TBM_GETLINESIZE, 0, 0), 5);
    EXPECT_FALSE(GetWindowLongA(w.tbFrameRate->Handle(), GWL_STYLE) & TBS_VERT);
    EXPECT_EQ(w.udCacheSize->Min(), 150);
    EXPECT_EQ(w.udCacheSize->Max(), 10000);
    EXPECT_EQ(w.udCacheSize->Associate(), w.eCacheSize);
    EXPECT_EQ(w.udPathSearchNodes->Min(), 40);
    EXPECT_EQ(w.udPathSearchNodes->Max(), 4000);
    EXPECT_EQ(w.udPathSearchNodes->Associate(), nullptr);
    EXPECT_EQ(w.udTilesPrecache->Max(), 100);
    EXPECT_EQ(w.udTilesPrecache->Associate(), w.eTilesPrecache);

    // Only the three confirmation boxes are ticked by the form.
    EXPECT_TRUE(w.cbConfirmDeletions->Checked());
    EXPECT_TRUE(w.cbConfirmKey->Checked());
    EXPECT_TRUE(w.cbConfirmSpell->Checked());
    for (std::size_t i = 0; i < w.resolutionButtons.size(); ++i)
        EXPECT_EQ(w.resolutionButtons[i]->Tag, static_cast<int>(i));
    for (std::size_t i = 0; i < w.depthButtons.size(); ++i) EXPECT_EQ(w.depthButtons[i]->Tag, static_cast<int>(i));
    for (std::size_t i = 0; i < w.groupRadios.size(); ++i) EXPECT_EQ(w.groupRadios[i]->Tag, static_cast<int>(i));
    EXPECT_EQ(w.cbWizardSpells->Tag, 4);
    EXPECT_EQ(w.cbPriestSpells->Tag, 5);
    for (TComboBox* list : {w.cbPage, w.cbActions, w.cbMiscellaneous, w.cbQuickSlots, w.cbWizardSpells, w.cbPriestSpells})
        EXPECT_TRUE(list->Sorted()) << list->Name();
    EXPECT_FALSE(w.cbFixed->Sorted());
    EXPECT_EQ(w.cbFixed->Hint(), "Fixed");
    EXPECT_TRUE(GetWindowLongA(w.mSettings->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(w.mSettings->Color(), clSilver);
    EXPECT_TRUE(w.lDifficulty->Bold());
    EXPECT_TRUE(w.lHelp->Bold());
    EXPECT_EQ(w.lTopic->Alignment(), TAlignment::Right);
    EXPECT_EQ(w.lDelete->Alignment(), TAlignment::Right);
    EXPECT_EQ(w.lBelowMinSpec->FontColor(), clRed);
    EXPECT_EQ(w.lUnsupported->FontColor(), clRed);
}

TEST_F(LayoutTest, OneOfTheSevenGroupListsIsVisibleOnceBuiltAndTheyShareOnePlace)
{
    TfConfig& w = Open();
    int visible = 0;
    for (TComboBox* list : w.groupLists) visible += list->Visible() ? 1 : 0;
    EXPECT_EQ(visible, 1);
    EXPECT_TRUE(w.cbPage->Visible());
    EXPECT_TRUE(w.rbPage->Checked());
    EXPECT_EQ(w.shownList, w.cbPage);
    for (TComboBox* list : {w.cbActions, w.cbMiscellaneous, w.cbQuickSlots, w.cbWizardSpells, w.cbPriestSpells}) {
        EXPECT_EQ(list->Left(), w.cbPage->Left());
        EXPECT_EQ(list->Top(), w.cbPage->Top());
    }
    EXPECT_GT(w.cbFixed->Top(), w.cbPage->Top() + w.cbPage->Height() - 1) << "cbFixed lies below them";
}

TEST_F(LayoutTest, WindowHasAFixedSingleBorderWithMinimiseBoxAndIsCentred)
{
    TfConfig& w = Open();
    LONG style = GetWindowLongA(w.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    RECT client;
    GetClientRect(w.Handle(), &client);
    EXPECT_EQ(client.right, w.ScaleValue(778));
    EXPECT_EQ(client.bottom, w.ScaleValue(527));
    RECT outer;
    GetWindowRect(w.Handle(), &outer);
    EXPECT_LE(outer.right - outer.left, w.ScaleValue(786));
    EXPECT_LE(outer.bottom - outer.top, w.ScaleValue(590));
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);
    EXPECT_EQ(w.pcConfig->ActivePage(), w.tsSimple);
    EXPECT_EQ(w.pcConfig->VisibleTabs().size(), 4u);
}

TEST_F(LayoutTest, EveryWindowIsMadeOnceWithTheFinalStateOfItsControlTheFirstPageBeforeTheWindowShows)
{
    TfConfig& w = Open();
    std::vector<TControl*> controls;
    for (int i = 0; i < w.ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(w.Components(i)); control && control->Parent()) controls.push_back(control);
    for (TControl* control : controls) EXPECT_FALSE(control->HandleAllocated()) << control->Name();
    EXPECT_FALSE(w.HandleAllocated()) << "built, the window is not made before it is shown";

    MessageLog log;
    w.Show();
    for (TControl* control : controls) {
        bool firstPage = true;
        for (TControl* c = control; c; c = c->Parent())
            if (dynamic_cast<TTabSheet*>(c) && c != w.tsSimple) firstPage = false;
        EXPECT_EQ(control->HandleAllocated(), firstPage) << control->Name();
    }
    w.CreateAllHandles();
    EXPECT_EQ(log.Count(w.Handle(), WM_SETTEXT), 0) << "the window is made with its caption";
    char caption[64] = {};
    GetWindowTextA(w.Handle(), caption, sizeof caption);
    EXPECT_EQ(caption, w.Caption());
    for (TControl* control : controls) {
        HWND hwnd = control->Handle();
        EXPECT_LE(log.Count(hwnd, WM_SETTEXT), dynamic_cast<TMemo*>(control) ? 1 : 0)
            << control->Name() << " is made with its text, a memo's set once after its font";
        EXPECT_EQ(log.Count(hwnd, WM_SETFONT), 1) << control->Name();
        char text[512] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        EXPECT_EQ(text, ShownText(control)) << control->Name();
        if (std::optional<LRESULT> state = ShownState(control)) {
            UINT ask = dynamic_cast<TTrackBar*>(control) ? TBM_GETPOS : BM_GETCHECK;
            EXPECT_EQ(SendMessageA(hwnd, ask, 0, 0), *state) << control->Name();
            EXPECT_LE(log.Count(hwnd, dynamic_cast<TTrackBar*>(control) ? TBM_SETPOS : BM_SETCHECK), 1) << control->Name();
        }
        EXPECT_EQ(IsWindowEnabled(hwnd) != 0, control->Enabled()) << control->Name();
        EXPECT_EQ((GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0, control->Visible()) << control->Name();
    }
}
