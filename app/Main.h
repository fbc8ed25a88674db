#pragma once
// The main window: its controls, the state its handlers share, and the handlers themselves.
// The behaviour is split by subsystem: settings/, presets/, hotkeys/, lang/ hold members of this class.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/Platform.h"
#include "hotkeys/KeyList.h"
#include "hotkeys/KeyMap.h"
#include "settings/SavedValues.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/OpenDialog.h"
#include "ui/PageControl.h"
#include "ui/RadioButton.h"
#include "ui/SpeedButton.h"
#include "ui/TrackBar.h"
#include "ui/UpDown.h"

class IniFile;
class LanguageIndex;
class TdlgDifficulty;

// What the window needs from outside; empty seams take the platform's own.
struct TfConfigPlatform {
    IDisplayModes* displayModes = nullptr;
    IProcesses* processes = nullptr;
};

class TfConfig : public ui::TForm {
public:
    // programFolder ends in a backslash; arguments exclude the program's own name.
    TfConfig(std::wstring programFolder, std::vector<std::string> arguments, TfConfigPlatform platform = {});
    ~TfConfig() override;
    const char* ClassName() const override { return "TfConfig"; }

    // --- Controls (owned by the window; created by CreateControls)
    ui::TButton *bTestSettings, *bCancel, *bApply, *bOK;
    ui::TOpenDialog* openImport;
    ui::TPageControl* pcConfig;
    ui::TTabSheet *tsSimple, *tsHotKeys, *tsGameplay, *tsOptions;

    // Basic
    ui::TGroupBox* gbDifficulty;
    ui::TLabel *lDifficulty, *lExpert, *lHard, *lNormal, *lEasy, *lNovice;
    ui::TTrackBar* tbDifficulty;
    ui::TGroupBox* gbHardware;
    ui::TLabel *lGeneral, *lGraphics, *lSound;
    ui::TLabel *lHighEnd, *lAboveAverage, *lAverage, *lBudget, *lMinSpec, *lBelowMinSpec;
    ui::TLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    ui::TTrackBar *tbGeneral, *tbGraphics, *tbSound;
    ui::TCheckBox* cb3dAcceleration2;
    ui::TLabel* lSettings;
    ui::TMemo* mSettings;

    // Hot Keys
    ui::TGroupBox* gbKeyboard;
    ui::TSpeedButton *sbEsc, *sbF1, *sbF2, *sbF3, *sbF4, *sbF5, *sbF6, *sbF7, *sbF8, *sbF9, *sbF10, *sbF11, *sbF12;
    ui::TSpeedButton *sbTilde, *sb1, *sb2, *sb3, *sb4, *sb5, *sb6, *sb7, *sb8, *sb9, *sb0, *sbDash, *sbEquals,
        *sbBackspace;
    ui::TSpeedButton *sbTab, *sbQ, *sbW, *sbE, *sbR, *sbT, *sbY, *sbU, *sbI, *sbO, *sbP, *sbOpenBrace,
        *sbCloseBrace, *sbBackslash;
    ui::TSpeedButton *sbCapsLock, *sbA, *sbS, *sbD, *sbF, *sbG, *sbH, *sbJ, *sbK, *sbL, *sbSemicolon,
        *sbApostrophe, *sbEnter;
    ui::TSpeedButton *sbShiftLeft, *sbZ, *sbX, *sbC, *sbV, *sbB, *sbN, *sbM, *sbComma, *sbPeriod,
        *sbForwardSlash, *sbShiftRight;
    ui::TSpeedButton *sbCtrlLeft, *sbWindowLeft, *sbAltLeft, *sbSpace, *sbAltRight, *sbWindowRight, *sbMenu,
        *sbCtrlRight;
    ui::TLabel* lDelete;
    // The layer the keyboard shows, in words; what the key last pointed at or moved to holds.
    ui::TLabel *lLayer, *lKeyLine;
    ui::TSpeedButton* sbDummy;
    ui::TCheckBox *cbConfirmDeletions, *cbConfirmKey, *cbConfirmSpell;
    // The list of every function with its keys, the game's own keys put back, a key map imported.
    ui::TButton *bKeyList, *bRestoreKeys, *bImport;
    ui::TGroupBox* gbHotKeyGroups;
    ui::TRadioButton *rbPage, *rbActions, *rbMiscellaneous, *rbQuickSlots, *rbWizardSpells, *rbPriestSpells;
    ui::TLabel* lFunction;
    ui::TComboBox *cbPage, *cbActions, *cbMiscellaneous, *cbQuickSlots, *cbWizardSpells, *cbPriestSpells, *cbFixed;

