// Districts and the district catalogue: the ".ADM" file with its field
// counts, areas and bad lines, search in both languages, lock rules.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzCatalogBody.h"
#include "MapTestSupport.h"
#include "CatalogText.h"
#include "ErrorMng.h"
#include "basLibrary.h"
#include "clsAdmins.h"

using namespace maptest;

namespace {

AdminPtr district(int32_t code, const QString& europian, const QString& japanese, int32_t page = 1) {
    auto a = std::make_shared<clsAdmin>();
    a->setAdminCode(code);
    a->setEuropianName(europian);
    a->setJapaneseName(japanese);
    a->setPage(page);
    return a;
}

} // namespace

TEST(Admin, SettersAndNames) {
    maptest::Folders folders;
    clsAdmin a;
    for (int32_t v : {-1, 1000}) a.setAdminCode(v);
    for (int32_t v : {-1, 20}) a.setAreaCode(v);
    for (int32_t v : {0, 9, 1}) a.setPage(v);   // 1 is the page already
    EXPECT_FALSE(a.Modify());
    EXPECT_EQ(a.AdminCode() * 100 + a.AreaCode() * 10 + a.Page(), -110 + 1);
    gvLanguage = 2;
    a.setAdminName(QStringLiteral("日本 \"本州\""));
    EXPECT_EQ(a.JapaneseName(), QStringLiteral("日本 ＂本州＂"));
    gvLanguage = 1;
    EXPECT_EQ(a.AdminName(), "");
    EXPECT_EQ(catalog::SplitFields(QStringLiteral("1,\"a,b\",,\"c")), (QStringList{"1", "a,b", ""}));   // an open quote swallows the rest
}

// 4 to 7 fields: code, area, [page, [show, search,]] two names.
TEST(AdminFile, FieldCountsAndBadLines) {
    plat::TextReader in(QStringList{
        "[AREA]", "0,\"a\"", "1,\"b\",\"c\"", "19,\"s\",\"t\"", "20,\"d\",\"e\"", "3,\"a\",\"b\",\"c\"", "x,\"f\",\"g\"", "",
        "[ADMINISTRATION]", "5,1,\"Four\",\"四\"", "6,2,4,\"Five\",\"五\"", "7,3,2,0,1,\"Seven\",\"七\"",
        "8,3,5,1,0,\"Last empty\",\"\"", "009,4,9,\"Bad page\",\"\"", "1,1,1,1,\"six\",\"fields\"", "x,1,\"text\",\"\"",
        "1000,1,\"code too big\",\"\"", "5,1,\"twice\",\"\"", "3,1,99999,\"page overflow\",\"\"", "", " ", "4,1,\"after\",\"\""});
    clsAdmins a;
    EXPECT_EQ(a.ReadFrom(in), (QList<qsizetype>{2, 5, 6, 7, 15, 16, 17, 18, 19, 21}));
    std::vector<std::array<int32_t, 5>> got;   // code, area, page, show, search
    for (const AdminPtr& d : a) {
        got.push_back({d->AdminCode(), d->AreaCode(), d->Page(), d->Show(), d->Search()});
        EXPECT_FALSE(d->Modify());
    }
    EXPECT_EQ(got, (std::vector<std::array<int32_t, 5>>{
                       {5, 1, 1, 1, 1}, {6, 2, 4, 1, 1}, {7, 3, 2, 0, 1}, {8, 3, 5, 1, 0}, {9, 4, 1, 1, 1}, {4, 1, 1, 1, 1}}));
    EXPECT_EQ(a.Item(5)->JapaneseName(), "四");
    EXPECT_EQ(a.AreaName(1, 2), "c");
    EXPECT_EQ(a.AreaName(19, 1), "s");
    EXPECT_EQ(a.AreaName(3, 1), "");
    EXPECT_FALSE(a.Modify());
}

