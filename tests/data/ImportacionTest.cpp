#include "data/logic/Importacion.h"

#include "data/logic/Database.h"
#include "data/logic/Schema.h"
#include "tests/data/LectorFalso.h"
#include "tests/support/Texto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using T = jet::TipoColumna;

// Every field of a table as the Jet file names it: in lower case (accented capitals too), so
// that only a case-blind match finds them.
QList<jet::Columna> columnasDe(const schema::Table& t)
{
    QList<jet::Columna> out;
    for (const schema::Field& f : t.fields)
        out.append({f.name.toLower(), tipoDe(f.kind)});
    return out;
}

// A stored row of the new file by its position, as field name -> value.
QList<QVariantMap> filas(Database& db, const QString& tabla)
{
    QList<QVariantMap> out;
    auto st = Statement::prepare(
        db, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(schema::quoteIdentifier(tabla)));
    EXPECT_TRUE(st.ok());
    while (st.ok() && st.value().step().value()) {
        QVariantMap m;
        for (int c = 0; c < st.value().columnCount(); ++c)
            m[st.value().columnName(c)] = st.value().value(c);
        out << m;
    }
    return out;
}

QByteArray bytes(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString leer(const QString& ruta)
{
    return QString::fromUtf8(bytes(ruta));
}

// Jet date values of a few days, counted from 30 December 1899 apart from the program.
constexpr double k1850_06_15 = -18095; // before 1900
constexpr double k2031_03_04 = 47911;  // after 2030
constexpr double k9999_12_31 = 2958465;

const char* kRtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                   "{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs20 P\\'e9rdida "
                   "\\b leve\\b0  \\cf1\\i en \\u966?ase\\cf0\\i0\\par Segundo\\par }";

class Importacion : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const schema::Table& tr = schema::trafoge();
        // The transformer code as text, as some old files keep it; one field missing, one extra.
        QList<jet::Columna> cols = columnasDe(tr);
        cols[0].tipo = T::Texto;
        cols.removeAt(tr.fieldIndex(u("NRO DE SAMA")));
        cols.append({u("EXTRA"), T::Texto});
        const auto fila = [&](const QVariantMap& valores) {
            jet::Fila f(cols.size());
            for (int i = 0; i < cols.size(); ++i)
                for (auto it = valores.cbegin(); it != valores.cend(); ++it)
                    if (schema::sameName(it.key(), cols[i].nombre))
                        f[i] = it.value();
            return f;
        };
        QList<jet::Fila> trafos = {
            fila({{u("CÓDIGO"), u(" 12 ")},
                  {u("AREA"), u("Planta Ñandú")},
                  {u("FECHA"), k1850_06_15},
                  {u("ESTADO"), qlonglong(3)},
                  {u("GRAVEDAD"), 2.5},
                  {u("AUTO"), true},
                  {u("OTROS"), u(kRtf)},
                  {u("DIAGNOSTICO"), u(kRtf)},
                  {u("RESUMEN OBS"), u("Línea 1\r\nLínea 2")},
                  {u("EXTRA"), u("se lista")}}),
            fila({{u("CÓDIGO"), u("7")}, {u("AUTO"), false}}),
            fila({{u("CÓDIGO"), u("12")}, {u("AREA"), u("duplicado")}}),
            fila({{u("CÓDIGO"), u("doce")}}),
            fila({{u("CÓDIGO"), QVariant()}}),
            fila({{u("CÓDIGO"), u("0")}}),
            fila({{u("CÓDIGO"), u("40000")}}),
            fila({{u("CÓDIGO"), u("-5")}, {u("FECHA"), k9999_12_31}, {u("OTROS"), u("Texto plano")}}),
        };
        lector.agregar(u("TRAFOGE"), cols, trafos);

        const schema::Table& rv = schema::revision();
        QList<jet::Columna> cr = columnasDe(rv);
        cr[rv.fieldIndex(u("TENSION"))].tipo = T::Texto; // a number kept as text
        const auto filaRev = [&](const QVariant& codigo, const QVariant& fecha, const QVariant& tension,
                                 const QVariant& obs) {
            jet::Fila f(cr.size());
            f[rv.fieldIndex(u("CÓDIGO"))] = codigo;
            f[rv.fieldIndex(u("FECHA"))] = fecha;
            f[rv.fieldIndex(u("TENSION"))] = tension;
            f[rv.fieldIndex(u("OBS GENERALES"))] = obs;
            return f;
        };
        lector.agregar(u("revision"), cr,
                       {filaRev(qlonglong(12), k2031_03_04 + 0.5, u("13,2"), u(kRtf)),
                        filaRev(qlonglong(12), k2031_03_04, u("5000"), u("{\\rtf1 }")),
                        filaRev(qlonglong(99), -700000.0, u("alto"), QVariant()),
                        filaRev(QVariant(), k2031_03_04, QVariant(), QVariant())});

        const schema::Table& en = schema::ensayos();
        QList<jet::Columna> ce = columnasDe(en);
        ce[en.fieldIndex(u("Fecha"))] = {u("FECHA"), T::Texto}; // the date as typed text
        ce[en.fieldIndex(u("FD"))].tipo = T::Texto;
        jet::Fila e(ce.size());
        e[en.fieldIndex(u("Código"))] = qlonglong(7);
        e[en.fieldIndex(u("Fecha"))] = u("05/03/2031");
        e[en.fieldIndex(u("Hidrógeno"))] = 0.15;
        e[en.fieldIndex(u("GAS"))] = true;
        e[en.fieldIndex(u("FD"))] = u("Sí");
        e[en.fieldIndex(u("EFQ"))] = QVariant();
        e[en.fieldIndex(u("Observaciones"))] = u(kRtf);
        lector.agregar(u("Ensayos"), ce, {e});

        // A name with two blanks is another field than the same with one.
        const schema::Table& mt = schema::mantenimiento();
        QList<jet::Columna> cm = columnasDe(mt);
        const int termo = mt.fieldIndex(u("Rep  o cambio termocuadrante"));
        cm[termo].nombre = u("Rep o cambio termocuadrante");
        jet::Fila m(cm.size());
        m[mt.fieldIndex(u("Código"))] = qlonglong(12);
        m[mt.fieldIndex(u("Pintado"))] = true;
        m[termo] = true;
        lector.agregar(u("MANTENIMIENTO"), cm, {m});

        lector.agregar(u("Paste Errors"), {{u("Campo0"), T::Texto}}, {{u("x")}, {u("y")}});
    }

    Result<importacion::Informe> importar()
    {
        destino = dir.filePath(u("trafos.mdb"));
        csv = dir.filePath(u("importacion-apartadas.csv"));
        return importacion::convertir(lector, destino, csv);
    }

    LectorFalso lector;
    QTemporaryDir dir;
    QString destino, csv;
};

} // namespace

