#include "instruments/logit/logit.hpp"

#include "instruments/logit/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kLogItCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::LogIt, logit::DownloadTrackLog},
    {AccessFunction::LoggerDataDialog, ProtocolType::LogIt, logit::ShowLoggerData},
    {AccessFunction::EraseLog, ProtocolType::LogIt, logit::EraseLog},
    {AccessFunction::UploadPilotName, ProtocolType::LogIt, logit::WriteOwnerName},
};

}  // namespace

const InstrumentDriver kLogItDriver{"logit", kLogItCells};

}  // namespace trelvik
