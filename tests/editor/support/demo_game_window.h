// What the window tests share: the demo game made the working folder, a
// window as the start-up leaves it in that folder, its controls by objectName,
// and commands run with their message boxes answered.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "folder_snapshot.h"
#include "form1.h"
#include "temporary_folder.h"

namespace windowtest {

// The demo game, made the working folder while it lives.
class DemoGameFolder {
 public:
  DemoGameFolder();
  DemoGameFolder(const DemoGameFolder&) = delete;
  DemoGameFolder& operator=(const DemoGameFolder&) = delete;
  ~DemoGameFolder();

  const std::filesystem::path& path() const { return folder_.path(); }
  gamefixture::FolderTree Snapshot() const;

 private:
  gamefixture::TemporaryFolder folder_;
  std::filesystem::path previous_;
};

// A window as the start-up leaves it in the demo game (the working folder):
// the player number and the weapon lists from its files, the pages disabled.
std::unique_ptr<Form1> MakeDemoForm(bool shopMode = false);

// The control `name` of `form`; throws std::logic_error when there is none.
template <typename Control>
Control* Find(const Form1& form, const char* name) {
  auto* control = form.findChild<Control*>(name);
  if (control == nullptr) throw std::logic_error(std::string("no control ") + name);
  return control;
}

// Runs `action` and gives the texts of the message boxes it showed, each
// answered with the next of `answers` (OK once they are used up).
QStringList Messages(const std::function<void()>& action, std::deque<QMessageBox::StandardButton> answers = {});

// Types `name` into cbFile as a whole; the messages of the load it runs.
QStringList TypeName(Form1& form, const QString& name);

// Types `name` into cbFile, a cast not yet stored, and makes it pass every
// test of the save routine: a unit name, a usable weapon in every slot, every
// parameter moved.
void MakeSavableNewCast(Form1& form, const QString& name = QStringLiteral("NEWCAST"));

}  // namespace windowtest
