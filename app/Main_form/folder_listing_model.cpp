#include "app/Main_form/folder_listing_model.h"

#include "library/my_computer_list.h"

namespace karvo {

namespace {
const char* const captions[folder_view_columns] = {"Media Name", "Artist", "Song",   "Album",
                                                   "Genre",      "Quality", "Length", "Year"};
}

folder_listing_model::folder_listing_model(const my_computer_list& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

int folder_listing_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int folder_listing_model::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : folder_view_columns;
}

QVariant folder_listing_model::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= folder_view_columns)
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return QString::fromStdString(list_.cell(column_map[index.column()], row));
    case Qt::DecorationRole:
        if (index.column() == 0 && image_of_) {
            const int image = image_of_(list_.full_path(row));
            if (image >= 0 && image < static_cast<int>(icons_.size()))
                return icons_[image];
        }
        return {};
    default:
        return {};
    }
}

QVariant folder_listing_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= folder_view_columns)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(captions[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags folder_listing_model::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void folder_listing_model::set_images(std::vector<QIcon> icons, std::function<int(const std::string&)> image_of) {
    icons_ = std::move(icons);
    image_of_ = std::move(image_of);
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, 0), {Qt::DecorationRole});
}

void folder_listing_model::begin_fill() {
    if (filling_)
        return;
    filling_ = true;
    beginResetModel();
    rows_ = 0;
}

void folder_listing_model::end_fill(int count) {
    if (!filling_)
        return;
    rows_ = std::min(count, list_.count());
    filling_ = false;
    endResetModel();
}

} // namespace karvo
