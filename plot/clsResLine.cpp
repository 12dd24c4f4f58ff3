#include "clsResLine.h"

namespace {
constexpr int kFirst = 102;
constexpr int kLast = 145;

int32_t posMod(int64_t a, int64_t m) {
    const int64_t r = a % m;
    return static_cast<int32_t>(r < 0 ? r + m : r);
}
} // namespace

clsResLine::clsResLine()
    : set_(kFirst, kLast, 4000, 4100, 4200, [](int n) { return QStringLiteral("LINE%1").arg(n); }) {
    for (int n = kFirst; n <= kLast; ++n) {
        const ResBitmapSet::Entry* e = set_.entry(n);
        entries_.push_back(Entry{e->name, AnalyseLinePattern(e->low), AnalyseLinePattern(e->high)});
    }
    applyRatios();
}

clsResLine::PatternRecord clsResLine::AnalyseLinePattern(const plat::HBITMAP& bitmap) {
    PatternRecord rec;
    if (!bitmap || bitmap->width() != 32) return rec;
    rec.handle = bitmap;
    // Deeper bitmaps are read as one bit per pixel, dark pixels on.
    const plat::HBITMAP mono = bitmap->isMono() ? bitmap : plat::Bitmap::FromImage(bitmap->image(), true);
    if (!mono) return PatternRecord{};
    const QByteArray bits = mono->bits();
    const int h = mono->height();
    if (bits.size() < qsizetype(h) * 4) return PatternRecord{};
    rec.thick = h;
    rec.rows.resize(size_t(h));
    const auto* b = reinterpret_cast<const uchar*>(bits.constData());
    for (int y = 0; y < h; ++y) {
        const uchar* r = b + size_t(y) * 4;
        rec.rows[size_t(y)] = (uint32_t(r[0]) << 24) | (uint32_t(r[1]) << 16) | (uint32_t(r[2]) << 8) | r[3];
    }
    return rec;
}

void clsResLine::setIndex(int16_t i) {
    if (i < kFirst || i > kLast) return;
    index_ = i;
    const Entry& e = entries_[size_t(i - kFirst)];
    current_ = resolution_ == 1 ? e.high : e.low;
}

QString clsResLine::Name() const { return entries_[size_t(index_ - kFirst)].name; }

int32_t clsResLine::DstLength() const { return static_cast<int32_t>((32 * int64_t(effX_) + 199) / 200); }

int32_t clsResLine::DstThick() const { return static_cast<int32_t>((current_.thick * int64_t(effY_) + 199) / 200); }

void clsResLine::setRatioX(int32_t r) {
    if (r < 50 || r > 10000) return;
    ratioX_ = r;
    applyRatios();
}

void clsResLine::setRatioY(int32_t r) {
    if (r < 50 || r > 10000) return;
    ratioY_ = r;
    applyRatios();
}

void clsResLine::applyRatios() {
    if (ratioX_ >= 200 && ratioY_ >= 200) {
        resolution_ = 1;
        effX_ = ratioX_;
        effY_ = ratioY_;
    } else {
        resolution_ = 0;
        effX_ = 2 * ratioX_;
        effY_ = 2 * ratioY_;
    }
    setIndex(index_);
}

int32_t clsResLine::Pattern(int32_t i) const {
    if (current_.thick < 1) return 0;
    return static_cast<int32_t>(current_.rows[size_t(posMod(i, current_.thick))]);
}

std::vector<bool> clsResLine::CycleArray(int32_t, int32_t Row) const {
    const int32_t n = DstLength();
    std::vector<bool> out(size_t(std::max(0, n)), false);
    if (current_.thick < 1) return out;
    const int32_t s = posMod(int64_t(Row) * 200 / effY_, current_.thick);
    const uint32_t bits = current_.rows[size_t(s)];
    for (int32_t k = 0; k < n; ++k) {
        const int32_t b = posMod(int64_t(k) * 200 / effX_, 32);
        out[size_t(k)] = ((bits >> (31 - b)) & 1u) == 0;
    }
    return out;
}

plat::HBITMAP clsResLine::Bitmap(int16_t index, int resolution) const {
    const ResBitmapSet::Entry* e = set_.entry(index);
    if (!e) return nullptr;
    return resolution == 1 ? e->high : e->low;
}
