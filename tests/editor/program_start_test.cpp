// The program cast started as a player starts it: from a shell in some
// folder, from a menu through its installed place, with -C, --help or a
// wrong option; which game folder it runs on and how it ends. Message boxes
// are answered by the program itself (CAST_EXIT_WHEN_SHOWN, which also ends
// it once its window is painted), and the user's settings live in a
// configuration folder of the test's own.
#include <QtTest>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "demo_game.h"
#include "program_run.h"
#include "temporary_folder.h"

namespace fs = std::filesystem;

namespace {

const QString kNoGameFolder = QStringLiteral("Orvalis～Zenthar～のゲームフォルダが見つかりません");
const QString kVersionMessage = QStringLiteral("Orvalis～Zenthar～のバージョンが対応していません");
const QString kRunTheGameMessage = QStringLiteral("Orvalis～Zenthar～を一度実行してください");
const QString kRunInTheGameFolderMessage =
    QStringLiteral("Orvalis～Zenthar～がインストールされているフォルダで実行してください");

struct Run {
  int status = -1;
  QString out;
  QString err;
};

// Runs `program` with `arguments` in the folder `workingFolder`.
Run RunIn(const fs::path& workingFolder, const fs::path& program, const std::vector<std::string>& arguments) {
  const fs::path previous = fs::current_path();
  fs::current_path(workingFolder);
  const gamefixture::ProgramResult result = gamefixture::RunProgram(program, arguments);
  fs::current_path(previous);
  return {result.exitStatus, QString::fromStdString(result.out), QString::fromStdString(result.err)};
}

// A demo game in a folder of its own, without its package (so the window is
// the first thing the program shows), and a folder that is no game.
class Places {
 public:
  Places() {
    gamefixture::MakeDemoGame(Game());
    fs::remove(Game() / "sample.ec");
    fs::create_directory(Elsewhere());
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((root_.path() / "config").string()));
    qputenv("CAST_EXIT_WHEN_SHOWN", "1");
  }
  ~Places() {
    qunsetenv("CAST_EXIT_WHEN_SHOWN");
    qunsetenv("XDG_CONFIG_HOME");
  }

  fs::path Game() const { return root_.path() / "ゲーム"; }
  fs::path Elsewhere() const { return root_.path() / "elsewhere"; }

 private:
  gamefixture::TemporaryFolder root_;
};

}  // namespace

class ProgramStartTest : public QObject {
  Q_OBJECT

 private slots:
  void InformationAndWrongOptionsNeedNoWindow_data();
  void InformationAndWrongOptionsNeedNoWindow();
  void GameFolderGivenWithCOpensTheWindowFromAnywhere();
  void InstalledProgramFindsTheGameAboveItsOwnFolder();
  void TheGameFolderUsedLastIsFoundAgain();
  void NoGameFolderSaysWhereItLookedAndEndsWithStatus2();
  void MissingGameFileEndsWithStatus1AndItsMessageOnStandardError_data();
  void MissingGameFileEndsWithStatus1AndItsMessageOnStandardError();
};

void ProgramStartTest::InformationAndWrongOptionsNeedNoWindow_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("out");
  QTest::addColumn<QString>("err");
  QTest::newRow("--help") << QStringList{"--help"} << 0 << QString("-C <DIR>") << QString("");
  QTest::newRow("--version") << QStringList{"--version"} << 0 << QString("cast ") << QString("");
  QTest::newRow("an unknown option") << QStringList{"-x"} << 2 << QString("") << QString("[Q]");
  QTest::newRow("a missing -C folder") << QStringList{"-C", "/no/such/folder"} << 2 << QString("")
                                       << QString("/no/such/folder");
}

// No display is needed for these: the variable that selects one is removed.
void ProgramStartTest::InformationAndWrongOptionsNeedNoWindow() {
  QFETCH(QStringList, arguments);
  QFETCH(int, status);
  QFETCH(QString, out);
  QFETCH(QString, err);
  Places places;
  std::vector<std::string> words;
  for (const QString& argument : arguments) words.push_back(argument.toStdString());
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (status == 0) qunsetenv("QT_QPA_PLATFORM");
  const Run run = RunIn(places.Elsewhere(), CAST_FILE, words);
  qputenv("QT_QPA_PLATFORM", platform);
  QCOMPARE(run.status, status);
  QVERIFY2(run.out.contains(out), qPrintable(run.out));
  QVERIFY2(run.err.contains(err), qPrintable(run.err));
}

void ProgramStartTest::GameFolderGivenWithCOpensTheWindowFromAnywhere() {
  Places places;
  const Run run = RunIn("/", CAST_FILE, {"-C", places.Game().string()});
  QCOMPARE(run.status, 0);
  QCOMPARE(run.out, QStringLiteral("shown\n"));
}

// GAME/bin/cast, started from a menu or another folder without -C.
void ProgramStartTest::InstalledProgramFindsTheGameAboveItsOwnFolder() {
  Places places;
  fs::create_directory(places.Game() / "bin");
  fs::copy_file(CAST_FILE, places.Game() / "bin/cast");
  const Run run = RunIn(places.Elsewhere(), places.Game() / "bin/cast", {});
  QCOMPARE(run.status, 0);
  QCOMPARE(run.out, QStringLiteral("shown\n"));
}

void ProgramStartTest::TheGameFolderUsedLastIsFoundAgain() {
  Places places;
  QCOMPARE(RunIn(places.Elsewhere(), CAST_FILE, {"-C", places.Game().string()}).status, 0);
  const Run again = RunIn(places.Elsewhere(), CAST_FILE, {});
  QCOMPARE(again.status, 0);
  QCOMPARE(again.out, QStringLiteral("shown\n"));
}

// The question is answered No (its Escape button): the program ends.
void ProgramStartTest::NoGameFolderSaysWhereItLookedAndEndsWithStatus2() {
  Places places;
  const Run run = RunIn(places.Elsewhere(), CAST_FILE, {});
  QCOMPARE(run.status, 2);
  QVERIFY2(run.out.startsWith(QStringLiteral("message: ") + kNoGameFolder), qPrintable(run.out));
  QVERIFY2(run.out.contains(QString::fromStdString(fs::canonical(places.Elsewhere()).string())), qPrintable(run.out));
  QVERIFY2(run.err.contains(kNoGameFolder), qPrintable(run.err));
  QVERIFY(!run.out.contains(QStringLiteral("shown")));
}

void ProgramStartTest::MissingGameFileEndsWithStatus1AndItsMessageOnStandardError_data() {
  QTest::addColumn<QString>("missing");
  QTest::addColumn<QString>("message");
  QTest::newRow("orv.txt") << QString("orv.txt") << kVersionMessage;
  QTest::newRow("USER.DAT") << QString("DAT/USER.DAT") << kRunTheGameMessage;
  QTest::newRow("Orv_bwpn.DAT") << QString("DAT/Orv_bwpn.DAT") << kRunInTheGameFolderMessage;
}

void ProgramStartTest::MissingGameFileEndsWithStatus1AndItsMessageOnStandardError() {
  QFETCH(QString, missing);
  QFETCH(QString, message);
  Places places;
  fs::remove(places.Game() / missing.toStdString());
  const Run run = RunIn("/", CAST_FILE, {"-C", places.Game().string()});
  QCOMPARE(run.status, 1);
  QVERIFY2(run.out.startsWith(QStringLiteral("message: ") + message), qPrintable(run.out));
  QVERIFY2(run.err.contains(message), qPrintable(run.err));
  QVERIFY(!run.out.contains(QStringLiteral("shown")));
}

QTEST_MAIN(ProgramStartTest)
#include "program_start_test.moc"
