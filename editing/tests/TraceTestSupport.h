// A traced picture for the trace dialog tests: 400 × 300 pixels with the
// graticule of 10°E..13°E × 20°N..22°N drawn on it at 100 pixels a degree
// (36 arc-seconds a pixel), and the crosses and side file that match it.
#pragma once

#include <QImage>
#include <QPainter>

#include "TestSupport.h"
#include "TraceMesh.h"
#include "basHMapCoord.h"
#include "clsMapUnit.h"
#include "frmTraceLogic.h"

namespace tracetest {

constexpr int32_t kDeg = 3600;
constexpr int32_t kSecPerPixel = 36;

inline int32_t PictureX(int32_t lon) { return 50 + (lon - 10 * kDeg) / kSecPerPixel; }
inline int32_t PictureY(int32_t lat) { return 250 - (lat - 20 * kDeg) / kSecPerPixel; }
inline int32_t LonAt(int32_t px) { return 10 * kDeg + (px - 50) * kSecPerPixel; }
inline int32_t LatAt(int32_t py) { return 20 * kDeg + (250 - py) * kSecPerPixel; }

inline QImage GraticulePicture() {
    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(QColor(250, 245, 225));
    QPainter p(&img);
    p.setPen(QColor(120, 120, 200));
    for (int lon = 10; lon <= 13; ++lon) p.drawLine(PictureX(lon * kDeg), 0, PictureX(lon * kDeg), 299);
    for (int lat = 20; lat <= 22; ++lat) p.drawLine(0, PictureY(lat * kDeg), 399, PictureY(lat * kDeg));
    p.setPen(QPen(QColor(40, 110, 40), 3));
    p.drawLine(60, 230, 170, 120);
    p.drawLine(170, 120, 330, 160);
    return img;
}

// The crosses of the four corners 10°E..11°E × 20°N..21°N.
inline std::vector<TraceCross> OneCellCrosses() {
    std::vector<TraceCross> v;
    for (int32_t lat : {20, 21})
        for (int32_t lon : {10, 11}) v.push_back({PictureX(lon * kDeg), PictureY(lat * kDeg), lon * kDeg, lat * kDeg});
    return v;
}

// All twelve crosses, made into six frames.
inline TraceMesh FullMesh() {
    TraceMesh m;
    for (int32_t lat = 20; lat <= 22; ++lat)
        for (int32_t lon = 10; lon <= 13; ++lon)
            m.AddCross({PictureX(lon * kDeg), PictureY(lat * kDeg), lon * kDeg, lat * kDeg});
    m.CrossToFrame();
    return m;
}

// A picture in a temporary folder (with or without its side file), the
// host answering the picture chooser, and a current map mode, for a test.
class TracedPicture {
public:
    explicit TracedPicture(bool withSideFile, const QString& name = QStringLiteral("scan.png")) {
        path = dir.file(name);
        EXPECT_TRUE(GraticulePicture().save(path));
        if (withSideFile) {
            EXPECT_TRUE(SaveLLN(path, FullMesh()));
        }
        TraceHost h;
        h.InputLoadName = [this](const QString& title, const QString& filter, const QString& start) {
            asked.push_back({title, filter, start});
            return chosen;
        };
        h.CurrentUnits = [this] { return units; };
        previous_ = InstalledTraceHost();
        SetTraceHost(std::move(h));
        SetMapModeSource([this] { return mapMode; });
    }
    ~TracedPicture() {
        SetTraceHost(previous_);
        SetMapModeSource({});
    }
    struct Ask {
        QString title, filter, start;
    };
    testsupport::TempDir dir;
    QString path;
    QString chosen;
    std::vector<Ask> asked;
    std::vector<MapUnitPtr> units;
    int32_t mapMode = 1;

private:
    TraceHost previous_;
};

} // namespace tracetest
