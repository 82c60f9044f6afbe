// SPDX-License-Identifier: MIT
#include "toolkitoptions.h"

namespace ToolkitOptions {

namespace {

QByteArrayList arguments;

QByteArray option(const char *name)
{
    return QByteArray("-") + name;
}

// The positions in `arguments` of the values that followed each -name.
QList<qsizetype> valuePositions(const char *name)
{
    const QByteArray wanted = option(name);
    QList<qsizetype> found;
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == wanted)
            found << ++i;
    }
    return found;
}

} // namespace

void note(int argc, char **argv)
{
    arguments.clear();
    for (int i = 1; i < argc; ++i) {
        QByteArray argument(argv[i]);
        // The toolkit takes options with one dash or two.
        if (argument.startsWith("--"))
            argument.remove(0, 1);
        arguments << argument;
    }
}

bool given(const char *name)
{
    const QByteArray wanted = option(name);
    for (const QByteArray &argument : std::as_const(arguments)) {
        if (argument == wanted || argument.startsWith(wanted + '='))
            return true;
    }
    return false;
}

QByteArrayList values(const char *name)
{
    QByteArrayList found;
    for (qsizetype i : valuePositions(name))
        found << arguments.at(i);
    return found;
}

int lastValueAt(const char *name)
{
    const QList<qsizetype> found = valuePositions(name);
    // The command line's first argument, the program, is not noted.
    return found.isEmpty() ? -1 : int(found.last()) + 1;
}

} // namespace ToolkitOptions
