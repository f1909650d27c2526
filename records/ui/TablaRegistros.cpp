#include "records/ui/TablaRegistros.h"

#include "data/logic/RecordView.h"
#include "records/ui/ModeloTabla.h"

#include <QFontMetrics>
#include <QHeaderView>

TablaRegistros::TablaRegistros(RecordView& vista, QWidget* parent) : QTableView(parent), m_vista(vista)
{
    m_modelo = new ModeloTabla(vista, this);
    setModel(m_modelo);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(110);
    // Columns as wide as their names; sizing by contents would read every row.
    auto anchos = [this] {
        const QFontMetrics fm(horizontalHeader()->font());
        for (int c = 0; c < m_modelo->columnCount(); ++c)
            setColumnWidth(
                c, qMax(70, fm.horizontalAdvance(m_modelo->headerData(c, Qt::Horizontal).toString()) + 24));
    };
    connect(m_modelo, &QAbstractItemModel::modelReset, this, anchos);
    anchos();
    connect(&m_vista, &RecordView::repositioned, this, &TablaRegistros::seguirVista);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& i) {
        if (i.isValid() && i.row() != m_vista.absolutePosition())
            m_vista.setAbsolutePosition(i.row());
    });
    seguirVista();
}

void TablaRegistros::seguirVista()
{
    const int fila = m_vista.isOpen() ? m_vista.absolutePosition() : -1;
    if (fila < 0 || fila >= m_modelo->rowCount()) {
        clearSelection();
        return;
    }
    selectRow(fila);
}
