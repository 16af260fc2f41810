#pragma once

namespace vesk {

// Dew point in °C of a temperature in °C and a relative humidity in %; 0 where the formula
// cannot be computed (a negative humidity). Never throws.
double DewPoint(double T, double RH);

}  // namespace vesk
