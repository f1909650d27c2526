#pragma once

#include "data/logic/Schema.h"

#include <QList>
#include <QString>

class EnlaceCampos;
class QWidget;

// Builds the labelled input boxes of a table's screen groups from the schema and binds them.
// Nothing here lists fields: a group's boxes are whatever the schema puts in it.
class FormularioCampos
{
public:
    // The caption of a field on screen: its own, or its name followed by ":".
    static QString rotulo(const schema::Field& campo);
    // The box's object name: the element name the program's procedures use for it, when it has
    // one ("txtFields_83", "chkFieldsEns_5", "Combo10_25"), otherwise "campo_" + the field name.
    static QString nombreCaja(const schema::Table& tabla, const schema::Field& campo);
    // A new, unbound box of the kind the field asks for.
    static QWidget* crearCaja(const schema::Table& tabla, const schema::Field& campo, QWidget* parent);

    // Fields of a group and of its sub-groups ("GENERAL" also gives "GENERAL/CUBA"), in schema
    // order; tableOnly fields are left out.
    static QList<schema::Field> delGrupo(const schema::Table& tabla, const QString& grupo);

    // A panel with the boxes of a group: its own fields in a grid of label and box pairs in
    // `columnas` columns, then one framed block per sub-group, and memos across the full width.
    // A yes/no field whose caption is the group's name heads its group as a switch.
    static QWidget* construirGrupo(const QString& grupo, EnlaceCampos& enlace, int columnas,
                                   QWidget* parent = nullptr);
    // The same for a given list of fields, without sub-group blocks.
    static QWidget* construirCampos(const QList<schema::Field>& campos, EnlaceCampos& enlace, int columnas,
                                    QWidget* parent = nullptr);
};
