#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <archive.h>
#include <archive_entry.h>

// Archives made the way other tools make them, for the restore to read.
using Miembros = QList<QPair<QString, QByteArray>>; // name inside the archive, content

inline bool escribirZip(const QString& ruta, const Miembros& miembros)
{
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    bool ok = archive_write_open_filename(a, QFile::encodeName(ruta).constData()) == ARCHIVE_OK;
    for (const auto& [nombre, datos] : miembros) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, nombre.toUtf8().constData());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, datos.size());
        ok = ok && archive_write_header(a, e) == ARCHIVE_OK &&
             archive_write_data(a, datos.constData(), size_t(datos.size())) == datos.size();
        archive_entry_free(e);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

namespace rar_detalle {
inline quint32 crc32(const QByteArray& datos)
{
    quint32 c = 0xffffffffu;
    for (const char ch : datos) {
        c ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
    }
    return ~c;
}
inline void le(QByteArray& b, quint64 v, int n)
{
    for (int i = 0; i < n; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}
// A block: its CRC (low half of the CRC-32 of the rest) and the rest.
inline QByteArray bloque(const QByteArray& resto)
{
    QByteArray b;
    le(b, crc32(resto) & 0xffff, 2);
    return b + resto;
}
} // namespace rar_detalle

// A RAR (version 4) archive with the members stored uncompressed, as "rar a -m0" writes it.
inline bool escribirRar(const QString& ruta, const Miembros& miembros)
{
    using namespace rar_detalle;
    QByteArray r("Rar!\x1a\x07\x00", 7);
    QByteArray principal;
    le(principal, 0x73, 1);
    le(principal, 0, 2);
    le(principal, 13, 2);
    le(principal, 0, 6);
    r += bloque(principal);
    for (const auto& [nombre, datos] : miembros) {
        const QByteArray n = nombre.toLatin1();
        QByteArray h;
        le(h, 0x74, 1);
        le(h, 0x8000, 2);
        le(h, quint64(32 + n.size()), 2);
        le(h, quint64(datos.size()), 4);
        le(h, quint64(datos.size()), 4);
        le(h, 2, 1); // written on Windows
        le(h, crc32(datos), 4);
        le(h, 0x5b8a6000, 4); // a DOS date and time
        le(h, 20, 1);
        le(h, 0x30, 1); // stored
        le(h, quint64(n.size()), 2);
        le(h, 0x20, 4);
        h += n;
        r += bloque(h) + datos;
    }
    QByteArray fin;
    le(fin, 0x7b, 1);
    le(fin, 0x4000, 2);
    le(fin, 7, 2);
    r += bloque(fin);
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(r) == r.size();
}
