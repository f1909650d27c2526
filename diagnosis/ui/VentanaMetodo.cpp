#include "diagnosis/ui/VentanaMetodo.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace diagnostico;

namespace {

const QColor kCelda(255, 192, 128);
const QColor kFallo(255, 255, 0);
const QColor kForzadoTexto(255, 0, 0);
const QColor kForzadoFondo(255, 255, 192);
const QColor kRejilla(128, 128, 128);
const QColor kSinCriterio(232, 232, 232);

void pintarFondo(QWidget* w, const QColor& fondo, const QColor& texto = Qt::black)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, fondo);
    pal.setColor(QPalette::WindowText, texto);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

// A place of the table: a white box whose mark keeps its room while hidden, so the rows and
// columns stay where they are whatever the test shows.
QWidget* casilla(QLabel* marca, const QColor& fondo = Qt::white)
{
    auto* caja = new QWidget;
    pintarFondo(caja, fondo);
    auto* l = new QVBoxLayout(caja);
    l->setContentsMargins(2, 2, 2, 2);
    if (marca) {
        QSizePolicy sp = marca->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        marca->setSizePolicy(sp);
        l->addWidget(marca);
    }
    return caja;
}

QLabel* marca(const QString& texto, const QColor& fondo)
{
    auto* label = new QLabel(texto);
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(2);
    pintarFondo(label, fondo);
    return label;
}

// The head of a ratio column: the numerator above a rule and the denominator below it.
QWidget* fraccion(const QString& razon)
{
    const int barra = razon.indexOf(QLatin1Char('/'));
    auto* caja = new QWidget;
    pintarFondo(caja, Qt::white);
    auto* l = new QVBoxLayout(caja);
    l->setContentsMargins(4, 2, 4, 2);
    l->setSpacing(0);
    auto* arriba = new QLabel(razon.left(barra));
    auto* abajo = new QLabel(razon.mid(barra + 1));
    arriba->setAlignment(Qt::AlignCenter);
    abajo->setAlignment(Qt::AlignCenter);
    auto* regla = new QFrame;
    regla->setFrameShape(QFrame::HLine);
    l->addWidget(arriba);
    l->addWidget(regla);
    l->addWidget(abajo);
    return caja;
}

} // namespace

VentanaMetodo::VentanaMetodo(const TablaMetodo& tabla, const QString& caption, FuenteEnsayo fuente,
                             bool& siempreVisible, QWidget* parent)
    : QWidget(parent, Qt::Window), m_tabla(tabla), m_fuente(std::move(fuente)),
      m_siempreVisible(siempreVisible)
{
    setWindowTitle(caption);
    auto* raiz = new QVBoxLayout(this);

    auto* cabecera = new QHBoxLayout;
    auto* titulo = new QLabel(tabla.titulo);
    QFont grande = titulo->font();
    grande.setBold(true);
    grande.setPointSizeF(grande.pointSizeF() * 1.3);
    titulo->setFont(grande);
    titulo->setAlignment(Qt::AlignCenter);
    m_check1 = new QCheckBox(QStringLiteral("Siempre Visible"));
    m_check1->setObjectName(QStringLiteral("Check1"));
    cabecera->addWidget(titulo, 1);
    cabecera->addWidget(m_check1, 0, Qt::AlignTop | Qt::AlignRight);
    raiz->addLayout(cabecera);

    m_cuerpo = new QHBoxLayout;
    m_cuerpo->addWidget(crearTabla(), 1, Qt::AlignTop);
    raiz->addLayout(m_cuerpo);
    raiz->addStretch();

    // Greyed counts as ticked: the flag is whether the box is anything but clear.
    connect(m_check1, &QCheckBox::clicked, this,
            [this] { m_siempreVisible = m_check1->checkState() != Qt::Unchecked; });

    mostrar(ResultadoMetodo());
}

