// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calc/depreciation.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

// The row a schedule is made for, copied out of the query: a record is valid only until
// the query reopens, and the dialog stays open while the grid may search again.
struct ListedAsset
{
    QString listNumber; // tum_kodu
    QString description; // aciklama
    std::optional<double> life; // omur_yil as stored
    std::optional<double> rate; // oran as stored: 0.0666 for 6,66 %
};

// "Amortisman Hesapla": the year-by-year depreciation of one row of the list for the cost,
// first year and method entered, made again at every change. What the schedule is comes
// from the depreciation library alone; the dialog only reads the entries and shows,
// copies or saves what it returns.
class AmortismanDialog : public QDialog
{
    Q_OBJECT

public:
    // The file "Kaydet" writes: the chosen path, or empty when the user cancels.
    using SaveFileChooser = std::function<QString(QWidget *parent, const QString &suggested)>;
    // Replaces the chooser, as tests do; returns the previous one. An empty chooser
    // restores the file dialog.
    static SaveFileChooser setSaveFileChooser(SaveFileChooser chooser);

    explicit AmortismanDialog(const ListedAsset &asset, QWidget *parent = nullptr);

private:
    enum class Field { Row, Cost, Year, Method, Car };

    void buildForm();
    QWidget *buildRowPart();
    QWidget *buildEntryPart();
    void connectEntries();
    void renumberSwitchYears();
    void recalculate();
    void showSchedule();
    void showNoSchedule(const QString &sentence);
    void copySchedule();
    void saveSchedule();
    QString sentenceFor(depreciation::Refusal refusal) const;
    static Field fieldOf(depreciation::Refusal refusal);
    QString rowSentence() const;

    ListedAsset m_asset;
    depreciation::Result<int> m_life;
    depreciation::Result<int> m_rate;
    depreciation::Schedule m_schedule; // the one shown; empty when there is none

    QLineEdit *m_cost = nullptr;
    QLabel *m_costMessage = nullptr;
    QSpinBox *m_firstYear = nullptr;
    QLabel *m_yearMessage = nullptr;
    QRadioButton *m_normal = nullptr;
    QRadioButton *m_declining = nullptr;
    QComboBox *m_switchYear = nullptr;
    QLabel *m_switchYearLabel = nullptr;
    QLabel *m_methodMessage = nullptr;
    QCheckBox *m_car = nullptr;
    QComboBox *m_month = nullptr;
    QLabel *m_monthLabel = nullptr;
    QCheckBox *m_rental = nullptr;
    QLabel *m_carMessage = nullptr;
    QStackedWidget *m_result = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_resultMessage = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_save = nullptr;
};
