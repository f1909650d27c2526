#include "search/logic/Busqueda.h"
#include "data/logic/JetSql.h"
#include "search/logic/ArchivoAbs.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace busqueda;

namespace {

// Codes selected by the four-table join itself, as the earlier program ran it.
QList<qint64> porElJoin(const Database& db, const QStringList& lineas)
{
    auto q = jetsql::translateSelect(
        u("SELECT DISTINCT Trafoge.Código FROM ((Trafoge LEFT JOIN Ensayos ON Trafoge.CÓDIGO=Ensayos.Código) "
          "LEFT JOIN Revision ON Trafoge.CÓDIGO=Revision.CÓDIGO) LEFT JOIN Mantenimiento ON "
          "Trafoge.CÓDIGO=Mantenimiento.Código where ") +
        clausula(lineas) + u(" Order By Trafoge.CÓDIGO Asc"));
    EXPECT_TRUE(q.ok()) << q.error().toStdString();
    QList<qint64> out;
    if (!q)
        return out;
    auto st = Statement::prepare(db, q.value().sql, q.value().params);
    EXPECT_TRUE(st.ok()) << st.error().toStdString();
    while (st && st.value().step().value())
        out << st.value().int64(0);
    return out;
}

// A small plant whose transformers have none, one or several rows in each dated table, with
// values and Nulls drawn at random.
void plantaAlAzar(const TempData& datos, QRandomGenerator& azar)
{
    auto elegir = [&](const QStringList& valores) { return valores.at(int(azar.bounded(valores.size()))); };
    // One script, one transaction: the plants are many and small.
    QString sql = u("BEGIN;");
    for (int codigo = 1; codigo <= 9; ++codigo) {
        sql += u("INSERT INTO Trafoge (\"CÓDIGO\", TIPO) VALUES (%1, %2);")
                   .arg(codigo)
                   .arg(elegir({u("'SELLADO'"), u("'SECO'"), u("NULL")}));
        for (quint32 i = azar.bounded(3u); i > 0; --i)
            sql +=
                u("INSERT INTO Ensayos (\"Código\", Fecha, Acidez, Diel) VALUES (%1, '2024-0%2-01', %3, %4);")
                    .arg(codigo)
                    .arg(i)
                    .arg(elegir({u("NULL"), u("0.05"), u("0.2"), u("0.4")}),
                         elegir({u("NULL"), u("20"), u("40")}));
        for (quint32 i = azar.bounded(3u); i > 0; --i)
            sql += u("INSERT INTO Revision (\"CÓDIGO\", FECHA, TENSION) VALUES (%1, '2024-0%2-01', %3);")
                       .arg(codigo)
                       .arg(i)
                       .arg(elegir({u("NULL"), u("1000"), u("5000")}));
        for (quint32 i = azar.bounded(3u); i > 0; --i)
            sql += u("INSERT INTO Mantenimiento (\"Código\", Fecha, \"Limpieza General\") VALUES (%1, "
                     "'2024-0%2-01', %3);")
                       .arg(codigo)
                       .arg(i)
                       .arg(elegir({u("NULL"), u("0"), u("1")}));
    }
    datos.exec(sql + u("COMMIT;"));
}

} // namespace

