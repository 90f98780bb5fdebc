#pragma once
// The counting rule of the sensor check (frmKestoDiag): every read of the
// decoder port that begins with a car ID counts one hit for that ID, however
// much text the read holds. Records that begin with "@" start with no number
// and count for nobody. Kept free of windows so the rule is tested on its own.

#include "base/decoder_port.h"

#include <functional>
#include <string_view>

namespace kesto {

// The ID a read counts for: the number at its start (after blanks and the
// line end of an earlier detection), rounded to a whole number (halves to the
// even number), when that is 1..14; otherwise 0.
int SensorCheckId(std::string_view read);

// One poll of the sensor check: while the port reports waiting input, reads
// all of it as one text and calls onHit with the ID it counts for (reads that
// count for nobody are dropped silently). Returns the number of hits.
int PollSensorCheck(DecoderPort& port, const std::function<void(int id)>& onHit);

} // namespace kesto
