#include "interchange/CsvValues.h"

#include <gtest/gtest.h>

namespace {

using interchange::DateOrder;

TEST(CsvValues, DatesAsPeopleAndSpreadsheetsWriteThem) {
    const struct {
        const char* cell;
        DateOrder order;
        int year, month, day; // 0 0 0: not a date
    } cases[] = {
        {"2004-03-28", DateOrder::Unknown, 2004, 3, 28},
        {"2004-03-28T09:05:00+00:07", DateOrder::Unknown, 2004, 3, 28},
        {"2004/3/8", DateOrder::Unknown, 2004, 3, 8},
        {"3/28/04", DateOrder::Unknown, 4, 3, 28}, // two-digit years stay so for the box rule
        {"5/6/2013", DateOrder::MDY, 2013, 5, 6},
        {"5/6/2013", DateOrder::DMY, 2013, 6, 5},
        {"13/6/13", DateOrder::YMD, 13, 6, 13},
        {"28.03.2004", DateOrder::DMY, 2004, 3, 28},
        {"28 March 2004", DateOrder::Unknown, 2004, 3, 28},
        {"28-Mar-04", DateOrder::Unknown, 4, 3, 28},
        {"March 28, 2004", DateOrder::Unknown, 2004, 3, 28},
        {"Sept 1 2004", DateOrder::Unknown, 2004, 9, 1},
        {"28 Mayday 2004", DateOrder::Unknown, 0, 0, 0},
        {"yesterday", DateOrder::Unknown, 0, 0, 0},
        {"2004-03", DateOrder::Unknown, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const std::optional<interchange::CsvDate> d =
            interchange::parseDate(QString::fromUtf8(c.cell), c.order);
        if (c.year == 0) {
            EXPECT_FALSE(d) << c.cell;
            continue;
        }
        ASSERT_TRUE(d) << c.cell;
        EXPECT_EQ(d->year, c.year) << c.cell;
        EXPECT_EQ(d->month, c.month) << c.cell;
        EXPECT_EQ(d->day, c.day) << c.cell;
    }
}

TEST(CsvValues, TimesDurationsAndNumbers) {
    const struct {
        const char* cell;
        int hour, minute; // -1: not a time
    } times[] = {{"09:05", 9, 5},       {"9:05:59", 9, 5},    {"9:05 AM", 9, 5},
                 {"12:30 am", 0, 30},   {"12:30 PM", 12, 30}, {"2:10 p.m.", 14, 10},
                 {"09:05:00 AM", 9, 5}, {"13:00 PM", -1, 0},  {"905", -1, 0}};
    for (const auto& t : times) {
        const auto v = interchange::parseTimeOfDay(QString::fromUtf8(t.cell));
        EXPECT_EQ(v.has_value(), t.hour >= 0) << t.cell;
        if (v) {
            EXPECT_EQ(v->hour * 60 + v->minute, t.hour * 60 + t.minute) << t.cell;
        }
    }
    const struct {
        const char* cell;
        bool seconds;
        double minutes; // -1: not a duration
    } durations[] = {{"42", false, 42},     {"42.5", false, 42.5},     {"42:30", false, 43},
                     {"42:29", false, 42},  {"1:02:03", false, 62},    {"2520", true, 42},
                     {"2520 s", false, 42}, {"42 min", true, 42},      {"1.5 h", false, 90},
                     {"long", false, -1},   {"42 furlongs", false, -1}};
    for (const auto& d : durations) {
        const auto v = interchange::parseDuration(QString::fromUtf8(d.cell), d.seconds);
        EXPECT_EQ(v.has_value(), d.minutes >= 0) << d.cell;
        if (v) {
            EXPECT_DOUBLE_EQ(*v, d.minutes) << d.cell;
        }
    }
    const struct {
        const char* cell;
        double value;
        const char* unit; // nullptr: not a number
    } numbers[] = {{"18.3", 18.3, ""},        {"18,3", 18.3, ""},  {"-2", -2, ""},
                   {"8.0 m / 26 ft", 8, "m"}, {"25 °C", 25, "°C"}, {".5", 0.5, ""},
                   {"200bar", 200, "bar"},    {"abc", 0, nullptr}, {"", 0, nullptr}};
    for (const auto& n : numbers) {
        QString unit;
        const auto v = interchange::parseNumber(QString::fromUtf8(n.cell), &unit);
        EXPECT_EQ(v.has_value(), n.unit != nullptr) << n.cell;
        if (!v) continue;
        EXPECT_DOUBLE_EQ(*v, n.value) << n.cell;
        EXPECT_EQ(unit, QString::fromUtf8(n.unit)) << n.cell;
    }
}

} // namespace
