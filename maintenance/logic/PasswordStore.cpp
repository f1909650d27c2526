#include "maintenance/logic/PasswordStore.h"

#include "app/logic/Settings.h"

#include <QByteArray>
#include <algorithm>
#include <sodium.h>

namespace {

bool sodiumReady()
{
    // sodium_init() is safe to repeat, but once is enough for the whole run.
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

QString PasswordStore::seccionLectura()
{
    return Settings::kSeccionLectura;
}

QString PasswordStore::seccionEscritura()
{
    return Settings::kSeccionEscritura;
}

PasswordStore::PasswordStore(Settings& settings) : m_settings(settings)
{
    sodiumReady();
}

QString PasswordStore::rawValue(const QString& section) const
{
    const Result<QString> stored = m_settings.password(section);
    return stored ? stored.value() : QString();
}

bool PasswordStore::hasPassword(const QString& section) const
{
    // A malformed value guards the mode as a wrong password would, never leaves it open.
    const Result<QString> stored = m_settings.password(section);
    return !stored || !stored.value().isEmpty();
}

Status PasswordStore::setPassword(const QString& section, const QString& text)
{
    if (text.isEmpty())
        return removePassword(section);
    if (text.size() > kLongitudMaxima)
        return Status::failure(
            QStringLiteral("La contraseña no puede tener más de %1 caracteres").arg(kLongitudMaxima));
    if (!sodiumReady())
        return Status::failure(QStringLiteral("No se puede iniciar la biblioteca de cifrado"));

    QByteArray clear = text.toUtf8();
    char hashed[crypto_pwhash_STRBYTES];
    const int rc = crypto_pwhash_str(hashed, clear.constData(), static_cast<unsigned long long>(clear.size()),
                                     crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE);
    sodium_memzero(clear.data(), static_cast<size_t>(clear.size()));
    if (rc != 0)
        return Status::failure(QStringLiteral("No hay memoria suficiente para cifrar la contraseña"));
    return m_settings.setPassword(section, QString::fromLatin1(hashed));
}

Status PasswordStore::removePassword(const QString& section)
{
    return m_settings.removePassword(section);
}

bool PasswordStore::matches(const QString& section, const QString& text) const
{
    const Result<QString> guardada = m_settings.password(section);
    if (!guardada)
        return false;
    const QByteArray stored = guardada.value().toLatin1();
    // The verifier takes a buffer of crypto_pwhash_STRBYTES; a longer value is no hash of ours.
    if (stored.isEmpty() || stored.size() >= static_cast<qsizetype>(crypto_pwhash_STRBYTES) || !sodiumReady())
        return false;
    char hashed[crypto_pwhash_STRBYTES] = {};
    std::copy(stored.cbegin(), stored.cend(), hashed);
    QByteArray clear = text.toUtf8();
    const bool ok = crypto_pwhash_str_verify(hashed, clear.constData(),
                                             static_cast<unsigned long long>(clear.size())) == 0;
    sodium_memzero(clear.data(), static_cast<size_t>(clear.size()));
    return ok;
}

bool PasswordStore::verify(const QString& section, const QString& text) const
{
    return !hasPassword(section) || matches(section, text);
}
