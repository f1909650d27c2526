// quorvela-cli: headless commands over a data folder.
#include "Version.h"
#include "app/CamposInforme.h"
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "data/logic/Importacion.h"
#include "diagnosis/logic/CorridaDiagnostico.h"
#include "diagnosis/logic/EvaluarEnsayoJson.h"
#include "graphs/logic/GraficoJson.h"
#include "maintenance/logic/Mantenimiento.h"
#include "search/logic/ArchivoAbs.h"
#include "search/logic/Busqueda.h"
#include "search/logic/MotorInforme.h"
#include "search/ui/PinturaInforme.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPair>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

namespace {

// The first error met writing the standard output (0: none); a command that wrote nothing
// readable has failed, whatever it did before.
int g_errorSalida = 0;

void escribirSalida(const QByteArray& bytes)
{
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) &&
        g_errorSalida == 0)
        g_errorSalida = errno != 0 ? errno : EIO;
}

void out(const QString& text)
{
    escribirSalida((text + QLatin1Char('\n')).toLocal8Bit());
}
int fail(const QString& text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    return 1;
}

QString motivoError(int code)
{
    switch (code) {
    case ENOSPC:
        return QStringLiteral("no queda espacio en el dispositivo");
    case EPIPE:
        return QStringLiteral("el destino se cerró antes de tiempo");
    case EBADF:
        return QStringLiteral("la salida estándar está cerrada");
    case EFBIG:
        return QStringLiteral("se superó el tamaño máximo de archivo");
    case EIO:
        return QStringLiteral("error de entrada/salida");
    default:
        return QStringLiteral("error del sistema %1").arg(code);
    }
}

// Empties the standard output; a failure at any point turns the exit code into one.
int terminarSalida(int code)
{
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && g_errorSalida == 0)
        g_errorSalida = errno != 0 ? errno : EIO;
    if (g_errorSalida == 0)
        return code;
    fail(QStringLiteral("No se pudo escribir la salida: %1").arg(motivoError(g_errorSalida)));
    return code != 0 ? code : 1;
}

// An option of demo that sizes the generated plant, with its bound and its help line.
struct OpcionDemo
{
    QString nombre;
    qlonglong maximo;
    QString ayuda;
    std::function<void(demo::PlantSize&, qlonglong)> poner;
};

QList<OpcionDemo> opcionesDemo()
{
    const demo::PlantSize base;
    const QString porTrafo = QStringLiteral("%1 por transformador, de 0 a %2 (%3 si se omite)");
    return {
        {QStringLiteral("--transformadores"), demo::kMaxTransformadores,
         QStringLiteral("transformadores de la planta, de 0 a %1 (%2 si se omite)")
             .arg(demo::kMaxTransformadores)
             .arg(base.transformers),
         [](demo::PlantSize& s, qlonglong v) { s.transformers = int(v); }},
        {QStringLiteral("--ensayos-por-trafo"), demo::kMaxPorTransformador,
         porTrafo.arg(QStringLiteral("ensayos"))
             .arg(demo::kMaxPorTransformador)
             .arg(base.testsPerTransformer),
         [](demo::PlantSize& s, qlonglong v) { s.testsPerTransformer = int(v); }},
        {QStringLiteral("--revisiones-por-trafo"), demo::kMaxPorTransformador,
         porTrafo.arg(QStringLiteral("revisiones"))
             .arg(demo::kMaxPorTransformador)
             .arg(base.inspectionsPerTransformer),
         [](demo::PlantSize& s, qlonglong v) { s.inspectionsPerTransformer = int(v); }},
        {QStringLiteral("--mantenimientos-por-trafo"), demo::kMaxPorTransformador,
         porTrafo.arg(QStringLiteral("mantenimientos"))
             .arg(demo::kMaxPorTransformador)
             .arg(base.maintenancePerTransformer),
         [](demo::PlantSize& s, qlonglong v) { s.maintenancePerTransformer = int(v); }},
        {QStringLiteral("--semilla"), std::numeric_limits<quint32>::max(),
         QStringLiteral("semilla del generador, de 0 a %1 (%2 si se omite): la misma semilla da la "
                        "misma planta")
             .arg(std::numeric_limits<quint32>::max())
             .arg(base.seed),
         [](demo::PlantSize& s, qlonglong v) { s.seed = quint32(v); }},
    };
}

struct Orden
{
    QString nombre, uso, resumen, descripcion;
    QList<QPair<QString, QString>> opciones;
};

