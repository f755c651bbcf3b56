// The figure chooser's popup window and its own message loop.
#include "settings/win32/figure_grid_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "settings/dialog/preview.h"
#include "settings/win32/dpi.h"
#include "settings/win32/object_window.h"
#include "settings/win32/painting.h"
#include "settings/win32/wide_text.h"

namespace tesra::win32 {
namespace {

constexpr UINT_PTR kFigureBoxId = 3;
constexpr UINT kRenameCommand = 1;
constexpr UINT kDeleteCommand = 2;
constexpr int kWheelRows = 2;
constexpr int kRenameBoxHeight = 21;  // at 96 dpi: a line of the form's font in a sunken edit box

LRESULT CALLBACK FigureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR openMessage) {
    const bool opens = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
                       (message == WM_KEYDOWN && wParam == VK_F4) ||
                       (message == WM_SYSKEYDOWN && (wParam == VK_DOWN || wParam == VK_UP)) ||
                       (message == CB_SHOWDROPDOWN && wParam);
    if (!opens) return DefSubclassProc(box, message, wParam, lParam);
    SetFocus(box);
    PostMessageW(GetParent(box), static_cast<UINT>(openMessage), 0, reinterpret_cast<LPARAM>(box));
    return 0;
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Frame(HDC dc, const RECT& r, COLORREF color, int width) {
    for (int i = 0; i < width; ++i) {
        const RECT inner{r.left + i, r.top + i, r.right - i, r.bottom - i};
        const HBRUSH brush = CreateSolidBrush(color);
        FrameRect(dc, &inner, brush);
        DeleteObject(brush);
    }
}

void Text(HDC dc, const std::string& utf8, RECT r, UINT format) {
    const std::wstring text = Widen(utf8);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              format | DT_NOPREFIX | DT_SINGLELINE | DT_END_ELLIPSIS);
}

class GridWindow {
public:
    GridWindow(const FigureGridContent& content, int focusCell, UINT dpi, HFONT font,
               GridCellPainter& painter)
        : content_(content), cells_(content.Cells()), dpi_(dpi), font_(font), painter_(painter) {
        focus_ =
            cells_.empty() ? -1 : std::clamp(focusCell, 0, static_cast<int>(cells_.size()) - 1);
    }

    FigureGridAnswer Run(HWND owner, const RECT& anchor);

private:
    friend LRESULT CALLBACK ObjectProcedure<GridWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create(HWND owner, const RECT& anchor);
    void Loop();
    bool Ours(HWND w) const { return w == hwnd_ || IsChild(hwnd_, w); }
    void Finish(FigureGridAnswer::Action action, std::int32_t kind = -1, std::string name = {});
    void Paint(HDC dc, const RECT& client, const RECT& dirty);
    void PaintCell(HDC dc, int i, const RECT& dirty);
    // A cell's picture may be an own figure of thousands of elements: moving
    // the focus or the pointer repaints the two cells concerned and the
    // status line, not the grid.
    void Repaint(int cell);
    void SetHover(int cell);
    void PaintStatus(HDC dc);
    void OnKey(WPARAM key);
    void MoveFocus(int cell);
    void ScrollTo(int top);
    void UpdateScrollBar();
    int HitCell(LPARAM lParam) const;
    void ShowMenu(int cell, POINT screen);
    bool Editable(int cell) const;
    // text: what the box starts with; the focused figure's name when empty.
    void StartRename(const std::string& text = {});
    void EndRename(bool commit);
    RECT OnScreen(const PixelRect& r) const {
        return {r.left, r.top - scroll_, r.right, r.bottom - scroll_};
    }

