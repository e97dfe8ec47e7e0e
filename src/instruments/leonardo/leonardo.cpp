#include "instruments/leonardo/leonardo.hpp"

#include "instruments/leonardo/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kLeonardoCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Leonardo, leonardo::DownloadTrackLog},
    {AccessFunction::DownloadFlightList, ProtocolType::Leonardo, leonardo::DownloadFlightList},
    {AccessFunction::DownloadWaypoints, ProtocolType::Leonardo, leonardo::DownloadWaypoints},
    {AccessFunction::UploadWaypoints, ProtocolType::Leonardo, leonardo::UploadWaypoints},
};

}  // namespace

const InstrumentDriver kLeonardoDriver{"leonardo", kLeonardoCells};

}  // namespace trelvik
