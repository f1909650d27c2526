#pragma once

#include "records/ui/PaginaFechada.h"

// The inspections tab: general state, protections, insulation, accessories and observation.
class PaginaRevision : public PaginaFechada
{
    Q_OBJECT
public:
    explicit PaginaRevision(QWidget* parent = nullptr);

protected:
    const schema::Table& tablaEsquema() const override;
    void construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace) override;
};