    const FigureGridContent& content_;
    std::vector<const GridCell*> cells_;
    FigureGridLayout layout_;
    UINT dpi_;
    HFONT font_;
    GridCellPainter& painter_;
    HWND hwnd_ = nullptr;
    HWND edit_ = nullptr;
    int focus_ = -1;
    int hover_ = -1;
    int scroll_ = 0;
    bool done_ = false;
    bool inMenu_ = false;
    FigureGridAnswer answer_;
};

bool GridWindow::Create(HWND owner, const RECT& anchor) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DROPSHADOW;
    wc.lpfnWndProc = ObjectProcedure<GridWindow>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"TesraGridChooser";
    RegisterClassExW(&wc);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&anchor, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
    const RECT frame = WindowRectForClient({0, 0, 100, 100}, kStyle, 0, dpi_);
    const int frameW = frame.right - frame.left - 100, frameH = frame.bottom - frame.top - 100;
    const int room = std::max(anchor.top - work.top, work.bottom - anchor.bottom) - frameH;
    layout_ = LayOutFigureGrid(content_, dpi_, room);
    const bool scrolls = layout_.contentHeight > layout_.viewHeight;
    const DWORD style = kStyle | (scrolls ? WS_VSCROLL : 0);
    const int width = layout_.width + frameW + (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const int height = layout_.status.bottom + frameH;
    int top = anchor.bottom;
    if (top + height > work.bottom) top = std::max(anchor.top - height, work.top);
    // From the button's left edge, or further left where it would run past
    // the form's right edge: it stays over the form that asked for it.
    RECT form{};
    GetWindowRect(GetAncestor(owner, GA_ROOT), &form);
    const int overForm =
        std::min(static_cast<int>(anchor.left),
                 std::max(static_cast<int>(form.right) - width, static_cast<int>(form.left)));
    const int left =
        std::clamp(overForm, static_cast<int>(work.left),
                   std::max(static_cast<int>(work.right) - width, static_cast<int>(work.left)));
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", style, left, top, width,
                            height, owner, nullptr, instance, this);
    return hwnd_ != nullptr;
}

FigureGridAnswer GridWindow::Run(HWND owner, const RECT& anchor) {
    if (cells_.empty() || !Create(owner, anchor)) return {};
    UpdateScrollBar();
    ScrollTo(ScrollToShow(layout_, focus_, 0));
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(hwnd_);
    if (!content_.renameText.empty()) StartRename(content_.renameText);
    Loop();
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    return answer_;
}

