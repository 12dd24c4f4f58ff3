// The ".LLN" side file of a traced picture: round trip, missing, empty, free
// layout, malformed, oversized and read-only files, and the replay of the
// fuzz corpus.
#include <gtest/gtest.h>

#include <QFile>

#include <sys/stat.h>

#include "../../fuzz/FuzzLlnBody.h"
#include "TestSupport.h"
#include "TraceMesh.h"

using testsupport::ScriptedBoxes;
using testsupport::TempDir;

namespace {

TraceMesh sampleMesh() {
    TraceMesh m;
    m.AddCross({0, 100, 36000, 72000});
    m.AddCross({100, 100, 39600, 72000});
    m.AddCross({0, 0, 36000, 75600});
    m.AddCross({100, 0, 39600, 75600});
    m.AddCross({-5, 2147483647, -648000, -324000});
    EXPECT_TRUE(m.CrossToFrame());
    return m;
}

} // namespace

TEST(TraceLLN, SavedThenLoadedGivesTheSameListsAndTheFirstCrossActive) {
    TempDir dir;
    const QString picture = dir.file("scan.png");
    const TraceMesh saved = sampleMesh();
    ASSERT_TRUE(SaveLLN(picture, saved));
    const QByteArray text = testsupport::ReadBytes(dir.file("scan.LLN"));
    EXPECT_TRUE(text.startsWith("5\r\n0,100,36000,72000\r\n")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("1\r\n0,100,100,100,0,0,100,0,36000,72000,39600,75600\r\n")) << text.toStdString();

    TraceMesh loaded;
    loaded.AddCross({1, 1, 1, 1});
    ASSERT_EQ(LoadLLN(picture, loaded), LlnLoad::Loaded);
    EXPECT_EQ(loaded.Crosses(), saved.Crosses());
    EXPECT_EQ(loaded.Frames(), saved.Frames());
    EXPECT_EQ(loaded.ActiveCross, 1);
    // Saving again replaces the file with the same bytes.
    ASSERT_TRUE(SaveLLN(picture, loaded));
    EXPECT_EQ(testsupport::ReadBytes(dir.file("scan.LLN")), text);
}

TEST(TraceLLN, MissingFileLeavesTheMeshAndAnEmptyMeshLoadsWithoutActiveCross) {
    TempDir dir;
    TraceMesh m = sampleMesh();
    m.ActiveCross = 3;
    EXPECT_EQ(LoadLLN(dir.file("scan.bmp"), m), LlnLoad::Missing);
    EXPECT_EQ(m.CrossCount(), 5);
    EXPECT_EQ(m.ActiveCross, 3);

    testsupport::WriteBytes(dir.file("scan.LLN"), "0\r\n0\r\n");
    EXPECT_EQ(LoadLLN(dir.file("scan.bmp"), m), LlnLoad::Loaded);
    EXPECT_EQ(m.CrossCount(), 0);
    EXPECT_EQ(m.FrameCount(), 0);
    EXPECT_EQ(m.ActiveCross, -1);
}

