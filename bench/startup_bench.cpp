// Start-up benchmark: runs the program and the yardstick one after the other, each until its
// first paint (TILAVA_EXIT_AFTER_PAINT), and reports the median wall time of the whole process
// and the median peak resident memory of each.
//
// Usage: tilava_startup_bench PROGRAM YARDSTICK [RUNS]
// Needs a display (DISPLAY); bench/startup.sh starts Xvfb when there is none. Every run of the
// program gets fresh, private XDG folders with a day file for today, so a user's own data and a
// running copy are never touched. TILAVA_BENCH_SETTINGS=FILE gives every run FILE as its
// settings file, TILAVA_BENCH_DAY_FILE=FILE as today's day file.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ScrollRun {
    double ms = 0;
    long rssKb = 0;
    bool ok = false;
};

// Private folders for one run: runtime (single-instance lock), data (notes), config (settings).
struct Priecinky {
    fs::path koren;
    explicit Priecinky(int number) {
        koren = fs::temp_directory_path() /
                ("tilava-bench-" + std::to_string(::getpid()) + "-" + std::to_string(number));
        fs::create_directories(koren / "run");
        fs::permissions(koren / "run", fs::perms::owner_all);
        fs::create_directories(koren / "data" / "ZelmTilava");
        fs::create_directories(koren / "config");
        // Today's reminders, as a user has them: a birthday and a note.
        const std::time_t timeNow = std::time(nullptr);
        std::tm today{};
        ::localtime_r(&timeNow, &today);
        char meno[32];
        std::snprintf(meno, sizeof meno, "%02d%02d.txt", today.tm_mon + 1, today.tm_mday);
        if (const char* date = std::getenv("TILAVA_BENCH_DAY_FILE"))
            fs::copy_file(date, koren / "data" / "ZelmTilava" / meno);
        else
            std::ofstream(koren / "data" / "ZelmTilava" / meno, std::ios::binary)
                << "!\r\n-1\r\n2\r\n1980\r\nJano\r\n-1\r\n1\r\n2025\r\nZubar o 10:00\r\n";
        // A settings file to start with (bench/startup_cases.sh), else none: a first start.
        if (const char* settings = std::getenv("TILAVA_BENCH_SETTINGS")) {
            fs::create_directories(koren / "config" / "ZELMtilava");
            fs::copy_file(settings, koren / "config" / "ZELMtilava" / "settings.ini");
        }
    }
    ~Priecinky() {
        std::error_code ec;
        fs::remove_all(koren, ec);
    }
};

ScrollRun Run(const char* program, int number) {
    Priecinky p(number);
    const std::string run = "XDG_RUNTIME_DIR=" + (p.koren / "run").string();
    const std::string data = "XDG_DATA_HOME=" + (p.koren / "data").string();
    const std::string config = "XDG_CONFIG_HOME=" + (p.koren / "config").string();

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::putenv(const_cast<char*>(run.c_str()));
        ::putenv(const_cast<char*>(data.c_str()));
        ::putenv(const_cast<char*>(config.c_str()));
        ::setenv("TILAVA_EXIT_AFTER_PAINT", "1", 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::execl(program, program, static_cast<char*>(nullptr));
        std::perror(program);
        ::_exit(127);
    }
    ScrollRun b;
    int state = 0;
    rusage spotreba{};
    if (pid < 0 || ::wait4(pid, &state, 0, &spotreba) != pid)
        return b;
    b.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    b.rssKb = spotreba.ru_maxrss;
    b.ok = WIFEXITED(state) && WEXITSTATUS(state) == 0;
    return b;
}

template <typename T> T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM YARDSTICK [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "no DISPLAY: run bench/startup.sh, which starts Xvfb\n");
        return 2;
    }
    const char* programy[2] = {argv[1], argv[2]};
    std::vector<double> clockTime[2];
    std::vector<long> pamat[2];
    // One warm-up run each (caches, fonts), then the two alternate so drift hits both alike.
    for (const char* p : programy)
        Run(p, -1);
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 2; ++k) {
            const ScrollRun b = Run(programy[k], i * 2 + k);
            if (!b.ok) {
                std::fprintf(stderr, "%s did not end cleanly after its first paint\n", programy[k]);
                return 1;
            }
            clockTime[k].push_back(b.ms);
            pamat[k].push_back(b.rssKb);
        }
    }
    const double t[2] = {Median(clockTime[0]), Median(clockTime[1])};
    const double m[2] = {Median(pamat[0]) / 1024.0, Median(pamat[1]) / 1024.0};
    std::printf("Start until the first paint, median of %d runs each (DISPLAY=%s)\n", runs,
                std::getenv("DISPLAY"));
    std::printf("  tilava     %7.1f ms   peak RSS %6.1f MiB\n", t[0], m[0]);
    std::printf("  yardstick  %7.1f ms   peak RSS %6.1f MiB\n", t[1], m[1]);
    std::printf("  ratio: time %.2f (target <= 1.15), memory %.2f (target <= 1.15)\n", t[0] / t[1],
                m[0] / m[1]);
    return 0;
}
