// The upload command cmPack, in the demo game folder with a recording opener
// first on PATH.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <filesystem>
#include <string>
#include <vector>

#include "cast_package.h"
#include "cast_profile.h"
#include "demo_game.h"
#include "demo_game_window.h"
#include "fixture_files.h"
#include "message_box_answerer.h"
#include "package_import.h"
#include "recording_opener.h"
#include "sjis.h"
#include "temporary_folder.h"
#include "upload_page.h"

namespace fs = std::filesystem;
using gamefixture::kDemoOtherPlayerNumber;
using gamefixture::kDemoPlayerNumber;
using windowtest::Find;
using windowtest::TypeName;

namespace {

// `relative` as the editor names it in the demo game, found in any case.
QString Shown(const char* relative) { return QString::fromStdString(gamefixture::InGame(relative)); }

const QString kQuestion = QStringLiteral("自分で作成したデータをWEB上にアップロードする機能です\n続けますか？");
const QString kNotOwnCast = QStringLiteral("自分で作成したデータ以外アップロードできません");
const QString kNameTooLong =
    QStringLiteral("ファイル名が長すぎるためアップロードできません\n英数字8文字(全角文字は4文字)以内にしてください");
const QString kSaveFailed = QStringLiteral("保存に失敗しました");
const QString kPictureNotCastSize = QStringLiteral("BMPファイルの大きさが64*64(256色)になっていません");
const QString kNoTemplate = QStringLiteral("dat/orv_up.datが見つかりません");

// Presses cmPack, answers the question with `answer` and every later box
// with OK, and gives the boxes shown.
std::vector<MessageBoxAnswerer::Box> Upload(Form1& form, QMessageBox::StandardButton answer) {
  MessageBoxAnswerer answerer({answer});
  Find<QPushButton>(form, "cmPack")->click();
  return answerer.Boxes();
}
QStringList Upload(Form1& form) {
  QStringList texts;
  for (const MessageBoxAnswerer::Box& box : Upload(form, QMessageBox::Yes)) texts << box.text;
  return texts;
}

std::string Sjis(const char* utf8) { return sjis::FromUtf8(utf8).value(); }
void UseTemplate(const std::string& bytes) { gamefixture::WriteBytes(gamefixture::InGame("dat/orv_up.dat"), bytes); }
std::string Page() { return gamefixture::ReadBytes(gamefixture::InGame("dat/up.html")); }
std::vector<std::uint8_t> FileBytes(const std::string& path) {
  const std::string bytes = gamefixture::ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}
QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// A picture file of `length` bytes that holds every byte value.
std::string EveryByte(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t k = 0; k < length; ++k) bytes[k] = static_cast<char>(k % 256);
  return bytes;
}

}  // namespace

class Form1UploadTest : public QObject {
  Q_OBJECT

 private slots:
  void UploadOfTheOwnCastMakesThePageAndOpensIt();
  void NoToTheQuestionOnlySwitchesThePage();
  void PressedBeforeAnyLoadFailsInTheSave();
  void AuthorshipRule_data();
  void AuthorshipRule();
  void PictureLengthIsChecked_data();
  void PictureLengthIsChecked();
  void TemplateLinesAreCopiedUnlessWholePlaceholders_data();
  void TemplateLinesAreCopiedUnlessWholePlaceholders();
  void HexadecimalTextHoldsEveryByte();
  void LevelFromTheLevelCaption_data();
  void LevelFromTheLevelCaption();
  void MissingTemplateLeavesANewPackageAndNothingElse();
  void ImageIsWhatThePictureBoxShows();
  void PackageImportsBackIntoAnIdenticalCast_data();
  void PackageImportsBackIntoAnIdenticalCast();
  void CastTextsAreEscapedInThePage();
  void NameTooLongForAPackageIsRefusedBeforeAnythingIsWritten_data();
  void NameTooLongForAPackageIsRefusedBeforeAnythingIsWritten();
  void FileThatCannotBeWrittenIsNamedAndNoPageOpened_data();
  void FileThatCannotBeWrittenIsNamedAndNoPageOpened();
};

