#include "cli_app.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <ostream>

#include "app/strings.h"
#include "catalogue/catalogue_loader.h"
#include "assess_command.h"
#include "catalogue_commands.h"
#include "dump_command.h"
#include "simulate_command.h"
#include "export_command.h"
#include "info_command.h"
#include "platform/platform.h"

namespace sonvera::cli {

int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"Sonvera " + versionNumber() + ": measurement files of sound level and vibration meters as text",
               "sonvera-cli"};
  app.set_version_flag("--version", "sonvera-cli " + versionNumber());
  app.require_subcommand(1);
  // Paths may start with "/" (Unix, or a Wine drive): never take them for "/option".
  app.allow_windows_style_options(false);
  std::string cataloguePath;
  app.add_option("--catalogue", cataloguePath,
                 "device catalogue to use (default: $SONVERA_CATALOGUE, else TeleDescFile.bin beside the program)");

  auto* catalogue = app.add_subcommand("catalogue", "build or inspect a device catalogue");
  catalogue->require_subcommand(1);

  BuildOptions build;
  auto* buildCommand = catalogue->add_subcommand("build", "write TeleDescFile.bin from a JSON description");
  buildCommand->add_option("SOURCE", build.sourcePath, "JSON description (docs/catalogue.md)")->required();
  buildCommand->add_option("-o,--output", build.outputPath, "catalogue file to write")->required();
  buildCommand->add_option("--version", build.version, "format version 0 to 15 (default: the document's, else 15)")
      ->check(CLI::Range(0, 15));

  DumpOptions dump;
  dump.language = std::string(kRussianLanguage);
  auto* dumpCommand = catalogue->add_subcommand("dump", "print what the program reads from a catalogue, as JSON");
  dumpCommand->add_option("FILE", dump.cataloguePath, "catalogue file (default: the one the program uses)");
  dumpCommand->add_option("--language", dump.language, "language of the text blocks to keep");

  RecordDumpOptions recordDump;
  auto* recordDumpCommand = addDumpCommand(app, recordDump);
  SimulateOptions simulateOptions;
  auto* simulateCommand = addSimulateCommand(app, simulateOptions);

  InfoOptions info;
  auto* infoCommand = addInfoCommand(app, info);

  ExportOptions exportOptions;
  auto* exportCommand = addExportCommand(app, exportOptions);
  AssessOptions assessOptions;
  auto* assessCommand = addAssessCommand(app, assessOptions);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 2;
  }

  if (buildCommand->parsed()) return buildCatalogue(build, out, err);
  if (dumpCommand->parsed()) {
    if (dump.cataloguePath.empty()) dump.cataloguePath = cataloguePath;
    return dumpCatalogue(dump, out, err);
  }
  if (recordDumpCommand->parsed()) {
    recordDump.cataloguePath = cataloguePath;
    return dumpRecord(recordDump, out, err);
  }
  if (simulateCommand->parsed()) {
    simulateOptions.cataloguePath = cataloguePath;
    return simulate(simulateOptions, out, err);
  }
  if (exportCommand->parsed()) {
    exportOptions.cataloguePath = cataloguePath;
    exportOptions.progress = platform::standardErrorIsTerminal();
    return runExportCommand(exportOptions, out, err);
  }
  if (assessCommand->parsed()) {
    assessOptions.cataloguePath = cataloguePath;
    assessOptions.progress = platform::standardErrorIsTerminal();
    return runAssessCommand(assessOptions, out, err);
  }
  if (infoCommand->parsed()) {
    info.cataloguePath = cataloguePath;
    return showInfo(info, out, err);
  }
  return 2;
}

}  // namespace sonvera::cli
