// Timings of the record views on a large plant: opening the main window's views, code finds,
// stepping the transformer view with its alignment finds, memory after opening, and the
// sqlite3 command-line tool reading the same tables for comparison.
//
//   quorvela-bench generate DIR   makes DIR/trafos.mdb (10,000 transformers, 100,000 rows per dated table)
//   quorvela-bench run DIR        measures and prints the figures
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "data/logic/PriorityList.h"
#include "data/logic/RecordView.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Kilobytes of a line of /proc/self/status ("VmHWM", "VmRSS").
long statusKb(const char* key)
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

void fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    std::exit(1);
}

double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The views the main window opens at start-up, with the sources it gives them.
struct Views
{
    std::shared_ptr<Database> db;
    std::vector<std::unique_ptr<RecordView>> all;
    RecordView* trafos = nullptr;
    RecordView* revision = nullptr;
    RecordView* ensayos = nullptr;
    RecordView* mantenimiento = nullptr;
    PriorityList* list = nullptr;
};

Views openViews(const QString& file, QStringList* breakdown = nullptr)
{
    Views v;
    auto db = Database::open(file);
    if (!db)
        fail(db.error());
    v.db = db.value();
    const QStringList sources = {
        QStringLiteral("trafoge"),
        QStringLiteral("Revision"),
        QStringLiteral("ensayos"),
        QStringLiteral("mantenimiento"),
        QStringLiteral("trafoge"), // the query builder's value list
        QStringLiteral("SELECT DISTINCT [Fecha]  FROM mantenimiento"),
        QStringLiteral("SELECT DISTINCT [Fecha]  FROM ensayos"),
        QStringLiteral("SELECT DISTINCT [Fecha]  FROM Revision"),
        u8("SELECT * FROM Trafoge WHERE ESTADO >= 0 ORDER BY [CÓDIGO]"), // the search view
        QStringLiteral("SELECT DISTINCT [TIPO AISLANTE]  FROM Trafoge order by [TIPO AISLANTE] asc"),
    };
    for (const QString& source : sources) {
        QElapsedTimer timer;
        timer.start();
        auto view = std::make_unique<RecordView>();
        view->setDatabase(v.db);
        view->setRecordSource(source);
        if (Status st = view->refresh(); !st)
            fail(source + QStringLiteral(": ") + st.error());
        v.all.push_back(std::move(view));
        if (breakdown)
            *breakdown << QStringLiteral("%1 ms  %2").arg(msSince(timer), 7, 'f', 1).arg(source);
    }
    QElapsedTimer timer;
    timer.start();
    auto list = std::make_unique<PriorityList>();
    list->setDatabase(v.db);
    if (Status st = list->requery(); !st)
        fail(st.error());
    if (breakdown)
        *breakdown
            << QStringLiteral("%1 ms  %2").arg(msSince(timer), 7, 'f', 1).arg(PriorityList::priorityQuery());
    v.list = list.get();
    v.all.push_back(std::move(list));
    v.trafos = v.all[0].get();
    v.revision = v.all[1].get();
    v.ensayos = v.all[2].get();
    v.mantenimiento = v.all[3].get();
    // The screens read the current rows right away.
    for (const auto& view : v.all)
        for (int i = 0; i < view->fieldCount(); ++i)
            view->value(i);
    return v;
}

// Reads every field of the current row, as the bound boxes of a tab do.
double readRow(const RecordView& view)
{
    double sum = 0;
    for (int i = 0; i < view.fieldCount(); ++i)
        sum += view.value(i).toDouble();
    return sum;
}

// Wall time of the sqlite3 tool printing a whole table into /dev/null.
double sqliteCliMs(const QString& file, const QString& table)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral("sqlite3"), {file, QStringLiteral("SELECT * FROM \"%1\"").arg(table)});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        fail(QStringLiteral("sqlite3 falló con la tabla ") + table);
    return msSince(timer);
}

int generate(const QString& folder)
{
    QDir().mkpath(folder);
    if (QFile::exists(Database::rutaEn(folder))) {
        std::printf("plant already there: %s\n", qPrintable(folder));
        return 0;
    }
    QElapsedTimer timer;
    timer.start();
    const Status made = demo::createLarge(folder, demo::PlantSize{});
    if (!made)
        fail(made.error());
    std::printf("generated %s in %.1f s\n", qPrintable(folder), timer.elapsed() / 1000.0);
    return 0;
}

