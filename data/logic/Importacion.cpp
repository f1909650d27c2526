#include "data/logic/Importacion.h"

#include "data/logic/Database.h"
#include "data/logic/Fechas.h"
#include "data/logic/Rtf.h"
#include "data/logic/Schema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace importacion {

namespace {

using jet::TipoColumna;
using schema::FieldKind;

bool esFecha(TipoColumna t)
{
    return t == TipoColumna::FechaHora;
}

// A number written by hand: one decimal point or one decimal comma, no thousands marks.
std::optional<double> numeroDeTexto(const QString& texto)
{
    QString t = texto.trimmed();
    if (t.count(QLatin1Char(',')) == 1 && !t.contains(QLatin1Char('.')))
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::optional<qint64> enteroDeDoble(double d)
{
    if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) > 9.0e15)
        return std::nullopt;
    return qint64(d);
}

QString numeroComoTexto(double d)
{
    return QString::number(d, 'g', QLocale::FloatingPointShortest);
}

// A value of the Jet file as text, for the CSV and the report.
QString comoTexto(const QVariant& v, TipoColumna tipo)
{
    if (!v.isValid())
        return QString();
    if (esFecha(tipo))
        return jet::textoDeFecha(v.toDouble(), jet::fechaDeValor(v.toDouble()).conHora);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
        return numeroComoTexto(v.toDouble());
    case QMetaType::QByteArray:
        return QStringLiteral("0x") + QString::fromLatin1(v.toByteArray().toHex());
    default:
        return v.toString();
    }
}

// One value of the Jet file in the storage convention of the field's kind. problema gets
// why it could not be converted (the value is then Null).
QVariant convertirValor(const QVariant& v, TipoColumna tipo, const schema::Field& campo, QString& problema,
                        bool& horaDescartada)
{
    problema.clear();
    horaDescartada = false;
    if (!v.isValid())
        return QVariant();
    const bool texto = v.typeId() == QMetaType::QString;
    const bool binario = v.typeId() == QMetaType::QByteArray;
    if (binario && campo.kind != FieldKind::Memo && campo.kind != FieldKind::Text &&
        campo.kind != FieldKind::ListText) {
        problema = QStringLiteral("es un dato binario");
        return QVariant();
    }
    switch (campo.kind) {
    case FieldKind::Integer: {
        if (esFecha(tipo))
            break;
        if (v.typeId() == QMetaType::Bool)
            return qlonglong(v.toBool() ? 1 : 0);
        if (v.typeId() == QMetaType::LongLong)
            return v;
        std::optional<double> d = texto ? numeroDeTexto(v.toString()) : std::optional<double>(v.toDouble());
        if (texto && v.toString().trimmed().isEmpty())
            return QVariant();
        if (d)
            if (const auto e = enteroDeDoble(*d))
                return qlonglong(*e);
        problema = QStringLiteral("no es un número entero");
        return QVariant();
    }
    case FieldKind::Number: {
        if (esFecha(tipo))
            break;
        if (v.typeId() == QMetaType::Bool)
            return v.toBool() ? 1.0 : 0.0;
        if (!texto)
            return v.toDouble();
        if (v.toString().trimmed().isEmpty())
            return QVariant();
        if (const auto d = numeroDeTexto(v.toString()))
            return *d;
        problema = QStringLiteral("no es un número");
        return QVariant();
    }
    case FieldKind::Date: {
        if (esFecha(tipo)) {
            const jet::FechaJet f = jet::fechaDeValor(v.toDouble());
            if (!f.valida) {
                problema = QStringLiteral("no es una fecha válida");
                return QVariant();
            }
            horaDescartada = f.conHora;
            return jet::textoDeFecha(v.toDouble(), false);
        }
        if (texto) {
            if (v.toString().trimmed().isEmpty())
                return QVariant();
            if (const auto d = fechas::leer(v.toString().trimmed()))
                return QStringLiteral("%1-%2-%3")
                    .arg(d->year(), 4, 10, QLatin1Char('0'))
                    .arg(d->month(), 2, 10, QLatin1Char('0'))
                    .arg(d->day(), 2, 10, QLatin1Char('0'));
        }
        problema = QStringLiteral("no es una fecha");
        return QVariant();
    }
    case FieldKind::YesNo: {
        if (esFecha(tipo))
            break;
        if (v.typeId() == QMetaType::Bool)
            return qlonglong(v.toBool() ? 1 : 0);
        if (!texto)
            return qlonglong(v.toDouble() != 0 ? 1 : 0);
        const QString t = v.toString().trimmed().toLower();
        if (t.isEmpty())
            return QVariant();
        for (const char* si : {"sí", "si", "verdadero", "true", "yes", "-1", "1"})
            if (t == QString::fromUtf8(si))
                return qlonglong(1);
        for (const char* no : {"no", "falso", "false", "0"})
            if (t == QString::fromUtf8(no))
                return qlonglong(0);
        problema = QStringLiteral("no es Sí ni No");
        return QVariant();
    }
    case FieldKind::Memo: {
        const QString t = comoTexto(v, tipo);
        if (!rtf::esRtf(t))
            return t;
        // An RTF memo with no text left is empty, as the program stores an empty box.
        const QString convertido = campo.richText ? rtf::aTextoEnriquecido(t) : rtf::aTextoPlano(t);
        return convertido.trimmed().isEmpty() ? QVariant() : QVariant(convertido);
    }
    case FieldKind::Text:
    case FieldKind::ListText: {
        const QString t = comoTexto(v, tipo);
        return rtf::esRtf(t) ? rtf::aTextoPlano(t) : t;
    }
    }
    problema = QStringLiteral("es una fecha");
    return QVariant();
}

