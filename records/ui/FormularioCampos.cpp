#include "records/ui/FormularioCampos.h"

#include "data/logic/Campos.h"
#include "records/ui/BotonesTexto.h"
#include "records/ui/EnlaceCampos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using schema::FieldKind;

// Element numbers of the test boxes read by the evaluation and the gas-method windows.
const QHash<QString, int>& indicesEnsayos()
{
    static const QHash<QString, int> indices = [] {
        QHash<QString, int> h;
        using namespace campo::ensayos;
        const QList<std::pair<QString, int>> pares = {{HumSol, 41},
                                                      {TangDelta, 43},
                                                      {Visual, 62},
                                                      {SP_GR, 63},
                                                      {Color, 64},
                                                      {Diel, 65},
                                                      {TIF, 66},
                                                      {Acidez, 67},
                                                      {Inhibidor, 68},
                                                      {Grado, 71},
                                                      {Factor, 72},
                                                      {PesoSeco, 73},
                                                      {Saturacion, 74},
                                                      {KFTMC_PPM, 75},
                                                      {KFTMC_TEMP, 76},
                                                      {F5H2F, 77},
                                                      {F2FOL, 78},
                                                      {F2FAL, 79},
                                                      {F2ACF, 80},
                                                      {F5M2F, 81},
                                                      {Total, 82},
                                                      {Hidrogeno, 83},
                                                      {Oxigeno, 84},
                                                      {Nitrogeno, 85},
                                                      {Metano, 86},
                                                      {Monoxido, 87},
                                                      {Dioxido, 88},
                                                      {Etano, 89},
                                                      {Etileno, 90},
                                                      {Acetileno, 91},
                                                      {TotalCombustible, 92},
                                                      {TotalGas, 93},
                                                      {Aluminio, 94},
                                                      {Hierro, 95},
                                                      {Cobre, 96},
                                                      {PCB_1242, 97},
                                                      {PCB_1254, 98},
                                                      {PCB_1260, 99},
                                                      {OTROS, 100},
                                                      {TOTAL_PCB, 101},
                                                      {Fecha, 121}};
        for (const auto& [nombre, indice] : pares)
            h.insert(nombre, indice);
        return h;
    }();
    return indices;
}

int indiceEn(const QStringList& nombres, const QString& nombre)
{
    for (int i = 0; i < nombres.size(); ++i)
        if (nombres[i] == nombre)
            return i;
    return -1;
}

QString ultimaParte(const QString& grupo)
{
    return grupo.section(QLatin1Char('/'), -1);
}

// The most a short box needs: dates and whole numbers (codes) never fill a wide column.
// 0 for a box that takes the width of its column.
int anchoCorto(const schema::Field& campo, const QWidget* caja)
{
    const QFontMetrics fm(caja->font());
    // Frame and inner margins of a line box come on top of the text.
    const int marco = 2 * caja->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, caja) + 12;
    if (campo.kind == FieldKind::Date && qobject_cast<const QLineEdit*>(caja))
        return fm.horizontalAdvance(QStringLiteral("00/00/00000")) + marco;
    if (campo.kind == FieldKind::Integer && qobject_cast<const QLineEdit*>(caja))
        return fm.horizontalAdvance(QStringLiteral("0000000")) + marco;
    return 0;
}

// A yes/no field without a caption of its own says whether the field before it was measured
// (IN, LD): its check box sits right after that field's box.
bool esMarcaDelAnterior(const schema::Field& campo)
{
    return campo.kind == FieldKind::YesNo && campo.caption.isEmpty();
}

// A rich-text box with its formatting buttons beside it; any other box as it is.
QWidget* conBotonesTexto(const schema::Field& campo, QWidget* caja, QWidget* padre)
{
    auto* memo = qobject_cast<QTextEdit*>(caja);
    if (!campo.richText || !memo)
        return caja;
    auto* celda = new QWidget(padre);
    auto* juntos = new QHBoxLayout(celda);
    juntos->setContentsMargins(0, 0, 0, 0);
    juntos->setSpacing(3);
    memo->setParent(celda);
    juntos->addWidget(memo, 1);
    auto* botones = new BotonesTexto(memo, celda);
    botones->setObjectName(QStringLiteral("botones_") + campo.name);
    juntos->addWidget(botones);
    return celda;
}

