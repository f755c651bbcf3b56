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
namespace {

constexpr std::string_view kFullWidthMacron = "￣";
constexpr std::string_view kVisibleMacron = "\u00AF\u00AF";

}  // namespace

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
    if (kind >= 0 && kind < kFigureKindCount) return ShownFigureName(kind);
    const OwnFigure* figure = library_.set.Find(kind);
    if (!figure) return kind >= kFirstOwnFigureKind ? MissingFigureName(kind) : std::string();
    if (figure->name.empty()) return "図形" + std::to_string(kind);
    return ui_.FromCp932(figure->name);
}

// The built-in list names "／／" and "＼＼" twice each; the user tells the two
// apart by a number after the name, in the order of the list. The store
// keeps the kind, so the name is only what the dialog shows.
// The form's font draws the full-width macron "￣" as a stroke on the very
// top of its cell, which small sizes lose; two half-width macrons stand a
// little lower and show at every scaling.
std::string SettingsDialog::ShownFigureName(std::int32_t kind) {
    const std::string_view name = FigureName(kind);
    int before = 0, twins = 0;
    for (std::int32_t other = 0; other < kFigureKindCount; ++other) {
        if (FigureName(other) != name) continue;
        ++twins;
        if (other < kind) ++before;
    }
    std::string shown(name);
    if (shown.starts_with(kFullWidthMacron))
        shown.replace(0, kFullWidthMacron.size(), kVisibleMacron);
    if (twins < 2) return shown;
    return shown + "(" + std::to_string(before + 1) + ")";
}

std::string SettingsDialog::MissingFigureName(std::int32_t kind) {
    return "(削除された図形 " + std::to_string(kind) + ")";
}

void SettingsDialog::FillRow(int row) {
    const PatternRow& r = store_.rows[static_cast<std::size_t>(row - 1)];
    const Control selector = RowControl(kRowSelector, row);
    ui_.SetSelector(selector, false);
    if (row == store_.selectedRow) {
        ui_.SetSelector(selector, true);
        ui_.FocusSelector(selector);
    }
    for (const RowSetting& setting : kLineSettings)
        FillControl(RowControl(setting.control, row), setting, r);
}

Control SettingsDialog::ControlOf(const RowSetting& s, int row) {
    if (s.control.empty()) return kNoControl;
    if (s.key.empty()) return RowControl(s.control, row);
    return row == previewRow_ ? ui_.Find(s.control) : kNoControl;
}

// A stored index without an item (a hand-edited file, or -1 saved from a list
// left empty) shows as no selection, never as some other item.
void SettingsDialog::FillControl(Control c, const RowSetting& s, const PatternRow& r) {
    switch (s.kind) {
        case ValueKind::Figure: return FillFigureList(c, r.*s.integer);
        case ValueKind::Switch: return ui_.SetChecked(c, r.*s.integer != 0);
        case ValueKind::Code: return ui_.SelectItem(c, r.*s.integer);
        default: return ui_.SetEditText(c, ValueText(s, r));
    }
}

// A list of the settings area showing no item, and a check box as it was
// filled, keep the stored code, so that a hand-edited value the area has no
// item for survives OK; a row's list showing no item reads back -1.
void SettingsDialog::ReadControl(Control c, const RowSetting& s, PatternRow& r) {
    const bool keepsUnlisted = !s.key.empty();
    switch (s.kind) {
        case ValueKind::Figure:
        case ValueKind::Code: {
            const std::int32_t v =
                s.kind == ValueKind::Figure ? SelectedFigure(c) : ui_.SelectedItem(c);
            if (v >= 0 || !keepsUnlisted) r.*s.integer = v;
            return;
        }
        case ValueKind::Switch: {
            const bool on = ui_.Checked(c);
            if (on != (r.*s.integer != 0)) r.*s.integer = on ? 1 : 0;
            return;
        }
        default: SetReading(s, r, ReadTyped(s, ui_.EditText(c)));
    }
}

