#pragma once
// The SHA-1 compression function on one block of sixteen message words, in
// portable code and with the processor's SHA instructions where it has them.
// The words are already packed (see sha1.hpp for how bytes become words).
#include <cstdint>

namespace trelvik {

using Sha1Chain = uint32_t[5];
using Sha1Block = uint32_t[16];

void Sha1CompressPortable(Sha1Chain& chain, const Sha1Block& words);

// True when this processor executes the SHA extensions (x86 SHA-NI with SSE4.1).
bool Sha1InstructionsAvailable();

// Only to be called when Sha1InstructionsAvailable() said so.
void Sha1CompressWithInstructions(Sha1Chain& chain, const Sha1Block& words);

// The instructions when the processor has them, the portable code otherwise.
void Sha1Compress(Sha1Chain& chain, const Sha1Block& words);

}  // namespace trelvik
