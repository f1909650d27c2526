#include "search/logic/MotorInforme.h"

#include "app/logic/RunState.h"
#include "data/logic/Campos.h"
#include "data/logic/JetSql.h"
#include "data/logic/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace informe {

namespace {

QString q(const QString& nombre)
{
    return schema::quoteIdentifier(nombre);
}

QString ordenSql(const QList<Orden>& orden)
{
    QStringList partes;
    for (const Orden& o : orden)
        partes << q(o.campo.tabla) + QLatin1Char('.') + q(o.campo.campo) +
                      (o.descendente ? QStringLiteral(" DESC") : QString());
    return partes.join(QStringLiteral(", "));
}

} // namespace

Result<Consulta> Consulta::preparar(const Database& db, const QStringList& tablas, const QString& desde,
                                    const QString& donde, const QString& orden,
                                    const QVariantList& parametros)
{
    Consulta c;
    QStringList columnas;
    for (const QString& nombre : tablas) {
        c.m_tablas << nombre;
        c.m_inicio << int(columnas.size());
        for (const schema::Field& f : schema::table(nombre)->fields)
            columnas << q(nombre) + QLatin1Char('.') + q(f.name);
    }
    QString sql =
        QStringLiteral("SELECT ") + columnas.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + desde;
    if (!donde.isEmpty())
        sql += QStringLiteral(" WHERE ") + donde;
    if (!orden.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + orden;
    // The report only reads: the connection is read-only and the statement is prepared under
    // the read-only authorizer as well.
    jetsql::ReadOnlyScope soloLectura(db.handle());
    auto st = Statement::prepare(db, sql, parametros);
    if (!st)
        return Result<Consulta>::failure(
            QStringLiteral("No se pudieron leer las filas del informe: %1").arg(st.error()));
    c.m_sentencia = std::move(st.value());
    return c;
}

Status Consulta::volverACorrer(const QVariantList& parametros)
{
    return m_sentencia.bind(parametros);
}

QVariant Consulta::valor(const CampoRef& campo) const
{
    const qsizetype t = m_tablas.indexOf(campo.tabla);
    if (t < 0)
        return {};
    const int i = schema::table(campo.tabla)->fieldIndex(campo.campo);
    return i < 0 ? QVariant() : m_sentencia.value(m_inicio[t] + i);
}

QVariantMap Consulta::fila(const QString& tabla) const
{
    QVariantMap out;
    const qsizetype t = m_tablas.indexOf(tabla);
    if (t < 0)
        return out;
    const QList<schema::Field>& campos = schema::table(tabla)->fields;
    for (int i = 0; i < campos.size(); ++i)
        out.insert(campos[i].name, m_sentencia.value(m_inicio[t] + i));
    return out;
}

Result<Consulta> InformePreparado::filas() const
{
    const Banda& d = m_definicion.detalle;
    const schema::Table* t = schema::table(d.tabla);
    QString desde = q(d.tabla);
    if (d.tabla != campo::tablas::Trafoge)
        desde += QStringLiteral(" LEFT JOIN %1 ON %1.%2 = %3.%4")
                     .arg(q(campo::tablas::Trafoge), q(campo::trafoge::CODIGO), q(d.tabla), q(t->codeField));
    const QString codigo = q(d.tabla) + QLatin1Char('.') + q(t->codeField);
    const QStringList fuente = m_definicion.tablasFilas();
    QStringList donde;
    QVariantList parametros;
    for (const Formula* f : {&m_formula, &m_segunda}) {
        if (f->todo())
            continue;
        const Formula::Sql s = f->sql(fuente, codigo);
        donde << s.texto;
        parametros << s.parametros;
    }
    QList<Orden> orden = d.orden;
    if (orden.isEmpty()) {
        orden << Orden{CampoRef{d.tabla, t->codeField}, false};
        if (!t->dateField.isEmpty())
            orden << Orden{CampoRef{d.tabla, t->dateField}, false};
    }
    return Consulta::preparar(*m_db, fuente, desde, donde.join(QStringLiteral(" AND ")), ordenSql(orden),
                              parametros);
}

Result<Consulta> InformePreparado::filasSeccion(int i, qint64 codigo) const
{
    const Banda& b = m_definicion.secciones.at(i);
    const schema::Table* t = schema::table(b.tabla);
    QList<Orden> orden = b.orden;
    if (orden.isEmpty() && !t->dateField.isEmpty())
        orden << Orden{CampoRef{b.tabla, t->dateField}, b.soloUltima};
    QString ordenTexto = ordenSql(orden);
    if (b.soloUltima)
        ordenTexto += QStringLiteral(" LIMIT 1");
    return Consulta::preparar(*m_db, {b.tabla}, q(b.tabla),
                              q(b.tabla) + QLatin1Char('.') + q(t->codeField) + QStringLiteral(" = ?"),
                              ordenTexto, {codigo});
}

Status InformePreparado::volverACorrerSeccion(Consulta& consulta, qint64 codigo) const
{
    return consulta.volverACorrer({codigo});
}

QString InformePreparado::calcular(const QString& nombre, const QVariantMap& fila) const
{
    if (nombre == QLatin1String("Trabajos")) {
        QStringList hechos;
        for (const schema::Field& f : schema::mantenimiento().fields)
            if (f.kind == schema::FieldKind::YesNo && fila.value(f.name).toInt() != 0)
                hechos << (f.caption.isEmpty() ? f.name : f.caption);
        return hechos.join(QStringLiteral(", "));
    }
    return m_calculador ? m_calculador(nombre, fila) : QString();
}

QString InformePreparado::seleccion() const
{
    QStringList partes;
    for (const Formula* f : {&m_formula, &m_segunda})
        if (!f->todo() && f->texto().trimmed() != QLatin1String("1=1"))
            partes << f->texto().trimmed();
    return partes.join(QStringLiteral(" y "));
}

void MotorInforme::ponerArchivoDatos(int tabla, const QString& ruta)
{
    if (tabla >= 0 && tabla < m_datos.size())
        m_datos[tabla] = ruta;
}

Result<InformePreparado> MotorInforme::preparar() const
{
    using R = Result<InformePreparado>;
    InformePreparado p;
    p.m_nombre = QFileInfo(m_archivo).fileName();
    const QFileInfo info(m_archivo);
    if (m_archivo.isEmpty() || !info.exists() || info.isDir())
        return R::failure(QStringLiteral("No se encuentra el informe '%1'.").arg(m_archivo));
    QFile archivo(m_archivo);
    if (!archivo.open(QIODevice::ReadOnly))
        return R::failure(
            QStringLiteral("No se puede leer el informe '%1': %2.").arg(m_archivo, archivo.errorString()));
    auto def = leerDefinicion(QString::fromUtf8(archivo.readAll()), p.m_nombre);
    if (!def)
        return R::failure(def.error());
    p.m_definicion = def.value();
    for (const auto& [texto, destino] :
         {std::pair{&m_formula, &p.m_formula}, std::pair{&m_segunda, &p.m_segunda}}) {
        auto f = Formula::analizar(*texto);
        if (!f)
            return R::failure(f.error());
        *destino = f.value();
    }
    // The four tables read one data file: the open one.
    QString datos;
    for (const QString& d : m_datos) {
        if (d.isEmpty())
            continue;
        if (!datos.isEmpty() && QFileInfo(d).absoluteFilePath() != QFileInfo(datos).absoluteFilePath())
            return R::failure(QStringLiteral("Las tablas del informe deben leer un mismo archivo de datos."));
        datos = d;
    }
    if (datos.isEmpty())
        return R::failure(QStringLiteral("El informe no tiene archivo de datos."));
    auto db = Database::open(datos, true);
    if (!db)
        return R::failure(db.error());
    p.m_db = db.value();
    p.m_calculador = m_calculador;
    return p;
}

int MotorInforme::imprimir(const Salida& salida)
{
    m_error.clear();
    auto p = preparar();
    Status hecho = p ? salida(p.value()) : Status::failure(p.error());
    if (hecho)
        return 0;
    m_error = hecho.error();
    return 1;
}

QString carpetaInformes(const QString& rutaPrograma)
{
    const QDir programa(rutaPrograma);
    if (programa.exists(QStringLiteral("trafos2.rpt")))
        return programa.absolutePath();
    const QString instalada = programa.absoluteFilePath(QStringLiteral("../share/quorvela"));
    if (QDir(instalada).exists(QStringLiteral("trafos2.rpt")))
        return QDir(instalada).absolutePath();
    return programa.absolutePath();
}

QString nombreArchivo(const QString& nombre)
{
    return nombre.endsWith(QLatin1String(".rpt"), Qt::CaseInsensitive) ? nombre
                                                                       : nombre + QStringLiteral(".rpt");
}

int imprimirInforme(MotorInforme& motor, const RunState& estado, const QString& archivo,
                    SegundaFormula segunda, const MotorInforme::Salida& salida)
{
    motor.ponerArchivoInforme(QDir(carpetaInformes(estado.RutaPrograma)).filePath(archivo));
    for (int i = 0; i < 4; ++i)
        motor.ponerArchivoDatos(i, estado.RutaBase);
    motor.ponerFormula(estado.FormulaTrafo);
    switch (segunda) {
    case SegundaFormula::Ninguna:
        break;
    case SegundaFormula::Revision:
        motor.ponerSegundaFormula(estado.FormulaRevision);
        break;
    case SegundaFormula::Ensayos:
        motor.ponerSegundaFormula(estado.FormulaEnsayos);
        break;
    case SegundaFormula::Mantenimiento:
        motor.ponerSegundaFormula(estado.FormulaMantenimiento);
        break;
    }
    const int resultado = motor.imprimir(salida);
    motor.ponerFormula(QString());
    if (segunda != SegundaFormula::Ninguna)
        motor.ponerSegundaFormula(QString());
    return resultado;
}

} // namespace informe
