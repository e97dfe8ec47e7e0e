#pragma once
// One QApplication for the whole test binary, on the offscreen platform.
#include <QApplication>
#include <QWidget>
#include <functional>

namespace trelvik::testing {

QApplication& Application();

// Runs `act` on the next modal widget that opens (a box or dialog of the code
// under test), from the event loop that widget runs. `act` must close it.
void WhenModalOpens(std::function<void(QWidget&)> act);

}  // namespace trelvik::testing
