#include "cast_problems.h"

#include <numeric>
#include <span>

#include "cast_package.h"
#include "cast_rules.h"
#include "derived_values.h"
#include "messages.h"
#include "weapon_list_items.h"

namespace casttool {
namespace {

constexpr int kLongestBudget = 100;  // the most points a share group or the pool may hold
constexpr int kShortestDistance = 20;
constexpr int kLongestDistance = 1000;

class ProblemList {
 public:
  void Add(const std::filesystem::path& file, const std::string& field, const std::string& text) {
    problems_.push_back({file.generic_string(), field, text});
  }
  std::vector<CastProblem> Take() { return std::move(problems_); }

 private:
  std::vector<CastProblem> problems_;
};

std::string Indexed(const char* field, std::size_t index) {
  return std::string(field) + "[" + std::to_string(index) + "]";
}

bool InRange(int value, int lowest, int highest) { return value >= lowest && value <= highest; }

// A problem for each value of a family of slider values outside its range.
void CheckRanges(ProblemList& problems, const std::filesystem::path& file, const char* field,
                 std::span<const std::int16_t> values, int lowest, int highest) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (InRange(values[i], lowest, highest)) continue;
    problems.Add(file, Indexed(field, i), messages::OutsideSliderRange(values[i], lowest, highest));
  }
}

int Total(std::span<const std::int16_t> values) { return std::accumulate(values.begin(), values.end(), 0); }

void CheckTotal(ProblemList& problems, const std::filesystem::path& file, const std::string& field,
                std::span<const std::int16_t> values) {
  const int total = Total(values);
  if (total > kLongestBudget) {
    problems.Add(file, field, messages::TotalAbove(total, kLongestBudget));
  }
}

void CheckWeapons(ProblemList& problems, const CastFiles& cast, const castdata::WeaponCatalogue& catalogue) {
  for (int slot = 0; slot < castdata::kWeaponCategoryCount; ++slot) {
    const int index = cast.record.weaponIndex[slot];
    const std::vector<castdata::ListItem> items = castdata::WeaponSlotItems(catalogue, slot);
    const std::string field = Indexed("weaponIndex", slot);
    if (index == -1) {
      problems.Add(cast.dataFile, field, messages::kNoWeapon);
    } else if (index < 0 || index >= static_cast<int>(items.size())) {
      problems.Add(cast.dataFile, field, messages::NotInWeaponList(index, slot, static_cast<int>(items.size())));
    } else if (items[index].data == castdata::kUnusableMark) {
      problems.Add(cast.dataFile, field, messages::UnusableWeapon(index + 1));
    }
  }
}

void CheckParameters(ProblemList& problems, const CastFiles& cast, bool shopMode) {
  const castdata::CastRecord& record = cast.record;
  for (int i = 0; i < castdata::kParameterCount; ++i) {
    const int points = record.paramPoints[i];
    if (!InRange(points, castdata::kFewestParameterPoints, castdata::kMostParameterPoints)) {
      problems.Add(cast.dataFile, Indexed("paramPoints", i),
                   messages::OutsideSliderRange(points, castdata::kFewestParameterPoints,
                                                castdata::kMostParameterPoints));
      continue;
    }
    const int derived = castdata::DerivedParameterValue(i, points);
    if (record.paramValue[i] != derived) {
      problems.Add(cast.dataFile, Indexed("paramValue", i),
                   messages::DerivedValueMismatch(record.paramValue[i], i, points, derived));
    }
  }
  if (!shopMode) CheckTotal(problems, cast.dataFile, "paramPoints", record.paramPoints);
}

}  // namespace

std::vector<CastProblem> CastProblems(const CastFiles& cast, const castdata::WeaponCatalogue& catalogue,
                                      bool shopMode) {
  ProblemList problems;
  const castdata::CastRecord& record = cast.record;
  if (cast.profile.Name.empty()) problems.Add(cast.profileFile, "Name", messages::kNoUnitName);
  CheckWeapons(problems, cast, catalogue);
  CheckParameters(problems, cast, shopMode);

  CheckRanges(problems, cast.dataFile, "weaponShare", record.weaponShare, 0, kLongestBudget);
  CheckTotal(problems, cast.dataFile, "weaponShare[0-3]", std::span(record.weaponShare).first(4));
  CheckRanges(problems, cast.dataFile, "movePattern", record.movePattern, 0, kLongestBudget);
  CheckTotal(problems, cast.dataFile, "movePattern", record.movePattern);
  if (!InRange(record.keepDistance, kShortestDistance, kLongestDistance)) {
    problems.Add(cast.dataFile, "keepDistance",
                 messages::OutsideSliderRange(record.keepDistance, kShortestDistance, kLongestDistance));
  }

  const std::int16_t check = castdata::ComputeRecordCheck(record.wins, record.losses);
  if (record.recordCheck != check) {
    problems.Add(cast.dataFile, "recordCheck",
                 messages::RecordCheckMismatch(record.recordCheck, record.wins, record.losses, check));
  }

  if (!cast.pictureBytes) {
    problems.Add(cast.pictureFile, "picture", messages::kPictureMissing);
  } else if (*cast.pictureBytes != castdata::kCastPictureSize) {
    problems.Add(cast.pictureFile, "picture", messages::PictureSize(*cast.pictureBytes, castdata::kCastPictureSize));
  }
  return problems.Take();
}

}  // namespace casttool
