#pragma once

#include <QDate>
#include <QList>
#include <QObject>
#include <functional>

class DataViews;
class Mensajes;
class PaginaFechada;
class QComboBox;
class QPushButton;
class RecordView;
struct RunState;

// The search and selection buttons of a record tab's CALENDARIO page: the date comparison
// (mirrored on the three tabs), "Buscar &Detalle", "Buscar Siguiente", "&Hoy", "&Fecha",
// "Seleccionar Subgrupo" and "Restaurar Datos".
class BotonesCalendario : public QObject
{
    Q_OBJECT
public:
    enum Pestana
    {
        Revision,
        Ensayos,
        Mantenimiento,
    };

    // What the buttons of all three tabs share.
    struct Contexto
    {
        RunState& estado;
        DataViews& vistas;
        Mensajes& mensajes;
        std::function<QDate()> dia;                 // the day of the ENSAYOS calendar
        std::function<void(const QDate&)> ponerDia; // puts the three calendars on a day
        std::function<QDate()> hoy;
        std::function<bool()> guardarPendientes;
    };

    BotonesCalendario(Pestana pestana, PaginaFechada& pagina, Contexto contexto, QObject* parent = nullptr);

    // The three tabs' comparison choosers show one text.
    static void enlazar(const QList<BotonesCalendario*>& botones);

    QComboBox* comparacion() const { return m_comparacion; }
    QPushButton* boton(int indice) const { return m_botones.value(indice); }

    void buscarDetalle();
    void buscarSiguiente();
    void seleccionarSubgrupo();

private:
    RecordView& vista() const;
    // From position `desde` on, the first row whose date compares; moves the view there once.
    void buscarDesde(int desde);
    void sinCoincidencia();

    Pestana m_pestana;
    PaginaFechada& m_pagina;
    Contexto m_c;
    QComboBox* m_comparacion = nullptr;
    QList<QPushButton*> m_botones;
};
