// SPDX-License-Identifier: GPL-3.0-or-later

#include "ratesrecord.h"

#include "fieldtext.h"
#include "ratesstore.h"

namespace {

using Number = RatesStore::Number;
using ShortText = RatesStore::ShortText;

} // namespace

std::optional<double> RatesRecord::ID() const
{
    return m_store ? m_store->number(m_index, Number::ID) : std::nullopt;
}

QByteArray RatesRecord::ana_kodu() const
{
    return m_store ? m_store->shortText(m_index, ShortText::AnaKodu) : QByteArray();
}

QByteArray RatesRecord::alt1_kodu() const
{
    return m_store ? m_store->shortText(m_index, ShortText::Alt1Kodu) : QByteArray();
}

QByteArray RatesRecord::alt2_kodu() const
{
    return m_store ? m_store->shortText(m_index, ShortText::Alt2Kodu) : QByteArray();
}

QByteArray RatesRecord::alt3_kodu() const
{
    return m_store ? m_store->shortText(m_index, ShortText::Alt3Kodu) : QByteArray();
}

QByteArray RatesRecord::tum_kodu() const
{
    return m_store ? m_store->shortText(m_index, ShortText::TumKodu) : QByteArray();
}

QByteArray RatesRecord::aciklama() const
{
    return m_store ? m_store->description(m_index) : QByteArray();
}

std::optional<double> RatesRecord::omur_yil() const
{
    return m_store ? m_store->number(m_index, Number::OmurYil) : std::nullopt;
}

std::optional<double> RatesRecord::oran() const
{
    return m_store ? m_store->number(m_index, Number::Oran) : std::nullopt;
}

std::optional<double> RatesRecord::teblig() const
{
    return m_store ? m_store->number(m_index, Number::Teblig) : std::nullopt;
}

QByteArray RatesRecord::not_() const
{
    return m_store ? m_store->shortText(m_index, ShortText::Not) : QByteArray();
}

std::optional<double> RatesRecord::oran2() const
{
    return fieldtext::calculatedPercentage(oran());
}

QByteArrayView RatesRecord::aciklamaFolded() const
{
    return m_store ? m_store->foldedDescription(m_index) : QByteArrayView();
}
