#include "show_command.h"

#include "cast_reading.h"
#include "error.h"
#include "json_output.h"
#include "picture_command.h"

namespace casttool {

ExitStatus ShowCast(const platform::GameFolder& game, const std::string& name, bool json, Output& output) {
  CastFiles cast;
  try {
    cast = ReadCastFiles(game, name);
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
  const std::optional<std::string> pictureProblem = PictureProblem(cast.pictureFile);
  result["pictureUploadable"] = !pictureProblem;
  result["pictureProblem"] = pictureProblem ? Json(*pictureProblem) : Json(nullptr);
  output.Write(json ? JsonText(result, 2) : PlainText(result));
  return ExitStatus::kSuccess;
}

}  // namespace casttool
