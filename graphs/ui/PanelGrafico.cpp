#include "graphs/ui/PanelGrafico.h"

#include "graphs/logic/Graficos.h"
#include "graphs/ui/LienzoGrafico.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The element names of the controls, by graph: redraw, copy, print, 2D/3D options.
struct Nombres
{
    const char* redibujar;
    const char* copiar;
    const char* imprimir;
    const char* dimension;
};
const Nombres kNombres[] = {{"Redibujar", "Command21", "Command22", "Option15"},
                            {"Command25", "Command24", "Command23", "Option14"},
                            {"Command26", "Command27", "Command28", "Option16"}};

} // namespace

PanelGrafico::PanelGrafico(int grafico, QWidget* parent) : QWidget(parent), m_grafico(qBound(0, grafico, 2))
{
    setObjectName(QStringLiteral("PanelGrafico%1").arg(m_grafico));
    const Nombres& n = kNombres[m_grafico];
    auto* horizontal = new QHBoxLayout(this);
    horizontal->setContentsMargins(4, 4, 4, 4);
    m_lienzo = new LienzoGrafico(this);
    m_lienzo->setObjectName(QStringLiteral("Graph1_%1").arg(m_grafico));
    horizontal->addWidget(m_lienzo, 1);

    auto* columna = new QVBoxLayout;
    auto boton = [this, columna](const QString& texto, const char* nombre) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nombre));
        b->setMinimumWidth(95);
        columna->addWidget(b);
        return b;
    };
    m_redibujar = boton(QStringLiteral("Redibujar"), n.redibujar);
    m_copiar = boton(QStringLiteral("Copiar"), n.copiar);
    m_imprimir = boton(QStringLiteral("Imprimir"), n.imprimir);

    if (m_grafico != graficos::GraficoMantenimiento) {
        auto* marco = new QGroupBox(QStringLiteral("Gráfico"), this);
        auto* opciones = new QVBoxLayout(marco);
        auto* grupo = new QButtonGroup(marco);
        const QStringList captions =
            m_grafico == graficos::GraficoEnsayos ? graficos::captionsEnsayo() : graficos::captionsRevision();
        const char* nombresRevision[] = {"Option1", "Option2", "Option6"};
        for (int i = 0; i < captions.size(); ++i) {
            auto* o = new QRadioButton(captions.at(i), marco);
            o->setObjectName(m_grafico == graficos::GraficoEnsayos ? QStringLiteral("Option3_%1").arg(i)
                                                                   : QString::fromLatin1(nombresRevision[i]));
            grupo->addButton(o, i);
            opciones->addWidget(o);
            m_cantidades << o;
        }
        m_cantidades.first()->setChecked(true);
        if (m_grafico == graficos::GraficoEnsayos) {
            m_configurar = new QPushButton(QStringLiteral("Configurar"), marco);
            m_configurar->setObjectName(QStringLiteral("Command57"));
            m_configurar->hide();
            opciones->addWidget(m_configurar);
        }
        columna->addWidget(marco);
    }

    auto* marcoDim = new QGroupBox(this);
    auto* dims = new QHBoxLayout(marcoDim);
    auto* grupoDim = new QButtonGroup(marcoDim);
    for (int i = 0; i < 2; ++i) {
        auto* o = new QRadioButton(i == 0 ? QStringLiteral("2D") : QStringLiteral("3D"), marcoDim);
        o->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(n.dimension)).arg(i));
        grupoDim->addButton(o, i);
        dims->addWidget(o);
        m_dimensiones << o;
    }
    m_dimensiones.first()->setChecked(true);
    columna->addWidget(marcoDim);
    columna->addStretch(1);
    horizontal->addLayout(columna);
}

int PanelGrafico::cantidad() const
{
    for (int i = 0; i < m_cantidades.size(); ++i)
        if (m_cantidades.at(i)->isChecked())
            return i;
    return 0;
}
