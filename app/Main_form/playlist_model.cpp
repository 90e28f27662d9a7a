#include "app/Main_form/playlist_model.h"

#include <QMimeData>

#include "library/media_list.h"
#include "library/text.h"

namespace karvo {

playlist_model::playlist_model(const media_list& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list),
      captions_({QStringLiteral("Media Name"), QStringLiteral("Artist"), QStringLiteral("Song"),
                 QStringLiteral("Album"), QStringLiteral("Genre"), QStringLiteral("Length"),
                 QStringLiteral("Quality"), QStringLiteral("Year"), QStringLiteral("List")}) {}

int playlist_model::list_count() const {
    return list_.count();
}

int playlist_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int playlist_model::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : playlist_view_columns;
}

QVariant playlist_model::data(const QModelIndex& index, int role) const {
    ++data_calls_;
    if (!index.isValid() || index.row() >= rows_)
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return QString::fromStdString(list_.cell(column_map[index.column()], row));
    case Qt::DecorationRole:
        if (index.column() == 0) {
            const int image = extension_image(list_.full_path(row));
            if (image >= 0 && image < static_cast<int>(icons_.size()))
                return icons_[image];
        }
        return {};
    default:
        return {};
    }
}

QVariant playlist_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= playlist_view_columns)
        return {};
    if (role == Qt::DisplayRole)
        return section == 0 ? count_caption() : captions_[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

QStringList playlist_model::mimeTypes() const {
    return {QStringLiteral("application/x-karvo-playlist-selection")};
}

QMimeData* playlist_model::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(mimeTypes().front(), {});
    return data;
}

Qt::ItemFlags playlist_model::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void playlist_model::set_caption(int column, const QString& caption) {
    if (column < 1 || column >= playlist_view_columns)
        return;
    captions_[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void playlist_model::set_count_texts(const QString& media_names, const QString& total_files) {
    media_names_ = media_names;
    total_files_ = total_files;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void playlist_model::set_extension_images(const std::vector<std::string>& extensions, std::vector<QIcon> icons) {
    extension_index_.clear();
    for (std::size_t i = 0; i < extensions.size(); ++i)
        extension_index_.emplace(upper_case(extensions[i]), static_cast<int>(i));  // the first one wins
    icons_ = std::move(icons);
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, 0), {Qt::DecorationRole});
}

int playlist_model::extension_image(const std::string& path) const {
    const auto found = extension_index_.find(upper_extension(path));
    return found == extension_index_.end() ? unknown_extension_image : found->second;
}

void playlist_model::refresh_count() {
    rewrite([] {});
}

void playlist_model::rows_changed(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, rows_ - 1);
    if (first <= last)
        emit dataChanged(index(first, 0), index(last, playlist_view_columns - 1), {Qt::DisplayRole,
                                                                                   Qt::DecorationRole});
}

QString playlist_model::count_caption() const {
    return media_names_ + QStringLiteral("   (") + total_files_ + QLatin1Char(' ') + QString::number(rows_) +
           QLatin1Char(')');
}

} // namespace karvo
