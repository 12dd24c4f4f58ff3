// The district catalogue of one map unit: districts in insertion order,
// keyed by their code, the names of up to 20 areas and a free comment, read
// from and written to a ".ADM" file (Shift-JIS text, CR LF):
//
//   [COMMENT]          comment lines, then an empty line (only with a comment)
//   [AREA]             "n,\"European\",\"Japanese\"" per named area, then an empty line
//   [ADMINISTRATION]   one line per district (see clsAdmin::ReadAdmin) to the end
//
// A line of the area or district section that cannot be taken is skipped
// and the others are read on; Load then names the skipped lines.
//
// Lock, modified state and lookup: KeyedCatalog.h.
#pragma once

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

#include "KeyedCatalog.h"
#include "clsAdmin.h"

namespace plat {
class TextReader;
class TextWriter;
} // namespace plat

class clsAdmins : public KeyedCatalog<clsAdmin, &clsAdmin::AdminCode> {
public:
    // FileName is the default district file.
    clsAdmins();

    const QString& Comment() const { return comment_; }
    void setComment(const QString& s);
    // Language 1 European, 2 Japanese; empty for an area outside 0..19.
    QString AreaName(int32_t area, int32_t language) const;
    void setAreaName(int32_t area, int32_t language, const QString& name);

    void ClearAll();
    std::shared_ptr<clsAdmins> Copy() const;
    // False for a code outside 0..999; a code already taken raises 0x800403E9.
    bool Add(const AdminPtr& admin);
    // The code of the first district whose name in the display language
    // equals `name` (case ignored), else of the first whose name in the
    // other language does; -1 when none. The display language is not touched.
    int16_t Search(const QString& name) const;

    // 0, 53 for a missing file (the catalogue stays as it was), 7 for a file
    // over kMaxFileBytes, 13 for one without any section of the format (each
    // with a message naming it, the catalogue as it was), or the number of a
    // file error the user chose to skip. Lines that could not be read are
    // named in a message.
    int32_t Load();
    // 0 (also when nothing is modified), 70 for a read-only file, or
    // 0x800403E9 when two districts share a code (nothing is written); the
    // previous file stays until the new one is complete.
    int32_t Save();

    // The lines of a file into this catalogue, replacing its content,
    // without lock, message or file name; the line numbers (1-based) of the
    // area and district lines that were skipped. Load wraps it.
    QList<qsizetype> ReadFrom(plat::TextReader& in);
    void WriteTo(plat::TextWriter& out) const;

private:
    int32_t DoLoad();

    std::array<QString, 20> europianArea_;
    std::array<QString, 20> japaneseArea_;
    QString comment_;
};