    // Gameplay
    ui::TGroupBox* gbCacheOptions;
    ui::TLabel *lCacheSize, *lmb;
    ui::TEdit* eCacheSize;
    ui::TUpDown* udCacheSize;
    ui::TGroupBox* gbAIOptions;
    ui::TLabel *lFrameRate, *lUpdatesValue, *lUpdates, *lPathSearchNodes;
    ui::TTrackBar* tbFrameRate;
    ui::TEdit* ePathSearchNodes;
    ui::TUpDown* udPathSearchNodes;
    ui::TCheckBox* cbEnhancedPathfinding;
    ui::TGroupBox* gbMultiplayer;
    ui::TCheckBox* cbGameSpy;
    ui::TLabel *lZipCode, *lCountry;
    ui::TEdit* eZipCode;
    ui::TComboBox* cbCountry;
    ui::TGroupBox* gbGameplay;
    ui::TCheckBox *cbCriticalHit, *cbTranslucentShadows, *cbLowEndMachine, *cbLowEndMachine2, *cbFootsteps,
        *cbAttackSounds, *cbLowMemSounds1, *cbLowMemSounds2;
    ui::TCheckBox *cbDuplicateFloatingText, *cbDisableCastingGlows, *cbDisableVidCells, *cbForce50Transparency,
        *cbBrightenOff, *cbMidLevelBrighten, *cbHighLevelBrighten;
    ui::TLabel *lTilesPrecache, *lPercent;
    ui::TEdit* eTilesPrecache;
    ui::TUpDown* udTilesPrecache;
    ui::TLabel *lHelp2, *lTopic2;
    ui::TMemo* mHelp2;

    // Graphics
    ui::TGroupBox* gbColorDepth;
    ui::TRadioButton *rb16bit, *rb24bit, *rb32bit;
    ui::TGroupBox* gbGameResolution;
    ui::TLabel *lSupported, *lUnsupported;
    ui::TRadioButton *rb640, *rb800, *rb1024, *rb1280, *rb1600, *rb2048;
    ui::TCheckBox* cbUnlockModes;
    ui::TGroupBox* gbWindowMode;
    ui::TRadioButton *rbFullScreen, *rbWindowed;
    ui::TGroupBox* gb2d16bitOptions;
    ui::TCheckBox *cbSoftwareMirror, *cbSoftware, *cbSoftwareTransparent;
    ui::TGroupBox* gb3dOptions;
    ui::TCheckBox *cb3dAnimations, *cb3dAcceleration, *cb16bitTextures;
    ui::TButton* bGLSetup;
    ui::TLabel* lGLDrivers;
    ui::TComboBox* cbGLDrivers;
    ui::TLabel *lHelp, *lTopic;
    ui::TMemo* mHelp;

    TdlgDifficulty* dlgDifficulty = nullptr;

    // --- Files and texts
    // Paths as the system has them, never converted to the code page on the way to the file functions.
    std::wstring programFolder;
    std::wstring settingsPath;
    std::wstring keymapPath;
    std::string msgAdvanced, msgNoOpenGL, msgVideo, msgVideoGood, msgVideoBad, msgVideoTest, msgResetVideo,
        msgCacheSize, msgAssigned, msgReassign, msgRunGLSetup, msgUnsupportedRes, msg3dAcceleration;

    // --- Settings and video state
    int volumeMovie = -1, volumeMusic = -1, volumeVoices = -1, volumeAmbients = -1, volumeSfx = -1;
    std::vector<ui::TControl*> videoControls;
    std::vector<bool> videoSnapshot;
    int snapshotDriverIndex = -1;
    bool videoTestPassed = true;
    // Index 0: the Graphics page, 1: the Gameplay page.
    std::array<bool, 2> advancedNoticePending{true, true};
    std::vector<ui::TRadioButton*> resolutionButtons;
    std::vector<ui::TRadioButton*> depthButtons;
    std::array<bool, 18> supportedModes{};
    std::array<bool, 3> availableDepths{};
    int driverCount = 0;

