// SPDX-License-Identifier: MIT
// The real program on Qt's VNC platform, which composes its windows as the framebuffer
// platforms do, with no window manager and no keyboard. A minimal RFB client is the pen.
#include "rfbclient.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTcpServer>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/prctl.h>

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);
const QRgb band = qRgb(100, 150, 200);
const QRgb caption = qRgb(48, 140, 198);     // the caption bar: Fusion's highlight
const QRgb menuBorder = qRgb(149, 149, 149); // Fusion's frame round an open menu

// Under the sanitizer the program starts many times slower.
const int patience = 60000; // ms

const QPoint colourButton(370, 48);
const QPoint menuTitle(50, 12);
const QPoint newItem(60, 47);
const QPoint quitItem(60, 150);
const QPoint openMenuEdge(6, 100);

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// The caption bar: the first run of its colour at least as wide as the palette.
QRect findBar(const QImage &screen)
{
    for (int y = 0; y < screen.height(); ++y) {
        int run = 0;
        for (int x = 0; x < screen.width(); ++x) {
            run = screen.pixel(x, y) == caption ? run + 1 : 0;
            if (run < 200 || (x + 1 < screen.width() && screen.pixel(x + 1, y) == caption))
                continue;
            int height = 0;
            while (y + height < screen.height() && screen.pixel(x - 2, y + height) == caption)
                ++height;
            return QRect(x - run + 1, y, run, height);
        }
    }
    return {};
}

} // namespace

class TestVnc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void byPenAlone();

private:
    // Waits, looking at fresh pictures of the screen, until the condition holds.
    bool waitFor(const std::function<bool(const QImage &)> &condition);
    void keep(const QString &step);

    QProcess program;
    RfbClient pen;
    int steps = 0;
};

void TestVnc::initTestCase()
{
    const quint16 port = freePort();
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    // A test that aborts takes the program with it.
    program.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PROGRAM), {QStringLiteral("-platform"),
                                            QStringLiteral("vnc:size=640x480:port=%1").arg(port)});
    QVERIFY(program.waitForStarted(patience));
    QVERIFY(pen.connectTo(port, patience));
    QDir().mkpath(QStringLiteral(SHOTS_DIR));
}

void TestVnc::cleanupTestCase()
{
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished();
    }
}

bool TestVnc::waitFor(const std::function<bool(const QImage &)> &condition)
{
    const QDeadlineTimer deadline(patience);
    while (!deadline.hasExpired()) {
        if (!pen.refresh(patience))
            return false;
        if (condition(pen.screen()))
            return true;
        QTest::qWait(20);
    }
    return false;
}

void TestVnc::keep(const QString &step)
{
    pen.screen().save(QStringLiteral(SHOTS_DIR "/%1-%2.png").arg(++steps).arg(step));
}

void TestVnc::byPenAlone()
{
    QVERIFY(waitFor([](const QImage &s) { return s.pixel(630, 50) == band; }));

    const QList<QPoint> stroke = {QPoint(100, 300), QPoint(150, 330), QPoint(200, 310),
                                  QPoint(250, 360), QPoint(300, 340)};
    pen.stroke(stroke);
    QVERIFY(waitFor([&](const QImage &s) {
        return std::all_of(stroke.begin(), stroke.end(),
                           [&](QPoint p) { return s.pixel(p) == black; });
    }));
    keep(QStringLiteral("stroke"));

    pen.tap(colourButton);
    QVERIFY(waitFor([](const QImage &s) { return findBar(s).isValid(); }));
    const QRect bar = findBar(pen.screen());
    QCOMPARE(bar.width(), 217);
    QVERIFY(bar.height() >= 24);
    keep(QStringLiteral("palette"));

    // Dragged over the toolbar and back, the palette leaves the toolbar as it was. The pen
    // pauses at each step unwatched: while a client waits for changes, the VNC server redraws
    // more of the screen than a framebuffer does, which would hide the traces.
    const QPoint grip = bar.topLeft() + QPoint(40, bar.height() / 2);
    const QPoint lower(0, 20);
    pen.pen(grip, true);
    pen.pen(grip + lower, true);
    QVERIFY(waitFor([&](const QImage &s) { return findBar(s) == bar.translated(lower); }));
    const QImage toolbar = pen.screen().copy(0, 0, 640, 70);
    for (const QPoint step :
         {QPoint(-60, -70), QPoint(-100, -50), QPoint(-20, -60), QPoint(40, -75), QPoint(0, 0)}) {
        pen.pen(grip + step + QPoint(10, 5), true);
        pen.pen(grip + step, true);
        QTest::qWait(200);
    }
    pen.pen(grip, false);
    const bool restored = waitFor(
        [&](const QImage &s) { return findBar(s) == bar && s.copy(0, 0, 640, 70) == toolbar; });
    keep(QStringLiteral("over-toolbar"));
    QVERIFY(restored);

    const QPoint shift(100, 90);
    pen.stroke({grip, grip + shift / 2, grip + shift});
    QVERIFY(waitFor([&](const QImage &s) { return findBar(s) == bar.translated(shift); }));
    // Nothing is left where the palette was.
    QCOMPARE(pen.screen().pixel(bar.topLeft() + QPoint(5, bar.height() + 5)), white);
    keep(QStringLiteral("moved"));

    const QRect moved = bar.translated(shift);
    pen.tap(QPoint(moved.right() - moved.height() / 2, moved.center().y()));
    QVERIFY(waitFor([&](const QImage &s) {
        return !findBar(s).isValid() && s.pixel(moved.center() + QPoint(0, 80)) == white;
    }));
    keep(QStringLiteral("closed"));

    pen.tap(colourButton);
    QVERIFY(waitFor([&](const QImage &s) { return findBar(s) == moved; }));
    keep(QStringLiteral("again"));

    pen.tap(menuTitle);
    QVERIFY(waitFor([](const QImage &s) { return s.pixel(openMenuEdge) == menuBorder; }));
    keep(QStringLiteral("menu"));
    pen.tap(newItem);
    QVERIFY(waitFor([&](const QImage &s) {
        return s.pixel(stroke.first()) == white && s.pixel(openMenuEdge) == white;
    }));
    keep(QStringLiteral("new"));

    pen.tap(menuTitle);
    QVERIFY(waitFor([](const QImage &s) { return s.pixel(openMenuEdge) == menuBorder; }));
    keep(QStringLiteral("menu-again"));
    pen.tap(quitItem);
    QVERIFY(program.waitForFinished(patience));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestVnc)
#include "tst_vnc.moc"
