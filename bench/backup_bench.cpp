// How long a backup run takes over a large tree, with the log and without
// it and with 1, 2, 4 and 8 copy workers, against a bare sequential loop of
// the platform's copy call over the same files, the same loop through
// temporary names, and xcopy, all in one
// process on one machine; where the run's time goes (writing the log,
// drawing the row's bar on the window's thread); and the longest time the
// window's thread was busy meanwhile.
//
// The machine may be busy with other work, so one round is not telling:
// each round measures every method once, in an order turned by one place
// per round so that none always follows the same one, and the medians of
// the rounds are compared.
//
// The tree (20,000 small files in 200 folders and three files of 100 MiB)
// is made once under build/bench-data and kept for later runs.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <utility>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "backup/copy_engine.h"
#include "backup/path_parts.h"
#include "platform/controls.h"
#include "platform/file_copy.h"
#include "platform/files.h"
#include "sources/folder_size.h"
#include "support/temp_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 100;
constexpr int kBigFiles = 3;
constexpr std::uint64_t kBigFileSize = 100u << 20;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void MakeTree(const std::wstring& src) {
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int f = 0; f < kFolders; ++f) {
    std::wstring folder = src + L"\\folder" + std::to_wstring(f) + L"\\sub";
    testing_support::MakeFolders(folder);
    for (int i = 0; i < kFilesPerFolder; ++i) {
      std::string bytes(500 + next() % 3500, '\0');
      for (char& c : bytes) c = static_cast<char>(next() >> 24);
      testing_support::WriteFile(folder + L"\\file" + std::to_wstring(i) + L".dat", bytes);
    }
  }
  std::string block(1 << 20, '\0');
  for (int b = 0; b < kBigFiles; ++b) {
    HANDLE file = CreateFileW((src + L"\\big" + std::to_wstring(b) + L".bin").c_str(),
                              GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    for (std::uint64_t done = 0; done < kBigFileSize; done += block.size()) {
      for (char& c : block) c = static_cast<char>(next() >> 24);
      DWORD written = 0;
      WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
    CloseHandle(file);
  }
  testing_support::WriteFile(src + L"\\..\\tree-ready", "ok");
}

// Every folder and file of the tree, relative to its root, folders first
// within each level so that a copy can make them in order.
void ListTree(const std::wstring& root, const std::wstring& below,
              std::vector<std::wstring>& folders, std::vector<std::wstring>& files) {
  platform::FileSearch search(root + below + L"*.*");
  if (!search.found()) return;
  std::vector<std::wstring> subs;
  do {
    const platform::FoundEntry& entry = search.entry();
    if (entry.name == L"." || entry.name == L"..") continue;
    if (entry.is_directory())
      subs.push_back(below + entry.name + L"\\");
    else
      files.push_back(below + entry.name);
  } while (search.Next());
  for (const std::wstring& sub : subs) {
    folders.push_back(sub);
    ListTree(root, sub, folders, files);
  }
}

double BareLoop(const std::wstring& src, const std::wstring& dst,
                const std::vector<std::wstring>& folders, const std::vector<std::wstring>& files) {
  const Clock::time_point start = Clock::now();
  platform::CreateFolder(dst);
  for (const std::wstring& folder : folders) platform::CreateFolder(dst + L"\\" + folder);
  const std::atomic<bool> cancel{false};
  for (const std::wstring& file : files)
    platform::CopyFileWithProgress(src + L"\\" + file, dst + L"\\" + file, {}, &cancel);
  return Seconds(Clock::now() - start);
}

// The same loop with every file copied under a temporary name beside its
// destination and then moved to its name, as the run does: what that costs
// on its own, apart from the run's machinery.
double BareLoopViaTemporaryNames(const std::wstring& src, const std::wstring& dst,
                                 const std::vector<std::wstring>& folders,
                                 const std::vector<std::wstring>& files) {
  const Clock::time_point start = Clock::now();
  platform::CreateFolder(dst);
  for (const std::wstring& folder : folders) platform::CreateFolder(dst + L"\\" + folder);
  const std::atomic<bool> cancel{false};
  std::uint64_t number = 0;
  for (const std::wstring& file : files) {
    const std::wstring destination = dst + L"\\" + file;
    const std::wstring temporary =
        backup::FolderOfFile(destination) + backup::TemporaryName(++number);
    platform::CopyFileWithProgress(src + L"\\" + file, temporary, {}, &cancel);
    platform::MoveFileOver(temporary, destination);
  }
  return Seconds(Clock::now() - start);
}

double Xcopy(const std::wstring& src, const std::wstring& dst) {
  std::wstring command = L"xcopy \"" + src + L"\" \"" + dst + L"\" /E /I /H /Y";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = nul;
  startup.hStdError = nul;
  startup.hStdInput = nul;
  PROCESS_INFORMATION process = {};
  const Clock::time_point start = Clock::now();
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    CloseHandle(nul);
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds = Seconds(Clock::now() - start);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(nul);
  return seconds;
}

double Milliseconds(Clock::duration d) { return Seconds(d) * 1000; }

struct RunResult {
  double seconds = 0;
  double longestGapMs = 0;
  long messages = 0;
  platform::TimeSpent logWriting;
  platform::TimeSpent barDrawing;
};

// A run of "Backup!" on one row holding the whole tree, in a shown main
// window as the user has it, with the log on or off and the given workers.
RunResult BackupRun(const std::wstring& data, const std::wstring& src, const std::wstring& target,
                    bool withLog, int workers) {
  app::MainWindow main;
  main.Create();
  main.ApplyLanguage(app::Language::kEnglish);
  main.settings_file = data + L"\\bench.ini";
  sources::SourceRow& row = main.rows[1];
  row.path = src;
  row.key = L"5";
  row.size = sources::TenThousandthBytesFromDouble(sources::FolderSize(src + L"\\"));
  row.check_box.set_caption(L"Tree");
  row.check_box.set_value(1);
  main.target_box.set_text(target);
  main.write_log_box.set_value(withLog ? 1 : 0);
  main.backup_button.set_enabled(true);
  main.set_visible(true);
  platform::DoEvents();

  RunResult result;
  row.progress_bar.MeasureDrawing(&result.barDrawing);
  main.backup_run.log().MeasureWriting(&result.logWriting);
  main.backup_run.engine().workers = workers;
  // The window's thread runs its messages as the message loop would; the
  // longest it is held by one batch is the longest the user waits on it.
  Clock::duration longest{};
  const Clock::time_point start = Clock::now();
  main.backup_button.on_click();
  while (main.backup_run.running()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    const Clock::time_point before = Clock::now();
    result.messages += platform::DoEvents();
    longest = std::max(longest, Clock::now() - before);
  }
  const Clock::time_point end = Clock::now();
  result.seconds = Seconds(end - start);
  result.longestGapMs = Milliseconds(longest);
  if (!main.total_ok_image.visible()) std::printf("warning: the run did not end with its OK icon\n");
  main.Unload();
  return result;
}

void PrintRun(const char* name, const RunResult& run) {
  std::printf(
      "  %s %.2f s: log %.0f ms (%ld writes), window %ld messages, bar %.0f ms (%ld redraws), "
      "longest gap %.1f ms\n",
      name, run.seconds, Milliseconds(run.logWriting.total), run.logWriting.times, run.messages,
      Milliseconds(run.barDrawing.total), run.barDrawing.times, run.longestGapMs);
}

struct Summary {
  double median, best, worst;
};

Summary Summarize(std::vector<double> seconds) {
  std::sort(seconds.begin(), seconds.end());
  return {seconds[seconds.size() / 2], seconds.front(), seconds.back()};
}

}  // namespace

