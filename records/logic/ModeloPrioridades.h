#pragma once

#include <QAbstractListModel>
#include <QPointer>

class RecordView;

// The rows of the priority list for a list view: one item per row of the view, in the view's
// order. Values are read from the view as rows are painted (valueAt), never copied in bulk, so
// 10,000 transformers cost no more than the rows on screen. The model starts again each time
// the view's rows change (re-run, resync, close).
class ModeloPrioridades : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Rol
    {
        RolCodigo = Qt::UserRole + 1, // CÓDIGO as text
        RolArea,
        RolMarca,
        RolNroSerie,
        RolDenominacion,
        RolEstado, // ESTADO as a whole number; 0 when empty
        RolGravedad,
        RolDiagnostico,
        RolResumenObs,
        RolCodigoValor // CÓDIGO as stored (invalid when empty)
    };
    Q_ENUM(Rol)

    explicit ModeloPrioridades(RecordView& vista, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    RecordView& vista() const { return *m_vista; }

private:
    void reiniciar();
    // Field positions of the view, looked up once per reset rather than once per painted cell.
    void buscarCampos();

    RecordView* m_vista;
    int m_filas = 0;
    int m_campos[9];
};
