#include "solar/top_second.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "solar/second_search.h"

namespace solar {

namespace {

// The second of the piece's greatest arcsine, climbed to from a start.
long long Climb(HeightProbe& probe, const SmoothPiece& piece, long long second) {
  for (;;) {
    if (second > piece.first && probe.Higher(second - 1, second)) {
      --second;
    } else if (second < piece.last && probe.Higher(second + 1, second)) {
      ++second;
    } else {
      return second;
    }
  }
}

// Where the parabola through the piece's top and its neighbours reaches the sine: the seconds of
// the first and last that reach it, or the top where the parabola tells nothing.
std::pair<long long, long long> EdgesNear(HeightProbe& probe, const SmoothPiece& piece, long long top, double sine) {
  if (piece.last - piece.first < 2) return {top, top};
  const long long c = std::clamp(top, piece.first + 1, piece.last - 1);
  const double before = probe.Sine(c - 1), at = probe.Sine(c), after = probe.Sine(c + 1);
  const double bend = 0.5 * (before + after) - at, slope = 0.5 * (after - before);
  const double discriminant = slope * slope - 4.0 * bend * (at - sine);
  if (!(bend < 0.0) || !(discriminant >= 0.0)) return {top, top};
  const double root = std::sqrt(discriminant), low = (-slope + root) / (2.0 * bend),
               high = (-slope - root) / (2.0 * bend);
  const auto second = [&](double x) {
    return static_cast<long long>(std::clamp(x, static_cast<double>(piece.first), static_cast<double>(piece.last)));
  };
  return {second(std::ceil(c + low)), second(std::floor(c + high))};
}

}  // namespace

Plateau TopSecond(const MinuteScan& scan, HeightProbe& probe, long long from, long long to, double guess) {
  const std::vector<SmoothPiece> pieces = SmoothPiecesOf(scan, from, to);
  std::vector<long long> tops;
  tops.reserve(pieces.size());
  float best = -std::numeric_limits<float>::infinity();
  for (const SmoothPiece& piece : pieces) {
    const double start =
        std::clamp(std::round(guess), static_cast<double>(piece.first), static_cast<double>(piece.last));
    tops.push_back(Climb(probe, piece, static_cast<long long>(start)));
    best = std::max(best, probe.Height(tops.back()));
  }
  // Within a piece the seconds at the greatest height lie together around its top: the first and
  // last of them from a guess, moved until its neighbour outside falls short of the height.
  const double least = std::sin(LeastRadians(best));
  long long first = to, last = from;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (probe.Height(tops[i]) != best) continue;
    const SmoothPiece& piece = pieces[i];
    auto [left, right] = EdgesNear(probe, piece, tops[i], least);
    left = std::min(left, tops[i]);
    right = std::max(right, tops[i]);
    if (probe.Height(left) == best) {
      while (left > piece.first && probe.Height(left - 1) == best) --left;
    } else {
      while (probe.Height(left) != best) ++left;
    }
    if (probe.Height(right) == best) {
      while (right < piece.last && probe.Height(right + 1) == best) ++right;
    } else {
      while (probe.Height(right) != best) --right;
    }
    first = std::min(first, left);
    last = std::max(last, right);
  }
  return Plateau{first, last, best};
}

}  // namespace solar
