#pragma once

#include "utilities/logic/Mensajes.h"

#include <QList>
#include <QQueue>
#include <functional>

// Answers the program's questions from a script and records every message shown.
class ScriptedMensajes : public Mensajes
{
public:
    struct Shown
    {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
        Answer defaultAnswer;
    };

    Answer show(const QString& text, const QString& title, Icon icon, Buttons buttons,
                Answer defaultAnswer) override
    {
        shown.append({text, title, icon, buttons, defaultAnswer});
        if (onShow)
            onShow(shown.last());
        if (!answers.isEmpty())
            return answers.dequeue();
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    QString chooseFolder(const QString&, const QString&) override
    {
        return folders.isEmpty() ? QString() : folders.dequeue();
    }
    QString chooseFile(const QString&, const QString&, const QString&, bool) override
    {
        return files.isEmpty() ? QString() : files.dequeue();
    }
    void setBusy(bool busy) override { busyNow = busy; }

    QStringList texts() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out << s.text;
        return out;
    }

    QList<Shown> shown;
    QQueue<Answer> answers;  // next answers, in order; default: Ok, or No for Yes/No questions
    QQueue<QString> folders; // next folder choices
    QQueue<QString> files;   // next file choices
    std::function<void(const Shown&)> onShow;
    bool busyNow = false;
};
