#include <gtest/gtest.h>

#include <QComboBox>

#include "ControlUtil.h"

TEST(ControlUtil, SelectListTextFallsBackToTheFirstItem) {
    QComboBox box;
    plat::SelectListText(&box, "x");   // no items: nothing happens
    EXPECT_EQ(box.currentIndex(), -1);
    box.addItems({"a", "b", "b"});
    plat::SelectListText(&box, "b");
    EXPECT_EQ(box.currentIndex(), 1);
    plat::SelectListText(&box, "B");   // exact compare
    EXPECT_EQ(box.currentIndex(), 0);
}