void agregarCampo(QGridLayout* grilla, int& fila, int& columna, int columnas, const schema::Field& campo,
                  const schema::Field* marca, EnlaceCampos& enlace, QWidget* padre)
{
    QWidget* caja = FormularioCampos::crearCaja(enlace.tabla(), campo, padre);
    enlace.agregar(campo.name, caja);
    QWidget* celda = caja;
    if (marca) {
        celda = new QWidget(padre);
        auto* juntos = new QHBoxLayout(celda);
        juntos->setContentsMargins(0, 0, 0, 0);
        caja->setParent(celda);
        juntos->addWidget(caja, 1);
        QWidget* casilla = FormularioCampos::crearCaja(enlace.tabla(), *marca, celda);
        enlace.agregar(marca->name, casilla);
        juntos->addWidget(casilla);
    }
    if (!campo.unit.isEmpty()) {
        // The unit reads after the box: "TENSIÓN: [    ] V".
        QWidget* interior = celda;
        celda = new QWidget(padre);
        auto* juntos = new QHBoxLayout(celda);
        juntos->setContentsMargins(0, 0, 0, 0);
        interior->setParent(celda);
        if (const int corto = interior == caja ? anchoCorto(campo, caja) : 0; corto > 0)
            caja->setMaximumWidth(corto);
        juntos->addWidget(interior);
        auto* unidad = new QLabel(campo.unit, celda);
        unidad->setObjectName(QStringLiteral("unidad_") + campo.name);
        juntos->addWidget(unidad);
        juntos->addStretch(1);
    }
    if (campo.kind == FieldKind::Memo) {
        if (columna != 0) {
            ++fila;
            columna = 0;
        }
        auto* rotulo = new QLabel(FormularioCampos::rotulo(campo), padre);
        rotulo->setBuddy(caja);
        grilla->addWidget(rotulo, fila++, 0, 1, columnas * 2);
        grilla->addWidget(conBotonesTexto(campo, caja, padre), fila++, 0, 1, columnas * 2);
        grilla->setRowStretch(fila - 1, 1);
        return;
    }
    if (campo.kind == FieldKind::YesNo) {
        grilla->addWidget(caja, fila, columna * 2, 1, 2);
    } else {
        auto* rotulo = new QLabel(FormularioCampos::rotulo(campo), padre);
        rotulo->setBuddy(caja);
        rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grilla->addWidget(rotulo, fila, columna * 2);
        const int corto = celda == caja ? anchoCorto(campo, caja) : 0;
        if (corto > 0) {
            caja->setMaximumWidth(corto);
            grilla->addWidget(celda, fila, columna * 2 + 1, Qt::AlignLeft | Qt::AlignVCenter);
        } else {
            grilla->addWidget(celda, fila, columna * 2 + 1);
        }
    }
    if (++columna == columnas) {
        columna = 0;
        ++fila;
    }
}

// Columns of short boxes only keep their width; the wide ones share the rest, or an empty
// last column takes it when every box is short, so that short boxes stay together.
void repartirAncho(QGridLayout* grilla, int columnas)
{
    QList<bool> amplia(columnas, false);
    for (int i = 0; i < grilla->count(); ++i) {
        int fila = 0, columna = 0, filas = 0, columnasItem = 0;
        grilla->getItemPosition(i, &fila, &columna, &filas, &columnasItem);
        QWidget* w = grilla->itemAt(i)->widget();
        if (!w)
            continue;
        // A memo spans every column and widens them all; a check box spreads over its own.
        if (columnasItem == columnas * 2 && !qobject_cast<QLabel*>(w))
            amplia.fill(true);
        else if (columnasItem == 2 && !qobject_cast<QLabel*>(w))
            amplia[columna / 2] = true;
        else if (columna % 2 == 1 && w->maximumWidth() >= QWIDGETSIZE_MAX)
            amplia[columna / 2] = true;
    }
    const bool hayAmplia = amplia.contains(true);
    for (int c = 0; c < columnas; ++c)
        grilla->setColumnStretch(c * 2 + 1, amplia[c] ? 1 : 0);
    if (!hayAmplia)
        grilla->setColumnStretch(columnas * 2, 1);
}

