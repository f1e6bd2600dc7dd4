// The language of Qt's own texts in the editor: the standard buttons of the
// message boxes (はい, いいえ), the text boxes' context menus and Qt's file and
// folder dialogs. The window's own texts are Japanese in the code.
#pragma once

class QCoreApplication;

namespace translations {

// Installs Qt's Japanese translation, qtbase_ja.qm from Qt's translations
// folder (Debian's qt6-translations-l10n), into `application`, which owns it
// from then on. False when it cannot be loaded: Qt's texts then stay in
// English and nothing else changes.
bool InstallTranslations(QCoreApplication& application);

}  // namespace translations
