// SPDX-License-Identifier: MIT
#include "deviceaccess.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QMap>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DeviceAccess {

namespace {

// The group whose members may read and write the device, if its mode lets its group do so.
QByteArray groupOf(const QByteArray &device)
{
    struct stat info = {};
    if (stat(device.constData(), &info) != 0 ||
        (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return {};
    const struct group *entry = getgrgid(info.st_gid);
    return entry ? QByteArray(entry->gr_name) : QByteArray::number(info.st_gid);
}

} // namespace

void reportDenied(const QByteArray &framebuffer)
{
    QByteArrayList devices;
    if (!framebuffer.isEmpty())
        devices << framebuffer;
    const QDir input(QStringLiteral("/dev/input"));
    const QStringList events =
        input.entryList({QStringLiteral("event*")}, QDir::System, QDir::Name);
    for (const QString &event : events)
        devices << QFile::encodeName(input.filePath(event));

    QMap<QByteArray, QByteArrayList> denied;
    for (const QByteArray &device : std::as_const(devices)) {
        if (access(device.constData(), R_OK | W_OK) != 0 && errno == EACCES)
            denied[groupOf(device)] << device;
    }
    for (auto it = denied.cbegin(); it != denied.cend(); ++it) {
        const QByteArray names = it.value().join(", ");
        if (it.key().isEmpty())
            qWarning("No permission to open %s", names.constData());
        else
            qWarning("No permission to open %s: members of the group %s may", names.constData(),
                     it.key().constData());
    }
}

} // namespace DeviceAccess
