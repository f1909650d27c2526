#include "data/logic/LectorJet.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Texts in failures as text, not as bytes.
static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString muestra(const char* nombre)
{
    return QStringLiteral(QUORVELA_MUESTRAS_MDB "/") + QString::fromUtf8(nombre);
}

// A field of mdb-export's CSV: its text and whether it was quoted (an unquoted empty field is Null).
struct Celda
{
    QString texto;
    bool entreComillas = false;
};

QList<QList<Celda>> leerCsv(const QString& csv)
{
    QList<QList<Celda>> filas;
    QList<Celda> fila;
    Celda celda;
    bool dentro = false;
    for (int i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (dentro) {
            if (c == QLatin1Char('"') && i + 1 < csv.size() && csv[i + 1] == QLatin1Char('"')) {
                celda.texto += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                dentro = false;
            } else {
                celda.texto += c;
            }
        } else if (c == QLatin1Char('"')) {
            dentro = true;
            celda.entreComillas = true;
        } else if (c == QLatin1Char(',')) {
            fila << celda;
            celda = {};
        } else if (c == QLatin1Char('\n')) {
            fila << celda;
            filas << fila;
            fila.clear();
            celda = {};
        } else {
            celda.texto += c;
        }
    }
    return filas;
}

QString exportar(const QString& archivo, const QString& tabla)
{
    QProcess p;
    p.start(QStringLiteral("mdb-export"), {archivo, tabla});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Every value of every table, compared with what mdb-export prints for it.
void compararConExport(const QString& archivo)
{
    auto abierto = jet::abrir(archivo);
    ASSERT_TRUE(abierto.ok()) << abierto.error().toStdString();
    jet::Lector& lector = *abierto.value();
    ASSERT_FALSE(lector.tablas().isEmpty());
    for (const jet::Tabla& tabla : lector.tablas()) {
        SCOPED_TRACE(tabla.nombre.toStdString());
        const QList<QList<Celda>> esperado = leerCsv(exportar(archivo, tabla.nombre));
        ASSERT_FALSE(esperado.isEmpty()) << "mdb-export no leyó la tabla";
        QStringList encabezado;
        for (const Celda& c : esperado.first())
            encabezado << c.texto;
        QStringList columnas;
        for (const jet::Columna& c : tabla.columnas)
            columnas << c.nombre;
        EXPECT_EQ(columnas, encabezado);
        int n = 0;
        const Status st = lector.leer(tabla.nombre, [&](const jet::Fila& fila) {
            ++n;
            if (n >= esperado.size()) {
                ADD_FAILURE() << "más filas que mdb-export";
                return false;
            }
            const QList<Celda>& otra = esperado[n];
            EXPECT_EQ(fila.size(), otra.size());
            for (int c = 0; c < std::min(fila.size(), otra.size()); ++c) {
                const QVariant& v = fila[c];
                const Celda& e = otra[c];
                const jet::TipoColumna tipo = tabla.columnas[c].tipo;
                SCOPED_TRACE(
                    QStringLiteral("fila %1, %2 = '%3'").arg(n).arg(columnas[c], e.texto).toStdString());
                if (tipo == jet::TipoColumna::Ole || tipo == jet::TipoColumna::Binario)
                    continue;
                if (tipo == jet::TipoColumna::SiNo) {
                    EXPECT_EQ(v.toBool() ? QStringLiteral("1") : QStringLiteral("0"), e.texto);
                    continue;
                }
                if (e.texto.isEmpty() && !e.entreComillas) {
                    EXPECT_FALSE(v.isValid());
                    continue;
                }
                if (!v.isValid()) {
                    ADD_FAILURE() << "Null donde mdb-export da un valor";
                    continue;
                }
                switch (tipo) {
                case jet::TipoColumna::Texto:
                case jet::TipoColumna::Memo:
                    EXPECT_EQ(v.typeId(), QMetaType::QString);
                    EXPECT_EQ(v.toString(), e.texto);
                    break;
                case jet::TipoColumna::Byte:
                case jet::TipoColumna::Entero:
                case jet::TipoColumna::EnteroLargo:
                    EXPECT_EQ(v.typeId(), QMetaType::LongLong);
                    EXPECT_EQ(v.toLongLong(), e.texto.toLongLong());
                    break;
                case jet::TipoColumna::Simple:
                    EXPECT_EQ(float(v.toDouble()), e.texto.toFloat());
                    break;
                case jet::TipoColumna::Moneda:
                case jet::TipoColumna::Doble:
                    EXPECT_EQ(v.typeId(), QMetaType::Double);
                    EXPECT_NEAR(v.toDouble(), e.texto.toDouble(),
                                1e-9 * std::max(1.0, std::abs(v.toDouble())));
                    break;
                case jet::TipoColumna::FechaHora: {
                    // mdb-export prints MM/DD/YY; it gets years before 1900 and the year 9999
                    // wrong, which the Jet 4 sample checks through the raw value instead.
                    const jet::FechaJet f = jet::fechaDeValor(v.toDouble());
                    EXPECT_TRUE(f.valida);
                    if (!f.valida || f.anio < 1900 || f.anio == 9999)
                        break;
                    EXPECT_EQ(QStringLiteral("%1/%2/%3 %4:%5:%6")
                                  .arg(f.mes, 2, 10, QLatin1Char('0'))
                                  .arg(f.dia, 2, 10, QLatin1Char('0'))
                                  .arg(f.anio % 100, 2, 10, QLatin1Char('0'))
                                  .arg(f.segundos / 3600, 2, 10, QLatin1Char('0'))
                                  .arg(f.segundos / 60 % 60, 2, 10, QLatin1Char('0'))
                                  .arg(f.segundos % 60, 2, 10, QLatin1Char('0')),
                              e.texto);
                    break;
                }
                default:
                    ADD_FAILURE() << "tipo sin comparar";
                }
            }
            return true;
        });
        EXPECT_TRUE(st.ok()) << st.error().toStdString();
        EXPECT_EQ(n, esperado.size() - 1);
        EXPECT_EQ(n, tabla.filas);
    }
}

} // namespace

