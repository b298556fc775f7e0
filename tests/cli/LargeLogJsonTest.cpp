#include "JsonDump.h"
#include "JsonLoad.h"
#include "store/LogOps.h"
#include "support/SampleLog.h"

#include <gtest/gtest.h>

#include <functional>

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

bool sameRecords(const store::AppState& a, const store::AppState& b) {
    return a.Dives == b.Dives && a.LocationList == b.LocationList && a.TypeList == b.TypeList &&
           a.BuddyList == b.BuddyList && a.GearList == b.GearList && a.Profiles == b.Profiles;
}

// The same JSON with the key "dives" spelt with an escape, which reads the same.
QByteArray escapedKey(QByteArray json) {
    return json.replace("\"dives\":", "\"d\\u0069ves\":");
}

} // namespace

TEST(LargeLogJson, TextsAreSpeltAsOneCharacterAtATime) {
    const store::AppState s = awkwardLog(3000);
    std::vector<QString> texts{s.DiverName, QString(QChar(0xD800)), QChar(0xDFFF) + s.DiverName};
    for (size_t i = 1; i < s.Dives.size(); ++i)
        texts.push_back(s.Dives[i].Comments);
    for (int which = 0; which < 4; ++which)
        for (const store::ListEntry& e : s.list(which))
            texts.insert(texts.end(), {e.Name, e.Info, e.Picture});
    for (const QString& t : texts)
        ASSERT_EQ(cli::jsonString(t), slowJsonString(t)) << t.toStdString();
}

// A dump loads to the same log and dumps to the same bytes; every seventh comment holds a
// character written as an escaped surrogate pair.
TEST(LargeLogJson, ADumpReadsBackTheSameWhicheverWayItIsRead) {
    const store::AppState s = awkwardLog(3000);
    const QByteArray dump = cli::dumpJson(s);
    for (const QByteArray& json : {dump, escapedKey(dump)}) {
        store::AppState back;
        ASSERT_EQ(cli::loadJson(json, back), QString());
        EXPECT_TRUE(sameRecords(back, s));
        back.DiverName = s.DiverName;
        back.DiveOffset = s.DiveOffset;
        back.Files = s.Files;
        EXPECT_TRUE(cli::dumpJson(back) == dump);
    }
}

// Dives written otherwise than dump writes them, each with what it reads as (the second dive
// of three) or the words it is refused with.
TEST(LargeLogJson, UnusualDivesReadAsJsonSaysOrAreRefusedByName) {
    struct Case {
        const char* dive;
        const char* refused; // the start of the message; null when it loads
        std::function<void(store::DiveRecord&)> expect = {};
    };
    const Case cases[] = {
        {R"({"psiIn": 1e3, "weight": 12.0, "rating": -0})", nullptr,
         [](store::DiveRecord& d) {
             d.DiveData[store::field::PsiIn] = 1000, d.DiveData[store::field::Weight] = 12;
         }},
        {R"({ "date" : { "day" : 3 } , "number" : 99999999999999999999 , "exit" : {}})", nullptr,
         [](store::DiveRecord& d) { d.TimeData[store::field::Day] = 3; }},
        {R"({"psiIn": 32767, "psiOut": -32768, "tankSize": 32768})",
         "dives[1].tankSize: 32768 is out of range (-32768 to 32767)"},
        {R"({"psiIn": 012})", "not valid JSON"},
        {R"({"ps\u0069In": 5, "comments": "a\"b\\c\/d\b\f\n\r\t\u00e9\u20AC"})", nullptr,
         [](store::DiveRecord& d) {
             d.DiveData[store::field::PsiIn] = 5;
             d.Comments = QString::fromUtf8("a\"b\\c/d\b\f\n\r\t\xC3\xA9\xE2\x82\xAC");
         }},
        {R"({"comments": "\ud83d\udc20 \uFEFF\u0000"})", nullptr,
         [](store::DiveRecord& d) {
             d.Comments = QString::fromUtf8("\xF0\x9F\x90\xA0 \xEF\xBB\xBF") + QChar(0);
         }},
        {"{\"comments\": \"raw\ttab\"}", "not valid JSON"},
        {"{\"comments\": \"\xEF\xBB\xBF"
         "bom \xC3\xA9 \xE2\x82\xAC\"}",
         nullptr,
         [](store::DiveRecord& d) {
             d.Comments = QString::fromUtf8("\xEF\xBB\xBF"
                                            "bom \xC3\xA9 \xE2\x82\xAC");
         }},
        {"{\"comments\": \"bad \xC3 utf-8\"}", "not valid JSON"},
        {R"({"comments": "\ud800 alone"})", "not valid JSON"},
        // A key given twice counts the last time.
        {R"({"date": {"day": 3, "day": 4}, "rating": 1, "rating": 2})", nullptr,
         [](store::DiveRecord& d) { d.TimeData[store::field::Day] = 4, d.Rating = 2; }},
        {R"({"rating": "x", "rating": 1})", nullptr, [](store::DiveRecord& d) { d.Rating = 1; }},
        {R"({"comments": 5})", "dives[1].comments: expected a text"},
        {R"({"number": "x", "location": 3})", nullptr,
         [](store::DiveRecord& d) { d.ListData[store::field::Location] = 3; }},
        {R"({"number": tru, "location": 3})", "not valid JSON"},
        // A key the format does not have is named first, then the first field in the
        // format's order, wherever they stand in the text.
        {R"({"rating": "x", "conditions": {"surf": 1, "wind": 1}})",
         "dives[1].conditions.wind: unknown key"},
        {R"({"rating": "x", "zeta": 1, "alpha": 1, "psiIn": 1.5})", "dives[1].alpha: unknown key"},
        {R"({"rating": "x", "psiIn": 1.5})", "dives[1].psiIn: 1.5 is not a whole number"},
    };
    const QByteArray lists = R"("locations": [{}], "types": [{}], "buddies": [{}], "gear": [{}])";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dive);
        const QByteArray json =
            "{\"dives\": [{}, " + QByteArray(c.dive) + ", {\"psiIn\": 7}], " + lists + "}";
        store::AppState s;
        const QString bad = cli::loadJson(json, s);
        if (c.refused) {
            EXPECT_TRUE(bad.startsWith(QLatin1String(c.refused))) << bad.toStdString();
            EXPECT_EQ(s.DiveCount(), store::AppState().DiveCount()); // left alone
            continue;
        }
        ASSERT_EQ(bad, QString());
        ASSERT_EQ(s.DiveCount(), 3);
        store::DiveRecord second;
        c.expect(second);
        EXPECT_TRUE(s.Dives[2] == second);
        EXPECT_EQ(s.Dives[3].DiveData[store::field::PsiIn], 7);
    }
}

