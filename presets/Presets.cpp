// The hardware sliders of the Basic page and the summary of the settings they govern.
// A level's preset sets controls one by one, so each control's own handler runs as the value
// arrives: the frame rate label, the brighten levels, the resolution rule.
#include <algorithm>
#include <iterator>

#include "app/Main.h"
#include "ui/Convert.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

// A slider's level, 1 at the top, as the index of its row.
std::size_t RowOf(const TTrackBar* slider)
{
    return static_cast<std::size_t>(std::clamp(slider->Position(), 1, 6) - 1);
}

struct GeneralLevel {
    int searchNodeHundreds;
    const char* searchNodes;
    int frameRate;
    bool enhancedPathfinding;
};

constexpr GeneralLevel kGeneralLevels[] = {
    // Spinner (search nodes in hundreds), edit, frame rate, enhanced path finding
    {4000, "400000", 30, true}, {500, "50000", 30, true},  {320, "32000", 30, true},
    {200, "20000", 27, false},  {80, "8000", 24, false},   {80, "8000", 20, false},
};

// The check boxes of the graphics preset, in the order it sets them; the summary lists them so too.
constexpr TCheckBox* TfConfig::* kGraphicsBoxes[] = {
    &TfConfig::cbTranslucentShadows, &TfConfig::cbLowEndMachine,       &TfConfig::cbLowEndMachine2,
    &TfConfig::cb3dAnimations,       &TfConfig::cbBrightenOff,         &TfConfig::cbForce50Transparency,
    &TfConfig::cbDisableCastingGlows, &TfConfig::cbDisableVidCells,    &TfConfig::cbMidLevelBrighten,
    &TfConfig::cbHighLevelBrighten,
};

struct GraphicsLevel {
    bool boxes[std::size(kGraphicsBoxes)];
    int tilesPrecache;
    TRadioButton* TfConfig::* resolution;
};

constexpr GraphicsLevel kGraphicsLevels[] = {
    // Shadows, static animations, high end static, 3D animations, brighten, 50% transparency,
    // no casting glows, no vid cells, mid brighten, high brighten
    {{true, false, false, true, true, false, false, false, true, true}, 100, &TfConfig::rb800},
    {{true, false, false, false, true, false, false, false, true, false}, 75, &TfConfig::rb800},
    {{true, false, false, false, true, false, false, false, true, false}, 50, &TfConfig::rb800},
    {{true, true, false, false, true, false, false, false, false, false}, 25, &TfConfig::rb640},
    {{false, true, true, false, true, false, false, false, false, false}, 0, &TfConfig::rb640},
    {{false, true, true, false, false, true, true, true, false, false}, 0, &TfConfig::rb640},
};

constexpr int TfConfig::* kVolumes[] = {&TfConfig::volumeMovie, &TfConfig::volumeMusic, &TfConfig::volumeVoices,
                                        &TfConfig::volumeAmbients, &TfConfig::volumeSfx};
constexpr TCheckBox* TfConfig::* kSoundBoxes[] = {&TfConfig::cbFootsteps, &TfConfig::cbAttackSounds,
                                                  &TfConfig::cbLowMemSounds1, &TfConfig::cbLowMemSounds2};

struct SoundLevel {
    int volumes[std::size(kVolumes)];
    bool boxes[std::size(kSoundBoxes)];
};

constexpr SoundLevel kSoundLevels[] = {
    // Movie, music, voices, ambients, effects; footsteps, attack sounds, low memory 1 and 2
    {{150, 150, 150, 150, 150}, {true, true, false, false}},
    {{150, 150, 150, 150, 150}, {true, true, false, false}},
    {{150, 150, 150, 150, 150}, {false, true, false, false}},
    {{150, 150, 150, 150, 150}, {false, true, true, false}},
    {{0, 150, 150, 150, 150}, {false, false, true, false}},
    {{0, 0, 0, 0, 0}, {false, false, true, true}},
};

// A group box's caption carries a blank on either side; the summary names the group without them.
std::string Trimmed(const std::string& text)
{
    std::size_t first = std::string::npos, end = 0;
    for (std::size_t at = 0; at < text.size(); at += CharSize(text, at)) {
        if (static_cast<unsigned char>(text[at]) <= ' ') continue;
        if (first == std::string::npos) first = at;
        end = at + CharSize(text, at);
    }
    return first == std::string::npos ? std::string() : text.substr(first, end - first);
}

}  // namespace

void TfConfig::tbGeneralChange(TObject*)
{
    const GeneralLevel& level = kGeneralLevels[RowOf(tbGeneral)];
    udPathSearchNodes->SetPosition(level.searchNodeHundreds);
    ePathSearchNodes->SetText(level.searchNodes);
    tbFrameRate->SetPosition(level.frameRate);
    cbEnhancedPathfinding->SetChecked(level.enhancedPathfinding);
    RefreshSummary();
}

void TfConfig::tbGraphicsChange(TObject*)
{
    const GraphicsLevel& level = kGraphicsLevels[RowOf(tbGraphics)];
    for (std::size_t i = 0; i < std::size(kGraphicsBoxes); ++i) (this->*kGraphicsBoxes[i])->SetChecked(level.boxes[i]);
    udTilesPrecache->SetPosition(level.tilesPrecache);
    (this->*level.resolution)->SetChecked(true);
    RefreshSummary();
}

void TfConfig::tbSoundChange(TObject*)
{
    const SoundLevel& level = kSoundLevels[RowOf(tbSound)];
    for (std::size_t i = 0; i < std::size(kVolumes); ++i) this->*kVolumes[i] = level.volumes[i];
    for (std::size_t i = 0; i < std::size(kSoundBoxes); ++i) (this->*kSoundBoxes[i])->SetChecked(level.boxes[i]);
    RefreshSummary();
}

void TfConfig::RefreshSummary()
{
    // The summary names options by their captions as words: access keys are no part of them.
    const std::string on = LanguageTextOr("txtOn", "On"), off = LanguageTextOr("txtOff", "Off");
    auto state = [&](const TCheckBox* box) { return box->Checked() ? on : off; };
    auto line = [](const TControl* control, const std::string& value) { return control->CaptionText() + " = " + value; };
    auto option = [&](const TCheckBox* box) { return line(box, state(box)); };

    std::string resolution;
    for (const TRadioButton* button : resolutionButtons)
        if (button->Checked()) resolution += button->CaptionText();

    std::vector<std::string> lines = {
        lGeneral->CaptionText(),
        line(lFrameRate, IntToStr(tbFrameRate->Position())),
        line(lPathSearchNodes, ePathSearchNodes->Text()),
        option(cbEnhancedPathfinding),
        "",
        lGraphics->CaptionText(),
        Trimmed(gbGameResolution->CaptionText()) + " = " + resolution,
    };
    for (TCheckBox* TfConfig::* box : kGraphicsBoxes) lines.push_back(option(this->*box));
    lines.push_back(line(lTilesPrecache, IntToStr(udTilesPrecache->Position()) + "%"));
    lines.push_back("");
    lines.push_back(lSound->CaptionText());
    lines.push_back(option(cbFootsteps));
    lines.push_back(option(cbAttackSounds));
    mSettings->SetLines(std::move(lines));
}
