#include "RandomSteps.h"

#include "platform/AppError.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/StoreErrors.h"
#include "store/ValueConversion.h"

#include <cerrno>
#include <unistd.h>

namespace crash {

using namespace store;

namespace {

// Rows in all tables together before the child starts deleting whole vehicles.
constexpr int kMostRows = 300;
constexpr qint64 kMissingVehicle = 2000000000;

[[noreturn]] void unexpected(const QString& what) {
    throw platform::AppError(0, what);
}

} // namespace

void writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            _exit(3); // the parent is gone
        done += n;
    }
}

RandomSteps::RandomSteps(std::shared_ptr<Database> db, quint64 seed, int reportFd)
    : m_db(std::move(db)), m_random(seed), m_reportFd(reportFd) {
    for (const TableRole& role : tableRoles())
        m_defs.insert(QLatin1String(role.table), *m_db->tableDef(QLatin1String(role.table)));
}

int RandomSteps::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

void RandomSteps::report(Line::Tag tag, const Step& step) const {
    writeAll(m_reportFd, formatLine(tag, step));
}

int RandomSteps::count(const char* table) const {
    return m_db->OpenRecordset(QLatin1String(table))->RecordCount();
}

std::optional<RandomSteps::RowRef> RandomSteps::pickRow(const char* table) {
    const TableRole& role = roleOf(QLatin1String(table));
    auto rs = m_db->OpenRecordset(QLatin1String(table));
    if (rs->RecordCount() == 0)
        return std::nullopt;
    const int target = uniform(0, rs->RecordCount() - 1);
    rs->MoveFirst();
    for (int i = 0; i < target; ++i)
        rs->MoveNext();
    RowRef row;
    row.key = rs->value(QLatin1String(role.keyField)).toLongLong();
    if (*role.ownerField)
        row.owner = rs->value(QLatin1String(role.ownerField)).toLongLong();
    return row;
}

std::unique_ptr<Recordset> RandomSteps::openOwned(const TableRole& role, qint64 owner) const {
    const QString source = QLatin1String(role.source);
    return m_db->OpenRecordset(*role.ownerField ? source.arg(owner) : source);
}

std::unique_ptr<Recordset> RandomSteps::openOn(const TableRole& role, const RowRef& row) const {
    auto rs = openOwned(role, row.owner);
    rs->FindFirst(QString::fromLatin1(role.criteria).arg(row.key));
    if (rs->NoMatch())
        unexpected(QStringLiteral("%1 row %2 is missing from the rows of its owner %3")
                       .arg(QLatin1String(role.table))
                       .arg(row.key)
                       .arg(row.owner));
    return rs;
}

QString RandomSteps::randomText(int longest) {
    static const QString alphabet = QStringLiteral(
        "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789.,-'#/&=\\\t"
        "\u00e9\u00fc\u00f1\u00df\u65e5");
    const int length = uniform(1, longest);
    QString text;
    for (int i = 0; i < length; ++i) {
        if (chance(2))
            text += QStringLiteral("\U0001F697"); // two UTF-16 units, one character
        else
            text += alphabet[uniform(0, int(alphabet.size()) - 1)];
    }
    return text;
}

QString RandomSteps::randomValue(const FieldDef& field) {
    if (chance(12))
        return QString(); // left empty: no value
    switch (field.type) {
    case FieldType::Boolean:
        return chance(50) ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Integer:
        return QString::number(chance(80) ? uniform(1950, 2030) : uniform(-32768, 32767));
    case FieldType::Long:
        return QString::number(uniform(0, 2000000000));
    case FieldType::Currency:
        return chance(70) ? QStringLiteral("$%1.%2").arg(uniform(0, 5000)).arg(uniform(0, 99))
                          : QStringLiteral("%1,%2.%3")
                                .arg(uniform(1, 999))
                                .arg(uniform(0, 999), 3, 10, QLatin1Char('0'))
                                .arg(uniform(0, 9999), 4, 10, QLatin1Char('0'));
    case FieldType::Single:
        return QString::number(uniform(0, 400000) / 10.0 + uniform(0, 999) / 1000.0, 'f', 3);
    case FieldType::Date:
        if (chance(50))
            return QStringLiteral("%1/%2/%3")
                .arg(uniform(1, 12))
                .arg(uniform(1, 28))
                .arg(uniform(1995, 2030));
        return QStringLiteral("%1-%2-%3 %4:%5:%6")
            .arg(uniform(1995, 2030))
            .arg(uniform(1, 12), 2, 10, QLatin1Char('0'))
            .arg(uniform(1, 28), 2, 10, QLatin1Char('0'))
            .arg(uniform(0, 23), 2, 10, QLatin1Char('0'))
            .arg(uniform(0, 59), 2, 10, QLatin1Char('0'))
            .arg(uniform(0, 59), 2, 10, QLatin1Char('0'));
    case FieldType::Text:
        return randomText(field.size);
    case FieldType::Memo:
        // Long notes reach over several pages of the file.
        return randomText(chance(30) ? 1500 : 80);
    }
    return QString();
}

void RandomSteps::write(Recordset& rs, const FieldDef& field, const QString& typed,
                        Step& step) const {
    rs.setValue(field.name, typed);
    step.fields.append({field.name, displayText(field, toFieldValue(field, typed))});
}

