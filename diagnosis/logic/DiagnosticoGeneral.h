#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// The general diagnosis of one transformer: each test group judged on the newest test that
// has it, the not-performed notes, the state and severity, and the summary of the tests'
// observations. The walk over the data file wraps this function.
namespace diagnostico {

struct TrafoADiagnosticar
{
    QVariant tipoAislante; // `TIPO AISLANTE`; Null allowed
    QVariant manual;       // `AUTO`; Null counts as manual
    // The transformer's tests, newest first: field name → value as stored, with `Fecha`
    // (a date or its YYYY-MM-DD text) and `Observaciones` as plain text.
    QList<QVariantMap> ensayos;
    QVariant anio; // `AÑO`, the year of manufacture as text: it picks the gas levels' column
};

struct DiagnosticoTrafo
{
    QString diagnostico;         // `DIAGNOSTICO`: every observation and note ends in CR LF
    QString resumenObs;          // `RESUMEN OBS`
    QStringList observaciones;   // the lines of the diagnosis, without their breaks
    QStringList textosEnsayos;   // each test's observations in upper case, in the given order
    int estado = 1;              // `ESTADO`: 1, 2 or 3
    int cuenta = 0;              // `GRAVEDAD`: counted observations, 6 without tests
    bool escribirEstado = false; // `AUTO` is False: `ESTADO` and `GRAVEDAD` are to be written
};

DiagnosticoTrafo diagnosticarTrafo(const TrafoADiagnosticar& trafo);

// A test's observations as the summary shows them: upper case, every line break CR LF.
QString observacionesEnMayusculas(const QString& texto);
// A stored date as DD/MM/YYYY; a text that is no date is kept as it is.
QString fechaResumen(const QVariant& fecha);

} // namespace diagnostico
