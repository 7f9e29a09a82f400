// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The measuring end of bench/bench_clicksound.sh: what a click on a square
// sounds like on the sound server, timed on one clock (CLOCK_REALTIME, the
// clock of bash's EPOCHREALTIME). Not a benchmark itself, so not named bench_*.
//
//   soundprobe click X Y [PARK_X PARK_Y]
//       Moves the pointer onto X, Y, presses and releases the left button
//       there through the XTEST extension, and prints the time (ns) at which
//       the release went out to the X server: the moment the game's click
//       happens (squares act on release). Then moves the pointer to PARK_X,
//       PARK_Y, off the squares, so that no tooltip comes up over the next one.
//
//   soundprobe stamp RAW INDEX
//       Copies what arrives on its input (parec's raw recording of the null
//       sink's monitor) to RAW, and for every read appends to INDEX the
//       number of bytes received so far and the time it arrived (ns).
//
//   soundprobe analyse RAW INDEX CLICKS [RATE [SOUND...]]
//       RAW holds signed 16-bit mono samples at RATE (44100) per second,
//       INDEX their arrival times, CLICKS one click time (ns) a line. Prints
//       one line per click:
//           click N ok LATENCY_MS GAPS [CUT_MS]  the first sound after the click
//           click N none - - [-]                 nothing sounded after it
//           click N busy - - [-]                 something still sounded as it came
//       LATENCY_MS runs from the click to the server mixing the sound's first
//       audible sample (the arrival of the read that holds it); GAPS counts the silences of 3 ms or more inside that
//       sound (before the next click), which are what a stream running dry
//       sounds like: the game's own sounds have none longer than 1 ms.
//       SOUND files (raw like RAW, at RATE) are the sounds a click may play:
//       CUT_MS is how much of the sound's opening was not heard, found by
//       matching what was heard, and the silence just before it, against
//       the start of each of them (normalised cross-correlation over
//       kMatchBeforeMs + kMatchMs; 0.0 for a sound heard from its first
//       sample); "-" when none of them matches.
//
// A server mixes a cycle at a time, as much as a cycle or two ahead of
// playing it, and the recorder (asking for fragments of about one cycle)
// gets each cycle as it is mixed. So the recording's own arrival times are
// the clock: a sample was mixed no later than the read that holds it
// arrived, and what arrived before the click was mixed before it, so the
// click's sound lies in what arrived after it. A read that comes late (the
// recorder waited for the CPU) makes a sound count as later, never earlier.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kSilence = 128;            // below this (of 32767) a sample counts as silent: a step of 8-bit audio
constexpr double kGapMs = 3.0;           // a silence this long inside a sound is a gap
constexpr double kQuietBeforeMs = 20.0;  // the monitor must be silent this long before a click to time it
constexpr double kLongestWaitS = 1.5;    // a sound starting later than this after its click is not its sound
// The click's sound is looked for from this much before the first sample
// that arrived after the click: what arrived just before it must be silent
// (the sound before it over), and a sound starting there is still found.
constexpr double kEarlyMs = 5.0;
constexpr double kMatchMs = 25.0;        // what is heard from its first audible sample, matched against the sounds
constexpr double kMatchBeforeMs = 10.0;  // and the silence just before it
constexpr double kLongestCutMs = 250.0;  // how much of an opening may be found missing
constexpr double kLeastMatch = 0.8;      // normalised correlation a match needs
int64_t nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void sleepMs(int ms)
{
    timespec ts{ms / 1000, long(ms % 1000) * 1000000};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

int usage()
{
    std::fprintf(stderr, "usage: soundprobe click X Y [PARK_X PARK_Y] | stamp RAW INDEX | "
                         "analyse RAW INDEX CLICKS [RATE [SOUND...]]\n");
    return 2;
}

// --- click --------------------------------------------------------------------

int click(int argc, char **argv)
{
    if (argc != 4 && argc != 6)
        return usage();
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    const bool park = argc == 6;

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "soundprobe: cannot open the X display\n");
        return 1;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "soundprobe: the X server has no XTEST extension\n");
        return 1;
    }

    constexpr unsigned long now = CurrentTime; // no delay
    constexpr Bool press = True, release = False;
    XTestFakeMotionEvent(display, -1, x, y, now);
    XSync(display, False);
    sleepMs(30); // the square sees the pointer arrive, as under a hand
    XTestFakeButtonEvent(display, 1, press, now);
    XSync(display, False);
    sleepMs(40);
    XTestFakeButtonEvent(display, 1, release, now);
    XFlush(display);
    const int64_t released = nowNs();
    XSync(display, False);
    if (park) {
        XTestFakeMotionEvent(display, -1, std::atoi(argv[4]), std::atoi(argv[5]), now);
        XSync(display, False);
    }
    XCloseDisplay(display);
    std::printf("%lld\n", static_cast<long long>(released));
    return 0;
}

// --- stamp --------------------------------------------------------------------

