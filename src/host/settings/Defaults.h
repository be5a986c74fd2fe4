#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>

class QSettings;

// The user-defaults store over QSettings (an INI file in the XDG config
// folder). An absent key reads as 0 / empty. A file that cannot be parsed is
// treated as empty and left alone until the first write, which first moves
// it aside to "<file>.broken".
class Defaults {
public:
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

    void setInteger(long long value, const QString& key);
    void setBool(bool value, const QString& key);
    void setDouble(double value, const QString& key);
    void setObject(const QVariant& value, const QString& key);
    void removeObjectForKey(const QString& key);

    // Writes pending changes to disk; true when the file is written.
    bool synchronize();

    bool loadedBrokenFile() const { return m_broken; }
    QString path() const { return m_path; }

private:
    void prepareWrite();
    QVariant value(const QString& key) const;

    QString m_path;
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_memory; // stands in for the store while the file is unreadable
    bool m_broken = false;
};
