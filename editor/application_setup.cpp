#include "application_setup.h"

#include <QApplication>

#include "translations.h"
#include "window_fonts.h"
#include "window_icon.h"

void SetUpApplication(QApplication& application) {
  // Without Qt's translation its buttons and menus stay in English; the
  // editor works all the same.
  translations::InstallTranslations(application);
  QApplication::setFont(windowfonts::WindowFont());
  QApplication::setWindowIcon(windowicon::CastIcon());
}
