#include "store/ValueConversion.h"
#include "store/StoreErrors.h"
#include "values/Currency.h"

#include <QTimeZone>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace store;
using namespace values;

namespace {

FieldDef fieldOf(const char* name, FieldType type, int size = 0) {
    FieldDef field;
    field.name = QString::fromLatin1(name);
    field.type = type;
    field.size = size;
    return field;
}

const FieldDef year = fieldOf("VehicleYear", FieldType::Integer);
const FieldDef mileage = fieldOf("Mileage", FieldType::Long);
const FieldDef cost = fieldOf("FuelCost", FieldType::Currency);
const FieldDef gallons = fieldOf("FuelGals", FieldType::Single);
const FieldDef fuelDate = fieldOf("FuelDate", FieldType::Date);
const FieldDef full = fieldOf("FuelFull", FieldType::Boolean);
const FieldDef city = fieldOf("FuelCity", FieldType::Text, 20);
const FieldDef notes = fieldOf("WorkOrderMemo", FieldType::Memo);

// The store error that converting input for field raises; fails the test when none.
platform::AppError errorOf(const FieldDef& field, const QVariant& input) {
    try {
        const QVariant value = toFieldValue(field, input);
        ADD_FAILURE() << "no error for " << input.toString().toStdString() << ", got "
                      << value.toString().toStdString();
    } catch (const platform::AppError& error) {
        return error;
    }
    return platform::AppError(0, QString());
}

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

Currency money(qint64 scaled) {
    return Currency{scaled};
}

} // namespace

TEST(ValueConversion, TextThatIsNoValueNamesTheField) {
    const platform::AppError inYear = errorOf(year, "abc");
    EXPECT_EQ(inYear.number(), errTypeMismatch);
    EXPECT_EQ(inYear.text(), "The value 'abc' is not valid for field 'VehicleYear' "
                             "(a whole number is expected).");

    const platform::AppError inDate = errorOf(fuelDate, "next tuesday");
    EXPECT_EQ(inDate.number(), errTypeMismatch);
    EXPECT_TRUE(inDate.text().contains("'FuelDate'")) << inDate.text().toStdString();
    EXPECT_TRUE(inDate.text().contains("'next tuesday'"));

    for (const char* text : {"2/30/2024", "13/45/2024"}) {
        const platform::AppError error = errorOf(fuelDate, text);
        EXPECT_EQ(error.number(), errTypeMismatch) << text;
        EXPECT_TRUE(error.text().contains(text));
    }
    EXPECT_EQ(errorOf(year, "1.5").number(), errTypeMismatch); // never rounded to a whole number
    EXPECT_EQ(errorOf(year, 2.5).number(), errTypeMismatch);
    EXPECT_EQ(errorOf(mileage, "12abc").number(), errTypeMismatch);
    EXPECT_EQ(errorOf(mileage, "$12").number(), errTypeMismatch); // "$" is for money only
    EXPECT_EQ(errorOf(gallons, "ten").number(), errTypeMismatch);
    EXPECT_EQ(errorOf(gallons, std::numeric_limits<double>::quiet_NaN()).number(), errTypeMismatch);
    EXPECT_EQ(errorOf(full, "maybe").number(), errTypeMismatch);
    EXPECT_EQ(errorOf(fuelDate, 45000).number(), errTypeMismatch);
}

TEST(ValueConversion, WholeNumbersKeepToTheirRange) {
    EXPECT_EQ(toFieldValue(year, "32767"), QVariant(32767));
    EXPECT_EQ(toFieldValue(year, " -32768 "), QVariant(-32768));
    EXPECT_EQ(toFieldValue(year, 1998.0), QVariant(1998));
    EXPECT_EQ(toFieldValue(mileage, "45,000"), QVariant(45000));
    EXPECT_EQ(toFieldValue(mileage, "1e9"), QVariant(1000000000));
    EXPECT_EQ(toFieldValue(mileage, "-2147483648"), QVariant(std::numeric_limits<int>::min()));
    EXPECT_EQ(toFieldValue(mileage, QVariant::fromValue(money(70000))), QVariant(7));

    const platform::AppError tooLarge = errorOf(year, "32768");
    EXPECT_EQ(tooLarge.number(), errOverflow);
    EXPECT_EQ(tooLarge.text(), "The value 32768 is too large for field 'VehicleYear' "
                               "(allowed -32768 to 32767).");
    EXPECT_EQ(errorOf(year, 40000).text(), "The value 40000 is too large for field "
                                           "'VehicleYear' (allowed -32768 to 32767).");
    EXPECT_TRUE(errorOf(year, "-32769").text().contains("too small"));
    for (const QVariant& input :
         {QVariant("1e10"), QVariant("2147483648"), QVariant(qint64(1) << 40),
          QVariant(std::numeric_limits<quint64>::max()), QVariant(1e300),
          QVariant(std::numeric_limits<double>::infinity()), QVariant("1e999999")})
        EXPECT_EQ(errorOf(mileage, input).number(), errOverflow) << input.toString().toStdString();
}

