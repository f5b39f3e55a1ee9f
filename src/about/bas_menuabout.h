// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// Module bas_MenuAbout: showing the About box, the text it shows and opening its links.

#include <QLatin1String>
#include <QPixmap>
#include <QString>

class QWidget;

namespace pelidora {

// The author's contact lines. The holder's name and the web caption are built from
// character codes (bas_ecrypttext.h); kAuthorWeb is what the web link opens.
inline constexpr QLatin1String kAuthorMail("pelidora@example.org");
inline constexpr QLatin1String kAuthorWeb("https://pelidora.example.org/");
//: The About box's city line.
inline constexpr QLatin1String kAuthorCity(QT_TRANSLATE_NOOP("pelidora::fabout", "Made in Example City"));
// Years of the rights notice, used when the date box has not set gAboutYears.
inline constexpr QLatin1String kAboutYears("2026");

// Shows the About box at once (no auto-close). owner is not used. picture, when given,
// is shown instead of bitmap iconId.
void ShowAbout(QWidget *owner, const QString &comment, qint32 iconId, bool modeless, const QPixmap *picture);

// Loads the shared About box, fills it and shows it: modal (returns when it closes) or
// modeless and topmost (returns at once). seconds > 0 closes it by itself after that
// delay. Without picture, bitmap iconId is shown; iconId < 1 shows no picture.
void ShowAboutBox(float seconds, const QString &comment, qint32 iconId, bool modeless, const QPixmap *picture);

// Unloads the shared About form if it is loaded (a date box does this when it goes away).
void UnloadAbout();

// The text of the About box, lines separated by CR (code 13). The e-mail line is always
// the seventh line and the two blank runs under the links the eighth and ninth, for
// comments of up to three lines. LF and CR LF in the comment count as CR. Its fixed
// phrases follow the installed translation, each kept on its own line.
QString BuildAboutText(const QString &comment);

// How many CR characters the text holds; [0, 32767].
qint16 CountLineBreaks(const QString &text);

// "major.minor", then ".revision" unless minor and revision are both 0.
QString versionText(int major, int minor, int revision);

// Hands a document or a "mailto:" or web address to the desktop. Empty on success,
// otherwise a short English text for the failure (translated where it is shown, in context
// "pelidora::fabout"). hwnd (the owner window, 0 for none) is not needed here.
QString ShellOpen(qint32 hwnd, const QString &document);

// Bitmap resource id; a null pixmap when the library has no such bitmap.
QPixmap bitmapResource(qint32 id);

} // namespace pelidora