    // --- Key map and editor state
    std::vector<ui::TRadioButton*> groupRadios;
    std::vector<ui::TComboBox*> groupLists;
    std::vector<ui::TSpeedButton*> keyButtons, disabledKeys, assignableKeys;
    std::vector<std::string> groupNames;
    // The keys, the functions, both layers of bindings; the layer the keyboard shows.
    KeyMap keyMap;
    KeyLayer shownLayer = KeyLayer::Plain;
    std::unique_ptr<IniFile> keymapFile;
    ui::TComboBox* shownList = nullptr;
    // The key a choice binds to; none (position 0) when no key is selected.
    ui::TSpeedButton* selectedKey = nullptr;
    int selectedPosition = 0;
    int selectedGroup = 0;

    // --- Language
    // Every line of the language file, and per line the text it shows (spell prefix and text of its name).
    const std::vector<std::string>& languageTable() const;
    const std::vector<std::string>& languageDisplayList() const;
    std::vector<std::string> countryCodes;

    // --- Lifecycle
    void bOKClick(ui::TObject* sender);
    void bApplyClick(ui::TObject* sender);
    void bCancelClick(ui::TObject* sender);
    void FormCloseQuery(ui::TObject* sender, bool& canClose);
    void FormClose(ui::TObject* sender, ui::TCloseAction& action);
    bool ConfirmVideoChanges();
    // OK's and Apply's video guard, then both files; false, telling why, when nothing was saved.
    bool SaveTested();
    // Whether a save would write something the two files do not hold yet, a file that does not
    // exist counting as holding nothing; from what they held when last read or written.
    bool HasUnsavedWork() const;
    // Apply is enabled exactly when there is unsaved work: after every input, and wherever
    // something changes what a save would write.
    void RefreshApplyState();
    // Takes what the two files hold now, for HasUnsavedWork: at the start, and when the window
    // comes back from another program, which may have changed them.
    void ReadSavedFiles();
    void FormActivate(ui::TObject* sender);
    // Records which of the video controls are checked, the baseline of ConfirmVideoChanges.
    void TakeVideoSnapshot();
    void eCacheSizeExit(ui::TObject* sender);
    void ePathSearchNodesExit(ui::TObject* sender);
    void ePathSearchNodesChange(ui::TObject* sender);
    void udPathSearchNodesClick(ui::TObject* sender);
    void tbFrameRateChange(ui::TObject* sender);
    void ClampEditToRange(ui::TEdit* edit, ui::TUpDown* upDown, int scale);

    // --- Settings file
    void LoadSettings();
    void SaveSettings();
    // The keys the save writes, in its order, with the values the window holds now.
    std::vector<IniWrite> SettingsWrites() const;

    // --- Presets, difficulty, display rules, video test, context help
    void tbGeneralChange(ui::TObject* sender);
    void tbGraphicsChange(ui::TObject* sender);
    void tbSoundChange(ui::TObject* sender);
    void RefreshSummary();
    void tbDifficultyChange(ui::TObject* sender);
    void ScanDisplayModes();
    void ColorDepthsClick(ui::TObject* sender);
    void Validate16bit(ui::TObject* sender);
    void cbUnlockModesClick(ui::TObject* sender);
    void rb1024Click(ui::TObject* sender);
    void cb3dAccelerationClick(ui::TObject* sender);
    void cbBrightenOffClick(ui::TObject* sender);
    void bTestSettingsClick(ui::TObject* sender);
    // The video test of bTestSettingsClick; false when its program could not be started: the
    // player is told, nothing is asked, and neither the snapshot nor videoTestPassed changes.
    bool RunVideoTest();
    void bGLSetupClick(ui::TObject* sender);
    void DisplayHelp(ui::TObject* sender, ui::TShiftState shift, int x, int y);
    // A control got the keyboard focus: its help, as for a mouse move over it, or the help of the
    // group it lies in; nothing changes for a control outside every help-bound group.
    void HelpControlEnter(ui::TObject* sender);
    // The control whose hint is the help of this one: its own when it is help-bound and has one,
    // else that of the help-bound label that leads to it, else (orGroup) of the nearest help-bound
    // group around it; null when there is none.
    const ui::TControl* HelpSource(const ui::TControl* control, bool orGroup) const;
    void ShowHelp(const ui::TControl* source);
    void pcConfigChange(ui::TObject* sender);

