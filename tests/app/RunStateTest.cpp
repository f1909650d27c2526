#include "app/logic/RunState.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(RunState, ResetsSelectionAndNavigationToTheirRestingValues)
{
    RunState state;
    state.FormulaTrafo = state.FormulaRevision = state.FormulaEnsayos = QStringLiteral("[CÓDIGO]=3");
    state.FormulaMantenimiento = state.FiltroCodigos = QStringLiteral("x");
    state.OperadorFecha = QStringLiteral(">");
    state.SincronizacionActiva = true;
    state.ReposicionActiva = false;
    state.RecorridoEnsayos = true;
    state.AlineaTrafo = state.AlineaRevision = state.AlineaEnsayos = state.AlineaMantenimiento = false;
    state.EditandoTrafo = state.AgregandoTrafo = state.AgregandoRevision = true;
    state.AgregandoEnsayo = state.AgregandoMantenimiento = true;
    state.ListaSinc1 = state.ListaSinc2 = true;
    state.AparcadaRevision = state.AparcadaEnsayos = state.AparcadaMantenimiento = true;
    state.SoloLectura = state.AccesoConcedido = true;

    state.resetSelection();
    state.resetNavigation();

    const RunState rest;
    EXPECT_EQ(state.FormulaTrafo, rest.FormulaTrafo);
    EXPECT_EQ(state.FormulaRevision, rest.FormulaRevision);
    EXPECT_EQ(state.FormulaEnsayos, rest.FormulaEnsayos);
    EXPECT_EQ(state.FormulaMantenimiento, rest.FormulaMantenimiento);
    EXPECT_EQ(state.FiltroCodigos, rest.FiltroCodigos);
    EXPECT_EQ(state.OperadorFecha, QStringLiteral("="));
    EXPECT_FALSE(state.SincronizacionActiva);
    EXPECT_TRUE(state.ReposicionActiva);
    EXPECT_FALSE(state.RecorridoEnsayos);
    EXPECT_TRUE(state.AlineaTrafo && state.AlineaRevision && state.AlineaEnsayos &&
                state.AlineaMantenimiento);
    EXPECT_FALSE(state.EditandoTrafo || state.AgregandoTrafo || state.AgregandoRevision ||
                 state.AgregandoEnsayo || state.AgregandoMantenimiento);
    EXPECT_FALSE(state.ListaSinc1 || state.ListaSinc2);
    EXPECT_FALSE(state.AparcadaRevision || state.AparcadaEnsayos || state.AparcadaMantenimiento);
    // The access mode holds for the whole run.
    EXPECT_TRUE(state.SoloLectura);
    EXPECT_TRUE(state.AccesoConcedido);
}

TEST(RunState, FindsTheDataFileOnlyAsARegularFileOfThatName)
{
    QTemporaryDir withFile, withFolder, withOtherCase;
    QFile file(withFile.filePath(QStringLiteral("trafos.mdb")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QDir(withFolder.path()).mkdir(QStringLiteral("trafos.mdb")));
    QFile other(withOtherCase.filePath(QStringLiteral("Trafos.MDB")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();

    EXPECT_TRUE(RunState::contieneBase(withFile.path()));
    EXPECT_FALSE(RunState::contieneBase(withFolder.path()));
    EXPECT_FALSE(RunState::contieneBase(withOtherCase.path()));
    EXPECT_FALSE(RunState::contieneBase(withFile.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(RunState::contieneBase(QString()));
}
