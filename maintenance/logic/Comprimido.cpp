#include "maintenance/logic/Comprimido.h"

#include "data/logic/Database.h"
#include "maintenance/logic/ArchivoSeguro.h"
#include "maintenance/logic/Logging.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace comprimido {

namespace {

QString etiqueta(const QString& ruta)
{
    return QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath());
}

struct CerrarLectura
{
    void operator()(archive* a) const { archive_read_free(a); }
};
struct CerrarEscritura
{
    void operator()(archive* a) const { archive_write_free(a); }
};
using Lector = std::unique_ptr<archive, CerrarLectura>;
using Escritor = std::unique_ptr<archive, CerrarEscritura>;

QString razon(archive* a)
{
    const int numero = archive_errno(a);
    if (numero == ENOSPC || numero == EDQUOT || numero == EACCES || numero == EROFS || numero == EIO)
        return archivo::describirError(numero);
    const char* texto = archive_error_string(a);
    qCWarning(logMaintenance).noquote()
        << QStringLiteral("libarchive:") << QString::fromUtf8(texto ? texto : "");
    return QStringLiteral("el archivo comprimido está dañado o no se puede leer");
}

Lector abrirLector(const QString& ruta)
{
    Lector a(archive_read_new());
    archive_read_support_format_zip(a.get());
    archive_read_support_format_rar(a.get());
    archive_read_support_format_rar5(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(ruta).constData(), 1 << 16) != ARCHIVE_OK)
        return Lector();
    return a;
}

// The member's name without its folder (either separator).
QString nombreMiembro(archive_entry* entrada)
{
    const char* utf8 = archive_entry_pathname_utf8(entrada);
    QString nombre = utf8 ? QString::fromUtf8(utf8) : QFile::decodeName(archive_entry_pathname(entrada));
    nombre.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return nombre.section(QLatin1Char('/'), -1);
}

// Reads the archive back whole: every member's data passes its checksum.
Status releer(const QString& ruta, qint64 tamanoEsperado)
{
    Lector a = abrirLector(ruta);
    if (!a)
        return Status::failure(
            QStringLiteral("No se puede leer el archivo comprimido '%1'").arg(etiqueta(ruta)));
    archive_entry* entrada = nullptr;
    qint64 leidos = 0;
    int miembros = 0;
    while (archive_read_next_header(a.get(), &entrada) == ARCHIVE_OK) {
        ++miembros;
        char buffer[1 << 16];
        la_ssize_t n;
        while ((n = archive_read_data(a.get(), buffer, sizeof buffer)) > 0)
            leidos += n;
        if (n < 0)
            return Status::failure(razon(a.get()));
    }
    if (miembros != 1 || leidos != tamanoEsperado)
        return Status::failure(QStringLiteral("el archivo comprimido no quedó completo"));
    return {};
}

Status escribirZip(const QString& baseSana, const QString& temporal)
{
    QFile fuente(baseSana);
    if (!fuente.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("no se puede leer la copia de la base de datos"));
    const int fd = ::open(QFile::encodeName(temporal).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(archivo::describirError(errno));
    Escritor a(archive_write_new());
    archive_write_set_format_zip(a.get());
    // The level gzip uses by default: a fair trade of time for size.
    archive_write_set_options(a.get(), "zip:compression=deflate,zip:compression-level=6");
    Status st;
    if (archive_write_open_fd(a.get(), fd) != ARCHIVE_OK)
        st = Status::failure(razon(a.get()));
    if (st) {
        archive_entry* entrada = archive_entry_new();
        archive_entry_set_pathname_utf8(entrada, Database::nombreArchivo().toUtf8().constData());
        archive_entry_set_filetype(entrada, AE_IFREG);
        archive_entry_set_perm(entrada, 0600);
        archive_entry_set_size(entrada, fuente.size());
        archive_entry_set_mtime(entrada, QDateTime::currentSecsSinceEpoch(), 0);
        if (archive_write_header(a.get(), entrada) < ARCHIVE_WARN)
            st = Status::failure(razon(a.get()));
        archive_entry_free(entrada);
    }
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    while (st) {
        const qint64 n = fuente.read(buffer.data(), buffer.size());
        if (n < 0)
            st = Status::failure(QStringLiteral("no se puede leer la copia de la base de datos"));
        if (n <= 0)
            break;
        if (archive_write_data(a.get(), buffer.constData(), size_t(n)) != n)
            st = Status::failure(razon(a.get()));
    }
    if (st && archive_write_close(a.get()) != ARCHIVE_OK)
        st = Status::failure(razon(a.get()));
    a.reset();
    if (st && ::fsync(fd) != 0)
        st = Status::failure(archivo::describirError(errno));
    if (::close(fd) != 0 && st)
        st = Status::failure(archivo::describirError(errno));
    if (st)
        st = releer(temporal, fuente.size());
    return st;
}

} // namespace

