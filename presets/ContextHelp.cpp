// The help areas of the Gameplay and Graphics pages, the notice on the first visit to each of
// them, and the summary brought up to date when the Basic page comes back.
#include <iterator>
#include <utility>

#include "app/Main.h"
#include "ui/AccessKey.h"
#include "ui/SystemText.h"

using namespace ui;

const TControl* TfConfig::HelpSource(const TControl* control, bool orGroup) const
{
    const bool bound = helpBound_.count(control) > 0;
    if (bound && !control->Hint().empty()) return control;
    // An edit tells what the label in front of it tells: it gets no hint of its own.
    for (const TControl* other : helpBound_) {
        const auto* label = dynamic_cast<const TLabel*>(other);
        if (label && label->FocusControl == control && !label->Hint().empty()) return label;
    }
    if (orGroup)
        for (const TControl* parent = control->Parent(); parent; parent = parent->Parent())
            if (helpBound_.count(parent)) return parent;
    return bound ? control : nullptr;
}

void TfConfig::ShowHelp(const TControl* source)
{
    // A hint is "title|explanation"; without a bar the whole hint is both.
    const std::string& hint = source->Hint();
    std::size_t bar = FindChar(hint, '|');
    // The title is a caption; shown as the topic it is words, without its access key.
    std::string topic = StripAccessKeys(bar == std::string::npos ? hint : hint.substr(0, bar));
    std::string help = bar == std::string::npos ? hint : hint.substr(bar + 1);
    // Both pages' areas are written; only the shown one is seen. The pointer moves many times
    // over one control: what already stands is not written again, so nothing flickers.
    for (TLabel* label : {lTopic, lTopic2})
        if (label->Caption() != topic) label->SetCaption(topic);
    for (TMemo* memo : {mHelp, mHelp2})
        if (memo->Text() != help) memo->SetText(help);
}

void TfConfig::DisplayHelp(TObject* sender, TShiftState, int, int)
{
    ShowHelp(HelpSource(static_cast<TControl*>(sender), false));
}

void TfConfig::HelpControlEnter(TObject* sender)
{
    // The keyboard reaches edits, sliders and lists too, which have no help of their own: the
    // group around them tells what they are for.
    if (const TControl* source = HelpSource(static_cast<TControl*>(sender), true)) ShowHelp(source);
}

void TfConfig::pcConfigChange(TObject*)
{
    // The help of the page left behind goes first, so the notice never shows over it.
    lTopic->SetCaption("");
    lTopic2->SetCaption("");
    mHelp->Clear();
    mHelp2->Clear();

    TTabSheet* page = pcConfig->ActivePage();
    TTabSheet* advancedPages[] = {tsOptions, tsGameplay};
    for (std::size_t i = 0; i < std::size(advancedPages); ++i) {
        if (page == advancedPages[i] && std::exchange(advancedNoticePending[i], false))
            MessageDlg(msgAdvanced, TMsgDlgType::Information, TMsgDlgButtons::OK);
    }

    // Options changed on the other pages show in the summary as soon as the Basic page is back.
    if (page == tsSimple) RefreshSummary();
}
