// Helpers of the figure editing tests: the coordinate text of either map
// mode, a clean module state per test, small catalogues.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QWidget>

#include <cmath>

#include "AppState.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basHMapEdit.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsAdmins.h"
#include "clsThings.h"
#include "TestSupport.h"

namespace edittest {

// The coordinate text of a map mode (1 latitude/longitude, 2 X/Y) as the
// map data reads it, while the object lives. Range messages name the range
// ("X/Y" in X/Y maps).
class CoordinateMode {
public:
    explicit CoordinateMode(int mode) {
        auto read = [mode](const QString& s) -> int32_t {
            try {
                return mode == 1 ? AngleSecStrToVal(s) : int32_t(std::nearbyint(StrToMeter(s, QStringLiteral("km"))));
            } catch (...) {
                return kInvalidMapCoordinate;
            }
        };
        auto check = [mode](int32_t bound, QString range) {
            const int32_t b = mode == 1 ? bound : MaxXY;
            return [=](int32_t v, bool show) {
                if (show && (v < -b || v > b)) MsgOutOfRange(mode == 1 ? range : QStringLiteral("X/Y"));
                return -b <= v && v <= b;
            };
        };
        previous_ = SetMapCoordinateText({read, read, check(648000, QStringLiteral("180°00′00″W～180°00′00″E")),
                                          check(324000, QStringLiteral("90°00′00″S～90°00′00″N"))});
    }
    ~CoordinateMode() { SetMapCoordinateText(std::move(previous_)); }

private:
    MapCoordinateText previous_;
};

// The module and the dialog instances as at start-up, for one test.
struct CleanEditing {
    long language = gvLanguage;
    CleanEditing() { reset(); }
    ~CleanEditing() {
        reset();
        gvLanguage = language;
    }
    static void reset() {
        HMapEdit() = HMapEditState();
        ResetFigureDialogs();
    }
};

// The picture of a window for a person to look at: written now, of the
// window's size.
inline void ExpectPicture(QWidget* w, const QString& name = QString()) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);   // coarse file times
    const QString path = testsupport::SaveWidgetPng(w, name);
    const QFileInfo file(path);
    ASSERT_TRUE(file.exists()) << path.toStdString();
    EXPECT_GE(file.lastModified(), before)
        << path.toStdString() << " is of " << file.lastModified().toString(Qt::ISODate).toStdString();
    EXPECT_EQ(QImage(path).size(), w->size() * w->devicePixelRatio()) << path.toStdString();
}

inline AdminPtr MakeAdmin(int code, int area, const QString& name) {
    auto a = std::make_shared<clsAdmin>();
    a->setAdminCode(code);
    a->setAreaCode(area);
    a->setEuropianName(name);
    return a;
}

inline ThingPtr MakeThing(int number, int figure, int category, const QString& name) {
    auto t = std::make_shared<clsThing>();
    t->setIndex(number);
    t->setFigure(figure);
    t->setCategory(category);
    t->setName(name);
    return t;
}

} // namespace edittest
