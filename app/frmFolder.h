// The folder chooser "フォルダ選択": a drive list, the folder list of the
// chosen drive (the folders from the drive down to the current one, open,
// and the current one's subfolders) and the path. The caller hands in a
// folder and takes FolderPath back only when OK is true; the window reopens
// where it was last closed, kept on the screen.
#pragma once

#include <QString>

#include <vector>

#include "DialogBase.h"

class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// What the chooser works on, without the window.
class FolderChooser {
public:
    QString FolderPath;   // the caller's folder; follows the folder list
    bool OK = false;      // true only after the OK button

    // "Drives" of this system: the root, the home folder and the volumes
    // mounted for removable media.
    struct DriveEntry {
        QString root;
        QString label;
    };
    static std::vector<DriveEntry> Drives();
    // The drive of a path: the longest root containing it ("/" at worst).
    static QString DriveOf(const QString& path, const std::vector<DriveEntry>& drives);

    // One line of the folder list: the folders from the drive down to the
    // current folder are open, its subfolders (sorted without regard to
    // case) closed; depth counts from the drive's root (0).
    struct Entry {
        QString path;
        QString name;
        int depth = 0;
        bool open = false;
    };
    static std::vector<Entry> ListOf(const QString& drive, const QString& folder);

    // The folder to start from: the given one when it exists, else its
    // nearest existing parent, else the home folder.
    static QString ExistingFolder(const QString& path);

    // The window's events.
    void Load();                          // drive and folder from FolderPath
    void DriveChanged(const QString& root);
    void FolderChanged(const QString& path);
    const QString& Drive() const { return drive_; }
    const QString& Folder() const { return folder_; }

private:
    QString drive_;
    QString folder_;
};

class frmFolder : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmFolder(FolderChooser& chooser, QWidget* parent = nullptr);
    // The position the window reopens at (WinLeft, WinTop), for the
    // program's life.
    static plat::DialogPosition& Remembered();

private:
    void fillFolders();
    void onDrive(int index);
    void onFolder(QTreeWidgetItem* item);

    FolderChooser& chooser_;
    std::vector<FolderChooser::DriveEntry> drives_;
    QComboBox* drvDrive_ = nullptr;
    QTreeWidget* dirFolder_ = nullptr;
    QLabel* lblPath_ = nullptr;
};