// Like a menu's: a button pressed outside closes the chooser and goes no
// further, so it cannot press a button of the form behind.
void GridWindow::Loop() {
    MSG msg{};
    while (!done_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        const bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
                           msg.message == WM_MBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN ||
                           msg.message == WM_NCRBUTTONDOWN;
        if (press && !Ours(msg.hwnd)) {
            Finish(FigureGridAnswer::Action::Cancel);
            break;
        }
        if (edit_ && msg.hwnd == edit_ && msg.message == WM_KEYDOWN &&
            (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
            EndRename(msg.wParam == VK_RETURN);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void GridWindow::Finish(FigureGridAnswer::Action action, std::int32_t kind, std::string name) {
    if (done_) return;
    done_ = true;
    answer_ = {action, kind, std::move(name)};
}

LRESULT GridWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            RECT client;
            GetClientRect(hwnd_, &client);
            Paint(dc, client, ps.rcPaint);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
        case WM_KEYDOWN: OnKey(wParam); return 0;
        case WM_SYSKEYDOWN:  // Alt+Up or Alt+Down closes it, as it closes a list
            if (wParam != VK_UP && wParam != VK_DOWN) break;
            Finish(FigureGridAnswer::Action::Cancel);
            return 0;
        case WM_MOUSEMOVE: {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
            SetHover(HitCell(lParam));
            return 0;
        }
        case WM_MOUSELEAVE: SetHover(-1); return 0;
        case WM_LBUTTONUP:
            if (const int cell = HitCell(lParam); cell >= 0)
                Finish(FigureGridAnswer::Action::Choose,
                       cells_[static_cast<std::size_t>(cell)]->kind);
            return 0;
        case WM_RBUTTONUP:
            if (const int cell = HitCell(lParam); cell >= 0) {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ClientToScreen(hwnd_, &at);
                ShowMenu(cell, at);
            }
            return 0;
        case WM_MOUSEWHEEL: {
            const int rows = -GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelRows;
            const int rowHeight = layout_.cells.front().bottom - layout_.cells.front().top;
            ScrollTo(scroll_ + rows * rowHeight);
            return 0;
        }
        case WM_VSCROLL: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            GetScrollInfo(hwnd_, SB_VERT, &info);
            const int row = layout_.cells.front().bottom - layout_.cells.front().top;
            switch (LOWORD(wParam)) {
                case SB_LINEUP: ScrollTo(scroll_ - row); break;
                case SB_LINEDOWN: ScrollTo(scroll_ + row); break;
                case SB_PAGEUP: ScrollTo(scroll_ - layout_.viewHeight); break;
                case SB_PAGEDOWN: ScrollTo(scroll_ + layout_.viewHeight); break;
                case SB_THUMBTRACK: ScrollTo(info.nTrackPos); break;
                default: break;
            }
            return 0;
        }
        case WM_ACTIVATE:
            // Another program or window came to the front: leave, as a list does.
            if (LOWORD(wParam) == WA_INACTIVE && !inMenu_ && !edit_)
                Finish(FigureGridAnswer::Action::Cancel);
            return 0;
        case WM_CLOSE: Finish(FigureGridAnswer::Action::Cancel); return 0;
        case WM_DESTROY: Finish(FigureGridAnswer::Action::Cancel); return 0;
        default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

int GridWindow::HitCell(LPARAM lParam) const {
    const int y = GET_Y_LPARAM(lParam);
    if (y >= layout_.viewHeight) return -1;
    return CellAt(layout_, GET_X_LPARAM(lParam), y + scroll_);
}

void GridWindow::OnKey(WPARAM key) {
    if (edit_) return;
    auto move = [this](GridKey k) { MoveFocus(MoveInGrid(content_, layout_, focus_, k)); };
    const GridCell& cell = *cells_[static_cast<std::size_t>(focus_)];
    switch (key) {
        case VK_LEFT: return move(GridKey::Left);
        case VK_RIGHT: return move(GridKey::Right);
        case VK_UP: return move(GridKey::Up);
        case VK_DOWN: return move(GridKey::Down);
        case VK_HOME: return move(GridKey::Home);
        case VK_END: return move(GridKey::End);
        case VK_PRIOR: return move(GridKey::PageUp);
        case VK_NEXT: return move(GridKey::PageDown);
        case VK_RETURN:
        case VK_SPACE: return Finish(FigureGridAnswer::Action::Choose, cell.kind);
        case VK_ESCAPE:
        case VK_F4:
        case VK_TAB: return Finish(FigureGridAnswer::Action::Cancel);
        case VK_F2: return StartRename();
        case VK_DELETE:
            if (Editable(focus_)) Finish(FigureGridAnswer::Action::Delete, cell.kind);
            return;
        case VK_APPS: {
            const RECT r = OnScreen(layout_.cells[static_cast<std::size_t>(focus_)]);
            POINT at{r.left, r.bottom};
            ClientToScreen(hwnd_, &at);
            return ShowMenu(focus_, at);
        }
        default: return;
    }
}

bool GridWindow::Editable(int cell) const {
    const GridCell& c = *cells_[static_cast<std::size_t>(cell)];
    return c.own && c.drawn && content_.ownEditable;
}

void GridWindow::MoveFocus(int cell) {
    if (cell < 0) return;
    Repaint(focus_);
    focus_ = cell;
    Repaint(focus_);
    ScrollTo(ScrollToShow(layout_, focus_, scroll_));
}

void GridWindow::SetHover(int cell) {
    if (cell == hover_) return;
    Repaint(hover_);
    hover_ = cell;
    Repaint(hover_);
}

void GridWindow::Repaint(int cell) {
    const PixelRect& s = layout_.status;
    const RECT status{0, s.top, layout_.width, s.bottom};
    InvalidateRect(hwnd_, &status, FALSE);
    if (cell < 0 || cell >= static_cast<int>(layout_.cells.size())) return;
    const RECT r = OnScreen(layout_.cells[static_cast<std::size_t>(cell)]);
    InvalidateRect(hwnd_, &r, FALSE);
}

void GridWindow::ScrollTo(int top) {
    const int clamped = ClampScroll(layout_, top);
    if (clamped == scroll_) return;
    scroll_ = clamped;
    UpdateScrollBar();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void GridWindow::UpdateScrollBar() {
    if (layout_.contentHeight <= layout_.viewHeight) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = layout_.contentHeight - 1;
    info.nPage = static_cast<UINT>(layout_.viewHeight);
    info.nPos = scroll_;
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
}

void GridWindow::ShowMenu(int cell, POINT screen) {
    MoveFocus(cell);
    if (!cells_[static_cast<std::size_t>(cell)]->own) return;
    const HMENU menu = CreatePopupMenu();
    const UINT enabled = Editable(cell) ? MF_ENABLED : MF_GRAYED;
    AppendMenuW(menu, MF_STRING | enabled, kRenameCommand, Widen("名前の変更(&R)\tF2").c_str());
    AppendMenuW(menu, MF_STRING | enabled, kDeleteCommand, Widen("削除(&D)\tDelete").c_str());
    inMenu_ = true;
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                         screen.x, screen.y, 0, hwnd_, nullptr));
    inMenu_ = false;
    DestroyMenu(menu);
    if (chosen == kRenameCommand) StartRename();
    if (chosen == kDeleteCommand)
        Finish(FigureGridAnswer::Action::Delete, cells_[static_cast<std::size_t>(cell)]->kind);
}

// The new name is typed where the status line shows the name.
void GridWindow::StartRename(const std::string& text) {
    if (edit_ || !Editable(focus_)) return;
    const std::string& shown = text.empty() ? cells_[static_cast<std::size_t>(focus_)]->name : text;
    const PixelRect& s = layout_.status;
    const int lineHeight = std::min(Scale(kRenameBoxHeight, dpi_), (s.bottom - s.top) * 2 / 3);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Widen(shown).c_str(),
                            WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, s.left, s.top + 1,
                            s.right - s.left, lineHeight, hwnd_, nullptr, instance, nullptr);
    if (!edit_) return;
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    SetFocus(edit_);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void GridWindow::EndRename(bool commit) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
    DestroyWindow(edit_);
    edit_ = nullptr;
    SetFocus(hwnd_);
    if (commit)
        Finish(FigureGridAnswer::Action::Rename, cells_[static_cast<std::size_t>(focus_)]->kind,
               Narrow(text));
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// Drawn off screen, so that moving the focus does not flicker.
void GridWindow::Paint(HDC screen, const RECT& client, const RECT& dirty) {
    const int width = client.right;
    const Offscreen offscreen(screen, client);
    HDC dc = offscreen.Dc();
    const HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);

    Fill(dc, client, GetSysColor(COLOR_WINDOW));
    const HRGN view = CreateRectRgn(0, 0, width, layout_.viewHeight);
    SelectClipRgn(dc, view);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF rule = Blend(text, GetSysColor(COLOR_WINDOW), 20);
    const int line = std::max(1, Scale(1, dpi_));
    for (const int y : layout_.rules)
        Fill(dc, {layout_.titles.front().left, y - scroll_, layout_.width, y - scroll_ + line},
             rule);
    for (std::size_t s = 0; s < layout_.titles.size(); ++s) {
        const RECT title = OnScreen(layout_.titles[s]);
        SetTextColor(dc, Blend(text, GetSysColor(COLOR_WINDOW), 70));
        Text(dc, content_.sections[s].title, title, DT_LEFT | DT_VCENTER);
    }
    for (int i = 0; i < static_cast<int>(cells_.size()); ++i) PaintCell(dc, i, dirty);
    SelectClipRgn(dc, nullptr);
    DeleteObject(view);
    PaintStatus(dc);
    SelectObject(dc, oldFont);
}

void GridWindow::PaintCell(HDC dc, int i, const RECT& dirty) {
    const PixelRect& cell = layout_.cells[static_cast<std::size_t>(i)];
    if (cell.bottom <= scroll_ || cell.top >= scroll_ + layout_.viewHeight) return;
    RECT visible{};
    const RECT onScreen = OnScreen(cell);
    if (!IntersectRect(&visible, &onScreen, &dirty)) return;
    const GridCell& c = *cells_[static_cast<std::size_t>(i)];
    const bool focused = i == focus_;
    const COLORREF back = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF fore = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    const RECT& r = onScreen;
    const int line = std::max(1, Scale(1, dpi_));
    Fill(dc, r, i == hover_ && !focused ? Blend(back, GetSysColor(COLOR_HIGHLIGHT), 80) : back);
    // The figure the box shows now keeps a frame wherever the focus goes.
    if (c.kind == content_.current) Frame(dc, r, GetSysColor(COLOR_HIGHLIGHT), 2 * line);
    const PixelRect shifted{cell.left, cell.top - scroll_, cell.right, cell.bottom - scroll_};
    painter_.Paint(dc, c, i, shifted, fore, back);
}

class FigureCellPainter final : public GridCellPainter {
public:
    FigureCellPainter(UINT dpi, FigurePictures& pictures) : dpi_(dpi), pictures_(pictures) {}
    void Paint(HDC dc, const GridCell& cell, int, const PixelRect& r, COLORREF fore,
               COLORREF back) override {
        if (!cell.drawn) {
            SetTextColor(dc, fore);
            return Text(dc, "?", {r.left, r.top, r.right, r.bottom}, DT_CENTER | DT_VCENTER);
        }
        const PreviewBox box = GridPictureBox(r, dpi_);
        PaintDrawing(dc, pictures_.AtOrigin(cell.kind, box.width, box.height),
                     {fore, Blend(fore, back, 15)}, PenWidth(dpi_), {box.left, box.top});
    }

private:
    UINT dpi_;
    FigurePictures& pictures_;
};

void GridWindow::PaintStatus(HDC dc) {
    const PixelRect& s = layout_.status;
    Fill(dc, {0, s.top, layout_.width, s.bottom}, GetSysColor(COLOR_BTNFACE));
    const int shown = hover_ >= 0 ? hover_ : focus_;
    const GridCell& cell = *cells_[static_cast<std::size_t>(shown)];
    const int keysTop = s.bottom - (s.bottom - s.top) / 3;
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    if (!edit_)
        DrawUnbrokenLines(dc, GridStatusName(cell, content_.numbersOwn),
                          {s.left, s.top + Scale(2, dpi_), s.right, keysTop});
    const std::string keys =
        edit_ ? std::string(kRenameKeys)
              : GridStatusKeys(*cells_[static_cast<std::size_t>(focus_)], content_.ownEditable);
    Text(dc, keys, {s.left, keysTop, s.right, s.bottom}, DT_LEFT | DT_VCENTER);
}

}  // namespace

void OpenChooserInsteadOfList(HWND figureBox, UINT openMessage) {
    SetWindowSubclass(figureBox, FigureBoxProc, kFigureBoxId, openMessage);
}

FigureGridAnswer RunGridWindow(HWND owner, const RECT& anchor, const FigureGridContent& content,
                               int focusCell, UINT dpi, HFONT font, GridCellPainter& painter) {
    GridWindow window(content, focusCell, dpi, font, painter);
    return window.Run(owner, anchor);
}

FigureGridAnswer RunFigureGridWindow(HWND owner, const RECT& anchor,
                                     const FigureGridContent& content, int focusCell, UINT dpi,
                                     HFONT font, FigurePictures& pictures) {
    FigureCellPainter painter(dpi, pictures);
    return RunGridWindow(owner, anchor, content, focusCell, dpi, font, painter);
}

}  // namespace tesra::win32
