#include "start_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QUrl>

#include <cstdio>
#include <string_view>
#include <system_error>

namespace {

const QString kDescription = QStringLiteral(
    "Orvalis～Zenthar～のキャスト(機体データ)を作成・編集します。\n"
    "Q を付けて起動するとショップモードになります。\n"
    "ECファイル(*.ec)を指定すると、起動時にキャストとして取り込みます。\n"
    "ゲームフォルダは -C で指定します。指定がなければ、作業フォルダ、プログラムのある\n"
    "フォルダの一つ上のフォルダ、前回使ったフォルダの順に、orv.txt のあるフォルダを探します。");

// A package argument as a path: a file: URL as its local file, a relative
// path against the working folder of the moment.
std::filesystem::path PackagePath(const QString& argument) {
  const QString file = argument.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)
                           ? QUrl(argument).toLocalFile()
                           : argument;
  const std::filesystem::path path(file.toStdString());
  std::error_code error;  // no working folder: the import then says the file cannot be read
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute;
}

void Print(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fflush(stream);
}

}  // namespace

bool AsksOnlyForInformation(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    for (const char* information : {"--help", "-h", "-?", "--help-all", "--version", "-v"}) {
      if (argument == information) return true;
    }
  }
  return false;
}

StartOptions ReadStartOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
  const QCommandLineOption folder(QStringLiteral("C"), QStringLiteral("ゲームフォルダ DIR で起動します。"),
                                  QStringLiteral("DIR"));
  parser.addOption(folder);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("Q"), QStringLiteral("ショップモード"), QStringLiteral("[Q]"));
  parser.addPositionalArgument(QStringLiteral("FILE.ec"), QStringLiteral("取り込むキャストパッケージ"),
                               QStringLiteral("[FILE.ec...]"));

  StartOptions options;
  if (!parser.parse(arguments)) {
    Print(stderr, QStringLiteral("cast: ") + parser.errorText() + QStringLiteral("\n\n") + parser.helpText());
    options.exitStatus = 2;
    return options;
  }
  if (parser.isSet(help)) {
    Print(stdout, parser.helpText());
    options.exitStatus = 0;
    return options;
  }
  if (parser.isSet(version)) {
    Print(stdout, QStringLiteral("cast ") + QStringLiteral(CAST_VERSION) + QStringLiteral("\n"));
    options.exitStatus = 0;
    return options;
  }
  if (parser.isSet(folder)) options.gameFolder = parser.value(folder);
  for (const QString& argument : parser.positionalArguments()) {
    if (argument.endsWith(QStringLiteral(".ec"), Qt::CaseInsensitive)) {
      options.packages.push_back(PackagePath(argument));
    } else {
      options.startUpArguments << argument;
    }
  }
  return options;
}
