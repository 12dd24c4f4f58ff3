// Replays the committed fuzz corpora of the thing and district readers
// through the fuzzers' own entry functions, so every build checks the inputs
// the fuzzers found.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "../../fuzz/FuzzCatalogBody.h"

namespace {

QList<std::pair<QString, QByteArray>> corpus(const QString& folder) {
    const QDir dir(QStringLiteral(KAL_SOURCE_DIR "/fuzz/corpus/") + folder);
    QList<std::pair<QString, QByteArray>> files;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly)) files.append({name, f.readAll()});
    }
    return files;
}

const uint8_t* bytesOf(const QByteArray& b) { return reinterpret_cast<const uint8_t*>(b.constData()); }

bool named(const QString& name, const char* prefix) { return name.startsWith(QLatin1String(prefix)); }

} // namespace

// ok_ and odd_ inputs must read, bad_ inputs must be refused.
TEST(CatalogFuzzCorpus, EveryThingFileReadsOrIsRefusedCleanly) {
    const auto files = corpus(QStringLiteral("thg"));
    ASSERT_GE(files.size(), 10);
    for (const auto& [name, bytes] : files) {
        const QString failure = fuzzcat::FuzzThgInput(bytesOf(bytes), static_cast<size_t>(bytes.size()));
        EXPECT_TRUE(failure.isEmpty()) << name.toStdString() << ": " << failure.toStdString();
        if (!named(name, "ok_") && !named(name, "odd_") && !named(name, "bad_")) continue;
        bool read = true;
        clsThings things;
        try {
            plat::TextReader in(plat::SplitTextLines(plat::DecodeCp932(bytes)));
            things.ReadFrom(in);
        } catch (const plat::AppError&) {
            read = false;
        }
        EXPECT_EQ(read, !named(name, "bad_")) << name.toStdString();
        if (named(name, "ok_")) {
            EXPECT_GE(things.Count(), 1) << name.toStdString();
        }
    }
}

// ok_ inputs read without a skipped line, bad_ inputs skip some; neither stops.
TEST(CatalogFuzzCorpus, EveryDistrictFileReadsWithItsBadLinesSkipped) {
    const auto files = corpus(QStringLiteral("adm"));
    ASSERT_GE(files.size(), 10);
    for (const auto& [name, bytes] : files) {
        const QString failure = fuzzcat::FuzzAdmInput(bytesOf(bytes), static_cast<size_t>(bytes.size()));
        EXPECT_TRUE(failure.isEmpty()) << name.toStdString() << ": " << failure.toStdString();
        if (!named(name, "ok_") && !named(name, "bad_")) continue;
        clsAdmins admins;
        plat::TextReader in(plat::SplitTextLines(plat::DecodeCp932(bytes)));
        const QList<qsizetype> skipped = admins.ReadFrom(in);
        EXPECT_EQ(skipped.isEmpty(), named(name, "ok_")) << name.toStdString();
        EXPECT_GE(admins.Count(), 1) << name.toStdString();
    }
}
