#include "FlexGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <cmath>

#include "KeyCodes.h"
#include "Screen.h"
#include "SysColors.h"

namespace plat {

namespace {

QColor colorOf(uint32_t value) {
    const COLORREF c = TranslateColor(value);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

int toPixelsX(int32_t twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int toPixelsY(int32_t twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }
int32_t toTwipsX(int px) { return static_cast<int32_t>(std::lround(px * TwipsPerPixelX())); }
int32_t toTwipsY(int px) { return static_cast<int32_t>(std::lround(px * TwipsPerPixelY())); }

int buttonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int buttonsCode(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

Qt::Alignment qtAlignment(int align, const QString& text) {
    if (align == flexAlignGeneral) {
        bool number = false;
        QLocale::c().toDouble(text.trimmed(), &number);
        return Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft);
    }
    static const Qt::Alignment h[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment v[3] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return h[align / 3] | v[align % 3];
}

constexpr int kTextMargin = 2;
constexpr int32_t kDefaultColTwips = 960;

} // namespace

// Row r of the model is grid row r + FixedRows; the fixed row is the header.
class FlexGridModel : public QAbstractTableModel {
public:
    FlexGridModel(const FlexGridData& d, const QString& toolTip) : d_(d), toolTip_(toolTip) {}
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : std::max(d_.Rows() - d_.FixedRows(), 0);
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : d_.Cols(); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return QVariant();
        if (role == Qt::DisplayRole) return d_.TextMatrix(index.row() + d_.FixedRows(), index.column());
        if (role == Qt::ToolTipRole && !toolTip_.isEmpty()) return toolTip_;
        return QVariant();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || d_.FixedRows() == 0) return QVariant();
        if (role == Qt::DisplayRole) return d_.TextMatrix(0, section);
        if (role == Qt::ToolTipRole && !toolTip_.isEmpty()) return toolTip_;
        return QVariant();
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    }
    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void beginInsert(int first, int last) { beginInsertRows(QModelIndex(), first, last); }
    void endInsert() { endInsertRows(); }
    void beginRemove(int first, int last) { beginRemoveRows(QModelIndex(), first, last); }
    void endRemove() { endRemoveRows(); }

private:
    const FlexGridData& d_;
    const QString& toolTip_;
};

namespace {

class FlexDelegate : public QStyledItemDelegate {
public:
    explicit FlexDelegate(FlexGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        grid_->paintCell(p, opt.rect, index.row() + grid_->FixedRows(), index.column(), false);
    }

private:
    FlexGrid* grid_;
};

} // namespace

// The fixed title row, drawn and clicked like the grid's own cells.
class FlexHeader : public QHeaderView {
public:
    explicit FlexHeader(FlexGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
        setSectionsClickable(false);
        setSectionResizeMode(QHeaderView::Interactive);
        setHighlightSections(false);
        setMinimumSectionSize(1);
    }

protected:
    void paintSection(QPainter* p, const QRect& rect, int logical) const override {
        grid_->paintCell(p, rect, 0, logical, true);
    }
    void mousePressEvent(QMouseEvent* e) override {
        QHeaderView::mousePressEvent(e);
        grid_->headerMouse(e, true, false, false);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        QHeaderView::mouseMoveEvent(e);
        grid_->headerMouse(e, false, false, false);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QHeaderView::mouseReleaseEvent(e);
        grid_->headerMouse(e, false, true, false);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        QHeaderView::mouseDoubleClickEvent(e);
        grid_->headerMouse(e, false, false, true);
    }

private:
    FlexGrid* grid_;
};

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(std::make_unique<FlexGridModel>(data_, toolTip_)) {
    header_ = new FlexHeader(this);
    setHorizontalHeader(header_);
    setModel(model_.get());
    setItemDelegate(new FlexDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setShowGrid(false);  // the cells draw their own lines in GridColor
    connect(header_, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (!applyingSizes_) {
            applyingSizes_ = true;
            data_.setColWidthTwips(col, toTwipsX(size));
            applyingSizes_ = false;
        }
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &FlexGrid::scrolled);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &FlexGrid::scrolled);
    data_.setListener(this);
    applySizes();
}

FlexGrid::~FlexGrid() {
    data_.setListener(nullptr);
    // Letting go of the model resets the scroll bars; a grid on its way out
    // tells nobody.
    const QSignalBlocker quiet(this);
    setModel(nullptr);
}

// --- changes of the cells -------------------------------------------------

void FlexGrid::shapeAboutToChange(FlexShapeChange kind, int32_t first, int32_t count) {
    pendingKind_ = kind;
    if (resetOpen_) return;
    if (!redraw_) {
        // One reset for the whole batch, closed when drawing resumes.
        model_->beginReset();
        resetOpen_ = true;
        return;
    }
    const int32_t m = first - data_.FixedRows();
    switch (kind) {
    case FlexShapeChange::Insert: model_->beginInsert(m, m + count - 1); break;
    case FlexShapeChange::Remove: model_->beginRemove(m, m + count - 1); break;
    case FlexShapeChange::Reshape: model_->beginReset(); break;
    }
}

void FlexGrid::shapeChanged() {
    if (resetOpen_) return;
    switch (pendingKind_) {
    case FlexShapeChange::Insert: model_->endInsert(); break;
    case FlexShapeChange::Remove: model_->endRemove(); break;
    case FlexShapeChange::Reshape:
        model_->endReset();
        applySizes();
        break;
    }
}

void FlexGrid::cellsChanged(int32_t row1, int32_t, int32_t, int32_t) {
    if (!redraw_ || resetOpen_) return;
    viewport()->update();
    if (row1 < data_.FixedRows()) header_->viewport()->update();
}

void FlexGrid::rowHeightChanged(int32_t row) {
    if (!resetOpen_) applyRowHeight(row);
}

void FlexGrid::colChanged(int32_t col) {
    if (!resetOpen_) applyColWidth(col);
    if (redraw_) Refresh();
}

void FlexGrid::selectionChanged(bool currentChanged) {
    if (redraw_ && !resetOpen_) viewport()->update();
    if (currentChanged) emit rowColChange();
    emit selChange();
}

void FlexGrid::flush() {
    if (!resetOpen_) return;
    resetOpen_ = false;
    model_->endReset();
    applySizes();
}

void FlexGrid::setRedraw(bool on) {
    if (on == redraw_) return;
    redraw_ = on;
    if (on) flush();
    viewport()->setUpdatesEnabled(on);
    header_->viewport()->setUpdatesEnabled(on);
    if (on) Refresh();
}

void FlexGrid::Refresh() {
    if (!redraw_) return;
    viewport()->update();
    header_->viewport()->update();
}

// --- sizes ----------------------------------------------------------------

int FlexGrid::defaultRowPixels() const { return fontMetrics().height() + 2; }

void FlexGrid::applySizes() {
    applyingSizes_ = true;
    verticalHeader()->setDefaultSectionSize(defaultRowPixels());
    applyingSizes_ = false;
    header_->setVisible(data_.FixedRows() > 0);
    if (data_.FixedRows() > 0) applyRowHeight(0);
    data_.forEachRowHeight([this](int32_t r, int32_t) {
        if (r >= data_.FixedRows()) applyRowHeight(r);
    });
    for (int32_t c = 0; c < data_.Cols(); ++c) applyColWidth(c);
}

void FlexGrid::applyRowHeight(int32_t row) {
    const int32_t h = data_.rowHeightTwips(row);
    const int px = h < 0 ? defaultRowPixels() : toPixelsY(h);
    applyingSizes_ = true;
    if (row < data_.FixedRows()) {
        header_->setFixedHeight(px);
        header_->setVisible(px > 0);
    } else {
        const int m = row - data_.FixedRows();
        if (m < model_->rowCount()) {
            if (px <= 0) {
                setRowHidden(m, true);
            } else {
                if (isRowHidden(m)) setRowHidden(m, false);
                verticalHeader()->resizeSection(m, px);
            }
        }
    }
    applyingSizes_ = false;
}

void FlexGrid::applyColWidth(int32_t col) {
    if (col >= model_->columnCount()) return;
    const int32_t w = data_.colWidthTwips(col);
    applyingSizes_ = true;
    if (w == 0) {
        setColumnHidden(col, true);
    } else {
        if (isColumnHidden(col)) setColumnHidden(col, false);
        header_->resizeSection(col, toPixelsX(w < 0 ? kDefaultColTwips : w));
    }
    applyingSizes_ = false;
}

int32_t FlexGrid::RowHeight(int32_t row) const {
    const int32_t h = data_.rowHeightTwips(row);
    return h >= 0 ? h : toTwipsY(defaultRowPixels());
}

int32_t FlexGrid::ColWidth(int32_t col) const {
    const int32_t w = data_.colWidthTwips(col);
    return w >= 0 ? w : kDefaultColTwips;
}

void FlexGrid::setFormatString(const QString& format) {
    const QStringList titles = data_.setFormatString(format);
    const QFontMetrics fm(font());
    for (int32_t c = 0; c < titles.size(); ++c)
        data_.setColWidthTwips(c, toTwipsX(fm.horizontalAdvance(titles[c]) + 2 * kTextMargin + 2));
}

void FlexGrid::setGridColor(uint32_t c) {
    gridColor_ = c;
    Refresh();
}

void FlexGrid::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange) applySizes();
}

