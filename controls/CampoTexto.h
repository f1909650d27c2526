#pragma once

#include <QString>
#include <QWidget>

class QFont;

namespace lumerix {

// Read-only text box of a row: white, one line, cut with an ellipsis when too long. It paints
// through paintField so that a list delegate draws exactly the same box.
class CampoTexto : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit CampoTexto(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    static void paintField(QPainter& painter, const QRect& box, const QString& text, const QFont& font);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace lumerix
