// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/translations.h>

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTranslator>

namespace pelidora {

namespace {

// The catalog installTranslator put in; the application owns it.
QPointer<QTranslator> &installedCatalog()
{
    static QPointer<QTranslator> catalog;
    return catalog;
}

// The catalog of the first interface language that has one. English is the source
// language: preferring it ends the search, whatever comes after it.
bool loadCatalog(QTranslator &catalog, const QLocale &locale)
{
    for (QString language : locale.uiLanguages()) {
        language.replace(u'-', u'_');
        if (language == QLatin1String("C") || language == QLatin1String("en")
            || language.startsWith(QLatin1String("en_")))
            return false;
        // pelidora_it_IT.qm, then pelidora_it.qm.
        if (catalog.load(QLatin1String("pelidora_") + language, QStringLiteral(":/pelidora/i18n")))
            return true;
    }
    return false;
}

} // namespace

bool installTranslator(const QLocale &locale)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return false;
    if (QPointer<QTranslator> &installed = installedCatalog()) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    auto *catalog = new QTranslator(app);
    if (!loadCatalog(*catalog, locale) || !QCoreApplication::installTranslator(catalog)) {
        delete catalog;
        return false;
    }
    installedCatalog() = catalog;
    return true;
}

} // namespace pelidora