TEST(TraceLLN, BadFilesAreToldAndLeaveNoMesh) {
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* message;
    };
    const QByteArray oversized = QByteArray("1\r\n") + QByteArray(kMaxLlnBytes, ' ');
    const Case cases[] = {
        {"empty", "", "1行目: 交点数がありません."},
        {"values run out", "3\r\n1,2,3,4\r\n0\r\n", "3行目: 交点の値が足りません."},
        {"a bad third line", "2\r\n1,2,3,4\r\n5,x,7,8\r\n0\r\n", "3行目: 交点の値が正しくありません."},
        {"empty field", "1\r\n1,,3,4\r\n0\r\n", "2行目: 交点の値が正しくありません."},
        {"beyond 32 bits", "1\r\n1,2,\r\n2147483648,4\r\n0\r\n", "3行目: 交点の値が正しくありません."},
        {"too many crosses", "100001\r\n", "1行目: 交点数が正しくありません."},
        {"short cross takes the count", "1\r\n1,2,3\r\n0\r\n", "3行目: フレーム数がありません."},
        {"frame of 11 values", "0\r\n1\r\n0,0,0,0,0,0,0,0,0,0,1\r\n", "3行目: フレームの値が足りません."},
        {"frame upside down", "0\r\n1\r\n0,0,0,0,0,0,0,0,\r\n0,7200,3600,3600\r\n", "3行目: フレームの経緯度範囲"},
        {"oversized", oversized, "大きすぎます"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        testsupport::WriteBytes(dir.file("scan.LLN"), c.bytes);
        TraceMesh m = sampleMesh();
        ASSERT_TRUE(m.GetFrameArea());
        m.ActiveCross = 2;
        {
            ScriptedBoxes boxes;
            boxes.expect(QString::fromUtf8(c.message), plat::IdOk);
            EXPECT_EQ(LoadLLN(dir.file("scan.jpg"), m), LlnLoad::Refused) << c.what;
        }
        EXPECT_EQ(m.CrossCount(), 0) << c.what;
        EXPECT_EQ(m.FrameCount(), 0) << c.what;
        EXPECT_TRUE(m.FrameArea().IsEmpty()) << c.what;
        EXPECT_EQ(m.ActiveCross, -1) << c.what;
    }
}

// Files written by hand or by other tools: values in any layout, negative
// counts for none, and anything after the frames.
TEST(TraceLLN, FreeLayoutNegativeCountsAndTrailingDataRead) {
    const TraceMesh m = sampleMesh();
    const QByteArray free = "4 0 100 36000 72000\n100,100, 39600,72000\t0 0\r36000 ,75600\r\n\r\n"
                            "100 , 0 ,39600,75600 1 0,100,100,100,0,0,100,0,\r\n"
                            "+36000,72000,39600,75600\r\nnot read ,,\xff";
    const LlnContent r = ParseLLN(free);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.crosses, std::vector<TraceCross>(m.Crosses().begin(), m.Crosses().begin() + 4));
    EXPECT_EQ(r.frames, m.Frames());

    const LlnContent none = ParseLLN("-3\r\n-2147483648\r\n");
    EXPECT_TRUE(none.ok && none.crosses.empty() && none.frames.empty()) << none.error.toStdString();
    const LlnContent framesOnly = ParseLLN("-1,1,0,100,100,100,0,0,100,0,36000,72000,39600,75600");
    ASSERT_TRUE(framesOnly.ok) << framesOnly.error.toStdString();
    EXPECT_TRUE(framesOnly.crosses.empty());
    EXPECT_EQ(framesOnly.frames, m.Frames());
}

TEST(TraceLLN, ReadOnlySideFileIsNotWritten) {
    TempDir dir;
    const QString lln = dir.file("scan.LLN");
    testsupport::WriteBytes(lln, "0\r\n0\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(lln).constData(), 0444), 0);
    {
        ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("読み取り専用"), plat::IdOk);
        EXPECT_FALSE(SaveLLN(dir.file("scan.gif"), sampleMesh()));
    }
    EXPECT_EQ(testsupport::ReadBytes(lln), QByteArray("0\r\n0\r\n"));
    ::chmod(QFile::encodeName(lln).constData(), 0644);
}

// The committed corpus through the fuzzer's own body; ok_ seeds must read,
// bad_ seeds must be refused.
TEST(LlnFuzzCorpus, EveryInputReadsOrIsRefusedCleanly) {
    for (const auto& [name, bytes] : testsupport::FuzzCorpus(QStringLiteral("lln"))) {
        const QString failure =
            fuzzlln::FuzzLlnInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
        EXPECT_TRUE(failure.isEmpty()) << name.toStdString() << ": " << failure.toStdString();
        const bool ok = ParseLLN(bytes).ok;
        if (name.startsWith(QLatin1String("ok_"))) {
            EXPECT_TRUE(ok) << name.toStdString();
        } else if (name.startsWith(QLatin1String("bad_"))) {
            EXPECT_FALSE(ok) << name.toStdString();
        }
    }
}
