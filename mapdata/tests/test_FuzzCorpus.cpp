// Replays the committed fuzz corpus of the map reader through the fuzzer's
// own entry function, so every build checks the inputs the fuzzer found.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "../../fuzz/FuzzMapBody.h"

TEST(MapFuzzCorpus, EveryInputReadsOrIsRefusedCleanly) {
    const QDir dir(QStringLiteral(KAL_SOURCE_DIR "/fuzz/corpus/map"));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 20) << dir.path().toStdString();
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = f.readAll();
        const QString failure =
            fuzzmap::FuzzMapInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
        EXPECT_TRUE(failure.isEmpty()) << name.toStdString() << ": " << failure.toStdString();
        // The hand-made inputs say by their names whether they must read.
        const bool good = name.startsWith(QLatin1Char('v')) || name.startsWith(QStringLiteral("ok_")) ||
                          name.startsWith(QStringLiteral("odd_"));
        if (!good && !name.startsWith(QStringLiteral("bad_"))) continue;
        clsMap map;
        bool read = true;
        try {
            map.ReadFrom(bytes);
        } catch (const plat::AppError&) {
            read = false;
        }
        EXPECT_EQ(read, good) << name.toStdString();
        if (good) {
            EXPECT_GE(map.Count(), 1) << name.toStdString();
        }
    }
}
