#include "TestSupport.h"

#include "AppState.h"
#include "ExpTextModel.h"

namespace {

// A bitmap face takes 9, 10 and 12 points only; scalable faces any size.
struct TextEditor : ::testing::Test {
    long language = gvLanguage;
    ExpTextModel m;
    TextEditor() {
        m.Faces = [] {
            return std::vector<FontFaceInfo>{
                {0, 0x04, "Serif"}, {128, 0x04, "明朝"}, {128, 0x04, "@明朝"}, {2, 0x04, "Symbols"}, {0, 0x00, "Fixed"}};
        };
        m.RealPoints = [](const QString& face, int32_t p) {
            if (face != "Fixed") return double(p);
            return p <= 9 ? 9.0 : p <= 10 ? 10.0 : 12.0;
        };
    }
    ~TextEditor() override { gvLanguage = language; }
};

TEST_F(TextEditor, FaceListsByCharacterSetWithTheirMarks) {
    m.Load();
    EXPECT_EQ(m.EuropeanList, QStringList({"(TT) (default)", "(TT) Serif", "(TT) 明朝", "     Fixed"}));
    EXPECT_EQ(m.JapaneseList, QStringList({"(TT) (default)", "(TT) 明朝"}));
}

TEST_F(TextEditor, HeightsAreWhatTheFaceTakesAndAnUntakenSizeBecomesTheSmallest) {
    gvLanguage = 1;
    m.EuropianFont = "Fixed";
    m.JapaneseFont = ExpTextModel::kDefaultFace;
    m.Size = 7;
    m.Load();
    EXPECT_EQ(m.Heights, QStringList({"9", "10", "12"}));
    EXPECT_EQ(m.Size, 9);
    EXPECT_EQ(m.EuropeanIndex, 3);
    EXPECT_EQ(m.JapaneseIndex, 0);
    gvLanguage = 2;   // the Japanese face's heights now
    m.ChooseFace(1, 1);
    EXPECT_EQ(m.JapaneseFont, "明朝");
    EXPECT_EQ(m.Heights.size(), 96);
    EXPECT_EQ(m.Heights.front(), "5");
    m.ChooseHeight(95);
    EXPECT_EQ(m.Size, 100);
    m.EuropianFont = "Gone";
    m.Load();
    EXPECT_EQ(m.EuropeanIndex, -1);   // not installed: no selection, the field stays
    EXPECT_EQ(m.EuropianFont, "Gone");
}

TEST_F(TextEditor, BoxesSetTheirBitsAndStrikeoutStays) {
    m.Style = ExpTextModel::FS_STRIKEOUT | ExpTextModel::FS_OPAQUE;
    m.Back = -1;
    m.Load();
    EXPECT_FALSE(m.OpaqueEnabled());
    EXPECT_TRUE(m.StyleBox(3));
    const struct {
        int box;
        bool on;
        int16_t style;
    } steps[] = {{0, true, 25}, {1, true, 27}, {2, true, 31}, {3, false, 15}, {0, false, 14}};
    for (const auto& s : steps) {
        m.SetStyleBox(s.box, s.on);
        EXPECT_EQ(m.Style, s.style) << s.box;
    }
    m.Accept();
    EXPECT_EQ(m.Back, -1);
}

} // namespace
