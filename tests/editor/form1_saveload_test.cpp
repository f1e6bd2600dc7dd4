// The cast list, the load, the new-cast reset, the save command and the save
// routine, in the demo game folder made the working folder.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <filesystem>
#include <functional>
#include <string>

#include "cast_data_file.h"
#include "cast_profile.h"
#include "cast_rules.h"
#include "demo_game.h"
#include "demo_game_window.h"
#include "derived_values.h"
#include "fixture_files.h"
#include "folder_snapshot.h"

namespace fs = std::filesystem;
using gamefixture::kDemoOtherPlayerNumber;
using gamefixture::kDemoPlayerNumber;
using windowtest::DemoGameFolder;
using windowtest::Find;
using windowtest::MakeDemoForm;
using windowtest::MakeSavableNewCast;
using windowtest::Messages;
using windowtest::TypeName;

namespace {

// `relative` as the editor names it in the demo game, found in any case.
QString Shown(const char* relative) { return QString::fromStdString(gamefixture::InGame(relative)); }

const QString kNotOwnCast = QStringLiteral("自分で作成したデータ以外、保存できません");
const QString kSaved = QStringLiteral("保存終了");
const QString kHiddenDataMode = QStringLiteral("データ非表示モード");
const QStringList kCastDataControls{"Frame5",  "Frame7",  "Frame8", "Frame9",
                                    "Frame10", "Frame11", "Frame13", "Check1"};

QComboBox* File(const Form1& form) { return Find<QComboBox>(form, "cbFile"); }
QString Text(const Form1& form, const char* name) {
  if (auto* box = form.findChild<QLineEdit*>(name)) return box->text();
  return Find<QLabel>(form, name)->text();
}
void SetText(Form1& form, const char* name, const QString& text) { Find<QLineEdit>(form, name)->setText(text); }
bool Ticked(const Form1& form, const char* name) { return Find<QCheckBox>(form, name)->isChecked(); }
int Page(const Form1& form) { return Find<QTabWidget>(form, "SSTab1")->currentIndex(); }

QStringList PressSave(Form1& form) {
  return Messages([&] { Find<QPushButton>(form, "Save")->click(); });
}

QList<bool> CastDataHidden(const Form1& form) {
  QList<bool> hidden;
  for (const QString& name : kCastDataControls) hidden << Find<QWidget>(form, qPrintable(name))->isHidden();
  return hidden;
}
QList<bool> All(bool value) { return QList<bool>(kCastDataControls.size(), value); }

// A picture of `side` x `side` pixels in one of the formats Qt writes ("PNG",
// "BMP", ...).
std::string ImageFileBytes(const char* format, int side = 64) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(QColor(200, 30, 30));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) qFatal("cannot write a %s picture", format);
  return bytes.toStdString();
}

// A GIF of one pixel, which Qt reads but does not write.
const std::string kGifBytes(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00\x00\x00\x00,"
    "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;",
    43);

QList<int> WeaponIndexes(const Form1& form) {
  QList<int> indexes;
  for (int k = 0; k < 6; ++k) indexes << form.Wpn(k)->currentIndex();
  return indexes;
}

castdata::CastRecord Stored(const char* name) { return castdata::ReadCastData(name); }
void Store(const char* name, const std::function<void(castdata::CastRecord&)>& change) {
  castdata::CastRecord record = castdata::ReadCastData(name);
  change(record);
  castdata::WriteCastData(name, record);
}

}  // namespace

class Form1SaveLoadTest : public QObject {
  Q_OBJECT

 private slots:
  void LoadPutsTheCastIntoTheControls();
  void LoadedCastIsSavedBackAsItWasButTheFirstWeapon_data();
  void LoadedCastIsSavedBackAsItWasButTheFirstWeapon();
  void DemoCastIsSavedBackByteForByte_data();
  void DemoCastIsSavedBackByteForByte();
  void OwnershipDecidesHiddenDataAndTheSave_data();
  void OwnershipDecidesHiddenDataAndTheSave();
  void StoredRecordCheckAndSerialAreTested();
  void NewCastResetsTheControls_data();
  void NewCastResetsTheControls();
  void NewNameAfterALoadedCastKeepsWhatTheResetLeaves();
  void EveryKeystrokeLoadsAndAnEmptyNameDisablesThePages();
  void CastListIsFilledWhenTheListDropsDown();
  void PickFromTheListLoadsOnce();
  void LoadFailureStopsWhereItHappens();
  void ABitmapOfAnotherKindStillShows();
  void BadNameIsANewCastAndCannotBeSaved();
  void SaveBeforeAnyLoad_data();
  void SaveBeforeAnyLoad();
  void SaveRoutineChecksInTheirOrder();
  void UnstorableTextIsRefusedNamingItsField();
  void SaveWritesTheCastFiles();
  void MissingDefaultPictureAfterTheFilesAreWritten();
  void FailedWriteIsReportedAndLeavesTheFiles();
};

