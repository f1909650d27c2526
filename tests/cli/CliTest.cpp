#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "diagnosis/logic/Duval.h"
#include "diagnosis/logic/MetodosGas.h"
#include "diagnosis/logic/ValorNumerico.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

struct CliRun
{
    int code;
    QString out, err;
};

// Runs quorvela-cli with its words as given (formulas hold blanks) and, optionally, a locale;
// "> FILE" at the end sends the standard output to FILE. enHijo runs in the child before the
// program starts.
CliRun cliPalabras(QStringList words, const QString& locale = QString(),
                   const std::function<void()>& enHijo = {})
{
    QProcess p;
    if (words.size() >= 2 && words[words.size() - 2] == u(">")) {
        p.setStandardOutputFile(words.takeLast());
        words.removeLast();
    }
    if (enHijo)
        p.setChildProcessModifier(enHijo);
    // The automatic copies go to the user's data folder: a temporary one here.
    static QTemporaryDir datosUsuario;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u("XDG_DATA_HOME"), datosUsuario.path());
    if (!locale.isEmpty())
        env.insert(u("LC_ALL"), locale);
    p.setProcessEnvironment(env);
    p.start(u(QUORVELA_CLI), words);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

// The same with the words of orden (temporary folders hold no blanks).
CliRun cli(const QString& orden, const std::function<void()>& enHijo = {})
{
    return cliPalabras(orden.split(QLatin1Char(' '), Qt::SkipEmptyParts), QString(), enHijo);
}

std::shared_ptr<Database> abrir(const QString& folder)
{
    auto db = Database::open(Database::rutaEn(folder));
    EXPECT_TRUE(db.ok()) << db.error().toStdString();
    return db.ok() ? db.value() : nullptr;
}

// The first value of a query, as text.
QString primero(const Database& db, const QString& sql)
{
    return queryRows(db, sql).value(0).value(0).toString();
}

