#include "instruments/dsx/dsx.hpp"

#include "instruments/dsx/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kDsxCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Dsx, dsx::DownloadTrackLog},
    {AccessFunction::UploadPilotName, ProtocolType::Dsx, dsx::WritePilotData},
};

}  // namespace

const InstrumentDriver kDsxDriver{"dsx", kDsxCells};

}  // namespace trelvik
