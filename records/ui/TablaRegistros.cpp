#include "records/ui/TablaRegistros.h"

#include "data/logic/RecordView.h"
#include "records/logic/Logging.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/ModeloTabla.h"

#include <QDate>
#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>

namespace {

// Room around a cell's text: the grid's margins and the lines between columns.
constexpr int kRelleno = 14;

} // namespace

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
    // Column names run to two lines, so that long ones show whole without wide columns.
    horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    horizontalHeader()->setMinimumHeight(QFontMetrics(horizontalHeader()->font()).lineSpacing() * 2 + 8);
    // A selected row would otherwise set every column name in bold, wider than its column.
    horizontalHeader()->setHighlightSections(false);
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &TablaRegistros::ajustarAnchos);
    ajustarAnchos();
    connect(&m_vista, &RecordView::repositioned, this, &TablaRegistros::seguirVista);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& i) {
        if (i.isValid() && i.row() != m_vista.absolutePosition())
            ignorarFallo(m_vista.setAbsolutePosition(i.row()), logRecords(),
                         "Ir a la fila elegida en la tabla");
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

void TablaRegistros::ajustarAnchos()
{
    for (int c = 0; c < m_modelo->columnCount(); ++c)
        setColumnWidth(c, anchoColumna(c));
}

int TablaRegistros::anchoColumna(int columna) const
{
    using schema::FieldKind;
    const QFontMetrics fm(font());
    const int cifra = fm.horizontalAdvance(QLatin1Char('0'));
    const int letra = fm.horizontalAdvance(QLatin1Char('N'));
    const FieldKind kind = m_modelo->tipo(columna);
    int valor = 0;
    int tope = 0;
    switch (kind) {
    case FieldKind::Date:
        valor = tope = fm.horizontalAdvance(EnlaceCampos::textoFecha(QDate(2026, 12, 28), true));
        break;
    case FieldKind::YesNo:
        valor = tope = std::max(fm.horizontalAdvance(QString::fromUtf8("Sí")),
                                fm.horizontalAdvance(QStringLiteral("No")));
        break;
    case FieldKind::Integer:
        valor = tope = cifra * 7;
        break;
    case FieldKind::Number:
        // Ten figures with a sign and a decimal separator.
        valor = tope = cifra * 10 + fm.horizontalAdvance(QStringLiteral("-,"));
        break;
    case FieldKind::Memo:
        valor = tope = letra * 36;
        break;
    case FieldKind::Text:
    case FieldKind::ListText: {
        valor = letra * 6;
        tope = letra * 24;
        if (const schema::Field* f = m_modelo->campo(columna))
            for (const QString& v : f->values)
                valor = std::max(valor, fm.horizontalAdvance(v));
        // The first screen of rows says how long this plant's texts run.
        const int filas = std::min(m_modelo->rowCount(), int(kFilasMuestra));
        for (int fila = 0; fila < filas; ++fila)
            valor = std::max(valor,
                             fm.horizontalAdvance(m_modelo->data(m_modelo->index(fila, columna)).toString()));
        break;
    }
    }
    valor = std::min(valor, tope);
    const QFontMetrics fh(horizontalHeader()->font());
    const int nombre = anchoEnDosLineas(fh, m_modelo->headerData(columna, Qt::Horizontal).toString()) + 8;
    return std::max(valor, nombre) + kRelleno;
}

int TablaRegistros::anchoEnDosLineas(const QFontMetrics& fm, const QString& nombre)
{
    // The narrowest width at which the name breaks at one blank into two lines.
    int ancho = fm.horizontalAdvance(nombre);
    for (int i = nombre.indexOf(QLatin1Char(' ')); i > 0; i = nombre.indexOf(QLatin1Char(' '), i + 1)) {
        const int izquierda = fm.horizontalAdvance(nombre.left(i).trimmed());
        const int derecha = fm.horizontalAdvance(nombre.mid(i + 1).trimmed());
        ancho = std::min(ancho, std::max(izquierda, derecha));
    }
    return ancho;
}
