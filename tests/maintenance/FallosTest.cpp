// Crash and full-disk tests: every writing command runs under strace, once killed at each of
// its fsync/fdatasync and rename calls in turn and once with a full disk from a sample of its
// writes on; after each run the files must be in a state the user can live with.
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "maintenance/logic/ArchivoSeguro.h"
#include "maintenance/logic/Comprimido.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/NombresCopia.h"
#include "tests/maintenance/Firma.h"
#include "tests/support/Texto.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>

namespace {

const QStringList kSincronizacion{u("fsync"), u("fdatasync")};
const QStringList kRenombrado{u("rename"), u("renameat"), u("renameat2")};
const QStringList kEscritura{u("write"), u("pwrite64")};

// A copy of a file, byte for byte, for setting up the folders (nothing has them open).
void copiar(const QString& de, const QString& a)
{
    QFile::remove(a);
    ASSERT_TRUE(QFile::copy(de, a)) << de.toStdString();
    QFile(a).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

// The demo plant once, and a second version of it with other content.
struct Plantas
{
    Plantas()
    {
        EXPECT_TRUE(demo::createDemo(vieja.path()).ok());
        EXPECT_TRUE(demo::createDemo(nueva.path()).ok());
        auto db = Database::open(Database::rutaEn(nueva.path()));
        EXPECT_TRUE(db.ok());
        // Deleted rows leave free pages behind, so that compaction has work to do.
        EXPECT_TRUE(db.value()->exec(u("DELETE FROM Ensayos WHERE rowid % 3 = 0")).ok());
        firmaVieja = firmaContenido(archivoViejo());
        firmaNueva = firmaContenido(archivoNuevo());
        EXPECT_NE(firmaVieja, firmaNueva);
    }
    QString archivoViejo() const { return Database::rutaEn(vieja.path()); }
    QString archivoNuevo() const { return Database::rutaEn(nueva.path()); }
    QTemporaryDir vieja, nueva;
    QString firmaVieja, firmaNueva;
};

const Plantas& plantas()
{
    static const Plantas p;
    return p;
}

// One command of the program and the world it runs in, rebuilt before every run.
struct Escenario
{
    QTemporaryDir raiz;
    QString datos() const { return raiz.filePath(u("datos")); }
    QString archivo() const { return Database::rutaEn(datos()); }
    QString destino() const { return raiz.filePath(u("destino")); }
    QString xdg() const { return raiz.filePath(u("xdg")); }
    QString autoBack() const { return raiz.filePath(u("xdg/Quorvela/Quorvela/AutoBack")); }

    QStringList orden;                        // program and arguments
    std::function<void(Escenario&)> preparar; // the folders before the run
    QString firmaAntes;                       // the data file before
    QStringList firmasDatosValidas;           // what the data file may hold after
    QString copia;                            // the copy the command writes
    QByteArray copiaVieja;                    // that copy before the run
    QString firmaCopiaCompleta;               // what a complete copy holds
    QString firmaDatosTrasExito;              // the data file after a success, if it changes
    QStringList intactos;                     // other files the run must not check

    void rehacer()
    {
        QDir(raiz.path()).removeRecursively();
        QDir().mkpath(datos());
        QDir().mkpath(destino());
        QDir().mkpath(autoBack());
        preparar(*this);
        firmaAntes = firmaContenido(archivo());
        copiaVieja = copia.isEmpty() ? QByteArray() : bytesDe(copia);
    }
};

struct Corrida
{
    int codigo = -1;
    QMap<QString, int> llamadas; // syscall -> calls seen
    // syscall -> the numbers of its calls that write to a file on disk (a sanitizer's runtime
    // writes to its own pipes, and the standard output is no file: a full disk there is no test
    // of the program)
    QMap<QString, QList<int>> aDisco;
};

Corrida bajoStrace(const Escenario& e, const QString& inyectar, bool contar)
{
    QTemporaryDir dir;
    const QString registro = dir.filePath(u("strace.log"));
    QStringList args{u("-f"),
                     u("-qq"),
                     u("-y"),
                     u("-o"),
                     registro,
                     u("-e"),
                     u("trace=") + (kSincronizacion + kRenombrado + kEscritura).join(QLatin1Char(','))};
    if (!inyectar.isEmpty())
        args << u("-e") << u("inject=") + inyectar;
    args << u("--") << e.orden;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u("XDG_DATA_HOME"), e.xdg());
    p.setProcessEnvironment(env);
    p.start(u("strace"), args);
    p.waitForFinished(120000);
    Corrida c;
    c.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (contar) {
        QFile log(registro);
        if (log.open(QIODevice::ReadOnly)) {
            static const QRegularExpression linea(u("^\\d+\\s+(\\w+)\\((?:\\d+<([^>]*)>)?"));
            while (!log.atEnd()) {
                const auto m = linea.match(QString::fromUtf8(log.readLine()));
                if (!m.hasMatch())
                    continue;
                const QString llamada = m.captured(1);
                const int n = ++c.llamadas[llamada];
                const QString ruta = m.captured(2);
                if (kEscritura.contains(llamada) && ruta.startsWith(QLatin1Char('/')) &&
                    !ruta.startsWith(u("/dev/")))
                    c.aDisco[llamada] << n;
            }
        }
    }
    return c;
}

struct Resumen
{
    int muertes = 0, discoLleno = 0, bien = 0;
};

// The state after a run, whatever happened to it: empty when it is one the user can live
// with, else what is wrong.
QString comprobarEstado(const Escenario& e, int codigo)
{
    // The data file opens as the program opens it (finishing any write left in its journal),
    // passes the integrity check and holds the old or the new content.
    {
        auto db = Database::open(e.archivo());
        if (!db)
            return u("el archivo de datos no abre: ") + db.error();
    }
    if (const Status st = mantenimiento::verificar(e.archivo()); !st)
        return u("el archivo de datos no está sano: ") + st.error();
    const QString firma = firmaContenido(e.archivo());
    if (!e.firmasDatosValidas.contains(firma))
        return u("el archivo de datos no tiene ni el contenido viejo ni el nuevo");
    if (codigo == 0 && !e.firmaDatosTrasExito.isEmpty() && firma != e.firmaDatosTrasExito)
        return u("éxito informado sin el archivo de datos restaurado");

    // The copy is absent (when there was none), the old one, or complete; a reported success
    // has made it.
    if (!e.copia.isEmpty()) {
        QString estado = u("ausente");
        if (QFileInfo::exists(e.copia)) {
            if (!e.copiaVieja.isEmpty() && bytesDe(e.copia) == e.copiaVieja) {
                estado = u("vieja");
            } else {
                QString firmaCopia;
                if (copias::esComprimido(e.copia)) {
                    QTemporaryDir fuera;
                    auto sacada = comprimido::extraerBase(e.copia, fuera.path());
                    firmaCopia = sacada ? firmaContenido(sacada.value()) : QString();
                } else if (mantenimiento::verificar(e.copia)) {
                    firmaCopia = firmaContenido(e.copia);
                }
                if (firmaCopia != e.firmaCopiaCompleta)
                    return u("la copia ") + e.copia + u(" está a medias");
                estado = u("completa");
            }
        }
        if (codigo == 0 && estado != u("completa"))
            return u("éxito informado con la copia ") + estado;
        // An existing copy is only ever replaced whole, never deleted first.
        if (!e.copiaVieja.isEmpty() && estado == u("ausente"))
            return u("la copia anterior desapareció");
    }

    // Every other file that a list of copies would show is a complete copy; the rest are
    // temporary files that no list shows.
    for (const QString& carpeta : {e.datos(), e.destino(), e.autoBack()}) {
        for (const QString& nombre : QDir(carpeta).entryList(QDir::Files | QDir::Hidden)) {
            const QString ruta = QDir(carpeta).filePath(nombre);
            if (ruta == e.copia || ruta == e.archivo() || e.intactos.contains(ruta))
                continue;
            if (copias::seRestaura(nombre) || copias::esCopiaAutomatica(nombre)) {
                if (!mantenimiento::verificar(ruta) || !e.firmasDatosValidas.contains(firmaContenido(ruta)))
                    return u("un archivo que se toma por copia no lo es: ") + nombre;
                continue;
            }
            if (archivo::esTemporal(nombre) || nombre == u("temporal.mdb") || nombre.endsWith(u("-journal")))
                continue;
            return u("archivo inesperado: ") + nombre;
        }
    }
    return {};
}

} // namespace

