// What a screen reader hears of the window: a name for every input control,
// taken from what the window shows beside it, and each share slider's value
// label as its description, kept up to date as the sliders move.
#include "form1.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

#include "demo_game_window.h"

using windowtest::DemoGameFolder;
using windowtest::Find;
using windowtest::MakeDemoForm;
using windowtest::TypeName;

namespace {

QString AccessibleText(QWidget* control, QAccessible::Text text) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
  return accessible != nullptr ? accessible->text(text) : QString();
}

// The name the control carries: its accessible name, or for a check box its
// caption. (On Linux Qt gives a combo box's text as its name and its frame's
// caption as its label; elsewhere it gives the accessible name.)
QString NameOf(QWidget* control) {
  if (!control->accessibleName().isEmpty()) return control->accessibleName();
  if (qobject_cast<QCheckBox*>(control) != nullptr) return AccessibleText(control, QAccessible::Name);
  return {};
}

QRect InWindow(const Form1& form, const QWidget* control) {
  return QRect(control->mapTo(&form, QPoint(0, 0)), control->size());
}

// Each slider with the label that shows its value (the one it reads as its
// description).
QList<QPair<QSlider*, QLabel*>> SlidersWithValues(Form1& form) {
  QList<QPair<QSlider*, QLabel*>> sliders;
  for (int i = 0; i < 9; ++i) sliders.append({form.slMove(i), form.lbMove(i)});
  for (int i = 0; i < 5; ++i) sliders.append({form.slWPrsnt(i), form.lbWPrsnt(i)});
  for (int i = 0; i < 4; ++i) sliders.append({form.slPar(i), form.lbPar2(i)});
  sliders.append({Find<QSlider>(form, "slRange"), Find<QLabel>(form, "lbRange")});
  return sliders;
}

void CheckDescriptionsFollowTheirLabels(Form1& form) {
  for (const auto& [slider, value] : SlidersWithValues(form)) {
    QVERIFY2(AccessibleText(slider, QAccessible::Description) == value->text(), qPrintable(slider->objectName()));
  }
}

}  // namespace

class Form1AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryInputControlHasAName();
  void NamesAreWhatTheWindowShowsBesideThem_data();
  void NamesAreWhatTheWindowShowsBesideThem();
  void SliderIsNamedByTheLabelInItsRow();
  void ValueLabelIsTheDescriptionAndFollowsTheSliders();
};

void Form1AccessibilityTest::EveryInputControlHasAName() {
  Form1 form;
  int controls = 0;
  for (QWidget* control : form.findChildren<QWidget*>()) {
    // A combo box's list and its scroll bars are parts of a window of their own.
    if (control->window() != &form) continue;
    if (qobject_cast<QAbstractSlider*>(control) == nullptr && qobject_cast<QComboBox*>(control) == nullptr &&
        qobject_cast<QLineEdit*>(control) == nullptr && qobject_cast<QCheckBox*>(control) == nullptr) {
      continue;
    }
    ++controls;
    const QString name = control->objectName().isEmpty() ? control->parentWidget()->objectName() : control->objectName();
    QVERIFY2(!NameOf(control).trimmed().isEmpty(), qPrintable(name));
  }
  // 19 sliders, 8 combo boxes (two with a line of their own), 9 text boxes,
  // 8 check boxes.
  QCOMPARE(controls, 19 + 8 + 2 + 9 + 8);
}

void Form1AccessibilityTest::NamesAreWhatTheWindowShowsBesideThem_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("name");
  QTest::newRow("cbFile") << "cbFile" << "ファイル名";
  QTest::newRow("TxName") << "TxName" << "機体名";
  QTest::newRow("TxCom_1") << "TxCom_1" << "コメント 2";
  QTest::newRow("TxMaker") << "TxMaker" << "作成者名";
  QTest::newRow("TxEmail") << "TxEmail" << "E-Mail";
  QTest::newRow("Wpn_0") << "Wpn_0" << "使用武器 1";
  QTest::newRow("Wpn_5") << "Wpn_5" << "使用武器 6";
  QTest::newRow("slWPrsnt_3") << "slWPrsnt_3" << "使用率 4";
  QTest::newRow("slMove_2") << "slMove_2" << "前進";
  QTest::newRow("slRange") << "slRange" << "指定間隔";
  QTest::newRow("slPar_0") << "slPar_0" << "移動速度";
  QTest::newRow("TxZan") << "TxZan" << "理力が…%を超えたら武器の使用を停止する(0～100,通常80)";
  QTest::newRow("TxRen") << "TxRen" << "連続して…回ダメージを喰らったら防御(通常4)";
  QTest::newRow("TxDame") << "TxDame" << "自機の前に総ダメージ数が…以上の攻撃が来たら防御(通常850)";
  QTest::newRow("slWPrsnt_4") << "slWPrsnt_4" << "防御率";
  QTest::newRow("ChTama") << "ChTama" << "弾が自機の左右に来たら横に避ける";
}

void Form1AccessibilityTest::NamesAreWhatTheWindowShowsBesideThem() {
  QFETCH(QString, control);
  QFETCH(QString, name);
  Form1 form;
  QCOMPARE(NameOf(Find<QWidget>(form, qPrintable(control))), name);
}

// A slider with a label in its row (the movement, distance, parameter and
// defence rows) is named by that label's caption.
void Form1AccessibilityTest::SliderIsNamedByTheLabelInItsRow() {
  Form1 form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  auto* tabs = Find<QTabWidget>(form, "SSTab1");
  int named = 0;
  for (int page = 2; page < 6; ++page) {
    tabs->setCurrentIndex(page);
    QCoreApplication::processEvents();
    for (QSlider* slider : tabs->widget(page)->findChildren<QSlider*>()) {
      const QRect row = InWindow(form, slider);
      QStringList captions;
      for (QLabel* label : slider->parentWidget()->findChildren<QLabel*>()) {
        const QRect place = InWindow(form, label);
        const bool valueLabel = label->objectName().startsWith(QLatin1String("lb"));
        if (!valueLabel && label->isVisible() && qAbs(place.center().y() - row.center().y()) <= 2) {
          captions << label->text();
        }
      }
      QVERIFY2(captions.size() == 1, qPrintable(slider->objectName()));
      QCOMPARE(AccessibleText(slider, QAccessible::Name), captions.front());
      QCOMPARE(NameOf(slider), captions.front());
      ++named;
    }
  }
  QCOMPARE(named, 9 + 1 + 4 + 1);
}

void Form1AccessibilityTest::ValueLabelIsTheDescriptionAndFollowsTheSliders() {
  DemoGameFolder game;
  auto form = MakeDemoForm();
  CheckDescriptionsFollowTheirLabels(*form);  // "0%" and "20" as the window starts
  QCOMPARE(AccessibleText(Find<QSlider>(*form, "slRange"), QAccessible::Description), QStringLiteral("20"));
  TypeName(*form, "HAYATE");
  CheckDescriptionsFollowTheirLabels(*form);
  QCOMPARE(AccessibleText(form->slMove(0), QAccessible::Description), QStringLiteral("20%"));
  // A move that takes points from the other members updates each of them.
  form->slMove(8)->setValue(100);
  CheckDescriptionsFollowTheirLabels(*form);
  QCOMPARE(AccessibleText(form->slMove(0), QAccessible::Description), QStringLiteral("0%"));
  form->slWPrsnt(0)->setValue(100);
  form->slPar(1)->setValue(60);
  CheckDescriptionsFollowTheirLabels(*form);
}

QTEST_MAIN(Form1AccessibilityTest)
#include "form1_accessibility_test.moc"
