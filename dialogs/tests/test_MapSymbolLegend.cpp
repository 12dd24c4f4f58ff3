#include "MapSymbolTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QUrl>

#include "MapSymbolLegend.h"
#include "MessageBox.h"
#include "TextFile.h"

using namespace symboltest;

namespace {

TEST(MapSymbolLegendText, NamesAreEscapedAndKeptReadable) {
    const struct {
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {u"陸地", u"陸地"},
        {u"<b>A&B</b>", u"&lt;b>A&amp;B&lt;/b>"},
        {u"\"港\"", u"&quot;港&quot;"},
        {u"Zürich", u"Z&#252;rich"},          // no Shift-JIS form
        {u"서울", u"&#49436;&#50872;"},
        {u"𠮷野家", u"&#134071;野家"},        // beyond the basic plane: one reference
        {u"ｶﾀｶﾅ～", u"ｶﾀｶﾅ～"},
        {u"〜−‖—¢", u"&#12316;&#8722;&#8214;&#8212;&#162;"},   // Shift-JIS writes look-alikes
        {u"", u""},
    };
    for (const auto& c : cases) {
        const QString got = legend::HtmlText(QString::fromUtf16(c.in));
        EXPECT_EQ(got, QString::fromUtf16(c.out));
        EXPECT_TRUE(plat::IsCp932Encodable(got));
    }
}

TEST(MapSymbolLegendText, ColoursAsDecimalRgb) {
    const struct {
        int32_t figure, color;
        const char* text;
    } cases[] = {
        {2, 0, "0,0,0"}, {3, 0x123456, "86,52,18"}, {5, 0xFFFFFF, "255,255,255"}, {4, -1, ""}, {1, 0x00FF00, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(legend::ColorText(c.figure, c.color), QString::fromLatin1(c.text)) << c.color;
}

TEST(MapSymbolLegendText, PageAndPictureNames) {
    EXPECT_EQ(legend::PagePath(QStringLiteral("/m/World.THG")), QStringLiteral("/m/World.HTM"));
    EXPECT_EQ(legend::PictureFolder(QStringLiteral("/m/World.HTM")), QStringLiteral("/m/World_image"));
    EXPECT_EQ(legend::PictureName(42), QStringLiteral("sample42.PNG"));
    // Characters that would end or bend a relative address.
    EXPECT_EQ(legend::PictureSrc(QStringLiteral("A#1?%_image"), QStringLiteral("sample1.PNG")),
              QStringLiteral("A%231%3F%25_image/sample1.PNG"));
    EXPECT_EQ(legend::PictureSrc(QStringLiteral("W&<1>_image"), QStringLiteral("sample2.PNG")),
              QStringLiteral("W&amp;&lt;1>_image/sample2.PNG"));
}

struct MapSymbolLegend : Opening {
    testsupport::TempDir dir;
    MapSymbolLegend() {
        m.EiDispAll = true;
        m.CurThings->setFileName(dir.file(QStringLiteral("W&<1>.THG")));
        m.CurThings->setCategoryName(2, QStringLiteral("交通 & <港>"));
        clsThing& rail = work(u"鉄道");
        rail.setName(QStringLiteral("\"JR\" 𠮷"));
        rail.setPage(1);
        rail.setBack(-1);
        work(u"空港").setPage(1);
        work(u"空港").setBack(0);
        m.SetGridData();
    }
    QString page() const { return dir.file(QStringLiteral("W&<1>.HTM")); }
    QString picture(int n) const { return dir.file(QStringLiteral("W&<1>_image/sample%1.PNG").arg(n)); }
    void openAll() {
        for (int32_t r = 1; r < things.Rows(); ++r)
            if (things.TextMatrix(r, MapSymbolModel::colTree) == QLatin1String("+")) m.GridTree(r);
    }
};

TEST_F(MapSymbolLegend, PageMatchesTheGoldenFileAndPicturesDecode) {
    // The categories stay closed: their rows are written all the same.
    things.select(1, 1, things.Rows() - 1, 1);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(page() + QStringLiteral("\r\nに保存しました."), plat::IdOk);
        EXPECT_TRUE(SaveHtmlLegend(m));
    }
    const QByteArray bytes = testsupport::ReadBytes(page());
    QString text = plat::DecodeCp932(bytes);
    text.replace(dir.path(), QStringLiteral("{DIR}"));
    text.replace(QRegularExpression(QStringLiteral("version \\d+\\.\\d+")), QStringLiteral("version {VERSION}"));
    const QString goldenPath = QStringLiteral(KAL_TESTDATA_DIR "/legend.HTM");
    if (qEnvironmentVariableIsSet("KAL_UPDATE_GOLDEN")) testsupport::WriteBytes(goldenPath, plat::EncodeCp932(text));
    EXPECT_EQ(text, plat::DecodeCp932(testsupport::ReadBytes(goldenPath)));
    EXPECT_TRUE(bytes.endsWith("</HTML>\r\n"));
    EXPECT_FALSE(bytes.contains("\n\n"));
    for (int n : {1, 2, 3, 4, 5, 6}) {
        QImageReader reader(picture(n));
        EXPECT_EQ(reader.format(), "png") << n;
        const QImage image = reader.read();
        EXPECT_FALSE(image.isNull()) << n;
        EXPECT_EQ(image.width(), m.SampleWidth);
    }
    // The page and the pictures of a person's look in a browser.
    const QString out = testsupport::OutputFolder() + QStringLiteral("/legend");
    QDir(out).removeRecursively();
    QDir().mkpath(out + QStringLiteral("/W&<1>_image"));
    QFile::copy(page(), out + QStringLiteral("/W&<1>.HTM"));
    for (int n = 1; n <= 6; ++n) QFile::copy(picture(n), out + QStringLiteral("/W&<1>_image/sample%1.PNG").arg(n));
}

TEST_F(MapSymbolLegend, OnlyTheSelectedRowsAndTheOldPicturesStay) {
    openAll();
    things.select(1, 1, things.Rows() - 1, 1);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("に保存しました."), plat::IdOk);
    boxes.expect(QStringLiteral("に保存しました."), plat::IdOk);
    ASSERT_TRUE(SaveHtmlLegend(m));
    const int32_t r = rowOf(QStringLiteral("陸地"));
    things.select(r, 1, r, 1);
    const int32_t top = things.Row(), bottom = things.RowSel();
    ASSERT_TRUE(SaveHtmlLegend(m));
    EXPECT_EQ(things.Row(), top);   // the selection is as it was
    EXPECT_EQ(things.RowSel(), bottom);
    const QString text = plat::DecodeCp932(testsupport::ReadBytes(page()));
    EXPECT_EQ(text.count(QStringLiteral("<IMG")), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("W&amp;&lt;1>_image/sample2.PNG")));
    EXPECT_TRUE(QFile::exists(picture(1)));   // from the first export
}