TEST_F(Importacion, EveryKindOfFieldIsStoredInTheFilesConventions)
{
    auto hecho = importar();
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    auto db = Database::open(destino);
    ASSERT_TRUE(db.ok()) << db.error().toStdString();

    const QList<QVariantMap> trafos = filas(*db.value(), u("Trafoge"));
    ASSERT_EQ(trafos.size(), 3);
    const QVariantMap& t = trafos[0];
    EXPECT_EQ(t[u("CÓDIGO")], QVariant(qlonglong(12)));
    EXPECT_EQ(t[u("AREA")], QVariant(u("Planta Ñandú")));
    EXPECT_EQ(t[u("FECHA")], QVariant(u("1850-06-15")));
    EXPECT_EQ(t[u("ESTADO")], QVariant(qlonglong(3)));
    EXPECT_EQ(t[u("GRAVEDAD")], QVariant(2.5));
    EXPECT_EQ(t[u("AUTO")], QVariant(qlonglong(1)));
    EXPECT_FALSE(t[u("NRO DE SAMA")].isValid()) << "a field the file lacks is Null";
    EXPECT_EQ(t[u("RESUMEN OBS")], QVariant(u("Línea 1\r\nLínea 2"))) << "plain memos stay plain";
    // The memo the user writes becomes the rich text of its box; the derived one, plain text.
    EXPECT_TRUE(Qt::mightBeRichText(t[u("OTROS")].toString()));
    QTextDocument doc;
    doc.setHtml(t[u("OTROS")].toString());
    EXPECT_EQ(doc.toPlainText(), u("Pérdida leve en φase\nSegundo"));
    EXPECT_EQ(t[u("DIAGNOSTICO")], QVariant(u("Pérdida leve en φase\r\nSegundo")));
    EXPECT_EQ(trafos[1][u("AUTO")], QVariant(qlonglong(0)));
    EXPECT_EQ(trafos[2][u("CÓDIGO")], QVariant(qlonglong(-5)));
    EXPECT_EQ(trafos[2][u("FECHA")], QVariant(u("9999-12-31")));
    EXPECT_EQ(trafos[2][u("OTROS")], QVariant(u("Texto plano")));

    const QList<QVariantMap> revisiones = filas(*db.value(), u("Revision"));
    ASSERT_EQ(revisiones.size(), 3);
    EXPECT_EQ(revisiones[0][u("FECHA")], QVariant(u("2031-03-04")));
    EXPECT_EQ(revisiones[0][u("TENSION")], QVariant(13.2)) << "a decimal comma in a number kept as text";
    EXPECT_EQ(revisiones[1][u("TENSION")], QVariant(5000.0));
    EXPECT_FALSE(revisiones[1][u("OBS GENERALES")].isValid()) << "an RTF memo with no text is empty";
    EXPECT_FALSE(revisiones[2][u("FECHA")].isValid()) << "a date outside Jet's calendar";
    EXPECT_FALSE(revisiones[2][u("TENSION")].isValid());
    EXPECT_EQ(revisiones[2][u("CÓDIGO")], QVariant(qlonglong(99)))
        << "rows of a missing transformer are kept";

    const QList<QVariantMap> ensayos = filas(*db.value(), u("Ensayos"));
    ASSERT_EQ(ensayos.size(), 1);
    EXPECT_EQ(ensayos[0][u("Fecha")], QVariant(u("2031-03-05")));
    EXPECT_EQ(ensayos[0][u("Hidrógeno")], QVariant(0.15));
    EXPECT_EQ(ensayos[0][u("GAS")], QVariant(qlonglong(1)));
    EXPECT_EQ(ensayos[0][u("FD")], QVariant(qlonglong(1)));
    EXPECT_FALSE(ensayos[0][u("EFQ")].isValid());
    doc.setHtml(ensayos[0][u("Observaciones")].toString());
    EXPECT_EQ(doc.toPlainText(), u("Pérdida leve en φase\nSegundo"));
    const QList<QVariantMap> trabajos = filas(*db.value(), u("Mantenimiento"));
    ASSERT_EQ(trabajos.size(), 1);
    EXPECT_EQ(trabajos[0][u("Pintado")], QVariant(qlonglong(1)));
    EXPECT_FALSE(trabajos[0][u("Rep  o cambio termocuadrante")].isValid());
}

