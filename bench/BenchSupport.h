#pragma once

// Helpers shared by the benchmark programs: medians, memory from /proc, timing, the plant.
#include "app/logic/RunState.h"
#include "data/logic/DemoPlant.h"
#include "utilities/logic/Mensajes.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace bench {

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
inline long statusKb(const char* key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted = QByteArray(key) + ':';
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').first().toLong();
    return -1;
}

// CPU time of this thread, ms: on a busy machine it tells the program's own work from waiting.
inline double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

inline double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

[[noreturn]] inline void fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    std::exit(1);
}

// Widget benchmarks draw offscreen unless the caller chose a platform; before the application.
inline void sinPantalla()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The program's arguments; ends with the usage line when the plant folder is missing.
inline QStringList argumentos(const char* uso)
{
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        fail(QString::fromUtf8(uso));
    return args;
}

// The large plant in folder, generated on first use.
inline void ensurePlant(const QString& folder)
{
    if (RunState::contieneBase(folder))
        return;
    QDir().mkpath(folder);
    std::printf("generando la planta grande en %s ...\n", folder.toUtf8().constData());
    if (const Status st = demo::createLarge(folder, demo::PlantSize{}); !st)
        fail(st.error());
}

// Message boxes of a benchmark: any message ends the run with its text, since a benchmark
// that needs the user measured something else.
class SinMensajes : public Mensajes
{
public:
    Answer show(const QString& texto, const QString&, Icon, Buttons botones, Answer) override
    {
        if (botones != Buttons::YesNo)
            fail(QStringLiteral("mensaje inesperado: ") + texto);
        return Answer::Yes;
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString chooseFile(const QString&, const QString&, const QString&, bool) override { return {}; }
    void setBusy(bool) override {}
};

} // namespace bench
