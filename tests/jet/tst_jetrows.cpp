// SPDX-License-Identifier: GPL-3.0-or-later

#include "data/ratesquery.h"
#include "jet/apperror.h"
#include "jet/jetconnection.h"
#include "jet/jetrows.h"
#include "testsupport.h"

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>
#include <map>

namespace {

constexpr qsizetype kPage = jetrows::kPageSize;

std::uint16_t u16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
}

std::uint32_t u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

void put16(QByteArray &bytes, qsizetype at, unsigned value)
{
    qToLittleEndian<std::uint16_t>(std::uint16_t(value), bytes.data() + at);
}

void put32(QByteArray &bytes, qsizetype at, std::uint32_t value)
{
    qToLittleEndian<std::uint32_t>(value, bytes.data() + at);
}

// Where the structures of ORANLAR lie in one file, found the way a hostile tester would
// find them: by the page headers, without the reader under test.
struct FileMap
{
    QByteArray bytes;
    std::uint32_t definitionPage = 0;
    std::vector<std::uint32_t> dataPages;
    std::vector<std::uint32_t> longValuePages;
    std::vector<std::uint32_t> catalogPages; // the catalog's definition and its rows
    std::vector<std::pair<qsizetype, qsizetype>> rows; // file offsets, [start, end)
    std::vector<qsizetype> memoHeads; // memos kept on long-value pages
    qsizetype usageMap = 0;
    qsizetype usageMapEnd = 0;
    qsizetype columnsStart = 0;
    qsizetype columnsEnd = 0;

    qsizetype pageCount() const { return bytes.size() / kPage; }

    std::vector<std::pair<qsizetype, qsizetype>> rowsOf(std::uint32_t page) const
    {
        std::vector<std::pair<qsizetype, qsizetype>> spans;
        const qsizetype base = qsizetype(page) * kPage;
        const int count = u16(bytes, base + 12);
        for (int row = 0; row < count; ++row) {
            const qsizetype start = u16(bytes, base + 14 + 2 * row) & 0x1FFF;
            const qsizetype end
                = row == 0 ? kPage : (u16(bytes, base + 14 + 2 * (row - 1)) & 0x1FFF);
            spans.emplace_back(base + start, base + end);
        }
        return spans;
    }

    explicit FileMap(QByteArray file)
        : bytes(std::move(file))
    {
        for (qsizetype page = 1; page < pageCount(); ++page) {
            const qsizetype base = page * kPage;
            // ORANLAR: eleven columns, seven of them variable.
            if (bytes[base] == 2 && u16(bytes, base + 45) == 11 && u16(bytes, base + 43) == 7
                && definitionPage == 0)
                definitionPage = std::uint32_t(page);
        }
        for (qsizetype page = 1; page < pageCount(); ++page) {
            const qsizetype base = page * kPage;
            if (bytes[base] != 1)
                continue;
            if (bytes.mid(base + 4, 4) == "LVAL")
                longValuePages.push_back(std::uint32_t(page));
            else if (u32(bytes, base + 4) == definitionPage)
                dataPages.push_back(std::uint32_t(page));
            else if (u32(bytes, base + 4) == 2)
                catalogPages.push_back(std::uint32_t(page));
        }
        for (const std::uint32_t page : dataPages) {
            for (const auto &span : rowsOf(page))
                rows.push_back(span);
        }
        for (const std::uint32_t page : longValuePages) {
            for (int row = 0; row < u16(bytes, qsizetype(page) * kPage + 12); ++row) {
                const std::uint32_t pointer = (page << 8) | std::uint32_t(row);
                for (const auto &[start, end] : rows) {
                    for (qsizetype at = start + 4; at + 4 <= end; ++at) {
                        const std::uint32_t head = u32(bytes, at - 4) & 0xC0000000;
                        if (u32(bytes, at) == pointer && (head == 0 || head == 0x40000000))
                            memoHeads.push_back(at - 4);
                    }
                }
            }
        }
        const qsizetype definition = qsizetype(definitionPage) * kPage;
        const std::uint32_t mapPointer = u32(bytes, definition + 55);
        const auto mapRows = rowsOf(mapPointer >> 8);
        usageMap = mapRows[mapPointer & 0xFF].first;
        usageMapEnd = mapRows[mapPointer & 0xFF].second;
        columnsStart = definition + 63 + 12 * qsizetype(u32(bytes, definition + 51));
        columnsEnd = columnsStart + 25 * 11;
        catalogPages.push_back(2);
    }
};

