// SPDX-License-Identifier: MIT
#include "turnedscreen.h"

#include "turnedcopy.h"

#include <QFile>
#include <QRegularExpression>
#include <QtFbSupport/private/qfbcursor_p.h>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/fb.h>
#include <linux/kd.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

int depthOf(QImage::Format format, const fb_var_screeninfo &info)
{
    switch (format) {
    case QImage::Format_RGB555:
        return 15;
    case QImage::Format_RGB16:
        return 16;
    default:
        return info.transp.length ? 32 : 24;
    }
}

// What the panel measures: as the user said, else as the driver says, else at 100 dots per inch.
QSizeF panelMillimetres(const fb_var_screeninfo &info, QSize asked, QSize pixels)
{
    if (asked.width() > 0 && asked.height() > 0)
        return asked;
    if (info.width > 0 && info.height > 0 && info.width != UINT_MAX && info.height != UINT_MAX)
        return QSizeF(info.width, info.height);
    return QSizeF(pixels) * 25.4 / 100;
}

QSize sizeIn(const QRegularExpressionMatch &match)
{
    return QSize(match.captured(1).toInt(), match.captured(2).toInt());
}

} // namespace

QImage::Format TurnedScreen::pictureFormat(const fb_var_screeninfo &info)
{
    if (info.bits_per_pixel == 32 && info.red.offset == 16 && info.blue.offset == 0)
        return info.transp.length ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (info.bits_per_pixel == 32 && info.red.offset == 0 && info.blue.offset == 16)
        return QImage::Format_RGBX8888;
    if (info.bits_per_pixel == 16 && info.red.offset == 11 && info.blue.offset == 0)
        return QImage::Format_RGB16;
    if (info.bits_per_pixel == 16 && info.red.offset == 10 && info.blue.offset == 0)
        return QImage::Format_RGB555;
    return QImage::Format_Invalid;
}

QRect TurnedScreen::usedArea(const fb_var_screeninfo &info, QRect asked)
{
    const QSize visible(int(info.xres), int(info.yres));
    if (asked.isEmpty())
        return QRect(QPoint(int(info.xoffset), int(info.yoffset)), visible);
    const QSize size = asked.size().boundedTo(visible);
    QPoint at = asked.topLeft();
    if (at.isNull())
        at = QPoint(visible.width() - size.width(), visible.height() - size.height()) / 2;
    at.rx() = qBound(0, at.x(), visible.width() - size.width());
    at.ry() = qBound(0, at.y(), visible.height() - size.height());
    return QRect(at + QPoint(int(info.xoffset), int(info.yoffset)), size);
}

TurnedScreen::TurnedScreen(const QStringList &parameters) : parameters(parameters) {}

TurnedScreen::~TurnedScreen()
{
    delete mCursor;
    if (mapped)
        munmap(mapped, mapped_size);
    if (fb_fd != -1)
        close(fb_fd);
    if (tty_switched)
        ioctl(tty_fd, KDSETMODE, tty_mode);
    if (tty_fd != -1)
        close(tty_fd);
}

bool TurnedScreen::initialize()
{
    static const QRegularExpression fbRx(QStringLiteral("^fb=(.*)$"));
    static const QRegularExpression ttyRx(QStringLiteral("^tty=(.*)$"));
    static const QRegularExpression sizeRx(QStringLiteral("^size=(\\d+)x(\\d+)$"));
    static const QRegularExpression offsetRx(QStringLiteral("^offset=(\\d+)x(\\d+)$"));
    static const QRegularExpression mmRx(QStringLiteral("^mmsize=(\\d+)x(\\d+)$"));
    static const QRegularExpression rotationRx(QStringLiteral("^rotation=(.*)$"));

    QString device;
    QString tty;
    QRect area;
    QSize millimetres;
    int rotation = 0;
    bool switchMode = true;
    for (const QString &parameter : parameters) {
        QRegularExpressionMatch match;
        if (parameter == QLatin1String("nographicsmodeswitch"))
            switchMode = false;
        else if ((match = fbRx.match(parameter)).hasMatch())
            device = match.captured(1);
        else if ((match = ttyRx.match(parameter)).hasMatch())
            tty = match.captured(1);
        else if ((match = sizeRx.match(parameter)).hasMatch())
            area.setSize(sizeIn(match));
        else if ((match = offsetRx.match(parameter)).hasMatch())
            area.moveTopLeft(QPoint(match.captured(1).toInt(), match.captured(2).toInt()));
        else if ((match = mmRx.match(parameter)).hasMatch())
            millimetres = sizeIn(match);
        else if ((match = rotationRx.match(parameter)).hasMatch())
            rotation = qMax(0, PanelTurn::turnOf(match.captured(1).toLatin1()));
    }
    if (device.isEmpty()) {
        device = QStringLiteral("/dev/fb0");
        if (!QFile::exists(device))
            device = QStringLiteral("/dev/graphics/fb0");
        if (!QFile::exists(device)) {
            qWarning("Unable to figure out framebuffer device. Specify it manually.");
            return false;
        }
    }
    if (!openPanel(device, area, millimetres, rotation))
        return false;
    initializeCompositor();
    mCursor = new QFbCursor(this);
    enterGraphicsMode(tty, switchMode);
    return true;
}

