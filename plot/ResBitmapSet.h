// The bitmaps of one numbered set of pattern resources in low and high
// resolution with their names; a file in the program's folder takes the
// place of a built-in bitmap and renames its entry "ユーザー定義".
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

#include "Bitmap.h"

class ResBitmapSet {
public:
    struct Entry {
        QString name;
        plat::HBITMAP low;
        plat::HBITMAP high;
    };

    // Entries first..last: names from string nameBase + n, built-in bitmaps
    // lowBase + n and highBase + n, user files userFile(n) + "L.BMP" / "H.BMP".
    ResBitmapSet(int first, int last, int nameBase, int lowBase, int highBase,
                 const std::function<QString(int)>& userFile);

    // The resolution in force: 0 low, 1 high; other values are ignored.
    int16_t Resolution() const { return resolution_; }
    void setResolution(int16_t r) {
        if (r == 0 || r == 1) resolution_ = r;
    }
    // The bitmap of an entry in the current resolution; null outside the set.
    plat::HBITMAP handle(int16_t Index) const;
    // The entry's name; "" outside the set.
    QString Name(int16_t Index) const;

    bool contains(int n) const { return n >= first_ && n <= last_; }
    const Entry* entry(int n) const { return contains(n) ? &entries_[size_t(n - first_)] : nullptr; }
    int first() const { return first_; }
    int last() const { return last_; }

private:
    int first_;
    int last_;
    std::vector<Entry> entries_;
    int16_t resolution_ = 0;
};

// The name an entry takes when a user file replaces one of its bitmaps.
QString UserDefinedName();
