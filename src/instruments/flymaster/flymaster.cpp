#include "instruments/flymaster/flymaster.hpp"

#include "instruments/flymaster/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kFlymasterCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Flymaster, flymaster::DownloadTrackLog},
    {AccessFunction::DownloadFlightList, ProtocolType::Flymaster, flymaster::DownloadFlightList},
    {AccessFunction::DownloadWaypoints, ProtocolType::Flymaster, flymaster::DownloadWaypoints},
    {AccessFunction::UploadWaypoints, ProtocolType::Flymaster, flymaster::UploadWaypoints},
    {AccessFunction::UploadPilotName, ProtocolType::Flymaster, flymaster::SendSettings},
};

}  // namespace

const InstrumentDriver kFlymasterDriver{"flymaster", kFlymasterCells};

}  // namespace trelvik
