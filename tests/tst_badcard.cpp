// SPDX-License-Identifier: MIT
// Every picture the program reads, replaced by something that is not what it expects.
#include "colordialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPixmapCache>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

#include <climits>

using namespace TestSupport;

namespace {

const char paletteFile[] = "color.bmp";

enum class Loads { No, Yes, Either };

} // namespace

Q_DECLARE_METATYPE(Loads)

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

// The same file with its header claiming 30000 x 30000 pixels.
QByteArray claimHugeSize(QByteArray bytes, bool jpeg)
{
    if (!jpeg) {
        qToLittleEndian<qint32>(30000, bytes.data() + 18);
        qToLittleEndian<qint32>(30000, bytes.data() + 22);
        return bytes;
    }
    const qsizetype frame = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (frame >= 0) {
        qToBigEndian<quint16>(30000, bytes.data() + frame + 5);
        qToBigEndian<quint16>(30000, bytes.data() + frame + 7);
    }
    return bytes;
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

QtMessageHandler testHandler = nullptr;

void passImageReaderMessages(QtMsgType type, const QMessageLogContext &context,
                             const QString &message)
{
    if (!context.category || !QByteArray(context.category).startsWith("qt.gui.imageio"))
        testHandler(type, context, message);
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
    void checkPicks(const QString &palettePath, Loads loads);
};

void BadCardTest::initTestCase()
{
    // The image readers report what they cannot read; any other message is a fault.
    testHandler = qInstallMessageHandler(passImageReaderMessages);
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
    QTest::addColumn<bool>("directory");
    QTest::addColumn<Loads>("loads");

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
        const auto row = [&](const char *variant) {
            return &QTest::addRow("%s %s", qPrintable(file), variant);
        };
        *row("missing") << file << QByteArray() << false << Loads::No;
        *row("empty") << file << QByteArray("") << false << Loads::No;
        // A reader may make something of the part that is there.
        *row("truncated") << file << good.left(good.size() / 2) << false << Loads::Either;
        *row("random bytes") << file << noise << false << Loads::No;
        *row("other format") << file << encoded(24, 24, jpeg ? "PNG" : "JPEG") << false
                             << Loads::Yes;
        *row("directory") << file << QByteArray() << true << Loads::No;
        *row("1x1") << file << encoded(1, 1, format) << false << Loads::Yes;
        *row("larger than the screen")
            << file << encoded(2560, 1920, format) << false << Loads::Yes;
        *row("claims 30000x30000") << file << claimHugeSize(good, jpeg) << false << Loads::No;
    }
    const QByteArray small = encoded(100, 60, "BMP");
    QTest::newRow("color.bmp smaller palette")
        << QString::fromLatin1(paletteFile) << small << false << Loads::Yes;
    const QByteArray large = encoded(300, 200, "BMP");
    QTest::newRow("color.bmp larger palette")
        << QString::fromLatin1(paletteFile) << large << false << Loads::Yes;
}

void BadCardTest::startsWithBadFile()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, directory);
    QFETCH(Loads, loads);

    const QString path = cardPath(file);
    QFile::remove(path);
    if (directory) {
        QVERIFY(QDir().mkpath(path));
    } else if (!content.isNull()) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(content), content.size());
    }

    // A picture is decoded whole: the peak may reach the size of the largest one
    // allowed here (2560 x 1920), never what a header merely claims.
    const qint64 maximumGrowthKb = directory || loads != Loads::Yes ? 48 * 1024 : 160 * 1024;
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
            checkPicks(directory ? QString() : path, loads);
        else
            checkIcons(window, file, loads);

        // The program still draws.
        stroke(&window, {{100, 200}, {200, 250}});
        QVERIFY(countPixels(canvasImage(window), qRgb(0, 0, 0)) > 100);
    }
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
// picture reads that pixel, any other leaves the colour as it was.
void BadCardTest::checkPicks(const QString &palettePath, Loads loads)
{
    QPixmap loaded;
    if (!palettePath.isEmpty())
        loaded.load(palettePath);
    const QImage palette = loaded.toImage();
    if (loads != Loads::Either)
        QCOMPARE(!palette.isNull(), loads == Loads::Yes);

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
        const QRgb expected = inside ? palette.pixel(point) : 0;
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
