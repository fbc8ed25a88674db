#pragma once
// The list of every function with its keys, which finds a function in one step: a filter box, the
// rows sorted by any column, and the row chosen.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "hotkeys/KeyMap.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/RadioButton.h"

class TdlgKeyList : public ui::TForm {
public:
    // A function and its cells: name, group, plain key, Ctrl key.
    struct Row {
        std::array<std::string, 4> cells;
        FunctionRef function;
        // The cells that say there is none ("no key"): sorted by their column, such rows come
        // after the others either way round.
        std::array<bool, 4> none{};
    };
    // A text of the language file, or the built-in one.
    using Texts = std::function<std::string(const std::string& name, const std::string& builtIn)>;

    TdlgKeyList(ui::TComponent* owner, const Texts& texts, std::vector<Row> rows);
    ~TdlgKeyList() override;
    const char* ClassName() const override { return "TdlgKeyList"; }

    ui::TLabel* lFind;
    ui::TEdit* eFind;
    ui::TLabel* lSortBy;
    ui::TRadioButton *rbSortFunction, *rbSortGroup, *rbSortKey, *rbSortCtrlKey;
    ui::TListView* lvKeys;
    ui::TButton *bShow, *bClose;

    // The function of the row chosen (double click, Enter or Show); none until one is.
    FunctionRef Chosen() const { return chosen_; }
    // The rows shown now, in their order.
    std::vector<Row> ShownRows() const;

    void eFindChange(ui::TObject* sender);
    void SortClick(ui::TObject* sender);
    void lvKeysColumnClick(ui::TObject* sender, int column);
    void bShowClick(ui::TObject* sender);

private:
    // The rows whose function name holds the filter's text, sorted; the row selected before stays
    // selected when it is still shown, else the first.
    void ShowRows();

    std::vector<Row> rows_;
    std::vector<std::size_t> shown_;
    std::array<ui::TRadioButton*, 4> sortRadios_{};
    int sortColumn_ = 0;
    bool ascending_ = true;
    FunctionRef chosen_;
};
