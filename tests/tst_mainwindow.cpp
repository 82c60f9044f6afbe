// SPDX-License-Identifier: MIT
#include "colordialog.h"
#include "displaytext.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <qpeapplication.h>

using namespace TestSupport;

namespace {

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// A pop-up's items top to bottom, separators as "-".
QStringList menuItems(const QMenu *menu)
{
    QStringList items;
    const auto actions = menu->actions();
    for (const QAction *action : actions)
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return items;
}

QPEApplication *application()
{
    return qobject_cast<QPEApplication *>(QCoreApplication::instance());
}

} // namespace

class MainwindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        failOnWarnings();
        fillCard();
    }

    void captionAndFont();
    void displayTextWithoutCodec();
    void mainWidgetCoversScreenWithMenuBarAcross();
    void closingWindowEndsLoop();
    void quitEndsLoop();
    void startUpToolbar();
    void listItemsAndMenus();
    void iconsComeFromCard();
    void withoutCardListsShowText();
    void inertMenuItemsChangeNothing();
};

void MainwindowTest::captionAndFont()
{
    Mainwindow window;
    QCOMPARE(window.windowTitle(), utf8("Vellumix「画面にタッチペンで絵をかく」"));
    for (const QWidget *widget :
         {static_cast<QWidget *>(&window), static_cast<QWidget *>(colorDialog())}) {
        QCOMPARE(widget->font().family(), QStringLiteral("lcfont"));
        QCOMPARE(widget->font().pointSize(), 18);
        QCOMPARE(widget->font().weight(), QFont::Normal);
        QVERIFY(!widget->font().italic());
    }
    QCOMPARE(toolList(window)->font(), window.font());
    const auto entries = menuBar(window)->actions();
    for (const QAction *entry : entries)
        QCOMPARE(entry->menu()->font(), window.font());
    QCOMPARE(colorDialog()->windowTitle(), utf8("色"));
    QCOMPARE(colorDialog()->size(), QSize(217, 172));
}

void MainwindowTest::displayTextWithoutCodec()
{
    QVERIFY(displayCodec());
    QCOMPARE(displayText(displayCodec(), "\x83\x79\x83\x93"), utf8("ペン"));

    const QString replacement(QChar::ReplacementCharacter);
    QCOMPARE(displayText(nullptr, "Vellumix\x81\x75\x89\xe6\x81\x76"),
             QStringLiteral("Vellumix") + replacement.repeated(3));
    QCOMPARE(displayText(nullptr, "\x83\x79\x83\x93"), replacement.repeated(2));
    // A lead byte at the very end must not take the terminator with it.
    QCOMPARE(displayText(nullptr, "a\x83"), QStringLiteral("a") + replacement);
}

void MainwindowTest::mainWidgetCoversScreenWithMenuBarAcross()
{
    Mainwindow window;
    application()->showMainWidget(&window, false);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.frameGeometry(), window.screen()->availableGeometry());
    QCOMPARE(menuBar(window)->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(menuBar(window)->width(), window.width());

    Mainwindow plain;
    application()->showMainWidget(&plain, true);
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    QCOMPARE(plain.size(), QSize(640, 480));
    QCOMPARE(menuBar(plain)->width(), 640);
}

void MainwindowTest::closingWindowEndsLoop()
{
    Mainwindow window;
    application()->showMainWidget(&window, false);
    colorButton(window)->click();
    QVERIFY(colorDialog()->isVisible());

    QTimer::singleShot(0, &window, &QWidget::close);
    QCOMPARE(QPEApplication::exec(), 0);
    QVERIFY(!window.isVisible());
    QVERIFY(!colorDialog()->isVisible());
}

void MainwindowTest::quitEndsLoop()
{
    Mainwindow window;
    application()->showMainWidget(&window, false);
    QTimer::singleShot(0, &window, [&window] { chooseMenuItem(window, utf8("終了")); });
    QCOMPARE(QPEApplication::exec(), 0);
}