void Form1SaveLoadTest::LoadPutsTheCastIntoTheControls() {
  DemoGameFolder game;
  auto form = MakeDemoForm();
  QCOMPARE(TypeName(*form, "HAYATE"), QStringList());
  QVERIFY(Find<QTabWidget>(*form, "SSTab1")->isEnabled());

  QCOMPARE(Text(*form, "TxName"), QStringLiteral("疾風"));
  QCOMPARE((QStringList{form->TxCom(0)->text(), form->TxCom(1)->text(), form->TxCom(2)->text()}),
           (QStringList{"高速で敵の背後を", "取る接近戦型。", "衝撃砲が主力。"}));
  QCOMPARE(Text(*form, "TxMaker"), QStringLiteral("風間ハヤト"));
  QCOMPARE(Text(*form, "TxEmail"), QStringLiteral("hayate@example.jp"));
  QCOMPARE(WeaponIndexes(*form), (QList<int>{12, 0, 1, 0, 0, 0}));
  QCOMPARE(Find<QSlider>(*form, "slRange")->value(), 300);
  QCOMPARE(Text(*form, "lbRange"), QStringLiteral("300"));
  QList<int> shares, moves, points;
  for (int j = 0; j < 5; ++j) shares << form->slWPrsnt(j)->value();
  for (int m = 0; m < 9; ++m) moves << form->slMove(m)->value();
  for (int i = 0; i < 4; ++i) points << form->slPar(i)->value();
  QCOMPARE(shares, (QList<int>{40, 30, 20, 10, 35}));
  QCOMPARE(moves, (QList<int>{20, 15, 20, 15, 5, 5, 5, 10, 5}));
  QCOMPARE(points, (QList<int>{30, 25, 25, 20}));
  QCOMPARE(Text(*form, "lbZan"), QStringLiteral("0%"));
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(form->lbPar(i)->text(), QString::number(castdata::DerivedParameterValue(i, points[i])));
  }
  QCOMPARE((QList<bool>{Ticked(*form, "Check1"), Ticked(*form, "Check2"), Ticked(*form, "Check6"),
                        Ticked(*form, "ChTama")}),
           (QList<bool>{false, true, false, true}));
  QCOMPARE((QStringList{Text(*form, "lbWin"), Text(*form, "lbLost"), Text(*form, "lbLevel")}),
           (QStringList{"12", "5", "24"}));
  QCOMPARE((QStringList{Text(*form, "TxZan"), Text(*form, "TxRen"), Text(*form, "TxDame")}),
           (QStringList{"80", "4", "850"}));
  QCOMPARE(form->CastOwnerNumber(), kDemoPlayerNumber);
  QCOMPARE(form->CastSerial(), std::int16_t{12345});
  QCOMPARE(CastDataHidden(*form), All(false));
  QCOMPARE(Text(*form, "lbInfo"), QString());
  QCOMPARE(Find<QLabel>(*form, "Picture1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
           QImage(Shown("cast/HAYATE.bmp")).convertToFormat(QImage::Format_RGB32));
}

void Form1SaveLoadTest::LoadedCastIsSavedBackAsItWasButTheFirstWeapon_data() {
  QTest::addColumn<bool>("shopMode");
  QTest::addColumn<int>("firstWeapon");
  QTest::newRow("outside shop mode, list index 12") << false << 12;
  QTest::newRow("shop mode, as stored") << true << 9;
}

void Form1SaveLoadTest::LoadedCastIsSavedBackAsItWasButTheFirstWeapon() {
  QFETCH(bool, shopMode);
  QFETCH(int, firstWeapon);
  DemoGameFolder game;
  Store("HAYATE", [](castdata::CastRecord& record) { record.weaponIndex[0] = 9; });
  castdata::CastRecord expected = Stored("HAYATE");
  const std::string profile = gamefixture::ReadBytes(gamefixture::InGame("cast/HAYATE.cst"));
  auto form = MakeDemoForm(shopMode);
  TypeName(*form, "HAYATE");
  QCOMPARE(form->Wpn(0)->currentIndex(), firstWeapon);
  QCOMPARE(PressSave(*form), QStringList{kSaved});
  expected.weaponIndex[0] = static_cast<std::int16_t>(firstWeapon);
  QVERIFY(Stored("HAYATE") == expected);
  QCOMPARE(gamefixture::ReadBytes(gamefixture::InGame("cast/HAYATE.cst")), profile);
}

void Form1SaveLoadTest::DemoCastIsSavedBackByteForByte_data() {
  QTest::addColumn<bool>("shopMode");
  QTest::newRow("outside shop mode") << false;
  QTest::newRow("shop mode") << true;
}

