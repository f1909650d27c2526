// Rate of the conversion of the earlier program's Jet files: the libmdb reader on the larger
// public sample, and the whole conversion from a reader that makes a plant of the large size
// (10,000 transformers with 10 inspections, tests and maintenance rows each), with the memory in
// use along the way. Usage: quorvela-importacion-bench [JET_FILE] [TRANSFORMERS] [DIR]
// (JET_FILE may be empty; DIR keeps the converted plant, to look at it in the program).
#include "data/logic/Importacion.h"
#include "data/logic/LectorJet.h"
#include "data/logic/Schema.h"
#include "tests/data/LectorFalso.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

long memoriaKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> campos = f.readAll().split(' ');
    return campos.size() > 1 ? campos[1].toLong() * 4 : 0;
}

const char* kRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs17 Muestra tomada en "
    "condiciones normales. \\b Acidez\\b0  dentro de l\\'edmites; \\cf1 revisar juntas\\cf0 .\\par }";

// A Jet file of the earlier program's shape whose rows are made as they are read.
class PlantaGenerada : public jet::Lector
{
public:
    PlantaGenerada(int trafos, int porTrafo) : m_trafos(trafos), m_porTrafo(porTrafo)
    {
        for (const schema::Table& t : schema::tables()) {
            jet::Tabla tabla;
            tabla.nombre = t.name;
            for (const schema::Field& f : t.fields)
                tabla.columnas.append({f.name, tipoDe(f.kind)});
            tabla.filas = t.dateField.isEmpty() ? trafos : qint64(trafos) * porTrafo;
            m_tablas.append(tabla);
        }
    }
    QString formato() const override { return QStringLiteral("Jet 3"); }
    const QList<jet::Tabla>& tablas() const override { return m_tablas; }
    Status leer(const QString& nombre, const std::function<bool(const jet::Fila&)>& porFila) override
    {
        const schema::Table* t = schema::table(nombre);
        const jet::Tabla* tabla = nullptr;
        for (const jet::Tabla& x : m_tablas)
            if (x.nombre == nombre)
                tabla = &x;
        // Values made once, so that the time measured is the conversion's, not the making of rows.
        const QVariant rtf = QString::fromLatin1(kRtf);
        const QVariant plano = QStringLiteral(" Acidez Alta\r\n Rigidez Baja\r\n");
        QVariantList textos, enteros, numeros, fechas;
        for (int v = 0; v < 50; ++v) {
            textos << QStringLiteral("VALOR %1").arg(v);
            enteros << qlonglong(v % 4);
            numeros << double(v) / 8.0;
            fechas << 36000.0 + 17.0 * v;
        }
        jet::Fila fila(t->fields.size());
        for (qint64 i = 0; i < tabla->filas; ++i) {
            const qlonglong codigo = t->dateField.isEmpty() ? i + 1 : i / m_porTrafo + 1;
            for (int c = 0; c < t->fields.size(); ++c) {
                const schema::Field& f = t->fields[c];
                if (f.name == t->codeField) {
                    fila[c] = codigo;
                    continue;
                }
                const int v = int((i + c) % 50);
                switch (f.kind) {
                case schema::FieldKind::Integer:
                    fila[c] = enteros[v];
                    break;
                case schema::FieldKind::Number:
                    fila[c] = numeros[v];
                    break;
                case schema::FieldKind::Date:
                    fila[c] = fechas[v];
                    break;
                case schema::FieldKind::YesNo:
                    fila[c] = (v % 3) == 0;
                    break;
                case schema::FieldKind::Memo:
                    fila[c] = f.richText ? rtf : plano;
                    break;
                default:
                    fila[c] = textos[v];
                }
            }
            if (!porFila(fila))
                break;
        }
        return {};
    }

private:
    int m_trafos, m_porTrafo;
    QList<jet::Tabla> m_tablas;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() > 1 && !args[1].isEmpty()) {
        auto abierto = jet::abrir(args[1]);
        if (!abierto) {
            std::fprintf(stderr, "%s\n", qPrintable(abierto.error()));
            return 1;
        }
        QElapsedTimer reloj;
        reloj.start();
        qint64 filas = 0;
        for (const jet::Tabla& t : abierto.value()->tablas())
            if (!abierto.value()->leer(t.nombre, [&](const jet::Fila&) { return ++filas > 0; }).ok())
                return 1;
        const double s = double(reloj.nsecsElapsed()) / 1e9;
        std::printf("lector libmdb, %s: %lld filas en %.3f s: %.0f filas/s\n", qPrintable(args[1]), filas, s,
                    double(filas) / s);
    }
    const int trafos = args.size() > 2 ? args[2].toInt() : 10000;
    PlantaGenerada planta(trafos, 10);
    QTemporaryDir dir;
    const long antes = memoriaKb();
    long maximo = antes;
    QStringList muestras;
    const auto progreso = [&](const QString& tabla, qint64 hechas, qint64 total) {
        maximo = std::max(maximo, memoriaKb());
        if (hechas == total || hechas % 50000 == 0)
            muestras << QStringLiteral("%1 %2/%3: %4 MB")
                            .arg(tabla)
                            .arg(hechas)
                            .arg(total)
                            .arg(memoriaKb() / 1024);
    };
    QElapsedTimer reloj;
    reloj.start();
    const std::clock_t cpu = std::clock();
    const QString carpeta = args.size() > 3 ? args[3] : dir.path();
    auto hecho = importacion::convertir(planta, QDir(carpeta).filePath(QStringLiteral("trafos.mdb")),
                                        QDir(carpeta).filePath(QStringLiteral("apartadas.csv")), progreso);
    const double s = double(reloj.nsecsElapsed()) / 1e9;
    const double sCpu = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    if (!hecho) {
        std::fprintf(stderr, "%s\n", qPrintable(hecho.error()));
        return 1;
    }
    qint64 filas = 0;
    for (const importacion::ConteoTabla& c : hecho.value().tablas)
        filas += c.importadas;
    // On a machine shared with other work the processor time tells what the conversion costs.
    std::printf("conversión de una planta generada de %d transformadores: %lld filas en %.1f s (%.1f s de "
                "procesador): %.0f filas/s (%.0f por segundo de procesador)\n",
                trafos, filas, s, sCpu, double(filas) / s, double(filas) / sCpu);
    std::printf("memoria residente: %ld MB antes, %ld MB como máximo\n", antes / 1024, maximo / 1024);
    for (const QString& m : muestras)
        std::printf("  %s\n", qPrintable(m));
    return 0;
}
