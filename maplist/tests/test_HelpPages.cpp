// The help pages of the figure list and the navigation windows name only
// controls those windows have (the figure list's command is a menu item).
#include <gtest/gtest.h>

#include "HelpPages.h"
#include "frmCruise05.h"
#include "frmJump05.h"
#include "frmMapList.h"
#include "frmMapSearch.h"
#include "frmMapUnitList.h"

TEST(MapListHelpPages, NameOnlyTheControlsOfTheirWindows) {
    frmMapSearchLogic search;
    const frmMapSearch searchDialog(search);
    const frmMapList list;
    const frmMapUnitList units;
    const frmJump05 jump;
    const frmCruise05 cruise;
    const std::pair<long, const QWidget*> windows[] = {{frmMapSearch::kHelpContext, &searchDialog},
                                                       {frmMapList::kHelpContext, &list},
                                                       {frmMapUnitList::kHelpContext, &units},
                                                       {frmJump05Logic::kHelpContext, &jump},
                                                       {frmCruise05Logic::kHelpContext, &cruise}};
    for (const auto& [id, window] : windows) EXPECT_EQ(testsupport::NamesNotInWindow(id, *window), QStringList()) << id;
}