    // --- Key map, editor, import
    void MarkDisabledKeys();
    void LoadKeyMap();
    void FillGroupList(const std::string& section, ui::TComboBox* items);
    void SaveKeyMap();
    void RefreshKeyboard();
    void sbDummyClick(ui::TObject* sender);
    void sbDummyMouseMove(ui::TObject* sender, ui::TShiftState shift, int x, int y);
    // The pointer left a key; a key got the keyboard focus, or the focus left the keyboard.
    void sbDummyMouseLeave(ui::TObject* sender);
    void sbDummyEnter(ui::TObject* sender);
    void sbDummyExit(ui::TObject* sender);
    void sbDummyMouseUp(ui::TObject* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);
    void sbDisabledButtonClick(ui::TObject* sender);
    void DisabledMouseDown(ui::TObject* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);
    void sbCtrlClick(ui::TObject* sender);
    // The keyboard shows a layer, both Ctrl keys pressed for the Ctrl layer.
    void ShowLayer(KeyLayer layer);
    void rgHotKeyGroupsClick(ui::TObject* sender);
    void ConfigureHotkeys(ui::TObject* sender);
    // The focus leaving a function list without a choice: the lists show the selected key's own
    // function again; the group in sight stays the player's.
    void HotkeyListExit(ui::TObject* sender);
    // Esc in a function list: the same, and the group of that function comes into sight.
    void HotkeyListCancel(ui::TObject* sender);
    void bImportClick(ui::TObject* sender);
    // The list of every function; the row chosen shows its function on the page.
    void bKeyListClick(ui::TObject* sender);
    // The rows of that list: each function of the seven groups with its plain and its Ctrl key, in
    // the page's words.
    std::vector<TdlgKeyList::Row> KeyListRows() const;
    // Shows a function on the page: the layer that holds it, its key selected and focused; one on no
    // key waits in its group's list for the next key chosen.
    void ShowFunction(FunctionRef f);
    // Puts back the keys the game came with, after a question.
    void bRestoreKeysClick(ui::TObject* sender);
    // A key of the real keyboard pressed while the keyboard picture has the focus: its key on the
    // picture gets the focus and is selected as a click selects it.
    void sbDummyKeyDown(ui::TObject* sender, unsigned& key, ui::TShiftState shift);
    // Position of a key button in keyButtons; -1 for any other button.
    int KeyPositionOf(const ui::TObject* key) const;
    // The first key position with that key name, ignoring letter case; -1 when no key has it.
    int KeyNamed(const std::string& keyName) const { return keyMap.KeyNamed(keyName); }
    // Key position n as the shown layer has it: its hint, pressed when bound, grayed when not the
    // player's, framed when selected.
    void ShowKey(std::size_t n);
    // The function lists show the function of the selected key in its group's list, the others
    // nothing; bringForward: that group's list becomes the visible one.
    void ShowSelectedKeyFunction(bool bringForward = false);
    // The page's words about the keyboard after a change: the layer shown, the key line, the
    // function list's label, and the look of each key.
    void ShowKeyState();
    // The line for a key of the keyboard (a Ctrl key too): what it holds in the shown layer, then
    // in the other; null: how to learn what a key does.
    void ShowKeyLine(const ui::TSpeedButton* key);
    // The key the line is about: the one under the pointer, else the focused one, else the selected one.
    const ui::TSpeedButton* KeyOfTheLine() const;
    // The key as the texts about keys name it: its caption, told left from right when another key
    // has the same caption, with Ctrl when in the Ctrl layer.
    std::string KeyLabel(const ui::TSpeedButton* key, KeyLayer layer) const;
    std::string KeyLabel(std::size_t position, KeyLayer layer) const { return KeyLabel(keyButtons[position], layer); }
    KeyRef SelectedKeyRef() const { return {shownLayer, static_cast<std::size_t>(selectedPosition)}; }
    // The chosen function goes on the selected key, after the questions that the key's function and
    // the function's key ask; false when an answer was No.
    bool PutOnSelectedKey(FunctionRef f);
    // Where the game's own key map is kept, beside keymap.ini: copied there from keymap.ini the
    // first time it is about to be written in a folder, and never written again.
    std::wstring originalKeymapPath;

