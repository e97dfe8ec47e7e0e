#include "app/window_face.hpp"

#include <QApplication>

#include "records/track_stores.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {

int RunWindowFace(int argc, char** argv, const WindowHooks& hooks) {
  QApplication application(argc, argv);
  QtUserInterface ui;
  WindowStart start;
  int exitCode = 0;
  if (hooks.parse(ui, start, exitCode) < 0) return exitCode;
  ui.SetDialogPosition(start.posX, start.posY);

  MainWindowOptions options;
  options.commandLineJob = start.commandLineJob;
  options.portName = start.portName;
  TrackStores& stores = TrackStores::Instance();
  MainWindow window(stores.Log(), stores.Waypoints(), ui, options);
  if (start.minimised) {
    window.showMinimized();
  } else {
    window.show();
  }
  if (start.commandLineJob) window.SetExitCode(hooks.runJob(ui));
  application.exec();
  return window.ExitCode();
}

}  // namespace trelvik
