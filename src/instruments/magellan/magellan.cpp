#include "instruments/magellan/magellan.hpp"

#include "instruments/magellan/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kMagellanCells[] = {
    {AccessFunction::DownloadWaypoints, ProtocolType::Magellan, magellan::DownloadWaypoints},
    {AccessFunction::DownloadTrackLog, ProtocolType::Magellan, magellan::DownloadTrackLog},
    {AccessFunction::UploadWaypoints, ProtocolType::Magellan, magellan::UploadWaypoints},
};

}  // namespace

const InstrumentDriver kMagellanDriver{"magellan", kMagellanCells};

}  // namespace trelvik
