// The list of every function with its keys.
#include "hotkeys/KeyList.h"

#include <algorithm>

#include "app/Main.h"

#include "ui/AccessKey.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

// A text with its letters in upper case as the system maps them, a UTF-16 character each.
std::wstring UpperText(std::string_view text)
{
    std::wstring upper;
    for (std::size_t at = 0; at < text.size(); at += CharSize(text, at)) upper += UpperCase(WideCharAt(text, at));
    return upper;
}

}  // namespace

TdlgKeyList::TdlgKeyList(TComponent* owner, const Texts& texts, std::vector<Row> rows)
    : TForm(owner, "dlgKeyList", "TdlgKeyList", 14), rows_(std::move(rows))
{
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(720, 440);
    SetCaption(texts("txtKeyListTitle", "Hot Keys: All Functions"));
    auto place = [](TControl* control, TControl* parent, int left, int top, int width, int height,
                    const std::string& caption) {
        control->SetCaption(caption);
        control->SetBounds(left, top, width, height);
        control->SetParent(parent);
    };
    lFind = new TLabel(this, "lFind");
    place(lFind, this, 12, 16, 110, 17, texts("txtKeyListFind", "&Find:"));
    eFind = new TEdit(this, "eFind");
    place(eFind, this, 126, 12, 582, 24, "");
    lFind->FocusControl = eFind;
    lSortBy = new TLabel(this, "lSortBy");
    place(lSortBy, this, 12, 46, 110, 17, texts("txtKeyListSortBy", "Sort by:"));
    const std::array<std::string, 4> columns = {texts("txtKeyListFunction", "F&unction"), texts("txtKeyListGroup", "&Group"),
                                                texts("txtKeyListKey", "&Key"), texts("txtKeyListCtrlKey", "C&trl Key")};
    const char* radioNames[] = {"rbSortFunction", "rbSortGroup", "rbSortKey", "rbSortCtrlKey"};
    // A row of its own, with room for longer words than English ones.
    const int radioLeft[] = {126, 272, 418, 564}, radioWidth[] = {140, 140, 140, 144};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        sortRadios_[c] = new TRadioButton(this, radioNames[c]);
        place(sortRadios_[c], this, radioLeft[c], 44, radioWidth[c], 20, columns[c]);
        sortRadios_[c]->Tag = static_cast<int>(c);
        sortRadios_[c]->OnClick = Bind(this, &TdlgKeyList::SortClick);
    }
    rbSortFunction = sortRadios_[0];
    rbSortGroup = sortRadios_[1];
    rbSortKey = sortRadios_[2];
    rbSortCtrlKey = sortRadios_[3];

    lvKeys = new TListView(this, "lvKeys");
    place(lvKeys, this, 12, 74, 696, 314, "");
    std::vector<std::string> headers;
    for (const std::string& column : columns) headers.push_back(StripAccessKeys(column));
    lvKeys->SetColumns(headers);
    lvKeys->OnColumnClick = Bind(this, &TdlgKeyList::lvKeysColumnClick);
    lvKeys->OnDblClick = Bind(this, &TdlgKeyList::bShowClick);

    bShow = new TButton(this, "bShow");
    place(bShow, this, 522, 398, 90, 30, texts("txtKeyListShow", "&Show"));
    bShow->SetDefault(true);
    bShow->OnClick = Bind(this, &TdlgKeyList::bShowClick);
    bClose = new TButton(this, "bClose");
    place(bClose, this, 618, 398, 90, 30, texts("txtKeyListClose", "Close"));
    bClose->SetCancel(true);
    bClose->ModalResult = TModalResult::Cancel;

    eFind->OnChange = Bind(this, &TdlgKeyList::eFindChange);
    // Every row at once, for the columns to take the width of their widest cell.
    std::vector<std::vector<std::string>> all;
    for (const Row& row : rows_) all.emplace_back(row.cells.begin(), row.cells.end());
    lvKeys->SetRows(all);
    lvKeys->SizeColumnsToContents();
    rbSortFunction->SetChecked(true);
}

TdlgKeyList::~TdlgKeyList() { BeginDestroy(); }

std::vector<TdlgKeyList::Row> TdlgKeyList::ShownRows() const
{
    std::vector<Row> shown;
    for (std::size_t i : shown_) shown.push_back(rows_[i]);
    return shown;
}

