// Districts and the district catalogue: setters, the ".ADM" file with its
// field counts, areas and bad lines, search in both languages, lock rules.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzCatalogBody.h"
#include "CatalogTestSupport.h"
#include "ErrorMng.h"
#include "basLibrary.h"
#include "clsAdmins.h"

#include <QFile>

using cattest::LinesOf;

namespace {

struct Read {
    clsAdmins admins;
    QList<qsizetype> skipped;
};

std::unique_ptr<Read> read(const QStringList& lines) {
    auto r = std::make_unique<Read>();
    plat::TextReader in(lines);
    r->skipped = r->admins.ReadFrom(in);
    return r;
}

AdminPtr district(int32_t code, const QString& europian, const QString& japanese, int32_t page = 1) {
    auto a = std::make_shared<clsAdmin>();
    a->setAdminCode(code);
    a->setEuropianName(europian);
    a->setJapaneseName(japanese);
    a->setPage(page);
    return a;
}

} // namespace

TEST(Admin, SettersAndClear) {
    cattest::Folders folders;
    clsAdmin a;
    EXPECT_EQ(a.AdminCode(), -1);
    EXPECT_EQ(a.AreaCode(), -1);
    EXPECT_EQ(a.Page(), 1);
    EXPECT_TRUE(a.Show());
    EXPECT_TRUE(a.Search());
    for (int32_t v : {-1, 1000}) a.setAdminCode(v);
    for (int32_t v : {-1, 20}) a.setAreaCode(v);
    for (int32_t v : {0, 9, 1}) a.setPage(v);   // 1 is the page already
    EXPECT_FALSE(a.Modify());
    a.setPage(8);
    EXPECT_EQ(a.Page(), 8);
    EXPECT_TRUE(a.Modify());
    a.setAdminName(QStringLiteral("Japan"));
    gvLanguage = 2;
    a.setAdminName(QStringLiteral("日本 \"本州\""));
    EXPECT_EQ(a.JapaneseName(), QStringLiteral("日本 ＂本州＂"));
    EXPECT_EQ(a.AdminName(), a.JapaneseName());
    gvLanguage = 1;
    EXPECT_EQ(a.AdminName(), "Japan");
    gvLanguage = 0;
    EXPECT_EQ(a.AdminName(), "");
    a.Clear();
    EXPECT_EQ(a.Page(), 1);
    EXPECT_EQ(a.EuropianName(), "");
    EXPECT_FALSE(a.Modify());

    auto b = district(5, QStringLiteral("x"), QStringLiteral("y"), 3);
    b->setShow(false);
    b->setModify(false);
    auto c = b->Copy();
    EXPECT_EQ(c->AdminCode(), 5);
    EXPECT_EQ(c->Page(), 3);
    EXPECT_FALSE(c->Show());
    EXPECT_TRUE(c->Modify());
}

TEST(AdminFile, FieldCounts) {
    auto r = read({"[ADMINISTRATION]", "5,1,\"Four\",\"四\"", "6,2,4,\"Five\",\"五\"", "7,3,2,0,1,\"Seven\",\"七\"",
                   "8,3,5,1,0,\"Last empty\",\"\"", "009,4,9,\"Bad page\",\"\""});
    EXPECT_TRUE(r->skipped.isEmpty());
    const clsAdmins& a = r->admins;
    ASSERT_EQ(a.Count(), 5);
    EXPECT_EQ(a.Item(5)->Page(), 1);
    EXPECT_TRUE(a.Item(5)->Show());
    EXPECT_TRUE(a.Item(5)->Search());
    EXPECT_EQ(a.Item(5)->JapaneseName(), "四");
    EXPECT_EQ(a.Item(6)->Page(), 4);
    EXPECT_EQ(a.Item(6)->AreaCode(), 2);
    EXPECT_FALSE(a.Item(7)->Show());
    EXPECT_TRUE(a.Item(7)->Search());
    EXPECT_FALSE(a.Item(8)->Search());
    EXPECT_EQ(a.Item(8)->JapaneseName(), "");
    EXPECT_EQ(a.Item(9)->Page(), 1);
    for (const AdminPtr& d : a) EXPECT_FALSE(d->Modify()) << d->AdminCode();
    EXPECT_FALSE(a.Modify());
}

TEST(AdminFile, BadLinesAreSkippedAndTheRestIsRead) {
    auto r = read({"[AREA]", "0,\"a\"", "1,\"b\",\"c\"", "25,\"d\",\"e\"", "x,\"f\",\"g\"", "2,\"\",\"h\"", "",
                   "[ADMINISTRATION]", "1,1,1,1,\"six\",\"fields\"", "2,1,\"ok\",\"\"", "x,1,\"text code\",\"\"",
                   "1000,1,\"code too big\",\"\"", "2,1,\"twice\",\"\"", "3,1,99999,\"page overflow\",\"\"", "",
                   " ", "4,1,\"after\",\"\""});
    EXPECT_EQ(r->skipped, (QList<qsizetype>{2, 4, 5, 9, 11, 12, 13, 14, 16}));
    std::vector<int16_t> codes;
    for (const AdminPtr& d : r->admins) codes.push_back(d->AdminCode());
    EXPECT_EQ(codes, (std::vector<int16_t>{2, 4}));
    EXPECT_EQ(r->admins.Item(2)->EuropianName(), "ok");
    EXPECT_EQ(r->admins.AreaName(1, 2), "c");
    EXPECT_EQ(r->admins.AreaName(2, 2), "h");
}

