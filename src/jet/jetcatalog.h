// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

// The user tables a Jet 4 or ACE file holds, read from its system catalog (the table
// whose definition is on page 2) by the same checked reader as any table's rows. Only
// names, kinds and flags are read: the catalog's property blobs are never parsed.
namespace jetcatalog {

struct Table
{
    QString name;
    std::uint32_t definitionPage = 0;
};

// In the order the catalog stores them, as other Jet readers list them. Throws
// jetrows::DamagedFile.
std::vector<Table> userTables(QByteArrayView file);

} // namespace jetcatalog
