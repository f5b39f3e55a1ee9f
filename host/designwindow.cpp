// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "designwindow.h"

#include "designoverlay.h"
#include "formcanvas.h"
#include "formhost.h"
#include "helpmenu.h"
#include "propertybrowser.h"
#include "runwindow.h"

#include <pelidora/formfile.h>
#include <pelidora/platform.h>
#include <pelidora/ucvPelidora.h>

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

#include <algorithm>

namespace pelidora::host {

namespace {

DesignWindow::CloseChoice askOnClose(QWidget *parent, const QString &fileName)
{
    QMessageBox question(QMessageBox::Question, QStringLiteral("pelidora-host"),
                         DesignWindow::tr("Save the changes to %1?").arg(fileName),
                         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    question.setTextFormat(Qt::PlainText); // the file's name
    question.setDefaultButton(QMessageBox::Save);
    switch (question.exec()) {
    case QMessageBox::Save: return DesignWindow::CloseChoice::Save;
    case QMessageBox::Discard: return DesignWindow::CloseChoice::Discard;
    default: return DesignWindow::CloseChoice::Cancel;
    }
}

constexpr int kMarginPx = 16; // from the form's edge to a new box
constexpr int kGapPx = 4;     // between a new box's frame and tab and another's

} // namespace

DesignWindow::DesignWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_canvas(new FormCanvas)
    , m_host(new FormHost(FormHost::Mode::Design, m_canvas, this))
    , m_overlay(new DesignOverlay(m_host, m_canvas))
    , m_browser(new PropertyBrowser)
    , m_undo(new QUndoStack(this))
    , m_saveState(new QLabel)
    , m_closeQuestion(askOnClose)
{
    setObjectName(QStringLiteral("designWindow"));
    m_canvas->setGridVisible(true);
    m_browser->setForm(m_host);

    auto *formScroll = new QScrollArea;
    formScroll->setObjectName(QStringLiteral("formScroll"));
    formScroll->setWidget(m_canvas);
    formScroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    formScroll->setBackgroundRole(QPalette::Dark);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("designSplitter"));
    splitter->addWidget(formScroll);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);
    m_browser->setMinimumWidth(300);
    createActions();

    m_saveState->setObjectName(QStringLiteral("saveState"));
    statusBar()->addPermanentWidget(m_saveState);

    connect(m_overlay, &DesignOverlay::selectionChanged, this, &DesignWindow::showSelection);
    connect(m_overlay, &DesignOverlay::deleteRequested, this, &DesignWindow::deleteBox);
    // A box brought back by an undone delete (or a redone add) is the one to look at.
    connect(m_host, &FormHost::boxRestored, m_overlay, &DesignOverlay::select);
    connect(m_overlay, &DesignOverlay::boxMoved, this,
            [this](ucvPelidora *box, const QPoint &from, const QPoint &to, bool nudge) {
                m_undo->push(new MoveBoxCommand(m_host, box->objectName(), from, to, nudge));
            });
    connect(m_browser, &PropertyBrowser::renameRequested, this, &DesignWindow::rename);
    connect(m_browser, &PropertyBrowser::formPropertyEdited, this, [this](const QString &name, const QVariant &value) {
        m_undo->push(new FormPropertyCommand(m_host, name, value));
    });
    // Written through the browser, or by anyone else: either way a step to undo.
    connect(m_host, &FormHost::boxPropertyChanged, this,
            [this](ucvPelidora *box, const QString &name, const PropertyBag &before, const PropertyBag &after) {
                m_undo->push(new PropertyCommand(m_host, box->objectName(), name, before, after));
                statusBar()->showMessage(tr("%1.%2 changed").arg(box->objectName(), name), 4000);
            });
    connect(m_host, &FormHost::formChanged, this, &DesignWindow::updateTitle);
    connect(m_host, &FormHost::modifiedChanged, this, &DesignWindow::updateTitle);
    connect(m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) { m_host->setModified(!clean); });
    connect(m_undo, &QUndoStack::indexChanged, this, [this] {
        m_browser->clearNotes();
        m_browser->refresh();
        m_overlay->update();
    });
    showSelection(nullptr);
    resize(1000, 560);
}

DesignWindow::~DesignWindow()
{
    // The stack outlives the host among the children, and says it is clean once more as it goes.
    m_undo->disconnect(this);
}

