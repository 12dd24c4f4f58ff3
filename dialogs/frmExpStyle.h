// The windows of the pattern, line and symbol style editors over their
// models (ExpStyleModel.h): a picking grid, a live sample on the colour
// checker, two colour buttons, the second-colour box and OK, Cancel, Help.
// The controls are built at every opening; the model keeps the fields.
#pragma once

#include "DialogBase.h"
#include "ExpStyleModel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QVBoxLayout;
class PictureBox;

class frmExpStyle : public plat::DialogBase {
    Q_OBJECT
public:
    PictureBox* grid() const { return grid_; }
    PictureBox* sample() const { return sample_; }
    QPushButton* foreButton() const { return fore_; }
    QPushButton* backButton() const { return back_; }
    QCheckBox* secondColorBox() const { return second_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* helpButton() const { return help_; }

protected:
    // What tells the three editors apart besides their models.
    struct Design {
        QString formName;      // for the error source
        QString gridName;      // of the grid control
        QString gridLabel, gridTip;
        int gridWidth = 0, gridHeight = 0;
        QString foreName, foreCaption, foreTip;
        QString backName, backCaption, backTip;
        QString checkName, checkCaption;
    };
    frmExpStyle(ExpStyleModel& model, const Design& design, QWidget* parent);

    // The left column under the grid, for controls of one editor.
    QVBoxLayout* gridColumn() const { return gridColumn_; }
    const QString& formName() const { return formName_; }
    // Shows the model in the controls; calls made while it runs (by the
    // controls' own change signals) do nothing.
    void refresh();
    virtual void refreshOwn() {}
    bool refreshing() const { return refreshing_; }
    void paintSample();
    void paintGrid();

private:
    void gridMouseUp(int x, int y);

    ExpStyleModel& model_;
    QString formName_;
    QString gridProc_;
    PictureBox* grid_ = nullptr;
    PictureBox* sample_ = nullptr;
    QPushButton* fore_ = nullptr;
    QPushButton* back_ = nullptr;
    QCheckBox* second_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    QVBoxLayout* gridColumn_ = nullptr;
    bool refreshing_ = false;
};

class frmExpPolygon : public frmExpStyle {
    Q_OBJECT
public:
    explicit frmExpPolygon(QWidget* parent = nullptr, ExpPolygonModel& model = ExpPolygon());
};

class frmExpPolyline : public frmExpStyle {
    Q_OBJECT
public:
    explicit frmExpPolyline(QWidget* parent = nullptr, ExpPolylineModel& model = ExpPolyline());
    QComboBox* widthList() const { return width_; }

protected:
    void refreshOwn() override;

private:
    ExpPolylineModel& model_;
    QComboBox* width_ = nullptr;
};

class frmExpSymbol : public frmExpStyle {
    Q_OBJECT
public:
    explicit frmExpSymbol(QWidget* parent = nullptr, ExpSymbolModel& model = ExpSymbol());
};
