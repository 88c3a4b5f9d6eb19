// The channel file of a common open-source programming tool for radios: a header row with
// Location, Frequency, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity,
// RxDtcsCode, CrossMode, Mode and more. Its first 16 rows become channels 1 to 16.
#pragma once

#include <string>
#include <vector>

#include "model/channels/channel_csv.h"
#include "model/channels/csv.h"

namespace qm54 {

// Whether a header row is that tool's.
bool IsForeignHeader(const std::vector<std::string>& header);

// Maps records (the header first) onto a copy of result.Channels: frequency, duplex and offset
// give the receive and transmit frequency, the tone mode the CTCSS or DCS of slot 0, FM and NFM
// wide and narrow. A column or value with no place here goes to result.Report; a row whose
// frequency does not fit leaves its channel as it was.
void ImportForeignRows(const std::vector<CsvRecord>& records, const TCEmem& emem, ChannelImport& result);

}  // namespace qm54
