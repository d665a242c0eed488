// How long the import's readers take on a large file: a 100,000-row Fuelly export
// detected and read, the median of five runs. Not a test; build with
// -DDRIVOLEX_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release and run drivolex_import_read_bench.
#include "Timing.h"
#include "exchange/ImportFormats.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main() {
    constexpr int kRows = 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuelups.csv"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,"
                   "date_added,tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand\n");
        for (int i = 0; i < kRows; ++i) {
            const QDate date = QDate(1990, 1, 1).addDays(i / 3);
            file.write(QStringLiteral("Civic,Honda,31.2,\"%1\",312.4,10.012,3.459,40,%2 0:00,,"
                                      "work,a note,0,%3,,,Shell\n")
                           .arg(QLocale(QLocale::English).toString(100000 + i * 310))
                           .arg(date.toString(QStringLiteral("MM/dd/yyyy")))
                           .arg(i % 7 == 0 ? 1 : 0)
                           .toUtf8());
        }
    }
    std::vector<double> detecting;
    std::vector<double> reading;
    size_t rows = 0;
    QString format;
    for (int run = 0; run < 5; ++run) {
        detecting.push_back(bench::timed(
            [&] { format = exchange::detectFormat(path).formatId.value_or(QString()); }));
        reading.push_back(
            bench::timed([&] { rows = exchange::readImportFile(path, format).fuel.size(); }));
    }
    std::printf("Fuelly export, %d rows: %zu read as %s; median %.3f s to detect, %.3f s to "
                "read\n",
                kRows, rows, qPrintable(format), bench::median(detecting), bench::median(reading));
    return rows == size_t(kRows) ? 0 : 1;
}
