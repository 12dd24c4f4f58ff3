// Replays the committed fuzz corpus of the figure text file reader through
// the fuzzer's own entry function. Seed names say what the reader makes of
// them in a latitude/longitude unit: ok_ gives figures without a question
// or a skipped line, skip_ skips lines without asking.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzMapTextBody.h"
#include "TestSupport.h"

TEST(MapTextFuzzCorpus, EveryInputReadsAndWritesBack) {
    for (const auto& [name, bytes] : testsupport::FuzzCorpus(QStringLiteral("maptext"))) {
        const QString failure = fuzzmaptext::FuzzMapTextInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                              static_cast<size_t>(bytes.size()));
        EXPECT_TRUE(failure.isEmpty()) << name.toStdString() << ": " << failure.toStdString();
        if (!name.startsWith(QLatin1String("ok_")) && !name.startsWith(QLatin1String("skip_"))) continue;
        SetMapModeSource([] { return 1; });
        const MapUnitPtr unit = fuzzmaptext::unitOf(1);
        fuzzmaptext::Reading r;
        ASSERT_TRUE(fuzzmaptext::read(bytes, *unit, r)) << name.toStdString();
        SetMapModeSource({});
        if (name.startsWith(QLatin1String("ok_"))) {
            EXPECT_TRUE(r.map->Count() > 0 && r.asked == 0 && r.result.badLines == 0) << name.toStdString();
        } else {
            EXPECT_TRUE(r.asked == 0 && r.result.badLines > 0) << name.toStdString();
        }
    }
}
