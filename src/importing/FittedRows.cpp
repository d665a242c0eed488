#include "FittedRows.h"

#include "store/Schema.h"
#include "values/DateText.h"
#include "values/NumberText.h"

#include <cmath>
#include <limits>

namespace importing {

namespace {

// The text as a warning quotes it: long texts shortened, so that the list stays readable.
QString quotedValue(const QString& text) {
    constexpr int kLongest = 60;
    return QLatin1Char('\'') +
           (text.size() > kLongest ? text.left(kLongest) + QStringLiteral("...") : text) +
           QLatin1Char('\'');
}

QString numberText(double value) {
    return values::shortestText(value);
}

// A text longer than its field is cut to it; the warning tells where the whole text goes.
QString fitText(const QString& text, const QString& field, int size, const QString& keptWhere,
                QStringList& warnings, bool* cut = nullptr) {
    if (characterCount(text) <= size) {
        if (cut)
            *cut = false;
        return text;
    }
    if (cut)
        *cut = true;
    const QString stored = cutToCharacters(text, size);
    warnings << QStringLiteral("%1 %2 is longer than %3 characters: %4 is stored, %5")
                    .arg(field, quotedValue(text))
                    .arg(size)
                    .arg(quotedValue(stored), keptWhere);
    return stored;
}

// Gallons and odometer: a Single that is not negative.
QString singleProblem(const std::optional<double>& value, const QString& field) {
    if (!value)
        return {};
    if (!std::isfinite(*value))
        return QStringLiteral("%1 is not a number").arg(field);
    if (*value < 0)
        return QStringLiteral("%1 %2 is negative").arg(field, numberText(*value));
    if (!std::isfinite(float(*value)))
        return QStringLiteral("%1 %2 is beyond the largest number the field holds (%3)")
            .arg(field, numberText(*value), numberText(std::numeric_limits<float>::max()));
    return {};
}

// The date as the store keeps it (seconds, years 100 to 9999), or why there is none.
QString dateProblem(const std::optional<QDateTime>& date, QDateTime* stored) {
    if (!date || !date->isValid())
        return QStringLiteral("no date");
    const values::DateResult checked = values::checkedDateTime(date->date(), date->time());
    if (checked.problem == values::DateProblem::OutOfRange)
        return QStringLiteral("date %1 is outside the years %2 to %3")
            .arg(date->date().toString(QStringLiteral("M/d/yyyy")))
            .arg(values::kFirstYear)
            .arg(values::kLastYear);
    if (!checked.ok())
        return QStringLiteral("date is not a day");
    *stored = checked.value;
    return {};
}

QString stateCodeOf(const QString& state, QStringList& warnings, QString* whole) {
    if (state.isEmpty() || characterCount(state) == textFieldSize("Fuel", "FuelState"))
        return state;
    *whole = state;
    warnings << QStringLiteral("State %1 is not a %2-letter state code: the State is left "
                               "empty, the whole text kept aside")
                    .arg(quotedValue(state))
                    .arg(textFieldSize("Fuel", "FuelState"));
    return QString();
}

} // namespace

int textFieldSize(const char* table, const char* field) {
    for (const store::schema::FieldLayout& layout :
         store::schema::table(QLatin1String(table)).fields)
        if (qstrcmp(layout.name, field) == 0)
            return layout.size;
    return 0;
}

qsizetype characterCount(const QString& text) {
    qsizetype count = text.size();
    for (qsizetype i = 1; i < text.size(); ++i)
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
            --count;
    return count;
}

QString cutToCharacters(const QString& text, qsizetype size) {
    qsizetype units = 0;
    for (qsizetype taken = 0; taken < size && units < text.size(); ++taken)
        units += text[units].isHighSurrogate() && units + 1 < text.size() &&
                         text[units + 1].isLowSurrogate()
                     ? 2
                     : 1;
    return text.left(units);
}

FittedFuel fitFuel(const exchange::ImportedFuel& row) {
    static const int citySize = textFieldSize("Fuel", "FuelCity");
    FittedFuel fitted;
    fitted.refusal = dateProblem(row.date, &fitted.date);
    if (fitted.refusal.isEmpty())
        fitted.refusal = singleProblem(row.gallons, QStringLiteral("gallons"));
    if (fitted.refusal.isEmpty())
        fitted.refusal = singleProblem(row.odometer, QStringLiteral("odometer"));
    if (!fitted.refusal.isEmpty())
        return fitted;
    if (row.gallons)
        fitted.gallons = float(*row.gallons);
    if (row.odometer)
        fitted.odometer = float(*row.odometer);
    fitted.full = row.full;
    fitted.missed = row.missed;
    fitted.cost = row.cost;
    bool cityCut = false;
    fitted.city = fitText(row.city, QStringLiteral("City"), citySize,
                          QStringLiteral("the whole text kept aside"), fitted.warnings, &cityCut);
    if (cityCut)
        fitted.extra.city = row.city;
    fitted.state = stateCodeOf(row.state, fitted.warnings, &fitted.extra.state);
    fitted.extra.note = row.note;
    fitted.extra.tags = row.tags;
    fitted.extra.station = row.station;
    return fitted;
}

FittedWorkOrder fitWorkOrder(const exchange::ImportedWorkOrder& row) {
    static const int serviceSize = textFieldSize("WorkDone", "WorkDescription");
    static const int numberSize = textFieldSize("PartsUsed", "PartNum");
    static const int descriptionSize = textFieldSize("PartsUsed", "PartDescription");
    FittedWorkOrder fitted;
    fitted.refusal = dateProblem(row.date, &fitted.date);
    if (fitted.refusal.isEmpty() && row.mileage &&
        (*row.mileage < 0 || *row.mileage > std::numeric_limits<qint32>::max()))
        fitted.refusal = *row.mileage < 0
                             ? QStringLiteral("mileage %1 is negative").arg(*row.mileage)
                             : QStringLiteral("mileage %1 is beyond the largest the field holds "
                                              "(%2)")
                                   .arg(*row.mileage)
                                   .arg(std::numeric_limits<qint32>::max());
    for (qsizetype i = 0; fitted.refusal.isEmpty() && i < qsizetype(row.parts.size()); ++i) {
        const std::optional<int>& qty = row.parts[size_t(i)].qty;
        if (qty && (*qty < std::numeric_limits<qint16>::min() ||
                    *qty > std::numeric_limits<qint16>::max()))
            fitted.refusal = QStringLiteral("part %1: quantity %2 is beyond what the field "
                                            "holds (%3 to %4)")
                                 .arg(i + 1)
                                 .arg(*qty)
                                 .arg(std::numeric_limits<qint16>::min())
                                 .arg(std::numeric_limits<qint16>::max());
    }
    if (!fitted.refusal.isEmpty())
        return fitted;
    fitted.mileage = row.mileage;
    QStringList wholeTexts; // lines for the note
    const QString toNote = QStringLiteral("the whole text added to the note");
    const auto fit = [&](const QString& text, const QString& field, int size,
                         const QString& lineName) {
        bool cut = false;
        const QString stored = fitText(text, field, size, toNote, fitted.warnings, &cut);
        if (cut)
            wholeTexts << QStringLiteral("%1 in full: %2").arg(lineName, text);
        return stored;
    };
    for (const QString& service : row.services)
        fitted.services << fit(service, QStringLiteral("Service"), serviceSize,
                               QStringLiteral("Service"));
    for (const exchange::ImportedPart& part : row.parts)
        fitted.parts.push_back(FittedPart{fit(part.number, QStringLiteral("Part number"),
                                              numberSize, QStringLiteral("Part number")),
                                          fit(part.description, QStringLiteral("Part description"),
                                              descriptionSize, QStringLiteral("Part description")),
                                          part.cost, part.qty});
    fitted.note = row.note;
    if (!wholeTexts.isEmpty()) {
        const QString lines = wholeTexts.join(QLatin1Char('\n'));
        fitted.note = fitted.note && !fitted.note->isEmpty() ? *fitted.note + u'\n' + lines : lines;
    }
    fitted.extra.tags = row.tags;
    return fitted;
}

FittedVehicle fitVehicle(const exchange::ImportedVehicle& vehicle) {
    static const int makeSize = textFieldSize("VehicleInfo", "VehicleMake");
    static const int modelSize = textFieldSize("VehicleInfo", "VehicleModel");
    static const int serialSize = textFieldSize("VehicleInfo", "VehicleSerialNum");
    FittedVehicle fitted;
    const QString keptAside = QStringLiteral("the whole text kept aside");
    bool cut = false;
    fitted.make =
        fitText(vehicle.make, QStringLiteral("Make"), makeSize, keptAside, fitted.warnings, &cut);
    if (cut)
        fitted.extra.make = vehicle.make;
    fitted.model = fitText(vehicle.model, QStringLiteral("Model"), modelSize, keptAside,
                           fitted.warnings, &cut);
    if (cut)
        fitted.extra.model = vehicle.model;
    fitted.serialNum = fitText(vehicle.serialNum, QStringLiteral("Serial number"), serialSize,
                               keptAside, fitted.warnings, &cut);
    if (cut)
        fitted.extra.serialNum = vehicle.serialNum;
    if (vehicle.year && (*vehicle.year < std::numeric_limits<qint16>::min() ||
                         *vehicle.year > std::numeric_limits<qint16>::max()))
        fitted.warnings << QStringLiteral("Year %1 is beyond what the field holds: the Year is "
                                          "left empty")
                               .arg(*vehicle.year);
    else
        fitted.year = vehicle.year;
    return fitted;
}

} // namespace importing
