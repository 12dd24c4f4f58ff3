#include "ViewOverlay.h"

#include "Bitmap.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace plat {

// A raster context over the mask that reports what each call may touch.
class ViewOverlay::MarkingDC : public RasterDC {
public:
    MarkingDC(ViewOverlay& owner, HBITMAP surface) : RasterDC(std::move(surface), 0, false), owner_(owner) {}

    bool LineTo(int x, int y) override {
        const POINT pts[2] = {GetCurrentPositionEx(), POINT{x, y}};
        markLines(pts, 2, false);
        return RasterDC::LineTo(x, y);
    }
    bool Polyline(const POINT* pts, int n) override {
        if (pts && n >= 2) markLines(pts, n, false);
        return RasterDC::Polyline(pts, n);
    }
    bool Polygon(const POINT* pts, int n) override {
        if (pts && n >= 2) markBox(pts, n);
        return RasterDC::Polygon(pts, n);
    }
    bool PolyPolygon(const POINT* pts, const int* counts, int polys) override {
        if (pts && counts && polys > 0) {
            int total = 0;
            for (int i = 0; i < polys; ++i) total += std::max(0, counts[i]);
            markBox(pts, total);
        }
        return RasterDC::PolyPolygon(pts, counts, polys);
    }
    bool Rectangle(int l, int t, int r, int b) override {
        markRect(l, t, r, b);
        return RasterDC::Rectangle(l, t, r, b);
    }
    bool Ellipse(int l, int t, int r, int b) override {
        markRect(l, t, r, b);
        return RasterDC::Ellipse(l, t, r, b);
    }
    COLORREF SetPixel(int x, int y, COLORREF c) override {
        markRect(x, y, x + 1, y + 1);
        return RasterDC::SetPixel(x, y, c);
    }
    bool SetPixelV(int x, int y, COLORREF c) override {
        markRect(x, y, x + 1, y + 1);
        return RasterDC::SetPixelV(x, y, c);
    }
    bool PatternLine(int x1, int y1, int x2, int y2, const uint8_t* on, int n, int64_t& phase, COLORREF fore,
                     COLORREF back) override {
        const POINT pts[2] = {{x1, y1}, {x2, y2}};
        markLines(pts, 2, false);
        return RasterDC::PatternLine(x1, y1, x2, y2, on, n, phase, fore, back);
    }
    bool FillRect(const RECT& r, const Brush& brush) override {
        markRect(r.left, r.top, r.right, r.bottom);
        return RasterDC::FillRect(r, brush);
    }
    bool PatBlt(int x, int y, int w, int h, uint32_t rop) override {
        markRect(x, y, x + w, y + h);
        return RasterDC::PatBlt(x, y, w, h, rop);
    }
    // Text and transfers are rare here: they mark the whole view.
    bool ExtTextOut(int x, int y, unsigned options, const RECT* rect, const QString& text) override {
        markAll();
        return RasterDC::ExtTextOut(x, y, options, rect, text);
    }
    bool TextOut(int x, int y, const QString& text) override {
        markAll();
        return RasterDC::TextOut(x, y, text);
    }
    bool TextOutHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                     const POINT* offsets, int n) override {
        markAll();
        return RasterDC::TextOutHalo(x, y, text, halo, fore, offsets, n);
    }
    bool BitBlt(int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, uint32_t rop) override {
        markAll();
        return RasterDC::BitBlt(x, y, w, h, src, sx, sy, rop);
    }
    bool StretchBlt(int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, int sw, int sh,
                    uint32_t rop) override {
        markAll();
        return RasterDC::StretchBlt(x, y, w, h, src, sx, sy, sw, sh, rop);
    }
    int StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const DIB& dib,
                      uint32_t rop) override {
        markAll();
        return RasterDC::StretchDIBits(x, y, w, h, sx, sy, sw, sh, dib, rop);
    }

