#include "cli/check_mode.h"

#include <cstdio>

namespace skyplate {

std::vector<TrackReport> CheckTracks(const TrackList& list, const OutputPlan& plan,
                                     BuildOptions options) {
  std::vector<TrackReport> reports;
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    const BatchItem& item = list.items[i];
    if (!item.problem.empty()) {
      TrackReport report;
      report.track_path = item.path;
      report.problem = item.problem;
      report.outcome = BuildOutcome::kMissingEntry;
      reports.push_back(std::move(report));
      continue;
    }
    options.output_path = plan.paths[i];
    reports.push_back(CheckTrack(item.path, options));
  }
  return reports;
}

int CheckStatus(const std::vector<TrackReport>& reports, StatusOf status_of) {
  for (const TrackReport& report : reports) {
    const int status = status_of(report.outcome);
    if (status != 0) return status;
  }
  return 0;
}

int RunCheck(const TrackList& list, const OutputPlan& plan, const BuildOptions& options, bool json,
             StatusOf status_of) {
  const std::vector<TrackReport> reports = CheckTracks(list, plan, options);
  const std::string text = json ? CheckJson(reports, status_of) : CheckText(reports);
  std::fputs(text.c_str(), stdout);
  return CheckStatus(reports, status_of);
}

}  // namespace skyplate
