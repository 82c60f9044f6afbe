// SPDX-License-Identifier: MIT
// The real program on a virtual X screen, driven by synthetic X input and checked on
// screenshots. Without the X tools the whole test is reported as skipped.
#include "closerequest.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <utility>

namespace {

// Told to CTest as the test's SKIP_RETURN_CODE.
const int skipped = 77;

const QRgb band = qRgb(100, 150, 200);
const QRgb white = qRgb(255, 255, 255);
const QRgb black = qRgb(0, 0, 0);

// Under the sanitizer or a memory checker the program starts many times slower.
const int patience = 60000; // ms

QString screen;

QProcessEnvironment onScreen()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), screen);
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return environment;
}

// A test that aborts (its watchdog, a crash) takes the server and the program with it.
void endWithTest(QProcess *process)
{
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

QByteArray run(const QString &program, const QStringList &arguments, int timeout = patience)
{
    QProcess process;
    process.setProcessEnvironment(onScreen());
    process.start(program, arguments);
    if (!process.waitForFinished(timeout)) {
        process.kill();
        process.waitForFinished();
    }
    return process.readAllStandardOutput();
}

QByteArray xdotool(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

// xwd's format: a header of big-endian 32-bit fields, the window name, the colour map,
// then the pixels in the server's byte order.
QImage readXwd(const QByteArray &dump)
{
    enum {
        headerSize,
        depth = 3,
        width,
        height,
        byteOrder = 7,
        bitsPerPixel = 11,
        bytesPerLine,
        redMask = 14,
        greenMask,
        blueMask,
        colourCount = 19,
        fieldCount = 25
    };
    if (dump.size() < fieldCount * 4)
        return QImage();
    const auto field = [&](int index) {
        return qFromBigEndian<quint32>(dump.constData() + index * 4);
    };
    if (field(bitsPerPixel) != 32 || field(depth) != 24 || field(redMask) != 0xff0000 ||
        field(greenMask) != 0xff00 || field(blueMask) != 0xff)
        return QImage();
    const qsizetype start = qsizetype(field(headerSize)) + qsizetype(field(colourCount)) * 12;
    const int w = int(field(width)), h = int(field(height));
    const qsizetype stride = field(bytesPerLine);
    if (dump.size() < start + stride * h)
        return QImage();
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const char *line = dump.constData() + start + y * stride;
        for (int x = 0; x < w; ++x) {
            const quint32 pixel = field(byteOrder) == 0 ? qFromLittleEndian<quint32>(line + x * 4)
                                                        : qFromBigEndian<quint32>(line + x * 4);
            image.setPixel(x, y, pixel | 0xff000000);
        }
    }
    return image;
}

QImage screenshot()
{
    return readXwd(
        run(QStringLiteral("xwd"), {QStringLiteral("-root"), QStringLiteral("-silent")}));
}

// Takes screenshots until one satisfies the condition; returns the last one.
QImage waitForScreen(const std::function<bool(const QImage &)> &condition)
{
    QElapsedTimer timer;
    timer.start();
    QImage shot = screenshot();
    while (!condition(shot) && timer.elapsed() < patience) {
        QThread::msleep(100);
        shot = screenshot();
    }
    return shot;
}

QString colourText(QRgb colour)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour));
}

int distance(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
}

// Where the palette's colour is farthest from the canvas's white, the first drawing colour's
// black and the button's own face, whatever picture the card holds: a stroke or a button
// that never took it cannot pass for one that did.
QPoint distinctColour(const QImage &palette, QRgb face)
{
    QPoint best;
    int bestDistance = -1;
    for (int y = 0; y < palette.height(); ++y) {
        for (int x = 0; x < palette.width(); ++x) {
            const QRgb colour = palette.pixel(x, y);
            const int d = std::min(
                {distance(colour, white), distance(colour, black), distance(colour, face)});
            if (d > bestDistance) {
                bestDistance = d;
                best = QPoint(x, y);
            }
        }
    }
    return best;
}

QStringList numbers(std::initializer_list<int> values)
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts;
}

