#include "app/logic/RunState.h"

#include <QFileInfo>

QString RunState::rutaBaseDe(const QString& folder)
{
    return folder + QLatin1Char('/') + dataFileName();
}

bool RunState::contieneBase(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(rutaBaseDe(folder)).isFile();
}

void RunState::apuntarDatos(const QString& folder)
{
    RutaDatos = folder;
    RutaBase = rutaBaseDe(folder);
}

void RunState::resetSelection()
{
    const QString todo = QStringLiteral("1=1");
    FormulaTrafo = todo;
    FormulaRevision = todo;
    FormulaEnsayos = todo;
    FormulaMantenimiento = todo;
    FiltroCodigos = todo;
    OperadorFecha = QStringLiteral("=");
}

void RunState::resetNavigation()
{
    SincronizacionActiva = false;
    ReposicionActiva = true;
    RecorridoEnsayos = false;
    AlineaTrafo = AlineaRevision = AlineaEnsayos = AlineaMantenimiento = true;
    EditandoTrafo = AgregandoTrafo = false;
    AgregandoRevision = AgregandoEnsayo = AgregandoMantenimiento = false;
    ListaSinc1 = ListaSinc2 = false;
    AparcadaRevision = AparcadaEnsayos = AparcadaMantenimiento = false;
}
