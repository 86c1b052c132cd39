#include "solar/top_second.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "solar/constants.h"

namespace solar {

namespace {

// The heights of the window's seconds, each computed once.
class Window {
 public:
  Window(const MinuteScan& scan, SunTracker& sun, long long from, long long to, int& evaluations)
      : m_scan(scan),
        m_sun(sun),
        m_from(from),
        m_looks(static_cast<size_t>(to - from + 1)),
        m_evaluations(evaluations) {}

  double Radians(long long second) { return Look(second).radians; }
  float Height(long long second) { return Look(second).height; }

 private:
  struct Seen {
    bool known = false;
    float height = 0.0f;
    double radians = 0.0;
  };
  const Seen& Look(long long second) {
    Seen& seen = m_looks[static_cast<size_t>(second - m_from)];
    if (!seen.known) {
      const PositionSteps steps = StepsAfter(m_scan, m_sun, second, false);
      seen = Seen{true, steps.position.height, steps.heightRadians};
      ++m_evaluations;
    }
    return seen;
  }
  const MinuteScan& m_scan;
  SunTracker& m_sun;
  long long m_from;
  std::vector<Seen> m_looks;
  int& m_evaluations;
};

struct Piece {
  long long first, last;
};

// The window's pieces in which the rounded day numbers stay the same; they only grow with time,
// so the end of each piece is found by bisection.
std::vector<Piece> PiecesOf(const MinuteScan& scan, const SunTracker& sun, long long from, long long to) {
  std::vector<Piece> pieces;
  for (long long first = from; first <= to;) {
    const RoundedDays days = DaysAfter(scan, sun, first);
    long long same = first, other = to + 1;
    if (DaysAfter(scan, sun, to) == days) same = to;
    while (other - same > 1) {
      const long long middle = same + (other - same) / 2;
      (DaysAfter(scan, sun, middle) == days ? same : other) = middle;
    }
    pieces.push_back(Piece{first, same});
    first = same + 1;
  }
  return pieces;
}

// The second of the piece's greatest arcsine, climbed to from a start.
long long Climb(Window& window, const Piece& piece, long long second) {
  for (;;) {
    if (second > piece.first && window.Radians(second - 1) > window.Radians(second)) {
      --second;
    } else if (second < piece.last && window.Radians(second + 1) > window.Radians(second)) {
      ++second;
    } else {
      return second;
    }
  }
}

// The least arcsine whose height rounds to `height` or more (to the midpoint between two
// single-precision arcsines, which rounds either way).
double LeastRadians(float height) {
  float below = static_cast<float>(height / static_cast<double>(kRadToDeg));
  for (int step = 0; step < 64 && HeightDegrees(below) >= height; ++step) below = std::nextafter(below, -4.0f);
  for (int step = 0; step < 64 && HeightDegrees(std::nextafter(below, 4.0f)) < height; ++step)
    below = std::nextafter(below, 4.0f);
  return 0.5 * (static_cast<double>(below) + static_cast<double>(std::nextafter(below, 4.0f)));
}

// Where the parabola through the piece's top and its neighbours reaches the arcsine: the
// seconds of the first and last that reach it, or the top where the parabola tells nothing.
std::pair<long long, long long> EdgesNear(Window& window, const Piece& piece, long long top, double radians) {
  if (piece.last - piece.first < 2) return {top, top};
  const long long c = std::clamp(top, piece.first + 1, piece.last - 1);
  const double before = window.Radians(c - 1), at = window.Radians(c), after = window.Radians(c + 1);
  const double bend = 0.5 * (before + after) - at, slope = 0.5 * (after - before);
  const double discriminant = slope * slope - 4.0 * bend * (at - radians);
  if (!(bend < 0.0) || !(discriminant >= 0.0)) return {top, top};
  const double root = std::sqrt(discriminant), low = (-slope + root) / (2.0 * bend),
               high = (-slope - root) / (2.0 * bend);
  const auto second = [&](double x) {
    return static_cast<long long>(std::clamp(x, static_cast<double>(piece.first), static_cast<double>(piece.last)));
  };
  return {second(std::ceil(c + low)), second(std::floor(c + high))};
}

}  // namespace

HighestPoint TopSecond(const MinuteScan& scan, SunTracker& sun, long long from, long long to, double guess,
                       int& evaluations) {
  Window window(scan, sun, from, to, evaluations);
  const std::vector<Piece> pieces = PiecesOf(scan, sun, from, to);
  std::vector<long long> tops;
  float best = -std::numeric_limits<float>::infinity();
  for (const Piece& piece : pieces) {
    const double start =
        std::clamp(std::round(guess), static_cast<double>(piece.first), static_cast<double>(piece.last));
    tops.push_back(Climb(window, piece, static_cast<long long>(start)));
    best = std::max(best, window.Height(tops.back()));
  }
  // Within a piece the seconds at the greatest height lie together around its top: the first and
  // last of them from a guess, moved until its neighbour outside falls short of the height.
  const double least = LeastRadians(best);
  long long first = to, last = from;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (window.Height(tops[i]) != best) continue;
    const Piece& piece = pieces[i];
    auto [left, right] = EdgesNear(window, piece, tops[i], least);
    left = std::min(left, tops[i]);
    right = std::max(right, tops[i]);
    if (window.Height(left) == best) {
      while (left > piece.first && window.Height(left - 1) == best) --left;
    } else {
      while (window.Height(left) != best) ++left;
    }
    if (window.Height(right) == best) {
      while (right < piece.last && window.Height(right + 1) == best) ++right;
    } else {
      while (window.Height(right) != best) --right;
    }
    first = std::min(first, left);
    last = std::max(last, right);
  }
  return HighestPoint{(first + last) / 2, best};
}

}  // namespace solar
