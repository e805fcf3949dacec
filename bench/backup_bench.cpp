// How long a backup run takes over a large tree, with the log and without
// it and with 1, 2, 4 and 8 copy workers, against a bare sequential loop of
// the platform's copy call over the same files, the same loop through
// temporary names, and xcopy, all in one
// process on one machine; how long a run that copies only new and changed
// files takes over a target that already holds the tree, with nothing
// changed and with one file in ten changed, against xcopy /D; where the
// run's time goes (writing the log, drawing the row's bar on the window's
// thread); and the longest time the window's thread was busy meanwhile.
//
// The machine may be busy with other work, so one round is not telling:
// each round measures every method once, in an order turned by one place
// per round so that none always follows the same one, and the medians of
// the rounds are compared.
//
// The tree (20,000 small files in 200 folders and three files of 100 MiB)
// is made once under build/bench-data and kept for later runs. The number
// of rounds is the first argument (5 when none is given).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "bench/copy_baselines.h"
#include "platform/controls.h"
#include "platform/file_copy.h"
#include "platform/taskbar.h"
#include "sources/folder_size.h"

namespace {

using namespace bench;

double Milliseconds(Clock::duration d) { return Seconds(d) * 1000; }

struct RunResult {
  double seconds = 0;
  double longestGapMs = 0;
  long messages = 0;
  platform::TimeSpent logWriting;
  platform::TimeSpent barDrawing;
  // What may hold the window's thread: the taskbar's calls on each
  // progress message, one trip to the system (under Wine, its server)
  // after each batch of messages, and the flush that ends each large file
  // on a worker.
  platform::TimeSpent taskbar, serverTrip, flushing, boxQuestion;
};

// The taskbar the program uses, timed.
struct TimedTaskbar : platform::Taskbar {
  platform::TimeSpent* spent;
  explicit TimedTaskbar(platform::TimeSpent* spent) : spent(spent) {}
  void SetProgress(const platform::Form& window, double done, double total, bool failed) override {
    platform::MeasuredScope measure(spent);
    Taskbar::SetProgress(window, done, total, failed);
  }
};

// A run of "Backup!" on one row holding the whole tree, in a shown main
// window as the user has it, with the log on or off and the given workers.
RunResult BackupRun(const std::wstring& data, const std::wstring& src, const std::wstring& target,
                    bool withLog, int workers, bool changedOnly = false, bool keepVersions = false) {
  RunResult result;
  backup::RunSeams seams;
  seams.engine.workers = workers;
  seams.log_writing = &result.logWriting;
  app::MainWindow main(app::StartupWorld::Real(), seams);
  main.Create();
  main.ApplyLanguage(app::Language::kEnglish);
  main.settings_file = data + L"\\bench.ini";
  sources::SourceRow& row = main.rows[1];
  row.path = src;
  row.key = L"5";
  row.size = sources::TenThousandthBytesFromDouble(sources::FolderSize(src + L"\\"));
  row.check_box.set_text(L"Tree");
  row.check_box.set_check_state(platform::CheckState::kChecked);
  main.target_box.set_text(target);
  main.write_log_box.set_check_state(withLog ? platform::CheckState::kChecked : platform::CheckState::kUnchecked);
  main.SetChangedOnly(changedOnly);
  main.SetKeepVersions(keepVersions);
  main.backup_button.set_enabled(true);
  main.set_visible(true);
  platform::PumpMessages(false, [] { return true; });

  row.progress_bar.MeasureDrawingForTesting(&result.barDrawing);
  TimedTaskbar taskbar(&result.taskbar);
  platform::SetTaskbar(&taskbar);
  platform::MeasureFlushingForTesting(&result.flushing);
  HANDLE trip = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  // The window's thread runs its messages as the message loop would; the
  // longest it is held by one batch is the longest the user waits on it.
  Clock::duration longest{};
  const Clock::time_point start = Clock::now();
  main.backup_button.on_click();
  while (main.backup_run.running()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    const Clock::time_point before = Clock::now();
    result.messages += platform::PumpMessages(false, [] { return true; });
    longest = std::max(longest, Clock::now() - before);
    {
      platform::MeasuredScope measure(&result.serverTrip);
      WaitForSingleObject(trip, 0);
    }
    // A question to a row's box, as the taskbar's share once asked every
    // row at each progress message.
    platform::MeasuredScope measure(&result.boxQuestion);
    row.check_box.check_state();
  }
  CloseHandle(trip);
  platform::SetTaskbar(nullptr);
  platform::MeasureFlushingForTesting(nullptr);
  const Clock::time_point end = Clock::now();
  result.seconds = Seconds(end - start);
  result.longestGapMs = Milliseconds(longest);
  if (!main.total_ok_image.visible()) std::printf("warning: the run did not end with its OK icon\n");
  main.Unload();
  return result;
}

void PrintRun(const char* name, const RunResult& run) {
  std::printf(
      "  %s %.2f s: log %.0f ms (%ld writes), window %ld messages, bar %.0f ms (%ld redraws, "
      "longest %.1f ms), longest gap %.1f ms\n",
      name, run.seconds, Milliseconds(run.logWriting.total), run.logWriting.times, run.messages,
      Milliseconds(run.barDrawing.total), run.barDrawing.times,
      Milliseconds(run.barDrawing.longest), run.longestGapMs);
  std::printf(
      "    taskbar %.0f ms (%ld calls, longest %.1f ms), server trip longest %.1f ms, "
      "flush %.0f ms (%ld files, longest %.0f ms), a box's state longest %.1f ms\n",
      Milliseconds(run.taskbar.total), run.taskbar.times, Milliseconds(run.taskbar.longest),
      Milliseconds(run.serverTrip.longest), Milliseconds(run.flushing.total), run.flushing.times,
      Milliseconds(run.flushing.longest), Milliseconds(run.boxQuestion.longest));
}

struct Summary {
  double median, best, worst;
};

Summary Summarize(std::vector<double> seconds) {
  if (seconds.empty()) return {0, 0, 0};
  std::sort(seconds.begin(), seconds.end());
  return {seconds[seconds.size() / 2], seconds.front(), seconds.back()};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = std::max(argc > 1 ? _wtoi(argv[1]) : 5, 1);
  // With a second argument only the methods whose name begins with one of
  // its parts ("run, log on|bare loop, t") run, and no ratios are made.
  const std::string only = argc > 2 ? "|" + platform::ToAnsi(argv[2]) : "";
  platform::OleScope ole;
  platform::InitCommonControls();
  const std::wstring data = platform::ProgramFolder() + L"\\..\\bench-data";
  const std::wstring src = data + L"\\tree";
  if (!platform::FileExists(data + L"\\tree-ready")) {
    std::printf("Making the tree under build/bench-data (once)...\n");
    testing_support::RemoveTree(src);
    MakeTree(src);
  }
  std::vector<std::wstring> folders, files;
  ListTree(src + L"\\", L"", folders, files);
  std::printf("Tree: %zu files in %zu folders\n", files.size(), folders.size());

  // Every method copies into a fresh target that is removed right after it,
  // so each one starts on the same state of the disk.
  const std::wstring out = data + L"\\out";
  testing_support::RemoveTree(out);
  testing_support::MakeFolders(out);
  const std::wstring target = out + L"\\target";
  // A first pass brings the source into the cache for all of them. Its copy
  // stays for the runs over a target that holds the tree already: each of
  // them leaves that copy equal to the tree again.
  const std::wstring again = out + L"\\again";
  testing_support::MakeFolders(again);
  BareLoop(src, again + L"\\Tree", folders, files);

  // The runs with the log on use the default of 4 workers unless named.
  enum Method {
    kBare, kRunWithLog, kRunWithoutLog, kXcopy, kOneWorker, kTwoWorkers, kEightWorkers,
    kBareViaTemporary, kAgainChangedOnly, kXcopyAgain, kAgainOneInTen, kAgainKeepingVersions,
    kMethods
  };
  const char* const names[kMethods] = {
      "bare copy loop", "run, log on", "run, log off", "xcopy /E /I /H /Y", "run, 1 worker",
      "run, 2 workers", "run, 8 workers", "bare loop, temporary names",
      "run again, changed only", "xcopy again /E /I /H /Y /D", "run again, one in ten changed",
      "run again, one in ten changed, versions kept"};
  const int four = backup::CopyEngine::kDefaultWorkers;
  const int workers[kMethods] = {0, four, four, 0, 1, 2, 8, 0, four, 0, four, four};
  std::vector<double> seconds[kMethods];
  double longestGapMs = 0;
  for (int round = 0; round < rounds; ++round) {
    std::printf("round %d:\n", round + 1);
    for (int turn = 0; turn < kMethods; ++turn) {
      const Method method = static_cast<Method>((round + turn) % kMethods);
      if (!only.empty() && only.find("|" + std::string(names[method]).substr(0, 11)) == std::string::npos)
        continue;
      double time = 0;
      if (method == kBare) {
        time = BareLoop(src, target, folders, files);
        std::printf("  %s %.2f s\n", names[method], time);
      } else if (method == kBareViaTemporary) {
        time = BareLoopViaTemporaryNames(src, target, folders, files);
        std::printf("  %s %.2f s\n", names[method], time);
      } else if (method == kXcopy) {
        time = Xcopy(src, target);
        std::printf("  %s %.2f s\n", names[method], time);
      } else if (method == kXcopyAgain) {
        time = Xcopy(src, again + L"\\Tree", L"/E /I /H /Y /D");
        std::printf("  %s %.2f s\n", names[method], time);
      } else {
        const bool versions = method == kAgainKeepingVersions;
        const bool repeated = method == kAgainChangedOnly || method == kAgainOneInTen || versions;
        if (method == kAgainOneInTen || versions) RewriteEveryTenth(src, files);
        const RunResult run = BackupRun(data, src, repeated ? again : target,
                                        method != kRunWithoutLog, workers[method], repeated, versions);
        // The next run with versions starts without them again.
        if (versions) testing_support::RemoveTree(again + L"\\Tavrik Backup versions");
        PrintRun(names[method], run);
        time = run.seconds;
        longestGapMs = std::max(longestGapMs, run.longestGapMs);
      }
      std::fflush(stdout);
      testing_support::RemoveTree(target);
      seconds[method].push_back(time);
    }
  }

  if (!only.empty()) return 0;
  std::printf("over %d rounds:                   median    best   worst\n", rounds);
  Summary summary[kMethods];
  for (int method = 0; method < kMethods; ++method) {
    summary[method] = Summarize(seconds[method]);
    std::printf("  %-30s %7.2f s %6.2f s %6.2f s\n", names[method], summary[method].median,
                summary[method].best, summary[method].worst);
  }
  const double bare = summary[kBare].median;
  const Summary& run = summary[kRunWithLog];
  const Summary& quiet = summary[kRunWithoutLog];
  std::printf("workers (log on): median / bare loop median\n");
  for (const auto& [count, method] : {std::pair{1, kOneWorker}, std::pair{2, kTwoWorkers},
                                      std::pair{4, kRunWithLog}, std::pair{8, kEightWorkers}})
    std::printf("  %d  %7.2f s  %.3f\n", count, summary[method].median,
                summary[method].median / bare);
  std::printf("run (log on) / bare loop, medians   = %.3f (goal <= 0.65)\n", run.median / bare);
  std::printf("run (log off) / bare loop, medians  = %.3f\n", quiet.median / bare);
  std::printf("run, 1 worker / bare loop, medians  = %.3f (goal <= 1.15)\n",
              summary[kOneWorker].median / bare);
  std::printf("run, 1 worker / bare loop via temporary names, medians = %.3f\n",
              summary[kOneWorker].median / summary[kBareViaTemporary].median);
  std::printf("bare loop via temporary names / bare loop, medians = %.3f\n",
              summary[kBareViaTemporary].median / bare);
  std::printf("run log on / run log off, medians   = %.3f (goal <= 1.05)\n",
              run.median / quiet.median);
  if (summary[kXcopy].best > 0)
    std::printf("run (log on) / xcopy, medians       = %.3f (goal <= 0.5)\n",
                run.median / summary[kXcopy].median);
  const double unchanged = summary[kAgainChangedOnly].median;
  std::printf("run again, changed only / run (log on), medians = %.3f (goal <= 0.05)\n",
              unchanged / run.median);
  if (summary[kXcopyAgain].best > 0)
    std::printf("run again, changed only / xcopy again /D, medians = %.3f (goal <= 0.5)\n",
                unchanged / summary[kXcopyAgain].median);
  std::printf("run again, one in ten changed / run (log on), medians = %.3f (goal <= 0.2)\n",
              summary[kAgainOneInTen].median / run.median);
  std::printf("run again, one in ten changed, versions kept / same without, medians = %.3f (goal <= 1.1)\n",
              summary[kAgainKeepingVersions].median / summary[kAgainOneInTen].median);
  std::printf("longest gap of the window's thread (all runs): %.1f ms (goal < 100)\n",
              longestGapMs);
  return 0;
}
