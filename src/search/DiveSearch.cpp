#include "DiveSearch.h"

#include "store/EntryRules.h"
#include "store/Numbers.h"

#include <QChar>
#include <QDate>

#include <algorithm>
#include <cmath>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace search {

namespace {

QString numberText(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 15);
}

// Case folding of the characters a Windows-1252 text decodes to, by table for the first 256.
struct FoldTable {
    char16_t low[256];
    FoldTable() {
        for (char16_t c = 0; c < 256; ++c)
            low[c] = static_cast<char16_t>(QChar::toCaseFolded(char32_t(c)));
    }
};
const FoldTable foldTable;

inline char16_t fold(char16_t c) {
    return c < 256 ? foldTable.low[c] : static_cast<char16_t>(QChar::toCaseFolded(char32_t(c)));
}

// Whether any of 16 characters is `a`, `b` or one at or above 256 (which may fold to
// anything): most of a comment is passed over 16 characters at a time.
inline bool mayHold(const char16_t* text, char16_t a, char16_t b) {
#ifdef __SSE2__
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    __m128i hits = _mm_setzero_si128();
    for (int half = 0; half < 2; ++half) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 8 * half));
        hits = _mm_or_si128(hits, _mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)));
        hits = _mm_or_si128(hits, _mm_srli_epi16(v, 8));
    }
    return _mm_movemask_epi8(_mm_cmpeq_epi8(hits, _mm_setzero_si128())) != 0xFFFF;
#else
    unsigned any = 0;
    for (int j = 0; j < 16; ++j)
        any |= unsigned(text[j] == a) | unsigned(text[j] == b) | unsigned(text[j] >> 8);
    return any != 0;
#endif
}

// The criteria read once, so testing a dive reads no text.
struct Prepared {
    bool byDate = false;
    int32_t fromDay = 0, toDay = 0;
    bool allInRange = false;
    std::array<bool, 3> ratings{};
    std::array<bool, 8> conds{};
    bool anyCond = false;
    std::array<bool, 3> useRange{};
    std::array<double, 3> lo{}, hi{};
    std::array<std::vector<char>, 4> lines; // empty when the list is not used
    std::array<bool, 4> useList{};
    bool useComment = false;
    FoldedNeedle comment;
};

Prepared prepare(const ChartCriteria& c) {
    Prepared p;
    p.byDate = c.SelectionMode == ByDate;
    if (p.byDate) {
        p.fromDay =
            std::max(FirstDay, DayNumber(boxValue16(c.DateFrom[0]), boxValue16(c.DateFrom[1]),
                                         boxValue16(c.DateFrom[2])));
        p.toDay = std::min(LastDay, DayNumber(boxValue16(c.DateTo[0]), boxValue16(c.DateTo[1]),
                                              boxValue16(c.DateTo[2])));
    }
    p.allInRange = c.AllInRange;
    p.ratings = c.Ratings;
    p.conds = c.Conds;
    p.anyCond = std::find(c.Conds.begin(), c.Conds.end(), true) != c.Conds.end();
    p.useRange = c.UseRange;
    for (size_t i = 0; i < 3; ++i) {
        p.lo[i] = store::numbers::leadingValue(c.RangeMin[i]);
        p.hi[i] = store::numbers::leadingValue(c.RangeMax[i]);
    }
    for (size_t k = 0; k < 4; ++k) {
        p.useList[k] = c.UseList[k];
        if (!c.UseList[k]) continue;
        // A dive's entry is a 16-bit position: a line beyond that can never match.
        int highest = -1;
        for (int line : c.ListLines[k])
            if (line <= INT16_MAX) highest = std::max(highest, line);
        p.lines[k].assign(static_cast<size_t>(highest + 1), 0);
        for (int line : c.ListLines[k])
            if (line >= 0 && line <= highest) p.lines[k][static_cast<size_t>(line)] = 1;
    }
    p.useComment = c.UseComment && !c.Comment.isEmpty();
    p.comment = foldNeedle(c.Comment);
    return p;
}

