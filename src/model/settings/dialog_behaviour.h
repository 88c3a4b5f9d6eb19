// What the controls of a settings dialog do to each other while the user edits, beyond each
// control's own rule: the signalling type's exclusive choice and its greyed-out fields, and the
// 5-tone table's set list, which loads a set when chosen and follows the sixteen fields when they
// change. The Qt dialogs call these on every change and `qm54 set` calls them as it types, so the
// window and the tool cannot drift apart.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/settings/dialog_rows.h"
#include "model/image/emem.h"
#include "model/settings/operating_mode.h"

namespace qm54 {

// The user chose an entry of the list of row (not a load): the other signalling list turns "off";
// the 5-tone set list loads its set into the sixteen fields.
void UserChoseListEntry(const DialogTable& dialog, DialogState& state, int row);

// The text an edit field of row shows once text is committed or left: the field's rule, and for
// the 5-tone fields the EIA exceptions of the set showing.
std::string CommittedText(const DialogTable& dialog, const DialogState& state, int row, std::string_view text,
                          char separator = '.');
// The field's text once committed, and what follows (the 5-tone set list shows the matching set).
void CommitRowText(const DialogTable& dialog, DialogState& state, int row, std::string_view text,
                   char separator = '.');
// The text typing starts from in row's field: the bare number (a text field keeps its text).
std::string TypingText(const DialogTable& dialog, const DialogState& state, int row, std::string_view text,
                       char separator = '.');

// Whether row's control can be edited: the mode's rights, then the signalling dependency rule
// (mark and space time need DTMF or 5-tone on, the repeat code 5-tone on).
bool RowEnabled(const DialogTable& dialog, const DialogState& state, int row, OperatingMode mode);
// Why the dependency rule greys row out ("DTMF and 5-Tone are off"), or empty when it does not.
std::string_view GreyedBecause(const DialogTable& dialog, const DialogState& state, int row);

// The default IF of a band in 10 kHz units (VHF 21.40 MHz, UHF 73.35 MHz).
int32_t BandDefaultIf(int band);
// The hardware dialog's band list and IF field (-1 in another dialog).
int BandRow(const DialogTable& dialog);
int IntermediateFreqRow(const DialogTable& dialog);

// The hardware dialog's band question answered Yes after the band list was set to another band:
// the IF field shows that band's default IF.
void AnswerBandQuestionYes(const DialogTable& dialog, DialogState& state, char separator = '.');

// The hardware dialog opened over emem, band picked and the question answered Yes, OK, and what
// the main window does after it: the band, its default IF and the band's defaults (every
// channel's frequencies, the alignment points and values). A band emem already has, or no band
// (not 0 or 1), changes nothing.
void ChangeBandAsHardwareOk(TCEmem& emem, int band);

// The dialog's own part of showing (after every row was loaded from emem) and of OK (before the
// rows are written, and after).
void ShowBehaviour(const DialogTable& dialog, const TCEmem& emem, DialogState& state);
void BeforeOk(const DialogTable& dialog, DialogState& state);
void AfterOk(const DialogTable& dialog, TCEmem& emem);

}  // namespace qm54
