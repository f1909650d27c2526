#pragma once

#include "data/logic/Schema.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class EnlaceCampos;
class Mensajes;
class QLineEdit;

// The keyboard and validation behaviour of one bound input box of the main window: the box's
// checker runs after every change and its repair is written back, the whole text is selected
// when the box gets the focus, Enter moves on like Tab, and a click into a date box opens the
// calendar. It lives as long as the box (the box is its parent).
class EntradaValidada : public QObject
{
    Q_OBJECT
public:
    // The decimal separator to check with, read on every check.
    using SeparatorProvider = std::function<QChar()>;
    // Lets the user pick a day (the calendar window), starting from the day the box holds
    // (invalid when it holds none); nothing when no day was picked.
    using DatePicker = std::function<std::optional<QDate>(QWidget* parent, const QDate& enCaja)>;

    EntradaValidada(QLineEdit* box, schema::Checker checker, Mensajes& mensajes);

    // Fits box with the checker that the schema gives field.
    static EntradaValidada* attach(QLineEdit* box, const schema::Field& field, Mensajes& mensajes);
    // Fits every line box bound by enlace (the checker its field has, if any) and the text of
    // every editable list, so that all of them select their text on entry and take Enter as Tab.
    struct Adjunta
    {
        const schema::Field* campo;
        EntradaValidada* entrada;
    };
    static QList<Adjunta> adjuntarA(const EnlaceCampos& enlace, Mensajes& mensajes);

    // Defaults to the system locale's separator (validar::systemDecimalSeparator).
    void setSeparatorProvider(SeparatorProvider provider);
    QChar decimalSeparator() const;

    // Checks run only while this says so (the field boxes skip them while the record view
    // repositions, so loading a record shows no messages). Default: always.
    void setActiveWhen(std::function<bool()> active);

    // Enter moves the focus to the next box like Tab (the field boxes); default on.
    void setEnterAsTab(bool on);
    // Extra work for Enter in this box, done before the focus moves (the Acetileno and
    // TOTAL PCB boxes bring up another test page).
    void setOnEnter(std::function<void()> action);

    // A click into the box opens picker on the box's day; a picked day becomes the box's text
    // "dd/MM/yyyy".
    void setDatePicker(DatePicker picker);

    schema::Checker checker() const { return m_checker; }
    QLineEdit* box() const;
    // Whether the last check found a whole valid date (date boxes only).
    bool dateComplete() const { return m_dateComplete; }

    // Runs the checker on the box's current text now.
    void checkNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTextChanged();

    QPointer<QLineEdit> m_box;
    // The editable list whose text m_box is: it receives the focus and the keys itself.
    QPointer<QWidget> m_lista;
    schema::Checker m_checker;
    Mensajes& m_mensajes;
    SeparatorProvider m_separator;
    std::function<bool()> m_active;
    std::function<void()> m_onEnter;
    DatePicker m_datePicker;
    bool m_enterAsTab = true;
    bool m_checking = false;
    bool m_dateComplete = false;
};
