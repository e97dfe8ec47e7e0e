#include "automation/batch_headless.hpp"

#include "access/posix_serial_link.hpp"
#include "automation/batch_headless_run.hpp"
#include "instruments/protocol_table.hpp"
#include "records/track_stores.hpp"

namespace trelvik {

int RunHeadlessCommandLine(const CommandLineJob& job, HeadlessUserInterface& console, const Settings& settings,
                           PilotList* pilots) {
  PilotList ownList;
  JobTable table;
  // A driver whose cells clash is a fault of the build; the others still serve.
  (void)RegisterInstruments(table);
  PosixLinkOpener linkOpener;
  ConsoleTrackListChooser chooser(console.Out(), console.Err(), console.In(), console.Interactive());
  AirspaceList airspace;
  return RunHeadlessBatch(job,
                          {console, table, linkOpener, &chooser, TrackStores::Instance().Log(),
                           TrackStores::Instance().Waypoints(), airspace, settings,
                           pilots != nullptr ? pilots : &ownList});
}

}  // namespace trelvik
