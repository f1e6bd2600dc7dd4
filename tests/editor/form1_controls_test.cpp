// The window as it stands when created: every control by its name, with its
// kind, place, caption, limits, ranges and defaults.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include "message_box_answerer.h"
#include "picture_box.h"

namespace {

constexpr int kTopLevel = -1;

// Where a control stands: page -1 is the window outside SSTab1; frame is its
// nearest enclosing QGroupBox ("" for none).
struct Place {
  int page;
  QString frame;
};

QString CaptionOf(QWidget* control) {
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
  if (auto* frame = qobject_cast<QGroupBox*>(control)) return frame->title();
  if (auto* box = qobject_cast<QLineEdit*>(control)) return box->text();
  if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText();
  return {};
}

Place PlaceOf(Form1& form, QWidget* control) {
  auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
  Place place{kTopLevel, {}};
  for (int page = 0; page < tabs->count(); ++page) {
    if (tabs->widget(page)->isAncestorOf(control)) place.page = page;
  }
  for (QWidget* up = control->parentWidget(); up != nullptr; up = up->parentWidget()) {
    if (auto* frame = qobject_cast<QGroupBox*>(up)) {
      place.frame = frame->objectName();
      break;
    }
  }
  return place;
}

}  // namespace

class Form1ControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryControlHasItsKindPlaceCaptionAndTooltip_data();
  void EveryControlHasItsKindPlaceCaptionAndTooltip();
  void SlidersHaveTheirRangesStepsTicksAndValues_data();
  void SlidersHaveTheirRangesStepsTicksAndValues();
  void TextBoxesHaveTheirLengthLimitsAndInputMethod_data();
  void TextBoxesHaveTheirLengthLimitsAndInputMethod();
  void CheckBoxesHaveTheirTickStates_data();
  void CheckBoxesHaveTheirTickStates();

  void WindowHasItsTitleAndSixPagesWithPageZeroInFront();
  void OnlyTheShopControlsAreHiddenAtDesign();
  void ComboBoxesAreEmptyAndOnlyTheFileAndShopListsEditable();
  void TypingACastNameIsNeverCompleted();
  void ProgressBarRunsFromZeroToHundred();
  void NamedFontsAreAskedForAndTheTitleIsRed();
  void PictureBoxTellsOfALeftDoubleClick();
  void FamilyAccessorsGiveTheNamedMembers();
};

