#include "MessageBox.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

#include "FileDialog.h"
#include "Fonts.h"
#include "Help.h"

namespace plat {

namespace {

// Shows a family as Qt lists it under its family name alone.
class FamilyNames : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale&) const override {
        return FontFamilyName(value.toString());
    }
};

// Qt's font dialog lists a family once per foundry that provides it
// ("Nimbus Sans [urw]", "Nimbus Sans [UKWN]") and finds its entries by row,
// so the rows stay: the repeats are hidden and the first shows the family
// name alone. The family list and its read-only line are the dialog's first.
void ListFamiliesOnce(QFontDialog& dlg) {
    const QList<QListView*> lists = dlg.findChildren<QListView*>(Qt::FindDirectChildrenOnly);
    const QList<QLineEdit*> lines = dlg.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
    if (lists.isEmpty() || lines.isEmpty()) return;
    QListView* families = lists.first();
    QLineEdit* chosen = lines.first();
    families->setItemDelegate(new FamilyNames(families));
    const auto familyAt = [families](int row) { return FontFamilyName(families->model()->index(row, 0).data().toString()); };
    const auto hideRepeats = [families, familyAt] {
        QSet<QString> seen;
        for (int row = 0; row < families->model()->rowCount(); ++row) {
            const QString family = familyAt(row);
            families->setRowHidden(row, seen.contains(family));
            seen.insert(family);
        }
    };
    hideRepeats();
    QObject::connect(families->model(), &QAbstractItemModel::modelReset, families, hideRepeats);
    // A repeat made current gives way to the shown entry of its family.
    QObject::connect(families->selectionModel(), &QItemSelectionModel::currentRowChanged, families,
                     [families, familyAt](const QModelIndex& current) {
                         if (!current.isValid() || !families->isRowHidden(current.row())) return;
                         const QString family = familyAt(current.row());
                         for (int row = 0; row < current.row(); ++row) {
                             if (!families->isRowHidden(row) && familyAt(row) == family) {
                                 families->setCurrentIndex(families->model()->index(row, 0));
                                 return;
                             }
                         }
                     });
    QObject::connect(chosen, &QLineEdit::textChanged, chosen, [chosen](const QString& text) {
        const QString family = FontFamilyName(text);
        if (family != text) chosen->setText(family);
    });
}