// The same width for the caption columns of several grids, so their boxes line up.
void igualarRotulos(const QList<QGridLayout*>& grillas)
{
    QHash<int, int> anchos;
    for (QGridLayout* g : grillas)
        for (int i = 0; i < g->count(); ++i) {
            int fila = 0, columna = 0, filas = 0, columnas = 0;
            g->getItemPosition(i, &fila, &columna, &filas, &columnas);
            if (columna % 2 == 0 && columnas == 1)
                if (auto* l = qobject_cast<QLabel*>(g->itemAt(i)->widget()))
                    anchos[columna] = std::max(anchos.value(columna), l->sizeHint().width());
        }
    for (QGridLayout* g : grillas)
        for (auto i = anchos.constBegin(); i != anchos.constEnd(); ++i)
            g->setColumnMinimumWidth(i.key(), i.value());
}

QGridLayout* nuevaGrilla(QWidget* w, int columnas)
{
    auto* grilla = new QGridLayout(w);
    grilla->setContentsMargins(4, 4, 4, 4);
    grilla->setHorizontalSpacing(6);
    grilla->setVerticalSpacing(3);
    for (int c = 0; c < columnas; ++c)
        grilla->setColumnStretch(c * 2 + 1, 1);
    return grilla;
}

} // namespace

QString FormularioCampos::rotulo(const schema::Field& campo)
{
    return campo.caption.isEmpty() ? campo.name + QLatin1Char(':') : campo.caption;
}

QString FormularioCampos::nombreCaja(const schema::Table& tabla, const schema::Field& campo)
{
    if (&tabla == &schema::ensayos()) {
        using namespace campo::ensayos;
        static const QStringList grupos = {EFQ, KF, FUR, MET, PCB, GAS, FD, LD, IN};
        const int grupo = indiceEn(grupos, campo.name);
        if (grupo >= 0 && campo.kind == FieldKind::YesNo)
            return QStringLiteral("chkFieldsEns_%1").arg(grupo);
        if (campo.name == Sedimentos)
            return QStringLiteral("Combo10_25");
        const auto i = indicesEnsayos().constFind(campo.name);
        if (i != indicesEnsayos().constEnd())
            return QStringLiteral("txtFields_%1").arg(*i);
    } else if (&tabla == &schema::revision()) {
        static const QStringList megado = campo::revision::megado();
        const int m = indiceEn(megado, campo.name);
        if (m >= 0)
            return QStringLiteral("txtFieldsM_%1").arg(m + 1);
        if (campo.name == tabla.dateField)
            return QStringLiteral("txtFields_119");
    } else if (&tabla == &schema::mantenimiento()) {
        if (campo.name == tabla.dateField)
            return QStringLiteral("txtFields_115");
    } else if (&tabla == &schema::trafoge()) {
        if (campo.name == campo::trafoge::ESTADO)
            return QStringLiteral("Combo8");
        if (campo.name == campo::trafoge::GRAVEDAD)
            return QStringLiteral("Text1_0");
        if (campo.name == campo::trafoge::AUTO)
            return QStringLiteral("VxBoton9_1");
    }
    return QStringLiteral("campo_") + campo.name;
}

QWidget* FormularioCampos::crearCaja(const schema::Table& tabla, const schema::Field& campo, QWidget* parent)
{
    QWidget* caja = nullptr;
    switch (campo.kind) {
    case FieldKind::YesNo:
        caja = new QCheckBox(rotulo(campo), parent);
        break;
    case FieldKind::ListText: {
        auto* lista = new QComboBox(parent);
        lista->setEditable(true);
        lista->addItems(campo.values);
        // The sludge list offers a blank for a test that did not say.
        if (campo.name == campo::ensayos::Sedimentos)
            lista->addItem(QStringLiteral(" "));
        lista->setInsertPolicy(QComboBox::NoInsert);
        caja = lista;
        break;
    }
    case FieldKind::Memo: {
        auto* memo = new QTextEdit(parent);
        // Computed memos (diagnosis, summaries) are only shown; the user's notes are rich text.
        memo->setReadOnly(!campo.richText);
        memo->setAcceptRichText(campo.richText);
        memo->setMinimumHeight(60);
        caja = memo;
        break;
    }
    default: {
        auto* texto = new QLineEdit(parent);
        if (campo.kind == FieldKind::Date)
            texto->setMaxLength(10);
        caja = texto;
        break;
    }
    }
    caja->setObjectName(nombreCaja(tabla, campo));
    if (!campo.tip.isEmpty())
        caja->setToolTip(campo.tip);
    return caja;
}