QList<Orden> ordenes()
{
    QList<QPair<QString, QString>> deDemo;
    for (const OpcionDemo& o : opcionesDemo())
        deDemo.append({o.nombre + QStringLiteral(" N"), o.ayuda});
    return {
        {QStringLiteral("crear"),
         QStringLiteral("crear DIR"),
         QStringLiteral("crea un archivo de datos vacío"),
         QStringLiteral("Crea en la carpeta DIR, que debe existir, un archivo de datos trafos.mdb vacío.\n"
                        "No sobrescribe un archivo existente."),
         {}},
        {QStringLiteral("demo"), QStringLiteral("demo DIR [opciones]"),
         QStringLiteral("crea la planta de demostración o una planta generada del tamaño pedido"),
         QStringLiteral(
             "Crea en la carpeta DIR (la crea si no existe) un trafos.mdb con la planta de demostración,\n"
             "que reúne todos los estados y hallazgos, y guarda su diagnóstico general. Con cualquiera de\n"
             "las opciones genera en cambio una planta del tamaño pedido.\n"
             "No sobrescribe un archivo existente; si la creación falla o se interrumpe no deja ningún\n"
             "trafos.mdb a medias."),
         deDemo},
        {QStringLiteral("diagnosticar"),
         QStringLiteral("diagnosticar DIR"),
         QStringLiteral("repite el diagnóstico general y guarda los estados"),
         QStringLiteral(
             "Repite el diagnóstico general de todos los transformadores de DIR/trafos.mdb y guarda\n"
             "sus estados y diagnósticos. El avance se informa por la salida de errores."),
         {}},
        {QStringLiteral("evaluar"),
         QStringLiteral("evaluar DIR --codigo N [--fecha AAAA-MM-DD]"),
         QStringLiteral("evalúa un ensayo guardado y escribe el resultado en JSON"),
         QStringLiteral("Evalúa un ensayo guardado en DIR/trafos.mdb sin modificar el archivo y escribe el\n"
                        "resultado (estado, observaciones, colores y métodos de gases) en formato JSON."),
         {{QStringLiteral("--codigo N"),
           QStringLiteral("código del transformador (obligatorio, distinto de 0)")},
          {QStringLiteral("--fecha AAAA-MM-DD"),
           QStringLiteral("fecha del ensayo a evaluar (el más reciente si se omite)")}}},
        {QStringLiteral("buscar"),
         QStringLiteral("buscar DIR [--linea \"LÍNEA\"]... [--abs ARCHIVO]"),
         QStringLiteral("busca los transformadores que cumplen una condición y escribe el subgrupo en JSON"),
         QStringLiteral(
             "Reúne las líneas de condición, tal como las muestra la lista de BUSCAR (primero las de\n"
             "ARCHIVO, luego las de --linea, en orden), y escribe en JSON los códigos del subgrupo\n"
             "(codigos) y los textos que deja el subagrupado (formula_trafo, filtro_codigos)."),
         {{QStringLiteral("--linea \"LÍNEA\""), QStringLiteral("una línea de condición; puede repetirse")},
          {QStringLiteral("--abs ARCHIVO"), QStringLiteral("un archivo de búsqueda guardado (.abs)")}}},
        {QStringLiteral("seleccionar"),
         QStringLiteral(
             "seleccionar DIR --operador OP --fecha AAAA-MM-DD [--linea \"LÍNEA\"]... [--abs ARCHIVO]"),
         QStringLiteral(
             "selecciona las revisiones, ensayos y mantenimientos por fecha y los escribe en JSON"),
         QStringLiteral(
             "Selecciona las filas fechadas cuya fecha cumple la comparación OP (=, >, >=, <, <=, <>)\n"
             "con la fecha dada, dentro del subgrupo de las líneas de condición si se dan, y escribe\n"
             "en JSON las filas de cada tabla, los códigos y las fórmulas de fecha."),
         {{QStringLiteral("--operador OP"), QStringLiteral("la comparación de fechas (obligatoria)")},
          {QStringLiteral("--fecha AAAA-MM-DD"), QStringLiteral("la fecha del calendario (obligatoria)")},
          {QStringLiteral("--linea \"LÍNEA\""), QStringLiteral("una línea de condición; puede repetirse")},
          {QStringLiteral("--abs ARCHIVO"), QStringLiteral("un archivo de búsqueda guardado (.abs)")}}},
        {QStringLiteral("informe"),
         QStringLiteral("informe DIR NOMBRE --pdf SALIDA [--formula F] [--formula2 F2]"),
         QStringLiteral("imprime un informe de DIR/trafos.mdb en un archivo PDF"),
         QStringLiteral(
             "Imprime el informe NOMBRE (trafos2.rpt o trafos2; accesorios, trafos, trafos2, trafos3,\n"
             "revision, ensayos, mantenimiento, prioridades) de la carpeta del programa con los datos\n"
             "de DIR/trafos.mdb, que solo se lee, y lo guarda como PDF en SALIDA. Las fórmulas de\n"
             "selección son las que dejan el subagrupado y la selección por fecha (\"1=1\" si se omiten)."),
         {{QStringLiteral("--pdf SALIDA"), QStringLiteral("el archivo PDF que se escribe (obligatorio)")},
          {QStringLiteral("--formula F"),
           QStringLiteral("la fórmula de los transformadores ({Trafoge.CÓDIGO}=5 ...)")},
          {QStringLiteral("--formula2 F2"),
           QStringLiteral("la segunda fórmula, de fechas ({Ensayos.Fecha}>=DATE(2003,05,20) ...)")}}},
        {QStringLiteral("respaldar"),
         QStringLiteral("respaldar DIR DESTINO [--comprimir] [--reemplazar]"),
         QStringLiteral("copia el archivo de datos en la carpeta DESTINO"),
         QStringLiteral("Copia DIR/trafos.mdb en la carpeta DESTINO como T-ddmmaa.mdb (T-ddmmaa.zip con\n"
                        "--comprimir). La copia se comprueba antes de tomar su nombre; una copia existente\n"
                        "solo se reemplaza con --reemplazar, y solo cuando la nueva está completa."),
         {{QStringLiteral("--comprimir"), QStringLiteral("guarda la copia en un archivo ZIP")},
          {QStringLiteral("--reemplazar"), QStringLiteral("reemplaza la copia del día si ya existe")}}},
        {QStringLiteral("restaurar"),
         QStringLiteral("restaurar DIR ARCHIVO"),
         QStringLiteral("reemplaza el archivo de datos por una copia"),
         QStringLiteral("Reemplaza DIR/trafos.mdb por la copia ARCHIVO (.mdb, o un .zip o .rar con un solo\n"
                        ".mdb). La copia debe pasar la comprobación de integridad y tener las tablas del\n"
                        "programa; antes de cargarla se guarda el archivo actual entre las copias\n"
                        "automáticas. Si algo falla, el archivo de datos queda como estaba."),
         {}},
        {QStringLiteral("compactar"),
         QStringLiteral("compactar DIR"),
         QStringLiteral("compacta el archivo de datos"),
         QStringLiteral("Hace la copia automática del día y reescribe DIR/trafos.mdb sin el espacio libre.\n"
                        "Si algo falla, el archivo de datos queda como estaba."),
         {}},
        {QStringLiteral("grafico"),
         QStringLiteral("grafico DIR --codigo N --tipo TIPO [opciones]"),
         QStringLiteral("escribe en JSON los puntos de un gráfico de tendencia"),
         QStringLiteral(
             "Reúne los puntos del gráfico de tendencia de un transformador de DIR/trafos.mdb, como\n"
             "los gráficos de la ventana principal, desde su primera fila de la tabla (o la de\n"
             "--fecha), y escribe en JSON los títulos, las etiquetas y las series."),
         {{QStringLiteral("--codigo N"), QStringLiteral("código del transformador (obligatorio)")},
          {QStringLiteral("--tipo TIPO"), QStringLiteral("revision, ensayos o mantenimiento (obligatorio)")},
          {QStringLiteral("--cantidad N"),
           QStringLiteral("revision: 0 Aislación, 1 % Oxígeno, 2 Rigidez; ensayos: 0 Acidez a 6 Gases")},
          {QStringLiteral("--modo M"),
           QStringLiteral("para Gases: 0 gases marcados, 1 Total Combustibles, 2 Total Gases")},
          {QStringLiteral("--gases LISTA"),
           QStringLiteral("gases marcados, de 0 (H2) a 8 (C2H2), separados por comas")},
          {QStringLiteral("--fecha AAAA-MM-DD"), QStringLiteral("la fila desde la que se reúnen los puntos")},
          {QStringLiteral("--ampliado"), QStringLiteral("leyendas de la ventana Grafo")}}},
        {QStringLiteral("verificar"),
         QStringLiteral("verificar DIR"),
         QStringLiteral("comprueba la integridad y las tablas del archivo de datos"),
         QStringLiteral("Comprueba que DIR/trafos.mdb es un archivo de datos del programa, con sus tablas y\n"
                        "campos, y que pasa la comprobación de integridad. No modifica el archivo.\n"
                        "Sale con 0 solo si el archivo está sano."),
         {}},
        {QStringLiteral("importar"),
         QStringLiteral("importar ORIGEN.mdb DIR [--diagnosticar]"),
         QStringLiteral("convierte un trafos.mdb del programa anterior (Jet)"),
         QStringLiteral(
             "Convierte la base de datos Jet ORIGEN.mdb del programa anterior en DIR/trafos.mdb (crea DIR\n"
             "si no existe). No modifica el original ni sobrescribe un trafos.mdb existente; si la "
             "conversión\n"
             "falla o se interrumpe no deja ningún trafos.mdb. Escribe el informe DIR/importacion.txt\n"
             "(filas por tabla, lo que no se importó y por qué) y, si alguna fila no cabe en el archivo\n"
             "nuevo, la guarda completa en DIR/importacion-apartadas.csv. El avance se informa por la\n"
             "salida de errores."),
         {{QStringLiteral("--diagnosticar"),
           QStringLiteral("repite después el diagnóstico general y guarda los estados")}}},
        {QStringLiteral("version"),
         QStringLiteral("version"),
         QStringLiteral("muestra la versión del programa"),
         QStringLiteral("Muestra la versión del programa."),
         {}},
    };
}

