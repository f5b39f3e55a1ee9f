// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/platform.h>

class QTextStream;

namespace pelidora::host {

// For runs where nobody could answer a message box (a dump, a picture, no display): each
// message is written to a stream as "title: text" and answered as OK at once, so the run
// goes on as if the user had closed the box; beeps are dropped. Installed while it lives.
class ConsoleMessageSink : public MessageSink
{
public:
    explicit ConsoleMessageSink(QTextStream &stream);
    ~ConsoleMessageSink() override; // puts the sink installed before back
    Q_DISABLE_COPY_MOVE(ConsoleMessageSink)

    void showMessage(const QString &text, Icon icon, const QString &title) override;
    void beep() override {}

private:
    QTextStream &m_stream;
    MessageSink *m_previous;
};

} // namespace pelidora::host
