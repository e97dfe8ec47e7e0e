#pragma once
// The one way a job writes a file of its own (the all-tracks logbook): the
// user behind the job names it, confirms an overwrite, and the file is
// replaced atomically. Drivers build the bytes; they never touch a file.
#include <string>
#include <string_view>

#include "access/gps_job.hpp"

namespace trelvik {

struct JobFileSave {
  std::string_view title;         // the save dialog's title, and the caption of its messages
  std::string_view typeName;      // "FlightLog files"
  std::string_view extension;     // ".kml", added to a name without one
  std::string_view writtenCaption;  // caption of "File written"
};

// Shows the save dialog in `folder` (which then holds the chosen folder, for
// the starter to remember) and writes `text`. Reports "File written" and shows
// the path on the product line. 0 when written; -1 when nobody can be asked
// (a TCP session), the user cancelled or kept an existing file, or the write
// failed (reported).
[[nodiscard]] int SaveJobFile(GpsJob& job, const JobFileSave& save, std::string& folder, std::string_view text);

}  // namespace trelvik
