#include "records/ui/EnlaceCampos.h"

#include "data/logic/Fechas.h"
#include "records/logic/Logging.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTextEdit>

namespace {

// A number as typed in a box: with the regional decimal separator, or with a point. Group
// separators are refused, so that "1,500" in a comma locale is one and a half, never 1500.
double leerNumero(const QString& texto, bool* ok)
{
    QLocale local;
    local.setNumberOptions(QLocale::RejectGroupSeparator);
    double d = local.toDouble(texto, ok);
    if (*ok)
        return d;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    return c.toDouble(texto, ok);
}

} // namespace

EnlaceCampos::EnlaceCampos(RecordView& vista, const schema::Table& tabla, QObject* parent)
    : QObject(parent), m_vista(vista), m_tabla(tabla)
{
    connect(&m_vista, &RecordView::repositioned, this, &EnlaceCampos::mostrar);
    connect(&m_vista, &RecordView::validate, this, [this](RecordView::Action accion) {
        // A deletion throws the row away: nothing typed into it is worth writing. A value the
        // view refuses stays in its box, and the view's own save reports the row.
        if (accion != RecordView::Action::Delete)
            ignorarFallo(escribir(), logRecords(), "Escribir las cajas en la fila");
    });
}

void EnlaceCampos::agregar(const QString& campo, QWidget* caja)
{
    Enlace e;
    const schema::Field* f = m_tabla.field(campo);
    e.campo = f ? f->name : campo;
    e.caja = caja;
    e.kind = f ? f->kind : schema::FieldKind::Text;
    m_enlaces.append(e);

    if (auto* t = qobject_cast<QLineEdit*>(caja))
        connect(t, &QLineEdit::textChanged, this, [this, caja] { marcar(caja); });
    else if (auto* c = qobject_cast<QComboBox*>(caja)) {
        connect(c, &QComboBox::currentIndexChanged, this, [this, caja] { marcar(caja); });
        connect(c, &QComboBox::editTextChanged, this, [this, caja] { marcar(caja); });
    } else if (auto* b = qobject_cast<QAbstractButton*>(caja))
        connect(b, &QAbstractButton::toggled, this, [this, caja] { marcar(caja); });
    else if (auto* m = qobject_cast<QTextEdit*>(caja))
        connect(m, &QTextEdit::textChanged, this, [this, caja] { marcar(caja); });

    mostrarEn(m_enlaces.last());
}

QWidget* EnlaceCampos::caja(const QString& campo) const
{
    for (const Enlace& e : m_enlaces)
        if (schema::sameName(e.campo, campo))
            return e.caja;
    return nullptr;
}

QStringList EnlaceCampos::campos() const
{
    QStringList out;
    for (const Enlace& e : m_enlaces)
        out << e.campo;
    return out;
}

QList<QWidget*> EnlaceCampos::cajas() const
{
    QList<QWidget*> out;
    for (const Enlace& e : m_enlaces)
        out << e.caja.data();
    return out;
}

void EnlaceCampos::marcar(QWidget* caja)
{
    if (m_cargando)
        return;
    for (Enlace& e : m_enlaces)
        if (e.caja == caja)
            e.cambiado = true;
}

bool EnlaceCampos::hayCambios() const
{
    for (const Enlace& e : m_enlaces)
        if (e.cambiado)
            return true;
    return false;
}

