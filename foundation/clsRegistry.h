// The settings store by section: (application "KALDERO", Section, key) ->
// text, and the section syntax of the ".PLG" snapshot files.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "TextFile.h"

// A snapshot holds some kilobytes; anything far larger is no snapshot.
constexpr int64_t kMaxSnapshotBytes = 8 * 1024 * 1024;

class clsRegistry {
public:
    using Table = std::vector<std::pair<QString, QString>>;

    clsRegistry() = default;
    explicit clsRegistry(QString section) : section_(std::move(section)) {}

    const QString& Section() const { return section_; }
    void setSection(const QString& s) { section_ = s; }

    void RegPut(const QString& key, const QString& value);
    void RegPut(const QString& key, const char* value) { RegPut(key, QString::fromUtf8(value)); }
    void RegPut(const QString& key, long long value) { RegPut(key, QString::number(value)); }
    void RegPut(const QString& key, int value) { RegPut(key, QString::number(value)); }
    void RegPut(const QString& key, double value);
    void RegPut(const QString& key, bool value);   // "True" / "False"

    QString RegGet(const QString& key, const QString& def) const;
    // Typed reads: the stored text converted, or def when absent or unreadable.
    long long RegGetLong(const QString& key, long long def) const;
    double RegGetDouble(const QString& key, double def) const;
    bool RegGetBool(const QString& key, bool def) const;

    // All pairs of the section; nothing when the section does not exist.
    std::optional<Table> RegGetSec() const;
    // Deletes a key; an empty key deletes the whole section. Never fails.
    void RegDelete(const QString& key);

    // Writes the section text: "[" Section "]", then key="value" lines. A
    // missing section writes its header alone. What is written reads back:
    // values pass through SnapshotValue, and keys that are no snapshot keys
    // are left out (in debug builds they stop the program).
    void WriteFile(plat::TextWriter& out) const;
    // Reads every copy of this section from the file and stores its values.
    void ReadFile(plat::TextReader& in);

    // A key ReadFile gives back as written: not empty, no "=" or line
    // break, not beginning with "[", every character with a Shift-JIS form.
    static bool IsSnapshotKey(const QString& key);
    // A value as a snapshot holds it: each line break a blank, a character
    // without a Shift-JIS form "?" (as map remarks store them).
    static QString SnapshotValue(const QString& value);

private:
    QString section_;
};