void Form1UploadTest::UploadOfTheOwnCastMakesThePageAndOpensIt() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  Find<QTabWidget>(*form, "SSTab1")->setCurrentIndex(3);
  const std::string templateBytes = gamefixture::ReadBytes(gamefixture::InGame("dat/orv_up.dat"));

  const std::vector<MessageBoxAnswerer::Box> boxes = Upload(*form, QMessageBox::Yes);
  QCOMPARE(boxes.size(), std::size_t{1});
  QCOMPARE(boxes[0].text, kQuestion);
  QCOMPARE(boxes[0].title, QStringLiteral("Kestrova用データ作成ツール"));
  QCOMPARE(boxes[0].buttons, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
  QCOMPARE(boxes[0].icon, QMessageBox::NoIcon);
  QCOMPARE(Find<QTabWidget>(*form, "SSTab1")->currentIndex(), 0);
  QCOMPARE(opener.Opened(1), QStringList{Shown("dat/up.html")});

  // The package is the cast as just saved.
  QCOMPARE(FileBytes(gamefixture::InGame("dat/upload.ec")), castdata::BuildCastPackage({}, "HAYATE"));
  const QImage image(Shown("dat/orv_up.png"), "png");
  QCOMPARE(Rgb(image), Rgb(QImage(Shown("cast/HAYATE.bmp"))));
  // The demo's folders and files are spelled as Windows made them; the save
  // and the upload wrote into them, beside them nothing.
  QCOMPARE(Shown("dat/up.html"), QStringLiteral("DAT/up.html"));
  for (const char* secondSpelling : {"dat", "cast/HAYATE.dat", "cast/HAYATE.cst", "cast/HAYATE.bmp"}) {
    QVERIFY2(!fs::exists(secondSpelling), secondSpelling);
  }

  // The demo template with each placeholder line replaced, every line ending
  // in CR LF.
  const std::pair<const char*, std::string> values[] = {
      {"%s", Sjis("疾風")},
      {"%m", Sjis("風間ハヤト")},
      {"%k1", Sjis("高速で敵の背後を")},
      {"%k2", Sjis("取る接近戦型。")},
      {"%k3", Sjis("衝撃砲が主力。")},
      {"%a", "hayate@example.jp"},
      {"%i", std::to_string(kDemoPlayerNumber)},
      {"%l", "24"},
      {"%p", castdata::HexText(FileBytes(gamefixture::InGame("dat/orv_up.png")))},
      {"%e", castdata::HexText(FileBytes(gamefixture::InGame("dat/upload.ec")))},
  };
  std::string expected;
  int replaced = 0;
  for (std::string line : castdata::TemplateLines(std::vector<std::uint8_t>(templateBytes.begin(), templateBytes.end()))) {
    for (const auto& [placeholder, value] : values) {
      if (line == placeholder) {
        line = value;
        ++replaced;
      }
    }
    expected += line + "\r\n";
  }
  QCOMPARE(replaced, 10);
  QCOMPARE(Page(), expected);
}

void Form1UploadTest::NoToTheQuestionOnlySwitchesThePage() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  Find<QTabWidget>(*form, "SSTab1")->setCurrentIndex(3);
  const gamefixture::FolderTree before = game.Snapshot();
  const std::vector<MessageBoxAnswerer::Box> boxes = Upload(*form, QMessageBox::No);
  QCOMPARE(boxes.size(), std::size_t{1});
  QCOMPARE(boxes[0].text, kQuestion);
  QCOMPARE(Find<QTabWidget>(*form, "SSTab1")->currentIndex(), 0);
  QCOMPARE(form->CastOwnerNumber(), std::int16_t{0});
  QVERIFY(game.Snapshot() == before);
  QCOMPARE(opener.Opened(), QStringList());
}

// The owner number 0 becomes the player's, so the authorship rule passes and
// the save routine refuses the empty unit name.
void Form1UploadTest::PressedBeforeAnyLoadFailsInTheSave() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  const gamefixture::FolderTree before = game.Snapshot();
  QCOMPARE(Upload(*form), (QStringList{kQuestion, QStringLiteral("機体名が入力されていません"), kSaveFailed}));
  QCOMPARE(form->CastOwnerNumber(), kDemoPlayerNumber);
  QVERIFY(game.Snapshot() == before);
  QCOMPARE(opener.Opened(), QStringList());
}

void Form1UploadTest::AuthorshipRule_data() {
  QTest::addColumn<bool>("shopMode");
  QTest::addColumn<bool>("uploaded");
  QTest::newRow("another player's cast") << false << false;
  QTest::newRow("another player's cast in shop mode") << true << true;
}

