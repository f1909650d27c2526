#pragma once

#include <QString>
#include <QStringList>

// The names of the fields that the program's code refers to one by one. The schema
// description builds its tables from these same constants, so each name is written once:
// renaming a field here renames it in the file, the forms, the checkers and the rules alike.
namespace campo {

// The four tables of the data file.
namespace tablas {
inline const QString Trafoge = QStringLiteral("Trafoge");
inline const QString Revision = QStringLiteral("Revision");
inline const QString Ensayos = QStringLiteral("Ensayos");
inline const QString Mantenimiento = QStringLiteral("Mantenimiento");
} // namespace tablas

namespace trafoge {
inline const QString CODIGO = QStringLiteral("CÓDIGO");
inline const QString AREA = QStringLiteral("AREA");
inline const QString MARCA = QStringLiteral("MARCA");
inline const QString DENOMINACION = QStringLiteral("DENOMINACIÓN");
inline const QString NRO_DE_SERIE = QStringLiteral("NRO DE SERIE");
inline const QString TIPO = QStringLiteral("TIPO");
inline const QString TIPO_AISLANTE = QStringLiteral("TIPO AISLANTE");
inline const QString ANIO = QStringLiteral("AÑO"); // year of manufacture, as text
inline const QString ESTADO = QStringLiteral("ESTADO");
inline const QString GRAVEDAD = QStringLiteral("GRAVEDAD");
inline const QString AUTO = QStringLiteral("AUTO");
inline const QString DIAGNOSTICO = QStringLiteral("DIAGNOSTICO");
inline const QString RESUMEN_OBS = QStringLiteral("RESUMEN OBS");
} // namespace trafoge

namespace revision {
inline const QString CODIGO = QStringLiteral("CÓDIGO");
inline const QString FECHA = QStringLiteral("FECHA");
// The insulation readings after one and ten minutes, in the order of their boxes.
inline const QString PRIM_SEC_A_TIERRA_1 = QStringLiteral("PRIM / SEC A TIERRA 1'");
inline const QString SEC_PRIM_A_TIERRA_1 = QStringLiteral("SEC / PRIM A TIERRA 1'");
inline const QString PRIM_SEC_TIERRA_1 = QStringLiteral("PRIM SEC / TIERRA 1'");
inline const QString PRIM_SEC_A_TIERRA_10 = QStringLiteral("PRIM / SEC A TIERRA 10'");
inline const QString SEC_PRIM_A_TIERRA_10 = QStringLiteral("SEC  / PRIM A TIERRA 10'");
inline const QString PRIM_SEC_TIERRA_10 = QStringLiteral("PRIM SEC / TIERRA 10'");
// The six readings in the order of their boxes: the three after one minute, then the three
// after ten.
inline QStringList megado()
{
    return {PRIM_SEC_A_TIERRA_1,  SEC_PRIM_A_TIERRA_1,  PRIM_SEC_TIERRA_1,
            PRIM_SEC_A_TIERRA_10, SEC_PRIM_A_TIERRA_10, PRIM_SEC_TIERRA_10};
}
inline const QString CONSUMO_VENT = QStringLiteral("CONSUMO VENT");
inline const QString PORCENTAJE_OXIGENO = QStringLiteral("PORCENTAJE OXÍGENO");
inline const QString RIGIDEZ_DIELECTRICA = QStringLiteral("RIGIDEZ DIELÉCTRICA");
} // namespace revision

namespace ensayos {
inline const QString Codigo = QStringLiteral("Código");
inline const QString Fecha = QStringLiteral("Fecha");
// The groups' check boxes.
inline const QString EFQ = QStringLiteral("EFQ");
inline const QString KF = QStringLiteral("KF");
inline const QString FUR = QStringLiteral("FUR");
inline const QString MET = QStringLiteral("MET");
inline const QString PCB = QStringLiteral("PCB");
inline const QString GAS = QStringLiteral("GAS");
inline const QString FD = QStringLiteral("FD");
inline const QString LD = QStringLiteral("LD");
inline const QString IN = QStringLiteral("IN");
// Physico-chemical values.
inline const QString Visual = QStringLiteral("Visual");
inline const QString Color = QStringLiteral("Color");
inline const QString SP_GR = QStringLiteral("SP_GR_");
inline const QString Diel = QStringLiteral("Diel");
inline const QString TIF = QStringLiteral("TIF");
inline const QString Acidez = QStringLiteral("Acidez");
inline const QString TangDelta = QStringLiteral("TangDelta");
inline const QString HumSol = QStringLiteral("HumSol");
inline const QString Inhibidor = QStringLiteral("%_Inhibidor");
inline const QString Sedimentos = QStringLiteral("Sedimentos");
// Water content.
inline const QString KFTMC_PPM = QStringLiteral("KFTMC_PPM");
inline const QString KFTMC_TEMP = QStringLiteral("KFTMC_TEMP");
inline const QString Saturacion = QStringLiteral("Saturación");
inline const QString PesoSeco = QStringLiteral("Peso Seco");
inline const QString Factor = QStringLiteral("Factor");
inline const QString Grado = QStringLiteral("Grado");
// Furans and their total.
inline const QString F5H2F = QStringLiteral("5H2F");
inline const QString F2FOL = QStringLiteral("2FOL");
inline const QString F2FAL = QStringLiteral("2FAL");
inline const QString F2ACF = QStringLiteral("2ACF");
inline const QString F5M2F = QStringLiteral("5M2F");
inline const QString Total = QStringLiteral("Total");
// Dissolved gases and their totals.
inline const QString Hidrogeno = QStringLiteral("Hidrógeno");
inline const QString Oxigeno = QStringLiteral("Oxígeno");
inline const QString Nitrogeno = QStringLiteral("Nitrógeno");
inline const QString Metano = QStringLiteral("Metano");
inline const QString Monoxido = QStringLiteral("Monóxido");
inline const QString Dioxido = QStringLiteral("Dióxido");
inline const QString Etano = QStringLiteral("Etano");
inline const QString Etileno = QStringLiteral("Etileno");
inline const QString Acetileno = QStringLiteral("Acetileno");
inline const QString TotalCombustible = QStringLiteral("Total combustible");
inline const QString TotalGas = QStringLiteral("Total Gas");
// Metals.
inline const QString Aluminio = QStringLiteral("Aluminio");
inline const QString Hierro = QStringLiteral("Hierro");
inline const QString Cobre = QStringLiteral("Cobre");
// PCB and its total.
inline const QString PCB_1242 = QStringLiteral("PCB_1242");
inline const QString PCB_1254 = QStringLiteral("PCB_1254");
inline const QString PCB_1260 = QStringLiteral("PCB_1260");
inline const QString OTROS = QStringLiteral("OTROS");
inline const QString TOTAL_PCB = QStringLiteral("TOTAL PCB");
inline const QString Observaciones = QStringLiteral("Observaciones");
} // namespace ensayos

namespace mantenimiento {
inline const QString Codigo = QStringLiteral("Código");
inline const QString Fecha = QStringLiteral("Fecha");
} // namespace mantenimiento

} // namespace campo
