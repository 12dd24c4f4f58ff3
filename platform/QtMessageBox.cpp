#include "MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

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
};

} // namespace

MessageBoxProvider* CreateQtMessageBoxProvider() { return new QtMessageBox; }

} // namespace plat
