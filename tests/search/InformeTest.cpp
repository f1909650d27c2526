#include "app/logic/RunState.h"
#include "data/logic/Campos.h"
#include "data/logic/Schema.h"
#include "search/logic/DefinicionInforme.h"
#include "search/logic/FormulaInforme.h"
#include "search/logic/MotorInforme.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace informe;

namespace {

// Four transformers (3, 5, 12, 20) with tests, inspections and maintenance on known dates.
void planta(const TempData& datos)
{
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, \"DENOMINACIÓN\", ESTADO, GRAVEDAD) VALUES "
                 "(3, 'Norte', 'Celda tres', 1, 2), (5, 'Sur', 'Acería', 3, 5), "
                 "(12, 'norte', 'Horno eléctrico', 2, 1), (20, 'Este', 'Laminación', 3, 7);"
                 "INSERT INTO Ensayos (\"Código\", Fecha, Acidez) VALUES (5, '2024-06-01', 0.2), "
                 "(5, '2024-01-10', 0.1), (12, '2023-05-01', 0.05), (20, '2024-07-01', 0.3);"
                 "INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (3, '2024-02-01'), (5, '2022-01-01'), "
                 "(12, '2024-09-09');"
                 "INSERT INTO Mantenimiento (\"Código\", Fecha, \"Pintado\") VALUES (12, '2024-04-04', 1), "
                 "(20, '2021-01-01', 0);"));
}

// The codes of the rows a report walks, in its order.
Result<QList<qint64>> codigos(const TempData& datos, const QString& archivo, const QString& formula,
                              const QString& segunda = QString())
{
    MotorInforme motor;
    motor.ponerArchivoInforme(QDir(u(QUORVELA_INFORMES_DIR)).filePath(archivo));
    for (int i = 0; i < 4; ++i)
        motor.ponerArchivoDatos(i, datos.file());
    motor.ponerFormula(formula);
    motor.ponerSegundaFormula(segunda);
    auto p = motor.preparar();
    if (!p)
        return Result<QList<qint64>>::failure(p.error());
    auto filas = p.value().filas();
    if (!filas)
        return Result<QList<qint64>>::failure(filas.error());
    const QString tabla = p.value().definicion().detalle.tabla;
    const CampoRef codigo{tabla, schema::table(tabla)->codeField};
    QList<qint64> out;
    while (filas.value().siguiente().value())
        out << filas.value().valor(codigo).toLongLong();
    return out;
}

QString lineaTrafos()
{
    return u(
        "[informe]\ntitulo = Prueba\ntabla = Trafoge\n[detalle]\ncolumna = Código | {Trafoge.CÓDIGO} | 10\n");
}

} // namespace

// Each formula the program hands over, in the forms it writes and in others of the language,
// is parsed and applied to the rows; case and accents of names do not matter.
TEST(FormulaInforme, CadaFormaSeleccionaSusFilas)
{
    TempData datos;
    planta(datos);
    const QList<QPair<const char*, QList<qint64>>> casos = {
        {"1=1", {3, 5, 12, 20}},
        {"", {3, 5, 12, 20}},
        {"({Trafoge.CÓDIGO}=5) or ({Trafoge.CÓDIGO}=12)", {5, 12}},
        {"({trafoge.código}=5) OR ({TRAFOGE.Código}=12)", {5, 12}},
        {"{ Trafoge . [CÓDIGO] }=5", {5}},
        {"{Trafoge.CÓDIGO}<>5", {3, 12, 20}},
        {"{Trafoge.CÓDIGO}>=12 and {Trafoge.CÓDIGO}<20", {12}},
        {"{Trafoge.CÓDIGO} > 3 AND NOT ({Trafoge.ESTADO} = 3)", {12}},
        {"not {Trafoge.CÓDIGO}<=5", {12, 20}},
        {"({Trafoge.ESTADO}=3 or {Trafoge.ESTADO}=1) and {Trafoge.GRAVEDAD}>2", {5, 20}},
        {"{Trafoge.AREA}='NORTE'", {3, 12}},
        {"{Trafoge.DENOMINACIÓN}='acería'", {5}},
        {"{Trafoge.AREA}='x'' OR 1=1 --'", {}},
        {"{Trafoge.GRAVEDAD}=5.0", {5}},
        {"{Trafoge.CÓDIGO}<77777777777777777777777", {3, 5, 12, 20}},
        {"{Ensayos.fecha}>=DATE(2024,06,01)", {5, 20}},
        {"{Ensayos.Fecha}<DATE(2024,1,10)", {12}},
        {"{Revision.FECHA}=DATE(2024,02,01) or {Mantenimiento.Fecha}>DATE(2024,01,01)", {3, 12}},
        // Fields of two tables: each is read where its table is.
        {"{Mantenimiento.Pintado}={Trafoge.GRAVEDAD}", {12}},
        {"{Ensayos.Fecha}>{Revision.FECHA}", {5}},
    };
    for (const auto& [texto, esperado] : casos) {
        const QString formula = u(texto);
        auto r = codigos(datos, u("trafos2.rpt"), formula);
        ASSERT_TRUE(r.ok()) << texto << ": " << r.error().toStdString();
        EXPECT_EQ(r.value(), esperado) << texto;
    }
}