QStringList press(QPoint point)
{
    return QStringList{QStringLiteral("mousemove")} + numbers({point.x(), point.y()}) +
           QStringList{QStringLiteral("mousedown"), QStringLiteral("1")};
}

// The whole stroke in one burst: every move goes to the server before the program reads any.
void stroke(const QList<QPoint> &points)
{
    QStringList arguments = press(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        arguments << QStringLiteral("mousemove") << numbers({points[i].x(), points[i].y()});
    arguments << QStringLiteral("mouseup") << QStringLiteral("1");
    xdotool(arguments);
}

void click(QPoint point)
{
    xdotool(press(point) << QStringLiteral("mouseup") << QStringLiteral("1"));
}

// Clicks a list or menu and waits for its pop-up, which then takes the keys.
void openPopup(QPoint control)
{
    const QRect below(control.x() - 10, control.y() + 25, 40, 40);
    const QImage before = screenshot().copy(below);
    click(control);
    QImage previous =
        waitForScreen([&](const QImage &image) { return image.copy(below) != before; });
    // A pop-up may slide open first; it takes the keys once it stands still.
    waitForScreen([&](const QImage &image) {
        QThread::msleep(300);
        return std::exchange(previous, image) == image;
    });
}

void keys(const QStringList &names)
{
    xdotool(QStringList{QStringLiteral("key")} + names);
}

// The first visible window whose name matches, or 0.
unsigned long findWindow(const QString &pattern)
{
    const QByteArray found =
        xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                 QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern});
    return found.split('\n').value(0).toULong();
}

QRect windowGeometry(unsigned long window)
{
    const QString text =
        QString::fromUtf8(xdotool({QStringLiteral("getwindowgeometry"), QString::number(window)}));
    const QRegularExpressionMatch position =
        QRegularExpression(QStringLiteral("Position: (\\d+),(\\d+)")).match(text);
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Geometry: (\\d+)x(\\d+)")).match(text);
    return QRect(position.captured(1).toInt(), position.captured(2).toInt(),
                 size.captured(1).toInt(), size.captured(2).toInt());
}

bool allPixels(const QImage &image, const QRect &area, QRgb colour, const QRect &except = {})
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!except.contains(x, y) && image.pixel(x, y) != colour)
                return false;
        }
    }
    return true;
}

// The pixels of the given colour along a row.
int runLength(const QImage &image, int y, int from, int to, QRgb colour)
{
    int count = 0;
    for (int x = from; x <= to; ++x)
        count += image.pixel(x, y) == colour;
    return count;
}

const QPoint toolList(80, 50);
const QPoint sizeList(237, 50);
const QPoint colourButton(370, 50);
const QPoint mainMenu(25, 10);
// Items of the menu's pop-up, reached by key rather than by a place that depends on the
// font: 新規 first, 終了 last.
const QString newItem = QStringLiteral("Down");
const QString quitItem = QStringLiteral("Up");

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void startsWithHeaderBand();
    void strokeInPlaceWidthAndColour();
    void otherToolDrawsFreehand();
    void fastStrokeDrawsEverySample();
    void colourFromPalette();
    void newClearsCanvas();
    void quitEndsWithZero();
    void closingWindowEndsWithZero();
    void stopRequestEndsWithZero_data();
    void stopRequestEndsWithZero();
    void noScreenEndsAsTheToolkitEndsIt();
    void startsWithoutCard();

private:
    void startProgram();
    void chooseMenuItem(const QString &key);
    void finishesWithZero();

    QProcess program;
    QRect dialogArea;
};

void EndToEndTest::initTestCase()
{
    QDir card(QStringLiteral(CARD_DIR));
    card.removeRecursively();
    QVERIFY(QDir().mkpath(card.path()));
    const QDir sample(QStringLiteral(SAMPLE_CARD_DIR));
    for (const QString &name : sample.entryList(QDir::Files))
        QVERIFY(QFile::copy(sample.filePath(name), card.filePath(name)));
    startProgram();
}

