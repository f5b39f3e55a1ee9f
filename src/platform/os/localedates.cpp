// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platform/os/localedates.h"

#include "platform/core/dayserial.h"

#include <QDate>
#include <QLocale>

#include <string>

namespace pelidora::platform {
namespace {

// What the locale's short date format means to us, derived once per format string.
struct LocaleShortDate {
    QString format;
    core::ShortDatePattern pattern;
    DateOrder order = DateOrder::DayFirst;
    std::string separators; // the separators' visible characters, UTF-8
    QString trailer;        // visible part of the text after the last field
};

bool isInvisible(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Format; // blanks, direction marks
}

QString visiblePart(const QString &text)
{
    QString visible;
    for (const QChar c : text) {
        if (!isInvisible(c))
            visible += c;
    }
    return visible;
}

// A separator we can read back: one visible character that is no digit, with blanks and
// direction marks around it as the locale likes. Anything else is written as "/".
QString usableSeparator(const QString &literal)
{
    const QString visible = visiblePart(literal);
    if (visible.size() != 1 || visible.at(0).isDigit() || visible.at(0).isSurrogate())
        return QStringLiteral("/");
    return literal;
}

LocaleShortDate derive(const QString &format)
{
    enum Kind { Day, Month, Year };
    struct Field {
        Kind kind;
        int width;
    };
    QList<Field> fields;
    QStringList literals{QString()}; // literals[i] precedes fields[i]; one more at the end
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            // Quoted text; '' is a quote, inside quotes or out.
            qsizetype j = i + 1;
            if (j < format.size() && format.at(j) == u'\'') {
                literals.last() += u'\'';
                i = j + 1;
                continue;
            }
            for (; j < format.size(); ++j) {
                if (format.at(j) != u'\'') {
                    literals.last() += format.at(j);
                } else if (j + 1 < format.size() && format.at(j + 1) == u'\'') {
                    literals.last() += u'\'';
                    ++j;
                } else {
                    break;
                }
            }
            i = j + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if (c == u'y' || c == u'M' || (c == u'd' && run <= 2)) {
            fields.append({c == u'y' ? Year : c == u'M' ? Month : Day, int(run)});
            literals.append(QString());
        } else if (c != u'd') { // weekday names (ddd, dddd) are left out
            literals.last() += format.mid(i, run);
        }
        i += run;
    }

    LocaleShortDate result;
    result.format = format;
    auto indexOf = [&](Kind kind) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (fields.at(i).kind == kind)
                return int(i);
        }
        return -1;
    };
    const int day = indexOf(Day), month = indexOf(Month), year = indexOf(Year);
    if (fields.size() != 3 || day < 0 || month < 0 || year < 0)
        return result; // nothing we understand: d/m/yyyy with two-digit day and month

    using F = core::ShortDatePattern::Fields;
    result.order = day < month ? DateOrder::DayFirst : DateOrder::MonthFirst;
    result.pattern.fields = year == 0 ? F::YearMonthDay : day < month ? F::DayMonthYear : F::MonthDayYear;
    // A month written as a name ("d MMM yyyy") gives no numeric separators to copy.
    if (fields.at(month).width > 2)
        return result;
    result.pattern.dayTwoDigits = fields.at(day).width == 2;
    result.pattern.monthTwoDigits = fields.at(month).width == 2;
    const QString separator1 = usableSeparator(literals.at(1));
    const QString separator2 = usableSeparator(literals.at(2));
    result.pattern.separator1 = separator1.toStdString();
    result.pattern.separator2 = separator2.toStdString();
    result.separators = QString(visiblePart(separator1) + visiblePart(separator2)).toStdString();
    result.trailer = visiblePart(literals.at(3));
    result.pattern.trailer = result.trailer.isEmpty() ? std::string() : literals.at(3).toStdString();
    return result;
}