void Form1ControlsTest::EveryControlHasItsKindPlaceCaptionAndTooltip_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<int>("page");
  QTest::addColumn<QString>("frame");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("tooltip");

  const auto row = [](const QString& name, const char* kind, int page, const QString& frame,
                      const QString& caption, const QString& tooltip = {}) {
    QTest::newRow(name.toUtf8().constData()) << QString(kind) << page << frame << caption << tooltip;
  };
  const QString none;

  // Outside the tab control.
  row("Frame6", "QGroupBox", kTopLevel, none, "File", "ファイル名");
  row("cbFile", "QComboBox", kTopLevel, "Frame6", "ここを選択");
  row("Label7", "QLabel", kTopLevel, none, "Orvalis");
  row("Label5", "QLabel", kTopLevel, none, "～Zenthar～");
  row("Label6", "QLabel", kTopLevel, none, "Kestrovaデータ作成ツール　Version1.7");
  row("SSTab1", "QTabWidget", kTopLevel, none, none);
  row("lbInfo", "QLabel", kTopLevel, none, none);
  row("Help", "QPushButton", kTopLevel, none, "説明書");
  row("cmPack", "QPushButton", kTopLevel, none, "UPLOAD");
  row("Save", "QPushButton", kTopLevel, none, "保存", "保存");
  row("Command1", "QPushButton", kTopLevel, none, "終了", "終了");
  row("sf", "QCheckBox", kTopLevel, none, "Check1");
  row("cmVShopPack", "QPushButton", kTopLevel, none, "Command2");
  row("VShop", "QComboBox", kTopLevel, none, none);

  // Page 0 "プロパティ".
  row("Frame1", "QGroupBox", 0, none, "機体名", "機体名");
  row("TxName", "QLineEdit", 0, "Frame1", none);
  row("Frame2", "QGroupBox", 0, none, "コメント", "コメント3行12文字まで");
  for (int i = 0; i < 3; ++i) row(QString("TxCom_%1").arg(i), "QLineEdit", 0, "Frame2", none);
  row("Frame3", "QGroupBox", 0, none, "画像", "機体イメージ");
  row("Picture1", "PictureBox", 0, "Frame3", none);
  row("Frame4", "QGroupBox", 0, none, "作成者名", "作成者名");
  row("TxMaker", "QLineEdit", 0, "Frame4", none);
  row("Frame12", "QGroupBox", 0, none, "E-Mail");
  row("TxEmail", "QLineEdit", 0, "Frame12", none);
  row("Frame14", "QGroupBox", 0, none, "勝敗");
  row("lbWin", "QLabel", 0, "Frame14", none);
  row("Label9", "QLabel", 0, "Frame14", "勝");
  row("lbLost", "QLabel", 0, "Frame14", none);
  row("Label10", "QLabel", 0, "Frame14", "敗");
  row("Frame15", "QGroupBox", 0, none, "LEVEL");
  row("lbLevel", "QLabel", 0, "Frame15", none);

  // Page 1 "使用武器".
  row("Frame7", "QGroupBox", 1, none, "使用武器", "使用武器とその使用確率");
  for (int i = 0; i < 6; ++i) row(QString("Wpn_%1").arg(i), "QComboBox", 1, "Frame7", none);
  row("Frame9", "QGroupBox", 1, none, "使用率");
  for (int i = 0; i < 4; ++i) {
    row(QString("slWPrsnt_%1").arg(i), "QSlider", 1, "Frame9", none);
    row(QString("lbWPrsnt_%1").arg(i), "QLabel", 1, "Frame9", "0%");
  }

  // Page 2 "移動".
  row("Frame8", "QGroupBox", 2, none, "移動パラメータ", "移動パターン使用確率");
  const QStringList moves{"ランダム", "横移動", "前進", "指定間隔を空ける", "後退",
                          "右旋回", "左旋回", "右移動", "左移動"};
  for (int i = 0; i < 9; ++i) {
    row(QString("slMove_%1").arg(i), "QSlider", 2, "Frame8", none);
    row(QString("lbMove_%1").arg(i), "QLabel", 2, "Frame8", "0%");
    row(QString("Label1_%1").arg(i), "QLabel", 2, "Frame8", moves[i]);
  }
  row("slRange", "QSlider", 2, "Frame8", none);
  row("lbRange", "QLabel", 2, "Frame8", "20");
  row("Label3", "QLabel", 2, "Frame8", "指定間隔");

  // Page 3 "パラメータ".
  row("Frame10", "QGroupBox", 3, none, "パラメータ", "機体パラメータ");
  row("Label8", "QLabel", 3, "Frame10", "残り");
  row("ProgressBar", "QProgressBar", 3, "Frame10", none);
  const QStringList parameters{"移動速度", "旋回速度", "理力", "装甲値"};
  for (int i = 0; i < 4; ++i) {
    row(QString("Label2_%1").arg(i), "QLabel", 3, "Frame10", parameters[i]);
    row(QString("slPar_%1").arg(i), "QSlider", 3, "Frame10", none);
    row(QString("lbPar_%1").arg(i), "QLabel", 3, "Frame10", "0");
  }
  row("Frame11", "QGroupBox", 3, none, "分配率");
  row("lbZan", "QLabel", 3, "Frame11", "残り");
  for (int i = 0; i < 4; ++i) row(QString("lbPar2_%1").arg(i), "QLabel", 3, "Frame11", "0%");

  // Page 4 "詳細".
  row("Frame13", "QGroupBox", 4, none, "思考");
  row("Check2", "QCheckBox", 4, "Frame13", "敵がオーバーヒート時前進");
  row("Check3", "QCheckBox", 4, "Frame13", "自機がオーバーヒート時後退");
  row("Check4", "QCheckBox", 4, "Frame13", "敵がオーバーヒート時必殺技使用率30％アップ");
  row("Label4", "QLabel", 4, "Frame13", "理力が");
  row("TxZan", "QLineEdit", 4, "Frame13", "80");
  row("Label11", "QLabel", 4, "Frame13", "%を超えたら武器の使用を停止する(0～100,通常80)");
  row("Check5", "QCheckBox", 4, "Frame13", "必殺技が3回溜まったら必殺技使用率30％アップ");
  row("Check1", "QCheckBox", 4, none, "他人にデータを見せない");

  // Page 5 "防御".
  row("Frame5", "QGroupBox", 5, none, "防御");
  row("Label12", "QLabel", 5, "Frame5", "連続して　　　　　回ダメージを喰らったら防御(通常4)");
  row("TxRen", "QLineEdit", 5, "Frame5", "4");
  row("ChTama", "QCheckBox", 5, "Frame5", "弾が自機の左右に来たら横に避ける");
  row("Label13", "QLabel", 5, "Frame5",
      "自機の前に総ダメージ数が　　　　　　以上の攻撃が来たら防御(通常850)");
  row("TxDame", "QLineEdit", 5, "Frame5", "850");
  row("Label14", "QLabel", 5, "Frame5", "防御率");
  row("slWPrsnt_4", "QSlider", 5, "Frame5", none);
  row("lbWPrsnt_4", "QLabel", 5, "Frame5", "0%");
  row("Check6", "QCheckBox", 5, "Frame5", "突発的な攻撃(サテライト等)を防御する");
}

