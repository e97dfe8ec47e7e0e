#pragma once
// IGC file names: the long and short forms of the IGC rules for files this
// program encodes and for raw files an instrument delivered, and the lower-case
// names of the batch run. The flight number of the day is 1..35.
#include <string>

#include "records/track_time.hpp"

namespace trelvik {

// 0..9 as the digits, 10..35 as A..Z; '0' for anything outside 0..35.
char IgcDigit(int value);

// "%d-%02d-%02d-XTV-%s-%02d.igc"
std::string IgcLongName(TrackTime firstFix, const std::string& serial, int flightNumber);
// "%d-%02d-%02d-%s-%s-%02d.igc" with the maker code and serial of the raw file
std::string IgcRawLongName(TrackTime firstFix, const std::string& maker, const std::string& serial, int flightNumber);
// "%d%c%cX%s%c.igc": year mod 10, month, day and flight number as IgcDigit
std::string IgcShortName(TrackTime firstFix, const std::string& serial, int flightNumber);

// Batch run: "%d-%02d-%02d-xtv-%s-%02d.igc" for an encoded file (serial "000"),
// "%d-%02d-%02d-xxx-%s-%02d.igc" for a raw instrument file.
std::string IgcBatchName(TrackTime firstFix, const std::string& serial, int flightNumber, bool rawFile);

}  // namespace trelvik