private:
    // Half the pen's width in device pixels plus room for rounding and caps.
    int pad() const {
        const Pen& pen = CurrentPen();
        const double w = pen.width <= 1 ? 1.0 : pen.width * std::max(std::abs(scaleX()), std::abs(scaleY()));
        return static_cast<int>(std::ceil(w / 2)) + 2;
    }
    void markRect(int l, int t, int r, int b) {
        const POINT a = LPtoDP(POINT{l, t}), c = LPtoDP(POINT{r, b});
        const int p = pad();
        owner_.mark(QRect(QPoint(std::min(a.x, c.x) - p, std::min(a.y, c.y) - p),
                          QPoint(std::max(a.x, c.x) + p, std::max(a.y, c.y) + p)));
    }
    void markBox(const POINT* pts, int n) {
        if (n < 1) return;
        POINT lo = LPtoDP(pts[0]), hi = lo;
        for (int i = 1; i < n; ++i) {
            const POINT d = LPtoDP(pts[i]);
            lo = POINT{std::min(lo.x, d.x), std::min(lo.y, d.y)};
            hi = POINT{std::max(hi.x, d.x), std::max(hi.y, d.y)};
        }
        const int p = pad();
        owner_.mark(QRect(QPoint(lo.x - p, lo.y - p), QPoint(hi.x + p, hi.y + p)));
    }
    // Each segment in chunks of at most kChunk pixels along its longer axis,
    // so a long diagonal marks a staircase of small boxes.
    void markLines(const POINT* pts, int n, bool closed) {
        const int p = pad();
        const QRect surf(0, 0, owner_.width(), owner_.height());
        const int segs = closed ? n : n - 1;
        for (int i = 0; i < segs; ++i) {
            const POINT a = LPtoDP(pts[i]), b = LPtoDP(pts[(i + 1) % n]);
            const int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
            const int64_t len = std::max(std::llabs(dx), std::llabs(dy));
            const QRect whole(QPoint(std::min(a.x, b.x) - p, std::min(a.y, b.y) - p),
                              QPoint(std::max(a.x, b.x) + p, std::max(a.y, b.y) + p));
            if (!whole.intersects(surf)) continue;
            const int64_t pieces = std::max<int64_t>(1, (len + kChunk - 1) / kChunk);
            if (pieces == 1 || pieces > 4096) {
                owner_.mark(whole);
                continue;
            }
            int64_t px = a.x, py = a.y;
            for (int64_t k = 1; k <= pieces; ++k) {
                const int64_t qx = a.x + dx * k / pieces, qy = a.y + dy * k / pieces;
                owner_.mark(QRect(QPoint(int(std::min(px, qx)) - p, int(std::min(py, qy)) - p),
                                  QPoint(int(std::max(px, qx)) + p, int(std::max(py, qy)) + p)));
                px = qx;
                py = qy;
            }
        }
    }
    void markAll() { owner_.mark(QRect(0, 0, owner_.width(), owner_.height())); }

    ViewOverlay& owner_;
};

ViewOverlay::ViewOverlay(int width, int height) {
    mask_ = Bitmap::Create(std::max(1, width), std::max(1, height), 32);
    mask_->image().fill(0u);
    dc_ = std::make_unique<MarkingDC>(*this, mask_);
    resetTiles();
}

ViewOverlay::~ViewOverlay() = default;

void ViewOverlay::Resize(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    if (width == this->width() && height == this->height()) {
        Clear();
        return;
    }
    // The context keeps its state; only its surface is new.
    const Pen pen = dc_->CurrentPen();
    const Brush brush = dc_->CurrentBrush();
    const int rop2 = dc_->GetROP2();
    const int bkMode = dc_->GetBkMode();
    dirty_ += QRect(0, 0, this->width(), this->height());
    mask_ = Bitmap::Create(width, height, 32);
    mask_->image().fill(0u);
    dc_ = std::make_unique<MarkingDC>(*this, mask_);
    dc_->SelectPen(pen);
    dc_->SelectBrush(brush);
    dc_->SetROP2(rop2);
    dc_->SetBkMode(bkMode);
    resetTiles();
    dirty_ += QRect(0, 0, width, height);
}

void ViewOverlay::resetTiles() {
    tileCols_ = (width() + kTile - 1) / kTile;
    tileRows_ = (height() + kTile - 1) / kTile;
    tiles_.assign(size_t(tileCols_) * size_t(tileRows_), 0);
    flagged_ = flaggedAfterPrune_ = 0;
    inked_ = QRegion();
    inkedStale_ = false;
}

QRect ViewOverlay::tileRect(int col, int row) const {
    return QRect(col * kTile, row * kTile, kTile, kTile) & QRect(0, 0, width(), height());
}

DeviceContext* ViewOverlay::dc() { return dc_.get(); }

void ViewOverlay::mark(const QRect& r) {
    const QRect c = r & QRect(0, 0, width(), height());
    if (c.isEmpty()) return;
    dirty_ += c;
    for (int row = c.top() / kTile; row <= c.bottom() / kTile; ++row) {
        uint8_t* t = tiles_.data() + size_t(row) * size_t(tileCols_);
        for (int col = c.left() / kTile; col <= c.right() / kTile; ++col) {
            if (t[col]) continue;
            t[col] = 1;
            ++flagged_;
            inkedStale_ = true;
        }
    }
}

void ViewOverlay::Clear() {
    QImage& img = mask_->image();
    for (const QRect& r : Inked()) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            std::fill(row + r.left(), row + r.right() + 1, 0u);
        }
    }
    dirty_ += Inked();
    std::fill(tiles_.begin(), tiles_.end(), uint8_t{0});
    flagged_ = flaggedAfterPrune_ = 0;
    inked_ = QRegion();
    inkedStale_ = false;
}

