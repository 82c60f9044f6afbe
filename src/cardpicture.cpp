// SPDX-License-Identifier: MIT
#include "cardpicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bounds for one picture, measured on the device's class of machine (2 cores), so that a
// card's fourteen pictures start within a second whatever they hold:
// - 1000 x 1000 pixels, a large photo: 3.8 MiB decoded, about 25 ms as a plain JPEG. A header
//   may claim any size, and a run-length BMP needs no data for what it claims.
// - 1 MiB of file: a JPEG photo of that size takes a few hundred kB, a BMP of the screen 0.9 MB.
// - a progressive JPEG decodes the whole picture once per scan, and its coded data costs about
//   as much a byte as ten pixels of a scan: 16 million such units take about 40 ms. An
//   ordinary colour one has 10 scans and a thumbnail (about 35 ms at 1000 x 1000), a CMYK one
//   18; repeated scans made a 1.6 MB file take 37 s.
const qint64 maximumFileSize = 1024 * 1024;
const qint64 maximumPixels = 1000 * 1000;
const qint64 maximumJpegCost = 16 * maximumPixels;

// Reads the whole file, only if it is a regular one: a FIFO or a device could block the
// start-up for ever, or never end.
QByteArray readRegularFile(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0 ||
        status.st_size > maximumFileSize) {
        ::close(fd);
        return QByteArray();
    }
    // The file takes the descriptor over and closes it.
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return QByteArray();
    return file.read(maximumFileSize);
}

// A scan begins with its marker; the coded data never holds those two bytes.
qint64 jpegScans(const QByteArray &bytes)
{
    static const QByteArray startOfScan("\xff\xda", 2);
    qint64 scans = 0;
    for (qsizetype at = bytes.indexOf(startOfScan); at >= 0;
         at = bytes.indexOf(startOfScan, at + 2))
        ++scans;
    return scans;
}

// The image readers tell what they cannot read, some through their own channels; a broken
// picture is to stay silent. Only messages from the reading thread, only while it reads.
QtMessageHandler otherHandler = nullptr;
Qt::HANDLE readingThread = nullptr;

void dropReaderMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (QThread::currentThreadId() != readingThread && otherHandler)
        otherHandler(type, context, text);
}

class SilentReading
{
public:
    SilentReading()
    {
        readingThread = QThread::currentThreadId();
        otherHandler = qInstallMessageHandler(dropReaderMessages);
    }
    ~SilentReading()
    {
        qInstallMessageHandler(otherHandler);
        readingThread = nullptr;
    }
    Q_DISABLE_COPY(SilentReading)
};

} // namespace

QImage readCardPicture(const QString &path)
{
    QByteArray bytes = readRegularFile(path);
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const SilentReading silent;
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!reader.canRead() || size.isEmpty())
        return QImage();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > maximumPixels)
        return QImage();
    if (reader.format() == "jpeg" &&
        jpegScans(bytes) * pixels + 10 * bytes.size() > maximumJpegCost)
        return QImage();

    // A reader leaves what a short file lacks as the memory held; cleared first, that part
    // is one colour on every run. A reader that cannot say its pixel format beforehand (GIF,
    // ICO) or puts the picture elsewhere is not trusted.
    QImage picture(size, reader.imageFormat());
    if (picture.isNull())
        return QImage();
    picture.fill(0);
    const uchar *const cleared = picture.constBits();
    if (!reader.read(&picture) || picture.constBits() != cleared)
        return QImage();
    return picture;
}

QRgb pictureColor(const QImage &picture, int x, int y)
{
    // pixel() hands some formats over premultiplied; the colour is the one stored.
    return picture.pixelColor(x, y).rgb();
}
