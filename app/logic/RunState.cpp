#include "app/logic/RunState.h"

#include "data/logic/Database.h"

#include <QFileInfo>

QString RunState::rutaBaseDe(const QString& folder)
{
    return folder + QLatin1Char('/') + Database::nombreArchivo();
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
    SincronizacionActiva.m_valor = false;
    ReposicionActiva.m_valor = true;
    RecorridoEnsayos.m_valor = false;
    ListaSinc1.m_valor = false;
    ListaSinc2.m_valor = false;
}
