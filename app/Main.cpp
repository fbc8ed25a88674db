#include "app/Main.h"
#include <algorithm>

#include "lang/LanguageIndex.h"
#include "presets/Difficulty.h"
#include "settings/IniFile.h"
#include "ui/Application.h"
#include "ui/Convert.h"
#include "ui/Exception.h"

using namespace ui;

TfConfig::TfConfig(std::wstring folder, std::vector<std::string> arguments, TfConfigPlatform platform)
    : TForm(nullptr, "fConfig", "TfConfig", 14), programFolder(std::move(folder)), arguments_(std::move(arguments))
{
    if (!platform.displayModes) ownDisplayModes_ = std::make_unique<Win32DisplayModes>();
    if (!platform.processes) ownProcesses_ = std::make_unique<Win32Processes>();
    displayModes_ = platform.displayModes ? platform.displayModes : ownDisplayModes_.get();
    processes_ = platform.processes ? platform.processes : ownProcesses_.get();

    CreateControls();
    BindHandlers();
    dlgDifficulty = new TdlgDifficulty(this);
    BuildControlLists();
    MarkDisabledKeys();
    videoControls = {rb640,   rb800,         rb16bit,        rb24bit,          rb32bit,         cbSoftwareMirror,
                     cbSoftware, cbSoftwareTransparent, cb3dAnimations, cb3dAcceleration, cb16bitTextures,
                     cbCriticalHit};
    videoSnapshot.assign(videoControls.size(), false);
    videoTestPassed = true;
    shownLayer = KeyLayer::Plain;
    selectedKey = nullptr;
    selectedPosition = 0;
    settingsPath = programFolder + L"torvel.ini";
    keymapPath = programFolder + L"keymap.ini";
    originalKeymapPath = programFolder + L"keymap-original.ini";
    advancedNoticePending = {true, true};

    LoadLanguage(programFolder + L"Language.txt");
    ScanDisplayModes();
    LoadSettings();
    LoadKeyMap();
    RefreshSummary();

    shownList = cbPage;
    rbPage->SetChecked(true);

    if (!arguments_.empty() && arguments_[0] == "-keymap") {
        tsOptions->SetEnabled(false);
        tsOptions->SetTabVisible(false);
        tsSimple->SetEnabled(false);
        tsSimple->SetTabVisible(false);
    }

    built_ = true;
    ReadSavedFiles();
    RefreshApplyState();
}

TfConfig::~TfConfig()
{
    BeginDestroy();
    // The language's error texts go with the window that read them.
    for (const ErrorTextRow& row : kErrorTexts) SetErrorText(row.text, {});
}

