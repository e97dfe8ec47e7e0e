#pragma once
// The headless run with every service passed in, so that tests can run it
// against scripted links and their own stores.
#include "access/job_table.hpp"
#include "access/link.hpp"
#include "access/track_list.hpp"
#include "airspace/airspace_list.hpp"
#include "base/user_interface.hpp"
#include "competition/pilot_list.hpp"
#include "records/track_log.hpp"
#include "settings/settings.hpp"

namespace trelvik {

struct CommandLineJob;

struct HeadlessBatchServices {
  UserInterface& ui;
  const JobTable& table;
  LinkOpener& linkOpener;
  TrackListChooser* trackListChooser;  // null: a listed instrument's first flight is not asked for
  TrackLog& log;
  WaypointList& waypoints;
  AirspaceList& airspace;
  Settings settings;
  PilotList* pilots = nullptr;  // the competition download's list; null: none
};

// Starts the job, waits for its transfer to end, runs the continuation and
// returns the failure flag.
[[nodiscard]] int RunHeadlessBatch(const CommandLineJob& job, HeadlessBatchServices services);

}  // namespace trelvik
