#include "app/ui/DiagnosticoPantalla.h"

#include "app/logic/RunState.h"
#include "data/logic/Schema.h"
#include "diagnosis/logic/CorridaDiagnostico.h"
#include "diagnosis/ui/Diagnostico1.h"
#include "diagnosis/ui/Diagnostico2.h"
#include "diagnosis/ui/Diagnostico3.h"
#include "records/logic/DataViews.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/ListaTrafos.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/Trafo.h"
#include "utilities/logic/Mensajes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {

// Totals are written as plain decimal text, never in exponent form.
QString textoDecimal(double valor)
{
    QString t = QString::number(valor, 'f', 10);
    if (t.contains(QLatin1Char('.'))) {
        while (t.endsWith(QLatin1Char('0')))
            t.chop(1);
        if (t.endsWith(QLatin1Char('.')))
            t.chop(1);
    }
    return t;
}

// Boxes show numbers with the regional decimal separator; the evaluation reads a point.
QString conPunto(const QString& texto)
{
    const QString separador = QLocale().decimalPoint();
    if (separador == QLatin1String("."))
        return texto;
    QString t = texto;
    return t.replace(separador, QStringLiteral("."));
}

QString conSeparadorLocal(const QString& texto)
{
    const QString separador = QLocale().decimalPoint();
    if (separador == QLatin1String("."))
        return texto;
    QString t = texto;
    return t.replace(QLatin1Char('.'), separador);
}

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

} // namespace

DiagnosticoPantalla::DiagnosticoPantalla(RunState& estado, DataViews& vistas, Mensajes& mensajes,
                                         Trafo& trafo, QObject* parent)
    : QObject(parent), m_estado(estado), m_vistas(vistas), m_mensajes(mensajes), m_trafo(trafo)
{
    PaginaEnsayos* pagina = m_trafo.paginaEnsayos();
    m_trafo.setEvaluacionEnsayo([this] { Calculus(); }, [this] { Diagnos(); });
    // The page's own run (forced-doubtful click) goes through the same two steps.
    pagina->setEvaluacion([this] { Calculus(); }, [this] { Diagnos(); });

    for (int i = 0; i < 3; ++i)
        if (QPushButton* b = pagina->botonMetodo(i))
            connect(b, &QPushButton::clicked, this, [this, i] { abrirMetodo(i); });

    if (EnlaceCampos* enlace = pagina->enlace()) {
        QStringList sumados = diagnostico::camposGases();
        sumados << diagnostico::camposFuranos() << diagnostico::camposPcb();
        for (const QString& campo : sumados)
            if (auto* caja = qobject_cast<QLineEdit*>(enlace->caja(campo)))
                connect(caja, &QLineEdit::textEdited, this, [this, campo] { Calculos(campo); });
    }

    {
        for (int i = 1; i <= 6; ++i)
            if (auto* caja =
                    m_trafo.paginaRevision()->findChild<QLineEdit*>(QStringLiteral("txtFieldsM_%1").arg(i)))
                connect(caja, &QLineEdit::textChanged, this, &DiagnosticoPantalla::indicesPolarizacion);
    }

    PaginaPrioridades* prioridades = m_trafo.paginaPrioridades();
    if (QPushButton* b = prioridades->botonReconstruir()) {
        b->setVisible(!m_estado.SoloLectura);
        connect(b, &QPushButton::clicked, this, &DiagnosticoPantalla::reconstruir);
    }
}

DiagnosticoPantalla::~DiagnosticoPantalla()
{
    for (const QPointer<VentanaMetodo>& v : m_ventanas)
        delete v.data();
}

bool DiagnosticoPantalla::hayEnsayo() const
{
    const RecordView& v = m_vistas.Data3;
    return v.isOpen() && !v.bof() && !v.eof() && !v.isDeleted();
}

bool DiagnosticoPantalla::marcada(int casilla) const
{
    auto* b = qobject_cast<QAbstractButton*>(m_trafo.paginaEnsayos()->casilla(casilla));
    return b && b->isChecked();
}