enum class Mutation {
    RowCount,
    RowOffset,
    RowColumnCount,
    DataPageCopied,
    PageZeroed,
    PageOfNoise,
    Truncated,
    MemoPointer,
    MemoLength,
    UsageMapBit,
    PageOwner,
    NullMask,
    ValueBit,
    LongValuePageCopied,
    ColumnDefinition,
    CatalogByte,
    Havoc,
};

struct MutationKind
{
    Mutation mutation;
    const char *name;
    // Whether the structures alone give the damage away. The others change stored
    // values in ways no reader can tell from real data without checksums.
    bool detectable;
};

constexpr MutationKind kMutations[] = {
    {Mutation::RowCount, "row count of a data page", true},
    {Mutation::RowOffset, "row offset", true},
    {Mutation::RowColumnCount, "column count of a row", true},
    {Mutation::DataPageCopied, "data page copied over another", true},
    {Mutation::PageZeroed, "page zeroed", true},
    {Mutation::PageOfNoise, "page of random bytes", true},
    {Mutation::Truncated, "file cut after a page", true},
    {Mutation::MemoPointer, "memo pointer", true},
    {Mutation::MemoLength, "memo length", true},
    {Mutation::UsageMapBit, "usage map bit", true},
    {Mutation::PageOwner, "owner of a data page", true},
    {Mutation::NullMask, "null mask bit", false},
    {Mutation::ValueBit, "bit inside a row", false},
    {Mutation::LongValuePageCopied, "long-value page copied over another", false},
    {Mutation::ColumnDefinition, "column definition byte", true},
    {Mutation::CatalogByte, "catalog byte", true},
    {Mutation::Havoc, "havoc: eight random bytes", false},
};

template<typename T> const T &pick(const std::vector<T> &values, QRandomGenerator &random)
{
    return values[size_t(random.bounded(int(values.size())))];
}

void flipBit(QByteArray &bytes, qsizetype from, qsizetype to, QRandomGenerator &random)
{
    const qsizetype at = from + random.bounded(int(to - from));
    bytes[at] = char(bytes[at] ^ (1 << random.bounded(8)));
}

