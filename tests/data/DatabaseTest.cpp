#include "data/logic/Database.h"
#include "data/logic/Schema.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

QByteArray contenido(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void escribir(const QString& path, const QByteArray& bytes, qint64 offset = 0)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size())
        << path.toStdString();
}

void cambiarModo(const QString& path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

// Runs SQL on a raw SQLite connection to the file, around the program's checks.
std::shared_ptr<sqlite3> conexion(const QString& file, const char* sql)
{
    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open_v2(QFile::encodeName(file).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    std::shared_ptr<sqlite3> db(raw, sqlite3_close_v2);
    EXPECT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
    return db;
}

// Leaves next to the file the journal of a write that never finished, as a crash leaves it:
// the journal's bytes are taken while the write is open, and put back once it is undone.
void dejarDiarioPendiente(const QString& file, const char* modo, const QString& sufijo)
{
    QByteArray diario, datos;
    {
        auto db = conexion(file, modo);
        ASSERT_EQ(
            sqlite3_exec(db.get(), "INSERT INTO Trafoge (\"CÓDIGO\") VALUES (7)", nullptr, nullptr, nullptr),
            SQLITE_OK);
        diario = contenido(file + sufijo);
        datos = contenido(file);
        ASSERT_FALSE(diario.isEmpty());
    }
    escribir(file, datos);
    escribir(file + sufijo, diario);
}

// Root reads and writes through file permissions. While this lives, the calling thread (where
// SQLite works) lacks the two capabilities that allow it, so permissions bind it as they bind any
// other user; for any other user there is nothing to lower.
class SinSaltarPermisos
{
public:
    SinSaltarPermisos()
    {
        if (geteuid() != 0) {
            m_ok = true;
            return;
        }
        if (syscall(SYS_capget, &m_cabecera, m_antes) != 0)
            return;
        __user_cap_data_struct sin[2] = {m_antes[0], m_antes[1]};
        sin[0].effective &= ~(CAP_TO_MASK(CAP_DAC_OVERRIDE) | CAP_TO_MASK(CAP_DAC_READ_SEARCH));
        m_ok = m_bajadas = syscall(SYS_capset, &m_cabecera, sin) == 0;
    }
    ~SinSaltarPermisos()
    {
        if (m_bajadas)
            syscall(SYS_capset, &m_cabecera, m_antes);
    }
    SinSaltarPermisos(const SinSaltarPermisos&) = delete;
    SinSaltarPermisos& operator=(const SinSaltarPermisos&) = delete;
    bool ok() const { return m_ok; }

private:
    __user_cap_header_struct m_cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_antes[2]{};
    bool m_ok = false;
    bool m_bajadas = false;
};

// SQLite's own English words belong in the log, never in what the user reads.
bool enIngles(const QString& mensaje)
{
    for (const char* palabra : {"database", "unable", "disk", "malformed", "attempt", "locked", "readonly"})
        if (mensaje.contains(QLatin1String(palabra), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

TEST(Database, OpenRefusesAMissingOrForeignFileByNameAndLeavesItAsItWas)
{
    QTemporaryDir dir;
    const QString path = Database::rutaEn(dir.path());
    const auto missing = Database::open(path);
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().contains(QStringLiteral("No se encuentra"))) << missing.error().toStdString();
    EXPECT_FALSE(QFileInfo::exists(path)) << "opening must never create the file";

    // A file of the old engine, or anything else that is not the program's data file.
    const QByteArray jet = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, 'x');
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(jet) == jet.size());
    f.close();
    const auto foreign = Database::open(path);
    ASSERT_FALSE(foreign.ok());
    EXPECT_TRUE(foreign.error().contains(path)) << foreign.error().toStdString();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), jet);
}

TEST(Database, CreateMakesAnOwnerOnlyMarkedFileAndRefusesToOverwrite)
{
    TempData data;
    const QFileInfo info(data.file());
    EXPECT_EQ(info.permissions() &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              0);
    auto db = data.open();
    ASSERT_TRUE(db);
    EXPECT_EQ(queryRows(*db, QStringLiteral("PRAGMA application_id")),
              (QList<QVariantList>{{qlonglong(schema::kApplicationId)}}));
    EXPECT_FALSE(Database::create(data.file()).ok());
}