std::optional<Orden> buscarOrden(const QString& nombre)
{
    for (const Orden& o : ordenes())
        if (o.nombre == nombre)
            return o;
    return std::nullopt;
}

QString ayudaGeneral()
{
    QString text = QStringLiteral("Uso: quorvela-cli ORDEN [argumentos]\n"
                                  "Órdenes sobre la carpeta DIR del archivo de datos trafos.mdb:\n");
    for (const Orden& o : ordenes())
        text += QStringLiteral("  %1%2\n")
                    .arg(o.uso.section(QLatin1Char(' '), 0, 1).leftJustified(22), o.resumen);
    text += QStringLiteral(
        "Opciones:\n"
        "  -h, --help            muestra esta ayuda; \"quorvela-cli ORDEN --help\" describe una orden\n"
        "Sale con 0 si la orden termina bien y con 1 si falla; el motivo se escribe en la "
        "salida de errores.");
    return text;
}

QString ayudaOrden(const Orden& o)
{
    QString text = QStringLiteral("Uso: quorvela-cli %1\n%2\n").arg(o.uso, o.descripcion);
    if (!o.opciones.isEmpty()) {
        text += QStringLiteral("Opciones:\n");
        for (const auto& [nombre, ayuda] : o.opciones)
            text += QStringLiteral("  %1%2\n").arg(nombre.leftJustified(32), ayuda);
    }
    return text + QStringLiteral("  -h, --help                      muestra esta ayuda");
}

