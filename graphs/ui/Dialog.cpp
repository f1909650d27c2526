#include "graphs/ui/Dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

Dialog::Dialog(graficos::ConfiguracionGases& configuracion, QWidget* parent)
    : QDialog(parent), m_configuracion(configuracion)
{
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("Configurar Gráfico de Gases"));
    auto* vertical = new QVBoxLayout(this);
    auto* cuerpo = new QHBoxLayout;

    auto* modos = new QGroupBox(this);
    auto* columnaModos = new QVBoxLayout(modos);
    const QStringList captions = {QStringLiteral("Gases"), QStringLiteral("Total Combustibles"),
                                  QStringLiteral("Total Gases")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* o = new QRadioButton(captions.at(i), modos);
        o->setObjectName(QStringLiteral("Option1_%1").arg(i));
        columnaModos->addWidget(o);
        m_opciones << o;
        connect(o, &QRadioButton::toggled, this, [this, i](bool marcado) {
            if (marcado)
                m_modo = i;
        });
    }
    columnaModos->addStretch(1);
    cuerpo->addWidget(modos);

    auto* gases = new QGroupBox(this);
    auto* rejilla = new QGridLayout(gases);
    const QStringList etiquetas = {
        QStringLiteral("Hidrógeno:"), QStringLiteral("Oxígeno:"),  QStringLiteral("Nitrógeno:"),
        QStringLiteral("Metano:"),    QStringLiteral("Monóxido:"), QStringLiteral("Dióxido:"),
        QStringLiteral("Etano:"),     QStringLiteral("Etileno:"),  QStringLiteral("Acetileno:")};
    for (int i = 0; i < etiquetas.size(); ++i) {
        auto* etiqueta = new QLabel(etiquetas.at(i), gases);
        auto* caja = new QCheckBox(gases);
        caja->setObjectName(QStringLiteral("Check1_%1").arg(i));
        etiqueta->setBuddy(caja);
        rejilla->addWidget(etiqueta, i, 0);
        rejilla->addWidget(caja, i, 1);
        m_gases << caja;
        connect(caja, &QCheckBox::stateChanged, this, &Dialog::gasCambiado);
    }
    cuerpo->addWidget(gases);
    vertical->addLayout(cuerpo);

    auto* botones = new QHBoxLayout;
    m_borrar = new QPushButton(QStringLiteral("Borrar"), this);
    m_borrar->setObjectName(QStringLiteral("Command1"));
    m_aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    m_aceptar->setObjectName(QStringLiteral("OKButton"));
    m_aceptar->setDefault(true);
    m_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    m_cancelar->setObjectName(QStringLiteral("CancelButton"));
    botones->addWidget(m_borrar);
    botones->addStretch(1);
    botones->addWidget(m_aceptar);
    botones->addWidget(m_cancelar);
    vertical->addLayout(botones);

    connect(m_borrar, &QPushButton::clicked, this, [this] {
        for (QCheckBox* c : std::as_const(m_gases))
            c->setCheckState(Qt::Unchecked);
    });
    connect(m_aceptar, &QPushButton::clicked, this, &Dialog::guardar);
    connect(m_cancelar, &QPushButton::clicked, this, &QDialog::reject);
    cargar();
}

void Dialog::cargar()
{
    m_cargado = false;
    const int modo = m_configuracion.modo;
    if (modo >= 0 && modo < m_opciones.size())
        m_opciones.at(modo)->setChecked(true);
    m_modo = modo;
    for (int i = 0; i < m_gases.size(); ++i) {
        const int estado = m_configuracion.gases.at(size_t(i));
        m_gases.at(i)->setTristate(estado == 2);
        m_gases.at(i)->setCheckState(estado == 2 ? Qt::PartiallyChecked
                                                 : (estado ? Qt::Checked : Qt::Unchecked));
    }
    m_cargado = true;
}

void Dialog::gasCambiado()
{
    // Choosing gases one by one means plotting them: the option returns to "Gases".
    if (m_cargado)
        m_opciones.at(0)->setChecked(true);
}

void Dialog::guardar()
{
    if (m_modo >= 0 && m_modo <= 2)
        m_configuracion.modo = m_modo;
    for (int i = 0; i < m_gases.size(); ++i) {
        const Qt::CheckState estado = m_gases.at(i)->checkState();
        m_configuracion.gases[size_t(i)] =
            estado == Qt::Checked ? 1 : (estado == Qt::PartiallyChecked ? 2 : 0);
    }
    accept();
}