// A dive lies in the date range (when there is one) and passes at least one ticked criterion.
// Flagging twice is flagging once, so the first criterion passed decides.
bool TestDive(const Prepared& p, const store::DiveRecord& d) {
    if (p.byDate) {
        const int32_t day = DayNumber(d.TimeData[0], d.TimeData[1], d.TimeData[2]);
        if (day < p.fromDay || day > p.toDay) return false;
    }
    if (p.allInRange) return true;
    if (d.Rating >= 0 && d.Rating <= 2 && p.ratings[static_cast<size_t>(d.Rating)]) return true;
    if (p.anyCond)
        for (size_t i = 0; i < 8; ++i)
            if (p.conds[i] && d.CondData[i] == 1) return true;
    for (size_t i = 0; i < 3; ++i) {
        if (!p.useRange[i]) continue;
        const double v = d.DiveData[i + 2];
        if (v >= p.lo[i] && (p.hi[i] == 0 || v < p.hi[i])) return true;
    }
    // The order the lists are looked at does not change the outcome.
    for (size_t k = 0; k < 4; ++k) {
        if (!p.useList[k]) continue;
        const int at = d.ListData[k];
        if (at >= 0 && static_cast<size_t>(at) < p.lines[k].size() &&
            p.lines[k][static_cast<size_t>(at)])
            return true;
    }
    return p.useComment && containsFolded(d.Comments, p.comment);
}

} // namespace

int32_t DayNumber(int month, int day, int year) {
    double y = year, m = month;
    if (month == 1 || month == 2) {
        y = year - 1;
        m = month + 12;
    }
    const double a = std::floor(y / 100);
    const double b = 2 - a + std::floor(a / 4);
    const double c = y >= 0 ? std::floor(365.25 * y) : std::floor(365.25 * y - 0.75);
    const double d = std::floor(30.6001 * (m + 1));
    return static_cast<int32_t>(std::floor(b + c + d + day + 1720994.5));
}

QString windowYear(const QString& box) {
    const double y = store::numbers::leadingValue(box);
    return y < 100 ? numberText(store::entry::fourDigitYear(y)) : box;
}

int16_t boxValue16(const QString& box) {
    return store::numbers::toInt16(store::numbers::roundedValue(box));
}

SearchedRange RunSearch(ChartCriteria& c, const store::AppState& state,
                        std::vector<int16_t>& flagged) {
    c.DateFrom[2] = windowYear(c.DateFrom[2]);
    c.DateTo[2] = windowYear(c.DateTo[2]);
    const int count = state.DiveCount();
    int first = 1, last = count;
    if (c.SelectionMode == ByNumber) {
        first = boxValue16(c.NumFrom);
        last = boxValue16(c.NumTo);
        if (first < 1) first = 1;
        if (last > count) last = count;
        if (last == 0) last = count; // an empty To box: up to the last dive
    }
    const Prepared p = prepare(c);
    flagged.assign(1, 0);
    for (int n = first; n <= last; ++n)
        if (TestDive(p, state.Dives[static_cast<size_t>(n)])) FlagDive(flagged, n);
    SearchedRange walked;
    walked.SelectionMode = c.SelectionMode;
    walked.first = first;
    walked.last = last;
    if (c.SelectionMode == ByDate) {
        walked.fromDay = p.fromDay;
        walked.toDay = p.toDay;
    }
    return walked;
}

namespace {

const QString Dash = QStringLiteral("\u2013");

QString dateOf(int32_t day) {
    // DayNumber counts from midnight, half a day before the Julian day number QDate uses.
    const QDate d = QDate::fromJulianDay(day + 1);
    return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year());
}

} // namespace