// The files the page's pictures lead to when a browser reads it as Shift_JIS.
QStringList PictureTargets(const QString& page) {
    const QString text = plat::DecodeCp932(testsupport::ReadBytes(page));
    QStringList out;
    static const QRegularExpression src(QStringLiteral("<IMG src=\"([^\"]*)\">")), ref(QStringLiteral("&#(\\d+);"));
    for (const QRegularExpressionMatch& m : src.globalMatch(text)) {
        QString url = m.captured(1);
        for (QRegularExpressionMatch r = ref.match(url); r.hasMatch(); r = ref.match(url)) {
            const char32_t c = r.captured(1).toUInt();
            url.replace(r.capturedStart(), r.capturedLength(), QString::fromUcs4(&c, 1));
        }
        url.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        out << QFileInfo(page).path() + QLatin1Char('/') + QUrl::fromPercentEncoding(url.toUtf8());
    }
    return out;
}

// A name Shift-JIS writes with look-alikes, on a page that is a link.
TEST_F(MapSymbolLegend, PicturesAreFoundAsABrowserReadsThePage) {
    const QString name = QStringLiteral("〜波−‖—¢"), target = dir.file(QStringLiteral("real/〜.HTM"));
    m.CurThings->setFileName(dir.file(name + QStringLiteral(".THG")));
    QDir().mkpath(dir.file(QStringLiteral("real")));
    ASSERT_TRUE(QFile::link(target, dir.file(name + QStringLiteral(".HTM"))));
    things.select(1, 1, things.Rows() - 1, 1);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("に保存しました."), plat::IdOk);
    ASSERT_TRUE(SaveHtmlLegend(m));
    EXPECT_TRUE(QFileInfo(dir.file(name + QStringLiteral(".HTM"))).isSymLink());
    const QStringList targets = PictureTargets(target);
    EXPECT_EQ(targets.size(), 6);
    for (const QString& t : targets) EXPECT_TRUE(QFile::exists(t)) << t.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file(name + QStringLiteral("_image"))));
}

TEST_F(MapSymbolLegend, NothingSelectedWritesNothing) {
    m.ThingGrid()->setRows(1);
    EXPECT_FALSE(SaveHtmlLegend(m));
    EXPECT_FALSE(QFile::exists(page()));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("W&<1>_image"))));
}

TEST_F(MapSymbolLegend, ASkippedFileErrorEndsWithoutPageOrMessage) {
    testsupport::WriteBytes(page(), "old page");
    // A folder where the pictures should go cannot be made under a file.
    m.CurThings->setFileName(dir.file(QStringLiteral("W&<1>.HTM/x.THG")));
    things.select(1, 1, things.Rows() - 1, 1);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("x.HTM"), plat::IdNo);
    EXPECT_FALSE(SaveHtmlLegend(m));
    EXPECT_EQ(testsupport::ReadBytes(page()), QByteArray("old page"));
}

} // namespace
