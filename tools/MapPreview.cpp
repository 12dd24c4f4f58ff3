#include "MapPreview.h"

#include "clsMap.h"
#include "clsMapSymbol.h"
#include "clsMapText.h"

#include <QPainter>
#include <QPolygonF>

namespace worldsrc {

namespace {

struct Frame {
    double width;
    double height;
    double west = -648000, south = -324000, east = 648000, north = 324000;
    QPointF pixel(PolyPoint p) const {
        return {(p.x - west) / (east - west) * width, (north - p.y) / (north - south) * height};
    }
    QPolygonF pixels(const clsPoly& poly) const {
        QPolygonF out;
        out.reserve(poly.Count());
        for (const PolyPoint& p : poly.Points()) out << pixel(p);
        return out;
    }
};

} // namespace

namespace {

QImage Draw(const std::vector<const clsMap*>& maps, const FigureColour& colour, const QColor& sea, const Frame& frame,
            int language, bool centred) {
    QImage image(int(frame.width), int(frame.height), QImage::Format_RGB32);
    image.fill(sea);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(centred ? 9 : 11);
    painter.setFont(font);
    for (const clsMap* map : maps) {
        for (const int32_t code : {3, 2, 4, 5}) {
            for (const MapFigurePtr& f : *map) {
                if (f->FigCode() != code) continue;
                const QColor c = colour(*map, *f);
                if (!c.isValid()) continue;
                if (code == 3) {
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(c);
                    painter.drawPolygon(frame.pixels(*f->Poly()));
                } else if (code == 2) {
                    painter.setPen(QPen(c, 0.7));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawPolyline(frame.pixels(*f->Poly()));
                } else if (code == 4) {
                    painter.setPen(QPen(Qt::white, 1));
                    painter.setBrush(c);
                    painter.drawEllipse(frame.pixel(static_cast<const MapPointFigure&>(*f).Position()), 2.5, 2.5);
                } else {
                    const auto& t = static_cast<const clsMapText&>(*f);
                    const QPointF at = frame.pixel(t.Position());
                    painter.setPen(c);
                    if (centred) {
                        painter.setBrush(c);
                        painter.drawEllipse(at, 1.5, 1.5);
                        painter.drawText(QRectF(at.x() - 100, at.y() - 12, 200, 10), Qt::AlignHCenter | Qt::AlignBottom,
                                         t.TextUnicode(language));
                    } else {
                        painter.drawText(QRectF(at.x() + 4, at.y() - 8, 300, 16), Qt::AlignLeft | Qt::AlignVCenter,
                                         t.TextUnicode(language));
                    }
                }
            }
        }
    }
    return image;
}

} // namespace

QImage DrawMapPreview(const std::vector<const clsMap*>& maps, const FigureColour& colour, const QColor& sea, int width) {
    return Draw(maps, colour, sea, Frame{double(width), double(width / 2)}, 1, true);
}

QImage DrawMapWindow(const std::vector<const clsMap*>& maps, const FigureColour& colour, const QColor& sea,
                     double west, double south, double east, double north, int width, int height, int language) {
    return Draw(maps, colour, sea, Frame{double(width), double(height), west, south, east, north}, language, false);
}

} // namespace worldsrc
