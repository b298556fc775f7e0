#pragma once

#include "Units.h"

#include <QString>

#include <optional>

// How the cells of other logbooks' tables are read: dates, times of day, durations and
// numbers with or without a unit, as people and spreadsheets write them.
namespace interchange {

enum class DateOrder { Unknown, YMD, MDY, DMY };
// "YMD", "MDY", "DMY" (any case); nothing for any other word.
std::optional<DateOrder> dateOrderNamed(const QString& word);

struct CsvDate {
    int year = 0, month = 0, day = 0; // year as written: two digits stay two digits
    bool numeric = false;             // written as three numbers; the order decides
    int first = 0, second = 0;        // the first two numbers when they may be swapped
};
// A date as written: ISO "2004-03-28" (a time may follow), "2004/03/28", "3/28/04",
// "28.03.2004", "28 March 2004", "March 28, 2004", "28-Mar-04". For three numbers that do not
// start with a four-digit year, `order` says which is the month (Unknown: month first).
std::optional<CsvDate> parseDate(QStringView cell, DateOrder order);
// What a column of numeric dates says about their order: MDY when a second number is above
// 12, DMY when a first one is, Unknown when no date tells (1/1/13 or 5/6/13 alike), and
// nothing when both happen (no order reads them all).
struct DateOrderVote {
    bool monthFirstImpossible = false, dayFirstImpossible = false, ambiguous = false;
    void add(const CsvDate& d);
};

struct CsvTime {
    int hour = 0, minute = 0;
};
// "09:05", "9:05:30" (the seconds are dropped), "9:05 AM", "12:30 pm", "9:05:00 AM".
std::optional<CsvTime> parseTimeOfDay(QStringView cell);
// A time that may follow a date in the same cell ("2004-03-28 09:05", "...T09:05:00").
std::optional<CsvTime> timeAfterDate(QStringView cell);

// A length of time in minutes: "42" or "42.5" (minutes, or seconds when `unitSeconds`),
// "42:30" (m:ss), "1:02:03" (h:mm:ss), "42 min", "2520 s". Seconds round to the nearest minute.
std::optional<double> parseDuration(QStringView cell, bool unitSeconds);

// A number, read up to anything after it: "18.3", "18,3", "-2", "8.0 m / 26 ft" (the first
// value counts), "25 °C". The unit written after it, if any, comes back in `unit`.
std::optional<double> parseNumber(QStringView cell, QString* unit);

} // namespace interchange
