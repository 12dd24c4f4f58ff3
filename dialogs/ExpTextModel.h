// The text style editor "文字列事象図式" without its window: the European and
// Japanese face lists, the heights the face of the map's language can take,
// the decoration boxes and the two-line sample. Colours, the edge box, OK and
// Cancel follow the other style editors (ExpStyleModel.h); there is no grid.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

#include "ExpStyleModel.h"

// An installed face as the font source reports it.
struct FontFaceInfo {
    uint8_t CharSet = 0;          // 0 ANSI, 128 Shift-JIS
    uint8_t PitchAndFamily = 0;   // bit 0x04: scalable (TrueType)
    QString Name;
};

class ExpTextModel : public ExpStyleModel {
public:
    static constexpr int16_t FS_BOLD = 1, FS_ITALIC = 2, FS_UNDERLINE = 4, FS_STRIKEOUT = 8, FS_OPAQUE = 16;
    static const QString kDefaultFace;   // "(default)"

    int32_t Size = 10;
    QString EuropianFont, JapaneseFont;

    // The lists as shown: a five-character mark ("(TT) " or blanks) and the
    // face name; entry 0 the default face.
    QStringList EuropeanList, JapaneseList, Heights;
    int EuropeanIndex = -1, JapaneseIndex = -1, HeightIndex = 0;

    // The installed faces; the size in points the window system makes of a
    // requested whole size of a face. Empty: the platform's.
    std::function<std::vector<FontFaceInfo>()> Faces;
    std::function<double(const QString& face, int32_t points)> RealPoints;

    ExpTextModel() { Style = 0; }
    QString DesignedCaption() const override;
    long HelpContext() const override { return 252205; }
    int16_t Hit(int32_t, int32_t, int32_t, int32_t) const override { return -1; }
    QString StyleName(int16_t) const override { return QString(); }
    void PaintGrid(plat::HDC, int32_t, int32_t) const override {}

    // The opening: both face lists, the heights and the selections.
    void Load();
    static QString FaceOfEntry(const QString& entry) { return entry.mid(5); }
    void MakeFonts();
    void MakeHeights();
    // lang 0 European, 1 Japanese.
    void ChooseFace(int lang, int entry);
    void ChooseHeight(int entry);
    // Boxes 0..3: bold, italic, underline, filled cell.
    bool StyleBox(int k) const { return (Style & boxBit(k)) != 0; }
    void SetStyleBox(int k, bool on);
    bool OpaqueEnabled() const { return SecondColorOn(); }

protected:
    void DrawSample(clsMapGraph& g, int32_t w, int32_t h) const override;

private:
    static int16_t boxBit(int k);
};

ExpTextModel& ExpText();
