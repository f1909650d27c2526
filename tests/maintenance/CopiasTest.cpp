#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "maintenance/logic/ArchivoSeguro.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/NombresCopia.h"
#include "tests/maintenance/Archivos.h"
#include "tests/maintenance/Firma.h"
#include "tests/support/Texto.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QDate kHoy(2026, 12, 5);

QStringList nombresEn(const QString& carpeta)
{
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A data folder with the demo plant, and folders for copies and backups.
struct Planta
{
    Planta()
    {
        const Status st = demo::createDemo(datos.path());
        EXPECT_TRUE(st.ok()) << st.error().toStdString();
        firma = firmaContenido(archivo());
    }
    QString archivo() const { return Database::rutaEn(datos.path()); }
    // Changes the data file, so that old and new content differ.
    void cambiar(const QString& sql = u("DELETE FROM Ensayos WHERE rowid % 2 = 0")) const
    {
        auto db = Database::open(archivo());
        ASSERT_TRUE(db.ok()) << db.error().toStdString();
        ASSERT_TRUE(db.value()->exec(sql).ok());
    }
    QTemporaryDir datos, copias, destino;
    QString firma;
};

} // namespace

TEST(NombresCopia, NamesCarryTheDayAsDdmmyy)
{
    EXPECT_EQ(copias::nombreCopiaAutomatica(kHoy), u("AB051226.mdb"));
    EXPECT_EQ(copias::nombreCopiaAutomatica(QDate(2000, 1, 9)), u("AB090100.mdb"));
    EXPECT_EQ(copias::nombreRespaldo(kHoy, false), u("T-051226.mdb"));
    EXPECT_EQ(copias::nombreRespaldo(kHoy, true), u("T-051226.zip"));
}

TEST(NombresCopia, PruningDeletesCopiesOlderThanSevenDaysByTheTwoDigitYearRule)
{
    const struct
    {
        const char* nombre;
        QDate hoy;
        bool borrada;
    } casos[] = {
        {"AB251126.mdb", kHoy, true},
        {"AB271126.mdb", kHoy, true},
        {"AB281126.mdb", kHoy, false}, // exactly seven days old
        {"AB051226.mdb", kHoy, false},
        {"AB311226.mdb", kHoy, false}, // a day still to come
        {"ab201126.MDB", kHoy, true},  // the letters in another case
        {"AB311299.mdb", kHoy, false}, // 1999: "991231" never sorts before "261128"
        {"AB010130.mdb", kHoy, false}, // 1930 reads "300101"
        {"AB151125.mdb", kHoy, true},  // a year earlier
        {"AB0x1226.mdb", kHoy, false}, // date characters that are not digits
        {"AB 51126.mdb", kHoy, false},
        {"AB-11126.mdb", kHoy, false},
        {"AB320126.mdb", kHoy, false},  // no such day
        {"AB290230.mdb", kHoy, false},  // 1930 was no leap year
        {"AB290200.mdb", kHoy, true},   // 2000 was
        {"AB1511260.mdb", kHoy, false}, // not the copies' pattern
        {"T-151126.mdb", kHoy, false},
        {".AB151126.mdb-a1b2c3.tmp", kHoy, false},
        {"AB261226.mdb", QDate(2027, 1, 3), true}, // across the new year
        {"AB271226.mdb", QDate(2027, 1, 3), false},
    };
    for (const auto& c : casos) {
        const QStringList podadas = copias::copiasAPodar({u(c.nombre)}, c.hoy);
        EXPECT_EQ(podadas.size() == 1, c.borrada) << c.nombre;
    }
    // The edge case with the whole row of copies present.
    QStringList presentes;
    for (QDate d(2026, 11, 25); d <= kHoy; d = d.addDays(1))
        presentes << copias::nombreCopiaAutomatica(d);
    EXPECT_EQ(copias::copiasAPodar(presentes, kHoy),
              (QStringList{u("AB251126.mdb"), u("AB261126.mdb"), u("AB271126.mdb")}));
}