// Every file of a folder, hidden ones too.
QStringList archivos(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray contenido(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

} // namespace

using namespace diagnostico;

TEST(Cli, RefusedCommandsExitNonZeroWithASpanishMessageAndTouchNoFile)
{
    QTemporaryDir dir, vacia, ajena, nueva;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    ASSERT_TRUE(Database::create(Database::rutaEn(nueva.path())).ok());
    const QString ajeno = Database::rutaEn(ajena.path());
    {
        QFile otro(ajeno);
        ASSERT_TRUE(otro.open(QIODevice::WriteOnly));
        otro.write("Standard Jet DB, not ours");
    }
    // {d} the demo plant, {v} an empty folder, {a} a folder with a foreign file, {n} no folder,
    // {e} a new empty data file, {c} an existing transformer code. An output that cannot be
    // written fails the command that made it.
    const char* const cases[][2] = {
        {"crear {n}", "No existe la carpeta"},
        {"crear {d}", "no se sobrescribe"},
        {"demo {d}", "no se sobrescribe"},
        {"demo {a} --transformadores 1", "no se sobrescribe"},
        {"demo {v} --transformadores muchos", "no es un número entero"},
        {"demo {v} --transformadores 40000", "La opción --transformadores debe estar entre 0 y 32767"},
        {"demo {v} --transformadores -1", "La opción --transformadores debe estar entre 0 y 32767"},
        {"demo {v} --transformadores 1 --ensayos-por-trafo 1001",
         "La opción --ensayos-por-trafo debe estar entre 0 y 1000"},
        {"demo {v} --transformadores 1 --revisiones-por-trafo 5000",
         "La opción --revisiones-por-trafo debe estar entre 0 y 1000"},
        {"demo {v} --transformadores 1 --mantenimientos-por-trafo 1001",
         "La opción --mantenimientos-por-trafo debe estar entre 0 y 1000"},
        {"demo {v} --transformadores 1 --semilla 4294967296",
         "La opción --semilla debe estar entre 0 y 4294967295"},
        {"demo {v} --colores 3", "Opción desconocida: --colores"},
        {"demo {v} --transformadores", "Falta el valor"},
        {"borrar {d}", "Orden desconocida: borrar"},
        {"xyz", "Orden desconocida: xyz"},
        {"xyz --help", "Orden desconocida: xyz"},
        {"", "Uso: quorvela-cli ORDEN"},
        {"crear", "Uso: quorvela-cli crear DIR"},
        {"version > /dev/full", "No se pudo escribir la salida: no queda espacio en el dispositivo"},
        {"--help > /dev/full", "No se pudo escribir la salida"},
        {"evaluar {d} --codigo {c} > /dev/full", "No se pudo escribir la salida"},
        {"diagnosticar {e} > /dev/full", "No se pudo escribir la salida"},
        {"diagnosticar {n}", "No existe la carpeta"},
        {"diagnosticar {v}", "No se encuentra el archivo de datos"},
        {"diagnosticar {a}", "no tiene el formato SQLite"},
        {"diagnosticar {d} --sobra", "Uso:"},
        {"evaluar {d} --codigo 9999", "No existe el transformador de código 9999"},
        {"evaluar {d} --codigo -32768", "No existe el transformador de código -32768"},
        {"evaluar {d} --codigo {c} --fecha 1990-01-01", "no tiene ningún ensayo del 01/01/1990"},
        {"evaluar {d} --codigo {c} --fecha 31/12/2024", "no es válida"},
        {"evaluar {d} --codigo abc", "no es un código de transformador válido"},
        {"evaluar {d} --codigo 0", "no es un código de transformador válido"},
        {"evaluar {d} --codigo 32768", "no es un código de transformador válido"},
        {"evaluar {d} --fecha 2024-01-01", "Falta la opción --codigo"},
        {"evaluar {d} --codigo", "Falta el valor"},
        {"evaluar {d} --color 1", "Opción desconocida"},
        {"evaluar {v} --codigo {c}", "No se encuentra el archivo de datos"},
        {"buscar {d} --linea Trafoge.[AREA]=PUERTO", "La Busqueda Generó Error o no fué bien construida"},
        {"buscar {d} --abs {n}", "Error al Abrir Archivo"},
        {"buscar {d} --linea", "Falta el valor"},
        {"seleccionar {d} --fecha 2024-01-01", "Falta la opción --operador"},
        {"seleccionar {d} --operador => --fecha 2024-01-01", "no es válida"},
        {"seleccionar {d} --operador = --fecha 20/05/2003", "no es válida"},
        {"seleccionar {d} --operador =", "Falta la opción --fecha"},
        {"respaldar {d} {n}", "No existe la carpeta"},
        {"respaldar {n} {v}", "No existe la carpeta"},
        {"respaldar {d} {v} --cifrar", "Opción desconocida: --cifrar"},
        {"respaldar {d}", "Uso: quorvela-cli respaldar DIR DESTINO"},
        {"respaldar {a} {v} --comprimir", "no es una base de datos"},
        {"restaurar {d} {a}/trafos.mdb", "no tiene el formato SQLite"},
        {"restaurar {d}", "Uso: quorvela-cli restaurar DIR ARCHIVO"},
        {"compactar {n}", "No existe la carpeta"},
        {"compactar {a}", "No se compactó"},
        {"verificar {a}", "no tiene el formato SQLite"},
        {"verificar {v}", "No se encuentra el archivo de datos"},
        {"importar {j} {d}", "no se sobrescribe"},
        {"importar {n} {v}", "No se encuentra el archivo"},
        {"importar {a}/trafos.mdb {v}", "no es una base de datos Jet"},
        {"importar {j} {v} --rapido", "Opción desconocida: --rapido"},
        {"importar {j}", "Uso: quorvela-cli importar ORIGEN.mdb DIR"},
    };
    const QString codigo = primero(*abrir(dir.path()), u("SELECT min(\"CÓDIGO\") FROM Trafoge"));
    const QByteArray plantaAntes = contenido(Database::rutaEn(dir.path()));
    for (const auto& [orden, expected] : cases) {
        const CliRun r = cli(u(orden)
                                 .replace(u("{d}"), dir.path())
                                 .replace(u("{v}"), vacia.path())
                                 .replace(u("{a}"), ajena.path())
                                 .replace(u("{n}"), dir.filePath(u("no-existe")))
                                 .replace(u("{e}"), nueva.path())
                                 .replace(u("{c}"), codigo)
                                 .replace(u("{j}"), u(QUORVELA_MUESTRAS_MDB "/jet3-nwind.mdb")));
        EXPECT_NE(r.code, 0) << orden;
        EXPECT_TRUE(r.err.contains(u(expected))) << orden << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << orden << ": " << r.out.toStdString();
    }
    EXPECT_EQ(archivos(vacia.path()), QStringList()); // no data file, no temporary
    EXPECT_EQ(archivos(ajena.path()), QStringList{Database::nombreArchivo()});
    EXPECT_EQ(contenido(ajeno), QByteArray("Standard Jet DB, not ours"));
    EXPECT_TRUE(contenido(Database::rutaEn(dir.path())) == plantaAntes);
}

// --help, alone or after a command, answers on the standard output and wins over the work asked.
TEST(Cli, HelpDescribesEveryCommandAndItsOptions)
{
    const std::vector<const char*> todas = {"crear",     "demo",      "diagnosticar", "evaluar",
                                            "importar",  "buscar",    "seleccionar",  "respaldar",
                                            "restaurar", "compactar", "verificar",    "version",
                                            "--help",    "informe",   "grafico"};
    const std::pair<const char*, std::vector<const char*>> casos[] = {
        {"--help", todas},
        {"-h", todas},
        {"crear --help", {"crear DIR", "vacío"}},
        {"demo --help",
         {"demo DIR", "--transformadores N", "de 0 a 32767", "--ensayos-por-trafo N",
          "--revisiones-por-trafo N", "--mantenimientos-por-trafo N", "de 0 a 1000", "--semilla N",
          "--help"}},
        {"demo /no/existe --transformadores 99999 -h", {"--transformadores N"}},
        {"diagnosticar --help", {"diagnosticar DIR"}},
        {"informe --help",
         {"informe DIR NOMBRE --pdf SALIDA", "--formula F", "--formula2 F2", "trafos2.rpt"}},
        {"evaluar /no/existe --codigo 5 --help", {"--codigo N", "--fecha AAAA-MM-DD", "JSON"}},
        {"version --help", {"versión"}},
        {"respaldar --help", {"respaldar DIR DESTINO", "--comprimir", "--reemplazar", "T-ddmmaa.zip"}},
        {"verificar --help", {"verificar DIR", "Sale con 0 solo si"}},
        {"importar --help",
         {"importar ORIGEN.mdb DIR", "--diagnosticar", "importacion.txt", "importacion-apartadas.csv"}},
    };
    for (const auto& [orden, palabras] : casos) {
        const CliRun r = cli(u(orden));
        EXPECT_EQ(r.code, 0) << orden;
        EXPECT_TRUE(r.err.isEmpty()) << orden << ": " << r.err.toStdString();
        for (const char* palabra : palabras)
            EXPECT_TRUE(r.out.contains(u(palabra))) << orden << " lacks " << palabra << " in\n"
                                                    << r.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(u("/no/existe")));
}

// buscar and seleccionar print what the search selects on the demo plant, lines from a saved
// search first; a selection inside a sub-group stays inside it.
TEST(Cli, BuscarYSeleccionarEscribenElSubgrupoYLaSeleccion)
{
    QTemporaryDir dir;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    auto correr = [&](const QStringList& args) {
        const CliRun r = cliPalabras(args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    };
    const QString abs = dir.filePath(u("sellados.abs"));
    {
        QFile f(abs);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Trafoge.[TIPO] = 'SELLADO'\r\n");
    }
    auto db = abrir(dir.path());
    QStringList esperados;
    for (const QVariantList& f :
         queryRows(*db, u("SELECT \"CÓDIGO\" FROM Trafoge WHERE TIPO = 'SELLADO' OR \"CÓDIGO\" IN "
                          "(SELECT \"Código\" FROM Ensayos WHERE Acidez > 0.1) ORDER BY 1")))
        esperados << f.value(0).toString();
    ASSERT_FALSE(esperados.isEmpty());
    const QJsonObject b =
        correr({u("buscar"), dir.path(), u("--abs"), abs, u("--linea"), u("Or Ensayos.[Acidez] > 0.1")});
    QStringList codigos;
    for (const QJsonValue& c : b.value(u("codigos")).toArray())
        codigos << QString::number(c.toInteger());
    EXPECT_EQ(codigos, esperados);
    QStringList partes;
    for (const QString& c : esperados)
        partes << u("({Trafoge.CÓDIGO}=%1)").arg(c);
    EXPECT_EQ(b.value(u("formula_trafo")).toString(), partes.join(u(" or ")));
    EXPECT_TRUE(b.value(u("filtro_codigos")).toString().startsWith(u("(Código =%1)").arg(esperados.first())));
    // No match: no codes, the formulas of the whole plant.
    const QJsonObject nada = correr({u("buscar"), dir.path(), u("--linea"), u("Trafoge.[AREA] = 'NINGUNA'")});
    EXPECT_TRUE(nada.value(u("codigos")).toArray().isEmpty());
    EXPECT_EQ(nada.value(u("formula_trafo")).toString(), u("1=1"));

    const QJsonObject s = correr({u("seleccionar"), dir.path(), u("--operador"), u(">="), u("--fecha"),
                                  u("2025-01-01"), u("--abs"), abs});
    EXPECT_EQ(s.value(u("formula_ensayos")).toString(), u("{Ensayos.fecha}>=DATE(2025,01,01)"));
    const QString sellados = u("SELECT \"CÓDIGO\" FROM Trafoge WHERE TIPO = 'SELLADO'");
    const QList<QVariantList> filas = queryRows(
        *db, u("SELECT \"Código\", Fecha FROM Ensayos WHERE Fecha >= '2025-01-01' AND \"Código\" IN (%1) "
               "ORDER BY 1, 2 DESC")
                 .arg(sellados));
    const QJsonArray ensayos = s.value(u("ensayos")).toArray();
    ASSERT_EQ(ensayos.size(), filas.size());
    for (int i = 0; i < filas.size(); ++i)
        EXPECT_EQ(ensayos.at(i).toArray(),
                  (QJsonArray{filas.at(i).at(0).toLongLong(), filas.at(i).at(1).toString()}));
    for (const QJsonValue& c : s.value(u("codigos")).toArray())
        EXPECT_EQ(primero(*db, u("SELECT TIPO FROM Trafoge WHERE \"CÓDIGO\" = %1").arg(c.toInteger())),
                  u("SELLADO"));
}

// A demo that fails midway leaves neither a data file nor its temporary; one interrupted leaves
// no data file. Root ignores read-only folders, so the disk fills through a file size limit.
TEST(Cli, AFailedOrInterruptedDemoLeavesNoDataFile)
{
    QTemporaryDir dir;
    const QString llena = dir.filePath(u("llena"));
    const CliRun r = cli(u("demo %1 --transformadores 300 --ensayos-por-trafo 20").arg(llena), [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{256 * 1024, 256 * 1024};
        setrlimit(RLIMIT_FSIZE, &limite);
    });
    EXPECT_NE(r.code, 0);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(archivos(llena), QStringList());
    // Killed as soon as it has begun writing a plant that takes a while.
    const QString cortada = dir.filePath(u("cortada"));
    QProcess p;
    p.start(u(QUORVELA_CLI),
            {u("demo"), cortada, u("--transformadores"), u("32767"), u("--ensayos-por-trafo"), u("100")});
    ASSERT_TRUE(p.waitForStarted());
    while (archivos(cortada).isEmpty() && p.state() == QProcess::Running)
        QThread::msleep(2);
    p.kill();
    p.waitForFinished();
    EXPECT_EQ(p.exitStatus(), QProcess::CrashExit);
    EXPECT_FALSE(QFile::exists(Database::rutaEn(cortada)));
}

// The Jet 3 sample with two of its tables renamed byte for byte as the data model's: a file of
// the earlier program's shape as far as its tables go, though no row of it has a transformer code.
QString plantaJet(const QString& carpeta)
{
    QByteArray b = contenido(u(QUORVELA_MUESTRAS_MDB "/jet3-nwind.mdb"));
    b.replace("Order Details", "Mantenimiento").replace("Ums\xe4tze", "Trafoge");
    const QString ruta = QDir(carpeta).filePath(u("planta.mdb"));
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(b) == b.size());
    return ruta;
}

TEST(Cli, ImportarConvertsAJetFileSettingAsideWhatTheNewFileCannotHold)
{
    QTemporaryDir dir;
    const QString origen = plantaJet(dir.path());
    const QByteArray antes = contenido(origen);
    const QString carpeta = dir.filePath(u("nueva"));
    const CliRun r = cli(u("importar %1 %2 --diagnosticar").arg(origen, carpeta));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    for (const char* debe : {"Importación terminada", "Trafoge: 0 importadas, 830 apartadas",
                             "Mantenimiento: 0 importadas, 2155 apartadas", "importacion-apartadas.csv",
                             "importacion.txt", "Diagnóstico general terminado: 0 transformadores"})
        EXPECT_TRUE(r.out.contains(u(debe))) << debe << " en " << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(u("Importando Mantenimiento: 2155/2155"))) << r.err.toStdString();
    auto db = abrir(carpeta);
    ASSERT_TRUE(db);
    EXPECT_EQ(primero(*db, u("SELECT (SELECT count(*) FROM Trafoge) + (SELECT count(*) FROM Mantenimiento)")),
              u("0"));
    const QString informe = QString::fromUtf8(contenido(QDir(carpeta).filePath(u("importacion.txt"))));
    // The report names the file and its version; the CSV holds the real file's values. What they
    // count and list is pinned by the importer's own tests.
    for (const char* debe : {"Origen: ", "(Jet 3)"})
        EXPECT_TRUE(informe.contains(u(debe))) << debe;
    const QString csv = QString::fromUtf8(contenido(QDir(carpeta).filePath(u("importacion-apartadas.csv"))));
    EXPECT_TRUE(csv.contains(u("Mantenimiento,1,no tiene Código,10248,11,14,12,0\r\n")))
        << csv.left(400).toStdString();
    EXPECT_TRUE(contenido(origen) == antes);
    // The Jet 4 sample as it is: none of its tables is the data model's, so it converts to an
    // empty file, and the command says so.
    const QString vacia = dir.filePath(u("jet4"));
    const CliRun m = cli(u("importar %1/jet4-fechas.mdb %2").arg(u(QUORVELA_MUESTRAS_MDB), vacia));
    ASSERT_EQ(m.code, 0) << m.err.toStdString();
    EXPECT_TRUE(m.out.contains(u("Aviso: el archivo no tiene ninguna de las tablas"))) << m.out.toStdString();
    const QString texto = QString::fromUtf8(contenido(QDir(vacia).filePath(u("importacion.txt"))));
    EXPECT_TRUE(texto.contains(u("DateTest (6 filas)")) && texto.contains(u("(Jet 4)")))
        << texto.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(vacia).filePath(u("importacion-apartadas.csv"))));
    auto vaciaDb = abrir(vacia);
    ASSERT_TRUE(vaciaDb);
    EXPECT_EQ(primero(*vaciaDb, u("SELECT count(*) FROM Trafoge")), u("0"));
    // Once there, the data file is not overwritten by a second import.
    const CliRun otra = cli(u("importar %1 %2").arg(origen, carpeta));
    EXPECT_NE(otra.code, 0);
    EXPECT_TRUE(otra.err.contains(u("no se sobrescribe"))) << otra.err.toStdString();
}