// The demo game's own cast holds what the editor shows of it: loading it and
// saving it unchanged leaves its files as they were.
void Form1SaveLoadTest::DemoCastIsSavedBackByteForByte() {
  QFETCH(bool, shopMode);
  DemoGameFolder game;
  const gamefixture::FolderTree before = game.Snapshot();
  auto form = MakeDemoForm(shopMode);
  TypeName(*form, "HAYATE");
  QCOMPARE(PressSave(*form), QStringList{kSaved});
  QVERIFY(game.Snapshot() == before);
}

void Form1SaveLoadTest::OwnershipDecidesHiddenDataAndTheSave_data() {
  QTest::addColumn<int>("storedOwner");
  QTest::addColumn<int>("hideData");
  QTest::addColumn<bool>("shopMode");
  QTest::addColumn<bool>("hidden");
  QTest::addColumn<int>("castOwner");
  QTest::addColumn<bool>("saved");
  const int other = kDemoOtherPlayerNumber;
  const int own = kDemoPlayerNumber;
  QTest::newRow("another player's, hidden") << other << 1 << false << true << other << false;
  QTest::newRow("another player's, hidden, shop mode") << other << 1 << true << true << other << true;
  QTest::newRow("another player's, shown") << other << 0 << false << false << other << false;
  QTest::newRow("owner 0 is the player's own") << 0 << 1 << false << false << own << true;
}

// The save writes the player's number as owner; the cast owner number stays.
void Form1SaveLoadTest::OwnershipDecidesHiddenDataAndTheSave() {
  QFETCH(int, storedOwner);
  QFETCH(int, hideData);
  QFETCH(bool, shopMode);
  QFETCH(bool, hidden);
  QFETCH(int, castOwner);
  QFETCH(bool, saved);
  DemoGameFolder game;
  Store("RAIDEN", [&](castdata::CastRecord& record) {
    record.ownerNumber = static_cast<std::int16_t>(storedOwner);
    record.hideData = static_cast<std::int16_t>(hideData);
  });
  auto form = MakeDemoForm(shopMode);
  QCOMPARE(TypeName(*form, "RAIDEN"), QStringList());
  QCOMPARE(form->CastOwnerNumber(), castOwner);
  QCOMPARE(CastDataHidden(*form), All(hidden));
  QCOMPARE(Text(*form, "lbInfo"), hidden ? kHiddenDataMode : QString());
  // The identity page is never hidden, and the values are loaded either way.
  QCOMPARE(Text(*form, "TxName"), QStringLiteral("雷電"));
  QCOMPARE(Text(*form, "lbWin"), QStringLiteral("40"));
  QVERIFY(!Find<QLabel>(*form, "Picture1")->pixmap().isNull());
  QCOMPARE(Ticked(*form, "Check1"), hideData == 1);
  QCOMPARE(form->slMove(2)->value(), 30);

  const gamefixture::FolderTree before = game.Snapshot();
  QCOMPARE(PressSave(*form), QStringList{saved ? kSaved : kNotOwnCast});
  if (saved) {
    QCOMPARE(Stored("RAIDEN").ownerNumber, kDemoPlayerNumber);
  } else {
    QVERIFY(game.Snapshot() == before);
  }
  QCOMPARE(form->CastOwnerNumber(), castOwner);
}

void Form1SaveLoadTest::StoredRecordCheckAndSerialAreTested() {
  DemoGameFolder game;
  Store("HAYATE", [](castdata::CastRecord& record) {
    ++record.recordCheck;
    record.serial = 0;
  });
  auto form = MakeDemoForm();
  TypeName(*form, "HAYATE");
  QCOMPARE((QStringList{Text(*form, "lbWin"), Text(*form, "lbLost"), Text(*form, "lbLevel")}),
           (QStringList{"0", "0", "24"}));
  const std::int16_t serial = form->CastSerial();
  QVERIFY(serial >= 0 && serial <= 30000);
  QCOMPARE(PressSave(*form), QStringList{kSaved});
  const castdata::CastRecord saved = Stored("HAYATE");
  QCOMPARE(saved.serial, serial);
  QCOMPARE(saved.wins, std::int16_t{0});
  QCOMPARE(saved.recordCheck, castdata::ComputeRecordCheck(0, 0));
}

void Form1SaveLoadTest::NewCastResetsTheControls_data() {
  QTest::addColumn<bool>("shopMode");
  QTest::addColumn<int>("firstWeapon");
  QTest::newRow("outside shop mode") << false << 12;
  QTest::newRow("shop mode") << true << -1;
}