// A formula that does not read, or names what does not exist, is an error that quotes it and
// says what is wrong; never a report of every row.
TEST(FormulaInforme, LasMalFormadasFallanConSuMensaje)
{
    const QList<QPair<const char*, const char*>> casos = {
        {"{Trafoge.CÓDIGO}=", "falta un valor"},
        {"{Trafoge.CÓDIGO}", "se esperaba una comparación"},
        {"{Trafoge.CÓDIGO}=5 or", "falta un valor"},
        {"({Trafoge.CÓDIGO}=5", "falta «)»"},
        {"{Trafoge.CÓDIGO}=5)", "sobra"},
        {"{Trafoge.CÓDIGO=5", "falta «}»"},
        {"{Trafoge}=5", "{Tabla.campo}"},
        {"{Trafos.CÓDIGO}=5", "la tabla «Trafos» no existe"},
        {"{Trafoge.CODIGO}=5", "no tiene el campo «CODIGO»"},
        {"{Ensayos.Fecha}>=DATE(2003,13,01)", "no es una fecha"},
        {"{Ensayos.Fecha}>=DATE(2003,05)", "no es una fecha"},
        {"{Trafoge.AREA}='Norte", "falta la comilla"},
        {"{Trafoge.CÓDIGO}=5 xor 1=1", "sobra"},
        {"{Trafoge.CÓDIGO}==5", "se esperaba {Tabla.campo}"},
        {"1=1 and", "falta un valor"},
    };
    for (const auto& [texto, detalle] : casos) {
        auto f = Formula::analizar(u(texto));
        ASSERT_FALSE(f.ok()) << texto;
        EXPECT_TRUE(f.error().startsWith(u("La fórmula de selección «%1» no es válida").arg(u(texto))))
            << f.error().toStdString();
        EXPECT_TRUE(f.error().contains(u(detalle))) << texto << ": " << f.error().toStdString();
    }
    // Deep nesting is followed; endless nesting is refused with its message, not by a crash.
    EXPECT_TRUE(Formula::analizar(QString(150, u'(') + u("{Trafoge.CÓDIGO}=5") + QString(150, u')')).ok());
    for (const QString& honda : QStringList{QString(100000, u'(') + u("1=1") + QString(100000, u')'),
                                            u("not ").repeated(100000) + u("1=1")})
        EXPECT_TRUE(Formula::analizar(honda).error().contains(u("niveles"))) << honda.left(20).toStdString();
}

