#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QPixmap>
#include <QWidget>

#include "FileDialog.h"

#include <clocale>

namespace testsupport {

bool ScriptedBoxesWithFileDialogs::chooseFile(const plat::FileRequest& req, QString& path, int& filterIndex) {
    return plat::RunFileDialog(req, path, filterIndex);
}

void ChooseFileType(QFileDialog& dialog, int entry) {
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_TRUE(entry >= 1 && entry <= types->count()) << entry;
    types->setCurrentIndex(entry - 1);
    // What the list sends when a user picks an entry.
    emit types->activated(entry - 1);
    emit types->textActivated(types->itemText(entry - 1));
}

void TypeFileName(QFileDialog& dialog, const QString& name) {
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(box, nullptr);
    box->setText(name);
}

QString FileNameBox(const QFileDialog& dialog) {
    const auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return box ? box->text() : QString();
}

void PressAccept(QFileDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    QPushButton* accept = buttons->button(dialog.acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                                        : QDialogButtonBox::Open);
    ASSERT_NE(accept, nullptr);
    ASSERT_TRUE(accept->isEnabled());
    accept->click();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

QString OutputFolder() {
    const QString folder = QStringLiteral(KAL_TEST_OUTPUT_DIR "/") + QFileInfo(QCoreApplication::applicationFilePath()).baseName();
    QDir().mkpath(folder);
    return folder;
}

QString SaveWidgetPng(QWidget* widget, const QString& name) {
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    QString file = t ? QString::fromUtf8(t->test_suite_name()) + QLatin1Char('.') + QString::fromUtf8(t->name())
                     : QStringLiteral("widget");
    if (!name.isEmpty()) file += QLatin1Char('-') + name;
    file.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString path = OutputFolder() + QLatin1Char('/') + file + QStringLiteral(".png");
    if (!widget->isVisible()) widget->show();
    if (widget->layout()) widget->layout()->activate();
    QApplication::processEvents();
    EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
    return path;
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

std::vector<CorpusInput> FuzzCorpus(const QString& folder) {
    const QDir dir(QStringLiteral(KAL_SOURCE_DIR "/fuzz/corpus/") + folder);
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    EXPECT_GE(names.size(), 10) << dir.path().toStdString();
    std::vector<CorpusInput> inputs;
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        inputs.push_back({name, f.readAll()});
    }
    return inputs;
}

CommaLocale::CommaLocale() {
    const char* now = std::setlocale(LC_NUMERIC, nullptr);
    saved_ = now ? now : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        ADD_FAILURE() << "no de_DE.UTF-8 locale: scripts/install-deps.sh generates it";
    else if (std::localeconv()->decimal_point != std::string(","))
        ADD_FAILURE() << "de_DE.UTF-8 does not write a decimal comma";
}

CommaLocale::~CommaLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }

} // namespace testsupport
