#pragma once

#include <QString>
#include <QStringList>

// The one seam through which windows talk to the user: message boxes, file and folder
// choices, the wait pointer. The program passes a real implementation; tests pass a
// scripted one that records every text and answers without blocking.
class Mensajes
{
public:
    enum class Icon
    {
        None,
        Information,
        Exclamation,
        Critical,
        Question
    };
    enum class Buttons
    {
        Ok,
        YesNo,
        OkCancel
    };
    enum class Answer
    {
        Ok,
        Yes,
        No,
        Cancel
    };

    virtual ~Mensajes() = default;

    // Shows a message and waits for the answer. An empty title means the program's title
    // "Quorvela". defaultAnswer is the button that Enter chooses.
    virtual Answer show(const QString& text, const QString& title = QString(), Icon icon = Icon::None,
                        Buttons buttons = Buttons::Ok, Answer defaultAnswer = Answer::Ok) = 0;

    // A folder chosen by the user, or empty when cancelled.
    virtual QString chooseFolder(const QString& caption, const QString& start) = 0;
    // A file to open (or to save when forSaving), or empty when cancelled.
    virtual QString chooseFile(const QString& caption, const QString& start, const QString& filter,
                               bool forSaving) = 0;

    // The wait pointer during long work; restored before every message.
    virtual void setBusy(bool busy) = 0;

    // Convenience: a plain message with one OK button and the program's title.
    void aviso(const QString& text) { show(text); }
    // The engine's error description with the critical icon and the title "¡Error!".
    void error(const QString& text) { show(text, QStringLiteral("¡Error!"), Icon::Critical); }
};
