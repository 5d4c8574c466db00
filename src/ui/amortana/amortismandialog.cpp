// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/amortismandialog.h"

#include "calc/moneytext.h"
#include "ui/common/messagebox.h"
#include "ui/common/systemclipboard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

using depreciation::Refusal;

namespace {

// Captions are the program's Turkish in every language, as the main window's are.
const QStringList kColumnTitles = {QStringLiteral("Yıl"), QStringLiteral("Amortisman"),
    QStringLiteral("Birikmiş Amortisman"), QStringLiteral("Net Değer")};

const std::array<QString, 12> kMonths
    = {QStringLiteral("Ocak"), QStringLiteral("Şubat"), QStringLiteral("Mart"),
        QStringLiteral("Nisan"), QStringLiteral("Mayıs"), QStringLiteral("Haziran"),
        QStringLiteral("Temmuz"), QStringLiteral("Ağustos"), QStringLiteral("Eylül"),
        QStringLiteral("Ekim"), QStringLiteral("Kasım"), QStringLiteral("Aralık")};

// Values the library accepts, put in place of a field already found wrong so that the
// other fields are still checked.
constexpr std::int64_t kAcceptedCost = 100;
constexpr int kAcceptedYear = 2000;

constexpr int kSentenceWidth = 300;

AmortismanDialog::SaveFileChooser &saveFileChooser()
{
    static AmortismanDialog::SaveFileChooser chooser;
    return chooser;
}

QString money(std::int64_t kurus)
{
    return QString::fromStdString(moneytext::format(kurus));
}

// "%6,66": the Turkish order, sign first, whatever the locale.
QString percent(int basisPoints)
{
    return QStringLiteral("%%1,%2")
        .arg(basisPoints / 100)
        .arg(basisPoints % 100, 2, 10, QLatin1Char('0'));
}

QStringList cellsOf(const depreciation::Row &row)
{
    return {
        QString::number(row.year), money(row.amount), money(row.accumulated), money(row.netValue)};
}

// Tab-separated, as spreadsheets take a pasted table; the amounts in the Turkish form,
// which a spreadsheet under a Turkish locale reads back as numbers.
QString tabSeparated(const depreciation::Schedule &schedule)
{
    QString text = kColumnTitles.join(u'\t') + u'\n';
    for (const depreciation::Row &row : schedule)
        text += cellsOf(row).join(u'\t') + u'\n';
    return text;
}

// What Turkish spreadsheets open without an import dialog: UTF-8 with a byte-order mark
// (else Excel reads it in the ANSI code page), ";" between fields (the comma is the
// decimal separator), CR LF after every line. No field holds ";" or a quote.
QByteArray csv(const depreciation::Schedule &schedule)
{
    QByteArray bytes = "\xEF\xBB\xBF";
    bytes += kColumnTitles.join(u';').toUtf8() + "\r\n";
    for (const depreciation::Row &row : schedule)
        bytes += cellsOf(row).join(u';').toUtf8() + "\r\n";
    return bytes;
}

QLabel *sentenceLabel(const char *objectName)
{
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(objectName));
    label->setWordWrap(true);
    label->setMinimumWidth(kSentenceWidth);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(Qt::darkRed));
    label->setPalette(palette);
    return label;
}

// The sentence beside a field, also given to the field for screen readers.
void say(QLabel *label, QWidget *field, const QString &sentence)
{
    label->setText(sentence);
    field->setAccessibleDescription(sentence);
}

} // namespace

AmortismanDialog::SaveFileChooser AmortismanDialog::setSaveFileChooser(SaveFileChooser chooser)
{
    return std::exchange(saveFileChooser(), std::move(chooser));
}

AmortismanDialog::AmortismanDialog(const ListedAsset &asset, QWidget *parent)
    : QDialog(parent)
    , m_asset(asset)
    , m_life(depreciation::lifeYears(asset.life))
    , m_rate(depreciation::rateBasisPoints(asset.rate))
{
    setObjectName(QStringLiteral("AmortismanDialog"));
    setWindowTitle(QStringLiteral("Amortisman Hesapla"));
    buildForm();
    connectEntries();
    renumberSwitchYears();
    recalculate();
    m_cost->setFocus();
}