// A command called with the wrong words: its usage, or every command's for none.
int usage(const QString& command = QString())
{
    const std::optional<Orden> orden = buscarOrden(command);
    return fail(orden ? QStringLiteral("Uso: quorvela-cli %1\n\"quorvela-cli %2 --help\" da más detalles.")
                            .arg(orden->uso, orden->nombre)
                      : ayudaGeneral());
}

// Reads "--name value" pairs of whole numbers within each option's bound; anything else is an error.
bool readOptions(const QStringList& args, demo::PlantSize& size, bool& large, QString& error)
{
    const QList<OpcionDemo> opciones = opcionesDemo();
    for (int i = 0; i < args.size(); i += 2) {
        const QString& name = args[i];
        const auto opcion = std::find_if(opciones.cbegin(), opciones.cend(),
                                         [&name](const OpcionDemo& o) { return o.nombre == name; });
        if (opcion == opciones.cend()) {
            error = QStringLiteral("Opción desconocida: %1").arg(name);
            return false;
        }
        if (i + 1 >= args.size()) {
            error = QStringLiteral("Falta el valor de la opción %1").arg(name);
            return false;
        }
        bool ok = false;
        const qlonglong value = args[i + 1].toLongLong(&ok);
        if (!ok) {
            error = QStringLiteral("El valor '%1' de la opción %2 no es un número entero válido")
                        .arg(args[i + 1], name);
            return false;
        }
        if (value < 0 || value > opcion->maximo) {
            error = QStringLiteral("La opción %1 debe estar entre 0 y %2").arg(name).arg(opcion->maximo);
            return false;
        }
        opcion->poner(size, value);
        large = true;
    }
    return true;
}

// The data file of a folder, opened as it is: never created, never converted.
Result<std::shared_ptr<Database>> openFolder(const QString& folder, bool readOnly)
{
    using R = Result<std::shared_ptr<Database>>;
    if (!QFileInfo(folder).isDir())
        return R::failure(QStringLiteral("No existe la carpeta '%1'").arg(folder));
    return Database::open(Database::rutaEn(folder), readOnly);
}