QString describeSearched(const SearchedRange& r, int offset) {
    const QString head = QStringLiteral("Searched: ");
    if (r.first > r.last) {
        if (r.SelectionMode != ByNumber) return head + QStringLiteral("no dives (the log is empty)");
        return head + QStringLiteral("no dives (positions %1 to %2)").arg(r.first).arg(r.last);
    }
    const QString numbers =
        QStringLiteral("dives %1%2%3").arg(r.first + offset).arg(Dash).arg(r.last + offset);
    switch (r.SelectionMode) {
    case ByNumber:
        return head + QStringLiteral("positions %1%2%3, ").arg(r.first).arg(Dash).arg(r.last) +
               numbers;
    case ByDate:
        if (r.fromDay > r.toDay)
            return head + QStringLiteral("no dates (%1 is after %2)")
                              .arg(dateOf(r.fromDay), dateOf(r.toDay));
        return head + QStringLiteral("%1 dated %2 to %3").arg(numbers, dateOf(r.fromDay),
                                                              dateOf(r.toDay));
    default:
        return head + QStringLiteral("all ") + numbers;
    }
}

QString positionsHint(int count, int offset) {
    if (count < 1) return QStringLiteral("the log holds no dives");
    if (count == 1) return QStringLiteral("position 1 is dive %1").arg(1 + offset);
    return QStringLiteral("positions 1%1%2 are dives %3%1%4")
        .arg(Dash)
        .arg(count)
        .arg(1 + offset)
        .arg(count + offset);
}

void FlagDive(std::vector<int16_t>& flagged, int n) {
    if (flagged.back() != n) flagged.push_back(static_cast<int16_t>(n));
}

void DiveRemoved(std::vector<int16_t>& flagged, int index) {
    std::vector<int16_t> kept{0};
    for (size_t i = 1; i < flagged.size(); ++i) {
        if (flagged[i] == index) continue;
        kept.push_back(static_cast<int16_t>(flagged[i] > index ? flagged[i] - 1 : flagged[i]));
    }
    flagged.swap(kept);
}

FoldedNeedle foldNeedle(const QString& text) {
    FoldedNeedle f;
    f.text = QString(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        f.text[i] = QChar(fold(text[i].unicode()));
    if (f.text.isEmpty()) return f;
    const char16_t first = f.text[0].unicode();
    for (char16_t c = 0; c < 256; ++c)
        if (foldTable.low[c] == first) (f.firstVariants++ == 0 ? f.firstA : f.firstB) = c;
    return f;
}

bool containsFolded(QStringView haystack, const FoldedNeedle& needle) {
    const qsizetype n = needle.text.size();
    if (n == 0 || n > haystack.size()) return n == 0;
    const char16_t* h = haystack.utf16();
    const char16_t* s = QStringView(needle.text).utf16();
    const char16_t first = s[0], a = needle.firstA, b = needle.firstB;
    const bool blocks = needle.firstVariants <= 2;
    const qsizetype lastStart = haystack.size() - n;
    constexpr qsizetype Block = 16;
    qsizetype i = 0;
    while (i <= lastStart) {
        if (blocks && i + Block <= lastStart + 1 && !mayHold(h + i, a, b)) {
            i += Block;
            continue;
        }
        const qsizetype end = std::min(lastStart + 1, i + Block);
        for (; i < end; ++i) {
            if (fold(h[i]) != first) continue;
            qsizetype k = 1;
            while (k < n && fold(h[i + k]) == s[k])
                ++k;
            if (k == n) return true;
        }
    }
    return false;
}

ResultFigures Figures(const store::AppState& state, const std::vector<int16_t>& flagged) {
    ResultFigures f;
    f.matched = std::max(0, static_cast<int>(flagged.size()) - 1);
    f.total = state.DiveCount();
    // The quotient first, then the hundredfold, then the whole part: 29 of 100 shows 28.
    if (f.total > 0)
        f.percent = static_cast<int>(
            std::floor(static_cast<double>(f.matched) / static_cast<double>(f.total) * 100));
    for (size_t i = 1; i < flagged.size(); ++i) {
        f.indexes.push_back(flagged[i]);
        f.displayed.push_back(flagged[i] + state.DiveOffset);
    }
    return f;
}

} // namespace search