// Killed at each of its disk syncs and renames in turn, an import leaves either no data file or
// the complete one, and the original as it was.
TEST(Cli, AnImportKilledAtAnyStepLeavesNoPartialDataFile)
{
    QTemporaryDir dir;
    const QString origen = plantaJet(dir.path());
    const QByteArray antes = contenido(origen);
    const QString llamadas = u("fsync,fdatasync,rename,renameat,renameat2,link,linkat");
    bool algunaSinArchivo = false, algunaCompleta = false;
    for (int n = 1; n <= 40 && !algunaCompleta; ++n) {
        const QString carpeta = dir.filePath(u("corte%1").arg(n));
        QProcess p;
        p.start(u("strace"), {u("-f"), u("-o"), u("/dev/null"), u("-e"), u("trace=") + llamadas, u("-e"),
                              u("inject=%1:signal=KILL:when=%2").arg(llamadas).arg(n), u(QUORVELA_CLI),
                              u("importar"), origen, carpeta});
        ASSERT_TRUE(p.waitForFinished(120000));
        if (!QFile::exists(Database::rutaEn(carpeta))) {
            algunaSinArchivo = true;
        } else {
            auto db = abrir(carpeta);
            ASSERT_TRUE(db) << n;
            algunaCompleta = true;
        }
        EXPECT_TRUE(contenido(origen) == antes) << n;
    }
    EXPECT_TRUE(algunaSinArchivo);
    EXPECT_TRUE(algunaCompleta);
}

