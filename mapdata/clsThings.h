// The thing catalogue of one map unit: things in insertion order, keyed by
// their number, up to 20 category names and a free comment, read from and
// written to a ".THG" file (Shift-JIS text, CR LF):
//
//   [COMMENT]            comment lines, then an empty line (only with a comment)
//   [CATEGORY]           "n,\"name\"" per named category, then an empty line
//   [THING]              per thing: KEY=value lines, then an empty line
//
// Per-page keys hold one value for all eight pages or eight values, page 1
// first. Old files may carry scale levels (1..41) in SMALL and LARGE and a
// LEVEL key; both become scale denominators on reading. Sections [LINK] and
// [NATION] are skipped. Lock, modified state and lookup: KeyedCatalog.h.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

#include "KeyedCatalog.h"
#include "clsThing.h"

namespace plat {
class TextReader;
class TextWriter;
} // namespace plat

class clsThings : public KeyedCatalog<clsThing, &clsThing::Index> {
public:
    // FileName is the default thing file.
    clsThings();

    const QString& Comment() const { return comment_; }
    void setComment(const QString& s);
    // Empty for a category outside 1..20.
    QString CategoryName(int32_t c) const;
    void setCategoryName(int32_t c, const QString& s);

    void ClearAll();
    // Built through the setters and Add; a copy of a locked catalogue is
    // locked and modified.
    std::shared_ptr<clsThings> Copy() const;
    // A thing numbered -1 gets the highest number plus one. False for a
    // number outside 0..999; a number already taken raises 0x800403E9.
    bool Add(const ThingPtr& thing);
    // The number of the first thing of that name (case ignored), or -1.
    int16_t Search(const QString& name) const;
    void ResetUse();

    // 0, 53 for a missing file (the catalogue stays as it was), 7 for a file
    // over kMaxFileBytes, 13 for one without any section of the format (each
    // with a message naming it, the catalogue as it was), or the number of a
    // file error the user chose to skip. A file that does not read raises
    // its error and leaves the catalogue as it was.
    int32_t Load();
    // 0 (also when nothing is modified), 70 for a read-only file, or
    // 0x800403E9 when two things share a number (nothing is written); the
    // previous file stays until the new one is complete.
    int32_t Save();

    // The lines of a file into this catalogue, replacing its content,
    // without lock, message or file name. Load wraps it.
    void ReadFrom(plat::TextReader& in);
    void WriteTo(plat::TextWriter& out) const;

private:
    bool AddNumbered(const ThingPtr& thing);
    int32_t DoLoad();

    std::array<QString, 21> categories_;  // 1..20
    QString comment_;
};