void EndToEndTest::cleanup()
{
    if (QTest::currentTestFailed()) {
        screenshot().save(
            QStringLiteral(CARD_DIR "-%1.png").arg(QLatin1String(QTest::currentTestFunction())));
    }
    if (QTest::currentTestFailed() && program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished();
    }
}

void EndToEndTest::startProgram()
{
    program.setProcessEnvironment(onScreen());
    endWithTest(&program);
    program.setProcessChannelMode(QProcess::MergedChannels);
#ifdef MEMCHECK_SUPPRESSIONS
    program.start(QStringLiteral("valgrind"),
                  {QStringLiteral("--tool=memcheck"), QStringLiteral("--error-exitcode=99"),
                   QStringLiteral("--leak-check=no"),
                   QStringLiteral("--suppressions=" MEMCHECK_SUPPRESSIONS),
                   QStringLiteral("--log-file=" MEMCHECK_LOG), QStringLiteral(PROGRAM)});
#else
    program.start(QStringLiteral(PROGRAM), {});
#endif
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    QVERIFY(findWindow(QStringLiteral("^Vellumix")) != 0);
    const QImage shot =
        waitForScreen([](const QImage &image) { return image.pixel(635, 50) == band; });
    QCOMPARE(colourText(shot.pixel(635, 50)), colourText(band));
}

void EndToEndTest::finishesWithZero()
{
    QVERIFY(program.waitForFinished(patience));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    // Whatever the program printed is shown; it has nothing of its own to say.
    const QByteArray output = program.readAll();
    QVERIFY2(output.isEmpty(), output.constData());
#ifdef MEMCHECK_SUPPRESSIONS
    QFile log(QStringLiteral(MEMCHECK_LOG));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY2(program.exitCode() == 0, log.readAll().constData());
#endif
    QCOMPARE(program.exitCode(), 0);
}

void EndToEndTest::chooseMenuItem(const QString &key)
{
    openPopup(mainMenu);
    keys({key, QStringLiteral("Return")});
}

void EndToEndTest::startsWithHeaderBand()
{
    const QImage shot = screenshot();
    QCOMPARE(shot.size(), QSize(640, 480));
    // Right of the buttons, between the lists and along the band's lower edge.
    for (const QPoint &point : {QPoint(635, 50), QPoint(160, 50), QPoint(5, 69), QPoint(320, 69)})
        QCOMPARE(colourText(shot.pixel(point)), colourText(band));
    QVERIFY(allPixels(shot, QRect(0, 70, 640, 410), white));
}

void EndToEndTest::strokeInPlaceWidthAndColour()
{
    stroke({{100, 200}, {300, 200}});
    QImage shot = waitForScreen([](const QImage &image) { return image.pixel(200, 200) == black; });
    QCOMPARE(runLength(shot, 200, 90, 310, black), 201);
    // The press's dot is the line's first pixel and nothing beside it.
    QCOMPARE(runLength(shot, 199, 90, 310, black), 0);
    QCOMPARE(runLength(shot, 201, 90, 310, black), 0);

    // The widest size: down twice in the size list's pop-up.
    openPopup(sizeList);
    keys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    stroke({{500, 120}, {500, 400}});
    shot = waitForScreen([](const QImage &image) { return image.pixel(500, 300) == black; });
    QCOMPARE(runLength(shot, 300, 480, 520, black), 7);

    // A tap: a round dot in the 7 x 7 square right of and below the touch point.
    click({560, 150});
    shot = waitForScreen([](const QImage &image) { return image.pixel(563, 153) == black; });
    const int dotRows[] = {0, 3, 5, 7, 7, 7, 5, 3, 0};
    for (int row = 0; row < 9; ++row)
        QCOMPARE(runLength(shot, 149 + row, 540, 580, black), dotRows[row]);
    QCOMPARE(runLength(shot, 153, 560, 566, black), 7);
}

