#include "consolemessagesink.h"

#include <QTextStream>

namespace pelidora::host {

ConsoleMessageSink::ConsoleMessageSink(QTextStream &stream)
    : m_stream(stream), m_previous(setMessageSink(this))
{
}

ConsoleMessageSink::~ConsoleMessageSink()
{
    setMessageSink(m_previous);
}

void ConsoleMessageSink::showMessage(const QString &text, Icon, const QString &title)
{
    m_stream << title << ": " << text << Qt::endl;
}

} // namespace pelidora::host