int wmain() {
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
  // A first pass brings the source into the cache for all of them.
  BareLoop(src, target, folders, files);
  testing_support::RemoveTree(target);

  // The runs with the log on use the default of 4 workers unless named.
  enum Method {
    kBare, kRunWithLog, kRunWithoutLog, kXcopy, kOneWorker, kTwoWorkers, kEightWorkers,
    kBareViaTemporary, kMethods
  };
  const char* const names[kMethods] = {"bare copy loop", "run, log on", "run, log off",
                                       "xcopy /E /I /H /Y", "run, 1 worker", "run, 2 workers",
                                       "run, 8 workers", "bare loop, temporary names"};
  const int workers[kMethods] = {0, backup::CopyEngine::kDefaultWorkers,
                                 backup::CopyEngine::kDefaultWorkers, 0, 1, 2, 8, 0};
  std::vector<double> seconds[kMethods];
  double longestGapMs = 0;
  constexpr int kRounds = 5;
  for (int round = 0; round < kRounds; ++round) {
    std::printf("round %d:\n", round + 1);
    for (int turn = 0; turn < kMethods; ++turn) {
      const Method method = static_cast<Method>((round + turn) % kMethods);
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
      } else {
        const RunResult run =
            BackupRun(data, src, target, method != kRunWithoutLog, workers[method]);
        PrintRun(names[method], run);
        time = run.seconds;
        longestGapMs = std::max(longestGapMs, run.longestGapMs);
      }
      std::fflush(stdout);
      testing_support::RemoveTree(target);
      seconds[method].push_back(time);
    }
  }

  std::printf("over %d rounds:                median    best   worst\n", kRounds);
  Summary summary[kMethods];
  for (int method = 0; method < kMethods; ++method) {
    summary[method] = Summarize(seconds[method]);
    std::printf("  %-26s %7.2f s %6.2f s %6.2f s\n", names[method], summary[method].median,
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
  std::printf("longest gap of the window's thread (all runs): %.1f ms (goal < 100)\n",
              longestGapMs);
  return 0;
}
