#include "ui/analysis/graph_window.hpp"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>

#include "analysis/graphs/graph_texts.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

constexpr int kBoxLeft = 10;    // text boxes run from the left margin + 10 ...
constexpr int kBoxRight = 260;  // ... to the left margin + 260
constexpr int kLabelHeight = 15;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QLine Line(const PixelLine& line) { return QLine(line.from.x, line.from.y, line.to.x, line.to.y); }

double Luminance(const QColor& c) { return 0.2126 * c.red() + 0.7152 * c.green() + 0.0722 * c.blue(); }

}  // namespace

GraphWindow::GraphWindow(GraphKind kind, UserInterface& ui, QWidget* parent)
    : QWidget(parent, Qt::Window), kind_(kind), ui_(ui) {
  setWindowTitle(Text(std::string(GraphTitle(kind))));
  setAccessibleName(Text(std::string(GraphTitle(kind)) + " of the selected positions"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  resize(640, 400);
}

GraphWindow::GraphWindow(GraphKind kind, SecondSeries series, UserInterface& ui, QWidget* parent)
    : GraphWindow(kind, ui, parent) {
  data_ = std::move(series);
}

GraphWindow::GraphWindow(std::vector<PolarSample> samples, UserInterface& ui, QWidget* parent)
    : GraphWindow(GraphKind::Polar, ui, parent) {
  data_ = std::move(samples);
}

QColor GraphWindow::AxisColour() const {
  // Green as the axes have always been, light enough to stand out on a dark ground.
  return Luminance(palette().color(QPalette::Base)) < 128 ? QColor(90, 200, 90) : QColor(0, 128, 0);
}

void GraphWindow::resizeEvent(QResizeEvent*) { Redraw(); }

void GraphWindow::changeEvent(QEvent* event) {
  // A new palette (a dark desktop theme) needs a new picture.
  if (event->type() == QEvent::PaletteChange) Redraw();
  QWidget::changeEvent(event);
}

void GraphWindow::Redraw() {
  if (isMinimized()) return;
  area_ = LayoutPlot(width(), height(), area_.plotWidth);
  if (const auto* series = std::get_if<SecondSeries>(&data_)) scale_ = ScaleTimeGraph(area_, *series);
  const qreal ratio = devicePixelRatioF();
  QImage picture(size() * ratio, QImage::Format_RGB32);
  if (picture.isNull()) {
    picture_ = QImage();
    if (!size().isEmpty() && !setupFailed_) {
      setupFailed_ = true;
      ShowError(ui_, "Window setup", GraphCaption(kind_));
    }
    return;
  }
  picture.setDevicePixelRatio(ratio);
  picture.fill(palette().color(QPalette::Base));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (const auto* series = std::get_if<SecondSeries>(&data_)) {
    DrawTimeGraph(painter, *series);
  } else {
    DrawPolar(painter, std::get<std::vector<PolarSample>>(data_));
  }
  painter.end();
  picture_ = std::move(picture);
  update();
}

void GraphWindow::DrawTimeGraph(QPainter& painter, const SecondSeries& series) const {
  painter.setPen(QPen(AxisColour(), 0));
  for (const PixelLine& line : TimeAxes(area_, scale_)) painter.drawLine(Line(line));
  for (const PixelLine& line : TimeTicks(area_, scale_)) painter.drawLine(Line(line));
  QPolygon curve;
  for (const PixelPoint& vertex : TimeCurve(area_, scale_, series)) curve << QPoint(vertex.x, vertex.y);
  painter.setPen(QPen(palette().color(QPalette::Text), 0));
  painter.drawPolyline(curve);
  const int labelHeight = std::max(kLabelHeight, fontMetrics().height());
  DrawTextBox(painter, 0, labelHeight, Text(GreatestLabel(series)));
  DrawTextBox(painter, labelHeight, labelHeight, Text(LeastLabel(series)));
}

void GraphWindow::DrawPolar(QPainter& painter, const std::vector<PolarSample>& samples) const {
  painter.setPen(QPen(AxisColour(), 0));
  for (const PixelLine& line : PolarAxes(area_)) painter.drawLine(Line(line));
  for (const PixelLine& line : PolarTicks(area_)) painter.drawLine(Line(line));
  painter.setPen(QPen(palette().color(QPalette::Text), 0));
  for (const PolarSample& sample : samples) {
    if (const std::optional<PixelPoint> dot = PolarDot(area_, sample)) painter.drawPoint(dot->x, dot->y);
  }
}

void GraphWindow::DrawTextBox(QPainter& painter, int top, int height, const QString& text) const {
  const QRect box(area_.leftMargin + kBoxLeft, top, kBoxRight - kBoxLeft, height);
  painter.fillRect(box, palette().color(QPalette::Base));
  painter.setPen(palette().color(QPalette::Text));
  painter.setFont(font());
  painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void GraphWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), palette().color(QPalette::Base));
    return;
  }
  painter.drawImage(0, 0, picture_);
  if (!readout_.isEmpty()) {
    // The readout box sits 5 to 25 pixels above the bottom, taller only when the font needs it.
    const int boxHeight = std::max(20, fontMetrics().height());
    DrawTextBox(painter, height() - 5 - boxHeight, boxHeight, readout_);
  }
}

void GraphWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (const auto* series = std::get_if<SecondSeries>(&data_)) {
    readout_ = Text(TimeReadout(kind_, *series, area_, scale_, at.x(), at.y()));
  } else {
    readout_ = Text(PolarReadout(area_, at.x(), at.y()));
  }
  update();
}

}  // namespace trelvik