void TfConfig::BindHandlers()
{
    OnClose = Bind(this, &TfConfig::FormClose);
    OnCloseQuery = Bind(this, &TfConfig::FormCloseQuery);
    OnUserInput = [this](TObject*) { RefreshApplyState(); };
    OnActivate = Bind(this, &TfConfig::FormActivate);
    bTestSettings->OnClick = Bind(this, &TfConfig::bTestSettingsClick);
    bCancel->OnClick = Bind(this, &TfConfig::bCancelClick);
    bApply->OnClick = Bind(this, &TfConfig::bApplyClick);
    bOK->OnClick = Bind(this, &TfConfig::bOKClick);
    pcConfig->OnChange = Bind(this, &TfConfig::pcConfigChange);

    tbDifficulty->OnChange = Bind(this, &TfConfig::tbDifficultyChange);
    tbGeneral->OnChange = Bind(this, &TfConfig::tbGeneralChange);
    tbGraphics->OnChange = Bind(this, &TfConfig::tbGraphicsChange);
    tbSound->OnChange = Bind(this, &TfConfig::tbSoundChange);
    cb3dAcceleration2->OnClick = Bind(this, &TfConfig::cb3dAccelerationClick);

    // Keyboard buttons as the form binds them; the keys the user may not assign are bound
    // again when the constructor marks them.
    auto bindSelect = [this](TSpeedButton* key) {
        key->OnClick = Bind(this, &TfConfig::sbDummyClick);
        key->OnMouseMove = Bind(this, &TfConfig::sbDummyMouseMove);
        key->OnMouseUp = Bind(this, &TfConfig::sbDummyMouseUp);
    };
    for (const KeyboardRow& row : KeyboardRows())
        for (const KeyboardKey& key : row.keys) {
            TSpeedButton* button = this->*key.button;
            switch (key.handlers) {
            case KeyHandlers::Select: bindSelect(button); break;
            case KeyHandlers::Refuse: button->OnClick = Bind(this, &TfConfig::sbDisabledButtonClick); break;
            case KeyHandlers::Ctrl: button->OnClick = Bind(this, &TfConfig::sbCtrlClick); break;
            case KeyHandlers::None: break;
            }
            // Every key tells what it holds, to the mouse and to the keyboard; the Ctrl keys what they show.
            button->OnMouseMove = Bind(this, &TfConfig::sbDummyMouseMove);
            button->OnMouseLeave = Bind(this, &TfConfig::sbDummyMouseLeave);
            button->OnEnter = Bind(this, &TfConfig::sbDummyEnter);
            button->OnExit = Bind(this, &TfConfig::sbDummyExit);
            button->OnKeyDown = Bind(this, &TfConfig::sbDummyKeyDown);
        }
    bindSelect(sbDummy);

    bKeyList->OnClick = Bind(this, &TfConfig::bKeyListClick);
    bRestoreKeys->OnClick = Bind(this, &TfConfig::bRestoreKeysClick);
    bImport->OnClick = Bind(this, &TfConfig::bImportClick);
    for (TRadioButton* radio : {rbPage, rbActions, rbMiscellaneous, rbQuickSlots, rbWizardSpells, rbPriestSpells})
        radio->OnClick = Bind(this, &TfConfig::rgHotKeyGroupsClick);
    for (TComboBox* list : {cbPage, cbActions, cbMiscellaneous, cbQuickSlots, cbWizardSpells, cbPriestSpells}) {
        list->OnSelect = Bind(this, &TfConfig::ConfigureHotkeys);
        list->OnCancel = Bind(this, &TfConfig::HotkeyListCancel);
        list->OnExit = Bind(this, &TfConfig::HotkeyListExit);
    }

    eCacheSize->OnExit = Bind(this, &TfConfig::eCacheSizeExit);
    udCacheSize->OnExit = Bind(this, &TfConfig::eCacheSizeExit);
    tbFrameRate->OnChange = Bind(this, &TfConfig::tbFrameRateChange);
    ePathSearchNodes->OnChange = Bind(this, &TfConfig::ePathSearchNodesChange);
    ePathSearchNodes->OnExit = Bind(this, &TfConfig::ePathSearchNodesExit);
    udPathSearchNodes->OnClick = Bind(this, &TfConfig::udPathSearchNodesClick);
    cbBrightenOff->OnClick = Bind(this, &TfConfig::cbBrightenOffClick);

    for (TRadioButton* depth : {rb16bit, rb24bit, rb32bit}) depth->OnClick = Bind(this, &TfConfig::ColorDepthsClick);
    cbUnlockModes->OnClick = Bind(this, &TfConfig::cbUnlockModesClick);
    cb3dAcceleration->OnClick = Bind(this, &TfConfig::cb3dAccelerationClick);
    bGLSetup->OnClick = Bind(this, &TfConfig::bGLSetupClick);

    // Context help: the groups and options whose hint explains them, shown when the mouse moves
    // over one; the keyboard's focus shows them and the help of the group a control lies in.
    for (TControl* help : std::initializer_list<TControl*>{
             gbDifficulty, gbHardware, gbCacheOptions, gbAIOptions, gbMultiplayer, gbGameplay, gbColorDepth,
             gbGameResolution, gbWindowMode, gb2d16bitOptions, gb3dOptions, lDifficulty, lGeneral, lGraphics, lSound,
             lTilesPrecache, lPathSearchNodes, ePathSearchNodes, cbEnhancedPathfinding, cbCriticalHit,
             cbTranslucentShadows, cbLowEndMachine, cbLowEndMachine2, cbFootsteps, cbAttackSounds, cbLowMemSounds1,
             cbLowMemSounds2, cbDuplicateFloatingText, cbDisableCastingGlows, cbDisableVidCells,
             cbForce50Transparency, cbBrightenOff, cbMidLevelBrighten, cbHighLevelBrighten}) {
        help->OnMouseMove = Bind(this, &TfConfig::DisplayHelp);
        helpBound_.insert(help);
    }
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(Components(i)); control && !control->OnEnter)
            control->OnEnter = Bind(this, &TfConfig::HelpControlEnter);
}

void TfConfig::BuildControlLists()
{
    depthButtons = {rb16bit, rb24bit, rb32bit};
    resolutionButtons = {rb640, rb800, rb1024, rb1280, rb1600, rb2048};
    groupRadios = {rbPage, rbActions, rbMiscellaneous, rbQuickSlots, rbWizardSpells, rbPriestSpells};
    groupLists = {cbPage, cbActions, cbMiscellaneous, cbQuickSlots, cbWizardSpells, cbPriestSpells, cbFixed};
    // Key positions: the keyboard row by row, left to right, without the two Ctrl keys.
    keyButtons.clear();
    disabledKeys.clear();
    assignableKeys.clear();
    for (const KeyboardRow& row : KeyboardRows())
        for (const KeyboardKey& key : row.keys) {
            if (key.handlers == KeyHandlers::Ctrl) continue;
            keyButtons.push_back(this->*key.button);
            (key.assignable ? assignableKeys : disabledKeys).push_back(this->*key.button);
        }
}

TModalResult TfConfig::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    return Application().Dialogs().ShowMessage(this, text, Caption(), type, buttons);
}