diagnostico::EnsayoEnPantalla DiagnosticoPantalla::ensayoEnPantalla() const
{
    diagnostico::EnsayoEnPantalla e;
    if (EnlaceCampos* enlace = m_trafo.paginaEnsayos()->enlace()) {
        for (const QString& campo : enlace->campos()) {
            QWidget* caja = enlace->caja(campo);
            const schema::Field* f = enlace->tabla().field(campo);
            const bool numero =
                f && (f->kind == schema::FieldKind::Number || f->kind == schema::FieldKind::Integer);
            if (auto* t = qobject_cast<QLineEdit*>(caja))
                e.textos.insert(campo, numero ? conPunto(t->text()) : t->text());
            else if (auto* c = qobject_cast<QComboBox*>(caja))
                e.textos.insert(campo, c->currentText());
        }
    }
    diagnostico::GruposEnsayo& g = e.grupos;
    std::optional<bool>* grupos[] = {&g.efq, &g.kf, &g.fur, &g.met, &g.pcb, &g.gas, &g.fd, &g.ld, &g.in};
    for (int i = 0; i < 9; ++i)
        *grupos[i] = marcada(i);
    return e;
}

diagnostico::EnsayoGases DiagnosticoPantalla::ensayoGases() const
{
    diagnostico::EnsayoGases e;
    e.hayEnsayo = hayEnsayo();
    e.gas = marcada(5);
    e.forzado = marcada(6);
    e.gases = diagnostico::gasesDeTextos(ensayoEnPantalla().textos);
    return e;
}

void DiagnosticoPantalla::Calculus()
{
    const bool siempre[] = {m_siempreVisible.dornenburg, m_siempreVisible.rogers,
                            m_siempreVisible.relacionGases};
    for (const QPointer<VentanaMetodo>& v : m_ventanas)
        if (v && v->isVisible())
            v->Calcula();
    for (int i = 0; i < 3; ++i)
        if (m_ventanas.at(i) && m_ventanas.at(i)->isVisible() && siempre[i])
            m_ventanas.at(i)->raise();

    PaginaEnsayos* pagina = m_trafo.paginaEnsayos();
    for (int i = 1; i <= 24; ++i)
        if (QLabel* l = pagina->etiquetaRelacion(i))
            l->hide();
    const diagnostico::ResultadoMetodo r = diagnostico::evaluarRelacionGases(ensayoGases());
    // A test without gases, or no test at all, is not forced: the marker must not stay from the
    // previous test.
    if (QLabel* forzado = pagina->etiquetaForzado())
        forzado->setVisible(r.forzado);
    if (!r.aplica)
        return;
    const diagnostico::TablaMetodo& tabla = diagnostico::tablaRelacionGases();
    for (int fila = 0; fila < tabla.filas.size() && fila < 6; ++fila) {
        const QList<diagnostico::Criterio>& celdas = tabla.filas.at(fila).celdas;
        for (int c = 0; c < celdas.size(); ++c) {
            QLabel* l = pagina->etiquetaRelacion(4 * fila + 1 + celdas.at(c).columna);
            if (!l)
                continue;
            l->setText(celdas.at(c).leyenda);
            l->setVisible(r.visibles.at(fila).value(c));
        }
        if (QLabel* l = pagina->etiquetaRelacion(4 * fila + 4))
            l->setVisible(r.fallosVisibles.value(fila));
    }
}

void DiagnosticoPantalla::Diagnos()
{
    PaginaEnsayos* pagina = m_trafo.paginaEnsayos();
    const diagnostico::EvaluacionEnsayo ev =
        hayEnsayo() ? diagnostico::evaluarEnsayo(ensayoEnPantalla()) : diagnostico::evaluarSinEnsayo();
    if (QPlainTextEdit* obs = pagina->observaciones())
        obs->setPlainText(ev.texto());
    pagina->setEstadoSemaforo(ev.estado);
    EnlaceCampos* enlace = pagina->enlace();
    if (!enlace)
        return;
    for (const QString& campo : diagnostico::camposResaltados()) {
        QWidget* caja = enlace->caja(campo);
        if (!caja)
            continue;
        QPalette p = caja->palette();
        p.setColor(QPalette::Base,
                   colorResaltado(ev.resaltados.value(campo, diagnostico::Resaltado::Normal), caja));
        caja->setPalette(p);
    }
}

void DiagnosticoPantalla::ponerTexto(const QString& campo, const std::optional<double>& valor)
{
    if (!valor)
        return;
    if (auto* caja = qobject_cast<QLineEdit*>(m_trafo.paginaEnsayos()->enlace()->caja(campo)))
        caja->setText(conSeparadorLocal(textoDecimal(*valor)));
}

