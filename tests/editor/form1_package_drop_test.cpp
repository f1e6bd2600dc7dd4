// Cast packages the player names: dropped on the window, and named on the
// editor's command line as the desktop opens a package. Each is imported as
// the start-up's scan imports the packages in the game folder, with one
// message each; a package outside the game folder is never deleted.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <filesystem>
#include <string>
#include <vector>

#include "cast_files_fixture.h"
#include "demo_game.h"
#include "demo_game_window.h"
#include "fixture_files.h"
#include "package_fixture.h"
#include "program_run.h"
#include "start_options.h"
#include "temporary_folder.h"

namespace fs = std::filesystem;
using windowtest::Find;
using windowtest::Messages;
using windowtest::TypeName;

namespace {

const QString kImported = QStringLiteral("ECファイルを展開しました");
const QString kNotAPackage = QStringLiteral("ECファイルではありません");

// A package of the player's own cast `castName` whose unit name is `unitName`.
gamefixture::PackageFields PackageOf(const std::string& castName, const std::string& unitName) {
  gamefixture::PackageFields fields;
  fields.nameField = castName;
  castdata::CastRecord record;
  record.ownerNumber = gamefixture::kDemoPlayerNumber;
  fields.castData = gamefixture::CastDataBytes(record);
  const std::string profile = gamefixture::CastProfileBytes({unitName, "", "", "", "", ""});
  fields.castProfile.assign(profile.begin(), profile.end());
  return fields;
}

gamefixture::PackageFields NotAPackage() {
  gamefixture::PackageFields fields;
  fields.marker = "ce1";
  return fields;
}

fs::path Put(const fs::path& file, const gamefixture::PackageFields& fields) {
  gamefixture::WritePackageFile(file, fields);
  return file;
}

// Drops the local files `files` on the window over the control `over`, as
// the window system delivers a drop; the messages of the imports.
QStringList DropOnWindow(Form1& form, const std::vector<fs::path>& files, const char* over = "Save") {
  QMimeData data;
  QList<QUrl> urls;
  QStringList lines;
  for (const fs::path& file : files) {
    urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
    lines << urls.back().toString();
  }
  data.setUrls(urls);
  data.setText(lines.join('\n'));  // as file managers do
  QWidget* control = Find<QWidget>(form, over);
  const QPoint position = control->mapTo(&form, control->rect().center());
  return Messages([&] {
    QDragEnterEvent enter(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &enter);
    QDropEvent drop(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &drop);
    QCoreApplication::processEvents();  // the imports run once the drop has ended
  });
}

QStringList ListedCasts(Form1& form) {
  QStringList names;
  auto* file = Find<QComboBox>(form, "cbFile");
  for (int i = 0; i < file->count(); ++i) names << file->itemText(i);
  return names;
}

}  // namespace

class Form1PackageDropTest : public QObject {
  Q_OBJECT

 private slots:
  void DroppedPackagesAreImportedEachWithItsMessage();
  void PackagesDroppedOnATextBoxAreImportedNotTyped_data();
  void PackagesDroppedOnATextBoxAreImportedNotTyped();
  void CastInTheEditorIsLoadedAgainOnlyWhenReplaced();
  void CommandLinePackagesAreTheArgumentsEndingInEc_data();
  void CommandLinePackagesAreTheArgumentsEndingInEc();
  void CommandLinePackagesAreImportedAfterTheScanAndOnlyOnce();
  void ProgramImportsThePackagesItIsStartedWith();
};

// A package outside the game folder and one in a folder of it stay; one at
// the top of the game folder goes, as the scan would have taken it; a
// refused one stays wherever it is.
void Form1PackageDropTest::DroppedPackagesAreImportedEachWithItsMessage() {
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  const fs::path outside = Put(elsewhere.path() / "downloaded.ec", PackageOf("ONE", "一号"));
  const fs::path refused = Put(elsewhere.path() / "broken.ec", NotAPackage());
  const fs::path inGame = Put(game.path() / "TOP.EC", PackageOf("TWO", "二号"));
  const fs::path inFolder = Put(game.path() / "DAT/kept.ec", PackageOf("THREE", "三号"));
  auto form = windowtest::MakeDemoForm();
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));

  QCOMPARE(DropOnWindow(*form, {outside, refused, inGame, inFolder}),
           (QStringList{kImported, kNotAPackage, kImported, kImported}));

  QVERIFY(fs::exists(outside));
  QVERIFY(fs::exists(refused));
  QVERIFY(!fs::exists(inGame));
  QVERIFY(fs::exists(inFolder));
  for (const char* cast : {"ONE", "TWO", "THREE"}) {
    QVERIFY2(fs::exists(gamefixture::InGame("cast/" + std::string(cast) + ".cst")), cast);
    QVERIFY2(ListedCasts(*form).contains(cast), qPrintable(ListedCasts(*form).join(' ')));
  }
}

void Form1PackageDropTest::PackagesDroppedOnATextBoxAreImportedNotTyped_data() {
  QTest::addColumn<QString>("box");
  QTest::newRow("the unit name") << "TxName";
  QTest::newRow("the file name, which would load another cast") << "cbFile";
}

void Form1PackageDropTest::PackagesDroppedOnATextBoxAreImportedNotTyped() {
  QFETCH(QString, box);
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  auto form = windowtest::MakeDemoForm();
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  TypeName(*form, "HAYATE");
  auto* name = Find<QLineEdit>(*form, "TxName");
  auto* file = Find<QComboBox>(*form, "cbFile");
  const QString unitName = name->text();

  QCOMPARE(DropOnWindow(*form, {Put(elsewhere.path() / "new.ec", PackageOf("NEW", "新型"))}, qPrintable(box)),
           QStringList{kImported});
  QVERIFY(fs::exists(gamefixture::InGame("cast/NEW.cst")));
  QCOMPARE(name->text(), unitName);
  QCOMPARE(file->currentText(), QStringLiteral("HAYATE"));
}

