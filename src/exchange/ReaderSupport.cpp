#include "ReaderSupport.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace exchange {

HeaderIndex::HeaderIndex(const QStringList& header) {
    names_.reserve(header.size());
    for (const QString& name : header)
        names_.append(name.trimmed().toLower());
}

int HeaderIndex::column(const char* name) const {
    return int(names_.indexOf(QLatin1String(name)));
}

int HeaderIndex::firstOf(std::initializer_list<const char*> names) const {
    for (const char* name : names) {
        const int at = column(name);
        if (at >= 0)
            return at;
    }
    return -1;
}

QString RowReader::text(int column) const {
    if (column < 0 || column >= record_.fields.size())
        return QString();
    return record_.fields[column].trimmed();
}

QString RowReader::nullable(int column) const {
    QString value = text(column);
    return value.isEmpty() ? QString() : value;
}

std::optional<double> RowReader::number(int column, const char* field, bool negativeAllowed) {
    const QString value = text(column);
    if (value.isEmpty())
        return std::nullopt;
    const std::optional<double> number = parseFieldNumber(value, mark_);
    if (!number || !std::isfinite(*number)) {
        refuse(QStringLiteral("%1 '%2' is not a number").arg(QLatin1String(field), value));
        return std::nullopt;
    }
    // Beyond any odometer or tank; larger values would not survive the store's integers.
    if (std::fabs(*number) > 1e12) {
        refuse(QStringLiteral("%1 '%2' is too large").arg(QLatin1String(field), value));
        return std::nullopt;
    }
    if (*number < 0 && !negativeAllowed) {
        refuse(QStringLiteral("%1 '%2' is below zero").arg(QLatin1String(field), value));
        return std::nullopt;
    }
    return number;
}

std::optional<values::Currency> RowReader::money(int column, const char* field) {
    const QString value = text(column);
    if (value.isEmpty())
        return std::nullopt;
    const std::optional<values::Currency> amount = parseFieldMoney(value, mark_);
    if (!amount) {
        refuse(QStringLiteral("%1 '%2' is not an amount").arg(QLatin1String(field), value));
        return std::nullopt;
    }
    return amount;
}

std::optional<QDateTime> RowReader::date(int column, DateOrder order, const char* field) {
    return dateText(text(column), order, field);
}

std::optional<QDateTime> RowReader::dateText(const QString& value, DateOrder order,
                                             const char* field) {
    if (value.isEmpty())
        return std::nullopt;
    const FieldDate date = parseFieldDate(value, order);
    switch (date.problem) {
    case FieldDateProblem::None:
        return date.value;
    case FieldDateProblem::NotADate:
        refuse(QStringLiteral("%1 '%2' is not a date").arg(QLatin1String(field), value));
        break;
    case FieldDateProblem::NotADay:
        refuse(QStringLiteral("%1 '%2' is not a day").arg(QLatin1String(field), value));
        break;
    case FieldDateProblem::OutOfRange:
        refuse(QStringLiteral("%1 '%2' is outside the years 100 to 9999")
                   .arg(QLatin1String(field), value));
        break;
    }
    return std::nullopt;
}

std::optional<values::Currency> RowReader::costFromPrice(int priceColumn, values::Currency price,
                                                         double volume) {
    const std::optional<values::Currency> total = totalFromUnitPrice(price, volume);
    if (!total)
        refuse(QStringLiteral("price '%1' times the volume is beyond what money holds")
                   .arg(text(priceColumn)));
    return total;
}

bool RowReader::flag(int column, const char* field, bool otherwise) {
    const QString value = text(column);
    if (value.isEmpty())
        return otherwise;
    const std::optional<bool> flag = parseFieldFlag(value);
    if (!flag) {
        refuse(QStringLiteral("%1 '%2' is not a yes or no").arg(QLatin1String(field), value));
        return otherwise;
    }
    return *flag;
}

