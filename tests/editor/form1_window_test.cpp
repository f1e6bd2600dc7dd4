// The window as a whole: one size in every mode and state, with nothing that
// is shown in two states standing in different places; its icon; one
// Japanese font for every control, with a Mincho face for the title.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include "demo_game_window.h"

using windowtest::DemoGameFolder;
using windowtest::Find;
using windowtest::MakeDemoForm;
using windowtest::Messages;
using windowtest::TypeName;

namespace {

// The controls that a layout places for a user: the input controls, the
// buttons and the frames.
bool IsPlacedControl(const QWidget* control) {
  return qobject_cast<const QAbstractSlider*>(control) != nullptr ||
         qobject_cast<const QComboBox*>(control) != nullptr || qobject_cast<const QLineEdit*>(control) != nullptr ||
         qobject_cast<const QAbstractButton*>(control) != nullptr ||
         qobject_cast<const QGroupBox*>(control) != nullptr;
}

// Where each named control that is shown stands in the window, page by
// page; the page in front is put back.
QMap<QString, QRect> Places(Form1& form) {
  QMap<QString, QRect> places;
  auto* tabs = Find<QTabWidget>(form, "SSTab1");
  const int inFront = tabs->currentIndex();
  for (int page = 0; page < tabs->count(); ++page) {
    tabs->setCurrentIndex(page);
    QCoreApplication::processEvents();
    for (QWidget* control : form.findChildren<QWidget*>()) {
      const QString name = control->objectName();
      if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || !control->isVisible() ||
          !IsPlacedControl(control)) {
        continue;
      }
      places.insert(name, QRect(control->mapTo(&form, QPoint(0, 0)), control->size()));
    }
  }
  tabs->setCurrentIndex(inFront);
  return places;
}

void Show(Form1& form) {
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
}

}  // namespace

class Form1WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void OneSizeInEveryModeAndStateAndNothingMoves_data();
  void OneSizeInEveryModeAndStateAndNothingMoves();
  void SizeIsFixedNearTheNominalClientArea();
  void WindowHasItsIconInEverySize();
  void EveryControlSpeaksInOneJapaneseFont();
};

void Form1WindowTest::OneSizeInEveryModeAndStateAndNothingMoves_data() {
  QTest::addColumn<QStringList>("arguments");  // of the start-up; "-" for none
  QTest::addColumn<QStringList>("names");      // typed into cbFile in turn
  const QStringList none{"-"};
  QTest::newRow("start-up") << QStringList() << QStringList();
  QTest::newRow("shop mode") << QStringList{"Q"} << QStringList();
  QTest::newRow("shop mode, a new cast") << QStringList{"Q"} << QStringList{"NEWCAST"};
  QTest::newRow("a new cast") << none << QStringList{"NEWCAST"};
  QTest::newRow("the own cast") << none << QStringList{"HAYATE"};
  QTest::newRow("a hidden-data cast") << none << QStringList{"RAIDEN"};
  QTest::newRow("a name typed after the hidden-data cast") << none << QStringList{"RAIDEN", "RAIDE"};
}

// Each state is compared with the window as the program makes it, before the
// start-up: same size, and every control shown in both at the same place.
void Form1WindowTest::OneSizeInEveryModeAndStateAndNothingMoves() {
  QFETCH(QStringList, arguments);
  QFETCH(QStringList, names);
  DemoGameFolder game;
  Form1 made;
  Show(made);
  const QMap<QString, QRect> madePlaces = Places(made);

  // The demo game holds no scrambling library, so the start-up reports that
  // and opens the window with empty lists, in the mode asked for.
  auto form = MakeDemoForm();
  if (arguments != QStringList{"-"}) Messages([&] { form->StartUp(arguments); });
  for (const QString& name : names) TypeName(*form, name);
  Show(*form);
  QCOMPARE(form->size(), made.size());
  const QMap<QString, QRect> places = Places(*form);
  QVERIFY(places.size() > 15);
  for (auto place = places.cbegin(); place != places.cend(); ++place) {
    if (madePlaces.contains(place.key())) QVERIFY2(place.value() == madePlaces[place.key()], qPrintable(place.key()));
  }
}

void Form1WindowTest::SizeIsFixedNearTheNominalClientArea() {
  Form1 form;
  Show(form);
  QCOMPARE(form.minimumSize(), form.size());
  QCOMPARE(form.maximumSize(), form.size());
  // 502 x 344 at 96 dpi, a little more where the controls ask for it.
  const qreal scale = form.logicalDpiY() / 96.0;
  QVERIFY(form.width() >= qRound(502 * scale) && form.height() >= qRound(344 * scale));
  QVERIFY2(form.width() <= qRound(560 * scale) && form.height() <= qRound(400 * scale),
           qPrintable(QStringLiteral("%1 x %2").arg(form.width()).arg(form.height())));
}

void Form1WindowTest::WindowHasItsIconInEverySize() {
  Form1 form;
  const QIcon icon = form.windowIcon();
  for (int size : {16, 32, 48, 64, 256}) {
    QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    // Drawn, not blank: the corners are clear and the middle is not.
    QCOMPARE(qAlpha(image.pixel(0, size - 1)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
  }
}

// The title asks for the brush face the game's tools use and shows the
// Mincho stand-in; the status line and every other control show IPA P
// Gothic, Latin digits included.
void Form1WindowTest::EveryControlSpeaksInOneJapaneseFont() {
  Form1 form;
  int controls = 0;
  for (QWidget* control : form.findChildren<QWidget*>()) {
    if (control->window() != &form) continue;  // a combo box's list is a window of its own
    const QString name = control->objectName();
    const QFontInfo shown(control->font());
    if (name == QLatin1String("Label7")) {
      QCOMPARE(shown.family(), QStringLiteral("IPAPMincho"));
      QCOMPARE(control->font().pointSizeF(), 14.25);
      continue;
    }
    ++controls;
    QVERIFY2(shown.family() == QLatin1String("IPAPGothic"), qPrintable(name + QLatin1Char(' ') + shown.family()));
    QCOMPARE(control->font().pointSizeF(), name == QLatin1String("lbInfo") ? 8.25 : 9.0);
  }
  QVERIFY(controls > 100);
}

QTEST_MAIN(Form1WindowTest)
#include "form1_window_test.moc"
