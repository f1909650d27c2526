#include "diagnosis/logic/DiagnosticoGeneral.h"

#include "data/logic/Campos.h"
#include "diagnosis/logic/MetodosGas.h"
#include "diagnosis/logic/NivelesGas.h"
#include "diagnosis/logic/ReglasEnsayo.h"
#include "diagnosis/logic/ValorNumerico.h"

#include <QDate>
#include <QHash>
#include <iterator>
#include <optional>

namespace diagnostico {

using reglas::Efecto;
using reglas::Grupo;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool marcadoGuardado(const QVariant& v)
{
    return v.isValid() && !v.isNull() && v.toBool();
}

// A text field holding something; a blank one is taken as Null, since whether an emptied box
// is stored as Null or as "" must not change the diagnosis.
std::optional<QString> texto(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    const QString t = v.toString();
    if (t.trimmed().isEmpty())
        return std::nullopt;
    return t;
}

// The inhibitor's "null" finding reads the stored field: Null (or no number) is not 0.
bool esCeroGuardado(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return false;
    bool ok = false;
    const double x =
        v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    return ok && x == 0;
}

class Corrida
{
public:
    explicit Corrida(const QVariant& anio) : m_anio(anio) {}

    void anotar(const QString& observacion, Efecto efecto)
    {
        m_r.observaciones << observacion;
        m_r.diagnostico += observacion + kCrLf;
        if (efecto == Efecto::Ninguno)
            return;
        ++m_r.cuenta;
        if (efecto == Efecto::Aviso)
            m_r.estado = 2;
        else
            m_grave = true;
    }

    void nota(const QString& texto)
    {
        m_r.observaciones << texto;
        m_r.diagnostico += texto + kCrLf;
    }

    void regla(int numero, const QVariantMap& fila)
    {
        const reglas::Regla& r = reglas::regla(numero);
        if (r.dispara(valorGuardado(fila.value(r.campo))))
            anotar(r.texto, r.efecto);
    }

    void gases(const QVariantMap& fila)
    {
        if (marcadoGuardado(fila.value(campo::ensayos::FD))) {
            anotar(reglas::textoDudoso(), Efecto::Aviso);
        } else {
            const ResultadoMetodo tabla = evaluarRelacionGases({true, true, false, gasesGuardados(fila)});
            for (const reglas::ReglaGas& rg : reglas::reglasGas())
                if (tabla.fallosVisibles.value(rg.fila))
                    anotar(reglas::textoFalloGas(tablaRelacionGases().filas.at(rg.fila).fallo), rg.efecto);
        }
        // The same gas levels as the test tab, on the same test.
        const std::optional<int> edad = ieee::edadAlEnsayo(m_anio, fila.value(campo::ensayos::Fecha));
        if (ieee::evaluarNiveles(ieee::muestraGuardada(fila, edad)).elevada())
            anotar(ieee::textoConcentracionElevada(), Efecto::Aviso);
    }

    void fisicoQuimicos(const QVariantMap& fila)
    {
        for (int n : {8, 9, 13, 14, 15, 22, 23})
            regla(n, fila);
    }

    void inhibidor(const QVariantMap& fila)
    {
        const QVariant guardado = fila.value(campo::ensayos::Inhibidor);
        const double x = valorGuardado(guardado);
        if (reglas::regla(11).dispara(x))
            anotar(reglas::regla(11).texto, Efecto::Aviso);
        else if (reglas::regla(12).dispara(x))
            anotar(reglas::regla(12).texto, Efecto::Aviso);
        if (esCeroGuardado(guardado))
            anotar(reglas::regla(10).texto, Efecto::Aviso);
    }

    void lodos(const QVariantMap& fila)
    {
        const QVariant v = fila.value(campo::ensayos::Sedimentos);
        if (v.isNull() || !v.isValid())
            return;
        const QString cantidad = v.toString();
        if (!reglas::sinLodos(cantidad))
            anotar(reglas::textoLodos(cantidad), Efecto::Aviso);
    }

    void pcb(const QVariantMap& fila)
    {
        const double x = valorGuardado(fila.value(reglas::regla(21).campo));
        if (0 < x && x < 50)
            nota(reglas::textoPcbBajo());
        else if (reglas::regla(21).dispara(x))
            nota(reglas::regla(21).texto);
    }

    void evaluarGrupo(Grupo grupo, const QVariantMap& fila)
    {
        switch (grupo) {
        case Grupo::Gas:
            gases(fila);
            break;
        case Grupo::Efq:
            fisicoQuimicos(fila);
            break;
        case Grupo::In:
            inhibidor(fila);
            break;
        case Grupo::Ld:
            lodos(fila);
            break;
        case Grupo::Fur:
            regla(16, fila);
            break;
        case Grupo::Met:
            for (int n : {17, 18, 19})
                regla(n, fila);
            break;
        case Grupo::Kf:
            regla(20, fila);
            regla(25, fila);
            break;
        case Grupo::Pcb:
            pcb(fila);
            break;
        }
    }

