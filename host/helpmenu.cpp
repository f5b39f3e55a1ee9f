// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "helpmenu.h"

#include "formhost.h"

#include <pelidora/ucvPelidora.h>

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace pelidora::host {

QAction *addHelpMenu(QMainWindow *window, FormHost *host, std::function<ucvPelidora *()> chosen)
{
    QMenu *help = window->menuBar()->addMenu(QCoreApplication::translate("pelidora::host::HelpMenu", "&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction *about = help->addAction(QCoreApplication::translate("pelidora::host::HelpMenu", "&About Pelidora"));
    about->setObjectName(QStringLiteral("aboutPelidora"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setToolTip(QCoreApplication::translate("pelidora::host::HelpMenu", "Show the date box's About box (F1)"));
    QObject::connect(about, &QAction::triggered, host, [host, chosen = std::move(chosen)] {
        ucvPelidora *box = chosen ? chosen() : nullptr;
        if (!box && !host->boxes().isEmpty())
            box = host->boxes().constFirst();
        if (box)
            box->About();
    });
    const auto follow = [host, about] { about->setEnabled(!host->boxes().isEmpty()); };
    QObject::connect(host, &FormHost::boxesChanged, about, follow);
    follow();
    return about;
}

} // namespace pelidora::host
