#include "analysis/olc/olc_texts.hpp"

#include <cmath>

#include "base/c_format.hpp"
#include "geo/position_display.hpp"

namespace trelvik::olc {
namespace {

double Km(double metres) { return metres / 1000.0; }

// "A  17  12:34:56  46°30'00.00"N  008°15'00.00"E  12.34 km"; the first
// point of a section has no leg.
std::string PointLine(char letter, std::span<const TrackPoint> points, int32_t index, double legMetres, bool withLeg) {
  const TrackPoint& p = points[static_cast<size_t>(index)];
  const uint32_t seconds = p.time % 86400;
  std::string line =
      CFormat("%c  %d  %02d:%02d:%02d  ", letter, static_cast<int>(index + 1), static_cast<int>(seconds / 3600),
              static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  line += LatitudeText(p.lat) + "  " + LongitudeText(p.lon);
  if (withLeg) line += CFormat("  %.2f km", Km(legMetres));
  return line;
}

std::string Total(double metres) { return CFormat("%.2f km", Km(metres)); }

}  // namespace

std::vector<ResultSection> ResultSections(const OlcResult& r, std::span<const TrackPoint> points) {
  std::vector<ResultSection> sections;
  {
    ResultSection s{"MAX. DISTANCE (Start point A, end point B)  (Not an OLC parameter)", {}, {}};
    if (r.twoPoints.total > 0) {
      s.lines.push_back(PointLine('A', points, r.twoPoints.index[0], 0, false));
      s.lines.push_back(PointLine('B', points, r.twoPoints.index[1], r.twoPoints.legs[0], true));
      s.total = Total(r.twoPoints.total);
    }
    sections.push_back(std::move(s));
  }
  {
    ResultSection s{"MAX. DISTANCE (Start point A, turnpoints BCD, end point E)", {}, {}};
    if (r.fivePoints.total > 0) {
      for (int i = 0; i < 5; ++i) {
        s.lines.push_back(PointLine(static_cast<char>('A' + i), points, r.fivePoints.index[static_cast<size_t>(i)],
                                    i > 0 ? r.fivePoints.legs[static_cast<size_t>(i - 1)] : 0, i > 0));
      }
      s.total = Total(r.fivePoints.total);
    }
    sections.push_back(std::move(s));
  }
  {
    ResultSection s{"OUT-AND-RETURN (Start point A, end point C)  (Not an OLC parameter)", {}, {}};
    if (r.outAndReturn.found) {
      s.lines.push_back(PointLine('A', points, r.outAndReturn.start, 0, false));
      s.lines.push_back(PointLine('B', points, r.outAndReturn.turnpoint, r.outAndReturn.outward, true));
      s.lines.push_back(PointLine('C', points, r.outAndReturn.end, r.outAndReturn.back, true));
      s.total = Total(r.outAndReturn.distance);
    }
    sections.push_back(std::move(s));
  }
  for (const auto& [title, t] :
       {std::pair{"FREE TRIANGLE (Triangle ABC. Start point D, end point E)", &r.freeTriangle},
        std::pair{"FAI TRIANGLE (Triangle ABC. Start point D, end point E)", &r.faiTriangle}}) {
    ResultSection s{title, {}, {}};
    if (t->found) {
      s.lines.push_back(PointLine('A', points, t->turnpoint1, t->legs[2], true));
      s.lines.push_back(PointLine('B', points, t->turnpoint2, t->legs[0], true));
      s.lines.push_back(PointLine('C', points, t->turnpoint3, t->legs[1], true));
      s.lines.push_back(PointLine('D', points, t->start, 0, false));
      s.lines.push_back(PointLine('E', points, t->end, 0, false));
      s.total = Total(t->legs[0] + t->legs[1] + t->legs[2]) + CFormat("  Check: %.2f km", Km(t->gap));
    }
    sections.push_back(std::move(s));
  }
  return sections;
}

std::string BestResultText(const OlcResult& r) {
  switch (r.best) {
    case BestKind::FreeDistance: return CFormat("Best result is free distance with %.2f points", r.bestPoints);
    case BestKind::FreeTriangle: return CFormat("Best result is free triangle with %.2f points", r.bestPoints);
    case BestKind::FaiTriangle: return CFormat("Best result is FAI triangle with %.2f points", r.bestPoints);
  }
  return {};
}

std::string ProgressText(int64_t done, int64_t total) {
  if (total <= 0) total = 1;
  const double percent = static_cast<double>(done) / static_cast<double>(total) * 100.0;
  if (percent > 99.0) return "Done:";
  return CFormat("%d %%", static_cast<int>(std::lround(std::max(percent, 0.0))));
}

}  // namespace trelvik::olc
