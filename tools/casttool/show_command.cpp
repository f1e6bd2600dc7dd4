#include "show_command.h"

#include "cast_reading.h"
#include "error.h"
#include "json_output.h"

namespace casttool {

ExitStatus ShowCast(const std::filesystem::path& gameFolder, const std::string& name, bool json, Output& output) {
  CastFiles cast;
  try {
    cast = ReadCastFiles(gameFolder, name);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kFailure;
  }
  Json result{
      {"name", cast.name},
      {"profile", ProfileJson(cast.profile)},
      {"record", RecordJson(cast.record)},
      {"pictureBytes", cast.pictureBytes ? Json(*cast.pictureBytes) : Json(nullptr)},
  };
  if (json) {
    PrintJson(output.out(), result);
  } else {
    PrintAsText(output.out(), result);
  }
  return ExitStatus::kSuccess;
}

}  // namespace casttool
