#pragma once
// The settings dialog apart from the window system: fills the form from the
// pattern store, reads it back on OK with the store's checks and saves it.
// Holds the swatch color between the color chooser and OK, because the
// platform is only ever asked to show a color, never to tell it.

#include <cstdint>
#include <filesystem>
#include <string>

#include "settings/dialog/dialog_platform.h"
#include "settings/pattern_store.h"

namespace tesra {

class SettingsDialog {
public:
    SettingsDialog(DialogPlatform& ui, PatternStore& store, std::filesystem::path storeFile);

    // FormShow in dialog mode. bz: the exchange file carried the scale switch.
    void Fill(bool bz);
    void Button1Click();  // OK: read back, save, close
    void Button2Click();  // Cancel and the close box: close, save nothing
    void Label2Click();   // the color swatch
    // A control changed or took the focus. A row's control makes the preview
    // band and the settings area below it show that row; the check box
    // changes the band's solid color, the area's controls its row.
    void Edited(Control c);

    // The band's caption: the row it shows, the row in use (which OK keeps
    // and the drawing modes draw; 0 for none) and the whole name of the
    // figure it shows, which the figure box may have to shorten.
    static std::string PreviewCaption(int shownRow, int rowInUse, std::int32_t figureKind);

private:
    Control RowControl(std::string_view prefix, int row);
    void FillFigureList(Control list);
    void FillRow(int row);
    void FillArea(int row);
    // The row as OK would store it from what the controls show now.
    PatternRow ReadRow(int row);
    void ReadArea(PatternRow& row);
    int RowOf(Control c);
    bool InArea(Control c);
    void ShowInArea(int row);
    int RowInUse();
    void ShowPreview();

    DialogPlatform& ui_;
    PatternStore& store_;
    std::filesystem::path storeFile_;
    std::int32_t swatchColor_ = 0;
    int previewRow_ = 0;  // 0 until the form is filled; the row of the band and the area
    // The rows as edited so far: the area's settings of the rows it no longer
    // shows wait here for OK.
    PatternRows rows_{};
    bool fillingArea_ = false;
};

}  // namespace tesra
