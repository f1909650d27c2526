#pragma once

#include <QWidget>

class LienzoGrafico;
class QAction;
class QMenu;

// "Grafo": the graph last clicked, enlarged to the window. It is drawn each time the window
// is activated, never on a mere resize; a click on it opens "Copiar", "Imprimir", "Cerrar",
// "Salir".
class Grafo : public QWidget
{
    Q_OBJECT
public:
    enum Accion
    {
        Copiar,
        Imprimir,
        Cerrar,
        Salir
    };

    explicit Grafo(QWidget* parent = nullptr);

    LienzoGrafico* lienzo() const { return m_lienzo; }
    QMenu* menu() const { return m_menu; }
    QAction* accion(Accion a) const;
    // How many times the window has drawn its graph.
    int dibujos() const { return m_dibujos; }

signals:
    void activada();
    void copiarPedido();
    void imprimirPedido();

protected:
    bool event(QEvent* evento) override;

private:
    LienzoGrafico* m_lienzo = nullptr;
    QMenu* m_menu = nullptr;
    QList<QAction*> m_acciones;
    int m_dibujos = 0;
};
