// The window's controls, page by page, group by group, in their visual order.
// Positions are design pixels at 120 pixels per inch; the form scales them to the screen.
#include "app/Main.h"

#include <windows.h>  // the virtual key codes of the keyboard's keys

using namespace ui;

namespace {

struct Box {
    int left, top, width, height;
};

// Creates a control of the window: owned by the window, placed in parent.
template <class T, class... Extra>
T* Make(TfConfig* owner, TControl* parent, const char* name, Box box, const std::string& caption = {},
        Extra... extra)
{
    T* control = new T(owner, name, extra...);
    control->SetCaption(caption);
    control->SetBounds(box.left, box.top, box.width, box.height);
    control->SetParent(parent);
    return control;
}

TLabel* MakeLabel(TfConfig* owner, TControl* parent, const char* name, Box box, const std::string& caption,
                  bool bold = false, TAlignment alignment = TAlignment::Left)
{
    auto* label = new TLabel(owner, name);
    label->SetCaption(caption);
    label->SetBold(bold);
    label->SetAlignment(alignment);
    label->SetBounds(box.left, box.top, box.width, box.height);
    label->SetParent(parent);
    return label;
}

TTrackBar* MakeTrackBar(TfConfig* owner, TControl* parent, const char* name, Box box, TTrackBarOrientation orientation,
                        int min, int max, int position, int lineSize, int tickFrequency)
{
    auto* bar = new TTrackBar(owner, name);
    bar->SetOrientation(orientation);
    bar->SetRange(min, max);
    bar->SetPosition(position);
    bar->SetPageSize(1);
    bar->SetLineSize(lineSize);
    bar->SetTickFrequency(tickFrequency);
    bar->SetBounds(box.left, box.top, box.width, box.height);
    bar->SetParent(parent);
    return bar;
}

TUpDown* MakeUpDown(TfConfig* owner, TControl* parent, const char* name, Box box, int min, int max, int position)
{
    auto* upDown = new TUpDown(owner, name);
    upDown->SetRange(min, max);
    upDown->SetPosition(position);
    upDown->SetBounds(box.left, box.top, box.width, box.height);
    upDown->SetParent(parent);
    return upDown;
}

constexpr int kCheck = 20;  // height of a check box or radio button, a little less than a row
constexpr int kLabel = 17;
constexpr int kEdit = 24;
// A vertical slider: its thumb and the ticks after it, and no more, so that the words before it get the room.
constexpr int kSliderWidth = 40;

}  // namespace

