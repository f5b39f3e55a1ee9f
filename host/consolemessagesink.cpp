// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "consolemessagesink.h"

#include <pelidora/formfile.h>

#include <QTextStream>

namespace pelidora::host {

ConsoleMessageSink::ConsoleMessageSink(QTextStream &stream)
    : m_stream(stream)
    , m_previous(setMessageSink(this))
{
}

ConsoleMessageSink::~ConsoleMessageSink()
{
    setMessageSink(m_previous);
}

void ConsoleMessageSink::showMessage(const QString &text, Icon, const QString &title)
{
    m_stream << visibleText(title) << ": " << visibleText(text) << Qt::endl;
}

} // namespace pelidora::host
