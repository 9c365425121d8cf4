#include <JetTableChoice.h>
#include <JetText.h>
#include <JetValue.h>
#include <TableChoiceError.h>
#include <gtest/gtest.h>

namespace {

JetTableInfo Table(const QString& name, std::vector<JetColumn> columns, int primaryKey = -1) {
    return {name, std::move(columns), primaryKey, 0};
}

const JetColumn kId{"ID", JetType::Long};
const JetColumn kNumber{"Nummer", JetType::Text};
const JetColumn kTitle{"Titel", JetType::Memo};
const JetColumn kPage{"Seite", JetType::Integer};
const JetColumn kNote{"Notiz", JetType::Text};
const JetColumn kPicture{"Bild", JetType::Ole};

using Fields = std::array<int, 4>;

// Which table wins: the one asked for, the catalogue's own, the one naming the most fields, the
// only one; two naming equally many leave the choice to the user.
TEST(JetTableChoiceTest, ChoosesTheTableByTheRulesInTheirOrder) {
    const std::vector<JetTableInfo> tables{
        Table("Notizen", {kId, kNote, kPicture}),
        Table("Liste", {kNumber, kTitle, kPage, kNote}),
        Table("zeitschriften", {kId, kNote, kNote, kNote, kNote, kNote}, 0),
    };
    const JetTableChoice catalogue = JetTableChoice::Make(tables, QString(), "a.mdb");
    EXPECT_EQ(catalogue.table, 2u);
    EXPECT_EQ(catalogue.fields, (Fields{1, 2, 3, 4}));
    EXPECT_EQ(catalogue.key, 0);

    const JetTableChoice asked = JetTableChoice::Make(tables, "NOTIZEN", "a.mdb");
    EXPECT_EQ(asked.table, 0u);
    EXPECT_EQ(asked.fields, (Fields{1, -1, -1, -1}));  // the picture has no text
    EXPECT_EQ(asked.key, 0);  // no primary key: the first column, a whole number

    const std::vector<JetTableInfo> named{tables[0], tables[1]};
    const JetTableChoice byName = JetTableChoice::Make(named, QString(), "a.mdb");
    EXPECT_EQ(byName.table, 1u);
    EXPECT_EQ(byName.fields, (Fields{0, -1, 1, 2}));
    EXPECT_EQ(byName.key, -1);  // the first column is a text

    try {
        JetTableChoice::Make({tables[1], Table("Liste2", {kPage, kTitle, kNumber})}, QString(),
                             "a.mdb");
        ADD_FAILURE() << "two tables name three fields each";
    } catch (const TableChoiceError& e) {
        EXPECT_EQ(e.Tables(), (QStringList{"Liste", "Liste2"}));
    }
}

// A table's first four text columns when its names say nothing; a primary key counts only as a
// whole number; a table without texts, or a catalogue table with binary data in a field, is
// refused.
TEST(JetTableChoiceTest, MapsColumnsAndRefusesTablesWithoutTexts) {
    const JetTableInfo texts = Table("T",
                                     {{"a", JetType::Long},
                                      {"b", JetType::Text},
                                      {"c", JetType::DateTime},
                                      {"d", JetType::Text},
                                      {"e", JetType::Memo},
                                      {"f", JetType::Text},
                                      {"g", JetType::Text},
                                      {"h", JetType::Byte}},
                                     7);
    const JetTableChoice choice = JetTableChoice::Make({texts}, QString(), "a.mdb");
    EXPECT_EQ(choice.fields, (Fields{1, 3, 4, 5}));
    EXPECT_EQ(choice.key, 7);
    EXPECT_EQ(JetTableChoice::Make({Table("T", {kNote, kId}, 0)}, QString(), "a.mdb").key, -1);

    const auto error = [](const std::vector<JetTableInfo>& tables) {
        try {
            JetTableChoice::Make(tables, QString(), "/tmp/alt.mdb");
        } catch (const ExchangeError& e) {
            return e.Message();
        }
        return QString();
    };
    EXPECT_TRUE(
        error({Table("Zahlen", {kId, kPage, kPicture})}).contains("keine Spalte mit Texten"));
    EXPECT_TRUE(error({Table("Zeitschriften", {kId, kNote, kPicture})}).contains("„Bild“"));
    EXPECT_TRUE(error({}).contains("„/tmp/alt.mdb“ enthält keine Tabellen"));
}

// Days before the engine's day 0 count backwards with their time of day forwards; the time
// shows only when there is one, and a time that rounds up to midnight starts the next day.
TEST(JetValueTest, WritesDatesNumbersAndCurrencyTheGermanWay) {
    EXPECT_EQ(JetValue::DateText(0), "30.12.1899");
    EXPECT_EQ(JetValue::DateText(36526.5), "01.01.2000 12:00:00");
    EXPECT_EQ(JetValue::DateText(-1.25), "29.12.1899 06:00:00");
    EXPECT_EQ(JetValue::DateText(36526.999999999), "02.01.2000");
    EXPECT_EQ(JetValue::DateText(1e9), "1000000000");  // beyond any calendar: the number

    EXPECT_EQ(JetValue::Text(JetType::Float, QByteArrayView("\xcd\xcc\xcc\x3d", 4)), "0,1");
    EXPECT_EQ(
        JetValue::Text(JetType::Double, QByteArrayView("\x9a\x99\x99\x99\x99\x99\xb9\x3f", 8)),
        "0,1");
    EXPECT_EQ(JetValue::Text(JetType::Integer, QByteArrayView("\xff\xff", 2)), "-1");
    EXPECT_EQ(JetValue::Text(JetType::Byte, QByteArrayView("\xff", 1)), "255");
    // Currency in ten-thousandths: -1.2345 and 3.5 exactly.
    EXPECT_EQ(JetValue::Text(JetType::Money, QByteArrayView("\xc7\xcf\xff\xff\xff\xff\xff\xff", 8)),
              "-1,2345");
    EXPECT_EQ(JetValue::Text(JetType::Money, QByteArrayView("\xb8\x88\x00\x00\x00\x00\x00\x00", 8)),
              "3,5");
    EXPECT_EQ(JetValue::Text(JetType::Long, QByteArrayView("\x01\x02", 2)), "");
    EXPECT_EQ(JetValue::Text(JetType::Guid, QByteArrayView("\x33\x22\x11\x00\x55\x44\x77\x66"
                                                           "\x88\x99\xaa\xbb\xcc\xdd\xee\xff",
                                                           16)),
              "{00112233-4455-6677-8899-AABBCCDDEEFF}");
}

// Compressed Unicode switches between one and two bytes a character at each zero byte.
TEST(JetValueTest, DecodesCompressedUnicodeWithSwitches) {
    const char compressed[] = {'\xff', '\xfe', 'a', 'b', 0, 0x16, 0x04, 0, 'c'};
    EXPECT_EQ(JetText::FromUnicode(QByteArrayView(compressed, sizeof compressed)),
              QStringLiteral("abЖc"));
    EXPECT_EQ(JetText::FromUnicode(QByteArrayView("a\x00\x16\x04", 4)), QStringLiteral("aЖ"));
    EXPECT_EQ(JetText::FromUnicode(QByteArrayView("\xff\xfe\x00\x16", 4)), QString());
}

}  // namespace