void EndToEndTest::otherToolDrawsFreehand()
{
    // The eraser, which hides the colour button, still draws in the drawing colour.
    openPopup(toolList);
    keys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
          QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    QImage shot = waitForScreen([](const QImage &image) { return image.pixel(370, 40) == band; });
    QCOMPARE(colourText(shot.pixel(370, 40)), colourText(band));
    stroke({{100, 260}, {300, 260}});
    shot = waitForScreen([](const QImage &image) { return image.pixel(200, 260) == black; });
    QCOMPARE(colourText(shot.pixel(200, 260)), colourText(black));

    openPopup(toolList);
    keys({QStringLiteral("Home"), QStringLiteral("Return")});
    shot = waitForScreen([](const QImage &image) { return image.pixel(370, 40) != band; });
    QVERIFY(shot.pixel(370, 40) != band);
}

void EndToEndTest::fastStrokeDrawsEverySample()
{
    // A zigzag: a merged move would cut a corner and leave its tip blank.
    QList<QPoint> zigzag;
    for (int i = 0; i < 50; ++i)
        zigzag << QPoint(20 + i * 12, i % 2 ? 440 : 330);
    stroke(zigzag);
    const QImage shot =
        waitForScreen([&](const QImage &image) { return image.pixel(zigzag.last()) == black; });
    for (const QPoint &tip : std::as_const(zigzag))
        QVERIFY2(shot.pixel(tip) == black,
                 qPrintable(QStringLiteral("tip (%1, %2) not drawn").arg(tip.x()).arg(tip.y())));
}

void EndToEndTest::colourFromPalette()
{
    const QImage before = screenshot();
    click(colourButton);
    const unsigned long dialog = findWindow(QStringLiteral("^\u8272$"));
    QVERIFY(dialog != 0);
    dialogArea = windowGeometry(dialog);
    QCOMPARE(dialogArea.size(), QSize(217, 172));

    const QImage palette(QStringLiteral(CARD_DIR "/color.bmp"));
    const QPoint buttonFace(330, 58);
    const QPoint touch = distinctColour(palette, before.pixel(buttonFace));
    const QRgb expected = palette.pixel(touch);
    QImage shot = waitForScreen(
        [&](const QImage &image) { return image.pixel(dialogArea.topLeft() + touch) == expected; });
    QCOMPARE(colourText(shot.pixel(dialogArea.topLeft() + touch)), colourText(expected));

    click(dialogArea.topLeft() + touch);
    // Within a poll the colour button takes the colour, shaded by the style.
    const auto tinted = [&](const QImage &image) {
        return distance(image.pixel(buttonFace), expected) * 2 <
               distance(before.pixel(buttonFace), expected);
    };
    shot = waitForScreen(tinted);
    QVERIFY2(tinted(shot), qPrintable(colourText(shot.pixel(buttonFace))));

    const QRect keepClear = dialogArea.adjusted(-10, -10, 10, 10);
    const int y = keepClear.bottom() < 300 ? 300 : 100;
    stroke({{40, y}, {80, y}});
    shot = waitForScreen([&](const QImage &image) { return image.pixel(60, y) != white; });
    QCOMPARE(colourText(shot.pixel(60, y)), colourText(expected));
}

void EndToEndTest::newClearsCanvas()
{
    chooseMenuItem(newItem);
    const QRect canvas(0, 70, 640, 410);
    const QImage shot = waitForScreen(
        [&](const QImage &image) { return allPixels(image, canvas, white, dialogArea); });
    QVERIFY(allPixels(shot, canvas, white, dialogArea));
}

void EndToEndTest::quitEndsWithZero()
{
    chooseMenuItem(quitItem);
    finishesWithZero();
}

void EndToEndTest::closingWindowEndsWithZero()
{
    startProgram();
    click(colourButton);
    QVERIFY(findWindow(QStringLiteral("^\u8272$")) != 0);
    const unsigned long window = findWindow(QStringLiteral("^Vellumix"));
    QVERIFY(requestClose(qPrintable(screen), window));
    finishesWithZero();
}

