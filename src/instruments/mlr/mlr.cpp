#include "instruments/mlr/mlr.hpp"

#include "instruments/mlr/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kMlrCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Mlr, mlr::DownloadTrackLog},
    {AccessFunction::DownloadTrackLog, ProtocolType::MlrFast, mlr::DownloadTrackLog},
    {AccessFunction::DownloadTrackLog, ProtocolType::MlrTrackOnly, mlr::DownloadTrackLog},
    {AccessFunction::DownloadWaypoints, ProtocolType::Mlr, mlr::DownloadWaypoints},
    {AccessFunction::DownloadWaypoints, ProtocolType::MlrFast, mlr::DownloadWaypoints},
    {AccessFunction::UploadWaypoints, ProtocolType::Mlr, mlr::UploadWaypoints},
    {AccessFunction::UploadWaypoints, ProtocolType::MlrFast, mlr::UploadWaypoints},
};

}  // namespace

const InstrumentDriver kMlrDriver{"mlr", kMlrCells};

}  // namespace trelvik
