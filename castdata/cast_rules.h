// The rules that rest on a cast's fields: ownership, hidden data, the record
// check and the cast serial. The save and load commands hold the state these
// rules read (player number, shop mode flag, cast owner number, cast serial)
// and call them; nothing here keeps any of it.
#pragma once

#include <cstdint>
#include <functional>

namespace castdata {

// (losses * 13 + wins * 6 + 33) mod 22, the remainder taking the sign of the
// dividend: 0 wins and 0 losses give 11, 10 and 1 give 18.
std::int16_t ComputeRecordCheck(std::int16_t wins, std::int16_t losses);

struct WinsAndLosses {
  std::int16_t wins = 0;
  std::int16_t losses = 0;
  bool operator==(const WinsAndLosses&) const = default;
};

// The record a load shows: the stored one when its record check matches,
// 0 wins and 0 losses when it does not (nothing is reported).
WinsAndLosses RecordOnLoad(std::int16_t storedWins, std::int16_t storedLosses,
                           std::int16_t storedRecordCheck);

// The cast owner number a load takes from the stored ownerNumber: a stored 0
// is the reading player's own cast. (A new cast takes the player number.)
std::int16_t OwnerOnLoad(std::int16_t storedOwner, std::int16_t playerNumber);

// Whether the cast in the editor is the player's own.
bool IsOwnCast(std::int16_t castOwner, std::int16_t playerNumber);

// Whether the save and the upload may go ahead: an own cast, or shop mode.
bool MaySaveCast(std::int16_t castOwner, std::int16_t playerNumber, bool shopMode);

// The ownerNumber a save writes: the cast owner number, or the player number
// when the cast owner number is 0 or shop mode is on. The cast owner number
// itself stays as it is.
std::int16_t OwnerToSave(std::int16_t castOwner, std::int16_t playerNumber, bool shopMode);

// Whether a load enters hidden-data mode: another player's cast whose
// hideData is 1. Shop mode does not change this.
bool EntersHiddenDataMode(std::int16_t castOwner, std::int16_t playerNumber, std::int16_t hideData);

// Draws cast serials: a number uniform in [0, 1) times 30000, rounded to the
// nearest integer (halves to even), so 0 to 30000. The window keeps one for
// its whole life, so the generator is seeded once.
class CastSerialSource {
 public:
  // Gives numbers uniform in [0, 1); a test hands in its own.
  using Uniform = std::function<double()>;

  // A Mersenne Twister seeded once from std::random_device.
  CastSerialSource();
  explicit CastSerialSource(Uniform uniform);

  // A fresh serial, for a new cast.
  std::int16_t Draw();

  // The serial a load takes: the stored one, or a fresh one when it is 0.
  std::int16_t OnLoad(std::int16_t storedSerial);

 private:
  Uniform uniform_;
};

}  // namespace castdata