TEST(ValueConversion, CurrencyIsExactFromTextAndRoundedFromDoubles) {
    EXPECT_EQ(toFieldValue(cost, "$1,234.5678").value<Currency>(), money(12345678));
    EXPECT_EQ(toFieldValue(cost, "($5.00)").value<Currency>(), money(-50000));
    EXPECT_EQ(toFieldValue(cost, 2.675).value<Currency>(), money(26750));
    EXPECT_EQ(toFieldValue(cost, 0.1f).value<Currency>(), money(1000));
    EXPECT_EQ(toFieldValue(cost, 12).value<Currency>(), money(120000));

    const platform::AppError tooPrecise = errorOf(cost, "12.34567");
    EXPECT_EQ(tooPrecise.number(), errTypeMismatch);
    EXPECT_EQ(tooPrecise.text(), "The value '12.34567' is not valid for field 'FuelCost' "
                                 "(at most four decimal places are kept).");
    EXPECT_EQ(errorOf(cost, "twelve").number(), errTypeMismatch);

    const platform::AppError tooLarge = errorOf(cost, "$1,000,000,000,000,000");
    EXPECT_EQ(tooLarge.number(), errOverflow);
    EXPECT_TRUE(tooLarge.text().contains("too large for field 'FuelCost'"));
    EXPECT_TRUE(errorOf(cost, "(1e20)").text().contains("too small"));
    EXPECT_TRUE(errorOf(cost, -1e20).text().contains("too small"));
    EXPECT_EQ(errorOf(cost, std::numeric_limits<qint64>::max()).number(), errOverflow);
}

TEST(ValueConversion, SingleStaysWithinFloatRange) {
    EXPECT_EQ(toFieldValue(gallons, "12.3"), QVariant(12.3f));
    EXPECT_EQ(toFieldValue(gallons, 1e-50), QVariant(0.0f)); // too small to matter, not an error
    EXPECT_EQ(errorOf(gallons, "1e39").number(), errOverflow);
    EXPECT_TRUE(errorOf(gallons, -1e39).text().contains("too small"));
}

TEST(ValueConversion, DatesFromTextAndFromDateTimes) {
    EXPECT_EQ(toFieldValue(fuelDate, "3/15/2024 8:30 PM"), QVariant(at(2024, 3, 15, 20, 30)));
    EXPECT_EQ(toFieldValue(fuelDate, QDate(2024, 3, 15)), QVariant(at(2024, 3, 15)));
    // The wall-clock time counts, not the instant: no zone shifts a typed date.
    const QDateTime tokyo(QDate(2024, 3, 15), QTime(8, 30), QTimeZone("Asia/Tokyo"));
    EXPECT_EQ(toFieldValue(fuelDate, tokyo), QVariant(at(2024, 3, 15, 8, 30)));

    const platform::AppError early = errorOf(fuelDate, "1/1/0099");
    EXPECT_EQ(early.number(), errOverflow);
    EXPECT_TRUE(early.text().contains("'FuelDate'"));
    EXPECT_TRUE(early.text().contains("100 to 9999"));
}

TEST(ValueConversion, TextLengthCountsCharacters) {
    EXPECT_EQ(toFieldValue(city, QString(20, u'x')), QVariant(QString(20, u'x')));
    const platform::AppError tooLong = errorOf(city, "Llanfairpwllgwyngyllx");
    EXPECT_EQ(tooLong.number(), errFieldTooSmall);
    EXPECT_EQ(tooLong.text(), "The text for field 'FuelCity' is 21 characters long; the "
                              "field holds at most 20.");
    // A character outside the basic plane takes two UTF-16 units but is one character.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x9A\x97");
    EXPECT_NO_THROW(toFieldValue(city, emoji.repeated(20)));
    EXPECT_EQ(errorOf(city, emoji.repeated(21)).number(), errFieldTooSmall);

    const QString longNotes(100000, u'n');
    EXPECT_EQ(toFieldValue(notes, longNotes), QVariant(longNotes));
    EXPECT_EQ(toFieldValue(city, 42), QVariant(QStringLiteral("42")));
    EXPECT_EQ(toFieldValue(city, 0.1), QVariant(QStringLiteral("0.1")));
}

