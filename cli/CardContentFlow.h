// --full: the full read after the dialog's read.
#pragma once
#include <optional>

#include "card/ReceivedFiles.h"
#include "sim/content/CardContent.h"
#include "ui/logic/MainDialogLogic.h"

// When the dialog's read left the card connected and nothing interrupted it
// (`interruption` 0), reads the whole card of reader `readerIndex` into
// `content`, asking only for what the dialog's read (`received`) lacks.
// Returns the interruption after it: `interruption` unchanged, or the PC/SC
// error that stopped the full read.
long ReadCardContentAfterConnect(const MainDialogLogic& logic, unsigned readerIndex, long interruption,
                          const ReceivedFiles& received, std::optional<CardContent>& content);