// Every report walks the rows its formulas leave, in its own order: nothing selected, a
// sub-group of 5 and 12, a selection by date, and both together.
TEST(MotorInforme, CadaInformeImprimeLoQueDejanLasFormulas)
{
    TempData datos;
    planta(datos);
    const QString nada = u("1=1");
    const QString sub = u("({Trafoge.CÓDIGO}=5) or ({Trafoge.CÓDIGO}=12)");
    struct Caso
    {
        const char* archivo;
        QString formula, segunda;
        QList<qint64> esperado;
    };
    const QString ensayos = u("{Ensayos.fecha}>=DATE(2024,03,01)");
    const QString revisiones = u("{Revision.FECHA}>=DATE(2024,01,01)");
    const QString mantenimientos = u("{Mantenimiento.Fecha}>=DATE(2024,01,01)");
    const QList<Caso> casos = {
        {"trafos2.rpt", nada, QString(), {3, 5, 12, 20}},
        {"trafos2", sub, QString(), {5, 12}},
        {"trafos3.rpt", sub, QString(), {5, 12}},
        {"trafos.rpt", nada, QString(), {3, 5, 12, 20}},
        {"accesorios.rpt", sub, QString(), {5, 12}},
        {"ensayos.rpt", nada, nada, {5, 5, 12, 20}},
        {"ensayos.rpt", sub, nada, {5, 5, 12}},
        {"ensayos.rpt", nada, ensayos, {5, 20}},
        {"ensayos.rpt", sub, ensayos, {5}},
        {"revision.rpt", nada, nada, {3, 5, 12}},
        {"revision.rpt", nada, revisiones, {3, 12}},
        {"revision.rpt", sub, revisiones, {12}},
        {"mantenimiento.rpt", nada, nada, {12, 20}},
        {"mantenimiento.rpt", sub, mantenimientos, {12}},
        // Red first, then by decreasing severity; the maintenance date formula keeps the
        // transformers with some maintenance on those dates.
        {"prioridades.rpt", nada, nada, {20, 5, 12, 3}},
        {"prioridades.rpt", nada, mantenimientos, {12}},
        {"prioridades.rpt", u("{Trafoge.CÓDIGO}<>12"), mantenimientos, {}},
    };
    for (const Caso& c : casos) {
        auto r = codigos(datos, nombreArchivo(u(c.archivo)), c.formula, c.segunda);
        ASSERT_TRUE(r.ok()) << c.archivo << ": " << r.error().toStdString();
        EXPECT_EQ(r.value(), c.esperado)
            << c.archivo << " " << c.formula.toStdString() << " " << c.segunda.toStdString();
    }
}

// The buttons' sequence: the report from the program's folder, the open data file, FormulaTrafo
// and the second formula of each report, and both formulas empty again afterwards.
TEST(MotorInforme, LaSecuenciaEntregaLasFormulasYLasVacia)
{
    TempData datos;
    planta(datos);
    RunState estado;
    estado.RutaPrograma = u(QUORVELA_INFORMES_DIR);
    estado.apuntarDatos(datos.folder());
    estado.FormulaTrafo = u("({Trafoge.CÓDIGO}=5) or ({Trafoge.CÓDIGO}=12)");
    estado.FormulaRevision = u("{Revision.fecha}>=DATE(2024,01,01)");
    estado.FormulaEnsayos = u("{Ensayos.fecha}>=DATE(2024,03,01)");
    estado.FormulaMantenimiento = u("{Mantenimiento.fecha}>=DATE(2024,01,01)");
    const QList<std::tuple<const char*, SegundaFormula, QString>> casos = {
        {"accesorios.rpt", SegundaFormula::Ninguna, estado.FormulaTrafo},
        {"ensayos.rpt", SegundaFormula::Ensayos, estado.FormulaTrafo + u(" y ") + estado.FormulaEnsayos},
        {"revision.rpt", SegundaFormula::Revision, estado.FormulaTrafo + u(" y ") + estado.FormulaRevision},
        {"prioridades.rpt", SegundaFormula::Mantenimiento,
         estado.FormulaTrafo + u(" y ") + estado.FormulaMantenimiento},
    };
    MotorInforme motor;
    for (const auto& [archivo, segunda, seleccion] : casos) {
        QString recibido, nombre;
        const int r = imprimirInforme(motor, estado, u(archivo), segunda, [&](const InformePreparado& p) {
            recibido = p.seleccion();
            nombre = p.nombre();
            return Status();
        });
        EXPECT_EQ(r, 0) << archivo << motor.ultimoError().toStdString();
        EXPECT_EQ(nombre, u(archivo));
        EXPECT_EQ(recibido, seleccion) << archivo;
        EXPECT_TRUE(motor.formula().isEmpty());
        EXPECT_TRUE(motor.segundaFormula().isEmpty());
    }

    // A failure answers non-zero with the engine's text and resets the formulas all the same.
    estado.FormulaEnsayos = u("{Ensayos.Fecha}>=DATE(2024,02,30)");
    bool salio = false;
    EXPECT_NE(imprimirInforme(motor, estado, u("ensayos.rpt"), SegundaFormula::Ensayos,
                              [&](const InformePreparado&) {
                                  salio = true;
                                  return Status();
                              }),
              0);
    EXPECT_FALSE(salio);
    EXPECT_TRUE(motor.ultimoError().contains(u("DATE(2024,02,30)"))) << motor.ultimoError().toStdString();
    EXPECT_TRUE(motor.formula().isEmpty());
    EXPECT_TRUE(motor.segundaFormula().isEmpty());
}