// Per-table truth values give exactly the codes of the literal join, for every connector,
// grouping and Null, on random plants and random lists.
TEST(Busqueda, TheCodesAreThoseOfTheFourTableJoin)
{
    const QStringList comparaciones = {
        u("Trafoge.[TIPO] = 'SELLADO'"),
        u("Trafoge.[TIPO] <> 'SECO'"),
        u("Ensayos.[Acidez] > 0.1"),
        u("Ensayos.[Diel] < 30"),
        u("Revision.[TENSION] = 5000"),
        u("Revision.[TENSION] >= 1000"),
        u("Mantenimiento.[Limpieza General] = True"),
    };
    const QStringList conectores = {u("And"), u("Or"), u("Xor"), u("And Not"), u("Or Not")};
    QRandomGenerator azar(2026);
    int casos = 0, conCodigos = 0;
    for (int planta = 0; planta < 12; ++planta) {
        TempData datos;
        plantaAlAzar(datos, azar);
        auto db = datos.open(true);
        for (int lista = 0; lista < 25; ++lista) {
            const int n = 1 + int(azar.bounded(4u));
            QStringList lineas;
            // A group from line `abre` to line `cierra` (lines after the first only).
            const int abre = n > 2 ? 1 + int(azar.bounded(quint32(n - 2))) : -1;
            const int cierra = abre > 0 ? abre + 1 + int(azar.bounded(quint32(n - abre - 1))) : -1;
            for (int i = 0; i < n; ++i) {
                const QString c = comparaciones.at(int(azar.bounded(quint32(comparaciones.size()))));
                if (i == 0) {
                    lineas << c;
                    continue;
                }
                lineas << conectores.at(int(azar.bounded(quint32(conectores.size())))) + u(" ") +
                              (i == abre ? u("( ") : QString()) + c + (i == cierra ? u(" )") : QString());
            }
            auto codigos = buscar(*db, lineas);
            ASSERT_TRUE(codigos.ok()) << lineas.join(u(" | ")).toStdString() << codigos.error().toStdString();
            EXPECT_EQ(codigos.value(), porElJoin(*db, lineas)) << lineas.join(u(" | ")).toStdString();
            ++casos;
            conCodigos += codigos.value().isEmpty() ? 0 : 1;
        }
    }
    // The draw exercises both outcomes.
    EXPECT_GT(conCodigos, casos / 5);
    EXPECT_LT(conCodigos, casos);
}

// Each line form: accepted values run, anything the search could misread is refused with its
// message, never run with a wrong result.
TEST(Busqueda, LineFormsAndTheirValues)
{
    TempData datos;
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, TIPO, \"AÑO\", OTROS) VALUES "
                 "(1, 'O''Higgins', 'SELLADO', '1990', 'con válvula'), (2, 'PUERTO', 'SECO', '2001', NULL), "
                 "(7, 'Óleo Sur', 'SELLADO', '1985', NULL)"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, Acidez, GAS) VALUES (1, '2003-05-20', 0.25, 1), "
                 "(2, '2031-01-01', 0.05, 0), (7, '2003-05-19', NULL, 1)"));
    datos.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (7, '2020-01-01'), (7, '2021-01-01')"));
    auto db = datos.open(true);
    const std::pair<QStringList, QList<qint64>> casos[] = {
        {{u("Trafoge.[AREA] = 'O''Higgins'")}, {1}},
        {{u("Trafoge.[AREA] = 'óleo sur'")}, {7}},
        {{u("trafoge.[tipo] = 'SELLADO'"), u("And Not Trafoge.[AREA] = 'PUERTO'")}, {1, 7}},
        {{u("Trafoge.[OTROS] = 'con válvula'")}, {1}},
        {{u("Ensayos.[Acidez] > 0.2")}, {1}},
        {{u("Ensayos.[Fecha] >= #05/20/2003#")}, {1, 2}},
        {{u("Ensayos.[Fecha] > #12/31/2030#")}, {2}},
        {{u("Ensayos.[GAS] = True")}, {1, 7}},
        {{u("Revision.[FECHA] > #01/01/2019#")}, {7}},
        {{u("Trafoge.[TIPO] = 'SECO'"), u("Or ( Ensayos.[Acidez] > 0.2"), u("And Trafoge.[AÑO] = '1990' )")},
         {1, 2}},
        {{u("Trafoge.[AREA] = 'NINGUNA'")}, {}},
        // Deep nesting that a person might still write is kept.
        {{QString(150, u'(') + u("Ensayos.[Acidez] > 0.2") + QString(150, u')')}, {1}},
        {{u("Not ").repeated(150) + u("Trafoge.[AREA] = 'PUERTO'")}, {2}},
    };
    for (const auto& [lineas, codigos] : casos) {
        auto r = buscar(*db, lineas);
        ASSERT_TRUE(r.ok()) << lineas.join(u(" | ")).toStdString() << r.error().toStdString();
        EXPECT_EQ(r.value(), codigos) << lineas.join(u(" | ")).toStdString();
    }
    const QStringList rechazadas[] = {
        {u("Ensayos.[Fecha] > 20/05/2003")},
        {u("Ensayos.[Acidez] > 0,2")},
        {u("Trafoge.[AREA] = 'O'Higgins'")},
        {u("Trafoge.[AREA] = 'PUERTO'"), u("And ( Ensayos.[Acidez] > 0.1")},
        {u("Trafoge.[AREA] = 'PUERTO' )")},
        {u("Otra.[AREA] = 'PUERTO'")},
        {u("Trafoge.[NO EXISTE] = 1")},
        {u("Trafoge.[AREA] = 'PUERTO'"), u("Trafoge.[TIPO] = 'SECO'")},
        {u("Trafoge.[AREA] = 'PUERTO'; DROP TABLE Trafoge")},
        // A damaged file's endless nesting is refused, not followed until the stack runs out.
        {QString(100000, u'(') + u("Trafoge.[AREA] = 'PUERTO'") + QString(100000, u')')},
        {u("Not ").repeated(100000) + u("Trafoge.[AREA] = 'PUERTO'")},
    };
    for (const QStringList& lineas : rechazadas) {
        auto r = buscar(*db, lineas);
        ASSERT_FALSE(r.ok()) << lineas.join(u(" | ")).toStdString();
        EXPECT_EQ(r.error(), mensajeErrorBusqueda());
    }
    EXPECT_EQ(buscar(*db, {}).error(), u("Debe agregar una condicion para realizar la busqueda"));
}

