// What the map information dialog shows of a map: the path of its file
// (shortened to the room of its label), the version of its file format and
// its information remarks (the remarks beginning with "#", wherever they
// stand in the map), without the window.
#pragma once

#include <QString>

#include <cstdint>

class clsMap;

class MapInfo {
public:
    // A map of none shows nothing.
    explicit MapInfo(clsMap* map) : map_(map) {}

    // The file name shortened (ShortenPath) to
    // (labelWidth \ fontPoints) \ 10 characters, labelWidth in twips and
    // fontPoints in points, each rounded first.
    QString PathText(double labelWidthTwips, double fontPoints) const;
    // "map version : " and the version / 100 without trailing zeros
    // (106: "1.06", 100: "1").
    QString VersionText() const;
    // Every remark beginning with "#" from its third character on, each
    // followed by CR LF.
    QString InfoText() const;

private:
    clsMap* map_;
};
