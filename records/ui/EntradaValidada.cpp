#include "records/ui/EntradaValidada.h"

#include "data/logic/Fechas.h"
#include "records/logic/Validar.h"
#include "records/ui/EnlaceCampos.h"
#include "utilities/logic/Mensajes.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

EntradaValidada::EntradaValidada(QLineEdit* box, schema::Checker checker, Mensajes& mensajes)
    : QObject(box), m_box(box), m_checker(checker), m_mensajes(mensajes),
      m_separator(&validar::systemDecimalSeparator)
{
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this, &EntradaValidada::onTextChanged);
}

EntradaValidada* EntradaValidada::attach(QLineEdit* box, const schema::Field& field, Mensajes& mensajes)
{
    return new EntradaValidada(box, field.checker, mensajes);
}

QList<EntradaValidada::Adjunta> EntradaValidada::adjuntarA(const EnlaceCampos& enlace, Mensajes& mensajes)
{
    QList<Adjunta> adjuntas;
    const schema::Table& tabla = enlace.tabla();
    for (const QString& nombre : enlace.campos()) {
        const schema::Field* campo = tabla.field(nombre);
        if (!campo)
            continue;
        if (auto* caja = qobject_cast<QLineEdit*>(enlace.caja(nombre))) {
            adjuntas.append({campo, attach(caja, *campo, mensajes)});
        } else if (auto* lista = qobject_cast<QComboBox*>(enlace.caja(nombre)); lista && lista->lineEdit()) {
            auto* entrada = new EntradaValidada(lista->lineEdit(), schema::Checker::None, mensajes);
            entrada->m_lista = lista;
            lista->installEventFilter(entrada);
            adjuntas.append({campo, entrada});
        }
    }
    return adjuntas;
}

void EntradaValidada::setSeparatorProvider(SeparatorProvider provider)
{
    m_separator = provider ? std::move(provider) : SeparatorProvider(&validar::systemDecimalSeparator);
}

QLineEdit* EntradaValidada::box() const
{
    return m_box.data();
}

QChar EntradaValidada::decimalSeparator() const
{
    return m_separator();
}

void EntradaValidada::setActiveWhen(std::function<bool()> active)
{
    m_active = std::move(active);
}

void EntradaValidada::setEnterAsTab(bool on)
{
    m_enterAsTab = on;
}

void EntradaValidada::setOnEnter(std::function<void()> action)
{
    m_onEnter = std::move(action);
}

void EntradaValidada::setDatePicker(DatePicker picker)
{
    m_datePicker = std::move(picker);
}

void EntradaValidada::onTextChanged()
{
    // The box's own rewrite below changes the text again; checkUntilStable already ran the
    // checker over it.
    if (m_checking || (m_active && !m_active()))
        return;
    checkNow();
}

void EntradaValidada::checkNow()
{
    if (!m_box || m_checker == schema::Checker::None)
        return;
    validar::InputState in;
    in.text = m_box->text();
    in.cursor = m_box->cursorPosition();
    if (m_box->hasSelectedText()) {
        in.selectionStart = m_box->selectionStart();
        in.selectionLength = int(m_box->selectedText().size());
    } else {
        in.selectionStart = in.cursor;
    }
    const validar::SettledResult r = validar::checkUntilStable(m_checker, in, m_separator());
    m_dateComplete = r.complete;
    if (r.state == in && r.messages.isEmpty())
        return;

    m_checking = true;
    if (r.state.text != in.text)
        m_box->setText(r.state.text);
    m_checking = false;
    // The messages come before the selection, so the faulty part is what is selected when
    // the user is back in the box.
    for (const QString& message : r.messages)
        m_mensajes.aviso(message);
    if (!m_box)
        return;
    const validar::InputState& s = r.state;
    if (s.selectionLength > 0) {
        if (s.cursor == s.selectionStart)
            m_box->setSelection(s.selectionStart + s.selectionLength, -s.selectionLength);
        else
            m_box->setSelection(s.selectionStart, s.selectionLength);
    } else {
        m_box->setCursorPosition(s.cursor);
    }
}

bool EntradaValidada::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched || (watched != m_box && watched != m_lista))
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Coming back from a message box or another window is no new entry into the box:
        // the selection the checker set must survive it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            // Queued, so that the mouse press that gave the focus does not undo it.
            QMetaObject::invokeMethod(m_box.data(), &QLineEdit::selectAll, Qt::QueuedConnection);
        }
        break;
    }
    case QEvent::FocusOut:
        // A two-digit year is shown with the century it was read with, so the user sees
        // what is stored ("15/03/95" becomes "15/03/1995").
        if (m_checker == schema::Checker::Date && fechas::anioDeDosCifras(m_box->text())) {
            if (const std::optional<QDate> d = fechas::leer(m_box->text()))
                m_box->setText(d->toString(QStringLiteral("dd/MM/yyyy")));
        }
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            break;
        if (!m_enterAsTab && !m_onEnter)
            break;
        // The hook may close the page and with it this box (and this object).
        QPointer<QLineEdit> box = m_box;
        const bool asTab = m_enterAsTab;
        if (m_onEnter)
            m_onEnter();
        // An editable list moves on itself: its text box is only its inner part.
        QPointer<QObject> destino = watched;
        if (asTab && box && destino) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(destino.data(), &tab);
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_datePicker || mouse->button() != Qt::LeftButton)
            break;
        // Opened after the release so the modal calendar does not start under a held button.
        QPointer<QLineEdit> box = m_box;
        const QDate enCaja = fechas::leer(box->text()).value_or(QDate());
        const std::optional<QDate> picked = m_datePicker(box.data(), enCaja);
        if (box && picked && picked->isValid()) {
            box->setText(picked->toString(QStringLiteral("dd/MM/yyyy")));
            box->setCursorPosition(int(box->text().size()));
        }
        // The box still gets its release, so it does not take the button as held.
        if (!box)
            return true;
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
