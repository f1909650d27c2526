#include "records/ui/PaginaEnsayos.h"

#include "app/logic/RunState.h"
#include "data/logic/Campos.h"
#include "data/logic/RecordView.h"
#include "diagnosis/logic/ValorNumerico.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/FormularioCampos.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QColor colorResaltado(diagnostico::Resaltado r, const QWidget* caja)
{
    switch (r) {
    case diagnostico::Resaltado::Naranja:
        return QColor(255, 192, 128);
    case diagnostico::Resaltado::Amarillo:
        return QColor(248, 254, 190);
    case diagnostico::Resaltado::Normal:
        break;
    }
    return QApplication::palette(caja).color(QPalette::Base);
}

bool esDe(const QString& campo, const QStringList& campos)
{
    for (const QString& c : campos)
        if (schema::sameName(c, campo))
            return true;
    return false;
}

} // namespace

PaginaEnsayos::PaginaEnsayos(RunState& estado, QWidget* parent)
    : PaginaFechada(QStringLiteral("PaginaEnsayos"), QStringLiteral("ENS"), 4, parent), m_estado(estado)
{
}

const schema::Table& PaginaEnsayos::tablaEsquema() const
{
    return schema::ensayos();
}

void PaginaEnsayos::construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace)
{
    auto grupo = [&enlace](const char* nombre, int columnas) {
        auto* marco = new QGroupBox;
        auto* dentro = new QVBoxLayout(marco);
        dentro->setContentsMargins(4, 4, 4, 4);
        dentro->addWidget(FormularioCampos::construirGrupo(QString::fromUtf8(nombre), enlace, columnas));
        return marco;
    };
    detalle->addTab(desplazable(grupo("ENSAYOS FÍSICO/QUÍMICOS", 2)), QStringLiteral("&PROP F/Q"));

    auto* varios = new QWidget;
    auto* rejilla = new QGridLayout(varios);
    rejilla->setContentsMargins(2, 2, 2, 2);
    rejilla->addWidget(grupo("KARL FISHER", 2), 0, 0);
    rejilla->addWidget(grupo("FURANOS", 2), 0, 1);
    rejilla->addWidget(grupo("METALES", 1), 1, 0);
    rejilla->addWidget(grupo("PCB", 2), 1, 1);
    // The four frames keep the height of their boxes; the free space stays below them.
    rejilla->setRowStretch(2, 1);
    detalle->addTab(desplazable(varios), QStringLiteral("VARIOS"));
    detalle->addTab(desplazable(grupo("GASES", 2)), QStringLiteral("GASES"));
    detalle->addTab(FormularioCampos::construirGrupo(QStringLiteral("OBSERVACION"), enlace, 1),
                    QStringLiteral("OBSERVACION"));
    detalle->addTab(construirDiagnostico(), QString::fromUtf8("DIAGNÓSTICO"));

    // A group's check box enables its boxes; the inhibitor box is also an EFQ box, but whether
    // it can be typed in is its own switch's, so it follows IN after EFQ.
    for (const int c : {0, 1, 2, 3, 4, 5, 7, 8})
        if (auto* b = qobject_cast<QAbstractButton*>(casilla(c)))
            connect(b, &QAbstractButton::clicked, this, [this, c] {
                habilitarGrupo(c);
                if (c == 0)
                    habilitarGrupo(8);
            });
    // The forced-doubtful box redoes the gas ratios and the diagnosis at once.
    if (auto* forzado = qobject_cast<QAbstractButton*>(casilla(6)))
        connect(forzado, &QAbstractButton::clicked, this, &PaginaEnsayos::evaluar);
    // Typing into a gas, furan or PCB box recomputes the totals it belongs to.
    QStringList sumados = diagnostico::camposGases();
    sumados << diagnostico::camposFuranos() << diagnostico::camposPcb();
    for (const QString& campo : sumados)
        if (auto* caja = qobject_cast<QLineEdit*>(enlace.caja(campo)))
            connect(caja, &QLineEdit::textEdited, this, [this, campo] { recalcularTotales(campo); });
    habilitarGrupos();
}

void PaginaEnsayos::ajustarEntrada(EntradaValidada& entrada, const schema::Field& campo)
{
    // Enter in the last box of a sub-tab brings up the next one.
    if (schema::sameName(campo.name, campo::ensayos::Acetileno))
        entrada.setOnEnter([this] { mostrarSubpestana(QStringLiteral("GASES")); });
    else if (schema::sameName(campo.name, campo::ensayos::TOTAL_PCB))
        entrada.setOnEnter([this] { mostrarSubpestana(QStringLiteral("OBSERVACION")); });
}