void Form1SaveLoadTest::NewCastResetsTheControls() {
  QFETCH(bool, shopMode);
  QFETCH(int, firstWeapon);
  DemoGameFolder game;
  const gamefixture::FolderTree before = game.Snapshot();
  auto form = MakeDemoForm(shopMode);
  QCOMPARE(TypeName(*form, "ABC"), QStringList());
  QVERIFY(Find<QTabWidget>(*form, "SSTab1")->isEnabled());
  QCOMPARE(WeaponIndexes(*form), (QList<int>{firstWeapon, -1, -1, -1, -1, -1}));
  // The derived values of parameters that did not move keep the reset's "0".
  QCOMPARE((QStringList{form->lbPar(0)->text(), form->lbPar(1)->text(), form->lbPar(2)->text(),
                        form->lbPar(3)->text()}),
           (QStringList{"109", "0", "0", "0"}));
  QCOMPARE(Text(*form, "lbZan"), QStringLiteral("100%"));
  QCOMPARE(Find<QSlider>(*form, "slRange")->value(), 20);
  QCOMPARE((QStringList{Text(*form, "lbLevel"), Text(*form, "TxZan"), Text(*form, "TxRen"), Text(*form, "TxDame")}),
           (QStringList{"20", "80", "4", "500"}));
  QCOMPARE(form->CastOwnerNumber(), kDemoPlayerNumber);
  QCOMPARE(CastDataHidden(*form), All(false));
  QVERIFY(game.Snapshot() == before);
}

void Form1SaveLoadTest::NewNameAfterALoadedCastKeepsWhatTheResetLeaves() {
  DemoGameFolder game;
  auto form = MakeDemoForm();
  TypeName(*form, "RAIDEN");  // another player's cast, hidden
  const QImage picture = Find<QLabel>(*form, "Picture1")->pixmap().toImage();
  QCOMPARE(TypeName(*form, "NEWCAST"), QStringList());

  QCOMPARE((QStringList{Text(*form, "TxName"), form->TxCom(0)->text(), Text(*form, "TxMaker")}),
           (QStringList{"", "", ""}));
  QCOMPARE(Text(*form, "TxEmail"), QStringLiteral("raiden@example.jp"));
  QCOMPARE((QStringList{Text(*form, "lbWin"), Text(*form, "lbLost")}), (QStringList{"40", "38"}));
  QVERIFY(Ticked(*form, "Check1"));
  QCOMPARE(Find<QLabel>(*form, "Picture1")->pixmap().toImage(), picture);
  QCOMPARE(CastDataHidden(*form), All(false));
  QCOMPARE(Text(*form, "lbInfo"), QString());
  for (int m = 0; m < 9; ++m) QCOMPARE(form->slMove(m)->value(), 0);
  // The parameters moved to 0, so their labels show the values at 0 points.
  QCOMPARE(form->lbPar(3)->text(), QStringLiteral("1200"));

  SetText(*form, "TxName", QStringLiteral("新型"));
  for (int k = 1; k < 6; ++k) form->Wpn(k)->setCurrentIndex(0);
  QCOMPARE(PressSave(*form), QStringList{kSaved});
  const castdata::CastRecord saved = Stored("NEWCAST");
  QCOMPARE(saved.ownerNumber, kDemoPlayerNumber);
  QCOMPARE(saved.wins, std::int16_t{40});
  QCOMPARE(saved.losses, std::int16_t{38});
  QCOMPARE(saved.hideData, std::int16_t{1});
  QCOMPARE(castdata::ReadCastProfile("NEWCAST").EMail, std::string("raiden@example.jp"));
  QCOMPARE(gamefixture::ReadBytes(gamefixture::InGame("cast/NEWCAST.bmp")),
           gamefixture::ReadBytes(gamefixture::InGame("cast/def.bmp")));
}

void Form1SaveLoadTest::EveryKeystrokeLoadsAndAnEmptyNameDisablesThePages() {
  DemoGameFolder game;
  auto form = MakeDemoForm();
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  QLineEdit* typed = File(*form)->lineEdit();
  typed->selectAll();
  QTest::keyClick(typed, Qt::Key_Delete);
  QVERIFY(!Find<QTabWidget>(*form, "SSTab1")->isEnabled());

  for (const QString& letter : QStringList{"H", "A", "Y", "A", "T"}) {
    QTest::keyClicks(typed, letter);
    QCOMPARE(Text(*form, "TxDame"), QStringLiteral("500"));  // a new cast each time
    QVERIFY(Find<QTabWidget>(*form, "SSTab1")->isEnabled());
  }
  QTest::keyClicks(typed, "E");
  QCOMPARE(Text(*form, "TxName"), QStringLiteral("疾風"));
  QTest::keyClick(typed, Qt::Key_Backspace);
  QCOMPARE(Text(*form, "TxName"), QString());

  Find<QTabWidget>(*form, "SSTab1")->setCurrentIndex(4);
  typed->selectAll();
  QTest::keyClick(typed, Qt::Key_Delete);
  QVERIFY(!Find<QTabWidget>(*form, "SSTab1")->isEnabled());
}

