// The start-up against made game folders, and the exit: shop mode from the
// command line, the package scan, the missing-file checks, the game files read
// through the scrambling library loaded from dat/, the lists, and closing.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "demo_game.h"
#include "demo_game_window.h"
#include "fixture_files.h"
#include "message_box_answerer.h"
#include "package_fixture.h"
#include "packed_format.h"
#include "program_run.h"
#include "progress_file_fixture.h"
#include "scrambled_file.h"
#include "sjis.h"
#include "temporary_folder.h"
#include "weapon_catalogue_fixture.h"

namespace fs = std::filesystem;
using gamefixture::FixtureWeapon;

namespace {

const QString kVersionMessage =
    QStringLiteral("Orvalis～Zenthar～のバージョンが対応していません\nVersion1.32以上をインストールしてください");
const QString kRunTheGameMessage = QStringLiteral("Orvalis～Zenthar～を一度実行してください");
const QString kRunInTheGameFolderMessage =
    QStringLiteral("Orvalis～Zenthar～がインストールされているフォルダで実行してください");
const QString kImportedMessage = QStringLiteral("ECファイルを展開しました");

enum class Library { kReal, kWithoutUnpack, kMissing };

// A game folder of the test's own, made the working folder while it lives,
// with the scrambling library placed in dat/ the way the installer puts it.
class GameFolder {
 public:
  explicit GameFolder(Library library = Library::kReal) : previous_(fs::current_path()) {
    fs::create_directories(folder_.path() / "dat");
    fs::create_directories(folder_.path() / "cast");
    if (library != Library::kMissing) {
      fs::create_symlink(library == Library::kReal ? ORVDLL_FILE : ORVDLL_WITHOUT_UNPACK_FILE,
                         folder_.path() / "dat/libOrvDll.so");
    }
    fs::current_path(folder_.path());
  }
  ~GameFolder() { fs::current_path(previous_); }

  const fs::path& path() const { return folder_.path(); }

 private:
  gamefixture::TemporaryFolder folder_;
  fs::path previous_;
};

// A complete game: the version file, a progress file with player number 7 and
// a catalogue, both packed, from the one table of weapons.
void WriteGame(const fs::path& folder, const std::vector<FixtureWeapon>& weapons) {
  gamefixture::WriteVersionFile(folder);
  gamefixture::WriteProgressFile(folder, weapons, 7);
  gamefixture::WriteWeaponCatalogue(folder, weapons);
}

struct StartUpRun {
  bool result = false;
  QStringList texts;
};

StartUpRun RunStartUp(Form1& form, const QStringList& arguments = {}) {
  StartUpRun run;
  run.texts = windowtest::Messages([&] { run.result = form.StartUp(arguments); });
  return run;
}

QStringList ItemTexts(QComboBox* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
  return texts;
}

// The file is packed on disk and unpacks to `plain`.
bool IsPackedForm(const fs::path& file, const std::vector<std::uint8_t>& plain) {
  const std::string bytes = gamefixture::ReadBytes(file);
  return scrambler::IsPacked(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) &&
         castdata::ReadGameFileInMemory(file) == plain;
}

gamefixture::PackageFields PackageOf(const char* castName) {
  gamefixture::PackageFields fields;
  fields.nameField = castName;
  return fields;
}

QComboBox* Combo(Form1& form, const char* name) { return form.findChild<QComboBox*>(name); }

// What any write in the folder changes, for every entry: its inode (a
// rewrite renames a new file into place) and its modification time (a
// folder's changes with every name made or removed in it).
std::map<std::string, std::pair<ino_t, std::int64_t>> WriteMarks(const fs::path& folder) {
  std::map<std::string, std::pair<ino_t, std::int64_t>> marks;
  const auto mark = [&](const fs::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) qFatal("cannot look at %s", path.c_str());
    marks[fs::relative(path, folder).generic_string()] = {
        status.st_ino, std::int64_t{status.st_mtim.tv_sec} * 1000000000 + status.st_mtim.tv_nsec};
  };
  mark(folder);
  for (const auto& entry : fs::recursive_directory_iterator(folder)) mark(entry.path());
  return marks;
}

}  // namespace

