#include "derived_value.h"

#include <cmath>
#include <stdexcept>

namespace castdata {

int DerivedParameterValue(int index, int value) {
  switch (index) {
    case 0:
      return static_cast<int>(std::floor(500.0 / (value + 5))) + 9;
    case 1:
      return static_cast<int>(std::floor(value / 12.0)) + 1;
    case 2:
      return value * 17 + 300;
    case 3:
      return value * 60 + 1200;
  }
  throw std::out_of_range("unit parameter index");
}

}  // namespace castdata
