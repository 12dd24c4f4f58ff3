#include "MessageBox.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "Fonts.h"
#include "Help.h"

namespace plat {

namespace {

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
        case MbOkCancel: buttons = {{"OK", IdOk, QMessageBox::AcceptRole}, {"キャンセル", IdCancel, QMessageBox::RejectRole}}; break;
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
        default: buttons = {{"OK", IdOk, QMessageBox::AcceptRole}}; break;
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
        bb->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
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
        QFileDialog dlg(QApplication::activeWindow(), req.title);
        dlg.setAcceptMode(req.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(req.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dlg.setOption(QFileDialog::HideNameFilterDetails);
        const QStringList filters = QtNameFilters(req.filter);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            dlg.selectNameFilter(filters[std::clamp(req.filterIndex, 1, static_cast<int>(filters.size())) - 1]);
        }
        if (!req.fileName.isEmpty()) {
            const QFileInfo proposed(req.fileName);
            if (proposed.dir().exists()) dlg.setDirectory(proposed.dir());
            dlg.selectFile(proposed.fileName());
        }
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
        path = dlg.selectedFiles().first();
        // The dialog names the chosen entry without the patterns it hides.
        const QString chosen = dlg.selectedNameFilter();
        filterIndex = 1;
        for (qsizetype i = 0; i < filters.size(); ++i) {
            if (filters[i] == chosen || filters[i].startsWith(chosen + QStringLiteral(" ("))) {
                filterIndex = static_cast<int>(i) + 1;
                break;
            }
        }
        return true;
    }

    bool chooseFolder(const QString& title, const QString& start, QString& path) override {
        const QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, start);
        if (folder.isEmpty()) return false;
        path = folder;
        return true;
    }

    bool chooseColor(COLORREF initial, COLORREF& chosen) override {
        const QColor c = QColorDialog::getColor(QColor(GetRValue(initial), GetGValue(initial), GetBValue(initial)),
                                                QApplication::activeWindow());
        if (!c.isValid()) return false;
        chosen = RGB(c.red(), c.green(), c.blue());
        return true;
    }

    bool chooseFont(StdFont& font) override {
        QFont initial(ResolveFontFamily(font.name));
        initial.setPointSizeF(font.size);
        initial.setBold(font.bold);
        initial.setItalic(font.italic);
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
        if (!ok) return false;
        // The face name the settings know stays when its family was kept.
        if (f.family() != initial.family()) font.name = f.family();
        font.size = f.pointSizeF();
        font.bold = f.bold();
        font.italic = f.italic();
        return true;
    }
};

} // namespace

MessageBoxProvider* CreateQtMessageBoxProvider() { return new QtMessageBox; }

} // namespace plat
