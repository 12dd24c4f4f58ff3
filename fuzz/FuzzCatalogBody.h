// One input of the thing (".THG") and district (".ADM") reader fuzzers,
// shared by the libFuzzer entry points and the corpus replay test: the bytes
// are read as a catalogue file; when they read, the catalogue is written and
// read again, which must give the same content and (districts) no skipped
// line, and a file written from what was read back is written the same way
// again; the streaming file reader must split the bytes as the whole text
// splits. Returns an empty text, or what went wrong.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "AppError.h"
#include "ErrorMng.h"
#include "TextFile.h"
#include "clsAdmins.h"
#include "clsThings.h"

namespace fuzzcat {

inline bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// What the file keeps of two catalogues differs: the first difference.
inline QString CompareThings(const clsThings& a, const clsThings& b) {
    if (a.Comment() != b.Comment()) return QStringLiteral("comment");
    for (int32_t c = 1; c <= 20; ++c)
        if (a.CategoryName(c) != b.CategoryName(c)) return QStringLiteral("category %1").arg(c);
    if (a.Count() != b.Count()) return QStringLiteral("thing count %1 became %2").arg(a.Count()).arg(b.Count());
    auto x = a.begin();
    auto y = b.begin();
    for (; x != a.end(); ++x, ++y) {
        const clsThing& s = **x;
        const clsThing& t = **y;
        const QString at = QStringLiteral(" of thing %1").arg(s.Index());
        if (s.Index() != t.Index() || s.Figure() != t.Figure() || s.Name() != t.Name() || s.Category() != t.Category())
            return QStringLiteral("number, figure, name or category") + at;
        if (s.Figure() == 1) continue;
        for (int p = 1; p <= 8; ++p) {
            const ThingPage& u = s.PageRecord(p);
            const ThingPage& v = t.PageRecord(p);
            const QString page = at + QStringLiteral(" page %1").arg(p);
            if (u.ShowMode != v.ShowMode || !sameBits(u.ScaleS, v.ScaleS) || !sameBits(u.ScaleL, v.ScaleL))
                return QStringLiteral("show or scales") + page;
            if (u.Fore != v.Fore || u.Back != v.Back || u.Style != v.Style) return QStringLiteral("colours or style") + page;
            if ((s.Figure() == 2 || s.Figure() == 5) && u.Size != v.Size) return QStringLiteral("size") + page;
            if (s.Figure() == 5 && (u.Europian != v.Europian || u.Japanese != v.Japanese))
                return QStringLiteral("fonts") + page;
        }
    }
    return QString();
}

inline QString CompareAdmins(const clsAdmins& a, const clsAdmins& b) {
    if (a.Comment() != b.Comment()) return QStringLiteral("comment");
    for (int32_t k = 0; k <= 19; ++k)
        if (a.AreaName(k, 1) != b.AreaName(k, 1) || a.AreaName(k, 2) != b.AreaName(k, 2))
            return QStringLiteral("area %1").arg(k);
    if (a.Count() != b.Count()) return QStringLiteral("district count %1 became %2").arg(a.Count()).arg(b.Count());
    auto x = a.begin();
    auto y = b.begin();
    for (; x != a.end(); ++x, ++y) {
        const clsAdmin& s = **x;
        const clsAdmin& t = **y;
        if (s.AdminCode() != t.AdminCode() || s.AreaCode() != t.AreaCode() || s.Page() != t.Page() ||
            s.Show() != t.Show() || s.Search() != t.Search() || s.EuropianName() != t.EuropianName() ||
            s.JapaneseName() != t.JapaneseName())
            return QStringLiteral("district %1").arg(s.AdminCode());
    }
    return QString();
}

template <class Catalogue>
QString WrittenText(const Catalogue& c) {
    plat::TextWriter out(QStringLiteral("unused"));
    c.WriteTo(out);
    return out.text();
}

// The text through the encoding and back, as a saved file reads.
inline QString AsFileReads(const QString& text, QString& failure) {
    try {
        return plat::DecodeCp932(plat::EncodeCp932(text));
    } catch (const plat::AppError& e) {
        failure = QStringLiteral("the written text does not encode: ") + e.description();
        return QString();
    }
}

inline bool decode(const uint8_t* data, size_t size, QString& text) {
    try {
        text = plat::DecodeCp932(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        return true;
    } catch (const plat::AppError&) {
        return false;   // not Shift-JIS: the file reader refuses it the same way
    }
}

// The file reader streams a file in blocks: read from a file in blocks of
// 1 to 16 bytes (so that line ends fall on their edges), the input must give
// the lines of the whole text, or fail where the whole text fails.
inline QString CompareStreamed(const uint8_t* data, size_t size, bool decodes, const QString& text) {
    // Removed once open, so that a run killed midway leaves nothing behind.
    const QString path = QDir::tempPath() + QStringLiteral("/kal-fuzz-stream-%1").arg(::getpid());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        return QStringLiteral("the input could not be written to ") + path;
    f.close();
    plat::TextReader::SetBlockSize(size > 0 ? 1 + data[0] % 16 : 1);
    QStringList lines;
    bool read = true;
    try {
        plat::TextReader in(path);
        QFile::remove(path);
        while (!in.atEnd()) lines.append(in.readLine());
    } catch (const plat::AppError&) {
        read = false;
    }
    QFile::remove(path);
    plat::TextReader::SetBlockSize(0);
    if (read != decodes) return read ? QStringLiteral("the file reader took bytes that are not Shift-JIS")
                                     : QStringLiteral("the file reader refused Shift-JIS text");
    if (read && lines != plat::SplitTextLines(text)) return QStringLiteral("the file reader split the lines otherwise");
    return QString();
}

inline QString FuzzThgInput(const uint8_t* data, size_t size) {
    QString text;
    const bool decodes = decode(data, size, text);
    if (const QString f = CompareStreamed(data, size, decodes, text); !f.isEmpty()) return f;
    if (!decodes) return QString();
    clsThings things;
    try {
        plat::TextReader in(plat::SplitTextLines(text));
        things.ReadFrom(in);
    } catch (const plat::AppError& e) {
        // Numbers too large for their field and numbers given twice.
        if (e.number() == plat::ErrOverflow || e.number() == ErrGeneral) return QString();
        return QStringLiteral("reading raised %1: %2").arg(e.number()).arg(e.description());
    }
    for (int32_t n = -1; n <= 1000; ++n) {
        const ThingPtr& t = things.Item(n);
        if (t && t->Index() != n) return QStringLiteral("Item(%1) gave thing %2").arg(n).arg(t->Index());
    }
    for (const ThingPtr& t : things) {
        if (things.Item(t->Index()) != t) return QStringLiteral("thing %1 is not its number's item").arg(t->Index());
        if (things.Search(t->Name()) < 0) return QStringLiteral("thing %1 is not found by its name").arg(t->Index());
        if (t->Modify()) return QStringLiteral("thing %1 is modified after reading").arg(t->Index());
        for (int p = 1; p <= 8; ++p)
            if (!(t->PageRecord(p) == t->PageRecord(-p))) return QStringLiteral("saved page %1 differs").arg(p);
        (void)t->IsPrint(1e6);
        (void)t->Copy();
    }
    if (things.Modify()) return QStringLiteral("the catalogue is modified after reading");

    QString failure;
    const QString written = AsFileReads(WrittenText(things), failure);
    if (!failure.isEmpty()) return failure;
    clsThings again;
    try {
        plat::TextReader in(plat::SplitTextLines(written));
        again.ReadFrom(in);
    } catch (const plat::AppError& e) {
        return QStringLiteral("the written file does not read: ") + e.description();
    }
    failure = CompareThings(things, again);
    if (!failure.isEmpty()) return failure;
    // Fields a kind does not write (the size of a polygon, say) may make the
    // first text hold eight values where one would do; from the second text
    // on the file must stay as it is.
    const QString second = AsFileReads(WrittenText(again), failure);
    clsThings third;
    try {
        plat::TextReader in(plat::SplitTextLines(second));
        third.ReadFrom(in);
    } catch (const plat::AppError& e) {
        return QStringLiteral("the file written again does not read: ") + e.description();
    }
    if (WrittenText(third) != second) return QStringLiteral("the file written again is written differently");
    return QString();
}

inline QString FuzzAdmInput(const uint8_t* data, size_t size) {
    QString text;
    const bool decodes = decode(data, size, text);
    if (const QString f = CompareStreamed(data, size, decodes, text); !f.isEmpty()) return f;
    if (!decodes) return QString();
    clsAdmins admins;
    try {
        plat::TextReader in(plat::SplitTextLines(text));
        (void)admins.ReadFrom(in);
    } catch (const plat::AppError& e) {
        return QStringLiteral("reading raised %1: %2").arg(e.number()).arg(e.description());
    }
    for (int32_t n = -1; n <= 1000; ++n) {
        const AdminPtr& a = admins.Item(n);
        if (a && a->AdminCode() != n) return QStringLiteral("Item(%1) gave district %2").arg(n).arg(a->AdminCode());
    }
    for (const AdminPtr& a : admins) {
        if (admins.Item(a->AdminCode()) != a) return QStringLiteral("district %1 is not its code's item").arg(a->AdminCode());
        if (a->Modify()) return QStringLiteral("district %1 is modified after reading").arg(a->AdminCode());
    }
    for (const AdminPtr& a : admins)
        if (admins.Search(a->EuropianName()) < 0 || admins.Search(a->JapaneseName()) < 0)
            return QStringLiteral("district %1 is not found by its names").arg(a->AdminCode());
    if (admins.Modify()) return QStringLiteral("the catalogue is modified after reading");
    (void)admins.Copy();

    QString failure;
    const QString written = AsFileReads(WrittenText(admins), failure);
    if (!failure.isEmpty()) return failure;
    clsAdmins again;
    try {
        plat::TextReader in(plat::SplitTextLines(written));
        const QList<qsizetype> skipped = again.ReadFrom(in);
        if (!skipped.isEmpty()) return QStringLiteral("the written file has a line that is skipped: %1").arg(skipped[0]);
    } catch (const plat::AppError& e) {
        return QStringLiteral("the written file does not read: ") + e.description();
    }
    failure = CompareAdmins(admins, again);
    if (!failure.isEmpty()) return failure;
    if (WrittenText(again) != written) return QStringLiteral("the written file is written differently again");
    return QString();
}

} // namespace fuzzcat
