#include "FileDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>

namespace plat {

QString EntryExtension(const QString& filter, int entry) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    const qsizetype at = 2 * qsizetype(entry) - 1;
    if (entry < 1 || at >= parts.size()) return QString();
    const QString& pattern = parts[at];
    if (!pattern.startsWith(QLatin1Char('*'))) return QString();
    const QString ext = pattern.mid(1);
    // "*.*" takes every file; "*.BMP;*.PNG" names no single extension.
    if (ext.size() < 2 || ext == QLatin1String(".*") || ext.contains(QLatin1Char(';')) ||
        ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')))
        return QString();
    return ext;
}

FileDialog::FileDialog(const FileRequest& req, QWidget* parent)
    : QFileDialog(parent, req.title), req_(req), filters_(QtNameFilters(req.filter)) {
    setAcceptMode(req.save ? AcceptSave : AcceptOpen);
    setFileMode(req.save ? AnyFile : ExistingFile);
    setOption(HideNameFilterDetails);
    setOption(DontUseNativeDialog);
    // Asked in accept, about the name that will be written.
    setOption(DontConfirmOverwrite);
    if (!filters_.isEmpty()) {
        setNameFilters(filters_);
        selectNameFilter(filters_[std::clamp(req.filterIndex, 1, static_cast<int>(filters_.size())) - 1]);
    }
    if (!req.fileName.isEmpty()) {
        const QFileInfo proposed(req.fileName);
        if (proposed.dir().exists()) setDirectory(proposed.dir());
        selectFile(proposed.fileName());
    }
    // Qt has changed the name's extension, if it had one, by the time the
    // type is reported; a name without one gets it here.
    if (auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        connect(types, &QComboBox::activated, this, [this](int index) { putTypeExtension(index + 1); });
}

int FileDialog::chosenEntry() const {
    // The dialog names the chosen entry without the patterns it hides.
    const QString chosen = selectedNameFilter();
    for (qsizetype i = 0; i < filters_.size(); ++i) {
        if (filters_[i] == chosen || filters_[i].startsWith(chosen + QStringLiteral(" (")))
            return static_cast<int>(i) + 1;
    }
    return 1;
}

void FileDialog::putTypeExtension(int entry) {
    const QString ext = EntryExtension(req_.filter, entry);
    auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (ext.isEmpty() || !name) return;
    const QString text = name->text();
    if (text.trimmed().isEmpty()) return;
    const QString suffix = QFileInfo(text).suffix();
    const QString renamed = suffix.isEmpty() ? text + ext : text.left(text.size() - suffix.size() - 1) + ext;
    if (renamed != text) name->setText(renamed);
}

void FileDialog::accept() {
    const QStringList files = selectedFiles();
    if (!req_.save || files.isEmpty()) {
        if (!files.isEmpty()) chosen_ = files.first();
        QFileDialog::accept();
        return;
    }
    const QFileInfo typed(files.first());
    // A folder is opened, ".." goes up: Qt's own steps, no file yet.
    auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (typed.isDir() || (name && name->text() == QLatin1String(".."))) {
        QFileDialog::accept();
        return;
    }
    const QString saved = req_.savedName ? req_.savedName(files.first(), chosenEntry()) : files.first();
    const QFileInfo target(saved);
    if (target.exists() && !target.isDir()) {
        const int answer = MsgBox(target.fileName() + QStringLiteral(" は既に存在します.\r\n上書きしますか？"),
                                  MbYesNo | MbExclamation | MbDefaultButton2, windowTitle());
        if (answer != IdYes) return;
    }
    chosen_ = saved;
    QFileDialog::accept();
}

bool RunFileDialog(const FileRequest& req, QString& path, int& filterIndex) {
    FileDialog dlg(req, QApplication::activeWindow());
    if (dlg.exec() != QDialog::Accepted || dlg.chosenPath().isEmpty()) return false;
    path = dlg.chosenPath();
    filterIndex = dlg.chosenEntry();
    return true;
}

} // namespace plat
