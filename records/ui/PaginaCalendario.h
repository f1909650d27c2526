#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QWidget>

class QCalendarWidget;
class QListView;
class QModelIndex;
class RecordView;
struct RunState;

// The CALENDARIO page of a dated tab: the list of every date present in the tab's table (all
// transformers) and a calendar. The date list is re-read each time the page is selected.
// Linked pages keep their calendars on one day.
class PaginaCalendario : public QWidget
{
    Q_OBJECT
public:
    // fechas: the tab's date-list view; consulta: its record source (the table's distinct
    // dates); campoFecha: the date field the list shows.
    PaginaCalendario(RunState& estado, RecordView& fechas, const QString& consulta, const QString& campoFecha,
                     QWidget* parent = nullptr);

    // Re-reads the date list from the file with the program's own moves switched off.
    void activar();
    // Shows a day on the calendar without telling the linked pages.
    void mostrarFecha(const QDate& fecha);

    // Choosing a date in any page's list or calendar puts all of them on that day.
    static void enlazarCalendarios(const QList<PaginaCalendario*>& paginas);

    QListView* listaFechas() const { return m_lista; }
    QCalendarWidget* calendario() const { return m_calendario; }
    // The free column where the page's search and selection buttons go.
    QWidget* zonaBotones() const { return m_zonaBotones; }
    // "DD/MM/yy" of the list's row (empty for a row without date).
    QString textoFila(int fila) const;

signals:
    // The user chose this day in the list or on the calendar.
    void fechaElegida(const QDate& fecha);

private:
    void elegirDeLista(const QModelIndex& indice);
    void elegirDeCalendario();

    RunState& m_estado;
    RecordView& m_fechas;
    QString m_consulta;
    QListView* m_lista = nullptr;
    QCalendarWidget* m_calendario = nullptr;
    QWidget* m_zonaBotones = nullptr;
    bool m_mostrando = false;
};