void Form1ControlsTest::EveryControlHasItsKindPlaceCaptionAndTooltip() {
  QFETCH(QString, kind);
  QFETCH(int, page);
  QFETCH(QString, frame);
  QFETCH(QString, caption);
  QFETCH(QString, tooltip);
  const QString name = QTest::currentDataTag();

  Form1 form;
  const auto named = form.findChildren<QWidget*>(name);
  QCOMPARE(named.size(), 1);
  QWidget* control = named.front();
  QVERIFY2(control->inherits(kind.toLatin1().constData()), control->metaObject()->className());

  const Place place = PlaceOf(form, control);
  QCOMPARE(place.page, page);
  QCOMPARE(place.frame, frame);
  QCOMPARE(CaptionOf(control), caption);
  QCOMPARE(control->toolTip(), tooltip);
}

void Form1ControlsTest::SlidersHaveTheirRangesStepsTicksAndValues_data() {
  QTest::addColumn<int>("minimum");
  QTest::addColumn<int>("maximum");
  QTest::addColumn<int>("smallStep");
  QTest::addColumn<int>("largeStep");
  QTest::addColumn<int>("tickEvery");
  QTest::addColumn<int>("value");
  for (int i = 0; i < 4; ++i) {
    QTest::newRow(qPrintable(QString("slPar_%1").arg(i))) << 0 << 100 << 1 << 1 << 5 << 0;
  }
  for (int i = 0; i < 9; ++i) {
    QTest::newRow(qPrintable(QString("slMove_%1").arg(i))) << 0 << 100 << 1 << 5 << 5 << 0;
  }
  QTest::newRow("slRange") << 20 << 1000 << 1 << 5 << 50 << 20;
  for (int i = 0; i < 5; ++i) {
    QTest::newRow(qPrintable(QString("slWPrsnt_%1").arg(i))) << 0 << 100 << 5 << 5 << 5 << 0;
  }
}

void Form1ControlsTest::SlidersHaveTheirRangesStepsTicksAndValues() {
  QFETCH(int, minimum);
  QFETCH(int, maximum);
  QFETCH(int, smallStep);
  QFETCH(int, largeStep);
  QFETCH(int, tickEvery);
  QFETCH(int, value);
  Form1 form;
  auto* slider = form.findChild<QSlider*>(QTest::currentDataTag());
  QVERIFY(slider != nullptr);
  QCOMPARE(slider->orientation(), Qt::Horizontal);
  QCOMPARE(slider->minimum(), minimum);
  QCOMPARE(slider->maximum(), maximum);
  QCOMPARE(slider->singleStep(), smallStep);
  QCOMPARE(slider->pageStep(), largeStep);
  QCOMPARE(slider->tickInterval(), tickEvery);
  QCOMPARE(slider->tickPosition(), QSlider::TicksBelow);
  QCOMPARE(slider->value(), value);
}

