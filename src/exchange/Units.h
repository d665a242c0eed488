#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The units other programs' files come in and their conversion to the store's US
// gallons and miles, with the exact factors.
namespace exchange {

enum class VolumeUnit { UsGallons, UkGallons, Litres };
enum class DistanceUnit { Miles, Kilometres };

inline constexpr double kLitresPerUsGallon = 3.785411784;
inline constexpr double kLitresPerUkGallon = 4.54609;
inline constexpr double kKilometresPerMile = 1.609344;

double toUsGallons(double volume, VolumeUnit unit);
double toMiles(double distance, DistanceUnit unit);

// A unit as files write it: "L", "litres", "liters", "gal", "US gal", "gallons (UK)",
// "Imp gal", "mi", "miles", "km", "Kilometers". Nothing for a unit not known.
std::optional<VolumeUnit> volumeUnitFromText(QStringView text);
std::optional<DistanceUnit> distanceUnitFromText(QStringView text);

// A header that carries its unit, "Odo (km)" or "Fuel (us gallons)": the name before
// the parenthesis, lower case and trimmed, and the unit text inside it (empty when none).
struct HeaderWithUnit {
    QString name;
    QString unit;
};
HeaderWithUnit splitHeaderUnit(QStringView header);

} // namespace exchange
