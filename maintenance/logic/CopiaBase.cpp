#include "maintenance/logic/CopiaBase.h"

#include "data/logic/Database.h"
#include "maintenance/logic/ArchivoSeguro.h"
#include "maintenance/logic/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace copia {

namespace {

QString etiqueta(const QString& ruta)
{
    return QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath());
}

// A connection of the engine that closes itself; never creates the file it opens.
class Conexion
{
public:
    Conexion(const QString& ruta, bool soloLectura)
    {
        const int flags = soloLectura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        m_rc = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &m_db, flags, nullptr);
        if (m_db) {
            sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
            sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
            sqlite3_busy_timeout(m_db, 2000);
        }
    }
    ~Conexion()
    {
        if (m_db)
            sqlite3_close_v2(m_db);
    }
    Conexion(const Conexion&) = delete;
    Conexion& operator=(const Conexion&) = delete;

    bool abierta() const { return m_rc == SQLITE_OK; }
    sqlite3* db() const { return m_db; }
    QString error() const
    {
        return Database::describe(m_db ? sqlite3_extended_errcode(m_db) : m_rc,
                                  m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString());
    }
    Status exec(const char* sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            return Status::failure(error());
        return {};
    }

private:
    sqlite3* m_db = nullptr;
    int m_rc = SQLITE_CANTOPEN;
};

// Every page of origen into destino, as the engine's backup does; false with the reason.
Status copiarPaginas(Conexion& origen, Conexion& destino)
{
    sqlite3_backup* backup = sqlite3_backup_init(destino.db(), "main", origen.db(), "main");
    if (!backup)
        return Status::failure(destino.error());
    int rc = SQLITE_OK;
    int esperas = 0;
    do {
        rc = sqlite3_backup_step(backup, 1024);
        // Another program writing the file: wait a little, but not for ever.
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (++esperas > 100)
                break;
            sqlite3_sleep(50);
        }
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return Status::failure(Database::describe(rc, QString::fromUtf8(sqlite3_errmsg(destino.db()))));
    return {};
}

} // namespace

Status comprobar(const QString& ruta, Comprobacion como)
{
    auto abierta = Database::open(ruta, true);
    if (!abierta)
        return Status::failure(abierta.error());
    const Database& db = *abierta.value();
    auto consulta =
        Statement::prepare(db, como == Comprobacion::Rapida ? QStringLiteral("PRAGMA quick_check(5)")
                                                            : QStringLiteral("PRAGMA integrity_check(5)"));
    if (!consulta)
        return Status::failure(QStringLiteral("No se puede comprobar el archivo '%1': %2")
                                   .arg(etiqueta(ruta), consulta.error()));
    QStringList hallazgos;
    while (true) {
        auto fila = consulta.value().step();
        if (!fila)
            return Status::failure(
                QStringLiteral("El archivo '%1' está dañado: %2").arg(etiqueta(ruta), fila.error()));
        if (!fila.value())
            break;
        hallazgos << consulta.value().value(0).toString();
    }
    if (hallazgos != QStringList{QStringLiteral("ok")}) {
        qCWarning(logMaintenance).noquote() << etiqueta(ruta) << hallazgos.join(QStringLiteral("; "));
        return Status::failure(
            QStringLiteral("El archivo '%1' está dañado: no pasó la comprobación de integridad.")
                .arg(etiqueta(ruta)));
    }
    return {};
}

Result<QString> copiaComprobada(const QString& origen, const QString& destino)
{
    using R = Result<QString>;
    if (!QFileInfo(origen).isFile())
        return R::failure(QStringLiteral("No se encuentra la base de datos '%1'").arg(etiqueta(origen)));
    auto temporal = archivo::crearTemporal(destino);
    if (!temporal)
        return R::failure(temporal.error());
    const QString tmp = temporal.value();
    Status st;
    {
        Conexion fuente(origen, true);
        Conexion copia(tmp, false);
        if (!fuente.abierta())
            st = Status::failure(QStringLiteral("No se puede leer la base de datos '%1': %2")
                                     .arg(etiqueta(origen), fuente.error()));
        else if (!copia.abierta())
            st = Status::failure(copia.error());
        // The temporary copy needs no journal: until it is renamed, it is nobody's data.
        if (st)
            st = copia.exec("PRAGMA journal_mode=OFF");
        if (st)
            st = copia.exec("PRAGMA synchronous=OFF");
        if (st)
            st = copiarPaginas(fuente, copia);
        if (!st)
            st = Status::failure(QStringLiteral("No se pudo copiar la base de datos en '%1': %2")
                                     .arg(etiqueta(destino), st.error()));
    }
    if (st)
        st = archivo::sincronizar(tmp);
    if (st) {
        // A damaged data file gives a damaged copy: it never replaces a good one.
        if (const Status sana = comprobar(tmp, Comprobacion::Rapida); !sana)
            st = Status::failure(QStringLiteral("La base de datos '%1' no pasó la comprobación: no se "
                                                "copió y '%2' queda como estaba.")
                                     .arg(etiqueta(origen), etiqueta(destino)));
    }
    if (!st) {
        ignorarFallo(archivo::quitar(tmp), logMaintenance(), "Quitar la copia a medias");
        return R::failure(st.error());
    }
    return tmp;
}

Status copiarBase(const QString& origen, const QString& destino)
{
    auto tmp = copiaComprobada(origen, destino);
    if (!tmp)
        return Status::failure(tmp.error());
    Status st = archivo::reemplazar(tmp.value(), destino);
    if (!st)
        ignorarFallo(archivo::quitar(tmp.value()), logMaintenance(), "Quitar la copia a medias");
    return st;
}

} // namespace copia
