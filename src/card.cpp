// SPDX-License-Identifier: MIT
#include "card.h"

// The build chooses the folder; on the device it is the mounted memory card.
#ifndef VELLUMIX_CARD_DIR
#define VELLUMIX_CARD_DIR "/mnt/card"
#endif

static const char cardDir[] = VELLUMIX_CARD_DIR;

QString cardFile(const char *name)
{
    return QString::fromUtf8(cardDir) + QLatin1Char('/') + QLatin1String(name);
}
