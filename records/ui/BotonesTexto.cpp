#include "records/ui/BotonesTexto.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

std::optional<QFont> fuenteDelSistema(const QFont& inicial, QWidget* padre)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, inicial, padre, QStringLiteral("Fuente"));
    return ok ? std::optional<QFont>(f) : std::nullopt;
}

std::optional<QColor> colorDelSistema(const QColor& inicial, QWidget* padre)
{
    const QColor c = QColorDialog::getColor(inicial, padre, QStringLiteral("Color"));
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}

// A small swatch of letters in colours, the usual face of a text colour button.
QIcon iconoColor()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter pintor(&p);
    pintor.fillRect(1, 12, 14, 3, QColor(0xc0, 0x00, 0x00));
    QFont f = pintor.font();
    f.setBold(true);
    f.setPixelSize(11);
    pintor.setFont(f);
    pintor.drawText(QRect(0, 0, 16, 12), Qt::AlignCenter, QStringLiteral("A"));
    return QIcon(p);
}

} // namespace

BotonesTexto::BotonesTexto(QTextEdit* caja, QWidget* parent)
    : QWidget(parent), m_caja(caja), m_dialogoFuente(fuenteDelSistema), m_dialogoColor(colorDelSistema)
{
    setObjectName(QStringLiteral("BotonesTexto"));
    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(2);
    struct Def
    {
        const char* texto;
        const char* tip;
        const char* nombre;
    };
    const Def defs[] = {{"N", "Negrita", "cmdNegrita"},
                        {"C", "Cursiva", "cmdCursiva"},
                        {"S", "Subrayar", "cmdSubrayar"},
                        {"F", "Fuente", "cmdFuente"},
                        {"", "Color", "cmdColor"}};
    for (const Def& d : defs) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(d.texto));
        b->setToolTip(QString::fromUtf8(d.tip));
        b->setObjectName(QString::fromLatin1(d.nombre));
        b->setFixedSize(24, 22);
        // The box keeps its selection and focus while the button is clicked.
        b->setFocusPolicy(Qt::NoFocus);
        columna->addWidget(b);
        m_botones << b;
    }
    QFont f = m_botones[Negrita]->font();
    f.setBold(true);
    m_botones[Negrita]->setFont(f);
    f = m_botones[Cursiva]->font();
    f.setItalic(true);
    m_botones[Cursiva]->setFont(f);
    f = m_botones[Subrayar]->font();
    f.setUnderline(true);
    m_botones[Subrayar]->setFont(f);
    m_botones[Color]->setIcon(iconoColor());
    columna->addStretch(1);

    connect(m_botones[Negrita], &QToolButton::clicked, this, &BotonesTexto::alternarNegrita);
    connect(m_botones[Cursiva], &QToolButton::clicked, this, &BotonesTexto::alternarCursiva);
    connect(m_botones[Subrayar], &QToolButton::clicked, this, &BotonesTexto::alternarSubrayado);
    connect(m_botones[Fuente], &QToolButton::clicked, this, &BotonesTexto::elegirFuente);
    connect(m_botones[Color], &QToolButton::clicked, this, &BotonesTexto::elegirColor);
}

QTextEdit* BotonesTexto::caja() const
{
    return m_caja;
}

void BotonesTexto::setSoloLectura(bool soloLectura)
{
    if (m_caja)
        m_caja->setReadOnly(soloLectura);
    setVisible(!soloLectura);
}

QList<QTextCharFormat> BotonesTexto::formatosSeleccion() const
{
    QList<QTextCharFormat> out;
    if (!m_caja)
        return out;
    const QTextCursor cursor = m_caja->textCursor();
    if (!cursor.hasSelection()) {
        out << m_caja->currentCharFormat();
        return out;
    }
    const int inicio = cursor.selectionStart();
    const int fin = cursor.selectionEnd();
    for (QTextBlock b = m_caja->document()->findBlock(inicio); b.isValid() && b.position() < fin;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragmento = it.fragment();
            if (fragmento.position() < fin && fragmento.position() + fragmento.length() > inicio)
                out << fragmento.charFormat();
        }
    }
    // A selection of block ends only (empty lines) has no fragment: it reads as the typing format.
    if (out.isEmpty())
        out << cursor.charFormat();
    return out;
}

