// SPDX-License-Identifier: MIT
#include "mainwindow.h"
#include "testsupport.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace TestSupport;

namespace {

QStringList utf8List(const char *words)
{
    return QString::fromUtf8(words).split(' ', Qt::SkipEmptyParts);
}

// The stroke's thickness where a horizontal stroke crosses the column.
int strokeWidth(Mainwindow &window)
{
    chooseMenuItem(window, QString::fromUtf8("新規"));
    stroke(&window, {{100, 300}, {300, 300}});
    return inkRowsAt(canvasImage(window), 200, qRgb(255, 255, 255));
}

} // namespace

class ToolSelectionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fillCard(); }
    void init() { failOnWarnings(); }

    void toolReshapesToolbar_data();
    void toolReshapesToolbar();
    void sizesSetStrokeWidthWithPen_data();
    void sizesSetStrokeWidthWithPen();
    void otherToolsIgnoreSizeChoice_data();
    void otherToolsIgnoreSizeChoice();
    void sizeSurvivesToolChange();
    void stampKeepsSizeListItems();
    void sameToolAgainRefills();
    void rangeItemsChangeNothing();
};

void ToolSelectionTest::toolReshapesToolbar_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<bool>("colorShown");
    QTest::addColumn<bool>("bgcolorShown");
    QTest::addColumn<bool>("sizesShown");
    QTest::addColumn<QStringList>("sizes");
    QTest::addColumn<bool>("sizeIcons");

    const QStringList penSizes = utf8List("細線 太線 極太");
    QTest::newRow("pen") << 0 << true << false << true << penSizes << true;
    QTest::newRow("line") << 1 << true << true << true << penSizes << true;
    QTest::newRow("right angle") << 2 << true << true << true << penSizes << true;
    QTest::newRow("rectangle") << 3 << true << true << true << penSizes << true;
    QTest::newRow("filled rectangle") << 4 << true << true << true << utf8List("ベタ") << true;
    QTest::newRow("eraser") << 5 << false << false << true << utf8List("細 太") << true;
    QTest::newRow("stamp") << 6 << false << false << false << penSizes << true;
    QTest::newRow("range") << 7 << false << false << true
                           << utf8List("削除 カット コピー ペースト 左回転 右回転 上下反転 "
                                       "左右反転 文字入力")
                           << false;
}

void ToolSelectionTest::toolReshapesToolbar()
{
    QFETCH(int, tool);
    QFETCH(bool, colorShown);
    QFETCH(bool, bgcolorShown);
    QFETCH(bool, sizesShown);
    QFETCH(QStringList, sizes);
    QFETCH(bool, sizeIcons);
    Mainwindow window;
    window.show();
    // Start from a toolbar unlike the row's, so that every change must be made.
    choose(toolList(window), tool == 6 ? 0 : 6);

    choose(toolList(window), tool);

    QCOMPARE(colorButton(window)->isVisible(), colorShown);
    QCOMPARE(bgcolorButton(window)->isVisible(), bgcolorShown);
    QCOMPARE(sizeList(window)->isVisible(), sizesShown);
    QCOMPARE(itemTexts(sizeList(window)), sizes);
    QCOMPARE(sizeList(window)->currentIndex(), 0);
    for (int i = 0; i < sizeList(window)->count(); ++i)
        QCOMPARE(!sizeList(window)->itemIcon(i).isNull(), sizeIcons);
}

void ToolSelectionTest::sizesSetStrokeWidthWithPen_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("width");
    QTest::newRow("thin") << 0 << 1;
    QTest::newRow("thick") << 1 << 4;
    QTest::newRow("extra thick") << 2 << 7;
}

void ToolSelectionTest::sizesSetStrokeWidthWithPen()
{
    QFETCH(int, size);
    QFETCH(int, width);
    Mainwindow window;
    choose(sizeList(window), size);
    QCOMPARE(strokeWidth(window), width);
}

void ToolSelectionTest::otherToolsIgnoreSizeChoice_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("size");
    QTest::newRow("line, extra thick") << 1 << 2;
    QTest::newRow("right angle, thick") << 2 << 1;
    QTest::newRow("rectangle, extra thick") << 3 << 2;
    QTest::newRow("eraser, thick") << 5 << 1;
}

void ToolSelectionTest::otherToolsIgnoreSizeChoice()
{
    QFETCH(int, tool);
    QFETCH(int, size);
    Mainwindow window;
    choose(toolList(window), tool);
    choose(sizeList(window), size);
    QCOMPARE(strokeWidth(window), 1);
}

void ToolSelectionTest::sizeSurvivesToolChange()
{
    Mainwindow window;
    choose(sizeList(window), 2);
    choose(toolList(window), 1);
    choose(toolList(window), 0);

    QCOMPARE(sizeList(window)->currentText(), QString::fromUtf8("細線"));
    QCOMPARE(strokeWidth(window), 7);
    choose(sizeList(window), 0);
    QCOMPARE(strokeWidth(window), 1);
}

void ToolSelectionTest::stampKeepsSizeListItems()
{
    Mainwindow window;
    window.show();
    choose(toolList(window), 5);
    choose(sizeList(window), 1);

    choose(toolList(window), 6);

    QVERIFY(!sizeList(window)->isVisible());
    QCOMPARE(itemTexts(sizeList(window)), utf8List("細 太"));
    QCOMPARE(sizeList(window)->currentIndex(), 1);
    choose(toolList(window), 3);
    QVERIFY(sizeList(window)->isVisible());
}

void ToolSelectionTest::sameToolAgainRefills()
{
    Mainwindow window;
    choose(sizeList(window), 2);
    choose(toolList(window), 0);
    QCOMPARE(sizeList(window)->currentIndex(), 0);
    QCOMPARE(sizeList(window)->count(), 3);
}

void ToolSelectionTest::rangeItemsChangeNothing()
{
    Mainwindow window;
    window.show();
    choose(toolList(window), 7);
    stroke(&window, {{100, 100}, {200, 200}});
    const QImage before = canvasImage(window);

    choose(sizeList(window), 4);

    QCOMPARE(canvasImage(window), before);
    QCOMPARE(toolList(window)->currentIndex(), 7);
    QCOMPARE(sizeList(window)->count(), 9);
    QVERIFY(!colorButton(window)->isVisible());
    QCOMPARE(strokeWidth(window), 1);
}

VELLUMIX_TEST_MAIN(ToolSelectionTest)
#include "tst_toolselection.moc"
