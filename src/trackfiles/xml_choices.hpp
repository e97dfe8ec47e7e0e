#pragma once
// The dialogs the XML readers and the logbook writer need beyond plain message
// boxes. The window, the headless console and the tests each supply their own;
// an empty function gives the behaviour of a run without a window.
#include <functional>
#include <string>
#include <vector>

namespace trelvik {

// The "Track List" dialog of a file that holds several tracks.
struct TrackListRequest {
  std::string title;       // "Track List"
  std::string prompt;      // "Select one of these tracks"
  std::string columnHead;  // "Date / time"
  std::string okLabel;     // "OK"
  std::string cancelLabel; // "&Cancel" or "Cancel"
  std::vector<std::string> lines;  // the first one is preselected
};
inline constexpr int kTrackListCancelled = -1;    // Cancel or closed
inline constexpr int kTrackListNoSelection = -2;  // OK with no line selected
// Returns the chosen line (0-based), kTrackListCancelled or kTrackListNoSelection.
// Empty: the preselected first line is taken, as OK would.
using FileTrackChooser = std::function<int(const TrackListRequest&)>;

// "Modify waypoint ID": "Modify (-> uppercase or truncate) this ID ?" with the
// name, and the buttons "&Yes", "Yes to &All", "&No (skip)", "&Cancel".
inline constexpr char kModifyIdTitle[] = "Modify waypoint ID";
inline constexpr char kModifyIdText[] = "Modify (-> uppercase or truncate) this ID ?";
enum class ModifyIdAnswer { Yes, YesToAll, No, Cancel };
// Asked with the waypoint's name. Empty: Cancel (the negative answer).
using ModifyIdQuestion = std::function<ModifyIdAnswer(const std::string& name)>;

// "File already exists" for a logbook: "&Append", "&Overwrite", "&Cancel".
enum class ExistingLogbookAnswer { Append, Overwrite, Cancel };
// Asked with the file's path. Empty: Cancel.
using ExistingLogbookQuestion = std::function<ExistingLogbookAnswer(const std::string& path)>;

}  // namespace trelvik
