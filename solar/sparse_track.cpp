#include "solar/sparse_track.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "solar/constants.h"
#include "solar/second_search.h"
#include "solar/top_second.h"

namespace solar {

namespace {

// Heights this close to a turning point's (degrees) are left to the full track: in the day scan
// the jitter of the model's rounding reaches at most 1e-4 degrees (Notes 2).
constexpr float kTurnMargin = 0.01f;
// The step of the single-precision days since 2000 around the scan (days).
float StepOfDaysSince2000(const MinuteScan& scan) {
  const float n = std::fabs(static_cast<float>(scan.dayNumber - 51544.5)) + 1.0f;
  return std::nextafter(n, 2.0f * n) - n;
}
// Heights near the top further below the greatest so far than this (degrees) end the search for
// it: four times the declination's move over a step of the single-precision days since 2000
// (at most 0.0134 degrees a day, Notes 2), and at least 1e-5 degrees (measured, Notes 5).
float TopMargin(const MinuteScan& scan) { return std::max(1e-5f, 4.0f * 0.0134f * StepOfDaysSince2000(scan)); }
// Added to the bands of heights looked at around a top (degrees): more than the error of the
// heights in degrees that choose the minutes of the band.
constexpr double kBandSlack = 1e-6;
// A second of the day scan lies within half a minute of a whole minute: it rises less than this
// above the nearest (degrees).
constexpr float kMostRiseAboveAMinute = 0.5f * kMostHeightChangeInAMinute;
// Days whose heights span less than this (degrees) are left to the full track.
constexpr float kLeastSpan = 2.0f;
// The local hour angle advances by about this much per minute (degrees).
constexpr double kHourAnglePerMinute = 0.25;

// The two neighbouring points between low and high (in different states: above the height or
// not) where the state changes; where it changes once, the one place. The heights are smooth
// there: a secant through the last two points looked at (their levels, which rise and fall with
// the height, against the level `target` at which the state changes) lands within one after a few
// steps; where it would not move at most half as far as the step before, a bisection step
// follows.
template <typename IsAbove, typename Level>
std::pair<long long, long long> StateChange(long long low, long long high, double target, IsAbove isAbove, Level level,
                                            double guess = NAN) {
  const bool lowAbove = isAbove(low);
  long long previous = low, last = high;
  double atPrevious = level(low), atLast = level(high);
  const auto probe = [&](long long m) {
    (isAbove(m) == lowAbove ? low : high) = m;
    previous = last;
    atPrevious = atLast;
    last = m;
    atLast = level(m);
  };
  // A guess first, with its neighbour: the secant then starts from the local slope.
  if (guess > low && guess < high) {
    const long long g = static_cast<long long>(std::floor(guess));
    if (g > low && g < high) probe(g);
    if (g + 1 > low && g + 1 < high) probe(g + 1);
  }
  long long step = high - low;  // how far the last probe moved
  while (high - low > 1) {      // NOLINT(bugprone-infinite-loop): each probe moves low or high
    long long middle = low + (high - low) / 2;
    if (atLast != atPrevious) {
      const double estimate = last + (target - atLast) * (last - previous) / (atLast - atPrevious);
      if (estimate > low && estimate < high) {
        long long guessed = std::clamp(static_cast<long long>(std::floor(estimate)), low + 1, high - 1);
        if (guessed == last) guessed = std::clamp(guessed + 1, low + 1, high - 1);
        if (2 * std::llabs(guessed - last) <= step + 1) middle = guessed;
      }
    }
    step = std::llabs(middle - last);
    probe(middle);
  }
  return {low, high};
}

// The scan with its count of minutes within what a track holds.
MinuteScan Clamped(MinuteScan scan) {
  scan.minutes = std::clamp(scan.minutes, 0, kLongestScan);
  return scan;
}

}  // namespace

SparseTrack::SparseTrack(const MinuteScan& scan) : m_scan(Clamped(scan)), m_probe(m_scan) {
  const int n = MinuteCount();
  if (n == 0) return;
  m_known.resize(static_cast<size_t>(n + 63) / 64);
  m_turns.reserve(6);
  m_turns = {0, n - 1};
  // The model's hour angle and declination at the first and last minute tell roughly where the
  // sun passes 0 degrees (its highest point) and 180 (its lowest), and where it stands at a
  // height; each place is then found on the minute heights.
  const HeightEstimate::Angles first = m_probe.AnglesAt(0), last = m_probe.AnglesAt(60LL * (n - 1));
  m_hourAngle = first.tau * kRadToDeg;
  m_sinDeclination[0] = first.sinDeclination, m_sinDeclination[1] = last.sinDeclination;
  m_cosDeclination[0] = first.cosDeclination, m_cosDeclination[1] = last.cosDeclination;
  if (n > 1) {
    const double nominal = (n - 1) * kHourAnglePerMinute;
    double advance = (last.tau - first.tau) * kRadToDeg;
    advance += 360.0 * std::round((nominal - advance) / 360.0);
    m_hourAnglePerMinute = advance / (n - 1);
  }
  const double phi = scan.latitude * kDegToRad;
  m_sinPhi = std::sin(phi);
  m_cosPhi = std::cos(phi);
  const double halfTurn = 180.0 / m_hourAnglePerMinute;
  const double firstPass = std::fmod(std::fmod(-m_hourAngle, 180.0) + 180.0, 180.0) / m_hourAnglePerMinute;
  const double atFirstPass = std::fmod(std::fmod(m_hourAngle, 360.0) + 360.0 + firstPass * m_hourAnglePerMinute, 360.0);
  const bool firstIsHighest = atFirstPass < 90.0 || atFirstPass > 270.0;
  // Passes a little outside the scan count too: the turning point of the heights can lie some
  // minutes from the pass where the declination changes fast against a small daily swing.
  int k = 0;
  for (double m = firstPass - halfTurn; m < n + halfTurn; m += halfTurn, ++k) {
    if (m < -60.0 || m > n + 60.0) continue;
    const bool highest = firstIsHighest == (k % 2 == 1);
    m_turns.push_back(TurningPointNear(std::clamp(static_cast<int>(std::lround(m)), 0, n - 1), highest));
  }
  std::sort(m_turns.begin(), m_turns.end());
  m_turns.erase(std::unique(m_turns.begin(), m_turns.end()), m_turns.end());
  m_lowest = m_highest = MinuteDegrees(m_turns.front());
  m_turnSines.reserve(m_turns.size());
  for (const int b : m_turns) {
    m_lowest = std::min(m_lowest, MinuteDegrees(b));
    m_highest = std::max(m_highest, MinuteDegrees(b));
    m_turnSines.push_back(MinuteSine(b));
  }
  // The year series holds the sun's coordinates for up to 11 minutes, then moves them on by up to
  // 3.1e-3 degrees: that jitter reaches 0.5 degrees divided by the span from a turning point's
  // height (Notes 2); twice that is kept clear.
  m_margin = kTurnMargin;
  if (scan.rounding != Rounding::kDayScan && m_highest > m_lowest) {
    m_margin = std::max<double>(kTurnMargin, 1.0 / (m_highest - m_lowest));
  }
}

int SparseTrack::MinuteCount() const { return m_scan.minutes; }

// Near the poles the daily swing is small against the model's steps: the full track decides.
bool SparseTrack::TooFlat() const { return !(m_highest - m_lowest >= kLeastSpan); }

bool SparseTrack::MinuteAbove(int minute, float height) {
  SetKnown(minute);
  return m_probe.Above(60LL * minute, height);
}

double SparseTrack::MinuteSine(int minute) {
  SetKnown(minute);
  return m_probe.Sine(60LL * minute);
}

double SparseTrack::MinuteDegrees(int minute) {
  SetKnown(minute);
  return m_probe.Degrees(60LL * minute);
}

int SparseTrack::NextKnown(int minute) const {
  for (int m = minute + 1; m < MinuteCount();) {
    const unsigned long long rest = m_known[static_cast<size_t>(m) / 64] >> (m % 64);
    if (rest != 0) return std::min(m + std::countr_zero(rest), MinuteCount());
    m += 64 - m % 64;
  }
  return MinuteCount();
}

// Climbs (or descends) from the minute to where neither neighbour is further along.
int SparseTrack::TurningPointNear(int minute, bool highest) {
  const auto better = [&](int a, int b) {
    SetKnown(a), SetKnown(b);
    return highest ? m_probe.Higher(60LL * a, 60LL * b) : m_probe.Higher(60LL * b, 60LL * a);
  };
  for (;;) {
    if (minute > 0 && better(minute - 1, minute)) {
      --minute;
    } else if (minute + 1 < MinuteCount() && better(minute + 1, minute)) {
      ++minute;
    } else {
      return minute;
    }
  }
}

bool SparseTrack::NeedsFullTrack(float height) {
  if (!m_track.empty()) return true;
  if (TooFlat()) return true;
  for (const int b : m_turns) {
    if (std::fabs(MinuteDegrees(b) - height) < m_margin) return true;
  }
  return false;
}

const std::vector<float>& SparseTrack::FullTrack() {
  if (m_track.empty()) m_track = FullTrackHeights(m_scan);
  return m_track;
}

std::vector<Stretch> SparseTrack::StretchesAbove(float height) { return Stretches(height); }

const std::vector<Stretch>& SparseTrack::Stretches(float height) {
  for (const auto& [known, stretches] : m_stretches) {
    if (known == height) return stretches;
  }
  return m_stretches.emplace_back(height, FindStretches(height)).second;
}

std::vector<Stretch> SparseTrack::FindStretches(float height) {
  if (MinuteCount() == 0) return {};
  if (NeedsFullTrack(height)) return solar::StretchesAbove(FullTrack(), height);
  std::vector<Stretch> stretches;
  const auto add = [&](int first, int last) {
    if (first > last) return;
    if (!stretches.empty() && stretches.back().last + 1 >= first) {
      stretches.back().last = std::max(stretches.back().last, last);
    } else {
      stretches.push_back(Stretch{first, last});
    }
  };
  // In each piece between turning points the minutes above the height are one end of it.
  for (size_t p = 0; p + 1 < m_turns.size(); ++p) {
    const int a = m_turns[p], b = m_turns[p + 1];
    const bool aAbove = MinuteAbove(a, height), bAbove = MinuteAbove(b, height);
    if (aAbove == bAbove) {
      if (aAbove) add(a, b);
      continue;
    }
    const auto [low, high] = CrossingMinutes(a, b, height);
    if (aAbove) {
      add(a, low);
    } else {
      add(high, b);
    }
  }
  if (m_turns.size() == 1 && MinuteAbove(0, height)) add(0, 0);
  return stretches;
}

// Where between minutes a and b the sun should stand at the height, from the hour angle at
// which it does with the declination of the scan's start; NaN where it never does.
double SparseTrack::GuessMinute(int a, int b, float height, bool rising) const {
  const double sinHeight = std::sin(height * kDegToRad);
  double m = 0.5 * (a + b);
  for (int round = 0; round < 2; ++round) {  // the second with the declination of the first guess
    // Over a day the declination moves by less than half a degree: its sine and cosine are
    // interpolated between the first and the last minute.
    const double along = MinuteCount() > 1 ? m / (MinuteCount() - 1) : 0.0;
    const double sinDeclination = m_sinDeclination[0] + along * (m_sinDeclination[1] - m_sinDeclination[0]);
    const double cosDeclination = m_cosDeclination[0] + along * (m_cosDeclination[1] - m_cosDeclination[0]);
    const double cosH = (sinHeight - sinDeclination * m_sinPhi) / (cosDeclination * m_cosPhi);
    if (!(std::fabs(cosH) <= 1.0)) return NAN;
    const double h = std::acos(cosH) * kRadToDeg;
    const double first = ((rising ? -h : h) - m_hourAngle) / m_hourAnglePerMinute;
    const double turn = 360.0 / m_hourAnglePerMinute;
    m = first + turn * std::ceil((a - first) / turn);
    if (!(m < b)) return NAN;
  }
  return m;
}

std::pair<int, int> SparseTrack::CrossingMinutes(int a, int b, float height) {
  const bool aAbove = MinuteAbove(a, height);
  int low = a, high = b;  // low in a's state, high in b's
  // Minutes looked at for other heights narrow the bracket: in the piece the states change once.
  for (int m = NextKnown(a); m < b; m = NextKnown(m)) {
    if (MinuteAbove(m, height) == aAbove) {
      low = m;
    } else {
      high = m;
      break;
    }
  }
  const auto isAbove = [&](long long m) { return MinuteAbove(static_cast<int>(m), height); };
  const auto level = [&](long long m) {
    SetKnown(static_cast<int>(m));
    return m_probe.Sine(60 * m);
  };
  const auto [from, to] =
      StateChange(low, high, m_probe.SineOf(height), isAbove, level, GuessMinute(low, high, height, !aAbove));
  return {static_cast<int>(from), static_cast<int>(to)};
}

int SparseTrack::CountAbove(float height) {
  int count = 0;
  for (const Stretch& s : Stretches(height)) count += s.last - s.first + 1;
  return count;
}

std::vector<Crossing> SparseTrack::Crossings(float height) {
  std::vector<std::pair<int, bool>> brackets;  // the minute before each crossing of the minutes, rising
  brackets.reserve(4);
  for (const Stretch& s : Stretches(height)) {
    if (s.first > 0) brackets.emplace_back(s.first - 1, true);
    if (s.last + 1 < MinuteCount()) brackets.emplace_back(s.last, false);
  }
  if (m_scan.rounding == Rounding::kDayScan) return SecondCrossings(height, brackets);
  // Other roundings hold the sun's coordinates for minutes: the crossings between the minutes.
  std::vector<Crossing> crossings;
  crossings.reserve(brackets.size());
  for (const auto& [minute, rising] : brackets) {
    crossings.push_back(CrossingBetween(60LL * minute, 60LL * minute + 60, rising,
                                        [&](long long s) { return m_probe.Above(s, height); }));
  }
  return crossings;
}

// Every second of the scan (second_search.h, Notes 3 and 4): the minutes around a turning point or
// an end whose sine lies within reach of the height's, and around each crossing of the minutes
// that is not steep, are searched second by second; a steep crossing alone by a search on its
// minute.
std::vector<Crossing> SparseTrack::SecondCrossings(float height, const std::vector<std::pair<int, bool>>& brackets) {
  const int n = MinuteCount();
  const double target = m_probe.SineOf(height), reach = Reach(m_scan), steepChange = SteepChange(m_scan);
  const bool fromTrack = !m_track.empty() || TooFlat();  // the minutes between the turns may jitter
  const auto near = [&](int m) {
    const double sine = fromTrack ? std::sin(FullTrack()[static_cast<size_t>(m)] * kDegToRad) : MinuteSine(m);
    return !(std::fabs(sine - target) > reach + 1e-7);  // a height near ±90 has no sine: always near
  };
  const auto steep = [&](int minute) { return std::fabs(MinuteSine(minute + 1) - MinuteSine(minute)) >= steepChange; };
  unsigned long long steepBrackets = 0;      // a bit each for the first 64 brackets
  std::vector<std::pair<int, int>> windows;  // whole minutes [lo, hi]
  const auto widen = [&](int lo, int hi) {
    while (lo > 0 && near(lo)) --lo;
    while (hi + 1 < n && near(hi)) ++hi;
    windows.emplace_back(lo, hi);
  };
  if (fromTrack) {
    for (int m = 0; m < n; ++m) {
      if (near(m)) widen(m, m);
    }
  } else {
    for (size_t i = 0; i < m_turns.size(); ++i) {
      if (!(std::fabs(m_turnSines[i] - target) > reach + 1e-7)) widen(m_turns[i], m_turns[i]);
    }
  }
  for (size_t i = 0; i < brackets.size(); ++i) {
    if (!steep(brackets[i].first)) {
      widen(brackets[i].first, brackets[i].first + 1);
    } else if (i < 64) {
      steepBrackets |= 1ULL << i;
    }
  }
  std::vector<Crossing> crossings;
  crossings.reserve(brackets.size() + 2);  // and the day's edges (LocalDay)
  if (!windows.empty()) {
    std::sort(windows.begin(), windows.end());
    for (size_t i = 0; i < windows.size();) {
      auto [lo, hi] = windows[i];
      for (++i; i < windows.size() && windows[i].first <= hi; ++i) hi = std::max(hi, windows[i].second);
      AppendCrossingsWithin(m_scan, m_probe, 60LL * lo, 60LL * hi, height, crossings);
    }
  }
  for (size_t i = 0; i < brackets.size(); ++i) {
    const int minute = brackets[i].first;
    const auto covers = [&](const std::pair<int, int>& w) { return w.first <= minute && minute < w.second; };
    const bool isSteep = i < 64 ? (steepBrackets >> i) & 1 : steep(minute);
    if (isSteep && std::none_of(windows.begin(), windows.end(), covers))
      crossings.push_back(SteepCrossing(minute, height));
  }
  if (!windows.empty()) {
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.second < b.second; });
  }
  return crossings;
}

