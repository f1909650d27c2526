#include "maintenance/logic/Mantenimiento.h"

#include "data/logic/Database.h"
#include "maintenance/logic/ArchivoSeguro.h"
#include "maintenance/logic/Comprimido.h"
#include "maintenance/logic/CopiaBase.h"
#include "maintenance/logic/Logging.h"
#include "maintenance/logic/NombresCopia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <sys/stat.h>

namespace mantenimiento {

namespace {

QString etiqueta(const QString& ruta)
{
    return QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath());
}

Status crearCarpeta(const QString& carpeta)
{
    if (QFileInfo(carpeta).isDir() || QDir().mkpath(carpeta))
        return {};
    return Status::failure(QStringLiteral("No se puede crear la carpeta '%1'").arg(etiqueta(carpeta)));
}

bool mismoArchivo(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

// A second name for the data file, hidden, beside the safety copy's name: on the same disk the
// file itself becomes the safety copy once the new one takes its place. Empty when the copies
// are on another disk.
QString enlaceOculto(const QString& datos, const QString& previa)
{
    auto oculto = archivo::crearTemporal(previa);
    if (!oculto)
        return {};
    if (archivo::quitar(oculto.value()) && archivo::enlazar(datos, oculto.value()))
        return oculto.value();
    ignorarFallo(archivo::quitar(oculto.value()), logMaintenance(), "Quitar un nombre oculto");
    return {};
}

} // namespace

QString carpetaCopiasAutomaticas()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("AutoBack"));
}

Result<CopiaAutomatica> copiaAutomatica(const QString& datos, const QString& carpeta, const QDate& hoy)
{
    using R = Result<CopiaAutomatica>;
    if (const Status st = crearCarpeta(carpeta); !st)
        return R::failure(st.error());
    CopiaAutomatica hecha;
    hecha.copia = QDir(carpeta).filePath(copias::nombreCopiaAutomatica(hoy));
    if (const Status st = copia::copiarBase(datos, hecha.copia); !st)
        return R::failure(st.error());

    const QStringList viejas =
        copias::copiasAPodar(QDir(carpeta).entryList(QDir::Files | QDir::Hidden, QDir::Name), hoy);
    for (const QString& vieja : viejas) {
        if (const Status st = archivo::quitar(QDir(carpeta).filePath(vieja)); !st) {
            hecha.errorPoda = st.error();
            continue;
        }
        hecha.podadas << vieja;
    }
    return hecha;
}

QString mensajeYaExiste()
{
    return QStringLiteral("El Archivo ya existe\n¿Desea Reemplazarlo?");
}

Result<QString> respaldar(const QString& datos, const QString& carpeta, const QDate& hoy, bool comprimir,
                          bool reemplazar)
{
    using R = Result<QString>;
    if (!QFileInfo(carpeta).isDir())
        return R::failure(QStringLiteral("No existe la carpeta '%1'").arg(etiqueta(carpeta)));
    const QString destino = QDir(carpeta).filePath(copias::nombreRespaldo(hoy, comprimir));
    if (QFileInfo::exists(destino) && !reemplazar)
        return R::failure(
            QStringLiteral("El archivo '%1' ya existe y no se reemplazó").arg(etiqueta(destino)));
    if (mismoArchivo(destino, datos))
        return R::failure(mensajeMismoArchivo());
    if (!comprimir) {
        if (const Status st = copia::copiarBase(datos, destino); !st)
            return R::failure(st.error());
        return destino;
    }
    // The archive is made from a checked copy of the file, never from the file in use.
    auto instantanea = archivo::crearTemporal(destino + QStringLiteral(".mdb"));
    if (!instantanea)
        return R::failure(instantanea.error());
    Status st = copia::copiarBase(datos, instantanea.value());
    if (st)
        st = comprimido::comprimir(instantanea.value(), destino);
    ignorarFallo(archivo::quitar(instantanea.value()), logMaintenance(), "Quitar la copia comprimida");
    if (!st)
        return R::failure(st.error());
    return destino;
}

QString mensajeMismoArchivo()
{
    return QStringLiteral("No se puede copiar el Archivo a su mismo directorio");
}

