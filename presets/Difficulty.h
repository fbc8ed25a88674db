#pragma once
// The first-run dialog that asks for the game's difficulty.
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/RadioButton.h"

class TdlgDifficulty : public ui::TForm {
public:
    explicit TdlgDifficulty(ui::TComponent* owner);
    ~TdlgDifficulty() override;
    const char* ClassName() const override { return "TdlgDifficulty"; }

    ui::TLabel* lDifficultyDesc;
    ui::TGroupBox* gbDifficulty2;
    ui::TRadioButton *rbDifficultyInsane, *rbDifficultyHard, *rbDifficultyCoreRules, *rbDifficultyNormal,
        *rbDifficultyNovice;
    ui::TLabel *lInsaneDesc, *lHardDesc, *lCoreDesc, *lNormalDesc, *lNoviceDesc;
    ui::TButton* bOK;

    // The stored level of the choice clicked last; 0 until a choice, 2 when closed without one.
    int chosenLevel = 0;

    void rbDifficultyClick(ui::TObject* sender);
    void FormClose(ui::TObject* sender, ui::TCloseAction& action);
};
