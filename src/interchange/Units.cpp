#include "Units.h"

namespace interchange {

namespace {
constexpr double MetresPerFoot = 0.3048;
constexpr double PascalPerPsi = 6894.757293168;
constexpr double PascalPerBar = 100000.0;
constexpr double PsiPerBar = PascalPerBar / PascalPerPsi;
constexpr double KgPerPound = 0.45359237;
constexpr double CubicMetresPerCubicFoot = 0.028316846592;
constexpr double PsiPerAtmosphere = 14.695948775;
constexpr double ZeroCelsius = 273.15;

QString squeezed(const QString& label) {
    QString s = label.toLower();
    s.remove(QLatin1Char(' '));
    s.remove(QChar(0x00B0)); // degree sign
    return s;
}
} // namespace

std::optional<Units> unitsNamed(const QString& word) {
    if (word.compare(QLatin1String("imperial"), Qt::CaseInsensitive) == 0) return Units::Imperial;
    if (word.compare(QLatin1String("metric"), Qt::CaseInsensitive) == 0) return Units::Metric;
    return std::nullopt;
}

QString unitsName(Units units) {
    return units == Units::Metric ? QStringLiteral("metric") : QStringLiteral("imperial");
}

QString unitLabel(Quantity q, Units units) {
    const bool m = units == Units::Metric;
    switch (q) {
    case Quantity::None:
        return {};
    case Quantity::Minutes:
        return QStringLiteral("min");
    case Quantity::Depth:
        return m ? QStringLiteral("m") : QStringLiteral("ft");
    case Quantity::Temperature:
        return m ? QStringLiteral("°C") : QStringLiteral("°F");
    case Quantity::Pressure:
        return m ? QStringLiteral("bar") : QStringLiteral("psi");
    case Quantity::TankSize:
        return m ? QStringLiteral("l") : QStringLiteral("cu ft");
    case Quantity::Weight:
        return m ? QStringLiteral("kg") : QStringLiteral("lb");
    }
    return {};
}

std::optional<Units> unitsOfLabel(Quantity q, const QString& label) {
    const QString s = squeezed(label);
    auto among = [&s](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (s == QLatin1String(n)) return true;
        return false;
    };
    switch (q) {
    case Quantity::None:
        return std::nullopt;
    case Quantity::Minutes:
        // Minutes are minutes in both systems; report the label as matching either.
        if (among({"min", "mins", "minutes"})) return Units::Imperial;
        return std::nullopt;
    case Quantity::Depth:
        if (among({"ft", "feet"})) return Units::Imperial;
        if (among({"m", "metres", "meters"})) return Units::Metric;
        return std::nullopt;
    case Quantity::Temperature:
        if (among({"f", "degf", "fahrenheit"})) return Units::Imperial;
        if (among({"c", "degc", "celsius"})) return Units::Metric;
        return std::nullopt;
    case Quantity::Pressure:
        if (among({"psi"})) return Units::Imperial;
        if (among({"bar"})) return Units::Metric;
        return std::nullopt;
    case Quantity::TankSize:
        if (among({"cuft", "ft3", "cubicfeet"})) return Units::Imperial;
        if (among({"l", "litres", "liters"})) return Units::Metric;
        return std::nullopt;
    case Quantity::Weight:
        if (among({"lb", "lbs", "pounds"})) return Units::Imperial;
        if (among({"kg", "kilograms"})) return Units::Metric;
        return std::nullopt;
    }
    return std::nullopt;
}

double convertUnits(Quantity q, Units from, Units to, double v) {
    if (from == to) return v;
    const bool toMetric = to == Units::Metric;
    switch (q) {
    case Quantity::Depth:
        return toMetric ? v * MetresPerFoot : v / MetresPerFoot;
    case Quantity::Temperature:
        return toMetric ? (v - 32.0) * 5.0 / 9.0 : v * 9.0 / 5.0 + 32.0;
    case Quantity::Pressure:
        return toMetric ? v / PsiPerBar : v * PsiPerBar;
    case Quantity::Weight:
        return toMetric ? v * KgPerPound : v / KgPerPound;
    default:
        return v;
    }
}

double toSi(Quantity q, Units units, double v) {
    const bool m = units == Units::Metric;
    switch (q) {
    case Quantity::Minutes:
        return v * 60.0;
    case Quantity::Depth:
        return m ? v : v * MetresPerFoot;
    case Quantity::Temperature:
        return ZeroCelsius + (m ? v : (v - 32.0) * 5.0 / 9.0);
    case Quantity::Pressure:
        return v * (m ? PascalPerBar : PascalPerPsi);
    case Quantity::Weight:
        return m ? v : v * KgPerPound;
    case Quantity::TankSize:
        return m ? v / 1000.0 : v * CubicMetresPerCubicFoot;
    case Quantity::None:
        break;
    }
    return v;
}

double fromSi(Quantity q, Units units, double v) {
    const bool m = units == Units::Metric;
    switch (q) {
    case Quantity::Minutes:
        return v / 60.0;
    case Quantity::Depth:
        return m ? v : v / MetresPerFoot;
    case Quantity::Temperature:
        return m ? v - ZeroCelsius : (v - ZeroCelsius) * 9.0 / 5.0 + 32.0;
    case Quantity::Pressure:
        return v / (m ? PascalPerBar : PascalPerPsi);
    case Quantity::Weight:
        return m ? v : v / KgPerPound;
    case Quantity::TankSize:
        return m ? v * 1000.0 : v / CubicMetresPerCubicFoot;
    case Quantity::None:
        break;
    }
    return v;
}

std::optional<double> tankSizeFromSi(Units units, double volume, double pressure) {
    if (units == Units::Metric) return volume * 1000.0;
    if (pressure <= 0) return std::nullopt;
    return volume * pressure / (CubicMetresPerCubicFoot * PsiPerAtmosphere);
}

std::optional<double> tankVolumeSi(Units units, double size, double workingPressure) {
    if (units == Units::Metric) return size / 1000.0;
    if (workingPressure <= 0) return std::nullopt;
    return size * CubicMetresPerCubicFoot * PsiPerAtmosphere / workingPressure;
}

} // namespace interchange