TEST(AdminFile, LoadNamesTheSkippedLines) {
    cattest::Folders folders;
    const QString path = folders.map(QStringLiteral("SKIP.ADM"));
    cattest::WriteLines(path, {"[ADMINISTRATION]", "1,1,\"a\",\"b\"", "bad", "3,1,\"c\",\"d\""});
    clsAdmins a;
    a.setFileName(path);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("読み取れない行を読み飛ばしました. (行: 3)"), plat::IdOk);
    ASSERT_EQ(a.Load(), 0);
    EXPECT_EQ(a.Count(), 2);
    EXPECT_FALSE(a.Modify());
}

TEST(AdminFile, SectionsInAnyCaseAndWithoutEmptyLines) {
    auto r = read({"[comment]", "c", "[Area]", "3,\"x\",\"y\"", "[ADMINISTRATION]", "1,3,\"p\",\"q\"", "[AREA]",
                   "4,\"z\",\"w\"", "[ADMINISTRATION]", "2,3,\"r\",\"s\"", "[OTHER]", "3,3,\"t\",\"u\""});
    EXPECT_EQ(r->admins.Comment(), "c\r\n[Area]\r\n3,\"x\",\"y\"\r\n[ADMINISTRATION]\r\n1,3,\"p\",\"q\"\r\n[AREA]\r\n"
                                   "4,\"z\",\"w\"\r\n[ADMINISTRATION]\r\n2,3,\"r\",\"s\"\r\n[OTHER]\r\n3,3,\"t\",\"u\"");
    auto s = read({"[Area]", "3,\"x\",\"y\"", "[ADMINISTRATION]", "1,3,\"p\",\"q\"", "[area]", "4,\"z\",\"w\"",
                   "[administration]", "2,3,\"r\",\"s\"", "[OTHER]", "3,3,\"t\",\"u\""});
    EXPECT_EQ(s->admins.Count(), 3);
    EXPECT_EQ(s->admins.AreaName(4, 1), "z");
    EXPECT_EQ(s->skipped, (QList<qsizetype>{9}));
}