class Form1StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void ShopModeOnlyForTheArgumentTextQ_data();
  void ShopModeOnlyForTheArgumentTextQ();
  void PagesStayDisabledWhileTheFileBoxShowsItsPrompt();
  void PackagesAreImportedBeforeTheVersionCheckExceptUploads();
  void FailedPackageImportIsShownAndTheStartUpGoesOn();
  void MissingGameFileEndsTheStartUpAfterItsMessage_data();
  void MissingGameFileEndsTheStartUpAfterItsMessage();
  void LibraryFaultIsShownNamingTheLibraryFile_data();
  void LibraryFaultIsShownNamingTheLibraryFile();
  void CatalogueFaultLeavesTheListsFilledSoFarAndTheFilePacked();
  void ListsHoldTheCatalogueItems_data();
  void ListsHoldTheCatalogueItems();
  void ShopListHoldsEveryListedWeaponWithItsCode();
  void DemoGameStartsWithItsPackageImportedOnce();
  void AStartUpOnTheFilesAsItLeavesThemWritesNothing();
  void DemoGameHoldsAPictureATemplateAndTheManual();
  void ProgramShowsItsWindowAfterTheStartUp();
  void ExitClosesTheWindowWithoutAsking_data();
  void ExitClosesTheWindowWithoutAsking();
};

void Form1StartUpTest::ShopModeOnlyForTheArgumentTextQ_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("shopMode");
  QTest::newRow("Q") << QStringList{"Q"} << true;
  QTest::newRow("q") << QStringList{"q"} << false;
  QTest::newRow("none") << QStringList{} << false;
  QTest::newRow("Q twice") << QStringList{"Q", "Q"} << false;
  QTest::newRow("Q and a blank") << QStringList{"Q "} << false;
  QTest::newRow("QQ") << QStringList{"QQ"} << false;
}

void Form1StartUpTest::ShopModeOnlyForTheArgumentTextQ() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, shopMode);
  GameFolder game;
  WriteGame(game.path(), {FixtureWeapon(0, 1, "ビーム砲")});
  Form1 form;

  const StartUpRun run = RunStartUp(form, arguments);

  QVERIFY(run.result);
  QCOMPARE(run.texts, QStringList{});
  QCOMPARE(form.ShopMode(), shopMode);
  for (const char* shopControl : {"VShop", "cmVShopPack", "sf"}) {
    QCOMPARE(form.findChild<QWidget*>(shopControl)->isHidden(), !shopMode);
  }
  for (int i = 0; i < 4; ++i) QCOMPARE(form.lbPar(i)->isHidden(), !shopMode);
  QCOMPARE(Combo(form, "VShop")->count() > 0, shopMode);
}

void Form1StartUpTest::PagesStayDisabledWhileTheFileBoxShowsItsPrompt() {
  GameFolder game;
  WriteGame(game.path(), {});
  Form1 form;

  QVERIFY(RunStartUp(form).result);

  QVERIFY(!form.findChild<QTabWidget*>("SSTab1")->isEnabled());
  QCOMPARE(Combo(form, "cbFile")->currentText(), QStringLiteral("ここを選択"));
  QCOMPARE(form.PlayerNumber(), std::int16_t{7});
}

