#pragma once

#include <QString>
#include <memory>

class Database;

// The windows that start-up shows, as the start-up sequence sees them. The program implements
// it with the real windows; tests implement it with scripted answers.
class StartupUi
{
public:
    virtual ~StartupUi() = default;

    // The connection window, modal. It sets AccesoConcedido and SoloLectura of the run state;
    // closing it without granting access leaves AccesoConcedido false.
    virtual void showConnection() = 0;
    // The location window, modal, while RecargaEnCurso is on: it saves DIR when the user
    // confirms a folder that holds the data file.
    virtual void showLocation() = 0;
    // The restore window, modal.
    virtual void showRestore() = 0;
    // The rest of start-up: the start-up window, the main window and its views on the data
    // file. database is the opened data file, or null when it could not be opened; the views
    // then stay empty.
    virtual void loadMainWindow(const std::shared_ptr<Database>& database) = 0;
    // Progress of the conversion of an earlier program's data file, now and then: the table being
    // read and its rows done of its total. The conversion ends with finConversion().
    virtual void avanceConversion(const QString& /*tabla*/, qint64 /*hechas*/, qint64 /*total*/) {}
    virtual void finConversion() {}
};
