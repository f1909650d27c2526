#include "records/logic/DataViews.h"

#include "app/logic/RunState.h"
#include "records/logic/Logging.h"

DataViews::DataViews(RunState& estado) : m_estado(estado) {}

DataViews::~DataViews()
{
    closeAll();
}

QString DataViews::fuenteListaFechas(const QString& tabla)
{
    return QStringLiteral("SELECT DISTINCT [Fecha]  FROM ") + tabla;
}

QString DataViews::fuenteAislantes()
{
    return QStringLiteral("SELECT DISTINCT [TIPO AISLANTE]  FROM Trafoge order by [TIPO AISLANTE] asc");
}

RecordView* DataViews::data(int n)
{
    RecordView* const views[] = {&Data1, &Data2, &Data3, &Data4, &Data5,
                                 &Data6, &Data7, &Data8, &Data9, &Data10};
    return n >= 1 && n <= 10 ? views[n - 1] : nullptr;
}

Status DataViews::openAll(const QString& path, bool soloLectura)
{
    closeAll();
    auto opened = Database::open(path, soloLectura);
    openAll(opened.ok() ? opened.value() : nullptr, soloLectura);
    if (!opened.ok())
        return Status::failure(opened.error());
    return {};
}

void DataViews::openAll(std::shared_ptr<Database> db, bool soloLectura)
{
    closeAll();
    m_db = std::move(db);

    Ado1.setDatabase(m_db);
    Ado1.setRecordSource(PriorityList::priorityQuery());

    for (int n = 1; n <= 4; ++n)
        data(n)->setReadOnly(soloLectura);
    for (int n = 1; n <= 10; ++n)
        data(n)->setDatabase(m_db);

    Data1.setRecordSource(QStringLiteral("trafoge"));
    Data2.setRecordSource(QStringLiteral("Revision"));
    Data3.setRecordSource(QStringLiteral("ensayos"));
    Data4.setRecordSource(QStringLiteral("mantenimiento"));
    Data5.setRecordSource(QStringLiteral("trafoge"));
    Data6.setRecordSource(fuenteListaFechas(QStringLiteral("mantenimiento")));
    Data7.setRecordSource(fuenteListaFechas(QStringLiteral("ensayos")));
    Data8.setRecordSource(fuenteListaFechas(QStringLiteral("Revision")));
    Data9.setRecordSource(QStringLiteral("trafoge"));
    Data10.setRecordSource(fuenteAislantes());

    if (!m_db)
        return;
    // Opening the views must not align them or run the input checks.
    Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
    // A view that fails stays empty; the others go on.
    for (int n = 1; n <= 10; ++n)
        ignorarFallo(data(n)->refresh(), logRecords(), "Abrir una vista de registros");
    ignorarFallo(Ado1.requery(), logRecords(), "Abrir la lista de prioridades");
}

void DataViews::closeAll()
{
    for (int n = 1; n <= 10; ++n) {
        data(n)->close();
        data(n)->setDatabase(nullptr);
    }
    Ado1.close();
    Ado1.setDatabase(nullptr);
    m_db.reset();
}

Status DataViews::reabrir(const QString& folder)
{
    closeAll();
    m_estado.apuntarDatos(folder);
    m_estado.resetSelection();
    m_estado.resetNavigation();
    return openAll(m_estado.RutaBase, m_estado.SoloLectura);
}

void DataViews::reabrirVistas()
{
    if (!m_db)
        return;
    Ado1.setRecordSource(PriorityList::priorityQuery());
    Data1.setRecordSource(QStringLiteral("trafoge"));
    Data2.setRecordSource(QStringLiteral("Revision"));
    Data3.setRecordSource(QStringLiteral("ensayos"));
    Data4.setRecordSource(QStringLiteral("mantenimiento"));
    Data9.setRecordSource(QStringLiteral("trafoge"));
    ignorarFallo(Ado1.requery(), logRecords(), "Releer la lista de prioridades");
    {
        // Re-reading moves every view; only the final move of the transformer view aligns.
        Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
        for (int n : {1, 2, 3, 4, 5, 8, 7, 6, 9})
            ignorarFallo(data(n)->refresh(), logRecords(), "Releer una vista de registros");
        for (int n = 1; n <= 4; ++n) {
            // The last row first, so that the view knows its row count.
            ignorarFallo(data(n)->moveLast(), logRecords(), "Ir a la última fila");
            ignorarFallo(data(n)->moveFirst(), logRecords(), "Ir a la primera fila");
        }
    }
    // The date operator of the searches is kept: only the selections go.
    const QString todo = QStringLiteral("1=1");
    m_estado.FormulaTrafo = m_estado.FormulaRevision = m_estado.FormulaEnsayos = todo;
    m_estado.FormulaMantenimiento = m_estado.FiltroCodigos = todo;
    ignorarFallo(Data1.moveFirst(), logRecords(), "Ir al primer transformador");
}