TEST(AdminFile, SectionsCommentsAndTheWrittenForm) {
    // Sections in any case, no empty line needed but after the comment; an
    // unknown header inside the districts is a bad line.
    plat::TextReader in(QStringList{"[comment]", "c", "", "[Area]", "3,\"x\",\"y\"", "[ADMINISTRATION]", "1,3,\"p\",\"q\"",
                                    "[area]", "4,\"z\",\"w\"", "[administration]", "2,3,\"r\",\"s\"", "[OTHER]", "3,3,\"t\",\"u\""});
    clsAdmins s;
    EXPECT_EQ(s.ReadFrom(in), (QList<qsizetype>{12}));
    EXPECT_EQ(s.Comment(), "c");
    EXPECT_EQ(s.Count(), 3);
    EXPECT_EQ(s.AreaName(4, 1), "z");
    clsAdmins a;
    a.setComment(QStringLiteral("line\r\n\r\nend"));
    a.setAreaName(0, 1, QStringLiteral("Asia"));
    a.setAreaName(0, 2, QStringLiteral("アジア"));
    a.setAreaName(5, 2, QStringLiteral("日本だけ"));
    a.setAreaName(20, 1, QStringLiteral("no such area"));
    a.setAreaName(1, 3, QStringLiteral("no such language"));
    auto d = district(7, QStringLiteral("Seven, \"7\""), QString(), 4);
    d->setAreaCode(5);
    d->setSearch(false);
    a.Add(d);
    a.Add(district(123, QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_EQ(LinesOf(a), (QStringList{"[COMMENT]", "line", " ", "end", "", "[AREA]", "0,\"Asia\",\"アジア\"",
                                       "5,\"\",\"日本だけ\"", "", "[ADMINISTRATION]", "007,5,4,1,0,\"Seven, ＂7＂\",\"\"",
                                       "123,-1,1,1,1,\"x\",\"y\""}));
}

TEST(AdminFile, LoadAndSave) {
    Folders folders;
    clsAdmins a;
    a.setFileName(folders.map(QStringLiteral("round.xyz")));
    EXPECT_EQ(FileNameOf(a.FileName()), "round.ADM");
    a.setComment(QStringLiteral(" \r\n\r\n  x  \r\n"));
    a.setAreaName(19, 2, QStringLiteral("和, \"19\""));
    for (int32_t code : {0, 7, 999}) a.Add(district(code, QStringLiteral(" eu %1 ").arg(code), QString(), code % 8 + 1));
    ASSERT_EQ(a.Save(), 0);
    clsAdmins back;
    back.setFileName(a.FileName());
    ASSERT_EQ(back.Load(), 0);
    EXPECT_EQ(fuzzcat::CompareAdmins(a, back), QString());
    EXPECT_EQ(back.Comment(), " \r\n\r\n  x  \r\n");
    // A code given twice by renumbering is not written; the file stays.
    const QStringList before = plat::ReadTextLines(a.FileName());
    a.Item(7)->setAdminCode(0);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("行政区コード 0 が重複しているため保存できません."), plat::IdOk)
        .expect(QStringLiteral("読み取れない行を読み飛ばしました. (行: 3)"), plat::IdOk)
        .expect(QStringLiteral("行政区ファイルが存在しません."), plat::IdOk);
    EXPECT_EQ(a.Save(), ErrGeneral);
    EXPECT_EQ(plat::ReadTextLines(a.FileName()), before);
    WriteLines(folders.map(QStringLiteral("SKIP.ADM")), {"[ADMINISTRATION]", "1,1,\"a\",\"b\"", "bad"});
    back.setFileName(folders.map(QStringLiteral("SKIP.ADM")));
    ASSERT_EQ(back.Load(), 0);   // the skipped lines are named
    EXPECT_EQ(back.Count(), 1);
    back.setFileName(folders.map(QStringLiteral("none.ADM")));
    EXPECT_EQ(back.Load(), 53);
    EXPECT_EQ(back.Count(), 1);   // kept
}

TEST(Admins, SearchEditsAndLock) {
    maptest::Folders folders;
    clsAdmins a;
    a.Add(district(1, QStringLiteral("Japan"), QStringLiteral("日本")));
    a.Add(district(2, QStringLiteral("日本"), QStringLiteral("Nihon")));
    a.Add(district(3, QStringLiteral("Korea"), QStringLiteral("韓国")));
    // Both languages, the display language first; it is kept.
    for (auto [language, name, code] : {std::tuple{1L, "japan", 1}, {1L, "日本", 2}, {1L, "韓国", 3}, {2L, "日本", 1},
                                        {2L, "KOREA", 3}, {2L, "China", -1}, {1L, "", -1}}) {
        gvLanguage = language;
        EXPECT_EQ(a.Search(QString::fromUtf8(name)), code) << language << " " << name;
        EXPECT_EQ(gvLanguage, language);
    }
    EXPECT_FALSE(a.Add(district(-1, QStringLiteral("none"), QString())) || a.Add(nullptr));
    EXPECT_EQ(maptest::ErrorOf([&] { a.Add(district(3, QStringLiteral("again"), QString())); }).number(), ErrGeneral);
    a.setModify(false);
    a.Item(3)->setShow(false);
    EXPECT_TRUE(a.Modify());   // through a district
    a.setModify(false);
    EXPECT_FALSE(a.Item(3)->Modify() || a.Remove(4) || a.Modify());
    EXPECT_TRUE(a.Remove(3) && a.Modify());
    a.setLockMode(true);
    testsupport::ScriptedBoxes boxes;
    for (const char* edit : {"Add", "Remove", "Comment", "AreaName", "ClearAll"})
        boxes.expect(QStringLiteral("は変更禁止. [%1]").arg(QLatin1String(edit)), plat::IdOk);
    EXPECT_FALSE(a.Add(district(9, QString(), QString())) || a.Remove(1));
    a.setComment(QStringLiteral("x"));
    a.setAreaName(0, 1, QStringLiteral("x"));
    a.ClearAll();
    EXPECT_EQ(a.Count(), 2);
    EXPECT_TRUE(a.Copy()->LockMode());
}
