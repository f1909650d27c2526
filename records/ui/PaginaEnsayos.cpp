#include "records/ui/PaginaEnsayos.h"

#include "records/ui/EnlaceCampos.h"
#include "records/ui/FormularioCampos.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

PaginaEnsayos::PaginaEnsayos(QWidget* parent)
    : PaginaFechada(QStringLiteral("PaginaEnsayos"), QStringLiteral("ENS"), 4, parent)
{
}

const schema::Table& PaginaEnsayos::tablaEsquema() const
{
    return schema::ensayos();
}

void PaginaEnsayos::construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace)
{
    auto grupo = [&enlace](const char* nombre, int columnas) {
        auto* marco = new QGroupBox;
        auto* dentro = new QVBoxLayout(marco);
        dentro->setContentsMargins(4, 4, 4, 4);
        dentro->addWidget(FormularioCampos::construirGrupo(QString::fromUtf8(nombre), enlace, columnas));
        return marco;
    };
    detalle->addTab(desplazable(grupo("ENSAYOS FÍSICO/QUÍMICOS", 2)), QStringLiteral("&PROP F/Q"));

    auto* varios = new QWidget;
    auto* rejilla = new QGridLayout(varios);
    rejilla->setContentsMargins(2, 2, 2, 2);
    rejilla->addWidget(grupo("KARL FISHER", 2), 0, 0);
    rejilla->addWidget(grupo("FURANOS", 2), 0, 1);
    rejilla->addWidget(grupo("METALES", 1), 1, 0);
    rejilla->addWidget(grupo("PCB", 2), 1, 1);
    // The four frames keep the height of their boxes; the free space stays below them.
    rejilla->setRowStretch(2, 1);
    detalle->addTab(desplazable(varios), QStringLiteral("VARIOS"));
    detalle->addTab(desplazable(grupo("GASES", 2)), QStringLiteral("GASES"));
    detalle->addTab(FormularioCampos::construirGrupo(QStringLiteral("OBSERVACION"), enlace, 1),
                    QStringLiteral("OBSERVACION"));
    detalle->addTab(construirDiagnostico(), QString::fromUtf8("DIAGNÓSTICO"));

    const struct
    {
        int indice;
        void (PaginaEnsayos::*accion)();
    } casillas[] = {{0, &PaginaEnsayos::EFQConInhibidor},
                    {1, &PaginaEnsayos::KF},
                    {2, &PaginaEnsayos::FUR},
                    {3, &PaginaEnsayos::MET},
                    {4, &PaginaEnsayos::PCB},
                    {5, &PaginaEnsayos::GAS},
                    {7, &PaginaEnsayos::LD},
                    {8, &PaginaEnsayos::INH}};
    for (const auto& c : casillas)
        if (auto* b = qobject_cast<QAbstractButton*>(casilla(c.indice)))
            connect(b, &QAbstractButton::clicked, this, c.accion);
    if (auto* forzado = qobject_cast<QAbstractButton*>(casilla(6)))
        connect(forzado, &QAbstractButton::clicked, this, &PaginaEnsayos::forzadoPulsado);
    connect(this, &PaginaEnsayos::forzadoPulsado, this, &PaginaEnsayos::evaluar);
    connect(&enlace, &EnlaceCampos::mostrado, this, &PaginaEnsayos::testMostrado);
    connect(&enlace.vista(), &RecordView::validate, this, &PaginaEnsayos::dejandoFila);
    ENS();
}

QWidget* PaginaEnsayos::construirDiagnostico()
{
    auto* pagina = new QWidget;
    auto* fila = new QHBoxLayout(pagina);
    m_observaciones = new QPlainTextEdit(pagina);
    m_observaciones->setObjectName(QStringLiteral("VxBoton9_0"));
    m_observaciones->setReadOnly(true);
    fila->addWidget(m_observaciones, 1);

    m_hueco = new QWidget(pagina);
    m_hueco->setObjectName(QStringLiteral("LugarSemaforo1"));
    auto* hueco = new QVBoxLayout(m_hueco);
    hueco->setContentsMargins(0, 0, 0, 0);
    fila->addWidget(m_hueco);

    auto* derecha = new QVBoxLayout;
    auto* relaciones = new QGridLayout;
    for (int i = 1; i <= 24; ++i) {
        auto* l = new QLabel(pagina);
        l->setObjectName(QStringLiteral("Label1_%1").arg(i));
        // Hidden cells keep their place, so every shown caption stays under its ratio.
        QSizePolicy politica = l->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        l->setSizePolicy(politica);
        l->hide();
        m_relaciones << l;
        relaciones->addWidget(l, (i - 1) / 4, (i - 1) % 4);
    }
    const char* fallas[] = {"Descargas Parciales", "Descargas Baja Energía",    "Descargas Alta Energía",
                            "Defecto T<300°C",     "Defecto 300°C < T < 700°C", "Defecto T>700°C"};
    for (int r = 1; r <= 6; ++r)
        m_relaciones[4 * r - 1]->setText(QString::fromUtf8(fallas[r - 1]));
    for (int c = 0; c < 3; ++c)
        relaciones->setColumnMinimumWidth(c, 48);
    derecha->addLayout(relaciones);
    m_forzado = new QLabel(QStringLiteral("Forzado"), pagina);
    m_forzado->setObjectName(QStringLiteral("Label4_1"));
    m_forzado->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    m_forzado->hide();
    derecha->addWidget(m_forzado);
    derecha->addStretch(1);
    auto* botones = new QHBoxLayout;
    const char* metodos[] = {"Dornenburg", "Rogers", "Gases"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(metodos[i]), pagina);
        b->setObjectName(QStringLiteral("Command56_%1").arg(i));
        m_metodos << b;
        botones->addWidget(b);
    }
    derecha->addLayout(botones);
    fila->addLayout(derecha);
    return pagina;
}