TEST(NombresCopia, RestoreListAndArchivesFollowTheNames)
{
    for (const char* si : {"T-051226.mdb", "T-051226.ZIP", "t-051226.rar", "AB051226.mdb", "trafos.mdb",
                           "trafos.zip", "PreRestauracion-051226-101500.mdb"})
        EXPECT_TRUE(copias::seRestaura(u(si))) << si;
    for (const char* no :
         {"T-0512267.mdb", "temporal.mdb", ".AB051226.mdb-abcdef.tmp", "AB051226.mdb.tmp", "notas.txt"})
        EXPECT_FALSE(copias::seRestaura(u(no))) << no;
    EXPECT_TRUE(copias::esComprimido(u("T-051226.ZIP")));
    EXPECT_TRUE(copias::esComprimido(u("x.rar")));
    EXPECT_FALSE(copias::esComprimido(u("T-051226.mdb")));
}

TEST(CopiaAutomatica, CopiesTheDayOnceAndPrunesOldCopies)
{
    Planta p;
    const QString carpeta = p.copias.filePath(u("AutoBack")); // created when missing
    ASSERT_TRUE(QDir().mkpath(carpeta));
    for (const char* vieja : {"AB271126.mdb", "AB281126.mdb", "AB0x1126.mdb"})
        QFile(QDir(carpeta).filePath(u(vieja))).open(QIODevice::WriteOnly);

    auto primera = mantenimiento::copiaAutomatica(p.archivo(), carpeta, kHoy);
    ASSERT_TRUE(primera.ok()) << primera.error().toStdString();
    EXPECT_EQ(primera.value().copia, QDir(carpeta).filePath(u("AB051226.mdb")));
    EXPECT_EQ(primera.value().podadas, QStringList{u("AB271126.mdb")});
    EXPECT_EQ(firmaContenido(primera.value().copia), p.firma);

    // A second close the same day leaves one copy, holding the file as it was then.
    p.cambiar();
    const QString despues = firmaContenido(p.archivo());
    ASSERT_NE(despues, p.firma);
    ASSERT_TRUE(mantenimiento::copiaAutomatica(p.archivo(), carpeta, kHoy).ok());
    EXPECT_EQ(firmaContenido(primera.value().copia), despues);
    EXPECT_EQ(nombresEn(carpeta), (QStringList{u("AB051226.mdb"), u("AB0x1126.mdb"), u("AB281126.mdb")}));
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(primera.value().copia).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(CopiaAutomatica, ADamagedDataFileLeavesTheDaysCopyAndTheOldCopies)
{
    Planta p;
    const QString carpeta = p.copias.path();
    ASSERT_TRUE(mantenimiento::copiaAutomatica(p.archivo(), carpeta, kHoy).ok());
    QFile(QDir(carpeta).filePath(u("AB011126.mdb"))).open(QIODevice::WriteOnly);
    const QByteArray buena = bytesDe(QDir(carpeta).filePath(u("AB051226.mdb")));
    ASSERT_TRUE(danar(p.archivo()));

    auto copia = mantenimiento::copiaAutomatica(p.archivo(), carpeta, kHoy);
    ASSERT_FALSE(copia.ok());
    EXPECT_TRUE(copia.error().contains(u("no pasó la comprobación"))) << copia.error().toStdString();
    EXPECT_EQ(bytesDe(QDir(carpeta).filePath(u("AB051226.mdb"))), buena);
    // Nothing pruned and no half-made file left behind.
    EXPECT_EQ(nombresEn(carpeta), (QStringList{u("AB011126.mdb"), u("AB051226.mdb")}));

    // A missing data file is an error too, and a folder that cannot be made.
    EXPECT_FALSE(mantenimiento::copiaAutomatica(p.copias.filePath(u("no/trafos.mdb")), carpeta, kHoy).ok());
    EXPECT_FALSE(mantenimiento::copiaAutomatica(p.archivo(), u("/proc/no-se-puede"), kHoy).ok());
}

TEST(Respaldo, PlainAndZipBackupsAreCompleteAndReplaceOnlyWhenAsked)
{
    Planta p;
    for (const bool zip : {false, true}) {
        auto hecho = mantenimiento::respaldar(p.archivo(), p.destino.path(), kHoy, zip, false);
        ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
        EXPECT_EQ(QFileInfo(hecho.value()).fileName(), zip ? u("T-051226.zip") : u("T-051226.mdb"));
        const QByteArray antes = bytesDe(hecho.value());

        // The same day again: refused unless replacing is asked; the old backup stays.
        p.cambiar(u("DELETE FROM Ensayos WHERE rowid = (SELECT min(rowid) FROM Ensayos)"));
        EXPECT_FALSE(mantenimiento::respaldar(p.archivo(), p.destino.path(), kHoy, zip, false).ok());
        EXPECT_EQ(bytesDe(hecho.value()), antes);
        ASSERT_TRUE(mantenimiento::respaldar(p.archivo(), p.destino.path(), kHoy, zip, true).ok());
        EXPECT_NE(bytesDe(hecho.value()), antes);

        // What the backup holds is the data file: restored into a fresh folder, it matches.
        QTemporaryDir otra;
        auto vuelta = mantenimiento::restaurar(hecho.value(), Database::rutaEn(otra.path()), p.copias.path(),
                                               QDateTime(kHoy, QTime(10, 0)));
        ASSERT_TRUE(vuelta.ok()) << vuelta.error().toStdString();
        EXPECT_EQ(firmaContenido(Database::rutaEn(otra.path())), firmaContenido(p.archivo()));
    }
    EXPECT_EQ(nombresEn(p.destino.path()), (QStringList{u("T-051226.mdb"), u("T-051226.zip")}));
    EXPECT_FALSE(
        mantenimiento::respaldar(p.archivo(), p.destino.filePath(u("falta")), kHoy, false, false).ok());
    // A folder where nothing can be written.
    EXPECT_FALSE(mantenimiento::respaldar(p.archivo(), u("/proc"), kHoy, true, true).ok());
}

TEST(Restauracion, ACheckedCandidateReplacesTheDataFileAfterASafetyCopy)
{
    Planta p;
    // Candidates in every form the restore reads; the data file then changes.
    const QString copia = p.destino.filePath(u("AB041226.mdb"));
    ASSERT_TRUE(mantenimiento::respaldar(p.archivo(), p.destino.path(), kHoy, false, false).ok());
    ASSERT_TRUE(QFile::rename(p.destino.filePath(u("T-051226.mdb")), copia));
    const QByteArray base = bytesDe(copia);
    ASSERT_TRUE(escribirZip(p.destino.filePath(u("T-041226.zip")),
                            {{u("leeme.txt"), "hola"}, {u("copias/dentro/TRAFOS.MDB"), base}}));
    ASSERT_TRUE(escribirRar(p.destino.filePath(u("T-031226.rar")), {{u("copias\\trafos.mdb"), base}}));
    p.cambiar();
    const QString cambiada = firmaContenido(p.archivo());

    int segundo = 0;
    for (const char* nombre : {"AB041226.mdb", "T-041226.zip", "T-031226.rar"}) {
        const QDateTime ahora(kHoy, QTime(10, 0, segundo++));
        auto hecho =
            mantenimiento::restaurar(p.destino.filePath(u(nombre)), p.archivo(), p.copias.path(), ahora);
        ASSERT_TRUE(hecho.ok()) << nombre << ": " << hecho.error().toStdString();
        EXPECT_EQ(firmaContenido(p.archivo()), p.firma) << nombre;
        EXPECT_EQ(QFileInfo(hecho.value().copiaPrevia).fileName(), copias::nombreCopiaPrevia(ahora))
            << nombre;
        EXPECT_FALSE(firmaContenido(hecho.value().copiaPrevia).isEmpty());
        // Nothing extracted is left beside the data file.
        EXPECT_EQ(nombresEn(p.datos.path()), QStringList{u("trafos.mdb")}) << nombre;
        p.cambiar(u("DELETE FROM Trafoge WHERE rowid = (SELECT max(rowid) FROM Trafoge)"));
    }
    // The first safety copy holds the data file as it was before the first restore.
    EXPECT_EQ(firmaContenido(p.copias.filePath(copias::nombreCopiaPrevia(QDateTime(kHoy, QTime(10, 0))))),
              cambiada);
}

TEST(Restauracion, ABadCandidateLeavesTheDataFileAsItWasAndSaysWhy)
{
    Planta p;
    const QByteArray base = bytesDe(p.archivo());
    QByteArray danada = base;
    danada.replace(int(danada.size() / 2 / 4096 * 4096), 4096, QByteArray(4096, '\x55'));
    const auto escribir = [&p](const char* nombre, const QByteArray& datos) {
        QFile f(p.destino.filePath(u(nombre)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(datos);
        return f.fileName();
    };
    QTemporaryDir ajena;
    {
        // A file of the engine without the program's tables.
        auto otra = Database::create(Database::rutaEn(ajena.path()));
        ASSERT_TRUE(otra.ok());
        auto db = Database::open(Database::rutaEn(ajena.path()));
        ASSERT_TRUE(db.ok());
        ASSERT_TRUE(db.value()->exec(u("DROP TABLE Mantenimiento")).ok());
    }
    ASSERT_TRUE(
        escribirZip(p.destino.filePath(u("dos.zip")), {{u("a/trafos.mdb"), base}, {u("b.mdb"), base}}));
    ASSERT_TRUE(escribirZip(p.destino.filePath(u("nada.zip")), {{u("trafos.txt"), base}}));
    ASSERT_TRUE(escribirZip(p.destino.filePath(u("danada.zip")), {{u("trafos.mdb"), danada}}));
    ASSERT_TRUE(escribirZip(p.destino.filePath(u("uno.zip")), {{u("trafos.mdb"), base}}));
    QByteArray cortado = bytesDe(p.destino.filePath(u("uno.zip")));
    cortado.truncate(cortado.size() / 2);

    const struct
    {
        QString ruta;
        const char* motivo;
    } casos[] = {
        {escribir("T-011226.mdb", danada), "dañado"},
        {escribir("T-021226.mdb", "esto no es una base de datos"), "no es una base de datos"},
        {Database::rutaEn(ajena.path()), "Mantenimiento"},
        {p.destino.filePath(u("dos.zip")), "más de una base de datos"},
        {p.destino.filePath(u("nada.zip")), "no contiene ninguna base de datos"},
        {p.destino.filePath(u("danada.zip")), "dañado"},
        {escribir("cortado.zip", cortado), "dañado"},
        {escribir("T-031226.rar", "Rar!\x1a\x07\x00 roto"), "No se puede restaurar"},
        {p.destino.filePath(u("falta.mdb")), "No se encuentra la Base de Datos en esa ubicación"},
        {p.archivo(), "No se puede copiar el Archivo a su mismo directorio"},
    };
    for (const auto& c : casos) {
        auto hecho =
            mantenimiento::restaurar(c.ruta, p.archivo(), p.copias.path(), QDateTime(kHoy, QTime(9, 0)));
        ASSERT_FALSE(hecho.ok()) << c.ruta.toStdString();
        EXPECT_TRUE(hecho.error().contains(u(c.motivo))) << hecho.error().toStdString();
        EXPECT_EQ(bytesDe(p.archivo()), base) << c.ruta.toStdString();
        EXPECT_EQ(nombresEn(p.datos.path()), QStringList{u("trafos.mdb")}) << c.ruta.toStdString();
        EXPECT_TRUE(nombresEn(p.copias.path()).isEmpty()) << c.ruta.toStdString();
    }
}

TEST(Restauracion, AMissingOrDamagedDataFileIsReplacedWholeAndKept)
{
    Planta p;
    const QString copia = p.destino.filePath(u("AB041226.mdb"));
    ASSERT_TRUE(QFile::copy(p.archivo(), copia));
    ASSERT_TRUE(danar(p.archivo()));
    const QByteArray danada = bytesDe(p.archivo());

    auto hecho = mantenimiento::restaurar(copia, p.archivo(), p.copias.path(), QDateTime(kHoy, QTime(9, 0)));
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    EXPECT_TRUE(mantenimiento::verificar(p.archivo()).ok());
    EXPECT_EQ(firmaContenido(p.archivo()), p.firma);
    EXPECT_EQ(bytesDe(hecho.value().copiaPrevia), danada);

    ASSERT_TRUE(QFile::remove(p.archivo()));
    hecho = mantenimiento::restaurar(copia, p.archivo(), p.copias.path(), QDateTime(kHoy, QTime(9, 1)));
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    EXPECT_TRUE(hecho.value().copiaPrevia.isEmpty());
    EXPECT_EQ(firmaContenido(p.archivo()), p.firma);
}

TEST(Restauracion, SafetyCopiesOnAnotherDiskAreCopiesOfTheOldFile)
{
    Planta p;
    QTemporaryDir otroDisco(u("/dev/shm/quorvela-XXXXXX"));
    if (!otroDisco.isValid() ||
        QStorageInfo(otroDisco.path()).device() == QStorageInfo(p.datos.path()).device())
        GTEST_SKIP() << "no hay un segundo sistema de archivos";
    const QString copia = p.destino.filePath(u("AB041226.mdb"));
    ASSERT_TRUE(QFile::copy(p.archivo(), copia));
    p.cambiar();
    const QString cambiada = firmaContenido(p.archivo());
    auto hecho = mantenimiento::restaurar(copia, p.archivo(), otroDisco.path(), QDateTime(kHoy, QTime(9, 0)));
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    EXPECT_EQ(firmaContenido(hecho.value().copiaPrevia), cambiada);
    EXPECT_EQ(firmaContenido(p.archivo()), p.firma);
    // A damaged file is kept byte for byte.
    ASSERT_TRUE(danar(p.archivo()));
    const QByteArray danada = bytesDe(p.archivo());
    hecho = mantenimiento::restaurar(copia, p.archivo(), otroDisco.path(), QDateTime(kHoy, QTime(9, 1)));
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    EXPECT_EQ(bytesDe(hecho.value().copiaPrevia), danada);
    EXPECT_EQ(QDir(otroDisco.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(Compactacion, RewritesTheFileSmallerWithTheSameContent)
{
    Planta p;
    p.cambiar(u("DELETE FROM Ensayos"));
    const QString firma = firmaContenido(p.archivo());
    const qint64 antes = QFileInfo(p.archivo()).size();
    // A temporary file of an earlier run, with a journal, is not taken for the new one.
    QFile viejo(p.datos.filePath(u("temporal.mdb")));
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("restos de una compactación anterior");
    viejo.close();
    QFile(p.datos.filePath(u("temporal.mdb-journal"))).open(QIODevice::WriteOnly);

    const Status st = mantenimiento::compactar(p.archivo());
    ASSERT_TRUE(st.ok()) << st.error().toStdString();
    EXPECT_LT(QFileInfo(p.archivo()).size(), antes);
    EXPECT_EQ(firmaContenido(p.archivo()), firma);
    EXPECT_TRUE(mantenimiento::verificar(p.archivo()).ok());
    EXPECT_EQ(nombresEn(p.datos.path()), QStringList{u("trafos.mdb")});
}

TEST(Compactacion, AFailureLeavesTheOldFileInPlace)
{
    Planta p;
    ASSERT_TRUE(danar(p.archivo()));
    const QByteArray danada = bytesDe(p.archivo());
    const Status st = mantenimiento::compactar(p.archivo());
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.error().contains(u("quedó como estaba"))) << st.error().toStdString();
    EXPECT_EQ(bytesDe(p.archivo()), danada);
    EXPECT_EQ(nombresEn(p.datos.path()), QStringList{u("trafos.mdb")});
    EXPECT_FALSE(mantenimiento::verificar(p.archivo()).ok());
    EXPECT_FALSE(mantenimiento::compactar(p.copias.filePath(u("trafos.mdb"))).ok());
}
