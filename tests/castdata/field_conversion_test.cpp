#include "field_conversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "error.h"

namespace {

using ::testing::HasSubstr;

TEST(FieldConversion, TheLeadingNumberRoundedHalvesToEven) {
  struct Case {
    std::string text;
    int field;
  } cases[] = {
      {"12abc", 12}, {" 7", 7}, {"\t7", 7}, {"2.5", 2}, {"3.5", 4}, {"-4", -4}, {"", 0}, {"abc", 0},
      {"+5", 5}, {"-2.5", -2}, {"-3.5", -4}, {"0.5", 0}, {".5", 0}, {"1.5", 2}, {"3.", 3},
      {"2.51", 3}, {"-0.4", 0}, {"007", 7}, {"80%", 80},
      {"1e3", 1},     // no exponent
      {"&H10", 0},    // no hexadecimal
      {"- 5", 0},     // no blank after the sign
      {"1 2", 1},     // no blanks inside
      {"５", 0},      // a full-width digit is not a digit
      {"32767", 32767}, {"32767.4", 32767}, {"-32768", -32768}, {"-32768.5", -32768},
      {"0." + std::string(400, '0') + "1", 0},  // a fraction too small for a double
  };
  for (const Case& c : cases) {
    EXPECT_EQ(castdata::NumberField(c.text, "LEVEL"), c.field) << '"' << c.text << '"';
  }
}

TEST(FieldConversion, ANumberThatDoesNotFitIsAnErrorNamingTheField) {
  for (const std::string& text : {std::string("32768"), std::string("32767.5"), std::string("-32769"),
                                  std::string("-32768.6"), std::string("70000abc"), std::string(400, '9')}) {
    try {
      castdata::NumberField(text, "TxDame");
      ADD_FAILURE() << text << " was taken";
    } catch (const castdata::Error& error) {
      EXPECT_THAT(error.what(), HasSubstr("TxDame")) << text;
    }
  }
  EXPECT_TRUE(std::isinf(castdata::LeadingNumber("-" + std::string(400, '9'))));
}

TEST(FieldConversion, FieldsToControls) {
  EXPECT_EQ(castdata::DecimalText(-20), "-20");
  EXPECT_EQ(castdata::DecimalText(850), "850");
  EXPECT_TRUE(castdata::IsTicked(1));
  EXPECT_FALSE(castdata::IsTicked(0));
  EXPECT_FALSE(castdata::IsTicked(2));  // ticked exactly when 1
  EXPECT_FALSE(castdata::IsTicked(-1));
  EXPECT_EQ(castdata::CheckBoxField(true), 1);
  EXPECT_EQ(castdata::CheckBoxField(false), 0);
}

}  // namespace
