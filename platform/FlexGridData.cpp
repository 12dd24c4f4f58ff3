#include "FlexGridData.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <numeric>

namespace plat {

namespace {

int32_t clampIndex(int32_t v, int32_t count) { return std::clamp(v, 0, std::max(count - 1, 0)); }

// Calls f(field) for each TAB-separated field of text, at most `limit`.
template <typename F>
void forEachField(const QString& text, QChar sep, int32_t limit, F f) {
    qsizetype start = 0;
    for (int32_t i = 0; i < limit; ++i) {
        qsizetype end = text.indexOf(sep, start);
        f(i, text.mid(start, end < 0 ? -1 : end - start));
        if (end < 0) return;
        start = end + 1;
    }
}

} // namespace

class FlexGridData::ShapeScope {
public:
    ShapeScope(FlexGridData& d, FlexShapeChange kind, int32_t first = 0, int32_t count = 0) : l_(d.listener_) {
        if (l_) l_->shapeAboutToChange(kind, first, count);
    }
    ~ShapeScope() {
        if (l_) l_->shapeChanged();
    }
    ShapeScope(const ShapeScope&) = delete;
    ShapeScope& operator=(const ShapeScope&) = delete;

private:
    FlexGridListener* l_;
};

FlexGridData::FlexGridData() : text_(static_cast<size_t>(rows_) * cols_), rowInfo_(rows_), colInfo_(cols_) {}

FlexGridData::~FlexGridData() = default;

void FlexGridData::setRows(int32_t n) {
    n = std::max(n, 0);
    if (n == rows_) return;
    {
        ShapeScope scope(*this, FlexShapeChange::Reshape);
        text_.resize(static_cast<size_t>(storedRows(n)) * cols_);
        rowInfo_.resize(n);
        rows_ = n;
        fixedRows_ = std::min(fixedRows_, std::max(rows_ - 1, 0));
    }
    clampSelection(true);
}

void FlexGridData::setCols(int32_t n) {
    n = std::max(n, 0);
    if (n == cols_) return;
    {
        ShapeScope scope(*this, FlexShapeChange::Reshape);
        std::vector<QString> text(static_cast<size_t>(storedRows(rows_)) * n);
        const int32_t keep = std::min(n, cols_);
        for (int32_t r = 0; r < rows_; ++r) {
            if (stored(r))
                for (int32_t c = 0; c < keep; ++c) text[static_cast<size_t>(r) * n + c] = std::move(text_[at(r, c)]);
            if (rowInfo_[r].formats) rowInfo_[r].formats->resize(n);
        }
        text_ = std::move(text);
        colInfo_.resize(n);
        cols_ = n;
    }
    clampSelection(true);
}

void FlexGridData::setFixedRows(int32_t n) {
    n = std::clamp(n, 0, std::min(1, std::max(rows_ - 1, 0)));
    if (n == fixedRows_) return;
    ShapeScope scope(*this, FlexShapeChange::Reshape);
    fixedRows_ = n;
}

QString FlexGridData::TextMatrix(int32_t row, int32_t col) const {
    if (!validCell(row, col)) return QString();
    return stored(row) ? text_[at(row, col)] : source_->cellText(row, col);
}

void FlexGridData::setTextMatrix(int32_t row, int32_t col, const QString& text) {
    if (!validCell(row, col) || !stored(row)) return;
    text_[at(row, col)] = text;
    if (listener_) listener_->cellsChanged(row, col, row, col);
}

QString FlexGridData::TextArray(int32_t index) const {
    if (index < 0 || cols_ == 0 || static_cast<int64_t>(index) >= static_cast<int64_t>(rows_) * cols_) return QString();
    return TextMatrix(index / cols_, index % cols_);
}

void FlexGridData::setTextArray(int32_t index, const QString& text) {
    if (index < 0 || static_cast<size_t>(index) >= text_.size()) return;
    text_[index] = text;
    if (listener_) {
        const int32_t r = index / cols_, c = index % cols_;
        listener_->cellsChanged(r, c, r, c);
    }
}

void FlexGridData::fillRow(int32_t row, const QString& tabbed) {
    if (!stored(row)) return;
    forEachField(tabbed, QLatin1Char('\t'), cols_, [&](int32_t c, QString field) { text_[at(row, c)] = std::move(field); });
}

void FlexGridData::AddItem(const QString& text, int32_t index) {
    if (index < 0 || index > rows_) index = rows_;
    // A row put above the fixed title row becomes the title.
    ShapeScope scope(*this, index >= fixedRows_ ? FlexShapeChange::Insert : FlexShapeChange::Reshape, index, 1);
    if (stored(index)) text_.insert(text_.begin() + static_cast<ptrdiff_t>(at(index, 0)), static_cast<size_t>(cols_), QString());
    rowInfo_.insert(rowInfo_.begin() + index, RowInfo());
    ++rows_;
    text_.resize(static_cast<size_t>(storedRows(rows_)) * cols_);  // on demand: a row pushed below row 0 is the source's
    fillRow(index, text);
}

void FlexGridData::RemoveItem(int32_t index) {
    if (index < 0 || index >= rows_) return;
    {
        // Removing the title row, or the last row below it, changes which
        // row is fixed.
        const int32_t fixed = std::min(fixedRows_, std::max(rows_ - 2, 0));
        const bool plain = fixed == fixedRows_ && index >= fixedRows_;
        ShapeScope scope(*this, plain ? FlexShapeChange::Remove : FlexShapeChange::Reshape, index, 1);
        if (stored(index)) {
            auto first = text_.begin() + static_cast<ptrdiff_t>(at(index, 0));
            text_.erase(first, first + cols_);
        }
        rowInfo_.erase(rowInfo_.begin() + index);
        --rows_;
        text_.resize(static_cast<size_t>(storedRows(rows_)) * cols_);
        fixedRows_ = fixed;
    }
    clampSelection(true);
}

QString FlexGridData::Clip() const {
    if (rows_ == 0 || cols_ == 0) return QString();
    QString out;
    for (int32_t r = selTop(); r <= selBottom(); ++r) {
        if (r > selTop()) out += QLatin1Char('\r');
        for (int32_t c = selLeft(); c <= selRight(); ++c) {
            if (c > selLeft()) out += QLatin1Char('\t');
            out += TextMatrix(r, c);
        }
    }
    return out;
}

void FlexGridData::setClip(const QString& text) {
    if (rows_ == 0 || cols_ == 0) return;
    const int32_t top = selTop(), left = selLeft();
    const int32_t height = selBottom() - top + 1, width = selRight() - left + 1;
    if (height == 1) {
        // One row, the way whole lists are filled: no line splitting.
        forEachField(text, QLatin1Char('\t'), width, [&](int32_t c, QString f) { storeText(top, left + c, std::move(f)); });
    } else {
        QString lines = text;
        lines.replace(QLatin1String("\r\n"), QLatin1String("\r")).replace(QLatin1Char('\n'), QLatin1Char('\r'));
        forEachField(lines, QLatin1Char('\r'), height, [&](int32_t r, const QString& line) {
            forEachField(line, QLatin1Char('\t'), width, [&](int32_t c, QString f) { storeText(top + r, left + c, std::move(f)); });
        });
    }
    if (listener_) listener_->cellsChanged(top, left, selBottom(), selRight());
}

void FlexGridData::notifySelection(int32_t oldRow, int32_t oldCol, int32_t oldRowSel, int32_t oldColSel) {
    const bool current = oldRow != row_ || oldCol != col_;
    if (listener_ && (current || oldRowSel != rowSel_ || oldColSel != colSel_)) listener_->selectionChanged(current);
}

void FlexGridData::select(int32_t row, int32_t col, int32_t rowSel, int32_t colSel) {
    const int32_t r0 = row_, c0 = col_, rs0 = rowSel_, cs0 = colSel_;
    row_ = clampIndex(row, rows_);
    col_ = clampIndex(col, cols_);
    rowSel_ = clampIndex(rowSel, rows_);
    colSel_ = clampIndex(colSel, cols_);
    notifySelection(r0, c0, rs0, cs0);
}

void FlexGridData::setRow(int32_t r) { select(r, col_, r, col_); }
void FlexGridData::setCol(int32_t c) { select(row_, c, row_, c); }
void FlexGridData::setRowSel(int32_t r) { select(row_, col_, r, colSel_); }
void FlexGridData::setColSel(int32_t c) { select(row_, col_, rowSel_, c); }

void FlexGridData::clampSelection(bool notify) {
    const int32_t r0 = row_, c0 = col_, rs0 = rowSel_, cs0 = colSel_;
    row_ = clampIndex(row_, rows_);
    col_ = clampIndex(col_, cols_);
    rowSel_ = clampIndex(rowSel_, rows_);
    colSel_ = clampIndex(colSel_, cols_);
    if (notify) notifySelection(r0, c0, rs0, cs0);
}

const FlexCellFormat& FlexGridData::format(int32_t row, int32_t col) const {
    static const FlexCellFormat plain;
    if (!validCell(row, col) || !rowInfo_[row].formats) return plain;
    return (*rowInfo_[row].formats)[col];
}

uint32_t FlexGridData::cellForeColor(int32_t row, int32_t col) const {
    const uint32_t own = format(row, col).fore;
    if (own != 0 || stored(row) || !validCell(row, col)) return own;
    return source_->cellForeColor(row, col);
}

void FlexGridData::setRowSource(const FlexRowSource* source) {
    if (source == source_) return;
    ShapeScope scope(*this, FlexShapeChange::Reshape);
    // Row 0 keeps its texts either way; the other rows start empty when
    // texts are stored again.
    std::vector<QString> titles(text_.begin(), text_.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(std::min(rows_, 1)) * cols_));
    source_ = source;
    text_.assign(static_cast<size_t>(storedRows(rows_)) * cols_, QString());
    std::move(titles.begin(), titles.end(), text_.begin());
}

