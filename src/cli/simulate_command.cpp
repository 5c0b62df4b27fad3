#include "simulate_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <ostream>

#include "app/strings.h"
#include "app/typed_time.h"
#include "cli_host.h"
#include "catalogue/catalogue_loader.h"
#include "samples/sample_generator.h"

namespace sonvera::cli {

CLI::App* addSimulateCommand(CLI::App& app, SimulateOptions& options) {
  auto* command = app.add_subcommand("simulate", "write a sample measurement file for a type of the catalogue");
  command->add_option("--type", options.typeCode, "instrument type code")->required()->check(CLI::Range(0, 65535));
  command->add_option("--variant", options.variant, "file variant")
      ->check(CLI::IsMember({"self", "paired", "legacy"}));
  command->add_option("--records", options.records, "number of records")->required();
  command->add_option("--step", options.stepSeconds, "seconds between records (default 1)");
  command->add_option("--start", options.start, "time of the first record, \"YYYY-MM-DD HH:MM:SS\" (or as info shows times)");
  command->add_option("--seed", options.seed, "seed of the random pattern (default 1)");
  command->add_option("--model", options.modelCode, "instrument model code (default: the catalogue's first)")
      ->check(CLI::Range(0, 65535));
  command->add_option("-o,--output", options.outputPath, "file to write")->required();
  return command;
}

int simulate(const SimulateOptions& options, std::ostream& out, std::ostream& err) {
  const auto start = typedDateTime(options.start);
  if (!start) {
    err << "--start takes a date and time: \"YYYY-MM-DD HH:MM:SS\", \"YYYY-MM-DDTHH:MM:SS\", "
           "\"DD/MM/YYYY HH:MM:SS\" or \"HH:MM:SS DD/MM/YYYY\"\n";
    return 2;
  }
  DeviceCatalogue catalogue;
  if (!loadCliCatalogue(options.cataloguePath, catalogue, err)) return 1;
  if (writesOverFileInUse({catalogue.sourcePath}, options.outputPath, err)) return 1;
  SampleOptions sample;
  sample.typeCode = static_cast<std::uint16_t>(options.typeCode);
  sample.variant = options.variant == "paired"   ? FileVariant::PairedWord
                   : options.variant == "legacy" ? FileVariant::Legacy
                                                 : FileVariant::SelfDescribing;
  sample.records = options.records;
  sample.stepSeconds = options.stepSeconds;
  sample.start = *start;
  sample.seed = options.seed;
  if (options.modelCode >= 0) sample.modelCode = static_cast<std::uint16_t>(options.modelCode);
  MeasurementFileSource source;
  switch (generateSample(catalogue, sample, source)) {
    case SampleResult::UnknownType:
      err << text(StringId::UnknownDeviceType) << "\n";
      return 1;
    case SampleResult::NoPairedWords:
      err << "type " << options.typeCode << " has no type word at offset 0 and serial word at offset 4; "
          << "it cannot be written as a paired-word file\n";
      return 1;
    case SampleResult::NoLegacyModel:
      err << "type " << options.typeCode << " has no 16-bit value at offset 18 for the model code; "
          << "it cannot be written as a legacy file\n";
      return 1;
    case SampleResult::LooksPaired:
      err << "the word at offset 4 of type " << options.typeCode
          << " would make a legacy file read as a paired-word file\n";
      return 1;
    case SampleResult::Generated: break;
  }
  if (!writeMeasurementFile(options.outputPath, source)) {
    err << "cannot write " << options.outputPath << "\n";
    return 1;
  }
  out << options.outputPath << ": " << source.records.size() << " records of type " << options.typeCode << "\n";
  return 0;
}

}  // namespace sonvera::cli