// The one crossing within a steep minute: the seconds' heights rise or fall through it, so the
// search goes like the minutes' (a secant step from the minutes' heights, then bisection).
Crossing SparseTrack::SteepCrossing(int minute, float height) {
  const bool rising = !MinuteAbove(minute, height);
  const long long first = 60LL * minute;
  const double before = MinuteDegrees(minute),
               guess = first + 60.0 * (height - before) / (MinuteDegrees(minute + 1) - before);
  const auto isAbove = [&](long long second) { return m_probe.Above(second, height); };
  const auto level = [&](long long second) { return m_probe.Sine(second); };
  return Crossing{StateChange(first, first + 60, m_probe.SineOf(height), isAbove, level, guess).second, rising};
}

Plateau SparseTrack::Highest() {
  if (MinuteCount() == 0) return Plateau{0, 0, 0.0f};
  const std::vector<std::pair<int, float>> tops = TopMinutes();
  Plateau best = SecondsAround(tops.front().first, tops.front().second);
  // Another top's seconds rise less than kMostRiseAboveAMinute above its minute: where that could
  // reach the best so far, its seconds are looked at too. A day longer than the sun's turn
  // has two tops that can lie that close, the sun near the zenith a top far above its minutes.
  if (m_scan.rounding != Rounding::kDayScan) return best;
  for (size_t i = 1; i < tops.size(); ++i) {
    if (tops[i].second + kMostRiseAboveAMinute >= best.height) best.Join(SecondsAround(tops[i].first, tops[i].second));
  }
  return best;
}

