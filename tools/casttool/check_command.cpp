#include "check_command.h"

#include "cast_problems.h"
#include "cast_reading.h"
#include "error.h"
#include "game_lists.h"

namespace casttool {

ExitStatus CheckCast(const platform::GameFolder& game, const std::string& name, bool shopMode,
                     Output& output) {
  std::vector<std::string> problems;
  try {
    const CastFiles cast = ReadCastFiles(game, name);
    problems = CastProblems(cast, ReadGameLists(game, shopMode).catalogue, shopMode);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kFailure;
  }
  if (problems.empty()) {
    output.out() << name << ": no problems\n";
    return ExitStatus::kSuccess;
  }
  for (const std::string& problem : problems) output.out() << problem << '\n';
  return ExitStatus::kProblem;
}

}  // namespace casttool