FlexCellFormat& FlexGridData::formatToWrite(int32_t row, int32_t col) {
    auto& f = rowInfo_[row].formats;
    if (!f) f = std::make_unique<std::vector<FlexCellFormat>>(cols_);
    return (*f)[col];
}

template <typename F>
void FlexGridData::applyFormat(F f) {
    if (!validCell(row_, col_)) return;
    if (fillStyle_ == flexFillSingle) {
        f(formatToWrite(row_, col_));
        if (listener_) listener_->cellsChanged(row_, col_, row_, col_);
        return;
    }
    for (int32_t r = selTop(); r <= selBottom(); ++r)
        for (int32_t c = selLeft(); c <= selRight(); ++c) f(formatToWrite(r, c));
    if (listener_) listener_->cellsChanged(selTop(), selLeft(), selBottom(), selRight());
}

void FlexGridData::setCellBackColor(uint32_t c) { applyFormat([c](FlexCellFormat& f) { f.back = c; }); }
void FlexGridData::setCellForeColor(uint32_t c) { applyFormat([c](FlexCellFormat& f) { f.fore = c; }); }
void FlexGridData::setCellFontBold(bool bold) { applyFormat([bold](FlexCellFormat& f) { f.bold = bold; }); }
void FlexGridData::setCellPicture(const QImage& picture) { applyFormat([&picture](FlexCellFormat& f) { f.picture = picture; }); }

