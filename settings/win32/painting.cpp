// Painting of primitives: polylines for lines and arcs, polygons filled by
// the even-odd rule for solids (a ring is two loops). GDI+ smooths the edges.
#include "settings/win32/painting.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out, first.
#include <objidl.h>
// (a block of its own, so that sorting the includes keeps this order)
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "settings/dialog/owner_draw.h"
#include "settings/dialog/pen_look.h"
#include "settings/win32/wide_text.h"

namespace tesra::win32 {
namespace {

// A part's own pen: its colour, and its dash pattern in pixels (empty: solid).
struct PaintPen {
    COLORREF color;
    std::vector<double> dashes;
};

PaintPen PenOfPrimitive(const PreviewPrimitive& p, const Inks& inks) {
    if (p.ink == PreviewInk::Guide) return {inks.guide, {}};
    if (p.ink == PreviewInk::Solid) return {static_cast<COLORREF>(p.bgr) & 0xFFFFFFu, {}};
    if (inks.penScale <= 0.0) return {inks.pen, {}};
    const PenLook look = LookOfPen(p.pen);
    PaintPen pen{look.bgr ? static_cast<COLORREF>(*look.bgr) : inks.pen, {}};
    for (const int d : look.dashes) pen.dashes.push_back(d * inks.penScale);
    return pen;
}

std::vector<POINT> Pixels(const std::vector<Point>& loop) {
    std::vector<POINT> out;
    out.reserve(loop.size());
    for (Point p : loop)
        out.push_back({static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))});
    return out;
}

void PaintShapeLoops(HDC dc, const PaintShape& shape) {
    if (shape.filled) {
        std::vector<POINT> points;
        std::vector<INT> counts;
        for (const auto& loop : shape.loops) {
            const auto pixels = Pixels(loop);
            points.insert(points.end(), pixels.begin(), pixels.end());
            counts.push_back(static_cast<INT>(pixels.size()));
        }
        PolyPolygon(dc, points.data(), counts.data(), static_cast<int>(counts.size()));
        return;
    }
    for (const auto& loop : shape.loops) {
        auto pixels = Pixels(loop);
        if (shape.closed && !pixels.empty()) pixels.push_back(pixels.front());
        Polyline(dc, pixels.data(), static_cast<int>(pixels.size()));
    }
}

// A GDI object selected for the lifetime of this value; one it made itself
// (not a stock object) is deleted afterwards.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object, bool owned = true)
        : dc_(dc), object_(object), old_(SelectObject(dc, object)), owned_(owned) {}
    ~Selected() {
        SelectObject(dc_, old_);
        if (owned_) DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_, old_;
    bool owned_;
};

