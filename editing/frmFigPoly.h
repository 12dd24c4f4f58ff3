// The polyline and polygon dialog ("連続線図形プロパティ", "多辺形図形プロパティ"):
// the nodes in a grid edited in place, cut marks, the node operations, own
// show mode and colour, district and thing. OK returns the node list split
// at the cut marks and, in latitude/longitude maps, at the date line: one
// figure per piece, all with the same attributes.
//
// The node grid: row 0 the titles, row i node i. Columns 1 and 2 show the
// coordinates as text in the map's notation; the exact values ride along in
// two hidden columns, so that a notation coarser than the data (degrees and
// minutes) never moves a node the user did not edit. Column 3 is the mark:
// " ", "*" (the node current when the list was filled), "<" (cut here),
// "< *". Marks and values travel with their rows.
//
// Node operations never write a coordinate outside the map's range: a
// result with one is refused with the range message and the list stays as
// it was.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "FigureDialog.h"
#include "FigureWindows.h"
#include "basHMapEdit.h"
#include "FlexGridData.h"
#include "clsPoly.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace plat {
class FlexGrid;
}

// A map coordinate as the node grid shows it: latitude/longitude maps the
// longitude or latitude with its direction in the current angle notation,
// X/Y maps kilometres with three decimals right-aligned in 12 characters.
QString NodeXText(int32_t mapMode, int32_t x);
QString NodeYText(int32_t mapMode, int32_t y);

// Which node buttons can be pressed.
struct NodeButtons {
    bool reduction = false;  // delete
    bool reverse = false;
    bool rotation = false;   // make first
    bool move = false;       // move all
    bool great = false;      // great circle (latitude/longitude maps)
    bool trace = false;      // latitude/longitude maps
};

class FigPolyLogic : public FigureDialogLogic {
public:
    static constexpr long kHelpPolyline = 291002;
    static constexpr long kHelpPolygon = 291003;
    // Columns of the node grid.
    enum Column : int32_t { ColNumber = 0, ColX = 1, ColY = 2, ColMark = 3, ColValueX = 4, ColValueY = 5, ColCount = 6 };

    // `grid` holds the nodes: the dialog's grid cells, or cells of their own
    // in tests.
    FigPolyLogic(FigureDialogVars& vars, plat::FlexGridData& grid);

    // The common load, then the nodes of a polyline or polygon into the
    // grid with ActiveNode (clamped) current. False, and the dialog closes
    // at once, for nothing to edit or another kind of figure.
    bool Load();
    int32_t MapMode() const { return mapMode_; }
    long HelpContext() const;
    QString XTitle() const;
    QString YTitle() const;
    QString XToolTip() const;
    QString YToolTip() const;
    plat::FlexGridData& Grid() const { return grid_; }

    // -- the node list
    int32_t NodeCount() const { return grid_.Rows() - 1; }
    // The work node list into the grid, the ActiveNode row marked "*".
    void PolyToGrid(const clsPoly& nodes);
    // Every node, exactly as stored.
    clsPoly GridToPoly() const;
    // The list split at the cut marks of rows 2..n-1 (a cut node ends one
    // piece and begins the next), pieces below the figure's minimum (2
    // points, polygons 4) dropped; in latitude/longitude maps each piece
    // brought round the date line, parts below the minimum dropped.
    PolyCollection GridToPolies() const;
    // The current node; none when no node is current.
    std::optional<PolyPoint> GetCurrentXY() const;
    // Makes row r current (clamped; the first node when r is 0 and there
    // are nodes); a node row becomes ActiveNode.
    void SetCurrentRow(int32_t r);
    // The user moved the current cell.
    void RowChanged();
    // At least 4 nodes and the first equals the last.
    bool IsLoopGrid() const;
    QString PolyInfo() const;
    NodeButtons Buttons() const;
    QString MarkOf(int32_t row) const { return grid_.TextMatrix(row, ColMark); }
    // The tool tip of the grid over a column of a node row.
    QString GridToolTip(int32_t col) const;

    // -- editing in place
    // A coordinate typed into the editor of column 1 (X) or 2 (Y) of the
    // current row. Unchanged text keeps the stored value; other text is read
    // in the map's notation and, when it lies in the map's range, becomes
    // the node's value. False (after the range message): the editor keeps
    // the focus.
    bool CommitCell(int32_t col, const QString& text);
    // A click on column 3: the cut mark on or off, on rows 2..n-1 only.
    void ToggleCut(int32_t row);

    // -- OK: every piece is checked before anything changes. Valid: the
    // results, ActiveNode the current row, identifiers exchanged. No valid
    // piece at all counts as invalid settings.
    OkOutcome OkClick();

