#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TextFile.h"
#include "clsRegistry.h"

TEST(Registry, ValuesBySectionAndKey) {
    clsRegistry r("T_VALUES");
    r.RegDelete("");
    EXPECT_FALSE(r.RegGetSec().has_value());
    r.RegPut("k", "東京");
    r.RegPut("n", 42);
    r.RegPut("d", 0.25);
    r.RegPut("b", true);
    EXPECT_EQ(r.RegGet("K", "def"), "東京");
    EXPECT_EQ(r.RegGetLong("n", 0), 42);
    EXPECT_EQ(r.RegGetDouble("d", 0), 0.25);
    EXPECT_TRUE(r.RegGetBool("b", false));
    EXPECT_EQ(r.RegGetLong("k", -7), -7);      // unreadable text gives the default
    r.RegPut("huge", "1" + QString(309, QLatin1Char('0')));   // an overflow, not 0
    EXPECT_EQ(r.RegGetLong("huge", -7), -7);
    EXPECT_EQ(r.RegGetDouble("huge", 0.5), 0.5);
    EXPECT_EQ(clsRegistry("T_OTHER").RegGet("k", "x"), "x");
    r.RegDelete("k");
    EXPECT_EQ(r.RegGet("k", "gone"), "gone");
    EXPECT_EQ(r.RegGetSec()->size(), 4u);
}

TEST(Registry, FractionsReadBackUnderADecimalCommaLocale) {
    testsupport::CommaLocale comma;
    clsRegistry r("T_COMMA");
    r.RegDelete("");
    r.RegPut("Light", 0.35);
    r.RegPut("Scale", 1.36e14);
    EXPECT_EQ(r.RegGet("Light", ""), "0.35");
    EXPECT_EQ(r.RegGetDouble("Light", 0), 0.35);
    EXPECT_EQ(r.RegGetDouble("Scale", 0), 1.36e14);
    r.RegDelete("");
}

TEST(RegistrySnapshot, WriterMatchesTheGoldenFile) {
    testsupport::TempDir dir;
    clsRegistry canvas("CANVAS");
    canvas.RegDelete("");
    canvas.RegPut("Width", 800);
    canvas.RegPut("Title", "東京 \"quoted\" 地図");
    canvas.RegPut("Empty", "");
    clsRegistry missing("MISSING");
    missing.RegDelete("");
    plat::TextWriter w(dir.file("out.PLG"));
    canvas.WriteFile(w);
    missing.WriteFile(w);   // a section that does not exist writes its header alone
    w.commit();
    EXPECT_EQ(testsupport::ReadBytes(dir.file("out.PLG")), testsupport::ReadBytes(KAL_TESTDATA_DIR "/golden.PLG"));
}

TEST(RegistrySnapshot, ReaderQuirks) {
    plat::TextReader in(QStringList{"[PUBLIC]", "A=\"1\"", "B=\"x\"\"y\"", "[ACCESSORY]", "A=\"other\"", "[public]",
                                    "C=\"case\"", "[PUBLIC]", "A=\"2\"", "=\"nokey\"", "noequals", "D= \"spaced\" ", "k=v=w"});
    clsRegistry pub("PUBLIC");
    pub.RegDelete("");
    in.readLine();   // the reader goes back to the start by itself
    pub.ReadFile(in);
    EXPECT_EQ(pub.RegGet("A", ""), "2");           // a later copy of the section wins
    EXPECT_EQ(pub.RegGet("B", ""), "x\"\"y");      // only the outermost quotes go
    EXPECT_EQ(pub.RegGet("C", "none"), "none");    // headers compare exactly
    EXPECT_EQ(pub.RegGet("D", ""), "spaced");
    EXPECT_EQ(pub.RegGet("k", ""), "v=w");
    EXPECT_EQ(pub.RegGetSec()->size(), 4u);
}

TEST(RegistrySnapshot, WhatIsWrittenReadsBack) {
    testsupport::TempDir dir;
    const struct {
        QString key, value, back;   // back: the value read from the snapshot
    } cases[] = {
        {"Plain", "東京 \"quoted\"", "東京 \"quoted\""},
        {"Breaks", "line1\r\nline2\rline3\nline4", "line1 line2 line3 line4"},
        {"Injected", "x\r\nSneaky=\"y\"\r\n[PUBLIC]", "x Sneaky=\"y\" [PUBLIC]"},
        {"NoShiftJis", QStringLiteral("Zürich 😀 Ωα"), QStringLiteral("Z?rich ? Ωα")},
        {"Blanks", "  padded  ", "  padded  "},
        {"Empty", "", ""},
    };
    clsRegistry snap("T_SNAPSHOT");
    snap.RegDelete("");
    for (const auto& c : cases) snap.RegPut(c.key, c.value);
    plat::TextWriter w(dir.file("snap.PLG"));
    snap.WriteFile(w);
    w.commit();   // one value without a Shift-JIS form no longer fails the whole file
    snap.RegDelete("");
    plat::TextReader in(dir.file("snap.PLG"));
    snap.ReadFile(in);
    for (const auto& c : cases) EXPECT_EQ(snap.RegGet(c.key, "<none>"), c.back) << c.key.toStdString();
    ASSERT_TRUE(snap.RegGetSec().has_value());
    EXPECT_EQ(snap.RegGetSec()->size(), std::size(cases));

    const std::pair<QString, bool> keys[] = {{"東京", true}, {"", false}, {"a=b", false}, {"[x", false}, {"x[", true},
                                             {"a\rb", false}, {QStringLiteral("ü"), false}};
    for (const auto& [key, ok] : keys) EXPECT_EQ(clsRegistry::IsSnapshotKey(key), ok) << key.toStdString();
#ifdef QT_NO_DEBUG
    // Release builds leave such a key out rather than write a broken file.
    snap.RegPut("a=b", "split");
    plat::TextWriter w2(dir.file("snap2.PLG"));
    snap.WriteFile(w2);
    EXPECT_FALSE(w2.text().contains(QStringLiteral("a=b")));
    snap.RegDelete("a=b");
#endif
    snap.RegDelete("");
}