int FlexGridData::CellAlignment() const {
    const int a = format(row_, col_).align;
    return a >= 0 ? a : ColAlignment(col_);
}

void FlexGridData::setCellAlignment(int align) {
    if (align < 0 || align > flexAlignGeneral) return;
    applyFormat([align](FlexCellFormat& f) { f.align = static_cast<int8_t>(align); });
}

int FlexGridData::ColAlignment(int32_t col) const {
    return col >= 0 && col < cols_ ? colInfo_[col].align : static_cast<int>(flexAlignGeneral);
}

void FlexGridData::setColAlignment(int32_t col, int align) {
    if (col < 0 || col >= cols_ || align < 0 || align > flexAlignGeneral) return;
    colInfo_[col].align = align;
    if (listener_) listener_->colChanged(col);
}

int32_t FlexGridData::rowHeightTwips(int32_t row) const { return row >= 0 && row < rows_ ? rowInfo_[row].height : -1; }

void FlexGridData::setRowHeightTwips(int32_t row, int32_t twips) {
    if (row < 0 || row >= rows_) return;
    rowInfo_[row].height = std::max(twips, -1);
    if (listener_) listener_->rowHeightChanged(row);
}

int32_t FlexGridData::colWidthTwips(int32_t col) const { return col >= 0 && col < cols_ ? colInfo_[col].width : -1; }

void FlexGridData::setColWidthTwips(int32_t col, int32_t twips) {
    if (col < 0 || col >= cols_) return;
    colInfo_[col].width = std::max(twips, -1);
    if (listener_) listener_->colChanged(col);
}