class Fallos : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        QProcess p;
        p.start(u("strace"), {u("-o"), u("/dev/null"), u("true")});
        strace = p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    // Runs the command once clean to count its calls, then once per fault, checking after each
    // run and after a clean run that follows it (the next run must not trip over what is left).
    void probar(Escenario& e, const char* nombre)
    {
        ASSERT_TRUE(strace) << "strace no funciona en esta máquina (scripts/deps.sh lo instala)";
        e.rehacer();
        const Corrida limpia = bajoStrace(e, {}, true);
        ASSERT_EQ(limpia.codigo, 0) << nombre << ": la orden falla sin fallos inyectados";
        const QString inicial = comprobarEstado(e, 0);
        ASSERT_TRUE(inicial.isEmpty()) << nombre << ": " << inicial.toStdString();

        struct Fallo
        {
            QString inyeccion;
            bool muerte;
        };
        QList<Fallo> fallos;
        for (const QString& llamada : kSincronizacion + kRenombrado)
            for (int n = 1; n <= limpia.llamadas.value(llamada); ++n)
                fallos.append({u("%1:signal=KILL:when=%2").arg(llamada).arg(n), true});
        for (const QString& llamada : kEscritura) {
            // A sample spread over the program's writes: the first, the last and a few between.
            const QList<int> todas = limpia.aDisco.value(llamada);
            QList<int> muestra;
            for (int k = 0; k < 6 && !todas.isEmpty(); ++k) {
                const int n = todas[(todas.size() - 1) * k / 5];
                if (!muestra.contains(n))
                    muestra << n;
            }
            // SQLite writes its files with pwrite64 alone: from the sampled one on, the disk stays
            // full. Plain writes are also a sanitizer's own pipe: only the sampled one fails.
            for (const int n : muestra)
                fallos.append({u("%1:error=ENOSPC:when=%2%3")
                                   .arg(llamada)
                                   .arg(n)
                                   .arg(llamada == u("write") ? u("") : u("+")),
                               false});
        }
        ASSERT_GT(fallos.size(), 3) << nombre;

        Resumen r;
        for (const Fallo& f : fallos) {
            e.rehacer();
            const Corrida c = bajoStrace(e, f.inyeccion, false);
            const QString estado = comprobarEstado(e, c.codigo);
            EXPECT_TRUE(estado.isEmpty())
                << nombre << " con " << f.inyeccion.toStdString() << ": " << estado.toStdString();
            // After the fault, a clean run succeeds and leaves the new state.
            const Corrida otra = bajoStrace(e, {}, false);
            EXPECT_EQ(otra.codigo, 0) << nombre << " después de " << f.inyeccion.toStdString();
            const QString despues = comprobarEstado(e, otra.codigo);
            EXPECT_TRUE(despues.isEmpty())
                << nombre << " después de " << f.inyeccion.toStdString() << ": " << despues.toStdString();
            (f.muerte ? r.muertes : r.discoLleno)++;
            if (estado.isEmpty())
                ++r.bien;
        }
        std::cout << "[fallos] " << nombre << ": " << r.muertes << " muertes en fsync/rename, "
                  << r.discoLleno << " discos llenos, " << r.bien << " de " << fallos.size()
                  << " estados correctos\n";
    }

    static inline bool strace = false;
};

