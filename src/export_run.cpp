#include "export_run.h"

#include <cstdio>

#include "console.h"
#include "database_walk.h"
#include "file_error.h"
#include "input_file.h"
#include "version.h"

namespace {

ExitStatus exportNamedFile(int argc, const char* const* argv, Console& console) {
  if (argc != 2) {
    printUsage(console);
    return ExitStatus::kUsage;
  }
  // A path is a path even when it begins with '-': there are no options.
  const char* const path = argv[1];
  FileInput input;
  if (const int error = input.open(path); error != 0) {
    reportFileError(console, kOpenErrorHeadline, path, error);
    return ExitStatus::kOpenFailed;
  }
  const ExitStatus status = walkDatabase(input, path, console);
  input.close();
  return status;
}

}  // namespace

ExitStatus runExport(int argc, const char* const* argv) {
  Console console(stdout, stderr);
  const ExitStatus status = exportNamedFile(argc, argv, console);
  return console.finish() ? status : ExitStatus::kOutputFailed;
}

void printUsage(Console& console) {
  console.write("VellorinExport v" VELLORIN_VERSION " -> Vellorin Export utility\n");
  console.write("Usage: vellorin-export DATABASE.pdb > readings.csv\n\n");
  console.write("Error: you must supply the input PDB file!\n");
  console.write("\nFor further information go to: https://example.org/vellorin\n\n");
}
