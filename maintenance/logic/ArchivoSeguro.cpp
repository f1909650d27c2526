#include "maintenance/logic/ArchivoSeguro.h"

#include "maintenance/logic/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace archivo {

namespace {

QByteArray nativo(const QString& ruta)
{
    return QFile::encodeName(ruta);
}

QString etiqueta(const QString& ruta)
{
    return QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath());
}

Status fallo(const QString& que, const QString& ruta, int numero)
{
    return Status::failure(QStringLiteral("%1 '%2': %3").arg(que, etiqueta(ruta), describirError(numero)));
}

Status sincronizarDescriptor(const QString& ruta, int flags)
{
    const int fd = ::open(nativo(ruta).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return fallo(QStringLiteral("No se puede abrir"), ruta, errno);
    const int rc = ::fsync(fd);
    const int numero = errno;
    ::close(fd);
    if (rc != 0)
        return fallo(QStringLiteral("No se pudo grabar en el disco"), ruta, numero);
    return {};
}

} // namespace

QString describirError(int numero)
{
    switch (numero) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("el disco está lleno");
    case EACCES:
    case EPERM:
        return QStringLiteral("permiso denegado");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case ENOENT:
        return QStringLiteral("no existe");
    case EIO:
        return QStringLiteral("error de lectura o escritura en el disco");
    case EXDEV:
        return QStringLiteral("el origen y el destino están en discos distintos");
    case EISDIR:
        return QStringLiteral("es una carpeta");
    default:
        return QStringLiteral("error del sistema %1 (%2)")
            .arg(numero)
            .arg(QString::fromLocal8Bit(strerror(numero)));
    }
}

Result<QString> crearTemporal(const QString& destino)
{
    const QFileInfo info(destino);
    QByteArray plantilla = nativo(
        info.absoluteDir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral("-XXXXXX.tmp")));
    // mkstemps creates the file 0600 and never reuses an existing name.
    const int fd = ::mkstemps(plantilla.data(), 4);
    if (fd < 0)
        return Result<QString>::failure(
            QStringLiteral("No se puede crear un archivo en la carpeta '%1': %2")
                .arg(QDir::toNativeSeparators(info.absolutePath()), describirError(errno)));
    ::close(fd);
    return QFile::decodeName(plantilla);
}

bool esTemporal(const QString& nombre)
{
    return nombre.startsWith(QLatin1Char('.')) && nombre.endsWith(QLatin1String(".tmp"));
}

Status sincronizar(const QString& ruta)
{
    return sincronizarDescriptor(ruta, O_RDONLY);
}

Status sincronizarCarpeta(const QString& carpeta)
{
    return sincronizarDescriptor(carpeta, O_RDONLY | O_DIRECTORY);
}

Status reemplazar(const QString& temporal, const QString& destino)
{
    if (::rename(nativo(temporal).constData(), nativo(destino).constData()) != 0)
        return fallo(QStringLiteral("No se puede poner en su lugar"), destino, errno);
    return sincronizarCarpeta(QFileInfo(destino).absolutePath());
}

Status enlazar(const QString& existente, const QString& nuevo)
{
    if (::link(nativo(existente).constData(), nativo(nuevo).constData()) != 0)
        return fallo(QStringLiteral("No se puede crear"), nuevo, errno);
    return sincronizarCarpeta(QFileInfo(nuevo).absolutePath());
}

Status copiarPermisos(const QString& origen, const QString& destino)
{
    struct stat st;
    if (::stat(nativo(origen).constData(), &st) != 0)
        return fallo(QStringLiteral("No se puede leer"), origen, errno);
    if (::chmod(nativo(destino).constData(), st.st_mode & 07777) != 0)
        return fallo(QStringLiteral("No se pueden cambiar los permisos de"), destino, errno);
    return {};
}

Status quitar(const QString& ruta)
{
    if (::unlink(nativo(ruta).constData()) != 0 && errno != ENOENT)
        return fallo(QStringLiteral("No se puede borrar"), ruta, errno);
    return {};
}

Status copiarBytes(const QString& origen, const QString& destino)
{
    const int in = ::open(nativo(origen).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return fallo(QStringLiteral("No se puede leer"), origen, errno);
    auto temporal = crearTemporal(destino);
    if (!temporal) {
        ::close(in);
        return Status::failure(temporal.error());
    }
    const int out = ::open(nativo(temporal.value()).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    Status st;
    if (out < 0)
        st = fallo(QStringLiteral("No se puede escribir"), temporal.value(), errno);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    while (st && out >= 0) {
        const ssize_t n = ::read(in, buffer.data(), size_t(buffer.size()));
        if (n < 0) {
            st = fallo(QStringLiteral("No se puede leer"), origen, errno);
            break;
        }
        if (n == 0)
            break;
        for (ssize_t hecho = 0; hecho < n;) {
            const ssize_t w = ::write(out, buffer.constData() + hecho, size_t(n - hecho));
            if (w < 0) {
                st = fallo(QStringLiteral("No se puede escribir"), destino, errno);
                break;
            }
            hecho += w;
        }
    }
    if (st && ::fsync(out) != 0)
        st = fallo(QStringLiteral("No se pudo grabar en el disco"), destino, errno);
    if (out >= 0 && ::close(out) != 0 && st)
        st = fallo(QStringLiteral("No se puede escribir"), destino, errno);
    ::close(in);
    if (st)
        st = reemplazar(temporal.value(), destino);
    if (!st)
        ignorarFallo(quitar(temporal.value()), logMaintenance(), "Quitar un temporal");
    return st;
}

} // namespace archivo
