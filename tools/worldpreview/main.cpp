// worldpreview: draws the countries of a world-atlas topology as an
// equirectangular PNG (one colour per country, borders, a dot at each label
// point) and lists on standard output what needs a look: features given our
// own codes, rings crossing the date line or enclosing a pole, countries
// without a name or area.
//
//   worldpreview [--names <i18n-iso-countries folder>] countries-50m.json preview.png
#include "Continents.h"
#include "WorldSource.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cstdio>

using namespace worldsrc;

namespace {

constexpr int Width = 2048;
constexpr int Height = 1024;

QPointF Pixel(SecPoint p) {
    return {(p.lon / double(MaxLonSec) + 1) * Width / 2, (1 - p.lat / double(MaxLatSec)) * Height / 2};
}

QPolygonF Pixels(const SecRing& ring) {
    QPolygonF out;
    out.reserve(qsizetype(ring.size()));
    for (const SecPoint& p : ring) out << Pixel(p);
    return out;
}

// Neighbours rarely get similar colours when the hue steps by the golden angle.
QColor CountryColour(int code) { return QColor::fromHsv(int((code * 137.508)) % 360, 70, 235); }

QImage Draw(const World& world) {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(QColor(170, 205, 230));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Country& c : world.countries) {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const SecPolygon& polygon : c.polygons)
            for (const SecRing& ring : polygon.rings) path.addPolygon(Pixels(ring));
        painter.setPen(QPen(QColor(90, 110, 130), 0.6));
        painter.setBrush(CountryColour(c.code));
        painter.drawPath(path);
    }
    painter.setPen(QPen(QColor(60, 40, 40), 1.0));
    for (const Border& b : world.borders) painter.drawPolyline(Pixels(b.line));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 0, 0));
    for (const Country& c : world.countries) painter.drawEllipse(Pixel(c.label), 2.5, 2.5);
    return image;
}

void Report(const World& world, QTextStream& out) {
    out << world.countries.size() << " countries, " << world.borders.size() << " border arcs\n";
    out << "Our own codes:\n";
    for (const Country& c : world.countries)
        if (c.code >= 900) out << "  " << c.code << " " << c.sourceNames.join(QStringLiteral(", ")) << "\n";
    out << "Rings crossing the date line (country, polygon, ring, jumps, points):\n";
    for (const Country& c : world.countries) {
        for (size_t p = 0; p < c.polygons.size(); ++p) {
            for (size_t r = 0; r < c.polygons[p].rings.size(); ++r) {
                const SecRing& ring = c.polygons[p].rings[r];
                const int jumps = DateLineJumps(ring);
                if (jumps == 0) continue;
                out << "  " << c.code << " " << c.englishName << ", " << p << ", " << r << ", " << jumps << ", "
                    << ring.size() << (jumps % 2 ? "  encloses a pole" : "") << "\n";
            }
        }
    }
    for (const Country& c : world.countries) {
        if (c.englishName.isEmpty() || c.japaneseName.isEmpty())
            out << "Missing name: " << c.code << " " << c.englishName << " / " << c.japaneseName << "\n";
        if (c.area < 0) out << "Missing area: " << c.code << " " << c.englishName << "\n";
        bool inside = false;
        for (const SecPolygon& polygon : c.polygons) inside = inside || Contains(polygon, c.label);
        if (!inside) out << "Label outside: " << c.code << " " << c.englishName << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws a world-atlas topology as an equirectangular PNG."));
    parser.addHelpOption();
    const QCommandLineOption namesOption(QStringLiteral("names"),
                                         QStringLiteral("The i18n-iso-countries folder, for the names."),
                                         QStringLiteral("folder"));
    parser.addOption(namesOption);
    parser.addPositionalArgument(QStringLiteral("topology"), QStringLiteral("countries-50m.json or countries-110m.json"));
    parser.addPositionalArgument(QStringLiteral("png"), QStringLiteral("The image to write."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) parser.showHelp(2);

    try {
        const CountryNames names = parser.isSet(namesOption) ? CountryNames::Load(parser.value(namesOption))
                                                             : CountryNames();
        const World world = ReadCountries(Topology::ReadFile(args[0]), names);
        QTextStream out(stdout);
        Report(world, out);
        out.flush();
        if (!Draw(world).save(args[1], "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
            return 1;
        }
    } catch (const WorldSourceError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
