#pragma once
// "File already exists" for a FlightLog logbook: append the flight, overwrite
// the file, or cancel.
#include <QWidget>

#include "trackfiles/xml_choices.hpp"

namespace trelvik {

// The question as a window box over `parent`; closing it is Cancel.
ExistingLogbookQuestion WindowLogbookQuestion(QWidget* parent);

}  // namespace trelvik
