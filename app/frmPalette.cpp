#include "frmPalette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "KeyCodes.h"
#include "basColorLib.h"
#include "clsNativeColor.h"

namespace {

constexpr int kCell = 18;   // pixels
constexpr int kTopMargin = 1;
const QColor kMarkColor(255, 64, 0);
const QColor kLabelColor(128, 64, 64);
const QColor kBarColor(224, 224, 224);

QColor qColorOf(int32_t c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

bool isPlainRgb(int32_t c) { return c >= 0 && c < 0x1000000; }

} // namespace

// -- PaletteLogic

bool PaletteLogic::Load() {
    OK = false;
    if (!Palette) return false;
    first_ = WildMode ? Palette->PalStart() : int16_t{0};
    last_ = Palette->PalEnd();
    pendingSlot_ = kNothing;
    current_ = Palette->RGBtoPal(Color);
    if (current_ == -1 && !WildMode) current_ = kNothing;
    if (current_ < -1 && isPlainRgb(Color)) {
        const int16_t k = freeUserSlot();
        pendingSlot_ = k;
        pendingColor_ = Color;
        current_ = k;
    }
    return true;
}

int16_t PaletteLogic::freeUserSlot() const {
    for (int16_t k = Palette->PalUserStart(); k <= Palette->PalUserEnd(); ++k)
        if (k != pendingSlot_ && Palette->Color(k) == 0xFFFFFF) return k;
    return Palette->PalUserStart();
}

int32_t PaletteLogic::CellColor(int16_t i) const {
    if (i == pendingSlot_) return pendingColor_;
    return Palette ? Palette->Color(i) : -2;
}

void PaletteLogic::store(int16_t k, int32_t color) {
    Palette->setColor(k, color);
    if (k == pendingSlot_) pendingSlot_ = kNothing;
}

int16_t PaletteLogic::Hit(int32_t x, int32_t y, int32_t cell, int32_t width, int32_t height) const {
    if (x < 0 || x > width - 1 || y < 0 || y > height - 1 || cell <= 0) return kNothing;
    if (y < cell) return WildMode ? int16_t{-1} : kNothing;
    if (x / cell >= kCols) return kNothing;
    const int32_t k = (y / cell - 1) * kCols + x / cell;
    return k >= first_ && k <= last_ ? static_cast<int16_t>(k) : kNothing;
}

QString PaletteLogic::TipText(int16_t k) const {
    if (!Palette) return QString();
    const int32_t c = CellColor(k);
    const QString rgb = QStringLiteral("(R,G,B)=(%1,%2,%3)").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c));
    switch (Palette->Attr(k)) {
    case 1: return QStringLiteral("事象リストに従う");
    case 2: return QStringLiteral("基本色 / ") + rgb;
    case 3: return QStringLiteral("ユーザー色（右クリックで変更可能） / ") + rgb;
    default: return QString();
    }
}

void PaletteLogic::choose(int16_t k) {
    current_ = k;
    Color = CellColor(k);
    if (k == pendingSlot_) store(k, pendingColor_);
    OK = true;
}

bool PaletteLogic::LeftDown(int16_t k) {
    if (k < first_ || k > last_) return false;
    choose(k);
    return true;
}

void PaletteLogic::RightDown(int16_t k) {
    if (!Palette || Palette->Attr(k) < 2) return;
    current_ = k;
    edit();
}

void PaletteLogic::edit() {
    if (!Palette) return;
    if (Palette->Attr(current_) == 2) {
        const int16_t k = freeUserSlot();
        store(k, Palette->Color(current_));
        current_ = k;
    }
    if (Palette->Attr(current_) != 3 || !EditColor) return;
    const int32_t c = EditColor(CellColor(current_));
    if (c != -1) store(current_, c);
}

int16_t PaletteLogic::column() const { return current_ < 0 ? int16_t{0} : static_cast<int16_t>(current_ % kCols); }

void PaletteLogic::step(int32_t s) {
    const int32_t n = last_ - first_ + 1;
    int32_t k = current_ + s;
    if (k < first_) k += n;
    if (k > last_) k -= n;
    current_ = static_cast<int16_t>(k);
}

PaletteLogic::KeyOutcome PaletteLogic::KeyDown(int key) {
    if (!Palette) return KeyOutcome::Ignored;
    const bool marked = current_ >= first_;
    if (key == plat::KeyReturn) {
        if (!marked) return KeyOutcome::Closed;
        choose(current_);
        return KeyOutcome::Chosen;
    }
    if (key == plat::KeyEscape) return KeyOutcome::Closed;
    if (key == plat::KeySpace || key == plat::KeyF1 + 1) {
        if (marked) edit();
        return KeyOutcome::Handled;
    }
    // A letter or digit names a cell; an arrow steps, wrapping round (from
    // nothing marked it goes to the first colour).
    const int32_t rows = (last_ + 1) / kCols;
    const int32_t row = current_ < 0 ? 0 : current_ / kCols;
    if (key >= plat::KeyA && key < plat::KeyA + kCols) {
        current_ = static_cast<int16_t>(row * kCols + key - plat::KeyA);
        return KeyOutcome::Handled;
    }
    const int32_t digit = key >= plat::KeyNumpad0 ? key - plat::KeyNumpad0 : key - plat::Key0;
    if (digit >= 0 && digit < rows && (key < plat::KeyA || key >= plat::KeyNumpad0)) {
        current_ = static_cast<int16_t>(digit * kCols + column());
        return KeyOutcome::Handled;
    }
    int32_t s = 0;
    switch (key) {
    case plat::KeyLeft: s = -1; break;
    case plat::KeyRight: s = 1; break;
    case plat::KeyUp: s = WildMode && current_ >= 0 && current_ < kCols ? -1 - current_ : -kCols; break;
    case plat::KeyDown: s = marked && Palette->Attr(current_) == 1 ? 1 : kCols; break;
    default: return KeyOutcome::Ignored;
    }
    if (!marked) current_ = 0;
    else step(s);
    return KeyOutcome::Handled;
}

