// The main window's and the dialogs' placement on screens of several sizes
// and layouts, from corners on, beside and off the screens.
#include <gtest/gtest.h>

#include "WindowPlacement.h"

void PrintTo(const WindowPlacement& p, std::ostream* os) {
    *os << "corner " << p.corner.x() << "," << p.corner.y() << " client " << p.client.width() << "x"
        << p.client.height();
}

namespace {

const QMargins kFramed(1, 20, 1, 5);   // a title bar and thin borders
const QSize kMinimum(435, 300);

struct Case {
    const char* what;
    QList<QRect> screens;
    QMargins decorations;
    QPoint corner;
    QSize client;
    WindowPlacement expected;
};

TEST(WindowPlacement, TheWholeFrameLandsOnAScreen) {
    const QRect wide(0, 0, 1600, 1000);
    const QRect panelled(0, 30, 1600, 970);   // a panel along the top
    const QRect right(1600, 200, 1024, 768);  // a second, smaller screen
    const Case cases[] = {
        {"fits: the corner stays", {wide}, kFramed, {200, 100}, {814, 683}, {{200, 100}, {814, 683}}},
        {"title bar above the screen", {wide}, kFramed, {0, -20}, {814, 683}, {{0, 0}, {814, 683}}},
        {"under a panel", {panelled}, kFramed, {66, 0}, {814, 683}, {{66, 30}, {814, 683}}},
        {"bottom edge below the screen", {wide}, kFramed, {66, 400}, {814, 683}, {{66, 292}, {814, 683}}},
        {"far off both ways", {wide}, kFramed, {-3333, 13333}, {814, 683}, {{0, 292}, {814, 683}}},
        {"a canvas larger than the screen", {wide}, kFramed, {300, 300}, {3014, 2083}, {{0, 0}, {1598, 975}}},
        {"no window manager", {wide}, {}, {300, 300}, {3014, 2083}, {{0, 0}, {1600, 1000}}},
        {"across two screens: on them", {wide, right}, kFramed, {1200, 250}, {814, 683}, {{1200, 250}, {814, 683}}},
        {"partly off the second", {wide, right}, kFramed, {2400, 300}, {814, 683}, {{1808, 260}, {814, 683}}},
        {"off every screen, nearest the second", {wide, right}, kFramed, {5000, 100}, {500, 400},
         {{2122, 200}, {500, 400}}},
        {"sized by the screen it is on", {wide, right}, kFramed, {1700, 250}, {1200, 900}, {{1600, 200}, {1022, 743}}},
        {"below the minimum", {wide}, kFramed, {10, 10}, {100, 100}, {{10, 10}, kMinimum}},
        {"screen smaller than the minimum", {QRect(0, 0, 400, 280)}, kFramed, {50, 50}, {800, 600}, {{0, 0}, kMinimum}},
        {"no screen known", {}, kFramed, {-50, -50}, {100, 700}, {{-50, -50}, {435, 700}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceWindow(c.screens, c.decorations, c.corner, c.client, kMinimum), c.expected) << c.what;
}

TEST(WindowPlacement, DialogsOpenAtTheirCornerOrOverTheirOwner) {
    const QList<QRect> wide{QRect(0, 0, 1600, 1000)};
    const QRect owner(66, 66, 816, 709);
    const QSize client(505, 246);  // 507 x 271 framed
    const struct {
        const char* what;
        std::optional<QPoint> remembered;
        QRect owner;
        QList<QRect> screens;
        QPoint expected;
    } cases[] = {
        {"remembered", QPoint(166, 106), owner, wide, {166, 106}},
        {"remembered above and right of the screen", QPoint(1500, -40), owner, wide, {1093, 0}},
        {"centred over the owner", {}, owner, wide, {220, 285}},
        {"owner half off the screen", {}, QRect(-400, 900, 600, 400), wide, {0, 729}},
        {"no owner: centred on the first screen", {}, QRect(), {QRect(1600, 0, 1000, 800), wide[0]}, {1846, 264}},
        {"larger than the screen", {}, owner, {QRect(0, 30, 400, 200)}, {0, 30}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceDialog(c.screens, kFramed, c.remembered, c.owner, client), c.expected) << c.what;
}

} // namespace
