// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "panel/paneldata.h"

#include "platform/os/localedates.h"
#include "shared/mpelidora.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLocale>
#include <QPointer>

#include <utility>
#include <vector>

namespace pelidora::paneldata {

namespace {

constexpr qreal kPointSize = 8.25;

// The entries of a list that every panel shows alike; nothing can change them.
class FixedList : public QAbstractListModel
{
public:
    explicit FixedList(QStringList entries)
        : QAbstractListModel(QCoreApplication::instance())
        , m_entries(std::move(entries))
    {
    }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(m_entries.size()); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return m_entries.at(index.row());
    }

private:
    const QStringList m_entries;
};

QString &resolvedFamily()
{
    static QString family;
    return family;
}

} // namespace

void prepareFont()
{
    QString &family = resolvedFamily();
    if (!family.isEmpty())
        return;
    // Asking the font database for a face it lacks costs a fallback search at every font
    // that names it; one face that is there costs nothing more.
    for (const char *candidate : {"Tahoma", "Liberation Sans", "Arimo", "DejaVu Sans Condensed"}) {
        if (QFontDatabase::hasFamily(QLatin1String(candidate))) {
            family = QLatin1String(candidate);
            break;
        }
    }
    if (family.isEmpty())
        family = QFont().family();
    QFont face = font();
    (void)QFontMetrics(face).height();
    face.setBold(true); // the Sunday heading
    (void)QFontMetrics(face).height();
}

QFont font()
{
    prepareFont();
    QFont face(resolvedFamily());
    face.setPointSizeF(kPointSize);
    return face;
}

QAbstractItemModel *yearList()
{
    thread_local QPointer<FixedList> years;
    if (!years) {
        QStringList entries;
        entries.reserve(201);
        for (int year = 1900; year <= 2100; ++year)
            entries << platform::format0000(year);
        years = new FixedList(entries);
    }
    return years;
}

QAbstractItemModel *monthList(const QLocale &locale)
{
    thread_local std::vector<std::pair<QLocale, QPointer<FixedList>>> lists;
    for (const auto &[listLocale, list] : lists) {
        if (list && listLocale == locale)
            return list;
    }
    std::erase_if(lists, [](const auto &entry) { return !entry.second; });
    auto *list = new FixedList(MonthNames(locale));
    lists.emplace_back(locale, list);
    return list;
}

} // namespace pelidora::paneldata
