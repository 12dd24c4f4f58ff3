// Printing from the File menu: the physical size, the cut questions, the
// copies and the failure roads with a fake printer; the world map printed
// to a PDF file and read back as pictures, whole and cut; a document the
// print system refuses; the printer's dialog and the choices it keeps.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QComboBox>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "AppError.h"
#include "DialogPlayer.h"
#include "MainLogicTestSupport.h"
#include "MainPrint.h"
#include "MessageBox.h"
#include "RasterDC.h"
#include "TestSupport.h"
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
        // A cut map is plotted whole: the printer leaves out what lies
        // beyond its printable area (right and bottom).
        {"wide, cut", 1000, 500, {plat::IdYes}, PrintResult::Done, 6000, 3000},
        {"wide and tall, height refused", 1000, 2000, {plat::IdYes, plat::IdNo}, PrintResult::CutRefused, 0, 0},
        {"tall, cut", 500, 2000, {plat::IdYes}, PrintResult::Done, 3000, 12000},
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

// The installed world map in view, plotted by the engine; prints go to a
// PDF file that is read back as pictures.
class WorldPrint : public MainLogic {
protected:
    WorldPrint() {
        for (const char* n : {"WORLD_T3.MLL", "WORLD_T3.ADM", "WORLD_T3.THG"}) folder_.CopyMap(QString::fromLatin1(n));
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(folder_.map(QStringLiteral("WORLD_T3.MLL")));
        EXPECT_TRUE(world->Load());
        gvMapUnitsLL->Add(world);
        logic_.Plotter = [](plat::HDC hdc, int32_t dx, int32_t dy, int32_t w, int32_t h,
                            const std::function<void(int16_t)>& progress) { return ::PlotMap(hdc, dx, dy, w, h, progress); };
        gvMapPlotLL->setCenterX(0);
        gvMapPlotLL->setCenterY(0);
        gvMapPlotLL->setMapScale(2.4e8);
        gvCanvas->setDpi(96);
        gvCanvas->setCanvasWidth(576);   // 6 x 4 inches
        gvCanvas->setCanvasHeight(384);
        QFile::remove(GetLogPrint());
    }
    // A PDF printer of 300 dpi on the paper, with margins of 10 mm; the
    // print system's answer as `check` gives it.
    QtPrinterPort pdfPrinter(QPageSize::PageSizeId paper, int16_t copies, QtPrinterPort::SpoolCheck check = {}) {
        return QtPrinterPort(nullptr, [this, paper, copies](QPrinter& p, int16_t& chosen) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf_);
            p.setResolution(300);
            p.setPageSize(QPageSize(paper));
            p.setPageOrientation(QPageLayout::Landscape);
            p.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
            chosen = copies;
            return true;
        }, std::move(check));
    }
    // The pages of the printed PDF at dpi; empty when pdftoppm is missing.
    std::vector<QImage> pages(int dpi) {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty()) return {};
        QProcess p;
        p.start(pdftoppm, {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pdf_,
                           folder_.file(QStringLiteral("page"))});
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        std::vector<QImage> out;
        for (int n = 1; QFile::exists(folder_.file(QStringLiteral("page-%1.png").arg(n))); ++n)
            out.emplace_back(folder_.file(QStringLiteral("page-%1.png").arg(n)));
        return out;
    }
    const QString pdf_ = folder_.file(QStringLiteral("print.pdf"));
};

TEST_F(WorldPrint, TheWorldMapPrintsAtItsPhysicalSize) {
    QtPrinterPort printer = pdfPrinter(QPageSize::A4, 2);
    ASSERT_EQ(PrintMap(logic_, printer), PrintResult::Done);
    ASSERT_GT(QFileInfo(pdf_).size(), 1000);
    const QString kept = qEnvironmentVariable("KALDERO_KEEP_PRINT");
    if (!kept.isEmpty()) QFile::copy(pdf_, kept);

    const std::vector<QImage> printed = pages(50);
    if (printed.empty()) GTEST_SKIP() << "pdftoppm is not installed";
    ASSERT_EQ(printed.size(), 2u) << "two copies, two pages";
    for (const QImage& page : printed) {
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
}

namespace {

// How unlike two pictures of one size are: the mean difference of grey over
// blocks of 8 x 8 pixels, so that lines drawn at other resolutions compare.
double Unlikeness(const QImage& a, const QImage& b) {
    const int block = 8;
    double sum = 0;
    int n = 0;
    for (int y = 0; y + block <= a.height(); y += block)
        for (int x = 0; x + block <= a.width(); x += block) {
            double ga = 0, gb = 0;
            for (int j = 0; j < block; ++j)
                for (int i = 0; i < block; ++i) ga += qGray(a.pixel(x + i, y + j)), gb += qGray(b.pixel(x + i, y + j));
            sum += std::abs(ga - gb) / (block * block);
            ++n;
        }
    return n ? sum / n : 0;
}

} // namespace

// A map larger than the paper, cut with the user's leave, keeps its scale
// and its top left: the page shows what the view shows from its top left.
TEST_F(WorldPrint, ACutPrintStartsAtTheMapsTopLeft) {
    plat::RasterDC view(plat::Bitmap::Create(576, 384, 32), 96);
    ASSERT_EQ(::PlotMap(&view, 96, 96, 576, 384, {}), 0);

    QtPrinterPort printer = pdfPrinter(QPageSize::A6, 1);   // 128 x 85 mm inside the margins
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("左右をカット"), plat::IdYes).expect(QStringLiteral("上下をカット"), plat::IdYes);
    ASSERT_EQ(PrintMap(logic_, printer), PrintResult::Done);
    const std::vector<QImage> printed = pages(96);
    if (printed.empty()) GTEST_SKIP() << "pdftoppm is not installed";
    ASSERT_EQ(printed.size(), 1u);

    // The printable area at the view's resolution, from the 10 mm margin.
    const QRect printable(38, 38, 128 * 96 * 10 / 254, 85 * 96 * 10 / 254);
    const QImage page = printed[0].copy(printable).convertToFormat(QImage::Format_RGB32);
    const QImage& map = view.image();
    const double topLeft = Unlikeness(page, map.copy(QRect(QPoint(0, 0), printable.size())));
    const QPoint middle((map.width() - printable.width()) / 2, (map.height() - printable.height()) / 2);
    const double centred = Unlikeness(page, map.copy(QRect(middle, printable.size())));
    EXPECT_LT(topLeft * 2, centred) << "top left " << topLeft << ", centred " << centred;
    // Nothing in the margins: the right and bottom parts are left out.
    const QImage& whole = printed[0];
    for (const QRect margin : {QRect(printable.right() + 3, 0, whole.width() - printable.right() - 3, whole.height()),
                               QRect(0, printable.bottom() + 3, whole.width(), whole.height() - printable.bottom() - 3)})
        for (int y = margin.top(); y <= margin.bottom(); ++y)
            for (int x = margin.left(); x <= margin.right(); ++x)
                ASSERT_GE(qGray(whole.pixel(x, y)), 250) << x << "," << y;
}

