#include "frmFigText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "Bitmap.h"
#include "FigureDialogUi.h"
#include "Fonts.h"
#include "RasterDC.h"
#include "Screen.h"
#include "clsMapGraph.h"

namespace {

int Px(int32_t twips) { return static_cast<int>(std::lround(twips / plat::TwipsPerPixelX())); }
int Py(int32_t twips) { return static_cast<int>(std::lround(twips / plat::TwipsPerPixelY())); }

// Left edges of the option buttons of columns 0..4 and top edges of rows
// 0..4 (twips, inside the frame); each button is 180 twips square.
constexpr int32_t kFixLeft[5] = {150, 450, 1350, 2250, 2550};
constexpr int32_t kFixTop[5] = {270, 570, 930, 1290, 1590};

// The indicator's face: Courier New, 15.75 points, bold.
const QString kIndicatorFace = QStringLiteral("Courier New");
constexpr int32_t kIndicatorPoints = 16;

} // namespace

// -- the placement picture

TextFixPicture::TextFixPicture(QWidget* parent) : QGroupBox(parent) {
    setTitle(QStringLiteral("固定位置(&F)"));
    setToolTip(QStringLiteral("座標に対する文字イメージの配置"));
    setFixedSize(Px(2820), Py(1920));
    group = new QButtonGroup(this);
    for (int32_t i = 0; i < FigTextLogic::kFixCount; ++i) {
        auto* b = new QRadioButton(this);
        b->setGeometry(Px(kFixLeft[i % 5]), Py(kFixTop[i / 5]), Px(180), Py(180));
        group->addButton(b, i);
        optFix[i] = b;
    }
}

void TextFixPicture::paintEvent(QPaintEvent* e) {
    QGroupBox::paintEvent(e);
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Mid), 1));
    p.drawRect(QRect(QPoint(Px(240), Py(360)), QPoint(Px(2655), Py(1695))));
    for (int32_t x : {540, 1440, 2340}) p.drawLine(Px(x), Py(360), Px(x), Py(1560));
    for (int32_t y : {660, 1020, 1380}) p.drawLine(Px(240), Py(y), Px(2640), Py(y));
    QFont font(plat::ResolveFontFamily(QStringLiteral("Times New Roman")));
    font.setPointSize(48);
    font.setBold(true);
    p.setFont(font);
    p.setPen(palette().color(QPalette::WindowText));
    // The buttons of the text's ends and centre stand inside the word: its
    // halves go between them, each narrowed as far as its gap needs, so no
    // button hides a letter.
    const QFontMetricsF fm(font, this);
    const QRectF box(QPointF(Px(540), Py(465)), QPointF(Px(2355), Py(1365)));
    const qreal baseline = box.center().y() + (fm.ascent() - fm.descent()) / 2;
    const QRect end1 = optFix[6]->geometry(), centre = optFix[7]->geometry(), end3 = optFix[8]->geometry();
    const auto half = [&](const QString& text, qreal from, qreal to, bool towardCentre) {
        const QRectF ink = fm.tightBoundingRect(text);
        const qreal room = to - from - 2;   // a pixel clear of each button
        if (room <= 0 || ink.width() <= 0) return;
        const qreal scale = std::min<qreal>(1, room / ink.width());
        const qreal left = towardCentre ? to - 1 - ink.right() * scale : from + 1 - ink.left() * scale;
        p.save();
        p.translate(left, baseline);
        p.scale(scale, 1);
        p.drawText(QPointF(0, 0), text);
        p.restore();
    };
    const QString word = QStringLiteral("Nile");
    const qsizetype split = word.size() / 2;
    half(word.left(split), end1.right() + 1, centre.left(), true);
    half(word.mid(split), centre.right() + 1, end3.left(), false);
}

// -- the angle indicator

AngleIndicator::AngleIndicator(QWidget* parent) : QWidget(parent) {
    setFixedSize(Px(1500), Py(1500));
    setToolTip(QStringLiteral("角度インジケータ"));
    setAngle(0);
}

