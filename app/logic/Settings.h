#pragma once

#include "data/logic/Result.h"

#include <QLatin1String>
#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: sections and keys of the application "Quorvela".
// Every read opens the store afresh, so a value written by another window is seen at once.
// Every write leaves the file readable and writable by its owner only (0600).
class Settings
{
public:
    static constexpr QLatin1String kSeccionDatos{"QL"}; // key DIR: the data file's folder
    static constexpr QLatin1String kClaveDir{"DIR"};
    static constexpr QLatin1String kSeccionLectura{"QL1"};   // key PASS: read password
    static constexpr QLatin1String kSeccionEscritura{"QL2"}; // key PASS: write password
    static constexpr QLatin1String kClavePass{"PASS"};

    // The user's store, QSettings("Quorvela", "Quorvela").
    Settings();
    // A store in the given file (INI format); for tests and tools that work on a copy.
    explicit Settings(const QString& fileName);
    ~Settings();

    QString fileName() const;

    // The stored text, or the key's default when absent (empty for every key we keep).
    QString value(const QString& section, const QString& key) const;
    Status setValue(const QString& section, const QString& key, const QString& value);
    // Removing an absent key succeeds.
    Status remove(const QString& section, const QString& key);

    // The data folder without a trailing separator, or empty when never chosen.
    QString dataFolder() const;
    Status setDataFolder(const QString& folder);

    // The raw stored form of a section's password, empty when there is none. A value that is not
    // a plain text (a list, as an unquoted value with commas is read) is a failure.
    Result<QString> password(const QString& section) const;
    Status setPassword(const QString& section, const QString& stored);
    Status removePassword(const QString& section);

private:
    std::unique_ptr<QSettings> open() const;
    Status flush(QSettings& store) const;

    QString m_fileName; // empty: the user's store
};