// --- scrolling and positions ---------------------------------------------

int32_t FlexGrid::TopRow() {
    flush();
    const int m = rowAt(0);
    if (m >= 0) return m + data_.FixedRows();
    return std::min(data_.FixedRows(), std::max(data_.Rows() - 1, 0));
}

void FlexGrid::setTopRow(int32_t row) {
    flush();
    const int32_t m = row - data_.FixedRows();
    if (m < 0 || m >= model_->rowCount()) return;
    updateGeometries();
    const int h = horizontalScrollBar()->value();
    scrollTo(model_->index(m, 0), QAbstractItemView::PositionAtTop);
    horizontalScrollBar()->setValue(h);
}

int32_t FlexGrid::RowPos(int32_t row) {
    flush();
    if (row < data_.FixedRows()) return toTwipsY(header_->isVisible() ? header_->y() : 0);
    const int y = rowViewportPosition(row - data_.FixedRows());
    return toTwipsY(viewport()->mapTo(this, QPoint(0, y)).y());
}

int32_t FlexGrid::ColPos(int32_t col) {
    flush();
    const int x = columnViewportPosition(col);
    return toTwipsX(viewport()->mapTo(this, QPoint(x, 0)).x());
}

bool FlexGrid::RowIsVisible(int32_t row) {
    flush();
    if (row < 0 || row >= data_.Rows()) return false;
    if (row < data_.FixedRows()) return true;
    const int m = row - data_.FixedRows();
    if (isRowHidden(m)) return false;
    const int y = rowViewportPosition(m);
    return y >= 0 && y + rowHeight(m) <= viewport()->height();
}