void TdlgKeyList::ShowRows()
{
    const int before = lvKeys->ItemIndex();
    const FunctionRef selected = before >= 0 ? rows_[shown_[static_cast<std::size_t>(before)]].function : FunctionRef{};
    const std::wstring filter = UpperText(eFind->Text());
    shown_.clear();
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (UpperText(rows_[i].cells[0]).find(filter) != std::wstring::npos) shown_.push_back(i);
    const auto column = static_cast<std::size_t>(sortColumn_);
    std::stable_sort(shown_.begin(), shown_.end(), [&](std::size_t a, std::size_t b) {
        if (rows_[a].none[column] != rows_[b].none[column]) return rows_[b].none[column];
        const int order = CompareTextIgnoringCase(rows_[a].cells[column], rows_[b].cells[column]);
        return ascending_ ? order < 0 : order > 0;
    });
    std::vector<std::vector<std::string>> cells;
    int index = shown_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        const Row& row = rows_[shown_[i]];
        cells.emplace_back(row.cells.begin(), row.cells.end());
        if (selected && row.function == selected) index = static_cast<int>(i);
    }
    lvKeys->SetRows(cells);
    lvKeys->SetItemIndex(index);
    lvKeys->SetSortMark(sortColumn_, ascending_);
}

void TdlgKeyList::eFindChange(TObject*) { ShowRows(); }

void TdlgKeyList::SortClick(TObject* sender)
{
    sortColumn_ = static_cast<TComponent*>(sender)->Tag;
    ascending_ = true;
    ShowRows();
}

void TdlgKeyList::lvKeysColumnClick(TObject*, int column)
{
    // The column sorted by again: the other way round.
    if (column < 0 || column >= static_cast<int>(sortRadios_.size())) return;
    const bool again = column == sortColumn_;
    if (!again) {
        sortRadios_[static_cast<std::size_t>(column)]->SetChecked(true);
        return;
    }
    ascending_ = !ascending_;
    ShowRows();
}

void TdlgKeyList::bShowClick(TObject*)
{
    const int index = lvKeys->ItemIndex();
    if (index < 0) return;
    chosen_ = rows_[shown_[static_cast<std::size_t>(index)]].function;
    SetModalResult(TModalResult::OK);
}

// --- The list on the Hot Keys page

std::vector<TdlgKeyList::Row> TfConfig::KeyListRows() const
{
    std::vector<TdlgKeyList::Row> rows;
    const std::string none = LanguageTextOr("txtKeyListNoKey", "no key");
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const KeyMap::Group& group = keyMap.GroupAt(g);
        for (std::size_t i = 0; i < group.functions.size(); ++i) {
            const FunctionRef f{static_cast<int>(g), static_cast<int>(i)};
            const KeyMap::Function& function = group.functions[i];
            // A nameless entry is a function of the list only where it holds a key.
            if (function.name.empty() && !keyMap.KeyOf(f)) continue;
            auto key = [&](KeyLayer layer) {
                const std::optional<std::size_t> position = keyMap.PositionIn(layer, f);
                if (!position) return none;
                const std::string label = KeyLabel(*position, layer);
                return group.editable ? label
                                      : FillIn(LanguageTextOr("txtKeyListKept", "{key} (the game keeps it)"),
                                               {{"key", label}});
            };
            rows.push_back({{function.name.empty() ? function.identifier : function.name, group.caption,
                             key(KeyLayer::Plain), key(KeyLayer::Ctrl)},
                            f,
                            {false, false, !keyMap.PositionIn(KeyLayer::Plain, f), !keyMap.PositionIn(KeyLayer::Ctrl, f)}});
        }
    }
    return rows;
}

void TfConfig::bKeyListClick(TObject*)
{
    TdlgKeyList dialog(this, [this](const std::string& name, const std::string& builtIn) {
        return LanguageTextOr(name, builtIn);
    }, KeyListRows());
    if (dialog.ShowModal() != TModalResult::OK || !dialog.Chosen()) return;
    ShowFunction(dialog.Chosen());
}

void TfConfig::ShowFunction(FunctionRef f)
{
    pendingFunction_ = {};
    const bool players = keyMap.GroupAt(static_cast<std::size_t>(f.group)).editable;
    // The group's list shows it, but for the game's functions, which have none.
    if (players && static_cast<std::size_t>(f.group) < groupRadios.size()) {
        selectedGroup = f.group;
        groupRadios[static_cast<std::size_t>(f.group)]->SetChecked(true);
    }
    std::optional<KeyRef> key = keyMap.KeyOf(f);
    if (!key) {
        // On no key: the next key chosen takes it.
        selectedKey = nullptr;
        selectedPosition = 0;
        pendingFunction_ = players ? f : FunctionRef{};
        RefreshKeyboard();
        for (TControl* stop : TabStops())
            if (stop->Parent() == gbKeyboard) MoveFocus(stop);
        return;
    }
    if (key->layer != shownLayer) ShowLayer(key->layer);
    TSpeedButton* button = keyButtons[key->position];
    // A key the game keeps gets the focus, which tells what it holds, and the selection stays.
    if (keyMap.Changeable(*key)) {
        selectedKey = button;
        selectedPosition = static_cast<int>(key->position);
    }
    RefreshKeyboard();
    MoveFocus(button);
}
