// Per-user settings: (application, section, key) -> text, kept in an ordered
// INI file of our own in $XDG_CONFIG_HOME/KALDERO/. Keys and sections keep the
// order in which they were first written and compare without regard to case.
#pragma once

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace plat {

class SettingsStore {
public:
    using Pairs = std::vector<std::pair<QString, QString>>;

    // The largest settings file read; a larger one is refused (error 7). The
    // program's own settings take some kilobytes; restoring a snapshot (at
    // most 8 MiB of text) puts at most twice its size into the store, as
    // escaped UTF-8.
    static constexpr int64_t kMaxFileBytes = int64_t(16) << 20;

    static SettingsStore& instance();
    // Points the store at another folder (tests); an empty folder restores the
    // default. Anything held in memory is dropped.
    static void SetFolder(const QString& folder);
    static QString Folder();

    // Returns the stored text; found tells whether the key exists.
    QString get(const QString& app, const QString& section, const QString& key, bool* found = nullptr);
    void put(const QString& app, const QString& section, const QString& key, const QString& value);
    // All pairs of a section in order; exists is false when there is no section.
    Pairs section(const QString& app, const QString& section, bool* exists = nullptr);
    // Deletes a key; an empty key deletes the whole section. Missing ones are ignored.
    void remove(const QString& app, const QString& section, const QString& key);

    // Writes are deferred while a Batch lives and made once at its end.
    class Batch {
    public:
        Batch();
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
    };

    void reload();   // forgets memory; next access reads the files again

private:
    SettingsStore() = default;
    struct Section {
        QString name;
        Pairs pairs;
    };
    struct App {
        QString name;
        bool loaded = false;
        bool dirty = false;
        std::vector<Section> sections;
    };
    App& app(const QString& name);
    void load(App& a);
    void save(App& a);
    void saveDirty();
    QString fileOf(const QString& appName) const;

    std::vector<App> apps_;
    int batchDepth_ = 0;
};

} // namespace plat
