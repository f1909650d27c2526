#pragma once

#include "app/logic/Interruptor.h"

#include <QString>
#include <QStringList>

// The values that the whole program shares for one run: where the data file is, how it was
// opened, what the searches selected and the switches that suspend the record handlers. The
// program's main creates it and passes it by reference; nothing reaches it through a global.
// State that one window alone uses lives in that window.
struct RunState
{
    // folder + "/" + the data file's name
    static QString rutaBaseDe(const QString& folder);
    // True when folder holds a regular data file. An empty folder never does: it would
    // otherwise name the file system's root.
    static bool contieneBase(const QString& folder);

    QStringList NombresTablas{QStringLiteral("Trafoge"), QStringLiteral("Revision"),
                              QStringLiteral("Ensayos"), QStringLiteral("Mantenimiento")};
    QString RutaPrograma;
    QString RutaDatos;
    QString RutaBase;

    bool AccesoConcedido = false;
    bool SoloLectura = false;
    // The main window is being closed only to be loaded again; during start-up it stays on
    // until the data file's folder is settled.
    bool RecargaEnCurso = false;

    // Selection texts of the searches: "1=1" selects everything.
    QString FormulaTrafo = QStringLiteral("1=1");
    QString FormulaRevision = QStringLiteral("1=1");
    QString FormulaEnsayos = QStringLiteral("1=1");
    QString FormulaMantenimiento = QStringLiteral("1=1");
    QString FiltroCodigos = QStringLiteral("1=1");
    QString OperadorFecha = QStringLiteral("=");

    // While off, the views' reposition handlers and the totals typed into do nothing: the
    // program's own re-reads and moves run with it off.
    Interruptor ReposicionActiva{true};
    // While off, the record views do not align each other. The first move of the transformer
    // view turns it on (activarSincronizacion).
    Interruptor SincronizacionActiva{false};
    // Raised while test rows are walked in bulk: no test totals are recomputed.
    Interruptor RecorridoEnsayos{false};
    // Raised by the priority list while it moves the transformer view, so that the view
    // does not move the list back.
    Interruptor ListaSinc1{false};
    Interruptor ListaSinc2{false};

    // Points RutaDatos and RutaBase at folder.
    void apuntarDatos(const QString& folder);
    // Empties every selection: the five formulas "1=1" and OperadorFecha "=".
    void resetSelection();
    // The switches to their resting values: synchronisation off, reposition on, the rest off.
    void resetNavigation();
    // Synchronisation on for good: the views align each other from now on.
    void activarSincronizacion() { SincronizacionActiva.m_valor = true; }
};