// crear makes an empty data file; demo hands its size and seed to the generator.
TEST(Cli, CrearAndDemoMakeThePlantAskedForAndVersionAnswers)
{
    const QString demo = u("demo %1 --transformadores 50 --ensayos-por-trafo 3 --revisiones-por-trafo 2 "
                           "--mantenimientos-por-trafo 1 --semilla ");
    const QString ordenes[] = {u("crear %1"), demo + u("7"), demo + u("7"), demo + u("8")};
    QTemporaryDir carpetas[4];
    QString muestras[4];
    for (int i = 0; i < 4; ++i) {
        const CliRun r = cli(ordenes[i].arg(carpetas[i].path()));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        auto generada = abrir(carpetas[i].path());
        ASSERT_TRUE(generada);
        EXPECT_EQ(primero(*generada, u("SELECT (SELECT count(*) FROM Trafoge) || ' ' || (SELECT "
                                       "count(*) FROM Ensayos) || ' ' || (SELECT count(*) FROM "
                                       "Revision) || ' ' || (SELECT count(*) FROM Mantenimiento)")),
                  i == 0 ? u("0 0 0 0") : u("50 150 100 50"));
        muestras[i] = primero(*generada, u("SELECT group_concat(AREA || ESTADO) FROM Trafoge"));
    }
    EXPECT_EQ(muestras[1], muestras[2]);
    EXPECT_NE(muestras[1], muestras[3]);
    const CliRun r = cli(u("version"));
    EXPECT_TRUE(r.code == 0 && r.out.startsWith(u("Quorvela "))) << r.out.toStdString();
}