void Form1ControlsTest::TextBoxesHaveTheirLengthLimitsAndInputMethod_data() {
  QTest::addColumn<int>("maxLength");
  QTest::addColumn<bool>("inputMethod");
  const int noLimit = QLineEdit().maxLength();
  QTest::newRow("TxName") << 6 << true;
  QTest::newRow("TxCom_0") << 12 << true;
  QTest::newRow("TxCom_1") << 12 << true;
  QTest::newRow("TxCom_2") << 12 << true;
  QTest::newRow("TxMaker") << 12 << true;
  QTest::newRow("TxEmail") << 40 << false;
  QTest::newRow("TxZan") << 3 << false;
  QTest::newRow("TxRen") << noLimit << false;
  QTest::newRow("TxDame") << noLimit << false;
}

void Form1ControlsTest::TextBoxesHaveTheirLengthLimitsAndInputMethod() {
  QFETCH(int, maxLength);
  QFETCH(bool, inputMethod);
  Form1 form;
  auto* box = form.findChild<QLineEdit*>(QTest::currentDataTag());
  QVERIFY(box != nullptr);
  QCOMPARE(box->maxLength(), maxLength);
  QCOMPARE(box->testAttribute(Qt::WA_InputMethodEnabled), inputMethod);
  QCOMPARE(box->inputMethodHints(), Qt::ImhNone);

  // The limit counts characters, Japanese ones too; a box without a limit
  // takes a long line.
  const int typed = std::min(maxLength + 1, 50);
  box->clear();
  for (int i = 0; i < typed; ++i) {
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("機"), Qt::NoModifier);
  }
  QCOMPARE(box->text(), QString(std::min(typed, maxLength), QChar(u'機')));
}

void Form1ControlsTest::CheckBoxesHaveTheirTickStates_data() {
  QTest::addColumn<bool>("ticked");
  for (const char* name : {"Check2", "Check3", "Check4", "Check5", "ChTama", "Check6"}) {
    QTest::newRow(name) << true;
  }
  QTest::newRow("Check1") << false;
  QTest::newRow("sf") << false;
}

void Form1ControlsTest::CheckBoxesHaveTheirTickStates() {
  QFETCH(bool, ticked);
  Form1 form;
  auto* box = form.findChild<QCheckBox*>(QTest::currentDataTag());
  QVERIFY(box != nullptr);
  QCOMPARE(box->isChecked(), ticked);
  QVERIFY(!box->isTristate());
}

void Form1ControlsTest::WindowHasItsTitleAndSixPagesWithPageZeroInFront() {
  Form1 form;
  QCOMPARE(form.objectName(), QStringLiteral("Form1"));
  QCOMPARE(form.windowTitle(), QStringLiteral("Kestrovaツール"));
  auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
  const QStringList captions{"プロパティ", "使用武器", "移動", "パラメータ", "詳細", "防御"};
  QCOMPARE(tabs->count(), captions.size());
  for (int page = 0; page < tabs->count(); ++page) QCOMPARE(tabs->tabText(page), captions[page]);
  QCOMPARE(tabs->currentIndex(), 0);
  QVERIFY(tabs->isEnabled());  // the start-up disables it, not the design
}

void Form1ControlsTest::OnlyTheShopControlsAreHiddenAtDesign() {
  Form1 form;
  const QStringList shopOnly{"sf", "cmVShopPack", "VShop"};
  int controls = 0;
  for (QWidget* control : form.findChildren<QWidget*>()) {
    const QString name = control->objectName();
    // Unnamed and qt_ widgets are Qt's own parts; the tab widget hides the
    // pages that are not in front.
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) ||
        name.startsWith(QLatin1String("tabPage_"))) {
      continue;
    }
    ++controls;
    QVERIFY2(control->isHidden() == shopOnly.contains(name), qPrintable(name));
  }
  QVERIFY(controls > 100);
}

