#include "app/logic/RunState.h"
#include "data/logic/Database.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(RunState, ResetsPutSelectionAndSwitchesAtRestAndGuardsPutValuesBack)
{
    RunState estado;
    QString RunState::*const formulas[] = {&RunState::FormulaTrafo, &RunState::FormulaRevision,
                                           &RunState::FormulaEnsayos, &RunState::FormulaMantenimiento,
                                           &RunState::FiltroCodigos};
    for (QString RunState::*f : formulas)
        estado.*f = QStringLiteral("[CÓDIGO]=3");
    estado.OperadorFecha = QStringLiteral(">");
    estado.activarSincronizacion();
    ASSERT_TRUE(estado.SincronizacionActiva);
    bool bandera = false;
    // Nested guards, left through an early return or at the end of their scope.
    const auto enGuardias = [&](bool salirAntes) {
        Interruptor::Mientras a(estado.ReposicionActiva, false), b(estado.RecorridoEnsayos, true),
            c(estado.ListaSinc1, true), d(estado.ListaSinc2, true);
        {
            Interruptor::Mientras dentro(estado.ReposicionActiva, true);
            Bandera puesta(bandera, true);
            if (salirAntes)
                return;
        }
        EXPECT_FALSE(estado.ReposicionActiva.activo() || bandera);
        estado.resetSelection();
        estado.resetNavigation();
        EXPECT_FALSE(estado.SincronizacionActiva);
        EXPECT_TRUE(estado.ReposicionActiva);
        EXPECT_FALSE(estado.RecorridoEnsayos || estado.ListaSinc1 || estado.ListaSinc2);
    };
    for (bool salirAntes : {true, false}) {
        enGuardias(salirAntes);
        EXPECT_TRUE(estado.ReposicionActiva.activo() && !estado.RecorridoEnsayos && !bandera) << salirAntes;
    }
    for (QString RunState::*f : formulas)
        EXPECT_EQ(estado.*f, QStringLiteral("1=1"));
    EXPECT_EQ(estado.OperadorFecha, QStringLiteral("="));
}

TEST(RunState, FindsTheDataFileOnlyAsARegularFileOfThatName)
{
    QTemporaryDir conArchivo, conCarpeta, otraMayuscula;
    QFile archivo(Database::rutaEn(conArchivo.path()));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    ASSERT_TRUE(QDir(conCarpeta.path()).mkdir(Database::nombreArchivo()));
    QFile otro(otraMayuscula.filePath(Database::nombreArchivo().toUpper()));
    ASSERT_TRUE(otro.open(QIODevice::WriteOnly));
    otro.close();

    EXPECT_EQ(RunState::rutaBaseDe(conArchivo.path()), archivo.fileName());
    EXPECT_TRUE(RunState::contieneBase(conArchivo.path()));
    EXPECT_FALSE(RunState::contieneBase(conCarpeta.path()));
    EXPECT_FALSE(RunState::contieneBase(otraMayuscula.path()));
    EXPECT_FALSE(RunState::contieneBase(conArchivo.filePath(QStringLiteral("falta"))));
    EXPECT_FALSE(RunState::contieneBase(QString()));
}
