// The settings dialog's logic (fill, OK, Cancel, color) against a list of window operations.
#include "settings/dialog/settings_dialog.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "exchange/number_format.h"
#include "figures/figures.h"
#include "settings/dialog/form_layout.h"
#include "settings/dialog/row_settings_area.h"

namespace tesra {

SettingsDialog::SettingsDialog(DialogPlatform& ui, PatternStore& store,
                               std::filesystem::path storeFile, FigureLibrary library,
                               std::filesystem::path libraryFile)
    : ui_(ui),
      store_(store),
      storeFile_(std::move(storeFile)),
      library_(std::move(library)),
      libraryFile_(std::move(libraryFile)) {}

Control SettingsDialog::RowControl(std::string_view prefix, int row) {
    return ui_.Find(ControlName(prefix, row));
}

void SettingsDialog::Fill(bool bz) {
    ui_.MoveTo({store_.formLeft, store_.formTop});
    ui_.SetLabelText(ui_.Find(kUnitLabel), bz ? "[図寸mm]" : "[実寸mm]");
    // The check box and the swatch belong to loading the store; they are set
    // here because the store is plain data that knows no controls.
    ui_.SetChecked(ui_.Find(kSolidColorSwitch), store_.solidColorSwitch);
    swatchColor_ = store_.solidColor;
    ui_.SetLabelColor(ui_.Find(kColorSwatch), swatchColor_);
    rows_ = store_.rows;
    ui_.UseOwnFigures(library_.set);
    for (int row = 1; row <= kPatternRows; ++row) FillRow(row);
    const bool inUse = store_.selectedRow >= 1 && store_.selectedRow <= kPatternRows;
    const int shown = inUse ? store_.selectedRow : 1;
    FillArea(shown);
    previewRow_ = shown;
    ShowPreview();
}

void SettingsDialog::FillFigureList(Control list, std::int32_t kind) {
    std::vector<std::int32_t>& kinds = listKinds_[list];
    kinds.clear();
    ui_.ClearItems(list);
    auto add = [&](std::int32_t itemKind, std::int32_t picture) {
        ui_.AddFigureItem(list, FigureNameOf(itemKind), picture);
        kinds.push_back(itemKind);
    };
    for (std::int32_t builtIn = 0; builtIn < kFigureKindCount; ++builtIn) add(builtIn, builtIn);
    for (const OwnFigure& figure : library_.set.figures) add(figure.kind, figure.kind);
    if (kind >= kFirstOwnFigureKind && !library_.set.Find(kind)) add(kind, -1);
    const auto at = std::find(kinds.begin(), kinds.end(), kind);
    ui_.SelectItem(list, at == kinds.end() ? -1 : static_cast<std::int32_t>(at - kinds.begin()));
}

std::int32_t SettingsDialog::SelectedFigure(Control list) {
    const std::vector<std::int32_t>& kinds = listKinds_[list];
    const std::int32_t item = ui_.SelectedItem(list);
    return item >= 0 && static_cast<std::size_t>(item) < kinds.size()
               ? kinds[static_cast<std::size_t>(item)]
               : -1;
}

// An own figure without a name shows by its number, so that it can be chosen.
std::string SettingsDialog::FigureNameOf(std::int32_t kind) {
    if (kind >= 0 && kind < kFigureKindCount) return std::string(FigureName(kind));
    const OwnFigure* figure = library_.set.Find(kind);
    if (!figure) return kind >= kFirstOwnFigureKind ? MissingFigureName(kind) : std::string();
    if (figure->name.empty()) return "図形" + std::to_string(kind);
    return ui_.FromCp932(figure->name);
}

std::string SettingsDialog::MissingFigureName(std::int32_t kind) {
    return "(削除された図形 " + std::to_string(kind) + ")";
}

void SettingsDialog::FillRow(int row) {
    const Control selector = RowControl(kRowSelector, row);
    ui_.SetSelector(selector, false);
    if (row == store_.selectedRow) {
        ui_.SetSelector(selector, true);
        ui_.FocusSelector(selector);
    }
    FillRowFields(row, store_.rows[static_cast<std::size_t>(row - 1)]);
}

void SettingsDialog::FillRowFields(int row, const PatternRow& r) {
    // A stored index without an item (a hand-edited file, or -1 saved from a
    // list left empty) shows as no selection, never as some other item.
    for (std::size_t i = 0; i < std::size(kRowFields); ++i) {
        const RowField& field = kRowFields[i];
        const Control c = RowControl(RowFieldPrefixes()[i], row);
        if (RowFieldPrefixes()[i] == kFigureList)
            FillFigureList(c, r.*field.integer);
        else if (field.integer)
            ui_.SelectItem(c, r.*field.integer);
        else
            ui_.SetEditText(c, FormatReal(r.*field.real));
    }
}

// The window reports the edits that filling makes; they are not the user's.
void SettingsDialog::FillArea(int row) {
    fillingArea_ = true;
    const PatternRow& r = rows_[static_cast<std::size_t>(row - 1)];
    for (const AreaField& field : AreaFields()) {
        const Control c = ui_.Find(field.control);
        if (field.control == kSecondFigureList)
            FillFigureList(c, r.*field.integer);
        else if (field.integer && IsCheckBox(field))
            ui_.SetChecked(c, r.*field.integer != 0);
        else if (field.integer)
            ui_.SelectItem(c, r.*field.integer);
        else if (field.real)
            ui_.SetEditText(c, FormatReal(r.*field.real));
        else
            ui_.SetEditText(c, r.*field.text);
    }
    fillingArea_ = false;
}

// A list showing no item and a check box as it was filled keep the stored
// code, so that a hand-edited value the area has no item for survives OK.
void SettingsDialog::ReadArea(PatternRow& r) {
    for (const AreaField& field : AreaFields()) {
        const Control c = ui_.Find(field.control);
        if (field.integer && IsCheckBox(field)) {
            const bool on = ui_.Checked(c);
            if (on != (r.*field.integer != 0)) r.*field.integer = on ? 1 : 0;
        } else if (IsFigureList(c)) {
            if (const std::int32_t kind = SelectedFigure(c); kind >= 0) r.*field.integer = kind;
        } else if (field.integer) {
            if (const std::int32_t item = ui_.SelectedItem(c); item >= 0) r.*field.integer = item;
        } else if (field.real) {
            r.*field.real = field.validate(ui_.EditText(c));
        } else {
            r.*field.text = field.validateText(ui_.EditText(c));
        }
    }
}

void SettingsDialog::Button1Click() {
    const WindowPosition at = ui_.Position();
    store_.formLeft = at.left;
    store_.formTop = at.top;
    for (int row = 1; row <= kPatternRows; ++row) {
        if (ui_.SelectorOn(RowControl(kRowSelector, row))) store_.selectedRow = row;
        store_.rows[static_cast<std::size_t>(row - 1)] = ReadRow(row);
    }
    store_.solidColorSwitch = ui_.Checked(ui_.Find(kSolidColorSwitch));
    store_.solidColor = swatchColor_;
    // A failed save is silent: the old file stays as it was.
    SavePatternStore(store_, storeFile_);
    SaveFigureEdits();
    SaveSymbolEdits();
    ui_.Close();
}

PatternRow SettingsDialog::ReadRow(int row) {
    PatternRow r = rows_[static_cast<std::size_t>(row - 1)];
    for (std::size_t i = 0; i < std::size(kRowFields); ++i) {
        const RowField& field = kRowFields[i];
        const Control c = RowControl(RowFieldPrefixes()[i], row);
        if (IsFigureList(c))
            r.*field.integer = SelectedFigure(c);
        else if (field.integer)
            r.*field.integer = ui_.SelectedItem(c);
        else
            r.*field.real = field.validate(ui_.EditText(c));
    }
    if (row == previewRow_) ReadArea(r);
    return r;
}

void SettingsDialog::Button2Click() { ui_.Close(); }

void SettingsDialog::Label2Click() {
    if (const auto chosen = ui_.RunColorChooser(swatchColor_)) {
        swatchColor_ = *chosen;
        ui_.SetLabelColor(ui_.Find(kColorSwatch), swatchColor_);
        ShowPreview();
    }
}

int SettingsDialog::RowOf(Control c) {
    for (int row = 1; row <= kPatternRows; ++row)
        for (std::string_view prefix : RowControlPrefixes())
            if (RowControl(prefix, row) == c) return row;
    return 0;
}

bool SettingsDialog::InArea(Control c) {
    for (const AreaField& field : AreaFields())
        if (ui_.Find(field.control) == c) return true;
    return false;
}

// The area's settings of the row it showed wait for OK; the row's own show.
void SettingsDialog::ShowInArea(int row) {
    if (row == previewRow_) return;
    ReadArea(rows_[static_cast<std::size_t>(previewRow_ - 1)]);
    FillArea(row);
    previewRow_ = row;
}

void SettingsDialog::Edited(Control c) {
    // Filling the controls reports edits too; the preview starts once all are set.
    if (previewRow_ == 0 || fillingArea_ || c == kNoControl) return;
    if (const int row = RowOf(c)) {
        ShowInArea(row);
    } else if (c != ui_.Find(kSolidColorSwitch) && !InArea(c)) {
        return;
    }
    ShowPreview();
}

int SettingsDialog::RowInUse() {
    for (int row = 1; row <= kPatternRows; ++row)
        if (ui_.SelectorOn(RowControl(kRowSelector, row))) return row;
    return 0;
}

std::string SettingsDialog::PreviewCaption(int shownRow, int rowInUse, std::string_view figureName,
                                           std::int32_t damagedFigures) {
    std::string caption = "行" + std::to_string(shownRow) + "を表示中\n使用中: ";
    caption += rowInUse > 0 ? "行" + std::to_string(rowInUse) : std::string("なし");
    if (!figureName.empty()) {
        caption += "\n";
        caption += figureName;
    }
    if (damagedFigures > 0) caption += "\n破損図形 " + std::to_string(damagedFigures) + "件";
    return caption;
}

void SettingsDialog::ShowPreview() {
    const SolidStyle solid{ui_.Checked(ui_.Find(kSolidColorSwitch)), swatchColor_};
    const PatternRow row = ReadRow(previewRow_);
    ui_.ShowPreview(ui_.Find(kPreviewBand), row, solid,
                    PreviewCaption(previewRow_, RowInUse(), FigureNameOf(row.figureKind),
                                   library_.damagedEntries));
}

// The figure chooser.

FigureGridContent SettingsDialog::GridContent(Control list) {
    std::vector<GridCell> items;
    for (const std::int32_t kind : listKinds_[list]) {
        const bool own = kind >= kFirstOwnFigureKind;
        const bool drawn = !own || library_.set.Find(kind) != nullptr;
        items.push_back({kind, FigureNameOf(kind), own && drawn, drawn});
    }
    FigureGridContent content = GroupFigures(items, SelectedFigure(list));
    content.ownEditable = OwnFiguresEditable();
    return content;
}

bool SettingsDialog::OwnFiguresEditable() const {
    return !libraryFile_.empty() && library_.writable;
}

void SettingsDialog::OpenFigureGrid(Control list) {
    if (!IsFigureList(list)) return;
    std::int32_t focusKind = SelectedFigure(list);
    for (;;) {
        const FigureGridContent content = GridContent(list);
        const FigureGridAnswer answer =
            ui_.RunFigureGrid(list, content, OpenedCell(content, focusKind));
        switch (answer.action) {
            case FigureGridAnswer::Action::Cancel: return;
            case FigureGridAnswer::Action::Choose: return ChooseFigure(list, answer.kind);
            case FigureGridAnswer::Action::Rename: RenameOwnFigure(answer.kind, answer.name); break;
            case FigureGridAnswer::Action::Delete: DeleteOwnFigure(answer.kind); break;
        }
        focusKind = answer.kind;
    }
}

void SettingsDialog::ChooseFigure(Control list, std::int32_t kind) {
    const std::vector<std::int32_t>& kinds = listKinds_[list];
    const auto at = std::find(kinds.begin(), kinds.end(), kind);
    if (at == kinds.end()) return;
    ui_.SelectItem(list, static_cast<std::int32_t>(at - kinds.begin()));
    Edited(list);
}

void SettingsDialog::RenameOwnFigure(std::int32_t kind, std::string_view name) {
    if (!OwnFiguresEditable() || !library_.set.Find(kind)) return;
    const std::optional<std::string> cp932 = ui_.ToCp932(name);
    if (!cp932) return ui_.Tell("この名前には図形ファイルに書けない文字があります。");
    // An empty name shows by the figure's number, as registering gives it.
    const std::string cleaned = CleanFigureName(*cp932);
    const std::string stored =
        cleaned.empty() ? ui_.ToCp932("図形" + std::to_string(kind)).value_or("") : cleaned;
    const FigureEdit edit{kind, false, stored};
    ApplyFigureEdit(library_, edit);
    figureEdits_.push_back(edit);
    RefillFigureLists();
}

void SettingsDialog::DeleteOwnFigure(std::int32_t kind) {
    if (!OwnFiguresEditable() || !library_.set.Find(kind)) return;
    const std::vector<int> rows = RowsDrawing(kind);
    if (!rows.empty() && !ui_.AskYesNo(DeleteQuestion(FigureNameOf(kind), kind, rows))) return;
    const FigureEdit edit{kind, true, {}};
    ApplyFigureEdit(library_, edit);
    figureEdits_.push_back(edit);
    RefillFigureLists();
}

std::vector<int> SettingsDialog::RowsDrawing(std::int32_t kind) {
    std::vector<int> rows;
    for (int row = 1; row <= kPatternRows; ++row) {
        const PatternRow r = ReadRow(row);
        if (r.figureKind == kind || r.figureB == kind) rows.push_back(row);
    }
    return rows;
}

std::string SettingsDialog::DeleteQuestion(std::string_view name, std::int32_t kind,
                                           const std::vector<int>& rows) {
    std::string question = "図形「" + std::string(name) + "」(" + std::to_string(kind) + ")は";
    for (std::size_t i = 0; i < rows.size(); ++i)
        question += (i > 0 ? "、行" : "行") + std::to_string(rows[i]);
    question +=
        "で使われています。\n削除すると、これらの行はこの図形を描かなくなります"
        "(行の設定はそのまま残ります)。\n削除しますか?";
    return question;
}

// Each list keeps the figure it shows; one that showed a deleted figure now
// shows it as deleted, keeping its number.
void SettingsDialog::RefillFigureLists() {
    std::vector<std::pair<Control, std::int32_t>> shown;
    for (const auto& [list, kinds] : listKinds_) shown.emplace_back(list, SelectedFigure(list));
    for (const auto& [list, kind] : shown) FillFigureList(list, kind);
    ShowPreview();
}

void SettingsDialog::SaveFigureEdits() {
    if (figureEdits_.empty()) return;
    if (!tesra::SaveFigureEdits(libraryFile_, figureEdits_))
        ui_.Tell(
            "図形ファイルを保存できませんでした。図形の名前の変更と削除は保存されていません。");
    figureEdits_.clear();
}

// The symbol chooser.

void SettingsDialog::UseSymbols(SymbolLibrary symbols, std::filesystem::path symbolFile) {
    symbols_ = std::move(symbols);
    symbolFile_ = std::move(symbolFile);
}

bool SettingsDialog::SymbolsEditable() const { return !symbolFile_.empty() && symbols_.writable; }

void SettingsDialog::OpenSymbolGrid() {
    if (previewRow_ == 0) return;
    int focus = 0;
    const auto fromCp932 = [](void* ui, std::string_view text) {
        return static_cast<DialogPlatform*>(ui)->FromCp932(text);
    };
    for (;;) {
        const SymbolGridContent content =
            SymbolGridOf(symbols_, library_.set, fromCp932, &ui_, SymbolsEditable());
        const FigureGridAnswer answer = ui_.RunSymbolGrid(content, focus);
        const bool known =
            answer.kind >= 0 && static_cast<std::size_t>(answer.kind) < symbols_.symbols.size();
        if (answer.action == FigureGridAnswer::Action::Cancel || !known) return;
        if (answer.action == FigureGridAnswer::Action::Choose)
            return ApplySymbol(static_cast<std::size_t>(answer.kind));
        EditSymbol(answer);
        focus = std::min(answer.kind, static_cast<std::int32_t>(symbols_.symbols.size()) - 1);
    }
}

// Every setting of the symbol, the nine fields and the area's alike.
void SettingsDialog::ApplySymbol(std::size_t index) {
    const PatternRow& chosen = symbols_.symbols[index].row;
    rows_[static_cast<std::size_t>(previewRow_ - 1)] = chosen;
    FillRowFields(previewRow_, chosen);
    FillArea(previewRow_);
    ShowPreview();
}

void SettingsDialog::EditSymbol(const FigureGridAnswer& answer) {
    if (!SymbolsEditable()) return;
    const auto index = static_cast<std::size_t>(answer.kind);
    SymbolEdit edit;
    edit.index = index;
    edit.oldName = symbols_.symbols[index].name;
    if (answer.action == FigureGridAnswer::Action::Delete) {
        edit.action = SymbolEdit::Action::Remove;
    } else {
        const std::optional<std::string> cp932 = ui_.ToCp932(answer.name);
        if (!cp932 || CleanFigureName(*cp932).empty())
            return ui_.Tell("この名前は記号ファイルに書けません。");
        edit.action = SymbolEdit::Action::Rename;
        edit.symbol.name = *cp932;
    }
    if (ApplySymbolEdit(symbols_, edit)) symbolEdits_.push_back(edit);
}

void SettingsDialog::RegisterRowAsSymbol() {
    if (previewRow_ == 0) return;
    if (!SymbolsEditable())
        return ui_.Tell("記号ファイルに書き込めないため、記号を登録できません。");
    const std::optional<std::string> typed = ui_.AskText("記号の名前");
    if (!typed) return;
    const std::optional<std::string> cp932 = ui_.ToCp932(*typed);
    if (!cp932 || CleanFigureName(*cp932).empty())
        return ui_.Tell("この名前は記号ファイルに書けません。");
    SymbolEdit edit;
    edit.symbol = SymbolOfRow(ReadRow(previewRow_), *cp932, "", &library_.set);
    if (ApplySymbolEdit(symbols_, edit))
        symbolEdits_.push_back(edit);
    else
        ui_.Tell("記号ファイルがいっぱいです。");
}

void SettingsDialog::SaveSymbolEdits() {
    if (symbolEdits_.empty()) return;
    if (!tesra::SaveSymbolEdits(symbolFile_, symbolEdits_))
        ui_.Tell(
            "記号ファイルを保存できませんでした。記号の登録・名前の変更・削除は"
            "保存されていません。");
    symbolEdits_.clear();
}

}  // namespace tesra