    DiagnosticoTrafo& resultado() { return m_r; }
    bool grave() const { return m_grave; }

private:
    QVariant m_anio;
    DiagnosticoTrafo m_r;
    bool m_grave = false;
};

struct GrupoDeCorrida
{
    Grupo grupo;
    const QString& bandera;
};

// The order in which a test's groups are judged.
const GrupoDeCorrida kOrdenEvaluacion[] = {
    {Grupo::Gas, campo::ensayos::GAS}, {Grupo::Efq, campo::ensayos::EFQ}, {Grupo::In, campo::ensayos::IN},
    {Grupo::Ld, campo::ensayos::LD},   {Grupo::Fur, campo::ensayos::FUR}, {Grupo::Met, campo::ensayos::MET},
    {Grupo::Kf, campo::ensayos::KF},   {Grupo::Pcb, campo::ensayos::PCB},
};

struct Nota
{
    Grupo grupo;
    const char* texto;
};

// Notes for groups never tested; the last three are not asked of PCB oil.
const Nota kNotas[] = {
    {Grupo::Gas, " No se Realizaron Ensayos De Gases"},
    {Grupo::Efq, " No se Realizaron Ensayos Físico/Químicos"},
    {Grupo::Fur, " No se Realizaron Ensayos De Furanos"},
    {Grupo::Met, " No se Realizaron Ensayos De Metales"},
    {Grupo::Kf, " No se Realizaron Ensayos De Humedad en Sólidos"},
    {Grupo::Pcb, " No se Realizaron Ensayos De PCB"},
    {Grupo::Ld, " No se Realizaron Ensayos De Lodos"},
    {Grupo::In, " No se Realizaron Ensayos De Inhibidor"},
};
constexpr int kNotasParaPcb = 5;

} // namespace

QString observacionesEnMayusculas(const QString& texto)
{
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    t.replace(QChar::LineSeparator, QLatin1Char('\n'));
    t.replace(QLatin1Char('\n'), kCrLf);
    return t.toUpper();
}

QString fechaResumen(const QVariant& fecha)
{
    if (!fecha.isValid() || fecha.isNull())
        return {};
    QDate d;
    if (fecha.typeId() == QMetaType::QDate || fecha.typeId() == QMetaType::QDateTime)
        d = fecha.toDate();
    else
        d = QDate::fromString(fecha.toString().left(10), Qt::ISODate);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : fecha.toString();
}

DiagnosticoTrafo diagnosticarTrafo(const TrafoADiagnosticar& trafo)
{
    Corrida corrida(trafo.anio);
    DiagnosticoTrafo& r = corrida.resultado();
    const std::optional<QString> aceite = texto(trafo.tipoAislante);
    const bool aceitePcb = aceite && *aceite == QStringLiteral("PCB");
    const bool aceiteSeco = aceite && *aceite == QStringLiteral("SECO");

    bool sinEnsayos = false;
    if (trafo.ensayos.isEmpty() && aceite && !aceitePcb) {
        r.observaciones << reglas::textoSinEnsayos();
        r.diagnostico = reglas::textoSinEnsayos() + kCrLf;
        r.estado = 3;
        r.cuenta = 6;
        sinEnsayos = true;
    }

    QHash<int, bool> evaluado;
    for (const QVariantMap& fila : trafo.ensayos) {
        const QString obs = observacionesEnMayusculas(fila.value(campo::ensayos::Observaciones).toString());
        r.textosEnsayos << obs;
        r.resumenObs +=
            fechaResumen(fila.value(campo::ensayos::Fecha)) + QStringLiteral(" - ") + obs + kCrLf + kCrLf;
        // Each group is judged once, on the newest test that has it.
        for (const GrupoDeCorrida& g : kOrdenEvaluacion) {
            if (evaluado.value(int(g.grupo)) || !marcadoGuardado(fila.value(g.bandera)))
                continue;
            corrida.evaluarGrupo(g.grupo, fila);
            evaluado.insert(int(g.grupo), true);
        }
        if (corrida.grave())
            r.estado = 3;
    }

    if (!sinEnsayos && aceite && !aceiteSeco) {
        const int notas = aceitePcb ? kNotasParaPcb : int(std::size(kNotas));
        for (int i = 0; i < notas; ++i)
            if (!evaluado.value(int(kNotas[i].grupo)))
                corrida.nota(QString::fromUtf8(kNotas[i].texto));
    }

    if (r.estado == 1) {
        r.observaciones << QStringLiteral(" Estado Normal");
        r.diagnostico += QStringLiteral(" Estado Normal");
    }
    r.escribirEstado = trafo.manual.isValid() && !trafo.manual.isNull() && !trafo.manual.toBool();
    return r;
}

} // namespace diagnostico
