#include "app/logic/Settings.h"

#include <QDir>
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

QString Settings::password(const QString& section) const
{
    return value(section, kClavePass);
}

Status Settings::setPassword(const QString& section, const QString& stored)
{
    return setValue(section, kClavePass, stored);
}

Status Settings::removePassword(const QString& section)
{
    return remove(section, kClavePass);
}
