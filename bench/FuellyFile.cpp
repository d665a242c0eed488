#include "FuellyFile.h"

#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace bench {

void writeFuellyFile(const std::string& path, int rows) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        throw std::runtime_error("cannot write " + path);
    std::fputs("car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,"
               "date_added,tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand\n",
               out);
    std::tm day{};
    day.tm_year = 1990 - 1900;
    day.tm_mon = 0;
    day.tm_mday = 1;
    double odometer = 10000;
    for (int i = 0; i < rows; ++i) {
        std::tm when = day;
        when.tm_mday += i; // mktime carries the days into months and years
        std::mktime(&when);
        const double miles =
            100 + (i * 37) % 90; // the odometer stays within a Single's whole miles
        odometer += miles;
        const double gallons = 8 + ((i * 13) % 50) / 10.0;
        const double price = 2.5 + ((i * 7) % 150) / 100.0;
        std::fprintf(out,
                     "Family Car,Civic,%.2f,%.0f,%.0f,%.3f,%.3f,50,%02d/%02d/%04d 0:00,,"
                     "commute,\"fill %d, pump 4\",0,%d,,,Shell\n",
                     miles / gallons, odometer, miles, gallons, price, when.tm_mon + 1,
                     when.tm_mday, when.tm_year + 1900, i, i % 10 == 9 ? 1 : 0);
    }
    if (std::fclose(out) != 0)
        throw std::runtime_error("cannot write " + path);
}

} // namespace bench
