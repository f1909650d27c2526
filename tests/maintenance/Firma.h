#pragma once

#include "data/logic/Database.h"
#include "data/logic/Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QString>

// What a data file holds, as one text: every row of the four tables in key order, hashed.
// Empty when the file does not open as a data file or a table cannot be read.
inline QString firmaContenido(const QString& ruta)
{
    auto db = Database::open(ruta, true);
    if (!db)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const schema::Table& tabla : schema::tables()) {
        auto filas = Statement::prepare(
            *db.value(),
            QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(schema::quoteIdentifier(tabla.name)));
        if (!filas)
            return {};
        while (true) {
            auto hay = filas.value().step();
            if (!hay)
                return {};
            if (!hay.value())
                break;
            for (int i = 0; i < filas.value().columnCount(); ++i)
                hash.addData(QByteArray(filas.value().value(i).toString().toUtf8() + '\x1f'));
            hash.addData("\x1e");
        }
        hash.addData(tabla.name.toUtf8());
    }
    return QString::fromLatin1(hash.result().toHex());
}

// Overwrites one page in the middle of the file with a pattern: the file still opens, but the
// engine's integrity check finds the damage.
inline bool danar(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    const qint64 pagina = 4096;
    const qint64 paginas = f.size() / pagina;
    if (paginas < 4)
        return false;
    f.seek((paginas / 2) * pagina);
    return f.write(QByteArray(int(pagina), '\x55')) == pagina;
}

inline QByteArray bytesDe(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
