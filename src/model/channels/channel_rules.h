// What a change of one setting of a channel implies for its others. The channel grid runs these
// after an edit; an import runs them on the channels it changes. They work on the channel's
// values only, never on a cell text.
#pragma once

#include "model/image/channel.h"
#include "model/image/emem.h"

namespace qm54 {

// The receive frequency was changed: the transmit frequency becomes a copy of it, an inhibited
// transmit is allowed again (with the transmit settings it kept), the clock shift follows the
// 4 MHz rule of the new frequency, and the split flags are derived again.
void ApplyRxFrequencyChange(TChannel& ch);

// The transmit frequency was changed: the split flags are derived again.
void ApplyTxFrequencyChange(TChannel& ch);

// CloseSplit (Tx and Rx less than 50 kHz apart) and TxAboveRx from the two frequencies.
void DeriveSplitFlags(TChannel& ch);

// Switches channel index (0..15) between programmed and blank, keeping its other settings.
// Channel 1 (index 0) is never switched off. Returns whether InUse changed.
bool SetInUse(TChannel& ch, int index, bool inUse);

// The grid's toggle of the in-use flag: channels 2 to 16 switch between programmed and blank;
// channel 1 stays as it is. Returns whether InUse changed.
bool ToggleInUse(TChannel& ch, int index);

// Inhibits the transmit (1) or allows it again (0). The transmit frequency, tones and settings
// stay as they are while inhibited, so allowing the transmit again brings them back.
void SetTxInhibit(TChannel& ch, bool inhibited);

// The channel step was changed: every channel's frequencies move to the nearest point of the new
// raster (SnapFrequency) and are kept to whole kHz, as the channel grid shows and stores them. An
// inhibited transmit side keeps its frequency, which the grid does not show.
void MoveChannelsOntoRaster(TCEmem& emem);

}  // namespace qm54
