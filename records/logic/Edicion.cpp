#include "records/logic/Edicion.h"

#include "data/logic/Fechas.h"
#include "data/logic/Schema.h"

namespace edicion {

Result<std::optional<int>> codigoMayor(const Database& db)
{
    const schema::Table& t = schema::trafoge();
    auto stmt = Statement::prepare(db, QStringLiteral("SELECT MAX(") + schema::quoteIdentifier(t.codeField) +
                                           QStringLiteral(") FROM ") + schema::quoteIdentifier(t.name));
    if (!stmt)
        return Result<std::optional<int>>::failure(stmt.error());
    auto fila = stmt.value().step();
    if (!fila)
        return Result<std::optional<int>>::failure(fila.error());
    const QVariant v = fila.value() ? stmt.value().value(0) : QVariant();
    if (!v.isValid() || v.isNull())
        return std::optional<int>();
    return std::optional<int>(v.toInt());
}

QString codigoPropuesto(std::optional<int> mayor)
{
    const qint64 siguiente = qint64(mayor.value_or(0)) + 1;
    if (siguiente > kCodigoMaximo)
        return QString();
    return QString::number(std::max<qint64>(siguiente, 1));
}

QString tipoNuevo()
{
    return QStringLiteral("T.EXPANSIÓN");
}

QString aislanteNuevo()
{
    return QStringLiteral("ACT.YPF 64");
}

Result<int> comprobarCodigo(const QString& texto)
{
    const QString t = texto.trimmed();
    bool ok = false;
    const qlonglong codigo = t.toLongLong(&ok);
    if (t.isEmpty() || (ok && codigo == 0))
        return Result<int>::failure(QString::fromUtf8("Debe ingresar el código"));
    if (!ok || codigo < 1 || codigo > kCodigoMaximo)
        return Result<int>::failure(
            QString::fromUtf8("El código debe ser un número entero entre 1 y %1.").arg(kCodigoMaximo));
    return int(codigo);
}

Result<QDate> comprobarFecha(const QString& texto)
{
    if (texto.trimmed().isEmpty())
        return Result<QDate>::failure(QStringLiteral("Debe Ingresar la Fecha"));
    const std::optional<QDate> d = fechas::leer(texto);
    if (!d)
        return Result<QDate>::failure(QStringLiteral("La fecha no es correcta"));
    return *d;
}

QString preguntaEliminarTrafo(const QString& codigo)
{
    return QString::fromUtf8("¿ Esta seguro de querer eliminar los datos del transformador: ") + codigo +
           QStringLiteral(" ?");
}

QString preguntaEliminarFila(const QString& codigo, const QString& fecha)
{
    return QString::fromUtf8("¿ Esta seguro de querer eliminar el Registro de: ") + codigo +
           QStringLiteral(" con Fecha:") + fecha + QStringLiteral(" ?");
}

QString tituloEliminar(Alineacion::Vista vista)
{
    switch (vista) {
    case Alineacion::Vista::Revision:
        return QString::fromUtf8("ELIMINAR REGISTRO DE REVISIÓN");
    case Alineacion::Vista::Ensayos:
        return QStringLiteral("ELIMINAR REGISTRO DE ENSAYOS");
    case Alineacion::Vista::Mantenimiento:
        return QStringLiteral("ELIMINAR REGISTRO DE MANTENIMIENTO");
    case Alineacion::Vista::Trafo:
        break;
    }
    return QStringLiteral("ELIMINAR REGISTRO DE TRANSFORMADORES");
}

QString errorEliminar(int numero, const QString& motivo)
{
    return QStringLiteral("Error: ") + QString::number(numero) + QStringLiteral("   ") + motivo;
}

QString sinFilaParaGuardar()
{
    return QString::fromUtf8("No hay un registro para guardar. Use «Agregar» para crear uno.");
}

} // namespace edicion
