#include "dialog_options.h"

#include <CLI/CLI.hpp>
#include <csignal>

#include "app/main_dialog.h"
#include "app/typed_time.h"
#include "cli_host.h"

namespace sonvera::cli {
namespace {

void onInterrupt(int) { interrupted = true; }

}  // namespace

std::atomic<bool> interrupted{false};

InterruptGuard::InterruptGuard() : previous_(std::signal(SIGINT, onInterrupt)) { interrupted = false; }
InterruptGuard::~InterruptGuard() { std::signal(SIGINT, previous_); }

bool openWithSettings(MainDialog& dialog, const CliHost& host, const std::string& filePath,
                      const std::vector<std::string>& settingsFiles) {
  if (!dialog.openFile(filePath)) return false;
  for (const auto& settings : settingsFiles) {
    dialog.loadSettingsFile(settings);
    if (host.messageCount > 0) return false;
  }
  return true;
}

void addRangeOptions(CLI::App& command, RangeOptions& range) {
  command.add_option("--from", range.from, "start of the range (record number from 1, or a time with --by-time)");
  command.add_option("--to", range.to, "end of the range");
  command.add_flag("--by-time", range.byTime, "the range is given as times in the file's form");
}

bool applyRange(const RangeOptions& range, MainDialog& dialog) {
  MainDialogState& s = dialog.editableState();
  if (range.from) s.rangeFrom = *range.from;
  if (range.to) s.rangeTo = *range.to;
  if (!range.byTime) return true;
  s.rangeInRecords = false;
  s.rangeUnits.clear();
  if (!range.from || !range.to) dialog.switchRangeMode(false);  // the whole file, in time form
  bool all = true;
  const auto take = [&](const std::optional<std::string>& typed, std::string& field) {
    if (!typed) return;
    if (const auto converted = rangeFieldText(dialog.file(), *typed))
      field = *converted;
    else
      all = false;
  };
  take(range.from, s.rangeFrom);
  take(range.to, s.rangeTo);
  return all;
}

void noteTimeForms(const MainDialog& dialog, CliHost& host) { host.note(acceptedTimeForms(dialog.file())); }

}  // namespace sonvera::cli
