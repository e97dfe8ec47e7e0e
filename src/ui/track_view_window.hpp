#pragma once
// The modeless "Track view" window: the selected positions, projected flat,
// drawn as straight lines between consecutive points at the largest scale that
// fits the window, north up, centred; redrawn on every resize.
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <QWidget>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik {

// The positions in the flat Transverse Mercator frame about the central
// meridian halfway between their least and greatest longitude (metres).
std::vector<QPointF> ProjectForTrackView(const std::vector<TrackPoint>& points);

// Maps the box (metres, y north) onto a client area of `width` x `height`
// pixels: one scale for both axes so that the box fits into width - 1 by
// height - 1, centred, y turned to point down.
QTransform TrackViewTransform(const QRectF& box, int width, int height);

// The bounding box of the points widened by 5 % of its width and height on
// every side. A box without extent in one direction gets one metre there, so
// a track along a single line or a single point still has a scale.
QRectF TrackViewBox(const std::vector<QPointF>& points);

class TrackViewWindow : public QWidget {
  Q_OBJECT

 public:
  // `points`: projected positions in metres (x east, y north).
  explicit TrackViewWindow(std::vector<QPointF> points, QWidget* parent = nullptr);

  const QRectF& Box() const { return box_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QPointF> points_;
  QRectF box_;
};

}  // namespace trelvik