void ViewOverlay::prune() {
    const QImage& img = mask_->image();
    for (int row = 0; row < tileRows_; ++row) {
        for (int col = 0; col < tileCols_; ++col) {
            uint8_t& flag = tiles_[size_t(row) * size_t(tileCols_) + size_t(col)];
            if (!flag) continue;
            const QRect r = tileRect(col, row);
            uint32_t ink = 0;
            for (int y = r.top(); y <= r.bottom() && !ink; ++y) {
                const auto* p = reinterpret_cast<const uint32_t*>(img.constScanLine(y)) + r.left();
                for (int x = 0; x < r.width(); ++x) ink |= p[x] & 0xFFFFFFu;
            }
            if (ink) continue;
            flag = 0;
            --flagged_;
            inkedStale_ = true;
        }
    }
    flaggedAfterPrune_ = flagged_;
}

QRegion ViewOverlay::TakeDirty() {
    // Blank tiles are looked for only once the flagged ones have doubled, so
    // that a band that keeps its size costs a scan every few dozen moves.
    if (flagged_ > 2 * flaggedAfterPrune_ + 64) prune();
    return std::exchange(dirty_, QRegion());
}

const QRegion& ViewOverlay::Inked() const {
    if (!inkedStale_) return inked_;
    inkedStale_ = false;
    // Runs of flagged tiles per tile row; a row whose runs repeat the row
    // above lengthens that row's rectangles, so the rectangles are banded as
    // QRegion keeps them.
    std::vector<QRect> rects;
    size_t bandStart = 0;
    for (int row = 0; row < tileRows_; ++row) {
        const uint8_t* t = tiles_.data() + size_t(row) * size_t(tileCols_);
        const size_t start = rects.size();
        for (int col = 0; col < tileCols_;) {
            if (!t[col]) {
                ++col;
                continue;
            }
            const int first = col;
            while (col < tileCols_ && t[col]) ++col;
            rects.push_back(tileRect(first, row).united(tileRect(col - 1, row)));
        }
        const size_t n = rects.size() - start, above = start - bandStart;
        const bool same = n > 0 && n == above && rects[bandStart].bottom() + 1 == rects[start].top() &&
                          std::equal(rects.begin() + start, rects.end(), rects.begin() + bandStart,
                                     [](const QRect& a, const QRect& b) {
                                         return a.left() == b.left() && a.right() == b.right();
                                     });
        if (same) {
            for (size_t k = bandStart; k < start; ++k) rects[k].setBottom(rects[start].bottom());
            rects.resize(start);
        } else {
            bandStart = start;
        }
    }
    inked_ = QRegion();
    if (!rects.empty()) inked_.setRects(rects.data(), int(rects.size()));
    return inked_;
}

uint32_t ViewOverlay::MaskPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return 0;
    return reinterpret_cast<const uint32_t*>(mask_->image().constScanLine(y))[x] & 0xFFFFFFu;
}

void ViewOverlay::composeRect(const QImage& view, const QRect& r, QImage& out, QPoint at) const {
    const QImage& m = mask_->image();
    for (int y = 0; y < r.height(); ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(view.constScanLine(r.top() + y)) + r.left();
        const auto* msk = reinterpret_cast<const uint32_t*>(m.constScanLine(r.top() + y)) + r.left();
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(at.y() + y)) + at.x();
        for (int x = 0; x < r.width(); ++x) dst[x] = (src[x] ^ msk[x]) | 0xFF000000u;
    }
}

void ViewOverlay::Paint(QPainter& painter, const QImage& view, const QRegion& exposed, QPoint origin) const {
    const QRect pic(0, 0, std::min(view.width(), width()), std::min(view.height(), height()));
    const QRegion wanted = exposed.translated(-origin) & QRegion(QRect(0, 0, view.width(), view.height()));
    const QRegion marked = wanted & Inked() & QRegion(pic);
    for (const QRect& r : wanted - marked) painter.drawImage(r.topLeft() + origin, view, r);
    if (marked.isEmpty()) return;
    const QImage v = view.format() == QImage::Format_RGB32 || view.format() == QImage::Format_ARGB32
                         ? view
                         : view.convertToFormat(QImage::Format_RGB32);
    for (const QRect& r : marked) {
        if (scratch_.width() < r.width() || scratch_.height() < r.height())
            scratch_ = QImage(std::max(scratch_.width(), r.width()), std::max(scratch_.height(), r.height()),
                              QImage::Format_RGB32);
        composeRect(v, r, scratch_, QPoint(0, 0));
        painter.drawImage(r.topLeft() + origin, scratch_, QRect(0, 0, r.width(), r.height()));
    }
}

QImage ViewOverlay::Composed(const QImage& view) const {
    QImage out = view.convertToFormat(QImage::Format_RGB32);
    const QRegion marked = Inked() & QRegion(QRect(0, 0, out.width(), out.height()));
    for (const QRect& r : marked) composeRect(out, r, out, r.topLeft());
    return out;
}

} // namespace plat