// The window reports the edits that filling makes; they are not the user's.
// A value typed for the row that OK would not store as typed comes back with
// its note.
void SettingsDialog::FillArea(int row) {
    fillingArea_ = true;
    const PatternRow& r = rows_[static_cast<std::size_t>(row - 1)];
    for (std::size_t i = kRowLineCount; i < std::size(kRowSettings); ++i) {
        const RowSetting& s = kRowSettings[i];
        if (s.control.empty()) continue;
        const Control c = ui_.Find(s.control);
        const auto note = notes_.find({row, i});
        if (note == notes_.end()) {
            FillControl(c, s, r);
            ClearNote(c);
        } else {
            ui_.SetEditText(c, note->second.typed);
            ShowNote(c, {row, i});
        }
    }
    fillingArea_ = false;
}

// The area's values of the row into the rows waiting for OK.
void SettingsDialog::ReadArea(int row) {
    PatternRow& r = rows_[static_cast<std::size_t>(row - 1)];
    for (std::size_t i = kRowLineCount; i < std::size(kRowSettings); ++i) {
        const RowSetting& s = kRowSettings[i];
        if (s.control.empty()) continue;
        const Control c = ui_.Find(s.control);
        ReadControl(c, s, r);
        if (IsTyped(s.kind)) Track({row, i}, ui_.EditText(c));
    }
}

void SettingsDialog::Button1Click() {
    if (SaveRefused()) return;
    const bool unseen = ShowUnseenNotes();
    SeeNotes();
    if (unseen) return;  // the next OK stores what the notes say
    const WindowPosition at = ui_.Position();
    store_.formLeft = at.left;
    store_.formTop = at.top;
    for (int row = 1; row <= kPatternRows; ++row) {
        if (ui_.SelectorOn(RowControl(kRowSelector, row))) store_.selectedRow = row;
        store_.rows[static_cast<std::size_t>(row - 1)] = ReadRow(row);
    }
    store_.solidColorSwitch = ui_.Checked(ui_.Find(kSolidColorSwitch));
    store_.solidColor = swatchColor_;
    // A failed save keeps the old file as it was (a read-only one too), and says so.
    if (!SavePatternStore(store_, storeFile_))
        ui_.Tell(
            "設定ファイルに書き込めないため、設定は保存されていません（ファイルはそのままです）。"
            "読み取り専用になっていないか確かめて下さい。");
    SaveFigureEdits();
    SaveSymbolEdits();
    CloseForm();
}

PatternRow SettingsDialog::ReadRow(int row) {
    PatternRow r = rows_[static_cast<std::size_t>(row - 1)];
    for (const RowSetting& s : kRowSettings)
        if (const Control c = ControlOf(s, row); c != kNoControl) ReadControl(c, s, r);
    return r;
}

// A store the dialog did not read whole is kept as it is: saving would lose
// what it never saw.
bool SettingsDialog::SaveRefused() {
    if (store_.read == StoreRead::kWhole) return false;
    ui_.Tell(store_.read == StoreRead::kOverBound
                 ? "設定ファイルが大きすぎて(1 MB を超えています)最後まで読めませんでした。"
                   "ファイルの内容を失わないよう、設定は保存しません。"
                 : "設定ファイルを読む途中でエラーが起きました。"
                   "ファイルの内容を失わないよう、設定は保存しません。");
    SaveFigureEdits();
    SaveSymbolEdits();
    CloseForm();
    return true;
}

void SettingsDialog::Button2Click() { CloseForm(); }

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
    for (const RowSetting& s : kKeySettings)
        if (!s.control.empty() && ui_.Find(s.control) == c) return true;
    return false;
}

// The area's settings of the row it showed wait for OK; the row's own show.
void SettingsDialog::ShowInArea(int row) {
    if (row == previewRow_) return;
    ReadArea(previewRow_);
    FillArea(row);
    previewRow_ = row;
}

void SettingsDialog::Edited(Control c) {
    // Filling the controls reports edits too; the preview starts once all are set.
    if (previewRow_ == 0 || fillingArea_ || c == kNoControl) return;
    SeeNotes();
    if (const auto noted = notedBoxes_.find(c); noted != notedBoxes_.end()) {
        if (!Track(noted->second, ui_.EditText(c))) ClearNote(c);
    }
    if (const int row = RowOf(c)) {
        ShowInArea(row);
    } else if (c != ui_.Find(kSolidColorSwitch) && !InArea(c)) {
        return;
    }
    ShowPreview();
}

// Value notes.

// Closing the window takes the focus from its box too: no note then.
void SettingsDialog::CloseForm() {
    closing_ = true;
    ui_.Close();
}

