#include "utilities/ui/Cal.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QVBoxLayout>

Cal::Cal(EleccionFecha& eleccion, const QDate& hoy, QWidget* parent)
    : QDialog(parent), m_eleccion(eleccion), m_monthView(new QCalendarWidget(this))
{
    setWindowTitle(QStringLiteral("Calendario"));
    m_monthView->setObjectName(QStringLiteral("MonthView1"));
    m_monthView->setSelectedDate(hoy.isValid() ? hoy : QDate::currentDate());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_monthView);
    m_eleccion.FechaAceptada = false;

    // activated is the calendar's own Enter (and double click); clicked is a click on a day.
    connect(m_monthView, &QCalendarWidget::activated, this, &Cal::pick);
    connect(m_monthView, &QCalendarWidget::clicked, this, &Cal::pick);
    m_monthView->setFocus();
}

void Cal::pick(const QDate& day)
{
    if (!day.isValid())
        return;
    m_eleccion.FechaElegida = day;
    m_eleccion.FechaAceptada = true;
    accept();
}

void Cal::keyPressEvent(QKeyEvent* event)
{
    // Enter on the window itself takes the day the calendar shows; Esc is QDialog's reject,
    // which leaves FechaElegida as it was.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        pick(m_monthView->selectedDate());
        return;
    }
    QDialog::keyPressEvent(event);
}

std::optional<QDate> Cal::elegirFecha(EleccionFecha& eleccion, const std::function<QDate()>& hoy,
                                      QWidget* parent)
{
    Cal cal(eleccion, hoy ? hoy() : QDate::currentDate(), parent);
    cal.exec();
    if (!eleccion.FechaAceptada)
        return std::nullopt;
    return eleccion.FechaElegida;
}
