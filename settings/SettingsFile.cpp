// The game's settings file: read into the controls at start, written back on OK and Apply.
// The controls are the settings. Each key is described once, in the table below: the load reads
// the keys in its order, so that each control's own handler runs its rules and the stored values
// read later win over what those rules set; the save writes them in the same order.
#include <cstdint>
#include <functional>
#include <utility>

#include "app/Main.h"
#include "gls/gls.h"
#include "lang/LanguageIndex.h"
#include "presets/Difficulty.h"
#include "settings/IniFile.h"
#include "ui/Convert.h"

using namespace ui;

namespace {

const char kGameOptions[] = "Game Options";
const char kProgramOptions[] = "Program Options";
const char kConfig[] = "Config";
const char kLocal[] = "Local";
const char kGamespy[] = "Gamespy";

// Levels, sliders and spinners keep only the low 16 bits of a stored number, signed.
int Signed16(int value) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF)); }

// 0 unchecked, 2 indeterminate; any other number counts as checked, as a boolean would.
TCheckBoxState CheckStateOf(int value)
{
    if (value == 0) return TCheckBoxState::Unchecked;
    if (value == 2) return TCheckBoxState::Grayed;
    return TCheckBoxState::Checked;
}

std::string StateText(const TCheckBox* box) { return IntToStr(static_cast<int>(box->State())); }
std::string BoolText(bool value) { return value ? "1" : "0"; }

const int kResolutions[] = {640, 800, 1024, 1280, 1600, 2048};
const int kDepths[] = {16, 24, 32};

// The number of the checked button, empty when none is checked.
std::string CheckedValue(const std::vector<TRadioButton*>& buttons, const int* values)
{
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->Checked()) return IntToStr(values[i]);
    return {};
}

std::string CountryCode(const TfConfig& w) { return CountryCodeOf(w.countryCodes, w.cbCountry->Text()); }

// One key of the settings file: where it lies, how the load shows it, what the save writes.
struct SettingsKey {
    const char* section;
    const char* name;
    // Shows the stored value, or the key's default, in the window. Empty for the three keys of
    // the location, which the load reads together once every other key is in.
    std::function<void(TfConfig&, const IniFileSections&)> load;
    std::function<std::string(const TfConfig&)> written;
    // Read only while 3D acceleration is on once its own key is in.
    bool only3D = false;
};

using Box = TCheckBox* TfConfig::*;

// A check box stored as a boolean, inverted when the key holds the opposite of the box.
SettingsKey Flag(const char* section, const char* name, Box box, bool byDefault, bool inverted = false)
{
    return {section, name,
            [=](TfConfig& w, const IniFileSections& ini) {
                (w.*box)->SetChecked(ini.ReadBool(section, name, byDefault) != inverted);
            },
            [=](const TfConfig& w) { return BoolText((w.*box)->Checked() != inverted); }};
}

SettingsKey InvertedFlag(const char* section, const char* name, Box box, bool byDefault)
{
    return Flag(section, name, box, byDefault, true);
}

// A check box stored as its state; absent, unchecked.
SettingsKey State(const char* section, const char* name, Box box)
{
    return {section, name,
            [=](TfConfig& w, const IniFileSections& ini) {
                (w.*box)->SetState(CheckStateOf(ini.ReadInteger(section, name, 0)));
            },
            [=](const TfConfig& w) { return StateText(w.*box); }};
}

// A hardware slider: its position.
SettingsKey Level(const char* section, const char* name, TTrackBar* TfConfig::*slider)
{
    return {section, name,
            [=](TfConfig& w, const IniFileSections& ini) {
                (w.*slider)->SetPosition(Signed16(ini.ReadInteger(section, name, 3)));
            },
            [=](const TfConfig& w) { return IntToStr((w.*slider)->Position()); }};
}

// A number the window does not show, kept as loaded unless a preset sets it.
SettingsKey Hidden(const char* section, const char* name, int TfConfig::*member)
{
    return {section, name, [=](TfConfig& w, const IniFileSections& ini) { w.*member = ini.ReadInteger(section, name, -1); },
            [=](const TfConfig& w) { return IntToStr(w.*member); }};
}