// One mutated copy of the file; empty when the file has nothing this kind can change.
QByteArray mutated(const FileMap &map, Mutation mutation, QRandomGenerator &random)
{
    QByteArray bytes = map.bytes;
    const auto pageStart = [](std::uint32_t page) { return qsizetype(page) * kPage; };
    switch (mutation) {
    case Mutation::RowCount: {
        const qsizetype at = pageStart(pick(map.dataPages, random)) + 12;
        const int delta = pick(std::vector<int> {-3, -1, 1, 2, 13}, random);
        put16(bytes, at, unsigned(std::max(0, u16(bytes, at) + delta)));
        break;
    }
    case Mutation::RowOffset: {
        const std::uint32_t page = pick(map.dataPages, random);
        const qsizetype at
            = pageStart(page) + 14 + 2 * random.bounded(int(u16(bytes, pageStart(page) + 12)));
        const unsigned entry = u16(bytes, at);
        const int delta = pick(std::vector<int> {-16, -2, -1, 1, 2, 4, 100}, random);
        put16(bytes, at, (entry & 0xE000) | (unsigned(int(entry & 0x1FFF) + delta) & 0x1FFF));
        break;
    }
    case Mutation::RowColumnCount: {
        const qsizetype at = pick(map.rows, random).first;
        const int delta = pick(std::vector<int> {-8, -4, -2, -1, 1, 5}, random);
        put16(bytes, at, unsigned(std::max(0, u16(bytes, at) + delta)));
        break;
    }
    case Mutation::DataPageCopied:
    case Mutation::LongValuePageCopied: {
        const std::vector<std::uint32_t> &pages
            = mutation == Mutation::DataPageCopied ? map.dataPages : map.longValuePages;
        if (pages.size() < 2)
            return {};
        const std::uint32_t from = pick(pages, random);
        std::uint32_t to = from;
        while (to == from)
            to = pick(pages, random);
        bytes.replace(pageStart(to), kPage, map.bytes.mid(pageStart(from), kPage));
        break;
    }
    case Mutation::PageZeroed:
        bytes.replace(random.bounded(int(map.pageCount())) * kPage, kPage, QByteArray(kPage, 0));
        break;
    case Mutation::PageOfNoise: {
        const qsizetype start = random.bounded(int(map.pageCount())) * kPage;
        for (qsizetype i = 0; i < kPage; ++i)
            bytes[start + i] = char(random.bounded(256));
        break;
    }
    case Mutation::Truncated:
        bytes.truncate((1 + random.bounded(int(map.pageCount() - 1))) * kPage);
        break;
    case Mutation::MemoPointer: {
        if (map.memoHeads.empty())
            return {};
        const qsizetype at = pick(map.memoHeads, random) + 4;
        const std::uint32_t pointer = u32(bytes, at);
        switch (random.bounded(3)) {
        case 0: // another row of the same page
            put32(bytes, at, pointer ^ std::uint32_t(1 + random.bounded(3)));
            break;
        case 1: // another long-value page
            put32(bytes, at, (pick(map.longValuePages, random) << 8) | (pointer & 0xFF));
            break;
        default: // any page at all
            put32(bytes, at,
                (std::uint32_t(random.bounded(int(map.pageCount()))) << 8) | (pointer & 0xFF));
            break;
        }
        break;
    }
    case Mutation::MemoLength: {
        if (map.memoHeads.empty())
            return {};
        const qsizetype at = pick(map.memoHeads, random);
        const std::uint32_t head = u32(bytes, at);
        const std::uint32_t length = head & 0x3FFFFFFF;
        switch (random.bounded(4)) {
        case 3: // the longest length there is
            put32(bytes, at, head | 0x3FFFFFFF);
            break;
        case 0:
            put32(bytes, at,
                (head & 0xC0000000)
                    | ((length + 1 + std::uint32_t(random.bounded(8))) & 0x3FFFFFFF));
            break;
        case 1:
            put32(bytes, at,
                (head & 0xC0000000)
                    | (length
                        - std::min<std::uint32_t>(length, 1 + std::uint32_t(random.bounded(8)))));
            break;
        default:
            put32(bytes, at, head ^ (0x40000000u << random.bounded(2)));
            break;
        }
        break;
    }
    case Mutation::UsageMapBit:
        flipBit(bytes, map.usageMap + 5, map.usageMapEnd, random);
        break;
    case Mutation::PageOwner: {
        const qsizetype at = pageStart(pick(map.dataPages, random)) + 4;
        put32(bytes, at, u32(bytes, at) + 1 + std::uint32_t(random.bounded(30)));
        break;
    }
    case Mutation::NullMask: {
        const auto &[start, end] = pick(map.rows, random);
        flipBit(bytes, end - 2, end, random);
        break;
    }
    case Mutation::ValueBit: {
        const auto &[start, end] = pick(map.rows, random);
        flipBit(bytes, start + 2, end - 2, random);
        break;
    }
    case Mutation::ColumnDefinition:
        flipBit(bytes, map.columnsStart, map.columnsEnd, random);
        break;
    case Mutation::CatalogByte: {
        const qsizetype start = pageStart(pick(map.catalogPages, random));
        flipBit(bytes, start, start + kPage, random);
        break;
    }
    case Mutation::Havoc:
        for (int i = 0; i < 8; ++i)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        break;
    }
    return bytes;
}

bool sameRecord(const RatesRecord &a, const RatesRecord &b)
{
    return a.ID() == b.ID() && a.ana_kodu() == b.ana_kodu() && a.alt1_kodu() == b.alt1_kodu()
        && a.alt2_kodu() == b.alt2_kodu() && a.alt3_kodu() == b.alt3_kodu()
        && a.tum_kodu() == b.tum_kodu() && a.aciklama() == b.aciklama()
        && a.omur_yil() == b.omur_yil() && a.oran() == b.oran() && a.teblig() == b.teblig()
        && a.not_() == b.not_();
}

enum class Outcome { Equal, Error, Different };

