// The ".LLN" side file of a traced picture: round trip, missing, empty,
// malformed, oversized and read-only files, and the replay of the fuzz corpus.
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
        {"empty", "", "1行目: 交点数"},
        {"short line", "1\r\n1,2,3\r\n0\r\n", "2行目: 交点は4個"},
        {"count beyond the lines", "3\r\n1,2,3,4\r\n0\r\n", "1行目: 交点数"},
        {"frame of 11 values", "0\r\n1\r\n0,0,0,0,0,0,0,0,0,0,1\r\n", "3行目: フレームは12個"},
        {"frame upside down", "0\r\n1\r\n0,0,0,0,0,0,0,0,0,7200,3600,3600\r\n", "3行目: フレームの経緯度範囲"},
        {"more lines", "0\r\n0\r\n1,2\r\n", "3行目: 余分な行"},
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
