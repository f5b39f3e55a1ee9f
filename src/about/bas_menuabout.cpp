// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "about/bas_menuabout.h"

#include "about/bas_ecrypttext.h"
#include "about/fabout.h"
#include "platform/os/windowsystem.h"
#include "shared/mpelidora.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <climits>
#include <cmath>

namespace pelidora {

namespace {

constexpr QChar kCr(u'\r');

// Milliseconds for a delay in seconds, halves to the even neighbour; out-of-range and
// NaN delays give no auto-close rather than a wrapped interval.
qint32 millisecondsOf(float seconds)
{
    const double ms = std::nearbyint(double(seconds) * 1000.0);
    if (!(ms > 0.0))
        return 0;
    return ms >= double(INT_MAX) ? INT_MAX : qint32(ms);
}

// Comments from Qt code use LF; the layout counts lines by CR.
QString withCrLineBreaks(const QString &comment)
{
    QString text = comment;
    text.replace(QLatin1String("\r\n"), QString(kCr));
    text.replace(QLatin1Char('\n'), kCr);
    return text;
}

// A fixed phrase of the About text in the installed language. A translation never adds a
// line: the links stand on lines counted from the end.
QString aboutPhrase(const char *english)
{
    QString phrase = QCoreApplication::translate("pelidora::fabout", english);
    phrase.replace(kCr, u' ');
    phrase.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return phrase;
}

bool isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u' '; });
}

} // namespace

void ShowAbout(QWidget *, const QString &comment, qint32 iconId, bool modeless, const QPixmap *picture)
{
    ShowAboutBox(0.0f, comment, iconId, modeless, picture);
}

void ShowAboutBox(float seconds, const QString &comment, qint32 iconId, bool modeless, const QPixmap *picture)
{
    QPointer<fabout> box = fabout::instance();
    box->setModeless(modeless);
    box->setInterval(millisecondsOf(seconds));
    QCoreApplication::processEvents();
    if (!box || !box->Loaded())
        return; // unloaded by one of the events that just ran
    if (picture)
        box->About(comment, *picture);
    else if (iconId >= 1)
        box->About(comment, bitmapResource(iconId));
    else
        box->About(comment, QPixmap());
}

void UnloadAbout()
{
    if (fabout *box = fabout::loadedInstance())
        box->close();
}

QString BuildAboutText(const QString &comment)
{
    const QString note = withCrLineBreaks(comment);
    QString opening, commentPiece, spacer;
    if (isBlank(note) || note.startsWith(kCr)) {
        opening = kCr;
        commentPiece = kCr;
        spacer = kCr;
    } else {
        const qint16 breaks = CountLineBreaks(note);
        if (breaks == 0) {
            commentPiece = note + kCr + kCr;
            spacer = kCr;
        } else if (breaks == 1) {
            commentPiece = note + kCr + kCr;
        } else {
            commentPiece = note + kCr;
        }
    }

    auto &ws = platform::windowSystem();
    const mpelidora &m = module();
    const QString title = m.gAppTitle.isEmpty() ? ws.appTitle() : m.gAppTitle;
    const QString years = m.gAboutYears.isEmpty() ? QString(kAboutYears) : m.gAboutYears;

    QString text = opening;
    //: The word before the version number in the About box's title line.
    text += title + QLatin1String(" ") + QLatin1String(" -  ")
        + aboutPhrase(QT_TRANSLATE_NOOP("pelidora::fabout", "version")) + QLatin1Char(' ');
    text += versionText(ws.appMajor(), ws.appMinor(), ws.appRevision());
    text += kCr;
    text += commentPiece;
    text += QChar(u'\u00A9') + QLatin1Char(' ') + years + QLatin1Char(' ') + BuildHolderName() + kCr;
    text += aboutPhrase(kAuthorCity.data()) + kCr;
    text += spacer;
    text += aboutPhrase(QT_TRANSLATE_NOOP("pelidora::fabout", "for comments or bugs send e-mail to address:")) + kCr;
    // Blank runs under the two link labels; the e-mail link is followed on its line.
    text += QString(kAuthorMail.size() + 12, u' ')
        + aboutPhrase(QT_TRANSLATE_NOOP("pelidora::fabout", "or check for updates on the web:")) + kCr;
    text += QString(kAuthorWeb.size(), u' ');
    return text;
}

qint16 CountLineBreaks(const QString &text)
{
    const qsizetype breaks = text.count(kCr);
    return qint16(std::min<qsizetype>(breaks, SHRT_MAX));
}

QString versionText(int major, int minor, int revision)
{
    QString text = QString::number(major) + QLatin1Char('.') + QString::number(minor);
    if (minor != 0 || revision != 0)
        text += QLatin1Char('.') + QString::number(revision);
    return text;
}

QString ShellOpen(qint32, const QString &document)
{
    const qint32 result = platform::windowSystem().openDocument(document);
    switch (result) {
    case 2: return QLatin1String(QT_TRANSLATE_NOOP("pelidora::fabout", "File not found."));
    case 3: return QLatin1String(QT_TRANSLATE_NOOP("pelidora::fabout", "Path not found."));
    case 5: return QLatin1String(QT_TRANSLATE_NOOP("pelidora::fabout", "Access denied."));
    case 27: return QLatin1String(QT_TRANSLATE_NOOP("pelidora::fabout", "Incomplete association type of file."));
    case 31: return QLatin1String(QT_TRANSLATE_NOOP("pelidora::fabout", "Missing association type of file."));
    default: break;
    }
    return result <= 32 ? QLatin1String(QT_TRANSLATE_NOOP("pelidora::fabout", "Generic access file error."))
                        : QString();
}

QPixmap bitmapResource(qint32 id)
{
    if (id < 1)
        return QPixmap();
    return QPixmap(QStringLiteral(":/pelidora/bitmap/%1").arg(id));
}

} // namespace pelidora
