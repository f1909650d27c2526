#pragma once

#include "records/ui/PaginaFechada.h"

#include <QList>

class QLineEdit;

// The inspections tab: general state, protections, insulation, accessories and observation.
class PaginaRevision : public PaginaFechada
{
    Q_OBJECT
public:
    explicit PaginaRevision(QWidget* parent = nullptr);

    // Leaving an inspection: every list shows " " and the boxes and observations are empty
    // until the next row is shown. The binder has written pending edits into the row by now.
    void blanquear();
    // The read-only polarization index boxes Text39 to Text41 (1 to 3) of the insulation page.
    QLineEdit* indicePolarizacion(int indice) const { return m_indices.value(indice - 1); }

protected:
    const schema::Table& tablaEsquema() const override;
    void construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace) override;
    QString nombreBotonInforme() const override { return QStringLiteral("Command51"); }
    void ajustarEntrada(EntradaValidada& entrada, const schema::Field& campo) override;

private:
    // Each index is the ten-minute reading over the one-minute one of its pair, redone
    // whenever a reading changes.
    void calcularIndices();

    QList<QLineEdit*> m_indices;
};