// A report file that is missing or does not read is named in the message; a definition with a
// mistake says where.
TEST(MotorInforme, LosArchivosQueFaltanOFallanSeNombran)
{
    TempData datos;
    QTemporaryDir carpeta;
    auto preparar = [&](const QString& archivo) {
        MotorInforme motor;
        motor.ponerArchivoInforme(archivo);
        for (int i = 0; i < 4; ++i)
            motor.ponerArchivoDatos(i, datos.file());
        motor.ponerFormula(u("1=1"));
        return motor.preparar();
    };
    const QString falta = carpeta.filePath(u("nada.rpt"));
    auto r = preparar(falta);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error(), u("No se encuentra el informe '%1'.").arg(falta));
    ASSERT_FALSE(preparar(carpeta.path()).ok());

    const QList<QPair<QString, const char*>> casos = {
        {lineaTrafos() + u("columna = Área | {Trafoge.ÁREA} | 20\n"),
         "línea 6: la tabla Trafoge no tiene el campo «ÁREA»"},
        {lineaTrafos() + u("columna = Fecha | {Ensayos.Fecha} | 20\n"),
         "línea 6: Ensayos.Fecha no es de la tabla Trafoge"},
        {lineaTrafos() + u("columna = Código | {Trafoge.CÓDIGO}\n"), "línea 6: una columna es"},
        {lineaTrafos() + u("columna = X | {=Nada} | 10\n"), "línea 6: el valor calculado «Nada» no existe"},
        {lineaTrafos() + u("[seccion]\ntabla = Pruebas\n"), "línea 7: la tabla «Pruebas» no existe"},
        {lineaTrafos() + u("tipo = 3\n"), "línea 6: la clave «tipo» no existe"},
        {u("titulo = x\n"), "línea 1: se esperaba «clave = valor» dentro de una sección"},
        {u("[informe]\ntitulo = x\n"), "no tiene la sección [informe] con su tabla"},
    };
    for (const auto& [texto, detalle] : casos) {
        const QString ruta = carpeta.filePath(u("mal.rpt"));
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(texto.toUtf8());
        f.close();
        auto m = preparar(ruta);
        ASSERT_FALSE(m.ok()) << detalle;
        EXPECT_TRUE(m.error().contains(u(detalle))) << m.error().toStdString();
        EXPECT_TRUE(m.error().contains(u("mal.rpt")) || !m.error().contains(u("línea")))
            << m.error().toStdString();
    }
}

// The report only reads: the data file is the same byte for byte after a report walked it, and
// the engine's connection refuses writes.
TEST(MotorInforme, ElInformeNoEscribeEnElArchivoDeDatos)
{
    TempData datos;
    planta(datos);
    auto huella = [&] {
        QFile f(datos.file());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray antes = huella();
    for (const char* archivo : {"trafos.rpt", "ensayos.rpt", "prioridades.rpt"}) {
        auto r = codigos(datos, u(archivo), u("{Trafoge.AREA}<>'x'"), u("1=1"));
        ASSERT_TRUE(r.ok()) << r.error().toStdString();
    }
    EXPECT_EQ(huella(), antes);
    EXPECT_FALSE(QFile::exists(datos.file() + u("-journal")));
}

// The definitions shipped with the program all read, and each names what it prints.
TEST(DefinicionInforme, LasOchoDefinicionesSeLeen)
{
    const QStringList nombres = {u("accesorios"), u("trafos"),  u("trafos2"),       u("trafos3"),
                                 u("revision"),   u("ensayos"), u("mantenimiento"), u("prioridades")};
    for (const QString& n : nombres) {
        QFile f(QDir(u(QUORVELA_INFORMES_DIR)).filePath(nombreArchivo(n)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << n.toStdString();
        auto d = leerDefinicion(QString::fromUtf8(f.readAll()), n);
        ASSERT_TRUE(d.ok()) << d.error().toStdString();
        EXPECT_FALSE(d.value().titulo.isEmpty());
    }
    EXPECT_EQ(nombreArchivo(u("trafos2")), u("trafos2.rpt"));
    EXPECT_EQ(nombreArchivo(u("trafos2.rpt")), u("trafos2.rpt"));
}
