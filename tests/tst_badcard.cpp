// SPDX-License-Identifier: MIT
// Every picture the program reads, replaced by something that is not what it expects.
#include "colordialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPixmapCache>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

#include <climits>
#include <malloc.h>
#include <sys/stat.h>

using namespace TestSupport;

namespace {

const char paletteFile[] = "color.bmp";

enum class Loads { No, Yes, Either };

// What stands at a card path.
enum class Entry { File, Directory, Fifo, DeviceLink, Link };

} // namespace

Q_DECLARE_METATYPE(Loads)
Q_DECLARE_METATYPE(Entry)

namespace {

// Where an icon shows: the tool that fills the size list with it (-1: the start-up lists),
// the list and the item.
struct IconPlace
{
    const char *file;
    int tool;
    bool inToolList;
    int item;
};

const IconPlace iconPlaces[] = {
    {"fm_pen.jpg", -1, true, 0},
    {"fm_line.jpg", -1, true, 1},
    {"fm_rightangle.jpg", -1, true, 2},
    {"fm_rectangle.jpg", -1, true, 3},
    {"fm_paintrectangle.jpg", -1, true, 4},
    {"fm_eraser.jpg", -1, true, 5},
    {"fm_stamp.jpg", -1, true, 6},
    {"fm_range.jpg", -1, true, 7},
    {"fm_thickline.jpg", -1, false, 2},
    {"fm_normalline.jpg", -1, false, 1},
    {"fm_thinline.jpg", -1, false, 0},
    {"fm_paint.jpg", 4, false, 0},
    {"fm_minieraser.jpg", 5, false, 0},
};

QByteArray encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    }
    return image;
}

// The same file with its header claiming 5600 x 5600 pixels: 120 MiB, within the toolkit's
// own limit.
QByteArray claimHugeSize(QByteArray bytes, bool jpeg)
{
    if (!jpeg) {
        qToLittleEndian<qint32>(5600, bytes.data() + 18);
        qToLittleEndian<qint32>(5600, bytes.data() + 22);
        return bytes;
    }
    const qsizetype frame = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (frame >= 0) {
        qToBigEndian<quint16>(5600, bytes.data() + frame + 5);
        qToBigEndian<quint16>(5600, bytes.data() + frame + 7);
    }
    return bytes;
}

// A run-length BMP of 5600 x 5600 pixels whose data is the end-of-picture code alone.
QByteArray runLengthBomb()
{
    QByteArray bytes(14 + 40 + 256 * 4, '\0');
    char *const header = bytes.data();
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<quint32>(quint32(bytes.size() + 2), header + 2);
    qToLittleEndian<quint32>(quint32(bytes.size()), header + 10);
    qToLittleEndian<quint32>(40, header + 14);
    qToLittleEndian<qint32>(5600, header + 18);
    qToLittleEndian<qint32>(5600, header + 22);
    qToLittleEndian<quint16>(1, header + 26);
    qToLittleEndian<quint16>(8, header + 28);
    qToLittleEndian<quint32>(1, header + 30); // 8-bit run-length
    return bytes + QByteArray("\x00\x01", 2);
}

// A small progressive JPEG whose last scan comes a thousand times: each one is decoded over
// the whole picture.
QByteArray repeatedScans()
{
    QImage grey(200, 200, QImage::Format_Grayscale8);
    grey.fill(128);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(grey);
    const qsizetype lastScan = bytes.lastIndexOf(QByteArray("\xff\xda", 2));
    const qsizetype end = bytes.size() - 2;
    return bytes.left(end) + bytes.mid(lastScan, end - lastScan).repeated(1000) + bytes.mid(end);
}

// A 24-bit BMP's rows run from the bottom up: a file cut after some rows holds the bottom
// ones. The rows it lacks show black.
QImage heldRows(const QImage &picture, int rows)
{
    QImage held = picture;
    for (int y = 0; y < picture.height() - rows; ++y) {
        for (int x = 0; x < picture.width(); ++x)
            held.setPixel(x, y, qRgb(0, 0, 0));
    }
    return held;
}

qint64 statusKilobytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).simplified().split(' ').value(0).toLongLong();
    }
    return 0;
}

