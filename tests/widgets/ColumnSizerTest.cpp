// Column widths: each column as wide as its header or widest cell, the last one
// reaching the list's right edge; kept incrementally for the server list.
#include <array>
#include <functional>
#include <random>

#include <QApplication>
#include <QHeaderView>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTabBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "support/ColumnChecks.h"
#include "widgets/ColumnSizer.h"

namespace zorvek::test {
namespace {

// A list with the server list's six columns, shown at its width.
void showWithServerColumns(QTreeWidget& list, int height)
{
    list.setHeaderLabels({"Name", "Mode", "Map", "FF", "Kam", "Players"});
    list.resize(577, height);
    list.show();
}

TEST(ColumnSizerTest, EmptyCellsGiveHeaderWideColumns)
{
    QTreeWidget list;
    list.setHeaderLabels({"Header one", "H2", "Third header"});
    list.resize(600, 300);
    list.show();
    ColumnSizer sizer(&list);
    sizer.addRow({"", "", ""});
    sizer.addRow({});
    sizer.apply();
    EXPECT_EQ(list.columnWidth(0), HeaderTextWidth(list, 0));
    EXPECT_EQ(list.columnWidth(1), HeaderTextWidth(list, 1));
    EXPECT_EQ(list.columnWidth(2), list.viewport()->width() - list.columnWidth(0) - list.columnWidth(1));
    expectSizedByTheRule(list);

    ResizeColumnWidth(&list);
    expectSizedByTheRule(list);
}

// What the list's model announces as changed: the rows and column ranges of each notice.
struct ChangeNotices
{
    explicit ChangeNotices(QAbstractItemModel* model)
    {
        QObject::connect(model, &QAbstractItemModel::dataChanged, model,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             notices.push_back({from.row(), to.row(), from.column(), to.column()});
                         });
    }
    std::vector<std::array<int, 4>> notices; // first row, last row, first column, last column
};

TEST(ColumnSizerTest, AChangedRowIsAnnouncedOnceOverAllItsColumns)
{
    QTreeWidget list;
    showWithServerColumns(list, 300);
    ColumnSizer sizer(&list);
    for (int r = 0; r < 3; ++r)
        sizer.addRow({QStringLiteral("S%1").arg(r)});
    ChangeNotices changes(list.model());

    const std::array<QString, 6> texts{"S1", "war", "mp_crash", "1", "0", "05 / 24"};
    sizer.setRow(1, texts);
    EXPECT_EQ(changes.notices, (std::vector<std::array<int, 4>>{{1, 1, 0, 5}}));
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(list.topLevelItem(1)->text(c), texts[static_cast<std::size_t>(c)]) << c;
    EXPECT_EQ(list.topLevelItem(1)->data(2, Qt::EditRole).toString(), QStringLiteral("mp_crash"));

    // Unchanged texts announce nothing; one changed cell announces its row.
    changes.notices.clear();
    sizer.setRow(1, texts);
    sizer.setCell(1, 2, QStringLiteral("mp_crash"));
    EXPECT_TRUE(changes.notices.empty());
    sizer.setCell(2, 3, QStringLiteral("1"));
    EXPECT_EQ(changes.notices, (std::vector<std::array<int, 4>>{{2, 2, 0, 5}}));

    // A text set on the item itself is kept and announced the same way, and other roles
    // stay the item's own.
    changes.notices.clear();
    list.topLevelItem(0)->setText(4, QStringLiteral("x"));
    list.topLevelItem(0)->setTextAlignment(4, Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(list.topLevelItem(0)->text(4), QStringLiteral("x"));
    EXPECT_EQ(list.topLevelItem(0)->textAlignment(4), int(Qt::AlignHCenter | Qt::AlignVCenter));
    ASSERT_EQ(changes.notices.size(), 2u);
    EXPECT_EQ(changes.notices[0], (std::array<int, 4>{0, 0, 0, 5}));
    EXPECT_EQ(list.model()->index(0, 4).data().toString(), QStringLiteral("x"));
}

TEST(ColumnSizerTest, IncrementalWidthsEqualAFullMeasureThroughGrowingAndShrinkingCells)
{
    QTreeWidget list;
    showWithServerColumns(list, 473);
    ColumnSizer sizer(&list);
    for (int r = 0; r < 40; ++r)
        sizer.addRow({QStringLiteral("%1 server").arg(r, 3, 10, QLatin1Char('0'))});
    sizer.apply();
    expectSizedByTheRule(list);

    std::mt19937 random(12345);
    const QStringList samples{
        "",  "-",       "---",       "war", "mp_crash", "mp_a_very_long_map_name_indeed",
        "1", "05 / 24", "100 / 128", "W",   "iiiiiiii", "WWWWWWWW"};
    for (int step = 0; step < 400; ++step) {
        const int row = static_cast<int>(random() % 40);
        const int column = static_cast<int>(random() % 6);
        sizer.setCell(row, column, samples[static_cast<int>(random() % samples.size())]);
        sizer.apply();
        const std::vector<int> incremental = widths(list);
        ResizeColumnWidth(&list);
        ASSERT_EQ(incremental, widths(list)) << "after step " << step;
    }
    // Everything shrunk back to nothing: header widths again.
    for (int r = 0; r < 40; ++r)
        for (int c = 1; c < 6; ++c)
            sizer.setCell(r, c, QString());
    sizer.apply();
    for (int c = 1; c < 5; ++c)
        EXPECT_EQ(list.columnWidth(c), HeaderTextWidth(list, c));
}

// Header and text widths are kept between applies: a change of what they were measured
// with (fonts, style) must still give the widths of a full measure.
struct MeasureChange
{
    const char* name;
    std::function<void(QTreeWidget&)> change;
};

void PrintTo(const MeasureChange& change, std::ostream* os)
{
    *os << change.name;
}

// Wider text margins in cells and headers than the application's style.
class WideMarginStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_FocusFrameHMargin || metric == PM_HeaderMargin ? value + 7 : value;
    }
};

