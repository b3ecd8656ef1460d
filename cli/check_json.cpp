// The check's report as one JSON document: the same facts as the text, in
// fields an editor or a mod-pack script can rely on.
#include <nlohmann/json.hpp>

#include "cli/check_mode.h"

namespace skyplate {
namespace {

using nlohmann::json;

json ImageJson(const ImageReport& image) {
  json entry = {{"key", image.key}, {"present", image.present}};
  if (!image.present) return entry;
  entry["value"] = image.value;
  entry["cut"] = image.value_cut;
  json file = {{"path", image.path},
               {"opened_path", image.opened_path},
               {"state", FileStateName(image.state)},
               {"loads", image.loads}};
  if (!image.format.empty()) file["format"] = image.format;
  if (!image.variant.empty()) {
    file["variant"] = image.variant;
    file["width"] = image.width;
    file["height"] = image.height;
  }
  if (!image.loads) file["reason"] = image.reason;
  if (image.resampled) file["resampled_from"] = {image.width, image.height};
  entry["file"] = std::move(file);
  return entry;
}

json TrackJson(const TrackReport& report, StatusOf status_of) {
  json track = {{"track", report.track_path},
                {"status", status_of(report.outcome)},
                {"verdict", VerdictOf(report.outcome)}};
  if (!report.problem.empty()) track["problem"] = report.problem;
  if (!report.readable) return track;
  const TrackFileScan& scan = report.scan;
  track["track_file"] = {
      {"byte_order_mark", scan.byte_order_mark.empty() ? json() : json(scan.byte_order_mark)},
      {"unread_encoding", scan.unread_encoding.empty() ? json() : json(scan.unread_encoding)},
      {"duplicate_sections", scan.duplicate_sections},
      {"duplicate_keys", scan.duplicate_keys},
      {"cut_lines", scan.cut_lines}};
  json entries = json::array();
  for (const ImageReport& image : report.images) entries.push_back(ImageJson(image));
  track["entries"] = std::move(entries);
  if (!report.output_path.empty()) {
    track["picture"] = {{"path", report.output_path},
                        {"width", report.size.width},
                        {"height", report.size.height},
                        {"bytes", report.picture_bytes},
                        {"folder_writable", report.folder_writable},
                        {"older_exists", report.older_exists},
                        {"older_read_only", report.older_read_only}};
    if (!report.not_written.empty()) track["picture"]["not_written"] = report.not_written;
  }
  return track;
}

}  // namespace

std::string CheckJson(const std::vector<TrackReport>& reports, StatusOf status_of) {
  json tracks = json::array();
  for (const TrackReport& report : reports) tracks.push_back(TrackJson(report, status_of));
  const int status = CheckStatus(reports, status_of);
  // Names and values are bytes of the ANSI code page, not always UTF-8:
  // those that are not are replaced rather than failing the report.
  return json{{"status", status}, {"tracks", std::move(tracks)}}.dump(
             2, ' ', false, json::error_handler_t::replace) +
         "\n";
}

}  // namespace skyplate
