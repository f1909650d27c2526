#include "diagnosis/logic/EvaluacionEnsayo.h"

#include "data/logic/Campos.h"
#include "diagnosis/logic/ReglasEnsayo.h"
#include "diagnosis/logic/ValorNumerico.h"

namespace diagnostico {

using reglas::Efecto;
using reglas::Regla;

namespace {

bool marcado(const std::optional<bool>& grupo)
{
    return grupo.value_or(false);
}

// The running state of one evaluation.
class Evaluador
{
public:
    explicit Evaluador(const EnsayoEnPantalla& ensayo) : m_ensayo(ensayo)
    {
        for (const QString& campo : camposResaltados())
            m_r.resaltados.insert(campo, Resaltado::Normal);
    }

    double valor(const QString& campo) const { return valorNumerico(m_ensayo.textos.value(campo)); }

    void anotar(const QString& texto, Efecto efecto)
    {
        m_r.observaciones << texto;
        if (efecto == Efecto::Ninguno)
            return;
        ++m_r.cuenta;
        if (efecto == Efecto::Aviso)
            m_r.estado = Amarillo;
        else
            m_r.grave = true;
    }

    // Applies a threshold rule of a ticked group. A box belongs to one rule or to a pair of
    // rules that exclude each other, so the firing rule's colour is the box's colour; every
    // box starts normal.
    bool aplicar(const Regla& regla, bool grupo)
    {
        if (!grupo || !regla.dispara(valor(regla.campo)))
            return false;
        anotar(regla.texto, regla.efecto);
        resaltar(regla.campo, regla.color);
        return true;
    }

    void resaltar(const QString& campo, Resaltado color) { m_r.resaltados[campo] = color; }

    void niveles(bool gas)
    {
        ieee::MuestraGases muestra = ieee::muestraDeTextos(m_ensayo.textos, m_ensayo.edad);
        if (!gas)
            muestra.gases = {};
        m_r.niveles = ieee::evaluarNiveles(muestra);
        if (m_r.niveles.elevada())
            anotar(ieee::textoConcentracionElevada(), Efecto::Aviso);
    }

    EvaluacionEnsayo terminar()
    {
        if (m_r.grave)
            m_r.estado = Rojo;
        return m_r;
    }

private:
    const EnsayoEnPantalla& m_ensayo;
    EvaluacionEnsayo m_r;
};

} // namespace

QString nombreResaltado(Resaltado r)
{
    switch (r) {
    case Resaltado::Amarillo:
        return QStringLiteral("amarillo");
    case Resaltado::Naranja:
        return QStringLiteral("naranja");
    case Resaltado::Normal:
        break;
    }
    return QStringLiteral("normal");
}

EnsayoGases EnsayoEnPantalla::ensayoGases() const
{
    return {true, marcado(grupos.gas), marcado(grupos.fd), gasesDeTextos(textos)};
}

QString EvaluacionEnsayo::texto() const
{
    QString t;
    for (const QString& o : observaciones)
        t += o + QStringLiteral("\r\n");
    return t;
}

const QStringList& camposResaltados()
{
    using namespace campo::ensayos;
    static const QStringList k = {HumSol,   Acidez, Inhibidor, Diel,      TIF,       TangDelta, Total,
                                  Aluminio, Hierro, Cobre,     KFTMC_PPM, TOTAL_PCB, Sedimentos};
    return k;
}

EvaluacionEnsayo evaluarEnsayo(const EnsayoEnPantalla& ensayo)
{
    return evaluarEnsayo(ensayo, evaluarRelacionGases(ensayo.ensayoGases()));
}

EvaluacionEnsayo evaluarEnsayo(const EnsayoEnPantalla& ensayo, const ResultadoMetodo& relacionGases)
{
    Evaluador e(ensayo);
    const GruposEnsayo& g = ensayo.grupos;
    const bool gas = marcado(g.gas), efq = marcado(g.efq), in = marcado(g.in), fur = marcado(g.fur),
               met = marcado(g.met), kf = marcado(g.kf), pcb = marcado(g.pcb), ld = marcado(g.ld);

    // Rules 1 to 7: a forced test is doubtful whatever its gases; otherwise the faults of the
    // gas-ratio table, several of which may show together.
    if (gas && marcado(g.fd)) {
        e.anotar(reglas::textoDudoso(), Efecto::Aviso);
    } else if (gas) {
        const TablaMetodo& tabla = tablaRelacionGases();
        for (const reglas::ReglaGas& rg : reglas::reglasGas())
            if (relacionGases.fallosVisibles.value(rg.fila))
                e.anotar(reglas::textoFalloGas(tabla.filas.at(rg.fila).fallo), rg.efecto);
    }
    // The gas levels follow the ratio findings, forced or not: a sample far above what
    // transformers like it hold is never normal, whatever its ratios.
    e.niveles(gas);

    e.aplicar(reglas::regla(8), efq);
    e.aplicar(reglas::regla(9), efq);
    // The inhibitor rules exclude each other: null first, then low, then high.
    if (!e.aplicar(reglas::regla(10), in) && !e.aplicar(reglas::regla(11), in))
        e.aplicar(reglas::regla(12), in);
    for (int n = 13; n <= 15; ++n)
        e.aplicar(reglas::regla(n), efq);
    e.aplicar(reglas::regla(16), fur);
    for (int n = 17; n <= 19; ++n)
        e.aplicar(reglas::regla(n), met);
    e.aplicar(reglas::regla(20), kf);
    e.aplicar(reglas::regla(21), pcb);
    e.aplicar(reglas::regla(22), efq);
    e.aplicar(reglas::regla(23), efq);
    const QString& campoLodos = campo::ensayos::Sedimentos;
    const QString lodos = ensayo.textos.value(campoLodos);
    if (ld && !reglas::sinLodos(lodos)) {
        e.anotar(reglas::textoLodos(lodos), Efecto::Aviso);
        e.resaltar(campoLodos, Resaltado::Naranja);
    }
    e.aplicar(reglas::regla(25), kf);
    return e.terminar();
}

EvaluacionEnsayo evaluarSinEnsayo()
{
    EvaluacionEnsayo r;
    for (const QString& campo : camposResaltados())
        r.resaltados.insert(campo, Resaltado::Normal);
    r.observaciones << reglas::textoSinEnsayos();
    r.estado = Rojo;
    r.cuenta = 6;
    return r;
}

} // namespace diagnostico
