// The style library frame "図式ライブラリ(&Z)" of the map-symbol dialog
// without its widgets. A library is a thing file named "__" + name + ".THG";
// the list offers those in the map folder and its subfolders. Saving writes
// the active unit's working thing catalogue under that name; opening copies
// the styles of the library's things onto the working things of the same
// name and figure kind.
//
// Each listed entry keeps the full path it was found at, so an entry from a
// subfolder opens (and saves over) that very file; a typed name addresses
// the map folder itself.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class MapSymbolModel;

class MapSymbolLibrary {
public:
    struct Entry {
        QString Name;   // without "__" and the extension
        QString Path;   // where it was found
    };

    explicit MapSymbolLibrary(MapSymbolModel& model) : model_(model) {}

    // What the combo box holds: its entries, the chosen one (-1 none) and
    // its text, which the user may type over.
    std::vector<Entry> Entries;
    int32_t Current = -1;
    QString Text;

    // "開く(&O)" is enabled exactly when the list has an entry.
    bool OpenEnabled() const { return !Entries.empty(); }
    QStringList Names() const;
    // An entry chosen in the list.
    void Choose(int32_t index);

    // Refills the list from the map folder (gvMapFolder) and chooses the
    // first entry.
    void MakeLibraryList();
    // The file the combo text addresses; empty for none. The chosen entry's
    // own path while the text is still its name, else the map folder rule:
    // "abc", "__abc" and "abc.txt" all address <map folder>/__abc.THG.
    QString LibraryFilePath() const;
    static QString LibraryFilePath(const QString& mapFolder, const QString& text);

    // Applies the library to the working copy; true when it did (the grid
    // is rebuilt, the preview drawn and the user told).
    bool Open();
    // Saves the working copy as the library (asking before replacing a
    // file); true when saved. The working copy keeps its name, comment,
    // modified flag and lock.
    bool Save();

private:
    MapSymbolModel& model_;
};
