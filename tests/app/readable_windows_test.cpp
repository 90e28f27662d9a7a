// SPDX-License-Identifier: GPL-3.0-or-later
// Texts the windows must show whole, and the painted tick box's exact cross.
#include <QAbstractItemDelegate>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QTableView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Options/TfrmOptions.h"
#include "app/Search_tips/TfrmSearchTips.h"
#include "components/Coolcombobox/CoolComboBox.h"
#include "main_window_fixture.h"

namespace karvo {
namespace {

using testing::part;

TEST(ReadableWindows, SearchTipsShowEveryTextWholeAndApart) {
    TfrmSearchTips tips;
    tips.show();
    EXPECT_GE(tips.width(), 449);
    EXPECT_GE(tips.height(), 301);
    const QList<QLabel*> labels = tips.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 8);
    int bottom = -1;
    for (const QLabel* label : labels) {
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
        const QRect at(label->mapTo(&tips, QPoint(0, 0)), label->size());
        EXPECT_GT(at.top(), bottom) << label->text().toStdString();
        EXPECT_LE(at.bottom(), tips.height());
        bottom = at.bottom();
    }
}

TEST(ReadableWindows, OptionsTreeNamesFitTheirTree) {
    TfrmOptions dialog;
    dialog.show();
    QTreeWidget* tree = dialog.tree();
    const int room = tree->viewport()->width();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QModelIndex index = tree->indexFromItem(*it);
        int depth = 0;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            ++depth;
        QStyleOptionViewItem option;
        option.initFrom(tree->viewport());
        option.font = tree->font();
        const int needs = tree->itemDelegate()->sizeHint(option, index).width() + depth * tree->indentation();
        EXPECT_LE(needs, room) << (*it)->toolTip(0).toStdString();
        EXPECT_EQ((*it)->text(0).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified(), (*it)->toolTip(0).simplified());
    }
}

TEST(ReadableWindows, LengthAndQualityColumnsHoldTheirCaptionsAndValuesByDefault) {
    testing::main_window_fixture f;
    TfrmMain& w = f.create();
    struct column_case {
        QTableView* view;
        int column;
        const char* widest_value;
    };
    const column_case cases[] = {
        {part<QTableView>(w, "LstMusicList"), 5, "00:00"},   {part<QTableView>(w, "LstMusicList"), 6, "320kbits"},
        {part<QTableView>(w, "LstMusicListAll"), 5, "320kbits"}, {part<QTableView>(w, "LstMusicListAll"), 6, "00:00"},
    };
    for (const column_case& c : cases) {
        QHeaderView* header = c.view->horizontalHeader();
        const QString caption = c.view->model()->headerData(c.column, Qt::Horizontal).toString();
        const int width = header->sectionSize(c.column);
        EXPECT_LE(header->fontMetrics().horizontalAdvance(caption) + 10, width) << caption.toStdString();
        EXPECT_LE(c.view->fontMetrics().horizontalAdvance(QString::fromLatin1(c.widest_value)) + 8, width)
            << caption.toStdString();
    }
}

TEST(ReadableWindows, TickBoxCrossMovesEachColourByteBy100) {
    struct cross_case {
        QRgb box;
        QRgb cross;
    };
    const cross_case cases[] = {
        {0x000000, 0x646464}, {0xFFFFFF, 0x9B9B9B}, {0x00FF00, 0x649B64}, {0x808080, 0xE4E4E4}, {0x818181, 0x1D1D1D},
    };
    for (const cross_case& c : cases) {
        CoolComboBox box(QStringLiteral("Select Found."));
        box.set_Box_Color(QColor(c.box));
        box.set_Back_Color(QColor(0x75874F));
        box.set_Checked(true);
        EXPECT_EQ(box.cross_colour().rgb() & 0xFFFFFF, c.cross) << std::hex << c.box;
        // The cross's middle, where its two strokes meet, is painted in exactly that colour.
        const QImage shown = box.grab().toImage();
        const int middle = 2 + (box.height() - 4) / 2;
        EXPECT_EQ(shown.pixel(middle, middle) & 0xFFFFFF, c.cross) << std::hex << c.box;
    }
}

} // namespace
} // namespace karvo
