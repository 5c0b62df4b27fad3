#pragma once
// Driving the real windows in tests: the bundled demo data,
// a host whose file dialogs and message boxes answer from a script, and
// helpers that act on modal dialogs once they are open.

#include <QApplication>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "main_dialog.h"
#include "qt_host.h"

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace sonvera::ui::test {

// The bytes of a file; empty when it cannot be read.
std::string readAll(const std::string& path);

// A file of the build's demo data (catalogue in bin/, samples in samples/).
std::string demoData(const std::string& relative);
const DeviceCatalogue& demoCatalogue();

class ScriptedQtHost : public QtHost {
 public:
  explicit ScriptedQtHost(const DeviceCatalogue& catalogue);

  void showMessage(const std::string& text) override { messages.push_back(text); }
  bool askYesNo(const std::string& text) override;
  std::optional<std::string> chooseMeasurementFile(const std::string& folder) override;
  std::optional<std::string> chooseResultFile(const std::string& folder, const std::string& proposedName) override;
  std::optional<std::string> chooseSettingsFile(bool forLoading, const std::string& folder) override;

  std::deque<bool> answers;                 // Yes/No, in order; none left: No
  std::deque<std::string> files;            // chosen paths, in order; none left: cancel
  std::vector<std::string> messages, questions, fileRequests;
};

// A main window on the demo catalogue with a scripted host, shown.
struct Window {
  Window();
  ScriptedQtHost* host;
  std::unique_ptr<MainDialog> dialog;

  template <typename Widget>
  Widget* control(int id) const {
    return dialog->findChild<Widget*>(QString::number(id));
  }
  void click(int id) const;
  QString text(int id) const;
  bool checked(int id) const;
  QStringList listLines(int id) const;
};

// Runs `action` on the next modal dialog once it is open (call before the
// step that opens it).
void whenModal(std::function<void(QWidget*)> action);
// Processes events until `done` holds; false after `milliseconds`.
bool waitFor(const std::function<bool()>& done, int milliseconds = 20000);

template <typename Widget>
Widget* child(const QWidget* parent, int id) {
  return parent->findChild<Widget*>(QString::number(id));
}

}  // namespace sonvera::ui::test
