#include "tools/author/along_track_smoother.h"

#include <array>
#include <cstddef>

namespace kestrel::author {

namespace {

using Vec = std::array<double, 3>;
using Mat = std::array<Vec, 3>;

Mat mul(const Mat& a, const Mat& b) {
  Mat c{};
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j)
      for (size_t k = 0; k < 3; ++k) c[i][j] += a[i][k] * b[k][j];
  return c;
}

Vec mul(const Mat& a, const Vec& v) {
  Vec r{};
  for (size_t i = 0; i < 3; ++i)
    for (size_t k = 0; k < 3; ++k) r[i] += a[i][k] * v[k];
  return r;
}

Mat transposed(const Mat& a) {
  Mat t{};
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j) t[i][j] = a[j][i];
  return t;
}

Mat plus(Mat a, const Mat& b) {
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j) a[i][j] += b[i][j];
  return a;
}

// The inverse of a symmetric positive definite 3 x 3 matrix, by its adjugate.
Mat inverse(const Mat& m) {
  Mat adj{};
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j) {
      const size_t r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
      adj[i][j] = m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0];
    }
  const double det = m[0][0] * adj[0][0] + m[0][1] * adj[1][0] + m[0][2] * adj[2][0];
  for (auto& row : adj)
    for (double& x : row) x /= det;
  return adj;
}

Mat transition(double dt) { return {{{1, dt, dt * dt / 2}, {0, 1, dt}, {0, 0, 1}}}; }

Mat processNoise(double dt, double q) {
  const double d2 = dt * dt, d3 = d2 * dt, d4 = d3 * dt, d5 = d4 * dt;
  return {{{q * d5 / 20, q * d4 / 8, q * d3 / 6}, {q * d4 / 8, q * d3 / 3, q * d2 / 2}, {q * d3 / 6, q * d2 / 2, q * dt}}};
}

}  // namespace

std::vector<double> smoothAlongTrack(const std::vector<double>& times, const std::vector<double>& metres,
                                     double scatterM, double jerk) {
  const size_t n = times.size();
  const double r = scatterM * scatterM;
  std::vector<Vec> xPred(n), xFilt(n);
  std::vector<Mat> pPred(n), pFilt(n);
  // At first the speed and acceleration are unknown: wide enough for any train.
  Vec x{metres[0], 0, 0};
  Mat p{{{r, 0, 0}, {0, 100, 0}, {0, 0, 4}}};
  for (size_t i = 0; i < n; ++i) {
    if (i > 0) {
      const double dt = times[i] - times[i - 1];
      const Mat f = transition(dt);
      x = mul(f, x);
      p = plus(mul(mul(f, p), transposed(f)), processNoise(dt, jerk));
    }
    xPred[i] = x, pPred[i] = p;
    // Update with the measured position (H = [1 0 0]).
    const double s = p[0][0] + r;
    const Vec k{p[0][0] / s, p[1][0] / s, p[2][0] / s};
    const double innovation = metres[i] - x[0];
    for (size_t j = 0; j < 3; ++j) x[j] += k[j] * innovation;
    Mat updated = p;
    for (size_t a = 0; a < 3; ++a)
      for (size_t b = 0; b < 3; ++b) updated[a][b] -= k[a] * p[0][b];
    p = updated;
    xFilt[i] = x, pFilt[i] = p;
  }
  // Backwards: each estimate corrected by what the later points say.
  std::vector<double> out(n);
  Vec smoothed = xFilt[n - 1];
  out[n - 1] = smoothed[0];
  for (size_t i = n - 1; i-- > 0;) {
    const Mat f = transition(times[i + 1] - times[i]);
    const Mat gain = mul(mul(pFilt[i], transposed(f)), inverse(pPred[i + 1]));
    Vec diff{};
    for (size_t j = 0; j < 3; ++j) diff[j] = smoothed[j] - xPred[i + 1][j];
    const Vec correction = mul(gain, diff);
    for (size_t j = 0; j < 3; ++j) smoothed[j] = xFilt[i][j] + correction[j];
    out[i] = smoothed[0];
  }
  return out;
}

}  // namespace kestrel::author