Result<Restauracion> restaurar(const QString& elegido, const QString& datos, const QString& carpetaCopias,
                               const QDateTime& ahora)
{
    using R = Result<Restauracion>;
    if (!QFileInfo(elegido).isFile())
        return R::failure(QStringLiteral("No se encuentra la Base de Datos en esa ubicación"));
    if (mismoArchivo(elegido, datos))
        return R::failure(mensajeMismoArchivo());
    const QString carpetaDatos = QFileInfo(datos).absolutePath();
    if (!QFileInfo(carpetaDatos).isDir())
        return R::failure(QStringLiteral("No existe la carpeta '%1'").arg(etiqueta(carpetaDatos)));

    // The candidate: the copy itself, or its archive's data file extracted beside the data file.
    QString candidato = elegido;
    QString extraido;
    if (copias::esComprimido(elegido)) {
        auto sacado = comprimido::extraerBase(elegido, carpetaDatos);
        if (!sacado)
            return R::failure(sacado.error());
        candidato = extraido = sacado.value();
    }
    const auto limpiar = [&extraido] {
        if (!extraido.isEmpty())
            ignorarFallo(archivo::quitar(extraido), logMaintenance(), "Quitar la base extraída");
    };
    if (const Status sana = copia::comprobar(candidato, copia::Comprobacion::Completa); !sana) {
        limpiar();
        return R::failure(QStringLiteral("La copia '%1' no se puede restaurar: %2 La base de datos quedó "
                                         "como estaba.")
                              .arg(etiqueta(elegido), sana.error()));
    }

    // A write that a crash left unfinished is rolled back first, as any opening for writing does.
    const QString diario = datos + QStringLiteral("-journal");
    if (QFileInfo::exists(diario))
        ignorarFallo(Database::open(datos, false), logMaintenance(), "Deshacer la escritura sin terminar");

    // The new data file, complete, synced and checked under a temporary name beside the old one.
    auto nueva = copia::copiaComprobada(candidato, datos);
    limpiar();
    if (!nueva)
        return R::failure(nueva.error() + QStringLiteral(" La base de datos quedó como estaba."));
    const auto descartar = [&nueva] {
        ignorarFallo(archivo::quitar(nueva.value()), logMaintenance(), "Quitar la base restaurada a medias");
    };

    Restauracion hecha;
    QString oculto;
    if (QFileInfo(datos).isFile()) {
        hecha.copiaPrevia = QDir(carpetaCopias).filePath(copias::nombreCopiaPrevia(ahora));
        Status st = crearCarpeta(carpetaCopias);
        if (st)
            oculto = enlaceOculto(datos, hecha.copiaPrevia);
        // Elsewhere the file is copied: by the engine when it is sound, byte for byte when it is
        // damaged (nobody has it open, and its bytes are all there is).
        if (st && oculto.isEmpty())
            st = copia::comprobar(datos, copia::Comprobacion::Rapida)
                     ? copia::copiarBase(datos, hecha.copiaPrevia)
                     : archivo::copiarBytes(datos, hecha.copiaPrevia);
        if (st)
            st = archivo::copiarPermisos(datos, nueva.value());
        if (!st) {
            descartar();
            if (!oculto.isEmpty())
                ignorarFallo(archivo::quitar(oculto), logMaintenance(), "Quitar un nombre oculto");
            return R::failure(
                QStringLiteral("No se pudo guardar una copia de la base de datos actual antes de "
                               "restaurar: %1 La base de datos quedó como estaba.")
                    .arg(st.error()));
        }
    }
    // A journal left beside the old file belongs to it: applied to the new one it would damage it.
    Status st = archivo::quitar(diario);
    if (st)
        st = archivo::reemplazar(nueva.value(), datos);
    if (!st) {
        descartar();
        if (!oculto.isEmpty())
            ignorarFallo(archivo::quitar(oculto), logMaintenance(), "Quitar un nombre oculto");
        return R::failure(st.error() + QStringLiteral(" La base de datos quedó como estaba."));
    }
    // Only now is the old file no longer the data file: it takes the safety copy's name.
    if (!oculto.isEmpty() && !archivo::reemplazar(oculto, hecha.copiaPrevia))
        hecha.copiaPrevia = oculto;
    return hecha;
}

Status compactar(const QString& datos)
{
    const QFileInfo info(datos);
    if (!info.isFile())
        return Status::failure(QStringLiteral("No se encuentra la base de datos '%1'").arg(etiqueta(datos)));
    const QString temporal = info.absoluteDir().filePath(QStringLiteral("temporal.mdb"));
    const auto fallo = [&datos](const QString& porque) {
        return Status::failure(
            QStringLiteral("No se pudo compactar la base de datos: %1 La base de datos '%2' "
                           "quedó como estaba.")
                .arg(porque, etiqueta(datos)));
    };
    // A file left by an earlier run, and its journal, would be taken for the new one's.
    for (const QString& viejo : QStringList{temporal, temporal + QStringLiteral("-journal")})
        if (const Status st = archivo::quitar(viejo); !st)
            return fallo(st.error());
    {
        // Opening for writing finishes (rolls back) any write a crash left in its journal.
        auto abierta = Database::open(datos, false);
        if (!abierta)
            return fallo(abierta.error());
        struct stat modo;
        const mode_t permisos =
            ::stat(QFile::encodeName(datos).constData(), &modo) == 0 ? (modo.st_mode & 0777) : 0600;
        QFile vacio(temporal);
        if (!vacio.open(QIODevice::NewOnly | QIODevice::WriteOnly))
            return fallo(QStringLiteral("no se puede crear '%1'.").arg(etiqueta(temporal)));
        vacio.close();
        ::chmod(QFile::encodeName(temporal).constData(), permisos);
        QString destino = temporal;
        destino.replace(QLatin1Char('\''), QStringLiteral("''"));
        if (const Status st = abierta.value()->exec(QStringLiteral("VACUUM INTO '%1'").arg(destino)); !st) {
            ignorarFallo(archivo::quitar(temporal), logMaintenance(), "Quitar temporal.mdb");
            return fallo(st.error() + QLatin1Char('.'));
        }
    }
    Status st = archivo::sincronizar(temporal);
    if (st)
        st = copia::comprobar(temporal, copia::Comprobacion::Completa);
    if (st && QFileInfo::exists(datos + QStringLiteral("-journal")))
        st = Status::failure(QStringLiteral("la base de datos tiene una escritura sin terminar."));
    if (st)
        st = archivo::reemplazar(temporal, datos);
    if (!st) {
        ignorarFallo(archivo::quitar(temporal), logMaintenance(), "Quitar temporal.mdb");
        return fallo(st.error());
    }
    return {};
}

Status verificar(const QString& datos)
{
    return copia::comprobar(datos, copia::Comprobacion::Completa);
}

} // namespace mantenimiento