int run(const QString& folder, int runs)
{
    const QString file = Database::rutaEn(folder);
    if (!QFile::exists(file))
        fail(QStringLiteral("No existe ") + file + QStringLiteral(": ejecute antes 'generate'"));

    // Opening: the first opening in this process gives the memory figure.
    std::vector<double> openMs;
    QStringList breakdown;
    long rssAfterOpenKb = 0, peakAfterOpenKb = 0;
    {
        QElapsedTimer timer;
        timer.start();
        Views v = openViews(file, &breakdown);
        openMs.push_back(msSince(timer));
        rssAfterOpenKb = statusKb("VmRSS");
        peakAfterOpenKb = statusKb("VmHWM");
        std::printf("rows: trafoge %d, Revision %d, Ensayos %d, Mantenimiento %d, fechas %d/%d/%d, "
                    "aislantes %d, lista %d\n",
                    v.trafos->recordCount(), v.revision->recordCount(), v.ensayos->recordCount(),
                    v.mantenimiento->recordCount(), v.all[5]->recordCount(), v.all[6]->recordCount(),
                    v.all[7]->recordCount(), v.all[9]->recordCount(), v.list->recordCount());
        int cached = 0;
        for (const auto& view : v.all)
            cached += view->cachedRowCount();
        std::printf("row values held by the 11 views after opening: %d\n", cached);
    }
    for (int r = 1; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        Views v = openViews(file);
        openMs.push_back(msSince(timer));
    }

    Views v = openViews(file);
    const int transformers = v.trafos->recordCount();
    if (transformers == 0)
        fail(QStringLiteral("La planta no tiene transformadores"));

    // One code find in each dated view, codes drawn at random.
    std::mt19937 rng(7);
    const std::pair<const char*, RecordView*> dated[] = {
        {"Revision", v.revision}, {"Ensayos", v.ensayos}, {"Mantenimiento", v.mantenimiento}};
    std::vector<double> findMs[3];
    for (int i = 0; i < 2000; ++i) {
        const QString criterion = u8("[código]=") + QString::number(int(rng() % transformers) + 1);
        for (int t = 0; t < 3; ++t) {
            QElapsedTimer timer;
            timer.start();
            auto found = dated[t].second->findFirst(criterion);
            findMs[t].push_back(msSince(timer));
            if (!found)
                fail(found.error());
        }
    }

    // The transformer view stepped through 1,000 rows, each step aligning the three dated views
    // and reading every field of the four current rows.
    std::vector<double> stepMs;
    double checksum = 0;
    for (int r = 0; r < runs; ++r) {
        if (Status st = v.trafos->moveFirst(); !st)
            fail(st.error());
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 1000 && !v.trafos->eof(); ++i) {
            const QString code = v.trafos->value(0).toString();
            checksum += readRow(*v.trafos);
            for (const auto& [name, view] : dated) {
                auto found = view->findFirst(u8("[código]=") + code);
                if (!found)
                    fail(found.error());
                if (!found.value()) {
                    // Parked past the last row, as the window parks a view without rows.
                    if (Status st = view->moveLast(); st)
                        st = view->moveNext();
                }
                checksum += readRow(*view);
            }
            if (Status st = v.trafos->moveNext(); !st)
                fail(st.error());
        }
        stepMs.push_back(msSince(timer));
    }

    // The whole test table read through a view, against the sqlite3 tool.
    std::vector<double> scanMs;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        if (Status st = v.ensayos->moveFirst(); !st)
            fail(st.error());
        while (!v.ensayos->eof()) {
            checksum += readRow(*v.ensayos);
            if (Status st = v.ensayos->moveNext(); !st)
                fail(st.error());
        }
        scanMs.push_back(msSince(timer));
    }

    const QStringList tables = {QStringLiteral("Trafoge"), QStringLiteral("Revision"),
                                QStringLiteral("Ensayos"), QStringLiteral("Mantenimiento")};
    std::vector<double> cliAllMs, cliEnsayosMs;
    const bool haveCli = !QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty();
    if (haveCli) {
        for (int r = 0; r < runs; ++r) {
            double total = 0;
            for (const QString& table : tables) {
                const double ms = sqliteCliMs(file, table);
                total += ms;
                if (table == QStringLiteral("Ensayos"))
                    cliEnsayosMs.push_back(ms);
            }
            cliAllMs.push_back(total);
        }
    }

    const double open = median(openMs);
    std::printf("\nmedians of %d runs (checksum %.0f)\n", runs, checksum);
    std::printf("open 10 views + priority list:     %8.1f ms   (target <= 500 ms)\n", open);
    for (int t = 0; t < 3; ++t)
        std::printf("find [código]=N in %-13s:    %8.3f ms   (target <= 1 ms; max %.3f ms)\n", dated[t].first,
                    median(findMs[t]), *std::max_element(findMs[t].begin(), findMs[t].end()));
    for (const QString& line : std::as_const(breakdown))
        std::printf("    first opening: %s\n", qPrintable(line));
    std::printf("1,000 transformer steps, 3 finds:  %8.1f ms   (target <= 2000 ms)\n", median(stepMs));
    std::printf("RSS after opening:                 %8.1f MB   (peak %.1f MB; target <= 150 MB)\n",
                rssAfterOpenKb / 1024.0, peakAfterOpenKb / 1024.0);
    std::printf("Ensayos read through the view:     %8.1f ms   (every field of every row)\n", median(scanMs));
    if (haveCli) {
        const double cliAll = median(cliAllMs), cliEnsayos = median(cliEnsayosMs);
        std::printf("sqlite3 tool, SELECT * of the 4 tables: %6.1f ms; opening / that = %.2f\n", cliAll,
                    open / cliAll);
        std::printf("sqlite3 tool, SELECT * FROM Ensayos:    %6.1f ms; view scan / that = %.2f\n", cliEnsayos,
                    median(scanMs) / cliEnsayos);
    } else {
        std::printf("sqlite3 tool not found: no comparison\n");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QStringLiteral("generate"))
        return generate(args[2]);
    if (args.size() >= 3 && args[1] == QStringLiteral("run"))
        return run(args[2], args.size() >= 4 ? qMax(1, args[3].toInt()) : 5);
    std::fprintf(stderr, "uso: quorvela-bench generate CARPETA | run CARPETA [VECES]\n");
    return 2;
}
