#include "qt_application.hpp"

#include <QTimer>
#include <memory>

namespace trelvik::testing {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);  // lives until the process ends
  }();
  return *application;
}

void WhenModalOpens(std::function<void(QWidget&)> act) {
  Application();
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(*modal);
  });
  timer->start();
}

}  // namespace trelvik::testing
