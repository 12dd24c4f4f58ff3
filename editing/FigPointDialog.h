// What the point-symbol and the text dialog share: the anchor (typed,
// picked on the map, picked on a traced picture or pasted), the district
// and thing lists with their pickers, own show mode and colour.
//
// A paste of n coordinates makes the dialog return n figures alike but for
// their anchors: the first at whatever the anchor boxes hold at OK, the
// others at pasted points 2..n. A paste that holds a coordinate that does
// not read or lies outside the map's range is refused as a whole, with a
// message naming it.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "DialogBase.h"
#include "FigureDialog.h"
#include "clsMapSymbol.h"
#include "clsPoly.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class FigPointLogic : public FigureDialogLogic {
public:
    // `figCode` is the kind the dialog edits (4 or 5).
    FigPointLogic(FigureDialogVars& vars, QString title, int32_t figCode);

    // The common load and the map mode; False (the dialog closes at once)
    // for nothing to edit or another kind of figure.
    bool LoadPoint();
    int32_t MapMode() const { return mapMode_; }
    MapPointFigure& Point() const { return static_cast<MapPointFigure&>(Work()); }

    QString XLabel() const;
    QString YLabel() const;
    QString XToolTip() const;
    QString YToolTip() const;
    // Tracing serves latitude/longitude maps only.
    bool TraceEnabled() const { return mapMode_ == 1; }

    // The anchor as the boxes show it: angles with their direction, or
    // kilometres.
    QString XText() const;
    QString YText() const;
    // A typed coordinate: text that reads and lies in the map's range
    // becomes the anchor's; otherwise the range message and False. Either
    // way the box then shows XText / YText. Unchanged text changes nothing.
    bool CommitX(const QString& typed);
    bool CommitY(const QString& typed);

    // The anchor frame's caption: "アンカー座標" until a paste.
    QString PositionCaption() const { return positionCaption_; }
    static QString ParsingCaption() { return QStringLiteral("座標 (解析中...)"); }
    // The clipboard's coordinates: the anchor moves to the first, and OK
    // makes one figure per point. A paste without points forgets an earlier
    // one.
    void PasteClick();
    void PastePoints(const clsPoly& points);
    int32_t PastedCount() const { return pasted_ ? pasted_->Count() : 0; }
    // Copies of `figure` (fresh identifiers) at pasted points 2..n.
    FigureList PastedCopies(const clsMapFigure& figure) const;

    // The anchor chosen in the drawing window on the map, or on a traced
    // picture (latitude/longitude maps).
    void OnMapClick();
    void TraceClick();

    // What OK does for the kind.
    virtual OkOutcome OkClick() = 0;

    // This dialog's corner (twips), from which child windows are placed.
    std::function<plat::DialogPosition()> windowCorner;

private:
    bool commit(bool isX, const QString& typed);
    plat::DialogPosition childCorner() const;

    int32_t figCode_;
    int32_t mapMode_ = 1;
    QString positionCaption_ = QStringLiteral("アンカー座標");
    std::optional<clsPoly> pasted_;
};

// The window part both dialogs share. A dialog builds its own layout out
// of the pieces and calls loadPoint after its logic loaded.
class frmFigPoint : public plat::DialogBase {
    Q_OBJECT
public:
    bool loaded() const { return loaded_; }
    FigPointLogic& pointLogic() const { return *logic_; }

    QGroupBox* fraPosition = nullptr;
    QLabel* lblX = nullptr;
    QLineEdit* txtX = nullptr;
    QLabel* lblY = nullptr;
    QLineEdit* txtY = nullptr;
    QPushButton* cmdPaste = nullptr;
    QPushButton* cmdOnMap = nullptr;
    QPushButton* cmdTrace = nullptr;
    QLabel* lblThing = nullptr;
    QComboBox* choThing = nullptr;
    QLabel* lblAdmin = nullptr;
    QComboBox* choAdmin = nullptr;
    QComboBox* choPrint = nullptr;
    QPushButton* cmdColor = nullptr;
    QLabel* lblDateBody = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

protected:
    frmFigPoint(FigureDialogVars& vars, std::unique_ptr<FigPointLogic> logic, QString form, QWidget* parent);

    // The anchor frame; `toolTip` is the frame's.
    QGroupBox* buildAnchorFrame(const QString& toolTip);
    // Rows of thing, district, show mode, colour and date from `row` on.
    void buildAttributeRows(QGridLayout* form, int row);
    void buildButtons(QGridLayout* grid, int row, long helpContext);
    // After the logic loaded: caption, anchor, lists, colour, date.
    void loadPoint();
    void showAnchor();
    // Runs an event handler under the fatal-error rule.
    void handle(const QString& handler, const std::function<void()>& body) const;
    // Fields the kind checks before OK; False keeps the dialog open.
    virtual bool commitFields() { return true; }

    bool eventFilter(QObject* o, QEvent* e) override;

    bool loaded_ = false;

private:
    void okClick();

    std::unique_ptr<FigPointLogic> logic_;
    QString form_;
};
