// Everything a map holds is a figure. clsMapFigure is the interface of the
// five kinds (1 remark, 2 polyline, 3 polygon, 4 point symbol, 5 text) and
// keeps the fields they all have: identifier, modified flag, own colour and
// show mode, district (Admin), thing, jump mark and a free reserve word.
//
// Setters store a value inside its range and mark the figure modified; a
// value outside is ignored without a message and the flag stays as it was.
// Figures are shared (a map and an undo record may hold the same one), so
// they live in std::shared_ptr.
//
// ReadElm and WriteElm read and write the figure's record of a map file
// version (1.06 = 106 ... 1.00 = 100, 99 the projection-condition form);
// ReadElm is called after the 16-bit figure code was read, WriteElm writes
// the whole record. Both clear the modified flag. ReadElm raises error 62
// when the record does not fit the bytes left, and never allocates more
// than those bytes can hold.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

#include "clsPoly.h"
#include "clsRect.h"

namespace plat {
class BinaryReader;
class BinaryWriter;
} // namespace plat

// Version codes of the map file.
constexpr int16_t kMapVersionProjection = 99;
constexpr int16_t kMapVersion100 = 100;
constexpr int16_t kMapVersion104 = 104;
constexpr int16_t kMapVersion105 = 105;
constexpr int16_t kMapVersion106 = 106;

// Longest text a record can count (a signed 16-bit count of bytes).
constexpr int32_t kMaxRecordText = 32767;

class clsMapFigure {
public:
    // Tag of the constructors that leave the identifier to the caller (the
    // map reader gives one per record).
    struct WithID {
        double id;
    };

    virtual ~clsMapFigure() = default;
    clsMapFigure(const clsMapFigure&) = delete;
    clsMapFigure& operator=(const clsMapFigure&) = delete;

    virtual int32_t FigCode() const = 0;
    QString FigName(int32_t lang) const;

    double FigID() const { return figId_; }
    void setFigID(double v) { figId_ = v; modify_ = true; }
    QDateTime FigDate() const;

    virtual bool Modify() const { return modify_; }
    virtual void setModify(bool v) { modify_ = v; }

    int32_t OwnColor() const { return ownColor_; }
    void setOwnColor(int32_t v);
    int32_t OwnShowMode() const { return ownShowMode_; }
    void setOwnShowMode(int32_t v);
    int16_t Admin() const { return admin_; }
    void setAdmin(int32_t v);
    virtual int16_t Thing() const { return thing_; }
    virtual void setThing(int32_t v);
    int16_t JumpMark() const { return jumpMark_; }
    void setJumpMark(int32_t v);
    int32_t Reserve() const { return reserve_; }
    void setReserve(int32_t v) { reserve_ = v; modify_ = true; }

    // Polylines and polygons: the figure's own sequence, shared with the
    // caller both ways. Symbols and texts: a new one-point sequence of the
    // position; setting takes the first point. Remarks: a new empty
    // sequence; setting is ignored.
    virtual std::shared_ptr<clsPoly> Poly() const { return std::make_shared<clsPoly>(); }
    virtual void setPoly(const std::shared_ptr<clsPoly>&) {}

    // A new figure of the same kind and content with its own identifier,
    // marked modified.
    virtual std::shared_ptr<clsMapFigure> Copy() const = 0;
    // The figure may be stored in a map.
    virtual bool IsRight() const;
    // The figure lies in or meets the rectangle.
    virtual bool IsInner(const clsRect&) const { return false; }

    virtual void ReadElm(plat::BinaryReader& in, int16_t version) = 0;
    virtual void WriteElm(plat::BinaryWriter& out, int16_t version) = 0;
    // False when writing the figure in that version would lose what the
    // user set or give a record the reader refuses (a 1.04 colour outside
    // the palette, a 1.04 jump mark, a text whose characters cannot be
    // counted). Long point sequences are reduced, not refused, here.
    virtual bool FitsVersion(int16_t version) const;

protected:
    clsMapFigure();
    explicit clsMapFigure(WithID id) : figId_(id.id) {}

    // Gives a copy the common fields through the setters.
    void CopyCommonTo(clsMapFigure& to) const;
    bool CommonRight(bool checkThing) const;

    // Parts of records shared by the kinds. The 1.06 length field is read
    // past, never trusted.
    void ReadHead106(plat::BinaryReader& in);
    void WriteHead106(plat::BinaryWriter& out, int64_t length) const;
    // The fields before the body of a polyline, polygon, symbol or text: the
    // 1.06 head, or Admin, Thing and (1.05) the attribute word. `length` is
    // the 1.06 record length.
    void ReadFront(plat::BinaryReader& in, int16_t version);
    void WriteFront(plat::BinaryWriter& out, int16_t version, int64_t length) const;
    void ReadAttr104(plat::BinaryReader& in);
    void WriteAttr104(plat::BinaryWriter& out) const;
    void ReadAttr105(plat::BinaryReader& in);
    void WriteAttr105(plat::BinaryWriter& out) const;
    // Fields a layout does not hold take the values of a new figure.
    void ResetUnstored();

    mutable bool modify_ = false;
    double figId_ = 0;
    int16_t admin_ = -1;
    int16_t thing_ = -1;
    int32_t ownColor_ = -1;
    int16_t ownShowMode_ = -1;
    int16_t jumpMark_ = 0;
    int32_t reserve_ = 0;
};

using MapFigurePtr = std::shared_ptr<clsMapFigure>;

// A new figure of a kind (nullptr for a code outside 1..5).
MapFigurePtr NewMapFigure(int32_t code);
MapFigurePtr NewMapFigure(int32_t code, clsMapFigure::WithID id);

// Texts in records. A character count counts a Shift-JIS double-byte
// character (lead byte 0x81-0x9F or 0xE0-0xFC) once.
namespace maprec {
// The bytes of n characters; error 62 when they run past the end.
std::string ReadChars(plat::BinaryReader& in, int32_t n);
// n bytes (none for n <= 0); error 62 when they run past the end.
std::string ReadBytes(plat::BinaryReader& in, int32_t n);
// Characters in bytes; -1 when the last character is cut off (a lead byte
// at the end), which a character-counted record cannot hold.
int32_t CountChars(const char* p, size_t n);
// A count for a record; a text too long to count (possible only for texts
// read from character-counted records) raises error 6 instead of wrapping.
int16_t TextCount(int64_t n);
} // namespace maprec
