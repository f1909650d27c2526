#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QTextCharFormat;
class QTextEdit;
class QToolButton;

// The five formatting buttons that stand beside a rich-text box: bold, italic, underline,
// font and colour, each acting on the box's selection and handing the focus back to the box.
class BotonesTexto : public QWidget
{
    Q_OBJECT
public:
    enum Boton
    {
        Negrita,
        Cursiva,
        Subrayar,
        Fuente,
        Color
    };
    // The font and colour choices go through these, so that tests answer them without a
    // window; an empty result means the user cancelled.
    using DialogoFuente = std::function<std::optional<QFont>(const QFont& inicial, QWidget* padre)>;
    using DialogoColor = std::function<std::optional<QColor>(const QColor& inicial, QWidget* padre)>;

    explicit BotonesTexto(QTextEdit* caja, QWidget* parent = nullptr);

    QTextEdit* caja() const;
    QToolButton* boton(Boton b) const { return m_botones.value(b); }
    void setDialogoFuente(DialogoFuente dialogo) { m_dialogoFuente = std::move(dialogo); }
    void setDialogoColor(DialogoColor dialogo) { m_dialogoColor = std::move(dialogo); }

    // Read-only mode locks the box and hides the buttons.
    void setSoloLectura(bool soloLectura);

    void alternarNegrita();
    void alternarCursiva();
    void alternarSubrayado();
    void elegirFuente();
    void elegirColor();

    // What the font dialog starts from: the selection's font, with "Arial", 10, not bold and
    // not italic for each value the selection mixes.
    QFont fuenteInicial() const;
    // What the colour dialog starts from: the selection's colour (black when it mixes colours).
    QColor colorInicial() const;

private:
    // The character formats the selection spans; the typing format when nothing is selected.
    QList<QTextCharFormat> formatosSeleccion() const;
    // Sets a property on the selection when any part lacks it, clears it when all has it.
    void alternar(const std::function<bool(const QTextCharFormat&)>& tiene,
                  const std::function<void(QTextCharFormat&, bool)>& poner);
    void aplicar(const QTextCharFormat& formato);
    // A font with every value the box shows, so that unset values read as the box's own.
    QFont fuenteDe(const QTextCharFormat& formato) const;

    QPointer<QTextEdit> m_caja;
    QList<QToolButton*> m_botones;
    DialogoFuente m_dialogoFuente;
    DialogoColor m_dialogoColor;
};