bool TurnedScreen::openPanel(const QString &device, QRect area, QSize millimetres, int rotation)
{
    fb_fd = open(QFile::encodeName(device).constData(), O_RDWR | O_CLOEXEC);
    if (fb_fd == -1) {
        qErrnoWarning(errno, "Failed to open framebuffer %s", qPrintable(device));
        return false;
    }
    fb_fix_screeninfo fixed = {};
    fb_var_screeninfo variable = {};
    if (ioctl(fb_fd, FBIOGET_FSCREENINFO, &fixed) != 0 ||
        ioctl(fb_fd, FBIOGET_VSCREENINFO, &variable) != 0) {
        qErrnoWarning(errno, "Failed to read the framebuffer's information");
        return false;
    }
    mFormat = pictureFormat(variable);
    if (mFormat == QImage::Format_Invalid) {
        qWarning("linuxfb: a turned screen needs a framebuffer of 16 or 32 bits a pixel in RGB "
                 "order (this one has %u)",
                 variable.bits_per_pixel);
        return false;
    }
    area = usedArea(variable, area);
    mapped_size = fixed.smem_len;
    void *memory = mmap(nullptr, mapped_size, PROT_READ | PROT_WRITE, MAP_SHARED, fb_fd, 0);
    if (memory == MAP_FAILED) {
        qErrnoWarning(errno, "Failed to mmap framebuffer");
        return false;
    }
    mapped = static_cast<uchar *>(memory);
    const int pixelBytes = QImage::toPixelFormat(mFormat).bitsPerPixel() / 8;
    panel_stride = fixed.line_length;
    panel = mapped + area.y() * panel_stride + area.x() * pixelBytes;
    panel_turn = PanelTurn(rotation, area.size());

    mDepth = depthOf(mFormat, variable);
    mGeometry = QRect(QPoint(0, 0), panel_turn.screenSize());
    mPhysicalSize = panel_turn.toScreen(panelMillimetres(variable, millimetres, area.size()));
    return true;
}

// The console's text and cursor stay off the panel while the program runs.
void TurnedScreen::enterGraphicsMode(const QString &device, bool switchMode)
{
    static const char *const consoles[] = {"/dev/tty0", "/dev/tty", "/dev/console"};
    if (!device.isEmpty()) {
        tty_fd = open(QFile::encodeName(device).constData(), O_RDWR | O_CLOEXEC);
    } else {
        for (const char *console : consoles) {
            if ((tty_fd = open(console, O_RDWR | O_CLOEXEC)) != -1)
                break;
        }
    }
    if (tty_fd == -1) {
        qErrnoWarning(errno, "Failed to open tty");
    } else if (ioctl(tty_fd, KDGETMODE, &tty_mode) == 0 && switchMode && tty_mode != KD_GRAPHICS) {
        // From a remote console the mode cannot be read or set; nothing is lost then.
        tty_switched = ioctl(tty_fd, KDSETMODE, KD_GRAPHICS) == 0;
    }
    // A panel the console blanked stays black without this, with or without a console.
    ioctl(fb_fd, FBIOBLANK, FB_BLANK_UNBLANK);
}

QRegion TurnedScreen::doRedraw()
{
    const QRegion touched = QFbScreen::doRedraw();
    for (const QRect &rect : touched)
        turnedCopy(mScreenImage, rect, panel, panel_stride, panel_turn);
    return touched;
}
