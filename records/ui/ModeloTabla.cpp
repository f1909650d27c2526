#include "records/ui/ModeloTabla.h"

#include "data/logic/RecordView.h"
#include "data/logic/Schema.h"
#include "records/ui/EnlaceCampos.h"

#include <QTextDocumentFragment>

ModeloTabla::ModeloTabla(RecordView& vista, QObject* parent) : QAbstractTableModel(parent), m_vista(vista)
{
    auto recargar = [this] {
        beginResetModel();
        m_filas = m_vista.isOpen() ? m_vista.recordCount() : 0;
        m_columnas = m_vista.isOpen() ? m_vista.fieldCount() : 0;
        // Kinds are looked up once per reset, not for every cell painted.
        m_tipos.clear();
        m_campos.clear();
        const schema::Table* t = m_columnas > 0 ? schema::table(m_vista.tables().value(0)) : nullptr;
        for (int c = 0; c < m_columnas; ++c) {
            const schema::Field* f = t ? t->field(m_vista.fieldName(c)) : nullptr;
            m_tipos << (f ? f->kind : schema::FieldKind::Text);
            m_campos << f;
        }
        endResetModel();
    };
    recargar();
    connect(&m_vista, &RecordView::rowsChanged, this, recargar);
    // A saved row may have new values; the grid asks again only for the rows it shows.
    connect(&m_vista, &RecordView::repositioned, this, [this, recargar] {
        if (m_vista.isOpen() && (m_vista.recordCount() != m_filas || m_vista.fieldCount() != m_columnas))
            recargar();
        else if (m_filas > 0 && m_columnas > 0)
            emit dataChanged(index(0, 0), index(m_filas - 1, m_columnas - 1));
    });
}

int ModeloTabla::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_filas;
}

int ModeloTabla::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columnas;
}

QVariant ModeloTabla::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const schema::FieldKind kind = m_tipos.value(index.column(), schema::FieldKind::Text);
    if (role == Qt::TextAlignmentRole) {
        // Figures line up on their last digit; yes/no marks sit in the middle.
        if (kind == schema::FieldKind::Number || kind == schema::FieldKind::Integer)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (kind == schema::FieldKind::YesNo || kind == schema::FieldKind::Date)
            return QVariant(Qt::AlignHCenter | Qt::AlignVCenter);
        return QVariant();
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    const QVariant v = m_vista.valueAt(index.row(), index.column());
    if (kind == schema::FieldKind::YesNo)
        return v.isValid() ? QVariant(v.toBool() ? QString::fromUtf8("Sí") : QStringLiteral("No"))
                           : QVariant();
    QString texto = EnlaceCampos::textoValor(v, kind, true);
    if (kind == schema::FieldKind::Memo && Qt::mightBeRichText(texto))
        texto = QTextDocumentFragment::fromHtml(texto).toPlainText();
    if (role == Qt::DisplayRole && kind == schema::FieldKind::Memo)
        texto = texto.simplified().left(120);
    return texto;
}

QVariant ModeloTabla::headerData(int section, Qt::Orientation orientation, int role) const
{
    // A name too long for its column is read whole in the tip.
    if (role != Qt::DisplayRole && !(role == Qt::ToolTipRole && orientation == Qt::Horizontal))
        return QVariant();
    if (orientation == Qt::Horizontal)
        return m_vista.fieldName(section);
    return section + 1;
}
