// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The language of what the program and the search service compose: Turkish for a
// Turkish user, otherwise English, the texts as the code writes them. The captions the
// window is known by are fixed text and never pass through here. Qt Core only.
namespace translations {

// The user's message languages, most wanted first, as QLocale::uiLanguages() lists them:
// "tr" when Turkish comes before English and before the end of the list, else "" (English).
// A language we have no translation for is passed over, as gettext does.
QString chosenLanguage(const QStringList &uiLanguages);

// Where the translations are: beside the installed data, at its fixed place relative to
// the given program folder.
QString folderFor(const QString &programFolder);

// Installs our translation from `folder` and Qt's own for the chosen language, in place of
// any installed before; returns the language now installed, "" for English. A missing or
// broken file of ours leaves everything English; without Qt's file only Qt's own texts
// stay English. Needs the application object.
QString install(
    const QString &folder, const QStringList &uiLanguages = QLocale::system().uiLanguages());

} // namespace translations
