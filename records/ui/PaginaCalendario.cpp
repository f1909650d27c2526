#include "records/ui/PaginaCalendario.h"

#include "app/logic/RunState.h"
#include "data/logic/RecordView.h"
#include "records/logic/Logging.h"
#include "records/ui/EnlaceCampos.h"

#include <QAbstractListModel>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QListView>
#include <QLocale>
#include <QPointer>
#include <QVBoxLayout>

namespace {

// The dates of a date-list view, read row by row without moving the view.
class ModeloFechas : public QAbstractListModel
{
public:
    ModeloFechas(RecordView& vista, const QString& campo, QObject* parent)
        : QAbstractListModel(parent), m_vista(vista), m_campo(campo)
    {
        connect(&m_vista, &RecordView::rowsChanged, this, [this] {
            beginResetModel();
            endResetModel();
        });
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_vista.isOpen() ? 0 : m_vista.recordCount();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return QVariant();
        const QDate fecha = fechaDe(m_vista.valueAt(index.row(), m_campo));
        if (role == Qt::DisplayRole)
            return fecha.isValid() ? EnlaceCampos::textoFecha(fecha, true) : QString();
        // The day itself, so that a two-digit year never changes its century.
        if (role == Qt::UserRole)
            return fecha;
        return QVariant();
    }

private:
    static QDate fechaDe(const QVariant& valor)
    {
        if (valor.typeId() == QMetaType::QDate)
            return valor.toDate();
        // A query column may come back as the stored text.
        return QDate::fromString(valor.toString().left(10), Qt::ISODate);
    }

    RecordView& m_vista;
    QString m_campo;
};

} // namespace

PaginaCalendario::PaginaCalendario(RunState& estado, RecordView& fechas, const QString& consulta,
                                   const QString& campoFecha, QWidget* parent)
    : QWidget(parent), m_estado(estado), m_fechas(fechas), m_consulta(consulta)
{
    setObjectName(QStringLiteral("PaginaCalendario"));
    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(6, 6, 6, 6);
    fila->setSpacing(8);

    m_lista = new QListView(this);
    m_lista->setObjectName(QStringLiteral("ListaFechas"));
    m_lista->setModel(new ModeloFechas(m_fechas, campoFecha, m_lista));
    m_lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lista->setMaximumWidth(110);
    fila->addWidget(m_lista);

    m_calendario = new QCalendarWidget(this);
    m_calendario->setObjectName(QStringLiteral("CalendarioFechas"));
    // Day and month names in Spanish whatever the system's language.
    m_calendario->setLocale(QLocale(QLocale::Spanish));
    m_calendario->setFirstDayOfWeek(Qt::Monday);
    m_calendario->setGridVisible(true);
    m_calendario->setMinimumSize(340, 230);
    auto* columnaCalendario = new QVBoxLayout;
    columnaCalendario->addWidget(m_calendario);
    columnaCalendario->addStretch(1);
    fila->addLayout(columnaCalendario);

    m_zonaBotones = new QWidget(this);
    m_zonaBotones->setObjectName(QStringLiteral("ZonaBotones"));
    auto* botones = new QVBoxLayout(m_zonaBotones);
    botones->setContentsMargins(0, 0, 0, 0);
    botones->addStretch(1);
    fila->addWidget(m_zonaBotones, 1);

    connect(m_lista->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& actual) { elegirDeLista(actual); });
    connect(m_lista, &QListView::clicked, this, &PaginaCalendario::elegirDeLista);
    connect(m_calendario, &QCalendarWidget::selectionChanged, this, &PaginaCalendario::elegirDeCalendario);
}

void PaginaCalendario::activar()
{
    // Re-opening the list is the program's own move: nothing aligns and no input is checked.
    Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
    m_fechas.setRecordSource(m_consulta);
    ignorarFallo(m_fechas.refresh(), logRecords(), "Releer la lista de fechas");
}

QString PaginaCalendario::textoFila(int fila) const
{
    return m_lista->model()->index(fila, 0).data().toString();
}

void PaginaCalendario::elegirDeLista(const QModelIndex& indice)
{
    const QDate fecha = indice.data(Qt::UserRole).toDate();
    if (!fecha.isValid())
        return;
    mostrarFecha(fecha);
    emit fechaElegida(fecha);
}

void PaginaCalendario::elegirDeCalendario()
{
    if (!m_mostrando)
        emit fechaElegida(m_calendario->selectedDate());
}

void PaginaCalendario::mostrarFecha(const QDate& fecha)
{
    if (!fecha.isValid())
        return;
    m_mostrando = true;
    m_calendario->setSelectedDate(fecha);
    m_mostrando = false;
}

void PaginaCalendario::enlazarCalendarios(const QList<PaginaCalendario*>& paginas)
{
    QList<QPointer<PaginaCalendario>> todas;
    for (PaginaCalendario* p : paginas)
        todas << p;
    for (PaginaCalendario* p : paginas)
        connect(p, &PaginaCalendario::fechaElegida, p, [todas](const QDate& fecha) {
            for (const QPointer<PaginaCalendario>& otra : todas)
                if (otra)
                    otra->mostrarFecha(fecha);
        });
}
