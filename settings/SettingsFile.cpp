// The game's settings file: read into the controls at start, written back on OK and Apply.
// The controls are the settings; the load sets them in an order that lets each control's own
// handler run its rules, with the stored values read last where they must win.
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

}  // namespace

void TfConfig::LoadSettings()
{
    // Some forty keys in five sections: each section read whole, once.
    const IniFileSections ini{IniFile(settingsPath)};

    int position = 6 - Signed16(ini.ReadInteger(kGameOptions, "Difficulty Level", 6));
    if (position == 0) {
        dlgDifficulty->ShowModal();
        position = 6 - dlgDifficulty->chosenLevel;
    }
    tbDifficulty->SetPosition(position);
    tbDifficultyChange(tbDifficulty);

    // The presets run as each slider moves; every key below is read afterwards and wins.
    tbGeneral->SetPosition(Signed16(ini.ReadInteger(kConfig, "General", 3)));
    tbGraphics->SetPosition(Signed16(ini.ReadInteger(kConfig, "Graphics", 3)));
    tbSound->SetPosition(Signed16(ini.ReadInteger(kConfig, "Sound", 3)));

    int cacheDefault = ini.ReadInteger(kProgramOptions, "Install Type", 2) == 1 ? 150 : 300;
    udCacheSize->SetPosition(Signed16(ini.ReadInteger(kConfig, "CacheSize", cacheDefault)));

    udPathSearchNodes->SetPosition(Signed16(ini.ReadInteger(kProgramOptions, "Path Search Nodes", 32000) / 100));
    ePathSearchNodes->SetText(IntToStr(static_cast<long long>(udPathSearchNodes->Position()) * 100));

    // A frame rate that is no whole number is unreadable like any other value: the label keeps
    // the text it had and the slider follows that.
    std::string frameRate = ini.ReadString(kProgramOptions, "Maximum Frame Rate", lUpdatesValue->Caption());
    if (TryStrToInt(frameRate)) lUpdatesValue->SetCaption(frameRate);
    if (auto rate = TryStrToInt(lUpdatesValue->Caption())) tbFrameRate->SetPosition(*rate);

    cbEnhancedPathfinding->SetChecked(ini.ReadBool(kGameOptions, "Enhanced Path Finding", true));

    driverCount = static_cast<int>(glsFindDrivers());
    for (int i = 0; i < driverCount; ++i) {
        DriverInfo info{};
        if (glsGetDriverInfo(static_cast<uint32_t>(i), &info) == 0) cbGLDrivers->Add(info.aDriverDescription);
    }

    // The stored resolution is applied before the resolution rule is attached, so without its warning.
    int resolution = ini.ReadInteger(kProgramOptions, "Resolution", -1);
    TRadioButton* resolutionButton = rb800;
    for (std::size_t r = 0; r < resolutionButtons.size(); ++r)
        if (resolution == kResolutions[r]) resolutionButton = resolutionButtons[r];
    resolutionButton->SetChecked(true);
    if (resolution >= 1024) cbUnlockModes->SetChecked(true);
    for (TRadioButton* button : resolutionButtons) button->OnClick = Bind(this, &TfConfig::rb1024Click);

    if (ini.ReadBool(kProgramOptions, "Full Screen", true))
        rbFullScreen->SetChecked(true);
    else
        rbWindowed->SetChecked(true);

    int depth = ini.ReadInteger(kProgramOptions, "BitsPerPixel", -1);
    if (depth == -1) depth = 16;
    for (std::size_t d = 0; d < depthButtons.size(); ++d)
        if (depth == kDepths[d]) depthButtons[d]->SetChecked(true);

    cbSoftwareMirror->SetState(CheckStateOf(ini.ReadInteger(kProgramOptions, "SoftMirrorBlt", 0)));
    cbSoftware->SetState(CheckStateOf(ini.ReadInteger(kProgramOptions, "SoftBlt", 0)));
    cbSoftwareTransparent->SetState(CheckStateOf(ini.ReadInteger(kProgramOptions, "SoftSrcKeyBlt", 0)));
    cb3dAnimations->SetState(CheckStateOf(ini.ReadInteger(kGameOptions, "Use 3d Animations", 0)));

    // The Basic page's twin follows the 3D rule without running it a second time.
    auto twin = std::exchange(cb3dAcceleration2->OnClick, nullptr);
    cb3dAcceleration->SetState(CheckStateOf(ini.ReadInteger(kProgramOptions, "3D Acceleration", 0)));
    cb3dAcceleration2->OnClick = twin;

    if (cb3dAcceleration->Checked()) {
        snapshotDriverIndex = ini.ReadInteger(kProgramOptions, "GLSetup Driver", 0);
        const auto& drivers = cbGLDrivers->Items();
        cbGLDrivers->SetText(snapshotDriverIndex >= 0 && snapshotDriverIndex < static_cast<int>(drivers.size())
                                 ? drivers[static_cast<std::size_t>(snapshotDriverIndex)]
                                 : std::string());
        cb16bitTextures->SetChecked(ini.ReadInteger(kProgramOptions, "16Bit Textures", 0) == 0);
        bGLSetup->SetEnabled(true);
    } else {
        snapshotDriverIndex = -1;
        lGLDrivers->SetEnabled(false);
        cbGLDrivers->SetEnabled(false);
        cb16bitTextures->SetChecked(false);
        cb16bitTextures->SetEnabled(false);
        bGLSetup->SetEnabled(false);
    }

    cbCriticalHit->SetChecked(ini.ReadBool(kGameOptions, "Critical Hit Screen Shake", true));
    cbTranslucentShadows->SetChecked(!ini.ReadBool(kProgramOptions, "Translucent Shadows", false));
    cbLowEndMachine->SetChecked(ini.ReadBool(kGameOptions, "Low End Machine", false));
    cbLowEndMachine2->SetChecked(ini.ReadBool(kGameOptions, "Low End Machine 2", false));
    cbDuplicateFloatingText->SetChecked(ini.ReadBool(kGameOptions, "Duplicate Floating Text", false));
    cbFootsteps->SetChecked(ini.ReadBool(kGameOptions, "Footsteps", false));
    cbAttackSounds->SetChecked(ini.ReadBool(kGameOptions, "Attack Sounds", true));
    cbBrightenOff->SetChecked(!ini.ReadBool(kProgramOptions, "Disable Brighten", false));
    cbBrightenOffClick(cbBrightenOff);
    cbForce50Transparency->SetChecked(ini.ReadBool(kProgramOptions, "Force 50 Percent Transparent", false));
    cbDisableCastingGlows->SetChecked(ini.ReadBool(kGameOptions, "Disable Casting Glows", false));
    cbLowMemSounds1->SetChecked(ini.ReadBool(kGameOptions, "Low Mem Sounds 1", false));
    cbLowMemSounds2->SetChecked(ini.ReadBool(kGameOptions, "Low Mem Sounds 2", false));
    cbDisableVidCells->SetChecked(ini.ReadBool(kGameOptions, "Disable VEFVidCells", false));
    cbMidLevelBrighten->SetChecked(ini.ReadBool(kGameOptions, "Mid Level Brighten", false));
    cbHighLevelBrighten->SetChecked(ini.ReadBool(kGameOptions, "High Level Brighten", false));

    udTilesPrecache->SetPosition(Signed16(ini.ReadInteger(kGameOptions, "Tiles Precache Percent", 50)));
    volumeMovie = ini.ReadInteger(kProgramOptions, "Volume Movie", -1);
    volumeMusic = ini.ReadInteger(kProgramOptions, "Volume Music", -1);
    volumeVoices = ini.ReadInteger(kProgramOptions, "Volume Voices", -1);
    volumeAmbients = ini.ReadInteger(kProgramOptions, "Volume Ambients", -1);
    volumeSfx = ini.ReadInteger(kProgramOptions, "Volume SFX", -1);

    TakeVideoSnapshot();

    cbGameSpy->SetChecked(ini.ReadBool(kGamespy, "Enabled", false));
    std::string location = ini.ReadString(kGamespy, "Location", "");
    std::string zip = ini.ReadString(kLocal, "Zip", "");
    std::string code = ini.ReadString(kLocal, "Country Code", "");
    if (location == zip) {
        eZipCode->SetText(location);
    } else if (location == code && !location.empty()) {
        // A code that no country of the list has shows no country.
        int country = CountryIndexOfCode(countryCodes, location);
        if (country >= 0) cbCountry->SetText(EntryName(countryCodes[static_cast<std::size_t>(country)]));
    }

    RefreshSummary();
}