void AmortismanDialog::buildForm()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildRowPart());
    layout->addWidget(buildEntryPart());

    m_table = new QTableWidget(0, int(kColumnTitles.size()));
    m_table->setObjectName(QStringLiteral("scheduleTable"));
    m_table->setHorizontalHeaderLabels(kColumnTitles);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Tab leaves the table rather than walking its cells, so that the buttons stay a
    // Tab away.
    m_table->setTabKeyNavigation(false);
    m_resultMessage = new QLabel;
    m_resultMessage->setObjectName(QStringLiteral("scheduleMessage"));
    m_resultMessage->setWordWrap(true);
    m_resultMessage->setAlignment(Qt::AlignCenter);
    m_result = new QStackedWidget;
    m_result->addWidget(m_table);
    m_result->addWidget(m_resultMessage);
    layout->addWidget(m_result, 1);

    m_copy = new QPushButton(QStringLiteral("K&opyala"));
    m_copy->setObjectName(QStringLiteral("copyButton"));
    m_save = new QPushButton(QStringLiteral("&Kaydet"));
    m_save->setObjectName(QStringLiteral("saveButton"));
    auto *close = new QPushButton(QStringLiteral("Ka&pat"));
    close->setObjectName(QStringLiteral("closeButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {m_copy, m_save, close}) {
        // Enter in the cost box must not press a button: it would close or save while
        // the user is still typing.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(m_copy, &QPushButton::clicked, this, &AmortismanDialog::copySchedule);
    connect(m_save, &QPushButton::clicked, this, &AmortismanDialog::saveSchedule);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    const std::array<QWidget *, 12> tabOrder = {m_cost, m_firstYear, m_normal, m_declining,
        m_switchYear, m_car, m_month, m_rental, m_table, m_copy, m_save, close};
    for (size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    resize(720, 600);
}

QWidget *AmortismanDialog::buildRowPart()
{
    auto *part = new QWidget;
    auto *form = new QFormLayout(part);
    form->setContentsMargins({});
    const auto value = [](const QString &text, const char *objectName) {
        auto *label = new QLabel(text);
        label->setObjectName(QLatin1String(objectName));
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    form->addRow(QStringLiteral("Sıra No:"), value(m_asset.listNumber, "listNumber"));
    QLabel *description = value(m_asset.description, "description");
    description->setWordWrap(true);
    form->addRow(QStringLiteral("Açıklama:"), description);
    form->addRow(QStringLiteral("Faydalı Ömür:"),
        value(m_life.ok() ? QStringLiteral("%1 yıl").arg(m_life.value()) : QString(), "life"));
    auto *rates = new QHBoxLayout;
    rates->addWidget(value(m_rate.ok() ? percent(m_rate.value()) : QString(), "rate"));
    rates->addSpacing(24);
    rates->addWidget(new QLabel(QStringLiteral("Azalan Bakiyeler Oranı:")));
    rates->addWidget(
        value(m_rate.ok() ? percent(depreciation::decliningRate(m_rate.value())) : QString(),
            "decliningRate"));
    rates->addStretch();
    form->addRow(QStringLiteral("Normal Oran:"), rates);
    return part;
}

QWidget *AmortismanDialog::buildEntryPart()
{
    auto *part = new QWidget;
    auto *grid = new QGridLayout(part);
    grid->setContentsMargins({});
    grid->setColumnStretch(2, 1);
    const auto addLabel = [grid](const QString &caption, QWidget *buddy, int row) {
        auto *label = new QLabel(caption);
        label->setBuddy(buddy);
        grid->addWidget(label, row, 0);
    };

    m_cost = new QLineEdit;
    m_cost->setObjectName(QStringLiteral("costEdit"));
    m_cost->setPlaceholderText(QStringLiteral("1.234,56"));
    m_costMessage = sentenceLabel("costMessage");
    addLabel(QStringLiteral("&Maliyet Bedeli (TL):"), m_cost, 0);
    grid->addWidget(m_cost, 0, 1);
    grid->addWidget(m_costMessage, 0, 2);

    // Wider than the years the library takes, so that a year outside them can be typed
    // and answered with a sentence rather than silently refused by the box.
    m_firstYear = new QSpinBox;
    m_firstYear->setObjectName(QStringLiteral("firstYearBox"));
    m_firstYear->setRange(0, 9999);
    m_firstYear->setValue(QDate::currentDate().year());
    m_yearMessage = sentenceLabel("yearMessage");
    addLabel(QStringLiteral("İlk &Yıl:"), m_firstYear, 1);
    grid->addWidget(m_firstYear, 1, 1);
    grid->addWidget(m_yearMessage, 1, 2);

    m_normal = new QRadioButton(QStringLiteral("&Normal"));
    m_normal->setObjectName(QStringLiteral("normalButton"));
    m_normal->setChecked(true);
    m_declining = new QRadioButton(QStringLiteral("A&zalan Bakiyeler"));
    m_declining->setObjectName(QStringLiteral("decliningButton"));
    m_switchYear = new QComboBox;
    m_switchYear->setObjectName(QStringLiteral("switchYearBox"));
    m_switchYearLabel = new QLabel(QStringLiteral("Normale &Geçiş:"));
    m_switchYearLabel->setBuddy(m_switchYear);
    auto *method = new QHBoxLayout;
    for (QWidget *widget :
        std::initializer_list<QWidget *> {m_normal, m_declining, m_switchYearLabel, m_switchYear})
        method->addWidget(widget);
    method->addStretch();
    m_methodMessage = sentenceLabel("methodMessage");
    grid->addWidget(new QLabel(QStringLiteral("Yöntem:")), 2, 0);
    grid->addLayout(method, 2, 1);
    grid->addWidget(m_methodMessage, 2, 2);
    auto *note = new QLabel(tr("Declining balance is open only to businesses that keep their "
                               "books on the balance-sheet basis."));
    note->setObjectName(QStringLiteral("decliningNote"));
    note->setWordWrap(true);
    note->setEnabled(false); // greyed: a remark, not a control
    grid->addWidget(note, 3, 1, 1, 2);

    m_car = new QCheckBox(QStringLiteral("&Binek Otomobili"));
    m_car->setObjectName(QStringLiteral("carBox"));
    m_month = new QComboBox;
    m_month->setObjectName(QStringLiteral("monthBox"));
    for (const QString &month : kMonths)
        m_month->addItem(month);
    m_month->setCurrentIndex(QDate::currentDate().month() - 1);
    m_monthLabel = new QLabel(QStringLiteral("Aktife Giriş &Ayı:"));
    m_monthLabel->setBuddy(m_month);
    m_rental = new QCheckBox(QStringLiteral("Kira&lama İstisnası"));
    m_rental->setObjectName(QStringLiteral("rentalBox"));
    m_rental->setToolTip(tr("A car that a business renting or running cars uses for that "
                            "purpose: a full first year."));
    auto *car = new QHBoxLayout;
    for (QWidget *widget : std::initializer_list<QWidget *> {m_monthLabel, m_month, m_rental})
        car->addWidget(widget);
    car->addStretch();
    m_carMessage = sentenceLabel("carMessage");
    grid->addWidget(m_car, 4, 0);
    grid->addLayout(car, 4, 1);
    grid->addWidget(m_carMessage, 4, 2);
    return part;
}

void AmortismanDialog::connectEntries()
{
    const auto again = [this] { recalculate(); };
    connect(m_cost, &QLineEdit::textChanged, this, again);
    connect(m_firstYear, &QSpinBox::textChanged, this, [this] {
        renumberSwitchYears();
        recalculate();
    });
    connect(m_declining, &QRadioButton::toggled, this, again);
    connect(m_switchYear, &QComboBox::currentIndexChanged, this, again);
    connect(m_car, &QCheckBox::toggled, this, again);
    connect(m_month, &QComboBox::currentIndexChanged, this, again);
    connect(m_rental, &QCheckBox::toggled, this, again);
}

void AmortismanDialog::renumberSwitchYears()
{
    if (!m_life.ok())
        return;
    bool yearTyped = false;
    const int firstYear = m_firstYear->cleanText().toInt(&yearTyped);
    // Ordinal years, so that the choice stays when the first year changes; the calendar
    // year beside each is what the table shows.
    const QSignalBlocker sameChoice(m_switchYear);
    const int chosen = std::max(m_switchYear->currentIndex(), 0);
    m_switchYear->clear();
    m_switchYear->addItem(QStringLiteral("Geçilmez"), 0);
    for (int ordinal = 2; ordinal <= m_life.value(); ++ordinal) {
        QString text = QStringLiteral("%1. yıl").arg(ordinal);
        if (yearTyped)
            text += QStringLiteral(" (%1)").arg(firstYear + ordinal - 1);
        m_switchYear->addItem(text, ordinal);
    }
    m_switchYear->setCurrentIndex(std::min(chosen, m_switchYear->count() - 1));
}

void AmortismanDialog::recalculate()
{
    // A label greys with its box, so that what cannot be chosen does not look choosable.
    for (QWidget *entry : std::initializer_list<QWidget *> {m_switchYear, m_switchYearLabel})
        entry->setEnabled(m_declining->isChecked());
    for (QWidget *entry : std::initializer_list<QWidget *> {m_month, m_monthLabel, m_rental})
        entry->setEnabled(m_car->isChecked());
    if (!m_life.ok() || !m_rate.ok()) {
        for (QWidget *entry : std::initializer_list<QWidget *> {m_cost, m_firstYear, m_normal,
                 m_declining, m_switchYear, m_car, m_month, m_rental})
            entry->setEnabled(false);
        showNoSchedule(rowSentence());
        return;
    }

    std::array<QString, 5> sentences; // by Field
    depreciation::Input input;
    input.lifeYears = m_life.value();
    input.rateBasisPoints = m_rate.value();
    const auto cost = moneytext::parse(m_cost->text().toStdString());
    if (cost.ok()) {
        input.costKurus = cost.value();
    } else {
        sentences[size_t(Field::Cost)] = sentenceFor(cost.refusal());
        input.costKurus = kAcceptedCost;
    }
    bool yearTyped = false;
    input.firstYear = m_firstYear->cleanText().toInt(&yearTyped);
    if (!yearTyped) {
        sentences[size_t(Field::Year)] = tr("Enter the year the asset was entered in the books.");
        input.firstYear = kAcceptedYear;
    }
    if (m_declining->isChecked()) {
        input.method = depreciation::Method::DecliningBalance;
        if (const int ordinal = m_switchYear->currentData().toInt(); ordinal != 0)
            input.switchToNormalFrom = ordinal;
    }
    if (m_car->isChecked())
        input.passengerCar
            = depreciation::PassengerCar {m_month->currentIndex() + 1, m_rental->isChecked()};

    // The library gives one reason at a time, and each field should say what is wrong
    // with it: a field found wrong is given a value known to pass, and the rest are asked
    // again. Each field is replaced at most once, so this ends.
    depreciation::Result<depreciation::Schedule> result = depreciation::schedule(input);
    for (int asked = 0; !result.ok() && asked < int(sentences.size()); ++asked) {
        const Refusal refusal = result.refusal();
        sentences[size_t(fieldOf(refusal))] = sentenceFor(refusal);
        switch (fieldOf(refusal)) {
        case Field::Cost:
            input.costKurus = kAcceptedCost;
            break;
        case Field::Year:
            input.firstYear = kAcceptedYear;
            break;
        case Field::Method:
            input.method = depreciation::Method::Normal;
            input.switchToNormalFrom.reset();
            break;
        case Field::Car:
            input.passengerCar.reset();
            break;
        case Field::Row: // checked above; the list's values cannot be replaced
            asked = int(sentences.size());
            break;
        }
        if (asked < int(sentences.size()))
            result = depreciation::schedule(input);
    }

    say(m_costMessage, m_cost, sentences[size_t(Field::Cost)]);
    say(m_yearMessage, m_firstYear, sentences[size_t(Field::Year)]);
    say(m_methodMessage, m_declining, sentences[size_t(Field::Method)]);
    say(m_carMessage, m_car, sentences[size_t(Field::Car)]);
    const bool allAccepted = std::all_of(
        sentences.begin(), sentences.end(), [](const QString &s) { return s.isEmpty(); });
    if (!allAccepted || !result.ok()) {
        showNoSchedule(sentences[size_t(Field::Row)].isEmpty()
                ? tr("The schedule appears here once every entry is accepted.")
                : sentences[size_t(Field::Row)]);
        return;
    }
    m_schedule = result.value();
    showSchedule();
}

void AmortismanDialog::showSchedule()
{
    m_table->setRowCount(int(m_schedule.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const QStringList cells = cellsOf(m_schedule[size_t(row)]);
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
    m_result->setCurrentWidget(m_table);
    m_copy->setEnabled(true);
    m_save->setEnabled(true);
}

void AmortismanDialog::showNoSchedule(const QString &sentence)
{
    m_schedule.clear();
    m_table->setRowCount(0);
    m_resultMessage->setText(sentence);
    m_result->setCurrentWidget(m_resultMessage);
    m_copy->setEnabled(false);
    m_save->setEnabled(false);
}

void AmortismanDialog::copySchedule()
{
    if (!m_schedule.empty())
        systemclipboard::setText(systemclipboard::withPlatformLineBreaks(tabSeparated(m_schedule)));
}

void AmortismanDialog::saveSchedule()
{
    if (m_schedule.empty())
        return;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    // A list number is digits and points; anything else would only make an odd file name.
    QString number = m_asset.listNumber.simplified();
    for (QChar &c : number) {
        if (!c.isLetterOrNumber() && c != u'.')
            c = u'-';
    }
    const QString suggested
        = QDir(folder).filePath(number.isEmpty() ? QStringLiteral("amortisman.csv")
                                                 : QStringLiteral("amortisman-%1.csv").arg(number));
    const SaveFileChooser &chooser = saveFileChooser();
    const QString path = chooser ? chooser(this, suggested)
                                 : QFileDialog::getSaveFileName(this, tr("Save the schedule"),
                                     suggested, tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    const QByteArray bytes = csv(m_schedule);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        messagebox::showError(tr("The schedule could not be saved as \"%1\": %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()),
            this);
}

AmortismanDialog::Field AmortismanDialog::fieldOf(Refusal refusal)
{
    switch (refusal) {
    case Refusal::CostEmpty:
    case Refusal::CostNotANumber:
    case Refusal::CostTooManyDecimals:
    case Refusal::CostZero:
    case Refusal::CostNegative:
    case Refusal::CostTooLarge:
        return Field::Cost;
    case Refusal::YearOutOfRange:
        return Field::Year;
    case Refusal::DecliningNotForCars:
    case Refusal::SwitchYearOutOfRange:
        return Field::Method;
    case Refusal::MonthOutOfRange:
        return Field::Car;
    case Refusal::LifeMissing:
    case Refusal::LifeZero:
    case Refusal::LifeNotWhole:
    case Refusal::LifeTooLong:
    case Refusal::RateMissing:
    case Refusal::RateZero:
    case Refusal::RateOverHundred:
        break;
    }
    return Field::Row;
}

QString AmortismanDialog::sentenceFor(Refusal refusal) const
{
    switch (refusal) {
    case Refusal::CostEmpty:
        return tr("Enter the cost, for example 1.234,56.");
    case Refusal::CostNotANumber:
        return tr("Write the cost in digits, with \".\" between thousands and \",\" before "
                  "the kuruş, for example 1.234,56.");
    case Refusal::CostTooManyDecimals:
        return tr("The cost has at most two decimals: kuruş are the smallest unit.");
    case Refusal::CostZero:
        return tr("The cost must be more than zero.");
    case Refusal::CostNegative:
        return tr("The cost cannot be negative.");
    case Refusal::CostTooLarge:
        return tr("The cost can be at most %1 TL.")
            .arg(money(depreciation::kMaxCostKurus).chopped(3));
    case Refusal::YearOutOfRange:
        return tr("The first year must be between %1 and %2.")
            .arg(depreciation::kFirstYearMin)
            .arg(depreciation::kFirstYearMax);
    case Refusal::MonthOutOfRange:
        return tr("The month must be between 1 and 12.");
    case Refusal::DecliningNotForCars:
        return tr("Declining balance is not offered for passenger cars: the published rules "
                  "do not settle its first year.");
    case Refusal::SwitchYearOutOfRange:
        return tr("The switch to the normal method must fall in years 2 to %1.")
            .arg(m_life.ok() ? m_life.value() : 0);
    case Refusal::LifeMissing:
        return tr("This row has no useful life, so no schedule can be made for it.");
    case Refusal::LifeZero:
        return tr("The row's useful life is zero, so no schedule can be made for it.");
    case Refusal::LifeNotWhole:
        return tr("The row's useful life is not a whole number of years, so no schedule can "
                  "be made for it.");
    case Refusal::LifeTooLong:
        return tr("The row's useful life is over %1 years, so no schedule can be made for it.")
            .arg(depreciation::kMaxLifeYears);
    case Refusal::RateMissing:
        return tr("This row has no depreciation rate, so no schedule can be made for it.");
    case Refusal::RateZero:
        return tr("The row's depreciation rate is zero, so no schedule can be made for it.");
    case Refusal::RateOverHundred:
        return tr("The row's depreciation rate is over 100 %, so no schedule can be made for "
                  "it.");
    }
    return {};
}

QString AmortismanDialog::rowSentence() const
{
    if (!m_life.ok() && m_life.refusal() == Refusal::LifeMissing && !m_rate.ok()
        && m_rate.refusal() == Refusal::RateMissing)
        return tr("This row is a heading: it has no useful life and no rate, so no schedule "
                  "can be made for it. Choose a row below it.");
    QStringList sentences;
    if (!m_life.ok())
        sentences << sentenceFor(m_life.refusal());
    if (!m_rate.ok())
        sentences << sentenceFor(m_rate.refusal());
    return sentences.join(u'\n');
}