void Form1SaveLoadTest::CastListIsFilledWhenTheListDropsDown() {
  DemoGameFolder game;
  gamefixture::WriteBytes(gamefixture::InGame("cast/ORPHAN.dat"), std::string(186, '\0'));  // no profile file: no cast
  auto form = MakeDemoForm();
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  QComboBox* file = File(*form);
  QCOMPARE(file->count(), 0);
  TypeName(*form, "HAY");
  SetText(*form, "TxName", "edited");

  file->showPopup();
  QStringList listed;
  for (int i = 0; i < file->count(); ++i) listed << file->itemText(i);
  listed.sort();
  QCOMPARE(listed, (QStringList{"HAYATE", "RAIDEN"}));
  QCOMPARE(file->currentText(), QStringLiteral("HAY"));
  QCOMPARE(Text(*form, "TxName"), QStringLiteral("edited"));  // the refresh loads nothing
  file->hidePopup();

  gamefixture::WriteBytes(gamefixture::InGame("cast/LATE.cst"), "[Data]\r\n");
  file->showPopup();
  QCOMPARE(file->count(), 3);
  file->hidePopup();
}

// A pick that changes the text loads once; a pick of the name already shown
// loads it again.
void Form1SaveLoadTest::PickFromTheListLoadsOnce() {
  DemoGameFolder game;
  gamefixture::WriteBytes(gamefixture::InGame("cast/NODATA.cst"), "[Data]\r\nName=x\r\n");
  auto form = MakeDemoForm();
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  QComboBox* file = File(*form);
  const auto pick = [&](const QString& name) {
    return Messages([&] {
      file->showPopup();
      QAbstractItemView* view = file->view();
      const QModelIndex item = file->model()->index(file->findText(name), 0);
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    });
  };

  const QStringList messages = pick("NODATA");
  QCOMPARE(file->currentText(), QStringLiteral("NODATA"));
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages[0].contains("cast/NODATA.dat") && messages[0].contains("No such file or directory"),
           qPrintable(messages[0]));
  QCOMPARE(CastDataHidden(*form), All(true));
  QCOMPARE(form->CastOwnerNumber(), std::int16_t{0});
  QCOMPARE(PressSave(*form), QStringList{kNotOwnCast});

  QCOMPARE(pick("RAIDEN"), QStringList());
  QCOMPARE(Text(*form, "TxName"), QStringLiteral("雷電"));
  SetText(*form, "TxName", "edited");
  QCOMPARE(pick("RAIDEN"), QStringList());
  QCOMPARE(Text(*form, "TxName"), QStringLiteral("雷電"));
}

void Form1SaveLoadTest::LoadFailureStopsWhereItHappens() {
  const struct {
    const char* what;
    std::function<void()> arrange;
    const char* named;
    bool profileRead;
    bool shown;
  } cases[] = {
      {"a stored weapon the list does not hold",
       [] { Store("HAYATE", [](castdata::CastRecord& record) { record.weaponIndex[3] = 40; }); }, "Wpn(3)", false,
       false},
      {"no picture and no default picture",
       [] {
         fs::remove(gamefixture::InGame("cast/HAYATE.bmp"));
         fs::remove(gamefixture::InGame("cast/def.bmp"));
       },
       "cast/def.bmp", true, true},
      {"a picture that is no picture",
       [] { gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), "not a bitmap"); }, "cast/HAYATE.BMP", true,
       true},
      // Only a bitmap is read as a picture: the file's name says what it is,
      // whatever its bytes would make of themselves.
      {"a PNG under the picture's name",
       [] { gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), ImageFileBytes("PNG")); },
       "cast/HAYATE.BMP", true, true},
      {"a JPEG under the picture's name",
       [] { gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), ImageFileBytes("JPG")); },
       "cast/HAYATE.BMP", true, true},
      {"an XPM under the picture's name",
       [] { gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), ImageFileBytes("XPM")); },
       "cast/HAYATE.BMP", true, true},
      {"an icon under the picture's name",
       [] { gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), ImageFileBytes("ICO")); },
       "cast/HAYATE.BMP", true, true},
      {"a GIF under the picture's name",
       [] { gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), kGifBytes); }, "cast/HAYATE.BMP", true,
       true},
      {"a bitmap that claims 30000 x 30000 pixels",
       [] {
         std::string bytes = ImageFileBytes("BMP");
         for (const std::size_t at : {std::size_t{18}, std::size_t{22}}) {
           bytes[at] = '\x30';
           bytes[at + 1] = '\x75';
         }
         gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), bytes);
       },
       "cast/HAYATE.BMP", true, true},
      {"a bitmap that claims 16776190 rows stored top-down",
       [] {
         // Two pixels a row: few enough for Qt to make room for them all.
         std::string bytes = ImageFileBytes("BMP", 2);
         bytes.replace(22, 4, std::string("\x02\x04\x00\xff", 4));
         gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), bytes);
       },
       "cast/HAYATE.BMP", true, true},
  };
  for (const auto& c : cases) {
    DemoGameFolder game;
    c.arrange();
    auto form = MakeDemoForm();
    const QStringList messages = TypeName(*form, "HAYATE");
    QVERIFY2(messages.size() == 1 && messages[0].contains(c.named), c.what);
    // The weapons come first and stay set; what follows the failure is not set.
    QVERIFY2(form->Wpn(2)->currentIndex() == 1, c.what);
    QVERIFY2((Text(*form, "TxName") == QStringLiteral("疾風")) == c.profileRead, c.what);
    QVERIFY2(CastDataHidden(*form) == All(!c.shown), c.what);
    QVERIFY2(form->CastOwnerNumber() == (c.shown ? kDemoPlayerNumber : 0), c.what);
    QVERIFY2(Find<QLabel>(*form, "Picture1")->pixmap().isNull(), c.what);
  }
}

