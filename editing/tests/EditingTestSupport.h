// Helpers of the figure editing tests: the coordinate text of either map
// mode, small catalogues, and a clean module state per test.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "AppState.h"
#include "FigureDialog.h"
#include "ErrorMng.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basHMapEdit.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsAdmins.h"
#include "clsThings.h"

namespace edittest {

// The coordinate text of a map mode (1 latitude/longitude, 2 X/Y) as the
// map data reads it, installed while the object lives.
class CoordinateMode {
public:
    explicit CoordinateMode(int mode) {
        MapCoordinateText t;
        auto safe = [mode](const QString& s) -> int32_t {
            try {
                if (mode == 1) return AngleSecStrToVal(s);
                return static_cast<int32_t>(std::nearbyint(StrToMeter(s, QStringLiteral("km"))));
            } catch (...) {
                return kInvalidMapCoordinate;
            }
        };
        auto valid = [mode](int32_t bound, const QString& range) {
            return [mode, bound, range](int32_t v, bool show) {
                const int32_t b = mode == 1 ? bound : MaxXY;
                if (-b <= v && v <= b) return true;
                if (show) MsgOutOfRange(mode == 1 ? range : QStringLiteral("X/Y"));
                return false;
            };
        };
        t.strToXSafe = safe;
        t.strToYSafe = safe;
        t.isValidX = valid(648000, QStringLiteral("180°00′00″W～180°00′00″E"));
        t.isValidY = valid(324000, QStringLiteral("90°00′00″S～90°00′00″N"));
        previous_ = SetMapCoordinateText(std::move(t));
    }
    ~CoordinateMode() { SetMapCoordinateText(std::move(previous_)); }

private:
    MapCoordinateText previous_;
};

// The module's state and the dialog instances as at start-up, and the
// display language, for one test.
class CleanEditing {
public:
    CleanEditing() : language_(gvLanguage) {
        HMapEdit() = HMapEditState();
        ResetFigureDialogs();
    }
    ~CleanEditing() {
        HMapEdit() = HMapEditState();
        ResetFigureDialogs();
        gvLanguage = language_;
    }

private:
    long language_;
};

inline AdminPtr MakeAdmin(int code, int area, const QString& name) {
    auto a = std::make_shared<clsAdmin>();
    a->setAdminCode(code);
    a->setAreaCode(area);
    a->setEuropianName(name);
    a->setJapaneseName(name);
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