TEST(ValueConversion, EmptyTextIsNoValue) {
    for (const FieldDef& field : {year, mileage, cost, gallons, fuelDate, city, notes}) {
        EXPECT_TRUE(toFieldValue(field, QString()).isNull()) << field.name.toStdString();
        EXPECT_TRUE(toFieldValue(field, "").isNull()) << field.name.toStdString();
        EXPECT_TRUE(toFieldValue(field, QVariant()).isNull()) << field.name.toStdString();
        EXPECT_TRUE(toStorage(field, "").isNull()) << field.name.toStdString();
    }
    EXPECT_TRUE(toFieldValue(year, "   ").isNull());
    EXPECT_EQ(toFieldValue(city, "  "), QVariant(QStringLiteral("  "))); // text is kept as typed
}

// A Yes/No field holds Yes or No: no value, given or stored, is No.
TEST(ValueConversion, ABooleanIsNeverNull) {
    for (const QVariant& none : {QVariant(), QVariant(QString()), QVariant(""), QVariant("  ")}) {
        EXPECT_EQ(toFieldValue(full, none), QVariant(false)) << none.toString().toStdString();
        EXPECT_EQ(toStorage(full, none), QVariant(qint64(0))) << none.toString().toStdString();
    }
    EXPECT_EQ(fromStorage(full, QVariant()), QVariant(false));
    EXPECT_EQ(displayText(full, fromStorage(full, QVariant())), QStringLiteral("False"));
}

TEST(ValueConversion, BooleanWordsAndNumbers) {
    for (const char* text : {"True", "yes", "ON", "-1", "1"})
        EXPECT_EQ(toFieldValue(full, text), QVariant(true)) << text;
    for (const char* text : {"false", "No", "0"})
        EXPECT_EQ(toFieldValue(full, text), QVariant(false)) << text;
    EXPECT_EQ(toFieldValue(full, true), QVariant(true));
    EXPECT_EQ(toFieldValue(full, 0), QVariant(false));
}

TEST(ValueConversion, DisplayTextReadsBackAsTheSameValue) {
    const QList<QPair<FieldDef, QVariant>> values = {
        {year, -32768},
        {mileage, 123456},
        {cost, QVariant::fromValue(money(125000))},
        {cost, QVariant::fromValue(money(-1))},
        {cost, QVariant::fromValue(money(std::numeric_limits<qint64>::min()))},
        {gallons, 12.3f},
        {gallons, 0.1f},
        {gallons, 3.4e38f},
        {fuelDate, at(2024, 3, 15)},
        {fuelDate, at(2024, 3, 15, 0, 0, 1)},
        {fuelDate, at(2024, 3, 15, 12, 30)},
        {fuelDate, at(100, 1, 1, 23, 59, 59)},
        {full, true},
        {full, false},
        {city, QStringLiteral("Springfield")},
        {notes, QStringLiteral("Oil changed.\nTires rotated.")},
    };
    for (const auto& [field, value] : values) {
        const QString shown = displayText(field, value);
        EXPECT_EQ(toFieldValue(field, shown), value)
            << field.name.toStdString() << ": " << shown.toStdString();
    }
    EXPECT_EQ(displayText(cost, QVariant::fromValue(money(125000))), "12.5");
    EXPECT_EQ(displayText(gallons, 12.3f), "12.3");
    EXPECT_EQ(displayText(fuelDate, at(2024, 3, 5)), "3/5/2024");
    EXPECT_EQ(displayText(fuelDate, at(2024, 3, 5, 20, 5, 9)), "3/5/2024 8:05:09 PM");
    EXPECT_EQ(displayText(fuelDate, at(2024, 3, 5, 0, 5)), "3/5/2024 12:05:00 AM");
    EXPECT_EQ(displayText(full, true), "True");
    EXPECT_EQ(displayText(year, QVariant()), "");
}

