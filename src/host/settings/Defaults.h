#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <mutex>

class QSettings;

// The user-defaults store over QSettings (an INI file in the XDG config
// folder). An absent key reads as 0 / empty, and so does a number that does
// not fit the type asked for (nan, inf, 1e300 as an integer).
//
// Only a regular file of at most kMaxFileBytes is opened. Anything else at
// the path (a FIFO, a device, a folder, a huge file) and a file that cannot
// be parsed count as broken: nothing is read from it, reading never writes,
// and automatic bookkeeping stays in memory. The first change the user makes
// moves the broken file aside to "<file>.broken" (or ".broken.1", ".2", ...:
// an earlier copy is never replaced) and starts a fresh file.
//
// Every call may come from any thread: one lock guards the store, so the
// rating prompt's bookkeeping in the background never races the pages.
class Defaults {
public:
    // Who asks for a write: only the user's own changes may move a broken
    // file aside; the program's counters wait in memory.
    enum WriteKind { UserChange, Bookkeeping };

    static constexpr qint64 kMaxFileBytes = 1 << 20;

    // The shared store at the standard place (or the path set below).
    static Defaults& standardUserDefaults();
    // Points the shared store at another file (tests, --settings). Must be
    // called before the store is first used, or it is reopened.
    static void setStandardPath(const QString& path);
    static QString standardPath();

    explicit Defaults(const QString& path);
    ~Defaults();

    long long integerForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QVariant objectForKey(const QString& key) const;
    bool hasKey(const QString& key) const;

    void setInteger(long long value, const QString& key, WriteKind kind = UserChange);
    void setBool(bool value, const QString& key, WriteKind kind = UserChange);
    void setDouble(double value, const QString& key, WriteKind kind = UserChange);
    void setObject(const QVariant& value, const QString& key, WriteKind kind = UserChange);
    void removeObjectForKey(const QString& key, WriteKind kind = UserChange);

    // Writes pending changes to disk; true when the file is written.
    bool synchronize();

    bool loadedBrokenFile() const;
    QString path() const { return m_path; }

private:
    // True when values go to the file, false while they wait in memory.
    bool prepareWrite(WriteKind kind);
    QVariant value(const QString& key) const;

    QString m_path;
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_memory; // stands in for the store while the file is broken
    bool m_broken = false;
    bool m_warnedWrite = false;
    mutable std::mutex m_lock;
};