// The demo plant covers every state and every gas-method fault, and carries the expected state,
// severity and diagnosis of each of its scenarios. evaluar reads a transformer's newest test, or the
// one of --fecha, and finds what the diagnosis stored; a run from blank values arrives at the
// stored states and leaves the manual ones alone.
TEST(Cli, DemoPlantCoversEveryScenarioWhichEvaluarAndDiagnosticarReproduce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    auto db = abrir(dir.path());
    ASSERT_TRUE(db);
    const char* const consultas[][2] = {
        {"SELECT group_concat(ESTADO) FROM (SELECT DISTINCT ESTADO FROM Trafoge ORDER BY 1)", "0,1,2,3"},
        {"SELECT count(*) BETWEEN 35 AND 50 AND count(DISTINCT TIPO) = 4 FROM Trafoge", "1"},
        {"SELECT count(DISTINCT \"TIPO AISLANTE\") FROM Trafoge WHERE \"TIPO AISLANTE\" IN ('SECO','PCB')",
         "2"},
        {"SELECT count(*) >= 2 FROM Trafoge WHERE \"CÓDIGO\" NOT IN (SELECT \"Código\" FROM Ensayos)", "1"},
        {"SELECT count(*) > 0 FROM Ensayos WHERE \"TOTAL PCB\" > 50", "1"},
        // Tests, inspections and maintenance spread over several years.
        {"SELECT count(DISTINCT substr(Fecha, 1, 4)) >= 2 FROM Ensayos", "1"},
        {"SELECT count(DISTINCT substr(Fecha, 1, 4)) >= 2 FROM Revision", "1"},
        {"SELECT count(DISTINCT substr(Fecha, 1, 4)) >= 2 FROM Mantenimiento", "1"},
    };
    for (const auto& [sql, valor] : consultas)
        EXPECT_EQ(primero(*db, u(sql)), u(valor)) << sql;
    const TablaMetodo* tablas[] = {&tablaDornenburg(), &tablaRogers(), &tablaRelacionGases()};
    QSet<QString> vistos;
    for (const QVariantList& f :
         queryRows(*db, u("SELECT \"Hidrógeno\", Metano, Etano, Etileno, Acetileno, GAS, FD FROM Ensayos"))) {
        const Gases g{valorGuardado(f[0]), valorGuardado(f[1]), valorGuardado(f[2]), valorGuardado(f[3]),
                      valorGuardado(f[4])};
        for (const TablaMetodo* t : tablas)
            for (const QString& fallo : evaluarMetodo(*t, {true, f[5].toBool(), f[6].toBool(), g}).fallos)
                vistos << t->titulo + u(": ") + fallo;
        if (const auto t = duval::triangulo(g); t && f[5].toBool())
            vistos << u("triángulo ") + duval::codigo(t->zona);
        if (const auto p = duval::pentagono(g); p && f[5].toBool())
            vistos << u("pentágono ") + duval::codigo(p->zona);
    }
    // Every zone of Duval's triangle and pentagon has a sample.
    for (duval::ZonaTriangulo z : duval::zonasTriangulo())
        EXPECT_TRUE(vistos.contains(u("triángulo ") + duval::codigo(z))) << duval::codigo(z).toStdString();
    for (duval::ZonaPentagono z : duval::zonasPentagono())
        EXPECT_TRUE(vistos.contains(u("pentágono ") + duval::codigo(z))) << duval::codigo(z).toStdString();
    for (const TablaMetodo* t : tablas)
        for (const FilaCriterios& fila : t->filas)
            EXPECT_TRUE(vistos.contains(t->titulo + u(": ") + fila.fallo))
                << QString(t->titulo + fila.fallo).toStdString();
    const auto codigoDe = [&](const char* hallazgo) {
        return primero(
            *db, u("SELECT \"CÓDIGO\" FROM Trafoge WHERE instr(DIAGNOSTICO, '%1') = 1").arg(u(hallazgo)));
    };
    const auto evaluar = [&](const QString& codigo, const QString& fecha = QString()) {
        const CliRun r = cli(u("evaluar %1 --codigo %2 ").arg(dir.path(), codigo) +
                             (fecha.isEmpty() ? fecha : u("--fecha ") + fecha));
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        return o;
    };
    // The start of the stored diagnosis (the newest test's finding), the state, a box the finding
    // colours and its colour, and whether the gas methods are forced.
    const std::tuple<const char*, int, const char*, const char*, bool> casos[] = {
        {" Gases: Descargas Alta Energía", 3, "", "", false},
        {" Gases: Dudoso", 2, "", "", true},
        {" Dieléctrico Bajo", 2, "Diel", "naranja", false},
        {" Acidez Alta", 2, "Acidez", "amarillo", false},
        {" Gases: Concentración elevada (IEEE C57.104-2019)", 2, "", "", false},
        {" Sin Ensayos", 3, "", "", false}};
    for (const auto& [observacion, estado, resaltado, color, forzado] : casos) {
        SCOPED_TRACE(observacion);
        const QString codigo = codigoDe(observacion);
        ASSERT_FALSE(codigo.isEmpty());
        const QJsonObject o = evaluar(codigo);
        EXPECT_EQ(o.value(u("fecha")).toString(),
                  primero(*db, u("SELECT max(Fecha) FROM Ensayos WHERE \"Código\" = %1").arg(codigo)));
        EXPECT_TRUE(o.value(u("observaciones")).toVariant().toStringList().contains(u(observacion)));
        EXPECT_EQ(o.value(u("estado")).toInt(), estado);
        if (*resaltado) {
            EXPECT_EQ(o.value(u("resaltados")).toObject().value(u(resaltado)).toString(), u(color));
        }
        for (const char* m : {"dornenburg", "rogers", "relacion_gases"})
            EXPECT_EQ(o.value(u(m)).toObject().value(u("forzado")).toBool(), forzado) << m;
    }
    // A sample that only the gas levels flag: its levels and its zones in both of Duval's figures.
    const QJsonObject niveles = evaluar(codigoDe(" Gases: Concentración elevada"));
    EXPECT_EQ(niveles.value(u("ieee")).toObject().value(u("estado")).toInt(), 3);
    for (const char* m : {"duval_triangulo", "duval_pentagono"})
        EXPECT_FALSE(niveles.value(u(m)).toObject().value(u("zona")).toString().isEmpty()) << m;
    // An older test by its date: the high-energy transformer's older tests are normal.
    const QString alta = codigoDe(" Gases: Descargas Alta Energía");
    const QString viejo = primero(*db, u("SELECT min(Fecha) FROM Ensayos WHERE \"Código\" = %1").arg(alta));
    const QJsonObject antes = evaluar(alta, viejo);
    EXPECT_EQ(antes.value(u("fecha")).toString(), viejo);
    EXPECT_EQ(antes.value(u("estado")).toInt(), 1);
    const QString trafos = u("SELECT \"CÓDIGO\", ESTADO, GRAVEDAD FROM Trafoge ORDER BY 1");
    const QList<QVariantList> esperado = queryRows(*db, trafos);
    ASSERT_TRUE(db->exec(u("UPDATE Trafoge SET ESTADO = 0, GRAVEDAD = 99, DIAGNOSTICO = NULL, "
                           "\"RESUMEN OBS\" = NULL WHERE AUTO = 0"))
                    .ok());
    const CliRun r = cli(u("diagnosticar ") + dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u("Diagnosticando: %1/%1").arg(esperado.size()))) << r.err.toStdString();
    EXPECT_EQ(queryRows(*db, trafos), esperado);
    // The grave findings are red whatever else the transformer has.
    for (const char* grave : {" Dieléctrico muy Bajo", " Acidez Muy Alta", " Muy Alto Contenido de Agua",
                              " Gases: Defecto T>700", " Gases: Descargas Alta Energía", " Sin Ensayos"})
        EXPECT_EQ(primero(*db, u("SELECT count(*) > 0 AND min(ESTADO) = 3 FROM Trafoge WHERE AUTO = 0 "
                                 "AND instr(DIAGNOSTICO, '%1') > 0")
                                   .arg(u(grave))),
                  u("1"))
            << grave;
}

