#pragma once

#include <QString>

#include <optional>

// The log keeps bare numbers; the diver knows which units they are in. Other programs need to
// be told, so every exchange states the units it assumed and converts where it must.
namespace interchange {

enum class Units { Imperial, Metric };

// "imperial" or "metric" (any case); nothing for any other word.
std::optional<Units> unitsNamed(const QString& word);
QString unitsName(Units units);

// What a stored number measures. Visibility is a length, like depth.
enum class Quantity { None, Minutes, Depth, Temperature, Pressure, TankSize, Weight };

// "ft"/"m", "°F"/"°C", "psi"/"bar", "cu ft"/"l", "lb"/"kg", "min"; empty for None.
QString unitLabel(Quantity q, Units units);
// Which system a unit label belongs to for this quantity (case and blanks ignored; "F",
// "degF", "cuft", "L", "lbs", "meters" are understood too); nothing when it is neither.
std::optional<Units> unitsOfLabel(Quantity q, const QString& label);

// A value of quantity q from one system into the other. Tank sizes do not convert this way:
// a metric tank is its water volume, an imperial one the gas it holds when full.
double convertUnits(Quantity q, Units from, Units to, double v);

// Into the SI units exchange formats use: metres, kelvin, pascal, kilograms, seconds.
double toSi(Quantity q, Units units, double v);
// From those SI units into the log's. Tank sizes are left to tankSizeFromSi.
double fromSi(Quantity q, Units units, double v);
// A tank's size as the log keeps it, from its water volume in cubic metres: litres, or for an
// imperial log the free gas (cu ft) it holds at `pressure` (psi); nothing without a pressure.
std::optional<double> tankSizeFromSi(Units units, double volume, double pressure);

// A tank's water volume in cubic metres. Metric logs store litres. Imperial logs store the
// free gas at the tank's working pressure, so the water volume needs that pressure (psi);
// nothing when it is not known.
std::optional<double> tankVolumeSi(Units units, double size, double workingPressure);

} // namespace interchange
