// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/global.h>
#include <pelidora/propertybag.h>

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

#include <stdexcept>
#include <utility>

namespace pelidora {

/** One control placed on a form: its class, its name, its position in pixels and its
 *  saved properties. */
struct FormControl {
    QString className;      /**< registered class, such as "ucvPelidora" */
    QString name;           /**< unique on its form */
    QPoint position;        /**< top left, in pixels */
    PropertyBag properties; /**< what the control saved */
};

/** A form as saved in a form file (JSON, see docs/formhost.md). */
struct Form {
    QString caption;             /**< the window title */
    QSize size;                  /**< in pixels */
    QList<FormControl> controls; /**< in the file's order */
};

/** A form file that could not be read or written. message() names the file and the place
 *  in it ("demo.json: controls[1].properties.Enabled: expected a boolean, found a number"). */
class PELIDORA_EXPORT FormFileError : public std::runtime_error
{
public:
    explicit FormFileError(const QString &message); /**< what went wrong, and where */
    QString message() const { return m_message; }   /**< as given, for people */

private:
    QString m_message;
};

/** Form files may only hold control classes that have been registered, with exactly the
 *  keys (without regard to case) and kinds given here. ucvPelidora is registered by the
 *  library itself. Registering a class again replaces its keys. A class name that is not an
 *  identifier or names the library's own class (ucvPelidora, in any case), an empty key name,
 *  or two keys equal without regard to case, throw std::invalid_argument. */
PELIDORA_EXPORT void registerControlClass(const QString &className,
                                          const QList<std::pair<QString, ValueKind>> &properties);
PELIDORA_EXPORT bool isRegisteredControlClass(const QString &className); /**< exact, case included */

/** Reads and checks a whole form; throws FormFileError on the first fault, so a caller
 *  never sees part of a form. Only a regular file (or a symbolic link to one) is read: a
 *  FIFO, a device or a directory is refused without waiting on it. Files above 16 MiB are
 *  refused unread. Text the file holds is quoted in messages with its control characters
 *  shown as escapes. */
PELIDORA_EXPORT Form readForm(const QString &path);
/** Reads and checks a form from bytes already in memory, as readForm does; messages name
 *  @p sourceName for the file. */
PELIDORA_EXPORT Form parseForm(const QByteArray &json, const QString &sourceName);

/** Writes the form atomically: the old file stays untouched unless the new one is complete.
 *  A form that would not read back (an unregistered class, an unknown key, a duplicate
 *  name, more than the 16 MiB a reader takes ...) is refused before anything is written,
 *  and so is a path holding anything but a regular file. Through a symbolic link the link's
 *  target is replaced and the link kept; the file keeps its permissions, and its owner and
 *  group where the process may set them. A save gives the saved name a new file: other hard
 *  links keep the old contents. */
PELIDORA_EXPORT void writeForm(const QString &path, const Form &form);
/** The bytes writeForm would write, after the same checks (FormFileError). */
PELIDORA_EXPORT QByteArray formToJson(const Form &form);

/** Text as the messages above quote it, safe for a terminal: control characters, direction
 *  overrides and line separators are shown as JSON escapes ("\u001b", "\n"). */
PELIDORA_EXPORT QString visibleText(const QString &text);

} // namespace pelidora
