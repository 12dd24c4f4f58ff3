// The list grid of the dialogs: a QTableView over FlexGridData (one model,
// no item object per cell) with the members the list windows use. Lengths
// are twips at this interface (converted with the screen's resolution);
// colours are 0x00BBGGRR or system colours (top bit set).
//
// Row 0 is drawn as the header when FixedRows is 1; otherwise (a title row
// with no data row under it) as a row, but never highlighted.
//
// Mouse and keys: a click makes a cell current, Shift+click or a drag
// extends the range, the arrow, page, Home and End keys move (with Shift:
// extend); a wheel notch scrolls one row. The events follow each other as mouseDown, mouseUp, click, and
// for a double click mouseDown, mouseUp, click, dblClick, mouseUp; a click
// on the header row reports MouseRow 0 and changes no selection. Changing
// the selection in code raises selChange (and rowColChange) as the mouse
// does.
//
// Redraw off stops painting and defers the view's bookkeeping: filling
// 100 000 rows with AddItem then costs no more than the texts themselves.
// With a row source the rows are made only as they are drawn: a grid of
// 100 000 rows then opens in the time of one screenful.
#pragma once

#include <QTableView>

#include <memory>

#include "FlexGridData.h"

namespace plat {

class FlexGridModel;
class FlexHeader;

class FlexGrid : public QTableView, private FlexGridListener {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // The cells, for logic that fills or reads the grid without the widget.
    FlexGridData& cells() { return data_; }
    const FlexGridData& cells() const { return data_; }

    int32_t Rows() const { return data_.Rows(); }
    void setRows(int32_t n) { data_.setRows(n); }
    int32_t Cols() const { return data_.Cols(); }
    void setCols(int32_t n) { data_.setCols(n); }
    int32_t FixedRows() const { return data_.FixedRows(); }
    void setFixedRows(int32_t n) { data_.setFixedRows(n); }
    QString TextMatrix(int32_t row, int32_t col) const { return data_.TextMatrix(row, col); }
    void setTextMatrix(int32_t row, int32_t col, const QString& t) { data_.setTextMatrix(row, col, t); }
    QString TextArray(int32_t i) const { return data_.TextArray(i); }
    void setTextArray(int32_t i, const QString& t) { data_.setTextArray(i, t); }
    QString Text() const { return data_.Text(); }
    void setText(const QString& t) { data_.setText(t); }
    void AddItem(const QString& text, int32_t index = -1) { data_.AddItem(text, index); }
    void RemoveItem(int32_t index) { data_.RemoveItem(index); }
    QString Clip() const { return data_.Clip(); }
    void setClip(const QString& t) { data_.setClip(t); }
    int32_t Row() const { return data_.Row(); }
    void setRow(int32_t r) { data_.setRow(r); }
    int32_t Col() const { return data_.Col(); }
    void setCol(int32_t c) { data_.setCol(c); }
    int32_t RowSel() const { return data_.RowSel(); }
    void setRowSel(int32_t r) { data_.setRowSel(r); }
    int32_t ColSel() const { return data_.ColSel(); }
    void setColSel(int32_t c) { data_.setColSel(c); }
    void select(int32_t row, int32_t col, int32_t rowSel, int32_t colSel) { data_.select(row, col, rowSel, colSel); }
    FlexFillStyle FillStyle() const { return data_.FillStyle(); }
    void setFillStyle(FlexFillStyle s) { data_.setFillStyle(s); }
    uint32_t CellBackColor() const { return data_.CellBackColor(); }
    void setCellBackColor(uint32_t c) { data_.setCellBackColor(c); }
    uint32_t CellForeColor() const { return data_.CellForeColor(); }
    void setCellForeColor(uint32_t c) { data_.setCellForeColor(c); }
    int CellAlignment() const { return data_.CellAlignment(); }
    void setCellAlignment(int a) { data_.setCellAlignment(a); }
    bool CellFontBold() const { return data_.CellFontBold(); }
    void setCellFontBold(bool b) { data_.setCellFontBold(b); }
    QImage CellPicture() const { return data_.CellPicture(); }
    void setCellPicture(const QImage& p) { data_.setCellPicture(p); }
    int ColAlignment(int32_t col) const { return data_.ColAlignment(col); }
    void setColAlignment(int32_t col, int a) { data_.setColAlignment(col, a); }
    void Sort(int order) { data_.Sort(order); }
    // Rows 1 and below made on demand by the source (see FlexGridData);
    // Refresh once its rows have changed.
    void setRowSource(const FlexRowSource* source) { data_.setRowSource(source); }

    // Titles and alignments (see FlexGridData); each column becomes as wide
    // as its title.
    void setFormatString(const QString& format);
    QString FormatString() const { return data_.FormatString(); }

    // Heights and widths in twips; 0 hides; reading gives the default when
    // none was set; setting -1 returns to the default.
    int32_t RowHeight(int32_t row) const;
    void setRowHeight(int32_t row, int32_t twips) { data_.setRowHeightTwips(row, twips); }
    int32_t ColWidth(int32_t col) const;
    void setColWidth(int32_t col, int32_t twips) { data_.setColWidthTwips(col, twips); }