int diagnosticar(const QString& folder)
{
    auto db = openFolder(folder, false);
    if (!db)
        return fail(db.error());
    // A few progress lines a second are enough for a person or a log.
    QElapsedTimer clock;
    clock.start();
    qint64 shown = -1000;
    const auto progress = [&](int done, int total) {
        if (done < total && clock.elapsed() - shown < 250)
            return;
        shown = clock.elapsed();
        std::fputs(QStringLiteral("Diagnosticando: %1/%2\n").arg(done).arg(total).toLocal8Bit().constData(),
                   stderr);
        std::fflush(stderr);
    };
    auto run = diagnostico::diagnosticarArchivo(*db.value(), progress);
    if (!run)
        return fail(run.error());
    out(QStringLiteral("Diagnóstico general terminado: %1 transformadores, %2 ensayos")
            .arg(run.value().trafos)
            .arg(run.value().ensayos));
    // Transformers left undiagnosed make the run a failure for a script, after the count.
    if (run.value().fallidos > 0)
        return fail(run.value().avisoFallidos());
    return 0;
}

int importar(const QStringList& args)
{
    if (args.size() < 3 || args.size() > 4)
        return usage(QStringLiteral("importar"));
    const bool alFinal = args.size() == 4;
    if (alFinal && args[3] != QLatin1String("--diagnosticar"))
        return fail(QStringLiteral("Opción desconocida: %1").arg(args[3]));
    const QString carpeta = args[2];
    QElapsedTimer clock;
    clock.start();
    qint64 shown = -1000;
    const auto progreso = [&](const QString& tabla, qint64 hechas, qint64 total) {
        if (hechas < total && clock.elapsed() - shown < 250)
            return;
        shown = clock.elapsed();
        std::fputs(QStringLiteral("Importando %1: %2/%3\n")
                       .arg(tabla)
                       .arg(hechas)
                       .arg(total)
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        std::fflush(stderr);
    };
    auto hecho = importacion::importarEnCarpeta(args[1], carpeta, progreso);
    if (!hecho)
        return fail(hecho.error());
    const importacion::Informe& informe = hecho.value();
    out(QStringLiteral("Importación terminada: %1").arg(informe.destino));
    if (informe.sinTablas())
        out(informe.aviso());
    for (const importacion::ConteoTabla& c : informe.tablas)
        out(QStringLiteral("  %1: %2 importadas, %3 apartadas")
                .arg(c.tabla)
                .arg(c.importadas)
                .arg(c.apartadas));
    if (!informe.archivoApartadas.isEmpty())
        out(QStringLiteral("Filas apartadas: %1").arg(informe.archivoApartadas));
    out(QStringLiteral("Informe: %1")
            .arg(QFileInfo(QDir(carpeta).filePath(importacion::nombreInforme())).absoluteFilePath()));
    return alFinal ? diagnosticar(carpeta) : 0;
}

int evaluar(const QString& folder, const QStringList& options)
{
    std::optional<qint64> code;
    std::optional<QDate> date;
    for (int i = 0; i < options.size(); i += 2) {
        const QString& name = options[i];
        if (name != QLatin1String("--codigo") && name != QLatin1String("--fecha"))
            return fail(QStringLiteral("Opción desconocida: %1").arg(name));
        if (i + 1 >= options.size())
            return fail(QStringLiteral("Falta el valor de la opción %1").arg(name));
        const QString& value = options[i + 1];
        if (name == QLatin1String("--codigo")) {
            bool ok = false;
            const int n = value.toInt(&ok);
            // Transformer codes are whole numbers in the 16-bit range, never 0.
            if (!ok || n == 0 || n < -32768 || n > 32767)
                return fail(
                    QStringLiteral("El código '%1' no es un código de transformador válido").arg(value));
            code = n;
        } else {
            const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid())
                return fail(QStringLiteral("La fecha '%1' no es válida: se espera AAAA-MM-DD").arg(value));
            date = d;
        }
    }
    if (!code)
        return fail(QStringLiteral("Falta la opción --codigo"));
    auto db = openFolder(folder, true);
    if (!db)
        return fail(db.error());
    auto report = diagnostico::evaluarEnsayoGuardado(*db.value(), *code, date);
    if (!report)
        return fail(report.error());
    escribirSalida(QJsonDocument(report.value()).toJson(QJsonDocument::Indented));
    return 0;
}

// The options of buscar and seleccionar: condition lines, a saved search and, for the
// selection, the comparison and the date.
struct OpcionesBusqueda
{
    QStringList lineas;
    QString operador;
    std::optional<QDate> fecha;
};