// The print system refuses the document when it ends: a problem of the
// printer, not a finished print.
TEST_F(WorldPrint, ARefusedDocumentIsReportedAndLeavesNoSnapshot) {
    QtPrinterPort printer = pdfPrinter(QPageSize::A4, 2, [](const QPrinter&) {
        return plat::SpoolAnswer{false, QStringLiteral("Destination \"PDF\" is not accepting jobs.")};
    });
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("プリンタで問題が発生しました.\r\n57:プリンタが印刷ジョブを受け付けませんでした. "
                                "(Destination \"PDF\" is not accepting jobs.)"),
                 plat::IdOk);
    EXPECT_EQ(PrintMap(logic_, printer), PrintResult::Failed);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].icon(), int(plat::MbCritical));
    EXPECT_EQ(view_.last.Panels[0], QString());
    EXPECT_FALSE(QFile::exists(GetLogPrint()));
}

// The next print opens on the printer and the choices of the last one; the
// document carries the program's name.
TEST(QtPrinter, KeepsTheUsersChoicesAndNamesTheDocument) {
    std::vector<QPageLayout> seen;
    std::vector<QString> names;
    int calls = 0;
    QtPrinterPort printer(nullptr, [&](QPrinter& p, int16_t& copies) {
        seen.push_back(p.pageLayout());
        names.push_back(p.docName());
        if (++calls == 1) {
            p.setPageSize(QPageSize(QPageSize::A5));
            p.setPageOrientation(QPageLayout::Landscape);
        }
        copies = 1;
        return false;
    });
    int16_t copies = 0;
    printer.ShowDialog(copies);
    printer.ShowDialog(copies);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].orientation(), QPageLayout::Landscape);
    EXPECT_EQ(seen[1].pageSize().id(), QPageSize::A5);
    EXPECT_EQ(names[0], QStringLiteral("KALDERO"));
    EXPECT_EQ(names[1], QStringLiteral("KALDERO"));
}

// The dialog the program shows: the printer, its properties and the copies;
// no page numbers, selection or file.
TEST(QtPrinter, TheDialogOffersNoPageRangeSelectionOrFile) {
    testsupport::WhenModal<QPrintDialog>([](QPrintDialog& d) {
        // The choices behind "Options" count too, shown or folded away.
        for (QWidget* w : d.findChildren<QWidget*>()) {
            const QString name = w->objectName();
            const bool choice = name == QLatin1String("printRange") || name == QLatin1String("pagesRadioButton") ||
                                name == QLatin1String("pagesLineEdit") || name == QLatin1String("printSelection") ||
                                name == QLatin1String("printCurrentPage") || name == QLatin1String("pageSetCombo") ||
                                name == QLatin1String("filename");
            if (choice) {
                EXPECT_FALSE(w->isVisibleTo(&d)) << name.toStdString();
            }
        }
        if (auto* printers = d.findChild<QComboBox*>(QStringLiteral("printers"))) {
            for (int i = 0; i < printers->count(); ++i)
                EXPECT_FALSE(printers->itemText(i).contains(QStringLiteral("PDF)"))) << printers->itemText(i).toStdString();
        }
        EXPECT_FALSE(d.testOption(QAbstractPrintDialog::PrintToFile));
        d.reject();
    });
    QtPrinterPort printer(nullptr);
    int16_t copies = 0;
    EXPECT_FALSE(printer.ShowDialog(copies));
}

} // namespace
