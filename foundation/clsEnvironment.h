// The reader of "Environment.txt": installation settings edited by hand, one
// "ID=value" a line, read once at start-up.
#pragma once

#include <QString>

#include <vector>

class clsEnvironment {
public:
    const QString& FileName() const { return fileName_; }
    void setFileName(const QString& f) { fileName_ = f; }

    long Count() const { return static_cast<long>(items_.size()); }
    QString ItemID(long i) const;
    QString ItemData(long i) const;

    // The value of the first entry whose ID equals id without regard to case.
    QString GetString(const QString& id, const QString& def) const;
    // The leading number of the value; def when the ID is absent or the
    // number lies outside min..max.
    double GetVal(const QString& id, double def, double min, double max) const;

    // 0 on success; 53 (after telling the user) when the file does not exist.
    // A file over 1 MiB raises error 7 naming it, without a box.
    long Load();
    // Reads entries from lines as Load does from the file (tests, tools).
    void LoadLines(const QStringList& lines);

private:
    struct Item {
        QString id;
        QString data;
    };
    const Item* find(const QString& id) const;
    QString fileName_;
    std::vector<Item> items_;
};
