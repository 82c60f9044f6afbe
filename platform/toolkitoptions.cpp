// SPDX-License-Identifier: MIT
#include "toolkitoptions.h"

namespace ToolkitOptions {

namespace {

QByteArrayList arguments;

QByteArray option(const char *name)
{
    return QByteArray("-") + name;
}

} // namespace

int &note(int &argc, char **argv)
{
    arguments.clear();
    for (int i = 1; i < argc; ++i) {
        QByteArray argument(argv[i]);
        // The toolkit takes options with one dash or two.
        if (argument.startsWith("--"))
            argument.remove(0, 1);
        arguments << argument;
    }
    return argc;
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
    const QByteArray wanted = option(name);
    QByteArrayList found;
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == wanted)
            found << arguments.at(++i);
    }
    return found;
}

} // namespace ToolkitOptions