QString campoCsv(const QString& t)
{
    if (!t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('"')) && !t.contains(QLatin1Char('\n')) &&
        !t.contains(QLatin1Char('\r')))
        return t;
    return QLatin1Char('"') + QString(t).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString lineaCsv(const QStringList& campos)
{
    QStringList out;
    for (const QString& c : campos)
        out << campoCsv(c);
    return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

// Rows set aside, written as they come; the file appears only if the conversion completes.
class Apartadas
{
public:
    explicit Apartadas(QString ruta) : m_archivo(std::move(ruta)) {}

    Status anotar(const jet::Tabla& tabla, qint64 fila, const QString& motivo, const jet::Fila& valores)
    {
        if (!m_archivo.isOpen()) {
            if (!m_archivo.open(QIODevice::WriteOnly))
                return Status::failure(QStringLiteral("No se puede crear el archivo '%1': %2")
                                           .arg(m_archivo.fileName(), m_archivo.errorString()));
            // The byte-order mark lets spreadsheets read the accents.
            m_archivo.write("\xEF\xBB\xBF");
        }
        if (tabla.nombre != m_tablaActual) {
            // Each table's rows come under a header of their own columns.
            m_tablaActual = tabla.nombre;
            QStringList encabezado = {QStringLiteral("Tabla"), QStringLiteral("Fila"),
                                      QStringLiteral("Motivo")};
            for (const jet::Columna& c : tabla.columnas)
                encabezado << c.nombre;
            m_archivo.write(lineaCsv(encabezado).toUtf8());
        }
        QStringList campos = {tabla.nombre, QString::number(fila), motivo};
        for (int i = 0; i < valores.size() && i < tabla.columnas.size(); ++i)
            campos << comoTexto(valores[i], tabla.columnas[i].tipo);
        m_archivo.write(lineaCsv(campos).toUtf8());
        return {};
    }

    bool usado() const { return m_archivo.isOpen(); }

    Status guardar()
    {
        if (m_archivo.isOpen() && !m_archivo.commit())
            return Status::failure(QStringLiteral("No se pudo guardar el archivo '%1': %2")
                                       .arg(m_archivo.fileName(), m_archivo.errorString()));
        return {};
    }

private:
    QSaveFile m_archivo;
    QString m_tablaActual;
};

// Where each field of a table comes from in the Jet table (-1: the file lacks it).
QList<int> columnasDeOrigen(const schema::Table& tabla, const jet::Tabla& origen, Informe& informe)
{
    QList<int> desde;
    QList<bool> usada(origen.columnas.size(), false);
    for (const schema::Field& campo : tabla.fields) {
        int encontrada = -1;
        for (int c = 0; c < origen.columnas.size() && encontrada < 0; ++c)
            if (!usada[c] && schema::sameName(origen.columnas[c].nombre, campo.name))
                encontrada = c;
        if (encontrada >= 0)
            usada[encontrada] = true;
        else
            informe.camposFaltantes << QStringLiteral("%1: %2").arg(tabla.name, campo.name);
        desde << encontrada;
    }
    for (int c = 0; c < origen.columnas.size(); ++c)
        if (!usada[c])
            informe.columnasSobrantes
                << QStringLiteral("%1: %2").arg(origen.nombre, origen.columnas[c].nombre);
    return desde;
}

Status convertirTabla(Database& db, jet::Lector& lector, const schema::Table& tabla, const jet::Tabla& origen,
                      ConteoTabla& conteo, Informe& informe, Apartadas& apartadas, const Progreso& progreso)
{
    const QList<int> desde = columnasDeOrigen(tabla, origen, informe);
    QStringList columnas, marcas;
    for (const schema::Field& f : tabla.fields) {
        columnas << schema::quoteIdentifier(f.name);
        marcas << QStringLiteral("?");
    }
    auto insertar =
        Statement::prepare(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(schema::quoteIdentifier(tabla.name), columnas.join(QLatin1Char(',')),
                                        marcas.join(QLatin1Char(','))));
    if (!insertar)
        return Status::failure(insertar.error());
    const int indiceCodigo = tabla.fieldIndex(tabla.codeField);
    // The first row with a code keeps it; later ones are set aside with the row that has it.
    QHash<qint64, qint64> codigos;
    Status fallo;
    QVariantList fila(tabla.fields.size());
    const Status leido = lector.leer(origen.nombre, [&](const jet::Fila& valores) {
        const qint64 n = ++conteo.leidas;
        if (progreso && (n % 2000 == 0 || n == conteo.declaradas))
            progreso(tabla.name, n, conteo.declaradas);
        const auto donde = [&] { return QStringLiteral("%1, fila %2").arg(origen.nombre).arg(n); };
        // What the report says of an imported row; a row set aside is whole in the CSV.
        QStringList vacios, horas;
        for (int i = 0; i < tabla.fields.size(); ++i) {
            const int c = desde[i];
            if (c < 0 || c >= valores.size()) {
                fila[i] = QVariant();
                continue;
            }
            QString problema;
            bool hora = false;
            fila[i] = convertirValor(valores[c], origen.columnas[c].tipo, tabla.fields[i], problema, hora);
            if (!problema.isEmpty())
                vacios << QStringLiteral("%1, %2: '%3' %4; quedó vacío")
                              .arg(donde(), tabla.fields[i].name,
                                   comoTexto(valores[c], origen.columnas[c].tipo), problema);
            if (hora)
                horas << QStringLiteral("%1, %2: %3; se guardó solo el día")
                             .arg(donde(), tabla.fields[i].name,
                                  comoTexto(valores[c], origen.columnas[c].tipo));
        }
        // A row whose transformer code the new file cannot hold is set aside whole.
        QString motivo;
        const int cc = desde[indiceCodigo];
        const QVariant& codigo = fila[indiceCodigo];
        if (!codigo.isValid()) {
            const QString codigoOriginal =
                cc >= 0 ? comoTexto(valores.value(cc), origen.columnas[cc].tipo) : QString();
            motivo = codigoOriginal.trimmed().isEmpty() ? QStringLiteral("no tiene %1").arg(tabla.codeField)
                                                        : QStringLiteral("el %1 '%2' no es un número entero")
                                                              .arg(tabla.codeField, codigoOriginal);
        } else if (codigo.toLongLong() == 0 || codigo.toLongLong() < -32768 || codigo.toLongLong() > 32767) {
            motivo = QStringLiteral("el %1 %2 no es un código de transformador válido (distinto de 0, "
                                    "entre -32768 y 32767)")
                         .arg(tabla.codeField, codigo.toString());
        } else if (tabla.codeUnique) {
            const auto previa = codigos.constFind(codigo.toLongLong());
            if (previa != codigos.cend())
                motivo = QStringLiteral("el %1 %2 ya es del transformador de la fila %3")
                             .arg(tabla.codeField, codigo.toString())
                             .arg(*previa);
            else
                codigos.insert(codigo.toLongLong(), n);
        }
        if (!motivo.isEmpty()) {
            ++conteo.apartadas;
            informe.filasApartadas << QStringLiteral("%1: %2").arg(donde(), motivo);
            fallo = apartadas.anotar(origen, n, motivo, valores);
            return fallo.ok();
        }
        informe.valoresVacios << vacios;
        informe.horasDescartadas << horas;
        if (Status st = insertar.value().bind(fila); !st) {
            fallo = st;
            return false;
        }
        if (auto paso = insertar.value().step(); !paso) {
            fallo = Status::failure(QStringLiteral("No se pudo guardar %1: %2").arg(donde(), paso.error()));
            return false;
        }
        ++conteo.importadas;
        return true;
    });
    if (!fallo)
        return fallo;
    return leido;
}

// The folder's entry made durable after a rename.
void sincronizarCarpeta(const QString& carpeta)
{
    const int fd = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString nombreTemporal(const QString& ruta)
{
    QString nombre;
    do
        nombre = QStringLiteral("%1.%2.tmp")
                     .arg(ruta)
                     .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    while (QFileInfo::exists(nombre));
    return nombre;
}

void quitar(const QString& ruta)
{
    QFile::remove(ruta);
    QFile::remove(ruta + QStringLiteral("-journal"));
}

Status guardarTexto(const QString& ruta, const QString& texto)
{
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(texto.toUtf8()) < 0 || !archivo.commit())
        return Status::failure(
            QStringLiteral("No se pudo guardar el informe '%1': %2").arg(ruta, archivo.errorString()));
    return {};
}

// The conversion into a temporary file beside destino, with the CSV and the report written;
// returns the temporary file, complete, for the caller to rename.
Result<QString> convertirATemporal(const QString& origen, const QString& destino, Informe& informe,
                                   const Progreso& progreso, const Abridor& abridor)
{
    auto abierto = abridor(origen);
    if (!abierto)
        return Result<QString>::failure(abierto.error());
    const QString carpeta = QFileInfo(destino).absolutePath();
    const QString temporal = nombreTemporal(destino);
    auto hecho = convertir(*abierto.value(), temporal, QDir(carpeta).filePath(nombreApartadas()), progreso);
    if (!hecho)
        return Result<QString>::failure(hecho.error());
    informe = hecho.value();
    informe.origen = QFileInfo(origen).absoluteFilePath();
    informe.destino = QFileInfo(destino).absoluteFilePath();
    return temporal;
}

} // namespace