const std::vector<SettingsKey>& SettingsKeys()
{
    using W = TfConfig;
    static const std::vector<SettingsKey> keys = {
        // No stored difficulty (6, as an absent key reads) asks the player first.
        {kGameOptions, "Difficulty Level",
         [](W& w, const IniFileSections& ini) {
             int position = 6 - Signed16(ini.ReadInteger(kGameOptions, "Difficulty Level", 6));
             if (position == 0) {
                 w.dlgDifficulty->ShowModal();
                 position = 6 - w.dlgDifficulty->chosenLevel;
             }
             w.tbDifficulty->SetPosition(position);
             w.tbDifficultyChange(w.tbDifficulty);
         },
         [](const W& w) { return IntToStr(6 - w.tbDifficulty->Position()); }},
        // The presets run as each slider moves; every key after them is read afterwards and wins.
        Level(kConfig, "General", &W::tbGeneral),
        Level(kConfig, "Graphics", &W::tbGraphics),
        Level(kConfig, "Sound", &W::tbSound),
        // "Install Type", never written, only tells the default.
        {kConfig, "CacheSize",
         [](W& w, const IniFileSections& ini) {
             const int byDefault = ini.ReadInteger(kProgramOptions, "Install Type", 2) == 1 ? 150 : 300;
             w.udCacheSize->SetPosition(Signed16(ini.ReadInteger(kConfig, "CacheSize", byDefault)));
         },
         [](const W& w) { return IntToStr(w.udCacheSize->Position()); }},
        // Stored in nodes, shown in hundreds.
        {kProgramOptions, "Path Search Nodes",
         [](W& w, const IniFileSections& ini) {
             w.udPathSearchNodes->SetPosition(Signed16(ini.ReadInteger(kProgramOptions, "Path Search Nodes", 32000) / 100));
             w.ePathSearchNodes->SetText(IntToStr(static_cast<long long>(w.udPathSearchNodes->Position()) * 100));
         },
         [](const W& w) { return IntToStr(static_cast<long long>(w.udPathSearchNodes->Position()) * 100); }},
        // Shown as stored, then held in the slider's range. A frame rate that is no whole number is
        // unreadable like any other value: the label keeps the text it had and the slider follows that.
        {kProgramOptions, "Maximum Frame Rate",
         [](W& w, const IniFileSections& ini) {
             const std::string rate = ini.ReadString(kProgramOptions, "Maximum Frame Rate", w.lUpdatesValue->Caption());
             if (TryStrToInt(rate)) w.lUpdatesValue->SetCaption(rate);
             if (auto shown = TryStrToInt(w.lUpdatesValue->Caption())) w.tbFrameRate->SetPosition(*shown);
         },
         [](const W& w) { return w.lUpdatesValue->Caption(); }},
        Flag(kGameOptions, "Enhanced Path Finding", &W::cbEnhancedPathfinding, true),
        // Any other number shows 800 x 600; the unsupported sizes unlock their buttons.
        {kProgramOptions, "Resolution",
         [](W& w, const IniFileSections& ini) {
             const int resolution = ini.ReadInteger(kProgramOptions, "Resolution", -1);
             TRadioButton* button = w.rb800;
             for (std::size_t r = 0; r < w.resolutionButtons.size(); ++r)
                 if (resolution == kResolutions[r]) button = w.resolutionButtons[r];
             button->SetChecked(true);
             if (resolution >= 1024) w.cbUnlockModes->SetChecked(true);
         },
         [](const W& w) { return CheckedValue(w.resolutionButtons, kResolutions); }},
        {kProgramOptions, "Full Screen",
         [](W& w, const IniFileSections& ini) {
             (ini.ReadBool(kProgramOptions, "Full Screen", true) ? w.rbFullScreen : w.rbWindowed)->SetChecked(true);
         },
         [](const W& w) { return BoolText(w.rbFullScreen->Checked()); }},
        // Absent is 16 bits; a depth we do not offer checks none.
        {kProgramOptions, "BitsPerPixel",
         [](W& w, const IniFileSections& ini) {
             int depth = ini.ReadInteger(kProgramOptions, "BitsPerPixel", -1);
             if (depth == -1) depth = 16;
             for (std::size_t d = 0; d < w.depthButtons.size(); ++d)
                 if (depth == kDepths[d]) w.depthButtons[d]->SetChecked(true);
         },
         [](const W& w) { return CheckedValue(w.depthButtons, kDepths); }},
        // Read after the depth, whose rule disables them at 32 bits, and before 3D acceleration,
        // whose rule may then change the depth and clear them.
        State(kProgramOptions, "SoftMirrorBlt", &W::cbSoftwareMirror),
        State(kProgramOptions, "SoftBlt", &W::cbSoftware),
        State(kProgramOptions, "SoftSrcKeyBlt", &W::cbSoftwareTransparent),
        {kProgramOptions, "3D Acceleration",
         [](W& w, const IniFileSections& ini) {
             // The Basic page's twin follows the 3D rule without running it a second time.
             auto twin = std::exchange(w.cb3dAcceleration2->OnClick, nullptr);
             w.cb3dAcceleration->SetState(CheckStateOf(ini.ReadInteger(kProgramOptions, "3D Acceleration", 0)));
             w.cb3dAcceleration2->OnClick = twin;
             const bool on = w.cb3dAcceleration->Checked();
             w.bGLSetup->SetEnabled(on);
             if (on) return;
             w.snapshotDriverIndex = -1;
             w.lGLDrivers->SetEnabled(false);
             w.cbGLDrivers->SetEnabled(false);
             w.cb16bitTextures->SetChecked(false);
             w.cb16bitTextures->SetEnabled(false);
         },
         [](const W& w) { return StateText(w.cb3dAcceleration); }},
        State(kGameOptions, "Use 3d Animations", &W::cb3dAnimations),
        // The box says "32 bit Textures": the key holds 0 when it is checked.
        {kProgramOptions, "16Bit Textures",
         [](W& w, const IniFileSections& ini) {
             w.cb16bitTextures->SetChecked(ini.ReadInteger(kProgramOptions, "16Bit Textures", 0) == 0);
         },
         [](const W& w) { return std::string(w.cb16bitTextures->Checked() ? "0" : "1"); }, true},
        // The index into the detected drivers; one the list lacks shows no driver.
        {kProgramOptions, "GLSetup Driver",
         [](W& w, const IniFileSections& ini) {
             w.snapshotDriverIndex = ini.ReadInteger(kProgramOptions, "GLSetup Driver", 0);
             const auto& drivers = w.cbGLDrivers->Items();
             const bool listed = w.snapshotDriverIndex >= 0 && w.snapshotDriverIndex < static_cast<int>(drivers.size());
             w.cbGLDrivers->SetText(listed ? drivers[static_cast<std::size_t>(w.snapshotDriverIndex)] : std::string());
         },
         [](const W& w) { return IntToStr(w.cbGLDrivers->IndexOf(w.cbGLDrivers->Text())); }, true},
        // Read as a boolean, written as the box's state.
        {kGameOptions, "Critical Hit Screen Shake",
         [](W& w, const IniFileSections& ini) {
             w.cbCriticalHit->SetChecked(ini.ReadBool(kGameOptions, "Critical Hit Screen Shake", true));
         },
         [](const W& w) { return StateText(w.cbCriticalHit); }},
        InvertedFlag(kProgramOptions, "Translucent Shadows", &W::cbTranslucentShadows, false),
        Flag(kGameOptions, "Low End Machine", &W::cbLowEndMachine, false),
        Flag(kGameOptions, "Low End Machine 2", &W::cbLowEndMachine2, false),
        Flag(kGameOptions, "Duplicate Floating Text", &W::cbDuplicateFloatingText, false),
        Flag(kGameOptions, "Footsteps", &W::cbFootsteps, false),
        Flag(kGameOptions, "Attack Sounds", &W::cbAttackSounds, true),
        Flag(kGameOptions, "Disable Casting Glows", &W::cbDisableCastingGlows, false),
        Flag(kGameOptions, "Low Mem Sounds 1", &W::cbLowMemSounds1, false),
        Flag(kGameOptions, "Low Mem Sounds 2", &W::cbLowMemSounds2, false),
        Flag(kGameOptions, "Disable VEFVidCells", &W::cbDisableVidCells, false),
        InvertedFlag(kProgramOptions, "Disable Brighten", &W::cbBrightenOff, false),
        Flag(kProgramOptions, "Force 50 Percent Transparent", &W::cbForce50Transparency, false),
        Hidden(kProgramOptions, "Volume Movie", &W::volumeMovie),
        Hidden(kProgramOptions, "Volume Music", &W::volumeMusic),
        Hidden(kProgramOptions, "Volume Voices", &W::volumeVoices),
        Hidden(kProgramOptions, "Volume Ambients", &W::volumeAmbients),
        Hidden(kProgramOptions, "Volume SFX", &W::volumeSfx),
        Flag(kGameOptions, "Mid Level Brighten", &W::cbMidLevelBrighten, false),
        Flag(kGameOptions, "High Level Brighten", &W::cbHighLevelBrighten, false),
        {kGameOptions, "Tiles Precache Percent",
         [](W& w, const IniFileSections& ini) {
             w.udTilesPrecache->SetPosition(Signed16(ini.ReadInteger(kGameOptions, "Tiles Precache Percent", 50)));
         },
         [](const W& w) { return IntToStr(w.udTilesPrecache->Position()); }},
        {kLocal, "Zip", nullptr, [](const W& w) { return w.eZipCode->Text(); }},
        // The code the country table gives the country shown; empty for a name it does not have.
        {kLocal, "Country Code", nullptr, CountryCode},
        Flag(kGamespy, "Enabled", &W::cbGameSpy, false),
        // The zip code when there is one, else the country's code.
        {kGamespy, "Location", nullptr,
         [](const W& w) { return w.eZipCode->Text().empty() ? CountryCode(w) : w.eZipCode->Text(); }},
    };
    return keys;
}

}  // namespace

