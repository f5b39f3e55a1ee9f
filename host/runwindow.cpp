// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "runwindow.h"

#include "eventlog.h"
#include "formcanvas.h"
#include "formhost.h"
#include "helpmenu.h"

#include <pelidora/platform.h>
#include <pelidora/ucvPelidora.h>

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

namespace pelidora::host {

RunWindow::RunWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_canvas(new FormCanvas)
    , m_host(new FormHost(FormHost::Mode::Run, m_canvas, this))
    , m_log(new EventLog)
    , m_boxList(new QWidget)
    , m_boxGrid(new QGridLayout(m_boxList))
    , m_formStatus(new QLabel)
{
    setObjectName(QStringLiteral("runWindow"));

    auto *formScroll = new QScrollArea;
    formScroll->setObjectName(QStringLiteral("formScroll"));
    formScroll->setWidget(m_canvas);
    formScroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Sized to the form in load(); what the window has to spare lies below it, not in it.
    formScroll->setBackgroundRole(QPalette::Window);
    auto *formColumn = new QVBoxLayout;
    formColumn->addWidget(formScroll, 1);
    formColumn->addStretch(0);

    auto *boxesGroup = new QGroupBox(tr("Date boxes"));
    auto *boxesLayout = new QVBoxLayout(boxesGroup);
    m_boxGrid->setContentsMargins(0, 0, 0, 0);
    m_boxGrid->setColumnStretch(2, 1);
    boxesLayout->addWidget(m_boxList);

    auto *logGroup = new QGroupBox(tr("Events"));
    auto *logLayout = new QVBoxLayout(logGroup);
    logLayout->addWidget(m_log, 1);
    auto *clear = new QPushButton(tr("Clear"));
    clear->setObjectName(QStringLiteral("clearLog"));
    connect(clear, &QPushButton::clicked, m_log, &EventLog::clear);
    auto *logButtons = new QHBoxLayout;
    logButtons->addWidget(new QLabel(tr("Pick a date in a panel to see Click and DayMouseMove.")), 1);
    logButtons->addWidget(clear);
    logLayout->addLayout(logButtons);

    auto *side = new QVBoxLayout;
    side->addWidget(boxesGroup);
    side->addWidget(logGroup, 1);

    auto *central = new QWidget;
    auto *layout = new QHBoxLayout(central);
    layout->addLayout(formColumn, 0);
    layout->addLayout(side, 1);
    setCentralWidget(central);
    addHelpMenu(this, m_host, [this] { return currentBox(); });

    followApplicationPalette();
    m_formStatus->setObjectName(QStringLiteral("formStatus"));
    m_formStatus->setTextFormat(Qt::PlainText); // the file's name
    statusBar()->addPermanentWidget(m_formStatus);
    resize(1000, 520);
}

void RunWindow::load(const QString &path)
{
    m_host->load(path);
    for (ucvPelidora *box : m_host->boxes()) {
        m_log->watch(box);
        // Which box is which: a form has no labels of its own. A tooltip is rich text
        // unless escaped.
        box->setToolTip(Qt::convertFromPlainText(box->objectName(), Qt::WhiteSpaceNoWrap));
    }
    rebuildBoxList();

    const QString file = QFileInfo(path).fileName();
    const QString caption = m_host->caption().isEmpty() ? file : m_host->caption();
    setWindowTitle(tr("%1 — pelidora-host").arg(caption));
    const qsizetype count = m_host->boxes().size();
    //: File, number of date boxes, "box" or "boxes" (the words below), today's date.
    m_formStatus->setText(tr("%1 · %2 date %3 · today %4")
                              .arg(file)
                              .arg(count)
                              .arg(count == 1 ? tr("box") : tr("boxes"))
                              .arg(shortDateText(today())));
    statusBar()->showMessage(tr("Running %1").arg(QFileInfo(path).absoluteFilePath()));

    // Room for the whole form beside the side column, within reason.
    const QSize form = m_host->formSize();
    auto *formScroll = findChild<QScrollArea *>(QStringLiteral("formScroll"));
    const int frame = 2 * formScroll->frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    formScroll->setMinimumWidth(qMin(form.width() + frame, 720));
    formScroll->setMaximumSize(form.width() + frame + scrollBar, form.height() + frame);
    resize(formScroll->minimumWidth() + 720, qBound(420, form.height() + 130, 900));
}

bool RunWindow::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        followApplicationPalette();
    return handled;
}

void RunWindow::followApplicationPalette()
{
    QPalette palette = QApplication::palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role != QPalette::NoRole) {
            const auto r = QPalette::ColorRole(role);
            palette.setBrush(QPalette::Inactive, r, palette.brush(QPalette::Active, r));
        }
    }
    setPalette(palette);
}

ucvPelidora *RunWindow::currentBox() const
{
    for (QWidget *widget = focusWidget(); widget; widget = widget->parentWidget()) {
        if (auto *box = qobject_cast<ucvPelidora *>(widget))
            return box;
    }
    return nullptr;
}

QString RunWindow::readDateSet(ucvPelidora *box)
{
    const QString value = box->DateSet();
    m_log->append(box->objectName(), QStringLiteral("Read DateSet"), QStringLiteral("\"%1\"").arg(value));
    if (QLabel *label = m_readValues.value(box))
        label->setText(QStringLiteral("\"%1\"").arg(value));
    statusBar()->showMessage(QStringLiteral("%1.DateSet = \"%2\"").arg(box->objectName(), value), 5000);
    return value;
}

void RunWindow::rebuildBoxList()
{
    while (QLayoutItem *item = m_boxGrid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_readValues.clear();
    int row = 0;
    for (ucvPelidora *box : m_host->boxes()) {
        auto *name = new QLabel(box->objectName());
        name->setTextFormat(Qt::PlainText);
        auto *read = new QPushButton(tr("Read DateSet"));
        read->setObjectName(QStringLiteral("readDateSet_") + box->objectName());
        // A tooltip has no plain text setting: the name goes in escaped.
        read->setToolTip(Qt::convertFromPlainText(tr("Reads %1.DateSet, as a program would").arg(box->objectName()),
                                                  Qt::WhiteSpaceNoWrap));
        auto *value = new QLabel;
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_readValues.insert(box, value);
        connect(read, &QPushButton::clicked, this, [this, box] { readDateSet(box); });
        m_boxGrid->addWidget(name, row, 0);
        m_boxGrid->addWidget(read, row, 1);
        m_boxGrid->addWidget(value, row, 2);
        ++row;
    }
    if (row == 0)
        m_boxGrid->addWidget(new QLabel(tr("This form has no date boxes.")), 0, 0, 1, 3);
}

} // namespace pelidora::host
