#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <functional>

#include "AppError.h"
#include "FileOps.h"
#include "SettingsStore.h"
#include "TestSupport.h"

using namespace plat;

namespace {
struct StoreInTemp : ::testing::Test {
    testsupport::TempDir dir;
    QString old = SettingsStore::Folder();
    void SetUp() override { SettingsStore::SetFolder(dir.path()); }
    void TearDown() override { SettingsStore::SetFolder(old); }
};
} // namespace

TEST_F(StoreInTemp, KeepsOrderCaseAndAwkwardTextAcrossReloads) {
    auto& s = SettingsStore::instance();
    s.put("APP", "PUBLIC", "zeta", "1");
    s.put("APP", "PUBLIC", "Alpha", "a=b\\c\r\nnext line");
    s.put("APP", "PUBLIC", "[odd", "x");
    s.put("APP", "OTHER", "k", "");
    s.put("APP", "public", "ZETA", "2");   // same key, other case
    s.reload();
    bool exists = false;
    auto pairs = s.section("APP", "PUBLIC", &exists);
    ASSERT_TRUE(exists);
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0], (std::pair<QString, QString>{"zeta", "2"}));
    EXPECT_EQ(pairs[1].second, QStringLiteral("a=b\\c\r\nnext line"));
    EXPECT_EQ(pairs[2].first, QStringLiteral("[odd"));
    bool found = false;
    EXPECT_EQ(s.get("APP", "Other", "K", &found), QString());
    EXPECT_TRUE(found);
    s.get("APP", "OTHER", "none", &found);
    EXPECT_FALSE(found);
}

TEST_F(StoreInTemp, DeletesKeysAndSections) {
    auto& s = SettingsStore::instance();
    s.put("APP", "S", "a", "1");
    s.put("APP", "S", "b", "2");
    s.remove("APP", "S", "a");
    s.remove("APP", "S", "missing");
    s.remove("APP", "NOPE", "");
    EXPECT_EQ(s.section("APP", "S").size(), 1u);
    s.remove("APP", "S", "");
    bool exists = true;
    s.reload();
    s.section("APP", "S", &exists);
    EXPECT_FALSE(exists);
}

TEST_F(StoreInTemp, BatchWritesOnceAtItsEnd) {
    auto& s = SettingsStore::instance();
    {
        SettingsStore::Batch b;
        s.put("APP", "S", "a", "1");
        EXPECT_FALSE(QFile::exists(dir.file("APP.ini")));
    }
    EXPECT_TRUE(QFile::exists(dir.file("APP.ini")));
}

TEST_F(StoreInTemp, AFileThatDoesNotReadIsNamedAndNeverReplaced) {
    auto& s = SettingsStore::instance();
    const QString ini = dir.file("APP.ini");
    const QByteArray ini8 = QFile::encodeName(ini);
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* says;
    } cases[] = {
        {"folder", [&] { QDir().mkdir(ini); }, "設定ファイルを読めません"},
        {"pipe", [&] { ASSERT_EQ(::mkfifo(ini8.constData(), 0600), 0); }, "通常のファイルではない"},
        {"link to /dev/zero", [&] { QFile::link("/dev/zero", ini); }, "通常のファイルではない"},
        // Root reads every file: the denial is made by the test hook.
        {"unreadable", [&] { testsupport::WriteBytes(ini, "[S]\nk=v\n"); ReadOnlyFile::FailNextOpenWith(EACCES); },
         "読み取りできません"},
        {"too large", [&] { QFile f(ini); ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(SettingsStore::kMaxFileBytes + 1)); },
         "上限 16 MiB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(ini);
        QDir(ini).removeRecursively();
        c.make();
        s.reload();
        const AppError e = testsupport::ErrorOf([&] { s.get("APP", "S", "k"); });
        EXPECT_TRUE(e.description().contains(ini) && e.description().contains(QString::fromUtf8(c.says)))
            << e.description().toStdString();
        if (QString::fromUtf8(c.what) == QLatin1String("unreadable")) ReadOnlyFile::FailNextOpenWith(EACCES);
        EXPECT_NE(testsupport::ErrorOf([&] { s.put("APP", "S", "k", "new"); }).number(), 0) << "no write over it";
    }
    EXPECT_EQ(QFileInfo(ini).size(), SettingsStore::kMaxFileBytes + 1);
}
