#pragma once

#include <QDate>
#include <QDialog>
#include <functional>
#include <optional>

class QCalendarWidget;

// The program-wide outcome of the calendar window. The program keeps one, so a later
// window closed without a pick leaves the earlier day in place.
struct EleccionFecha
{
    QDate FechaElegida;         // the day last picked
    bool FechaAceptada = false; // whether the last calendar window ended with a pick
};

// Calendar window "Calendario": one month calendar. Enter or a click on a day picks the
// shown day and closes; Esc closes without a pick.
class Cal : public QDialog
{
    Q_OBJECT
public:
    // Opens on hoy (today from the program's clock) and clears eleccion.FechaAceptada.
    Cal(EleccionFecha& eleccion, const QDate& hoy, QWidget* parent = nullptr);

    QCalendarWidget* MonthView1() const { return m_monthView; }

    // Shows the window modally on today's date; the picked day, or nothing.
    static std::optional<QDate> elegirFecha(EleccionFecha& eleccion, const std::function<QDate()>& hoy,
                                            QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pick(const QDate& day);

    EleccionFecha& m_eleccion;
    QCalendarWidget* m_monthView;
};
