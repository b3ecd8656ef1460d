#include "cli/batch_runner.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace skyplate {
namespace {

// Up to this many pixels a picture counts as small: its build spends as
// long loading tiles on one thread as compositing on all.
constexpr std::int64_t kSmallPixels = std::int64_t{2048} * 2048;

// Holds back what a build tells its user, to be told later in order.
class HeldFrontEnd : public BuildFrontEnd {
 public:
  void ShowMainWindow() override {
    Hold([](BuildFrontEnd* to) { to->ShowMainWindow(); });
  }
  void SetStatus(const std::string& text) override {
    Hold([=](BuildFrontEnd* to) { to->SetStatus(text); });
  }
  void ShowMessage(const std::string& text, const std::optional<std::string>& caption,
                   const std::string& detail) override {
    Hold([=](BuildFrontEnd* to) { to->ShowMessage(text, caption, detail); });
  }
  void CloseMainWindow() override {
    Hold([](BuildFrontEnd* to) { to->CloseMainWindow(); });
  }
  // A held build shows no progress: it is over before its turn.
  void OpenDisplay(std::int32_t, std::int32_t) override {}
  void RefreshDisplay(const Bitmap&, std::int32_t, std::int32_t) override {}
  void ImageNotLoaded(std::string_view key, const std::string& path,
                      const std::string& reason) override {
    Hold([=, key = std::string(key)](BuildFrontEnd* to) { to->ImageNotLoaded(key, path, reason); });
  }
  void OutputNotWritten(const std::string& path, const std::string& reason) override {
    Hold([=](BuildFrontEnd* to) { to->OutputNotWritten(path, reason); });
  }

  void TellTo(BuildFrontEnd* front_end) const {
    for (const auto& call : calls_) call(front_end);
  }

 private:
  void Hold(std::function<void(BuildFrontEnd*)> call) { calls_.push_back(std::move(call)); }

  std::vector<std::function<void(BuildFrontEnd*)>> calls_;
};

class Runner {
 public:
  Runner(const TrackList& list, const OutputPlan& plan, const BuildOptions& options,
         BuildFrontEnd* front_end, StatusOf status_of, BatchSummary* summary)
      : list_(list),
        plan_(plan),
        options_(options),
        front_end_(front_end),
        status_of_(status_of),
        summary_(summary) {}

  void Run() {
    std::size_t i = 0;
    while (i < list_.items.size()) {
      std::size_t end = i;
      while (end < list_.items.size() && IsSmall(end)) ++end;
      if (end - i > 1 && options_.jobs > 1) {
        RunTogether(i, end);
        i = end;
      } else {
        Count(i, Build(i, options_, front_end_));
        ++i;
      }
    }
  }

 private:
  bool IsSmall(std::size_t i) const {
    if (!list_.items[i].problem.empty()) return true;
    BuildOptions options = options_;
    options.output_path = plan_.paths[i];
    const std::optional<TrackPlan> track = PlanTrack(list_.items[i].path, options);
    return track && std::int64_t{track->size.width} * track->size.height <= kSmallPixels;
  }

  int Build(std::size_t i, BuildOptions options, BuildFrontEnd* front_end) const {
    if (!list_.items[i].problem.empty()) return kNoTrackStatus;
    options.output_path = plan_.paths[i];
    // The terminal has no window to close, so a path that is not a track
    // file ends that track's build, as the build button does.
    return status_of_(BuildTopdown(list_.items[i].path, 0, front_end, options));
  }

  void Count(std::size_t i, int status) {
    const BatchItem& item = list_.items[i];
    if (!item.problem.empty()) {
      std::fprintf(stderr, "error: %s: %s\n", item.path.c_str(), item.problem.c_str());
    }
    summary_->Add(item.path, status);
  }

  void RunTogether(std::size_t begin, std::size_t end) {
    const std::size_t count = end - begin;
    std::vector<HeldFrontEnd> held(count);
    std::vector<int> statuses(count);
    std::vector<bool> done(count, false);
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t next = 0;
    BuildOptions one_thread = options_;
    one_thread.jobs = 1;
    auto work = [&] {
      for (;;) {
        std::size_t k;
        {
          std::lock_guard lock(mutex);
          if (next == count) return;
          k = next++;
        }
        const int status = Build(begin + k, one_thread, &held[k]);
        std::lock_guard lock(mutex);
        statuses[k] = status;
        done[k] = true;
        finished.notify_all();
      }
    };
    std::vector<std::thread> threads;
    const std::size_t workers =
        std::min<std::size_t>(count, static_cast<std::size_t>(options_.jobs));
    for (std::size_t t = 0; t < workers; ++t) threads.emplace_back(work);
    for (std::size_t k = 0; k < count; ++k) {
      {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return done[k]; });
      }
      held[k].TellTo(front_end_);
      Count(begin + k, statuses[k]);
    }
    for (std::thread& thread : threads) thread.join();
  }

  const TrackList& list_;
  const OutputPlan& plan_;
  const BuildOptions& options_;
  BuildFrontEnd* front_end_;
  StatusOf status_of_;
  BatchSummary* summary_;
};

}  // namespace

void RunBatch(const TrackList& list, const OutputPlan& plan, BuildOptions options,
              BuildFrontEnd* front_end, StatusOf status_of, BatchSummary* summary) {
  ImageCache tiles;
  options.image_cache = &tiles;
  Runner(list, plan, options, front_end, status_of, summary).Run();
}

}  // namespace skyplate
