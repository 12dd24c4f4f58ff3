#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <functional>

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
    // Root reads every file: the denial comes from the test hook.
    const std::function<void()> makers[] = {
        [&] { QDir().mkdir(ini); },
        [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0); },
        [&] { QFile::link("/dev/zero", ini); },
        [&] { testsupport::WriteBytes(ini, "[S]\nk=v\n"); ReadOnlyFile::FailNextOpenWith(EACCES); },
        [&] { QFile f(ini); ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(SettingsStore::kMaxFileBytes + 1)); },
    };
    for (int k = 0; k < 5; ++k) {
        QFile::remove(ini);
        QDir(ini).removeRecursively();
        makers[k]();
        s.reload();
        const QString said = testsupport::ErrorOf([&] { s.get("APP", "S", "k"); }).description();
        EXPECT_TRUE(said.contains(ini) && (k < 4 || said.contains("上限 16 MiB"))) << said.toStdString();
        if (k == 3) ReadOnlyFile::FailNextOpenWith(EACCES);
        EXPECT_NE(testsupport::ErrorOf([&] { s.put("APP", "S", "k", "new"); }).number(), 0) << said.toStdString();
    }
    EXPECT_EQ(QFileInfo(ini).size(), SettingsStore::kMaxFileBytes + 1) << "the large file is neither read nor replaced";
}