namespace {

QString hoy()
{
    return QDate::currentDate().toString(Qt::ISODate);
}

// The data folder holds the new plant; the copy the command writes exists with the old one.
void comunes(Escenario& e, const QString& copia)
{
    const Plantas& p = plantas();
    e.copia = copia;
    e.firmasDatosValidas = {p.firmaNueva};
    e.firmaCopiaCompleta = p.firmaNueva;
    e.preparar = [](Escenario& e) { copiar(plantas().archivoNuevo(), e.archivo()); };
}

} // namespace

TEST_F(Fallos, RespaldarPlainCopy)
{
    Escenario e;
    comunes(e, e.destino() + u("/") + copias::nombreRespaldo(QDate::currentDate(), false));
    e.orden = {u(QUORVELA_CLI), u("respaldar"), e.datos(), e.destino(), u("--reemplazar")};
    e.preparar = [](Escenario& e) {
        copiar(plantas().archivoNuevo(), e.archivo());
        copiar(plantas().archivoViejo(), e.copia);
    };
    probar(e, "respaldar");
}

TEST_F(Fallos, RespaldarCompressed)
{
    Escenario e;
    comunes(e, e.destino() + u("/") + copias::nombreRespaldo(QDate::currentDate(), true));
    e.orden = {u(QUORVELA_CLI), u("respaldar"), e.datos(), e.destino(), u("--comprimir"), u("--reemplazar")};
    e.preparar = [](Escenario& e) {
        copiar(plantas().archivoNuevo(), e.archivo());
        ASSERT_TRUE(comprimido::comprimir(plantas().archivoViejo(), e.copia).ok());
    };
    probar(e, "respaldar --comprimir");
}

