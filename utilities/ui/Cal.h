#pragma once

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QCalendarWidget;
class QKeyEvent;

// The program-wide outcome of the calendar window. The program keeps one, so a later
// window closed without a pick leaves the earlier day in place.
struct EleccionFecha
{
    QDate FechaElegida;         // the day last picked
    bool FechaAceptada = false; // whether the last calendar window ended with a pick
};

// Calendar window "Calendario": one month calendar in Spanish, whatever the system's language.
// Enter or a click on a day picks the shown day and closes; Esc closes without a pick. The
// first printable key closes it without a pick too: the user is typing the date, and the key
// goes back to the window that opened the calendar.
class Cal : public QDialog
{
    Q_OBJECT
public:
    // The days the calendar offers: the range the date boxes accept.
    static QDate primerDia() { return QDate(1970, 1, 1); }
    static QDate ultimoDia() { return QDate(2050, 12, 31); }

    // Opens on enCaja when it is a day the calendar offers, else on hoy (today from the
    // program's clock), and clears eleccion.FechaAceptada.
    Cal(EleccionFecha& eleccion, const QDate& enCaja, const QDate& hoy, QWidget* parent = nullptr);
    ~Cal() override;

    QCalendarWidget* MonthView1() const { return m_monthView; }
    // The printable key that closed the window, if one did.
    const QKeyEvent* teclaPendiente() const { return m_tecla.get(); }

    // Shows the window modally on enCaja (or today's date); the picked day, or nothing. A key
    // that closed the window is handed to parent, which gets the focus back for it.
    static std::optional<QDate> elegirFecha(EleccionFecha& eleccion, const std::function<QDate()>& hoy,
                                            QWidget* parent, const QDate& enCaja = QDate());

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pick(const QDate& day);
    // Keeps a printable key and closes without a pick; false for any other key.
    bool cerrarConTecla(const QKeyEvent& event);

    EleccionFecha& m_eleccion;
    QCalendarWidget* m_monthView;
    std::unique_ptr<QKeyEvent> m_tecla;
};