void DiagnosticoPantalla::Calculos(const QString& campo)
{
    if (!m_estado.ReposicionActiva || m_estado.RecorridoEnsayos || !hayEnsayo())
        return;
    EnlaceCampos* enlace = m_trafo.paginaEnsayos()->enlace();
    auto* caja = qobject_cast<QLineEdit*>(enlace ? enlace->caja(campo) : nullptr);
    if (!caja || caja->text().isEmpty())
        return;
    const diagnostico::TextosEnsayo textos = ensayoEnPantalla().textos;
    auto de = [&campo](const QStringList& campos) {
        for (const QString& c : campos)
            if (schema::sameName(c, campo))
                return true;
        return false;
    };
    if (de(diagnostico::camposGases())) {
        const diagnostico::TotalesGas t = diagnostico::totalesGas(textos);
        ponerTexto(QStringLiteral("Total Gas"), t.totalGas);
        ponerTexto(QStringLiteral("Total combustible"), t.totalCombustible);
    } else if (m_estado.AgregandoEnsayo && de(diagnostico::camposFuranos())) {
        ponerTexto(QStringLiteral("Total"), diagnostico::sumaCampos(textos, diagnostico::camposFuranos()));
    } else if (m_estado.AgregandoEnsayo && de(diagnostico::camposPcb())) {
        ponerTexto(QStringLiteral("TOTAL PCB"), diagnostico::sumaCampos(textos, diagnostico::camposPcb()));
    }
}

void DiagnosticoPantalla::indicesPolarizacion()
{
    PaginaRevision* pagina = m_trafo.paginaRevision();
    auto lectura = [pagina](int i) {
        const auto* caja = pagina->findChild<QLineEdit*>(QStringLiteral("txtFieldsM_%1").arg(i));
        return caja ? conPunto(caja->text().trimmed()) : QString();
    };
    for (int par = 1; par <= 3; ++par)
        if (QLineEdit* ip = pagina->indicePolarizacion(par))
            ip->setText(conSeparadorLocal(diagnostico::indicePolarizacion(lectura(par), lectura(par + 3))));
}

VentanaMetodo* DiagnosticoPantalla::abrirMetodo(int indice)
{
    if (indice < 0 || indice > 2)
        return nullptr;
    QPointer<VentanaMetodo>& v = m_ventanas[static_cast<size_t>(indice)];
    if (!v) {
        FuenteEnsayo fuente = [this] { return ensayoGases(); };
        switch (indice) {
        case 0:
            v = new Diagnostico1(fuente, m_siempreVisible.dornenburg);
            break;
        case 1:
            v = new Diagnostico2(fuente, m_siempreVisible.rogers);
            break;
        default:
            v = new Diagnostico3(fuente, m_siempreVisible.relacionGases);
            break;
        }
    }
    v->show();
    v->raise();
    v->activateWindow();
    v->Calcula();
    return v;
}

void DiagnosticoPantalla::reconstruir()
{
    const std::shared_ptr<Database> db = m_vistas.database();
    if (m_estado.SoloLectura || !db)
        return;
    PaginaPrioridades* prioridades = m_trafo.paginaPrioridades();
    ListaTrafos* lista = prioridades->lista();
    QProgressBar* barra = prioridades->barraProgreso();
    QPushButton* boton = prioridades->botonReconstruir();

    m_estado.ReposicionActiva = false;
    lista->hide();
    boton->setEnabled(false);
    barra->show();
    barra->setValue(0);
    // The window repaints while the run goes on; input waits, so nothing edits the file meanwhile.
    const Result<diagnostico::ResumenCorrida> r =
        diagnostico::diagnosticarArchivo(*db, [barra](int hechos, int total) {
            barra->setMaximum(std::max(total, 1));
            barra->setValue(hechos);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });

    m_vistas.Data4.refresh();
    m_vistas.Data3.refresh();
    m_vistas.Data2.refresh();
    m_vistas.Data1.refresh();
    m_vistas.Ado1.requery();
    if (QAbstractItemModel* modelo = lista->model(); modelo && modelo->rowCount() > 0)
        lista->setCurrentIndex(modelo->index(0, 0));
    prioridades->filaActualCambiada();

    barra->hide();
    barra->reset();
    lista->show();
    boton->setEnabled(true);
    m_estado.ReposicionActiva = true;
    if (!r)
        m_mensajes.error(r.error());
}