void RowReader::refuse(const QString& why) {
    if (problem_.isEmpty())
        problem_ = why;
}

QString fileVehicleName(const QString& path) {
    return QFileInfo(path).completeBaseName();
}

QString fileNameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

size_t noteVehicle(ImportedFile& file, const ImportedVehicle& vehicle) {
    for (size_t i = 0; i < file.vehicles.size(); ++i) {
        if (file.vehicles[i].name == vehicle.name)
            return i;
    }
    file.vehicles.push_back(vehicle);
    return file.vehicles.size() - 1;
}

void warn(ImportedFile& file, int line, const QString& message) {
    file.warnings.push_back({line, message});
}

void refuse(ImportedFile& file, int line, const QString& message) {
    file.refusals.push_back({line, message});
}

std::optional<CsvTable> loadRecords(const QString& path, ImportedFile& file) {
    CsvTable table = loadCsvFile(path);
    if (!table.text.ok()) {
        file.error = table.text.error;
        return std::nullopt;
    }
    if (table.records.empty()) {
        file.error = fileNameOf(path) + QStringLiteral(": the file is empty");
        return std::nullopt;
    }
    return table;
}

void addWorkOrder(ImportedFile& file, RowReader& row, ImportedWorkOrder order) {
    if (!row.refused() && !order.date)
        row.refuse(QStringLiteral("no date"));
    if (row.refused())
        refuse(file, row.line(), row.problem());
    else
        file.workOrders.push_back(std::move(order));
}

std::optional<values::Currency> totalFromUnitPrice(values::Currency price, double volume) {
    const double cents = std::round(price.toDouble() * volume * 100.0);
    if (!std::isfinite(cents) || std::fabs(cents) > 9.0e16)
        return std::nullopt;
    return values::Currency{qint64(cents) * (values::Currency::kScale / 100)};
}

void FuelRows::add(ImportedFile& file, const RowReader& row, ImportedFuel fuel,
                   std::optional<double> tripMiles) {
    QString problem = row.problem();
    if (problem.isEmpty()) {
        if (!fuel.date)
            problem = QStringLiteral("no date");
        else if (!fuel.gallons)
            problem = QStringLiteral("no volume");
        else if (!fuel.odometer && !tripMiles)
            problem = QStringLiteral("no odometer");
    }
    if (!problem.isEmpty())
        refuse(file, row.line(), problem);
    const bool kept = problem.isEmpty();
    if (!kept && (!fuel.date || fuel.odometer || !tripMiles))
        return;
    rows_.push_back(std::move(fuel));
    trips_.push_back(tripMiles);
    kept_.push_back(kept);
}

void FuelRows::finish(ImportedFile& file) {
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
        if (rows_[a].vehicle != rows_[b].vehicle)
            return rows_[a].vehicle < rows_[b].vehicle;
        return *rows_[a].date < *rows_[b].date;
    });
    bool madeFromTrips = false;
    QString vehicle;
    double running = 0;
    for (size_t at = 0; at < order.size(); ++at) {
        ImportedFuel& fuel = rows_[order[at]];
        if (at == 0 || fuel.vehicle != vehicle) {
            vehicle = fuel.vehicle;
            running = 0;
        }
        if (!fuel.odometer) {
            fuel.odometer = running + *trips_[order[at]];
            madeFromTrips = madeFromTrips || kept_[order[at]];
        }
        running = *fuel.odometer;
    }
    if (madeFromTrips)
        warn(file, 0,
             QStringLiteral("odometers were made from trip distances: the running sum in date "
                            "order"));
    file.fuel.reserve(file.fuel.size() + rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (kept_[i])
            file.fuel.push_back(std::move(rows_[i]));
    }
    rows_.clear();
    trips_.clear();
    kept_.clear();
}

ImportedPart costAsPart(const QString& description, values::Currency cost) {
    ImportedPart part;
    part.description = description;
    part.qty = 1;
    part.cost = cost;
    return part;
}

} // namespace exchange