TEST(ValueConversion, StorageFormsAndRoundTrips) {
    EXPECT_EQ(toStorage(full, true), QVariant(qint64(-1)));
    EXPECT_EQ(toStorage(full, false), QVariant(qint64(0)));
    EXPECT_EQ(toStorage(year, "1998"), QVariant(qint64(1998)));
    EXPECT_EQ(toStorage(cost, "$12.50"), QVariant(qint64(125000)));
    EXPECT_EQ(toStorage(gallons, 12.3f), QVariant(double(12.3f)));
    EXPECT_EQ(toStorage(fuelDate, at(2024, 3, 5, 8, 30, 15)), QVariant("2024-03-05 08:30:15"));
    EXPECT_EQ(toStorage(fuelDate, at(100, 1, 2)), QVariant("0100-01-02 00:00:00"));
    EXPECT_EQ(errorOf(year, "x").number(), errTypeMismatch);
    EXPECT_THROW(toStorage(city, QString(21, u'c')), platform::AppError); // checked on the way in

    const QList<QPair<FieldDef, QVariant>> values = {
        {full, true},
        {full, false},
        {year, 1998},
        {mileage, std::numeric_limits<int>::max()},
        {cost, QVariant::fromValue(money(std::numeric_limits<qint64>::max()))},
        {gallons, 10.7f},
        {fuelDate, at(9999, 12, 31, 23, 59, 59)},
        {city, "Bowling Green"},
        {notes, "Brakes"},
    };
    for (const auto& [field, value] : values)
        EXPECT_EQ(fromStorage(field, toStorage(field, value)), value) << field.name.toStdString();
}

TEST(ValueConversion, ValuesWrittenByOtherToolsAreReadSensibly) {
    EXPECT_EQ(fromStorage(cost, 12.5).value<Currency>(), money(125000)); // a real is the amount
    EXPECT_EQ(fromStorage(cost, "12.50").value<Currency>(), money(125000));
    EXPECT_EQ(fromStorage(mileage, 3.0), QVariant(3));
    EXPECT_EQ(fromStorage(mileage, " 42 "), QVariant(42));
    EXPECT_EQ(fromStorage(full, qint64(1)), QVariant(true));
    EXPECT_EQ(fromStorage(gallons, qint64(5)), QVariant(5.0f));
    EXPECT_EQ(fromStorage(fuelDate, "2024-03-15T08:30:00.250Z"), QVariant(at(2024, 3, 15, 8, 30)));
    EXPECT_EQ(fromStorage(fuelDate, "2024-03-15"), QVariant(at(2024, 3, 15)));
    EXPECT_EQ(fromStorage(city, qint64(42)), QVariant("42"));
    EXPECT_TRUE(fromStorage(city, "").isNull());
    // Reading never cuts: a text longer than the field comes back whole.
    EXPECT_EQ(fromStorage(city, QString(30, u'c')), QVariant(QString(30, u'c')));

    for (const auto& [field, stored] :
         QList<QPair<FieldDef, QVariant>>{{mileage, "abc"},
                                          {mileage, 2.5},
                                          {fuelDate, qint64(45000)},
                                          {fuelDate, "yesterday"},
                                          {cost, QByteArray("\x01\x02")}}) {
        try {
            fromStorage(field, stored);
            ADD_FAILURE() << "no error for " << field.name.toStdString();
        } catch (const platform::AppError& error) {
            EXPECT_EQ(error.number(), errTypeMismatch) << field.name.toStdString();
            EXPECT_TRUE(error.text().contains(field.name));
        }
    }
    EXPECT_THROW(fromStorage(year, qint64(99999)), platform::AppError);
}

TEST(ValueConversion, StoredValuesAreReadAsTheirFieldTypes) {
    EXPECT_EQ(fromStorage(year, qint64(-32768)), QVariant(-32768));
    EXPECT_EQ(fromStorage(year, qint64(1998)).typeId(), QMetaType::Int);
    EXPECT_EQ(fromStorage(mileage, qint64(std::numeric_limits<int>::min())),
              QVariant(std::numeric_limits<int>::min()));
    EXPECT_EQ(fromStorage(full, qint64(-1)), QVariant(true));
    EXPECT_EQ(fromStorage(full, qint64(0)), QVariant(false));
    EXPECT_EQ(fromStorage(full, qint64(2)), QVariant(true));
    EXPECT_EQ(fromStorage(gallons, double(12.3f)), QVariant(12.3f));
    const QVariant zero = fromStorage(gallons, -0.0);
    EXPECT_EQ(zero.typeId(), QMetaType::Float);
    EXPECT_FALSE(std::signbit(zero.toFloat())); // no "-0" in the gallons box
    const QVariant date = fromStorage(fuelDate, "2024-03-05 08:30:15");
    EXPECT_EQ(date, QVariant(at(2024, 3, 5, 8, 30, 15)));
    EXPECT_EQ(date.toDateTime().timeSpec(), Qt::UTC);
}