void Form1StartUpTest::PackagesAreImportedBeforeTheVersionCheckExceptUploads() {
  // No "orv.txt", but game files that a read would rewrite: they must stay.
  GameFolder game;
  gamefixture::WriteProgressFile(game.path(), {}, 7);
  gamefixture::WriteWeaponCatalogue(game.path(), {});
  const std::string progressBefore = gamefixture::ReadBytes(game.path() / "DAT/USER.DAT");
  const std::string catalogueBefore = gamefixture::ReadBytes(game.path() / "DAT/Orv_bwpn.DAT");
  for (const char* upload : {"upload.ec", "Upload.EC"}) {
    gamefixture::WritePackageFile(game.path() / upload, PackageOf("UPL"));
  }
  gamefixture::WritePackageFile(game.path() / "up.ec", PackageOf("UP"));
  Form1 form;

  const StartUpRun run = RunStartUp(form);

  QVERIFY(!run.result);
  QCOMPARE(run.texts, (QStringList{kImportedMessage, kVersionMessage}));
  QVERIFY(!fs::exists(game.path() / "up.ec"));
  QVERIFY(fs::exists(game.path() / "cast/UP.cst"));
  QVERIFY(fs::exists(game.path() / "upload.ec"));
  QVERIFY(fs::exists(game.path() / "Upload.EC"));
  QVERIFY(!fs::exists(game.path() / "cast/UPL.cst"));
  QCOMPARE(gamefixture::ReadBytes(game.path() / "DAT/USER.DAT"), progressBefore);
  QCOMPARE(gamefixture::ReadBytes(game.path() / "DAT/Orv_bwpn.DAT"), catalogueBefore);
}

void Form1StartUpTest::FailedPackageImportIsShownAndTheStartUpGoesOn() {
  GameFolder game;
  WriteGame(game.path(), {FixtureWeapon(1, 1, "ミサイル")});
  fs::remove(game.path() / "cast");
  gamefixture::WritePackageFile(game.path() / "a.ec", PackageOf("ABC"));
  Form1 form;

  const StartUpRun run = RunStartUp(form);

  QVERIFY(run.result);
  QCOMPARE(run.texts.size(), 1);
  QVERIFY2(run.texts[0].startsWith(QStringLiteral("a.ecを展開できませんでした\ncast/ABC")), qPrintable(run.texts[0]));
  QVERIFY(fs::exists(game.path() / "a.ec"));
  QCOMPARE(form.Wpn(1)->itemText(0), QStringLiteral("1 ミサイル"));
}

void Form1StartUpTest::MissingGameFileEndsTheStartUpAfterItsMessage_data() {
  QTest::addColumn<QString>("missing");
  QTest::addColumn<QString>("message");
  QTest::addColumn<bool>("progressRead");
  QTest::newRow("version file") << "orv.txt" << kVersionMessage << false;
  QTest::newRow("progress file") << "DAT/USER.DAT" << kRunTheGameMessage << false;
  QTest::newRow("catalogue") << "DAT/Orv_bwpn.DAT" << kRunInTheGameFolderMessage << true;
}

void Form1StartUpTest::MissingGameFileEndsTheStartUpAfterItsMessage() {
  QFETCH(QString, missing);
  QFETCH(QString, message);
  QFETCH(bool, progressRead);
  GameFolder game;
  WriteGame(game.path(), {});
  fs::remove(game.path() / missing.toStdString());
  const std::vector<std::uint8_t> plainProgress = gamefixture::ProgressFileBytes({}, 7);
  Form1 form;

  const StartUpRun run = RunStartUp(form);

  QVERIFY(!run.result);
  QCOMPARE(run.texts, QStringList{message});
  QVERIFY(form.isHidden());
  // Read means unpacked, read and packed again before the message.
  QCOMPARE(form.PlayerNumber(), static_cast<std::int16_t>(progressRead ? 7 : 0));
  if (progressRead) QVERIFY(IsPackedForm(game.path() / "DAT/USER.DAT", plainProgress));
}

void Form1StartUpTest::LibraryFaultIsShownNamingTheLibraryFile_data() {
  QTest::addColumn<int>("library");
  QTest::newRow("missing") << static_cast<int>(Library::kMissing);
  QTest::newRow("without FileUnpack") << static_cast<int>(Library::kWithoutUnpack);
}