Status comprimir(const QString& baseSana, const QString& destino)
{
    auto temporal = archivo::crearTemporal(destino);
    if (!temporal)
        return Status::failure(temporal.error());
    Status st = escribirZip(baseSana, temporal.value());
    if (!st)
        st = Status::failure(QStringLiteral("No se pudo crear el archivo comprimido '%1': %2")
                                 .arg(etiqueta(destino), st.error()));
    if (st)
        st = archivo::reemplazar(temporal.value(), destino);
    if (!st)
        ignorarFallo(archivo::quitar(temporal.value()), logMaintenance(),
                     "Quitar el archivo comprimido a medias");
    return st;
}

Result<QString> extraerBase(const QString& ruta, const QString& carpeta)
{
    using R = Result<QString>;
    const auto falla = [&ruta](const QString& porque) {
        return R::failure(QStringLiteral("No se puede restaurar desde '%1': %2").arg(etiqueta(ruta), porque));
    };
    Lector a = abrirLector(ruta);
    if (!a)
        return falla(QStringLiteral("no es un archivo comprimido ZIP o RAR que se pueda leer"));

    QString extraido;
    const auto descartar = [&extraido] {
        if (!extraido.isEmpty())
            ignorarFallo(archivo::quitar(extraido), logMaintenance(), "Quitar la base extraída");
        extraido.clear();
    };
    archive_entry* entrada = nullptr;
    int rc;
    while ((rc = archive_read_next_header(a.get(), &entrada)) == ARCHIVE_OK || rc == ARCHIVE_WARN) {
        // Folders, links and devices are no data file, whatever their names.
        if (archive_entry_filetype(entrada) != AE_IFREG ||
            !nombreMiembro(entrada).endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive)) {
            archive_read_data_skip(a.get());
            continue;
        }
        if (!extraido.isEmpty()) {
            descartar();
            return falla(QStringLiteral("contiene más de una base de datos (.mdb); debe contener una sola"));
        }
        if (archive_entry_is_encrypted(entrada))
            return falla(QStringLiteral("está protegido con contraseña"));
        auto temporal = archivo::crearTemporal(QDir(carpeta).filePath(Database::nombreArchivo()));
        if (!temporal)
            return R::failure(temporal.error());
        extraido = temporal.value();
        const int fd = ::open(QFile::encodeName(extraido).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) {
            const int numero = errno;
            descartar();
            return falla(archivo::describirError(numero));
        }
        const int escrito = archive_read_data_into_fd(a.get(), fd);
        const int numero = errno;
        ::close(fd);
        if (escrito != ARCHIVE_OK) {
            const QString porque =
                archive_errno(a.get()) == 0 && numero != 0 ? archivo::describirError(numero) : razon(a.get());
            descartar();
            return falla(porque);
        }
    }
    if (rc != ARCHIVE_EOF) {
        const QString porque = razon(a.get());
        descartar();
        return falla(porque);
    }
    if (extraido.isEmpty())
        return falla(QStringLiteral("no contiene ninguna base de datos (.mdb)"));
    return extraido;
}

} // namespace comprimido
