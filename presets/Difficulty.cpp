#include "presets/Difficulty.h"

#include "app/Main.h"

using namespace ui;

TdlgDifficulty::TdlgDifficulty(TComponent* owner) : TForm(owner, "dlgDifficulty", "TdlgDifficulty", 13)
{
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(568, 361);
    SetCaption("Difficulty");
    auto place = [this](TControl* control, TControl* parent, int left, int top, int width, int height,
                        const std::string& caption) {
        control->SetCaption(caption);
        control->SetBounds(left, top, width, height);
        control->SetParent(parent);
    };
    lDifficultyDesc = new TLabel(this, "lDifficultyDesc");
    lDifficultyDesc->SetWordWrap(true);
    place(lDifficultyDesc, this, 16, 8, 537, 73, "");
    gbDifficulty2 = new TGroupBox(this, "gbDifficulty2");
    place(gbDifficulty2, this, 16, 88, 537, 225, "");

    TRadioButton** choices[] = {&rbDifficultyInsane, &rbDifficultyHard, &rbDifficultyCoreRules, &rbDifficultyNormal,
                                &rbDifficultyNovice};
    const char* choiceNames[] = {"rbDifficultyInsane", "rbDifficultyHard", "rbDifficultyCoreRules",
                                 "rbDifficultyNormal", "rbDifficultyNovice"};
    const char* choiceCaptions[] = {"Insane", "Hard", "Core Rules", "Normal", "Novice"};
    TLabel** descriptions[] = {&lInsaneDesc, &lHardDesc, &lCoreDesc, &lNormalDesc, &lNoviceDesc};
    const char* descriptionNames[] = {"lInsaneDesc", "lHardDesc", "lCoreDesc", "lNormalDesc", "lNoviceDesc"};
    for (int i = 0; i < 5; ++i) {
        int y = 24 + 40 * i;
        auto* choice = new TRadioButton(this, choiceNames[i]);
        choice->Tag = 5 - i;
        place(choice, gbDifficulty2, 8, y, 137, 17, choiceCaptions[i]);
        choice->OnClick = Bind(this, &TdlgDifficulty::rbDifficultyClick);
        *choices[i] = choice;
        auto* description = new TLabel(this, descriptionNames[i]);
        description->SetWordWrap(true);
        place(description, gbDifficulty2, 152, y, 373, 32, "");
        *descriptions[i] = description;
    }
    bOK = new TButton(this, "bOK");
    bOK->ModalResult = TModalResult::OK;
    // Enter chooses OK once a choice has enabled it; Esc closes the dialog as its close box does.
    bOK->SetDefault(true);
    place(bOK, this, 476, 328, 75, 25, "OK");
    bOK->SetEnabled(false);
    OnClose = Bind(this, &TdlgDifficulty::FormClose);
}

TdlgDifficulty::~TdlgDifficulty() { BeginDestroy(); }

void TdlgDifficulty::rbDifficultyClick(TObject* sender)
{
    bOK->SetEnabled(true);
    chosenLevel = static_cast<TComponent*>(sender)->Tag;
}

void TdlgDifficulty::FormClose(TObject*, TCloseAction&)
{
    // OK is enabled by the first choice, so a disabled OK means the dialog was closed without one.
    if (!bOK->Enabled()) chosenLevel = 2;
}

void TfConfig::tbDifficultyChange(TObject*) { RefreshSummary(); }