std::optional<QString> leerOpcionesBusqueda(const QStringList& options, bool porFecha, OpcionesBusqueda& o)
{
    QStringList deAbs, sueltas;
    for (int i = 0; i < options.size(); i += 2) {
        const QString& name = options[i];
        const bool conocida =
            name == QLatin1String("--linea") || name == QLatin1String("--abs") ||
            (porFecha && (name == QLatin1String("--operador") || name == QLatin1String("--fecha")));
        if (!conocida)
            return QStringLiteral("Opción desconocida: %1").arg(name);
        if (i + 1 >= options.size())
            return QStringLiteral("Falta el valor de la opción %1").arg(name);
        const QString& value = options[i + 1];
        if (name == QLatin1String("--linea")) {
            sueltas << value;
        } else if (name == QLatin1String("--abs")) {
            auto leidas = busqueda::abs::cargar(value);
            if (!leidas)
                return QStringLiteral("%1: %2").arg(leidas.error(), value);
            deAbs += leidas.value();
        } else if (name == QLatin1String("--operador")) {
            if (!busqueda::operadorFechaValido(value))
                return QString::fromUtf8("La comparación '%1' no es válida: se espera =, >, >=, <, <= o <>")
                    .arg(value);
            o.operador = value;
        } else {
            const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid())
                return QStringLiteral("La fecha '%1' no es válida: se espera AAAA-MM-DD").arg(value);
            o.fecha = d;
        }
    }
    o.lineas = deAbs + sueltas;
    if (porFecha && o.operador.isEmpty())
        return QStringLiteral("Falta la opción --operador");
    if (porFecha && !o.fecha)
        return QStringLiteral("Falta la opción --fecha");
    return std::nullopt;
}

QJsonArray arregloCodigos(const QList<qint64>& codigos)
{
    QJsonArray a;
    for (qint64 c : codigos)
        a.append(c);
    return a;
}

int buscar(const QString& folder, const QStringList& options)
{
    OpcionesBusqueda o;
    if (auto error = leerOpcionesBusqueda(options, false, o))
        return fail(*error);
    auto db = openFolder(folder, true);
    if (!db)
        return fail(db.error());
    auto codigos = busqueda::buscar(*db.value(), o.lineas);
    if (!codigos)
        return fail(codigos.error());
    // No match leaves the formulas as they were: the whole plant.
    const bool hay = !codigos.value().isEmpty();
    const QJsonObject r{{QStringLiteral("codigos"), arregloCodigos(codigos.value())},
                        {QStringLiteral("formula_trafo"),
                         hay ? busqueda::formulaTrafo(codigos.value()) : QStringLiteral("1=1")},
                        {QStringLiteral("filtro_codigos"),
                         hay ? busqueda::filtroCodigos(codigos.value()) : QStringLiteral("1=1")}};
    escribirSalida(QJsonDocument(r).toJson(QJsonDocument::Indented));
    return 0;
}

int seleccionar(const QString& folder, const QStringList& options)
{
    OpcionesBusqueda o;
    if (auto error = leerOpcionesBusqueda(options, true, o))
        return fail(*error);
    auto db = openFolder(folder, true);
    if (!db)
        return fail(db.error());
    std::optional<QList<qint64>> subgrupo;
    if (!o.lineas.isEmpty()) {
        auto codigos = busqueda::buscar(*db.value(), o.lineas);
        if (!codigos)
            return fail(codigos.error());
        subgrupo = codigos.value();
    }
    auto s = busqueda::seleccionarPorFecha(*db.value(), o.operador, *o.fecha, subgrupo);
    if (!s)
        return fail(s.error());
    auto filas = [](const QList<QPair<qint64, QDate>>& lista) {
        QJsonArray a;
        for (const auto& [codigo, fecha] : lista)
            a.append(QJsonArray{codigo, fecha.toString(Qt::ISODate)});
        return a;
    };
    const busqueda::SeleccionFecha& v = s.value();
    // No row in any table leaves the date formulas as they were.
    auto formula = [&](const QString& f) { return v.vacia() ? QStringLiteral("1=1") : f; };
    const QJsonObject r{{QStringLiteral("revision"), filas(v.revision)},
                        {QStringLiteral("ensayos"), filas(v.ensayos)},
                        {QStringLiteral("mantenimiento"), filas(v.mantenimiento)},
                        {QStringLiteral("codigos"), arregloCodigos(v.codigos)},
                        {QStringLiteral("formula_revision"), formula(v.formulaRevision)},
                        {QStringLiteral("formula_ensayos"), formula(v.formulaEnsayos)},
                        {QStringLiteral("formula_mantenimiento"), formula(v.formulaMantenimiento)}};
    escribirSalida(QJsonDocument(r).toJson(QJsonDocument::Indented));
    return 0;
}