void Form1PackageDropTest::CastInTheEditorIsLoadedAgainOnlyWhenReplaced() {
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  auto form = windowtest::MakeDemoForm();
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  TypeName(*form, "HAYATE");
  auto* unitName = Find<QLineEdit>(*form, "TxName");
  unitName->setText(QStringLiteral("編集中"));

  QCOMPARE(DropOnWindow(*form, {Put(elsewhere.path() / "other.ec", PackageOf("OTHER", "別機"))}),
           QStringList{kImported});
  QCOMPARE(unitName->text(), QStringLiteral("編集中"));

  // The package's cast name in another letter case names the same files.
  QCOMPARE(DropOnWindow(*form, {Put(elsewhere.path() / "hayate.ec", PackageOf("hayate", "新疾風"))}),
           QStringList{kImported});
  QCOMPARE(unitName->text(), QStringLiteral("新疾風"));
  QCOMPARE(Find<QComboBox>(*form, "cbFile")->currentText(), QStringLiteral("HAYATE"));
}

void Form1PackageDropTest::CommandLinePackagesAreTheArgumentsEndingInEc_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QStringList>("packages");  // as made absolute
  QTest::addColumn<QStringList>("startUpArguments");
  const QString here = QDir::currentPath();
  QTest::newRow("a package") << QStringList{"a.ec"} << QStringList{here + "/a.ec"} << QStringList{};
  QTest::newRow("shop mode and packages in any case")
      << QStringList{"/x/B.EC", "Q", "c.Ec"} << QStringList{"/x/B.EC", here + "/c.Ec"} << QStringList{"Q"};
  QTest::newRow("a file URL") << QStringList{"file:///x/%E6%9C%AC.ec"} << QStringList{"/x/本.ec"} << QStringList{};
  QTest::newRow("not a package") << QStringList{"a.ecx", "ec"} << QStringList{} << QStringList{"a.ecx", "ec"};
}

void Form1PackageDropTest::CommandLinePackagesAreTheArgumentsEndingInEc() {
  QFETCH(QStringList, arguments);
  QFETCH(QStringList, packages);
  QFETCH(QStringList, startUpArguments);
  arguments.prepend("cast");
  const StartOptions options = ReadStartOptions(arguments);
  QVERIFY(!options.exitStatus);
  QStringList read;
  for (const fs::path& package : options.packages) read << QString::fromStdString(package.string());
  QCOMPARE(read, packages);
  QCOMPARE(options.startUpArguments, startUpArguments);
}

// The desktop may name a package that lies in the game folder itself: the
// scan imports it, and it is not imported a second time.
void Form1PackageDropTest::CommandLinePackagesAreImportedAfterTheScanAndOnlyOnce() {
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  const fs::path outside = Put(elsewhere.path() / "mine.ec", PackageOf("MINE", "自機"));
  const fs::path refused = Put(elsewhere.path() / "broken.ec", NotAPackage());
  const fs::path scanned = game.path() / "sample.ec";
  Form1 form;
  bool started = false;
  const QStringList messages = Messages([&] { started = form.StartUp({}, {scanned, outside, refused}); });
  QVERIFY(started);
  QCOMPARE(messages, (QStringList{kImported, kImported, kNotAPackage}));
  QVERIFY(!fs::exists(scanned));
  QVERIFY(fs::exists(outside));
  QVERIFY(fs::exists(refused));
  QVERIFY(fs::exists(gamefixture::InGame("cast/SHIDEN.cst")));
  QVERIFY(fs::exists(gamefixture::InGame("cast/MINE.cst")));
}

// The real program, started in a folder of its own on a game folder without
// a package: a relative path is taken in the folder it was started in.
void Form1PackageDropTest::ProgramImportsThePackagesItIsStartedWith() {
  gamefixture::TemporaryFolder root;
  const fs::path gameFolder = root.path() / "game";
  gamefixture::MakeDemoGame(gameFolder);
  fs::remove(gameFolder / "sample.ec");
  const fs::path downloads = root.path() / "downloads";
  fs::create_directory(downloads);
  Put(downloads / "mine.ec", PackageOf("MINE", "自機"));
  Put(downloads / "broken.ec", NotAPackage());

  const fs::path previous = fs::current_path();
  fs::current_path(downloads);
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((root.path() / "config").string()));
  qputenv("CAST_EXIT_WHEN_SHOWN", "1");
  const gamefixture::ProgramResult result =
      gamefixture::RunProgram(CAST_FILE, {"-C", gameFolder.string(), "mine.ec", "broken.ec"});
  qunsetenv("CAST_EXIT_WHEN_SHOWN");
  qunsetenv("XDG_CONFIG_HOME");
  fs::current_path(previous);

  QCOMPARE(result.exitStatus, 0);
  QCOMPARE(QString::fromStdString(result.out),
           QStringLiteral("message: ") + kImported + "\nmessage: " + kNotAPackage + "\nshown\n");
  QVERIFY(fs::exists(downloads / "mine.ec"));
  QVERIFY(fs::exists(gameFolder / "cast/MINE.cst"));
}

QTEST_MAIN(Form1PackageDropTest)
#include "form1_package_drop_test.moc"