// The first minute of the greatest height around each turning point or end that could hold the
// day's top, the highest (the earliest of equals) first.
std::vector<std::pair<int, float>> SparseTrack::TopMinutes() {
  std::vector<std::pair<int, float>> tops;
  const auto add = [&](int minute, float height) {
    if (std::none_of(tops.begin(), tops.end(), [&](const auto& top) { return top.first == minute; }))
      tops.emplace_back(minute, height);
  };
  if (!m_track.empty() || TooFlat()) {
    // The track's highest minute between the midpoints to the neighbouring turning points.
    const std::vector<float>& track = FullTrack();
    for (size_t i = 0; i < m_turns.size(); ++i) {
      const auto from = track.begin() + (i == 0 ? 0 : (m_turns[i - 1] + m_turns[i]) / 2 + 1);
      const auto to = i + 1 == m_turns.size() ? track.end() : track.begin() + (m_turns[i] + m_turns[i + 1]) / 2 + 1;
      const auto top = std::max_element(from, to);
      add(static_cast<int>(top - track.begin()), *top);
    }
  } else {
    // Around each turning point every minute within the margin of its height is looked at.
    const double band = (m_scan.rounding == Rounding::kDayScan ? TopMargin(m_scan) : m_margin) + kBandSlack;
    const double reach = m_scan.rounding == Rounding::kDayScan ? kMostRiseAboveAMinute : 0.0;
    for (const int b : m_turns) {
      if (MinuteDegrees(b) < m_highest - band - reach) continue;  // a low point or an end below the day's top
      const auto near = [&](int m) { return std::fabs(MinuteDegrees(m) - MinuteDegrees(b)) <= band; };
      int from = b, to = b;
      while (from > 0 && near(from - 1)) --from;
      while (to + 1 < MinuteCount() && near(to + 1)) ++to;
      int top = from;
      float topHeight = m_probe.Height(60LL * from);
      for (int m = from + 1; m <= to; ++m) {
        const float height = m_probe.Height(60LL * m);
        if (height > topHeight) top = m, topHeight = height;
      }
      add(top, topHeight);
    }
  }
  std::sort(tops.begin(), tops.end(), [](const auto& a, const auto& b) {
    return a.second > b.second || (a.second == b.second && a.first < b.first);
  });
  return tops;
}

