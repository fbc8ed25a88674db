// The rules that keep the display and 3D options of the Graphics page consistent.
// Enabling or disabling a button never moves a check mark: a choice the screen cannot show stays
// chosen and is saved as it is; only the 3D rule changes the depth.
#include <iterator>
#include <utility>

#include "app/Main.h"

using namespace ui;

namespace {

struct Size {
    unsigned width, height;
};
// The screen size of each resolution button, in the order of resolutionButtons.
constexpr Size kResolutionSizes[] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 960}, {1600, 1200}, {2048, 1536}};
// Bits per pixel of each depth button, in the order of depthButtons.
constexpr unsigned kDepthBits[] = {16, 24, 32};
// Resolutions from this index on are unsupported: locked until "Unlock Modes" is ticked.
constexpr std::size_t kFirstUnsupported = 2;

}  // namespace

void TfConfig::ScanDisplayModes()
{
    supportedModes.fill(false);
    availableDepths.fill(false);
    DisplayMode mode;
    for (int i = 0; DisplayModes().Mode(i, mode); ++i) {
        for (std::size_t d = 0; d < std::size(kDepthBits); ++d) {
            if (mode.bitsPerPixel != kDepthBits[d]) continue;
            availableDepths[d] = true;
            for (std::size_t r = 0; r < std::size(kResolutionSizes); ++r)
                if (mode.width == kResolutionSizes[r].width && mode.height == kResolutionSizes[r].height)
                    supportedModes[d * 6 + r] = true;
        }
    }
    for (std::size_t d = 0; d < depthButtons.size(); ++d) depthButtons[d]->SetEnabled(availableDepths[d]);
}

void TfConfig::ColorDepthsClick(TObject* sender)
{
    auto* depth = dynamic_cast<TRadioButton*>(sender);
    if (depth && depth->Checked()) {
        auto d = static_cast<std::size_t>(depth->Tag);
        for (std::size_t r = 0; r < resolutionButtons.size(); ++r)
            resolutionButtons[r]->SetEnabled(supportedModes[d * 6 + r] &&
                                             (r < kFirstUnsupported || cbUnlockModes->Checked()));
    }
    Validate16bit(sender);
}

void TfConfig::Validate16bit(TObject*)
{
    bool sixteenBit = rb16bit->Checked();
    for (TCheckBox* blit : {cbSoftwareMirror, cbSoftware, cbSoftwareTransparent}) {
        blit->SetEnabled(sixteenBit);
        if (!sixteenBit) blit->SetChecked(false);
    }
}

void TfConfig::cbUnlockModesClick(TObject*)
{
    std::size_t d = rb24bit->Checked() ? 1 : rb32bit->Checked() ? 2 : 0;
    for (std::size_t r = kFirstUnsupported; r < resolutionButtons.size(); ++r)
        resolutionButtons[r]->SetEnabled(supportedModes[d * 6 + r] && cbUnlockModes->Checked());
}

void TfConfig::rb1024Click(TObject* sender)
{
    if (static_cast<TComponent*>(sender)->Tag >= static_cast<int>(kFirstUnsupported))
        MessageDlg(msgUnsupportedRes, TMsgDlgType::Warning, TMsgDlgButtons::OK);
    RefreshSummary();
}

void TfConfig::cb3dAccelerationClick(TObject* sender)
{
    auto* box = static_cast<TCheckBox*>(sender);
    if (box == cb3dAcceleration2 && box->Checked())
        MessageDlg(msg3dAcceleration, TMsgDlgType::Information, TMsgDlgButtons::OK);

    if (box->Checked()) {
        // Switching on. The driver discovery never reports a negative count; should it, 3D
        // acceleration is refused and both boxes go off (the box the user ticked runs this rule
        // again as it is unticked).
        if (driverCount < 0) {
            MessageDlg(msgNoOpenGL, TMsgDlgType::Error, TMsgDlgButtons::OK);
            cb3dAcceleration->SetChecked(false);
            cb3dAcceleration2->SetChecked(false);
            lGLDrivers->SetEnabled(false);
            cbGLDrivers->SetEnabled(false);
            cbGLDrivers->SetText("");
            cb16bitTextures->SetEnabled(false);
            cb16bitTextures->SetChecked(false);
            return;
        }
        // Ticking the twin ticks the main box, whose rule runs first, at once.
        cb3dAcceleration->SetChecked(true);
        lGLDrivers->SetEnabled(true);
        cbGLDrivers->SetEnabled(true);
        cb16bitTextures->SetEnabled(true);
        cb16bitTextures->SetChecked(true);
        // With no driver installed nothing is selected, and "3D Setup" is the way to get one.
        cbGLDrivers->SetItemIndex(0);
        rb32bit->SetChecked(true);
        rb16bit->SetEnabled(false);
        rb24bit->SetEnabled(false);
        rb32bit->SetEnabled(true);
        bGLSetup->SetEnabled(true);
        if (box != cb3dAcceleration2) {
            // The twin follows without its message and without running the rule again.
            auto twinClick = std::exchange(cb3dAcceleration2->OnClick, nullptr);
            cb3dAcceleration2->SetChecked(true);
            cb3dAcceleration2->OnClick = twinClick;
        }
        return;
    }

    // Switching off, through either box; each box that changes runs these steps once more.
    cb3dAcceleration->SetChecked(false);
    cb3dAcceleration2->SetChecked(false);
    lGLDrivers->SetEnabled(false);
    cbGLDrivers->SetEnabled(false);
    cbGLDrivers->SetItemIndex(-1);
    cb16bitTextures->SetEnabled(false);
    cb16bitTextures->SetChecked(false);
    // The depth stays as 3D acceleration left it; the depths the checked resolution offers are free again.
    for (std::size_t r = 0; r < resolutionButtons.size(); ++r)
        if (resolutionButtons[r]->Checked())
            for (std::size_t d = 0; d < depthButtons.size(); ++d)
                depthButtons[d]->SetEnabled(supportedModes[d * 6 + r]);
    bGLSetup->SetEnabled(false);
}

void TfConfig::cbBrightenOffClick(TObject*)
{
    cbMidLevelBrighten->SetEnabled(cbBrightenOff->Checked());
    cbHighLevelBrighten->SetEnabled(cbBrightenOff->Checked());
}
