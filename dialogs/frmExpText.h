// The window of the text style editor over ExpTextModel: the two face lists,
// the height list, the decoration boxes, the colour buttons, the edge box and
// the two-line sample. The controls are built at every opening.
#pragma once

#include <array>

#include "DialogBase.h"
#include "ExpTextModel.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class PictureBox;

class frmExpText : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmExpText(QWidget* parent = nullptr, ExpTextModel& model = ExpText());

    QComboBox* faceList(int lang) const { return faces_[size_t(lang)]; }
    QComboBox* heightList() const { return height_; }
    QCheckBox* styleBox(int k) const { return styles_[size_t(k)]; }
    QCheckBox* edgeBox() const { return edge_; }
    PictureBox* sample() const { return sample_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void refresh();
    void paintSample();

    ExpTextModel& model_;
    std::array<QComboBox*, 2> faces_{};
    QComboBox* height_ = nullptr;
    std::array<QCheckBox*, 4> styles_{};
    QCheckBox* edge_ = nullptr;
    PictureBox* sample_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool refreshing_ = false;
};
