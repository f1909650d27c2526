#pragma once

#include "data/logic/LectorJet.h"
#include "data/logic/Schema.h"

#include <QHash>
#include <functional>

// The Jet type the earlier program gave a field of each kind.
inline jet::TipoColumna tipoDe(schema::FieldKind k)
{
    using T = jet::TipoColumna;
    switch (k) {
    case schema::FieldKind::Integer:
        return T::Entero;
    case schema::FieldKind::Number:
        return T::Doble;
    case schema::FieldKind::Date:
        return T::FechaHora;
    case schema::FieldKind::YesNo:
        return T::SiNo;
    case schema::FieldKind::Memo:
        return T::Memo;
    default:
        return T::Texto;
    }
}

// A Jet file made of lists: tables, their typed columns and rows, as a test writes them.
class LectorFalso : public jet::Lector
{
public:
    void agregar(const QString& tabla, const QList<jet::Columna>& columnas, const QList<jet::Fila>& filas)
    {
        m_tablas.append({tabla, columnas, filas.size()});
        m_filas.insert(tabla, filas);
    }
    QString formato() const override { return QStringLiteral("Jet 4"); }
    const QList<jet::Tabla>& tablas() const override { return m_tablas; }
    Status leer(const QString& tabla, const std::function<bool(const jet::Fila&)>& porFila) override
    {
        if (generador.contains(tabla)) {
            const jet::Tabla* t = nullptr;
            for (const jet::Tabla& x : m_tablas)
                if (x.nombre == tabla)
                    t = &x;
            for (qint64 i = 0; i < t->filas; ++i)
                if (!porFila(generador[tabla](i)))
                    break;
            return {};
        }
        for (const jet::Fila& f : m_filas.value(tabla))
            if (!porFila(f))
                break;
        return {};
    }

    QList<jet::Tabla> m_tablas;
    QHash<QString, QList<jet::Fila>> m_filas;
    // Tables whose rows are made one at a time, for files too large to hold in a list.
    QHash<QString, std::function<jet::Fila(qint64)>> generador;
};
