// SPDX-License-Identifier: GPL-3.0-or-later

#include "jetcatalog.h"

#include "jetrows.h"

namespace jetcatalog {

namespace {

constexpr std::uint32_t kCatalogDefinitionPage = 2;
constexpr int kTableObject = 1;
// Jet's own tables and the ones it hides carry one of these flags.
constexpr std::uint32_t kSystemObjectFlags = 0x80000002;
constexpr std::uint32_t kPageNumberMask = 0x00FFFFFF;

int columnNamed(const jetrows::TableReader &reader, QStringView name, jetrows::Storage storage)
{
    const std::vector<jetrows::ColumnLayout> &columns = reader.columns();
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            if (columns[i].storage != storage)
                break;
            return int(i);
        }
    }
    throw jetrows::DamagedFile("the catalog lacks one of its columns", kCatalogDefinitionPage);
}

} // namespace

std::vector<Table> userTables(QByteArrayView file)
{
    jetrows::TableReader reader(file, jetrows::readDefinition(file, kCatalogDefinitionPage));
    const int idColumn = columnNamed(reader, u"Id", jetrows::Storage::Int32);
    const int nameColumn = columnNamed(reader, u"Name", jetrows::Storage::Text);
    const int typeColumn = columnNamed(reader, u"Type", jetrows::Storage::Int16);
    const int flagsColumn = columnNamed(reader, u"Flags", jetrows::Storage::Int32);
    std::vector<Table> tables;
    while (reader.next()) {
        if (reader.isNull(idColumn) || reader.isNull(nameColumn) || reader.isNull(typeColumn))
            continue;
        const auto type = std::int16_t(*reader.number(typeColumn));
        const auto flags = reader.isNull(flagsColumn)
            ? 0u
            : std::uint32_t(std::int64_t(*reader.number(flagsColumn)));
        if (type != kTableObject || (flags & kSystemObjectFlags))
            continue;
        const std::optional<QString> name = jetrows::decodeName(reader.storedBytes(nameColumn));
        if (!name || name->isEmpty())
            throw jetrows::DamagedFile(
                "a table's name in the catalog is not valid text", kCatalogDefinitionPage);
        const auto id = std::uint32_t(std::int64_t(*reader.number(idColumn)));
        tables.push_back({*name, id & kPageNumberMask});
    }
    return tables;
}

} // namespace jetcatalog
