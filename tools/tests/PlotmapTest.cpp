// The developer program plotmap: which units each view projection slot
// draws (the cruise's too), and the clear refusals of a centre of the wrong
// kind.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include <algorithm>

#include "TestSupport.h"

namespace {

struct PlotmapRun {
    int exitCode = -1;
    QString out, err;
};

PlotmapRun plotmap(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KAL_PLOTMAP), args);
    PlotmapRun r;
    if (!p.waitForFinished(120000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Pixels in one of the world's eight land fills.
int landPixels(const QImage& img) {
    static const QRgb land[] = {0xF6E2B2, 0xCEE4B6, 0xF6CCBE, 0xD6CEE8, 0xBEE0DA, 0xECC8DE, 0xE2E8AA, 0xE0D0BE};
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += std::count(std::begin(land), std::end(land), img.pixel(x, y) & 0xFFFFFF);
    return n;
}

TEST(Plotmap, SlotZeroIsTheXYPlaneViewOfTheXYUnits) {
    testsupport::TempDir dir;
    const struct {
        QStringList args;
        int exitCode;
        const char* says;   // in the report line, or in the message of a refusal
        bool land;          // the world's land is drawn
    } cases[] = {
        {{"--slot", "1", "--lat", "0", "--scale", "3e8"}, 0, "slot 1 (接円筒図法)", true},
        // The cruise's map of Japan of level 7 over Tokyo.
        {{"--cruise", "--lon", "139.7", "--lat", "35.7", "--scale", "1e6"}, 0, "scale 1:1000000", true},
        // Read as metres, the world's arc-seconds would fill this view with Africa.
        {{"--slot", "0", "--scale", "5e6"}, 0, "slot 0 (ＸＹ図法)", false},
        {{"--slot", "0", "--x", "100000", "--y", "-50000", "--scale", "1e6"}, 0, "slot 0 (ＸＹ図法)", false},
        {{"--slot", "0", "--lon", "135"}, 2, "give its centre with --x and --y", false},
        {{"--slot", "2", "--x", "1000"}, 2, "--x and --y are for slot 0", false},
        {{"--slot", "5"}, 2, "--slot takes auto or 0..4", false},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString png = dir.file(QStringLiteral("view%1.png").arg(++n));
        const PlotmapRun r = plotmap(c.args + QStringList{"--size", "320x200", png});
        SCOPED_TRACE(c.args.join(' ').toStdString());
        ASSERT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? r.out : r.err).contains(QString::fromUtf8(c.says)))
            << r.out.toStdString() << r.err.toStdString();
        const QImage img(png);
        EXPECT_EQ(img.isNull(), c.exitCode != 0);
        if (!img.isNull()) {
            EXPECT_EQ(landPixels(img) > 1000, c.land) << landPixels(img);
        }
    }
}

} // namespace
