#include "solar/second_search.h"

#include <algorithm>
#include <cmath>

namespace solar {

namespace {

// |s''| of the sine of the height, a minute squared: (2π/1440)², the hour angle's turn (Notes 3).
constexpr double kMostBend = 1.91e-5;
// The sine's move per day of n: the declination's and the right ascension's (Notes 2).
constexpr double kMovePerDayOfN = 8.8e-4;
// The sidereal time's step back at the model's midnight, and the rounding of the mean anomaly
// and of the height's threshold (in the sine).
constexpr double kFixedPerturbation = 5.8e-7 + 1e-7;

struct PieceKey {
  int dayNumber;
  RoundedDays days;
  bool operator==(const PieceKey&) const = default;
};

PieceKey KeyAt(const MinuteScan& scan, long long second) {
  const ScanTime t = TimeAfter(scan, second);
  return PieceKey{t.dayNumber, DaysOf(t.dayNumber, t.clockHours, scan.rounding)};
}

// The largest step of the single-precision days since 2000 over a scan of up to three days.
double StepOfN(const MinuteScan& scan) {
  const float n = static_cast<float>(std::fabs(scan.dayNumber - kJ2000) + 4.0);
  return std::nextafter(n, 2.0f * n) - n;
}

// The piece's seconds [a, b] from the state of the second before a, each crossing appended.
class PieceSearch {
 public:
  PieceSearch(const MinuteScan& scan, HeightProbe& probe, float height, std::vector<Crossing>& out)
      : m_probe(probe), m_height(height), m_reach(Reach(scan)), m_out(out) {}

  bool Above(long long second) { return m_probe.Above(second, m_height); }

  // The piece [a, b], the second before it on the side `before`; returns the side of b.
  bool Search(const SmoothPiece& piece, bool before) {
    const long long a = piece.first, b = piece.last;
    const bool atA = Above(a);
    if (atA != before) m_out.push_back(Crossing{a, atA});
    if (b - a < 6) {
      bool side = atA;
      for (long long s = a + 1; s <= b; ++s) side = Step(s, side);
      return side;
    }
    const bool atB = Above(b);
    if (atA == atB && Clear(a, b)) return atB;
    const bool upFirst = m_probe.Higher(a + 1, a), upLast = m_probe.Higher(b, b - 1);
    if (upFirst == upLast) return Between(a, b, atA);
    const long long turn = TurnWithin(a, b - 1, upFirst);
    return Between(turn, b, Between(a, turn, atA));
  }

 private:
  bool Step(long long second, bool side) {
    const bool now = Above(second);
    if (now != side) m_out.push_back(Crossing{second, now});
    return now;
  }

  // Whether the piece's ends lie so far on one side that no second between them can reach the
  // other: its sine can bend by |s''| (b − a)² / 8 beyond its ends.
  bool Clear(long long a, long long b) {
    const double minutes = (b - a) / 60.0, bend = kMostBend * minutes * minutes / 8.0 + m_reach;
    const double target = m_probe.SineOf(m_height), sa = m_probe.Sine(a), sb = m_probe.Sine(b);
    return std::isfinite(target) && (std::min(sa, sb) - bend > target || std::max(sa, sb) + bend < target);
  }

  // A monotone run [a, b] whose first second lies on the side `atA`: its one change of side.
  bool Between(long long a, long long b, bool atA) {
    const bool atB = Above(b);
    if (atA != atB) {
      m_out.push_back(CrossingBetween(a, b, atB, [&](long long s) { return Above(s); }));
    }
    return atB;
  }

  // The second of the turning point in [a, b]: the first at which the slope no longer rises
  // (a top) or no longer falls (a bottom).
  long long TurnWithin(long long a, long long b, bool top) {
    while (a < b) {
      const long long middle = a + (b - a) / 2;
      if (m_probe.Higher(middle + 1, middle) == top) {
        a = middle + 1;
      } else {
        b = middle;
      }
    }
    return a;
  }

  HeightProbe& m_probe;
  float m_height;
  double m_reach;
  std::vector<Crossing>& m_out;
};

}  // namespace

std::vector<SmoothPiece> SmoothPiecesOf(const MinuteScan& scan, long long from, long long to) {
  std::vector<SmoothPiece> pieces;
  pieces.reserve(8);
  for (long long first = from; first <= to;) {
    const PieceKey key = KeyAt(scan, first);
    long long same = first, other = to + 1;
    if (KeyAt(scan, to) == key) same = to;
    while (other - same > 1) {  // the keys only grow with time: bisection
      const long long middle = same + (other - same) / 2;
      (KeyAt(scan, middle) == key ? same : other) = middle;
    }
    pieces.push_back(SmoothPiece{first, same});
    first = same + 1;
  }
  return pieces;
}

SmoothPiece PieceAround(const MinuteScan& scan, long long second, long long from, long long to) {
  const PieceKey key = KeyAt(scan, second);
  long long first = second, before = from - 1;  // the keys only grow with time: bisection
  while (first - before > 1) {
    const long long middle = before + (first - before) / 2;
    (KeyAt(scan, middle) == key ? first : before) = middle;
  }
  long long last = second, after = to + 1;
  while (after - last > 1) {
    const long long middle = last + (after - last) / 2;
    (KeyAt(scan, middle) == key ? last : after) = middle;
  }
  return SmoothPiece{first, last};
}

void LookAtPiece(HeightProbe& probe, const SmoothPiece& piece, Plateau& plateau) {
  long long top = piece.first, b = piece.last;
  if (b > top && !probe.Higher(top + 1, top)) {
    b = top;  // falling from the start: its first second is the highest
  } else if (b > top && probe.Higher(b, b - 1)) {
    top = b;  // rising to the end
  }
  while (top < b) {  // the first second at which the arcsine no longer rises
    const long long middle = top + (b - top) / 2;
    if (probe.Higher(middle + 1, middle)) {
      top = middle + 1;
    } else {
      b = middle;
    }
  }
  if (plateau.Look(top, probe.Height(top)) < plateau.height) return;
  for (long long s = top - 1; s >= piece.first && plateau.Look(s, probe.Height(s)) == plateau.height;) --s;
  for (long long s = top + 1; s <= piece.last && plateau.Look(s, probe.Height(s)) == plateau.height;) ++s;
}

double Perturbation(const MinuteScan& scan) { return 0.5 * kMovePerDayOfN * StepOfN(scan) + kFixedPerturbation; }

double Reach(const MinuteScan& scan) { return 3.0 * (1.04 * kMostBend / 8.0 + 2.0 * Perturbation(scan)); }

double SteepChange(const MinuteScan& scan) { return 2.0 * (122.0 * Perturbation(scan) + 3.0 * kMostBend); }

void AppendCrossingsWithin(const MinuteScan& scan, HeightProbe& probe, long long from, long long to, float height,
                           std::vector<Crossing>& crossings) {
  if (to <= from) return;
  PieceSearch search(scan, probe, height, crossings);
  bool side = search.Above(from);
  for (const SmoothPiece& piece : SmoothPiecesOf(scan, from + 1, to)) side = search.Search(piece, side);
}

}  // namespace solar
