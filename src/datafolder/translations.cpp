// SPDX-License-Identifier: GPL-3.0-or-later

#include "translations.h"

#include "datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QList>
#include <QPointer>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>

namespace translations {

namespace {

// The source texts are English: English needs no file, and a user who names it before
// Turkish gets it.
bool isEnglish(QStringView language)
{
    return language == u"en" || language == u"C";
}

QList<QPointer<QTranslator>> &installedTranslators()
{
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

void removeInstalled()
{
    for (const QPointer<QTranslator> &translator : std::as_const(installedTranslators())) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    installedTranslators().clear();
}

bool installFirstLoadable(const QString &baseName, const QStringList &folders)
{
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    for (const QString &folder : folders) {
        if (translator->load(baseName, folder)
            && QCoreApplication::installTranslator(translator.get())) {
            installedTranslators().append(translator.release());
            return true;
        }
    }
    return false;
}

} // namespace

QString chosenLanguage(const QStringList &uiLanguages)
{
    for (const QString &entry : uiLanguages) {
        const qsizetype end = entry.indexOf(QRegularExpression(QStringLiteral("[-_.@]")));
        const QStringView language = QStringView(entry).left(end);
        if (isEnglish(language))
            return {};
        if (language.compare(u"tr", Qt::CaseInsensitive) == 0)
            return QStringLiteral("tr");
    }
    return {};
}

QString folderFor(const QString &programFolder)
{
    return QDir(datafolder::installedFolder(programFolder))
        .filePath(QStringLiteral("translations"));
}

QString install(const QString &folder, const QStringList &uiLanguages)
{
    removeInstalled();
    QString language = chosenLanguage(uiLanguages);
    if (language.isEmpty())
        return {};
    if (!installFirstLoadable(QStringLiteral("velkaro-arama_") + language, {folder}))
        return {};
    // Qt's own texts: beside ours where the Windows build ships them, else where this
    // Qt keeps its translations.
    installFirstLoadable(QStringLiteral("qtbase_") + language,
        {folder, QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    return language;
}

} // namespace translations