TEST_F(Importacion, RowsTheFileCannotHoldGoToTheCsvAndEverythingIsCountedInTheReport)
{
    auto hecho = importar();
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    const importacion::Informe& inf = hecho.value();
    ASSERT_EQ(inf.tablas.size(), 4);
    struct Cuenta
    {
        qint64 leidas, importadas, apartadas;
    };
    const Cuenta esperadas[] = {{8, 3, 5}, {4, 3, 1}, {1, 1, 0}, {1, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(inf.tablas[i].leidas, esperadas[i].leidas) << i;
        EXPECT_EQ(inf.tablas[i].importadas, esperadas[i].importadas) << i;
        EXPECT_EQ(inf.tablas[i].apartadas, esperadas[i].apartadas) << i;
    }
    EXPECT_EQ(inf.tablas[3].enOrigen, u("MANTENIMIENTO"));
    EXPECT_EQ(inf.totalApartadas(), 6);
    EXPECT_EQ(inf.archivoApartadas, QFileInfo(csv).absoluteFilePath());
    EXPECT_EQ(inf.tablasSobrantes, QStringList{u("Paste Errors (2 filas)")});
    EXPECT_EQ(inf.columnasSobrantes,
              QStringList({u("TRAFOGE: EXTRA"), u("MANTENIMIENTO: Rep o cambio termocuadrante")}));
    EXPECT_EQ(inf.camposFaltantes,
              QStringList({u("Trafoge: NRO DE SAMA"), u("Mantenimiento: Rep  o cambio termocuadrante")}));

    const QString texto = inf.texto();
    for (const char* debe : {"Trafoge: 8 leídas, 3 importadas, 5 apartadas",
                             "Mantenimiento: 1 leídas, 1 importadas, 0 apartadas",
                             "TRAFOGE, fila 3: el CÓDIGO 12 ya es del transformador de la fila 1",
                             "TRAFOGE, fila 4: el CÓDIGO 'doce' no es un número entero",
                             "TRAFOGE, fila 5: no tiene CÓDIGO", "TRAFOGE, fila 6: el CÓDIGO 0 no es",
                             "TRAFOGE, fila 7: el CÓDIGO 40000 no es", "revision, fila 4: no tiene CÓDIGO",
                             "revision, fila 3, TENSION: 'alto' no es un número; quedó vacío",
                             "revision, fila 3, FECHA: '' no es una fecha válida",
                             "revision, fila 1, FECHA: 2031-03-04 12:00:00; se guardó solo el día",
                             "Paste Errors (2 filas)", "TRAFOGE: EXTRA"})
        EXPECT_TRUE(texto.contains(u(debe))) << debe << "\n" << texto.toStdString();

    // Each set-aside row is whole in the CSV, under its table's own columns.
    // UTF-8 with a byte-order mark, for spreadsheets to read the accents.
    EXPECT_TRUE(bytes(csv).startsWith("\xEF\xBB\xBF"));
    const QStringList lineas = leer(csv).split(u("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lineas.size(), 8) << leer(csv).toStdString();
    EXPECT_TRUE(lineas[0].startsWith(u("Tabla,Fila,Motivo,código,area,"))) << lineas[0].toStdString();
    EXPECT_TRUE(lineas[0].endsWith(u(",EXTRA")));
    EXPECT_TRUE(
        lineas[1].startsWith(u("TRAFOGE,3,el CÓDIGO 12 ya es del transformador de la fila 1,12,duplicado,")));
    EXPECT_TRUE(lineas[2].startsWith(u("TRAFOGE,4,")) && lineas[2].contains(u(",doce,")));
    EXPECT_TRUE(lineas[6].startsWith(u("Tabla,Fila,Motivo,código,fecha")));
    EXPECT_TRUE(lineas[7].startsWith(u("revision,4,no tiene CÓDIGO,,2031-03-04,")));
}

TEST_F(Importacion, AConversionThatCannotCompleteLeavesNoFile)
{
    // The file declares more rows than can be read: something would be lost.
    lector.m_tablas[2].filas = 5;
    auto hecho = importar();
    ASSERT_FALSE(hecho.ok());
    EXPECT_TRUE(hecho.error().contains(u("se leyeron 1 filas, pero el archivo declara 5")))
        << hecho.error().toStdString();
    EXPECT_FALSE(QFile::exists(destino));
    EXPECT_FALSE(QFile::exists(csv)) << "the CSV of a failed conversion is not left behind";

    // A table the file lacks stays empty and is named in the report.
    LectorFalso parcial;
    parcial.agregar(u("Ensayos"), {{u("Código"), T::Entero}}, {{qlonglong(4)}});
    const QString otro = dir.filePath(u("parcial.mdb"));
    hecho = importacion::convertir(parcial, otro, csv);
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    EXPECT_TRUE(hecho.value().texto().contains(u("Trafoge: no está en el archivo; queda vacía")));
    EXPECT_TRUE(hecho.value().resumen(u("informe")).contains(u("Mantenimiento: no está en el archivo")));
    EXPECT_TRUE(hecho.value().texto().contains(u("Ensayos: 1 leídas, 1 importadas, 0 apartadas")));

    EXPECT_FALSE(hecho.value().sinTablas());

    // A file with none of the data model's tables converts to an empty file, and says so.
    LectorFalso ajeno;
    ajeno.agregar(u("Orders"), {{u("OrderID"), T::EnteroLargo}}, {{qlonglong(1)}});
    hecho = importacion::convertir(ajeno, destino, csv);
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    EXPECT_TRUE(hecho.value().sinTablas());
    EXPECT_EQ(hecho.value().tablasSobrantes, QStringList{u("Orders (1 filas)")});
    EXPECT_TRUE(hecho.value().texto().contains(u("Aviso: el archivo no tiene ninguna de las tablas")));
    EXPECT_TRUE(hecho.value().resumen(u("informe")).contains(u("El archivo nuevo queda vacío")));
    auto db = Database::open(destino);
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    EXPECT_TRUE(filas(*db.value(), u("Trafoge")).isEmpty());
}

namespace {

// A Jet file's bytes for the data folder: the converter is handed a fake reader, but start-up
// knows an earlier program's file by its first page.
QByteArray bytesJet()
{
    return bytes(u(QUORVELA_MUESTRAS_MDB "/jet4-fechas.mdb"));
}

void escribir(const QString& ruta, const QByteArray& contenido)
{
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(contenido) == contenido.size());
}

// A plant of n transformers; with muereEn > 0 the process is killed on reading that row, as a
// power cut or a killed program would stop it.
importacion::Abridor plantaFalsa(qint64 n, qint64 muereEn = 0)
{
    return [=](const QString&) {
        auto lector = std::make_unique<LectorFalso>();
        lector->agregar(u("Trafoge"), {{u("CÓDIGO"), T::Entero}, {u("AREA"), T::Texto}}, {});
        lector->m_tablas[0].filas = n;
        lector->generador[u("Trafoge")] = [=](qint64 i) {
            if (muereEn > 0 && i == muereEn)
                ::raise(SIGKILL);
            return jet::Fila{qlonglong(i + 1), u("Área %1").arg(i)};
        };
        return Result<std::unique_ptr<jet::Lector>>(std::move(lector));
    };
}

bool mismoArchivo(const QString& a, const QString& b)
{
    struct stat sa = {}, sb = {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

TEST(ImportacionEnCarpeta, InPlaceTheOriginalKeepsItsBytesUnderAFreeNameAndTheNewFileTakesItsName)
{
    QTemporaryDir dir;
    const QString datos = Database::rutaEn(dir.path());
    const QString jet = dir.filePath(u("trafos-jet.mdb"));
    escribir(datos, bytesJet());
    // A trafos-jet.mdb of someone else's is never overwritten: the original takes the next name.
    escribir(jet, QByteArray("otro archivo"));
    auto hecho = importacion::convertirEnSuSitio(dir.path(), {}, plantaFalsa(3));
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    EXPECT_EQ(bytes(jet), QByteArray("otro archivo"));
    EXPECT_EQ(hecho.value().original, dir.filePath(u("trafos-jet-2.mdb")));
    EXPECT_EQ(bytes(hecho.value().original), bytesJet());
    auto db = Database::open(datos);
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    EXPECT_EQ(filas(*db.value(), u("Trafoge")).size(), 3);
    EXPECT_TRUE(
        leer(dir.filePath(u("importacion.txt"))).contains(u("Trafoge: 3 leídas, 3 importadas, 0 apartadas")));
    // The converted file is no Jet file: there is nothing left to convert.
    EXPECT_FALSE(importacion::convertirEnSuSitio(dir.path(), {}, plantaFalsa(3)).ok());

    // An attempt stopped after the original got its second name: that same name is used again.
    QTemporaryDir otra;
    const QString datos2 = Database::rutaEn(otra.path());
    escribir(datos2, bytesJet());
    ASSERT_EQ(::link(QFile::encodeName(datos2).constData(),
                     QFile::encodeName(otra.filePath(u("trafos-jet.mdb"))).constData()),
              0);
    hecho = importacion::convertirEnSuSitio(otra.path(), {}, plantaFalsa(2));
    ASSERT_TRUE(hecho.ok()) << hecho.error().toStdString();
    EXPECT_EQ(hecho.value().original, otra.filePath(u("trafos-jet.mdb")));
    EXPECT_FALSE(QFile::exists(otra.filePath(u("trafos-jet-2.mdb"))));
    EXPECT_FALSE(mismoArchivo(datos2, hecho.value().original));
    EXPECT_EQ(bytes(hecho.value().original), bytesJet());
}

// Killed in the middle of reading, a conversion leaves no trafos.mdb of its own and the
// original exactly as it was, in place or into another folder.
TEST(ImportacionEnCarpeta, AConversionKilledMidwayLeavesTheOriginalAndNoNewDataFile)
{
    for (const bool enSuSitio : {true, false}) {
        SCOPED_TRACE(enSuSitio ? "en su sitio" : "en otra carpeta");
        QTemporaryDir dir, destino;
        const QString datos = Database::rutaEn(dir.path());
        escribir(datos, bytesJet());
        const pid_t hijo = ::fork();
        ASSERT_GE(hijo, 0);
        if (hijo == 0) {
            const auto abridor = plantaFalsa(20000, 15000);
            if (enSuSitio)
                (void)importacion::convertirEnSuSitio(dir.path(), {}, abridor);
            else
                (void)importacion::importarEnCarpeta(datos, destino.path(), {}, abridor);
            ::_exit(0);
        }
        int estado = 0;
        ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL)
            << "the conversion did not get to row 15000";
        EXPECT_EQ(bytes(datos), bytesJet());
        EXPECT_TRUE(jet::esArchivoJet(datos));
        EXPECT_FALSE(QFile::exists(dir.filePath(u("trafos-jet.mdb"))));
        EXPECT_FALSE(QFile::exists(Database::rutaEn(destino.path())));
        EXPECT_FALSE(QFile::exists(destino.filePath(u("importacion.txt"))));
    }
}
