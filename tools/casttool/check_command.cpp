#include "check_command.h"

#include "cast_problems.h"
#include "cast_reading.h"
#include "error.h"
#include "game_lists.h"
#include "json_output.h"
#include "messages.h"

namespace casttool {
namespace {

Json ProblemsJson(const std::string& name, const std::vector<CastProblem>& problems) {
  Json list = Json::array();
  for (const CastProblem& problem : problems) {
    list.push_back(Json{{"file", problem.file}, {"field", problem.field}, {"text", problem.text}});
  }
  return Json{{"name", name}, {"problems", std::move(list)}};
}

}  // namespace

ExitStatus CheckCast(const platform::GameFolder& game, const std::string& name, bool shopMode, bool json,
                     Output& output) {
  std::vector<CastProblem> problems;
  try {
    const CastFiles cast = ReadCastFiles(game, name);
    problems = CastProblems(cast, ReadGameLists(game, shopMode).catalogue, shopMode);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kFailure;
  }
  if (json) {
    output.Write(JsonText(ProblemsJson(name, problems), 2));
  } else if (problems.empty()) {
    output.WriteLine(messages::NoProblems(name));
  } else {
    for (const CastProblem& problem : problems) output.WriteLine(problem.Line());
  }
  return problems.empty() ? ExitStatus::kSuccess : ExitStatus::kProblem;
}

}  // namespace casttool
