#pragma once
// The figure chooser: every figure as a picture in a grid, grouped by family
// and opened from a row's figure box in place of a long drop-down list. Here
// are its contents, its layout at any DPI and its keyboard; the window code
// only paints cells and passes keys and clicks.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/dialog/owner_draw.h"

namespace tesra {

// The built-in kinds as the grid groups them: by what they look like, not by
// the code that draws them.
struct FigureFamily {
    std::string_view title;
    std::span<const std::int32_t> kinds;
};
std::span<const FigureFamily> BuiltInFigureFamilies();
inline constexpr std::string_view kOwnFiguresTitle = "登録図形";

struct GridCell {
    std::int32_t kind = 0;
    std::string name;   // whole, UTF-8
    bool own = false;   // a figure of the library: it may be renamed and deleted
    bool drawn = true;  // false: a deleted figure a row still names, shown as its name only
};
struct GridSection {
    std::string title;
    std::vector<GridCell> cells;
};
// The cells at 96 dpi: how many to a row, how big, and the room for a
// section's title beside its first row.
struct GridShape {
    int columns = 12;
    int cellWidth = 34;
    int cellHeight = 26;
    int titleWidth = 76;
};
inline constexpr GridShape kFigureGridShape{};

struct FigureGridContent {
    std::vector<GridSection> sections;
    std::int32_t current = -1;  // the kind the figure box shows
    // False when the library file cannot be written: own figures can still
    // be chosen, but not renamed or deleted.
    bool ownEditable = true;
    // Not empty: a rename the dialog refused; the chooser opens renaming the
    // focused figure with this text, so that the user corrects it.
    std::string renameText;
    GridShape shape = kFigureGridShape;
    // The status line gives an own figure's number (a symbol has none).
    bool numbersOwn = true;

    std::vector<const GridCell*> Cells() const;  // in section order
};

// A figure box's items, sorted into sections (empty ones left out): the
// built-in kinds by family, then the own figures and deleted ones.
FigureGridContent GroupFigures(std::span<const GridCell> items, std::int32_t current);

// The cell to focus on opening: focusKind's, else the current kind's, else the first.
int OpenedCell(const FigureGridContent& content, std::int32_t focusKind);

inline constexpr int kGridColumns = kFigureGridShape.columns;

struct FigureGridLayout {
    std::vector<PixelRect> cells;   // in Cells() order, in content coordinates
    std::vector<PixelRect> titles;  // one per section, beside its first row
    std::vector<int> rules;         // the height of the rule above each section but the first
    int width = 0;                  // of the content, and of the window
    int contentHeight = 0;
    int viewHeight = 0;  // the part shown; the rest scrolls
    PixelRect status;    // below the view: the whole name and the keys
};
// maxHeight: the most the window may take, status included (pixels at dpi).
FigureGridLayout LayOutFigureGrid(const FigureGridContent& content, unsigned dpi, int maxHeight);

// Keys as in a list: arrows move by one cell or one row, Home and End go to
// the first and last figure, Page Up and Page Down to the first figure of the
// previous or next family.
enum class GridKey { Left, Right, Up, Down, Home, End, PageUp, PageDown };
int MoveInGrid(const FigureGridContent& content, const FigureGridLayout& layout, int from,
               GridKey key);

// Where a cell's picture goes, inside its highlight.
PreviewBox GridPictureBox(PixelRect cell, unsigned dpi);

// The cell under a point of the content, or -1.
int CellAt(const FigureGridLayout& layout, int x, int y);

// The scroll offset that shows cell whole, changing scrollTop as little as it can.
int ScrollToShow(const FigureGridLayout& layout, int cell, int scrollTop);
int ClampScroll(const FigureGridLayout& layout, int scrollTop);

// The status line for a cell: its whole name, and what the keys do with it.
std::string GridStatusName(const GridCell& cell, bool numbersOwn = true);
std::string GridStatusKeys(const GridCell& cell, bool ownEditable);
inline constexpr std::string_view kRenameKeys = "Enter: この名前にする　Esc: やめる";

// What the user did in the grid.
struct FigureGridAnswer {
    enum class Action { Cancel, Choose, Rename, Delete };
    Action action = Action::Cancel;
    std::int32_t kind = -1;
    std::string name;  // Rename: the new name, UTF-8
};

}  // namespace tesra
