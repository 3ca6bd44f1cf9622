// The found-players window: its contents, and the choice made with keys and mouse buttons
// while it runs modally.
#include "search/frmPlayers.h"
#include "support/Controls.h"

#include <functional>

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "common/TextCodec.h"

namespace zorvek {
namespace {

const std::vector<FoundPlayer> kHits = {
    {"Alice", 3}, {"Bob", 5}, {"Carl", 7}, {"Dan", 7}, {"^not-a-code", 9}};

// The widest cell of the column as the view measures it (public only on the base class).
int cellWidth(QAbstractItemView* view)
{
    return view->sizeHintForColumn(0);
}

class FoundPlayersWindow : public ::testing::Test
{
protected:
    // Runs the window modally; `act` runs inside the modal loop. A window that does not
    // close within the bound is closed by force and reported.
    int runModal(const std::function<void()>& act)
    {
        bool actedWhileModal = false;
        QTimer::singleShot(0, &window, [&] {
            actedWhileModal = QApplication::activeModalWidget() == &window && window.isVisible();
            act();
        });
        bool forced = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &window, [&] {
            forced = true;
            window.reject();
        });
        guard.start(10000);
        const int result = window.exec();
        EXPECT_TRUE(actedWhileModal);
        EXPECT_FALSE(forced) << "the window did not close";
        return result;
    }

    QTreeWidget* list() const { return test::control<QTreeWidget>(window, "listFoundedPlayers"); }
    QPoint rowCentre(int row) const { return list()->visualItemRect(list()->topLevelItem(row)).center(); }

    frmPlayers window;
};

TEST_F(FoundPlayersWindow, ListsOneRowPerHitWithCountAndHeader)
{
    window.setHits(kHits);

    EXPECT_EQ(test::control<QLabel>(window, "lblFound")->text(), QString::fromUtf8("Nalezeno hráčů: 5"));
    EXPECT_EQ(list()->headerItem()->text(0), QString::fromUtf8("Seznam hráčů"));
    EXPECT_EQ(list()->columnCount(), 1);
    EXPECT_TRUE(list()->headerItem()->textAlignment(0) & Qt::AlignLeft);
    EXPECT_FALSE(list()->rootIsDecorated());
    ASSERT_EQ(list()->topLevelItemCount(), 5);
    EXPECT_EQ(list()->topLevelItem(2)->text(0), QStringLiteral("Carl"));
    EXPECT_EQ(list()->topLevelItem(4)->text(0), QStringLiteral("^not-a-code"));
    EXPECT_EQ(window.ChosenServer(), 0);
}

TEST_F(FoundPlayersWindow, NamesAreShownDecodedFromWindows1250)
{
    window.setHits({{ToCp1250(QString::fromUtf8("Řehoř Žluťák")), 1}});

    EXPECT_EQ(list()->topLevelItem(0)->text(0), QString::fromUtf8("Řehoř Žluťák"));
    EXPECT_EQ(test::control<QLabel>(window, "lblFound")->text(), QString::fromUtf8("Nalezeno hráčů: 1"));
}

// The caption the window manager draws: what the X server holds as the window's name.
QString x11WindowName(WId window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window), QStringLiteral("-notype"),
                 QStringLiteral("_NET_WM_NAME"), QStringLiteral("WM_NAME")});
    if (!xprop.waitForFinished(10000) || xprop.exitCode() != 0)
        return QStringLiteral("<xprop failed: %1>").arg(QString::fromLocal8Bit(xprop.readAllStandardError()));
    return QString::fromUtf8(xprop.readAllStandardOutput());
}

TEST_F(FoundPlayersWindow, ShowsNoCaptionTextUnderX11)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP()
            << "needs the X11 platform; ctest runs this case again under xvfb-run with QT_QPA_PLATFORM=xcb";
    window.setHits(kHits);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString names = x11WindowName(window.winId());
    EXPECT_EQ(names.toStdString(), "_NET_WM_NAME = \" \"\nWM_NAME = \" \"\n");
    EXPECT_FALSE(names.contains(QCoreApplication::applicationName())) << names.toStdString();
    EXPECT_TRUE(window.windowTitle().isEmpty());
    window.hide();
}