TEST(ValueConversion, StoredValuesThatDoNotFitTheFieldFailNamingIt) {
    // Written by another tool: refused on reading just as on typing.
    const QList<QPair<FieldDef, QVariant>> overflows = {
        {year, qint64(40000)},
        {year, qint64(-32769)},
        {mileage, qint64(std::numeric_limits<int>::max()) + 1},
        {gallons, 1e39},
        {gallons, -std::numeric_limits<double>::infinity()},
        {fuelDate, "0050-01-01 00:00:00"},
    };
    for (const auto& [field, stored] : overflows) {
        try {
            fromStorage(field, stored);
            ADD_FAILURE() << "no error for " << stored.toString().toStdString();
        } catch (const platform::AppError& error) {
            EXPECT_EQ(error.number(), errOverflow) << stored.toString().toStdString();
            EXPECT_TRUE(error.text().contains(field.name));
        }
    }
    EXPECT_THROW(fromStorage(gallons, std::numeric_limits<double>::quiet_NaN()),
                 platform::AppError);
    try {
        fromStorage(fuelDate, "2023-02-29 00:00:00");
        ADD_FAILURE() << "no error for a day that does not exist";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), errTypeMismatch);
    }
}

TEST(ValueConversion, SqlTypeNamesReadBack) {
    EXPECT_EQ(sqlTypeName(city), "VARCHAR(20)");
    EXPECT_EQ(sqlTypeName(fieldOf("Lookup", FieldType::Text)), "VARCHAR(255)");
    for (const FieldDef& field : {year, mileage, cost, gallons, fuelDate, full, city, notes}) {
        FieldType type = FieldType::Memo;
        int size = -1;
        ASSERT_TRUE(fieldTypeFromSql(sqlTypeName(field), &type, &size)) << field.name.toStdString();
        EXPECT_EQ(type, field.type) << field.name.toStdString();
        if (field.type == FieldType::Text) {
            EXPECT_EQ(size, 20);
        }
    }
    FieldType type = FieldType::Memo;
    int size = 0;
    EXPECT_TRUE(fieldTypeFromSql(" varchar ( 50 ) ", &type, &size));
    EXPECT_EQ(type, FieldType::Text);
    EXPECT_EQ(size, 50);
    EXPECT_TRUE(fieldTypeFromSql("smallint", &type, &size));
    EXPECT_EQ(type, FieldType::Integer);
    EXPECT_EQ(size, 2);
    for (const char* declared : {"BLOB", "", "VARCHAR(0)", "VARCHAR", "TEXT", "INTEGERS"})
        EXPECT_FALSE(fieldTypeFromSql(declared, &type, &size)) << declared;
    // Older files declare Date and Memo columns so.
    EXPECT_TRUE(fieldTypeFromSql("DATETIME", &type, &size));
    EXPECT_EQ(type, FieldType::Date);
    EXPECT_TRUE(fieldTypeFromSql("memo", &type, &size));
    EXPECT_EQ(type, FieldType::Memo);
    EXPECT_TRUE(fieldTypeFromSql("Memo  Text", &type, &size));
    EXPECT_EQ(type, FieldType::Memo);
}

// SQLite converts what a column stores by its declared type: every field whose
// values are text must be declared with TEXT affinity, the numbers need not be.
TEST(ValueConversion, TextFieldsAreDeclaredWithTextAffinity) {
    const QList<QPair<FieldDef, const char*>> samples = {
        {year, "1"}, {mileage, "1"},         {cost, "1"}, {gallons, "1"},
        {full, "1"}, {fuelDate, "1/1/2024"}, {city, "1"}, {notes, "1"},
    };
    for (const auto& [field, sample] : samples) {
        const bool holdsText = toStorage(field, sample).typeId() == QMetaType::QString;
        EXPECT_EQ(hasTextAffinity(sqlTypeName(field)), holdsText) << field.name.toStdString();
    }
    const QList<QPair<const char*, bool>> affinities = {
        {"VARCHAR(20)", true},      {"MEMO TEXT", true}, {"CLOB", true},
        {"NATIVE CHARACTER", true}, {"MEMO", false},     {"DATETIME", false},
        {"INTEGER", false},         {"CHARINT", false},  {"", false},
    };
    for (const auto& [declared, text] : affinities)
        EXPECT_EQ(hasTextAffinity(declared), text) << declared;
}