std::wstring ItemText(HWND list, UINT index) {
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// A name in the current font made narrower by share: the closed figure box's
// names that do not fit beside the picture otherwise.
void DrawNarrowedName(HDC dc, RECT r, const std::wstring& name, double share) {
    LOGFONTW shape{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof shape, &shape);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (share < 1.0) shape.lfWidth = std::max(1L, std::lround(metrics.tmAveCharWidth * share));
    Selected narrowed(dc, CreateFontIndirectW(&shape));
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace

void DrawUnbrokenLines(HDC dc, const std::string& utf8, const RECT& r) {
    auto widthOf = [dc](std::string_view t) {
        const std::wstring w = Widen(t);
        SIZE size{};
        GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
        return static_cast<int>(size.cx);
    };
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT line = r;
    for (const std::string& text : UnbrokenLines(utf8, r.right - r.left, widthOf)) {
        line.bottom = line.top + metrics.tmHeight;
        if (line.bottom > r.bottom) break;
        const std::wstring wide = Widen(text);
        DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &line,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        line.top = line.bottom;
    }
}

COLORREF Blend(COLORREF a, COLORREF b, int shareOfA) {
    auto mix = [shareOfA](int x, int y) { return (x * shareOfA + y * (100 - shareOfA)) / 100; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

Offscreen::Offscreen(HDC screen, const RECT& target)
    : screen_(screen),
      dc_(CreateCompatibleDC(screen)),
      target_(target),
      bitmap_(
          CreateCompatibleBitmap(screen, target.right - target.left, target.bottom - target.top)),
      oldBitmap_(SelectObject(dc_, bitmap_)) {}

Offscreen::~Offscreen() {
    BitBlt(screen_, target_.left, target_.top, target_.right - target_.left,
           target_.bottom - target_.top, dc_, 0, 0, SRCCOPY);
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

PaintingSession::PaintingSession() {
    const Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

PaintingSession::~PaintingSession() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
}

namespace {

PaintShape FlattenedAt(const PreviewPrimitive& p, Point offset) {
    PaintShape shape = Flatten(p, kCurveTolerance);
    for (auto& loop : shape.loops)
        for (Point& q : loop) q = {q.x + offset.x, q.y + offset.y};
    return shape;
}

HPEN DashedGdiPen(const PaintPen& look, int penWidth) {
    std::vector<DWORD> style;
    for (const double d : look.dashes)
        style.push_back(static_cast<DWORD>(std::max(1L, std::lround(d))));
    const LOGBRUSH brush{BS_SOLID, look.color, 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, static_cast<DWORD>(penWidth),
                        &brush, static_cast<DWORD>(style.size()), style.data());
}

void PaintWithGdi(HDC dc, const PreviewDrawing& drawing, const Inks& inks, int penWidth,
                  Point offset) {
    const int oldFill = SetPolyFillMode(dc, ALTERNATE);
    for (const PreviewPrimitive& p : drawing) {
        const PaintPen look = PenOfPrimitive(p, inks);
        const COLORREF color = look.color;
        const PaintShape shape = FlattenedAt(p, offset);
        Selected pen(dc, shape.filled || look.dashes.empty()
                             ? CreatePen(PS_SOLID, shape.filled ? 1 : penWidth, color)
                             : DashedGdiPen(look, penWidth));
        Selected brush(dc, shape.filled ? CreateSolidBrush(color) : GetStockObject(NULL_BRUSH),
                       shape.filled);
        PaintShapeLoops(dc, shape);
    }
    SetPolyFillMode(dc, oldFill);
}

Gdiplus::Color Argb(COLORREF c) { return {255, GetRValue(c), GetGValue(c), GetBValue(c)}; }

// A line along a pixel row or column stays one pixel wide instead of being
// smoothed over two: it is moved to the pixels' centres.
std::vector<Gdiplus::PointF> SmoothPoints(const std::vector<Point>& loop, int penWidth) {
    std::vector<Gdiplus::PointF> out;
    out.reserve(loop.size());
    for (Point p : loop) out.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
    if (out.size() == 2 && penWidth % 2 == 1) {
        auto centre = [](float v) { return std::floor(v) + 0.5f; };
        if (out[0].Y == out[1].Y) out[0].Y = out[1].Y = centre(out[0].Y);
        if (out[0].X == out[1].X) out[0].X = out[1].X = centre(out[0].X);
    }
    return out;
}

void PaintSmooth(Gdiplus::Graphics& g, const PaintShape& shape, const PaintPen& look,
                 int penWidth) {
    const COLORREF color = look.color;
    // Fills get a hairline of their own color: neighbouring pieces of one
    // figure then meet without a seam.
    Gdiplus::Pen pen(Argb(color), shape.filled ? 1.0f : static_cast<float>(penWidth));
    pen.SetLineJoin(Gdiplus::LineJoinRound);
    if (!shape.filled && !look.dashes.empty()) {
        // GDI+ measures a dash pattern in pen widths.
        std::vector<Gdiplus::REAL> dashes;
        for (const double d : look.dashes)
            dashes.push_back(static_cast<Gdiplus::REAL>(d / penWidth));
        pen.SetDashPattern(dashes.data(), static_cast<INT>(dashes.size()));
    }
    if (shape.filled) {
        Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
        for (const auto& loop : shape.loops) {
            const auto points = SmoothPoints(loop, 0);
            path.AddPolygon(points.data(), static_cast<INT>(points.size()));
        }
        Gdiplus::SolidBrush brush(Argb(color));
        g.FillPath(&brush, &path);
        g.DrawPath(&pen, &path);
        return;
    }
    for (const auto& loop : shape.loops) {
        const auto points = SmoothPoints(loop, penWidth);
        if (shape.closed)
            g.DrawPolygon(&pen, points.data(), static_cast<INT>(points.size()));
        else
            g.DrawLines(&pen, points.data(), static_cast<INT>(points.size()));
    }
}

}  // namespace

void PaintDrawing(HDC dc, const PreviewDrawing& drawing, const Inks& inks, int penWidth,
                  Point offset) {
    Gdiplus::Graphics g(dc);
    if (g.GetLastStatus() != Gdiplus::Ok) return PaintWithGdi(dc, drawing, inks, penWidth, offset);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    for (const PreviewPrimitive& p : drawing)
        PaintSmooth(g, FlattenedAt(p, offset), PenOfPrimitive(p, inks), penWidth);
}

void DrawFigureItem(const DRAWITEMSTRUCT& item, UINT dpi, FigurePictures& pictures) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF fore = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    HDC dc = item.hDC;
    Selected fill(dc, CreateSolidBrush(back));
    FillRect(dc, &item.rcItem, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    if (item.itemID == static_cast<UINT>(-1)) return;  // no selection: an empty box

    const PixelRect rect{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
    const auto kind = static_cast<std::int32_t>(item.itemData);
    const std::wstring name = ItemText(item.hwndItem, item.itemID);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fore);
    PaintDrawing(dc, FigureItemPicture(kind, rect, dpi, pictures), {fore, Blend(fore, back, 15)},
                 PenWidth(dpi));
    const FigureItemLayout layout = LayoutFigureItem(rect, dpi);
    RECT text{layout.text.left, layout.text.top, layout.text.right, layout.text.bottom};
    if ((item.itemState & ODS_COMBOBOXEDIT) != 0) {
        const ClosedBoxItem closed =
            LayoutClosedBoxItem(rect, dpi, Narrow(name), [dc](std::string_view t) {
                const std::wstring w = Widen(t);
                SIZE size{};
                GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
                return static_cast<int>(size.cx);
            });
        return DrawNarrowedName(dc, text, Widen(closed.name), closed.widthShare);
    }
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void DrawPreviewBand(const DRAWITEMSTRUCT& item, UINT dpi, const PatternRow& row,
                     const SolidStyle& solid, const std::string& caption, HFONT font,
                     const OwnFigureSet* own) {
    const RECT& r = item.rcItem;
    const int width = r.right - r.left, height = r.bottom - r.top;
    const Offscreen offscreen(item.hDC, r);
    HDC dc = offscreen.Dc();

    const RECT local{0, 0, width, height};
    FillRect(dc, &local, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const COLORREF frame = GetSysColor(COLOR_BTNSHADOW);
    {
        Selected pen(dc, CreatePen(PS_SOLID, 1, frame));
        Selected brush(dc, GetStockObject(NULL_BRUSH), false);
        Rectangle(dc, 0, 0, width, height);
    }
    const PixelRect band{0, 0, width, height};
    {
        const PixelRect c = PreviewCaptionArea(band, dpi);
        RECT text{c.left, c.top, c.right, c.bottom};
        Selected captionFont(dc, font, false);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawUnbrokenLines(dc, caption, text);
    }
    const PreviewBox area = PreviewArea(band, dpi);
    IntersectClipRect(dc, static_cast<int>(area.left), static_cast<int>(area.top),
                      static_cast<int>(area.left + area.width),
                      static_cast<int>(area.top + area.height));
    PaintDrawing(dc, PreviewBandDrawing(row, solid, band, dpi, own),
                 {RGB(0, 0, 0), RGB(0xC8, 0xC8, 0xC8), dpi / 96.0}, PenWidth(dpi));
    SelectClipRgn(dc, nullptr);
}

}  // namespace tesra::win32