int grafico(const QString& folder, const QStringList& options)
{
    auto pedido = graficos::leerPedido(folder, options);
    if (!pedido)
        return fail(pedido.error());
    auto json = graficos::graficoJson(pedido.value());
    if (!json)
        return fail(json.error());
    escribirSalida(json.value());
    return 0;
}

int crear(const QString& folder)
{
    if (!QDir(folder).exists())
        return fail(QStringLiteral("No existe la carpeta '%1'").arg(folder));
    const Status st = Database::create(Database::rutaEn(folder));
    if (!st)
        return fail(st.error());
    out(QStringLiteral("Base de datos creada: %1")
            .arg(QFileInfo(Database::rutaEn(folder)).absoluteFilePath()));
    return 0;
}

int crearDemo(const QString& folder, const QStringList& options)
{
    demo::PlantSize size;
    bool large = false;
    QString error;
    if (!readOptions(options, size, large, error))
        return fail(error);
    // The stored diagnosis of a new plant is the one the program itself computes; it is part of
    // the plant, made before the file takes its name.
    const demo::Remate diagnosticar = [](Database& db) {
        auto run = diagnostico::diagnosticarArchivo(db);
        if (!run)
            return Status::failure(run.error());
        return run.value().fallidos > 0 ? Status::failure(run.value().avisoFallidos()) : Status();
    };
    const Status st =
        large ? demo::createLarge(folder, size, diagnosticar) : demo::createDemo(folder, diagnosticar);
    if (!st)
        return fail(st.error());
    out(QStringLiteral("Planta de demostración creada en %1")
            .arg(QFileInfo(Database::rutaEn(folder)).absoluteFilePath()));
    return 0;
}

// The data file of a folder that must exist, for the maintenance commands.
Result<QString> archivoDe(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return Result<QString>::failure(QStringLiteral("No existe la carpeta '%1'").arg(folder));
    return QFileInfo(Database::rutaEn(folder)).absoluteFilePath();
}

int respaldar(const QString& folder, const QStringList& args)
{
    if (args.isEmpty())
        return usage(QStringLiteral("respaldar"));
    bool comprimir = false, reemplazar = false;
    for (const QString& a : args.mid(1)) {
        if (a == QLatin1String("--comprimir"))
            comprimir = true;
        else if (a == QLatin1String("--reemplazar"))
            reemplazar = true;
        else
            return fail(QStringLiteral("Opción desconocida: %1").arg(a));
    }
    auto datos = archivoDe(folder);
    if (!datos)
        return fail(datos.error());
    auto hecho =
        mantenimiento::respaldar(datos.value(), args[0], QDate::currentDate(), comprimir, reemplazar);
    if (!hecho)
        return fail(hecho.error());
    out(QStringLiteral("Archivo Copiado: %1").arg(hecho.value()));
    return 0;
}

int restaurar(const QString& folder, const QString& elegido)
{
    auto datos = archivoDe(folder);
    if (!datos)
        return fail(datos.error());
    auto hecho = mantenimiento::restaurar(elegido, datos.value(), mantenimiento::carpetaCopiasAutomaticas(),
                                          QDateTime::currentDateTime());
    if (!hecho)
        return fail(hecho.error());
    out(QStringLiteral("Archivo Restaurado"));
    if (!hecho.value().copiaPrevia.isEmpty())
        out(QStringLiteral("La base de datos anterior se guardó en %1").arg(hecho.value().copiaPrevia));
    return 0;
}

int compactar(const QString& folder)
{
    auto datos = archivoDe(folder);
    if (!datos)
        return fail(datos.error());
    // The day's automatic copy is the safety net of the compaction: without it, no compaction.
    auto copia = mantenimiento::copiaAutomatica(datos.value(), mantenimiento::carpetaCopiasAutomaticas(),
                                                QDate::currentDate());
    if (!copia)
        return fail(copia.error() + QStringLiteral(" No se compactó."));
    out(QStringLiteral("Copia automática: %1").arg(copia.value().copia));
    if (const Status st = mantenimiento::compactar(datos.value()); !st)
        return fail(st.error());
    out(QStringLiteral("Archivo Compactado"));
    return 0;
}

int verificar(const QString& folder)
{
    auto datos = archivoDe(folder);
    if (!datos)
        return fail(datos.error());
    if (const Status st = mantenimiento::verificar(datos.value()); !st)
        return fail(st.error());
    out(QStringLiteral("La base de datos '%1' está sana.").arg(datos.value()));
    return 0;
}