void AngleIndicator::setAngle(int32_t angle) {
    const plat::HBITMAP surface = plat::Bitmap::Create(width(), height(), 32);
    if (!surface) return;
    {
        // A layer of its own: the map's may hold the settings of a plot.
        static clsMapGraph graph;
        plat::RasterDC dc(surface);
        if (graph.GraphBegin(&dc, 0, 0, width(), height())) {
            graph.SetFont(kIndicatorFace, kIndicatorPoints, angle, clsMapGraph::FS_BOLD, 0x000000, -1);
            graph.DrawText(width() / 2, height() / 2, 12, QStringLiteral("ANGLE"));
            graph.GraphEnd();
        }
    }
    image_ = surface->image().copy();
    update();
}

void AngleIndicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// -- the window

frmFigText::frmFigText(FigureDialogVars& vars, QWidget* parent)
    : frmFigPoint(vars, std::make_unique<FigTextLogic>(vars), QStringLiteral("frmFigText"), parent) {
    handle(QStringLiteral("Form_Load"), [this] {
        auto* grid = new QGridLayout(this);
        auto* left = new QGridLayout;
        left->addWidget(buildNames(), 0, 0, 1, 2);
        left->addWidget(buildAnchorFrame(QStringLiteral("文字列の地図座標")), 1, 0, 1, 2);
        buildAttributeRows(left, 2);
        left->setRowStretch(7, 1);
        grid->addLayout(left, 0, 0);
        auto* right = new QVBoxLayout;
        right->addWidget(buildFix());
        right->addWidget(buildAngle());
        right->addWidget(buildPair());
        right->addStretch(1);
        grid->addLayout(right, 0, 1);
        buildButtons(grid, 1, FigTextLogic::kHelpContext);

        FigTextLogic& l = logic();
        loaded_ = l.Load();
        if (!loaded_) return;
        loadPoint();
        FillCombo(choThingSymbol, l.PairThingChoices());
        chkSymbol->setChecked(l.PairOn());
        txtEuropian->setText(l.EuropianText());
        txtJapanese->setText(l.JapaneseText());
        fraFixPicture->optFix[l.Fix()]->setChecked(true);
        showAngle();
    });
}

QWidget* frmFigText::buildNames() {
    auto* fraName = new QGroupBox(QStringLiteral("地名"));
    auto* g = new QGridLayout(fraName);
    txtEuropian = new QLineEdit;
    QFont courier(plat::ResolveFontFamily(QStringLiteral("Courier New")));
    courier.setPointSize(9);
    txtEuropian->setFont(courier);
    txtEuropian->setToolTip(QStringLiteral("欧州語モードの地名"));
    txtJapanese = new QLineEdit;
    txtJapanese->setToolTip(QStringLiteral("日本語モードの地名"));
    AddFormRow(g, 0, QStringLiteral("欧州語(&E):"), txtEuropian);
    AddFormRow(g, 1, QStringLiteral("日本語(&J):"), txtJapanese);
    cmdEpaste = new QPushButton(QStringLiteral("欧貼付(&O)"));
    cmdEpaste->setToolTip(QStringLiteral("欧州語地名をクリップボードから貼り付け(地名・座標ともに複数なら順次代入)"));
    cmdJpaste = new QPushButton(QStringLiteral("日貼付(&W)"));
    cmdJpaste->setToolTip(QStringLiteral("日本語地名をクリップボードから貼り付け(地名・座標ともに複数なら順次代入)"));
    g->addWidget(cmdEpaste, 0, 2);
    g->addWidget(cmdJpaste, 1, 2);

    addFieldCheck(txtEuropian, [this] {
        handle(QStringLiteral("txtEuropian_Validate"), [this] {
            if (txtEuropian->text() == logic().EuropianText()) return;
            logic().CommitEuropian(txtEuropian->text());
            txtEuropian->setText(logic().EuropianText());
        });
        return true;
    });
    addFieldCheck(txtJapanese, [this] {
        handle(QStringLiteral("txtJapanese_Validate"), [this] { logic().CommitJapanese(txtJapanese->text()); });
        return true;
    });
    for (QPushButton* b : {cmdEpaste, cmdJpaste}) {
        connect(b, &QPushButton::clicked, this, [this, b] {
            const bool european = b == cmdEpaste;
            handle(european ? QStringLiteral("cmdEpaste_Click") : QStringLiteral("cmdJpaste_Click"), [&] {
                if (!logic().NamePasteClick(european ? 1 : 2)) return;
                if (european) txtEuropian->setText(logic().EuropianText());
                else txtJapanese->setText(logic().JapaneseText());
            });
        });
    }
    return fraName;
}

