// The help areas of the Gameplay and Graphics pages, the notice on the first visit to each of
// them, and the summary brought up to date when the Basic page comes back.
#include <iterator>
#include <utility>

#include "app/Main.h"
#include "ui/AccessKey.h"
#include "ui/SystemText.h"

using namespace ui;

void TfConfig::DisplayHelp(TObject* sender, TShiftState, int, int)
{
    // A hint is "title|explanation"; without a bar the whole hint is both.
    const std::string& hint = static_cast<TControl*>(sender)->Hint();
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

void TfConfig::HelpControlEnter(TObject* sender) { DisplayHelp(sender, 0, 0, 0); }

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
