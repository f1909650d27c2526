#pragma once

#include "data/logic/Schema.h"

#include <QAbstractTableModel>
#include <QList>

class RecordView;

// All columns of a record view for a grid. Rows are read through the view's window of values
// as the grid paints them, so a table of many rows is never held whole.
class ModeloTabla : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ModeloTabla(RecordView& vista, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The schema field of a column, or nullptr for a column the schema does not know.
    const schema::Field* campo(int columna) const { return m_campos.value(columna); }
    schema::FieldKind tipo(int columna) const { return m_tipos.value(columna, schema::FieldKind::Text); }

private:
    RecordView& m_vista;
    int m_filas = 0;
    int m_columnas = 0;
    QList<schema::FieldKind> m_tipos;
    QList<const schema::Field*> m_campos;
};