void TfConfig::CreateControls()
{
    SetClientSize(778, 527);
    SetCaption("Torvel II");

    bTestSettings = Make<TButton>(this, this, "bTestSettings", {8, 488, 100, 30}, "&Test ...");
    bCancel = Make<TButton>(this, this, "bCancel", {475, 488, 94, 30}, "Cancel");
    bApply = Make<TButton>(this, this, "bApply", {575, 488, 94, 30}, "&Apply");
    bOK = Make<TButton>(this, this, "bOK", {675, 488, 94, 30}, "OK");
    openImport = new TOpenDialog(this, "openImport");

    pcConfig = Make<TPageControl>(this, this, "pcConfig", {8, 8, 761, 473});
    tsSimple = Make<TTabSheet>(this, pcConfig, "tsSimple", {0, 0, 753, 445}, "&Basic");
    tsHotKeys = Make<TTabSheet>(this, pcConfig, "tsHotKeys", {0, 0, 753, 445}, " &Hot Keys");
    tsGameplay = Make<TTabSheet>(this, pcConfig, "tsGameplay", {0, 0, 753, 445}, "&Gameplay");
    tsOptions = Make<TTabSheet>(this, pcConfig, "tsOptions", {0, 0, 753, 445}, "G&raphics");
    pcConfig->SetActivePage(tsSimple);

    // --- Basic
    // Slider ticks: 5 or 6 levels spread over the slider's channel, labels centred on them.
    const int sliderTop = 48, sliderHeight = 320, firstTick = sliderTop + 13, tickSpan = sliderHeight - 26;
    auto tickY = [&](int level, int levels) { return firstTick + tickSpan * (level - 1) / (levels - 1); };

    // The difficulty group is no wider than its words and slider need: the summary takes the room.
    gbDifficulty = Make<TGroupBox>(this, tsSimple, "gbDifficulty", {8, 8, 121, 417}, "Difficulty");
    lDifficulty = MakeLabel(this, gbDifficulty, "lDifficulty", {12, 22, 97, kLabel}, "&Difficulty", true);
    TLabel** difficultyLabels[] = {&lExpert, &lHard, &lNormal, &lEasy, &lNovice};
    const char* difficultyNames[] = {"lExpert", "lHard", "lNormal", "lEasy", "lNovice"};
    const char* difficultyCaptions[] = {"Expert", "Hard", "Normal", "Easy", "Novice"};
    for (int i = 0; i < 5; ++i)
        *difficultyLabels[i] = MakeLabel(this, gbDifficulty, difficultyNames[i], {6, tickY(i + 1, 5) - 8, 66, kLabel},
                                         difficultyCaptions[i], false, TAlignment::Right);
    tbDifficulty = MakeTrackBar(this, gbDifficulty, "tbDifficulty", {73, sliderTop, kSliderWidth, sliderHeight},
                                TTrackBarOrientation::Vertical, 1, 5, 3, 1, 1);

    gbHardware = Make<TGroupBox>(this, tsSimple, "gbHardware", {136, 8, 337, 417}, "Hardware");
    // Each heading is centred over its slider, side by side over the sliders' pitch so that the bold
    // words keep apart; the middle one, the longest word, takes a little of its neighbours' room.
    lGeneral = MakeLabel(this, gbHardware, "lGeneral", {127, 22, 68, kLabel}, "G&eneral", true, TAlignment::Center);
    lGraphics = MakeLabel(this, gbHardware, "lGraphics", {195, 22, 74, kLabel}, "Gra&phics", true, TAlignment::Center);
    lSound = MakeLabel(this, gbHardware, "lSound", {269, 22, 65, kLabel}, "&Sound", true, TAlignment::Center);
    TLabel** classLabels[] = {&lHighEnd, &lAboveAverage, &lAverage, &lBudget, &lMinSpec, &lBelowMinSpec};
    const char* classNames[] = {"lHighEnd", "lAboveAverage", "lAverage", "lBudget", "lMinSpec", "lBelowMinSpec"};
    const char* classCaptions[] = {"Tiny God", "High End PC", "Average PC", "Budget PC", "Minimum Spec",
                                   "Below Min Spec"};
    TLabel** speedLabels[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
    const char* speedNames[] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"};
    const char* speedCaptions[] = {"600 MHz", "533 MHz", "450 MHz", "333 MHz", "233 MHz", "200 MHz"};
    for (int i = 0; i < 6; ++i) {
        int y = tickY(i + 1, 6);
        *classLabels[i] = MakeLabel(this, gbHardware, classNames[i], {6, y - 18, 134, kLabel}, classCaptions[i],
                                    false, TAlignment::Right);
        *speedLabels[i] = MakeLabel(this, gbHardware, speedNames[i], {6, y, 134, kLabel}, speedCaptions[i], false,
                                    TAlignment::Right);
    }
    lBelowMinSpec->SetFontColor(clRed);
    tbGeneral = MakeTrackBar(this, gbHardware, "tbGeneral", {142, sliderTop, kSliderWidth, sliderHeight},
                             TTrackBarOrientation::Vertical, 1, 6, 3, 1, 1);
    tbGraphics = MakeTrackBar(this, gbHardware, "tbGraphics", {212, sliderTop, kSliderWidth, sliderHeight},
                              TTrackBarOrientation::Vertical, 1, 6, 3, 1, 1);
    tbSound = MakeTrackBar(this, gbHardware, "tbSound", {282, sliderTop, kSliderWidth, sliderHeight},
                           TTrackBarOrientation::Vertical, 1, 6, 3, 1, 1);
    cb3dAcceleration2 = Make<TCheckBox>(this, gbHardware, "cb3dAcceleration2", {12, 384, 313, kCheck});

    // As wide as the summary's longest line in the shipped language (every option off, the widest
    // resolution), so none wraps; its 22 lines fit the height at any resolution, so it needs no
    // scroll bar, which would only take width from them.
    lSettings = MakeLabel(this, tsSimple, "lSettings", {480, 6, 265, kLabel}, "Settings", true);
    mSettings = Make<TMemo>(this, tsSimple, "mSettings", {480, 26, 265, 401}, "", TScrollStyle::None);
    mSettings->SetColor(clSilver);
    // It only tells what the sliders chose: nothing there to do with the keyboard.
    mSettings->SetTabStop(false);

    // --- Hot Keys
    CreateKeyboard();
    sbDummy = new TSpeedButton(this, "sbDummy");
    sbDummy->SetVisible(false);
    sbDummy->SetEnabled(false);
    sbDummy->SetBounds(0, 0, 8, 8);
    sbDummy->SetParent(tsHotKeys);

    // Under the keyboard: the layer it shows and how to remove a binding, then what a key holds.
    lLayer = MakeLabel(this, tsHotKeys, "lLayer", {12, 287, 290, kLabel}, "");
    lDelete = MakeLabel(this, tsHotKeys, "lDelete", {306, 287, 439, kLabel},
                        "Right-click a key or press Delete on it to remove its hot key", false, TAlignment::Right);
    lKeyLine = MakeLabel(this, tsHotKeys, "lKeyLine", {12, 307, 733, kLabel}, "");
    lKeyLine->SetEndEllipsis(true);
    for (TLabel* words : {lLayer, lKeyLine}) words->SetShowAccelChar(false);

    // The groups in two rows of three, a row's height apart so that neither the circles nor the
    // underlined letters touch; the group's function list below them.
    gbHotKeyGroups = Make<TGroupBox>(this, tsHotKeys, "gbHotKeyGroups", {8, 332, 414, 101}, "Hot Key Groups");
    TRadioButton** radios[] = {&rbPage, &rbActions, &rbMiscellaneous, &rbQuickSlots, &rbWizardSpells, &rbPriestSpells};
    const char* radioNames[] = {"rbPage", "rbActions", "rbMiscellaneous", "rbQuickSlots", "rbWizardSpells",
                                "rbPriestSpells"};
    const char* radioCaptions[] = {"rb&Page", "rbA&ctions", "rb&Miscellaneous", "rb&QuickSlots", "rb&WizardSpells",
                                   "rbPri&estSpells"};
    // Three columns, each as wide as the longer of its two names needs in the shipped languages.
    const int columnLeft[] = {12, 161, 283}, columnWidth[] = {145, 118, 122};
    for (int i = 0; i < 6; ++i) {
        *radios[i] = Make<TRadioButton>(this, gbHotKeyGroups, radioNames[i],
                                        {columnLeft[i % 3], 20 + 22 * (i / 3), columnWidth[i % 3], kCheck},
                                        radioCaptions[i]);
        (*radios[i])->Tag = i;
    }
    // The label names the key a choice goes to ("Function for Ctrl+RShift"), so it takes room from the list.
    lFunction = MakeLabel(this, gbHotKeyGroups, "lFunction", {12, 73, 183, kLabel}, "&Function");
    TComboBox** lists[] = {&cbPage, &cbActions, &cbMiscellaneous, &cbQuickSlots, &cbWizardSpells, &cbPriestSpells};
    const char* listNames[] = {"cbPage", "cbActions", "cbMiscellaneous", "cbQuickSlots", "cbWizardSpells",
                               "cbPriestSpells"};
    const char* listHints[] = {"Page", "Actions", "Miscellaneous", "Quick Slots", "Wizard Spells", "Priest Spells"};
    for (int i = 0; i < 6; ++i) {
        auto* list = new TComboBox(this, listNames[i], /*sorted=*/true);
        list->SetHint(listHints[i]);
        list->SetText(listNames[i]);
        list->SetVisible(false);
        list->SetBounds(199, 69, 207, kEdit);
        list->SetParent(gbHotKeyGroups);
        *lists[i] = list;
    }
    cbWizardSpells->Tag = 4;
    cbPriestSpells->Tag = 5;
    cbFixed = new TComboBox(this, "cbFixed", /*sorted=*/false);
    cbFixed->SetHint("Fixed");
    cbFixed->SetText("cbFixed");
    cbFixed->SetVisible(false);
    cbFixed->SetBounds(199, 96, 207, kEdit);
    cbFixed->SetParent(gbHotKeyGroups);

    cbConfirmDeletions = Make<TCheckBox>(this, tsHotKeys, "cbConfirmDeletions", {434, 336, 311, kCheck},
                                         "Confirm Hot Key &Delete");
    cbConfirmKey = Make<TCheckBox>(this, tsHotKeys, "cbConfirmKey", {434, 358, 311, kCheck},
                                   "Confirm Hot &Key -> Spell Changes");
    cbConfirmSpell = Make<TCheckBox>(this, tsHotKeys, "cbConfirmSpell", {434, 380, 311, kCheck},
                                     "Confirm &Spell -> Hot Key Changes");
    cbConfirmDeletions->SetChecked(true);
    cbConfirmKey->SetChecked(true);
    cbConfirmSpell->SetChecked(true);
    bKeyList = Make<TButton>(this, tsHotKeys, "bKeyList", {434, 406, 86, 30}, "Key &List ...");
    bRestoreKeys = Make<TButton>(this, tsHotKeys, "bRestoreKeys", {526, 406, 129, 30}, "Restore &Defaults");
    bRestoreKeys->SetShowHint(true);  // what it does, or why it cannot
    bImport = Make<TButton>(this, tsHotKeys, "bImport", {661, 406, 84, 30}, "&Import ...");

    // --- Gameplay
    gbCacheOptions = Make<TGroupBox>(this, tsGameplay, "gbCacheOptions", {8, 20, 257, 63}, " Cache Options ");
    lCacheSize = MakeLabel(this, gbCacheOptions, "lCacheSize", {12, 30, 96, kLabel}, "Cache Si&ze");
    eCacheSize = Make<TEdit>(this, gbCacheOptions, "eCacheSize", {112, 26, 90, kEdit});
    udCacheSize = MakeUpDown(this, gbCacheOptions, "udCacheSize", {185, 26, 17, kEdit}, 150, 10000, 300);
    udCacheSize->SetAssociate(eCacheSize);
    lmb = MakeLabel(this, gbCacheOptions, "lmb", {208, 30, 40, kLabel}, "MB");

    gbAIOptions = Make<TGroupBox>(this, tsGameplay, "gbAIOptions", {8, 97, 257, 176}, " AI Options ");
    lFrameRate = MakeLabel(this, gbAIOptions, "lFrameRate", {12, 22, 233, kLabel}, "AI Frame Rate");
    tbFrameRate = MakeTrackBar(this, gbAIOptions, "tbFrameRate", {6, 40, 245, 34}, TTrackBarOrientation::Horizontal,
                               15, 60, 30, 5, 5);
    lUpdatesValue = MakeLabel(this, gbAIOptions, "lUpdatesValue", {12, 78, 22, kLabel}, "30");
    lUpdates = MakeLabel(this, gbAIOptions, "lUpdates", {36, 78, 208, kLabel}, "Updates per Second");
    lPathSearchNodes = MakeLabel(this, gbAIOptions, "lPathSearchNodes", {12, 110, 100, kLabel}, "Search &Nodes");
    ePathSearchNodes = Make<TEdit>(this, gbAIOptions, "ePathSearchNodes", {116, 106, 100, kEdit});
    ePathSearchNodes->SetText("20000");
    udPathSearchNodes = MakeUpDown(this, gbAIOptions, "udPathSearchNodes", {218, 106, 17, kEdit}, 40, 4000, 40);
    ePathSearchNodes->Spinner = udPathSearchNodes;  // its keys, as the attached edits have theirs
    cbEnhancedPathfinding = Make<TCheckBox>(this, gbAIOptions, "cbEnhancedPathfinding", {12, 142, 233, kCheck},
                                            "&cbEnhancedPathfinding");

    gbMultiplayer = Make<TGroupBox>(this, tsGameplay, "gbMultiplayer", {8, 288, 257, 137}, " Multiplayer Options ");
    cbGameSpy = Make<TCheckBox>(this, gbMultiplayer, "cbGameSpy", {12, 24, 233, kCheck}, "GameS&py Enabled");
    lZipCode = MakeLabel(this, gbMultiplayer, "lZipCode", {12, 62, 84, kLabel}, "Zip Co&de");
    eZipCode = Make<TEdit>(this, gbMultiplayer, "eZipCode", {100, 58, 145, kEdit});
    lCountry = MakeLabel(this, gbMultiplayer, "lCountry", {12, 98, 84, kLabel}, "C&ountry");
    cbCountry = Make<TComboBox>(this, gbMultiplayer, "cbCountry", {100, 94, 145, kEdit});

    gbGameplay = Make<TGroupBox>(this, tsGameplay, "gbGameplay", {280, 20, 465, 197}, " Gameplay ");
    struct CheckRow {
        TCheckBox** control;
        const char* name;
        const char* caption;
        int left, top, width;
    };
    const CheckRow gameplayRows[] = {
        {&cbCriticalHit, "cbCriticalHit", "Critica&l Hit Screen Shake", 12, 20, 230},
        {&cbTranslucentShadows, "cbTranslucentShadows", "Transl&ucent Shadows", 12, 41, 230},
        {&cbLowEndMachine, "cbLowEndMachine", "&Standard Static Animations", 12, 62, 230},
        {&cbLowEndMachine2, "cbLowEndMachine2", "High &End Static Animations", 12, 83, 230},
        {&cbFootsteps, "cbFootsteps", "&Footsteps", 12, 104, 230},
        {&cbAttackSounds, "cbAttackSounds", "Attac&k Sounds", 12, 125, 230},
        {&cbLowMemSounds1, "cbLowMemSounds1", "No High Memor&y Sounds", 12, 146, 230},
        {&cbLowMemSounds2, "cbLowMemSounds2", "Low Memory Sounds &2", 12, 167, 230},
        {&cbDuplicateFloatingText, "cbDuplicateFloatingText", "Duplicate Floating Te&xt", 246, 20, 204},
        {&cbDisableCastingGlows, "cbDisableCastingGlows", "Disable Casting Glo&ws", 246, 41, 204},
        {&cbDisableVidCells, "cbDisableVidCells", "Disable &Vid Cells", 246, 62, 204},
        {&cbForce50Transparency, "cbForce50Transparency", "Force &50% Transparency", 246, 83, 204},
        {&cbBrightenOff, "cbBrightenOff", "Br&ighten Off", 246, 104, 204},
        {&cbMidLevelBrighten, "cbMidLevelBrighten", "&Mid Level Brighten", 264, 125, 186},
        {&cbHighLevelBrighten, "cbHighLevelBrighten", "High Le&vel Brighten", 264, 146, 186},
    };
    for (const CheckRow& row : gameplayRows)
        *row.control = Make<TCheckBox>(this, gbGameplay, row.name, {row.left, row.top, row.width, kCheck}, row.caption);
    // Below the last brightening option, inside the group's frame.
    lTilesPrecache = MakeLabel(this, gbGameplay, "lTilesPrecache", {246, 173, 104, kLabel}, "T&ile Precache");
    eTilesPrecache = Make<TEdit>(this, gbGameplay, "eTilesPrecache", {354, 170, 64, 22});
    udTilesPrecache = MakeUpDown(this, gbGameplay, "udTilesPrecache", {401, 170, 17, 22}, 0, 100, 0);
    udTilesPrecache->SetAssociate(eTilesPrecache);
    lPercent = MakeLabel(this, gbGameplay, "lPercent", {424, 173, 24, kLabel}, "%");

    lHelp2 = MakeLabel(this, tsGameplay, "lHelp2", {280, 228, 200, kLabel}, "Information and Help:", true);
    lTopic2 = MakeLabel(this, tsGameplay, "lTopic2", {480, 228, 265, kLabel}, "", false, TAlignment::Right);
    mHelp2 = Make<TMemo>(this, tsGameplay, "mHelp2", {280, 248, 465, 177});
    mHelp2->SetColor(clWhite);

    // --- Graphics
    gbColorDepth = Make<TGroupBox>(this, tsOptions, "gbColorDepth", {8, 20, 257, 53}, " Color Depth ");
    rb16bit = Make<TRadioButton>(this, gbColorDepth, "rb16bit", {12, 22, 73, kCheck}, "16 b&it");
    rb24bit = Make<TRadioButton>(this, gbColorDepth, "rb24bit", {89, 22, 79, kCheck}, "2&4 bit");
    rb32bit = Make<TRadioButton>(this, gbColorDepth, "rb32bit", {170, 22, 79, kCheck}, "&32 bit");
    rb16bit->Tag = 0;
    rb24bit->Tag = 1;
    rb32bit->Tag = 2;

    gbGameResolution = Make<TGroupBox>(this, tsOptions, "gbGameResolution", {8, 84, 257, 161}, " Game Resolution ");
    lSupported = MakeLabel(this, gbGameResolution, "lSupported", {12, 20, 104, kLabel}, "Supported");
    rb640 = Make<TRadioButton>(this, gbGameResolution, "rb640", {12, 40, 104, kCheck}, "640 &x 480");
    rb800 = Make<TRadioButton>(this, gbGameResolution, "rb800", {12, 62, 104, kCheck}, "&800 x 600");
    lUnsupported = MakeLabel(this, gbGameResolution, "lUnsupported", {120, 20, 130, kLabel}, "Unsupported");
    lUnsupported->SetFontColor(clRed);
    cbUnlockModes = Make<TCheckBox>(this, gbGameResolution, "cbUnlockModes", {120, 40, 130, kCheck}, "&Unlock Modes");
    rb1024 = Make<TRadioButton>(this, gbGameResolution, "rb1024", {120, 62, 130, kCheck}, "rb1&024");
    rb1280 = Make<TRadioButton>(this, gbGameResolution, "rb1280", {120, 84, 130, kCheck}, "rb&1280");
    rb1600 = Make<TRadioButton>(this, gbGameResolution, "rb1600", {120, 106, 130, kCheck}, "rb1&600");
    rb2048 = Make<TRadioButton>(this, gbGameResolution, "rb2048", {120, 128, 130, kCheck}, "rb&2048");
    TRadioButton* resolutions[] = {rb640, rb800, rb1024, rb1280, rb1600, rb2048};
    for (int i = 0; i < 6; ++i) resolutions[i]->Tag = i;

    gbWindowMode = Make<TGroupBox>(this, tsOptions, "gbWindowMode", {8, 256, 257, 53}, "Window Mode");
    rbFullScreen = Make<TRadioButton>(this, gbWindowMode, "rbFullScreen", {12, 22, 126, kCheck}, "Fu&ll Screen");
    rbWindowed = Make<TRadioButton>(this, gbWindowMode, "rbWindowed", {142, 22, 102, kCheck}, "&Window");

    gb2d16bitOptions = Make<TGroupBox>(this, tsOptions, "gb2d16bitOptions", {8, 320, 257, 105},
                                       " 2D and 16 bit Only Options ");
    cbSoftwareMirror = Make<TCheckBox>(this, gb2d16bitOptions, "cbSoftwareMirror", {12, 24, 233, kCheck},
                                       "Software &Mirror BLT");
    cbSoftware = Make<TCheckBox>(this, gb2d16bitOptions, "cbSoftware", {12, 48, 233, kCheck}, "So&ftware BLT");
    cbSoftwareTransparent = Make<TCheckBox>(this, gb2d16bitOptions, "cbSoftwareTransparent", {12, 72, 233, kCheck},
                                            "S&oftware Transparent BLT");

    gb3dOptions = Make<TGroupBox>(this, tsOptions, "gb3dOptions", {280, 20, 465, 197}, " 3D Options ");
    cb3dAnimations = Make<TCheckBox>(this, gb3dOptions, "cb3dAnimations", {12, 26, 300, kCheck}, "3&D Animations");
    cb3dAcceleration = Make<TCheckBox>(this, gb3dOptions, "cb3dAcceleration", {12, 60, 260, kCheck},
                                       "Use 3D A&cceleration");
    bGLSetup = Make<TButton>(this, gb3dOptions, "bGLSetup", {324, 56, 126, 30}, "3D &Setup ...");
    lGLDrivers = MakeLabel(this, gb3dOptions, "lGLDrivers", {12, 104, 64, kLabel}, "Dri&ver");
    cbGLDrivers = Make<TComboBox>(this, gb3dOptions, "cbGLDrivers", {80, 100, 370, kEdit});
    cb16bitTextures = Make<TCheckBox>(this, gb3dOptions, "cb16bitTextures", {12, 140, 300, kCheck}, "32 bit T&extures");

    lHelp = MakeLabel(this, tsOptions, "lHelp", {280, 228, 200, kLabel}, "Information and Help:", true);
    lTopic = MakeLabel(this, tsOptions, "lTopic", {480, 228, 265, kLabel}, "", false, TAlignment::Right);
    mHelp = Make<TMemo>(this, tsOptions, "mHelp", {280, 248, 465, 177});
    mHelp->SetColor(clWhite);

    // --- The keyboard: Tab goes through the shown page in reading order, then the buttons below
    // it from left to right, then the tabs; Enter presses OK and Esc Cancel; a label's access key
    // leads to the control it names.
    SetTabOrder({tsSimple, tsHotKeys, tsGameplay, tsOptions, bTestSettings, bCancel, bApply, bOK, pcConfig});
    bOK->SetDefault(true);
    bCancel->SetCancel(true);
    const std::pair<TLabel*, TControl*> labelled[] = {
        {lDifficulty, tbDifficulty}, {lGeneral, tbGeneral},           {lGraphics, tbGraphics},
        {lSound, tbSound},           {lCacheSize, eCacheSize},        {lFrameRate, tbFrameRate},
        {lPathSearchNodes, ePathSearchNodes}, {lZipCode, eZipCode},   {lCountry, cbCountry},
        {lTilesPrecache, eTilesPrecache},     {lGLDrivers, cbGLDrivers}};
    for (const auto& [label, control] : labelled) label->FocusControl = control;
    for (TEdit* edit : {eCacheSize, ePathSearchNodes, eTilesPrecache}) edit->SetNumbersOnly(true);
    // The help topics are words taken from captions: an "&" in them is shown as it stands.
    for (TLabel* topic : {lTopic, lTopic2}) topic->SetShowAccelChar(false);
}

const std::vector<TfConfig::KeyboardRow>& TfConfig::KeyboardRows()
{
    // Ordinary keys are 35 wide on a pitch of 49; a gap before a key widens the space in front of it.
    constexpr int k = 35, gap = 24, wide = 44;
    // Handlers: Select picks the key for binding (click, mouse move, mouse up), Refuse only answers
    // a click; which keys the player may not assign is the last column, whatever the form binds.
    using H = KeyHandlers;
    constexpr H S = H::Select, R = H::Refuse, C = H::Ctrl, N = H::None;
    constexpr bool Yes = true, No = false;
#define KEY(n) &TfConfig::n, #n
    static const std::vector<KeyboardRow> rows = {
        {22,
         {{KEY(sbEsc), k, 0, 102, Yes, R, No, VK_ESCAPE},
          {KEY(sbF1), k, gap, 102, Yes, R, No, VK_F1},
          {KEY(sbF2), k, 0, 102, Yes, R, No, VK_F2},
          {KEY(sbF3), k, 0, 102, Yes, N, No, VK_F3},
          {KEY(sbF4), k, 0, 102, Yes, R, No, VK_F4},
          {KEY(sbF5), k, gap, 102, Yes, R, No, VK_F5},
          {KEY(sbF6), k, 0, 102, Yes, R, No, VK_F6},
          {KEY(sbF7), k, 0, 102, Yes, R, No, VK_F7},
          {KEY(sbF8), k, 0, 102, Yes, R, No, VK_F8},
          {KEY(sbF9), k, gap, 102, Yes, R, No, VK_F9},
          {KEY(sbF10), k, 0, 102, Yes, R, No, VK_F10},
          {KEY(sbF11), k, 0, 102, Yes, R, No, VK_F11},
          {KEY(sbF12), k, 0, 102, Yes, R, No, VK_F12}}},
        {64,
         {{KEY(sbTilde), k, 0, 0, No, S, Yes, VK_OEM_3},
          {KEY(sb1), k, 0, 0, No, R, No, '1'},
          {KEY(sb2), k, 0, 0, No, R, No, '2'},
          {KEY(sb3), k, 0, 0, No, R, No, '3'},
          {KEY(sb4), k, 0, 0, No, R, No, '4'},
          {KEY(sb5), k, 0, 0, No, R, No, '5'},
          {KEY(sb6), k, 0, 0, No, R, No, '6'},
          {KEY(sb7), k, 0, 0, No, R, No, '7'},
          {KEY(sb8), k, 0, 0, No, R, No, '8'},
          {KEY(sb9), k, 0, 0, No, R, No, '9'},
          {KEY(sb0), k, 0, 0, No, R, No, '0'},
          {KEY(sbDash), k, 0, 0, No, R, No, VK_OEM_MINUS},
          {KEY(sbEquals), k, 0, 0, No, R, No, VK_OEM_PLUS},
          {KEY(sbBackspace), 80, 0, 0, No, R, No, VK_BACK}}},
        {107,
         {{KEY(sbTab), 60, 0, 0, No, S, No, VK_TAB},
          {KEY(sbQ), k, 0, 0, No, S, Yes, 'Q'},
          {KEY(sbW), k, 0, 0, No, S, Yes, 'W'},
          {KEY(sbE), k, 0, 0, No, S, Yes, 'E'},
          {KEY(sbR), k, 0, 0, No, S, Yes, 'R'},
          {KEY(sbT), k, 0, 0, No, S, Yes, 'T'},
          {KEY(sbY), k, 0, 0, No, S, Yes, 'Y'},
          {KEY(sbU), k, 0, 0, No, S, Yes, 'U'},
          {KEY(sbI), k, 0, 0, No, S, Yes, 'I'},
          {KEY(sbO), k, 0, 0, No, S, Yes, 'O'},
          {KEY(sbP), k, 0, 0, No, S, Yes, 'P'},
          {KEY(sbOpenBrace), k, 0, 0, No, R, No, VK_OEM_4},
          {KEY(sbCloseBrace), k, 0, 0, No, R, No, VK_OEM_6},
          {KEY(sbBackslash), 51, 0, 0, No, S, Yes, VK_OEM_5}}},
        {149,
         {{KEY(sbCapsLock), 70, 0, 0, No, S, Yes, VK_CAPITAL},
          {KEY(sbA), k, 0, 0, No, S, Yes, 'A'},
          {KEY(sbS), k, 0, 0, No, S, Yes, 'S'},
          {KEY(sbD), k, 0, 0, No, S, Yes, 'D'},
          {KEY(sbF), k, 0, 0, No, S, Yes, 'F'},
          {KEY(sbG), k, 0, 0, No, S, Yes, 'G'},
          {KEY(sbH), k, 0, 0, No, S, Yes, 'H'},
          {KEY(sbJ), k, 0, 0, No, S, Yes, 'J'},
          {KEY(sbK), k, 0, 0, No, S, Yes, 'K'},
          {KEY(sbL), k, 0, 0, No, S, Yes, 'L'},
          {KEY(sbSemicolon), k, 0, 0, No, S, Yes, VK_OEM_1},
          {KEY(sbApostrophe), k, 0, 0, No, S, Yes, VK_OEM_7},
          {KEY(sbEnter), 90, 0, 0, No, S, Yes, VK_RETURN}}},
        {191,
         {{KEY(sbShiftLeft), 90, 0, 103, No, S, Yes, VK_LSHIFT},
          {KEY(sbZ), k, 0, 0, No, S, Yes, 'Z'},
          {KEY(sbX), k, 0, 0, No, S, Yes, 'X'},
          {KEY(sbC), k, 0, 0, No, S, Yes, 'C'},
          {KEY(sbV), k, 0, 0, No, S, Yes, 'V'},
          {KEY(sbB), k, 0, 0, No, S, Yes, 'B'},
          {KEY(sbN), k, 0, 0, No, S, Yes, 'N'},
          {KEY(sbM), k, 0, 0, No, S, Yes, 'M'},
          {KEY(sbComma), k, 0, 0, No, S, Yes, VK_OEM_COMMA},
          {KEY(sbPeriod), k, 0, 0, No, S, Yes, VK_OEM_PERIOD},
          {KEY(sbForwardSlash), k, 0, 0, No, S, Yes, VK_OEM_2},
          {KEY(sbShiftRight), 120, 0, 103, No, S, Yes, VK_RSHIFT}}},
        {232,
         {{KEY(sbCtrlLeft), 69, 0, 100, Yes, C, No, VK_LCONTROL},
          {KEY(sbWindowLeft), wide, 0, 101, Yes, S, No, VK_LWIN},
          {KEY(sbAltLeft), wide, 0, 102, Yes, S, No, VK_LMENU},
          {KEY(sbSpace), 277, 0, 0, No, S, No, VK_SPACE},
          {KEY(sbAltRight), wide, 0, 102, Yes, S, No, VK_RMENU},
          {KEY(sbWindowRight), wide, 0, 101, Yes, S, No, VK_RWIN},
          {KEY(sbMenu), wide, 0, 0, No, S, No, VK_APPS},
          {KEY(sbCtrlRight), 53, 0, 101, Yes, C, No, VK_RCONTROL}}},
    };
#undef KEY
    return rows;
}

void TfConfig::CreateKeyboard()
{
    gbKeyboard = Make<TGroupBox>(this, tsHotKeys, "gbKeyboard", {8, 4, 742, 278}, " Keyboard ");
    gbKeyboard->SetColor(clWhite);

    constexpr int kPitchGap = 14;
    for (const KeyboardRow& row : KeyboardRows()) {
        int x = 12;
        for (const KeyboardKey& key : row.keys) {
            x += key.gapBefore;
            auto* button = new TSpeedButton(this, key.name);
            button->SetShowHint(true);
            button->SetGroupIndex(key.groupIndex);
            button->SetAllowAllUp(key.allowAllUp);
            button->SetBounds(x, row.top, key.width, 36);
            button->SetParent(gbKeyboard);
            this->*key.button = button;
            x += key.width + kPitchGap;
        }
    }
    sbCtrlLeft->SetCaption("Ctrl");
    sbCtrlRight->SetCaption("Ctrl");
}