void PaginaEnsayos::mostrarSubpestana(const QString& titulo)
{
    for (int i = 0; i < detalle()->count(); ++i)
        if (detalle()->tabText(i) == titulo)
            detalle()->setCurrentIndex(i);
}

QWidget* PaginaEnsayos::construirDiagnostico()
{
    auto* pagina = new QWidget;
    auto* fila = new QHBoxLayout(pagina);
    m_observaciones = new QPlainTextEdit(pagina);
    m_observaciones->setObjectName(QStringLiteral("VxBoton9_0"));
    m_observaciones->setReadOnly(true);
    fila->addWidget(m_observaciones, 1);

    auto* luz = new QVBoxLayout;
    m_hueco = new QWidget(pagina);
    m_hueco->setObjectName(QStringLiteral("LugarSemaforo1"));
    auto* hueco = new QVBoxLayout(m_hueco);
    hueco->setContentsMargins(0, 0, 0, 0);
    luz->addStretch(1);
    luz->addWidget(m_hueco, 0, Qt::AlignHCenter);
    // The gas levels right under the light: the worst gas's status against the typical values.
    m_ieee = new QLabel(pagina);
    m_ieee->setObjectName(QStringLiteral("EstadoIeee"));
    m_ieee->setAlignment(Qt::AlignCenter);
    m_ieee->setMargin(2);
    luz->addWidget(m_ieee, 0, Qt::AlignHCenter);
    luz->addStretch(1);
    fila->addLayout(luz);

    auto* derecha = new QVBoxLayout;
    auto* relaciones = new QGridLayout;
    for (int i = 1; i <= 24; ++i) {
        auto* l = new QLabel(pagina);
        l->setObjectName(QStringLiteral("Label1_%1").arg(i));
        // Hidden cells keep their place, so every shown caption stays under its ratio.
        QSizePolicy politica = l->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        l->setSizePolicy(politica);
        l->hide();
        m_relaciones << l;
        relaciones->addWidget(l, 1 + (i - 1) / 4, (i - 1) % 4);
    }
    // The headings of the method window over the cells, so each cell reads under its ratio.
    QStringList titulos = diagnostico::tablaRelacionGases().columnas;
    titulos << QStringLiteral("Fallo");
    for (int c = 0; c < titulos.size(); ++c) {
        auto* titulo = new QLabel(titulos.at(c), pagina);
        titulo->setObjectName(QStringLiteral("TituloRelacion_%1").arg(c));
        titulo->setStyleSheet(QStringLiteral("font-weight: bold;"));
        relaciones->addWidget(titulo, 0, c);
    }
    const char* fallas[] = {"Descargas Parciales", "Descargas Baja Energía",    "Descargas Alta Energía",
                            "Defecto T<300°C",     "Defecto 300°C < T < 700°C", "Defecto T>700°C"};
    for (int r = 1; r <= 6; ++r)
        m_relaciones[4 * r - 1]->setText(QString::fromUtf8(fallas[r - 1]));
    for (int c = 0; c < 3; ++c)
        relaciones->setColumnMinimumWidth(c, 48);
    derecha->addLayout(relaciones);
    m_forzado = new QLabel(QStringLiteral("Forzado"), pagina);
    m_forzado->setObjectName(QStringLiteral("Label4_1"));
    m_forzado->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    m_forzado->hide();
    derecha->addWidget(m_forzado);
    derecha->addStretch(1);
    auto* botones = new QHBoxLayout;
    const char* metodos[] = {"Dornenburg", "Rogers", "Gases", "Duval", "Pentágono"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(metodos[i]), pagina);
        b->setObjectName(QStringLiteral("Command56_%1").arg(i));
        connect(b, &QPushButton::clicked, this, [this, i] { emit metodoPedido(i); });
        m_metodos << b;
        botones->addWidget(b);
    }
    derecha->addLayout(botones);
    fila->addLayout(derecha);
    return pagina;
}

void PaginaEnsayos::evaluar()
{
    mostrarRelacionGases();
    mostrarDiagnostico();
}

bool PaginaEnsayos::hayEnsayo() const
{
    const RecordView* v = enlace() ? &enlace()->vista() : nullptr;
    return v && v->isOpen() && !v->bof() && !v->eof() && !v->isDeleted();
}

bool PaginaEnsayos::marcada(int indice) const
{
    auto* b = qobject_cast<QAbstractButton*>(casilla(indice));
    return b && b->isChecked();
}

