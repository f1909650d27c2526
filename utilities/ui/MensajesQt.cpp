#include "utilities/ui/MensajesQt.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon qtIcon(Mensajes::Icon icon)
{
    switch (icon) {
    case Mensajes::Icon::Information:
        return QMessageBox::Information;
    case Mensajes::Icon::Exclamation:
        return QMessageBox::Warning;
    case Mensajes::Icon::Critical:
        return QMessageBox::Critical;
    case Mensajes::Icon::Question:
        return QMessageBox::Question;
    case Mensajes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MensajesQt::MensajesQt(QWidget* owner) : m_owner(owner) {}

MensajesQt::~MensajesQt()
{
    restorePointer();
}

void MensajesQt::setOwner(QWidget* owner)
{
    m_owner = owner;
}

Mensajes::Answer MensajesQt::show(const QString& text, const QString& title, Icon icon, Buttons buttons,
                                  Answer defaultAnswer)
{
    // A message never appears under the wait pointer.
    restorePointer();

    QMessageBox box(m_owner);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Quorvela") : title);
    box.setText(text);
    box.setIcon(qtIcon(icon));

    struct Choice
    {
        QAbstractButton* button;
        Answer answer;
    };
    QList<Choice> choices;
    auto add = [&](const QString& caption, QMessageBox::ButtonRole role, Answer answer) {
        QPushButton* b = box.addButton(caption, role);
        choices.append({b, answer});
        return b;
    };
    switch (buttons) {
    case Buttons::Ok:
        add(QStringLiteral("Aceptar"), QMessageBox::AcceptRole, Answer::Ok);
        break;
    case Buttons::YesNo:
        add(QString::fromUtf8("Sí"), QMessageBox::YesRole, Answer::Yes);
        add(QStringLiteral("No"), QMessageBox::NoRole, Answer::No);
        break;
    case Buttons::OkCancel:
        add(QStringLiteral("Aceptar"), QMessageBox::AcceptRole, Answer::Ok);
        add(QStringLiteral("Cancelar"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    }
    // Escape answers like the last button (No or Cancel), or OK when it is the only one.
    box.setEscapeButton(choices.last().button);
    for (const Choice& c : choices) {
        if (c.answer == defaultAnswer)
            box.setDefaultButton(qobject_cast<QPushButton*>(c.button));
    }

    box.exec();
    for (const Choice& c : choices) {
        if (box.clickedButton() == c.button)
            return c.answer;
    }
    return choices.last().answer;
}

QString MensajesQt::chooseFolder(const QString& caption, const QString& start)
{
    restorePointer();
    return QFileDialog::getExistingDirectory(m_owner, caption, start);
}

QString MensajesQt::chooseFile(const QString& caption, const QString& start, const QString& filter,
                               bool forSaving)
{
    restorePointer();
    if (forSaving)
        return QFileDialog::getSaveFileName(m_owner, caption, start, filter);
    return QFileDialog::getOpenFileName(m_owner, caption, start, filter);
}

void MensajesQt::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void MensajesQt::restorePointer()
{
    if (!m_busy)
        return;
    m_busy = false;
    QGuiApplication::restoreOverrideCursor();
}
