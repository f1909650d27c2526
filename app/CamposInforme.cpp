#include "app/CamposInforme.h"

#include "diagnosis/logic/Duval.h"
#include "diagnosis/logic/EvaluarEnsayoJson.h"
#include "diagnosis/logic/MetodosGas.h"

namespace {

QString textoMetodo(const diagnostico::ResultadoMetodo& r)
{
    if (!r.aplica)
        return QStringLiteral("No aplica");
    QString texto =
        r.fallos.isEmpty() ? QStringLiteral("Sin diagnóstico") : r.fallos.join(QStringLiteral("; "));
    if (r.forzado)
        texto += QStringLiteral(" (forzado)");
    return texto;
}

} // namespace

informe::Calculador calculadorInformes()
{
    return [](const QString& nombre, const QVariantMap& fila) -> QString {
        using namespace diagnostico;
        const EnsayoGases ensayo = ensayoEnPantalla(fila).ensayoGases();
        if (nombre == QLatin1String("Dornenburg"))
            return textoMetodo(evaluarDornenburg(ensayo));
        if (nombre == QLatin1String("Rogers"))
            return textoMetodo(evaluarRogers(ensayo));
        if (nombre == QLatin1String("RelacionGases"))
            return textoMetodo(evaluarRelacionGases(ensayo));
        if (!ensayo.gas)
            return QStringLiteral("No aplica");
        if (nombre == QLatin1String("DuvalTriangulo")) {
            const auto t = duval::triangulo(ensayo.gases);
            return t ? duval::codigo(t->zona) + QStringLiteral(" · ") + duval::significado(t->zona)
                     : QStringLiteral("No aplica");
        }
        if (nombre == QLatin1String("DuvalPentagono")) {
            const auto p = duval::pentagono(ensayo.gases);
            return p ? duval::codigo(p->zona) + QStringLiteral(" · ") + duval::significado(p->zona)
                     : QStringLiteral("No aplica");
        }
        return {};
    };
}