diagnostico::EnsayoEnPantalla PaginaEnsayos::ensayoEnPantalla() const
{
    diagnostico::EnsayoEnPantalla e;
    if (EnlaceCampos* enlace = this->enlace()) {
        for (const QString& nombre : enlace->campos()) {
            QWidget* caja = enlace->caja(nombre);
            const schema::Field* f = enlace->tabla().field(nombre);
            const bool numero =
                f && (f->kind == schema::FieldKind::Number || f->kind == schema::FieldKind::Integer);
            if (auto* t = qobject_cast<QLineEdit*>(caja))
                e.textos.insert(nombre, numero ? EnlaceCampos::conPunto(t->text()) : t->text());
            else if (auto* c = qobject_cast<QComboBox*>(caja))
                e.textos.insert(nombre, c->currentText());
        }
    }
    diagnostico::GruposEnsayo& g = e.grupos;
    std::optional<bool>* grupos[] = {&g.efq, &g.kf, &g.fur, &g.met, &g.pcb, &g.gas, &g.fd, &g.ld, &g.in};
    for (int i = 0; i < 9; ++i)
        *grupos[i] = marcada(i);
    if (RecordView* trafos = vistaTrafos(); trafos && trafos->isOpen() && !trafos->bof() && !trafos->eof())
        e.edad = diagnostico::ieee::edadAlEnsayo(trafos->value(campo::trafoge::ANIO), textoFecha());
    return e;
}

diagnostico::EnsayoGases PaginaEnsayos::ensayoGases() const
{
    diagnostico::EnsayoGases e;
    e.hayEnsayo = hayEnsayo();
    e.gas = marcada(5);
    e.forzado = marcada(6);
    e.gases = diagnostico::gasesDeTextos(ensayoEnPantalla().textos);
    return e;
}

void PaginaEnsayos::mostrarRelacionGases()
{
    emit ensayoEvaluado();
    for (QLabel* l : m_relaciones)
        if (l)
            l->hide();
    const diagnostico::ResultadoMetodo r = diagnostico::evaluarRelacionGases(ensayoGases());
    // A test without gases, or no test at all, is not forced: the marker must not stay from the
    // previous test.
    m_forzado->setVisible(r.forzado);
    if (!r.aplica)
        return;
    const diagnostico::TablaMetodo& tabla = diagnostico::tablaRelacionGases();
    for (int fila = 0; fila < tabla.filas.size() && fila < 6; ++fila) {
        const QList<diagnostico::Criterio>& celdas = tabla.filas.at(fila).celdas;
        for (int c = 0; c < celdas.size(); ++c) {
            QLabel* l = etiquetaRelacion(4 * fila + 1 + celdas.at(c).columna);
            if (!l)
                continue;
            l->setText(celdas.at(c).leyenda);
            l->setVisible(r.visibles.at(fila).value(c));
        }
        if (QLabel* l = etiquetaRelacion(4 * fila + 4))
            l->setVisible(r.fallosVisibles.value(fila));
    }
}

void PaginaEnsayos::mostrarDiagnostico()
{
    const diagnostico::EvaluacionEnsayo ev =
        hayEnsayo() ? diagnostico::evaluarEnsayo(ensayoEnPantalla()) : diagnostico::evaluarSinEnsayo();
    m_observaciones->setPlainText(ev.texto());
    setEstadoSemaforo(ev.estado);
    mostrarNiveles(ev.niveles);
    if (!enlace())
        return;
    for (const QString& nombre : diagnostico::camposResaltados()) {
        QWidget* caja = enlace()->caja(nombre);
        if (!caja)
            continue;
        QPalette p = caja->palette();
        p.setColor(QPalette::Base,
                   colorResaltado(ev.resaltados.value(nombre, diagnostico::Resaltado::Normal), caja));
        caja->setPalette(p);
    }
}

void PaginaEnsayos::ponerTotal(const QString& campo, const std::optional<double>& valor)
{
    // An overflowing sum leaves the total as it was.
    if (!valor)
        return;
    if (auto* caja = qobject_cast<QLineEdit*>(enlace()->caja(campo)))
        caja->setText(EnlaceCampos::conSeparadorLocal(diagnostico::textoDecimal(*valor)));
}

void PaginaEnsayos::recalcularTotales(const QString& campo)
{
    if (!m_estado.ReposicionActiva || m_estado.RecorridoEnsayos || !hayEnsayo())
        return;
    auto* caja = qobject_cast<QLineEdit*>(enlace() ? enlace()->caja(campo) : nullptr);
    if (!caja || caja->text().isEmpty())
        return;
    const diagnostico::TextosEnsayo textos = ensayoEnPantalla().textos;
    if (esDe(campo, diagnostico::camposGases())) {
        const diagnostico::TotalesGas t = diagnostico::totalesGas(textos);
        ponerTotal(campo::ensayos::TotalGas, t.totalGas);
        ponerTotal(campo::ensayos::TotalCombustible, t.totalCombustible);
    } else if (m_agregando && esDe(campo, diagnostico::camposFuranos())) {
        ponerTotal(campo::ensayos::Total, diagnostico::sumaCampos(textos, diagnostico::camposFuranos()));
    } else if (m_agregando && esDe(campo, diagnostico::camposPcb())) {
        ponerTotal(campo::ensayos::TOTAL_PCB, diagnostico::sumaCampos(textos, diagnostico::camposPcb()));
    }
}