Outcome outcomeOf(
    const RunDirectory &run, const QByteArray &bytes, const std::vector<RatesRecord> &original)
{
    QFile file(run.databasePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the mutated file");
    file.close();
    JetConnection connection;
    RatesQuery query(&connection);
    try {
        query.open();
    } catch (const AppError &) {
        return query.isOpen() ? Outcome::Different : Outcome::Error;
    }
    if (size_t(query.recordCount()) != original.size())
        return Outcome::Different;
    for (int i = 0; i < query.recordCount(); ++i) {
        if (!sameRecord(query.record(i), original[size_t(i)]))
            return Outcome::Different;
    }
    return Outcome::Equal;
}

// The records the query reads from the fixture before it is damaged. Records are read in
// place: the query that holds them stays open while they are compared.
struct OriginalList
{
    OriginalList()
    {
        query.open();
        for (int i = 0; i < query.recordCount(); ++i)
            records.push_back(query.record(i));
    }
    JetConnection connection;
    RatesQuery query {&connection};
    std::vector<RatesRecord> records;
};

} // namespace

class TestJetRows : public QObject
{
    Q_OBJECT

private slots:
    void textIsDecodedOrRefused_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty") << QByteArray() << true << QByteArray();
        QTest::newRow("UCS-2 letters")
            << QByteArray("b\0i\0n\0a\0", 8) << true << QByteArray("bina");
        QTest::newRow("Turkish letters to the code page")
            << QByteArray("\x30\x01\x5f\x01\xe7\x00", 6) << true << QByteArray("\xdd\xfe\xe7");
        QTest::newRow("character the code page lacks")
            << QByteArray("\x00\x04", 2) << true << QByteArray("?");
        QTest::newRow("surrogate pair is one character")
            << QByteArray("\x3d\xd8\x00\xde", 4) << true << QByteArray("?");
        QTest::newRow("odd length") << QByteArray("a\0b", 3) << false << QByteArray();
        QTest::newRow("lone high surrogate") << QByteArray("\x3d\xd8"
                                                           "a\0",
            4) << false << QByteArray();
        QTest::newRow("lone low surrogate") << QByteArray("\x00\xde", 2) << false << QByteArray();
        QTest::newRow("non-character") << QByteArray("\xff\xff", 2) << false << QByteArray();
        QTest::newRow("compressed") << QByteArray("\xff\xfe"
                                                  "kazan",
            7) << true << QByteArray("kazan");
        QTest::newRow("compressed with an UCS-2 run") << QByteArray("\xff\xfe"
                                                                    "a\0\x30\x01\x5f\x01\0b",
            11) << true
                                                      << QByteArray("a\xdd\xfe"
                                                                    "b");
        QTest::newRow("compressed, odd UCS-2 run") << QByteArray("\xff\xfe"
                                                                 "a\0\x30\x01\x5f\0",
            8) << false << QByteArray();
        QTest::newRow("compressed, nothing after the mark")
            << QByteArray("\xff\xfe", 2) << true << QByteArray();
    }

    void textIsDecodedOrRefused()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, valid);
        QFETCH(QByteArray, expected);
        const std::optional<QByteArray> text = jetrows::decodeText(stored);
        QCOMPARE(text.has_value(), valid);
        if (valid)
            QCOMPARE(*text, expected);
    }

    void movedRowIsReadOnceAtItsNewPlace_data()
    {
        QTest::addColumn<unsigned>("newPlaceFlags");
        QTest::addColumn<int>("pointerPastNewPlace");
        QTest::addColumn<bool>("readable");
        QTest::newRow("new place marked as moved there") << 0x8000u << 0 << true;
        QTest::newRow("new place also a row of its own") << 0u << 0 << false;
        QTest::newRow("pointer past the page's rows") << 0x8000u << 1 << false;
        QTest::newRow("moved row with no pointer to it") << 0x8000u << -1 << false;
    }

    // A row that grew is moved to a new place, and its old place keeps a pointer to it.
    // The row is read once, where it now lies (as other Jet readers list it), and only
    // when pointer and new place agree.
    void movedRowIsReadOnceAtItsNewPlace()
    {
        QFETCH(unsigned, newPlaceFlags);
        QFETCH(int, pointerPastNewPlace);
        QFETCH(bool, readable);
        RunDirectory run(QStringLiteral("fixture.mdb"));
        QFile file(run.databasePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const FileMap map(file.readAll());
        file.close();
        const OriginalList original;

        // The first row's bytes go below the page's last row, as a new row entry.
        const std::uint32_t page = map.dataPages.front();
        const qsizetype base = qsizetype(page) * kPage;
        const auto spans = map.rowsOf(page);
        const int count = int(spans.size());
        const QByteArray row = map.bytes.mid(spans[0].first, spans[0].second - spans[0].first);
        const qsizetype newPlace = spans.back().first - row.size();
        QVERIFY(newPlace - base >= 14 + 2 * (count + 1));
        QByteArray bytes = map.bytes;
        bytes.replace(newPlace, row.size(), row);
        put16(bytes, base + 2, unsigned(newPlace - base - (14 + 2 * (count + 1))));
        put16(bytes, base + 12, unsigned(count + 1));
        put16(bytes, base + 14 + 2 * count, unsigned(newPlace - base) | newPlaceFlags);
        if (pointerPastNewPlace >= 0) {
            put16(bytes, base + 14, u16(bytes, base + 14) | 0x4000);
            put32(bytes, spans[0].first, (page << 8) | std::uint32_t(count + pointerPastNewPlace));
        } else {
            put16(bytes, base + 14, u16(bytes, base + 14) | 0xC000);
        }

        std::vector<RatesRecord> expected = original.records;
        std::rotate(expected.begin(), expected.begin() + 1, expected.begin() + count);
        QCOMPARE(
            int(outcomeOf(run, bytes, expected)), int(readable ? Outcome::Equal : Outcome::Error));
    }

    // Mutated copies of the fixtures, each either read whole and equal to the original,
    // or refused; a different list is allowed only where the damage is a stored value.
    void mutationsGiveTheSameRowsOrAnError()
    {
        struct Count
        {
            int equal = 0;
            int error = 0;
            int different = 0;
        };
        std::map<std::string, Count> counts;
        QStringList wrongLists;
        // Thousands of refusals: their reasons would drown the counts below.
        QLoggingCategory::setFilterRules(QStringLiteral("velkaro.data.warning=false"));
        QRandomGenerator random(14071453);
        // A longer run, for a change to the reader: VELKARO_MUTATIONS_PER_KIND=1000.
        const int perKind = qEnvironmentVariableIntValue("VELKARO_MUTATIONS_PER_KIND") > 0
            ? qEnvironmentVariableIntValue("VELKARO_MUTATIONS_PER_KIND")
            : 30;

        for (const char *fixture : {"fixture.mdb", "longmemo.mdb", "../../AnaData/Velkaro.mdb"}) {
            RunDirectory run(QString::fromLatin1(fixture));
            QFile file(run.databasePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const FileMap map(file.readAll());
            file.close();
            QVERIFY(map.definitionPage != 0 && !map.dataPages.empty());

            const OriginalList original;

            for (const MutationKind &kind : kMutations) {
                for (int i = 0; i < perKind; ++i) {
                    const QByteArray bytes = mutated(map, kind.mutation, random);
                    if (bytes.isEmpty())
                        continue;
                    Count &count = counts[kind.name];
                    switch (outcomeOf(run, bytes, original.records)) {
                    case Outcome::Equal:
                        ++count.equal;
                        break;
                    case Outcome::Error:
                        ++count.error;
                        break;
                    case Outcome::Different:
                        ++count.different;
                        if (kind.detectable)
                            wrongLists << QStringLiteral("%1: %2 #%3")
                                              .arg(QLatin1String(fixture), QLatin1String(kind.name))
                                              .arg(i);
                        break;
                    }
                }
            }
        }
        for (const MutationKind &kind : kMutations) {
            const Count &count = counts[kind.name];
            qInfo("%-38s equal %3d  error %3d  different %3d%s", kind.name, count.equal,
                count.error, count.different, kind.detectable ? "" : "  (stored values)");
        }
        QLoggingCategory::setFilterRules(QString());
        QVERIFY2(wrongLists.isEmpty(), qPrintable(wrongLists.join(QStringLiteral(", "))));
    }
};

QTEST_GUILESS_MAIN(TestJetRows)
#include "tst_jetrows.moc"
