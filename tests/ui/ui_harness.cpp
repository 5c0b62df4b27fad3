#include "ui_harness.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/profile.h"
#include "catalogue/catalogue_loader.h"

namespace sonvera::ui::test {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string demoData(const std::string& relative) {
  const char* root = std::getenv("SONVERA_TEST_DATA");
  return std::string(root != nullptr ? root : ".") + "/" + relative;
}

const DeviceCatalogue& demoCatalogue() {
  static const DeviceCatalogue catalogue = [] {
    DeviceCatalogue c;
    loadCatalogueFile(demoData("bin/TeleDescFile.bin"), kRussianLanguage, c);
    return c;
  }();
  return catalogue;
}

ScriptedQtHost::ScriptedQtHost(const DeviceCatalogue& catalogue) : QtHost(catalogue) {
  setProfile(std::make_unique<MemoryProfile>());
}

bool ScriptedQtHost::askYesNo(const std::string& text) {
  questions.push_back(text);
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

namespace {

std::optional<std::string> nextFile(ScriptedQtHost& host, const std::string& request) {
  host.fileRequests.push_back(request);
  if (host.files.empty()) return std::nullopt;
  std::string path = host.files.front();
  host.files.pop_front();
  return path;
}

}  // namespace

std::optional<std::string> ScriptedQtHost::chooseMeasurementFile(const std::string& folder) {
  return nextFile(*this, "open " + folder);
}
std::optional<std::string> ScriptedQtHost::chooseResultFile(const std::string& folder, const std::string& proposed) {
  return nextFile(*this, "result " + folder + " " + proposed);
}
std::optional<std::string> ScriptedQtHost::chooseSettingsFile(bool forLoading, const std::string& folder) {
  return nextFile(*this, std::string(forLoading ? "load " : "save ") + folder);
}

Window::Window() {
  auto scripted = std::make_unique<ScriptedQtHost>(demoCatalogue());
  host = scripted.get();
  dialog = std::make_unique<MainDialog>(demoCatalogue(), std::move(scripted));
  dialog->show();
}

void Window::click(int id) const { control<QAbstractButton>(id)->click(); }

QString Window::text(int id) const {
  QWidget* widget = control<QWidget>(id);
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  return {};
}

bool Window::checked(int id) const { return control<QAbstractButton>(id)->isChecked(); }

QStringList Window::listLines(int id) const {
  QStringList lines;
  auto* list = control<QListWidget>(id);
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

void whenModal(std::function<void(QWidget*)> action) {
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [action, poll] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal->isVisible()) {
      action(modal);
      return;
    }
    QTimer::singleShot(5, *poll);
  };
  QTimer::singleShot(0, *poll);
}

bool waitFor(const std::function<bool()>& done, int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > milliseconds) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace sonvera::ui::test
