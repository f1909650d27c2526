#pragma once

#include "utilities/logic/Mensajes.h"

#include <QPointer>
#include <QWidget>

// Message boxes, file and folder choices and the wait pointer on real Qt dialogs.
class MensajesQt : public Mensajes
{
public:
    explicit MensajesQt(QWidget* owner = nullptr);
    ~MensajesQt() override;

    // The window that owns the dialogs (the main window once it exists).
    void setOwner(QWidget* owner);

    Answer show(const QString& text, const QString& title, Icon icon, Buttons buttons,
                Answer defaultAnswer) override;
    QString chooseFolder(const QString& caption, const QString& start) override;
    QString chooseFile(const QString& caption, const QString& start, const QString& filter,
                       bool forSaving) override;
    void setBusy(bool busy) override;

private:
    void restorePointer();

    QPointer<QWidget> m_owner;
    bool m_busy = false;
};
