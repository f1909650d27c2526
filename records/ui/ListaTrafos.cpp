#include "records/ui/ListaTrafos.h"

#include "controls/Palette.h"
#include "controls/Registro.h"
#include "records/logic/ModeloPrioridades.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Row width of a Registro, twips: the end of the last column.
constexpr int kAnchoFilaTwips = 8025;

// Paints each item as a Registro row; the selected row stands out by its band colour, as the
// white boxes always stay white.
class DelegadoRegistro : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        lumerix::Registro::RowValues fila;
        fila.codigo = index.data(ModeloPrioridades::RolCodigo).toString();
        fila.area = index.data(ModeloPrioridades::RolArea).toString();
        fila.marca = index.data(ModeloPrioridades::RolMarca).toString();
        fila.nroserie = index.data(ModeloPrioridades::RolNroSerie).toString();
        fila.denominacion = index.data(ModeloPrioridades::RolDenominacion).toString();
        fila.estado = index.data(ModeloPrioridades::RolEstado).toInt();

        const bool seleccionada = option.state & QStyle::State_Selected;
        const QColor fondo =
            seleccionada ? option.palette.color(QPalette::Highlight) : option.palette.color(QPalette::Window);
        lumerix::Registro::paintRow(*painter, option.rect, fila, option.font, fondo, dpi(option));
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return lumerix::Registro::rowSizeAt(dpi(option));
    }

private:
    static qreal dpi(const QStyleOptionViewItem& option)
    {
        return option.widget ? lumerix::logicalDpi(option.widget) : 96.0;
    }
};

} // namespace

ListaTrafos::ListaTrafos(QWidget* parent) : QListView(parent)
{
    setObjectName(QStringLiteral("DataRepeater1"));
    setItemDelegate(new DelegadoRegistro(this));
    // Every row has the Registro's fixed size: the view lays out 10,000 rows by arithmetic
    // and paints only those in sight.
    setUniformItemSizes(true);
    setLayoutMode(QListView::SinglePass);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSpacing(0);
    verticalScrollBar()->setSingleStep(tamanoFila().height());
}

QString ListaTrafos::titulo()
{
    return QStringLiteral(" ") + QString::fromUtf8("Código") + QString(8, QLatin1Char(' ')) +
           QStringLiteral("Area") + QString(23, QLatin1Char(' ')) + QStringLiteral("Marca") +
           QString(23, QLatin1Char(' ')) + QStringLiteral("Nro de Serie") + QString(20, QLatin1Char(' ')) +
           QString::fromUtf8("Denominación") + QString(15, QLatin1Char(' ')) + QStringLiteral("Estado");
}

QList<int> ListaTrafos::posicionesTitulo()
{
    QList<int> posiciones;
    const QString t = titulo();
    int desde = 0;
    for (const char* h : {"Código", "Area", "Marca", "Nro de Serie", "Denominación", "Estado"}) {
        desde = t.indexOf(QString::fromUtf8(h), desde);
        posiciones << desde;
    }
    return posiciones;
}

QList<QPair<int, int>> ListaTrafos::columnasTwips()
{
    // Code, area, make, serial number and designation boxes, then the light.
    return {{75, 570}, {645, 1620}, {1680, 3495}, {3555, 5010}, {5085, 7020}, {7335, 7755}};
}

QPair<int, int> ListaTrafos::lugarTitulo(int i, qreal dpi)
{
    const QList<QPair<int, int>> c = columnasTwips();
    const int desde = i == 0 ? 0 : c[i - 1].second;
    const int hasta = i + 1 < c.size() ? c[i + 1].first : kAnchoFilaTwips;
    return {lumerix::twipsToPixels(desde, dpi), lumerix::twipsToPixels(hasta, dpi)};
}

QList<int> ListaTrafos::inicioTitulos(const QFont& font)
{
    const QFontMetrics fm(font);
    const QString t = titulo();
    QList<int> inicios;
    for (const int p : posicionesTitulo())
        inicios << fm.horizontalAdvance(t.left(p));
    return inicios;
}

QFont ListaTrafos::fuenteTitulo(const QFont& base, qreal dpi)
{
    auto alineada = [&](const QFont& f) {
        const QList<int> inicios = inicioTitulos(f);
        if (inicios.size() != columnasTwips().size())
            return false;
        for (int i = 0; i < inicios.size(); ++i) {
            const QPair<int, int> lugar = lugarTitulo(i, dpi);
            if (inicios[i] < lugar.first || inicios[i] >= lugar.second)
                return false;
        }
        // The line may run into the list's frame, not past it.
        return QFontMetrics(f).horizontalAdvance(titulo()) <=
               lumerix::twipsToPixels(kAnchoFilaTwips, dpi) + 8;
    };
    // Half-pixel steps from large to small; the first size that fits is the most readable one.
    QFont f = base;
    for (int mitades = 40; mitades >= 12; --mitades) {
        f.setPointSizeF(mitades / 2.0 * 72.0 / dpi);
        if (alineada(f))
            return f;
    }
    // No size fits (an unusual font): the base font keeps the line readable at least.
    return base;
}

QLabel* ListaTrafos::crearTitulo(QWidget* parent) const
{
    auto* label = new QLabel(titulo(), parent);
    label->setObjectName(QStringLiteral("TituloLista"));
    label->setFont(fuenteTitulo(font(), lumerix::logicalDpi(this)));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    // The headings start where the rows start: inside the list's frame.
    label->setContentsMargins(frameWidth(), 0, 0, 0);
    label->setFixedWidth(anchoNecesario());
    return label;
}

QSize ListaTrafos::tamanoFila() const
{
    return lumerix::Registro::rowSizeAt(lumerix::logicalDpi(this));
}

int ListaTrafos::anchoNecesario() const
{
    return tamanoFila().width() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
}