    // --- Language file
    void LoadLanguage(const std::wstring& path);
    std::string LanguageText(const std::string& name) const;
    // The entry's text, or the built-in one when the language file has none.
    std::string LanguageTextOr(const std::string& name, const std::string& builtIn) const;
    // The name of the first language line shown as text; empty when there is none.
    std::string LanguageKeyOf(const std::string& text) const;

    // A message box of the window: its caption as title.
    ui::TModalResult MessageDlg(const std::string& text, ui::TMsgDlgType type, ui::TMsgDlgButtons buttons);

    IDisplayModes& DisplayModes() { return *displayModes_; }
    IProcesses& Processes() { return *processes_; }

    // One key of the keyboard picture, a row of its table: where the form puts it, its down-state
    // group, the handlers the form binds to it, and whether the player may put functions on it.
    // The two Ctrl keys switch the layer; every other key is a key position, in table order.
    enum class KeyHandlers { None, Select, Refuse, Ctrl };
    struct KeyboardKey {
        ui::TSpeedButton* TfConfig::*button;
        const char* name;
        int width, gapBefore;
        int groupIndex;
        bool allowAllUp;
        KeyHandlers handlers;
        bool assignable;
        unsigned short virtualKey;  // the key of the real keyboard it pictures, as a US keyboard has it
    };
    struct KeyboardRow {
        int top;
        std::vector<KeyboardKey> keys;
    };
    static const std::vector<KeyboardRow>& KeyboardRows();

private:
    void CreateControls();
    void CreateKeyboard();
    void BindHandlers();
    void BuildControlLists();

    std::vector<std::string> arguments_;
    // The key the player's pointer rests on, set by a mouse move of the player's over it and
    // cleared when the pointer leaves it or the keyboard moves the focus to a key.
    const ui::TSpeedButton* pointedKey_ = nullptr;
    // The caption the language file gives lFunction, shown while no key is selected.
    std::string functionCaption_;
    // A function chosen from the list of every function while on no key: the next key chosen takes it.
    FunctionRef pendingFunction_;
    // The bindings the game came with: the kept copy's, else the key map's as loaded at the start;
    // empty reason when they can be put back.
    KeyMapEntries gameKeys_;
    std::string gameKeysProblem_;
    // Reads gameKeys_ and enables bRestoreKeys, or disables it with the reason as its tool tip.
    void ReadGameKeys(const KeyMapEntries& loaded);
    // Copies keymap.ini to originalKeymapPath when no copy is there yet; a copy that cannot be made
    // stops nothing.
    void KeepOriginalKeymap();
    // keymap.ini as it was at the start, and whether this program has written it since: then, or
    // when it has gone, that is the file the copy keeps.
    std::optional<std::string> keymapAtStart_;
    bool keymapWritten_ = false;
    // What the files held when last read or written, under the keys their saves write.
    SavedValues savedSettings_, savedKeyMap_;
    // Set once the constructor has loaded everything: Apply's state means something from then on.
    bool built_ = false;
    // The video test that OK or Apply asked for could not be started, and has said so.
    bool testNotRun_ = false;
    // The controls whose OnMouseMove is DisplayHelp.
    std::unordered_set<const ui::TControl*> helpBound_;
    std::unique_ptr<IDisplayModes> ownDisplayModes_;
    std::unique_ptr<IProcesses> ownProcesses_;
    IDisplayModes* displayModes_;
    IProcesses* processes_;
    std::unique_ptr<LanguageIndex> language_;
};