namespace {

// Eats what would change a locked control: clicks, keys and the wheel.
class Bloqueo : public QObject
{
public:
    explicit Bloqueo(QObject* parent) : QObject(parent) {}
    bool activo = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (activo) {
            switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Wheel:
                return true;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void EnlaceCampos::setSoloLectura(bool soloLectura)
{
    for (QWidget* c : cajas())
        bloquear(c, soloLectura);
}

void EnlaceCampos::bloquear(QWidget* control, bool soloLectura)
{
    if (!control)
        return;
    // What the control was before the first lock is kept, so unlocking gives it back.
    static const char* const kPropio = "quorvela_soloLecturaPropio";
    if (auto* t = qobject_cast<QLineEdit*>(control)) {
        if (!t->property(kPropio).isValid())
            t->setProperty(kPropio, t->isReadOnly());
        t->setReadOnly(soloLectura || t->property(kPropio).toBool());
        return;
    }
    if (auto* m = qobject_cast<QTextEdit*>(control)) {
        if (!m->property(kPropio).isValid())
            m->setProperty(kPropio, m->isReadOnly());
        m->setReadOnly(soloLectura || m->property(kPropio).toBool());
        return;
    }
    // Lists, check boxes and buttons keep their look, so the values stay easy to read, but
    // neither clicks nor keys nor the wheel change them.
    // Bloqueo has no meta-object of its own: findChild<Bloqueo*> would take any child (a list's
    // model) for one.
    Bloqueo* bloqueo = nullptr;
    for (QObject* hijo : control->children())
        if ((bloqueo = dynamic_cast<Bloqueo*>(hijo)))
            break;
    if (!bloqueo) {
        bloqueo = new Bloqueo(control);
        control->installEventFilter(bloqueo);
        if (auto* lista = qobject_cast<QComboBox*>(control); lista && lista->lineEdit())
            lista->lineEdit()->installEventFilter(bloqueo);
    }
    bloqueo->activo = soloLectura;
    if (auto* lista = qobject_cast<QComboBox*>(control); lista && lista->lineEdit())
        lista->lineEdit()->setReadOnly(soloLectura);
}

QString EnlaceCampos::textoFecha(const QDate& fecha, bool corto)
{
    if (!fecha.isValid())
        return QString();
    return fecha.toString(corto ? QStringLiteral("dd/MM/yy") : QStringLiteral("dd/MM/yyyy"));
}

QString EnlaceCampos::textoValor(const QVariant& valor, schema::FieldKind kind, bool corto)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    switch (kind) {
    case schema::FieldKind::Date:
        return textoFecha(valor.toDate(), corto);
    case schema::FieldKind::Number:
        // Plain decimal text without group separators.
        return conSeparadorLocal(QString::number(valor.toDouble(), 'g', 15));
    case schema::FieldKind::Integer:
        return QString::number(valor.toLongLong());
    default:
        return valor.toString();
    }
}

QString EnlaceCampos::conSeparadorLocal(const QString& texto)
{
    const QString separador = QLocale().decimalPoint();
    if (separador == QLatin1String("."))
        return texto;
    QString t = texto;
    return t.replace(QLatin1Char('.'), separador);
}

QString EnlaceCampos::conPunto(const QString& texto)
{
    const QString separador = QLocale().decimalPoint();
    if (separador == QLatin1String("."))
        return texto;
    QString t = texto;
    return t.replace(separador, QStringLiteral("."));
}

void EnlaceCampos::mostrar()
{
    for (Enlace& e : m_enlaces)
        mostrarEn(e);
    emit mostrado();
}

void EnlaceCampos::mostrarEn(Enlace& e)
{
    if (!e.caja)
        return;
    const bool enFila = m_vista.isOpen() && !m_vista.bof() && !m_vista.eof() && !m_vista.isDeleted();
    const QVariant v = enFila ? m_vista.value(e.campo) : QVariant();
    m_cargando = true;
    if (auto* t = qobject_cast<QLineEdit*>(e.caja)) {
        t->setText(textoValor(v, e.kind));
        t->setCursorPosition(0);
    } else if (auto* c = qobject_cast<QComboBox*>(e.caja)) {
        if (c->isEditable()) {
            const QString texto = textoValor(v, e.kind);
            // A list that offers a single blank shows it for an empty field.
            const int blanco = c->findText(QStringLiteral(" "));
            c->setEditText(texto.isEmpty() && blanco >= 0 ? QStringLiteral(" ") : texto);
        } else {
            c->setCurrentIndex(v.isValid() ? v.toInt() : (c->count() > 0 ? 0 : -1));
        }
    } else if (auto* b = qobject_cast<QAbstractButton*>(e.caja)) {
        b->setChecked(v.toBool());
    } else if (auto* m = qobject_cast<QTextEdit*>(e.caja)) {
        const QString texto = v.toString();
        // Each record's notes start from the plain format: a colour or weight chosen in the
        // previous record must not carry over into what is typed here.
        m->clear();
        m->setCurrentCharFormat(QTextCharFormat());
        if (Qt::mightBeRichText(texto))
            m->setHtml(texto);
        else
            m->setPlainText(texto);
        if (!Qt::mightBeRichText(texto))
            m->setCurrentCharFormat(QTextCharFormat());
    }
    e.cambiado = false;
    m_cargando = false;
}

QVariant EnlaceCampos::leer(const Enlace& e) const
{
    if (auto* t = qobject_cast<QLineEdit*>(e.caja)) {
        const QString texto = t->text().trimmed();
        if (texto.isEmpty())
            return QVariant();
        if (e.kind == schema::FieldKind::Date) {
            if (const std::optional<QDate> d = fechas::leer(texto))
                return *d;
        }
        if (e.kind == schema::FieldKind::Number) {
            bool ok = false;
            const double d = leerNumero(texto, &ok);
            if (ok)
                return d;
        }
        return t->text();
    }
    if (auto* c = qobject_cast<QComboBox*>(e.caja)) {
        if (!c->isEditable())
            return c->currentIndex() < 0 ? QVariant() : QVariant(c->currentIndex());
        const QString texto = c->currentText();
        return texto.isEmpty() ? QVariant() : QVariant(texto);
    }
    if (auto* b = qobject_cast<QAbstractButton*>(e.caja))
        return b->isChecked();
    if (auto* m = qobject_cast<QTextEdit*>(e.caja))
        return m->toPlainText().isEmpty() ? QVariant() : QVariant(m->toHtml());
    return QVariant();
}

Status EnlaceCampos::escribir()
{
    if (!m_vista.isOpen() || m_vista.isReadOnly())
        return Status();
    const bool enFila = m_vista.editMode() == RecordView::EditMode::Add ||
                        (!m_vista.bof() && !m_vista.eof() && !m_vista.isDeleted());
    if (!enFila)
        return Status();
    Status resultado = Status();
    for (Enlace& e : m_enlaces) {
        if (!e.cambiado || !e.caja)
            continue;
        const Status st = m_vista.setValue(e.campo, leer(e));
        if (st.ok())
            e.cambiado = false;
        else if (resultado.ok())
            resultado = st;
    }
    return resultado;
}