// A picture program may keep the picture a bitmap of its own kind: 24 bits
// a pixel, another size.
void Form1SaveLoadTest::ABitmapOfAnotherKindStillShows() {
  DemoGameFolder game;
  gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), ImageFileBytes("BMP"));
  auto form = MakeDemoForm();
  QCOMPARE(TypeName(*form, "HAYATE"), QStringList());
  const QImage shown = Find<QLabel>(*form, "Picture1")->pixmap().toImage();
  QCOMPARE(shown.size(), QSize(64, 64));
  QCOMPARE(shown.pixelColor(10, 10), QColor(200, 30, 30));
}

void Form1SaveLoadTest::BadNameIsANewCastAndCannotBeSaved() {
  for (const QString& name : {QStringLiteral(".."), QStringLiteral("../A"), QStringLiteral("a\\b")}) {
    DemoGameFolder game;
    const gamefixture::FolderTree before = game.Snapshot();
    auto form = MakeDemoForm();
    QCOMPARE(TypeName(*form, name), QStringList());
    QCOMPARE(Text(*form, "TxName"), QString());
    QCOMPARE(Text(*form, "TxDame"), QStringLiteral("500"));
    MakeSavableNewCast(*form, name);
    QCOMPARE(PressSave(*form),
             QStringList{QStringLiteral("ファイル名「%1」はcastフォルダ内のファイル名にできません").arg(name)});
    QVERIFY(game.Snapshot() == before);
  }
}

void Form1SaveLoadTest::SaveBeforeAnyLoad_data() {
  QTest::addColumn<int>("player");
  QTest::addColumn<QString>("message");
  QTest::newRow("a player number") << int(kDemoPlayerNumber) << kNotOwnCast;
  QTest::newRow("player number 0") << 0 << QStringLiteral("機体名が入力されていません");
}

void Form1SaveLoadTest::SaveBeforeAnyLoad() {
  QFETCH(int, player);
  QFETCH(QString, message);
  DemoGameFolder game;
  const gamefixture::FolderTree before = game.Snapshot();
  auto form = MakeDemoForm();
  form->SetPlayerNumber(static_cast<std::int16_t>(player));
  QCOMPARE(PressSave(*form), QStringList{message});
  QVERIFY(game.Snapshot() == before);
}

