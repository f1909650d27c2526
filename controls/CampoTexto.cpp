#include "controls/CampoTexto.h"

#include <QFontMetrics>
#include <QPainter>

namespace lumerix {

namespace {
constexpr int kMargen = 3;
const QColor kFondo(255, 255, 255);
const QColor kBorde(122, 122, 122);
const QColor kTexto(0, 0, 0);
} // namespace

CampoTexto::CampoTexto(QWidget* parent) : QWidget(parent) {}

void CampoTexto::setText(const QString& text)
{
    m_text = text;
    // A text cut by the narrow box can still be read whole.
    setToolTip(text);
    update();
}

void CampoTexto::paintField(QPainter& painter, const QRect& box, const QString& text, const QFont& font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(box, kFondo);
    painter.setPen(kBorde);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setFont(font);
    painter.setPen(kTexto);
    const QRect area = box.adjusted(kMargen, 1, -kMargen, -1);
    const QFontMetrics metrics(font, painter.device());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     metrics.elidedText(text, Qt::ElideRight, area.width()));
    painter.restore();
}

void CampoTexto::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintField(painter, rect(), m_text, font());
}

} // namespace lumerix
