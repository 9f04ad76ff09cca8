// zintello_paintwatch: tells when the screen first shows its final picture.
//
// It grabs the root window every few milliseconds and notes the time of each
// grab whose pixels differ from the grab before. When told to stop (a line or
// the end of standard input), it grabs once more: that picture is the final
// one, and the answer is the time of the first grab that showed exactly it.
// Rows given with --ignore-rows (a panel with its clock and tray) are left out
// of the comparison. Times are CLOCK_MONOTONIC nanoseconds, the clock of
// Python's time.monotonic_ns(), so the caller can subtract its own start time.
//
// usage: zintello_paintwatch [--period-ms N] [--ignore-rows FIRST END] [--save-final FILE.ppm]
#include "ScreenGrabber.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::int64_t monotonicNs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Change
{
    std::int64_t timeNs;
    std::uint64_t fingerprint;
};

bool stopRequested(int timeoutMs)
{
    pollfd input{STDIN_FILENO, POLLIN, 0};
    return poll(&input, 1, timeoutMs) > 0;
}

} // namespace

int main(int argc, char **argv)
{
    int periodMs = 15;
    int ignoredFirstRow = 0;
    int ignoredEndRow = 0;
    std::string finalPicture;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--period-ms") && i + 1 < argc) {
            periodMs = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--ignore-rows") && i + 2 < argc) {
            ignoredFirstRow = std::atoi(argv[++i]);
            ignoredEndRow = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--save-final") && i + 1 < argc) {
            finalPicture = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--period-ms N] [--ignore-rows FIRST END] [--save-final FILE.ppm]\n", argv[0]);
            return 2;
        }
    }

    ScreenGrabber screen;
    if (!screen.isOpen()) {
        std::fprintf(stderr, "paintwatch: cannot grab the screen\n");
        return 1;
    }
    std::vector<Change> changes;
    changes.push_back({monotonicNs(), screen.fingerprint(ignoredFirstRow, ignoredEndRow)});
    std::printf("ready %lld\n", static_cast<long long>(changes.front().timeNs));
    std::fflush(stdout);

    long grabs = 1;
    while (!stopRequested(periodMs)) {
        const std::int64_t now = monotonicNs();
        screen.grab();
        ++grabs;
        const std::uint64_t fingerprint = screen.fingerprint(ignoredFirstRow, ignoredEndRow);
        if (fingerprint != changes.back().fingerprint)
            changes.push_back({now, fingerprint});
    }

    screen.grab();
    const std::uint64_t final = screen.fingerprint(ignoredFirstRow, ignoredEndRow);
    long long firstComplete = -1;
    for (size_t i = 1; i < changes.size(); ++i) {
        if (changes[i].fingerprint == final) {
            firstComplete = changes[i].timeNs;
            break;
        }
    }
    std::printf("first_complete_ns %lld last_change_ns %lld changes %zu grabs %ld unchanged %d\n",
                firstComplete, static_cast<long long>(changes.back().timeNs), changes.size() - 1, grabs,
                changes.front().fingerprint == final ? 1 : 0);
    if (!finalPicture.empty())
        ScreenGrabber::writePpm(finalPicture, screen.pixels(), screen.width(), screen.height());
    return 0;
}