void Form1StartUpTest::LibraryFaultIsShownNamingTheLibraryFile() {
  QFETCH(int, library);
  GameFolder game(static_cast<Library>(library));
  WriteGame(game.path(), {FixtureWeapon(0, 10, "ビーム砲")});
  const std::string progressBefore = gamefixture::ReadBytes(game.path() / "DAT/USER.DAT");
  Form1 form;

  const StartUpRun run = RunStartUp(form);

  // The error path: the window opens, with nothing listed.
  QVERIFY(run.result);
  QCOMPARE(run.texts.size(), 1);
  QVERIFY2(run.texts[0].contains("dat/libOrvDll.so"), qPrintable(run.texts[0]));
  QCOMPARE(form.Wpn(0)->count(), 0);
  QCOMPARE(gamefixture::ReadBytes(game.path() / "DAT/USER.DAT"), progressBefore);
}

void Form1StartUpTest::CatalogueFaultLeavesTheListsFilledSoFarAndTheFilePacked() {
  GameFolder game;
  const std::vector<FixtureWeapon> weapons = {FixtureWeapon(0, 10, "ビーム砲"),
                                              FixtureWeapon(2, 1, "爆弾").WithNameLength(-1)};
  WriteGame(game.path(), weapons);
  const std::vector<std::uint8_t> plainCatalogue = gamefixture::WeaponCatalogueBytes(weapons);
  Form1 form;

  const StartUpRun run = RunStartUp(form);

  QVERIFY(run.result);
  QCOMPARE(run.texts.size(), 1);
  QVERIFY2(run.texts[0].contains("DAT/Orv_bwpn.DAT"), qPrintable(run.texts[0]));
  QCOMPARE(form.Wpn(0)->count(), 32);
  QCOMPARE(form.Wpn(0)->itemText(9), QStringLiteral("10 ビーム砲"));
  QCOMPARE(form.Wpn(1)->count(), 32);
  for (int category = 2; category < 6; ++category) QCOMPARE(form.Wpn(category)->count(), 0);
  QVERIFY(IsPackedForm(game.path() / "DAT/Orv_bwpn.DAT", plainCatalogue));
}

void Form1StartUpTest::ListsHoldTheCatalogueItems_data() {
  QTest::addColumn<bool>("shopMode");
  QTest::addColumn<int>("category");
  QTest::addColumn<int>("number");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("data");
  // Slot 0 allows only weapons 10, 13-16 outside shop mode.
  QTest::newRow("slot 0 weapon 11") << false << 0 << 11 << "11 -------" << 1;
  QTest::newRow("slot 0 weapon 11, shop") << true << 0 << 11 << "11 レーザー" << 0;
  QTest::newRow("slot 0 weapon 13") << false << 0 << 13 << "13 散弾" << 0;
  QTest::newRow("usage 2046") << false << 1 << 2 << "2 -------" << 1;
  QTest::newRow("usage 2046, shop") << true << 1 << 2 << "2 砲" << 0;
  QTest::newRow("not available, shop") << true << 1 << 3 << "3 -------" << 1;
  QTest::newRow("empty name") << false << 4 << 5 << "5" << 0;
  QTest::newRow("trailing blanks") << false << 4 << 6 << "6 剣" << 0;
}

void Form1StartUpTest::ListsHoldTheCatalogueItems() {
  QFETCH(bool, shopMode);
  QFETCH(int, category);
  QFETCH(int, number);
  QFETCH(QString, text);
  QFETCH(int, data);
  GameFolder game;
  WriteGame(game.path(), {FixtureWeapon(0, 11, "レーザー"), FixtureWeapon(0, 13, "散弾"),
                          FixtureWeapon(1, 2, "砲").WithUsage(2046),
                          FixtureWeapon(1, 3, "槍").WithAvailability(0), FixtureWeapon(4, 5, ""),
                          FixtureWeapon(4, 6, "剣  "), FixtureWeapon(3, 1).WithListEnd(100),
                          FixtureWeapon(5, 4).WithListEnd(100)});
  Form1 form;

  QVERIFY(RunStartUp(form, shopMode ? QStringList{"Q"} : QStringList{}).result);

  QCOMPARE(form.Wpn(category)->itemText(number - 1), text);
  QCOMPARE(form.Wpn(category)->itemData(number - 1).toInt(), data);
  // A list ends before the first record that carries the list end.
  QCOMPARE(form.Wpn(3)->count(), 0);
  QCOMPARE(form.Wpn(5)->count(), 3);
}