TEST_F(Fallos, RestaurarCopyAndArchive)
{
    for (const bool zip : {false, true}) {
        Escenario e;
        comunes(e, QString());
        e.firmasDatosValidas = {plantas().firmaVieja, plantas().firmaNueva};
        e.firmaDatosTrasExito = plantas().firmaVieja;
        const QString candidato = e.destino() + (zip ? u("/T-041226.zip") : u("/AB041226.mdb"));
        e.intactos = {candidato};
        e.orden = {u(QUORVELA_CLI), u("restaurar"), e.datos(), candidato};
        e.preparar = [candidato, zip](Escenario& e) {
            copiar(plantas().archivoNuevo(), e.archivo());
            if (zip)
                ASSERT_TRUE(comprimido::comprimir(plantas().archivoViejo(), candidato).ok());
            else
                copiar(plantas().archivoViejo(), candidato);
        };
        probar(e, zip ? "restaurar (zip)" : "restaurar");
    }
}

TEST_F(Fallos, Compactar)
{
    Escenario e;
    comunes(e, e.autoBack() + u("/") + copias::nombreCopiaAutomatica(QDate::currentDate()));
    e.orden = {u(QUORVELA_CLI), u("compactar"), e.datos()};
    e.preparar = [](Escenario& e) {
        copiar(plantas().archivoNuevo(), e.archivo());
        copiar(plantas().archivoViejo(), e.copia);
    };
    probar(e, "compactar");
}

TEST_F(Fallos, CopiaDeSalida)
{
    Escenario e;
    comunes(e, e.autoBack() + u("/") + copias::nombreCopiaAutomatica(QDate::currentDate()));
    const QString vieja =
        e.autoBack() + u("/") + copias::nombreCopiaAutomatica(QDate::currentDate().addDays(-10));
    e.firmasDatosValidas = {plantas().firmaNueva, plantas().firmaVieja};
    e.orden = {u(QUORVELA_COPIA_SALIDA), e.archivo(), e.autoBack(), hoy()};
    e.preparar = [vieja](Escenario& e) {
        copiar(plantas().archivoNuevo(), e.archivo());
        copiar(plantas().archivoViejo(), e.copia);
        copiar(plantas().archivoViejo(), vieja);
    };
    probar(e, "copia de salida");
}