class QtMessageBox : public MessageBoxProvider {
public:
    int showMessage(const MessageRequest& req) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(req.title);
        box.setText(req.text);
        switch (req.icon()) {
        case MbCritical: box.setIcon(QMessageBox::Critical); break;
        case MbQuestion: box.setIcon(QMessageBox::Question); break;
        case MbExclamation: box.setIcon(QMessageBox::Warning); break;
        case MbInformation: box.setIcon(QMessageBox::Information); break;
        default: break;
        }
        struct B { const char* text; int id; QMessageBox::ButtonRole role; };
        std::vector<B> buttons;
        switch (req.buttons()) {
        case MbOkCancel: buttons = {{"ＯＫ", IdOk, QMessageBox::AcceptRole}, {"キャンセル", IdCancel, QMessageBox::RejectRole}}; break;
        case MbAbortRetryIgnore:
            buttons = {{"中止(&A)", IdAbort, QMessageBox::RejectRole}, {"再試行(&R)", IdRetry, QMessageBox::AcceptRole},
                       {"無視(&I)", IdIgnore, QMessageBox::DestructiveRole}};
            break;
        case MbYesNoCancel:
            buttons = {{"はい(&Y)", IdYes, QMessageBox::YesRole}, {"いいえ(&N)", IdNo, QMessageBox::NoRole},
                       {"キャンセル", IdCancel, QMessageBox::RejectRole}};
            break;
        case MbYesNo: buttons = {{"はい(&Y)", IdYes, QMessageBox::YesRole}, {"いいえ(&N)", IdNo, QMessageBox::NoRole}}; break;
        case MbRetryCancel: buttons = {{"再試行(&R)", IdRetry, QMessageBox::AcceptRole}, {"キャンセル", IdCancel, QMessageBox::RejectRole}}; break;
        default: buttons = {{"ＯＫ", IdOk, QMessageBox::AcceptRole}}; break;
        }
        std::vector<QPushButton*> made;
        for (const B& b : buttons) made.push_back(box.addButton(QString::fromUtf8(b.text), b.role));
        int def = (req.style & MbDefaultButton3) ? 2 : (req.style & MbDefaultButton2) ? 1 : 0;
        if (def < static_cast<int>(made.size())) box.setDefaultButton(made[def]);
        // Esc answers Cancel where there is one, else the only button.
        for (size_t i = 0; i < buttons.size(); ++i) {
            if (buttons[i].id == IdCancel || buttons.size() == 1) box.setEscapeButton(made[i]);
        }
        box.exec();
        for (size_t i = 0; i < made.size(); ++i) {
            if (box.clickedButton() == made[i]) return buttons[i].id;
        }
        return IdCancel;
    }

    bool showInput(const InputRequest& req, QString& answer) override {
        QDialog dlg(QApplication::activeWindow());
        dlg.setWindowTitle(req.title);
        auto* lay = new QVBoxLayout(&dlg);
        auto* label = new QLabel(req.prompt, &dlg);
        label->setWordWrap(true);
        auto* edit = new QLineEdit(req.preset, &dlg);
        edit->selectAll();
        auto* bb = new QDialogButtonBox(&dlg);
        bb->addButton(QStringLiteral("ＯＫ"), QDialogButtonBox::AcceptRole);
        bb->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
        if (req.helpContext != 0) {
            QPushButton* h = bb->addButton(QStringLiteral("ヘルプ(&H)"), QDialogButtonBox::HelpRole);
            long ctx = req.helpContext;
            QObject::connect(h, &QPushButton::clicked, [ctx] { ShowHelpTopic(ctx); });
        }
        QObject::connect(bb, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
        QObject::connect(bb, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
        lay->addWidget(label);
        lay->addWidget(edit);
        lay->addWidget(bb);
        if (dlg.exec() != QDialog::Accepted) return false;
        answer = edit->text();
        return true;
    }

    bool chooseFile(const FileRequest& req, QString& path, int& filterIndex) override {
        return RunFileDialog(req, path, filterIndex);
    }

    bool chooseFolder(const QString& title, const QString& start, QString& path) override {
        const QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, start,
                                                               QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (folder.isEmpty()) return false;
        path = folder;
        return true;
    }

    bool chooseColor(COLORREF initial, COLORREF& chosen) override {
        const QColor c = QColorDialog::getColor(QColor(GetRValue(initial), GetGValue(initial), GetBValue(initial)),
                                                QApplication::activeWindow(), QString(),
                                                QColorDialog::DontUseNativeDialog);
        if (!c.isValid()) return false;
        chosen = RGB(c.red(), c.green(), c.blue());
        return true;
    }

    bool chooseFont(StdFont& font) override {
        QFont initial(ResolveFontFamily(font.name));
        initial.setPointSizeF(font.size);
        initial.setBold(font.bold);
        initial.setItalic(font.italic);
        QFontDialog dlg(QApplication::activeWindow());
        dlg.setOption(QFontDialog::DontUseNativeDialog);
        dlg.setCurrentFont(initial);
        ListFamiliesOnce(dlg);
        if (dlg.exec() != QDialog::Accepted) return false;
        const QFont f = dlg.selectedFont();
        // The face name the settings know stays when its family was kept.
        const QString family = FontFamilyName(f.family());
        if (family != initial.family()) font.name = family;
        font.size = f.pointSizeF();
        font.bold = f.bold();
        font.italic = f.italic();
        return true;
    }
};

} // namespace

MessageBoxProvider* CreateQtMessageBoxProvider() { return new QtMessageBox; }

} // namespace plat