TEST(Database, AFileNotMatchingTheDataModelIsRefusedNamingWhatIsMissing)
{
    // A change to the file, and what the refusal names (nullptr: the file still opens).
    const char* const cases[][2] = {
        {"DROP TABLE Mantenimiento", "tabla 'Mantenimiento'"},
        {"ALTER TABLE Ensayos DROP COLUMN \"%_Inhibidor\"", "campo '%_Inhibidor'"},
        // A single blank names a different field than the two-blank one.
        {"ALTER TABLE Revision RENAME COLUMN \"SEC  / PRIM A TIERRA 10'\" TO \"SEC / PRIM A TIERRA 10'\"",
         "campo 'SEC  / PRIM A TIERRA 10''"},
        {"PRAGMA application_id=0", "no es una base de datos de Quorvela"},
        // Triggers would run on the program's own writes, wherever they hang.
        {"CREATE TRIGGER borra_revisiones AFTER UPDATE ON Trafoge BEGIN DELETE FROM Revision; END",
         "'borra_revisiones'"},
        {"CREATE TABLE notas (x); CREATE TRIGGER \"vigila notas\" AFTER INSERT ON notas BEGIN SELECT 1; END",
         "'vigila notas'"},
        // A view in place of a table, whatever the case of its name.
        {"ALTER TABLE Trafoge RENAME TO t0; CREATE VIEW Trafoge AS SELECT * FROM t0",
         "la tabla 'Trafoge' es una vista"},
        {"ALTER TABLE Mantenimiento RENAME TO m0; CREATE VIEW mantenimiento AS SELECT * FROM m0",
         "la tabla 'Mantenimiento' es una vista"},
        {"CREATE VIEW resumen AS SELECT count(*) AS n FROM Trafoge", nullptr},
    };
    for (const auto& [sql, names] : cases) {
        TempData data;
        data.exec(u(sql));
        const QByteArray before = contenido(data.file());
        const auto db = Database::open(data.file());
        if (!names) {
            EXPECT_TRUE(db.ok()) << sql << ": " << db.error().toStdString();
            continue;
        }
        if (db.ok()) {
            ADD_FAILURE() << sql << ": se abrió";
            continue;
        }
        EXPECT_TRUE(db.error().contains(u(names)) &&
                    db.error().contains(QFileInfo(data.file()).absoluteFilePath()))
            << sql << ": " << db.error().toStdString();
        EXPECT_EQ(contenido(data.file()), before) << sql;
    }
}

