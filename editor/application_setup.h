// What the program sets on its application before it makes the window: Qt's
// own texts in Japanese, the one window font (also for the message boxes and
// Qt's dialogs) and the icon.
#pragma once

class QApplication;

void SetUpApplication(QApplication& application);
