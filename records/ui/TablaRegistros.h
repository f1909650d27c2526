#pragma once

#include <QTableView>

class ModeloTabla;
class QFontMetrics;
class RecordView;

// The grid of a record tab: every column of its view, one line per row; the view's current row
// is selected and a click on a line moves the view there.
class TablaRegistros : public QTableView
{
    Q_OBJECT
public:
    explicit TablaRegistros(RecordView& vista, QWidget* parent = nullptr);
    ModeloTabla* modelo() const { return m_modelo; }

    // Rows of the first screen read to size text columns; the rest of the table is never read
    // for it, so a grid of many thousand rows opens as fast as a small one.
    static constexpr int kFilasMuestra = 40;
    // The width a column name needs when it may break at a blank into two lines.
    static int anchoEnDosLineas(const QFontMetrics& fm, const QString& nombre);

private:
    void seguirVista();
    // Widths from each column's kind (and for texts from the first screen of rows).
    void ajustarAnchos();
    int anchoColumna(int columna) const;

    RecordView& m_vista;
    ModeloTabla* m_modelo = nullptr;
};