void BotonesTexto::alternar(const std::function<bool(const QTextCharFormat&)>& tiene,
                            const std::function<void(QTextCharFormat&, bool)>& poner)
{
    bool todos = true;
    for (const QTextCharFormat& f : formatosSeleccion())
        todos = todos && tiene(f);
    QTextCharFormat cambio;
    poner(cambio, !todos);
    aplicar(cambio);
}

void BotonesTexto::aplicar(const QTextCharFormat& formato)
{
    if (!m_caja)
        return;
    m_caja->mergeCurrentCharFormat(formato);
    m_caja->setFocus();
}

void BotonesTexto::alternarNegrita()
{
    alternar([this](const QTextCharFormat& f) { return fuenteDe(f).bold(); },
             [](QTextCharFormat& f, bool si) { f.setFontWeight(si ? QFont::Bold : QFont::Normal); });
}

void BotonesTexto::alternarCursiva()
{
    alternar([this](const QTextCharFormat& f) { return fuenteDe(f).italic(); },
             [](QTextCharFormat& f, bool si) { f.setFontItalic(si); });
}

void BotonesTexto::alternarSubrayado()
{
    alternar([](const QTextCharFormat& f) { return f.fontUnderline(); },
             [](QTextCharFormat& f, bool si) { f.setFontUnderline(si); });
}

QFont BotonesTexto::fuenteDe(const QTextCharFormat& formato) const
{
    const QFont base = m_caja ? m_caja->document()->defaultFont() : QFont();
    return formato.font().resolve(base);
}

QFont BotonesTexto::fuenteInicial() const
{
    const QList<QTextCharFormat> formatos = formatosSeleccion();
    QFont inicial(QStringLiteral("Arial"), 10);
    inicial.setBold(false);
    inicial.setItalic(false);
    if (formatos.isEmpty())
        return inicial;
    const QFont primera = fuenteDe(formatos.first());
    bool mismoNombre = true;
    bool mismoTamano = true;
    bool mismaNegrita = true;
    bool mismaCursiva = true;
    for (const QTextCharFormat& f : formatos) {
        const QFont otra = fuenteDe(f);
        mismoNombre = mismoNombre && otra.family() == primera.family();
        mismoTamano = mismoTamano && qFuzzyCompare(otra.pointSizeF(), primera.pointSizeF());
        mismaNegrita = mismaNegrita && otra.bold() == primera.bold();
        mismaCursiva = mismaCursiva && otra.italic() == primera.italic();
    }
    if (mismoNombre)
        inicial.setFamily(primera.family());
    if (mismoTamano && primera.pointSizeF() > 0)
        inicial.setPointSizeF(primera.pointSizeF());
    if (mismaNegrita)
        inicial.setBold(primera.bold());
    if (mismaCursiva)
        inicial.setItalic(primera.italic());
    return inicial;
}

QColor BotonesTexto::colorInicial() const
{
    const QColor propio = m_caja ? m_caja->palette().color(QPalette::Text) : QColor(Qt::black);
    std::optional<QColor> comun;
    for (const QTextCharFormat& f : formatosSeleccion()) {
        const QColor c = f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : propio;
        if (comun && *comun != c)
            return QColor(Qt::black);
        comun = c;
    }
    return comun.value_or(propio);
}

void BotonesTexto::elegirFuente()
{
    if (!m_caja)
        return;
    const std::optional<QFont> elegida =
        m_dialogoFuente ? m_dialogoFuente(fuenteInicial(), this) : std::nullopt;
    if (elegida) {
        QTextCharFormat cambio;
        cambio.setFontFamilies(QStringList{elegida->family()});
        if (elegida->pointSizeF() > 0)
            cambio.setFontPointSize(elegida->pointSizeF());
        cambio.setFontWeight(elegida->bold() ? QFont::Bold : QFont::Normal);
        cambio.setFontItalic(elegida->italic());
        aplicar(cambio);
    }
    m_caja->setFocus();
}

void BotonesTexto::elegirColor()
{
    if (!m_caja)
        return;
    const std::optional<QColor> elegido =
        m_dialogoColor ? m_dialogoColor(colorInicial(), this) : std::nullopt;
    if (elegido && elegido->isValid()) {
        QTextCharFormat cambio;
        cambio.setForeground(QBrush(*elegido));
        aplicar(cambio);
    }
    m_caja->setFocus();
}