TEST(Database, OpenTellsApartWhyAFileCannotBeOpened)
{
    if (!SinSaltarPermisos().ok())
        GTEST_SKIP() << "no se pueden bajar los permisos de superusuario de este hilo";
    // What is done to a new data file; what it returns is kept over the open.
    using Preparar = std::function<std::shared_ptr<void>(const QString& file)>;
    const auto sobrescribir = [](qint64 offset, QByteArray bytes) -> Preparar {
        return [=](const QString& file) {
            escribir(file, bytes, offset);
            return std::shared_ptr<void>();
        };
    };
    const auto pendiente = [](const char* sql, const char* sufijo) -> Preparar {
        return [=](const QString& file) {
            dejarDiarioPendiente(file, sql, QLatin1String(sufijo));
            return std::shared_ptr<void>();
        };
    };
    const Preparar truncar = [](const QString& file) {
        QFile(file).resize(2 * 4096);
        return std::shared_ptr<void>();
    };
    const Preparar bloquear = [](const QString& file) {
        return std::shared_ptr<void>(conexion(file, "BEGIN EXCLUSIVE"));
    };
    const Preparar nada = [](const QString&) { return std::shared_ptr<void>(); };
    const char* const enCurso = "PRAGMA synchronous=OFF; BEGIN";
    const char* const enWal = "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0";
    struct Caso
    {
        const char* nombre;
        bool soloLectura;
        Preparar preparar;
        mode_t archivo, carpeta;
        const char* dice; // nullptr: it opens
    };
    const Caso casos[] = {
        {"truncado", false, truncar, 0600, 0700, "está dañado"},
        {"esquema ilegible", true, sobrescribir(100, QByteArray(12, '\xff')), 0600, 0700, "está dañado"},
        {"tamaño de página imposible", false, sobrescribir(16, QByteArray("\x00\x03", 2)), 0600, 0700,
         "está dañado"},
        {"bloqueado", true, bloquear, 0600, 0700, "bloqueado por otro programa"},
        {"sin permiso de lectura", true, nada, 0000, 0700, "No tiene permiso para leer"},
        {"archivo protegido, para escribir", false, nada, 0444, 0700, "mdb' es de solo lectura"},
        {"archivo protegido, para leer", true, nada, 0444, 0700, nullptr},
        {"carpeta protegida, para escribir", false, nada, 0600, 0500, "La carpeta"},
        {"carpeta protegida, para leer", true, nada, 0600, 0500, nullptr},
        {"diario pendiente, carpeta protegida", false, pendiente(enCurso, "-journal"), 0600, 0500,
         "trafos.mdb-journal"},
        {"diario pendiente, para leer", true, pendiente(enCurso, "-journal"), 0600, 0700,
         "trafos.mdb-journal"},
        {"wal pendiente, carpeta protegida", true, pendiente(enWal, "-wal"), 0600, 0500, "trafos.mdb-wal"},
        // With the right to write, the open itself completes what was left.
        {"diario pendiente, para escribir", false, pendiente(enCurso, "-journal"), 0600, 0700, nullptr},
    };
    for (const Caso& caso : casos) {
        TempData data;
        const QString file = QFileInfo(data.file()).absoluteFilePath();
        std::shared_ptr<void> mantener = caso.preparar(file);
        const QByteArray before = contenido(file);
        cambiarModo(file, caso.archivo);
        cambiarModo(data.folder(), caso.carpeta);
        auto db = [&] {
            SinSaltarPermisos sin;
            return Database::open(file, caso.soloLectura);
        }();
        mantener.reset();
        cambiarModo(data.folder(), 0700);
        cambiarModo(file, 0600);
        if (!caso.dice) {
            EXPECT_TRUE(db.ok()) << caso.nombre << ": " << db.error().toStdString();
            continue;
        }
        if (db.ok()) {
            ADD_FAILURE() << caso.nombre << ": se abrió";
            continue;
        }
        EXPECT_TRUE(db.error().contains(u(caso.dice)) && db.error().contains(file))
            << caso.nombre << ": " << db.error().toStdString();
        EXPECT_FALSE(enIngles(db.error())) << caso.nombre << ": " << db.error().toStdString();
        EXPECT_EQ(contenido(file), before) << caso.nombre;
    }
}

TEST(Database, WritesKeepTheCodesUniqueAndAReadOnlyConnectionRefusesWithAReason)
{
    TempData data;
    auto db = data.open();
    ASSERT_TRUE(db);
    const QString trafo = u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (12)");
    const QString inspection = u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (12, '2020-01-01')");
    EXPECT_TRUE(db->exec(trafo).ok());
    EXPECT_FALSE(db->exec(trafo).ok()) << "a transformer's code is unique";
    EXPECT_TRUE(db->exec(inspection).ok());
    EXPECT_TRUE(db->exec(inspection).ok()) << "a transformer has many dated rows";
    EXPECT_FALSE(Statement::prepare(*db, QStringLiteral("SELECT 1; DELETE FROM Trafoge")).ok());

    auto readOnly = data.open(true);
    ASSERT_TRUE(readOnly);
    const Status st = readOnly->exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (1)"));
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.error().contains(QStringLiteral("solo lectura"))) << st.error().toStdString();
    EXPECT_EQ(queryRows(*db, u("SELECT count(*) FROM Trafoge")), (QList<QVariantList>{{qlonglong(1)}}));
}
