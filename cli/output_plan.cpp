#include "cli/output_plan.h"

#include <filesystem>
#include <map>

#include "cli/folders.h"
#include "topdown/picture_format.h"

namespace skyplate {
namespace {

bool NamesFolder(const TrackList& list, const std::string& output) {
  std::size_t tracks = 0;
  for (const BatchItem& item : list.items) tracks += item.problem.empty() ? 1 : 0;
  return list.open_ended || tracks > 1 || IsPathSeparator(output.back(), kNativePathStyle) ||
         output.back() == '/' || KindOfPath(output) == PathKind::kFolder;
}

// One spelling for every way of naming the same file in a batch: "a/./b"
// and "a/b" are one file, and on Windows so are "A.bmp" and "a.bmp".
std::string FileKey(const std::string& path) {
  std::error_code ignored;
  std::string key = std::filesystem::absolute(path, ignored).lexically_normal().string();
  if (kNativePathStyle == PathStyle::kWindows) {
    for (char& c : key) c = AsciiLower(c);
  }
  return key;
}

}  // namespace

bool PlanOutputs(const TrackList& list, const std::string& output,
                 std::optional<PictureFormat> format, const BuildOptions& options, OutputPlan* plan,
                 std::string* error) {
  plan->folder.clear();
  plan->paths.assign(list.items.size(), "");
  const std::string path = CommandLinePath(output);
  std::string wanted = path;
  if (!path.empty() && NamesFolder(list, path)) {
    plan->folder = path;
    wanted = JoinPath(path, "");
  } else if (!path.empty()) {
    const std::string extension = SplitPath(path, kNativePathStyle).extension;
    const std::optional<PictureFormat> named = PictureFormatForExtension(extension);
    if (!named) {
      *error = output + ": a picture's name ends in .bmp or .png";
      return false;
    }
    if (format && *format != *named) {
      *error = output + ": the name ends in " + extension + " but --format asks for " +
               (*format == PictureFormat::kPng ? "png" : "bmp");
      return false;
    }
    format = named;
  }
  plan->format = format.value_or(PictureFormat::kBmp);

  std::map<std::string, std::size_t> writers;
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    if (!list.items[i].problem.empty()) continue;
    BuildOptions track_options = options;
    track_options.output_path = wanted;
    track_options.format = plan->format;
    plan->paths[i] = wanted;
    const std::optional<TrackPlan> track = PlanTrack(list.items[i].path, track_options);
    if (!track) continue;
    const auto [first, fresh] = writers.emplace(FileKey(track->output_path), i);
    if (!fresh) {
      *error = list.items[first->second].path + " and " + list.items[i].path +
               " would both write " + track->output_path;
      return false;
    }
  }
  return true;
}

}  // namespace skyplate