    // The first row shown below the fixed row; setting scrolls (as far as
    // the last row allows).
    int32_t TopRow();
    void setTopRow(int32_t row);
    // Position of a row's top and a column's left edge, in twips from the
    // grid's top-left corner, as the rows are scrolled now; true when the
    // whole row lies inside the grid.
    int32_t RowPos(int32_t row);
    int32_t ColPos(int32_t col);
    bool RowIsVisible(int32_t row);
    // The current cell's box in twips from the grid's top-left corner.
    int32_t CellLeft() { return ColPos(Col()); }
    int32_t CellTop() { return RowPos(Row()); }
    int32_t CellWidth() const { return ColWidth(Col()); }
    int32_t CellHeight() const { return RowHeight(Row()); }

    // The cell under the mouse at its last event; -1 off the cells.
    int32_t MouseRow() const { return mouseRow_; }
    int32_t MouseCol() const { return mouseCol_; }

    bool Redraw() const { return redraw_; }
    void setRedraw(bool on);
    void Refresh();

    uint32_t BackColor() const { return back_; }
    void setBackColor(uint32_t c) { back_ = c; Refresh(); }
    uint32_t ForeColor() const { return fore_; }
    void setForeColor(uint32_t c) { fore_ = c; Refresh(); }
    uint32_t BackColorFixed() const { return backFixed_; }
    void setBackColorFixed(uint32_t c) { backFixed_ = c; Refresh(); }
    uint32_t ForeColorFixed() const { return foreFixed_; }
    void setForeColorFixed(uint32_t c) { foreFixed_ = c; Refresh(); }
    uint32_t BackColorSel() const { return backSel_; }
    void setBackColorSel(uint32_t c) { backSel_ = c; Refresh(); }
    uint32_t ForeColorSel() const { return foreSel_; }
    void setForeColorSel(uint32_t c) { foreSel_ = c; Refresh(); }
    uint32_t GridColor() const { return gridColor_; }
    void setGridColor(uint32_t c);

    // The tool tip shown wherever the mouse rests on the grid; handlers of
    // mouseMove change it by position.
    QString ToolTipText() const { return toolTip_; }
    void setToolTipText(const QString& text);

    // 0 none, 1 horizontal, 2 vertical, 3 both (shown when needed).
    int ScrollBars() const { return scrollBars_; }
    void setScrollBars(int bars);

    // Draws one cell as the grid shows it (also the header's cells).
    void paintCell(QPainter* p, const QRect& rect, int32_t row, int32_t col, bool fixed) const;

signals:
    // Buttons: 1 left, 2 right, 4 middle; shift: KeyCodes' bits; x, y in
    // twips from the grid's top-left corner.
    void mouseDown(int button, int shift, int x, int y);
    void mouseUp(int button, int shift, int x, int y);
    void mouseMove(int button, int shift, int x, int y);
    void click();
    void dblClick();
    // Key codes of KeyCodes.h; a handler that sets the code to 0 takes the
    // key from the grid.
    void keyDown(int& keyCode, int shift);
    void selChange();
    void rowColChange();
    void scrolled();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    friend class FlexHeader;

    // FlexGridListener
    void shapeAboutToChange(FlexShapeChange kind, int32_t first, int32_t count) override;
    void shapeChanged() override;
    void cellsChanged(int32_t row1, int32_t col1, int32_t row2, int32_t col2) override;
    void rowHeightChanged(int32_t row) override;
    void colChanged(int32_t col) override;
    void selectionChanged(bool currentChanged) override;
    // The view's own selectionChanged stays what Qt calls.
    using QTableView::selectionChanged;

    void flush();
    void applySizes();
    void applyRowHeight(int32_t row);
    void applyColWidth(int32_t col);
    int defaultRowPixels() const;
    void setMouseCell(int32_t row, int32_t col);
    void mouseCellAt(const QPoint& viewportPos);
    QPoint twipsOf(const QPoint& viewportPos) const;
    void headerMouse(QMouseEvent* e, bool press, bool release, bool dbl);
    void moveCurrent(int32_t row, int32_t col, bool extend);
    void ensureRowVisible(int32_t row);
    int32_t visibleRowCount() const;

    FlexGridData data_;
    std::unique_ptr<FlexGridModel> model_;
    FlexHeader* header_ = nullptr;
    FlexShapeChange pendingKind_ = FlexShapeChange::Reshape;
    bool resetOpen_ = false;    // a model reset begun while Redraw is off
    bool redraw_ = true;
    bool applyingSizes_ = false;
    bool dragging_ = false;
    bool afterDouble_ = false;
    int wheelRest_ = 0;
    int32_t mouseRow_ = -1, mouseCol_ = -1;
    uint32_t back_ = 0x80000005, fore_ = 0x80000008, backFixed_ = 0x8000000F, foreFixed_ = 0x80000012;
    uint32_t backSel_ = 0x8000000D, foreSel_ = 0x8000000E, gridColor_ = 0x00C0C0C0;
    QString toolTip_;
    int scrollBars_ = 3;
};

} // namespace plat
