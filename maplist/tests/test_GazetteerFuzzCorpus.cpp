// Replays the committed fuzz corpus of the gazetteer reader through the
// fuzzer's own entry function, so every build checks the inputs the fuzzer
// found. Hand-made seeds say by their names what the reader makes of them
// in their language (_e_ European, _j_ Japanese): ok_ reads places without
// a skipped line, skip_ reads some and skips some, refused_ has no header.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzGazetteerBody.h"
#include "TestSupport.h"

TEST(GazetteerFuzzCorpus, EveryInputReadsAsPromised) {
    for (const auto& [name, bytes] : testsupport::FuzzCorpus(QStringLiteral("gazetteer"))) {
        const QString failure = fuzzgaz::FuzzGazetteerInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                            static_cast<size_t>(bytes.size()));
        EXPECT_TRUE(failure.isEmpty()) << name.toStdString() << ": " << failure.toStdString();
        const int32_t language = name.contains(QLatin1String("_j_")) ? 2 : 1;
        plat::FlexGridData g;
        const GazetteerRead r = ParseGazetteer(bytes, language, g);
        if (name.startsWith(QLatin1String("ok_"))) {
            EXPECT_TRUE(r.header && r.places >= 1 && r.badLines == 0) << name.toStdString();
        } else if (name.startsWith(QLatin1String("skip_"))) {
            EXPECT_TRUE(r.header && r.places >= 1 && r.badLines >= 1) << name.toStdString();
        } else if (name.startsWith(QLatin1String("refused_"))) {
            EXPECT_FALSE(r.header) << name.toStdString();
        }
    }
}