void EndToEndTest::stopRequestEndsWithZero_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM; // a service manager's stop
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void EndToEndTest::stopRequestEndsWithZero()
{
    QFETCH(int, signal);
    startProgram();
    QCOMPARE(kill(pid_t(program.processId()), signal), 0);
    finishesWithZero();
}

void EndToEndTest::noScreenEndsAsTheToolkitEndsIt()
{
    QProcess lone;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // This machine's console and input devices are left alone.
    environment.insert(QStringLiteral("QT_QPA_PRESERVE_CONSOLE_STATE"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_FB_DISABLE_INPUT"), QStringLiteral("1"));
    lone.setProcessEnvironment(environment);
    lone.setProcessChannelMode(QProcess::MergedChannels);
    lone.setChildProcessModifier([] {
        const rlimit noCore = {};
        setrlimit(RLIMIT_CORE, &noCore);
    });
    lone.start(QStringLiteral(PROGRAM),
               {QStringLiteral("-platform"), QStringLiteral("linuxfb:fb=/nonexistent/fb7")});
    QVERIFY(lone.waitForFinished(patience));
    const QByteArray output = lone.readAll();
    QVERIFY2(output.startsWith("Failed to open framebuffer /nonexistent/fb7 (No such file or "
                               "directory)\nlinuxfb: Failed to initialize screen\n"),
             output.constData());
    QCOMPARE(lone.exitStatus(), QProcess::CrashExit);
    QCOMPARE(lone.exitCode(), SIGABRT);
}

void EndToEndTest::startsWithoutCard()
{
    QDir(QStringLiteral(CARD_DIR)).removeRecursively();
    startProgram();
    stroke({{100, 200}, {300, 200}});
    const QImage shot =
        waitForScreen([](const QImage &image) { return image.pixel(200, 200) == black; });
    QCOMPARE(colourText(shot.pixel(200, 200)), colourText(black));
    chooseMenuItem(quitItem);
    finishesWithZero();
}

namespace {

// Starts a virtual screen on the first free display number; returns its process or null.
QProcess *startScreen(QString *reason)
{
    for (int number = 81; number < 200; ++number) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            continue;
        auto *server = new QProcess;
        endWithTest(server);
        // Not on the test's own output: a server left behind would hold it open.
        server->setStandardOutputFile(QProcess::nullDevice());
        server->setStandardErrorFile(QProcess::nullDevice());
        // Without -noreset the server resets as each program leaves and may refuse the next.
        server->start(QStringLiteral("Xvfb"),
                      {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("640x480x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                       QStringLiteral("-noreset")});
        if (!server->waitForStarted()) {
            *reason = server->errorString();
            delete server;
            return nullptr;
        }
        // A server that lost the race for this number to another run ends at once.
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
        for (int i = 0; i < 100 && server->state() == QProcess::Running; ++i) {
            if (QFile::exists(socket)) {
                screen = QStringLiteral(":%1").arg(number);
                if (!run(QStringLiteral("xdpyinfo"), {}).isEmpty())
                    return server;
            }
            QThread::msleep(100);
        }
        server->kill();
        server->waitForFinished();
        delete server;
    }
    *reason = QStringLiteral("no free display number");
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList tools = {QStringLiteral("Xvfb"), QStringLiteral("xdotool"), QStringLiteral("xwd"),
                         QStringLiteral("xdpyinfo")};
#ifdef MEMCHECK_SUPPRESSIONS
    tools << QStringLiteral("valgrind");
#endif
    for (const QString &tool : std::as_const(tools)) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            std::printf("SKIP: %s is not installed (scripts/test installs it)\n", qPrintable(tool));
            return skipped;
        }
    }
    QString reason;
    QProcess *server = startScreen(&reason);
    if (!server) {
        std::printf("SKIP: no virtual screen: %s\n", qPrintable(reason));
        return skipped;
    }
    int result = 0;
    {
        EndToEndTest test;
        result = QTest::qExec(&test, argc, argv);
    }
    server->terminate();
    server->waitForFinished();
    delete server;
    return result;
}

#include "tst_e2e.moc"