int imprimirInformeCli(const QString& folder, const QStringList& args)
{
    if (args.isEmpty())
        return usage(QStringLiteral("informe"));
    QString pdf, formula = QStringLiteral("1=1"), formula2 = QStringLiteral("1=1");
    for (int i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return fail(QStringLiteral("Falta el valor de %1").arg(args[i]));
        if (args[i] == QLatin1String("--pdf"))
            pdf = args[i + 1];
        else if (args[i] == QLatin1String("--formula"))
            formula = args[i + 1];
        else if (args[i] == QLatin1String("--formula2"))
            formula2 = args[i + 1];
        else
            return fail(QStringLiteral("Opción desconocida: %1").arg(args[i]));
    }
    if (pdf.isEmpty())
        return usage(QStringLiteral("informe"));
    auto datos = archivoDe(folder);
    if (!datos)
        return fail(datos.error());
    informe::MotorInforme motor;
    motor.ponerCalculador(calculadorInformes());
    motor.ponerArchivoInforme(QDir(informe::carpetaInformes(QCoreApplication::applicationDirPath()))
                                  .filePath(informe::nombreArchivo(args[0])));
    for (int i = 0; i < 4; ++i)
        motor.ponerArchivoDatos(i, datos.value());
    motor.ponerFormula(formula);
    motor.ponerSegundaFormula(formula2);
    const int resultado = motor.imprimir([&pdf](const informe::InformePreparado& preparado) {
        return informe::exportarPdf(preparado, pdf, QDateTime::currentDateTime());
    });
    if (resultado != 0)
        return fail(motor.ultimoError());
    out(QStringLiteral("Informe guardado en %1").arg(pdf));
    return 0;
}

int ejecutar(const QStringList& args)
{
    const auto pideAyuda = [](const QString& a) {
        return a == QLatin1String("--help") || a == QLatin1String("-h");
    };
    if (args.isEmpty())
        return usage();
    const QString command = args[0];
    if (pideAyuda(command)) {
        out(ayudaGeneral());
        return 0;
    }
    const std::optional<Orden> orden = buscarOrden(command);
    if (!orden)
        return fail(QStringLiteral("Orden desconocida: %1\n\"quorvela-cli --help\" enumera las órdenes.")
                        .arg(command));
    if (std::any_of(args.cbegin() + 1, args.cend(), pideAyuda)) {
        out(ayudaOrden(*orden));
        return 0;
    }
    if (command == QLatin1String("version")) {
        if (args.size() != 1)
            return usage(command);
        out(QStringLiteral("Quorvela " QUORVELA_VERSION_TEXT));
        return 0;
    }
    if (command == QLatin1String("importar"))
        return importar(args);
    if (args.size() < 2)
        return usage(command);
    const QString folder = args[1];
    if (command == QLatin1String("crear"))
        return args.size() == 2 ? crear(folder) : usage(command);
    if (command == QLatin1String("demo"))
        return crearDemo(folder, args.mid(2));
    if (command == QLatin1String("diagnosticar"))
        return args.size() == 2 ? diagnosticar(folder) : usage(command);
    if (command == QLatin1String("buscar"))
        return buscar(folder, args.mid(2));
    if (command == QLatin1String("seleccionar"))
        return seleccionar(folder, args.mid(2));
    if (command == QLatin1String("respaldar"))
        return respaldar(folder, args.mid(2));
    if (command == QLatin1String("informe"))
        return imprimirInformeCli(folder, args.mid(2));
    if (command == QLatin1String("restaurar"))
        return args.size() == 3 ? restaurar(folder, args[2]) : usage(command);
    if (command == QLatin1String("compactar"))
        return args.size() == 2 ? compactar(folder) : usage(command);
    if (command == QLatin1String("verificar"))
        return args.size() == 2 ? verificar(folder) : usage(command);
    if (command == QLatin1String("grafico"))
        return grafico(folder, args.mid(2));
    return evaluar(folder, args.mid(2));
}

} // namespace

int main(int argc, char** argv)
{
    // Reports paint text with the system's fonts, which takes a graphical application; it needs
    // no screen.
    const bool informe = argc > 1 && qstrcmp(argv[1], "informe") == 0;
    if (informe && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> aplicacion = informe ? std::make_unique<QGuiApplication>(argc, argv)
                                                           : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *aplicacion;
    // The automatic copies live in the program's per-user data folder, as for the desktop program.
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvela"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvela"));
    return terminarSalida(ejecutar(app.arguments().mid(1)));
}