void Form1StartUpTest::ShopListHoldsEveryListedWeaponWithItsCode() {
  GameFolder game;
  std::vector<FixtureWeapon> weapons = {FixtureWeapon(0, 5, "槍").WithAvailability(0),
                                        FixtureWeapon(5, 32, "盾")};
  // Category 0 lists weapons 1-5 (1-4 with empty names), categories 1-4 none,
  // category 5 lists all 32; unusable ones are in the shop list too.
  weapons.push_back(FixtureWeapon(0, 6).WithListEnd(100));
  for (int category = 1; category < 5; ++category) weapons.push_back(FixtureWeapon(category, 1).WithListEnd(100));
  WriteGame(game.path(), weapons);
  Form1 form;

  QVERIFY(RunStartUp(form, {"Q"}).result);

  QComboBox* shop = Combo(form, "VShop");
  QCOMPARE(shop->count(), 5 + 32);
  QCOMPARE(shop->itemText(0), QStringLiteral("1"));
  QCOMPARE(shop->itemText(4), QStringLiteral("5 槍"));
  QCOMPARE(shop->itemData(4).toInt(), 105);
  QCOMPARE(shop->itemText(36), QStringLiteral("32 盾"));
  QCOMPARE(shop->itemData(36).toInt(), 632);
  QCOMPARE(ItemTexts(form.Wpn(0)).mid(3), (QStringList{"4 -------", "5 -------"}));
}

void Form1StartUpTest::DemoGameStartsWithItsPackageImportedOnce() {
  GameFolder game;
  gamefixture::MakeDemoGame(game.path());
  const std::string ownCastBefore = gamefixture::ReadBytes(game.path() / "cast/HAYATE.dat");

  Form1 first;
  const StartUpRun firstRun = RunStartUp(first);
  Form1 second;
  const StartUpRun secondRun = RunStartUp(second);

  QVERIFY(firstRun.result);
  QCOMPARE(firstRun.texts, QStringList{kImportedMessage});
  QVERIFY(!fs::exists(game.path() / "sample.ec"));
  for (const char* file : {"cast/SHIDEN.dat", "cast/SHIDEN.cst", "cast/SHIDEN.bmp"}) {
    QVERIFY2(fs::exists(game.path() / file), file);
  }
  QVERIFY(secondRun.result);
  QCOMPARE(secondRun.texts, QStringList{});
  QCOMPARE(second.PlayerNumber(), gamefixture::kDemoPlayerNumber);
  const std::vector<int> listLengths = {16, 12, 32, 3, 20, 6};
  for (int category = 0; category < 6; ++category) {
    QCOMPARE(second.Wpn(category)->count(), listLengths[category]);
  }
  QCOMPARE(second.Wpn(0)->itemText(9), QStringLiteral("10 光子剣"));
  QCOMPARE(second.Wpn(0)->itemText(0), QStringLiteral("1 -------"));
  QCOMPARE(gamefixture::ReadBytes(game.path() / "cast/HAYATE.dat"), ownCastBefore);
}

// The game files as the game and this editor leave them, packed, are read
// without a write, and a scan without packages makes not even a lock file.
void Form1StartUpTest::AStartUpOnTheFilesAsItLeavesThemWritesNothing() {
  GameFolder game;
  gamefixture::MakeDemoGame(game.path());
  {
    Form1 first;
    QCOMPARE(RunStartUp(first).texts, QStringList{kImportedMessage});
  }
  const auto before = WriteMarks(game.path());
  Form1 second;
  const StartUpRun run = RunStartUp(second);
  QVERIFY(run.result);
  QCOMPARE(run.texts, QStringList{});
  QCOMPARE(second.PlayerNumber(), gamefixture::kDemoPlayerNumber);
  QCOMPARE(second.Wpn(0)->itemText(9), QStringLiteral("10 光子剣"));
  QVERIFY(WriteMarks(game.path()) == before);
}

