// The colour palette popup: the program's palette as 13 columns of cells
// under a bar for the thing's own colour (-1, offered only in wild mode),
// with column letters A..M below and row digits 0..9 at the left. A colour
// is picked with the left button or Enter; the right button, Space or F2
// edit a user colour (a base colour is first copied into a free user slot);
// the arrows, a column letter or a row digit move the mark, wrapping round.
//
// A colour that is not in the palette is shown in the first white user slot
// (the first user slot when none is white) and marked, but it is stored
// there only when the user picks that slot or edits it.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

#include "DialogBase.h"

class clsNativeColor;

class PaletteLogic {
public:
    bool WildMode = false;
    clsNativeColor* Palette = nullptr;
    int32_t Color = 0;        // in: the current colour; out: the chosen one
    bool OK = false;          // a colour was chosen
    plat::DialogPosition Position;
    // The colour chooser for editing a user colour; -1 when cancelled.
    std::function<int32_t(int32_t)> EditColor;

    static constexpr int16_t kCols = 13;
    static constexpr int16_t kRows = 11;   // the bar and ten rows of colours
    static constexpr int16_t kNothing = -2;

    // The opening: false when there is no palette (the popup closes at once).
    bool Load();
    int16_t First() const { return first_; }
    int16_t Last() const { return last_; }
    // The marked entry; kNothing when the colour has none.
    int16_t Current() const { return current_; }
    // The colour shown for an entry: the palette's, or the colour waiting in
    // its slot to be stored.
    int32_t CellColor(int16_t i) const;
    int16_t PendingSlot() const { return pendingSlot_; }

    // The entry under a point of the picture (cell of `cell` pixels, the
    // picture `width` x `height`): -1 on the bar in wild mode, kNothing
    // off the entries.
    int16_t Hit(int32_t x, int32_t y, int32_t cell, int32_t width, int32_t height) const;
    // The picture's tooltip for an entry.
    QString TipText(int16_t k) const;

    // The left button on an entry: true when it chose a colour.
    bool LeftDown(int16_t k);
    // The right button on a base or user colour: marks and edits it.
    void RightDown(int16_t k);

    enum class KeyOutcome { Ignored, Handled, Chosen, Closed };
    KeyOutcome KeyDown(int keyCode);

private:
    void choose(int16_t k);
    void edit();
    void step(int32_t s);
    void store(int16_t k, int32_t color);
    int16_t freeUserSlot() const;
    int16_t column() const;

    int16_t first_ = 0;
    int16_t last_ = 129;
    int16_t current_ = kNothing;
    int16_t pendingSlot_ = kNothing;
    int32_t pendingColor_ = 0;
};

// The picture of the popup: the cells, the bar and the mark.
class PalettePicture : public QWidget {
    Q_OBJECT
public:
    PalettePicture(PaletteLogic& logic, int cell, QWidget* parent);
    int cell() const { return cell_; }
    // The top-left pixel of an entry's cell (-1: the bar).
    QPoint cellOrigin(int16_t i) const;

signals:
    void chosen();
    void changed();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    PaletteLogic& logic_;
    int cell_;
    bool closeOnRelease_ = false;
};

class frmPalette : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmPalette(PaletteLogic& logic, QWidget* parent = nullptr);
    PalettePicture* picture() const { return picPal_; }

protected:
    void formKeyDown(int& keyCode, int shift) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    PaletteLogic& logic_;
    PalettePicture* picPal_ = nullptr;
};
