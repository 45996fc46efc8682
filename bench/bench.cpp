// The conversion benchmark: runs tessel-cli over the large generated project
// in each format, on one thread and on all cores, and measures in the same
// run the floor: the time zlib's compress alone takes over the same RGB565
// rows. Prints wall times (medians), peak memory and the ratios.
//
//   tessel-bench [--project DIR] [--work DIR] [--runs N] [--jobs N]
//
// The floor is measured in a child process of its own: a child's peak
// memory (ru_maxrss) starts from what its parent held when it was spawned,
// so the benchmark itself keeps no pictures in memory.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>
#include <vector>
#include <zlib.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Measure {
  double seconds = 0;
  double cpuSeconds = 0;  // user + system time of the child
  long peakKiB = 0;
  int status = -1;
};

Measure runProcess(const std::vector<std::string>& args, std::string* output = nullptr) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int pipeFds[2] = {-1, -1};
  if (output && pipe(pipeFds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", 0, 0);
  if (output) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  }
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  Measure m;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (output) {
    close(pipeFds[1]);
    char buffer[4096];
    ssize_t n;
    while (spawned == 0 && (n = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
      output->append(buffer, std::size_t(n));
    }
    close(pipeFds[0]);
  }
  if (spawned != 0) return m;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakKiB = usage.ru_maxrss;
  m.cpuSeconds = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6 +
                 double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6;
  m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return m;
}

std::string loadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// zlib alone over every picture's RGB565 rows: the floor. On one thread, and
// on `threads` threads taking every threads-th picture: what the machine
// gives to parallel work at the moment (other processes take cores too).
void zlibFloor(const fs::path& project, int runs, int threads, double& single, double& parallel,
               std::size_t& pictures, std::size_t& bytes) {
  std::vector<QImage> rows;
  for (const auto& e : fs::directory_iterator(project)) {
    const std::string ext = e.path().extension().string();
    if (ext != ".bmp" && ext != ".jpg") continue;
    QImage img(QString::fromStdString(e.path().string()));
    if (!img.isNull()) rows.push_back(img.convertToFormat(QImage::Format_RGB16));
  }
  pictures = rows.size();
  bytes = 0;
  for (const auto& r : rows) bytes += static_cast<std::size_t>(r.sizeInBytes());
  auto compressEvery = [&](std::size_t first, std::size_t step) {
    std::vector<Bytef> out;
    for (std::size_t i = first; i < rows.size(); i += step) {
      const QImage& r = rows[i];
      const uLong len = static_cast<uLong>(r.sizeInBytes());
      uLongf outLen = static_cast<uLongf>(len * 1.1 + 100);
      out.resize(outLen);
      compress(out.data(), &outLen, r.constBits(), len);
    }
  };
  std::vector<double> times, parallelTimes;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    compressEvery(0, 1);
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
      workers.emplace_back(compressEvery, std::size_t(t), std::size_t(threads));
    }
    for (auto& w : workers) w.join();
    parallelTimes.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  single = median(times);
  parallel = median(parallelTimes);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const fs::path binDir = QCoreApplication::applicationDirPath().toStdString();
  fs::path project = fs::current_path() / "bench" / "work" / "project";
  fs::path work = fs::current_path() / "bench" / "work" / "out";
  int runs = 5;
  int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  bool floorOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--floor-only") {
      floorOnly = true;
      continue;
    }
    if (i + 1 >= argc) break;
    if (a == "--project") project = argv[++i];
    else if (a == "--work") work = argv[++i];
    else if (a == "--runs") runs = std::max(1, std::atoi(argv[++i]));
    else if (a == "--jobs") cores = std::max(1, std::atoi(argv[++i]));
  }
  if (floorOnly) {
    std::size_t pictures = 0, rawBytes = 0;
    double single = 0, parallel = 0;
    zlibFloor(project, runs, cores, single, parallel, pictures, rawBytes);
    std::printf("%.6f %.6f %zu %zu\n", single, parallel, pictures, rawBytes);
    return 0;
  }
  if (!fs::exists(project / "config.txt")) {
    const Measure g = runProcess({(binDir / "tessel-make-sample").string(), project.string(), "--large"});
    if (g.status != 0) {
      std::fprintf(stderr, "cannot generate the project in %s\n", project.string().c_str());
      return 1;
    }
  }
  const std::string cli = (binDir / "tessel-cli").string();

  std::printf("load average before: %s\n", loadAverage().c_str());
  std::string floorText;
  const Measure f = runProcess({(binDir / "tessel-bench").string(), "--floor-only", "--project",
                                project.string(), "--runs", std::to_string(runs), "--jobs",
                                std::to_string(cores)},
                               &floorText);
  double floor = 0, parallelFloor = 0;
  std::size_t pictures = 0, rawBytes = 0;
  if (f.status != 0 ||
      std::sscanf(floorText.c_str(), "%lf %lf %zu %zu", &floor, &parallelFloor, &pictures,
                  &rawBytes) != 4 ||
      floor <= 0) {
    std::fprintf(stderr, "cannot measure the zlib floor\n");
    return 1;
  }
  std::printf("project: %s (%zu pictures, %.1f MB of RGB565 rows)\n", project.string().c_str(),
              pictures, rawBytes / 1e6);
  std::printf("zlib floor (compress alone, one thread): %.3f s\n", floor);
  std::printf("zlib alone on %d threads: %.3f s (speed-up %.2f: what the machine gives now)\n\n",
              cores, parallelFloor, floor / parallelFloor);

  struct Case {
    const char* name;
    std::vector<std::string> extra;
  };
  const std::vector<Case> cases = {{"zbmp", {"--format", "zbmp"}},
                                   {"jpeg", {"--format", "jpeg"}},
                                   {"pack", {"--format", "zbmp", "--pack"}}};
  std::vector<int> jobList = {1};
  if (cores > 1) jobList.push_back(cores);

  std::printf(
      "| case | jobs | median wall (s) | median CPU (s) | peak memory (MB) | vs zlib floor | "
      "speed-up |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  int failures = 0;
  for (const Case& c : cases) {
    double single = 0;
    for (int jobs : jobList) {
      std::vector<double> times, cpu;
      long peak = 0;
      for (int r = 0; r < runs; ++r) {
        std::vector<std::string> args = {cli, "convert", project.string(), "-o", work.string(),
                                         "-y", "-q", "-j", std::to_string(jobs)};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Measure m = runProcess(args);
        if (m.status != 0) {
          std::fprintf(stderr, "%s -j %d: tessel-cli exited with %d\n", c.name, jobs, m.status);
          ++failures;
        }
        times.push_back(m.seconds);
        cpu.push_back(m.cpuSeconds);
        peak = std::max(peak, m.peakKiB);
      }
      const double t = median(times);
      if (jobs == 1) single = t;
      std::printf("| %s | %d | %.3f | %.3f | %.0f | %.2f | %.2f |\n", c.name, jobs, t,
                  median(cpu), peak / 1024.0, t / floor, single / t);
      std::fflush(stdout);
    }
  }
  std::printf("\nload average after: %s\n", loadAverage().c_str());
  return failures ? 1 : 0;
}
