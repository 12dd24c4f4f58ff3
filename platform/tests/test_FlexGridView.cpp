// The grid widget: what the view adds to the cells (sizes in twips,
// scrolling, deferred drawing, mouse and keys) and a picture of a sample
// dialog for a person to look at.
#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "DialogBase.h"
#include "FlexGrid.h"
#include "Fonts.h"
#include "KeyCodes.h"
#include "TestSupport.h"

using namespace plat;

namespace {

// A sample the way the thing grid shows a style: a filled square with a rim.
QImage samplePicture(int w, int h, QColor fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.setBrush(fill);
    p.drawRect(4, 3, w - 9, h - 7);
    return img;
}

} // namespace

TEST(FlexGridView, SampleDialogPicture) {
    DialogBase dlg;
    dlg.setWindowTitle(QStringLiteral("地図記号"));
    auto* grid = new FlexGrid(&dlg);
    grid->setFont(QFont(ResolveFontFamily(QStringLiteral("ＭＳ ゴシック")), 9));
    grid->setFormatString(QStringLiteral("^+|<事象名|^図形種|^表示|^可視縮尺範囲|^図式(凡例)|^No|^select"));
    grid->setColWidth(1, 2400);
    grid->setColWidth(4, 1800);
    grid->setColWidth(5, 1500);
    grid->setColWidth(6, 0);
    grid->setColWidth(7, 0);
    grid->setRows(1);
    grid->setRedraw(false);
    struct Thing { const char* name; const char* kind; const char* show; QColor colour; };
    const Thing things[] = {{"海岸線", "連続線", "表示", Qt::blue}, {"湖沼", "多辺形", "依存", QColor(120, 180, 255)},
                            {"首都", "点記号", "隠蔽", Qt::red}};
    for (int cat = 1; cat <= 2; ++cat) {
        grid->AddItem(QStringLiteral("-\t%1\t\t\t\t\t%2\tcategory").arg(cat == 1 ? QStringLiteral("自然") : QStringLiteral("都市")).arg(cat));
        const int r = grid->Rows() - 1;
        grid->setRowHeight(r, 240);
        grid->select(r, 0, r, 7);
        grid->setFillStyle(flexFillRepeat);
        grid->setCellBackColor(0x80000003);
        grid->setCellForeColor(0x80000013);
        grid->setCellFontBold(true);
        grid->setCellAlignment(flexAlignCenterCenter);
        grid->setFillStyle(flexFillSingle);
        for (const Thing& t : things) {
            grid->AddItem(QStringLiteral("\t%1\t%2\t%3\t1千万～10万\t\t%4\toff")
                              .arg(QString::fromUtf8(t.name), QString::fromUtf8(t.kind), QString::fromUtf8(t.show))
                              .arg(grid->Rows()));
            const int tr = grid->Rows() - 1;
            grid->setRowHeight(tr, 400);
            grid->setRow(tr);
            grid->setCol(5);
            grid->setCellPicture(samplePicture(100, 26, t.colour));
            grid->setCol(3);
            grid->setCellForeColor(t.colour.red() | t.colour.green() << 8 | t.colour.blue() << 16);
        }
    }
    grid->setFixedRows(1);
    grid->setRowHeight(0, 240);
    grid->select(3, 1, 5, 5);
    grid->setRedraw(true);

    auto* ok = new QPushButton(QStringLiteral("ＯＫ"), &dlg);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), &dlg);
    auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"), &dlg);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* lay = new QVBoxLayout(&dlg);
    lay->addWidget(new QLabel(QStringLiteral("事象リスト(&L):"), &dlg));
    lay->addWidget(grid);
    lay->addLayout(buttons);
    dlg.resize(640, 330);
    const QString path = testsupport::SaveWidgetPng(&dlg);
    QImage shot(path);
    ASSERT_FALSE(shot.isNull());
    // The selection colour covers the selected cells, the category colour
    // the category rows outside it.
    const QPoint selected = grid->mapTo(&dlg, QPoint(grid->ColPos(2) / 15 + 5, grid->RowPos(4) / 15 + 5));
    EXPECT_EQ(shot.pixelColor(selected), QColor(0, 120, 215));
    const QPoint category = grid->mapTo(&dlg, QPoint(grid->ColPos(2) / 15 + 5, grid->RowPos(1) / 15 + 3));
    EXPECT_EQ(shot.pixelColor(category), QColor(191, 205, 219));
}
