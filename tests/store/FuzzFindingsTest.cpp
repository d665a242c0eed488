// Inputs that once broke the conversions' promises, kept so they stay fixed.
#include "store/Definitions.h"
#include "store/ValueConversion.h"

#include <QDate>
#include <QDateTime>
#include <QUrl>
#include <gtest/gtest.h>

using namespace store;

namespace {

const FieldDef notes(QStringLiteral("WorkOrderMemo"), FieldType::Memo);
const FieldDef city(QStringLiteral("FuelCity"), FieldType::Text, 20);

} // namespace

// Text fields take no zero-length text; a value of another kind that reads as
// empty text must become no value, not an empty string that would be stored.
TEST(FuzzFindings, ValuesThatReadAsEmptyTextAreNoValueInTextFields) {
    for (const FieldDef& field : {notes, city}) {
        EXPECT_TRUE(toFieldValue(field, QDateTime()).isNull()) << field.name.toStdString();
        EXPECT_TRUE(toFieldValue(field, QDate()).isNull()) << field.name.toStdString();
        EXPECT_TRUE(toFieldValue(field, QUrl()).isNull()) << field.name.toStdString();
        EXPECT_TRUE(toStorage(field, QDateTime()).isNull()) << field.name.toStdString();
    }
}
