#include "frmImageSize.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

#include "PublicVal.h"
#include "basFileNames.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsCanvas.h"

namespace {

int16_t gKeptUnit = MapSizeLogic::Dots;

MapSizeLogic::PrinterDpiSource& printerDpiSource() {
    static MapSizeLogic::PrinterDpiSource source = [] { return QPrinter(QPrinter::HighResolution).resolution(); };
    return source;
}

// A tenth (inches) or a whole millimetre, truncated or rounded up.
int64_t divide(int64_t a, int64_t b, bool roundUp) { return roundUp ? (a + b - 1) / b : a / b; }

QString range(const QString& low, const QString& high) { return low + QStringLiteral("～") + high; }

// A row of a size frame: the label that names the field, the field, and
// the unit after it when there is one (else the field takes its place).
template <class Field>
Field* addRow(QGridLayout* grid, int row, const QString& label, Field* field, const QString& unit = QString()) {
    auto* name = new QLabel(label, field->parentWidget());
    name->setBuddy(field);
    grid->addWidget(name, row, 0);
    grid->addWidget(field, row, 1, 1, unit.isEmpty() ? 2 : 1);
    if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, field->parentWidget()), row, 2);
    return field;
}

} // namespace

plat::DialogPosition& MapSizeLogic::Remembered() {
    static plat::DialogPosition position;
    return position;
}

MapSizeLogic::PrinterDpiSource MapSizeLogic::SetPrinterDpiSource(PrinterDpiSource source) {
    return std::exchange(printerDpiSource(), std::move(source));
}

void MapSizeLogic::Load() {
    OK = false;
    unit_ = gKeptUnit;
    if (!Canvas) return;
    synchro_ = Canvas->Synchro();
    dpi_ = Canvas->Dpi();
    canvas_ = {Canvas->CanvasWidth(), Canvas->CanvasHeight()};
    view_ = {Canvas->ViewWidth(), Canvas->ViewHeight()};
}

void MapSizeLogic::SetUnit(int16_t unit) {
    unit_ = InRange(unit, Dots, Millimetres) ? unit : int16_t{Dots};
    gKeptUnit = unit_;
}

QString MapSizeLogic::ToText(int32_t dots, bool roundUp) const {
    const int64_t d = dots, dpi = dpi_ > 0 ? dpi_ : 96;
    switch (unit_) {
    case Inches: {
        const int64_t tenths = divide(d * 10, dpi, roundUp);
        const QString whole = QString::number(tenths / 10);
        return tenths % 10 == 0 ? whole : whole + QLatin1Char('.') + QString::number(tenths % 10);
    }
    case Millimetres: return QString::number(roundUp ? divide(d * 254, dpi * 10, true) : d * 254 / dpi / 10);
    default: return QString::number(dots);
    }
}

int32_t MapSizeLogic::FromText(const QString& text) const {
    double v = 0;
    try {
        v = JstrToDouble(text);
    } catch (...) {
        v = 0;
    }
    if (unit_ == Inches) v *= dpi_;
    else if (unit_ == Millimetres) v = dpi_ * v / 25.4;
    return std::isfinite(v) ? SafeCLng(v) : 0;
}

bool MapSizeLogic::SetDpiText(const QString& text) {
    const QString t = text.trimmed().toLower();
    int32_t dpi = 0;
    if (t == QLatin1String("screen")) {
        dpi = gvScreenDPI;
    } else if (t == QLatin1String("printer")) {
        const int32_t printer = printerDpiSource() ? printerDpiSource()() : 0;
        const int32_t twipsPerDot = printer > 0 ? SafeCLng(1440.0 / printer) : 0;
        dpi = twipsPerDot > 0 ? 1440 / twipsPerDot : 0;
    } else {
        dpi = JstrToLong(text);
    }
    if (dpi == 0) dpi = gvScreenDPI;
    if (!InRange(dpi, kMinDpi, kMaxDpi)) {
        MsgOutOfRange(range(QString::number(kMinDpi), QString::number(kMaxDpi)));
        return false;
    }
    dpi_ = dpi;
    return true;
}

bool MapSizeLogic::SetCanvasText(int index, const QString& text) {
    const int32_t dots = FromText(text);
    const int32_t most = GetMaxImageSize();
    if (!InRange(dots, kMinSide, most)) {
        MsgOutOfRange(range(ToText(kMinSide, true), ToText(most)));
        return false;
    }
    canvas_[size_t(index & 1)] = dots;
    return true;
}

bool MapSizeLogic::SetViewText(int index, const QString& text) {
    const int32_t pixels = JstrToLong(text);
    const int32_t most = !Canvas ? kMinSide : (index == 0 ? Canvas->ViewMaxWidth() : Canvas->ViewMaxHeight());
    if (!InRange(pixels, kMinSide, most)) {
        MsgOutOfRange(range(QString::number(kMinSide), QString::number(most)));
        return false;
    }
    view_[size_t(index & 1)] = pixels;
    return true;
}