Plateau SparseTrack::SecondsAround(int top, float topHeight) {
  Plateau plateau = HighestSecond(top, topHeight);
  if (m_scan.rounding == Rounding::kDayScan) WidenPlateau(plateau, top);
  return plateau;
}

// As HighestPointOf, which looks at every second within a minute of the top. In the day scan's
// rounding the top is expected at the vertex of the parabola through the three minutes. Where the
// rounded days since 2000 step every 42 seconds or less (1988 to 2011), the seconds spread from
// there until they lie clearly below the greatest; elsewhere the top of each piece between their
// steps is climbed to (TopSecond), fewer heights and no margin.
Plateau SparseTrack::HighestSecond(int top, float topHeight) {
  // Other roundings hold the sun's coordinates for minutes at a time; their steps are larger.
  if (m_scan.rounding != Rounding::kDayScan || !m_track.empty()) return HighestPointOf(m_scan, top, topHeight);
  const long long from = 60LL * std::max(top - 1, 0), to = 60LL * std::min(top + 1, MinuteCount() - 1);
  double vertex = 60.0 * top;
  if (top > 0 && top + 1 < MinuteCount()) {
    const double l = MinuteDegrees(top - 1), c = MinuteDegrees(top), r = MinuteDegrees(top + 1), bend = l - 2.0 * c + r;
    if (bend < 0.0) vertex += std::clamp(30.0 * (l - r) / bend, -60.0, 60.0);
  }
  if (StepOfDaysSince2000(m_scan) >= 0x1p-11f) return TopSecond(m_scan, m_probe, from, to, vertex);
  const long long start = std::llround(vertex);
  Plateau seconds{60LL * top, 60LL * top, topHeight};
  const auto look = [&](long long second) { return seconds.Look(second, m_probe.Height(second)); };
  look(start);
  const float margin = TopMargin(m_scan);
  bool left = true, right = true;
  for (long long d = 1; left || right; ++d) {
    if (left) left = start - d >= from && look(start - d) >= seconds.height - margin;
    if (right) right = start + d <= to && look(start + d) >= seconds.height - margin;
  }
  return seconds;
}

