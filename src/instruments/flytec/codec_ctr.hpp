#pragma once
// Airspaces in the Flytec/Braeuniger protocol: the $PBRCTRW lines of an upload
// and the interpretation of the $PBRCTR lines of a download.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/ctr_area.hpp"

namespace trelvik::flytec {

struct CtrUploadLine {
  std::string text;  // with checksum and CR LF
  std::chrono::milliseconds pause;  // after sending it
};

struct CtrUpload {
  CtrUploadLine name;    // line 0: name and warning distance
  CtrUploadLine remark;  // line 1: floor remark
  std::vector<std::vector<CtrUploadLine>> segments;  // the lines of each segment
};

// Lines per airspace: 2, 3 per arc, 1 per point or circle.
int CtrLineCount(const CtrArea& area);
// The upload of one airspace. Arcs given by bearings get their end points
// through the UTM zone of the centre.
CtrUpload PBRCTRW(const CtrArea& area);

// Builds the airspace list from the sentences of a $PBRCTR download.
class CtrListBuilder {
 public:
  enum Event {
    kLineTaken = 0,
    kAreaStarted = 1,
    kAreaComplete = 2,
    kListComplete = 3,
  };
  // One framed sentence (from "$" up to the "*"): an Event, or the negative
  // code of the fault.
  int Interpret(std::string_view sentence);
  CtrList& List() { return list_; }
  int CompleteAreas() const { return completeAreas_; }

 private:
  int Segment(const std::vector<std::string_view>& fields, int line);

  CtrList list_;
  int total_ = 0;
  int expectedLine_ = 0;  // 0: a new airspace starts next
  int pendingArc_ = 0;    // 1 after "X", 2 after "T"
  CtrSegment arc_;
  int completeAreas_ = 0;
};

}  // namespace trelvik::flytec
