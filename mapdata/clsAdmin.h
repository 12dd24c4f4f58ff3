// One district: an administrative division of a map unit. Every figure names
// a district by its code; the district decides whether its figures are drawn
// (Show) and which style page of each thing draws them (Page).
//
// Setters that store a value mark the district modified.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace plat {
class TextWriter;
} // namespace plat

class clsAdmin {
public:
    clsAdmin() = default;

    bool Modify() const { return modify_; }
    void setModify(bool v) { modify_ = v; }
    int16_t AdminCode() const { return adminCode_; }   // 0..999; -1 none
    void setAdminCode(int32_t v);
    int16_t AreaCode() const { return areaCode_; }     // 0..19; -1 none
    void setAreaCode(int32_t v);
    // The name of the display language (gvLanguage 1 European, 2 Japanese;
    // empty for another); setting marks the district modified in every case.
    QString AdminName() const;
    void setAdminName(const QString& v);
    // Names as a file holds them: a double quote becomes "＂", a line break a blank.
    const QString& EuropianName() const { return europianName_; }
    void setEuropianName(const QString& v);
    const QString& JapaneseName() const { return japaneseName_; }
    void setJapaneseName(const QString& v);
    // The name of a language (1 European, 2 Japanese; empty for another).
    QString NameIn(int32_t language) const;
    int16_t Page() const { return page_; }             // 1..8
    // Stored only when valid and different from the current page.
    void setPage(int32_t v);
    bool Show() const { return show_; }
    void setShow(bool v);
    bool Search() const { return search_; }
    void setSearch(bool v);

    // Code and area -1, page 1, no names, shown and searched, unmodified.
    void Clear();
    // A new district filled through the setters (so it is modified).
    std::shared_ptr<clsAdmin> Copy() const;

    // One district line of the file: 4 fields (code, area, European and
    // Japanese name), 5 (with the page) or 7 (with the page, "1"/"0" for
    // Show and Search). True when the count was one of those; the district
    // is then unmodified. A code, area or page that is no number raises
    // error 13 (6 when too large).
    bool ReadAdmin(const QString& line);
    // Code with three digits, area, page, show, search, names in quotes.
    // Nothing for a district without a code.
    void WriteAdmin(plat::TextWriter& out) const;

private:
    bool modify_ = false;
    int16_t adminCode_ = -1;
    int16_t areaCode_ = -1;
    int16_t page_ = 1;
    bool show_ = true;
    bool search_ = true;
    QString europianName_;
    QString japaneseName_;
};

using AdminPtr = std::shared_ptr<clsAdmin>;
