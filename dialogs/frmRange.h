// The window of the visible-scale-range dialog over RangeModel: a slider
// along the scale ladder whose selected stretch is drawn as a band, the
// level legend under it, the two ends with their step buttons, and OK,
// Cancel, Help. The controls are built at every opening.
#pragma once

#include <QSlider>

#include <array>

#include "DialogBase.h"
#include "RangeModel.h"

class QLabel;
class QPushButton;

// A horizontal slider that jumps to a clicked place and shows a selected
// stretch of positions as a band in its groove.
class RangeSlider : public QSlider {
    Q_OBJECT
public:
    explicit RangeSlider(QWidget* parent = nullptr);
    void setSelection(int start, int length);
    int selectionStart() const { return selStart_; }
    int selectionLength() const { return selLength_; }
    // The x of the handle's centre at a position, in the slider's pixels.
    int centerOf(int value) const;
    // The band's rectangle, in the slider's pixels.
    QRect bandRect() const;

signals:
    // The mouse pressed, before the thumb moves; shift as ShiftStateOf.
    void pressed(int shift);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    int selStart_ = 0;
    int selLength_ = 0;
};

class frmRange : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmRange(QWidget* parent = nullptr, RangeModel& model = Range());

    RangeSlider* slider() const { return slider_; }
    QPushButton* stepButton(int index) const { return steps_[size_t(index)]; }
    QLabel* largeValLabel() const { return largeVal_; }
    QLabel* smallValLabel() const { return smallVal_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void refresh();
    void placeLegend();
    bool eventFilter(QObject* o, QEvent* e) override;

    RangeModel& model_;
    RangeSlider* slider_ = nullptr;
    QWidget* legend_ = nullptr;
    std::array<QLabel*, 9> levels_{};
    std::array<QPushButton*, 4> steps_{};
    QLabel* largeVal_ = nullptr;
    QLabel* largeStep_ = nullptr;
    QLabel* smallVal_ = nullptr;
    QLabel* smallStep_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool refreshing_ = false;
};
