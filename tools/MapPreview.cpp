#include "MapPreview.h"

#include "clsMap.h"
#include "clsMapText.h"

#include <QPainter>
#include <QPolygonF>

namespace worldsrc {

namespace {

struct Frame {
    double width;
    double height;
    QPointF pixel(PolyPoint p) const { return {(p.x / 648000.0 + 1) * width / 2, (1 - p.y / 324000.0) * height / 2}; }
    QPolygonF pixels(const clsPoly& poly) const {
        QPolygonF out;
        out.reserve(poly.Count());
        for (const PolyPoint& p : poly.Points()) out << pixel(p);
        return out;
    }
};

} // namespace

QImage DrawMapPreview(const std::vector<const clsMap*>& maps, const FigureColour& colour, const QColor& sea, int width) {
    const Frame frame{double(width), double(width / 2)};
    QImage image(width, width / 2, QImage::Format_RGB32);
    image.fill(sea);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    for (const clsMap* map : maps) {
        for (const int32_t code : {3, 2, 5}) {
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
                } else {
                    const auto& t = static_cast<const clsMapText&>(*f);
                    const QPointF at = frame.pixel(t.Position());
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(c);
                    painter.drawEllipse(at, 1.5, 1.5);
                    painter.setPen(c);
                    const QRectF box(at.x() - 100, at.y() - 12, 200, 10);
                    painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, t.TextUnicode(1));
                }
            }
        }
    }
    return image;
}

} // namespace worldsrc
