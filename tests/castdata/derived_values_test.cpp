#include "derived_values.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(DerivedValues, GameValuesOfTheFourParameters) {
  struct Case {
    int index, points, value;
  } cases[] = {
      {0, 0, 109}, {0, 1, 92}, {0, 5, 59}, {0, 10, 42}, {0, 20, 29},
      {0, 45, 19}, {0, 95, 14}, {0, 100, 13},
      {1, 0, 1}, {1, 11, 1}, {1, 12, 2}, {1, 23, 2}, {1, 24, 3}, {1, 95, 8}, {1, 96, 9}, {1, 100, 9},
      {2, 0, 300}, {2, 1, 317}, {2, 100, 2000},
      {3, 0, 1200}, {3, 1, 1260}, {3, 100, 7200},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(castdata::DerivedParameterValue(c.index, c.points), c.value)
        << "parameter " << c.index << " at " << c.points;
  }
}

TEST(DerivedValues, NoValueOutsideTheSliderRanges) {
  // -5 move-speed points would divide by zero.
  for (const int points : {-5, -1, 101, 32767}) {
    EXPECT_THROW(castdata::DerivedParameterValue(0, points), std::out_of_range) << points;
  }
  for (const int index : {-1, 4}) {
    EXPECT_THROW(castdata::DerivedParameterValue(index, 50), std::out_of_range) << index;
  }
}

}  // namespace
