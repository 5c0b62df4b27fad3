#include "dialog_options.h"

#include <CLI/CLI.hpp>
#include <csignal>

namespace sonvera::cli {
namespace {

void onInterrupt(int) { interrupted = true; }

}  // namespace

std::atomic<bool> interrupted{false};

InterruptGuard::InterruptGuard() : previous_(std::signal(SIGINT, onInterrupt)) { interrupted = false; }
InterruptGuard::~InterruptGuard() { std::signal(SIGINT, previous_); }

void addRangeOptions(CLI::App& command, RangeRequest& range) {
  command.add_option("--from", range.from, "start of the range (record number from 1, or a time with --by-time)");
  command.add_option("--to", range.to, "end of the range");
  command.add_flag("--by-time", range.byTime, "the range is given as times in the file's form");
}

}  // namespace sonvera::cli
