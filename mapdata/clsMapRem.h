// A remark: a line of text without geometry or thing. Remarks near the start
// of a map form its header, lines "# key：value" whose key and value the
// map reads.
#pragma once

#include "clsMapFigure.h"

class clsMapRem : public clsMapFigure {
public:
    clsMapRem() = default;
    explicit clsMapRem(WithID id) : clsMapFigure(id) {}

    int32_t FigCode() const override { return 1; }
    int16_t Thing() const override { return -1; }
    void setThing(int32_t) override {}

    const QString& Comment() const { return comment_; }
    // A text of more than 32767 Shift-JIS bytes does not fit a record: it is
    // refused with a message and the remark stays as it was.
    void setComment(const QString& text);
    // For a text "# key：value" (the colon full-width, or ":" when there is
    // none, at character 5..20) the key and the value without the blanks
    // around them (U+0020 and U+3000); else empty.
    QString Key() const;
    QString Value() const;

    std::shared_ptr<clsMapFigure> Copy() const override;
    bool IsRight() const override { return CommonRight(false); }
    void ReadElm(plat::BinaryReader& in, int16_t version) override;
    void WriteElm(plat::BinaryWriter& out, int16_t version) override;
    bool FitsVersion(int16_t version) const override;

private:
    // The colon's index (0-based) when the text has the header form; -1 else.
    qsizetype HeaderColon() const;

    QString comment_;
};
