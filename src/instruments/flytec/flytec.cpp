#include "instruments/flytec/flytec.hpp"

#include "instruments/flytec/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kFlytecCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Flytec, flytec::DownloadTrackLog},
    {AccessFunction::DownloadFlightList, ProtocolType::Flytec, flytec::DownloadFlightList},
    {AccessFunction::DownloadWaypoints, ProtocolType::Flytec, flytec::DownloadWaypoints},
    {AccessFunction::UploadWaypoints, ProtocolType::Flytec, flytec::UploadWaypoints},
    {AccessFunction::UploadCtr, ProtocolType::Flytec, flytec::UploadCtr},
    {AccessFunction::DownloadCtr, ProtocolType::Flytec, flytec::DownloadCtr},
    {AccessFunction::DownloadTrackLog, ProtocolType::FlytecAllTracks, flytec::DownloadAllTracks},
};

}  // namespace

const InstrumentDriver kFlytecDriver{"flytec", kFlytecCells};

}  // namespace trelvik
