// The text layer on real files written from the other programs' own headers: the
// encodings, the delimiters, libcsv's quoting, the line each record starts on, and
// the errors that name the file and the line.
#include "exchange/CsvFile.h"
#include "exchange/Delimiter.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace exchange;

namespace {

class CsvTextTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

QStringList fieldsOf(const char* utf8) {
    return QString::fromUtf8(utf8).split(QLatin1Char('|'));
}

TEST_F(CsvTextTest, FuellyWebExportKeepsEveryColumnAndItsEmptyFields) {
    const CsvTable table = loadCsvFile(write(
        "fuelups.csv",
        "car_name,model,mpg,odometer,miles,gallons,price,city_percentage,fuelup_date,date_added,"
        "tags,notes,missed_fuelup,partial_fuelup,latitude,longitude,brand\n"
        "Civic,Honda,31.2,106421,312.4,10.012,3.459,40,06/12/2021 0:00,06/12/2021 9:14,,,0,0,,,\n"
        "Civic,Honda,,,,8.5,3.519,40,06/20/2021 0:00,06/20/2021 8:02,road trip,,1,1,,,Shell"));
    ASSERT_TRUE(table.text.ok()) << table.text.error.toStdString();
    EXPECT_EQ(table.text.encoding, TextEncoding::Utf8);
    EXPECT_EQ(table.text.delimiter, ',');
    ASSERT_EQ(table.records.size(), 3u);
    for (const CsvRecord& record : table.records)
        EXPECT_EQ(record.fields.size(), 17) << "line " << record.line;
    EXPECT_EQ(table.records[1].fields[8], "06/12/2021 0:00");
    EXPECT_EQ(table.records[1].fields[11], "");
    EXPECT_EQ(table.records[2].fields[2], "");
    EXPECT_EQ(table.records[2].fields[10], "road trip");
    EXPECT_EQ(table.records[2].fields[16], "Shell"); // the last line has no line break
    EXPECT_EQ(table.records[2].line, 3);
}

// The same Spritmonitor lines in each encoding a file comes in.
struct EncodingCase {
    const char* name;
    QByteArray bytes;
    TextEncoding expected;
};

QByteArray encoded(QStringConverter::Encoding encoding, const QString& text) {
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

const QString kSpritmonitor = QString::fromUtf8("Date;Odometer;Trip;Quantity;Total price;Note\r\n"
                                                "02.03.2021;48211;612,5;41,37;57,90;Füllung\r\n");

class EncodingTest : public CsvTextTest, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(EncodingTest, DecodesTheTextAndSaysWhichEncoding) {
    const CsvTable table = loadCsvFile(write("fuelings.csv", GetParam().bytes));
    ASSERT_TRUE(table.text.ok()) << table.text.error.toStdString();
    EXPECT_EQ(table.text.encoding, GetParam().expected);
    EXPECT_EQ(table.text.delimiter, ';');
    ASSERT_EQ(table.records.size(), 2u);
    EXPECT_EQ(table.records[0].fields[0], "Date"); // no byte-order mark left in the name
    EXPECT_EQ(table.records[1].fields, fieldsOf("02.03.2021|48211|612,5|41,37|57,90|Füllung"));
    EXPECT_EQ(table.records[1].line, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EncodingTest,
    ::testing::Values(
        EncodingCase{"Utf8", kSpritmonitor.toUtf8(), TextEncoding::Utf8},
        EncodingCase{"Utf8Bom", "\xEF\xBB\xBF" + kSpritmonitor.toUtf8(), TextEncoding::Utf8WithBom},
        EncodingCase{"Utf16LeBom",
                     encoded(QStringConverter::Utf16LE, QChar(0xFEFF) + kSpritmonitor),
                     TextEncoding::Utf16LE},
        EncodingCase{"Utf16BeBom",
                     encoded(QStringConverter::Utf16BE, QChar(0xFEFF) + kSpritmonitor),
                     TextEncoding::Utf16BE},
        EncodingCase{"Utf16LeWithoutBom", encoded(QStringConverter::Utf16LE, kSpritmonitor),
                     TextEncoding::Utf16LE},
        EncodingCase{"Windows1252", encoded(QStringConverter::Latin1, kSpritmonitor),
                     TextEncoding::Windows1252}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CsvTextTest, Windows1252ReadsItsOwnCharactersAboveLatin1) {
    // 0x80 is the euro sign and 0x93/0x94 curly quotes in Windows-1252, controls in Latin-1.
    const CsvTable table =
        loadCsvFile(write("costs.csv", "Date;Note\n02.03.2021;5 \x80 off \x93w\xfc\x94\n"));
    ASSERT_TRUE(table.text.ok());
    EXPECT_EQ(table.text.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(table.records[1].fields[1], QString::fromUtf8("5 € off “wü”"));
}

TEST_F(CsvTextTest, QuotedFieldsHoldDelimitersQuotesAndLineBreaks) {
    const CsvTable table = loadCsvFile(
        write("notes.csv",
              "\xEF\xBB\xBF"
              "Date,Odometer,Notes\r\n"
              "6/12/2021,\"106,421\",\"new tyres, \"\"winter\"\"\r\nfitted at the dealer\"\r\n"
              "\r\n"
              "6/20/2021,106733,\r\n"));
    ASSERT_TRUE(table.text.ok()) << table.text.error.toStdString();
    ASSERT_EQ(table.records.size(), 3u);
    EXPECT_EQ(
        table.records[1].fields,
        QStringList({"6/12/2021", "106,421", "new tyres, \"winter\"\r\nfitted at the dealer"}));
    EXPECT_EQ(table.records[1].line, 2);
    // The note's line break and the blank line move the last record to line 5.
    EXPECT_EQ(table.records[2].fields, QStringList({"6/20/2021", "106733", ""}));
    EXPECT_EQ(table.records[2].line, 5);
}

// An empty unquoted field is NULL (a null QString), a quoted one empty text, also as
// the very first field of the text and after spaces that are trimmed away.
TEST(CsvNullTest, EmptyUnquotedIsNullAndQuotedEmptyIsText) {
    std::vector<CsvRecord> records;
    const QString error = readCsvRecords(QStringLiteral("\"\",,  ,\"\"\n,\"\"\n\"\"\n"), ',',
                                         [&](const CsvRecord& record) {
                                             records.push_back(record);
                                             return true;
                                         });
    ASSERT_EQ(error, QString());
    ASSERT_EQ(records.size(), 3u);
    const QStringList& first = records[0].fields;
    ASSERT_EQ(first.size(), 4);
    EXPECT_FALSE(first[0].isNull());
    EXPECT_TRUE(first[0].isEmpty());
    EXPECT_TRUE(first[1].isNull());
    EXPECT_TRUE(first[2].isNull());
    EXPECT_FALSE(first[3].isNull());
    EXPECT_TRUE(records[1].fields[0].isNull());
    EXPECT_FALSE(records[1].fields[1].isNull());
    ASSERT_EQ(records[2].fields.size(), 1);
    EXPECT_FALSE(records[2].fields[0].isNull());
}

TEST_F(CsvTextTest, SectionFilesComeRecordByRecordAndTheReadingCanStop) {
    const QString path = write("drivvo.csv", "##Refuelling\n"
                                             "Odometer,Date,Fuel\n"
                                             "48211,2021-03-02 08:15:00,Gasoline\n"
                                             "##Service\n"
                                             "Odometer,Date,Cost\n"
                                             "48500,2021-03-20 10:00:00,89.90\n");
    QStringList seen;
    const CsvFileText text = readCsvFile(path, [&seen](const CsvRecord& record) {
        seen << QStringLiteral("%1:%2").arg(record.line).arg(record.fields.join('|'));
        return !record.fields[0].startsWith("##Service");
    });
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.delimiter, ',');
    EXPECT_EQ(seen, QStringList({"1:##Refuelling", "2:Odometer|Date|Fuel",
                                 "3:48211|2021-03-02 08:15:00|Gasoline", "4:##Service"}));
}

struct BadFileCase {
    const char* name;
    QByteArray bytes;
    const char* message;
    std::vector<int> linesReadFirst; // the records handed on before the error
};

class BadFileTest : public CsvTextTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFileTest, NamesTheFileAndTheLine) {
    std::vector<int> linesRead;
    const CsvFileText text =
        readCsvFile(write("fuel.csv", GetParam().bytes), [&](const CsvRecord& r) {
            linesRead.push_back(r.line);
            return true;
        });
    EXPECT_EQ(text.error.toStdString(), GetParam().message);
    EXPECT_EQ(linesRead, GetParam().linesReadFirst);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(
        BadFileCase{"UnclosedQuote",
                    "Date,Odometer,Notes\n6/12/2021,106421,ok\n6/20/2021,106733,\"oil\nchange\n",
                    "fuel.csv: line 3: a quoted field is not closed",
                    {1, 2}},
        BadFileCase{"QuoteAfterClosingQuote",
                    "Date,Notes\n6/12/2021,\"oil\"x\n",
                    "fuel.csv: line 2: a quote is out of place (a field holding quotes must be "
                    "quoted, with its quotes doubled)",
                    {1}},
        BadFileCase{"QuoteInsideUnquotedField",
                    "Date,Notes\n6/12/2021,ok\r\n6/20/2021,17\" rims\n",
                    "fuel.csv: line 3: a quote is out of place (a field holding quotes must be "
                    "quoted, with its quotes doubled)",
                    {1, 2}},
        BadFileCase{"Binary",
                    QByteArray("Date,Notes\n6/12\0/2021,x\n", 24),
                    "fuel.csv: line 2: not a text file (it holds binary bytes)",
                    {}},
        BadFileCase{"BrokenUtf16",
                    "\xFF\xFE"
                    "D\0a\0t",
                    "fuel.csv: not valid UTF-16 LE text",
                    {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CsvTextTest, AMissingFileCannotBeRead) {
    const CsvTable table = loadCsvFile(dir.filePath("gone.csv"));
    EXPECT_TRUE(table.text.error.startsWith("gone.csv: cannot be read: "))
        << table.text.error.toStdString();
}

TEST(DelimiterTest, CountsOnlyOutsideQuotesOnTheFirstLineHoldingOne) {
    EXPECT_EQ(detectDelimiter(u"\"a;b;c\",\"d;e\"\n1;2;3;4"), ',');
    EXPECT_EQ(detectDelimiter(u"\"## Vehicle\"\nName;Make;Model"), ';');
    EXPECT_EQ(detectDelimiter(u"Date\tOdometer\tLiters,Notes"), '\t');
    EXPECT_EQ(detectDelimiter(u"Date"), ',');
}

} // namespace