TEST(LectorJet, ReadsEveryValueOfBothSampleFilesAsMdbExportDoes)
{
    for (const char* archivo : {"jet3-nwind.mdb", "jet4-fechas.mdb"}) {
        SCOPED_TRACE(archivo);
        compararConExport(muestra(archivo));
    }
}

TEST(LectorJet, Jet3TablesKeepTheirNamesInTheCodePageAndTheirDeclaredTypes)
{
    auto abierto = jet::abrir(muestra("jet3-nwind.mdb"));
    ASSERT_TRUE(abierto.ok());
    EXPECT_EQ(abierto.value()->formato(), QStringLiteral("Jet 3"));
    QStringList nombres;
    for (const jet::Tabla& t : abierto.value()->tablas())
        nombres << t.nombre;
    EXPECT_TRUE(nombres.contains(QStringLiteral("Umsätze"))) << nombres.join(QLatin1Char(',')).toStdString();
    EXPECT_FALSE(nombres.contains(QStringLiteral("MSysObjects")));
    EXPECT_EQ(nombres.size(), 9);
    for (const jet::Tabla& t : abierto.value()->tablas()) {
        if (t.nombre != QStringLiteral("Products"))
            continue;
        QList<jet::TipoColumna> tipos;
        for (const jet::Columna& c : t.columnas)
            tipos << c.tipo;
        using T = jet::TipoColumna;
        EXPECT_EQ(tipos, QList<T>({T::EnteroLargo, T::Texto, T::EnteroLargo, T::EnteroLargo, T::Texto,
                                   T::Moneda, T::Entero, T::Entero, T::Entero, T::SiNo}));
    }
}

TEST(LectorJet, Jet4DatesComeAsTheirRawValueWhateverTheYear)
{
    auto abierto = jet::abrir(muestra("jet4-fechas.mdb"));
    ASSERT_TRUE(abierto.ok());
    EXPECT_EQ(abierto.value()->formato(), QStringLiteral("Jet 4"));
    QStringList fechas;
    const Status st = abierto.value()->leer(QStringLiteral("DateTest"), [&](const jet::Fila& f) {
        for (int c = 1; c <= 3; ++c)
            fechas << jet::textoDeFecha(f[c].toDouble(), false);
        return true;
    });
    ASSERT_TRUE(st.ok());
    // Day counts from 30 December 1899 worked out apart from the program.
    const QStringList esperadas =
        QStringLiteral("2021-12-02 2021-12-02 2021-12-02 9999-01-01 9999-01-01 9999-01-01 "
                       "1898-01-01 1899-01-01 1900-01-01 0632-01-01 0633-01-01 0634-01-01")
            .split(QLatin1Char(' '));
    EXPECT_EQ(fechas.mid(0, 12), esperadas);
}

TEST(LectorJet, DateValuesFollowJetsCalendarAndItsLimits)
{
    struct Caso
    {
        double valor;
        const char* texto;
    };
    const Caso casos[] = {
        {0.0, "1899-12-30"},
        {1.0, "1899-12-31"},
        {2.5, "1900-01-01 12:00:00"},
        {-1.25, "1899-12-29 06:00:00"},
        {60.0, "1900-02-28"},
        {61.0, "1900-03-01"},
        {47483.0, "2029-12-31"},
        {47484.0, "2030-01-01"},
        {2958465.0, "9999-12-31"},
        {-657434.0, "0100-01-01"},
        {-657435.0, ""},
        {2958466.0, ""},
        {36526.999999, "2000-01-01 23:59:59"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(jet::textoDeFecha(c.valor, jet::fechaDeValor(c.valor).conHora), QString::fromUtf8(c.texto))
            << c.valor;
}

TEST(LectorJet, RefusesWhatIsNotAJetFileWithoutTouchingIt)
{
    QTemporaryDir dir;
    const QString falta = dir.filePath(QStringLiteral("no-esta.mdb"));
    auto r = jet::abrir(falta);
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(r.error().contains(QStringLiteral("No se encuentra"))) << r.error().toStdString();

    const QString otro = dir.filePath(QStringLiteral("otro.mdb"));
    QFile f(otro);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4000, 'x'));
    f.close();
    EXPECT_FALSE(jet::esArchivoJet(otro));
    r = jet::abrir(otro);
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(r.error().contains(otro)) << r.error().toStdString();
    EXPECT_TRUE(jet::esArchivoJet(muestra("jet3-nwind.mdb")));
    EXPECT_TRUE(jet::esArchivoJet(muestra("jet4-fechas.mdb")));
}

TEST(LectorJet, CodePagesDecodeTheirOwnLetters)
{
    EXPECT_EQ(jet::decodificar(QByteArray("\xd3\x80\xf1", 3), 1252), QStringLiteral("Ó€ñ"));
    EXPECT_EQ(jet::decodificar(QByteArray("\xc6\xee\xf0", 3), 1251), QStringLiteral("Жор"));
    EXPECT_EQ(jet::decodificar(QByteArray("\xe1", 1), 1253), QStringLiteral("α"));
    EXPECT_EQ(jet::decodificar(QByteArray("\xf1", 1), 0), QStringLiteral("ñ"));
}
