// Ghostscript as the independent reader of the EPS files the tests write,
// and the comparison of two renderings of one picture.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <ostream>

// Lets failing expectations show byte texts as text.
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }

namespace epstest {

// The gs program; empty when it is not installed.
QString GhostscriptPath();

struct GsRun {
    bool started = false;
    int exitCode = -1;
    QByteArray output;   // standard output and error together
    // Ran, ended with 0 and said nothing of an error.
    bool clean() const;
};
GsRun RunGhostscript(const QStringList& args, const QByteArray& input = QByteArray());

// The EPS file rendered at dpi, cropped to its bounding box; null (and the
// run in *run) when Ghostscript failed.
QImage RenderEps(const QString& epsPath, int dpi, GsRun* run = nullptr);

// Pixels that differ: a pixel of one picture counts when no pixel of the
// other within `radius` pixels lies within `distance` in every channel.
// Both ways, as a share of all pixels.
double DifferingShare(const QImage& a, const QImage& b, int distance, int radius);
// Pixels in rect close (within distance in every channel) to rgb.
int CountColor(const QImage& img, const QRect& rect, QRgb rgb, int distance);

// Where a test keeps the pictures it compares for a person to look at:
// $KAL_TEST_PICTURES when set, else nowhere.
void KeepPicture(const QImage& img, const QString& name);

} // namespace epstest
