// Conversions between the editor's controls and a cast's 16-bit fields.
//
// | Fields                                        | Control to field         | Field to control |
// |-----------------------------------------------|--------------------------|------------------|
// | paramValue, wins, losses, level,              | NumberField(text, name)  | DecimalText      |
// | weaponStopPercent, defendAfterHits,           |                          |                  |
// | defendDamageThreshold                         |                          |                  |
// | check-box fields                              | CheckBoxField(ticked)    | IsTicked         |
// | weaponIndex, sliders, ownerNumber, serial     | the value itself         | the value itself |
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace castdata {

// The number that `text` starts with, 0 when it starts with none. The number
// is: blanks (spaces, tabs), an optional "+" or "-", then digits with an
// optional "." and fraction digits ("12abc" is 12, " 7" is 7, "-4" is -4,
// ".5" is 0.5, "3." is 3). Unlike a BASIC Val() it takes no "&H" or "&O"
// prefix, no exponent ("1e3" is 1) and no blanks inside the number ("- 5" is
// 0, "1 2" is 1), and digits other than ASCII ones end it. A number too large
// for a double is an infinity of its sign.
double LeadingNumber(std::string_view text);

// `value` rounded to the nearest integer, halves to the even neighbour:
// 2.5 is 2, 3.5 is 4, -2.5 is -2.
double RoundHalfEven(double value);

// The leading number of `text`, rounded halves to even, as a field value.
// castdata::Error naming `fieldName` when it does not fit a signed 16-bit
// field (rather than a wrapped value).
std::int16_t NumberField(std::string_view text, std::string_view fieldName);

// The value as decimal text, with "-" when negative.
std::string DecimalText(std::int16_t value);

// A check box is ticked exactly when its field is 1; a ticked box stores 1.
bool IsTicked(std::int16_t checkBoxField);
std::int16_t CheckBoxField(bool ticked);

}  // namespace castdata