void Form1UploadTest::AuthorshipRule() {
  QFETCH(bool, shopMode);
  QFETCH(bool, uploaded);
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  UseTemplate("%i\r\n");
  auto form = windowtest::MakeDemoForm(shopMode);
  TypeName(*form, "RAIDEN");
  const gamefixture::FolderTree before = game.Snapshot();
  if (uploaded) {
    QCOMPARE(Upload(*form), QStringList{kQuestion});
    QCOMPARE(Page(), std::to_string(kDemoOtherPlayerNumber) + "\r\n");
    QCOMPARE(opener.Opened(1), QStringList{Shown("dat/up.html")});
  } else {
    QCOMPARE(Upload(*form), (QStringList{kQuestion, kNotOwnCast}));
    QVERIFY(game.Snapshot() == before);
    QCOMPARE(opener.Opened(), QStringList());
  }
  QCOMPARE(form->CastOwnerNumber(), kDemoOtherPlayerNumber);
}

void Form1UploadTest::PictureLengthIsChecked_data() {
  QTest::addColumn<int>("length");
  QTest::addColumn<bool>("passes");
  QTest::newRow("5173 bytes") << 5173 << false;
  QTest::newRow("5175 bytes") << 5175 << false;
  QTest::newRow("5174 bytes of no picture") << 5174 << true;
}

// Only the length counts: what the file holds is not looked at.
void Form1UploadTest::PictureLengthIsChecked() {
  QFETCH(int, length);
  QFETCH(bool, passes);
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  const std::string picture = EveryByte(static_cast<std::size_t>(length));
  gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), picture);
  if (passes) {
    QCOMPARE(Upload(*form), QStringList{kQuestion});
    QCOMPARE(gamefixture::ReadBytes(gamefixture::InGame("dat/upload.ec"))
                 .substr(castdata::kPackagePictureOffset, picture.size()),
             picture);
    QCOMPARE(opener.Opened(1), QStringList{Shown("dat/up.html")});
  } else {
    QCOMPARE(Upload(*form), (QStringList{kQuestion, kPictureNotCastSize}));
    QVERIFY(!fs::exists(gamefixture::InGame("dat/upload.ec")));
    QVERIFY(!fs::exists(gamefixture::InGame("dat/orv_up.png")));
    QVERIFY(!fs::exists(gamefixture::InGame("dat/up.html")));
    QCOMPARE(opener.Opened(), QStringList());
  }
  QCOMPARE(gamefixture::ReadBytes(gamefixture::InGame("cast/HAYATE.bmp")), picture);
}

void Form1UploadTest::TemplateLinesAreCopiedUnlessWholePlaceholders_data() {
  QTest::addColumn<QByteArray>("templateBytes");
  QTest::addColumn<QByteArray>("page");
  QTest::newRow("a blank, capitals, inside other text")
      << QByteArray(" %s\r\n%s \r\n%S\r\n%M\r\n<td>%s</td>\r\n%%s\r\n")
      << QByteArray(" %s\r\n%s \r\n%S\r\n%M\r\n<td>%s</td>\r\n%%s\r\n");
  QTest::newRow("no placeholders, LF and CR line ends")
      << QByteArray("<html>\n<body>\r</body>") << QByteArray("<html>\r\n<body>\r\n</body>\r\n");
  QTest::newRow("an empty template") << QByteArray() << QByteArray();
  QTest::newRow("an empty text box") << QByteArray("<td>\r\n%k3\r\n</td>\r\n") << QByteArray("<td>\r\n\r\n</td>\r\n");
}

void Form1UploadTest::TemplateLinesAreCopiedUnlessWholePlaceholders() {
  QFETCH(QByteArray, templateBytes);
  QFETCH(QByteArray, page);
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  UseTemplate(templateBytes.toStdString());
  gamefixture::WriteBytes(gamefixture::InGame("dat/up.html"), std::string(40000, 'x'));  // an older, longer page
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  form->TxCom(2)->clear();
  QCOMPARE(Upload(*form), QStringList{kQuestion});
  QCOMPARE(Page(), page.toStdString());
  QCOMPARE(opener.Opened(1), QStringList{Shown("dat/up.html")});
}