TEST_F(FoundPlayersWindow, HasTheFixedLayoutWithoutCaption)
{
    window.setHits(kHits);

    EXPECT_EQ(window.size(), QSize(245, 547));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowTitle().isEmpty());
    auto* frame = window.findChild<QGroupBox*>(QStringLiteral("Frame1"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->geometry(), QRect(10, 4, 223, 533));
    EXPECT_TRUE(frame->title().isEmpty());
    EXPECT_EQ(test::control<QLabel>(window, "lblFound")->parentWidget(), frame);
    EXPECT_EQ(test::control<QLabel>(window, "lblFound")->geometry(), QRect(16, 16, 185, 25));
    EXPECT_TRUE(test::control<QLabel>(window, "lblFound")->font().bold());
    EXPECT_EQ(test::control<QLabel>(window, "lblFound")->font().pointSizeF(), 9.0);
    EXPECT_EQ(list()->geometry(), QRect(24, 48, 193, 473));
    EXPECT_EQ(list()->font().pointSizeF(), 8.25);
    EXPECT_NE(window.findChild<QLabel*>(QStringLiteral("imgLogo")), nullptr);
}

TEST_F(FoundPlayersWindow, OpensWithTheFirstRowSelected)
{
    window.setHits(kHits);
    QStringList selectedOnOpen;

    runModal([&] {
        for (const QTreeWidgetItem* item : list()->selectedItems())
            selectedOnOpen << item->text(0);
        QTest::keyClick(list(), Qt::Key_Escape);
    });

    EXPECT_EQ(selectedOnOpen, QStringList{QStringLiteral("Alice")});
}

TEST_F(FoundPlayersWindow, EnterOnTheThirdRowChoosesHitThree)
{
    window.setHits({{"Alice", 3}, {"Bob", 5}, {"Carl", 8}, {"Dan", 9}});

    const int result = runModal([&] {
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Return);
    });

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(window.ChosenServer(), 8);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FoundPlayersWindow, KeypadEnterChoosesLikeReturn)
{
    window.setHits(kHits);

    runModal([&] {
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Enter, Qt::KeypadModifier);
    });

    EXPECT_EQ(window.ChosenServer(), 5);
}

TEST_F(FoundPlayersWindow, EscapeAfterMovingTheSelectionChoosesNothing)
{
    window.setHits(kHits);

    const int result = runModal([&] {
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Escape);
    });

    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(window.ChosenServer(), 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FoundPlayersWindow, KeysReachTheWindowBeforeTheList)
{
    window.setHits(kHits);
    QSignalSpy activated(list(), &QTreeWidget::itemActivated);

    // The list view would report Enter as an activation of its row if it saw the key first.
    runModal([&] { QTest::keyClick(list(), Qt::Key_Return); });

    EXPECT_EQ(window.ChosenServer(), 3);
    EXPECT_EQ(activated.count(), 0);
}

TEST_F(FoundPlayersWindow, OtherKeysLeaveTheWindowOpen)
{
    window.setHits(kHits);
    bool openAfterKeys = false;

    runModal([&] {
        QTest::keyClick(list(), Qt::Key_A);
        QTest::keyClick(list(), Qt::Key_End);
        openAfterKeys = window.isVisible();
        QTest::keyClick(list(), Qt::Key_Return);
    });

    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(window.ChosenServer(), 9); // End moved the selection to the last row
}

struct ButtonCase
{
    const char* label;
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
};

void PrintTo(const ButtonCase& c, std::ostream* os)
{
    *os << c.label;
}

class FoundPlayersMouse : public FoundPlayersWindow, public ::testing::WithParamInterface<ButtonCase>
{
};

TEST_P(FoundPlayersMouse, ReleaseOverARowChoosesThatRow)
{
    window.setHits(kHits);

    const int result = runModal([&] {
        QTest::mouseClick(list()->viewport(), GetParam().button, GetParam().modifiers, rowCentre(1));
    });

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(window.ChosenServer(), 5);
}

