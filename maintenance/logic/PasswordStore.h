#pragma once

#include "data/logic/Result.h"

#include <QString>

class Settings;

// The passwords of the two access modes, kept in the settings store as salted Argon2id hashes
// under "PASS" of "QL1" (read) and "QL2" (write). An absent or empty value means the mode is
// open; any other value that is no hash of ours (a list, a stray text) guards the mode and
// matches nothing. A clear password is never stored and never needed again, only verified.
class PasswordStore
{
public:
    // The connection window takes at most this many characters: a longer password could never
    // be typed there again, so none is stored.
    static constexpr int kLongitudMaxima = 10;

    static QString seccionLectura();
    static QString seccionEscritura();

    explicit PasswordStore(Settings& settings);

    // The stored text of a section (a hash), empty when no password is set or the value is no text.
    QString rawValue(const QString& section) const;
    bool hasPassword(const QString& section) const;
    // Stores the hash of text; an empty text removes the password. A text longer than
    // kLongitudMaxima is refused.
    Status setPassword(const QString& section, const QString& text);
    Status removePassword(const QString& section);
    // Whether text opens the section's mode: true when no password is set or text matches it.
    // A stored value that is not a valid hash matches nothing.
    bool verify(const QString& section, const QString& text) const;
    // Whether text is the section's password; false when none is set.
    bool matches(const QString& section, const QString& text) const;

private:
    Settings& m_settings;
};
