#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include "LongOperation.h"
#include "Screen.h"
#include "TestSupport.h"

using namespace plat;

TEST(EventYielder, YieldsEveryPeriodAndNoMoreOftenThanTheInterval) {
    struct Case {
        int period, intervalMs, ticks, yields;
    } cases[] = {
        {32, 0, 100, 3},     // the figure list's rule: every 32 rows
        {1, 0, 5, 5},
        {0, 0, 3, 3},        // a period below 1 counts as 1
        {1, 60000, 1000, 0}, // a fast loop within one interval yields not at all
    };
    for (const Case& c : cases) {
        EventYielder y(c.period, c.intervalMs);
        int ran = 0;
        for (int i = 0; i < c.ticks; ++i) {
            if (i == 0) QTimer::singleShot(0, [&] { ++ran; });
            y.tick();
        }
        EXPECT_EQ(y.yields(), c.yields) << c.period << " " << c.intervalMs;
        EXPECT_EQ(ran, c.yields > 0 ? 1 : 0);  // pending events ran at the yields
        QApplication::processEvents();
    }
}

TEST(EscapeStop, EscStopsTheWorkInsteadOfClosingTheDialog) {
    QDialog dlg;
    dlg.show();
    {
        EscapeStop esc;
        QTest::keyClick(&dlg, Qt::Key_Escape);
        EXPECT_TRUE(esc.requested());
        EXPECT_TRUE(dlg.isVisible());
        QTest::keyClick(&dlg, Qt::Key_X);
        esc.reset();
        EXPECT_FALSE(esc.requested());
    }
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());  // afterwards Esc closes it again
}

TEST(BusyCursor, ScopesNestAndRestoreThePointer) {
    SetScreenPointer(PtrCross);
    {
        BusyCursor outer;
        EXPECT_EQ(ScreenPointer(), PtrHourglass);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            BusyCursor inner;
        }
        EXPECT_EQ(ScreenPointer(), PtrHourglass);
    }
    EXPECT_EQ(ScreenPointer(), PtrCross);
    SetScreenPointer(PtrDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(LongOperation, StatusStepsAndStop) {
    QStringList status;
    QDialog dlg;
    dlg.show();
    int done = 0;
    {
        LongOperation op([&](const QString& t) { status << t; }, 1, 0);
        op.setStatus(QStringLiteral("グリッドを作成しています..."));
        EXPECT_EQ(ScreenPointer(), PtrHourglass);
        // Esc arrives while the loop yields.
        QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
        while (op.step() && done < 1000) ++done;
        EXPECT_TRUE(op.stopped());
    }
    EXPECT_LT(done, 5);
    EXPECT_EQ(status, QStringList({QStringLiteral("グリッドを作成しています..."), QString()}));
    EXPECT_EQ(ScreenPointer(), PtrDefault);
    EXPECT_TRUE(dlg.isVisible());

    // Without a sink of its own it writes to the program's status line.
    QString line = QStringLiteral("-");
    const StatusSink previous = SetStatusLine([&](const QString& t) { line = t; });
    {
        LongOperation op;
        op.setStatus(QStringLiteral("リスト追加中..."));
        EXPECT_EQ(line, QStringLiteral("リスト追加中..."));
    }
    EXPECT_EQ(line, QString());
    SetStatusLine(previous);
}