void PaginaEnsayos::setAgregando(bool agregando)
{
    m_agregando = agregando;
}

void PaginaEnsayos::setEstadoSemaforo(int estado)
{
    if (m_semaforo)
        m_semaforo->setProperty("Estado", estado);
}

void PaginaEnsayos::limpiarDiagnostico()
{
    if (m_observaciones)
        m_observaciones->clear();
    mostrarNiveles({});
}

void PaginaEnsayos::mostrarNiveles(const diagnostico::ieee::NivelesGas& niveles)
{
    if (!m_ieee)
        return;
    if (niveles.estado == 0) {
        m_ieee->setText(QStringLiteral("IEEE: -"));
        m_ieee->setToolTip(QString::fromUtf8("Niveles de gases IEEE C57.104-2019: ningún gas medido"));
        m_ieee->setStyleSheet(QString());
        return;
    }
    // 1 typical, 2 above the 90th percentile, 3 above the 95th.
    static const char* const kFondos[] = {"#c8f0c8", "#fff3a0", "#ff9c8c"};
    m_ieee->setText(QStringLiteral("IEEE: %1").arg(niveles.estado));
    m_ieee->setStyleSheet(QStringLiteral("font-weight: bold; border: 1px solid gray; background: %1;")
                              .arg(QLatin1String(kFondos[niveles.estado - 1])));
    QStringList lineas = {QString::fromUtf8("Niveles de gases IEEE C57.104-2019 (%1, edad %2):")
                              .arg(niveles.columna(), niveles.edad ? QString::number(*niveles.edad)
                                                                   : QStringLiteral("desconocida"))};
    for (const auto& [gas, estado] : niveles.gases)
        lineas << QStringLiteral("%1: %2").arg(diagnostico::ieee::formula(gas)).arg(estado);
    m_ieee->setToolTip(lineas.join(QLatin1Char('\n')));
}

void PaginaEnsayos::setSemaforo(QWidget* semaforo)
{
    if (!m_hueco || !semaforo)
        return;
    delete m_semaforo;
    m_semaforo = semaforo;
    m_semaforo->setObjectName(QStringLiteral("Semaforo1"));
    m_semaforo->setParent(m_hueco);
    m_hueco->layout()->addWidget(m_semaforo);
    m_semaforo->show();
}

QWidget* PaginaEnsayos::casilla(int indice) const
{
    // The check boxes in their element order.
    const QString* grupos[] = {&campo::ensayos::EFQ, &campo::ensayos::KF,  &campo::ensayos::FUR,
                               &campo::ensayos::MET, &campo::ensayos::PCB, &campo::ensayos::GAS,
                               &campo::ensayos::FD,  &campo::ensayos::LD,  &campo::ensayos::IN};
    if (!enlace() || indice < 0 || indice >= int(std::size(grupos)))
        return nullptr;
    return enlace()->caja(*grupos[indice]);
}

QWidget* PaginaEnsayos::cajaTxt(int indice) const
{
    return findChild<QWidget*>(QStringLiteral("txtFields_%1").arg(indice));
}

void PaginaEnsayos::habilitarGrupos()
{
    // EFQ first and IN last: the inhibitor box belongs to both.
    for (const int c : {0, 1, 2, 3, 4, 5, 7, 8})
        habilitarGrupo(c);
}

void PaginaEnsayos::habilitarGrupo(int indiceCasilla)
{
    // The boxes of each group by element number; LD enables the sludge list.
    static const QHash<int, QList<int>> cajas = {{0, {41, 43, 62, 63, 64, 65, 66, 67, 68}},
                                                 {1, {71, 72, 73, 74, 75, 76}},
                                                 {2, {77, 78, 79, 80, 81, 82}},
                                                 {3, {94, 95, 96}},
                                                 {4, {97, 98, 99, 100, 101}},
                                                 {5, {83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93}},
                                                 {8, {68}}};
    const bool marcada = this->marcada(indiceCasilla);
    if (indiceCasilla == 7) {
        if (QWidget* lodos = enlace() ? enlace()->caja(campo::ensayos::Sedimentos) : nullptr)
            lodos->setEnabled(marcada);
        return;
    }
    for (const int i : cajas.value(indiceCasilla))
        if (QWidget* c = cajaTxt(i))
            c->setEnabled(marcada);
}