TEST(Busqueda, FormulasOfASubGroupAndOfASelectionByDate)
{
    EXPECT_EQ(filtroCodigos({5, 12, 17}), u("(Código =5)or(Código=12)or(Código=17)"));
    EXPECT_EQ(formulaTrafo({5, 12, 17}),
              u("({Trafoge.CÓDIGO}=5) or ({Trafoge.CÓDIGO}=12) or ({Trafoge.CÓDIGO}=17)"));
    EXPECT_EQ(formulaTrafo({12}), u("({Trafoge.CÓDIGO}=12)"));
    EXPECT_EQ(formulaFecha(u("Ensayos"), u(">="), QDate(2003, 5, 20)),
              u("{Ensayos.fecha}>=DATE(2003,05,20)"));
    EXPECT_EQ(literalFecha(QDate(2045, 1, 2)), u("#01/02/2045#"));

    TempData datos;
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (3), (5), (9)"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha) VALUES (5, '2003-05-20'), (5, '2003-06-01'), "
                 "(3, '2003-05-19'), (9, '2045-01-01')"));
    datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (3, '2003-05-21')"));
    auto db = datos.open(true);
    using Filas = QList<QPair<qint64, QDate>>;
    auto s = seleccionarPorFecha(*db, u(">="), QDate(2003, 5, 20), std::nullopt);
    ASSERT_TRUE(s.ok()) << s.error().toStdString();
    // Code ascending, newest first; a date past 2030 keeps its century.
    EXPECT_EQ(s.value().ensayos,
              (Filas{{5, QDate(2003, 6, 1)}, {5, QDate(2003, 5, 20)}, {9, QDate(2045, 1, 1)}}));
    EXPECT_EQ(s.value().mantenimiento, (Filas{{3, QDate(2003, 5, 21)}}));
    EXPECT_EQ(s.value().codigos, (QList<qint64>{3, 5, 9}));
    EXPECT_EQ(s.value().formulaEnsayos, u("{Ensayos.fecha}>=DATE(2003,05,20)"));
    // Inside a sub-group; "=" and "<>"; nothing anywhere.
    auto dentro = seleccionarPorFecha(*db, u(">="), QDate(2003, 5, 20), QList<qint64>{3, 9});
    EXPECT_EQ(dentro.value().codigos, (QList<qint64>{3, 9}));
    EXPECT_EQ(seleccionarPorFecha(*db, u("="), QDate(2003, 5, 19), std::nullopt).value().codigos,
              QList<qint64>{3});
    EXPECT_EQ(seleccionarPorFecha(*db, u("<>"), QDate(2003, 5, 20), std::nullopt).value().ensayos.size(), 3);
    auto nada = seleccionarPorFecha(*db, u("<"), QDate(1990, 1, 1), std::nullopt);
    EXPECT_TRUE(nada.value().vacia());
    EXPECT_TRUE(nada.value().formulaEnsayos.isEmpty()) << "the formulas stay as they were";
    EXPECT_FALSE(seleccionarPorFecha(*db, u("=>"), QDate(2003, 5, 20), std::nullopt).ok());
}

