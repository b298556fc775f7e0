#include "DiveColumns.h"

#include "store/JsonKeys.h"

#include <QStringList>

namespace divelist {

namespace {

struct ColumnInfo {
    const char* key;
    const char* title;
    interchange::Quantity quantity;
    int element; // DiveData element, or -1
};

using Q = interchange::Quantity;
const std::array<ColumnInfo, ColumnCount> Columns = {{
    {"number", "Dive", Q::None, -1},
    {"date", "Date", Q::None, -1},
    {"entry", "Entry", Q::None, -1},
    {"exit", "Exit", Q::None, -1},
    {store::jsonkeys::ListData[0], "Location", Q::None, -1},
    {store::jsonkeys::ListData[1], "Type", Q::None, -1},
    {store::jsonkeys::ListData[2], "Buddy", Q::None, -1},
    {store::jsonkeys::ListData[3], "Gear", Q::None, -1},
    {store::jsonkeys::DiveData[store::field::MaxDepth], "Max Depth", Q::Depth,
     store::field::MaxDepth},
    {store::jsonkeys::DiveData[store::field::BottomTime], "Bottom Time", Q::Minutes,
     store::field::BottomTime},
    {store::jsonkeys::DiveData[store::field::PsiIn], "Pressure In", Q::Pressure,
     store::field::PsiIn},
    {store::jsonkeys::DiveData[store::field::PsiOut], "Pressure Out", Q::Pressure,
     store::field::PsiOut},
    {store::jsonkeys::DiveData[store::field::TankSize], "Tank Size", Q::TankSize,
     store::field::TankSize},
    {store::jsonkeys::DiveData[store::field::Weight], "Weight", Q::Weight, store::field::Weight},
    {store::jsonkeys::DiveData[store::field::AirTemp], "Air Temp.", Q::Temperature,
     store::field::AirTemp},
    {store::jsonkeys::DiveData[store::field::SurfaceTemp], "Surface Temp.", Q::Temperature,
     store::field::SurfaceTemp},
    {store::jsonkeys::DiveData[store::field::BottomTemp], "Bottom Temp.", Q::Temperature,
     store::field::BottomTemp},
    {store::jsonkeys::DiveData[store::field::Visibility], "Visibility", Q::Depth,
     store::field::Visibility},
    {"rating", "Rating", Q::None, -1},
    {store::jsonkeys::Conditions[0], "Freshwater", Q::None, -1},
    {store::jsonkeys::Conditions[1], "Saltwater", Q::None, -1},
    {store::jsonkeys::Conditions[2], "Boat", Q::None, -1},
    {store::jsonkeys::Conditions[3], "Shore", Q::None, -1},
    {store::jsonkeys::Conditions[4], "Waves", Q::None, -1},
    {store::jsonkeys::Conditions[5], "Current", Q::None, -1},
    {store::jsonkeys::Conditions[6], "Surf", Q::None, -1},
    {store::jsonkeys::Conditions[7], "Surge", Q::None, -1},
    {"comments", "Comment", Q::None, -1},
}};

const ColumnInfo& info(int column) {
    return Columns[static_cast<size_t>(column)];
}

QString clock(int16_t hour, int16_t minute) {
    if (hour == 0 && minute == 0) return QString();
    return QStringLiteral("%1:%2").arg(hour).arg(minute, 2, 10, QLatin1Char('0'));
}

} // namespace

QString columnKey(int column) {
    return QString::fromLatin1(info(column).key);
}

int columnNamed(const QString& key) {
    for (int c = 0; c < ColumnCount; ++c)
        if (key.compare(QLatin1String(info(c).key), Qt::CaseInsensitive) == 0) return c;
    return -1;
}

QString columnTitle(int column, interchange::Units units) {
    const QString title = QString::fromLatin1(info(column).title);
    const QString unit = interchange::unitLabel(info(column).quantity, units);
    return unit.isEmpty() ? title : title + QStringLiteral(" (") + unit + QLatin1Char(')');
}

bool shownByDefault(int column) {
    switch (column) {
    case Number:
    case Date:
    case Entry:
    case Location:
    case Type:
    case Buddy:
    case MaxDepth:
    case BottomTime:
    case Rating:
    case Comment:
        return true;
    default:
        return false;
    }
}

bool isNumeric(int column) {
    return column == Number || info(column).element >= 0;
}

bool isUndated(const store::DiveRecord& d) {
    return d.TimeData[store::field::Month] == 0 || d.TimeData[store::field::Day] == 0 ||
           d.TimeData[store::field::Year] == 0;
}

QStringView firstLine(const QString& comment) {
    QStringView v(comment);
    for (qsizetype i = 0; i < v.size(); ++i)
        if (v[i] == u'\r' || v[i] == u'\n') return v.left(i);
    return v;
}

QString ratingWord(int16_t rating) {
    const QString word = store::field::ratingName(rating);
    if (word.isEmpty()) return QString::number(rating);
    return word.left(1).toUpper() + word.mid(1);
}

QString cellText(const store::AppState& state, int index, int column) {
    const store::DiveRecord& d = state.Dives[static_cast<size_t>(index)];
    if (const int e = info(column).element; e >= 0) {
        const int16_t v = d.DiveData[static_cast<size_t>(e)];
        return v == 0 ? QString() : QString::number(v);
    }
    if (column >= FirstCondition && column < Comment)
        return d.CondData[static_cast<size_t>(column - FirstCondition)] == 1 ? QStringLiteral("Yes")
                                                                             : QString();
    switch (column) {
    case Number:
        return QString::number(index + state.DiveOffset);
    case Date:
        if (isUndated(d)) return QString();
        return QStringLiteral("%1/%2/%3")
            .arg(d.TimeData[store::field::Month])
            .arg(d.TimeData[store::field::Day])
            .arg(d.TimeData[store::field::Year]);
    case Entry:
        return clock(d.TimeData[store::field::EntryHour], d.TimeData[store::field::EntryMinute]);
    case Exit:
        return clock(d.TimeData[store::field::ExitHour], d.TimeData[store::field::ExitMinute]);
    case Location:
    case Type:
    case Buddy:
    case Gear: {
        const int which = column - Location;
        const store::RefList& list = state.list(which);
        const int at = d.ListData[static_cast<size_t>(which)];
        return at >= 0 && at < static_cast<int>(list.size()) ? list[static_cast<size_t>(at)].Name
                                                             : QString();
    }
    case Rating:
        return ratingWord(d.Rating);
    case Comment:
        return firstLine(d.Comments).toString();
    default:
        return QString();
    }
}

} // namespace divelist
