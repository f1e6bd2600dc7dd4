#include "cast_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CastName, NamesThatLeaveTheCastFolderAreRefused) {
  for (const std::string& name : std::vector<std::string>{"", ".", "..", "a/b", "../x", "a\\b", std::string("a\0b", 3)}) {
    EXPECT_TRUE(castdata::CastNameProblem(name).has_value()) << name;
  }
}

TEST(CastName, EveryOtherCharacterIsAllowed) {
  for (const std::string name : {"ABC", "a-b", "機体機体機体機体", "...a", "a b", "..."}) {
    EXPECT_FALSE(castdata::CastNameProblem(name).has_value()) << name;
  }
  EXPECT_EQ(castdata::CastPath("ABC", ".cst"), "cast/ABC.cst");
}

}  // namespace
