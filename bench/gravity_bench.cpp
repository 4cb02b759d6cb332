// gravity-bench: how fast the gravity step runs, without a display.
//
// Steps the store that BuildParticleStore makes for a 1920 x 1080 desktop and
// compares the whole-frame step with the plain StepParticle loop and with the
// bound that the step's own rules set: a frame of N particles contains a
// chain of N(N-1)/2 dependent fused multiply-adds (see
// simulation/step_particles_kernel.h), so it cannot take less than that many
// times the latency of one, which is measured here in the same run.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "simulation/particles.h"
#include "simulation/step_isa.h"

#ifndef GRAVITY_BENCH_FLAGS
#define GRAVITY_BENCH_FLAGS "unknown"
#endif

namespace {

using namespace simulation;
using Clock = std::chrono::steady_clock;

constexpr const char* kUsage =
    "usage: gravity-bench [--json] [--isa NAME] [N ...]\n"
    "\n"
    "Times one frame of the gravity step on the initial particle store of a\n"
    "1920 x 1080 desktop, for each N (default: 1000 2000 4000 7500; each an\n"
    "integer from 2 to 7500). Needs no display and no GL.\n"
    "\n"
    "For each N it reports:\n"
    "  frame_ms           ms per frame of StepParticles\n"
    "  reference_ms       ms per frame of the StepParticle loop\n"
    "  bound_ms           N(N-1)/2 x the latency of one dependent fmaf: the\n"
    "                     least time the frame's chain of roundings can take\n"
    "  ratio_to_bound     frame_ms / bound_ms (and reference_ms / bound_ms)\n"
    "  pair_visits_per_s  N(N-1) / frame time\n"
    "Each time is the median of several frames after a warm-up frame; the\n"
    "initial store is restored before every frame, so each frame does the\n"
    "same work. The fmaf latency is measured in the same run, before and\n"
    "after the frames (the best figure counts), on the FMA instruction of the\n"
    "instruction set in use. Finally it reports the count at which one\n"
    "StepParticles frame takes 40 ms, what the load control would settle at\n"
    "if drawing were free (capped at 7500).\n"
    "\n"
    "  --json      write one JSON object instead of text, with the fields cpu,\n"
    "              compiler, flags, isa, fmaf_latency_ns, count_at_40ms and\n"
    "              results: a list of {n, frame_ms, reference_ms, bound_ms,\n"
    "              ratio_to_bound, reference_ratio_to_bound,\n"
    "              pair_visits_per_s, speedup}\n"
    "  --isa NAME  use the instruction-set path NAME (scalar, avx2, avx512)\n"
    "              instead of the widest one this processor supports\n"
    "  --help      print this and exit\n"
    "\n"
    "A bad argument gets a one-line error and exit status 2.\n";

constexpr int kFrames = 9;           // measured StepParticles frames per N
constexpr int kReferenceFrames = 3;  // measured StepParticle-loop frames per N
constexpr int kSearchFrames = 5;     // frames per count tried for the 40 ms count
constexpr double kFrameBudgetMs = 40;

struct Store {
  std::vector<float> posX, posY, velX, velY;
};

Store Save() {
  return {std::vector<float>(posX, posX + maxParticles), std::vector<float>(posY, posY + maxParticles),
          std::vector<float>(velX, velX + maxParticles), std::vector<float>(velY, velY + maxParticles)};
}

void Restore(const Store& s) {
  std::copy(s.posX.begin(), s.posX.end(), posX);
  std::copy(s.posY.begin(), s.posY.end(), posY);
  std::copy(s.velX.begin(), s.velX.end(), velX);
  std::copy(s.velY.begin(), s.velY.end(), velY);
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t h = v.size() / 2;
  return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

// Median ms of `frames` frames of `step` after one warm-up, each from the
// initial store.
template <class Step>
double TimeFrames(const Store& initial, int frames, Step step) {
  std::vector<double> ms;
  for (int f = 0; f <= frames; ++f) {
    Restore(initial);
    const auto t0 = Clock::now();
    step();
    const auto t1 = Clock::now();
    if (f > 0) ms.push_back(Ms(t1 - t0));
  }
  Restore(initial);
  return Median(ms);
}

double StepParticlesMs(const Store& initial, std::int32_t n, int frames) {
  return TimeFrames(initial, frames, [n] { StepParticles(n); });
}

double ReferenceMs(const Store& initial, std::int32_t n, int frames) {
  return TimeFrames(initial, frames, [n] {
    for (std::int32_t i = 0; i < n; ++i) StepParticle(i, n);
  });
}

// Latency of one dependent fmaf, in ns: the best of a few runs of two
// side-by-side chains, as in the step itself. Interruptions and slower clocks
// only ever add time, so the best run is the hardware's figure.
double FmafLatencyNs() {
  volatile float a = 1e-3f;
  volatile float b = 1e-3f;
  constexpr std::int64_t kSteps = std::int64_t{1} << 24;
  double best = 1e300;
  for (int r = 0; r < 5; ++r) {
    float x = 1;
    float y = 2;
    const auto t0 = Clock::now();
    RunFmafChains(kSteps, a, b, &x, &y);
    const auto t1 = Clock::now();
    volatile float sink = x + y;
    (void)sink;
    best = std::min(best, Ms(t1 - t0) * 1e6 / static_cast<double>(kSteps));
  }
  return best;
}

// Largest count up to maxParticles whose frame takes at most 40 ms; the
// frame time grows with the count, so a bisection finds it.
std::int32_t CountAt40Ms(const Store& initial) {
  if (StepParticlesMs(initial, maxParticles, kSearchFrames) <= kFrameBudgetMs) return maxParticles;
  std::int32_t lo = 2;  // assumed to fit
  std::int32_t hi = maxParticles;
  while (hi - lo > 1) {
    const std::int32_t mid = lo + (hi - lo) / 2;
    if (StepParticlesMs(initial, mid, kSearchFrames) <= kFrameBudgetMs) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return lo;
}

std::string CpuName() {
#if defined(__x86_64__) || defined(__i386__)
  unsigned int regs[12];
  unsigned int top = __get_cpuid_max(0x80000000u, nullptr);
  if (top >= 0x80000004u) {
    for (unsigned int k = 0; k < 3; ++k) {
      __get_cpuid(0x80000002u + k, &regs[4 * k], &regs[4 * k + 1], &regs[4 * k + 2], &regs[4 * k + 3]);
    }
    char brand[49];
    std::memcpy(brand, regs, 48);
    brand[48] = '\0';
    std::string s(brand);
    const auto first = s.find_first_not_of(' ');
    const auto last = s.find_last_not_of(' ');
    if (first != std::string::npos) return s.substr(first, last - first + 1);
  }
#endif
  return "unknown";
}

std::string CompilerName() {
#if defined(__clang__)
  return std::string("Clang ") + __clang_version__;
#elif defined(__GNUC__)
  return std::string("GCC ") + __VERSION__;
#else
  return "unknown";
#endif
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

struct Result {
  std::int32_t n;
  double frameMs, referenceMs, boundMs;
};

[[noreturn]] void BadArgument(const std::string& arg, const char* why) {
  std::fprintf(stderr, "gravity-bench: bad argument '%s': %s (try --help)\n", arg.c_str(), why);
  std::exit(2);
}

bool ParseIsa(const std::string& name, StepIsa* isa) {
  for (StepIsa candidate : {StepIsa::kScalar, StepIsa::kAvx2, StepIsa::kAvx512}) {
    if (name == StepIsaName(candidate)) {
      *isa = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  bool json = false;
  std::vector<std::int32_t> counts;
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--json") {
      json = true;
    } else if (arg == "--isa" || arg.rfind("--isa=", 0) == 0) {
      std::string name;
      if (arg == "--isa") {
        if (a + 1 >= argc) BadArgument(arg, "needs an instruction-set name");
        name = argv[++a];
      } else {
        name = arg.substr(6);
      }
      StepIsa isa;
      if (!ParseIsa(name, &isa)) BadArgument(name, "not one of scalar, avx2, avx512");
      if (!SetStepIsa(isa)) BadArgument(name, "not available on this processor or in this build");
    } else if (arg.rfind("--", 0) == 0) {
      BadArgument(arg, "unknown option");
    } else {
      char* end = nullptr;
      errno = 0;
      const long n = std::strtol(arg.c_str(), &end, 10);
      if (arg.empty() || *end != '\0' || errno != 0 || n < 2 || n > maxParticles) {
        BadArgument(arg, "N must be an integer from 2 to 7500");
      }
      counts.push_back(static_cast<std::int32_t>(n));
    }
  }
  if (counts.empty()) counts = {1000, 2000, 4000, 7500};

  screenWidth = 1920;
  screenHeight = 1080;
  centreX = screenWidth / 2;
  centreY = screenHeight / 2;
  BuildParticleStore();
  const Store initial = Save();

  // Measured before and after the frames, so that a change of clock speed
  // during the run cannot make the bound look longer than it is.
  double fmafNs = FmafLatencyNs();
  std::vector<Result> results;
  for (std::int32_t n : counts) {
    Result r;
    r.n = n;
    r.frameMs = StepParticlesMs(initial, n, kFrames);
    r.referenceMs = ReferenceMs(initial, n, kReferenceFrames);
    results.push_back(r);
  }
  const std::int32_t count40 = CountAt40Ms(initial);
  fmafNs = std::min(fmafNs, FmafLatencyNs());
  for (Result& r : results) r.boundMs = static_cast<double>(r.n) * (r.n - 1) / 2 * fmafNs * 1e-6;

  const std::string isa = StepIsaName(ActiveStepIsa());
  if (json) {
    std::printf("{\"cpu\": %s, \"compiler\": %s, \"flags\": %s, \"isa\": %s, ", JsonString(CpuName()).c_str(),
                JsonString(CompilerName()).c_str(), JsonString(GRAVITY_BENCH_FLAGS).c_str(),
                JsonString(isa).c_str());
    std::printf("\"fmaf_latency_ns\": %.4f, \"count_at_40ms\": %d, \"frames\": %d, \"reference_frames\": %d, ",
                fmafNs, count40, kFrames, kReferenceFrames);
    std::printf("\"results\": [");
    for (std::size_t k = 0; k < results.size(); ++k) {
      const Result& r = results[k];
      const double pairs = static_cast<double>(r.n) * (r.n - 1);
      std::printf(
          "%s{\"n\": %d, \"frame_ms\": %.4f, \"reference_ms\": %.4f, \"bound_ms\": %.4f, "
          "\"ratio_to_bound\": %.4f, \"reference_ratio_to_bound\": %.4f, \"pair_visits_per_s\": %.4e, "
          "\"speedup\": %.3f}",
          k ? ", " : "", r.n, r.frameMs, r.referenceMs, r.boundMs, r.frameMs / r.boundMs, r.referenceMs / r.boundMs,
          pairs / (r.frameMs * 1e-3), r.referenceMs / r.frameMs);
    }
    std::printf("]}\n");
    return 0;
  }

  std::printf("gravity-bench: one frame of the gravity step, initial store of a 1920 x 1080 desktop\n");
  std::printf("cpu       %s\n", CpuName().c_str());
  std::printf("compiler  %s\n", CompilerName().c_str());
  std::printf("flags     %s\n", GRAVITY_BENCH_FLAGS);
  std::printf("isa       %s\n", isa.c_str());
  std::printf("fmaf      %.4f ns per dependent fused multiply-add\n", fmafNs);
  std::printf("times are medians of %d frames (StepParticles) and %d frames (StepParticle loop)\n\n", kFrames,
              kReferenceFrames);
  std::printf("%6s %10s %10s %10s %8s %8s %14s %8s\n", "n", "frame ms", "ref ms", "bound ms", "ratio", "ref rat.",
              "pair visits/s", "speed-up");
  for (const Result& r : results) {
    const double pairs = static_cast<double>(r.n) * (r.n - 1);
    std::printf("%6d %10.3f %10.3f %10.3f %8.3f %8.3f %14.4e %7.2fx\n", r.n, r.frameMs, r.referenceMs, r.boundMs,
                r.frameMs / r.boundMs, r.referenceMs / r.boundMs, pairs / (r.frameMs * 1e-3),
                r.referenceMs / r.frameMs);
  }
  std::printf("\ncount at 40 ms per frame: %d%s\n", count40, count40 == maxParticles ? " (the 7500 cap)" : "");
  return 0;
}
