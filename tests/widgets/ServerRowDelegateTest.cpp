// The server list's cell drawer: the same pixels as the style's own item drawing in
// every state a row can be in, with the laid-out texts kept between paints.
#include <functional>

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "widgets/ColumnSizer.h"
#include "widgets/ServerRowDelegate.h"

namespace zorvek {
namespace {

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

struct RowState
{
    const char* name;
    std::function<void(QTreeWidget&)> set;
};

void PrintTo(const RowState& state, std::ostream* os)
{
    *os << state.name;
}

// A list laid out as the server list: Verdana, six columns, centred settings.
class ServerRowDelegateTest : public ::testing::TestWithParam<RowState>
{
protected:
    void SetUp() override
    {
        QFont font(QStringLiteral("Verdana"));
        font.setPointSizeF(8.25);
        list.setFont(font);
        list.setRootIsDecorated(false);
        list.setUniformRowHeights(true);
        list.setAllColumnsShowFocus(true);
        list.setHeaderLabels({"Název místnosti", "Mód", "Mapa", "FF", "Kam", "Hráči"});
        list.header()->setStretchLastSection(false);
        list.resize(577, 473);
        ColumnSizer sizer(&list);
        const QStringList maps{"mp_crash", "---", "mp_backlot", "", "mp_a_very_long_map_name_indeed", "mp_x"};
        for (int r = 0; r < 30; ++r) {
            const QString players =
                r % 3 ? QStringLiteral("%1 / 24").arg(r, 2, 10, QLatin1Char('0')) : QStringLiteral("--");
            QTreeWidgetItem* row = sizer.addRow(
                {QStringLiteral("%1 Řehoř žluťoučký server ^1%2").arg(r, 3, 10, QLatin1Char('0')).arg(r),
                 r % 4 ? "war" : "searchanddestroy", maps[r % maps.size()], r % 2 ? "1" : "-", "0", players});
            for (int c = 1; c < 6; ++c)
                row->setTextAlignment(c, Qt::AlignHCenter | Qt::AlignVCenter);
        }
        sizer.apply();
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    QImage render()
    {
        // Scroll bars and geometry changes of the state settle before the paint: the items are
        // laid out now, and the scroll bars that follow from that are shown.
        list.doItemsLayout();
        QApplication::processEvents();
        QImage image(list.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        list.viewport()->render(&image);
        return image;
    }

    QTreeWidget list;
};

TEST_P(ServerRowDelegateTest, DrawsTheSamePixelsAsTheStyle)
{
    GetParam().set(list);
    list.setItemDelegate(new QStyledItemDelegate(&list));
    const QImage byStyle = render();

    auto* delegate = new ServerRowDelegate(&list);
    list.setItemDelegate(delegate);
    const QImage first = render();
    EXPECT_GT(delegate->keptLayouts(), 0);
    const QImage again = render(); // from the kept layouts
    EXPECT_EQ(differingPixels(first, byStyle), 0);
    EXPECT_EQ(differingPixels(again, byStyle), 0);
}

INSTANTIATE_TEST_SUITE_P(
    States, ServerRowDelegateTest,
    ::testing::Values(
        RowState{"PlainRows", [](QTreeWidget&) {}},
        RowState{"SelectedRow", [](QTreeWidget& list) { list.topLevelItem(4)->setSelected(true); }},
        RowState{"CurrentRowWithKeyboardFocus",
                 [](QTreeWidget& list) {
                     list.activateWindow();
                     ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
                     list.setFocus(Qt::TabFocusReason);
                     list.setCurrentItem(list.topLevelItem(2));
                     ASSERT_TRUE(list.hasFocus());
                 }},
        RowState{"DisabledList", [](QTreeWidget& list) { list.setEnabled(false); }},
        RowState{"ColumnsTooNarrowElide",
                 [](QTreeWidget& list) {
                     list.setColumnWidth(0, 60);
                     list.setColumnWidth(2, 30);
                 }},
        RowState{"ScrolledHalfARow", [](QTreeWidget& list) { list.scrollToItem(list.topLevelItem(29)); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ServerRowDelegateLimitTest, KeptLayoutsStayBounded)
{
    QTreeWidget list;
    list.setHeaderLabels({"Name"});
    list.resize(300, 200);
    auto* delegate = new ServerRowDelegate(&list);
    list.setItemDelegate(delegate);
    auto* item = new QTreeWidgetItem(&list, {QString()});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QImage image(list.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (int k = 0; k < ServerRowDelegate::kLayoutLimit + 50; ++k) {
        item->setText(0, QStringLiteral("text %1").arg(k));
        list.viewport()->render(&image);
        ASSERT_LE(delegate->keptLayouts(), ServerRowDelegate::kLayoutLimit);
    }
    EXPECT_GT(delegate->keptLayouts(), 0);
}

} // namespace
} // namespace zorvek
