// The check's report as people read it: one block a track, its verdict
// first, then each entry with its file, the picture, and the warnings.
#include <string>
#include <vector>

#include "cli/check_mode.h"
#include "topdown/limits.h"
#include "topdown/track_file.h"

namespace skyplate {
namespace {

std::string Size(std::int32_t width, std::int32_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

void AddImage(const ImageReport& image, std::string* out) {
  if (!image.present) {
    *out += "  " + image.key + ": missing\n";
    return;
  }
  *out += "  " + image.key + " = " + image.value;
  if (image.value_cut) *out += " (cut at " + std::to_string(kMaxEntryBytes) + " bytes)";
  *out += "\n    " + image.path + ": " + std::string(FileStateName(image.state));
  if (image.state == FileState::kFoundIgnoringCase) {
    *out += " as " + image.opened_path + " (it works here, but the names differ)";
  }
  if (image.state == FileState::kNotBmp) *out += ": " + image.format;
  if (!image.variant.empty()) *out += ", " + image.variant;
  if (image.loads) {
    *out += ", read by the build";
  } else if (image.state != FileState::kNotBmp && image.state != FileState::kMissing &&
             image.state != FileState::kFolder) {
    *out += ", not read: " + image.reason;
  }
  if (!image.loads) *out += " (it would read as black)";
  if (image.resampled) {
    *out += "; resampled from " + Size(image.width, image.height) + " to 256 x 256";
  }
  *out += "\n";
}

void AddPicture(const TrackReport& report, std::string* out) {
  if (report.output_path.empty()) return;
  *out += "  picture: " + report.output_path;
  if (report.picture_bytes > 0) {
    *out += ", " + Size(report.size.width, report.size.height) + ", " +
            std::to_string(report.picture_bytes) + " bytes";
  }
  *out += report.folder_writable ? "; its folder is writable" : "; its folder is not writable";
  if (report.older_read_only) {
    *out += "; the older picture is read-only";
  } else if (report.older_exists) {
    *out += "; an older picture will be replaced";
  }
  *out += "\n";
  if (!report.not_written.empty()) *out += "  error: " + report.not_written + "\n";
}

void AddWarnings(const TrackFileScan& scan, std::string* out) {
  if (!scan.byte_order_mark.empty()) {
    *out +=
        "  warning: the track file starts with a " + scan.byte_order_mark + " byte-order mark\n";
  }
  if (!scan.unread_encoding.empty()) *out += "  warning: " + scan.unread_encoding + "\n";
  for (const std::string& section : scan.duplicate_sections) {
    *out += "  warning: section [" + section + "] is given again (the first one wins)\n";
  }
  for (const std::string& key : scan.duplicate_keys) {
    *out += "  warning: " + key + " is given again in [" + std::string(kTerrainSection) +
            "] (the first one wins)\n";
  }
  for (const std::size_t line : scan.cut_lines) {
    *out += "  warning: line " + std::to_string(line) + " is cut at " +
            std::to_string(kMaxLineBytes) + " bytes\n";
  }
}

}  // namespace

std::string CheckText(const std::vector<TrackReport>& reports) {
  std::string out;
  for (const TrackReport& report : reports) {
    out += report.track_path + ": " + std::string(VerdictOf(report.outcome));
    if (!report.problem.empty()) out += ": " + report.problem;
    out += "\n";
    for (const ImageReport& image : report.images) AddImage(image, &out);
    AddPicture(report, &out);
    AddWarnings(report.scan, &out);
  }
  return out;
}

}  // namespace skyplate