void SettingsDialog::LeftEditBox(Control box) {
    if (previewRow_ == 0 || closing_ || box == kNoControl) return;
    SeeNotes();
    for (int row = 1; row <= kPatternRows; ++row)
        for (std::size_t i = 0; i < std::size(kRowSettings); ++i) {
            const RowSetting& s = kRowSettings[i];
            if (!IsTyped(s.kind) || ControlOf(s, row) != box) continue;
            if (Track({row, i}, ui_.EditText(box)))
                ShowNote(box, {row, i});
            else
                ClearNote(box);
            return;
        }
}

bool SettingsDialog::Track(SettingOfRow at, const std::string& typed) {
    if (ReadTyped(kRowSettings[at.second], typed).problem == ReadProblem::None) {
        notes_.erase(at);
        return false;
    }
    ValueNote& note = notes_[at];
    if (note.typed != typed) note = {typed};
    return true;
}

void SettingsDialog::ShowNote(Control box, SettingOfRow at) {
    ValueNote& note = notes_.at(at);
    const RowSetting& s = kRowSettings[at.second];
    ui_.ShowValueNote(box, ValueNoteText(s, note.typed, ReadTyped(s, note.typed)));
    if (!note.shown) note.justShown = true;
    note.shown = true;
    notedBoxes_[box] = at;
}

void SettingsDialog::ClearNote(Control box) {
    if (notedBoxes_.erase(box)) ui_.ShowValueNote(box, "");
}

void SettingsDialog::SeeNotes() {
    for (auto& [at, note] : notes_) note.justShown = false;
}

// A box of a row the area does not show has its note shown by bringing that
// row to the area.
bool SettingsDialog::ShowUnseenNotes() {
    bool unseen = false;
    int hiddenRow = 0;
    for (int row = 1; row <= kPatternRows; ++row)
        for (std::size_t i = 0; i < std::size(kRowSettings); ++i) {
            if (!IsTyped(kRowSettings[i].kind)) continue;
            const Control c = ControlOf(kRowSettings[i], row);
            const auto kept = notes_.find({row, i});
            if (c == kNoControl && kept == notes_.end()) continue;
            const std::string typed = c != kNoControl ? ui_.EditText(c) : kept->second.typed;
            if (!Track({row, i}, typed)) {
                if (c != kNoControl) ClearNote(c);
                continue;
            }
            const ValueNote& note = notes_.at({row, i});
            if (note.shown && !note.justShown) continue;
            unseen = true;
            if (c != kNoControl)
                ShowNote(c, {row, i});
            else if (hiddenRow == 0)
                hiddenRow = row;
        }
    if (hiddenRow != 0) {
        ShowInArea(hiddenRow);
        ShowPreview();
    }
    return unseen;
}

std::string SettingsDialog::ValueNoteText(const RowSetting& setting, std::string_view typed,
                                          const Reading& reading) {
    std::string why;
    switch (reading.problem) {
        case ReadProblem::TooLarge:
            why = "は上限 " + FormatReal(kLargestSize) + " を超えています";
            break;
        case ReadProblem::OutOfRange:
            why = setting.kind == ValueKind::Size  ? "は 0 より大きい数にしてください"
                  : setting.kind == ValueKind::Gap ? "は 0 以上の数にしてください"
                                                   : "は 0 より大きく 1 以下の数にしてください";
            break;
        default:
            why = setting.kind == ValueKind::Rhythm ? "は L と S を 1～8 文字で書いてください"
                  : setting.kind == ValueKind::Sequence ? "は A と B を 8 文字まで書いてください"
                                                        : "は数として読めません";
    }
    const std::string stored = ReadingText(setting, reading);
    return "入力「" + std::string(typed) + "」" + why + "。OK を押すと「" +
           (stored.empty() ? std::string("(空)") : stored) + "」を保存します。";
}

void SettingsDialog::SelectorKey(Control selector, SelectorMove move) {
    const int row = RowOf(selector);
    if (row == 0 || previewRow_ == 0) return;
    const int step = move == SelectorMove::Next ? 1 : kPatternRows - 1;
    const Control next = RowControl(kRowSelector, (row - 1 + step) % kPatternRows + 1);
    ui_.SetSelector(next, true);
    ui_.FocusSelector(next);
    Edited(next);
}

