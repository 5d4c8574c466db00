// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every box the program shows passes through here, so that tests can record or
// answer them instead of blocking on a modal dialog.
namespace messagebox {

enum class Kind {
    Error, // stop icon, OK, application-modal, captioned with the application title
    Detail, // no icon, OK, text shown exactly as given, Ctrl+C copies the whole box
};

struct Request
{
    Kind kind;
    QString caption;
    QString text;
    QWidget *parent = nullptr;
};

using Presenter = std::function<void(const Request &)>;

// Replaces the presenter; returns the previous one. An empty presenter restores the
// real dialogs.
Presenter setPresenter(Presenter presenter);

void show(const Request &request);

// The error box: the message with a "." appended where its last character calls for one.
void showError(const QString &message, QWidget *parent = nullptr);

// For failures inside Qt's own machinery (painting, model fetches), where a modal
// dialog must not open in the middle of the work: the box is shown from the event loop.
void postError(const QString &message);

// Appends "." when the message is non-empty and its last character sorts after "."
// in the Windows-1254 code page (letters, digits, ":" and "?" do; ".", "!", ")",
// ",", a space or a quote do not).
QString withFinalPeriod(const QString &message);

} // namespace messagebox