qint64 Informe::totalApartadas() const
{
    qint64 n = 0;
    for (const ConteoTabla& t : tablas)
        n += t.apartadas;
    return n;
}

bool Informe::sinTablas() const
{
    return std::all_of(tablas.cbegin(), tablas.cend(),
                       [](const ConteoTabla& c) { return c.enOrigen.isEmpty(); });
}

QString Informe::aviso() const
{
    return sinTablas()
               ? QStringLiteral("Aviso: el archivo no tiene ninguna de las tablas de Quorvela (Trafoge, "
                                "Revision, Ensayos, Mantenimiento); puede no ser un archivo del programa "
                                "anterior. El archivo nuevo queda vacío.")
               : QString();
}

QString Informe::texto() const
{
    QString t;
    t += QStringLiteral("Importación de una base de datos del programa anterior\r\n");
    t += QStringLiteral("Fecha: %1\r\n")
             .arg(QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    t += QStringLiteral("Origen: %1 (%2)\r\n").arg(origen, formato);
    if (!original.isEmpty())
        t += QStringLiteral("El original se conserva sin cambios como: %1\r\n").arg(original);
    t += QStringLiteral("Destino: %1\r\n\r\n").arg(destino);
    if (sinTablas())
        t += aviso() + QStringLiteral("\r\n\r\n");
    t += QStringLiteral("Filas por tabla (leídas = importadas + apartadas):\r\n");
    for (const ConteoTabla& c : tablas) {
        if (c.enOrigen.isEmpty())
            t += QStringLiteral("  %1: no está en el archivo; queda vacía\r\n").arg(c.tabla);
        else
            t += QStringLiteral("  %1: %2 leídas, %3 importadas, %4 apartadas\r\n")
                     .arg(c.tabla)
                     .arg(c.leidas)
                     .arg(c.importadas)
                     .arg(c.apartadas);
    }
    const auto lista = [&t](const QString& titulo, const QStringList& items) {
        if (items.isEmpty())
            return;
        t += QStringLiteral("\r\n%1 (%2):\r\n").arg(titulo).arg(items.size());
        for (const QString& i : items)
            t += QStringLiteral("  ") + i + QStringLiteral("\r\n");
    };
    lista(QStringLiteral("Filas apartadas, que están completas en %1").arg(nombreApartadas()),
          filasApartadas);
    lista(QStringLiteral("Tablas del archivo que Quorvela no tiene (no se importaron)"), tablasSobrantes);
    lista(QStringLiteral("Columnas del archivo que Quorvela no tiene (no se importaron)"), columnasSobrantes);
    lista(QStringLiteral("Campos de Quorvela que el archivo no tiene (quedan vacíos)"), camposFaltantes);
    lista(QStringLiteral("Valores que no se pudieron convertir"), valoresVacios);
    lista(QStringLiteral("Fechas con hora (Quorvela guarda solo el día)"), horasDescartadas);
    if (filasApartadas.isEmpty())
        t += QStringLiteral("\r\nNo se apartó ninguna fila.\r\n");
    return t;
}

QString Informe::resumen(const QString& rutaInforme) const
{
    QString t = QStringLiteral("La base de datos se convirtió.\n");
    if (sinTablas())
        t += aviso() + QLatin1Char('\n');
    for (const ConteoTabla& c : tablas)
        t += c.enOrigen.isEmpty() ? QStringLiteral("%1: no está en el archivo\n").arg(c.tabla)
                                  : QStringLiteral("%1: %2 importadas de %3 leídas\n")
                                        .arg(c.tabla)
                                        .arg(c.importadas)
                                        .arg(c.leidas);
    if (totalApartadas() > 0)
        t += QStringLiteral("%1 filas no se pudieron importar y se guardaron en '%2'.\n")
                 .arg(totalApartadas())
                 .arg(archivoApartadas);
    if (!original.isEmpty())
        t += QStringLiteral("El original se conserva sin cambios como '%1'.\n").arg(original);
    return t + QStringLiteral("El informe completo está en '%1'.").arg(rutaInforme);
}

Result<Informe> convertir(jet::Lector& lector, const QString& destino, const QString& rutaApartadas,
                          const Progreso& progreso)
{
    using R = Result<Informe>;
    Informe informe;
    informe.formato = lector.formato();
    informe.destino = destino;
    // Each table of the data model, found by name without regard to case.
    QList<const jet::Tabla*> fuentes;
    for (const schema::Table& tabla : schema::tables()) {
        const jet::Tabla* fuente = nullptr;
        for (const jet::Tabla& t : lector.tablas())
            if (!fuente && schema::sameName(t.nombre, tabla.name))
                fuente = &t;
        fuentes << fuente;
        ConteoTabla conteo;
        conteo.tabla = tabla.name;
        if (fuente) {
            conteo.enOrigen = fuente->nombre;
            conteo.declaradas = fuente->filas;
        }
        informe.tablas << conteo;
    }
    for (const jet::Tabla& t : lector.tablas())
        if (!fuentes.contains(&t))
            informe.tablasSobrantes << QStringLiteral("%1 (%2 filas)").arg(t.nombre).arg(t.filas);
    // A file without any of the tables still converts, to an empty file: the report says so and
    // lists every table it has, and the original stays as it was.

    if (Status st = Database::create(destino); !st)
        return R::failure(st.error());
    Apartadas apartadas(rutaApartadas);
    const auto fallar = [&](const QString& mensaje) {
        quitar(destino);
        return R::failure(mensaje);
    };
    {
        auto abierta = Database::open(destino);
        if (!abierta)
            return fallar(abierta.error());
        Database& db = *abierta.value();
        if (Status st = db.exec(QStringLiteral("BEGIN")); !st)
            return fallar(st.error());
        for (int i = 0; i < schema::tables().size(); ++i) {
            if (!fuentes[i])
                continue;
            if (Status st = convertirTabla(db, lector, schema::tables()[i], *fuentes[i], informe.tablas[i],
                                           informe, apartadas, progreso);
                !st)
                return fallar(st.error());
        }
        if (Status st = db.exec(QStringLiteral("COMMIT")); !st)
            return fallar(st.error());
        // The counts: every row read is in the new file or in the CSV, and the file declared
        // no row that was not read.
        for (int i = 0; i < informe.tablas.size(); ++i) {
            const ConteoTabla& c = informe.tablas[i];
            auto cuenta = Statement::prepare(
                db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(schema::quoteIdentifier(c.tabla)));
            if (!cuenta || !cuenta.value().step())
                return fallar(db.lastError());
            const qint64 enArchivo = cuenta.value().int64(0);
            if (enArchivo != c.importadas || c.leidas != c.importadas + c.apartadas)
                return fallar(
                    QStringLiteral("La tabla %1 tiene %2 filas en el archivo nuevo, pero se importaron "
                                   "%3: la conversión se detuvo.")
                        .arg(c.tabla)
                        .arg(enArchivo)
                        .arg(c.importadas));
            if (!c.enOrigen.isEmpty() && c.leidas != c.declaradas)
                return fallar(
                    QStringLiteral("De la tabla %1 se leyeron %2 filas, pero el archivo declara %3: "
                                   "puede estar dañado. La conversión se detuvo para no perder datos.")
                        .arg(c.enOrigen)
                        .arg(c.leidas)
                        .arg(c.declaradas));
        }
    }
    if (apartadas.usado())
        informe.archivoApartadas = QFileInfo(rutaApartadas).absoluteFilePath();
    if (Status st = apartadas.guardar(); !st)
        return fallar(st.error());
    return informe;
}

Result<Informe> importarEnCarpeta(const QString& origen, const QString& carpeta, const Progreso& progreso,
                                  const Abridor& abridor)
{
    using R = Result<Informe>;
    const QString destino = Database::rutaEn(carpeta);
    if (QFileInfo::exists(destino))
        return R::failure(QStringLiteral("Ya existe el archivo '%1'; no se sobrescribe")
                              .arg(QFileInfo(destino).absoluteFilePath()));
    if (!QFileInfo::exists(origen))
        return R::failure(QStringLiteral("No se encuentra el archivo '%1'").arg(origen));
    if (!QDir(carpeta).exists() && !QDir().mkpath(carpeta))
        return R::failure(QStringLiteral("No se puede crear la carpeta '%1'").arg(carpeta));
    Informe informe;
    auto temporal = convertirATemporal(origen, destino, informe, progreso, abridor);
    if (!temporal)
        return R::failure(temporal.error());
    const QString rutaInforme = QDir(carpeta).filePath(nombreInforme());
    if (Status st = guardarTexto(rutaInforme, informe.texto()); !st) {
        quitar(temporal.value());
        return R::failure(st.error());
    }
    // QFile::rename never replaces a file: one that appeared meanwhile is kept.
    if (!QFile::rename(temporal.value(), destino)) {
        quitar(temporal.value());
        return R::failure(QStringLiteral("No se pudo renombrar el archivo convertido como '%1'")
                              .arg(QFileInfo(destino).absoluteFilePath()));
    }
    sincronizarCarpeta(carpeta);
    return informe;
}

Result<Informe> convertirEnSuSitio(const QString& carpeta, const Progreso& progreso, const Abridor& abridor)
{
    using R = Result<Informe>;
    const QString datos = Database::rutaEn(carpeta);
    if (!jet::esArchivoJet(datos))
        return R::failure(
            QStringLiteral("El archivo '%1' no es una base de datos del programa anterior.").arg(datos));
    Informe informe;
    auto temporal = convertirATemporal(datos, datos, informe, progreso, abridor);
    if (!temporal)
        return R::failure(temporal.error());

    // The original gets a second name first: trafos-jet.mdb, or the first free variant, or
    // one that already is this same file from an interrupted earlier attempt.
    struct stat delOriginal = {};
    if (::stat(QFile::encodeName(datos).constData(), &delOriginal) != 0) {
        quitar(temporal.value());
        return R::failure(QStringLiteral("No se puede leer el archivo '%1'").arg(datos));
    }
    QString original;
    for (int i = 1; original.isEmpty() && i < 1000; ++i) {
        const QString nombre = i == 1 ? nombreOriginal() : QStringLiteral("trafos-jet-%1.mdb").arg(i);
        const QString ruta = QDir(carpeta).filePath(nombre);
        struct stat otro = {};
        if (::stat(QFile::encodeName(ruta).constData(), &otro) == 0) {
            if (otro.st_dev == delOriginal.st_dev && otro.st_ino == delOriginal.st_ino)
                original = ruta;
            continue;
        }
        if (::link(QFile::encodeName(datos).constData(), QFile::encodeName(ruta).constData()) == 0) {
            original = ruta;
        } else if (errno != EEXIST) {
            // A folder without hard links (a FAT drive): the original moves to its new name,
            // and the new file takes the old one just after.
            if (!QFile::rename(datos, ruta)) {
                quitar(temporal.value());
                return R::failure(QStringLiteral("No se pudo guardar el original como '%1'").arg(ruta));
            }
            original = ruta;
        }
    }
    if (original.isEmpty()) {
        quitar(temporal.value());
        return R::failure(
            QStringLiteral("No se encontró un nombre libre para guardar el original en '%1'").arg(carpeta));
    }
    informe.original = QFileInfo(original).absoluteFilePath();
    const QString rutaInforme = QDir(carpeta).filePath(nombreInforme());
    if (Status st = guardarTexto(rutaInforme, informe.texto()); !st) {
        quitar(temporal.value());
        return R::failure(st.error());
    }
    // rename() replaces trafos.mdb in one step: it is the original or the new file, never neither.
    if (::rename(QFile::encodeName(temporal.value()).constData(), QFile::encodeName(datos).constData()) !=
        0) {
        quitar(temporal.value());
        if (!QFileInfo::exists(datos))
            QFile::rename(original, datos);
        return R::failure(
            QStringLiteral("No se pudo poner el archivo convertido en lugar de '%1'").arg(datos));
    }
    sincronizarCarpeta(carpeta);
    return informe;
}

} // namespace importacion