// Whatever the text holds after the log, and whatever stands at the top, is named.
TEST(LargeLogJson, TheTopOfTheTextIsChecked) {
    const QByteArray log =
        R"({"dives": [{}], "locations": [{}], "types": [{}], "buddies": [{}], "gear": [{}]})";
    const struct {
        QByteArray json;
        const char* refused;
    } cases[] = {
        {log, nullptr},
        {"\xEF\xBB\xBF" + log, nullptr}, // a byte order mark
        {log + " \n", nullptr},
        {log + " x", "not valid JSON"},
        {log + " {}", "not valid JSON"},
        {"5", "not valid JSON for a log: expected an object at the top"},
        {"\"text\"", "not valid JSON for a log: expected an object at the top"},
        {"nul", "not valid JSON"},
        {"", "not valid JSON"},
        // Text past the dives that is not JSON outweighs a bad field before it.
        {R"({"dives": [{"psiIn": 99999}], "locations": [}, "types": [{}]})", "not valid JSON"},
        {R"({"dives": [{"psiIn": 99999}], "locations": [{}], "types": [{}], "buddies": [{}], "gear": [{}], "x": 1})",
         "x: unknown key"},
        {R"({"profiles": [], "dives": [{}], "locations": [{}], "types": [{}], "buddies": [{}]})",
         "gear: missing"},
        {R"({"gear": [], "dives": [], "locations": [{}], "types": [{}], "buddies": [{}]})",
         "dives: a log always holds at least one dive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        store::AppState s;
        const QString bad = cli::loadJson(c.json, s);
        if (c.refused)
            EXPECT_TRUE(bad.startsWith(QLatin1String(c.refused))) << bad.toStdString();
        else
            EXPECT_EQ(bad, QString());
    }
}

TEST(LargeLogJson, TheLargestLogLoadsAndOneDiveMoreIsRefused) {
    const QByteArray lists = R"("locations": [{}], "types": [{}], "buddies": [{}], "gear": [{}])";
    for (const int count : {store::MaxDives, store::MaxDives + 1}) {
        QByteArray dives = QByteArray("{\"psiIn\": 1}, ").repeated(count);
        dives.chop(2);
        store::AppState s;
        const QString bad = cli::loadJson("{\"dives\": [" + dives + "], " + lists + "}", s);
        if (count == store::MaxDives) {
            EXPECT_EQ(bad, QString());
            EXPECT_EQ(s.DiveCount(), store::MaxDives);
            EXPECT_EQ(s.Dives.back().DiveData[0], 1);
        } else {
            EXPECT_EQ(bad, QStringLiteral("dives: 32768 items; the file holds at most 32767"));
        }
    }
}
