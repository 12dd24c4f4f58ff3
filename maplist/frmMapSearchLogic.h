// What the search dialog "地図図形の検索と置換" holds and does without its
// widgets. The figure list sets NodePoly, Direction, Target, Keyword,
// ReplaceWord and Color before showing it, and reads Command (0 cancelled,
// 1 search, 2 replace, 3 replace all), Direction, Target, Keyword,
// ReplaceWord, Color, PosX and PosY afterwards. One object lives for the
// program run: its position and the two histories persist.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

#include "DialogBase.h"
#include "clsPoly.h"

class frmMapSearchLogic {
public:
    // -- set by the caller
    std::shared_ptr<clsPoly> NodePoly;
    int32_t Direction = 2;   // 1 upward, 2 downward
    int32_t Target = 2;      // 1 all information, 2 text, 3 coordinate, 4 own colour
    QString Keyword;
    QString ReplaceWord;
    int32_t Color = -1;      // -1: no own colour
    plat::DialogPosition Position;
    // -- read back
    int32_t Command = 0;
    int32_t PosX = 0, PosY = 0;
    // Newest last; no size limit.
    QStringList KeywordHistory;
    QStringList ReplaceHistory;

    // -- opening: the node entries ("00001 X Y"), the first one chosen; a
    // coordinate search without nodes becomes a text search.
    void Load();
    const QStringList& NodeEntries() const { return nodes_; }

    // -- the options; which key controls each target enables
    void TargetClick(int32_t target);
    void DirectionClick(int32_t direction) { Direction = direction; }
    struct KeyControls {
        bool keyword = false;   // lblKeyword, choKeyword
        bool replace = false;   // lblReplace, choReplace, cmdReplace, cmdReplaceAll
        bool node = false;      // lblNode, choNode (2 nodes or more)
        bool palette = false;   // lblPalette, cmdPalette
    };
    KeyControls Enabled() const;
    enum class Focus { Keyword, Node, Search, Palette };
    Focus FocusOnActivate() const;

    // -- the palette button: "BGR=" and the colour, or "事象依存" on the
    // button face for no own colour
    QString PaletteCaption() const;
    void PaletteClick();

    // -- closing, every way: the texts of the two combos and the chosen
    // node (0-based; -1 none) become the answers; the histories grow.
    void Close(int32_t command, const QString& keywordText, const QString& replaceText, int nodeIndex);

    // An all-information keyword with its angles rewritten in the current
    // angle format (longitude, comma, latitude), as the exchange texts of
    // the figures show them. angles: whether some token was an angle (else
    // the text is returned as typed); empty: the first token was empty.
    static QString NormalizeKeyword(const QString& text, bool* angles = nullptr, bool* empty = nullptr);

private:
    QStringList nodes_;
};
