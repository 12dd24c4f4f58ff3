#include "frmFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

bool isRemovableMount(const QString& root) {
    return root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/mnt/")) ||
           root.startsWith(QLatin1String("/run/media/"));
}

QString clean(const QString& path) { return QDir::cleanPath(QDir::fromNativeSeparators(path)); }

bool contains(const QString& root, const QString& path) {
    return path == root || root == QLatin1String("/") || path.startsWith(root + QLatin1Char('/'));
}

} // namespace

std::vector<FolderChooser::DriveEntry> FolderChooser::Drives() {
    std::vector<DriveEntry> drives{{QStringLiteral("/"), QStringLiteral("/")}};
    const QString home = clean(QDir::homePath());
    if (home != QLatin1String("/")) drives.push_back({home, home + QStringLiteral(" [ホーム]")});
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = clean(v.rootPath());
        if (!isRemovableMount(root)) continue;
        const QString name = v.displayName();
        drives.push_back({root, name.isEmpty() || name == root ? root : root + QStringLiteral(" [") + name + QLatin1Char(']')});
    }
    return drives;
}

QString FolderChooser::DriveOf(const QString& path, const std::vector<DriveEntry>& drives) {
    QString best = QStringLiteral("/");
    for (const DriveEntry& d : drives)
        if (contains(d.root, path) && d.root.size() > best.size()) best = d.root;
    return best;
}

std::vector<FolderChooser::Entry> FolderChooser::ListOf(const QString& drive, const QString& folder) {
    std::vector<Entry> list;
    QStringList chain;
    for (QString p = folder; contains(drive, p); p = clean(QFileInfo(p).path())) {
        chain.prepend(p);
        if (p == drive || p == QLatin1String("/")) break;
    }
    int depth = 0;
    for (const QString& p : chain) {
        const QString name = p == drive ? p : QFileInfo(p).fileName();
        list.push_back({p, name, depth++, true});
    }
    QStringList subs = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& s : subs) list.push_back({clean(folder + QLatin1Char('/') + s), s, depth, false});
    return list;
}

QString FolderChooser::ExistingFolder(const QString& path) {
    QString p = clean(path);
    if (!path.isEmpty() && QDir::isAbsolutePath(p)) {
        for (;;) {
            if (QFileInfo(p).isDir()) return p;
            const QString up = clean(QFileInfo(p).path());
            if (up == p) break;
            p = up;
        }
    }
    return clean(QDir::homePath());
}

void FolderChooser::Load() {
    // A folder that has gone opens its nearest parent rather than failing.
    const QString start = ExistingFolder(FolderPath);
    drive_ = DriveOf(start, Drives());
    FolderChanged(start);
}

void FolderChooser::DriveChanged(const QString& root) {
    drive_ = root;
    FolderChanged(ExistingFolder(root));
}

void FolderChooser::FolderChanged(const QString& path) {
    folder_ = clean(path);
    FolderPath = folder_;
}

plat::DialogPosition& frmFolder::Remembered() {
    static plat::DialogPosition position;
    return position;
}

frmFolder::frmFolder(FolderChooser& chooser, QWidget* parent)
    : plat::DialogBase(parent, &Remembered()), chooser_(chooser), drives_(FolderChooser::Drives()) {
    setWindowTitle(QStringLiteral("フォルダ選択"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    drvDrive_ = new QComboBox(this);
    drvDrive_->setToolTip(QStringLiteral("ドライブを選択する"));
    for (const auto& d : drives_) drvDrive_->addItem(d.label, d.root);
    dirFolder_ = new QTreeWidget(this);
    dirFolder_->setToolTip(QStringLiteral("フォルダを選択する"));
    dirFolder_->setHeaderHidden(true);
    dirFolder_->setRootIsDecorated(false);
    dirFolder_->setIndentation(14);
    dirFolder_->setMinimumSize(300, 260);
    lblPath_ = new QLabel(this);
    lblPath_->setToolTip(QStringLiteral("パス名"));
    lblPath_->setTextFormat(Qt::PlainText);
    lblPath_->setFrameShape(QFrame::StyledPanel);
    lblPath_->setMinimumWidth(300);
    auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
    ok->setToolTip(QStringLiteral("設定を確定して閉じる"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setToolTip(QStringLiteral("設定を取り消して閉じる"));
    setOkButton(ok);
    exemptFromChecks(cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(drvDrive_);
    layout->addWidget(dirFolder_, 1);
    layout->addWidget(lblPath_);
    layout->addLayout(buttons);

    chooser_.Load();
    drvDrive_->setCurrentIndex(std::max(0, drvDrive_->findData(chooser_.Drive())));
    fillFolders();
    connect(drvDrive_, &QComboBox::currentIndexChanged, this, &frmFolder::onDrive);
    connect(dirFolder_, &QTreeWidget::itemActivated, this, &frmFolder::onFolder);
    connect(ok, &QPushButton::clicked, this, [this] {
        chooser_.OK = true;
        closeOK();
    });
    connect(cancel, &QPushButton::clicked, this, &frmFolder::closeCancel);
}

void frmFolder::fillFolders() {
    dirFolder_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    std::vector<QTreeWidgetItem*> parents;
    QTreeWidgetItem* current = nullptr;
    for (const FolderChooser::Entry& e : FolderChooser::ListOf(chooser_.Drive(), chooser_.Folder())) {
        parents.resize(static_cast<size_t>(e.depth));
        auto* item = parents.empty() ? new QTreeWidgetItem(dirFolder_) : new QTreeWidgetItem(parents.back());
        item->setText(0, e.name);
        item->setIcon(0, e.open ? open : closed);
        item->setData(0, Qt::UserRole, e.path);
        item->setExpanded(true);
        if (e.open) {
            parents.push_back(item);
            current = item;
        }
    }
    if (current) dirFolder_->setCurrentItem(current);
    lblPath_->setText(chooser_.FolderPath);
}

void frmFolder::onDrive(int index) {
    chooser_.DriveChanged(drvDrive_->itemData(index).toString());
    fillFolders();
}

void frmFolder::onFolder(QTreeWidgetItem* item) {
    if (!item) return;
    chooser_.FolderChanged(item->data(0, Qt::UserRole).toString());
    fillFolders();
}