INSTANTIATE_TEST_SUITE_P(AnyButton, FoundPlayersMouse,
                         ::testing::Values(ButtonCase{"Left", Qt::LeftButton, {}},
                                           ButtonCase{"Right", Qt::RightButton, {}},
                                           ButtonCase{"Middle", Qt::MiddleButton, {}},
                                           ButtonCase{"LeftWithShift", Qt::LeftButton, Qt::ShiftModifier}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(FoundPlayersWindow, ReleaseOnTheEmptyPartWithoutSelectionClosesWithoutChoice)
{
    window.setHits(kHits);

    const int result = runModal([&] {
        list()->clearSelection();
        const QPoint empty(10, list()->viewport()->height() - 5);
        ASSERT_EQ(list()->itemAt(empty), nullptr);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, empty);
    });

    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(window.ChosenServer(), 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FoundPlayersWindow, EnterWithoutSelectionClosesWithoutChoice)
{
    window.setHits(kHits);

    const int result = runModal([&] {
        list()->clearSelection();
        QTest::keyClick(list(), Qt::Key_Return);
    });

    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(window.ChosenServer(), 0);
}

TEST_F(FoundPlayersWindow, TwoHitsOnOneServerBothLeadToIt)
{
    for (const int row : {2, 3}) {
        window.setHits(kHits);
        runModal([&] { QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(row)); });
        EXPECT_EQ(window.ChosenServer(), 7) << "row " << row;
    }
}

TEST_F(FoundPlayersWindow, EveryCloseEmptiesTheListAndTheNextUseStartsAfresh)
{
    window.setHits(kHits);
    runModal([&] { QTest::keyClick(list(), Qt::Key_Return); });
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_EQ(window.ChosenServer(), 3);

    window.setHits({{"Zed", 12}});
    EXPECT_EQ(window.ChosenServer(), 0);
    ASSERT_EQ(list()->topLevelItemCount(), 1);
    EXPECT_EQ(test::control<QLabel>(window, "lblFound")->text(), QString::fromUtf8("Nalezeno hráčů: 1"));

    runModal([&] { window.close(); });
    EXPECT_EQ(window.ChosenServer(), 0);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
}

TEST_F(FoundPlayersWindow, ShortNamesStretchTheColumnToTheRightEdge)
{
    window.setHits({{"Al", 1}, {"Bo", 2}});
    int width = 0;
    int viewportWidth = 0;
    int widest = 0;

    runModal([&] {
        width = list()->columnWidth(0);
        viewportWidth = list()->viewport()->width();
        widest = std::max(list()->header()->sectionSizeHint(0), cellWidth(list()));
        window.reject();
    });

    EXPECT_EQ(width, viewportWidth);
    EXPECT_GT(width, widest);
}

TEST_F(FoundPlayersWindow, ALongNameWidensTheColumnBeyondTheList)
{
    const std::string longName(80, 'W');
    window.setHits({{"Al", 1}, {longName, 2}});
    int width = 0;
    int viewportWidth = 0;
    int widestCell = 0;

    runModal([&] {
        width = list()->columnWidth(0);
        viewportWidth = list()->viewport()->width();
        widestCell = cellWidth(list());
        window.reject();
    });

    EXPECT_GT(widestCell, viewportWidth);
    EXPECT_GE(width, widestCell);
}

TEST_F(FoundPlayersWindow, RowsBeyondTheHeightKeepTheColumnBesideTheScrollBar)
{
    // More rows than the list shows at once, whatever the row height of the font.
    std::vector<FoundPlayer> hits;
    for (int i = 1; i <= 100; ++i)
        hits.push_back({"Hrac" + std::to_string(i), static_cast<std::uint8_t>(i)});
    window.setHits(hits);
    int width = 0;
    int viewportWidth = 0;
    bool verticalBar = false;
    bool horizontalBar = true;

    runModal([&] {
        // The scroll bars follow the new widths on a later pass of the event loop.
        (void)QTest::qWaitFor([&] { return !list()->horizontalScrollBar()->isVisible(); }, 2000);
        width = list()->columnWidth(0);
        viewportWidth = list()->viewport()->width();
        verticalBar = list()->verticalScrollBar()->isVisible();
        horizontalBar = list()->horizontalScrollBar()->isVisible();
        window.reject();
    });

    EXPECT_TRUE(verticalBar);
    EXPECT_FALSE(horizontalBar);
    EXPECT_EQ(width, viewportWidth);
}

} // namespace
} // namespace zorvek
