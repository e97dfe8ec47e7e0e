#pragma once
// "File already exists" for a FlightLog logbook, as a box with the three
// buttons "&Append", "&Overwrite" and "&Cancel"; closing it is Cancel.
#include <memory>
#include <string>

#include "trackfiles/xml_choices.hpp"

class QMessageBox;
class QWidget;

namespace trelvik {

class QtUserInterface;

std::unique_ptr<QMessageBox> BuildLogbookQuestionBox(const std::string& path, QWidget* parent);
ExistingLogbookAnswer LogbookAnswerOf(const QMessageBox& box);
// Asks on the window thread; Cancel once the window has closed.
ExistingLogbookQuestion QtLogbookQuestion(QtUserInterface& qtUi);

}  // namespace trelvik
