#include "app/logic/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

struct Default
{
    QLatin1String section;
    QLatin1String key;
    QLatin1String value;
};

// Every key the program keeps, with the value read when the key is absent.
constexpr Default kDefaults[] = {
    {Settings::kSeccionDatos, Settings::kClaveDir, QLatin1String("")},
    {Settings::kSeccionLectura, Settings::kClavePass, QLatin1String("")},
    {Settings::kSeccionEscritura, Settings::kClavePass, QLatin1String("")},
};

QString defaultValue(const QString& section, const QString& key)
{
    for (const Default& d : kDefaults) {
        if (section == d.section && key == d.key)
            return d.value;
    }
    return QString();
}

QString cleanFolder(const QString& folder)
{
    return folder.isEmpty() ? folder : QDir::cleanPath(folder);
}

constexpr QFile::Permissions kSoloDueno = QFile::ReadOwner | QFile::WriteOwner;

// The store keeps the password hashes, so only its owner reads it. QSettings saves through a
// temporary file that takes the mode of the file it replaces: a new store is made empty and
// owner-only first, and an older one left readable by others is narrowed before it is rewritten.
void hacerPrivado(const QString& path)
{
    QFile file(path);
    if (file.exists()) {
        file.setPermissions(kSoloDueno);
        return;
    }
    if (QDir().mkpath(QFileInfo(path).absolutePath()) &&
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kSoloDueno))
        file.close();
}

} // namespace

Settings::Settings() = default;

Settings::Settings(const QString& fileName) : m_fileName(fileName) {}

Settings::~Settings() = default;

std::unique_ptr<QSettings> Settings::open() const
{
    if (m_fileName.isEmpty())
        return std::make_unique<QSettings>(QStringLiteral("Quorvela"), QStringLiteral("Quorvela"));
    return std::make_unique<QSettings>(m_fileName, QSettings::IniFormat);
}

QString Settings::fileName() const
{
    return open()->fileName();
}

Status Settings::flush(QSettings& store) const
{
    store.sync();
    if (store.status() != QSettings::NoError)
        return Status::failure(
            QStringLiteral("No se pudo guardar la configuración en '%1'").arg(store.fileName()));
    if (!QFile::setPermissions(store.fileName(), kSoloDueno))
        return Status::failure(
            QStringLiteral("No se pudo dejar la configuración en '%1' legible solo por su dueño")
                .arg(store.fileName()));
    return Status();
}

QString Settings::value(const QString& section, const QString& key) const
{
    const auto store = open();
    const QVariant stored = store->value(section + QLatin1Char('/') + key);
    return stored.isValid() ? stored.toString() : defaultValue(section, key);
}

Status Settings::setValue(const QString& section, const QString& key, const QString& value)
{
    const auto store = open();
    if (!store->isWritable())
        return Status::failure(
            QStringLiteral("No se puede escribir la configuración en '%1'").arg(store->fileName()));
    hacerPrivado(store->fileName());
    store->setValue(section + QLatin1Char('/') + key, value);
    return flush(*store);
}

Status Settings::remove(const QString& section, const QString& key)
{
    const auto store = open();
    if (!store->contains(section + QLatin1Char('/') + key))
        return Status();
    if (!store->isWritable())
        return Status::failure(
            QStringLiteral("No se puede escribir la configuración en '%1'").arg(store->fileName()));
    hacerPrivado(store->fileName());
    store->remove(section + QLatin1Char('/') + key);
    return flush(*store);
}

QString Settings::dataFolder() const
{
    return cleanFolder(value(kSeccionDatos, kClaveDir));
}

Status Settings::setDataFolder(const QString& folder)
{
    return setValue(kSeccionDatos, kClaveDir, cleanFolder(folder));
}

Result<QString> Settings::password(const QString& section) const
{
    const auto store = open();
    const QString key = section + QLatin1Char('/') + kClavePass;
    if (!store->contains(key))
        return QString();
    // Only a text is ours. An unquoted value with commas (an Argon2id hash written by hand)
    // comes back as a list, an empty list as "@Invalid()": neither may pass for no password.
    const QVariant stored = store->value(key);
    if (stored.typeId() != QMetaType::QString)
        return Result<QString>::failure(QStringLiteral("La contraseña guardada en [%1] de '%2' no es válida")
                                            .arg(section, store->fileName()));
    return stored.toString();
}

Status Settings::setPassword(const QString& section, const QString& stored)
{
    return setValue(section, kClavePass, stored);
}

Status Settings::removePassword(const QString& section)
{
    return remove(section, kClavePass);
}
