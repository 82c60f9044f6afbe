// SPDX-License-Identifier: MIT
#ifndef CARD_H
#define CARD_H

#include <QString>

// The path of a file on the memory card.
QString cardFile(const char *name);

#endif // CARD_H