void PaginaEnsayos::setEvaluacion(std::function<void()> calculus, std::function<void()> diagnos)
{
    m_calculus = std::move(calculus);
    m_diagnos = std::move(diagnos);
}

void PaginaEnsayos::evaluar()
{
    if (m_calculus)
        m_calculus();
    if (m_diagnos)
        m_diagnos();
}

void PaginaEnsayos::testMostrado()
{
    if (!m_evaluacionPropia)
        return;
    evaluar();
    ENS();
}

void PaginaEnsayos::dejandoFila(RecordView::Action accion)
{
    // The diagnosis shown belongs to the row being left; the next row's evaluation redoes it.
    if (accion == RecordView::Action::Update || !m_evaluacionPropia)
        return;
    limpiarDiagnostico();
    setEstadoSemaforo(1);
}

void PaginaEnsayos::setEstadoSemaforo(int estado)
{
    if (m_semaforo)
        m_semaforo->setProperty("Estado", estado);
}

void PaginaEnsayos::limpiarDiagnostico()
{
    if (m_observaciones)
        m_observaciones->clear();
}

void PaginaEnsayos::setEvaluacionPropia(bool propia)
{
    m_evaluacionPropia = propia;
}

void PaginaEnsayos::setSemaforo(QWidget* semaforo)
{
    if (!m_hueco || !semaforo)
        return;
    delete m_semaforo;
    m_semaforo = semaforo;
    m_semaforo->setObjectName(QStringLiteral("Semaforo1"));
    m_semaforo->setParent(m_hueco);
    m_hueco->layout()->addWidget(m_semaforo);
    m_semaforo->show();
}

QWidget* PaginaEnsayos::casilla(int indice) const
{
    return findChild<QWidget*>(QStringLiteral("chkFieldsEns_%1").arg(indice));
}

QWidget* PaginaEnsayos::cajaTxt(int indice) const
{
    return findChild<QWidget*>(QStringLiteral("txtFields_%1").arg(indice));
}

void PaginaEnsayos::habilitar(int indiceCasilla, std::initializer_list<int> cajas)
{
    auto* b = qobject_cast<QAbstractButton*>(casilla(indiceCasilla));
    const bool marcada = b && b->isChecked();
    for (const int i : cajas)
        if (QWidget* c = cajaTxt(i))
            c->setEnabled(marcada);
}

void PaginaEnsayos::ENS()
{
    EFQ();
    KF();
    FUR();
    MET();
    PCB();
    GAS();
    LD();
    INH();
}

void PaginaEnsayos::EFQ()
{
    habilitar(0, {41, 43, 62, 63, 64, 65, 66, 67, 68});
}

void PaginaEnsayos::EFQConInhibidor()
{
    // The inhibitor box is also an EFQ box, but whether it can be typed in is its own switch's.
    EFQ();
    INH();
}

void PaginaEnsayos::KF()
{
    habilitar(1, {71, 72, 73, 74, 75, 76});
}

void PaginaEnsayos::FUR()
{
    habilitar(2, {77, 78, 79, 80, 81, 82});
}

void PaginaEnsayos::MET()
{
    habilitar(3, {94, 95, 96});
}

void PaginaEnsayos::PCB()
{
    habilitar(4, {97, 98, 99, 100, 101});
}

void PaginaEnsayos::GAS()
{
    habilitar(5, {83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93});
}

void PaginaEnsayos::LD()
{
    auto* b = qobject_cast<QAbstractButton*>(casilla(7));
    if (auto* lodos = findChild<QComboBox*>(QStringLiteral("Combo10_25")))
        lodos->setEnabled(b && b->isChecked());
}

void PaginaEnsayos::INH()
{
    habilitar(8, {68});
}
