#include "FileSnapshot.h"

#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/ValueConversion.h"

namespace crash {

using namespace store;

namespace {

QString tableName(const QString& name) {
    return QLatin1String(schema::table(name).name);
}

QString keyOf(const QString& table) {
    return QString::fromLatin1(schema::table(table).keyField).toLower();
}

QString shownRow(const Row& row) {
    QStringList parts;
    for (auto it = row.begin(); it != row.end(); ++it)
        parts << it.key() + QLatin1Char('=') + it.value().left(40);
    return parts.join(QLatin1String(", "));
}

void deleteWithDependents(Snapshot& snapshot, const QString& table, qint64 key) {
    const auto found = snapshot[table].find(key);
    if (found == snapshot[table].end())
        return;
    const Row row = found->second;
    snapshot[table].erase(found);
    for (const schema::RelationLayout& relation : schema::relations()) {
        if (tableName(QLatin1String(relation.table)) != table)
            continue;
        const QString field = QString::fromLatin1(relation.field).toLower();
        const QString foreign = tableName(QLatin1String(relation.foreignTable));
        std::vector<qint64> dependents;
        for (const auto& [dependentKey, dependent] : snapshot[foreign])
            if (dependent.value(field) == row.value(field))
                dependents.push_back(dependentKey);
        for (qint64 dependentKey : dependents)
            deleteWithDependents(snapshot, foreign, dependentKey);
    }
}

} // namespace

Snapshot readSnapshot(const QString& path) {
    auto db = Database::OpenDatabase(path);
    Snapshot snapshot;
    for (const schema::TableLayout& layout : schema::tables()) {
        const QString table = QLatin1String(layout.name);
        Rows& rows = snapshot[table];
        auto rs = db->OpenRecordset(table);
        const QStringList fields = rs->fieldNames();
        for (; !rs->isEOF(); rs->MoveNext()) {
            Row row;
            for (const QString& name : fields)
                row.insert(name.toLower(),
                           displayText(FieldDef(name, rs->fieldType(name)), rs->value(name)));
            rows[rs->value(QLatin1String(layout.keyField)).toLongLong()] = row;
        }
    }
    return snapshot;
}

bool applyStep(Snapshot& snapshot, const Step& step, QString* why) {
    const QString table = tableName(step.table);
    Rows& rows = snapshot[table];
    switch (step.kind) {
    case Step::Kind::Add: {
        if (rows.count(step.key)) {
            *why = QStringLiteral("key %1 of %2 given twice").arg(step.key).arg(table);
            return false;
        }
        Row row;
        for (const schema::FieldLayout& field : schema::table(table).fields)
            row.insert(QString::fromLatin1(field.name).toLower(), QString());
        for (const auto& [field, value] : step.fields)
            row.insert(field.toLower(), value);
        row.insert(keyOf(table), QString::number(step.key));
        rows[step.key] = row;
        return true;
    }
    case Step::Kind::Edit: {
        const auto found = rows.find(step.key);
        if (found == rows.end()) {
            *why = QStringLiteral("edited %1 row %2 is not there").arg(table).arg(step.key);
            return false;
        }
        for (const auto& [field, value] : step.fields)
            found->second.insert(field.toLower(), value);
        return true;
    }
    case Step::Kind::Delete:
        if (!rows.count(step.key)) {
            *why = QStringLiteral("deleted %1 row %2 is not there").arg(table).arg(step.key);
            return false;
        }
        deleteWithDependents(snapshot, table, step.key);
        return true;
    }
    return false;
}

qint64 addedKey(const Snapshot& before, const Snapshot& after, const QString& table) {
    const QString name = tableName(table);
    const auto rowsOf = [&](const Snapshot& s) {
        const auto it = s.find(name);
        return it == s.end() ? Rows() : it->second;
    };
    const Rows old = rowsOf(before);
    qint64 added = 0;
    for (const auto& [key, row] : rowsOf(after)) {
        if (old.count(key))
            continue;
        if (added)
            return 0;
        added = key;
    }
    return added;
}

QString difference(const Snapshot& expected, const Snapshot& actual) {
    for (const schema::TableLayout& layout : schema::tables()) {
        const QString table = QLatin1String(layout.name);
        const Rows none;
        const auto e = expected.find(table);
        const auto a = actual.find(table);
        const Rows& want = e == expected.end() ? none : e->second;
        const Rows& have = a == actual.end() ? none : a->second;
        for (const auto& [key, row] : want) {
            const auto it = have.find(key);
            if (it == have.end())
                return QStringLiteral("%1 row %2 is missing: %3")
                    .arg(table)
                    .arg(key)
                    .arg(shownRow(row));
            if (it->second != row)
                return QStringLiteral("%1 row %2 differs:\n  expected %3\n  found    %4")
                    .arg(table)
                    .arg(key)
                    .arg(shownRow(row), shownRow(it->second));
        }
        for (const auto& [key, row] : have)
            if (!want.count(key))
                return QStringLiteral("%1 row %2 should not be there: %3")
                    .arg(table)
                    .arg(key)
                    .arg(shownRow(row));
    }
    return QString();
}

int rowCount(const Snapshot& snapshot) {
    int count = 0;
    for (const auto& [table, rows] : snapshot)
        count += int(rows.size());
    return count;
}

} // namespace crash