// The picture holds every byte value, 0x0A and 0xFF among them; each is two
// upper-case digits in the one line of the package's text.
void Form1UploadTest::HexadecimalTextHoldsEveryByte() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  UseTemplate("%e\r\n");
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  gamefixture::WriteBytes(gamefixture::InGame("cast/HAYATE.bmp"), EveryByte(castdata::kCastPictureSize));
  QCOMPARE(Upload(*form), QStringList{kQuestion});
  const std::string package = gamefixture::ReadBytes(gamefixture::InGame("dat/upload.ec"));
  const std::string page = Page();
  QCOMPARE(page.size(), package.size() * 2 + 2);
  QCOMPARE(page.substr(0, 6), std::string("434531"));  // "CE1"
  const std::size_t picture = castdata::kPackagePictureOffset * 2;
  QCOMPARE(page.substr(picture + 0x0A * 2, 2), std::string("0A"));
  QCOMPARE(page.substr(picture + 0xAB * 2, 2), std::string("AB"));
  QCOMPARE(page.substr(picture + 0xFF * 2, 2), std::string("FF"));
  QCOMPARE(page.substr(page.size() - 2), std::string("\r\n"));
  QVERIFY(page.find_first_of("\r\nabcdef") == page.size() - 2);
}

void Form1UploadTest::LevelFromTheLevelCaption_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QByteArray>("line");
  QTest::newRow("a number") << "24" << QByteArray("24");
  QTest::newRow("a number with text after it") << "31Lv" << QByteArray("31");
  QTest::newRow("empty") << "" << QByteArray("0");
  QTest::newRow("not numeric") << "Lv" << QByteArray("0");
}

void Form1UploadTest::LevelFromTheLevelCaption() {
  QFETCH(QString, caption);
  QFETCH(QByteArray, line);
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  UseTemplate("%l\r\n");
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  Find<QLabel>(*form, "lbLevel")->setText(caption);
  QCOMPARE(Upload(*form), QStringList{kQuestion});
  QCOMPARE(Page(), line.toStdString() + "\r\n");
}

// The package is replaced whole: no bytes of the older, longer one remain.
void Form1UploadTest::MissingTemplateLeavesANewPackageAndNothingElse() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  fs::remove(gamefixture::InGame("dat/orv_up.dat"));
  gamefixture::WriteBytes(gamefixture::InGame("dat/upload.ec"), std::string(20000, 'x'));
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  QCOMPARE(Upload(*form), (QStringList{kQuestion, kNoTemplate}));
  QCOMPARE(FileBytes(gamefixture::InGame("dat/upload.ec")), castdata::BuildCastPackage({}, "HAYATE"));
  QVERIFY(!fs::exists(gamefixture::InGame("dat/orv_up.png")));
  QVERIFY(!fs::exists(gamefixture::InGame("dat/up.html")));
  QCOMPARE(opener.Opened(), QStringList());
}

// After a new name the box still shows the picture loaded before, while the
// new cast's own picture is a copy of the default.
void Form1UploadTest::ImageIsWhatThePictureBoxShows() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  windowtest::MakeSavableNewCast(*form);
  QCOMPARE(Upload(*form), QStringList{kQuestion});
  QCOMPARE(gamefixture::ReadBytes(gamefixture::InGame("cast/NEWCAST.bmp")),
           gamefixture::ReadBytes(gamefixture::InGame("cast/def.bmp")));
  const QImage image(Shown("dat/orv_up.png"), "png");
  QCOMPARE(image.size(), QSize(64, 64));
  QCOMPARE(Rgb(image), Rgb(QImage(Shown("cast/HAYATE.bmp"))));
  QVERIFY(Rgb(image) != Rgb(QImage(Shown("cast/def.bmp"))));
}

void Form1UploadTest::PackageImportsBackIntoAnIdenticalCast_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("the loaded cast") << "HAYATE";
  QTest::newRow("a new cast of four double-byte characters") << "疾風迅雷";
}

