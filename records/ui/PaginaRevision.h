#pragma once

#include "records/ui/PaginaFechada.h"

// The inspections tab: general state, protections, insulation, accessories and observation.
class PaginaRevision : public PaginaFechada
{
    Q_OBJECT
public:
    explicit PaginaRevision(QWidget* parent = nullptr);

    // Leaving an inspection: every list shows " " and the boxes and observations are empty
    // until the next row is shown. The binder has written pending edits into the row by now.
    void blanquear();

protected:
    const schema::Table& tablaEsquema() const override;
    void construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace) override;
};
