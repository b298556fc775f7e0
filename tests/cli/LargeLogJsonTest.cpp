#include "JsonDump.h"
#include "JsonLoad.h"
#include "output/SampleLog.h"
#include "store/LogOps.h"

#include <gtest/gtest.h>

namespace {

// A text spelt one character at a time.
QByteArray slowJsonString(const QString& s) {
    QByteArray out = "\"";
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        const char* named = c == u'"'    ? "\\\""
                            : c == u'\\' ? "\\\\"
                            : c == u'\n' ? "\\n"
                            : c == u'\r' ? "\\r"
                            : c == u'\t' ? "\\t"
                                         : nullptr;
        if (named)
            out += named;
        else if (c < 0x20 || (c >= 0x7F && c < 0xA0) || ch.isSurrogate())
            out += "\\u" + QByteArray::number(c, 16).rightJustified(4, '0');
        else
            out += QString(ch).toUtf8();
    }
    return out + '"';
}

bool sameRecords(const AppState& a, const AppState& b) {
    return a.Dives == b.Dives && a.LocationList == b.LocationList && a.TypeList == b.TypeList &&
           a.BuddyList == b.BuddyList && a.GearList == b.GearList && a.Profiles == b.Profiles;
}

// The same JSON with the key "dives" spelt with an escape: the parser then reads the whole
// text, as it always has. Five spaces after the key, if there, keep every byte in its place.
QByteArray parsedWhole(QByteArray json) {
    const char* key = json.contains("\"dives\":      ") ? "\"dives\":     " : "\"dives\":";
    return json.replace(key, "\"d\\u0069ves\":");
}

} // namespace

TEST(LargeLogJson, TextsAreSpeltAsOneCharacterAtATime) {
    const AppState s = awkwardLog(3000);
    std::vector<QString> texts{s.DiverName, QString(QChar(0xD800)), QChar(0xDFFF) + s.DiverName};
    for (size_t i = 1; i < s.Dives.size(); ++i)
        texts.push_back(s.Dives[i].Comments);
    for (int which = 0; which < 4; ++which)
        for (const ListEntry& e : s.list(which))
            texts.insert(texts.end(), {e.Name, e.Info, e.Picture});
    for (const QString& t : texts)
        ASSERT_EQ(cli::jsonString(t), slowJsonString(t)) << t.toStdString();
}

// Dives in dump's shape are read straight from the text, the others (here every seventh,
// whose comment holds a character written as an escaped surrogate pair) by the parser.
TEST(LargeLogJson, ADumpReadsBackTheSameWhicheverWayItIsRead) {
    const AppState s = awkwardLog(3000);
    const QByteArray dump = cli::dumpJson(s);
    for (const QByteArray& json : {dump, parsedWhole(dump)}) {
        AppState back;
        ASSERT_EQ(cli::loadJson(json, back), QString());
        EXPECT_TRUE(sameRecords(back, s));
        back.DiverName = s.DiverName;
        back.DiveOffset = s.DiveOffset;
        back.Files = s.Files;
        EXPECT_TRUE(cli::dumpJson(back) == dump);
    }
}

// Dives written otherwise than dump writes them: read straight or by the parser, each comes
// back as the parser alone reads it, or is refused with the same words.
TEST(LargeLogJson, UnusualDivesReadAsTheParserReadsThem) {
    const char* const dives[] = {
        R"({"psiIn": 1e3, "weight": 12.0, "rating": -0})",
        R"({ "date" : { "day" : 3 } , "number" : 99999999999999999999 , "exit" : {}})",
        R"({"psiIn": 32767, "psiOut": -32768, "tankSize": 32768})",
        R"({"psiIn": 012})",
        R"({"ps\u0069In": 5, "comments": "a\"b\\c\/d\b\f\n\r\t\u00e9\u20AC"})",
        R"({"comments": "\ud83d\udc20 \uFEFF\u0000"})",
        "{\"comments\": \"raw\ttab\"}",
        "{\"comments\": \"\xEF\xBB\xBF"
        "bom \xC3\xA9 \xE2\x82\xAC\"}",
        "{\"comments\": \"bad \xC3 utf-8\"}",
        R"({"date": {"day": 3, "day": 4}, "rating": 1, "rating": 2})",
        R"({"comments": 5})",
        R"({"number": "x", "location": 3})",
        R"({"conditions": {"surf": 1, "wind": 1}})",
    };
    const QByteArray lists = R"("locations": [{}], "types": [{}], "buddies": [{}], "gear": [{}])";
    for (const char* dive : dives) {
        SCOPED_TRACE(dive);
        const QByteArray json =
            "{\"dives\":      [{}, " + QByteArray(dive) + ", {\"psiIn\": 7}], " + lists + "}";
        AppState straight, parsed;
        EXPECT_EQ(cli::loadJson(json, straight), cli::loadJson(parsedWhole(json), parsed));
        EXPECT_TRUE(straight.Dives == parsed.Dives);
    }
}

TEST(LargeLogJson, TheLargestLogLoadsAndOneDiveMoreIsRefused) {
    const QByteArray lists = R"("locations": [{}], "types": [{}], "buddies": [{}], "gear": [{}])";
    for (const int count : {MaxDives, MaxDives + 1}) {
        QByteArray dives = QByteArray("{\"psiIn\": 1}, ").repeated(count);
        dives.chop(2);
        AppState s;
        const QString bad = cli::loadJson("{\"dives\": [" + dives + "], " + lists + "}", s);
        if (count == MaxDives) {
            EXPECT_EQ(bad, QString());
            EXPECT_EQ(s.DiveCount(), MaxDives);
            EXPECT_EQ(s.Dives.back().DiveData[0], 1);
        } else {
            EXPECT_EQ(bad, QStringLiteral("dives: 32768 items; the file holds at most 32767"));
        }
    }
}
