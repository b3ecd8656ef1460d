// skyplate-cli: builds the topdown picture of each track file it is given.

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch_runner.h"
#include "cli/batch_summary.h"
#include "cli/check_mode.h"
#include "cli/folders.h"
#include "cli/interrupt.h"
#include "cli/output_plan.h"
#include "cli/terminal_front_end.h"
#include "cli/track_list.h"
#include "cli/watch_mode.h"
#include "topdown/build_topdown.h"
#include "topdown/version.h"
#include "topdown/worker_pool.h"

namespace {

// Exit statuses, one for each way a track can fail; with several tracks the
// first failure decides, so a script sees the first thing to fix.
enum ExitStatus {
  kExitBuilt = 0,
  kExitUsage = 1,
  kExitNotATrack = 2,
  kExitMissingEntry = skyplate::kNoTrackStatus,
  kExitNotWritten = 4,
  kExitImageNotLoaded = 5,
  kExitReportNotWritten = 6,
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
    case skyplate::BuildOutcome::kImageNotLoaded:
      return kExitImageNotLoaded;
  }
  return kExitNotWritten;
}

constexpr char kFooter[] =
    R"(Each track file's section [TerrainMaps] names the mask map (MaskMap) and the
four overlay images (Overlay_Base, Overlay_R, Overlay_G, Overlay_B), relative
to the track file's folder. The picture is written into that folder, named
after the mask map with "_Topdown.bmp" (or "_Topdown.png" with --format png),
unless -o says otherwise. An image that cannot be loaded is reported and reads
as black; with --strict it fails its track instead. A track whose picture was
written ends with "All Done"; one that failed ends with its error.

A folder stands for the track files inside it, in order of name. On Windows
the program expands the wildcards * and ? itself, as a Unix shell would; on
other systems the shell does, and a quoted pattern is taken literally.

With one track file, -o names the picture's file; its extension (.bmp or .png)
names the format, and a --format that names another is an error. With
several tracks, a folder or a pattern, or when PATH is a folder or ends in a
separator, PATH is a folder (made when missing) for pictures of their usual
names. Two tracks that would write the same file are
refused before anything is built. With more than one track a closing line
on stderr counts those built and names those that failed.

--check builds and writes nothing: for each track it reports the five
entries (value, or missing; values cut at 254 bytes), each file (found, found
only by ignoring letter case, missing, not readable, a folder, not a BMP and
what it is instead), each BMP's form and whether the build reads it, overlays
that will be resampled, the picture's size and file size, whether its folder
is writable and an older picture read-only, and duplicate sections or keys,
a byte-order mark or UTF-16 text. Its exit status is the build's, but 5 when
an image would read as black. --json prints the report as one JSON document.

--watch builds, then watches each track file and the files it names (their
folders, so that saves by renaming are seen too). Once writes have stopped
for 100 ms it rebuilds the tracks they concern, printing one line each:
  12:03:04 Tracks/Hill_mask_Topdown.bmp 85 ms
with any warning after "; ". A file that was there before and is missing
during a save is waited for up to 2 s. Ctrl-C ends it as below; with no
track to watch it ends at once with status 3.

Exit status:
  0  every track was built (warnings included)
  1  the command line is wrong, or two tracks would write the same file
  2  a path does not end in ".track"
  3  a track file cannot be read (missing, not a regular file, too large), or
     lacks one of the five entries; a folder holds no track file; a pattern
     matches no file
  4  a picture could not be written (the mask map gives no size, the picture
     is too large, the older picture is read-only, or the file could not be
     written; an older file stays)
  5  with --strict, an image could not be loaded; no picture was written
  6  every track was built, but the report on stdout could not be written
     (a full device, a closed stream)
With several tracks, the status is that of the first track that failed.

