#pragma once

#include <QList>
#include <QWidget>

class QLineEdit;
class RecordView;

// The strip above a record tab naming the current transformer (code, area, type, designation,
// maker, serial number) with a light showing its state.
class CabeceraTrafo : public QWidget
{
    Q_OBJECT
public:
    // indiceLuz: the element of the window's light array that this strip carries.
    explicit CabeceraTrafo(int indiceLuz, QWidget* parent = nullptr);

    void setVista(RecordView* trafos);
    // Shows the transformer view's current row.
    void mostrar();
    QLineEdit* caja(int i) const { return m_cajas.value(i); }
    QList<QLineEdit*> cajas() const { return m_cajas; }
    QWidget* luz() const { return m_luz; }

    // A state light of the control library, named "SemaforoLuz1_" + index.
    static QWidget* crearLuz(int indice, QWidget* parent);
    // Sets a light made by crearLuz to a state code (0 off, 1 green, 2 yellow, 3 red).
    static void setEstadoLuz(QWidget* luz, int estado);
    static int estadoLuz(QWidget* luz);
    // Puts a page's light at the page's top right corner, above its other children.
    static void colocarEnEsquina(QWidget* luz);

private:
    RecordView* m_vista = nullptr;
    QList<QLineEdit*> m_cajas;
    QWidget* m_luz = nullptr;
};
