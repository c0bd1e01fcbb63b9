// The UICC part of velmora-cli --full: finds out whether the card is a
// UICC (SELECT of the MF with class 00 answered by an FCP) and reads it
// through its USIM application: EF_DIR, ICCID, the USIM's PINs, IMSI,
// service tables, MSISDN, SPN, FDN, SDN, SMS, and the local and global
// phone books. Read-only, as the rest of the card layer.
#pragma once
#include "UiccPinCheck.h"
#include "sim/content/CardContent.h"

// Runs after the dialog's read on a connected card. `gsmAnswered`: that read
// found a GSM SIM (class A0), so a card that keeps to class A0 until a
// reset is reset once before it is asked again. Sets content.kind, and
// content.uicc for a UICC. Returns 0, or the transport error that stopped
// the read; what was read before stays.
LONG ReadUicc(CCardReader& reader, bool gsmAnswered, UiccPinSource pins, CardContent& content);