// grafico prints the points the tests graph of the window collects, and refuses bad options.
TEST(Cli, GraficoWritesTheTrendPointsOfATransformer)
{
    TempData datos;
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", \"DENOMINACIÓN\", MARCA, \"NRO DE SERIE\") VALUES "
                 "(7, 'Bombeo', 'Tadeo', 'S-1')"));
    datos.exec(
        u("INSERT INTO Ensayos (\"Código\", Fecha, Acidez, \"Total Gas\") VALUES (7, '2020-01-01', 0.1, 50), "
          "(7, '2020-02-01', 0, 60), (7, '2020-03-01', 0.3, NULL)"));
    const CliRun r = cli(u("grafico %1 --codigo 7 --tipo ensayos").arg(datos.folder()));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o[u("titulo")].toString(), u("Bombeo  Tadeo  S. S-1"));
    EXPECT_EQ(o[u("titulo_cantidad")].toString(), u("Acidez"));
    EXPECT_EQ(o[u("etiquetas")].toArray(), (QJsonArray{u("01/03/20"), u("01/01/20")}));
    EXPECT_EQ(o[u("series")].toArray()[0].toObject()[u("valores")].toArray(), (QJsonArray{0.3, 0.1}));

    const CliRun total =
        cli(u("grafico %1 --codigo 7 --tipo ensayos --cantidad 6 --modo 2 --fecha 2020-02-01")
                .arg(datos.folder()));
    ASSERT_EQ(total.code, 0) << total.err.toStdString();
    const QJsonObject t = QJsonDocument::fromJson(total.out.toUtf8()).object();
    EXPECT_EQ(t[u("titulo_cantidad")].toString(), u("Gases : Total Gas (ppm)"));
    EXPECT_EQ(t[u("puntos")].toInt(), 1);

    const char* const errores[][2] = {
        {"grafico {d} --codigo 7", "Falta la opción --tipo"},
        {"grafico {d} --codigo 8 --tipo ensayos", "No existe el transformador de código 8"},
        {"grafico {d} --codigo 7 --tipo otros", "no es revision, ensayos ni mantenimiento"},
        {"grafico {d} --codigo 7 --tipo ensayos --cantidad 7", "se espera de 0 a 6"},
        {"grafico {d} --codigo 7 --tipo ensayos --gases 9", "se espera de 0 a 8"},
        {"grafico {d} --codigo 7 --tipo revision", "no tiene filas en esa tabla"},
    };
    for (const auto& [orden, mensaje] : errores) {
        const CliRun e = cli(u(orden).replace(u("{d}"), datos.folder()));
        EXPECT_NE(e.code, 0) << orden;
        EXPECT_TRUE(e.err.contains(u(mensaje))) << orden << ": " << e.err.toStdString();
    }
}

