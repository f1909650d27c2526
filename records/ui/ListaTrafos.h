#pragma once

#include <QListView>
#include <QPair>

class QLabel;

// The transformer list: one row per transformer, painted as a Lumerix Registro row (five
// white boxes and the state light) without creating a widget per row, so that thousands of
// rows scroll as fast as the few on screen. The caption line above it names the columns.
class ListaTrafos : public QListView
{
    Q_OBJECT
public:
    explicit ListaTrafos(QWidget* parent = nullptr);

    // The column header line, 135 characters: each heading starts above its column.
    static QString titulo();
    // Character offsets of the six headings in titulo().
    static QList<int> posicionesTitulo();
    // Left and right edges (twips, from the row's left) of the column each heading names.
    static QList<QPair<int, int>> columnasTwips();
    // Where heading i may start (pixels, from the row's left, end excluded) to stand above its
    // column: past the end of the column before it and before the next column begins.
    static QPair<int, int> lugarTitulo(int i, qreal dpi);

    // The caption line widget to place right above the list (owned by the caller's layout).
    QLabel* crearTitulo(QWidget* parent) const;
    // The font of the caption line at a resolution: the largest size at which every heading
    // starts above its own column (see lugarTitulo).
    static QFont fuenteTitulo(const QFont& base, qreal dpi);
    // Where each heading starts, in pixels from the row's left, in a font.
    static QList<int> inicioTitulos(const QFont& font);

    // The fixed row size at this widget's resolution.
    QSize tamanoFila() const;
    // The width the list needs to show a whole row beside its vertical scroll bar.
    int anchoNecesario() const;
};
