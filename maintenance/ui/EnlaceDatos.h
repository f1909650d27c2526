#pragma once

#include <functional>

// What the windows that replace or rewrite the data file ask of the main window. Every member
// may be empty (at start-up there is no main window yet).
struct EnlaceDatos
{
    // Saves the pending edits of the record views, as a move off their rows would; false when
    // the file refused one (the user has been told).
    std::function<bool()> guardarPendientes;
    // Closes every use of the data file.
    std::function<void()> cerrarDatos;
    // Points every view at the data file again and resets selections, calendars and choosers.
    std::function<void()> reconectar;
    // The exit procedure's automatic copy, with its notice; false when it failed (the user has
    // been told).
    std::function<bool()> copiaAutomatica;
};
