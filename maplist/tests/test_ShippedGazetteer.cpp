// The gazetteer built from the maps shipped in data/, in both languages.
#include "JumpTestSupport.h"

#include "basGazetteer.h"
#include "frmJump05Logic.h"

#include <QFile>

TEST(ShippedGazetteer, BuildsThousandsOfPlacesInBothLanguages) {
    testsupport::ScriptedBoxes boxes;
    jumptest::Installation inst;   // a folder the build may write to, with the shipped maps linked in
    SetMapUnitDialogs({}, {});
    const QDir data(QStringLiteral(KAL_SOURCE_DIR "/data/maps"));
    for (const QString& name : data.entryList(QDir::Files)) ASSERT_TRUE(QFile::link(data.filePath(name), inst.dir.file(name)));
    plat::FlexGridData cells;
    frmJump05Logic logic(cells);
    clsMapUnits units;
    // "Nishi-Tokyo-shi" comes before "Tokyo": the keyword lies anywhere in a key.
    const char* cases[][4] = {{"GAZET_KALD_E.TXT", "tokyo", "Tokyo", "Japan"}, {"GAZET_KALD_J.TXT", "東京", "東京", "日本"}};
    for (long language : {1, 2}) {
        const auto c = cases[language - 1];
        gvLanguage = language;
        logic.TargetUnits = &units;
        ASSERT_TRUE(logic.Load());
        boxes.expect(QStringLiteral("地名辞典を作成します"), plat::IdYes);
        logic.BuildGazetteer();
        EXPECT_TRUE(logic.state().source == 1 && logic.state().count > 5000 && QFile::exists(inst.dir.file(c[0])));
        EXPECT_TRUE(jumptest::Column(cells, kPlaceName).contains(QString::fromUtf8(c[3])));
        logic.setKeyword(QString::fromUtf8(c[1]));
        int presses = 0;
        do {
            logic.SearchKey();
        } while (!cells.TextMatrix(cells.Row(), kPlaceName).startsWith(QString::fromUtf8(c[2])) && ++presses < 5);
        EXPECT_LT(presses, 5) << c[0];
        logic.Unload();
    }
}