void TfConfig::LoadSettings()
{
    // Some forty keys in five sections: each section read whole, once.
    const IniFileSections ini{IniFile(settingsPath)};

    // The 3D rule chooses among the detected drivers.
    driverCount = static_cast<int>(glsFindDrivers());
    for (int i = 0; i < driverCount; ++i) {
        DriverInfo info{};
        if (glsGetDriverInfo(static_cast<uint32_t>(i), &info) == 0) cbGLDrivers->Add(info.aDriverDescription);
    }

    for (const SettingsKey& key : SettingsKeys())
        if (key.load && (!key.only3D || cb3dAcceleration->Checked())) key.load(*this, ini);

    // Only now the resolution rule: the stored resolution and the presets came without its warning.
    for (TRadioButton* button : resolutionButtons) button->OnClick = Bind(this, &TfConfig::rb1024Click);
    cbBrightenOffClick(cbBrightenOff);
    TakeVideoSnapshot();

    // The location is the zip code when it equals the stored one, else the country whose code it is.
    const std::string location = ini.ReadString(kGamespy, "Location", "");
    if (location == ini.ReadString(kLocal, "Zip", "")) {
        eZipCode->SetText(location);
    } else if (location == ini.ReadString(kLocal, "Country Code", "") && !location.empty()) {
        // A code that no country of the list has shows no country.
        int country = CountryIndexOfCode(countryCodes, location);
        if (country >= 0) cbCountry->SetText(EntryName(countryCodes[static_cast<std::size_t>(country)]));
    }

    RefreshSummary();
}

std::vector<IniWrite> TfConfig::SettingsWrites() const
{
    std::vector<IniWrite> writes;
    writes.reserve(SettingsKeys().size());
    for (const SettingsKey& key : SettingsKeys()) writes.push_back({key.section, key.name, key.written(*this)});
    return writes;
}

void TfConfig::SaveSettings()
{
    IniFile ini(settingsPath);
    // The file is replaced whole when every key is written, or kept as it was.
    IniSave save(ini);
    const std::vector<IniWrite> writes = SettingsWrites();
    for (const IniWrite& write : writes) ini.WriteString(write.section, write.key, write.value);
    save.Commit();
    savedSettings_.Wrote(writes);
}