void MainwindowTest::startUpToolbar()
{
    Mainwindow window;
    window.show();
    QCOMPARE(toolList(window)->currentText(), utf8("ペン"));
    QCOMPARE(sizeList(window)->currentText(), utf8("細線"));
    QVERIFY(!bgcolorButton(window)->isVisible());
    QVERIFY(colorButton(window)->isVisible());
    QVERIFY(undoButton(window)->isVisible());
    QCOMPARE(colorButton(window)->text(), utf8("色"));
    QCOMPARE(bgcolorButton(window)->text(), utf8("背景色"));
    QCOMPARE(undoButton(window)->text(), utf8("取消"));
    QCOMPARE(toolList(window)->size(), QSize(145, 30));
    QCOMPARE(undoButton(window)->size(), QSize(90, 30));
    QVERIFY(!toolList(window)->isEditable());
    QVERIFY(!sizeList(window)->isEditable());

    // Later controls lie above earlier ones, the menu bar above all.
    const QObjectList children = window.children();
    const auto widgetIndex = [&children](const QObject *child) { return children.indexOf(child); };
    QVERIFY(widgetIndex(toolList(window)) < widgetIndex(sizeList(window)));
    QVERIFY(widgetIndex(undoButton(window)) < widgetIndex(menuBar(window)));
    const QImage screen = window.grab().toImage();
    QCOMPARE(screen.pixel(315, 50), qRgb(100, 150, 200));
}

void MainwindowTest::listItemsAndMenus()
{
    Mainwindow window;
    QCOMPARE(itemTexts(toolList(window)),
             utf8("ペン 直線 直角 四角 四角 消ゴム スタンプ 範囲").split(' '));
    QCOMPARE(itemTexts(sizeList(window)), utf8("細線 太線 極太").split(' '));

    const auto entries = menuBar(window)->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->text(), utf8("メニュー"));
    QCOMPARE(menuItems(entries[0]->menu()), utf8("新規 開く 保存 - 終了").split(' '));
    QCOMPARE(entries[1]->text(), utf8("編集"));
    QCOMPARE(menuItems(entries[1]->menu()),
             utf8("削除 カット コピー ペースト - 画像調整 減色 画像効果").split(' '));
}

void MainwindowTest::iconsComeFromCard()
{
    Mainwindow window;
    for (int i = 0; i < toolList(window)->count(); ++i)
        QVERIFY2(!toolList(window)->itemIcon(i).isNull(), qPrintable(QString::number(i)));
    for (int i = 0; i < sizeList(window)->count(); ++i)
        QVERIFY(!sizeList(window)->itemIcon(i).isNull());
}

void MainwindowTest::withoutCardListsShowText()
{
    emptyCard();
    Mainwindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), utf8("Vellumix「画面にタッチペンで絵をかく」"));
    QCOMPARE(toolList(window)->count(), 8);
    for (int i = 0; i < toolList(window)->count(); ++i) {
        QVERIFY(toolList(window)->itemIcon(i).isNull());
        QVERIFY(!toolList(window)->itemText(i).isEmpty());
    }
    QVERIFY(sizeList(window)->itemIcon(0).isNull());
    QCOMPARE(sizeList(window)->itemText(0), utf8("細線"));
}

void MainwindowTest::inertMenuItemsChangeNothing()
{
    Mainwindow window;
    window.show();
    stroke(&window, {{100, 100}, {300, 300}});
    choose(toolList(window), 1);
    const QImage before = canvasImage(window);
    const QImage screenBefore = window.grab().toImage();

    for (const char *item :
         {"開く", "保存", "削除", "カット", "コピー", "ペースト", "画像調整", "減色", "画像効果"})
        chooseMenuItem(window, utf8(item));

    QCOMPARE(canvasImage(window), before);
    QCOMPARE(window.grab().toImage(), screenBefore);
    QCOMPARE(toolList(window)->currentIndex(), 1);
    QVERIFY(bgcolorButton(window)->isVisible());
}

VELLUMIX_TEST_MAIN(MainwindowTest)
#include "tst_mainwindow.moc"