Interrupted (Ctrl-C, SIGTERM, SIGHUP, SIGPIPE), it removes its temporary file,
leaves any older picture as it was and ends by that signal: status 130, 143,
129 or 141 in a shell. On Windows, Ctrl-C, Ctrl-Break and closing the console
do the same and end it with 0xC000013A.)";

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Builds the top-down terrain picture of Dunerally track files.", "skyplate-cli");
  app.footer(kFooter);
  std::vector<std::string> arguments;
  bool quiet = false;
  bool recursive = false;
  bool check = false;
  bool json = false;
  bool watch = false;
  std::string output;
  skyplate::BuildOptions options;
  options.jobs = skyplate::DefaultJobs();
  // The terminal has no display to show a growing picture in: every build
  // streams, in constant memory.
  options.stream = true;
  app.add_option("TRACK", arguments, "Track files (.track) or folders of them, built in turn")
      ->required();
  app.add_option("-o,--output", output, "Picture file for one track, else folder for pictures")
      ->type_name("PATH");
  app.add_flag("--check", check, "Report what is wrong with each track; build and write nothing");
  app.add_flag("--json", json, "With --check, print the report as one JSON document")
      ->needs("--check");
  app.add_flag("--watch", watch, "Build, then rebuild each track whenever one of its files changes")
      ->excludes("--check");
  app.add_flag("-r,--recursive", recursive, "Take track files from subfolders of folders too");
  app.add_flag("--strict", options.strict, "Fail a track when one of its images cannot be loaded");
  app.add_flag("-q,--quiet", quiet, "Print only warnings and errors");
  // No default shown: the number of cores of the machine that printed the
  // help would end up in the man page.
  app.add_option("-j,--jobs", options.jobs, "Compositing threads (default: one per core)")
      ->check(CLI::Range(1, 1024));
  const std::map<std::string, skyplate::PictureFormat> formats = {
      {"bmp", skyplate::PictureFormat::kBmp}, {"png", skyplate::PictureFormat::kPng}};
  std::optional<skyplate::PictureFormat> format;
  app.add_option("--format", format,
                 "Picture format: bmp (24-bit, uncompressed; the default unless -o names a "
                 ".png) or png (smaller, same pixels)")
      ->transform(CLI::CheckedTransformer(formats, CLI::ignore_case).description(""))
      ->type_name("bmp|png");
  app.set_version_flag("--version", std::string("skyplate-cli ") + skyplate::kFileVersion);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (app.exit(e) != 0) return kExitUsage;
    return skyplate::ReportWritten() ? kExitBuilt : kExitReportNotWritten;
  }

#ifdef SIGXFSZ
  // Past a file size limit, a write should fail and be reported, with the
  // older picture kept, rather than kill the process halfway.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  skyplate::RemoveTemporaryFilesOnInterrupt();
  const skyplate::TrackList list = skyplate::ListTracks(arguments, recursive);
  skyplate::OutputPlan plan;
  std::string error;
  if (!skyplate::PlanOutputs(list, output, format, options, &plan, &error)) {
    std::fprintf(stderr, "error: %s\n", error.c_str());
    return kExitUsage;
  }
  options.format = plan.format;
  if (check) {
    const int status = skyplate::RunCheck(list, plan, options, json, ExitStatusOf);
    if (status == kExitBuilt && !skyplate::ReportWritten()) return kExitReportNotWritten;
    return status;
  }
  if (!plan.folder.empty() && !skyplate::MakeFolders(plan.folder, &error)) {
    std::fprintf(stderr, "error: %s: cannot make the folder: %s\n", plan.folder.c_str(),
                 error.c_str());
    return kExitNotWritten;
  }

  if (watch) return skyplate::RunWatch(list, plan, options, kExitMissingEntry);

  skyplate::TerminalFrontEnd front_end(quiet, skyplate::StderrIsTerminal(), options.strict);
  skyplate::BatchSummary summary;
  skyplate::RunBatch(list, plan, options, &front_end, ExitStatusOf, &summary);
  if (summary.size() > 1 && !(quiet && summary.ExitStatus() == kExitBuilt)) {
    std::fprintf(stderr, "%s\n", summary.Line().c_str());
  }
  const int status = summary.ExitStatus();
  if (status == kExitBuilt && !skyplate::ReportWritten()) return kExitReportNotWritten;
  return status;
}
