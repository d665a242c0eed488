// Writes the demonstration database that the manual's pictures show:
//   drivolex_demo_db FILE
// An existing FILE is replaced. The rows are read back and counted before the
// program reports success.
#include "DemoDatabase.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    try {
        demo::writeDemoDatabase(path);
        const demo::DemoCounts want = demo::demoCounts();
        const demo::DemoCounts got = demo::countRows(path);
        if (got.vehicles != want.vehicles || got.fuel != want.fuel || got.orders != want.orders ||
            got.services != want.services || got.parts != want.parts || got.notes != want.notes) {
            std::fprintf(stderr, "%s: the file does not hold the rows written\n", argv[1]);
            return 1;
        }
        std::printf("%s: %d vehicles, %d fuel purchases, %d work orders with %d services, %d "
                    "parts and %d notes\n",
                    argv[1], got.vehicles, got.fuel, got.orders, got.services, got.parts,
                    got.notes);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