int stamp(int argc, char **argv)
{
    if (argc != 4)
        return usage();
    FILE *raw = std::fopen(argv[2], "wb");
    FILE *index = std::fopen(argv[3], "w");
    if (!raw || !index) {
        std::fprintf(stderr, "soundprobe: cannot write %s or %s\n", argv[2], argv[3]);
        return 1;
    }
    std::vector<char> buffer(1 << 16);
    long long total = 0;
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        const int64_t arrived = nowNs();
        total += got;
        std::fwrite(buffer.data(), 1, size_t(got), raw);
        std::fprintf(index, "%lld %lld\n", total, static_cast<long long>(arrived));
    }
    const bool ok = std::fclose(raw) == 0 && std::fclose(index) == 0;
    return ok ? 0 : 1;
}

// --- analyse ------------------------------------------------------------------

struct Read
{
    int64_t endSample; // samples received with this read, counted from the start
    int64_t arrivedNs;
};

struct Recording
{
    std::vector<int16_t> samples;
    std::vector<Read> reads;
    double rate = 44100;

    // The samples that had arrived by `atNs`; -1 when nothing arrived
    // before it or nothing after it (it lies outside the recording).
    int64_t arrivedBy(int64_t atNs) const
    {
        if (reads.front().arrivedNs > atNs || reads.back().arrivedNs <= atNs)
            return -1;
        const auto r = std::upper_bound(reads.cbegin(), reads.cend(), atNs,
                                        [](int64_t at, const Read &read) { return at < read.arrivedNs; });
        return std::prev(r)->endSample;
    }

    bool silent(int64_t i) const { return std::abs(int(samples[size_t(i)])) < kSilence; }

    // When the read that holds sample i arrived.
    int64_t arrivalOf(int64_t i) const
    {
        const auto r = std::upper_bound(reads.cbegin(), reads.cend(), i,
                                        [](int64_t at, const Read &read) { return at < read.endSample; });
        return r == reads.cend() ? reads.back().arrivedNs : r->arrivedNs;
    }
};

bool readSamples(const char *rawPath, std::vector<int16_t> &samples)
{
    FILE *raw = std::fopen(rawPath, "rb");
    if (!raw) {
        std::fprintf(stderr, "soundprobe: cannot read %s\n", rawPath);
        return false;
    }
    int16_t chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, sizeof chunk[0], 4096, raw)) > 0)
        samples.insert(samples.end(), chunk, chunk + got);
    std::fclose(raw);
    return true;
}

bool readRecording(const char *rawPath, const char *indexPath, Recording &rec)
{
    if (!readSamples(rawPath, rec.samples))
        return false;

    FILE *index = std::fopen(indexPath, "r");
    if (!index) {
        std::fprintf(stderr, "soundprobe: cannot read %s\n", indexPath);
        return false;
    }
    long long bytes = 0, ns = 0;
    while (std::fscanf(index, "%lld %lld", &bytes, &ns) == 2)
        rec.reads.push_back({bytes / 2, ns});
    std::fclose(index);
    return true;
}

// The first sample from `audible` on that reaches a tenth of the loudest of
// the `length` after it: where a sound clearly starts, whatever its level.
// (The first audible sample is no mark to align on: a faint first step of an
// 8-bit sound may fall below kSilence once a server has resampled it.)
int64_t clearOnset(const std::vector<int16_t> &samples, int64_t audible, int64_t length)
{
    int loudest = 0;
    for (int64_t i = audible; i < audible + length; ++i)
        loudest = std::max(loudest, std::abs(int(samples[size_t(i)])));
    int64_t at = audible;
    while (std::abs(int(samples[size_t(at)])) * 10 < loudest)
        ++at;
    return at;
}

// How much of one of `sounds`' opening is missing from what was heard from
// its first audible sample `audible` on (ms), or a negative number when
// none of them matches it. Both are aligned on where they clearly start;
// the match takes in kMatchBeforeMs before that as well, which the sound at
// its true place has too: a sound whose opening repeats itself (a steady
// tone) matches its later periods as well as its start without it.
double missingOpeningMs(const Recording &rec, int64_t audible, const std::vector<std::vector<int16_t>> &sounds)
{
    const auto before = int64_t(kMatchBeforeMs * rec.rate / 1000);
    const auto length = int64_t(kMatchMs * rec.rate / 1000);
    if (audible + length > int64_t(rec.samples.size()))
        return -1;
    const int64_t onset = clearOnset(rec.samples, audible, length);
    if (onset - before < 0 || onset + length > int64_t(rec.samples.size()))
        return -1;
    double heardEnergy = 0;
    for (int64_t i = -before; i < length; ++i)
        heardEnergy += double(rec.samples[size_t(onset + i)]) * rec.samples[size_t(onset + i)];
    double best = 0, bestCutMs = -1;
    for (const std::vector<int16_t> &sound : sounds) {
        // The sound's own onset is where a whole sound's onset lies.
        int64_t first = 0;
        while (first < int64_t(sound.size()) && std::abs(int(sound[size_t(first)])) < kSilence)
            ++first;
        if (first + length > int64_t(sound.size()))
            continue;
        first = clearOnset(sound, first, length);
        const int64_t last = std::min<int64_t>(int64_t(sound.size()) - length, first + int64_t(kLongestCutMs * rec.rate / 1000));
        for (int64_t at = first; at <= last; ++at) {
            double product = 0, energy = 0;
            for (int64_t i = -before; i < length; ++i) {
                const double v = at + i < 0 ? 0.0 : double(sound[size_t(at + i)]);
                product += v * rec.samples[size_t(onset + i)];
                energy += v * v;
            }
            const double match = energy > 0 && heardEnergy > 0 ? product / std::sqrt(energy * heardEnergy) : 0;
            if (match > best) {
                best = match;
                bestCutMs = double(at - first) * 1000 / rec.rate;
            }
        }
    }
    return best >= kLeastMatch ? bestCutMs : -1;
}

