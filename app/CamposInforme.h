#pragma once

#include "search/logic/MotorInforme.h"

// The computed values of the reports ({=Dornenburg}, {=Rogers}, {=RelacionGases},
// {=DuvalTriangulo}, {=DuvalPentagono}) from a stored test row, through the same gas methods
// as the test tab and its windows.
informe::Calculador calculadorInformes();