void Form1StartUpTest::DemoGameHoldsAPictureATemplateAndTheManual() {
  gamefixture::TemporaryFolder game;
  gamefixture::MakeDemoGame(game.path());

  // Spelled as a Windows installer makes it: one "DAT" folder holding the game
  // files, the library and the template, and an own cast in upper case.
  QStringList entries;
  for (const auto& entry : fs::recursive_directory_iterator(game.path())) {
    entries << QString::fromStdString(fs::relative(entry.path(), game.path()).generic_string());
  }
  entries.sort();
  QCOMPARE(entries,
           (QStringList{"DAT", "DAT/Orv_bwpn.DAT", "DAT/USER.DAT", "DAT/libOrvDll.so", "DAT/orv_up.dat", "cast",
                        "cast/HAYATE.BMP", "cast/HAYATE.CST", "cast/HAYATE.DAT", "cast/RAIDEN.bmp", "cast/RAIDEN.cst",
                        "cast/RAIDEN.dat", "cast/def.bmp", "help_tug.html", "orv.txt", "sample.ec"}));
  QCOMPARE(fs::file_size(game.path() / "cast/def.bmp"), std::uintmax_t{5174});
  // The template is Shift-JIS with CR LF; each placeholder is a line of its own.
  const QString page = QString::fromStdString(sjis::ToUtf8(gamefixture::ReadBytes(game.path() / "DAT/orv_up.dat")));
  QVERIFY(page.endsWith("\r\n"));
  QCOMPARE(page.count("\r\n"), page.count('\n'));
  const QStringList lines = page.split("\r\n");
  for (const char* placeholder : {"%s", "%m", "%k1", "%k2", "%k3", "%a", "%i", "%p", "%e", "%l"}) {
    QVERIFY2(lines.contains(placeholder), placeholder);
  }
  const std::string manual = gamefixture::ReadBytes(game.path() / "help_tug.html");
  QVERIFY(QString::fromStdString(manual).contains(QStringLiteral("説明書")));
}

void Form1StartUpTest::ProgramShowsItsWindowAfterTheStartUp() {
  // The real program, in a game folder without a package (whose message
  // would wait for a click); CAST_EXIT_WHEN_SHOWN makes it report its first
  // paint and quit.
  GameFolder game;
  gamefixture::MakeDemoGame(game.path());
  fs::remove(game.path() / "sample.ec");
  qputenv("CAST_EXIT_WHEN_SHOWN", "1");
  const gamefixture::ProgramResult result = gamefixture::RunProgram(CAST_FILE, {});
  qunsetenv("CAST_EXIT_WHEN_SHOWN");

  QCOMPARE(result.exitStatus, 0);
  QCOMPARE(QString::fromStdString(result.out), QStringLiteral("shown\n"));
}

void Form1StartUpTest::ExitClosesTheWindowWithoutAsking_data() {
  QTest::addColumn<bool>("byButton");
  QTest::newRow("Command1") << true;
  QTest::newRow("close box") << false;
}

void Form1StartUpTest::ExitClosesTheWindowWithoutAsking() {
  QFETCH(bool, byButton);
  GameFolder game;
  WriteGame(game.path(), {});
  Form1 form;
  QVERIFY(RunStartUp(form).result);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  MessageBoxAnswerer answerer;

  // The program's event loop must end by itself; the guard only keeps a
  // failing run from hanging.
  QTimer::singleShot(0, &form, [&form, byButton] {
    if (byButton) {
      QTest::mouseClick(form.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    } else {
      form.close();
    }
  });
  QTimer guard;
  guard.setSingleShot(true);
  connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  guard.start(5000);

  QCOMPARE(QApplication::exec(), 0);
  QVERIFY(form.isHidden());
  QCOMPARE(answerer.Texts(), QStringList{});
}

QTEST_MAIN(Form1StartUpTest)
#include "form1_startup_test.moc"
