// Replays the committed fuzz corpora of the map, thing and district readers
// through the fuzzers' own entry functions, so every build checks the inputs
// the fuzzers found. The hand-made inputs say by their names whether they
// must read: ok_ and v... ones read with figures or entries, odd_ ones read,
// bad_ ones are refused (of a district file: some line is skipped).
#include <gtest/gtest.h>

#include <functional>

#include "../../fuzz/FuzzCatalogBody.h"
#include "../../fuzz/FuzzMapBody.h"
#include "TestSupport.h"

namespace {

void replay(const char* folder, QString (*fuzz)(const uint8_t*, size_t), const std::function<int32_t(const QByteArray&)>& read) {
    for (const auto& [name, bytes] : testsupport::FuzzCorpus(QLatin1String(folder))) {
        EXPECT_EQ(fuzz(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())), QString())
            << name.toStdString();
        const bool odd = name.startsWith(QLatin1String("odd_")) && folder != std::string("adm");
        const bool good = odd || name.startsWith(QLatin1String("ok_")) || (name.startsWith(QLatin1Char('v')) && folder == std::string("map"));
        if (!good && !name.startsWith(QLatin1String("bad_"))) continue;
        int32_t count = -1;
        try {
            count = read(bytes);
        } catch (const plat::AppError&) {
        }
        EXPECT_EQ(count >= (odd ? 0 : 1), good) << name.toStdString();
    }
}

QStringList linesOf(const QByteArray& bytes) { return plat::SplitTextLines(plat::DecodeCp932(bytes)); }

} // namespace

TEST(FuzzCorpus, EveryInputReadsOrIsRefusedCleanly) {
    replay("map", &fuzzmap::FuzzMapInput, [](const QByteArray& b) {
        clsMap map;
        map.ReadFrom(b);
        return map.Count();
    });
    replay("thg", &fuzzcat::FuzzThgInput, [](const QByteArray& b) {
        clsThings things;
        plat::TextReader in(linesOf(b));
        things.ReadFrom(in);
        return things.Count();
    });
    replay("adm", &fuzzcat::FuzzAdmInput, [](const QByteArray& b) {
        clsAdmins admins;
        plat::TextReader in(linesOf(b));
        return admins.ReadFrom(in).isEmpty() ? admins.Count() : -1;   // a bad line skipped counts as refused
    });
}
