#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QToolButton;
class RecordView;

// The navigation bar of a record view: first, previous, next and last buttons around a caption
// that reads the bar's prefix at rest and prefix + ":" + (position + 1) + "-" + row count after
// each move.
class BarraNavegacion : public QWidget
{
    Q_OBJECT
public:
    enum Boton
    {
        Primero,
        Anterior,
        Siguiente,
        Ultimo
    };
    Q_ENUM(Boton)

    BarraNavegacion(const QString& prefijo, QWidget* parent = nullptr);

    // The view moved by the buttons; its moves update the caption.
    void setVista(RecordView* vista);
    RecordView* vista() const { return m_vista; }

    QString caption() const;
    void actualizarCaption();
    QToolButton* boton(Boton b) const { return m_botones[b]; }

signals:
    // A button was pressed; slots run before the view moves, so a parked view can be readied.
    void pulsado(BarraNavegacion::Boton boton);

private:
    void mover(Boton b);

    QString m_prefijo;
    RecordView* m_vista = nullptr;
    QLabel* m_caption = nullptr;
    QToolButton* m_botones[4] = {};
};