int analyse(int argc, char **argv)
{
    if (argc < 5)
        return usage();
    Recording rec;
    if (argc >= 6)
        rec.rate = std::atof(argv[5]);
    if (rec.rate <= 0 || !readRecording(argv[2], argv[3], rec))
        return 1;
    std::vector<std::vector<int16_t>> sounds(size_t(std::max(0, argc - 6)));
    for (int n = 6; n < argc; ++n)
        if (!readSamples(argv[n], sounds[size_t(n - 6)]))
            return 1;
    const char *noCut = sounds.empty() ? "" : " -";
    if (rec.samples.empty() || rec.reads.empty()) {
        std::fprintf(stderr, "soundprobe: the recording is empty\n");
        return 1;
    }

    std::vector<int64_t> clicks;
    FILE *file = std::fopen(argv[4], "r");
    if (!file) {
        std::fprintf(stderr, "soundprobe: cannot read %s\n", argv[4]);
        return 1;
    }
    long long t;
    while (std::fscanf(file, "%lld", &t) == 1)
        clicks.push_back(t);
    std::fclose(file);
    std::sort(clicks.begin(), clicks.end());

    const auto total = int64_t(rec.samples.size());
    const auto quietBefore = int64_t(kQuietBeforeMs * rec.rate / 1000);
    const auto gapSamples = int64_t(std::ceil(kGapMs * rec.rate / 1000));
    const auto longestWait = int64_t(kLongestWaitS * rec.rate);
    const auto early = int64_t(std::ceil(kEarlyMs * rec.rate / 1000));

    // Where each click falls in the recording: the first sample that
    // arrived after it, less a little.
    std::vector<int64_t> at(clicks.size());
    for (size_t k = 0; k < clicks.size(); ++k) {
        const int64_t arrived = rec.arrivedBy(clicks[k]);
        if (arrived < 0) {
            std::fprintf(stderr, "soundprobe: click %zu lies outside the recording\n", k + 1);
            return 1;
        }
        at[k] = arrived - early;
    }

    // The last click's sound is followed as far as the closest two clicks
    // lie apart: whatever comes later (another pass) is not its sound.
    int64_t lastSpan = longestWait;
    for (size_t k = 1; k < clicks.size(); ++k)
        lastSpan = std::min(lastSpan, at[k] - at[k - 1]);

    for (size_t k = 0; k < clicks.size(); ++k) {
        const int64_t from = at[k];
        const int64_t until = std::min(total, k + 1 < clicks.size() ? at[k + 1] : from + lastSpan);
        if (from - quietBefore < 0 || from >= total) {
            std::fprintf(stderr, "soundprobe: click %zu lies outside the recording\n", k + 1);
            return 1;
        }
        bool quiet = true;
        for (int64_t i = from - quietBefore; i < from && quiet; ++i)
            quiet = rec.silent(i);
        if (!quiet) {
            std::printf("click %zu busy - -%s\n", k + 1, noCut);
            continue;
        }
        int64_t onset = from;
        while (onset < until && onset < from + longestWait && rec.silent(onset))
            ++onset;
        if (onset >= until || onset >= from + longestWait) {
            std::printf("click %zu none - -%s\n", k + 1, noCut);
            continue;
        }
        // Silences inside the sound: runs of silent samples with sound after them.
        int gaps = 0;
        int64_t run = 0;
        for (int64_t i = onset; i < until; ++i) {
            if (rec.silent(i)) {
                ++run;
            } else {
                if (run >= gapSamples)
                    ++gaps;
                run = 0;
            }
        }
        std::printf("click %zu ok %.3f %d", k + 1, double(rec.arrivalOf(onset) - clicks[k]) / 1e6, gaps);
        if (!sounds.empty()) {
            const double cut = missingOpeningMs(rec, onset, sounds);
            if (cut < 0)
                std::printf(" -");
            else
                std::printf(" %.1f", cut);
        }
        std::printf("\n");
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "click")
        return click(argc, argv);
    if (command == "stamp")
        return stamp(argc, argv);
    if (command == "analyse")
        return analyse(argc, argv);
    return usage();
}