bool SettingsDialog::AccessKey(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    for (const ControlEntry& entry : FormControls()) {
        if (IsTabStop(entry.kind) || entry.labelFor.empty() || AccessKeyOf(entry.text) != letter)
            continue;
        const int inUse = RowInUse();
        const Control target = entry.labelFor == kRowSelector
                                   ? RowControl(kRowSelector, inUse > 0 ? inUse : 1)
                                   : ui_.Find(entry.labelFor);
        ui_.FocusControl(target);
        Edited(target);
        return true;
    }
    return false;
}

int SettingsDialog::RowInUse() {
    for (int row = 1; row <= kPatternRows; ++row)
        if (ui_.SelectorOn(RowControl(kRowSelector, row))) return row;
    return 0;
}

std::string SettingsDialog::PreviewCaption(int shownRow, int rowInUse, std::string_view figureName,
                                           std::int32_t damagedFigures,
                                           std::string_view figureBName) {
    std::string caption = "行" + std::to_string(shownRow) + "を表示中\n使用中: ";
    caption += rowInUse > 0 ? "行" + std::to_string(rowInUse) : std::string("なし");
    // With a second figure each name says which of the two it is.
    const bool two = !figureBName.empty();
    if (!figureName.empty()) caption += (two ? "\nA: " : "\n") + std::string(figureName);
    if (two) caption += "\nB: " + std::string(figureBName);
    if (damagedFigures > 0) caption += "\n破損図形 " + std::to_string(damagedFigures) + "件";
    return caption;
}

