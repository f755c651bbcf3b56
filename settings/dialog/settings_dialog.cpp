// The settings dialog's logic (fill, OK, Cancel, color) against a list of window operations.
#include "settings/dialog/settings_dialog.h"

#include <utility>

#include "exchange/number_format.h"
#include "figures/figures.h"
#include "settings/dialog/form_layout.h"

namespace tesra {

SettingsDialog::SettingsDialog(DialogPlatform& ui, PatternStore& store,
                               std::filesystem::path storeFile)
    : ui_(ui), store_(store), storeFile_(std::move(storeFile)) {}

Control SettingsDialog::RowControl(std::string_view prefix, int row) {
    return ui_.Find(ControlName(prefix, row));
}

void SettingsDialog::Fill(bool bz) {
    ui_.MoveTo({store_.formLeft, store_.formTop});
    ui_.SetLabelText(ui_.Find("LabelU"), bz ? "[図寸mm]" : "[実寸mm]");
    // The check box and the swatch belong to loading the store; they are set
    // here because the store is plain data that knows no controls.
    ui_.SetChecked(ui_.Find("CheckBox1"), store_.solidColorSwitch);
    swatchColor_ = store_.solidColor;
    ui_.SetLabelColor(ui_.Find("Label2"), swatchColor_);
    for (int row = 1; row <= kPatternRows; ++row) FillRow(row);
    const bool inUse = store_.selectedRow >= 1 && store_.selectedRow <= kPatternRows;
    previewRow_ = inUse ? store_.selectedRow : 1;
    ShowPreview();
}

void SettingsDialog::FillRow(int row) {
    const PatternRow& r = store_.rows[static_cast<std::size_t>(row - 1)];
    const Control selector = RowControl("RadioButton", row);
    ui_.SetSelector(selector, false);
    if (row == store_.selectedRow) {
        ui_.SetSelector(selector, true);
        ui_.FocusSelector(selector);
    }
    const Control figures = RowControl("ComboBoxZ", row);
    ui_.ClearItems(figures);
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind) ui_.AddItem(figures, FigureName(kind));
    // A stored index without an item (a hand-edited file, or -1 saved from a
    // list left empty) shows as no selection, never as some other item.
    for (const RowField& field : kRowFields) {
        const Control c = RowControl(field.control, row);
        if (field.integer) ui_.SelectItem(c, r.*field.integer);
        else ui_.SetEditText(c, FormatReal(r.*field.real));
    }
}

void SettingsDialog::Button1Click() {
    const WindowPosition at = ui_.Position();
    store_.formLeft = at.left;
    store_.formTop = at.top;
    for (int row = 1; row <= kPatternRows; ++row) {
        if (ui_.SelectorOn(RowControl("RadioButton", row))) store_.selectedRow = row;
        store_.rows[static_cast<std::size_t>(row - 1)] = ReadRow(row);
    }
    store_.solidColorSwitch = ui_.Checked(ui_.Find("CheckBox1"));
    store_.solidColor = swatchColor_;
    // A failed save is silent: the old file stays as it was.
    SavePatternStore(store_, storeFile_);
    ui_.Close();
}

PatternRow SettingsDialog::ReadRow(int row) {
    // Settings the form has no control for (the store's extension) stay as
    // stored: OK keeps them, and the preview draws with them.
    PatternRow r = store_.rows[static_cast<std::size_t>(row - 1)];
    for (const RowField& field : kRowFields) {
        const Control c = RowControl(field.control, row);
        if (field.integer) r.*field.integer = ui_.SelectedItem(c);
        else r.*field.real = field.validate(ui_.EditText(c));
    }
    return r;
}

void SettingsDialog::Button2Click() { ui_.Close(); }

void SettingsDialog::Label2Click() {
    if (const auto chosen = ui_.RunColorChooser(swatchColor_)) {
        swatchColor_ = *chosen;
        ui_.SetLabelColor(ui_.Find("Label2"), swatchColor_);
        ShowPreview();
    }
}

int SettingsDialog::RowOf(Control c) {
    for (int row = 1; row <= kPatternRows; ++row)
        for (std::string_view prefix : RowControlPrefixes())
            if (RowControl(prefix, row) == c) return row;
    return 0;
}

void SettingsDialog::Edited(Control c) {
    // Filling the controls reports edits too; the preview starts once all are set.
    if (previewRow_ == 0 || c == kNoControl) return;
    if (const int row = RowOf(c)) {
        previewRow_ = row;
    } else if (c != ui_.Find("CheckBox1")) {
        return;
    }
    ShowPreview();
}

int SettingsDialog::RowInUse() {
    for (int row = 1; row <= kPatternRows; ++row)
        if (ui_.SelectorOn(RowControl("RadioButton", row))) return row;
    return 0;
}

std::string SettingsDialog::PreviewCaption(int shownRow, int rowInUse, std::int32_t figureKind) {
    std::string caption = "行" + std::to_string(shownRow) + "を表示中\n使用中: ";
    caption += rowInUse > 0 ? "行" + std::to_string(rowInUse) : std::string("なし");
    if (figureKind >= 0 && figureKind < kFigureKindCount) {
        caption += "\n";
        caption += FigureName(figureKind);
    }
    return caption;
}

void SettingsDialog::ShowPreview() {
    const SolidStyle solid{ui_.Checked(ui_.Find("CheckBox1")), swatchColor_};
    const PatternRow row = ReadRow(previewRow_);
    ui_.ShowPreview(ui_.Find("PaintBox1"), row, solid,
                    PreviewCaption(previewRow_, RowInUse(), row.figureKind));
}

}  // namespace tesra
