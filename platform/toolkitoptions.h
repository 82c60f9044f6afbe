// SPDX-License-Identifier: MIT
#ifndef TOOLKITOPTIONS_H
#define TOOLKITOPTIONS_H

#include <QByteArrayList>

// The toolkit's own command-line options, noted before the toolkit takes them off the
// command line, so that the platform layer can leave alone what the user asked for.
namespace ToolkitOptions {

// Notes the options, as the toolkit will read them.
void note(int argc, char **argv);

// Whether -name or -name=value was given (with one dash or two).
bool given(const char *name);

// The arguments that followed each -name (with one dash or two).
QByteArrayList values(const char *name);

// Where the argument that followed the last -name stands on the command line, or -1.
int lastValueAt(const char *name);

} // namespace ToolkitOptions

#endif // TOOLKITOPTIONS_H