QWidget* frmFigText::buildFix() {
    fraFixPicture = new TextFixPicture;
    connect(fraFixPicture->group, &QButtonGroup::idClicked, this, [this](int id) {
        handle(QStringLiteral("optFix_Click"), [&] { logic().FixClick(id); });
    });
    return fraFixPicture;
}

QWidget* frmFigText::buildAngle() {
    auto* fraAngle = new QGroupBox(QStringLiteral("角度(G)"));
    fraAngle->setToolTip(QStringLiteral("ベースラインの角度"));
    auto* g = new QGridLayout(fraAngle);
    sliAngle = new QSlider(Qt::Horizontal);
    sliAngle->setRange(-180, 180);
    sliAngle->setToolTip(QStringLiteral("ベースラインの角度"));
    txtAngle = new QLineEdit;
    txtAngle->setMaximumWidth(Px(900));
    txtAngle->setToolTip(QStringLiteral("ベースラインの角度"));
    picAngle = new AngleIndicator;
    g->addWidget(sliAngle, 0, 0);
    g->addWidget(txtAngle, 1, 0, Qt::AlignLeft | Qt::AlignTop);
    g->addWidget(picAngle, 0, 1, 2, 1);

    addFieldCheck(txtAngle, [this] {
        bool ok = true;
        if (angleBusy_) return ok;
        angleBusy_ = true;
        handle(QStringLiteral("txtAngle_Validate"), [&] { ok = logic().CommitAngle(txtAngle->text()); });
        showAngle();
        angleBusy_ = false;
        return ok;
    });
    connect(sliAngle, &QSlider::valueChanged, this, [this](int value) {
        if (angleBusy_) return;
        angleBusy_ = true;
        handle(QStringLiteral("sliAngle_Scroll"), [&] { logic().SliderScroll(value); });
        showAngle();
        angleBusy_ = false;
    });
    return fraAngle;
}

QWidget* frmFigText::buildPair() {
    auto* fraSymbol = new QGroupBox(QStringLiteral("ファミリを構成する点記号図形"));
    auto* g = new QGridLayout(fraSymbol);
    chkSymbol = new QCheckBox(QStringLiteral("生成(&B)"));
    chkSymbol->setToolTip(QStringLiteral("同じ座標に点記号図形をペアで生成する"));
    choThingSymbol = new QComboBox;
    choThingSymbol->setToolTip(QStringLiteral("点記号の事象名"));
    g->addWidget(chkSymbol, 0, 0, 1, 2);
    AddFormRow(g, 1, QStringLiteral("点記号の事象名(&U):"), choThingSymbol);
    connect(chkSymbol, &QCheckBox::toggled, this, [this](bool on) { logic().setPairOn(on); });
    connect(choThingSymbol, &QComboBox::activated, this, [this] {
        handle(QStringLiteral("choThingSymbol_Click"), [this] {
            logic().PairThingClick(choThingSymbol->currentText());
            chkSymbol->setChecked(logic().PairOn());
        });
    });
    return fraSymbol;
}

void frmFigText::showAngle() {
    const QSignalBlocker quiet(sliAngle);
    txtAngle->setText(logic().AngleText());
    sliAngle->setValue(logic().Angle());
    picAngle->setAngle(logic().Angle());
}

bool frmFigText::commitFields() {
    for (QWidget* field : {static_cast<QWidget*>(txtEuropian), static_cast<QWidget*>(txtJapanese),
                           static_cast<QWidget*>(txtAngle)})
        if (!checkField(field)) return false;
    logic().setPairThingName(choThingSymbol->currentText());
    return true;
}

void RunFigText(FigureDialogVars& vars) {
    frmFigText dlg(vars);
    if (dlg.loaded()) dlg.showModal();
    dlg.logic().Unload();
}