QList<schema::Field> FormularioCampos::delGrupo(const schema::Table& tabla, const QString& grupo)
{
    QList<schema::Field> out;
    for (const schema::Field& f : tabla.fields)
        if (!f.tableOnly && (f.group == grupo || f.group.startsWith(grupo + QLatin1Char('/'))))
            out << f;
    return out;
}

QWidget* FormularioCampos::construirCampos(const QList<schema::Field>& campos, EnlaceCampos& enlace,
                                           int columnas, QWidget* parent)
{
    auto* panel = new QWidget(parent);
    QGridLayout* grilla = nuevaGrilla(panel, columnas);
    int fila = 0;
    int columna = 0;
    bool conMemo = false;
    for (int i = 0; i < campos.size(); ++i) {
        const schema::Field& campo = campos[i];
        const schema::Field* marca = nullptr;
        if (campo.kind != FieldKind::YesNo && campo.kind != FieldKind::Memo && i + 1 < campos.size() &&
            esMarcaDelAnterior(campos[i + 1]))
            marca = &campos[++i];
        conMemo = conMemo || campo.kind == FieldKind::Memo;
        agregarCampo(grilla, fila, columna, columnas, campo, marca, enlace, panel);
    }
    // Rows keep their natural height; the free space stays below them.
    if (!conMemo)
        grilla->setRowStretch(fila + 1, 1);
    repartirAncho(grilla, columnas);
    return panel;
}

QWidget* FormularioCampos::construirGrupo(const QString& grupo, EnlaceCampos& enlace, int columnas,
                                          QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* vertical = new QVBoxLayout(panel);
    vertical->setContentsMargins(0, 0, 0, 0);

    const QList<schema::Field> campos = delGrupo(enlace.tabla(), grupo);
    QList<schema::Field> propios;
    QStringList subgrupos;
    for (const schema::Field& f : campos) {
        if (f.group == grupo)
            propios << f;
        else if (!subgrupos.contains(f.group))
            subgrupos << f.group;
    }

    // The group's switch heads it, bold, before its boxes.
    for (int i = 0; i < propios.size(); ++i) {
        const schema::Field& f = propios[i];
        if (f.kind == FieldKind::YesNo && (f.caption == grupo || f.caption == ultimaParte(grupo))) {
            QWidget* interruptor = crearCaja(enlace.tabla(), f, panel);
            QFont negrita = interruptor->font();
            negrita.setBold(true);
            interruptor->setFont(negrita);
            enlace.agregar(f.name, interruptor);
            vertical->addWidget(interruptor);
            propios.removeAt(i);
            break;
        }
    }
    QList<QGridLayout*> grillas;
    if (!propios.isEmpty()) {
        QWidget* propio = construirCampos(propios, enlace, columnas, panel);
        grillas << qobject_cast<QGridLayout*>(propio->layout());
        vertical->addWidget(propio);
    }
    for (const QString& sub : subgrupos) {
        const QString titulo = sub.mid(grupo.size() + 1);
        auto* bloque = new QGroupBox(titulo, panel);
        bloque->setObjectName(QStringLiteral("grupo_") + titulo);
        auto* dentro = new QVBoxLayout(bloque);
        dentro->setContentsMargins(2, 2, 2, 2);
        QList<schema::Field> suyos;
        for (const schema::Field& f : campos)
            if (f.group == sub)
                suyos << f;
        QWidget* campos = construirCampos(suyos, enlace, columnas, bloque);
        grillas << qobject_cast<QGridLayout*>(campos->layout());
        dentro->addWidget(campos);
        vertical->addWidget(bloque);
    }
    grillas.removeAll(nullptr);
    igualarRotulos(grillas);
    vertical->addStretch(1);
    return panel;
}
