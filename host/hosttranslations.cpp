// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "hosttranslations.h"

#include <pelidora/translations.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace pelidora::host {

namespace {

// What the last call installed; the application owns it.
struct Installed {
    QPointer<QTranslator> host, qt;
};

Installed &installed()
{
    static Installed catalogs;
    return catalogs;
}

// Puts catalog name for locale in slot's place; a catalog that is not there is no error.
void replace(QPointer<QTranslator> &slot, bool wanted, const QLocale &locale, const QString &name,
             const QString &folder)
{
    if (slot) {
        QCoreApplication::removeTranslator(slot);
        delete slot;
    }
    if (!wanted)
        return;
    auto *catalog = new QTranslator(QCoreApplication::instance());
    if (catalog->load(locale, name, QStringLiteral("_"), folder) && QCoreApplication::installTranslator(catalog))
        slot = catalog;
    else
        delete catalog;
}

} // namespace

bool installHostTranslations(const QLocale &locale)
{
    // The library decides: English first, or a language it lacks, leaves the host English too.
    const bool translated = installTranslator(locale);
    replace(installed().host, translated, locale, QStringLiteral("pelidora-host"),
            QStringLiteral(":/pelidora-host/i18n"));
    replace(installed().qt, translated, locale, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return translated;
}

} // namespace pelidora::host