void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Encoded once: the large pictures take a while to make.
QByteArray encoded(int width, int height, const char *format)
{
    static QHash<QString, QByteArray> cache;
    const QString key =
        QStringLiteral("%1 %2 %3").arg(width).arg(height).arg(QLatin1String(format));
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.insert(key, encode(picture(width, height), format));
    return *found;
}

QIcon iconShowing(Mainwindow &window, const IconPlace &place)
{
    if (place.tool >= 0)
        choose(toolList(window), place.tool);
    QComboBox *list = place.inToolList ? toolList(window) : sizeList(window);
    return list->itemIcon(place.item);
}

} // namespace

class BadCardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { fillCard(); }

    void startsWithBadFile_data();
    void startsWithBadFile();

private:
    void checkIcons(Mainwindow &window, const QString &badFile, Loads loads);
    void checkPicks(const QImage &palette);
};

void BadCardTest::initTestCase()
{
    // Fresh memory holds a pattern rather than zeros, so that a picture showing it differs
    // from one whose missing part was cleared.
    mallopt(M_PERTURB, 0x55);
}

void BadCardTest::init()
{
    failOnWarnings();
    fillCard();
    // Each case is a fresh start: the toolkit would hand out a picture read before from a
    // file of the same name, size and second.
    QPixmapCache::clear();
}

void BadCardTest::startsWithBadFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<Loads>("loads");
    // For the palette: the picture a pick reads.
    QTest::addColumn<QImage>("palette");

    QStringList files;
    for (const IconPlace &place : iconPlaces)
        files << QLatin1String(place.file);
    files << QLatin1String(paletteFile);

    QRandomGenerator random(7);
    for (const QString &file : std::as_const(files)) {
        const bool jpeg = file.endsWith(QLatin1String(".jpg"));
        const char *format = jpeg ? "JPEG" : "BMP";
        const QByteArray good = encoded(jpeg ? 24 : 217, jpeg ? 24 : 172, format);
        QByteArray noise(4096, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        const auto row = [&](const char *variant, const QByteArray &content, Loads loads,
                             Entry entry = Entry::File) {
            const QImage palette =
                !jpeg && loads == Loads::Yes ? QImage::fromData(content) : QImage();
            QTest::addRow("%s %s", qPrintable(file), variant)
                << file << content << entry << loads << palette;
        };
        row("missing", QByteArray(), Loads::No);
        row("empty", QByteArray(""), Loads::No);
        // A reader may make something of the part that is there.
        if (jpeg)
            row("truncated", good.left(good.size() / 2), Loads::Either);
        row("random bytes", noise, Loads::No);
        row("other format", encoded(24, 24, jpeg ? "PNG" : "JPEG"), Loads::Yes);
        row("directory", QByteArray(), Loads::No, Entry::Directory);
        row("FIFO", QByteArray(), Loads::No, Entry::Fifo);
        row("link to a device", QByteArray(), Loads::No, Entry::DeviceLink);
        row("link to a picture", good, Loads::Yes, Entry::Link);
        row("1x1", encoded(1, 1, format), Loads::Yes);
        row("1000x1000 photo", encoded(1000, 1000, "JPEG"), Loads::Yes);
        row("claims 5600x5600", claimHugeSize(good, jpeg), Loads::No);
        row("repeated scans", repeatedScans(), Loads::No);
    }
    const QString palette = QString::fromLatin1(paletteFile);
    const auto row = [&](const char *name, const QByteArray &content, const QImage &picks) {
        QTest::newRow(name) << palette << content << Entry::File
                            << (picks.isNull() ? Loads::No : Loads::Yes) << picks;
    };
    row("color.bmp smaller palette", encoded(100, 60, "BMP"),
        QImage::fromData(encoded(100, 60, "BMP")));
    row("color.bmp larger palette", encoded(300, 200, "BMP"),
        QImage::fromData(encoded(300, 200, "BMP")));
    row("color.bmp run-length claims 5600x5600", runLengthBomb(), QImage());
    // 217 x 172 pixels of 24 bits: rows of 652 bytes after a header of 54.
    const QByteArray good = encoded(217, 172, "BMP");
    row("color.bmp short palette", good.left(54 + 64), heldRows(picture(217, 172), 0));
    row("color.bmp half a palette", good.left(54 + 86 * 652), heldRows(picture(217, 172), 86));
    QImage transparent(217, 172, QImage::Format_ARGB32);
    transparent.fill(qRgba(0, 172, 170, 128));
    row("color.bmp transparent palette", encode(transparent, "PNG"), transparent);
}