// Each case changes one thing of a cast that would save; a refusal shows its
// one message with its page and focus and writes nothing.
void Form1SaveLoadTest::SaveRoutineChecksInTheirOrder() {
  const QString tooLong = QStringLiteral("ファイル名は英数字8文字以内にしてください");
  const QString noWeapon = QStringLiteral("武装が選択されていません");
  const QString tooLarge = QStringLiteral("は-32768から32767までの整数にしてください");
  const QString withoutShiftJis = QStringLiteral("ファイル名「%1」にShift-JISで表せない文字が含まれています");
  const auto asMade = [](Form1&) {};
  const struct {
    const char* what;
    QString name;  // of the new cast
    std::function<void(Form1&)> arrange;
    QString message;  // contained in the one message shown
    int page;         // -1: the page stays
    const char* focus;
  } cases[] = {
      {"a blank unit name passes", "NEWCAST", [](Form1& f) { SetText(f, "TxName", " "); }, kSaved, -1, ""},
      {"no unit name", "NEWCAST", [](Form1& f) { SetText(f, "TxName", ""); }, "機体名が入力されていません", -1,
       "TxName"},
      {"no file name", "NEWCAST", [](Form1& f) { TypeName(f, ""); }, "ファイル名が入力されていません", -1, "cbFile"},
      {"9 characters", "ABCDEFGHI", asMade, tooLong, -1, "cbFile"},
      {"9 Japanese characters", "疾風迅雷電光石火矢", asMade, tooLong, -1, "cbFile"},
      {"8 characters, none a letter or digit", "!-_+~@#%", asMade, kSaved, -1, ""},
      {"8 Japanese characters", "疾風迅雷電光石火", asMade, kSaved, -1, ""},
      {"a Korean file name", QStringLiteral("한"), asMade, withoutShiftJis.arg(QStringLiteral("한")), -1, "cbFile"},
      {"an emoji after letters", QStringLiteral("AB\U0001F600"), asMade,
       withoutShiftJis.arg(QStringLiteral("AB\U0001F600")), -1, "cbFile"},
      {"slot 2 empty and slot 4 unusable", "NEWCAST",
       [](Form1& f) {
         f.Wpn(2)->setCurrentIndex(-1);
         f.Wpn(4)->setCurrentIndex(2);
       },
       noWeapon, 1, "Wpn_2"},
      {"slot 4 unusable", "NEWCAST", [](Form1& f) { f.Wpn(4)->setCurrentIndex(2); }, "使用不能武装が選択されています", 1,
       "Wpn_4"},
      {"a derived value of 0", "NEWCAST", [](Form1& f) { f.lbPar(3)->setText("0"); }, "パラメータを調整してください", 3, ""},
      {"a number of hits too large", "NEWCAST", [](Form1& f) { SetText(f, "TxRen", "40000"); }, tooLarge, 5, "TxRen"},
      {"a damage too small", "NEWCAST", [](Form1& f) { SetText(f, "TxDame", "-32769"); }, tooLarge, 5, "TxDame"},
      {"a damage that rounds too large", "NEWCAST", [](Form1& f) { SetText(f, "TxDame", "32767.5"); }, tooLarge, 5,
       "TxDame"},
      {"the largest damage", "NEWCAST", [](Form1& f) { SetText(f, "TxDame", "32767.4x"); }, kSaved, -1, ""},
  };
  for (const auto& c : cases) {
    DemoGameFolder game;
    auto form = MakeDemoForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    MakeSavableNewCast(*form, c.name);
    c.arrange(*form);
    QWidget* focusBefore = form->focusWidget();
    const gamefixture::FolderTree before = game.Snapshot();
    const QStringList messages = PressSave(*form);
    QVERIFY2(messages.size() == 1 && messages[0].contains(c.message), c.what);
    QVERIFY2(Page(*form) == (c.page < 0 ? 0 : c.page), c.what);
    QWidget* focus = form->focusWidget();
    if (*c.focus != '\0') {
      QVERIFY2(focus != nullptr && focus->objectName() == c.focus, c.what);
    } else {
      QVERIFY2(focus == focusBefore, c.what);
    }
    if (c.message != kSaved) QVERIFY2(game.Snapshot() == before, c.what);
  }
}

// A text that the profile file cannot hold is refused among the save's
// checks, before anything is written, with a message that names the field as
// its frame does; the page with the field comes to the front and the focus
// goes to the box. The six texts are checked in the order the file holds
// them.
void Form1SaveLoadTest::UnstorableTextIsRefusedNamingItsField() {
  const struct {
    const char* what;
    std::function<void(Form1&)> arrange;
    QString message;
    const char* focus;
  } cases[] = {
      {"a check mark in the unit name", [](Form1& f) { SetText(f, "TxName", "疾✓"); },
       "機体名に保存できない文字「✓」(U+2713)が含まれています", "TxName"},
      {"a NUL in the second comment line",
       [](Form1& f) { f.TxCom(1)->setText(QStringLiteral("a") + QChar(0) + QStringLiteral("b")); },
       "コメントに保存できない文字(U+0000)が含まれています", "TxCom_1"},
      {"an emoji in the maker's name", [](Form1& f) { SetText(f, "TxMaker", "ハヤト😀"); },
       "作成者名に保存できない文字「😀」(U+1F600)が含まれています", "TxMaker"},
      {"an accented letter in the e-mail address", [](Form1& f) { SetText(f, "TxEmail", "café@example.jp"); },
       "E-Mailに保存できない文字「é」(U+00E9)が含まれています", "TxEmail"},
      {"the unit name before the e-mail address",
       [](Form1& f) {
         SetText(f, "TxEmail", "é");
         SetText(f, "TxName", "✓");
       },
       "機体名に保存できない文字「✓」(U+2713)が含まれています", "TxName"},
      {"a number too large before the text", [](Form1& f) {
         SetText(f, "TxName", "✓");
         SetText(f, "TxRen", "40000");
       },
       "は-32768から32767までの整数にしてください", "TxRen"},
      {"characters only Shift-JIS of Windows has", [](Form1& f) { f.TxCom(2)->setText(QStringLiteral("①～ｱ髙")); },
       kSaved, ""},
  };
  for (const auto& c : cases) {
    DemoGameFolder game;
    auto form = MakeDemoForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    MakeSavableNewCast(*form);
    c.arrange(*form);
    Find<QTabWidget>(*form, "SSTab1")->setCurrentIndex(2);
    const gamefixture::FolderTree before = game.Snapshot();
    const QStringList messages = PressSave(*form);
    QVERIFY2(messages.size() == 1 && messages[0].contains(c.message), c.what);
    if (c.message == kSaved) {
      QCOMPARE(castdata::ReadCastProfile("NEWCAST").Comm3, std::string("①～ｱ髙"));
      continue;
    }
    QVERIFY2(game.Snapshot() == before, c.what);
    const bool onDefencePage = QString(c.focus) == "TxRen";
    QVERIFY2(Page(*form) == (onDefencePage ? 5 : 0), c.what);
    QVERIFY2(form->focusWidget() != nullptr && form->focusWidget()->objectName() == c.focus, c.what);
  }
}

