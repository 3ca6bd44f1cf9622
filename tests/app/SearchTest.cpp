// The player search from the main window: hits, messages, the found-players window and
// what a chosen hit selects.
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTreeWidget>

#include "sample-host/ServerProfile.h"
#include "search/frmPlayers.h"
#include "support/Controls.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAction.h"

namespace zorvek::test {
namespace {

ServerProfile withPlayers(QList<QByteArray> names)
{
    ServerProfile p;
    for (int i = 0; i < names.size(); ++i)
        p.players.append({names[i], i, 50 + i});
    return p;
}

QStringList rows(const QTreeWidget& list)
{
    QStringList result;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        result << list.topLevelItem(i)->text(0);
    return result;
}

class SearchTest : public MainWindowFixture
{
protected:
    void startWith(const std::vector<ServerProfile>& profiles)
    {
        std::vector<EmulatedGameServer*> list;
        for (const auto& p : profiles)
            list.push_back(addServer(p));
        serveGame(2, list);
        start();
        tabGames(*window)->setCurrentIndex(1);
        std::vector<int> indexes;
        for (std::size_t i = 0; i < profiles.size(); ++i)
            indexes.push_back(static_cast<int>(i) + 1);
        ASSERT_TRUE(waitForReplies(indexes));
    }

    // Runs a search; `answer` acts on the found-players window when it shows, and the
    // names it listed are returned (empty when no window came).
    QStringList search(const QString& text, std::function<void(frmPlayers*)> answer = {})
    {
        QStringList listed;
        ModalAction<frmPlayers> action([&](frmPlayers* w) {
            listed = rows(*control<QTreeWidget>(*w, "listFoundedPlayers"));
            label = control<QLabel>(*w, "lblFound")->text();
            if (answer)
                answer(w);
            else
                QTest::keyClick(control<QTreeWidget>(*w, "listFoundedPlayers"), Qt::Key_Escape);
        });
        editSearch(*window)->setText(text);
        QTest::keyClick(editSearch(*window), Qt::Key_Return);
        windowShown = action.runs() > 0;
        return listed;
    }

