// Frames per second of `Trellic --render` on the example demo at 640 x 480, 30
// frames a second, the whole demo to PNG files, as a demo maker runs it: by
// the wall clock, best of a few runs, against the target of 30 frames per
// second. Also the same render at zlib level 0 (the drawing's share) and with
// a slow level (what encoding costs). Copies the example into a temporary
// folder; needs no display.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const double kTargetFps = 30;
const int kRuns = 3;

std::string gDir;

// Seconds of the best run, or a negative number when the render failed.
double BestRender(const std::string& options) {
    double best = -1;
    for (int run = 0; run < kRuns; run++) {
        std::string cmd = "cd '" + gDir + "' && rm -rf out && env -u DISPLAY SDL_AUDIODRIVER=dummy '" TRELLIC_BIN_DIR
                          "/Trellic' --render Fenk.xml --out out --size 640x480 " +
                          options + " 2>/dev/null";
        auto start = std::chrono::steady_clock::now();
        int status = system(cmd.c_str());
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            fprintf(stderr, "bench_render_speed: the render failed: %s\n", cmd.c_str());
            return -1;
        }
        if (best < 0 || seconds < best) best = seconds;
    }
    return best;
}

} // namespace

int main() {
    char tmpl[] = "/tmp/trellic-bench-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    gDir = tmpl;
    std::string copy = "cp -r '" TRELLIC_SOURCE_DIR "/examples/.' '" + gDir + "'";
    if (system(copy.c_str()) != 0) return 1;

    const int frames = 480; // 16 s at 30 frames per second
    struct Case {
        const char* name;
        const char* options;
        bool target;
    } cases[] = {
        {"PNG, default level (1)", "", true},
        {"PNG, level 0 (stored)", "--png-level 0", false},
        {"PNG, level 6", "--png-level 6", false},
    };
    printf("%-28s %10s %12s %10s %8s\n", "render of the example", "seconds", "frames/s", "target", "ratio");
    int code = 0;
    for (const Case& c : cases) {
        double seconds = BestRender(c.options);
        if (seconds <= 0) {
            code = 1;
            continue;
        }
        double fps = frames / seconds;
        if (c.target)
            printf("%-28s %10.2f %12.1f %10.0f %8.2f  (frames/s over the target; at least 1 meets it)\n", c.name,
                   seconds, fps, kTargetFps, fps / kTargetFps);
        else
            printf("%-28s %10.2f %12.1f\n", c.name, seconds, fps);
    }
    std::string clean = "rm -rf '" + gDir + "'";
    if (system(clean.c_str()) != 0) perror("rm");
    return code;
}
