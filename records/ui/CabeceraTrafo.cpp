#include "records/ui/CabeceraTrafo.h"

#include "controls/Factory.h"
#include "controls/SemaforoLuz.h"
#include "data/logic/Campos.h"
#include "data/logic/RecordView.h"
#include "data/logic/Schema.h"
#include "records/ui/EnlaceCampos.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

struct Dato
{
    const QString& campo;
    const char* rotulo;
    int fila;
    int columna;
};

// Two rows of three: the short values (code, type) share the first column, the long names
// the two wide ones, so that plant names and makers are read whole.
const Dato kDatos[] = {
    {campo::trafoge::CODIGO, "Código", 0, 0}, {campo::trafoge::AREA, "Area", 0, 1},
    {campo::trafoge::TIPO, "Tipo", 1, 0},     {campo::trafoge::DENOMINACION, "Denominación", 1, 1},
    {campo::trafoge::MARCA, "Marca", 0, 2},   {campo::trafoge::NRO_DE_SERIE, "Nro de Serie", 1, 2}};

// The width a box needs for the longest value its field usually holds.
int anchoCorto(const schema::Field* campo, const QFontMetrics& fm)
{
    int ancho = fm.horizontalAdvance(QStringLiteral("000000"));
    if (campo)
        for (const QString& v : campo->values)
            ancho = std::max(ancho, fm.horizontalAdvance(v));
    return ancho;
}

} // namespace

CabeceraTrafo::CabeceraTrafo(int indiceLuz, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CabeceraTrafo"));
    auto* grilla = new QGridLayout(this);
    grilla->setContentsMargins(2, 2, 2, 2);
    grilla->setHorizontalSpacing(4);
    grilla->setVerticalSpacing(2);
    const schema::Table& t = schema::trafoge();
    for (const Dato& d : kDatos) {
        auto* rotulo = new QLabel(QString::fromUtf8(d.rotulo) + QLatin1Char(':'), this);
        rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* caja = new QLineEdit(this);
        caja->setObjectName(QStringLiteral("cabecera_") + d.campo);
        caja->setReadOnly(true);
        caja->setFocusPolicy(Qt::NoFocus);
        if (d.columna == 0) {
            // Frame and inner margins of the box come on top of the text.
            const int ancho = anchoCorto(t.field(d.campo), caja->fontMetrics()) + 14;
            caja->setMinimumWidth(ancho);
            caja->setMaximumWidth(ancho + 10);
        } else {
            caja->setMinimumWidth(caja->fontMetrics().horizontalAdvance(QLatin1Char('X')) * 14);
        }
        rotulo->setBuddy(caja);
        grilla->addWidget(rotulo, d.fila, d.columna * 2);
        grilla->addWidget(caja, d.fila, d.columna * 2 + 1);
        m_cajas << caja;
    }
    grilla->setColumnStretch(3, 1);
    grilla->setColumnStretch(5, 1);
    m_luz = crearLuz(indiceLuz, this);
    if (m_luz)
        grilla->addWidget(m_luz, 0, 6, 2, 1, Qt::AlignCenter);
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

void CabeceraTrafo::colocarEnEsquina(QWidget* luz)
{
    QWidget* pagina = luz ? luz->parentWidget() : nullptr;
    if (!pagina)
        return;
    const int margen = 6;
    const QSize tam = luz->sizeHint().isValid() ? luz->sizeHint() : luz->size();
    luz->setGeometry(pagina->width() - tam.width() - margen, margen, tam.width(), tam.height());
    luz->raise();
    luz->show();
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
        const QString& nombre = kDatos[i].campo;
        const schema::Field* f = t.field(nombre);
        m_cajas[i]->setText(enFila && f ? EnlaceCampos::textoValor(m_vista->value(nombre), f->kind)
                                        : QString());
        m_cajas[i]->setCursorPosition(0);
        // A value longer than any the plant uses may still not fit; the tip shows it whole.
        m_cajas[i]->setToolTip(m_cajas[i]->text());
    }
    setEstadoLuz(m_luz, enFila ? m_vista->value(campo::trafoge::ESTADO).toInt() : 0);
}