TEST(AdminFile, WrittenForm) {
    clsAdmins a;
    a.setComment(QStringLiteral("line\r\n\r\nend"));
    a.setAreaName(0, 1, QStringLiteral("Asia"));
    a.setAreaName(0, 2, QStringLiteral("アジア"));
    a.setAreaName(5, 2, QStringLiteral("日本だけ"));
    a.setAreaName(19, 1, QStringLiteral("Only European"));
    a.setAreaName(20, 1, QStringLiteral("no such area"));
    a.setAreaName(1, 3, QStringLiteral("no such language"));
    auto d = district(7, QStringLiteral("Seven, \"7\""), QString(), 4);
    d->setAreaCode(5);
    d->setSearch(false);
    a.Add(d);
    a.Add(district(123, QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_EQ(LinesOf(a), (QStringList{"[COMMENT]", "line", " ", "end", "", "[AREA]", "0,\"Asia\",\"アジア\"",
                                       "5,\"\",\"日本だけ\"", "19,\"Only European\",\"\"", "", "[ADMINISTRATION]",
                                       "007,5,4,1,0,\"Seven, ＂7＂\",\"\"", "123,-1,1,1,1,\"x\",\"y\""}));
}

TEST(AdminFile, RoundTripThroughAFileIsExact) {
    cattest::Folders folders;
    clsAdmins a;
    a.setFileName(folders.map(QStringLiteral("round.xyz")));
    EXPECT_EQ(FileNameOf(a.FileName()), "round.ADM");
    a.setComment(QStringLiteral(" \r\n\r\n  x  \r\n"));
    for (int32_t k = 0; k <= 19; ++k) {
        if (k % 3 != 2) a.setAreaName(k, 1, QStringLiteral("E%1").arg(k));
        if (k % 2) a.setAreaName(k, 2, QStringLiteral("和%1, \"%1\"").arg(k));
    }
    for (int32_t code : {0, 7, 42, 999}) {
        auto d = district(code, code == 42 ? QString() : QStringLiteral(" eu %1 ").arg(code),
                          code == 7 ? QString() : QStringLiteral("日本語%1").arg(code), code % 8 + 1);
        d->setAreaCode(code % 20);
        d->setShow(code % 2 == 0);
        d->setSearch(code > 10);
        a.Add(d);
    }
    a.Add(district(5, QString(), QString()));
    ASSERT_EQ(a.Save(), 0);
    EXPECT_FALSE(a.Modify());
    clsAdmins back;
    back.setFileName(a.FileName());
    ASSERT_EQ(back.Load(), 0);
    EXPECT_EQ(fuzzcat::CompareAdmins(a, back), QString());
    EXPECT_EQ(back.Comment(), " \r\n\r\n  x  \r\n");
    EXPECT_EQ(back.Item(7)->JapaneseName(), "");
    EXPECT_EQ(back.Item(5)->AreaCode(), -1);
    EXPECT_FALSE(back.Modify());
}

TEST(Admins, SearchInBothLanguagesKeepsTheDisplayLanguage) {
    cattest::Folders folders;
    clsAdmins a;
    a.Add(district(1, QStringLiteral("Japan"), QStringLiteral("日本")));
    a.Add(district(2, QStringLiteral("日本"), QStringLiteral("Nihon")));
    a.Add(district(3, QStringLiteral("Korea"), QStringLiteral("韓国")));
    struct Case {
        long language;
        const char* name;
        int16_t code;
    } cases[] = {
        {1, "japan", 1}, {1, "日本", 2}, {1, "韓国", 3}, {2, "日本", 1}, {2, "KOREA", 3}, {2, "China", -1}, {1, "", -1},
    };
    for (const Case& c : cases) {
        gvLanguage = c.language;
        EXPECT_EQ(a.Search(QString::fromUtf8(c.name)), c.code) << c.language << " " << c.name;
        EXPECT_EQ(gvLanguage, c.language);
    }
}

TEST(Admins, AddRemoveItemModifyAndLock) {
    clsAdmins a;
    EXPECT_TRUE(a.Add(district(3, QStringLiteral("a"), QString())));
    EXPECT_FALSE(a.Add(district(-1, QStringLiteral("none"), QString())));
    EXPECT_FALSE(a.Add(nullptr));
    try {
        a.Add(district(3, QStringLiteral("again"), QString()));
        ADD_FAILURE() << "a code given twice was taken";
    } catch (const plat::AppError& e) {
        EXPECT_EQ(e.number(), ErrGeneral);
        EXPECT_TRUE(e.source().startsWith(QStringLiteral("clsAdmins.Add/")));
    }
    EXPECT_EQ(a.Item(3)->EuropianName(), "a");
    EXPECT_EQ(a.Item(4), nullptr);
    EXPECT_EQ(a.Item(-5), nullptr);
    a.setModify(false);
    EXPECT_FALSE(a.Modify());
    a.Item(3)->setShow(false);
    EXPECT_TRUE(a.Modify());
    a.setModify(false);
    EXPECT_FALSE(a.Item(3)->Modify());
    EXPECT_FALSE(a.Remove(4));
    EXPECT_FALSE(a.Modify());
    EXPECT_TRUE(a.Remove(3));
    EXPECT_TRUE(a.Modify());
    EXPECT_EQ(a.Item(3), nullptr);

    a.Add(district(8, QStringLiteral("b"), QString()));
    a.setLockMode(true);
    {
        testsupport::ScriptedBoxes boxes;
        for (const char* edit : {"Add", "Remove", "Comment", "AreaName", "ClearAll"})
            boxes.expect(QStringLiteral("は変更禁止. [%1]").arg(QLatin1String(edit)), plat::IdOk);
        EXPECT_FALSE(a.Add(district(9, QString(), QString())));
        EXPECT_FALSE(a.Remove(8));
        a.setComment(QStringLiteral("x"));
        a.setAreaName(0, 1, QStringLiteral("x"));
        a.ClearAll();
    }
    EXPECT_EQ(a.Count(), 1);
    auto c = a.Copy();
    EXPECT_TRUE(c->LockMode());
    EXPECT_EQ(c->Count(), 1);
    EXPECT_EQ(c->FileName(), a.FileName());
}

TEST(Admins, LoadAndSaveResults) {
    cattest::Folders folders;
    clsAdmins a;
    a.Add(district(1, QStringLiteral("kept"), QString()));
    a.setFileName(folders.map(QStringLiteral("none.ADM")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("行政区ファイルが存在しません."), plat::IdOk);
        EXPECT_EQ(a.Load(), 53);
    }
    EXPECT_EQ(a.Count(), 1);

    // A code given twice by renumbering is not written; the file stays.
    a.Add(district(2, QStringLiteral("two"), QString()));
    ASSERT_EQ(a.Save(), 0);
    const QStringList before = cattest::ReadLines(a.FileName());
    a.Item(2)->setAdminCode(1);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("行政区コード 1 が重複しているため保存できません."), plat::IdOk);
        EXPECT_EQ(a.Save(), ErrGeneral);
    }
    EXPECT_EQ(cattest::ReadLines(a.FileName()), before);
}
