#include "instruments/mlr/mlr.hpp"

#include "instruments/mlr/jobs.hpp"

namespace trelvik {
namespace {

// The routines also serve the fast protocol's track download and upload and
// the 38400-baud track protocol; no command starts those cells yet, so they
// are not claimed.
constexpr JobCell kMlrCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Mlr, mlr::DownloadTrackLog},
    {AccessFunction::DownloadWaypoints, ProtocolType::Mlr, mlr::DownloadWaypoints},
    {AccessFunction::DownloadWaypoints, ProtocolType::MlrFast, mlr::DownloadWaypoints},
    {AccessFunction::UploadWaypoints, ProtocolType::Mlr, mlr::UploadWaypoints},
};

}  // namespace

const InstrumentDriver kMlrDriver{"mlr", kMlrCells};

}  // namespace trelvik
