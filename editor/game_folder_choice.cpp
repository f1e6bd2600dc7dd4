#include "game_folder_choice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QStringList>

#include <filesystem>
#include <vector>

#include "game_files.h"
#include "game_folder_search.h"
#include "message_box.h"

namespace {

namespace fs = std::filesystem;

const QString kSettingsOrganization = QStringLiteral("kestrova");
const QString kSettingsApplication = QStringLiteral("cast");
const QString kLastGameFolderKey = QStringLiteral("lastGameFolder");

const QString kNoGameFolder = QStringLiteral(
    "Orvalis～Zenthar～のゲームフォルダが見つかりません\r"
    "次のフォルダにorv.txtがありませんでした:\r%1\r"
    "ゲームフォルダを選択しますか？");
const QString kChooseFolderCaption = QStringLiteral("Orvalis～Zenthar～のゲームフォルダを選択");
const QString kFolderMissing = QStringLiteral("フォルダ「%1」が見つかりません");
const QString kNoneChosen = QStringLiteral("ゲームフォルダが選択されませんでした");

fs::path ToPath(const QString& folder) { return fs::path(folder.toStdString()); }

QSettings Settings() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, kSettingsOrganization, kSettingsApplication);
}

std::vector<fs::path> Candidates() {
  std::vector<fs::path> candidates{fs::path()};
  const fs::path program = ToPath(QCoreApplication::applicationDirPath());
  if (!program.empty()) candidates.push_back(program.parent_path());
  const QString last = Settings().value(kLastGameFolderKey).toString();
  if (!last.isEmpty()) candidates.push_back(ToPath(last));
  return candidates;
}

QString FolderList(const std::vector<fs::path>& folders) {
  QStringList lines;
  for (const fs::path& folder : folders) lines << QStringLiteral("  ") + QString::fromStdString(folder.string());
  return lines.join(QLatin1Char('\r'));
}

// Asks the player for a game folder until one holds the version file;
// nullopt when the player declines.
std::optional<fs::path> AskForGameFolder(std::vector<fs::path> tried) {
  for (;;) {
    const QString message = kNoGameFolder.arg(FolderList(tried));
    if (!messagebox::AskYesNo(nullptr, message)) {
      messagebox::WriteToStandardError(message.section(QLatin1Char('\r'), 0, -2));
      return std::nullopt;
    }
    const QString chosen = QFileDialog::getExistingDirectory(nullptr, kChooseFolderCaption, QDir::homePath());
    if (chosen.isEmpty()) {
      messagebox::WriteToStandardError(kNoneChosen);
      return std::nullopt;
    }
    if (castdata::VersionFileExists(ToPath(chosen))) return ToPath(chosen);
    tried = {fs::absolute(ToPath(chosen))};
  }
}

}  // namespace

bool EnterGameFolder(const std::optional<QString>& givenFolder) {
  std::optional<fs::path> folder;
  if (givenFolder) {
    std::error_code error;
    if (!fs::is_directory(ToPath(*givenFolder), error)) {
      messagebox::WriteToStandardError(kFolderMissing.arg(*givenFolder));
      return false;
    }
    folder = ToPath(*givenFolder);
  } else {
    const platform::GameFolderSearch search = platform::FindGameFolder(
        Candidates(), [](const platform::GameFolder& game) { return castdata::VersionFileExists(game); });
    folder = search.found ? search.found : AskForGameFolder(search.tried);
    if (!folder) return false;
  }
  std::error_code error;
  if (!folder->empty()) fs::current_path(*folder, error);
  if (error) {
    messagebox::WriteToStandardError(kFolderMissing.arg(QString::fromStdString(folder->string())) +
                                     QStringLiteral(": ") + QString::fromStdString(error.message()));
    return false;
  }
  Settings().setValue(kLastGameFolderKey, QString::fromStdString(fs::current_path(error).string()));
  return true;
}