// -- PalettePicture

PalettePicture::PalettePicture(PaletteLogic& logic, int cell, QWidget* parent)
    : QWidget(parent), logic_(logic), cell_(cell) {
    setFixedSize(PaletteLogic::kCols * cell + 3, PaletteLogic::kRows * cell + 3);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

QPoint PalettePicture::cellOrigin(int16_t i) const {
    if (i < 0) return QPoint(0, 0);
    return QPoint((i % PaletteLogic::kCols) * cell_, (i / PaletteLogic::kCols + 1) * cell_);
}

void PalettePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor back = palette().color(QPalette::Window);
    p.fillRect(rect(), back);
    const int c = cell_;
    if (logic_.WildMode) {
        const QRect bar(0, 0, PaletteLogic::kCols * c + 2, c);
        p.fillRect(bar, kBarColor);
        p.setPen(logic_.Current() == -1 ? kMarkColor : back);
        p.drawRect(bar.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawText(bar, Qt::AlignCenter, QStringLiteral("事象依存"));
    }
    for (int16_t i = std::max<int16_t>(logic_.First(), 0); i <= logic_.Last(); ++i) {
        const QPoint o = cellOrigin(i);
        p.fillRect(QRect(o.x() + 2, o.y() + 2, c - 3, c - 3), qColorOf(logic_.CellColor(i)));
    }
    const int16_t cur = logic_.Current();
    if (cur >= 0) {
        const QPoint o = cellOrigin(cur);
        p.setPen(kMarkColor);
        p.setBrush(Qt::NoBrush);
        p.drawRect(o.x(), o.y(), c, c);
        p.drawRect(o.x() + 1, o.y() + 1, c - 2, c - 2);
    }
}

void PalettePicture::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const QString tip = logic_.TipText(logic_.Hit(at.x(), at.y(), cell_, width(), height()));
    if (tip != toolTip()) setToolTip(tip);
}

void PalettePicture::mousePressEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const int16_t k = logic_.Hit(at.x(), at.y(), cell_, width(), height());
    if (e->button() == Qt::LeftButton) {
        closeOnRelease_ = logic_.LeftDown(k);
    } else if (e->button() == Qt::RightButton) {
        logic_.RightDown(k);
    }
    emit changed();
}

void PalettePicture::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && closeOnRelease_) {
        closeOnRelease_ = false;
        emit chosen();
    }
}

// -- frmPalette

frmPalette::frmPalette(PaletteLogic& logic, QWidget* parent) : plat::DialogBase(parent, &logic.Position), logic_(logic) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    picPal_ = new PalettePicture(logic_, kCell, this);
    picPal_->move(kCell, kTopMargin);
    setFixedSize(picPal_->x() + picPal_->width() + 1, kTopMargin + picPal_->height() + kCell);
    connect(picPal_, &PalettePicture::changed, this, qOverload<>(&QWidget::update));
    connect(picPal_, &PalettePicture::chosen, this, &frmPalette::closeOK);
    logic_.Load();
    setHelpContext(logic_.WildMode ? 290009 : 290012);
}

void frmPalette::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    if (!logic_.Palette) {
        QMetaObject::invokeMethod(this, &frmPalette::closeCancel, Qt::QueuedConnection);
        return;
    }
    picPal_->setFocus(Qt::OtherFocusReason);
}

void frmPalette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const int16_t cur = logic_.Current();
    const int curCol = cur >= 0 ? cur % PaletteLogic::kCols : -1;
    const int curRow = cur >= 0 ? cur / PaletteLogic::kCols : -1;
    const int c = picPal_->cell();
    for (int col = 0; col < PaletteLogic::kCols; ++col) {
        p.setPen(col == curCol ? kMarkColor : kLabelColor);
        p.drawText(QRect(picPal_->x() + col * c, picPal_->geometry().bottom() + 1, c, c), Qt::AlignCenter,
                   QString(QChar('A' + col)));
    }
    for (int row = 0; row <= (logic_.Last()) / PaletteLogic::kCols; ++row) {
        p.setPen(row == curRow ? kMarkColor : kLabelColor);
        p.drawText(QRect(0, picPal_->y() + (row + 1) * c, c, c), Qt::AlignCenter, QString(QChar('0' + row)));
    }
}

void frmPalette::mousePressEvent(QMouseEvent*) { closeCancel(); }

void frmPalette::formKeyDown(int& keyCode, int) {
    switch (logic_.KeyDown(keyCode)) {
    case PaletteLogic::KeyOutcome::Ignored: return;
    case PaletteLogic::KeyOutcome::Handled: update(); break;
    case PaletteLogic::KeyOutcome::Chosen: closeOK(); break;
    case PaletteLogic::KeyOutcome::Closed: closeCancel(); break;
    }
    keyCode = 0;
}
