#pragma once
// The modeless "Vario view", "Glide view" and "Polar view" windows: the
// picture of a series drawn off screen at every resize and copied on every
// paint, and the readout line that follows the mouse.
#include <QImage>
#include <QString>
#include <QWidget>
#include <variant>
#include <vector>

#include "analysis/graphs/graph_layout.hpp"
#include "analysis/graphs/graph_series.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

class GraphWindow : public QWidget {
  Q_OBJECT

 public:
  // A vario or glide view of `series`.
  GraphWindow(GraphKind kind, SecondSeries series, UserInterface& ui, QWidget* parent = nullptr);
  // A polar view of `samples`.
  GraphWindow(std::vector<PolarSample> samples, UserInterface& ui, QWidget* parent = nullptr);

  GraphKind Kind() const { return kind_; }
  const PlotArea& Area() const { return area_; }
  // The off-screen picture as last drawn (device pixels).
  const QImage& Picture() const { return picture_; }
  // The line the mouse wrote last; empty before the mouse came over the view.
  const QString& Readout() const { return readout_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  GraphWindow(GraphKind kind, UserInterface& ui, QWidget* parent);
  void Redraw();
  void DrawTimeGraph(QPainter& painter, const SecondSeries& series) const;
  void DrawPolar(QPainter& painter, const std::vector<PolarSample>& samples) const;
  // A line of text in a box of the background colour, as the labels and the readout have.
  void DrawTextBox(QPainter& painter, int top, int height, const QString& text) const;
  QColor AxisColour() const;

  GraphKind kind_;
  UserInterface& ui_;
  std::variant<SecondSeries, std::vector<PolarSample>> data_;
  PlotArea area_;
  TimeScale scale_;
  QImage picture_;
  QString readout_;
  bool setupFailed_ = false;  // "Window setup" is said once, not at every resize
};

}  // namespace trelvik
