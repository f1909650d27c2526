#include "records/ui/CabeceraTrafo.h"

#include "controls/Factory.h"
#include "controls/SemaforoLuz.h"
#include "data/logic/RecordView.h"
#include "data/logic/Schema.h"
#include "records/ui/EnlaceCampos.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

struct Dato
{
    const char* campo;
    const char* rotulo;
    int ancho;
};

const Dato kDatos[] = {{"CÓDIGO", "Código", 45}, {"AREA", "Area", 140},
                       {"TIPO", "Tipo", 85},     {"DENOMINACIÓN", "Denominación", 130},
                       {"MARCA", "Marca", 140},  {"NRO DE SERIE", "Nro de Serie", 85}};

} // namespace

CabeceraTrafo::CabeceraTrafo(int indiceLuz, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CabeceraTrafo"));
    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(2, 2, 2, 2);
    fila->setSpacing(4);
    for (const Dato& d : kDatos) {
        auto* rotulo = new QLabel(QString::fromUtf8(d.rotulo) + QLatin1Char(':'), this);
        auto* caja = new QLineEdit(this);
        caja->setObjectName(QStringLiteral("cabecera_") + QString::fromUtf8(d.campo));
        caja->setReadOnly(true);
        caja->setFocusPolicy(Qt::NoFocus);
        caja->setMinimumWidth(d.ancho * 2 / 3);
        rotulo->setBuddy(caja);
        fila->addWidget(rotulo);
        fila->addWidget(caja, d.ancho);
        if (d.ancho < 50)
            caja->setMaximumWidth(d.ancho + 10);
        m_cajas << caja;
    }
    m_luz = crearLuz(indiceLuz, this);
    if (m_luz)
        fila->addWidget(m_luz);
}

QWidget* CabeceraTrafo::crearLuz(int indice, QWidget* parent)
{
    QWidget* luz = lumerix::createControl(QStringLiteral("Lumerix.SemaforoLuz"), parent);
    if (luz)
        luz->setObjectName(QStringLiteral("SemaforoLuz1_%1").arg(indice));
    return luz;
}

void CabeceraTrafo::setEstadoLuz(QWidget* luz, int estado)
{
    if (auto* s = qobject_cast<lumerix::SemaforoLuz*>(luz))
        s->setEstadoLuz(estado);
}

int CabeceraTrafo::estadoLuz(QWidget* luz)
{
    auto* s = qobject_cast<lumerix::SemaforoLuz*>(luz);
    return s ? static_cast<int>(s->estadoLuz()) : -1;
}

void CabeceraTrafo::setVista(RecordView* trafos)
{
    if (m_vista)
        disconnect(m_vista, nullptr, this, nullptr);
    m_vista = trafos;
    if (m_vista)
        connect(m_vista, &RecordView::repositioned, this, &CabeceraTrafo::mostrar);
    mostrar();
}

void CabeceraTrafo::mostrar()
{
    const bool enFila =
        m_vista && m_vista->isOpen() && !m_vista->bof() && !m_vista->eof() && !m_vista->isDeleted();
    const schema::Table& t = schema::trafoge();
    for (int i = 0; i < m_cajas.size(); ++i) {
        const QString campo = QString::fromUtf8(kDatos[i].campo);
        const schema::Field* f = t.field(campo);
        m_cajas[i]->setText(enFila && f ? EnlaceCampos::textoValor(m_vista->value(campo), f->kind)
                                        : QString());
        m_cajas[i]->setCursorPosition(0);
        // Long names may not fit the strip; the tip shows them whole.
        m_cajas[i]->setToolTip(m_cajas[i]->text());
    }
    setEstadoLuz(m_luz, enFila ? m_vista->value(QStringLiteral("ESTADO")).toInt() : 0);
}