class ColumnSizerMeasureTest : public ::testing::TestWithParam<MeasureChange>
{
};

TEST_P(ColumnSizerMeasureTest, KeptWidthsFollowTheChange)
{
    QTreeWidget list;
    showWithServerColumns(list, 473);
    ColumnSizer sizer(&list);
    for (int r = 0; r < 10; ++r)
        sizer.addRow({QStringLiteral("server %1").arg(r), "war", r % 2 ? "mp_crash" : "mp_backlot", "1", "0",
                      "05 / 24"});
    sizer.apply();
    expectSizedByTheRule(list);
    const std::vector<int> before = widths(list);

    GetParam().change(list);
    sizer.apply();
    const std::vector<int> after = widths(list);
    // The change must show in the widths, or this case would prove nothing.
    EXPECT_NE(before, after);
    ResizeColumnWidth(&list);
    EXPECT_EQ(after, widths(list));
    expectSizedByTheRule(list);

    // Cells written after the change are measured with it too.
    sizer.setCell(3, 2, "mp_a_very_long_map_name_indeed");
    sizer.setCell(4, 1, "searchanddestroy");
    sizer.apply();
    const std::vector<int> incremental = widths(list);
    ResizeColumnWidth(&list);
    EXPECT_EQ(incremental, widths(list));
}

INSTANTIATE_TEST_SUITE_P(Changes, ColumnSizerMeasureTest,
                         ::testing::Values(MeasureChange{"ListFontGrows",
                                                         [](QTreeWidget& list) {
                                                             QFont font = list.font();
                                                             font.setPointSizeF(font.pointSizeF() * 2);
                                                             list.setFont(font);
                                                         }},
                                           MeasureChange{"HeaderFontGrows",
                                                         [](QTreeWidget& list) {
                                                             QFont font = list.header()->font();
                                                             font.setPointSizeF(font.pointSizeF() * 3);
                                                             list.header()->setFont(font);
                                                         }},
                                           MeasureChange{"StyleWithWiderMargins",
                                                         [](QTreeWidget& list) {
                                                             auto* style = new WideMarginStyle;
                                                             style->setParent(qApp); // outlives the list
                                                             list.setStyle(style);
                                                         }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColumnSizerTest, KeptTextWidthsStayBoundedAndCorrect)
{
    QTreeWidget list;
    list.setHeaderLabels({"Name", "Map"});
    list.resize(400, 300);
    list.show();
    ColumnSizer sizer(&list);
    for (int r = 0; r < 4; ++r)
        sizer.addRow({QStringLiteral("S%1").arg(r)});
    // A server can send a new text with every reply: many more than are kept.
    const int texts = ColumnSizer::kTextWidthLimit * 2 + 100;
    for (int k = 0; k < texts; ++k) {
        sizer.setCell(
            k % 4, 1,
            QStringLiteral("mp_%1").arg(QString(k % 37 + 1, QLatin1Char('w')) + QString::number(k)));
        ASSERT_LE(sizer.keptTextWidths(), ColumnSizer::kTextWidthLimit);
        if (k % 997 == 0 || k == texts - 1) {
            sizer.apply();
            const std::vector<int> incremental = widths(list);
            ResizeColumnWidth(&list);
            ASSERT_EQ(incremental, widths(list)) << "after text " << k;
        }
    }
    EXPECT_GT(sizer.keptTextWidths(), 0);
    sizer.clear();
    EXPECT_EQ(sizer.keptTextWidths(), 0);
}

} // namespace
} // namespace zorvek::test
