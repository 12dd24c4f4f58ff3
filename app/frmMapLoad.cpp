#include "frmMapLoad.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>
#include <utility>

#include "DoEvents.h"
#include "LongOperation.h"
#include "basLibrary.h"
#include "clsMapUnit.h"

namespace {

constexpr int kDialogWidth = 440;

} // namespace

MapUnitIoDialog::MapUnitIoDialog(clsMapUnit& unit, const QString& title, bool withLog, QWidget* parent)
    : plat::DialogBase(parent), unit_(unit), progress_(unit) {
    setWindowTitle(title);
    setCentredOnScreen(true);
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    const QString titles[] = {QStringLiteral("行政区ファイル"), QStringLiteral("事象ファイル"),
                              QStringLiteral("地図図形ファイル"), QStringLiteral("ログファイル")};
    const int frames = withLog ? MapUnitProgress::kFrames : MapUnitProgress::FrameLog;
    for (int f = 0; f < frames; ++f) {
        auto* box = new QGroupBox(titles[f], this);
        auto* inner = new QVBoxLayout(box);
        labels_[f].path = new QLabel(box);
        labels_[f].info = new QLabel(box);
        labels_[f].path->setTextFormat(Qt::PlainText);
        labels_[f].info->setTextFormat(Qt::PlainText);
        inner->addWidget(labels_[f].path);
        inner->addWidget(labels_[f].info);
        if (f == MapUnitProgress::FrameFigures) {
            prgFigures_ = new QProgressBar(box);
            prgFigures_->setRange(0, 100);
            // Hidden but keeping its room, so the window does not jump.
            QSizePolicy keep = prgFigures_->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            prgFigures_->setSizePolicy(keep);
            inner->addWidget(prgFigures_);
        }
        layout->addWidget(box);
    }
    setFixedWidth(kDialogWidth);
    refresh();
}

void MapUnitIoDialog::refresh() {
    for (int f = 0; f < MapUnitProgress::kFrames; ++f) {
        if (!labels_[f].path) continue;
        const auto frame = static_cast<MapUnitProgress::Frame>(f);
        labels_[f].path->setText(progress_.DisplayPath(frame));
        labels_[f].path->setToolTip(progress_.Path(frame));
        labels_[f].info->setText(progress_.Info(frame));
    }
    prgFigures_->setValue(progress_.ProgressValue());
    prgFigures_->setVisible(progress_.ProgressVisible());
}

void MapUnitIoDialog::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    // Shown again after the work: nothing more to do.
    if (finished_) QTimer::singleShot(0, this, &QDialog::accept);
    if (started_) return;
    started_ = true;
    // After the window is on the screen, so the user sees it work.
    QTimer::singleShot(0, this, &MapUnitIoDialog::run);
}

void MapUnitIoDialog::run() {
    working_ = true;
    {
        plat::BusyCursor busy;
        progress_.Changed = [this] {
            refresh();
            plat::DoEvents();
            if (AfterChange) AfterChange(*this);
        };
        try {
            success_ = work(unit_, progress_);
        } catch (...) {
            // An event handler cannot pass it on: the caller gets it after exec.
            failure_ = std::current_exception();
        }
        progress_.Finish();
        progress_.Changed = nullptr;
    }
    working_ = false;
    finished_ = true;
    accept();
}

bool MapUnitIoDialog::Run() {
    exec();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return success_;
}

void MapUnitIoDialog::closeEvent(QCloseEvent* e) {
    if (working_) e->ignore();
    else plat::DialogBase::closeEvent(e);
}

void MapUnitIoDialog::keyPressEvent(QKeyEvent* e) {
    // Esc would reject the dialog in the middle of the work.
    if (working_ && e->key() == Qt::Key_Escape) return;
    plat::DialogBase::keyPressEvent(e);
}

frmMapLoad::frmMapLoad(clsMapUnit& unit, QWidget* parent)
    : MapUnitIoDialog(unit, QStringLiteral("地図ファイルを開く"), false, parent) {}

bool frmMapLoad::work(clsMapUnit& unit, MapUnitProgress& progress) { return LoadMapUnitFiles(unit, progress); }

frmMapSave::frmMapSave(clsMapUnit& unit, const QString& logFile, QWidget* parent)
    : MapUnitIoDialog(unit, QStringLiteral("地図ファイルを保存する"), true, parent),
      logFile_(logFile.isEmpty() ? QString() : ChangeExt(logFile, QStringLiteral(".PLG"))) {}

bool frmMapSave::work(clsMapUnit& unit, MapUnitProgress& progress) {
    SaveLogReporting reporting(progress);
    return SaveMapUnitFiles(unit, logFile_, progress);
}

void InstallMapUnitDialogs(QWidget* owner) {
    QPointer<QWidget> parent(owner);
    SetMapUnitDialogs(
        [parent](clsMapUnit& unit) {
            frmMapLoad dlg(unit, parent);
            return dlg.Run();
        },
        [parent](clsMapUnit& unit, const QString& logName) {
            frmMapSave dlg(unit, logName, parent);
            return dlg.Run();
        });
}

void RemoveMapUnitDialogs() { SetMapUnitDialogs({}, {}); }
