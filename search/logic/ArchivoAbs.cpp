#include "search/logic/ArchivoAbs.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <optional>

namespace busqueda::abs {

namespace {

// The code points of bytes 0x80 to 0x9F in Windows-1252; 0 where the byte is undefined. The
// other bytes stand for the code point of the same number.
const char16_t kAlto[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> aWindows1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (kAlto[i] != 0 && kAlto[i] == c)
            return char(0x80 + i);
    return std::nullopt;
}

const QByteArray kMarcaUtf8("\xEF\xBB\xBF");

} // namespace

QByteArray codificar(const QStringList& lineas)
{
    QByteArray ansi;
    bool cabe = true;
    for (const QString& linea : lineas) {
        for (QChar c : linea) {
            const auto b = aWindows1252(c.unicode());
            if (!b) {
                cabe = false;
                break;
            }
            ansi += *b;
        }
        if (!cabe)
            break;
        ansi += "\r\n";
    }
    // Text that starts with "ï»¿" would read back as the UTF-8 mark, so it is written as UTF-8.
    if (cabe && !ansi.startsWith(kMarcaUtf8))
        return ansi;
    QByteArray utf8 = kMarcaUtf8;
    for (const QString& linea : lineas)
        utf8 += linea.toUtf8() + "\r\n";
    return utf8;
}

QStringList decodificar(const QByteArray& contenido)
{
    QString texto;
    if (contenido.startsWith(kMarcaUtf8)) {
        // Only the file's own mark is dropped: a second one is text of the first line and must
        // stay, or the file would not save back as it was read.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        texto = utf8(QByteArrayView(contenido).sliced(kMarcaUtf8.size()));
    } else {
        texto.reserve(contenido.size());
        for (char b : contenido) {
            const auto u = static_cast<unsigned char>(b);
            texto +=
                u >= 0x80 && u < 0xA0 && kAlto[u - 0x80] != 0 ? QChar(kAlto[u - 0x80]) : QChar(char16_t(u));
        }
    }
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (texto.isEmpty())
        return {};
    // The last line's ending closes it; it opens no further line.
    if (texto.endsWith(QLatin1Char('\n')))
        texto.chop(1);
    return texto.split(QLatin1Char('\n'));
}

Status guardar(const QString& ruta, const QStringList& lineas)
{
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        return Status::failure(mensajeErrorGuardar());
    const QByteArray bytes = codificar(lineas);
    if (archivo.write(bytes) != bytes.size() || !archivo.commit())
        return Status::failure(mensajeErrorGuardar());
    return {};
}

Result<QStringList> cargar(const QString& ruta)
{
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return Result<QStringList>::failure(mensajeErrorAbrir());
    const QByteArray bytes = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return Result<QStringList>::failure(mensajeErrorAbrir());
    return decodificar(bytes);
}

QString mensajeErrorGuardar()
{
    return QStringLiteral("Error al Guardar Archivo");
}

QString mensajeErrorAbrir()
{
    return QStringLiteral("Error al Abrir Archivo");
}

} // namespace busqueda::abs
