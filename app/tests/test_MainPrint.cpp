// Printing from the File menu: the physical size, the cut questions, the
// copies and the failure roads with a fake printer; the world map printed
// to a PDF file and read back as a picture.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "AppError.h"
#include "MainLogicTestSupport.h"
#include "MainPrint.h"
#include "MessageBox.h"
#include "RasterDC.h"
#include "basFileNames.h"
#include "clsCanvas.h"

namespace {

using apptest::MainLogic;

// A printer of 600 dpi with a printable area of 8 x 10 inches.
class FakePrinter : public PrinterPort {
public:
    bool ShowDialog(int16_t& c) override {
        if (dialogFails) throw plat::AppError(plat::ErrDeviceIO, QStringLiteral("dialog"), QStringLiteral("x"));
        c = copies;
        return !cancel;
    }
    int32_t DpiX() const override { return 600; }
    int32_t DpiY() const override { return 600; }
    int32_t PrintableWidth() const override { return 4800; }
    int32_t PrintableHeight() const override { return 6000; }
    QString DeviceName() const override { return QStringLiteral("FAKE"); }
    plat::HDC StartDoc() override {
        calls.push_back("start");
        return &dc;
    }
    void NewPage() override {
        calls.push_back("page");
        if (pageFails) throw plat::AppError(57, QStringLiteral("Printer"), QStringLiteral("紙詰まり"));
    }
    void EndDoc() override { calls.push_back("end"); }
    void KillDoc() override { calls.push_back("kill"); }

    int16_t copies = 1;
    bool cancel = false, dialogFails = false, pageFails = false;
    std::vector<std::string> calls;
    plat::RasterDC dc{plat::Bitmap::Create(4, 4, 32), 96};
};

class Printing : public MainLogic {
protected:
    Printing() {
        QFile::remove(GetLogPrint());
        logic_.Plotter = [this](plat::HDC hdc, int32_t dx, int32_t dy, int32_t w, int32_t h,
                                const std::function<void(int16_t)>&) {
            if (hdc == &printer_.dc) plots_.push_back({dx, dy, w, h, view_.last.Panels[0]});
            return plotResult_;
        };
    }
    // The canvas of w x h dots at dpi.
    static void canvas(int32_t w, int32_t h, int32_t dpi) {
        gvCanvas->setDpi(dpi);
        gvCanvas->setCanvasWidth(w);
        gvCanvas->setCanvasHeight(h);
    }
    struct Plot {
        int32_t dpiX, dpiY, w, h;
        QString status;
    };

    FakePrinter printer_;
    std::vector<Plot> plots_;
    int16_t plotResult_ = 0;
};

TEST(PrintSizeTest, TheMapKeepsItsPhysicalSize) {
    EXPECT_EQ(PhysicalPrintSize(1000, 500, 100, 600, 300), (PrintSize{6000, 1500})) << "10 x 5 inches";
    EXPECT_EQ(PhysicalPrintSize(1000, 500, 100, 100, 100), (PrintSize{1000, 500}));
    EXPECT_EQ(PhysicalPrintSize(100, 100, 96, 300, 300), (PrintSize{312, 312})) << "truncated";
    EXPECT_EQ(PhysicalPrintSize(2000000, 1, 96, 2400, 2400), (PrintSize{50000000, 25})) << "no 32-bit overflow inside";
    EXPECT_THROW(PhysicalPrintSize(1, 1, 0, 600, 600), plat::AppError);
}

TEST_F(Printing, ASmallMapPrintsEveryCopyAfreshWithoutAQuestion) {
    canvas(480, 300, 96);   // 5 x 3.125 inches
    printer_.copies = 3;
    plat::ScriptedMessageBox boxes;
    EXPECT_EQ(PrintMap(logic_, printer_), PrintResult::Done);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(printer_.calls, (std::vector<std::string>{"start", "page", "page", "end"}));
    ASSERT_EQ(plots_.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plots_[i].w, 3000);
        EXPECT_EQ(plots_[i].h, 1875);
        EXPECT_EQ(plots_[i].dpiX, 600);
        EXPECT_EQ(plots_[i].status, QStringLiteral("ページ %1 を印刷中 -> FAKE").arg(i + 1));
    }
    EXPECT_TRUE(QFile::exists(GetLogPrint()));
    EXPECT_EQ(view_.last.Panels[0], QStringLiteral("プリンタへの出力を完了しました."));
}

