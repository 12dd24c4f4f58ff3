// The print system's answer as the printer reads it when a document ended.
#include <gtest/gtest.h>

#include <QPrinter>

#include <cups/cups.h>

#include <thread>

#include "PrintSpool.h"
#include "TestSupport.h"

using namespace plat;

TEST(SpoolAnswers, TheLastAnswerOfThisThreadAndNoneForAFile) {
    // A thread that asked the print system nothing was refused nothing.
    SpoolAnswer fresh{false, QStringLiteral("not read")};
    std::thread([&fresh] { fresh = LastSpoolAnswer(); }).join();
    EXPECT_TRUE(fresh.accepted);
    EXPECT_TRUE(fresh.message.isEmpty());

    // A job the print system cannot take (refused before any server is
    // asked, so this runs anywhere).
    ASSERT_EQ(cupsPrintFile(nullptr, "/nonexistent", "KALDERO", 0, nullptr), 0);
    const SpoolAnswer refused = LastSpoolAnswer();
    EXPECT_FALSE(refused.accepted);
    EXPECT_FALSE(refused.message.isEmpty());

    // A printer writing its own file hands nothing to the print system.
    testsupport::TempDir dir;
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(dir.file(QStringLiteral("a.pdf")));
    EXPECT_TRUE(SpoolAnswerOf(pdf).accepted);
}
