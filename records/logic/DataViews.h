#pragma once

#include "data/logic/Database.h"
#include "data/logic/PriorityList.h"
#include "data/logic/RecordView.h"
#include "data/logic/Result.h"

#include <QString>
#include <memory>

struct RunState;

// The record views of the main window, owned for the whole run. Every other window reads
// or moves these views; none owns data of its own. All views share one connection.
class DataViews
{
public:
    explicit DataViews(RunState& estado);
    ~DataViews();
    DataViews(const DataViews&) = delete;
    DataViews& operator=(const DataViews&) = delete;

    // Record sources set by openAll().
    static QString fuenteListaFechas(const QString& tabla); // "SELECT DISTINCT [Fecha]  FROM " + tabla
    static QString fuenteAislantes();

    // Opens the data file at path and every view on it, in the fixed order, with the
    // reposition handlers switched off meanwhile. A view that fails to open stays empty and
    // the others go on; the result is the data file's own open error, for the program to show.
    Status openAll(const QString& path, bool soloLectura);
    // The same on a data file already opened (null: every view stays empty).
    void openAll(std::shared_ptr<Database> db, bool soloLectura);
    void closeAll();
    // Moves every view to the data file in folder: the run state's folder, selections and
    // navigation switches are reset first, exactly as a fresh start leaves them.
    Status reabrir(const QString& folder);

    // Re-opens every view on the whole tables (searches and sub-groups are dropped): the
    // five selections become "1=1", the four record views learn their row counts, and the
    // transformer view ends on its first row, aligned as any move of it.
    void reabrirVistas();

    // Data1..Data10 by number; nullptr outside 1..10.
    RecordView* data(int n);
    std::shared_ptr<Database> database() const { return m_db; }

    RecordView Data1;  // transformers
    RecordView Data2;  // inspections
    RecordView Data3;  // tests
    RecordView Data4;  // maintenance
    RecordView Data5;  // the query builder's value list
    RecordView Data6;  // maintenance dates
    RecordView Data7;  // test dates
    RecordView Data8;  // inspection dates
    RecordView Data9;  // the search view
    RecordView Data10; // insulating oils
    PriorityList Ado1; // the priority list

private:
    RunState& m_estado;
    std::shared_ptr<Database> m_db;
};