void BadCardTest::startsWithBadFile()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(Entry, entry);
    QFETCH(Loads, loads);
    QFETCH(QImage, palette);

    const QString path = cardPath(file);
    QFile::remove(path);
    if (entry == Entry::Directory) {
        QVERIFY(QDir().mkpath(path));
    } else if (entry == Entry::Fifo) {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (entry == Entry::DeviceLink) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (!content.isNull()) {
        const QString written = entry == Entry::Link ? path + QLatin1String(".picture") : path;
        QFile out(written);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(content), content.size());
        if (entry == Entry::Link)
            QVERIFY(QFile::link(written, path));
    }

    // A picture is decoded whole: the peak may reach the size of the largest one allowed
    // (1000 x 1000), never what a header merely claims.
    const qint64 maximumGrowthKb = 48 * 1024;
    resetPeakMemory();
    const qint64 before = statusKilobytes("VmRSS:");
    {
        Mainwindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        colorDialog()->show();
        QVERIFY(QTest::qWaitForWindowExposed(colorDialog()));
        colorDialog()->grab();

        if (file == QLatin1String(paletteFile))
            checkPicks(palette);
        else
            checkIcons(window, file, loads);

        // The program still draws.
        stroke(&window, {{100, 200}, {200, 250}});
        QVERIFY(countPixels(canvasImage(window), qRgb(0, 0, 0)) > 100);
    }
    // Only the image readers were silenced.
    QTest::ignoreMessage(QtWarningMsg, "still heard");
    qWarning("still heard");
    QVERIFY2(
        statusKilobytes("VmHWM:") - before < maximumGrowthKb,
        qPrintable(QStringLiteral("peak grew by %1 kB").arg(statusKilobytes("VmHWM:") - before)));
}

void BadCardTest::checkIcons(Mainwindow &window, const QString &badFile, Loads loads)
{
    const QStringList toolTexts = itemTexts(toolList(window));
    QCOMPARE(toolTexts.size(), 8);
    for (const IconPlace &place : iconPlaces) {
        const QIcon icon = iconShowing(window, place);
        QComboBox *list = place.inToolList ? toolList(window) : sizeList(window);
        QVERIFY(!list->itemText(place.item).isEmpty());
        if (badFile != QLatin1String(place.file)) {
            QVERIFY2(!icon.isNull(), place.file);
        } else if (loads != Loads::Either) {
            QCOMPARE(!icon.isNull(), loads == Loads::Yes);
        }
    }
}

// Touches every pixel of the dialog and a frame around it: a pick inside the palette
// picture reads that pixel's colour as stored, any other leaves the colour as it was.
void BadCardTest::checkPicks(const QImage &palette)
{
    ColorDialog *dialog = colorDialog();
    const QList<int> beyond = {INT_MIN, -1, 217, 300, 172 * 4, INT_MAX};
    QList<QPoint> points;
    for (int y = -2; y < 174; ++y) {
        for (int x = -2; x < 219; ++x)
            points << QPoint(x, y);
    }
    for (int far : beyond)
        points << QPoint(far, 10) << QPoint(10, far) << QPoint(far, far);

    for (const QPoint &point : std::as_const(points)) {
        dialog->red = dialog->green = dialog->blue = -1;
        tap(dialog, point);
        const bool inside = point.x() < 217 && point.y() < 172 && palette.valid(point);
        const QRgb expected = inside ? palette.pixel(point) : 0; // not premultiplied
        const int red = inside ? qRed(expected) : -1;
        const int green = inside ? qGreen(expected) : -1;
        const int blue = inside ? qBlue(expected) : -1;
        if (dialog->red != red || dialog->green != green || dialog->blue != blue) {
            QFAIL(qPrintable(QStringLiteral("pick at (%1, %2) gave (%3, %4, %5)")
                                 .arg(point.x())
                                 .arg(point.y())
                                 .arg(dialog->red)
                                 .arg(dialog->green)
                                 .arg(dialog->blue)));
        }
    }
}

VELLUMIX_TEST_MAIN(BadCardTest)

#include "tst_badcard.moc"
