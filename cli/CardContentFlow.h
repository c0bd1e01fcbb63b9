// --full: the full read after the dialog's read.
#pragma once
#include <optional>

#include "card/ReceivedFiles.h"
#include "sim/content/CardContent.h"
#include "ui/logic/MainDialogLogic.h"
#include "ui/logic/MainView.h"

// When nothing interrupted the dialog's read (`interruption` 0), reads the
// whole card of reader `readerIndex` into `content`: after a read that left
// the card connected, its GSM files (asking only for what the dialog's read,
// `received`, lacks) and then its UICC side; after "Incompatible card"
// (`outcome`), the card is connected again and read as a UICC, PIN1 asked
// for through `view` with the dialog's prompt. `content` stays empty when
// the full read did not run or found nothing to read. Returns the
// interruption after it: `interruption` unchanged, or the PC/SC error that
// stopped the full read.
long ReadCardContentAfterConnect(const MainDialogLogic& logic, IMainView& view, ConnectOutcome outcome,
                                 unsigned readerIndex, long interruption, ReceivedFiles& received,
                                 std::optional<CardContent>& content);

// Whether `content` is a card only the UICC read could read (a USIM-only
// card that the dialog found incompatible).
bool IsUiccOnlyRead(const std::optional<CardContent>& content);
