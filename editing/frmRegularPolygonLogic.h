// The regular-polygon generator "正多角形生成" without its window: a centre,
// a start vertex (given by its coordinates, or by azimuth and distance from
// the centre) and a vertex count make a closed regular polygon. In
// latitude/longitude maps (arc-seconds) it is built on the sphere: every
// vertex at the start vertex's great-circle distance from the centre, at
// equal azimuth steps, clockwise. In X/Y maps (metres) it is built in the
// plane, counter-clockwise.
//
// Accuracy on the sphere: each vertex is computed afresh from the centre
// and the start vertex, so it lies within the half arc-second rounding of
// the exact point whatever the count (no drift along the ring).
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "DialogBase.h"
#include "FigureDialog.h"
#include "clsPoly.h"

class frmRegularPolygonLogic {
public:
    static constexpr long kHelpContext = 290008;
    static constexpr int32_t kMinCount = 3, kMaxCount = 1000;

    // -- set by the caller before each opening
    int32_t MapMode = 1;                 // 1 latitude/longitude, 2 X/Y
    int32_t CenterX = 0, CenterY = 0;    // in and out
    // -- the result
    bool OK = false;
    clsPoly Poly;                        // closed: the last point repeats the first
    plat::DialogPosition Win;
    // The dialog's own corner (twips), where the drawing window opens
    // beside it the first time.
    std::function<plat::DialogPosition()> windowCorner;

    // OK false; the first opening takes azimuth 0, 100 km and 64 vertices.
    void Load();
    // The start vertex follows the kept azimuth and distance round the
    // (new) centre.
    void Activate();

    // Captions of the coordinate labels: centre x, centre y, start x, start y.
    std::array<QString, 4> CoordinateLabels() const;
    struct Texts {
        QString cx, cy, sx, sy, azimuth, distance, count;
    };
    Texts Show() const;

    // Field checks; false keeps the focus in the field (coordinates after
    // the range message; distance and count are silently put back).
    bool CenterXValidate(const QString& text) { return centreField(text, CenterX, true); }
    bool CenterYValidate(const QString& text) { return centreField(text, CenterY, false); }
    bool StartXValidate(const QString& text) { return startField(text, startX_, true); }
    bool StartYValidate(const QString& text) { return startField(text, startY_, false); }
    bool AzimuthValidate(const QString& text);
    bool DistanceValidate(const QString& text);
    bool CountValidate(const QString& text);

    // The centre or the start vertex picked in the drawing window.
    void PickCenter();
    void PickStart();

    // Builds the polygon; a degenerate one asks whether to correct it.
    OkOutcome OkClick();

    int32_t StartX() const { return startX_; }
    int32_t StartY() const { return startY_; }
    double Azimuth() const { return azimuth_; }      // radians, clockwise from north (+Y)
    double Distance() const { return distance_; }    // metres
    int32_t Count() const { return count_; }

    // Radians of an angle text; 0 when it does not read.
    static double ReadAzimuth(const QString& text);
    // Metres of a length text (a bare number in km), or of an angle text as
    // an arc on the globe; 0 when neither reads.
    static double ReadDistance(const QString& text);
    // The closed ring of the current settings.
    clsPoly Build() const;

private:
    static std::optional<int32_t> readCoordinate(const QString& text, bool isX);
    bool centreField(const QString& text, int32_t& coordinate, bool isX);
    bool startField(const QString& text, int32_t& coordinate, bool isX);
    bool pick(bool centre);
    void computeStartVertex();
    void computeAzimuthAndDistance();

    int32_t startX_ = 0, startY_ = 0;
    double azimuth_ = 0;
    double distance_ = 0;
    int32_t count_ = 0;
};

// The generator's one instance; its settings last as long as the program.
frmRegularPolygonLogic& RegularPolygon();