// --- OK, Apply, Cancel, closing

void TfConfig::bOKClick(TObject*)
{
    if (SaveTested()) Application().Terminate();
}

void TfConfig::bApplyClick(TObject*) { SaveTested(); }

bool TfConfig::SaveTested()
{
    testNotRun_ = false;
    if (ConfirmVideoChanges() && videoTestPassed) {
        SaveSettings();
        SaveKeyMap();
        return true;
    }
    // A test program that could not be started has told why nothing is saved.
    if (!testNotRun_) MessageDlg(msgResetVideo, TMsgDlgType::Information, TMsgDlgButtons::OK);
    return false;
}

void TfConfig::bCancelClick(TObject*) { Close(); }

void TfConfig::FormCloseQuery(TObject*, bool& canClose)
{
    // Closing saves nothing: what the files do not hold yet is given up only when the player says so.
    canClose = !HasUnsavedWork() ||
               MessageDlg(LanguageTextOr("msgCloseUnsaved", "Your changes have not been saved. Close without saving them?"),
                          TMsgDlgType::Question, TMsgDlgButtons::YesNo) == TModalResult::Yes;
}

void TfConfig::FormClose(TObject*, TCloseAction& action) { action = TCloseAction::Hide; }

// --- Unsaved work

bool TfConfig::HasUnsavedWork() const
{
    return savedSettings_.Lacks(SettingsWrites()) || savedKeyMap_.Lacks(keyMap.Writes());
}

void TfConfig::RefreshApplyState()
{
    if (!built_) return;
    const bool unsaved = HasUnsavedWork();
    // A button the keyboard pressed keeps no focus once it cannot be pressed again: OK comes next.
    if (!unsaved && bApply->Focused()) MoveFocus(bOK);
    bApply->SetEnabled(unsaved);
}

void TfConfig::ReadSavedFiles()
{
    savedSettings_.Read(IniFile(settingsPath), SettingsWrites());
    savedKeyMap_.Read(IniFile(keymapPath), keyMap.Writes());
}

void TfConfig::FormActivate(TObject*)
{
    // Another program may have replaced them meanwhile, even under the same time of last writing, by
    // which alone the profile functions tell that a file they keep has changed.
    for (const std::wstring* path : {&settingsPath, &keymapPath}) IniFile(*path).ReleaseCache();
    ReadSavedFiles();
    RefreshApplyState();
}

namespace {
bool IsChecked(const TControl* control)
{
    if (auto* box = dynamic_cast<const TCheckBox*>(control)) return box->Checked();
    if (auto* radio = dynamic_cast<const TRadioButton*>(control)) return radio->Checked();
    return false;
}
}  // namespace

void TfConfig::TakeVideoSnapshot()
{
    for (std::size_t i = 0; i < videoControls.size(); ++i) videoSnapshot[i] = IsChecked(videoControls[i]);
}

bool TfConfig::ConfirmVideoChanges()
{
    bool changed = false;
    for (std::size_t i = 0; i < videoControls.size(); ++i)
        if (IsChecked(videoControls[i]) != videoSnapshot[i]) changed = true;
    if (cbGLDrivers->IndexOf(cbGLDrivers->Text()) != snapshotDriverIndex) changed = true;
    if (!changed) return true;
    if (MessageDlg(msgVideoTest, TMsgDlgType::Question, TMsgDlgButtons::YesNo) != TModalResult::Yes) return false;
    testNotRun_ = !RunVideoTest();
    return !testNotRun_;
}

// --- The numeric edits of the Gameplay page

void TfConfig::ClampEditToRange(TEdit* edit, TUpDown* upDown, int scale)
{
    int value = StrToInt(edit->Text()) / scale;
    if (value < upDown->Min())
        edit->SetText(IntToStr(static_cast<long long>(upDown->Min()) * scale));
    else if (value > upDown->Max())
        edit->SetText(IntToStr(static_cast<long long>(upDown->Max()) * scale));
    RefreshSummary();
}

void TfConfig::eCacheSizeExit(TObject*)
{
    ClampEditToRange(eCacheSize, udCacheSize, 1);
    if (udCacheSize->Position() < 300) MessageDlg(msgCacheSize, TMsgDlgType::Warning, TMsgDlgButtons::OK);
}

void TfConfig::ePathSearchNodesExit(TObject*) { ClampEditToRange(ePathSearchNodes, udPathSearchNodes, 100); }

void TfConfig::ePathSearchNodesChange(TObject*)
{
    udPathSearchNodes->SetPosition(StrToInt(ePathSearchNodes->Text()) / 100);
}

void TfConfig::udPathSearchNodesClick(TObject*)
{
    ePathSearchNodes->SetText(IntToStr(static_cast<long long>(udPathSearchNodes->Position()) * 100));
}

void TfConfig::tbFrameRateChange(TObject*) { lUpdatesValue->SetCaption(IntToStr(tbFrameRate->Position())); }
