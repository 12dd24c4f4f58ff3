// The gazetteer built from the maps shipped in data/, in both languages.
#include "JumpTestSupport.h"

#include "AppState.h"
#include "FlexGridData.h"
#include "MapUnitIo.h"
#include "basGazetteer.h"
#include "basPlaceKey.h"
#include "frmJump05Logic.h"

#include <QDir>
#include <QFile>

TEST(ShippedGazetteer, BuildsThousandsOfPlacesInBothLanguages) {
    testsupport::ScriptedBoxes boxes;
    testsupport::TempDir dir;
    // The shipped maps, linked into a folder the build may write to.
    const QDir data(QStringLiteral(KAL_SOURCE_DIR "/data/maps"));
    for (const QString& name : data.entryList(QDir::Files)) ASSERT_TRUE(QFile::link(data.filePath(name), dir.file(name)));
    gvMapFolder = dir.path();
    const long language = gvLanguage;
    SetMapUnitDialogs({}, {});

    plat::FlexGridData cells;
    frmJump05Logic logic(cells);
    clsMapUnits units;
    struct Case {
        long language;
        const char* file;
        const char* keyword;
        const char* found;
        const char* country;
    } cases[] = {{1, "GAZET_KALD_E.TXT", "tokyo", "Tokyo", "Japan"}, {2, "GAZET_KALD_J.TXT", "東京", "東京", "日本"}};
    for (const Case& c : cases) {
        gvLanguage = c.language;
        logic.TargetUnits = &units;
        ASSERT_TRUE(logic.Load());
        boxes.expect(QStringLiteral("地名辞典を作成します"), plat::IdYes);
        logic.BuildGazetteer();
        EXPECT_EQ(logic.state().source, 1) << c.file;
        EXPECT_GT(logic.state().count, 2000) << c.file;
        EXPECT_TRUE(QFile::exists(dir.file(QString::fromLatin1(c.file))));
        EXPECT_TRUE(jumptest::Column(cells, kPlaceName).contains(QString::fromUtf8(c.country))) << c.file;
        // "Nishi-Tokyo-shi" comes first: the keyword lies anywhere in a key.
        logic.setKeyword(QString::fromUtf8(c.keyword));
        int presses = 0;
        do {
            logic.SearchKey();
        } while (!cells.TextMatrix(cells.Row(), kPlaceName).startsWith(QString::fromUtf8(c.found)) && ++presses < 5);
        EXPECT_LT(presses, 5) << c.file;
        logic.Unload();
    }
    gvLanguage = language;
    gvMapFolder.clear();
}