void TfConfig::SaveSettings()
{
    IniFile ini(settingsPath);
    // The file is replaced whole when every key is written, or kept as it was.
    IniSave save(ini);
    auto checkedOf = [](const std::vector<TRadioButton*>& buttons, const int* values) {
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i]->Checked()) return IntToStr(values[i]);
        return std::string();
    };
    auto countryCode = [this] { return CountryCodeOf(countryCodes, cbCountry->Text()); };

    struct Key {
        const char* section;
        const char* name;
        std::function<std::string()> text;
    };
    const Key keys[] = {
        {kGameOptions, "Difficulty Level", [&] { return IntToStr(6 - tbDifficulty->Position()); }},
        {kConfig, "General", [&] { return IntToStr(tbGeneral->Position()); }},
        {kConfig, "Graphics", [&] { return IntToStr(tbGraphics->Position()); }},
        {kConfig, "Sound", [&] { return IntToStr(tbSound->Position()); }},
        {kConfig, "CacheSize", [&] { return IntToStr(udCacheSize->Position()); }},
        {kProgramOptions, "Path Search Nodes",
         [&] { return IntToStr(static_cast<long long>(udPathSearchNodes->Position()) * 100); }},
        {kProgramOptions, "Maximum Frame Rate", [&] { return lUpdatesValue->Caption(); }},
        {kGameOptions, "Enhanced Path Finding", [&] { return BoolText(cbEnhancedPathfinding->Checked()); }},
        {kProgramOptions, "Resolution", [&] { return checkedOf(resolutionButtons, kResolutions); }},
        {kProgramOptions, "Full Screen", [&] { return BoolText(rbFullScreen->Checked()); }},
        {kProgramOptions, "BitsPerPixel", [&] { return checkedOf(depthButtons, kDepths); }},
        {kProgramOptions, "SoftMirrorBlt", [&] { return StateText(cbSoftwareMirror); }},
        {kProgramOptions, "SoftBlt", [&] { return StateText(cbSoftware); }},
        {kProgramOptions, "SoftSrcKeyBlt", [&] { return StateText(cbSoftwareTransparent); }},
        {kProgramOptions, "3D Acceleration", [&] { return StateText(cb3dAcceleration); }},
        {kGameOptions, "Use 3d Animations", [&] { return StateText(cb3dAnimations); }},
        {kProgramOptions, "16Bit Textures", [&] { return std::string(cb16bitTextures->Checked() ? "0" : "1"); }},
        {kProgramOptions, "GLSetup Driver", [&] { return IntToStr(cbGLDrivers->IndexOf(cbGLDrivers->Text())); }},
        {kGameOptions, "Critical Hit Screen Shake", [&] { return StateText(cbCriticalHit); }},
        {kProgramOptions, "Translucent Shadows", [&] { return BoolText(!cbTranslucentShadows->Checked()); }},
        {kGameOptions, "Low End Machine", [&] { return BoolText(cbLowEndMachine->Checked()); }},
        {kGameOptions, "Low End Machine 2", [&] { return BoolText(cbLowEndMachine2->Checked()); }},
        {kGameOptions, "Duplicate Floating Text", [&] { return BoolText(cbDuplicateFloatingText->Checked()); }},
        {kGameOptions, "Footsteps", [&] { return BoolText(cbFootsteps->Checked()); }},
        {kGameOptions, "Attack Sounds", [&] { return BoolText(cbAttackSounds->Checked()); }},
        {kGameOptions, "Disable Casting Glows", [&] { return BoolText(cbDisableCastingGlows->Checked()); }},
        {kGameOptions, "Low Mem Sounds 1", [&] { return BoolText(cbLowMemSounds1->Checked()); }},
        {kGameOptions, "Low Mem Sounds 2", [&] { return BoolText(cbLowMemSounds2->Checked()); }},
        {kGameOptions, "Disable VEFVidCells", [&] { return BoolText(cbDisableVidCells->Checked()); }},
        {kProgramOptions, "Disable Brighten", [&] { return BoolText(!cbBrightenOff->Checked()); }},
        {kProgramOptions, "Force 50 Percent Transparent", [&] { return BoolText(cbForce50Transparency->Checked()); }},
        {kProgramOptions, "Volume Movie", [&] { return IntToStr(volumeMovie); }},
        {kProgramOptions, "Volume Music", [&] { return IntToStr(volumeMusic); }},
        {kProgramOptions, "Volume Voices", [&] { return IntToStr(volumeVoices); }},
        {kProgramOptions, "Volume Ambients", [&] { return IntToStr(volumeAmbients); }},
        {kProgramOptions, "Volume SFX", [&] { return IntToStr(volumeSfx); }},
        {kGameOptions, "Mid Level Brighten", [&] { return BoolText(cbMidLevelBrighten->Checked()); }},
        {kGameOptions, "High Level Brighten", [&] { return BoolText(cbHighLevelBrighten->Checked()); }},
        {kGameOptions, "Tiles Precache Percent", [&] { return IntToStr(udTilesPrecache->Position()); }},
        {kLocal, "Zip", [&] { return eZipCode->Text(); }},
        {kLocal, "Country Code", countryCode},
        {kGamespy, "Enabled", [&] { return BoolText(cbGameSpy->Checked()); }},
        {kGamespy, "Location", [&] { return eZipCode->Text().empty() ? countryCode() : eZipCode->Text(); }},
    };
    for (const Key& key : keys) ini.WriteString(key.section, key.name, key.text());
    save.Commit();
}
