// The cells, rows, columns and selection of a list grid, without a widget:
// the list windows fill and read it through FlexGrid, tests drive it alone.
//
// Rows and columns count from 0. Row 0 is the title row; it is fixed (drawn
// as a header, never selected by the mouse, kept on top when scrolling) when
// FixedRows is 1. There is at most one fixed row and no fixed column.
// Texts live in one flat array of Rows x Cols cells (TextArray index =
// row x Cols + col), so filling 100 000 rows costs one text per cell and no
// object per cell; cell formats are kept only for rows that have one.
//
// Selection: (Row, Col) is the current cell, (RowSel, ColSel) the other
// corner of the selected range, either side of it. Setting Row (Col) also
// sets RowSel (ColSel), so a range is set current corner first.
//
// Out-of-range arguments never fail: reads give empty values, writes are
// ignored, and Row, Col, RowSel, ColSel, FixedRows are clamped into range.
//
// Rows made on demand: with a row source (setRowSource) the texts of rows 1
// and below are not stored but asked of the source whenever they are read
// or drawn, so a list of a million rows costs its formats and heights only
// (16 bytes a row) and opens at once. Writes to those texts are then
// ignored and Sort does nothing; the owner of the source tells the grid when
// rows change (the view's Refresh).
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace plat {

enum FlexAlign : int {
    flexAlignLeftTop = 0, flexAlignLeftCenter = 1, flexAlignLeftBottom = 2,
    flexAlignCenterTop = 3, flexAlignCenterCenter = 4, flexAlignCenterBottom = 5,
    flexAlignRightTop = 6, flexAlignRightCenter = 7, flexAlignRightBottom = 8,
    flexAlignGeneral = 9,  // texts left, numbers right, both centred vertically
};

// Sort orders of Sort. Generic compares as numbers when both texts are
// numbers (numbers first), else as texts without regard to case; numeric
// reads each text as a number (0 when it is none); "no case" compares texts
// case-insensitively, the plain string orders by character code.
enum FlexSort : int {
    flexSortNone = 0, flexSortGenericAscending = 1, flexSortGenericDescending = 2,
    flexSortNumericAscending = 3, flexSortNumericDescending = 4,
    flexSortStringNoCaseAscending = 5, flexSortStringNoCaseDescending = 6,
    flexSortStringAscending = 7, flexSortStringDescending = 8,
};

// Whether the Cell... properties act on the current cell or the whole range.
enum FlexFillStyle : int { flexFillSingle = 0, flexFillRepeat = 1 };

// Colours are 0x00BBGGRR or a system colour (top bit set). A cell colour of
// 0 means "the grid's colour" (a black cell is RGB(1,1,1)).
struct FlexCellFormat {
    uint32_t back = 0;
    uint32_t fore = 0;
    int8_t align = -1;  // -1: the column's alignment
    bool bold = false;
    QImage picture;
    bool isPlain() const { return back == 0 && fore == 0 && align < 0 && !bold && picture.isNull(); }
};

// How the rows change: rows inserted before `first`, rows removed from
// `first` on, or any other change of shape (Rows, Cols, FixedRows, Sort).
enum class FlexShapeChange { Insert, Remove, Reshape };

// The texts of rows 1 and below of a grid in on-demand mode.
class FlexRowSource {
public:
    virtual ~FlexRowSource() = default;
    // Called only for cells inside the grid's Rows x Cols.
    virtual QString cellText(int32_t row, int32_t col) const = 0;
    // The text colour (0x00BBGGRR or a system colour); 0: the grid's own.
    // A cell format's colour wins over it.
    virtual uint32_t cellForeColor(int32_t, int32_t) const { return 0; }
};

// What a grid's view must learn about changes; FlexGrid implements it.
class FlexGridListener {
public:
    virtual ~FlexGridListener() = default;
    // Around every change of shape, before and after it.
    virtual void shapeAboutToChange(FlexShapeChange kind, int32_t first, int32_t count) = 0;
    virtual void shapeChanged() = 0;
    // Texts or formats of a block of cells changed.
    virtual void cellsChanged(int32_t row1, int32_t col1, int32_t row2, int32_t col2) = 0;
    virtual void rowHeightChanged(int32_t row) = 0;
    virtual void colChanged(int32_t col) = 0;
    // The selected range changed; currentChanged when Row or Col did.
    virtual void selectionChanged(bool currentChanged) = 0;
};

class FlexGridData {
public:
    FlexGridData();
    ~FlexGridData();
    FlexGridData(const FlexGridData&) = delete;
    FlexGridData& operator=(const FlexGridData&) = delete;

    void setListener(FlexGridListener* l) { listener_ = l; }

    // Shape. Rows and Cols keep the texts that still fit.
    int32_t Rows() const { return rows_; }
    void setRows(int32_t n);
    int32_t Cols() const { return cols_; }
    void setCols(int32_t n);
    // 0 or 1, and always below Rows (cutting the rows to 1 unfixes row 0).
    int32_t FixedRows() const { return fixedRows_; }
    void setFixedRows(int32_t n);

    // Texts.
    QString TextMatrix(int32_t row, int32_t col) const;
    void setTextMatrix(int32_t row, int32_t col, const QString& text);
    QString TextArray(int32_t index) const;
    void setTextArray(int32_t index, const QString& text);
    // The current cell's text.
    QString Text() const { return TextMatrix(row_, col_); }
    void setText(const QString& text) { setTextMatrix(row_, col_, text); }

    // Adds a row whose cells are the TAB-separated fields of text, before
    // row `index`, or after the last row when index is -1 or beyond it.
    void AddItem(const QString& text, int32_t index = -1);
    void RemoveItem(int32_t index);

    // The selection: tab-separated cells, rows separated by CR. Assigning
    // fills the selected range from its top-left cell; a CR LF or LF also
    // ends a row; fields beyond the range are dropped, missing ones leave
    // their cells unchanged.
    QString Clip() const;
    void setClip(const QString& text);

    int32_t Row() const { return row_; }
    void setRow(int32_t r);
    int32_t Col() const { return col_; }
    void setCol(int32_t c);
    int32_t RowSel() const { return rowSel_; }
    void setRowSel(int32_t r);
    int32_t ColSel() const { return colSel_; }
    void setColSel(int32_t c);
    // All four at once, raising one selection change.
    void select(int32_t row, int32_t col, int32_t rowSel, int32_t colSel);
    // The selected range in order.
    int32_t selTop() const { return std::min(row_, rowSel_); }
    int32_t selBottom() const { return std::max(row_, rowSel_); }
    int32_t selLeft() const { return std::min(col_, colSel_); }
    int32_t selRight() const { return std::max(col_, colSel_); }
    bool isSelected(int32_t row, int32_t col) const {
        return row >= selTop() && row <= selBottom() && col >= selLeft() && col <= selRight();
    }

    // Cell formats on the current cell, or the selected range under
    // flexFillRepeat. Reading gives the current cell's value.
    FlexFillStyle FillStyle() const { return fillStyle_; }
    void setFillStyle(FlexFillStyle s) { fillStyle_ = s; }
    uint32_t CellBackColor() const { return format(row_, col_).back; }
    void setCellBackColor(uint32_t c);
    uint32_t CellForeColor() const { return format(row_, col_).fore; }
    void setCellForeColor(uint32_t c);
    // A FlexAlign value.
    int CellAlignment() const;
    void setCellAlignment(int align);
    bool CellFontBold() const { return format(row_, col_).bold; }
    void setCellFontBold(bool bold);
    QImage CellPicture() const { return format(row_, col_).picture; }
    void setCellPicture(const QImage& picture);
    // The format of any cell (a plain one when it has none).
    const FlexCellFormat& format(int32_t row, int32_t col) const;
    // The text colour of a cell: its format's, else the row source's; 0 for
    // the grid's own.
    uint32_t cellForeColor(int32_t row, int32_t col) const;

    // On-demand rows (see the notes at the top); nullptr stores texts again
    // (rows 1 and below then start empty). The source must outlive its use.
    void setRowSource(const FlexRowSource* source);
    const FlexRowSource* rowSource() const { return source_; }

    // Column alignment (FlexAlign) of the column's cells.
    int ColAlignment(int32_t col) const;
    void setColAlignment(int32_t col, int align);

    // Heights and widths in twips; -1 is "the default" (which the view
    // knows), 0 hides the row or column.
    int32_t rowHeightTwips(int32_t row) const;
    void setRowHeightTwips(int32_t row, int32_t twips);
    int32_t colWidthTwips(int32_t col) const;
    void setColWidthTwips(int32_t col, int32_t twips);
    // Rows with a height of their own (the view applies them after a reset).
    template <typename F>
    void forEachRowHeight(F f) const {
        for (int32_t r = 0; r < rows_; ++r)
            if (rowInfo_[r].height >= 0) f(r, rowInfo_[r].height);
    }

    // Column titles and alignments, "|" between columns: an optional mark
    // "<" (left), "^" (centre) or ">" (right), then the title of row 0.
    // Sets Cols to the number of columns; text from ";" on (row titles) is
    // ignored. Returns the titles.
    QStringList setFormatString(const QString& format);
    QString FormatString() const { return formatString_; }

    // Sorts rows selTop..selBottom (never the fixed row) by the columns
    // selLeft..selRight, the left one first; equal rows keep their order.
    // Rows keep their formats and heights as they move.
    void Sort(int order);

private:
    struct RowInfo {
        int32_t height = -1;
        std::unique_ptr<std::vector<FlexCellFormat>> formats;  // Cols entries when present
    };
    struct ColInfo {
        int32_t width = -1;
        int align = flexAlignGeneral;
    };

    bool validCell(int32_t row, int32_t col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    size_t at(int32_t row, int32_t col) const { return static_cast<size_t>(row) * cols_ + col; }
    // Rows whose texts the grid keeps: all, or only row 0 with a row source.
    int32_t storedRows(int32_t rows) const { return source_ ? std::min(rows, 1) : rows; }
    bool stored(int32_t row) const { return row < storedRows(rows_); }
    void storeText(int32_t row, int32_t col, QString text) {
        if (stored(row)) text_[at(row, col)] = std::move(text);
    }
    FlexCellFormat& formatToWrite(int32_t row, int32_t col);
    template <typename F>
    void applyFormat(F f);
    void clampSelection(bool notify);
    void notifySelection(int32_t oldRow, int32_t oldCol, int32_t oldRowSel, int32_t oldColSel);
    void fillRow(int32_t row, const QString& tabbed);
    // Tells the listener before and after a change of shape.
    class ShapeScope;

    int32_t rows_ = 2;
    int32_t cols_ = 2;
    int32_t fixedRows_ = 1;
    int32_t row_ = 1, col_ = 0, rowSel_ = 1, colSel_ = 0;
    FlexFillStyle fillStyle_ = flexFillSingle;
    std::vector<QString> text_;
    std::vector<RowInfo> rowInfo_;
    std::vector<ColInfo> colInfo_;
    QString formatString_;
    FlexGridListener* listener_ = nullptr;
    const FlexRowSource* source_ = nullptr;
};

} // namespace plat