TEST_F(Printing, CutQuestions) {
    struct Case {
        const char* what;
        int32_t w, h;                 // canvas at 100 dpi
        std::vector<int> answers;     // to the questions in order
        PrintResult result;
        int32_t printedW, printedH;
    } cases[] = {
        {"wide, refused: no height question", 1000, 2000, {plat::IdNo}, PrintResult::CutRefused, 0, 0},
        {"wide, cut", 1000, 500, {plat::IdYes}, PrintResult::Done, 4800, 3000},
        {"wide and tall, height refused", 1000, 2000, {plat::IdYes, plat::IdNo}, PrintResult::CutRefused, 0, 0},
        {"tall, cut", 500, 2000, {plat::IdYes}, PrintResult::Done, 3000, 6000},
        {"exactly the printable area", 800, 1000, {}, PrintResult::Done, 4800, 6000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        canvas(c.w, c.h, 100);
        printer_.calls.clear();
        plots_.clear();
        plat::ScriptedMessageBox boxes;
        const char* questions[] = {"左右をカット", "上下をカット"};
        size_t q = c.w * 6 > 4800 ? 0 : 1;
        for (const int answer : c.answers) boxes.expect(QString::fromUtf8(questions[q++]), answer);
        EXPECT_EQ(PrintMap(logic_, printer_), c.result);
        EXPECT_TRUE(boxes.unexpected().empty());
        EXPECT_EQ(boxes.pending(), 0u);
        if (c.result == PrintResult::CutRefused) {
            EXPECT_TRUE(printer_.calls.empty()) << "nothing reaches the printer";
            continue;
        }
        ASSERT_EQ(plots_.size(), 1u);
        EXPECT_EQ(plots_[0].w, c.printedW);
        EXPECT_EQ(plots_[0].h, c.printedH);
    }
}

TEST_F(Printing, FailuresLeaveNoSnapshot) {
    canvas(200, 200, 96);
    {
        SCOPED_TRACE("dialog cancelled, dialog failing");
        printer_.cancel = true;
        EXPECT_EQ(PrintMap(logic_, printer_), PrintResult::Cancelled);
        printer_.cancel = false;
        printer_.dialogFails = true;
        EXPECT_EQ(PrintMap(logic_, printer_), PrintResult::Cancelled);
        printer_.dialogFails = false;
        EXPECT_EQ(view_.last.Panels[0], QStringLiteral("印刷はキャンセルされました."));
        EXPECT_TRUE(printer_.calls.empty());
    }
    {
        SCOPED_TRACE("the plot is cancelled");
        plotResult_ = 1;
        printer_.copies = 2;
        plat::ScriptedMessageBox boxes;
        boxes.expect(QStringLiteral("印刷は中断されました."), plat::IdOk);
        EXPECT_EQ(PrintMap(logic_, printer_), PrintResult::Interrupted);
        EXPECT_EQ(printer_.calls, (std::vector<std::string>{"start", "kill"}));
        EXPECT_EQ(plots_.size(), 1u);
        EXPECT_TRUE(boxes.unexpected().empty());
        plotResult_ = 0;
    }
    {
        SCOPED_TRACE("the printer fails");
        printer_.calls.clear();
        printer_.pageFails = true;
        plat::ScriptedMessageBox boxes;
        boxes.expect(QStringLiteral("プリンタで問題が発生しました.\r\n57:紙詰まり"), plat::IdOk);
        EXPECT_EQ(PrintMap(logic_, printer_), PrintResult::Failed);
        EXPECT_EQ(printer_.calls, (std::vector<std::string>{"start", "page", "kill"}));
        EXPECT_TRUE(boxes.unexpected().empty());
        ASSERT_FALSE(boxes.shown().empty());
        EXPECT_EQ(boxes.shown()[0].icon(), int(plat::MbCritical));
        EXPECT_EQ(view_.last.Panels[0], QString()) << "status cleared";
    }
    EXPECT_FALSE(QFile::exists(GetLogPrint()));
}

TEST_F(MainLogic, TheWorldMapPrintsToPdfAtItsPhysicalSize) {
    for (const char* n : {"WORLD_T3.MLL", "WORLD_T3.ADM", "WORLD_T3.THG"}) folder_.CopyMap(QString::fromLatin1(n));
    auto world = std::make_shared<clsMapUnit>();
    world->setUnitName(folder_.map(QStringLiteral("WORLD_T3.MLL")));
    ASSERT_TRUE(world->Load());
    gvMapUnitsLL->Add(world);
    logic_.Plotter = [](plat::HDC hdc, int32_t dx, int32_t dy, int32_t w, int32_t h,
                        const std::function<void(int16_t)>& progress) { return ::PlotMap(hdc, dx, dy, w, h, progress); };
    gvMapPlotLL->setCenterX(0);
    gvMapPlotLL->setCenterY(0);
    gvMapPlotLL->setMapScale(2.4e8);
    gvCanvas->setDpi(96);
    gvCanvas->setCanvasWidth(576);   // 6 x 4 inches
    gvCanvas->setCanvasHeight(384);

    const QString pdf = folder_.file(QStringLiteral("print.pdf"));
    QtPrinterPort printer(nullptr, [&](QPrinter& p, int16_t& copies) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        p.setResolution(300);
        p.setPageSize(QPageSize(QPageSize::A4));
        p.setPageOrientation(QPageLayout::Landscape);
        p.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        copies = 2;
        return true;
    });
    ASSERT_EQ(PrintMap(logic_, printer), PrintResult::Done);
    ASSERT_GT(QFileInfo(pdf).size(), 1000);
    const QString kept = qEnvironmentVariable("KALDERO_KEEP_PRINT");
    if (!kept.isEmpty()) QFile::copy(pdf, kept);

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm is not installed";
    QProcess p;
    p.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), pdf,
                       folder_.file(QStringLiteral("page"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    for (const char* name : {"page-1.png", "page-2.png"}) {
        SCOPED_TRACE(name);
        const QImage page(folder_.file(QString::fromLatin1(name)));
        ASSERT_FALSE(page.isNull());
        // The inked box: the map's 6 x 4 inches at 50 dpi, from the margin.
        int left = page.width(), right = -1, top = page.height(), bottom = -1;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 250) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, 0) << "a blank page";
        EXPECT_NEAR(right - left + 1, 300, 4);
        EXPECT_NEAR(bottom - top + 1, 200, 4);
        EXPECT_NEAR(left, 20, 3) << "10 mm margin";
    }
    EXPECT_FALSE(QFile::exists(folder_.file(QStringLiteral("page-3.png")))) << "two copies, two pages";
}

} // namespace