void MapSizeLogic::Apply() {
    if (Canvas) {
        Canvas->setSynchro(synchro_);
        Canvas->setDpi(dpi_);
        Canvas->setViewWidth(view_[0]);
        Canvas->setViewHeight(view_[1]);
        if (!synchro_) {
            Canvas->setCanvasWidth(canvas_[0]);
            Canvas->setCanvasHeight(canvas_[1]);
        }
    }
    OK = true;
}

// -- the window

frmMapSize::frmMapSize(MapSizeLogic& logic, QWidget* parent)
    : plat::DialogBase(parent, &MapSizeLogic::Remembered()), logic_(logic) {
    setWindowTitle(QStringLiteral("画像サイズ"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setHelpContext(230010);
    setEnterPolicy(plat::EnterPolicy::MoveToOK);

    chkSynchro_ = new QCheckBox(QStringLiteral("キャンバスを地図ビューに一致させる(&V)"), this);
    chkSynchro_->setToolTip(QStringLiteral("キャンバスのサイズを常に地図ビューに一致させる"));

    auto* fraViewSize = new QGroupBox(QStringLiteral("地図ビュー"), this);
    auto* viewGrid = new QGridLayout(fraViewSize);
    fraCanvasSize_ = new QGroupBox(QStringLiteral("キャンバス"), this);
    auto* canvasGrid = new QGridLayout(fraCanvasSize_);
    const QString viewLabels[] = {QStringLiteral("幅(&X):"), QStringLiteral("高さ(&Y):")};
    const QString canvasLabels[] = {QStringLiteral("幅(&W):"), QStringLiteral("高さ(&T):")};
    for (int i = 0; i < 2; ++i) {
        txtViewSize_[size_t(i)] = addRow(viewGrid, i, viewLabels[i], new QLineEdit(fraViewSize), QStringLiteral("ピクセル"));
        txtCanvasSize_[size_t(i)] = addRow(canvasGrid, i, canvasLabels[i], new QLineEdit(fraCanvasSize_));
    }
    choUnit_ = addRow(canvasGrid, 2, QStringLiteral("単位(&U):"), new QComboBox(fraCanvasSize_));
    choUnit_->addItems({QStringLiteral("ドット"), QStringLiteral("インチ"), QStringLiteral("mm")});
    txtDPI_ = addRow(canvasGrid, 3, QStringLiteral("ドットピッチ(&R):"), new QLineEdit(fraCanvasSize_), QStringLiteral("DPI"));

    cmdOK_ = new QPushButton(QStringLiteral("ＯＫ"), this);
    cmdCancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    auto* cmdHelp = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
    setOkButton(cmdOK_);
    exemptFromChecks(cmdCancel_);
    setHelpButton(cmdHelp);

    auto* sizes = new QHBoxLayout;
    sizes->addWidget(fraViewSize);
    sizes->addWidget(fraCanvasSize_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    buttons->addWidget(cmdHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkSynchro_);
    layout->addLayout(sizes);
    layout->addLayout(buttons);

    logic_.Load();
    toControl();

    for (int i = 0; i < 2; ++i) {
        addFieldCheck(txtViewSize_[size_t(i)], [this, i] { return checked(logic_.SetViewText(i, txtViewSize_[size_t(i)]->text())); });
        addFieldCheck(txtCanvasSize_[size_t(i)],
                      [this, i] { return checked(logic_.SetCanvasText(i, txtCanvasSize_[size_t(i)]->text())); });
    }
    addFieldCheck(txtDPI_, [this] { return checked(logic_.SetDpiText(txtDPI_->text())); });
    connect(chkSynchro_, &QCheckBox::clicked, this, [this](bool on) {
        logic_.SetSynchro(on);
        toControl();
    });
    connect(choUnit_, &QComboBox::activated, this, [this](int index) {
        logic_.SetUnit(static_cast<int16_t>(index));
        toControl();
    });
    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        logic_.Apply();
        closeOK();
    });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] {
        logic_.OK = false;
        closeCancel();
    });
}

bool frmMapSize::checked(bool ok) {
    toControl();
    return ok;
}

void frmMapSize::toControl() {
    if (refreshing_) return;
    refreshing_ = true;
    const bool editable = !logic_.Synchro();
    chkSynchro_->setChecked(logic_.Synchro());
    fraCanvasSize_->setEnabled(editable);
    choUnit_->setCurrentIndex(logic_.UnitIndex());
    txtDPI_->setText(QString::number(logic_.Dpi()));
    for (int i = 0; i < 2; ++i) {
        txtCanvasSize_[size_t(i)]->setText(logic_.ToText(logic_.CanvasSide(i)));
        txtViewSize_[size_t(i)]->setText(QString::number(logic_.ViewSide(i)));
    }
    refreshing_ = false;
}
