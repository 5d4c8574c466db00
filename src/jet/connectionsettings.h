// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <array>
#include <optional>
#include <string_view>

// The settings of the rates database connection, kept as declared data. The
// connection reads provider, data source, password and mode back from the rendered
// connection string, so the string is the one source of truth.
namespace connectionsettings {

struct Property
{
    std::string_view name;
    std::string_view value;
};

inline constexpr std::array<Property, 19> kProperties = {{
    {"Provider", "Microsoft.Jet.OLEDB.4.0"},
    {"User ID", "Admin"},
    {"Data Source", "AnaData\\Velkaro.mdb"},
    {"Mode", "Share Deny None"},
    {"Extended Properties", ""},
    {"Persist Security Info", "False"},
    {"Jet OLEDB:System database", ""},
    {"Jet OLEDB:Registry Path", ""},
    {"Jet OLEDB:Database Password", "t3kwrbe7MNQZV5P"},
    {"Jet OLEDB:Engine Type", "5"},
    {"Jet OLEDB:Database Locking Mode", "1"},
    {"Jet OLEDB:Global Partial Bulk Ops", "2"},
    {"Jet OLEDB:Global Bulk Transactions", "1"},
    {"Jet OLEDB:New Database Password", ""},
    {"Jet OLEDB:Create System Database", "False"},
    {"Jet OLEDB:Encrypt Database", "False"},
    {"Jet OLEDB:Don't Copy Locale on Compact", "False"},
    {"Jet OLEDB:Compact Without Replica Repair", "False"},
    {"Jet OLEDB:SFP", "False"},
}};

inline constexpr std::string_view kJetProvider = "Microsoft.Jet.OLEDB.4.0";
inline constexpr int kJet4EngineType = 5;

// "Name=value;Name=value;...", empty values as "", values with ";" or quotes quoted.
QString render(const std::array<Property, kProperties.size()> &properties = kProperties);

// The program's connection string with another data source: a list given by its path.
QString renderFor(const QString &dataSource);

// The value of one property (names compare case-insensitively, as OLE DB does);
// an absent property gives nothing.
std::optional<QString> value(const QString &connectionString, QStringView name);

} // namespace connectionsettings