namespace {

// The text of a PDF, laid out as on the page.
QString textoPdf(const QString& pdf)
{
    QProcess p;
    p.start(u("pdftotext"), {u("-layout"), pdf, u("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The codes printed at the start of the lines, in order.
QList<qint64> codigosImpresos(const QString& texto, const QSet<qint64>& conocidos)
{
    QList<qint64> out;
    // The priority list starts its lines with the state and the severity.
    static const QRegularExpression inicio(
        u("^\\s*(?:(?:Rojo|Amarillo|Verde|Apagado)\\s+[\\d.,]+\\s+)?(\\d+)\\s"));
    for (const QString& linea : texto.split(QLatin1Char('\n'))) {
        const auto m = inicio.match(linea);
        if (m.hasMatch() && conocidos.contains(m.captured(1).toLongLong()))
            out << m.captured(1).toLongLong();
    }
    return out;
}

// The codes of a query, in its order.
QList<qint64> codigosDe(const Database& db, const QString& sql)
{
    QList<qint64> out;
    for (const QVariantList& fila : queryRows(db, sql))
        out << fila.value(0).toLongLong();
    return out;
}

} // namespace

// informe writes the report as a PDF: the codes its formulas select, in the report's order,
// with accents intact and every page numbered "Página N de M".
TEST(CliInforme, ElPdfLlevaLasFilasSeleccionadasEnOrden)
{
    QTemporaryDir dir;
    ASSERT_EQ(cli(u("demo ") + dir.path()).code, 0);
    auto db = abrir(dir.path());
    ASSERT_TRUE(db);
    const QList<qint64> todos = codigosDe(*db, u("SELECT \"CÓDIGO\" FROM Trafoge ORDER BY 1"));
    const QSet<qint64> conocidos(todos.cbegin(), todos.cend());
    ASSERT_GE(todos.size(), 10);
    const QString sub = u("({Trafoge.CÓDIGO}=%1) or ({Trafoge.CÓDIGO}=%2)").arg(todos[1]).arg(todos[4]);
    const QString desde =
        queryRows(*db, u("SELECT Fecha FROM Ensayos ORDER BY Fecha")).value(20).value(0).toString();
    const QDate fecha = QDate::fromString(desde, Qt::ISODate);
    const QString formulaFecha = u("{Ensayos.fecha}>=DATE(%1)").arg(fecha.toString(u("yyyy,MM,dd")));
    struct Caso
    {
        QStringList opciones;
        const char* informe;
        QList<qint64> esperado;
        QStringList textos;
    };
    const QList<Caso> casos = {
        {{}, "trafos2", todos, {u("Transformadores: listado general"), u("Denominación"), u("ILUMINACIÓN")}},
        {{u("--formula"), sub}, "accesorios", {todos[1], todos[4]}, {u("Manovacuómetro")}},
        {{},
         "prioridades",
         codigosDe(*db, u("SELECT \"CÓDIGO\" FROM Trafoge ORDER BY ESTADO DESC, GRAVEDAD DESC, \"CÓDIGO\"")),
         {u("Lista de prioridades")}},
        {{u("--formula2"), formulaFecha},
         "ensayos",
         codigosDe(*db,
                   u("SELECT DISTINCT \"Código\" FROM Ensayos WHERE Fecha >= '%1' ORDER BY 1").arg(desde)),
         {u("Ensayos de aceite por transformador")}},
    };
    for (const Caso& c : casos) {
        const QString pdf = dir.filePath(u("salida.pdf"));
        QFile::remove(pdf);
        const CliRun r =
            cliPalabras(QStringList{u("informe"), dir.path(), u(c.informe), u("--pdf"), pdf} + c.opciones);
        ASSERT_EQ(r.code, 0) << c.informe << ": " << r.err.toStdString();
        const QString texto = textoPdf(pdf);
        QList<qint64> impresos = codigosImpresos(texto, conocidos);
        // A grouped report names its transformer in each group's heading only.
        if (u(c.informe) == u("ensayos")) {
            impresos.clear();
            static const QRegularExpression cabecera(u("Transformador (\\d+) ·(?! .*continuación)"));
            for (auto it = cabecera.globalMatch(texto); it.hasNext();)
                impresos << it.next().captured(1).toLongLong();
        }
        EXPECT_EQ(impresos, c.esperado)
            << c.informe << " " << c.opciones.join(QLatin1Char(' ')).toStdString();
        for (const QString& t : c.textos)
            EXPECT_TRUE(texto.contains(t)) << c.informe << " lacks " << t.toStdString();
        // Every page says which it is and how many there are.
        const qsizetype paginas = texto.count(QLatin1Char('\f'));
        ASSERT_GE(paginas, 1);
        for (qsizetype n = 1; n <= paginas; ++n)
            EXPECT_TRUE(texto.contains(u("Página %1 de %2").arg(n).arg(paginas)))
                << c.informe << " page " << n;
    }
}

// Numbers follow the locale's decimal separator; a formula that does not read or a report that
// does not exist fails with its Spanish message and writes no PDF.
TEST(CliInforme, LocaleYFallos)
{
    QTemporaryDir dir;
    ASSERT_EQ(cli(u("demo ") + dir.path()).code, 0);
    const QString pdf = dir.filePath(u("salida.pdf"));
    for (const auto& [locale, acidez] : {std::pair{"es_AR.UTF-8", "0,03"}, std::pair{"C", "0.03"}}) {
        const CliRun r = cliPalabras({u("informe"), dir.path(), u("ensayos"), u("--pdf"), pdf}, u(locale));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const QString texto = textoPdf(pdf);
        EXPECT_TRUE(texto.contains(u(" %1 ").arg(u(acidez)))) << locale;
    }
    QFile::remove(pdf);
    const QList<std::pair<QStringList, const char*>> fallos = {
        {{u("trafos2"), u("--formula"), u("{Trafoge.CÓDIGO}=")},
         "La fórmula de selección «{Trafoge.CÓDIGO}=» no es válida"},
        {{u("ensayos"), u("--formula2"), u("{Ensayo.Fecha}>=DATE(2024,1,1)")}, "la tabla «Ensayo» no existe"},
        {{u("ventas")}, "No se encuentra el informe '"},
    };
    for (const auto& [palabras, mensaje] : fallos) {
        QStringList todas = {u("informe"), dir.path(), palabras.first(), u("--pdf"), pdf};
        todas << palabras.mid(1);
        const CliRun r = cliPalabras(todas);
        EXPECT_NE(r.code, 0) << mensaje;
        EXPECT_TRUE(r.err.contains(u(mensaje))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf)) << mensaje;
    }
}

// The lamps are drawn in their colours: the first page of the priority list, red first, shows
// red lamps and no green one; the general list shows the green ones too.
TEST(CliInforme, LasLamparasSeDibujanEnSuColor)
{
    QTemporaryDir dir;
    ASSERT_EQ(cli(u("demo ") + dir.path()).code, 0);
    auto pixeles = [&](const char* informe, QRgb color) {
        const QString pdf = dir.filePath(u("%1.pdf").arg(u(informe)));
        EXPECT_EQ(cliPalabras({u("informe"), dir.path(), u(informe), u("--pdf"), pdf}).code, 0);
        QProcess p;
        p.start(u("pdftoppm"), {u("-png"), u("-r"), u("50"), u("-f"), u("1"), u("-l"), u("1"),
                                u("-singlefile"), pdf, dir.filePath(u(informe))});
        p.waitForFinished(60000);
        const QImage imagen(dir.filePath(u("%1.png").arg(u(informe))));
        EXPECT_FALSE(imagen.isNull()) << informe;
        int n = 0;
        for (int y = 0; y < imagen.height(); ++y)
            for (int x = 0; x < imagen.width(); ++x) {
                const QRgb c = imagen.pixel(x, y);
                if (std::abs(qRed(c) - qRed(color)) < 24 && std::abs(qGreen(c) - qGreen(color)) < 24 &&
                    std::abs(qBlue(c) - qBlue(color)) < 24)
                    ++n;
            }
        return n;
    };
    const QRgb rojo = qRgb(0xC0, 0x40, 0x00), verde = qRgb(0x00, 0xC0, 0x00);
    EXPECT_GT(pixeles("prioridades", rojo), 20);
    EXPECT_EQ(pixeles("prioridades", verde), 0);
    EXPECT_GT(pixeles("trafos2", verde), 20);
}

// Long memos wrap and go on over the next pages, every line printed; rich text prints as its
// words, without its markup.
TEST(CliInforme, LosTextosLargosSeImprimenEnteros)
{
    QTemporaryDir dir;
    ASSERT_EQ(cli(u("crear ") + dir.path()).code, 0);
    QStringList renglones;
    for (int i = 1; i <= 150; ++i)
        renglones << u(" Observación %1 del ensayo, con un texto largo que ocupa más de una línea en la "
                       "columna del "
                       "diagnóstico de la lista de prioridades")
                         .arg(i, 3, 10, QLatin1Char('0'));
    {
        auto db = abrir(dir.path());
        ASSERT_TRUE(db);
        auto st = Statement::prepare(*db,
                                     u("INSERT INTO Trafoge (\"CÓDIGO\", \"DENOMINACIÓN\", ESTADO, GRAVEDAD, "
                                       "DIAGNOSTICO) VALUES (7, 'Horno', 3, 2, ?)"),
                                     {QString(renglones.join(u("\r\n")) + u("\r\n"))});
        ASSERT_TRUE(st.ok() && st.value().step().ok());
        auto rev = Statement::prepare(*db,
                                      u("INSERT INTO Revision (\"CÓDIGO\", FECHA, \"OBS GENERALES\") VALUES "
                                        "(7, '2026-01-02', ?)"),
                                      {u("<html><body><p>Primera <b>línea</b> revisada</p><p>Segunda "
                                         "línea</p></body></html>")});
        ASSERT_TRUE(rev.ok() && rev.value().step().ok());
    }
    for (const char* informe : {"prioridades", "trafos3", "trafos"}) {
        const QString pdf = dir.filePath(u("%1.pdf").arg(u(informe)));
        const CliRun r = cliPalabras({u("informe"), dir.path(), u(informe), u("--pdf"), pdf});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const QString texto = textoPdf(pdf);
        EXPECT_GE(texto.count(QLatin1Char('\f')), 2) << informe;
        // The long text starts on the first page, under its heads, rather than leave it empty.
        EXPECT_TRUE(texto.section(QLatin1Char('\f'), 0, 0).contains(u("Observación 001"))) << informe;
        qsizetype desde = 0;
        for (int i = 1; i <= 150; ++i) {
            const qsizetype en = texto.indexOf(u("Observación %1").arg(i, 3, 10, QLatin1Char('0')), desde);
            ASSERT_GE(en, 0) << informe << ": falta la observación " << i;
            desde = en;
        }
        if (u(informe) == u("trafos")) {
            EXPECT_TRUE(texto.contains(u("Primera línea revisada"))) << texto.toStdString();
            EXPECT_FALSE(texto.contains(u("<b>")));
        }
    }
}
