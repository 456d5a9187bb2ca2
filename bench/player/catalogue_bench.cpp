// The catalogue's search of a 10 000-file card (rows built, listed and sorted) beside `find` listing the same
// recordings with their names, dates, sizes and paths.
#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "ToolRunner.h"
#include "player/CRecordingCatalogue.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 11;
constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;

// A card of recordings in dated folders, one in ten of them not a recording (a log, a mixed-case name).
int MakeCard(const std::filesystem::path& root) {
  int recordings = 0;
  for (int f = 0; f < kFolders; ++f) {
    const auto folder = root / "DCIM" / ("2026120" + std::to_string(f % 7) + "_" + std::to_string(f));
    std::filesystem::create_directories(folder);
    for (int i = 0; i < kFilesPerFolder; ++i) {
      const std::string stem = "20261206_" + std::to_string(100000 + f * 100 + i) + "_" + "EDP"[i % 3] + "01";
      const char* extension = i % 10 == 9 ? (i % 20 == 9 ? ".Avi" : ".log") : (i % 2 ? ".AVI" : ".MP4");
      recordings += i % 10 != 9;
      std::ofstream(folder / (stem + extension)).put('x');
    }
  }
  return recordings;
}

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// One search as the window makes it (without the box), to the sorted list.
double CatalogueOnce(QWidget& window, const QString& folder, int& rows) {
  vx::CRecordingCatalogue catalogue(&window);
  bool finished = false;
  QObject::connect(&catalogue, &vx::CRecordingCatalogue::searchFinished, [&] { finished = true; });
  const auto start = Clock::now();
  catalogue.BeginSearch(folder);
  while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double ms = Milliseconds(Clock::now() - start);
  rows = catalogue.RowCount();
  return ms;
}

// `find` choosing the same files; with `details`, it also prints each one's name, date, size and path.
double FindOnce(const std::string& folder, bool details) {
  const std::string command = "find '" + folder +
                              "' -type f \\( -name '*.AVI' -o -name '*.avi' -o -name '*.MP4' -o -name '*.mp4' \\)" +
                              (details ? " -printf '%f\\t%TY.%Tm.%Td\\t%s\\t%p\\n'" : "") + " >/dev/null";
  const auto start = Clock::now();
  const int status = std::system(command.c_str());
  const double ms = Milliseconds(Clock::now() - start);
  return status == 0 ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const vx::test::TempDir dir("catalogue-bench");
  const int recordings = MakeCard(dir.Path());
  const QString folder = QString::fromStdString(dir.Path().string());
  QWidget window;
  window.resize(1020, 594);
  window.show();
  int rows = 0;
  CatalogueOnce(window, folder, rows);  // warm the file system cache for both
  FindOnce(dir.Path().string(), true);
  std::vector<double> ours;
  std::vector<double> find;
  std::vector<double> findNames;
  for (int i = 0; i < kRuns; ++i) {
    ours.push_back(CatalogueOnce(window, folder, rows));
    find.push_back(FindOnce(dir.Path().string(), true));
    findNames.push_back(FindOnce(dir.Path().string(), false));
  }
  std::printf("files: %d\n", kFolders * kFilesPerFolder);
  std::printf("recordings_listed: %d\n", rows);
  std::printf("runs: %d\n", kRuns);
  std::printf("catalogue_search_ms_median: %.2f\n", Median(ours));
  std::printf("find_paths_only_ms_median: %.2f\n", Median(findNames));
  std::printf("find_names_dates_sizes_paths_ms_median: %.2f\n", Median(find));
  std::printf("ratio_to_find_paths_only: %.3f\n", Median(ours) / Median(findNames));
  std::printf("ratio: %.3f\n", Median(ours) / Median(find));
  return rows == recordings ? 0 : 1;
}
