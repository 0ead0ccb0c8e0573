// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the template data file from its readable source (share/Templates/template1.json): the
// starter categories with their forms, list columns and icons.
//
// Usage: quillery-make-template SOURCE.json OUTPUT.tpl

#include "core/DataFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <iostream>
#include <map>
#include <stdexcept>

namespace {

// Every position and size on a form is a multiple of the design grid.
constexpr int kGrid = 6;

class ETemplateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

QJsonValue Field(const QJsonObject& object, const char* key, const QString& where) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        throw ETemplateError(where.toStdString() + ": \"" + key + "\" is missing");
    return value;
}

int Integer(const QJsonObject& object, const char* key, const QString& where) {
    const QJsonValue value = Field(object, key, where);
    if (!value.isDouble() || value.toDouble() != static_cast<double>(value.toInt()))
        throw ETemplateError(where.toStdString() + ": \"" + key + "\" is not a whole number");
    return value.toInt();
}

std::string Text(const QJsonObject& object, const char* key, const QString& where) {
    const QJsonValue value = Field(object, key, where);
    if (!value.isString())
        throw ETemplateError(where.toStdString() + ": \"" + key + "\" is not a text");
    return value.toString().toStdString();
}

int GridInteger(const QJsonObject& object, const char* key, const QString& where) {
    const int value = Integer(object, key, where);
    if (value % kGrid != 0)
        throw ETemplateError(where.toStdString() + ": \"" + key + "\" is off the " + std::to_string(kGrid) +
                             "-pixel grid");
    return value;
}

std::array<uint32_t, 16> ReadPalette(const QJsonArray& entries) {
    if (entries.size() != 16)
        throw ETemplateError("the palette needs 16 colours");
    std::array<uint32_t, 16> palette{};
    for (int i = 0; i < 16; ++i) {
        bool ok = false;
        palette[static_cast<size_t>(i)] = entries.at(i).toString().toUInt(&ok, 16);
        if (!ok)
            throw ETemplateError("palette entry " + std::to_string(i) + " is not a hexadecimal colour");
    }
    return palette;
}

TBitmapImage ReadIcon(const QJsonArray& lines, const std::array<uint32_t, 16>& palette,
                      const QString& where) {
    std::vector<std::string> rows;
    for (const QJsonValue& line : lines) {
        const std::string row = line.toString().toStdString();
        if (row.size() != 32 || row.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
            throw ETemplateError(where.toStdString() + ": every icon row needs 32 hexadecimal digits");
        rows.push_back(row);
    }
    if (rows.size() != 32)
        throw ETemplateError(where.toStdString() + ": the icon needs 32 rows");
    return TBitmapImage::FromPixelMap(palette, std::vector<std::string_view>(rows.begin(), rows.end()));
}

struct TStyle {
    TFont Font;
    int32_t BoxColor = 0;
};

void AddCategory(TDataFile& dataFile, const QJsonObject& source, const TStyle& style,
                 const std::array<uint32_t, 16>& palette) {
    TCategory& category = *dataFile.AddCategory();
    category.Name = Text(source, "name", QStringLiteral("category"));
    const QString where = QString::fromStdString(category.Name);
    category.Icon = ReadIcon(Field(source, "icon", where).toArray(), palette, where);

    std::map<std::string, int32_t> boxIDs; // text boxes by the key the columns name them with
    for (const QJsonValue& value : Field(source, "elements", where).toArray()) {
        const QJsonObject element = value.toObject();
        const std::string kind = Text(element, "kind", where);
        const bool label = kind == kKindLabel;
        if (!label && kind != kKindEdit && kind != kKindMemo)
            throw ETemplateError(where.toStdString() + ": unknown element kind " + kind);
        const int32_t id =
            category.AddElement(kind, GridInteger(element, "left", where), GridInteger(element, "top", where),
                                GridInteger(element, "width", where), GridInteger(element, "height", where),
                                label ? category.FormColor : style.BoxColor, style.Font,
                                label ? Text(element, "caption", where) : "");
        if (!label && !boxIDs.emplace(Text(element, "key", where), id).second)
            throw ETemplateError(where.toStdString() + ": element key " + Text(element, "key", where) +
                                 " is used twice");
    }
    category.RenumberValueIndexes();

    for (const QJsonValue& value : Field(source, "columns", where).toArray()) {
        const QJsonObject column = value.toObject();
        const auto box = boxIDs.find(Text(column, "key", where));
        if (box == boxIDs.end())
            throw ETemplateError(where.toStdString() + ": a column names no text box");
        auto entry = std::make_unique<TListColumn>();
        entry->ElementID = box->second;
        entry->Width = Integer(column, "width", where);
        entry->Caption = Text(column, "caption", where);
        category.Columns.push_back(std::move(entry));
    }

    // Optional sample records (for screenshots and demonstrations): text box key to value.
    for (const QJsonValue& value : source.value(QLatin1String("records")).toArray()) {
        const QJsonObject values = value.toObject();
        TRecord& record = *category.NewRecord();
        for (auto it = values.begin(); it != values.end(); ++it) {
            const auto box = boxIDs.find(it.key().toStdString());
            if (box == boxIDs.end())
                throw ETemplateError(where.toStdString() + ": a record names no text box " +
                                     it.key().toStdString());
            record.SetValue(category.ValueIndexOf(box->second), it.value().toString().toStdString());
        }
    }
}

void MakeTemplate(const QString& sourcePath, const std::string& outputPath) {
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly))
        throw ETemplateError("Cannot open file " + sourcePath.toStdString());
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (document.isNull())
        throw ETemplateError(sourcePath.toStdString() + ": " + error.errorString().toStdString() +
                             " at offset " + std::to_string(error.offset));
    const QJsonObject root = document.object();
    const QString top = QStringLiteral("template");

    TStyle style;
    const QJsonObject font = Field(root, "font", top).toObject();
    style.Font.Name = Text(font, "name", top);
    style.Font.Size = Integer(font, "size", top);
    style.Font.Style = static_cast<uint8_t>(Integer(font, "style", top));
    style.Font.Color = Integer(font, "color", top);
    style.BoxColor = Integer(root, "boxColor", top);
    const std::array<uint32_t, 16> palette = ReadPalette(Field(root, "palette", top).toArray());

    TDataFile dataFile;
    for (const QJsonValue& category : Field(root, "categories", top).toArray())
        AddCategory(dataFile, category.toObject(), style, palette);
    dataFile.SaveToFile(outputPath);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Usage: quillery-make-template SOURCE.json OUTPUT.tpl\n";
        return 2;
    }
    try {
        MakeTemplate(QString::fromLocal8Bit(argv[1]), argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "quillery-make-template: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
