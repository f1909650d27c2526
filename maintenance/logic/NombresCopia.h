#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The names of the data file's copies and which automatic copies have grown too old. Pure
// rules on names and days: "today" is always passed in, never read from the system here.
namespace copias {

// "AB" + ddmmyy + ".mdb": the one automatic copy of a day.
QString nombreCopiaAutomatica(const QDate& dia);
// "T-" + ddmmyy + ".mdb", or ".zip" for a compressed backup.
QString nombreRespaldo(const QDate& dia, bool comprimido);

// Whether the name has the form of an automatic copy, "AB" + six characters + ".mdb" (the
// letters in either case, as copies brought from another system may carry them).
bool esCopiaAutomatica(const QString& nombre);

// The automatic copies among nombres that pruning deletes on day hoy: a copy is read as day
// (characters 3-4), month (5-6) and two-digit year (7-8, 00-29 for 20xx and 30-99 for 19xx);
// it goes when that date written "yymmdd" sorts before the date seven days before hoy written
// the same way. A copy exactly seven days old stays; a name whose date characters are not
// digits, or that names no real day, is not ours to judge and stays too.
QStringList copiasAPodar(const QStringList& nombres, const QDate& hoy);

// The names the restore window lists: manual backups, automatic copies, the data file itself
// and the safety copies that a restore leaves behind.
QStringList filtroRestauracion();
// Whether a name is one of those (the pattern letters in either case).
bool seRestaura(const QString& nombre);

// An archive to extract from rather than a data file: ".zip" or ".rar" in any case.
bool esComprimido(const QString& nombre);

// The safety copy of the data file that a restore makes before loading another one.
QString nombreCopiaPrevia(const QDateTime& momento);

} // namespace copias
