#include "Units.h"

#include <QStringList>

namespace exchange {

namespace {

// Lower case, spaces collapsed, dots and underscores as spaces: "U.S. gal" is "u s gal".
QString unitKey(QStringView text) {
    QString key = text.toString().toLower();
    key.replace(u'.', u' ').replace(u'_', u' ').replace(u'(', u' ').replace(u')', u' ');
    return key.simplified();
}

} // namespace

double toUsGallons(double volume, VolumeUnit unit) {
    switch (unit) {
    case VolumeUnit::UsGallons:
        return volume;
    case VolumeUnit::UkGallons:
        return volume * kLitresPerUkGallon / kLitresPerUsGallon;
    case VolumeUnit::Litres:
        return volume / kLitresPerUsGallon;
    }
    return volume;
}

double toMiles(double distance, DistanceUnit unit) {
    return unit == DistanceUnit::Kilometres ? distance / kKilometresPerMile : distance;
}

std::optional<VolumeUnit> volumeUnitFromText(QStringView text) {
    static const QStringList litres = {"l", "lt", "ltr", "litre", "litres", "liter", "liters"};
    static const QStringList us = {"gal",       "gals",        "gallon", "gallons",    "us gal",
                                   "us gallon", "us gallons",  "gal us", "gallons us", "gallon us",
                                   "u s gal",   "u s gallons", "usgal"};
    static const QStringList uk = {
        "uk gal",    "uk gallon",   "uk gallons",  "gal uk",           "gallons uk",
        "gallon uk", "imp gal",     "imp gallons", "imperial gallons", "imperial gal",
        "gal imp",   "gallons imp", "ukgal"};
    const QString key = unitKey(text);
    if (litres.contains(key))
        return VolumeUnit::Litres;
    if (us.contains(key))
        return VolumeUnit::UsGallons;
    if (uk.contains(key))
        return VolumeUnit::UkGallons;
    return std::nullopt;
}

std::optional<DistanceUnit> distanceUnitFromText(QStringView text) {
    static const QStringList miles = {"mi", "mile", "miles"};
    static const QStringList km = {"km",         "kms",       "kilometer",
                                   "kilometers", "kilometre", "kilometres"};
    const QString key = unitKey(text);
    if (miles.contains(key))
        return DistanceUnit::Miles;
    if (km.contains(key))
        return DistanceUnit::Kilometres;
    return std::nullopt;
}

HeaderWithUnit splitHeaderUnit(QStringView header) {
    const qsizetype open = header.indexOf(u'(');
    const qsizetype close = header.lastIndexOf(u')');
    if (open < 0 || close < open)
        return {header.trimmed().toString().toLower(), QString()};
    return {header.left(open).trimmed().toString().toLower(),
            header.mid(open + 1, close - open - 1).trimmed().toString()};
}

} // namespace exchange