    QString label;
    bool windowShown = false;
};

TEST_F(SearchTest, AnEmptyTextListsEveryNamedPlayerInSlotAndReplyOrder)
{
    startWith({withPlayers({"^1Ad^7am", "Bob"}), withPlayers({}), withPlayers({"Cyril", "", "Dana"})});
    EXPECT_EQ(search(QString()), (QStringList{"Adam", "Bob", "Cyril", "Dana"}));
    EXPECT_EQ(label, QString::fromUtf8("Nalezeno hráčů: 4"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(SearchTest, ExactlyThirtyTwoAreListedAndAThirtyThirdGivesTheMessage)
{
    QList<QByteArray> names;
    for (int i = 1; i <= 16; ++i)
        names << "Player" + QByteArray::number(i);
    startWith({withPlayers(names), withPlayers(names)});
    EXPECT_EQ(search(QStringLiteral("play")).size(), 32);
    EXPECT_TRUE(boxes.shown().isEmpty());

    // The search's own refresh is answered first, so that no reply of the old profile
    // is still on its way when the new one is asked for.
    ASSERT_TRUE(waitForReplies({1, 2}));
    names << "Player17";
    servers[1]->setProfile(withPlayers(names));
    window->SendQueryOne(2);
    ASSERT_TRUE(waitForReplies({2}));
    listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(0));
    const QStringList listed = search(QStringLiteral("play"));
    EXPECT_FALSE(windowShown);
    EXPECT_TRUE(listed.isEmpty());
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text, QString::fromUtf8("Nalezeno příliš mnoho hráčů...(>32)"));
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("Info"));
    EXPECT_EQ(boxes.shown()[0].icon, QMessageBox::Information);
    EXPECT_EQ(window->selectedServer(), 1);
}

struct MatchCase
{
    const char* name;
    const char* find;
    bool found;
};

class SearchMatchTest : public SearchTest, public ::testing::WithParamInterface<MatchCase>
{
};

TEST_P(SearchMatchTest, IgnoresCaseAndColourCodesButNotSpaces)
{
    startWith({withPlayers({"^1Pla^7yer",
                            QByteArray("\xd8"
                                       "eho\xf8",
                                       5),
                            "Two Words"})});
    const QStringList listed = search(QString::fromUtf8(GetParam().find));
    if (GetParam().found) {
        EXPECT_EQ(listed.size(), 1) << listed.join(',').toStdString();
        EXPECT_TRUE(boxes.shown().isEmpty());
    } else {
        EXPECT_FALSE(windowShown);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown()[0].text, QString::fromUtf8("Nenalezen žádný hráč..."));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, SearchMatchTest,
                         ::testing::Values(MatchCase{"AcrossAColourCode", "lay", true},
                                           MatchCase{"UpperCase", "PLAYER", true},
                                           MatchCase{"CzechLowerFindsUpper", "řeh", true},
                                           MatchCase{"InnerSpace", "o w", true},
                                           MatchCase{"LeadingSpaceTakesPart", " player", false},
                                           MatchCase{"TrailingSpaceTakesPart", "words ", false},
                                           MatchCase{"ColourCodeTextIsGone", "^7", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SearchTest, AnEmptyServerListGivesTheNoHitMessage)
{
    start(); // game 1 has one link entry that never answers
    host.setListText(3, QByteArray());
    EXPECT_TRUE(search(QString()).isEmpty());
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text, QString::fromUtf8("Nenalezen žádný hráč..."));
}

TEST_F(SearchTest, EnterOnTheThirdRowSelectsItsServerAndShowsItsPlayers)
{
    startWith({withPlayers({"Alpha"}), withPlayers({"Beta", "Gamma"}), withPlayers({"Delta", "Epsilon"})});
    listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(0));
    editServerIP(*window)->setText(QStringLiteral("unchanged"));
    servers[2]->clearReceived();
    search(QString(), [](frmPlayers* w) {
        QTest::keyClick(control<QTreeWidget>(*w, "listFoundedPlayers"), Qt::Key_Down);
        QTest::keyClick(control<QTreeWidget>(*w, "listFoundedPlayers"), Qt::Key_Down);
        QTest::keyClick(control<QTreeWidget>(*w, "listFoundedPlayers"), Qt::Key_Return);
    });
    // Hit 3 is Gamma on server 2.
    EXPECT_EQ(window->selectedServer(), 2);
    EXPECT_EQ(listServers(*window)->selectedItems().size(), 1);
    EXPECT_EQ(rows(*listPlayers(*window)), (QStringList{"Beta", "Gamma"}));
    EXPECT_EQ(editServerIP(*window)->text(), QStringLiteral("unchanged"));
    EXPECT_TRUE(listServers(*window)->hasFocus() || !window->isActiveWindow());
}

TEST_F(SearchTest, EscapeLeavesTheSelectionAndEmptiesThePlayers)
{
    startWith({withPlayers({"Alpha"}), withPlayers({"Beta"})});
    listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(1));
    window->SendQueryOne(2);
    ASSERT_TRUE(waitForReplies({2}));
    ASSERT_EQ(listPlayers(*window)->topLevelItemCount(), 1);
    // Its reply to the search's refresh would fill the players again.
    servers[1]->setSilent(true);
    search(QString(), [](frmPlayers* w) {
        QTest::keyClick(control<QTreeWidget>(*w, "listFoundedPlayers"), Qt::Key_Down);
        QTest::keyClick(control<QTreeWidget>(*w, "listFoundedPlayers"), Qt::Key_Escape);
    });
    EXPECT_EQ(window->selectedServer(), 2);
    EXPECT_EQ(listPlayers(*window)->topLevelItemCount(), 0);
}

TEST_F(SearchTest, TwoHitsOnOneServerBothLeadToItAndTheRightButtonChooses)
{
    startWith({withPlayers({"Other"}), withPlayers({"Kuba", "Jakub"})});
    const auto chooseRow = [](int row) {
        return [row](frmPlayers* w) {
            QTreeWidget* list = control<QTreeWidget>(*w, "listFoundedPlayers");
            QTest::mouseClick(list->viewport(), Qt::RightButton, {},
                              list->visualItemRect(list->topLevelItem(row)).center());
        };
    };
    for (int row : {0, 1}) {
        listServers(*window)->setCurrentItem(listServers(*window)->topLevelItem(0));
        EXPECT_EQ(search(QStringLiteral("kub"), chooseRow(row)), (QStringList{"Kuba", "Jakub"}));
        EXPECT_EQ(window->selectedServer(), 2) << row;
    }
}

TEST_F(SearchTest, NamesOfAnEarlierLongerReplyAreNeverHits)
{
    startWith({withPlayers({"Old1", "Old2", "Old3"})});
    servers[0]->setProfile(withPlayers({"New1"}));
    window->SendQueryOne(1);
    ASSERT_TRUE(waitForReplies({1}));
    EXPECT_EQ(search(QStringLiteral("old")), QStringList{});
    EXPECT_EQ(search(QString()), QStringList{"New1"});
}

} // namespace
} // namespace zorvek::test
