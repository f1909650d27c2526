#include "utilities/ui/Cal.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The year box of the navigation bar takes digits itself once the user opened it.
bool enCajaDeAnio(const QObject* o)
{
    for (; o; o = o->parent()) {
        if (qobject_cast<const QAbstractSpinBox*>(o))
            return true;
    }
    return false;
}

// A key for a widget whose window the window system activates again some time after the
// calendar closed: it is typed into the widget as soon as the widget has the focus back, and
// dropped if the focus goes elsewhere first or does not come back soon.
class TeclaPendiente : public QObject
{
public:
    TeclaPendiente(QWidget* destino, std::unique_ptr<QKeyEvent> tecla)
        : QObject(destino), m_destino(destino), m_tecla(std::move(tecla))
    {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* ahora) {
            if (ahora == m_destino)
                entregar();
            else if (ahora)
                soltar();
        });
        QTimer::singleShot(2000, this, &TeclaPendiente::soltar);
    }

    void entregar()
    {
        if (!m_tecla)
            return;
        const std::unique_ptr<QKeyEvent> tecla = std::move(m_tecla);
        deleteLater();
        QCoreApplication::sendEvent(m_destino, tecla.get());
    }

private:
    void soltar()
    {
        m_tecla.reset();
        deleteLater();
    }

    QWidget* m_destino; // the parent, so it outlives this
    std::unique_ptr<QKeyEvent> m_tecla;
};

} // namespace

Cal::Cal(EleccionFecha& eleccion, const QDate& enCaja, const QDate& hoy, QWidget* parent)
    : QDialog(parent), m_eleccion(eleccion), m_monthView(new QCalendarWidget(this))
{
    setWindowTitle(QStringLiteral("Calendario"));
    // Month and day names, and the week from Monday, in Spanish: the program's language.
    const QLocale espanol(QLocale::Spanish, QLocale::Spain);
    setLocale(espanol);
    m_monthView->setLocale(espanol);
    m_monthView->setObjectName(QStringLiteral("MonthView1"));
    m_monthView->setDateRange(primerDia(), ultimoDia());
    const auto ofrecido = [](const QDate& d) { return d.isValid() && d >= primerDia() && d <= ultimoDia(); };
    const QDate inicial = ofrecido(enCaja) ? enCaja : hoy.isValid() ? hoy : QDate::currentDate();
    // Outside the range the calendar shows its nearest end.
    m_monthView->setSelectedDate(std::clamp(inicial, primerDia(), ultimoDia()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_monthView);
    m_eleccion.FechaAceptada = false;

    // activated is the calendar's own Enter (and double click); clicked is a click on a day.
    connect(m_monthView, &QCalendarWidget::activated, this, &Cal::pick);
    connect(m_monthView, &QCalendarWidget::clicked, this, &Cal::pick);
    // The keys reach the calendar's parts before the calendar's own date typing sees them.
    m_monthView->installEventFilter(this);
    for (QWidget* parte : m_monthView->findChildren<QWidget*>()) {
        if (!enCajaDeAnio(parte))
            parte->installEventFilter(this);
    }
    m_monthView->setFocus();
}

Cal::~Cal() = default;

void Cal::pick(const QDate& day)
{
    if (!day.isValid() || m_tecla)
        return;
    m_eleccion.FechaElegida = day;
    m_eleccion.FechaAceptada = true;
    accept();
}

bool Cal::cerrarConTecla(const QKeyEvent& event)
{
    const QString texto = event.text();
    if (texto.isEmpty() || !texto.at(0).isPrint() ||
        (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    if (!m_tecla)
        m_tecla.reset(event.clone());
    reject();
    return true;
}

bool Cal::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && !enCajaDeAnio(watched) &&
        cerrarConTecla(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void Cal::keyPressEvent(QKeyEvent* event)
{
    // Enter on the window itself takes the day the calendar shows; Esc is QDialog's reject,
    // which leaves FechaElegida as it was.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        pick(m_monthView->selectedDate());
        return;
    }
    if (cerrarConTecla(*event))
        return;
    QDialog::keyPressEvent(event);
}

std::optional<QDate> Cal::elegirFecha(EleccionFecha& eleccion, const std::function<QDate()>& hoy,
                                      QWidget* parent, const QDate& enCaja)
{
    Cal cal(eleccion, enCaja, hoy ? hoy() : QDate::currentDate(), parent);
    cal.exec();
    if (eleccion.FechaAceptada)
        return eleccion.FechaElegida;
    if (cal.m_tecla && parent) {
        // The key goes in once the opener has the focus back, before any key typed after it.
        auto* pendiente = new TeclaPendiente(parent, std::move(cal.m_tecla));
        parent->setFocus(Qt::ActiveWindowFocusReason);
        parent->activateWindow();
        if (parent->hasFocus())
            pendiente->entregar();
    }
    return std::nullopt;
}