void Form1UploadTest::PackageImportsBackIntoAnIdenticalCast() {
  QFETCH(QString, name);
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  if (name != "HAYATE") {
    windowtest::MakeSavableNewCast(*form, name);
  }
  QCOMPARE(Upload(*form), QStringList{kQuestion});

  gamefixture::TemporaryFolder other;
  fs::create_directory(other.path() / "cast");
  fs::copy_file(gamefixture::InGame("dat/upload.ec"), other.path() / "back.ec");
  const castdata::PackageImportOutcome outcome = castdata::ImportCastPackage(other.path() / "back.ec", other.path());
  QVERIFY2(outcome.imported, outcome.message.c_str());
  QCOMPARE(QString::fromStdString(outcome.castName), name);
  for (const char* extension : {".bmp", ".dat", ".cst"}) {
    const std::string file = "cast/" + name.toStdString() + extension;
    QCOMPARE(gamefixture::ReadBytes(other.path() / file), gamefixture::ReadBytes(gamefixture::InGame(file)));
  }
}

// The page shows the texts as typed; the cast's own files hold them unescaped.
void Form1UploadTest::CastTextsAreEscapedInThePage() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  UseTemplate("%s\r\n%m\r\n%k1\r\n%k2\r\n%a\r\n");
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  Find<QLineEdit>(*form, "TxName")->setText(QStringLiteral("<b>'&\""));
  Find<QLineEdit>(*form, "TxMaker")->setText(QStringLiteral("<script>"));
  form->TxCom(0)->setText(QStringLiteral("a\"b'c"));
  form->TxCom(1)->setText(QStringLiteral("疾風&amp;"));
  Find<QLineEdit>(*form, "TxEmail")->setText(QStringLiteral("x@example.jp?a=1&b=<2>"));
  QCOMPARE(Upload(*form), QStringList{kQuestion});
  QCOMPARE(Page(), "&lt;b&gt;&#39;&amp;&quot;\r\n&lt;script&gt;\r\na&quot;b&#39;c\r\n" + Sjis("疾風&amp;amp;") +
                       "\r\nx@example.jp?a=1&amp;b=&lt;2&gt;\r\n");
  QCOMPARE(castdata::ReadCastProfile("HAYATE").Name, std::string("<b>'&\""));
}

void Form1UploadTest::NameTooLongForAPackageIsRefusedBeforeAnythingIsWritten_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("refused");
  QTest::newRow("8 double-byte characters, 16 bytes") << "疾風迅雷電光石火" << true;
  QTest::newRow("5 double-byte characters, 10 bytes") << "疾風迅雷電" << true;
  QTest::newRow("4 double-byte and 1 single-byte, 9 bytes") << "疾風迅雷A" << true;
  QTest::newRow("8 half-width katakana, 8 bytes") << "ｱｲｳｴｵｶｷｸ" << false;
}

void Form1UploadTest::NameTooLongForAPackageIsRefusedBeforeAnythingIsWritten() {
  QFETCH(QString, name);
  QFETCH(bool, refused);
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  windowtest::MakeSavableNewCast(*form, name);
  const gamefixture::FolderTree before = game.Snapshot();
  if (refused) {
    QCOMPARE(Upload(*form), (QStringList{kQuestion, kNameTooLong}));
    QVERIFY(game.Snapshot() == before);
    QCOMPARE(opener.Opened(), QStringList());
  } else {
    QCOMPARE(Upload(*form), QStringList{kQuestion});
    QCOMPARE(opener.Opened(1), QStringList{Shown("dat/up.html")});
  }
}

void Form1UploadTest::FileThatCannotBeWrittenIsNamedAndNoPageOpened_data() {
  QTest::addColumn<QString>("relative");
  QTest::newRow("the package") << "dat/upload.ec";
  QTest::newRow("the image") << "dat/orv_up.png";
  QTest::newRow("the page") << "dat/up.html";
}

// A folder in the file's place: the safe rewrite cannot rename over it.
void Form1UploadTest::FileThatCannotBeWrittenIsNamedAndNoPageOpened() {
  QFETCH(QString, relative);
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  const QString file = Shown(qPrintable(relative));
  fs::create_directory(file.toStdString());
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  const QStringList messages = Upload(*form);
  QVERIFY2(messages.size() == 2 && messages[1].contains(file) && messages[1].contains("書き込めません: "),
           qPrintable(messages.join('|')));
  QVERIFY(fs::is_directory(file.toStdString()));
  if (relative != "dat/up.html") QVERIFY(!fs::exists(gamefixture::InGame("dat/up.html")));
  QCOMPARE(opener.Opened(), QStringList());
}

QTEST_MAIN(Form1UploadTest)
#include "form1_upload_test.moc"