QStringList FlexGridData::setFormatString(const QString& format) {
    formatString_ = format;
    const QStringList entries = format.section(QLatin1Char(';'), 0, 0).split(QLatin1Char('|'));
    setCols(static_cast<int32_t>(entries.size()));
    if (rows_ < 1) setRows(1);
    QStringList titles;
    for (int32_t c = 0; c < cols_; ++c) {
        QString title = entries[c];
        int align = flexAlignGeneral;
        if (title.startsWith(QLatin1Char('<'))) align = flexAlignLeftCenter;
        else if (title.startsWith(QLatin1Char('^'))) align = flexAlignCenterCenter;
        else if (title.startsWith(QLatin1Char('>'))) align = flexAlignRightCenter;
        if (align != flexAlignGeneral) title.remove(0, 1);
        colInfo_[c].align = align;
        text_[at(0, c)] = title;
        titles << title;
        if (listener_) listener_->colChanged(c);
    }
    if (listener_ && cols_ > 0) listener_->cellsChanged(0, 0, 0, cols_ - 1);
    return titles;
}

namespace {

struct SortKey {
    QString text;  // case-folded for the "no case" orders
    double number = 0;
    bool isNumber = false;
};

SortKey makeKey(const QString& text, int order) {
    SortKey k;
    const bool fold = order == flexSortGenericAscending || order == flexSortGenericDescending ||
                      order == flexSortStringNoCaseAscending || order == flexSortStringNoCaseDescending;
    if (order <= flexSortNumericDescending) {
        bool ok = false;
        const double v = QLocale::c().toDouble(text.trimmed(), &ok);
        k.isNumber = ok;
        k.number = ok ? v : 0;
    }
    if (order != flexSortNumericAscending && order != flexSortNumericDescending)
        k.text = fold ? text.toCaseFolded() : text;
    return k;
}

// <0, 0, >0 as a is before, level with, after b in ascending order.
int compareKeys(const SortKey& a, const SortKey& b, int order) {
    if (order == flexSortNumericAscending || order == flexSortNumericDescending)
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    if (order <= flexSortGenericDescending) {
        if (a.isNumber != b.isNumber) return a.isNumber ? -1 : 1;
        if (a.isNumber) return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    }
    return QString::compare(a.text, b.text, Qt::CaseSensitive);
}

} // namespace

void FlexGridData::Sort(int order) {
    if (order < flexSortGenericAscending || order > flexSortStringDescending || cols_ == 0 || source_) return;
    const int32_t top = std::max(selTop(), fixedRows_), bottom = selBottom();
    if (bottom - top < 1) return;
    const int32_t left = selLeft(), nkeys = selRight() - left + 1, n = bottom - top + 1;
    ShapeScope scope(*this, FlexShapeChange::Reshape);
    std::vector<SortKey> keys(static_cast<size_t>(n) * nkeys);
    for (int32_t i = 0; i < n; ++i)
        for (int32_t k = 0; k < nkeys; ++k) keys[static_cast<size_t>(i) * nkeys + k] = makeKey(text_[at(top + i, left + k)], order);
    const bool descending = order % 2 == 0;
    std::vector<int32_t> perm(n);
    std::iota(perm.begin(), perm.end(), 0);
    std::stable_sort(perm.begin(), perm.end(), [&](int32_t a, int32_t b) {
        for (int32_t k = 0; k < nkeys; ++k) {
            const int c = compareKeys(keys[static_cast<size_t>(a) * nkeys + k], keys[static_cast<size_t>(b) * nkeys + k], order);
            if (c != 0) return descending ? c > 0 : c < 0;
        }
        return false;
    });
    std::vector<QString> text(static_cast<size_t>(n) * cols_);
    std::vector<RowInfo> info(n);
    for (int32_t i = 0; i < n; ++i) {
        const int32_t from = top + perm[i];
        std::move(text_.begin() + static_cast<ptrdiff_t>(at(from, 0)), text_.begin() + static_cast<ptrdiff_t>(at(from, 0) + cols_),
                  text.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(i) * cols_));
        info[i] = std::move(rowInfo_[from]);
    }
    std::move(text.begin(), text.end(), text_.begin() + static_cast<ptrdiff_t>(at(top, 0)));
    std::move(info.begin(), info.end(), rowInfo_.begin() + top);
}

} // namespace plat
