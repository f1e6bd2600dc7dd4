// The game values that a cast's four unit parameters yield from the points
// given to them (the sliders slPar, 0 to 100). The save stores them as
// paramValue; the parameter sliders show them beside each slider.
//
// | Index | Parameter          | Derived value of points v             | v = 0 | v = 100 |
// |-------|--------------------|---------------------------------------|-------|---------|
// | 0     | "移動速度" move    | floor(500 / (v + 5)) + 9, in doubles  | 109   | 13      |
// | 1     | "旋回速度" turn    | floor(v / 12) + 1, in doubles         | 1     | 9       |
// | 2     | "理力" force       | v * 17 + 300                          | 300   | 2000    |
// | 3     | "装甲値" armour    | v * 60 + 1200                         | 1200  | 7200    |
#pragma once

namespace castdata {

inline constexpr int kParameterCount = 4;
inline constexpr int kFewestParameterPoints = 0;
inline constexpr int kMostParameterPoints = 100;

// The derived value of parameter `index` (0..3) for `points` (0..100). Throws
// std::out_of_range for an index or points outside those ranges, which no
// slider can give: the move speed has no value at -5 points, and a value
// outside the slider's range is not what the game derives.
int DerivedParameterValue(int index, int points);

}  // namespace castdata