QWidget* VentanaMetodo::crearTabla()
{
    auto* tabla = new QFrame;
    pintarFondo(tabla, kRejilla);
    auto* grid = new QGridLayout(tabla);
    grid->setContentsMargins(1, 1, 1, 1);
    grid->setSpacing(1);

    // Heads: a ratio spread over neighbouring columns (a lower and an upper bound) is written
    // once across them; a ratio with one column is written as a fraction.
    const int columnas = int(m_tabla.columnas.size());
    for (int c = 0; c < columnas;) {
        int ancho = 1;
        while (c + ancho < columnas && m_tabla.columnas.at(c + ancho) == m_tabla.columnas.at(c))
            ++ancho;
        QWidget* cabeza = ancho == 1 ? fraccion(m_tabla.columnas.at(c)) : casilla(nullptr);
        if (ancho > 1) {
            auto* texto = new QLabel(m_tabla.columnas.at(c));
            texto->setAlignment(Qt::AlignCenter);
            cabeza->layout()->addWidget(texto);
        }
        grid->addWidget(cabeza, 0, c, 1, ancho);
        c += ancho;
    }
    QWidget* cabezaFallo = casilla(nullptr);
    auto* textoFallo = new QLabel(QStringLiteral("Fallo"));
    textoFallo->setAlignment(Qt::AlignCenter);
    m_forzado = marca(QStringLiteral("Forzado"), kForzadoFondo);
    pintarFondo(m_forzado, kForzadoFondo, kForzadoTexto);
    m_forzado->setObjectName(QStringLiteral("Forzado"));
    QSizePolicy sp = m_forzado->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    m_forzado->setSizePolicy(sp);
    cabezaFallo->layout()->addWidget(textoFallo);
    cabezaFallo->layout()->addWidget(m_forzado);
    cabezaFallo->layout()->setAlignment(m_forzado, Qt::AlignHCenter);
    grid->addWidget(cabezaFallo, 0, columnas);

    for (int f = 0; f < m_tabla.filas.size(); ++f) {
        const FilaCriterios& fila = m_tabla.filas.at(f);
        QList<QLabel*> celdas;
        QList<bool> ocupadas(columnas, false);
        for (const Criterio& criterio : fila.celdas) {
            QLabel* label = marca(criterio.leyenda, kCelda);
            celdas << label;
            grid->addWidget(casilla(label), f + 1, criterio.columna);
            ocupadas[criterio.columna] = true;
        }
        // A place with no criterion is shaded, so it is not read as a criterion not met.
        for (int c = 0; c < columnas; ++c)
            if (!ocupadas.at(c))
                grid->addWidget(casilla(nullptr, kSinCriterio), f + 1, c);
        QLabel* nombre = marca(fila.fallo, kFallo);
        nombre->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
        grid->addWidget(casilla(nombre), f + 1, columnas);
        m_celdas << celdas;
        m_fallos << nombre;
    }
    return tabla;
}

void VentanaMetodo::recalcular()
{
    const EnsayoGases ensayo = m_fuente ? m_fuente() : EnsayoGases();
    mostrar(evaluar(ensayo));
}

ResultadoMetodo VentanaMetodo::evaluar(const EnsayoGases& ensayo)
{
    return evaluarMetodo(m_tabla, ensayo);
}

void VentanaMetodo::mostrar(const ResultadoMetodo& r)
{
    for (int f = 0; f < m_celdas.size(); ++f) {
        const QList<bool> visibles = f < r.visibles.size() ? r.visibles.at(f) : QList<bool>();
        for (int i = 0; i < m_celdas.at(f).size(); ++i)
            m_celdas.at(f).at(i)->setVisible(i < visibles.size() && visibles.at(i));
        m_fallos.at(f)->setVisible(f < r.fallosVisibles.size() && r.fallosVisibles.at(f));
    }
    m_forzado->setVisible(r.forzado);
}

QStringList VentanaMetodo::celdasVisibles() const
{
    QStringList out;
    for (const QList<QLabel*>& fila : m_celdas)
        for (const QLabel* label : fila)
            if (!label->isHidden())
                out << label->text();
    return out;
}

QStringList VentanaMetodo::fallosVisibles() const
{
    QStringList out;
    for (const QLabel* label : m_fallos)
        if (!label->isHidden())
            out << label->text();
    return out;
}

bool VentanaMetodo::forzadoVisible() const
{
    return !m_forzado->isHidden();
}

bool VentanaMetodo::event(QEvent* e)
{
    // Coming back to the window always shows the test that is current now.
    if (e->type() == QEvent::WindowActivate)
        recalcular();
    return QWidget::event(e);
}

void VentanaMetodo::showEvent(QShowEvent* e)
{
    recalcular();
    QWidget::showEvent(e);
}

void VentanaMetodo::closeEvent(QCloseEvent* e)
{
    // Closing unloads the window. Destruction alone does not touch the flag: the flags may
    // already be gone when a parent deletes its children.
    m_siempreVisible = false;
    m_check1->setChecked(false);
    QWidget::closeEvent(e);
}
