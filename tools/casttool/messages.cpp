#include "messages.h"

namespace casttool::messages {
namespace {

std::string Line(std::string_view file, std::string_view text) {
  return std::string(file) + ": " + std::string(text);
}

std::string Quoted(std::string_view file) { return "「" + std::string(file) + "」"; }

}  // namespace

std::string Packed(std::string_view file) { return Line(file, "packed"); }
std::string Unpacked(std::string_view file) { return Line(file, "unpacked"); }
std::string AlreadyPacked(std::string_view file) { return Line(file, "already packed"); }
std::string AlreadyUnpacked(std::string_view file) { return Line(file, "already unpacked"); }
std::string Written(std::string_view file) { return Line(file, "written"); }
std::string NoProblems(std::string_view castName) { return Line(castName, "no problems"); }
std::string AboutFile(std::string_view file, std::string_view message) { return Line(file, message); }
std::string ListedError(std::string_view text) { return "error: " + std::string(text); }

std::string NotInWeaponList(int index, int slot, int listSize) {
  return std::to_string(index) + " is not in the list of weapon slot " + std::to_string(slot) +
         (listSize == 0 ? " (the list is empty)" : " (0-" + std::to_string(listSize - 1) + ")");
}

std::string UnusableWeapon(int weaponNumber) { return "weapon " + std::to_string(weaponNumber) + " is unusable"; }

std::string OutsideSliderRange(int value, int lowest, int highest) {
  return std::to_string(value) + " is outside the slider's range " + std::to_string(lowest) + "-" +
         std::to_string(highest);
}

std::string DerivedValueMismatch(int value, int parameter, int points, int derived) {
  return std::to_string(value) + ", but paramPoints[" + std::to_string(parameter) + "] " + std::to_string(points) +
         " gives " + std::to_string(derived);
}

std::string TotalAbove(int total, int budget) {
  return "total " + std::to_string(total) + " is above " + std::to_string(budget);
}

std::string RecordCheckMismatch(int recordCheck, int wins, int losses, int computed) {
  return std::to_string(recordCheck) + ", but wins " + std::to_string(wins) + " and losses " + std::to_string(losses) +
         " give " + std::to_string(computed);
}

std::string PictureSize(std::uintmax_t bytes, std::uintmax_t wanted) {
  return std::to_string(bytes) + " bytes, not " + std::to_string(wanted);
}

std::string UnknownCommand(std::string_view command) { return "unknown command '" + std::string(command) + "'"; }

std::string FileFailure(std::string_view file, std::string_view reason) { return Line(file, reason); }

std::string CannotWriteStandardOutput(std::string_view reason) {
  return "標準出力に書き込めません: " + std::string(reason);
}

std::string NoGameFolder(const std::vector<std::string>& foldersTried) {
  std::string folders;
  for (const std::string& folder : foldersTried) folders += Quoted(folder);
  return folders + "はゲームフォルダではありません(orv.txtもcastフォルダもありません)";
}

std::string OutputExists(std::string_view out) {
  return Quoted(out) + "に書き込めません: ファイルが既にあります(置き換えるには--forceを付けてください)";
}

std::string OutputIsCastFile(std::string_view out, std::string_view castFile) {
  return Quoted(out) + "に書き込めません: キャストのファイル" + Quoted(castFile) + "そのものです";
}

std::string NameTooLongForPackage(std::string_view castName) {
  return "ファイル名" + Quoted(castName) +
         "が長すぎるためECファイルにできません: 英数字8文字(全角文字は4文字)以内にしてください";
}

std::string NotOwnCastPicture(std::string_view castName) {
  return Line(castName, "自分で作成したデータ以外、画像を変更できません");
}

}  // namespace casttool::messages
