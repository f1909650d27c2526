#pragma once

#include <QString>
#include <QStringList>

// The state of one run of the program, shared by every window. The program's main creates
// it and passes it by reference; nothing reaches it through a global.
struct RunState
{
    // The data file keeps its historical name in whatever folder the user chooses.
    static QString dataFileName() { return QStringLiteral("trafos.mdb"); }
    // folder + "/trafos.mdb"
    static QString rutaBaseDe(const QString& folder);
    // True when folder holds a regular file named trafos.mdb. An empty folder never does:
    // it would otherwise name the file system's root.
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

    // Navigation switches of the main window.
    bool ReposicionActiva = true;
    bool SincronizacionActiva = false; // the first move of the transformer view turns it on
    bool RecorridoEnsayos = false;
    // A view aligns the others only while its own flag is on.
    bool AlineaTrafo = true;
    bool AlineaRevision = true;
    bool AlineaEnsayos = true;
    bool AlineaMantenimiento = true;
    // Editing states of the record pages.
    bool EditandoTrafo = false;
    bool AgregandoTrafo = false;
    bool AgregandoRevision = false;
    bool AgregandoEnsayo = false;
    bool AgregandoMantenimiento = false;
    // The transformer shown when an addition started (Cancelar goes back to it) and the
    // largest code when a transformer addition started; 16-bit whole numbers.
    int CodigoRecordado = 0;
    int UltimoCodigo = 0;
    // Raised by the priority list while it moves the transformer view, so that the view
    // does not move the list back.
    bool ListaSinc1 = false;
    bool ListaSinc2 = false;
    // A dated view stands past its last row because the transformer has no rows there.
    bool AparcadaRevision = false;
    bool AparcadaEnsayos = false;
    bool AparcadaMantenimiento = false;

    // Points RutaDatos and RutaBase at folder.
    void apuntarDatos(const QString& folder);
    // Empties every selection: the five formulas "1=1" and OperadorFecha "=".
    void resetSelection();
    // Navigation switches, editing states, list-sync and parked flags to their resting values.
    void resetNavigation();
};
