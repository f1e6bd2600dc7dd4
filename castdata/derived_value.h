// The game values that the four unit parameters yield, shown beside their
// sliders, stored by the save, and checked against a cast's points.
#pragma once

namespace castdata {

// The derived value of unit parameter `index` (0 move speed, 1 turn speed,
// 2 force, 3 armour) at slider value `value` (0-100):
//   move speed  floor(500 / (value + 5)) + 9     109 at 0, 13 at 100
//   turn speed  floor(value / 12) + 1            1 at 0, 9 at 100
//   force       value * 17 + 300                 300 at 0, 2000 at 100
//   armour      value * 60 + 1200                1200 at 0, 7200 at 100
// The divisions are in double precision.
int DerivedParameterValue(int index, int value);

}  // namespace castdata