void DesignWindow::createActions()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *saveAction = file->addAction(tr("&Save"), this, [this] { save(); });
    saveAction->setObjectName(QStringLiteral("save"));
    saveAction->setShortcut(QKeySequence::Save);
    QAction *run = file->addAction(tr("&Run"), this, [this] { runForm(); });
    run->setObjectName(QStringLiteral("runForm"));
    run->setShortcut(QKeySequence(Qt::Key_F5));
    run->setToolTip(tr("Save and run the form (F5)"));
    file->addSeparator();
    file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    QAction *undo = m_undo->createUndoAction(this, tr("&Undo"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction *redo = m_undo->createRedoAction(this, tr("&Redo"));
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    QAction *add = edit->addAction(tr("&Add date box"), this, [this] { addBox(); });
    add->setObjectName(QStringLiteral("addBox"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_deleteAction = edit->addAction(tr("&Delete"), this, [this] { deleteBox(m_overlay->selected()); });
    m_deleteAction->setObjectName(QStringLiteral("deleteBox"));
    m_deleteAction->setToolTip(tr("Delete the selected date box (Delete key on the form)"));

    addHelpMenu(this, m_host, [this] { return m_overlay->selected(); });

    QToolBar *tools = addToolBar(tr("Form"));
    tools->setObjectName(QStringLiteral("formTools"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addActions({add, m_deleteAction});
    tools->addSeparator();
    tools->addActions({saveAction, run});
}

void DesignWindow::load(const QString &path)
{
    m_host->load(path);
    m_undo->clear();
    const QList<ucvPelidora *> boxes = m_host->boxes();
    m_overlay->select(boxes.isEmpty() ? nullptr : boxes.constFirst());
    showSelection(m_overlay->selected());
    updateTitle();
    statusBar()->showMessage(tr("Designing %1: drag a box to move it; click a box, or the form, for its properties")
                                 .arg(QFileInfo(path).absoluteFilePath()));
    const QSize form = m_host->formSize();
    const int browserWidth = 340;
    const int formWidth = qMin(form.width() + 24, 1000);
    resize(formWidth + browserWidth + 30, qBound(460, form.height() + 140, 900));
    if (auto *splitter = findChild<QSplitter *>(QStringLiteral("designSplitter")))
        splitter->setSizes({formWidth, browserWidth});
}

bool DesignWindow::save()
{
    try {
        m_host->save(m_host->path());
    } catch (const FormFileError &error) {
        showMessage(error.message(), MessageSink::Icon::Critical, QStringLiteral("pelidora-host"));
        return false;
    }
    m_undo->setClean();
    statusBar()->showMessage(tr("Saved %1").arg(m_host->path()), 4000);
    return true;
}

ucvPelidora *DesignWindow::addBox()
{
    auto *command = new AddBoxCommand(m_host, [this](ucvPelidora *box) { return freeSpot(box); });
    m_undo->push(command);
    ucvPelidora *box = m_host->boxNamed(command->name());
    m_overlay->select(box);
    m_overlay->setFocus();
    statusBar()->showMessage(tr("Added %1").arg(box->objectName()), 4000);
    return box;
}

void DesignWindow::deleteBox(ucvPelidora *box)
{
    if (!box)
        return;
    const QString name = box->objectName();
    if (m_overlay->selected() == box)
        m_overlay->select(nullptr);
    m_undo->push(new DeleteBoxCommand(m_host, name));
    statusBar()->showMessage(tr("Deleted %1").arg(name), 4000);
}

RunWindow *DesignWindow::runForm()
{
    if (m_host->isModified() && !save())
        return nullptr;
    auto *window = new RunWindow(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    try {
        window->load(m_host->path());
    } catch (const FormFileError &error) {
        delete window;
        showMessage(error.message(), MessageSink::Icon::Critical, QStringLiteral("pelidora-host"));
        return nullptr;
    }
    window->show();
    return window;
}

void DesignWindow::closeEvent(QCloseEvent *event)
{
    if (!m_host->isModified()) {
        event->accept();
        return;
    }
    switch (m_closeQuestion(this, QFileInfo(m_host->path()).fileName())) {
    case CloseChoice::Save:
        if (save())
            event->accept();
        else
            event->ignore();
        break;
    case CloseChoice::Discard: event->accept(); break;
    case CloseChoice::Cancel: event->ignore(); break;
    }
}

AddBoxCommand::Placement DesignWindow::freeSpot(const ucvPelidora *box) const
{
    const QSize size = box->size();
    const QString name = box->objectName();
    QList<QRect> taken;
    for (const ucvPelidora *other : m_host->boxes()) {
        if (other != box)
            taken << m_overlay->markedArea(other->geometry(), other->objectName());
    }
    const auto isFree = [&](const QPoint &at) {
        const QRect wanted = m_overlay->markedArea(QRect(at, size), name).adjusted(-kGapPx, -kGapPx, kGapPx, kGapPx);
        return std::none_of(taken.cbegin(), taken.cend(), [&](const QRect &area) { return area.intersects(wanted); });
    };
    const QSize form = m_host->formSize();
    const QRect inside(QPoint(0, 0), form);
    const int step = FormCanvas::kGridPx;
    for (int y = kMarginPx; y + size.height() <= form.height(); y += step) {
        for (int x = kMarginPx; x + size.width() <= form.width(); x += step) {
            const QPoint at(x, y);
            if (isFree(at) && inside.contains(m_overlay->markedArea(QRect(at, size), name)))
                return {at, form};
        }
    }
    // No room: at the left, below what is in the way, the form grown to hold it.
    QPoint at(kMarginPx, kMarginPx);
    while (!isFree(at))
        at.ry() += step;
    const QRect area = m_overlay->markedArea(QRect(at, size), name);
    return {at, form.expandedTo(QSize(area.right() + 1 + kMarginPx, area.bottom() + 1 + kMarginPx))};
}

void DesignWindow::updateTitle()
{
    const QString file = QFileInfo(m_host->path()).fileName();
    const QString caption = m_host->caption().isEmpty() ? file : m_host->caption();
    setWindowTitle(tr("%1 — %2[*] — pelidora-host design").arg(caption, file));
    setWindowModified(m_host->isModified());
    m_saveState->setText(m_host->isModified() ? tr("● Unsaved changes") : tr("Saved"));
}

void DesignWindow::rename(ucvPelidora *box, const QString &name)
{
    const QString problem = m_host->nameProblem(box, name);
    if (!problem.isEmpty())
        showMessage(problem, MessageSink::Icon::Critical, QStringLiteral("pelidora-host"));
    else if (name.trimmed() != box->objectName())
        m_undo->push(new RenameBoxCommand(m_host, box->objectName(), name.trimmed()));
    m_browser->refresh();
    m_overlay->update();
}

void DesignWindow::showSelection(ucvPelidora *box)
{
    m_browser->setTarget(box);
    m_deleteAction->setEnabled(box != nullptr);
}

} // namespace pelidora::host
