#include "instruments/iqbasic/iqbasic.hpp"

#include "instruments/iqbasic/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kIqBasicCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::IqBasic, iqbasic::DownloadTrackLog},
    {AccessFunction::DownloadFlightList, ProtocolType::IqBasic, iqbasic::DownloadFlightList},
    {AccessFunction::DownloadWaypoints, ProtocolType::IqBasic, iqbasic::DownloadWaypoints},
    {AccessFunction::UploadWaypoints, ProtocolType::IqBasic, iqbasic::UploadWaypoints},
};

}  // namespace

const InstrumentDriver kIqBasicDriver{"iqbasic", kIqBasicCells};

}  // namespace trelvik