// The seconds at the greatest height beyond the minute either side of the top, piece by piece
// (second_search.h, Note 1). Past the course's top a second's sine lies at most twice the
// perturbation (Note 2) above that of any second before it, and where the course has not yet
// turned, the last second looked at comes within that of the greatest height's least sine: so a
// second that stays further below ends the search on its side.
void SparseTrack::WidenPlateau(Plateau& plateau, int top) {
  const double perturbation = 2.0 * Perturbation(m_scan) + 1e-9;
  const long long end = 60LL * (MinuteCount() - 1);
  float height = plateau.height;
  double least = std::sin(LeastRadians(height));
  const auto reaches = [&](long long s) {
    if (plateau.height != height) height = plateau.height, least = std::sin(LeastRadians(height));
    return m_probe.Sine(s) + perturbation >= least;
  };
  for (long long a = 60LL * (top + 1); a < end && reaches(a);) {
    const SmoothPiece piece = PieceAround(m_scan, a + 1, a + 1, end);
    LookAtPiece(m_probe, piece, plateau);
    a = piece.last;
  }
  for (long long a = 60LL * (top - 1); a > 0 && reaches(a);) {
    const SmoothPiece piece = PieceAround(m_scan, a - 1, 0, a - 1);
    LookAtPiece(m_probe, piece, plateau);
    a = piece.first;
  }
}

}  // namespace solar
