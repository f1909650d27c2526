#pragma once

#include "data/logic/RecordView.h"
#include "data/logic/Schema.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

class QDate;
class QWidget;

// Ties input boxes to the fields of a record view: the boxes show the current row after every
// move, and boxes the user (or the program) changed are written into the row when the view is
// about to leave or save it, so that the view's own save carries them.
//
// Boxes: QLineEdit (texts, numbers, dates), QComboBox (an editable list gives its text, a fixed
// list its index), a checkable button (yes/no) and QTextEdit (memos, rich text or plain).
class EnlaceCampos : public QObject
{
    Q_OBJECT
public:
    EnlaceCampos(RecordView& vista, const schema::Table& tabla, QObject* parent = nullptr);

    RecordView& vista() const { return m_vista; }
    const schema::Table& tabla() const { return m_tabla; }

    // Binds a box to a field of the table; the box shows the current row at once.
    void agregar(const QString& campo, QWidget* caja);
    QWidget* caja(const QString& campo) const;
    QStringList campos() const;
    QList<QWidget*> cajas() const;

    // Shows the current row (empty boxes before the first or after the last row).
    void mostrar();
    // Writes the changed boxes into the current row; a value the view refuses stays in its box.
    Status escribir();
    // True when a box changed since the row was shown.
    bool hayCambios() const;
    // Read-only mode: no bound box, list or check box takes a change (they stay readable).
    void setSoloLectura(bool soloLectura);
    // The same for one control outside the bound boxes (the state area).
    static void bloquear(QWidget* control, bool soloLectura);

    // "DD/MM/YYYY" in boxes, "DD/MM/yy" in lists.
    static QString textoFecha(const QDate& fecha, bool corto);
    // A value as a box shows it.
    static QString textoValor(const QVariant& valor, schema::FieldKind kind, bool corto = false);
    // A number's text with the regional decimal separator in place of a point (boxes show
    // numbers so, read each time: the settings may change while the program runs), and back
    // with a point, as the evaluation reads it.
    static QString conSeparadorLocal(const QString& texto);
    static QString conPunto(const QString& texto);

signals:
    // After the boxes were filled from the row.
    void mostrado();

private:
    struct Enlace
    {
        QString campo;
        QPointer<QWidget> caja;
        schema::FieldKind kind = schema::FieldKind::Text;
        bool cambiado = false;
    };
    void mostrarEn(Enlace& e);
    QVariant leer(const Enlace& e) const;
    void marcar(QWidget* caja);

    RecordView& m_vista;
    const schema::Table& m_tabla;
    QList<Enlace> m_enlaces;
    bool m_cargando = false;
};