void RandomSteps::add(const TableRole& role, qint64 owner) {
    const TableDef& def = m_defs[QLatin1String(role.table)];
    auto rs = openOwned(role, owner);
    rs->AddNew();
    Step step{Step::Kind::Add, QLatin1String(role.table), 0, {}};
    for (const FieldDef& field : def.fields) {
        if (field.attributes & dbAutoIncrField)
            continue;
        if (*role.ownerField &&
            field.name.compare(QLatin1String(role.ownerField), Qt::CaseInsensitive) == 0)
            write(*rs, field, QString::number(owner), step);
        else
            write(*rs, field, randomValue(field), step);
    }
    report(Line::Tag::Try, step);
    rs->Update();
    if (role.autoKey) {
        rs->setBookmark(rs->LastModified());
        step.key = rs->value(QLatin1String(role.keyField)).toLongLong();
    } else {
        step.key = owner;
    }
    report(Line::Tag::Ack, step);
}

void RandomSteps::addNote() {
    const auto order = pickRow("WorkOrder");
    if (!order)
        return;
    const TableRole& role = roleOf(QStringLiteral("WorkOrderMemo"));
    if (openOwned(role, order->key)->RecordCount() > 0)
        edit(role, RowRef{order->key, order->key});
    else
        add(role, order->key);
}

void RandomSteps::edit(const TableRole& role, const RowRef& row) {
    const TableDef& def = m_defs[QLatin1String(role.table)];
    auto rs = openOn(role, row);
    rs->Edit();
    Step step{Step::Kind::Edit, QLatin1String(role.table), row.key, {}};
    const int changes = uniform(1, 3);
    for (int i = 0; i < changes; ++i) {
        const FieldDef& field = def.fields[uniform(0, int(def.fields.size()) - 1)];
        const bool isOwner = *role.ownerField && field.name.compare(QLatin1String(role.ownerField),
                                                                    Qt::CaseInsensitive) == 0;
        if ((field.attributes & dbAutoIncrField) || (isOwner && !role.autoKey))
            continue;
        if (isOwner) {
            // Now and then a row moves to another owner.
            if (const auto owner = pickRow(role.ownerTable))
                write(*rs, field, QString::number(owner->key), step);
        } else {
            write(*rs, field, randomValue(field), step);
        }
    }
    report(Line::Tag::Try, step);
    rs->Update();
    report(Line::Tag::Ack, step);
}

void RandomSteps::remove(const TableRole& role, const RowRef& row) {
    auto rs = openOn(role, row);
    const Step step{Step::Kind::Delete, QLatin1String(role.table), row.key, {}};
    report(Line::Tag::Try, step);
    rs->Delete();
    report(Line::Tag::Ack, step);
}

// Changes the store must refuse, leaving the file as it was.
void RandomSteps::tryRefusedAdd() {
    const bool duplicateNote = chance(50);
    const auto note = pickRow("WorkOrderMemo");
    const TableRole& role =
        roleOf(duplicateNote && note ? QStringLiteral("WorkOrderMemo") : QStringLiteral("Fuel"));
    const qint64 owner = duplicateNote && note ? note->key : kMissingVehicle;
    const int expected = duplicateNote && note ? errDuplicateKey : errRelatedRecordRequired;
    auto rs = m_db->OpenRecordset(QString::fromLatin1(role.source).arg(owner));
    rs->AddNew();
    Step ignored;
    for (const FieldDef& field : m_defs[QLatin1String(role.table)].fields)
        if (field.name.compare(QLatin1String(role.ownerField), Qt::CaseInsensitive) == 0)
            write(*rs, field, QString::number(owner), ignored);
        else if (!(field.attributes & dbAutoIncrField))
            write(*rs, field, randomValue(field), ignored);
    try {
        rs->Update();
    } catch (const platform::AppError& error) {
        if (error.number() != expected)
            throw;
        rs->CancelUpdate();
        return;
    }
    unexpected(QStringLiteral("the store saved a %1 row it should have refused")
                   .arg(QLatin1String(role.table)));
}

void RandomSteps::runOne() {
    const int vehicles = count("VehicleInfo");
    int rows = vehicles;
    for (const char* table : {"Fuel", "WorkOrder", "WorkDone", "PartsUsed", "WorkOrderMemo"})
        rows += count(table);

    if (vehicles == 0)
        return add(roleOf(QStringLiteral("VehicleInfo")), 0);
    if (rows > kMostRows)
        return remove(roleOf(QStringLiteral("VehicleInfo")), *pickRow("VehicleInfo"));

    const int roll = uniform(0, 99);
    const auto addTo = [&](const char* table) {
        const TableRole& role = roleOf(QLatin1String(table));
        if (const auto owner = pickRow(role.ownerTable))
            add(role, owner->key);
    };
    if (roll < 6)
        add(roleOf(QStringLiteral("VehicleInfo")), 0);
    else if (roll < 28)
        addTo("Fuel");
    else if (roll < 38)
        addTo("WorkOrder");
    else if (roll < 47)
        addTo("WorkDone");
    else if (roll < 55)
        addTo("PartsUsed");
    else if (roll < 61)
        addNote();
    else if (roll < 95) {
        const TableRole& role = tableRoles()[size_t(uniform(0, int(tableRoles().size()) - 1))];
        const auto row = pickRow(role.table);
        if (!row)
            return;
        // Vehicles and orders are deleted seldom: each takes its rows with it.
        const bool owner =
            !*role.ownerField || QLatin1String(role.table) == QLatin1String("WorkOrder");
        if (roll < 80 || (owner && !chance(25)))
            edit(role, *row);
        else
            remove(role, *row);
    } else {
        tryRefusedAdd();
    }
}

} // namespace crash
