// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Dump.h"

#include "core/DataFile.h"
#include "core/TextCodec.h"

#include <QJsonArray>

namespace {

QString Text(std::string_view bytes) {
    return QString::fromStdString(DecodeForDisplay(bytes));
}

QJsonObject IconToJson(const TBitmapImage& icon) {
    return QJsonObject{{"width", icon.Width()},
                       {"height", icon.Height()},
                       {"bitsPerPixel", icon.BitsPerPixel()},
                       {"bytes", static_cast<qint64>(icon.Bytes().size())}};
}

QJsonObject ElementToJson(const TElement& element) {
    return QJsonObject{{"kind", Text(element.Kind)},
                       {"id", element.ID},
                       {"valueIndex", element.ValueIndex},
                       {"left", element.Left},
                       {"top", element.Top},
                       {"width", element.Width},
                       {"height", element.Height},
                       {"color", element.Color},
                       {"caption", Text(element.Caption)},
                       {"fontName", Text(element.Font.Name)},
                       {"fontStyle", element.Font.Style},
                       {"fontSize", element.Font.Size},
                       {"fontColor", element.Font.Color}};
}

QJsonObject ColumnToJson(const TListColumn& column) {
    return QJsonObject{
        {"elementId", column.ElementID}, {"width", column.Width}, {"caption", Text(column.Caption)}};
}

QJsonArray RecordToJson(const TRecord& record) {
    QJsonArray values;
    for (int32_t i = 0; i < record.Count(); ++i)
        values.append(Text(record.Value(i)));
    return values;
}

template <typename Item, typename Convert>
QJsonArray ListToJson(const std::vector<std::unique_ptr<Item>>& items, Convert convert) {
    QJsonArray array;
    for (const auto& item : items)
        array.append(convert(*item));
    return array;
}

QJsonObject CategoryToJson(const TCategory& category) {
    return QJsonObject{{"id", category.ID},
                       {"name", Text(category.Name)},
                       {"formColor", category.FormColor},
                       {"lastElementId", category.LastElementID},
                       {"sortColumn", category.SortColumn},
                       {"sortAscending", category.SortAscending},
                       {"icon", IconToJson(category.Icon)},
                       {"elements", ListToJson(category.Elements, ElementToJson)},
                       {"columns", ListToJson(category.Columns, ColumnToJson)},
                       {"records", ListToJson(category.Records, RecordToJson)}};
}

} // namespace

QJsonObject DataFileToJson(const TDataFile& dataFile) {
    return QJsonObject{{"magic", dataFile.Magic},
                       {"version", dataFile.Version},
                       {"passwordDigest", Text(dataFile.PasswordDigest)},
                       {"lastCategoryId", dataFile.LastCategoryID},
                       {"categories", ListToJson(dataFile.Categories, CategoryToJson)}};
}