void Form1SaveLoadTest::SaveWritesTheCastFiles() {
  DemoGameFolder game;
  auto form = MakeDemoForm();
  MakeSavableNewCast(*form);
  for (int i = 0; i < 4; ++i) form->slPar(i)->setValue(40);  // the save cuts the pool back to 100
  form->TxCom(1)->setText(QStringLiteral("二行目"));
  SetText(*form, "TxEmail", "new@example.jp");
  QCOMPARE(PressSave(*form), QStringList{kSaved});

  castdata::CastRecord expected;
  expected.weaponIndex = {12, 0, 0, 0, 0, 0};
  expected.paramPoints = {25, 25, 25, 25};
  for (int i = 0; i < 4; ++i) {
    expected.paramValue[i] = static_cast<std::int16_t>(castdata::DerivedParameterValue(i, 25));
  }
  expected.keepDistance = 20;
  expected.ownerNumber = kDemoPlayerNumber;
  expected.advanceOnEnemyOverheat = expected.retreatOnOwnOverheat = expected.specialOnEnemyOverheat = 1;
  expected.recordCheck = castdata::ComputeRecordCheck(0, 0);
  expected.level = 20;
  expected.weaponStopPercent = 80;
  expected.serial = form->CastSerial();
  expected.defendAfterHits = 4;
  expected.dodgeSideways = expected.specialAfterThreeCharges = expected.defendSuddenAttacks = 1;
  expected.defendDamageThreshold = 500;
  QVERIFY(Stored("NEWCAST") == expected);
  QCOMPARE(gamefixture::ReadBytes(gamefixture::InGame("cast/NEWCAST.dat")).size(), castdata::kFirstSaveLength);
  QVERIFY(castdata::ReadCastProfile("NEWCAST") ==
          (castdata::CastProfile{"新型", "", "二行目", "", "", "new@example.jp"}));
  QCOMPARE(gamefixture::ReadBytes(gamefixture::InGame("cast/NEWCAST.bmp")),
           gamefixture::ReadBytes(gamefixture::InGame("cast/def.bmp")));
}

void Form1SaveLoadTest::MissingDefaultPictureAfterTheFilesAreWritten() {
  DemoGameFolder game;
  fs::remove(gamefixture::InGame("cast/def.bmp"));
  auto form = MakeDemoForm();
  MakeSavableNewCast(*form);
  QCOMPARE(PressSave(*form), QStringList{"cast/def.bmpが見つかりません"});
  QVERIFY(fs::exists(gamefixture::InGame("cast/NEWCAST.dat")));
  QCOMPARE(castdata::ReadCastProfile("NEWCAST").Name, std::string("新型"));
  QVERIFY(!fs::exists(gamefixture::InGame("cast/NEWCAST.bmp")));
}

void Form1SaveLoadTest::FailedWriteIsReportedAndLeavesTheFiles() {
  const struct {
    const char* what;
    std::function<void(Form1&)> arrange;
    const char* named;
    const char* reason;
  } cases[] = {
      {"no cast folder", [](Form1&) { fs::remove_all("cast"); }, "cast/NEWCAST.dat", "No such file or directory"},
      {"a folder in the profile file's place",
       [](Form1&) { fs::create_directory(gamefixture::InGame("cast/NEWCAST.cst")); }, "cast/NEWCAST.cst", ""},
  };
  for (const auto& c : cases) {
    DemoGameFolder game;
    auto form = MakeDemoForm();
    MakeSavableNewCast(*form);
    c.arrange(*form);
    const gamefixture::FolderTree before = game.Snapshot();
    const QStringList messages = PressSave(*form);
    QVERIFY2(messages.size() == 1 && messages[0].contains(c.named) && messages[0].contains(c.reason),
             qPrintable(QString("%1: %2").arg(c.what, messages.join('|'))));
    QVERIFY2(game.Snapshot() == before, c.what);
  }
}

QTEST_MAIN(Form1SaveLoadTest)
#include "form1_saveload_test.moc"
