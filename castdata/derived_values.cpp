#include "derived_values.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace castdata {

int DerivedParameterValue(int index, int points) {
  if (points < kFewestParameterPoints || points > kMostParameterPoints) {
    throw std::out_of_range("parameter points " + std::to_string(points) + " outside 0-100");
  }
  const double v = points;
  switch (index) {
    case 0: return static_cast<int>(std::floor(500.0 / (v + 5.0))) + 9;
    case 1: return static_cast<int>(std::floor(v / 12.0)) + 1;
    case 2: return points * 17 + 300;
    case 3: return points * 60 + 1200;
  }
  throw std::out_of_range("parameter index " + std::to_string(index) + " outside 0-3");
}

}  // namespace castdata
