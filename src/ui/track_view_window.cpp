#include "ui/track_view_window.hpp"

#include <QPainter>
#include <QPen>
#include <algorithm>

#include "geo/transverse_mercator.hpp"

namespace trelvik {

std::vector<QPointF> ProjectForTrackView(const std::vector<TrackPoint>& points) {
  std::vector<QPointF> projected;
  if (points.empty()) return projected;
  const auto [least, greatest] = std::minmax_element(
      points.begin(), points.end(), [](const TrackPoint& a, const TrackPoint& b) { return a.lon < b.lon; });
  const double centralMeridian = (SemicircleToRadians(least->lon) + SemicircleToRadians(greatest->lon)) / 2;
  projected.reserve(points.size());
  for (const TrackPoint& point : points) {
    const TmPoint flat = ProjectTm(SemicircleToRadians(point.lat, point.lon), centralMeridian);
    projected.emplace_back(flat.x, flat.y);
  }
  return projected;
}

QRectF TrackViewBox(const std::vector<QPointF>& points) {
  if (points.empty()) return QRectF(0, 0, 1, 1);
  double minX = points.front().x(), maxX = minX;
  double minY = points.front().y(), maxY = minY;
  for (const QPointF& p : points) {
    minX = std::min(minX, p.x());
    maxX = std::max(maxX, p.x());
    minY = std::min(minY, p.y());
    maxY = std::max(maxY, p.y());
  }
  double width = maxX - minX;
  double height = maxY - minY;
  if (width <= 0) {
    width = 1;
    minX -= 0.5;
  }
  if (height <= 0) {
    height = 1;
    minY -= 0.5;
  }
  return QRectF(minX - width * 0.05, minY - height * 0.05, width * 1.1, height * 1.1);
}

QTransform TrackViewTransform(const QRectF& box, int width, int height) {
  const double usableWidth = std::max(width - 1, 1);
  const double usableHeight = std::max(height - 1, 1);
  const double scale = std::min(usableWidth / box.width(), usableHeight / box.height());
  const double offsetX = (usableWidth - box.width() * scale) / 2;
  const double offsetY = (usableHeight - box.height() * scale) / 2;
  // x' = offsetX + (x - left) * scale; y' = offsetY + (bottom - y) * scale, with bottom the northern edge.
  return QTransform(scale, 0, 0, -scale, offsetX - box.left() * scale, offsetY + box.bottom() * scale);
}

TrackViewWindow::TrackViewWindow(std::vector<QPointF> points, QWidget* parent)
    : QWidget(parent, Qt::Window), points_(std::move(points)), box_(TrackViewBox(points_)) {
  setWindowTitle(QStringLiteral("Track view"));
  setAccessibleName(QStringLiteral("Track view of the selected positions"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAutoFillBackground(false);
  resize(480, 480);
}

void TrackViewWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  QPen pen(palette().color(QPalette::Text));
  pen.setCosmetic(true);
  pen.setWidth(0);
  painter.setPen(pen);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setTransform(TrackViewTransform(box_, width(), height()));
  if (points_.size() == 1) {
    painter.drawPoint(points_.front());
  } else {
    painter.drawPolyline(points_.data(), static_cast<int>(points_.size()));
  }
}

}  // namespace trelvik
