#include "tools/make_demo/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kestrel::demo::synth {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A float buffer that becomes a 16-bit wave at the end.
struct Buf {
  std::vector<double> s;
  explicit Buf(double seconds) : s(static_cast<size_t>(std::lround(seconds * kRate)), 0.0) {}
  size_t n() const { return s.size(); }
  Wave wave() const {
    Wave w;
    w.rate = kRate;
    w.samples.reserve(s.size());
    for (double v : s) w.samples.push_back(static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32000.0)));
    return w;
  }
};

class Noise {
 public:
  explicit Noise(uint32_t seed) : x_(seed) {}
  double next() {
    x_ = x_ * 1664525u + 1013904223u;
    return static_cast<double>(x_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  uint32_t x_;
};

// Adds a sine from t0 for len seconds with an attack/decay envelope.
void addTone(Buf& b, double t0, double len, double hz, double level, double decay = 0.0) {
  const size_t a = static_cast<size_t>(t0 * kRate), e = std::min(b.n(), static_cast<size_t>((t0 + len) * kRate));
  for (size_t i = a; i < e; ++i) {
    const double t = static_cast<double>(i - a) / kRate;
    double env = std::min(1.0, t / 0.005) * std::min(1.0, (len - t) / 0.01);
    if (decay > 0) env *= std::exp(-t / decay);
    b.s[i] += level * env * std::sin(2 * kPi * hz * t);
  }
}

// Adds low-passed noise with a given envelope function.
template <class Env>
void addNoise(Buf& b, uint32_t seed, double smooth, double level, Env env) {
  Noise r(seed);
  double y = 0;
  for (size_t i = 0; i < b.n(); ++i) {
    y += smooth * (r.next() - y);
    b.s[i] += level * env(static_cast<double>(i) / kRate) * y;
  }
}

// A loop whose end meets its start: cross-fades the last 0.1 s into the beginning (so a buffer
// of n + 0.1 s gives a loop of n s).
Wave loopable(Buf b) {
  const size_t f = static_cast<size_t>(0.1 * kRate);
  if (b.n() > 2 * f) {
    for (size_t i = 0; i < f; ++i) {
      const double k = static_cast<double>(i) / f;
      b.s[i] = b.s[i] * k + b.s[b.n() - f + i] * (1 - k);
    }
    b.s.resize(b.n() - f);
  }
  return b.wave();
}

}  // namespace

Wave tone(double hz, double seconds, double level) {
  Buf b(seconds);
  addTone(b, 0, seconds, hz, level);
  return b.wave();
}

Wave silence(double seconds) { return Buf(seconds).wave(); }

Wave padToWholeSeconds(Wave w, double minimum) {
  const double secs = std::max(minimum, std::ceil(w.seconds() - 1e-9));
  w.samples.resize(static_cast<size_t>(secs * w.rate), 0);
  return w;
}

Wave concat(const Wave& a, const Wave& b) {
  Wave w = a;
  w.samples.insert(w.samples.end(), b.samples.begin(), b.samples.end());
  return w;
}

Wave chime() {
  Buf b(1.0);
  addTone(b, 0.0, 0.6, 1318.5, 0.35, 0.25);
  addTone(b, 0.3, 0.7, 1046.5, 0.35, 0.3);
  return b.wave();
}

Wave departureMelody() {
  Buf b(5.0);
  const double notes[] = {659.3, 784.0, 880.0, 1046.5, 880.0, 784.0, 880.0, 659.3, 784.0, 880.0, 784.0, 1046.5};
  for (int i = 0; i < 12; ++i) {
    addTone(b, i * 0.38, 0.36, notes[i], 0.25, 0.3);
    addTone(b, i * 0.38, 0.36, notes[i] * 2, 0.06, 0.2);
  }
  return b.wave();
}

Wave openingTheme(double seconds) {
  // Rising chords over a held bass, fading out at the end of the movie.
  Buf b(seconds);
  const double roots[] = {261.6, 349.2, 392.0, 523.3};
  const double step = seconds / 4;
  for (int i = 0; i < 4; ++i) {
    const double r = roots[i];
    for (double f : {r, r * 1.25, r * 1.5}) addTone(b, i * step, step * 0.95, f, 0.12, 0.6);
    addTone(b, i * step, step, r / 2, 0.15, 0.2);
  }
  const size_t fade = std::min(b.n(), static_cast<size_t>(kRate / 2));
  for (size_t i = 0; i < fade; ++i) b.s[b.n() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
  return b.wave();
}

Wave atsBell() {
  Buf b(1.0);
  for (int i = 0; i < 16; ++i) addTone(b, i / 16.0, 1.0 / 16, 1800.0, 0.35, 0.03);
  return b.wave();
}

Wave atsAlarm() {
  Buf b(1.1);
  addTone(b, 0, 1.0, 880.0, 0.3);
  addTone(b, 0, 1.0, 1760.0, 0.1);
  return loopable(b);
}

Wave atsChime() {
  Buf b(1.2);
  addTone(b, 0.0, 0.8, 1568.0, 0.35, 0.3);
  addTone(b, 0.4, 0.8, 1318.5, 0.35, 0.3);
  return b.wave();
}

Wave atcDing() {
  Buf b(0.8);
  addTone(b, 0, 0.8, 2093.0, 0.35, 0.2);
  return b.wave();
}

Wave patternWarn() {
  Buf b(1.0);
  for (int i = 0; i < 3; ++i) addTone(b, i * 0.25, 0.12, 2400.0, 0.3);
  return b.wave();
}

Wave buzzer() {
  Buf b(0.5);
  for (size_t i = 0; i < b.n(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    b.s[i] = 0.25 * (std::fmod(t * 400.0, 1.0) < 0.5 ? 1.0 : -1.0);
  }
  return b.wave();
}

Wave electricHorn() {
  Buf b(1.2);
  addTone(b, 0.0, 1.1, 1174.7, 0.3);
  addTone(b, 0.0, 1.1, 1480.0, 0.2);
  addTone(b, 0.0, 1.1, 2349.3, 0.05);
  return b.wave();
}

Wave airHorn() {
  Buf b(1.5);
  for (int h = 1; h <= 6; ++h) addTone(b, 0.0, 1.45, 311.1 * h, 0.35 / h);
  addNoise(b, 7, 0.3, 0.05, [](double t) { return t < 1.45 ? 1.0 : 0.0; });
  return b.wave();
}

Wave airApply() {
  Buf b(0.8);
  addNoise(b, 11, 0.6, 0.5, [](double t) { return std::min(1.0, t / 0.02) * std::exp(-t / 0.25); });
  return b.wave();
}

Wave airRelease() {
  Buf b(1.2);
  addNoise(b, 13, 0.35, 0.45, [](double t) { return std::min(1.0, t / 0.05) * std::exp(-t / 0.45); });
  return b.wave();
}

Wave emergencyAir() {
  Buf b(2.0);
  addNoise(b, 17, 0.7, 0.7, [](double t) { return std::min(1.0, t / 0.01) * std::exp(-t / 0.8); });
  return b.wave();
}

Wave notchClick() {
  Buf b(0.15);
  addNoise(b, 19, 0.9, 0.6, [](double t) { return std::exp(-t / 0.01); });
  addTone(b, 0, 0.1, 180.0, 0.3, 0.02);
  return b.wave();
}

Wave notchOff() {
  Buf b(0.2);
  addNoise(b, 23, 0.8, 0.5, [](double t) { return std::exp(-t / 0.015); });
  addTone(b, 0, 0.15, 140.0, 0.3, 0.03);
  return b.wave();
}

Wave doorOpen() {
  Buf b(2.5);
  addNoise(b, 29, 0.5, 0.4, [](double t) { return t < 0.4 ? std::exp(-t / 0.15) : 0.0; });
  addNoise(b, 31, 0.05, 0.6, [](double t) { return t > 0.3 && t < 2.2 ? 0.6 : 0.0; });
  addTone(b, 2.15, 0.2, 90.0, 0.5, 0.05);
  return b.wave();
}

Wave doorClose() {
  Buf b(3.0);
  addTone(b, 0.0, 0.5, 1046.5, 0.2, 0.2);
  addTone(b, 0.5, 0.5, 1046.5, 0.2, 0.2);
  addNoise(b, 37, 0.05, 0.6, [](double t) { return t > 0.8 && t < 2.6 ? 0.6 : 0.0; });
  addTone(b, 2.6, 0.3, 70.0, 0.6, 0.06);
  return b.wave();
}

Wave compressorStart() {
  Buf b(1.0);
  for (size_t i = 0; i < b.n(); ++i) {
    const double t = static_cast<double>(i) / kRate, hz = 20 + 30 * t;
    b.s[i] = 0.4 * std::min(1.0, t / 0.5) * std::sin(2 * kPi * hz * t) * (0.6 + 0.4 * std::sin(2 * kPi * 2 * hz * t));
  }
  return b.wave();
}

Wave compressorRun() {
  Buf b(2.1);
  for (size_t i = 0; i < b.n(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    b.s[i] = 0.3 * std::sin(2 * kPi * 50 * t) * (0.7 + 0.3 * std::sin(2 * kPi * 100 * t));
  }
  addNoise(b, 41, 0.2, 0.1, [](double) { return 1.0; });
  return loopable(b);
}

Wave compressorEnd() {
  Buf b(1.5);
  for (size_t i = 0; i < b.n(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    b.s[i] = 0.3 * std::exp(-t / 0.4) * std::sin(2 * kPi * (50 - 20 * t) * t);
  }
  addNoise(b, 43, 0.6, 0.3, [](double t) { return t > 0.3 ? std::exp(-(t - 0.3) / 0.3) : 0.0; });
  return b.wave();
}

Wave ebRing() {
  Buf b(1.0);
  for (int i = 0; i < 10; ++i) addTone(b, i * 0.1, 0.08, 2637.0, 0.3);
  return b.wave();
}

Wave squeal() {
  Buf b(2.1);
  for (size_t i = 0; i < b.n(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    b.s[i] = 0.15 * std::sin(2 * kPi * (3200 * t + 15 * std::sin(2 * kPi * 3 * t)));
  }
  return loopable(b);
}

Wave switchClatter(bool fast) {
  const double gap = fast ? 0.12 : 0.35;
  Buf b(gap * 3 + 0.4);
  for (int k = 0; k < 4; ++k) {
    const double t0 = k * gap;
    addTone(b, t0, 0.2, 110.0, 0.4, 0.04);
    Buf n(0.1);
    addNoise(n, 47 + static_cast<uint32_t>(k), 0.7, 0.5, [](double t) { return std::exp(-t / 0.015); });
    for (size_t i = 0; i < n.n(); ++i) {
      const size_t j = static_cast<size_t>(t0 * kRate) + i;
      if (j < b.n()) b.s[j] += n.s[i];
    }
  }
  return b.wave();
}

Wave motorWhine(double baseHz, int harmonics) {
  Buf b(2.0);
  // Whole cycles of every harmonic in the loop so that it joins without a click.
  const double f0 = std::round(baseHz * 2.0) / 2.0;
  for (int h = 1; h <= harmonics; ++h) addTone(b, 0, 2.0, f0 * h, 0.3 / h);
  for (size_t i = 0; i < b.n(); ++i) b.s[i] = std::sin(2 * kPi * f0 * 7.0 * i / kRate) * 0.08 + b.s[i];
  return b.wave();
}

Wave runningNoise() {
  Buf b(3.1);
  addNoise(b, 53, 0.08, 0.5, [](double) { return 1.0; });
  for (double t0 : {0.2, 0.35, 1.7, 1.85}) addTone(b, t0, 0.12, 80.0, 0.5, 0.03);
  return loopable(b);
}

Wave crossingBell() {
  Buf b(1.0);
  for (int i = 0; i < 2; ++i) {
    addTone(b, i * 0.5, 0.5, 740.0, 0.3, 0.12);
    addTone(b, i * 0.5, 0.5, 1480.0, 0.12, 0.08);
  }
  return b.wave();
}

Wave bridgeRumble() {
  Buf b(4.0);
  addNoise(b, 59, 0.03, 1.2, [](double t) { return std::min(1.0, t / 0.5) * std::min(1.0, (4.0 - t) / 0.8); });
  return b.wave();
}

Wave birds() {
  Buf b(4.1);
  const double starts[] = {0.3, 0.5, 1.6, 1.75, 1.9, 2.9, 3.3};
  for (double t0 : starts)
    for (int k = 0; k < 4; ++k) addTone(b, t0 + k * 0.03, 0.03, 3000.0 + 400.0 * k, 0.15);
  return loopable(b);
}

Wave passingTrain() {
  Buf b(10.0);
  addNoise(b, 61, 0.06, 0.9, [](double t) {
    const double x = (t - 5.0) / 2.2;
    return std::exp(-x * x);
  });
  for (int k = 0; k < 12; ++k) addTone(b, 3.2 + k * 0.3, 0.1, 75.0, 0.4, 0.03);
  return b.wave();
}

Wave engineIdle() {
  Buf b(2.0);
  for (size_t i = 0; i < b.n(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double pulse = std::pow(std::max(0.0, std::sin(2 * kPi * 25.0 * t)), 6);
    b.s[i] = 0.5 * pulse + 0.1 * std::sin(2 * kPi * 50.0 * t);
  }
  return b.wave();
}

Wave engineStart() {
  Buf b(3.0);
  for (size_t i = 0; i < b.n(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double hz = t < 1.2 ? 6.0 : 25.0;
    b.s[i] = 0.5 * std::pow(std::max(0.0, std::sin(2 * kPi * hz * t)), 4);
  }
  return b.wave();
}

Wave engineStop() {
  Buf b(2.0);
  for (size_t i = 0; i < b.n(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    b.s[i] = 0.5 * std::exp(-t / 0.5) * std::pow(std::max(0.0, std::sin(2 * kPi * (25.0 - 8 * t) * t)), 6);
  }
  return b.wave();
}

}  // namespace kestrel::demo::synth
