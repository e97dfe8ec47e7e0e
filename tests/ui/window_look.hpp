#pragma once
// The looks the window tests put the window in: a dark Fusion palette, and a
// pause that keeps a scene on screen for a screenshot.
//
// With TRELVIK_SCREENSHOT_HOLD_MS set, the scene tests keep their windows on
// screen that long (for screenshots under a real display); with
// TRELVIK_DARK_PALETTE set they use the dark palette throughout.
#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

namespace trelvik::testing {

inline QPalette DarkPalette() {
  QPalette p;
  const QColor window(45, 45, 48), base(30, 30, 30), text(230, 230, 230), disabled(130, 130, 130);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
  // The bevel roles too, or frames keep the light theme's white edges.
  p.setColor(QPalette::Light, QColor(75, 75, 80));
  p.setColor(QPalette::Midlight, QColor(62, 62, 66));
  p.setColor(QPalette::Mid, QColor(55, 55, 58));
  p.setColor(QPalette::Dark, QColor(25, 25, 27));
  p.setColor(QPalette::Shadow, QColor(12, 12, 12));
  p.setColor(QPalette::ToolTipBase, window);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, Qt::red);
  p.setColor(QPalette::Link, QColor(110, 170, 255));
  p.setColor(QPalette::Highlight, QColor(38, 100, 180));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::PlaceholderText, disabled);
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, disabled);
  }
  return p;
}

// Applies a dark Fusion look for the test's life and restores the old one.
class DarkLook {
 public:
  DarkLook() : palette_(QApplication::palette()), style_(QApplication::style()->name()) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(DarkPalette());
  }
  ~DarkLook() {
    QApplication::setStyle(QStyleFactory::create(style_));
    QApplication::setPalette(palette_);
  }

 private:
  QPalette palette_;
  QString style_;
};

inline double Luminance(QRgb c) { return 0.2126 * qRed(c) + 0.7152 * qGreen(c) + 0.0722 * qBlue(c); }

inline void HoldForScreenshot() {
  const int ms = qEnvironmentVariableIntValue("TRELVIK_SCREENSHOT_HOLD_MS");
  if (ms > 0) QTest::qWait(ms);
}

}  // namespace trelvik::testing