int32_t FlexGrid::visibleRowCount() const { return std::max(viewport()->height() / std::max(defaultRowPixels(), 1), 1); }

void FlexGrid::ensureRowVisible(int32_t row) {
    if (row < data_.FixedRows() || RowIsVisible(row)) return;
    if (row < TopRow()) setTopRow(row);
    else setTopRow(std::max(row - visibleRowCount() + 1, data_.FixedRows()));
}

void FlexGrid::setToolTipText(const QString& text) {
    if (text == toolTip_) return;
    toolTip_ = text;
    viewport()->setToolTip(text);
    header_->setToolTip(text);
}

void FlexGrid::setScrollBars(int bars) {
    scrollBars_ = bars & 3;
    setHorizontalScrollBarPolicy(scrollBars_ & 1 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(scrollBars_ & 2 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

// --- painting -------------------------------------------------------------

void FlexGrid::paintCell(QPainter* p, const QRect& rect, int32_t row, int32_t col, bool fixed) const {
    const FlexCellFormat& f = data_.format(row, col);
    // The title row left alone (no data row to fix it over) is still no
    // row to choose: it is never drawn chosen.
    const bool choosable = !fixed && !(row == 0 && data_.Rows() == 1);
    const bool selected = choosable && data_.isSelected(row, col);
    const uint32_t back = selected ? backSel_ : f.back ? f.back : fixed ? backFixed_ : back_;
    const uint32_t own = data_.cellForeColor(row, col);
    const uint32_t fore = selected ? foreSel_ : own ? own : fixed ? foreFixed_ : fore_;
    p->save();
    p->setClipRect(rect);
    p->fillRect(rect, colorOf(back));
    p->setPen(colorOf(fixed ? 0x80000010 : gridColor_));  // the header's lines in the button shadow
    p->drawLine(rect.bottomLeft(), rect.bottomRight());
    p->drawLine(rect.topRight(), rect.bottomRight());
    QRect inner = rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    if (!f.picture.isNull()) {
        const QPoint at(rect.left(), rect.top() + (rect.height() - f.picture.height()) / 2);
        p->drawImage(at, f.picture);
    }
    const QString text = data_.TextMatrix(row, col);
    if (!text.isEmpty()) {
        QFont font = p->font();
        font.setBold(f.bold);
        p->setFont(font);
        p->setPen(colorOf(fore));
        const int align = f.align >= 0 ? f.align : data_.ColAlignment(col);
        p->drawText(inner, static_cast<int>(qtAlignment(align, text) | Qt::TextSingleLine), text);
    }
    if (choosable && row == data_.Row() && col == data_.Col() && hasFocus()) {
        QPen pen(colorOf(selected ? foreSel_ : fore_), 1, Qt::DotLine);
        p->setPen(pen);
        p->setBrush(Qt::NoBrush);
        p->drawRect(rect.adjusted(0, 0, -2, -2));
    }
    p->restore();
}

// --- mouse and keys -------------------------------------------------------

void FlexGrid::setMouseCell(int32_t row, int32_t col) {
    mouseRow_ = row;
    mouseCol_ = col;
}

void FlexGrid::mouseCellAt(const QPoint& pos) {
    if (resetOpen_) {
        // Nothing is drawn while a batch is open: no cell is under the mouse.
        setMouseCell(-1, -1);
        return;
    }
    const int m = rowAt(pos.y()), c = columnAt(pos.x());
    setMouseCell(m >= 0 ? m + data_.FixedRows() : -1, c);
}

QPoint FlexGrid::twipsOf(const QPoint& viewportPos) const {
    const QPoint p = viewport()->mapTo(this, viewportPos);
    return QPoint(toTwipsX(p.x()), toTwipsY(p.y()));
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    mouseCellAt(pos);
    afterDouble_ = false;
    if (e->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        if (mouseRow_ >= data_.FixedRows() && mouseCol_ >= 0) {
            const bool extend = e->modifiers().testFlag(Qt::ShiftModifier);
            if (extend) data_.select(data_.Row(), data_.Col(), mouseRow_, mouseCol_);
            else data_.select(mouseRow_, mouseCol_, mouseRow_, mouseCol_);
            dragging_ = true;
        }
    }
    const QPoint t = twipsOf(pos);
    emit mouseDown(buttonCode(e->button()), ShiftStateOf(e->modifiers()), t.x(), t.y());
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    mouseCellAt(pos);
    if (dragging_ && (e->buttons() & Qt::LeftButton) && mouseRow_ >= data_.FixedRows() && mouseCol_ >= 0)
        data_.select(data_.Row(), data_.Col(), mouseRow_, mouseCol_);
    const QPoint t = twipsOf(pos);
    emit mouseMove(buttonsCode(e->buttons()), ShiftStateOf(e->modifiers()), t.x(), t.y());
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    mouseCellAt(pos);
    dragging_ = false;
    const QPoint t = twipsOf(pos);
    emit mouseUp(buttonCode(e->button()), ShiftStateOf(e->modifiers()), t.x(), t.y());
    if (e->button() == Qt::LeftButton && !afterDouble_) emit click();
    afterDouble_ = false;
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    mouseCellAt(e->position().toPoint());
    if (e->button() != Qt::LeftButton) return;
    afterDouble_ = true;
    emit dblClick();
}

void FlexGrid::headerMouse(QMouseEvent* e, bool press, bool release, bool dbl) {
    const QPoint pos = e->position().toPoint();
    setMouseCell(0, header_->logicalIndexAt(pos.x()));
    const QPoint g = header_->mapTo(this, pos);
    const int x = toTwipsX(g.x()), y = toTwipsY(g.y());
    const int shift = ShiftStateOf(e->modifiers());
    if (press) {
        afterDouble_ = false;
        emit mouseDown(buttonCode(e->button()), shift, x, y);
    } else if (release) {
        emit mouseUp(buttonCode(e->button()), shift, x, y);
        if (e->button() == Qt::LeftButton && !afterDouble_) emit click();
        afterDouble_ = false;
    } else if (dbl) {
        if (e->button() == Qt::LeftButton) {
            afterDouble_ = true;
            emit dblClick();
        }
    } else {
        emit mouseMove(buttonsCode(e->buttons()), shift, x, y);
    }
}

void FlexGrid::wheelEvent(QWheelEvent* e) {
    wheelRest_ += e->angleDelta().y();
    const int steps = wheelRest_ / 120;
    wheelRest_ -= steps * 120;
    if (steps != 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - steps);
    e->accept();
}

void FlexGrid::moveCurrent(int32_t row, int32_t col, bool extend) {
    row = std::clamp(row, data_.FixedRows(), std::max(data_.Rows() - 1, data_.FixedRows()));
    col = std::clamp(col, 0, std::max(data_.Cols() - 1, 0));
    if (row >= data_.Rows()) return;
    if (extend) data_.select(data_.Row(), data_.Col(), row, col);
    else data_.select(row, col, row, col);
    ensureRowVisible(row);
    if (col < data_.Cols()) scrollTo(model_->index(std::max(row - data_.FixedRows(), 0), col));
}

void FlexGrid::keyPressEvent(QKeyEvent* e) {
    int key = KeyCodeOf(e);
    const int shift = ShiftStateOf(e->modifiers());
    emit keyDown(key, shift);
    if (key == 0) {
        e->accept();
        return;
    }
    const bool extend = shift & ShiftMask;
    // Keys move the far corner when extending, the current cell otherwise.
    const int32_t r = extend ? data_.RowSel() : data_.Row(), c = extend ? data_.ColSel() : data_.Col();
    const int32_t page = visibleRowCount();
    switch (key) {
    case KeyUp: moveCurrent(r - 1, c, extend); break;
    case KeyDown: moveCurrent(r + 1, c, extend); break;
    case KeyLeft: moveCurrent(r, c - 1, extend); break;
    case KeyRight: moveCurrent(r, c + 1, extend); break;
    case KeyPageUp: moveCurrent(r - page, c, extend); break;
    case KeyPageDown: moveCurrent(r + page, c, extend); break;
    case KeyHome: moveCurrent(shift & CtrlMask ? data_.FixedRows() : r, 0, extend); break;
    case KeyEnd: moveCurrent(shift & CtrlMask ? data_.Rows() - 1 : r, data_.Cols() - 1, extend); break;
    default: e->ignore(); return;
    }
    e->accept();
}

} // namespace plat
