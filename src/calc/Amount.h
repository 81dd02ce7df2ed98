#pragma once

#include <string>
#include <string_view>

// Amounts arrive with a comma or a point as decimal mark, sometimes with thousands separators:
// every comma counts as a point and only the last point is the decimal point. The rest is read
// like atof in the C locale, whatever the process locale: leading white space, an optional
// sign, digits with at most one point, an optional exponent; no number reads as 0.0, and so
// does a number beyond ±10^12, which no amount of the game comes near.
double ParseAmount(std::string_view text);

// Far above any price, offer or percentage of the game; beyond it a number is garbage.
constexpr double kMaxAmount = 1e12;

// The digits printf's "%.<decimals>f" gives for the value, always with a point as decimal mark
// (the process locale does not matter).
std::string FormatFixed(double value, int decimals);

// Replaces every "." in the piece by the decimal text (inserted whole; an empty one deletes).
std::string ReplaceDecimal(std::string piece, std::string_view decimal);
