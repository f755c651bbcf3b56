#pragma once
// The settings dialog apart from the window system: fills the form from the
// pattern store, reads it back on OK with the store's checks and saves it.
// Holds the swatch color between the color chooser and OK, because the
// platform is only ever asked to show a color, never to tell it.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/dialog/dialog_platform.h"
#include "settings/figure_library.h"
#include "settings/pattern_store.h"
#include "settings/row_settings.h"
#include "settings/symbol_library.h"

namespace tesra {

class SettingsDialog {
public:
    // The figure lists offer the library's figures after the built-in ones.
    // Renaming and deleting them is saved to libraryFile on OK; without a
    // file they can only be chosen.
    SettingsDialog(DialogPlatform& ui, PatternStore& store, std::filesystem::path storeFile,
                   FigureLibrary library = {}, std::filesystem::path libraryFile = {});

    // FormShow in dialog mode. bz: the exchange file carried the scale switch.
    void Fill(bool bz);
    void Button1Click();  // OK: read back, save, close
    void Button2Click();  // Cancel and the close box: close, save nothing
    void Label2Click();   // the color swatch
    // A control changed or took the focus. A row's control makes the preview
    // band and the settings area below it show that row; the check box
    // changes the band's solid color, the area's controls its row.
    void Edited(Control c);
    // An arrow key on a selector: the twelve behave as one radio group, the
    // key choosing the row before or after (round from the last to the
    // first) as the row in use, with the focus.
    enum class SelectorMove { Previous, Next };
    void SelectorKey(Control selector, SelectorMove move);
    // Alt and a letter: true when it is the access key of a label, whose
    // control then takes the focus. Other controls' keys are the window's.
    bool AccessKey(char letter);
    // A figure box asked to open: the figure chooser takes the place of its
    // list, and renames and deletes own figures until the user chooses or
    // leaves.
    void OpenFigureGrid(Control list);
    // An edit box lost the focus: a value that OK would store other than
    // typed gets a note on the box, kept until the text reads as typed or OK
    // accepts it.
    void LeftEditBox(Control box);

    // The note on a box whose text OK replaces or cuts: what was typed, why,
    // and what OK stores.
    static std::string ValueNoteText(const RowSetting& setting, std::string_view typed,
                                     const Reading& reading);

    // The symbol library. The chooser fills the row the band shows with every
    // setting of the chosen symbol (until OK, like any edit); the row can be
    // saved as a new symbol; symbols are renamed and deleted as own figures
    // are. What changes in the library is written to symbolFile on OK.
    void UseSymbols(SymbolLibrary symbols, std::filesystem::path symbolFile);
    void OpenSymbolGrid();
    void RegisterRowAsSymbol();
    // A push button of the form: the two above open from the settings area.
    void Pressed(Control button);
    // The question before deleting a symbol from the file.
    static std::string DeleteSymbolQuestion(std::string_view name);

    // The band's caption: the row it shows, the row in use (which OK keeps
    // and the drawing modes draw; 0 for none), the whole name of the figure
    // it shows, which the figure box may have to shorten (empty: none), and
    // how many entries of the figure library did not read.
    // figureBName: the second figure's, when the row's sequence draws it.
    static std::string PreviewCaption(int shownRow, int rowInUse, std::string_view figureName,
                                      std::int32_t damagedFigures = 0,
                                      std::string_view figureBName = {});
    // A built-in figure's name as the lists show it: twins get a number.
    static std::string ShownFigureName(std::int32_t kind);
    // The item that keeps a row's own figure which the library no longer has.
    static std::string MissingFigureName(std::int32_t kind);
    // The question before deleting an own figure that rows still draw.
    static std::string DeleteQuestion(std::string_view name, std::int32_t kind,
                                      const std::vector<int>& rows);

private:
    // A typed value that OK would not store as typed, and whether the user
    // has seen its note: shown by an event before this one.
    struct ValueNote {
        std::string typed;
        bool shown = false;
        bool justShown = false;  // by the latest event: the user may not have seen it yet
    };
    using SettingOfRow = std::pair<int, std::size_t>;  // row, index into kRowSettings

    Control RowControl(std::string_view prefix, int row);
    // The control that shows the setting of row now (kNoControl: none).
    Control ControlOf(const RowSetting& s, int row);
    void FillControl(Control c, const RowSetting& s, const PatternRow& r);
    void ReadControl(Control c, const RowSetting& s, PatternRow& r);
    // Keeps or drops the note of the setting for the text typed; true when
    // OK stores something else than typed.
    bool Track(SettingOfRow at, const std::string& typed);
    void ShowNote(Control box, SettingOfRow at);
    void ClearNote(Control box);
    // Every note shown so far counts as seen from the next event on.
    void SeeNotes();
    // Shows every note OK would otherwise pass unseen; true when there was one.
    bool ShowUnseenNotes();
    bool SaveRefused();
    void CloseForm();
    // The list shows the figures and selects kind; a deleted own figure gets
    // an item of its own, so that OK keeps the row's number.
    void FillFigureList(Control list, std::int32_t kind);
    std::int32_t SelectedFigure(Control list);  // -1: none
    bool IsFigureList(Control c) const { return listKinds_.contains(c); }
    std::string FigureNameOf(std::int32_t kind);
    FigureGridContent GridContent(Control list);
    void ChooseFigure(Control list, std::int32_t kind);
    // False: the name was refused and the user was told why.
    bool RenameOwnFigure(std::int32_t kind, std::string_view name);
    void DeleteOwnFigure(std::int32_t kind);
    // After a rename or a delete: every list shows the library as it is now.
    void RefillFigureLists();
    std::vector<int> RowsDrawing(std::int32_t kind);
    bool OwnFiguresEditable() const;
    void SaveFigureEdits();
    void ApplySymbol(std::size_t index);
    // False: a new name was refused and the user was told why.
    bool EditSymbol(const FigureGridAnswer& answer);
    // The name typed for a symbol as the file keeps it; nothing (the user
    // told why) for one the file cannot hold.
    std::optional<std::string> SymbolNameOf(std::string_view typed);
    void SaveSymbolEdits();
    bool SymbolsEditable() const;
    // Drops the notes of every typed value of the row: its values were replaced.
    void DropNotes(int row);
    void FillRow(int row);
    void FillArea(int row);
    // The row as OK would store it from what the controls show now.
    PatternRow ReadRow(int row);
    void ReadArea(int row);
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
    bool closing_ = false;
    std::map<SettingOfRow, ValueNote> notes_;
    std::map<Control, SettingOfRow> notedBoxes_;  // the boxes showing a note now
    FigureLibrary library_;
    std::filesystem::path libraryFile_;
    std::vector<FigureEdit> figureEdits_;                     // saved on OK
    std::map<Control, std::vector<std::int32_t>> listKinds_;  // the kind of each item
    SymbolLibrary symbols_;
    std::filesystem::path symbolFile_;
    std::vector<SymbolEdit> symbolEdits_;  // saved on OK
};

}  // namespace tesra
