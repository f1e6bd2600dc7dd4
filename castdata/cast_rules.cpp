#include "cast_rules.h"

#include <algorithm>
#include <random>
#include <utility>

#include "field_conversion.h"

namespace castdata {

std::int16_t ComputeRecordCheck(std::int16_t wins, std::int16_t losses) {
  // At most 32768 * 19 + 33 in size: no 32-bit overflow. C++'s % takes the
  // sign of the dividend, as the record check does.
  const std::int32_t sum = std::int32_t{losses} * 13 + std::int32_t{wins} * 6 + 33;
  return static_cast<std::int16_t>(sum % 22);
}

WinsAndLosses RecordOnLoad(std::int16_t storedWins, std::int16_t storedLosses,
                           std::int16_t storedRecordCheck) {
  if (ComputeRecordCheck(storedWins, storedLosses) != storedRecordCheck) return {};
  return {storedWins, storedLosses};
}

std::int16_t OwnerOnLoad(std::int16_t storedOwner, std::int16_t playerNumber) {
  return storedOwner == 0 ? playerNumber : storedOwner;
}

bool IsOwnCast(std::int16_t castOwner, std::int16_t playerNumber) { return castOwner == playerNumber; }

bool MaySaveCast(std::int16_t castOwner, std::int16_t playerNumber, bool shopMode) {
  return shopMode || IsOwnCast(castOwner, playerNumber);
}

std::int16_t OwnerToSave(std::int16_t castOwner, std::int16_t playerNumber, bool shopMode) {
  return castOwner == 0 || shopMode ? playerNumber : castOwner;
}

bool EntersHiddenDataMode(std::int16_t castOwner, std::int16_t playerNumber, std::int16_t hideData) {
  return !IsOwnCast(castOwner, playerNumber) && hideData == 1;
}

CastSerialSource::CastSerialSource()
    : uniform_([engine = std::mt19937(std::random_device{}()),
                uniform = std::uniform_real_distribution<double>(0.0, 1.0)]() mutable {
        return uniform(engine);
      }) {}

CastSerialSource::CastSerialSource(Uniform uniform) : uniform_(std::move(uniform)) {}

std::int16_t CastSerialSource::Draw() {
  // The clamp keeps a serial in 0..30000 whatever a handed-in source gives.
  const double r = std::clamp(uniform_(), 0.0, 1.0);
  return static_cast<std::int16_t>(RoundHalfEven(r * 30000.0));
}

std::int16_t CastSerialSource::OnLoad(std::int16_t storedSerial) {
  return storedSerial == 0 ? Draw() : storedSerial;
}

}  // namespace castdata
