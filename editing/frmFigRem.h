// The remark dialog "注釈図形プロパティ": a remark's comment, own show mode
// and own colour. Remarks have no thing, and the dialog offers no district.
#pragma once

#include "FigureDialog.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class FigRemLogic : public FigureDialogLogic {
public:
    static constexpr long kHelpContext = 291001;

    explicit FigRemLogic(FigureDialogVars& vars);

    // The common load and the comment; False: the dialog closes at once.
    bool Load();
    QString Comment() const { return comment_; }
    // OK with the comment as typed: control characters (line breaks and
    // tabs too) are removed, no district becomes district 0. A comment that
    // the remark refuses (too long for a record) keeps the dialog open.
    OkOutcome OkClick(const QString& typed);

private:
    QString comment_;
};

// The Qt window over FigRemLogic.
class frmFigRem : public plat::DialogBase {
    Q_OBJECT
public:
    // Loads at once; loaded() is False when there was nothing to edit.
    frmFigRem(FigureDialogVars& vars, QWidget* parent = nullptr);
    bool loaded() const { return loaded_; }
    FigRemLogic& logic() { return logic_; }

    QPlainTextEdit* txtComment = nullptr;
    QComboBox* choPrint = nullptr;
    QPushButton* cmdColor = nullptr;
    QLabel* lblDateBody = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void build();
    void showColor();
    void okClick();

    FigRemLogic logic_;
    bool loaded_ = false;
};

// Shows the remark dialog modally over the variables.
void RunFigRem(FigureDialogVars& vars);