// Saved searches keep every line as written; Windows-1252 both ways, UTF-8 with a byte-order mark
// only for what that code page cannot hold; a failed save leaves the old file whole.
TEST(ArchivoAbs, LinesRoundTripInTheirCodePage)
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(u("busqueda.abs"));
    const QStringList tres = {u("Trafoge.[AREA] = 'SUBESTACIÓN NORTE'"), u("And ( Ensayos.[Acidez] > 0.1"),
                              u("Or Trafoge.[MARCA] = 'O''Higgins' )")};
    ASSERT_TRUE(abs::guardar(ruta, tres).ok());
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    EXPECT_TRUE(bytes.startsWith("Trafoge.[AREA] = 'SUBESTACI\xd3N NORTE'\r\nAnd ( "));
    EXPECT_TRUE(bytes.endsWith("'O''Higgins' )\r\n"));
    EXPECT_EQ(abs::cargar(ruta).value(), tres);
    // Written by hand in the earlier program's code page, with the euro sign of its upper half.
    EXPECT_EQ(abs::decodificar("Trafoge.[AREA] = 'CA\xd1"
                               "ADA \x80'\r\n"),
              QStringList{u("Trafoge.[AREA] = 'CAÑADA €'")});
    EXPECT_TRUE(abs::decodificar("").isEmpty());
    const QStringList griego = {u("Trafoge.[AREA] = 'Ωmega'")};
    const QByteArray utf8 = abs::codificar(griego);
    EXPECT_TRUE(utf8.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(abs::decodificar(utf8), griego);
    // Only the file's own mark is dropped; a line that spells the mark in Windows-1252 or that
    // starts with a second mark saves and loads back as it was.
    for (const QString& linea : QStringList{u("ï»¿Trafoge.[AREA] = 'X'"), QChar(0xFEFF) + u("x")}) {
        EXPECT_EQ(abs::decodificar(abs::codificar({linea})), QStringList{linea});
    }
    EXPECT_EQ(abs::decodificar("\xEF\xBB\xBF\xEF\xBB\xBFx"), QStringList{QString(QChar(0xFEFF)) + u("x")});
    // A list of any length; an empty list is an empty file.
    QStringList largas;
    for (int i = 0; i < 300; ++i)
        largas << (i == 0 ? u("Trafoge.[CÓDIGO] = %1") : u("Or Trafoge.[CÓDIGO] = %1")).arg(i);
    EXPECT_EQ(abs::decodificar(abs::codificar(largas)), largas);
    EXPECT_TRUE(abs::codificar({}).isEmpty());
    // A folder in the way of the file: the save fails with its message and the old file stays.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u("carpeta.abs")));
    EXPECT_EQ(abs::guardar(dir.filePath(u("carpeta.abs")), tres).error(), u("Error al Guardar Archivo"));
    EXPECT_EQ(abs::cargar(dir.filePath(u("no-existe.abs"))).error(), u("Error al Abrir Archivo"));
}