// A slope row draws ticks, no figure; a rule row draws its second figure
// only where its sequence says B.
void SettingsDialog::ShowPreview() {
    const SolidStyle solid{ui_.Checked(ui_.Find(kSolidColorSwitch)), swatchColor_};
    const PatternRow row = ReadRow(previewRow_);
    const bool rule = row.rowKind != kRowSlope;
    const bool drawsB = rule && row.sequence.find('B') != std::string::npos;
    ui_.ShowPreview(
        ui_.Find(kPreviewBand), row, solid,
        PreviewCaption(previewRow_, RowInUse(), rule ? FigureNameOf(row.figureKind) : std::string(),
                       library_.damagedEntries,
                       drawsB ? FigureNameOf(row.figureB) : std::string()));
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
    std::string refusedName;  // a refused rename opens again with the text typed
    for (;;) {
        FigureGridContent content = GridContent(list);
        content.renameText = std::exchange(refusedName, {});
        const FigureGridAnswer answer =
            ui_.RunFigureGrid(list, content, OpenedCell(content, focusKind));
        switch (answer.action) {
            case FigureGridAnswer::Action::Cancel: return;
            case FigureGridAnswer::Action::Choose: return ChooseFigure(list, answer.kind);
            case FigureGridAnswer::Action::Rename:
                if (!RenameOwnFigure(answer.kind, answer.name)) refusedName = answer.name;
                break;
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

bool SettingsDialog::RenameOwnFigure(std::int32_t kind, std::string_view name) {
    if (!OwnFiguresEditable() || !library_.set.Find(kind)) return true;
    const std::optional<std::string> cp932 = ui_.ToCp932(name);
    if (!cp932) {
        ui_.Tell("この名前には図形ファイルに書けない文字があります。直してください。");
        return false;
    }
    // An empty name shows by the figure's number, as registering gives it.
    const std::string cleaned = CleanFigureName(*cp932);
    const std::string stored =
        cleaned.empty() ? ui_.ToCp932("図形" + std::to_string(kind)).value_or("") : cleaned;
    const FigureEdit edit{kind, false, stored};
    ApplyFigureEdit(library_, edit);
    figureEdits_.push_back(edit);
    RefillFigureLists();
    return true;
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
    question += "で使われています。\n削除すると、";
    question += rows.size() == 1 ? "この行" : "これらの行";
    question += "はこの図形を描かなくなります(行の設定はそのまま残ります)。\n削除しますか？";
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

// An empty chooser would open and close unseen: the user is told instead.
void SettingsDialog::OpenSymbolGrid() {
    if (previewRow_ == 0) return;
    if (symbols_.symbols.empty())
        return ui_.Tell(std::string("記号がありません。") + std::string(kSymbolFileName) +
                        "(実行ファイルと同じフォルダ)に記号がないか、読めませんでした。");
    int focus = 0;
    std::string refusedName;  // a refused rename opens again with the text typed
    const auto fromCp932 = [](void* ui, std::string_view text) {
        return static_cast<DialogPlatform*>(ui)->FromCp932(text);
    };
    for (;;) {
        SymbolGridContent content =
            SymbolGridOf(symbols_, library_.set, fromCp932, &ui_, SymbolsEditable());
        content.grid.renameText = std::exchange(refusedName, {});
        const FigureGridAnswer answer = ui_.RunSymbolGrid(content, focus);
        const bool known =
            answer.kind >= 0 && static_cast<std::size_t>(answer.kind) < symbols_.symbols.size();
        if (answer.action == FigureGridAnswer::Action::Cancel || !known) return;
        if (answer.action == FigureGridAnswer::Action::Choose)
            return ApplySymbol(static_cast<std::size_t>(answer.kind));
        if (!EditSymbol(answer)) refusedName = answer.name;
        focus = std::min(answer.kind, static_cast<std::int32_t>(symbols_.symbols.size()) - 1);
    }
}

void SettingsDialog::Pressed(Control button) {
    if (button == kNoControl) return;
    if (button == ui_.Find(kSymbolFromButton)) return OpenSymbolGrid();
    if (button == ui_.Find(kRegisterSymbolButton)) return RegisterRowAsSymbol();
}

// Every setting of the symbol, the nine fields and the area's alike. The
// window reports the edits that filling makes; they are not the user's.
void SettingsDialog::ApplySymbol(std::size_t index) {
    const PatternRow& chosen = symbols_.symbols[index].row;
    rows_[static_cast<std::size_t>(previewRow_ - 1)] = chosen;
    DropNotes(previewRow_);
    fillingArea_ = true;
    for (const RowSetting& setting : kLineSettings)
        FillControl(RowControl(setting.control, previewRow_), setting, chosen);
    fillingArea_ = false;
    FillArea(previewRow_);
    ShowPreview();
}

void SettingsDialog::DropNotes(int row) {
    for (std::size_t i = 0; i < std::size(kRowSettings); ++i) {
        if (notes_.erase({row, i}) == 0) continue;
        if (const Control c = ControlOf(kRowSettings[i], row); c != kNoControl) ClearNote(c);
    }
}

bool SettingsDialog::EditSymbol(const FigureGridAnswer& answer) {
    if (!SymbolsEditable()) return true;
    const auto index = static_cast<std::size_t>(answer.kind);
    SymbolEdit edit;
    edit.index = index;
    edit.oldName = symbols_.symbols[index].name;
    if (answer.action == FigureGridAnswer::Action::Delete) {
        if (!ui_.AskYesNo(DeleteSymbolQuestion(ui_.FromCp932(edit.oldName)))) return true;
        edit.action = SymbolEdit::Action::Remove;
    } else {
        const std::optional<std::string> cp932 = SymbolNameOf(answer.name);
        if (!cp932) return false;
        edit.action = SymbolEdit::Action::Rename;
        edit.symbol.name = *cp932;
    }
    if (ApplySymbolEdit(symbols_, edit)) symbolEdits_.push_back(edit);
    return true;
}

std::string SettingsDialog::DeleteSymbolQuestion(std::string_view name) {
    return "記号「" + std::string(name) +
           "」を削除しますか？\n(行の設定は変わりません。ＯＫで記号ファイルから消えます)";
}

std::optional<std::string> SettingsDialog::SymbolNameOf(std::string_view typed) {
    const std::optional<std::string> cp932 = ui_.ToCp932(typed);
    if (!cp932) {
        ui_.Tell("この名前には記号ファイルに書けない文字があります。直してください。");
        return std::nullopt;
    }
    std::string cleaned = CleanFigureName(*cp932);
    if (cleaned.empty()) {
        ui_.Tell("記号の名前を入れてください。");
        return std::nullopt;
    }
    return cleaned;
}

// A name refused asks again with the text as typed, so that the user corrects it.
void SettingsDialog::RegisterRowAsSymbol() {
    if (previewRow_ == 0) return;
    if (!SymbolsEditable())
        return ui_.Tell("記号ファイルに書き込めないため、記号を登録できません。");
    std::string text;
    std::optional<std::string> cp932;
    while (!cp932) {
        const std::optional<std::string> typed = ui_.AskText("記号の名前", text);
        if (!typed) return;
        text = *typed;
        cp932 = SymbolNameOf(text);
    }
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
