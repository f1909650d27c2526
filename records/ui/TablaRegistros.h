#pragma once

#include <QTableView>

class ModeloTabla;
class RecordView;

// The grid of a record tab: every column of its view, one line per row; the view's current row
// is selected and a click on a line moves the view there.
class TablaRegistros : public QTableView
{
    Q_OBJECT
public:
    explicit TablaRegistros(RecordView& vista, QWidget* parent = nullptr);
    ModeloTabla* modelo() const { return m_modelo; }

private:
    void seguirVista();

    RecordView& m_vista;
    ModeloTabla* m_modelo = nullptr;
};
