// skyplate-cli: builds the topdown picture of each track file it is given.

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "cli/terminal_front_end.h"
#include "topdown/build_topdown.h"
#include "topdown/version.h"
#include "topdown/worker_pool.h"

namespace {

// Exit statuses, one for each way a track can fail; with several tracks the
// first failure decides.
enum ExitStatus {
  kExitBuilt = 0,
  kExitUsage = 1,
  kExitNotATrack = 2,
  kExitMissingEntry = 3,
  kExitNotWritten = 4,
};

int ExitStatusOf(skyplate::BuildOutcome outcome) {
  switch (outcome) {
    case skyplate::BuildOutcome::kBuilt:
      return kExitBuilt;
    case skyplate::BuildOutcome::kNotATrack:
      return kExitNotATrack;
    case skyplate::BuildOutcome::kMissingEntry:
      return kExitMissingEntry;
    case skyplate::BuildOutcome::kNotWritten:
      return kExitNotWritten;
  }
  return kExitNotWritten;
}

constexpr char kFooter[] =
    R"(Each track file's section [TerrainMaps] names the mask map (MaskMap) and the
four overlay images (Overlay_Base, Overlay_R, Overlay_G, Overlay_B), relative
to the track file's folder. The picture is written into that folder, named
after the mask map with "_Topdown.bmp" (or "_Topdown.png" with --format png).
An image that cannot be loaded is reported and reads as black.

Exit status:
  0  every track was built (warnings included)
  1  the command line is wrong
  2  a path does not end in ".track"
  3  a track file cannot be read, or lacks one of the five entries
  4  a picture could not be written (the mask map gives no size, the picture
     is too large, or the file could not be written; an older file stays))";

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Builds the top-down terrain picture of Dunerally track files.", "skyplate-cli");
  app.footer(kFooter);
  std::vector<std::string> tracks;
  bool quiet = false;
  skyplate::BuildOptions options;
  options.jobs = skyplate::DefaultJobs();
  // The terminal has no display to show a growing picture in: every build
  // streams, in constant memory.
  options.stream = true;
  app.add_option("TRACK", tracks, "Track files (.track) to build, in turn")->required();
  app.add_flag("-q,--quiet", quiet, "Print only warnings and errors");
  app.add_option("-j,--jobs", options.jobs, "Compositing threads (default: one per core)")
      ->capture_default_str()
      ->check(CLI::Range(1, 1024));
  const std::map<std::string, skyplate::PictureFormat> formats = {
      {"bmp", skyplate::PictureFormat::kBmp}, {"png", skyplate::PictureFormat::kPng}};
  app.add_option("--format", options.format,
                 "Picture format: bmp (24-bit, uncompressed) or png (smaller, same pixels)")
      ->default_str("bmp")
      ->transform(CLI::CheckedTransformer(formats, CLI::ignore_case));
  app.set_version_flag("--version", skyplate::kFileVersion);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? kExitBuilt : kExitUsage;
  }

#ifdef SIGXFSZ
  // Past a file size limit, a write should fail and be reported, with the
  // older picture kept, rather than kill the process halfway.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  skyplate::TerminalFrontEnd front_end(quiet, skyplate::StderrIsTerminal());
  int status = kExitBuilt;
  for (const std::string& track : tracks) {
    // The terminal has no window to close, so a path that is not a track
    // file ends that track's build, as the build button does.
    const int track_status = ExitStatusOf(skyplate::BuildTopdown(track, 0, &front_end, options));
    if (status == kExitBuilt) status = track_status;
  }
  return status;
}