const LocaleShortDate &localeShortDate()
{
    // Keyed by the format itself, so any change of locale is seen at the next call.
    thread_local std::optional<LocaleShortDate> cached;
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!cached || format != cached->format)
        cached = derive(format);
    return *cached;
}

// Digits of any script become ASCII ones: a user in an Arabic or Persian locale may type
// the digits the locale shows.
QString asciiDigits(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (c.unicode() >= 0x80 && c.isDigit())
            c = QChar(u'0' + c.digitValue());
    }
    return result;
}

std::optional<int> &pinnedToday()
{
    static std::optional<int> pinned;
    return pinned;
}

} // namespace

DateOrder dateOrder()
{
    const auto probe = dateSerial(QStringLiteral("01/02/1998"));
    return probe && dayOf(*probe) == 1 ? DateOrder::DayFirst : DateOrder::MonthFirst;
}

std::optional<double> dateValue(const QString &text)
{
    const LocaleShortDate &locale = localeShortDate();
    QString input = asciiDigits(text).trimmed();
    if (!locale.trailer.isEmpty() && input.endsWith(locale.trailer))
        input.chop(locale.trailer.size());
    const auto value = core::parseDateValue(input.toStdString(), locale.order, locale.separators);
    // A number outside the calendar's years 100 to 9999 is no date either.
    if (value && (*value < core::kMinSerial || *value >= core::kMaxSerial + 1.0))
        return std::nullopt;
    return value;
}

std::optional<int> dateSerial(const QString &text)
{
    const auto value = dateValue(text);
    if (!value)
        return std::nullopt;
    const int serial = core::roundHalfEven(*value);
    // The afternoon of 31 December 9999 rounds past the calendar.
    return serial <= core::kMaxSerial ? std::optional<int>(serial) : std::nullopt;
}

QString shortDateText(int serial)
{
    return QString::fromStdString(core::formatShortDate(serial, localeShortDate().pattern));
}

int dayOf(int serial)
{
    return core::civilFromSerial(serial).day;
}

int monthOf(int serial)
{
    return core::civilFromSerial(serial).month;
}

int yearOf(int serial)
{
    return core::civilFromSerial(serial).year;
}

QString format00(int value)
{
    return QString::fromStdString(core::formatPadded(value, 2));
}

QString format0000(int value)
{
    return QString::fromStdString(core::formatPadded(value, 4));
}

QString orderedDateText(int day, int month, int year, bool dayFirst)
{
    const QString d = format00(day), m = format00(month);
    return (dayFirst ? d + u'/' + m : m + u'/' + d) + u'/' + format0000(year);
}

QString formatDdd(int serial, const QLocale &locale)
{
    return locale.dayName(core::isoWeekday(serial), QLocale::ShortFormat);
}

QString formatMmmm(int serial, const QLocale &locale)
{
    return locale.standaloneMonthName(monthOf(serial), QLocale::LongFormat);
}

qint16 numericValue(const QString &text)
{
    qsizetype digits = 0;
    while (digits < text.size() && text.at(digits) >= u'0' && text.at(digits) <= u'9')
        ++digits;
    return static_cast<qint16>(core::numericValue(text.left(digits).toStdString()));
}

QDate dateOfSerial(int serial)
{
    if (serial < core::kMinSerial || serial > core::kMaxSerial)
        return {};
    const core::Civil c = core::civilFromSerial(serial);
    return QDate(c.year, c.month, c.day);
}

std::optional<int> serialOfDate(const QDate &date)
{
    const core::Civil c{date.year(), date.month(), date.day()};
    if (!date.isValid() || !core::isValidCivil(c))
        return std::nullopt;
    return core::serialFromCivil(c);
}

int today()
{
    if (const auto pinned = pinnedToday())
        return *pinned;
    const QDate date = QDate::currentDate();
    return core::serialFromCivil({date.year(), date.month(), date.day()});
}

void pinToday(std::optional<int> serial)
{
    pinnedToday() = serial;
}

} // namespace pelidora::platform
