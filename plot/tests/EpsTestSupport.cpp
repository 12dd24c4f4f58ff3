#include "EpsTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

namespace epstest {

QString GhostscriptPath() { return QStandardPaths::findExecutable(QStringLiteral("gs")); }

bool GsRun::clean() const {
    return started && exitCode == 0 && !output.contains("Error") && !output.contains("error:");
}

GsRun RunGhostscript(const QStringList& args, const QByteArray& input) {
    GsRun r;
    const QString gs = GhostscriptPath();
    if (gs.isEmpty()) return r;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(gs, args);
    if (!p.waitForStarted(30000)) return r;
    r.started = true;
    if (!input.isEmpty()) p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = p.readAll();
    return r;
}

QImage RenderEps(const QString& epsPath, int dpi, GsRun* run) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    const GsRun r = RunGhostscript({QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                                    QStringLiteral("-dNOPAUSE"), QStringLiteral("-dEPSCrop"),
                                    QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r%1").arg(dpi),
                                    QStringLiteral("-sOutputFile=") + png, epsPath});
    if (run) *run = r;
    if (!r.clean()) return QImage();
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

namespace {
inline bool close(QRgb a, QRgb b, int d) {
    return std::abs(qRed(a) - qRed(b)) <= d && std::abs(qGreen(a) - qGreen(b)) <= d &&
           std::abs(qBlue(a) - qBlue(b)) <= d;
}

int64_t unmatched(const QImage& a, const QImage& b, int distance, int radius) {
    int64_t n = 0;
    const int w = std::min(a.width(), b.width()), h = std::min(a.height(), b.height());
    for (int y = 0; y < h; ++y) {
        const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            bool found = false;
            for (int v = std::max(0, y - radius); v <= std::min(h - 1, y + radius) && !found; ++v) {
                const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(v));
                for (int u = std::max(0, x - radius); u <= std::min(w - 1, x + radius) && !found; ++u)
                    found = close(ra[x], rb[u], distance);
            }
            n += !found;
        }
    }
    return n;
}
} // namespace

double DifferingShare(const QImage& a, const QImage& b, int distance, int radius) {
    const QImage ca = a.convertToFormat(QImage::Format_RGB32), cb = b.convertToFormat(QImage::Format_RGB32);
    const int64_t total = int64_t(std::min(a.width(), b.width())) * std::min(a.height(), b.height());
    if (total == 0) return 1.0;
    return double(unmatched(ca, cb, distance, radius) + unmatched(cb, ca, distance, radius)) / double(2 * total);
}

int CountColor(const QImage& img, const QRect& rect, QRgb rgb, int distance) {
    int n = 0;
    const QRect r = rect & img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += close(img.pixel(x, y), rgb, distance);
    return n;
}

void KeepPicture(const QImage& img, const QString& name) {
    const QString dir = qEnvironmentVariable("KAL_TEST_PICTURES");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    img.save(QDir(dir).filePath(name));
}

} // namespace epstest
