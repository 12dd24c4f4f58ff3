// The program's print dialog over Qt's: what it offers, and the page it
// opens on. The page needs a printer of the print system (CUPS): without
// one Qt's dialog has no properties to reset.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "DialogPlayer.h"
#include "PrintDialog.h"

using namespace plat;

TEST(PrintDialog, OpensOnThePaperChosenLast) {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "no printer on this machine";
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A5));
    printer.setPageOrientation(QPageLayout::Landscape);
    const auto expectA5Landscape = [&printer] {
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    };
    {
        SCOPED_TRACE("properties untouched");
        PrintDialog dialog(&printer);
        dialog.show();
        dialog.accept();
        expectA5Landscape();
    }
    {
        SCOPED_TRACE("properties opened and taken as shown");
        PrintDialog dialog(&printer);
        dialog.show();
        testsupport::WhenModal<QDialog>(
            [](QDialog& properties) {
                const auto* papers = properties.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
                ASSERT_NE(papers, nullptr);
                EXPECT_EQ(papers->currentData().value<QPageSize>().id(), QPageSize::A5) << papers->currentText().toStdString();
                properties.accept();
            },
            {false, [](QDialog& d) { return d.inherits("QPrintPropertiesDialog"); }});
        auto* button = dialog.findChild<QAbstractButton*>(QStringLiteral("properties"));
        ASSERT_NE(button, nullptr);
        button->click();
        dialog.accept();
        expectA5Landscape();
    }
}
