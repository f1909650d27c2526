#pragma once

#include "controls/LumerixExport.h"

#include <QColor>
#include <QString>
#include <QWidget>

class QFont;

namespace lumerix {

class CampoTexto;
class SemaforoLuz;

// One row of the transformer list: code, area, make, serial number, designation and the
// state light. Every property reads and writes its child directly; the row keeps nothing else.
class LUMERIX_EXPORT Registro : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Codigo READ codigo WRITE setCodigo NOTIFY codigoChanged)
    Q_PROPERTY(QString Area READ area WRITE setArea NOTIFY areaChanged)
    Q_PROPERTY(QString Marca READ marca WRITE setMarca NOTIFY marcaChanged)
    Q_PROPERTY(QString Nroserie READ nroserie WRITE setNroserie NOTIFY nroserieChanged)
    Q_PROPERTY(QString Denominacion READ denominacion WRITE setDenominacion NOTIFY denominacionChanged)
    Q_PROPERTY(int Estado READ estado WRITE setEstado NOTIFY estadoChanged)

public:
    // What one row shows, for painting rows without a widget per row.
    struct RowValues
    {
        QString codigo;
        QString area;
        QString marca;
        QString nroserie;
        QString denominacion;
        int estado = 0;
    };

    explicit Registro(QWidget* parent = nullptr);

    QString codigo() const;
    void setCodigo(const QString& value);
    QString area() const;
    void setArea(const QString& value);
    QString marca() const;
    void setMarca(const QString& value);
    QString nroserie() const;
    void setNroserie(const QString& value);
    QString denominacion() const;
    void setDenominacion(const QString& value);
    int estado() const;
    void setEstado(int value);

    RowValues values() const;

    // The fixed row size, 8025 x 390 twips, at a resolution.
    static QSize rowSizeAt(qreal dpi);
    // Draws a row with its top left corner at rect's, clipped to rect. The widget's children
    // draw with the same pieces at the same places, so both look the same.
    static void paintRow(QPainter& painter, const QRect& rect, const RowValues& values, const QFont& font,
                         const QColor& background, qreal dpi);

    QSize sizeHint() const override;

signals:
    void codigoChanged(const QString& value);
    void areaChanged(const QString& value);
    void marcaChanged(const QString& value);
    void nroserieChanged(const QString& value);
    void denominacionChanged(const QString& value);
    void estadoChanged(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setField(int index, const QString& value);
    void applyLayout();

    CampoTexto* m_texts[5];
    SemaforoLuz* m_luz;
};

} // namespace lumerix
