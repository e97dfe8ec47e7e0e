#pragma once
// The 8-bit code page of the older exchange formats (OziExplorer, MapSource,
// FlightLog .dat). Texts inside the program are UTF-8.
#include <string>
#include <string_view>

namespace trelvik {

// UTF-8 text in Windows-1252; a character the code page cannot hold becomes
// "?". Bytes that are not valid UTF-8 are taken as they are.
std::string Utf8ToWindows1252(std::string_view utf8);

// Windows-1252 bytes as UTF-8 (the five unassigned bytes become U+FFFD).
std::string Windows1252ToUtf8(std::string_view bytes);

// Text read from a file: valid UTF-8 stays as it is, anything else is taken
// as Windows-1252.
std::string FileTextToUtf8(std::string_view bytes);

}  // namespace trelvik