void Form1ControlsTest::ComboBoxesAreEmptyAndOnlyTheFileAndShopListsEditable() {
  Form1 form;
  for (int i = 0; i < 6; ++i) {
    QComboBox* slot = form.Wpn(i);
    QVERIFY(!slot->isEditable());
    QCOMPARE(slot->count(), 0);
    QCOMPARE(slot->currentIndex(), -1);
  }
  for (const char* name : {"cbFile", "VShop"}) {
    auto* combo = form.findChild<QComboBox*>(name);
    QVERIFY(combo->isEditable());
    QCOMPARE(combo->count(), 0);
    QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
  }
}

void Form1ControlsTest::TypingACastNameIsNeverCompleted() {
  Form1 form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  auto* file = form.findChild<QComboBox*>(QStringLiteral("cbFile"));
  file->addItem(QStringLiteral("ABCDEF"));
  file->setEditText({});
  file->setFocus();
  QTest::keyClicks(file->lineEdit(), QStringLiteral("ABC"));
  QCOMPARE(file->currentText(), QStringLiteral("ABC"));
  QTest::keyClick(file->lineEdit(), Qt::Key_Return);
  QCOMPARE(file->count(), 1);  // Return adds no item either
}

void Form1ControlsTest::ProgressBarRunsFromZeroToHundred() {
  Form1 form;
  auto* bar = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
  QCOMPARE(bar->minimum(), 0);
  QCOMPARE(bar->maximum(), 100);
  QCOMPARE(bar->value(), 0);
}

void Form1ControlsTest::NamedFontsAreAskedForAndTheTitleIsRed() {
  Form1 form;
  auto* title = form.findChild<QLabel*>(QStringLiteral("Label7"));
  QCOMPARE(title->font().family(), QStringLiteral("HG正楷書体-PRO"));
  QCOMPARE(title->font().pointSizeF(), 14.25);
  QCOMPARE(title->font().weight(), QFont::Normal);
  QCOMPARE(title->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::red));
  auto* info = form.findChild<QLabel*>(QStringLiteral("lbInfo"));
  QCOMPARE(info->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
  QCOMPARE(info->font().pointSizeF(), 8.25);
}

void Form1ControlsTest::PictureBoxTellsOfALeftDoubleClick() {
  Form1 form;
  auto* picture = form.findChild<PictureBox*>(QStringLiteral("Picture1"));
  QVERIFY(picture != nullptr);
  QCOMPARE(picture->size(), QSize(73, 73));  // 1095 twips
  QVERIFY(picture->pixmap().isNull());
  QSignalSpy doubleClicks(picture, &PictureBox::doubleClicked);
  // The left double-click also runs the picture command, which says that
  // this folder has no cast/def.bmp to copy.
  MessageBoxAnswerer answerer;
  QTest::mouseDClick(picture, Qt::RightButton);
  QCOMPARE(doubleClicks.count(), 0);
  QTest::mouseDClick(picture, Qt::LeftButton);
  QCOMPARE(doubleClicks.count(), 1);
}

void Form1ControlsTest::FamilyAccessorsGiveTheNamedMembers() {
  Form1 form;
  const auto check = [&](const char* family, int size, auto accessor) {
    for (int i = 0; i < size; ++i) {
      QCOMPARE(accessor(i)->objectName(), QString("%1_%2").arg(family).arg(i));
    }
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, accessor(size));
  };
  check("slMove", 9, [&](int i) { return form.slMove(i); });
  check("slPar", 4, [&](int i) { return form.slPar(i); });
  check("slWPrsnt", 5, [&](int i) { return form.slWPrsnt(i); });
  check("lbMove", 9, [&](int i) { return form.lbMove(i); });
  check("lbPar", 4, [&](int i) { return form.lbPar(i); });
  check("lbPar2", 4, [&](int i) { return form.lbPar2(i); });
  check("lbWPrsnt", 5, [&](int i) { return form.lbWPrsnt(i); });
  check("TxCom", 3, [&](int i) { return form.TxCom(i); });
  check("Wpn", 6, [&](int i) { return form.Wpn(i); });
}

QTEST_MAIN(Form1ControlsTest)
#include "form1_controls_test.moc"
