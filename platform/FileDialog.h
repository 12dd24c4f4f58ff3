// The program's open and save chooser on Qt's own file dialog (the
// desktop's would not speak Japanese).
//
// Files of either letter case are listed under a type ("*.MLL" lists
// coast.mll). Choosing another type puts its extension on the typed name,
// added when the name has none. A save asks before it replaces a file, and
// about the file that will really be written: the request's savedName
// turns the typed name into that one ("JAPAN_A8" into "JAPAN_A8.MLL"), so
// the question is asked once, about the right file. Answering no leaves the
// dialog open for another name.
#pragma once

#include <QFileDialog>

#include "MessageBox.h"

namespace plat {

class FileDialog : public QFileDialog {
public:
    explicit FileDialog(const FileRequest& req, QWidget* parent = nullptr);

    // After acceptance: the chosen path (for a save, the name that will be
    // written) and the 1-based entry of the type list.
    QString chosenPath() const { return chosen_; }
    int chosenEntry() const;

protected:
    void accept() override;

private:
    void putTypeExtension(int entry);

    FileRequest req_;
    QStringList filters_;
    QString chosen_;
};

// Shows the chooser modally; false when cancelled.
bool RunFileDialog(const FileRequest& req, QString& path, int& filterIndex);

// The extension of a type's only pattern ("*.MLL" gives ".MLL"); empty when
// the entry takes every file, several patterns or a name pattern.
QString EntryExtension(const QString& filter, int entry);

} // namespace plat
