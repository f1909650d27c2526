#pragma once

#include "records/ui/PaginaFechada.h"

// The maintenance tab: the work done, one check box per item, and the observations.
class PaginaMantenimiento : public PaginaFechada
{
    Q_OBJECT
public:
    explicit PaginaMantenimiento(QWidget* parent = nullptr);

protected:
    const schema::Table& tablaEsquema() const override;
    void construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace) override;
    QString nombreBotonInforme() const override { return QStringLiteral("Command34"); }
};