    // -- node operations; each ends with a row made current.
    // The clipboard's coordinate text inserted before the current node.
    void PasteClick();
    // Points inserted before the current node (appended to an empty list):
    // the last one current (the next-to-last after filling an empty list).
    void PasteNodes(const clsPoly& points);
    // A copy of the current node before it; (0, 0) into an empty list.
    void InsertClick();
    void DeleteClick();
    // Closed list: the current node becomes first (and last).
    void RotationClick();
    void ReverseClick();
    // Every node shifted by the vector from the current node to the point
    // chosen on the map.
    void MoveClick();
    // Scaled about the current node by two percentages asked for.
    void ZoomClick();
    // Shifted by (dx, dy), or scaled by per cent (rx, ry) about the current
    // node; False when a node would leave the map's range (the message was
    // shown, nothing changed).
    bool ShiftNodes(int64_t dx, int64_t dy);
    bool ScaleNodes(double rx, double ry);
    void RegularPolygonClick();
    void GreatCircleClick();
    void CurveClick();
    void PressClick();
    void OnMapClick();
    void TraceClick();
    // A new node list from an operation, when every node lies in the map's
    // range; False (after the range message) leaves the list unchanged.
    bool ReplaceNodes(const clsPoly& nodes, int32_t currentRow);

    // Child windows open: the grid's wheel hook comes off while they are.
    std::function<void(bool childOpen)> onChildWindow;
    // This dialog's corner (twips), from which child windows are placed.
    std::function<plat::DialogPosition()> windowCorner;

private:
    int32_t minPoints() const;
    PolyPoint valueAt(int32_t row) const;
    void setRow(int32_t row, const PolyPoint& p, const QString& mark);
    void setValue(int32_t row, const PolyPoint& p);
    void renumber();
    // Whole rows (every column), for the operations that reorder many.
    using NodeRow = std::array<QString, ColCount>;
    using NodeRows = std::vector<NodeRow>;
    NodeRows takeRows() const;
    // The rows become the node rows, renumbered; the title row is fixed
    // when there is a node.
    void putRows(const NodeRows& rows);
    NodeRow newRow(const PolyPoint& p, const QString& mark) const;
    // Every node in the map's range; the first that is not is named by the
    // range message.
    bool inRange(const clsPoly& nodes) const;
    plat::DialogPosition childCorner(int32_t dx, int32_t dy) const;
    // Runs a child window with the grid's wheel hook off.
    bool runChild(const std::function<bool()>& window);

    plat::FlexGridData& grid_;
    int32_t mapMode_ = 1;
};

// The Qt window over FigPolyLogic.
class frmFigPoly : public plat::DialogBase {
    Q_OBJECT
public:
    // Loads at once; loaded() is False when there was nothing to edit.
    frmFigPoly(FigureDialogVars& vars, QWidget* parent = nullptr);
    ~frmFigPoly() override;
    bool loaded() const { return loaded_; }
    FigPolyLogic& logic() { return *logic_; }

    plat::FlexGrid* flgPoly = nullptr;
    QLineEdit* txtX = nullptr;
    QLineEdit* txtY = nullptr;
    QLabel* lblInfo = nullptr;
    QComboBox* choPrint = nullptr;
    QPushButton* cmdColor = nullptr;
    QComboBox* choAdmin = nullptr;
    QLabel* lblAdmin = nullptr;
    QComboBox* choThing = nullptr;
    QLabel* lblThing = nullptr;
    QLabel* lblDateBody = nullptr;
    QPushButton* cmdPaste = nullptr;
    QPushButton* cmdInsert = nullptr;
    QPushButton* cmdReduction = nullptr;
    QPushButton* cmdRotation = nullptr;
    QPushButton* cmdReverse = nullptr;
    QPushButton* cmdMove = nullptr;
    QPushButton* cmdZoom = nullptr;
    QPushButton* cmdPolygon = nullptr;
    QPushButton* cmdGreat = nullptr;
    QPushButton* cmdCurve = nullptr;
    QPushButton* cmdPress = nullptr;
    QPushButton* cmdOnMap = nullptr;
    QPushButton* cmdTrace = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

    // A click on a cell of the grid, as the mouse gives it.
    void gridClick(int32_t row, int32_t col);

protected:
    void formKeyDown(int& keyCode, int shift) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void build();
    QPushButton* nodeButton(const QString& caption, const QString& tip, void (FigPolyLogic::*op)(),
                            const QString& handler);
    void showColor();
    // After the current row or the list changed: row kept in view, editors
    // placed, buttons enabled, the info line.
    void rowChanged();
    void placeEditors();
    void layoutColumns();
    QLineEdit* editorOf(int32_t col) const;
    bool commitEditor(QLineEdit* editor);
    void openEditor(int32_t col);
    void pickAdmin();
    void pickThing();
    void okClick();

    std::unique_ptr<FigPolyLogic> logic_;
    bool loaded_ = false;
    bool busy_ = false;  // an operation changes the grid: its signals wait
};

// Shows the dialog modally over the variables.
void RunFigPoly(FigureDialogVars& vars);
