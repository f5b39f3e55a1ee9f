#include "designwindow.h"

#include "designoverlay.h"
#include "formcanvas.h"
#include "formhost.h"
#include "helpmenu.h"
#include "propertybrowser.h"
#include "runwindow.h"

#include <pelidora/formfile.h>
#include <pelidora/ucvPelidora.h>

#include "platform/windowsystem.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace pelidora::host {

namespace {

DesignWindow::CloseChoice askOnClose(QWidget *parent, const QString &fileName)
{
    const auto answer = QMessageBox::question(parent, QStringLiteral("pelidora-host"),
                                              QStringLiteral("Save the changes to %1?").arg(fileName),
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    switch (answer) {
    case QMessageBox::Save: return DesignWindow::CloseChoice::Save;
    case QMessageBox::Discard: return DesignWindow::CloseChoice::Discard;
    default: return DesignWindow::CloseChoice::Cancel;
    }
}

constexpr int kMarginPx = 16; // free space kept around a new box

} // namespace

DesignWindow::DesignWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_canvas(new FormCanvas)
    , m_host(new FormHost(FormHost::Mode::Design, m_canvas, this))
    , m_overlay(new DesignOverlay(m_host, m_canvas))
    , m_browser(new PropertyBrowser)
    , m_saveState(new QLabel)
    , m_closeQuestion(askOnClose)
{
    setObjectName(QStringLiteral("designWindow"));
    m_canvas->setGridVisible(true);

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

    QToolBar *tools = addToolBar(QStringLiteral("Form"));
    tools->setObjectName(QStringLiteral("formTools"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction *add = tools->addAction(QStringLiteral("Add date box"), this, [this] { addBox(); });
    add->setObjectName(QStringLiteral("addBox"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_deleteAction = tools->addAction(QStringLiteral("Delete"), this, [this] { deleteBox(m_overlay->selected()); });
    m_deleteAction->setObjectName(QStringLiteral("deleteBox"));
    m_deleteAction->setToolTip(QStringLiteral("Delete the selected date box (Delete key on the form)"));
    tools->addSeparator();
    QAction *saveAction = tools->addAction(QStringLiteral("Save"), this, [this] { save(); });
    saveAction->setObjectName(QStringLiteral("save"));
    saveAction->setShortcut(QKeySequence::Save);
    QAction *run = tools->addAction(QStringLiteral("Run"), this, [this] { runForm(); });
    run->setObjectName(QStringLiteral("runForm"));
    run->setShortcut(QKeySequence(Qt::Key_F5));
    run->setToolTip(QStringLiteral("Save and run the form (F5)"));

    m_saveState->setObjectName(QStringLiteral("saveState"));
    statusBar()->addPermanentWidget(m_saveState);

    connect(m_overlay, &DesignOverlay::selectionChanged, this, &DesignWindow::showSelection);
    connect(m_overlay, &DesignOverlay::deleteRequested, this, &DesignWindow::deleteBox);
    connect(m_browser, &PropertyBrowser::renameRequested, this, &DesignWindow::rename);
    connect(m_host, &FormHost::modifiedChanged, this, &DesignWindow::updateTitle);
    connect(m_host, &FormHost::boxPropertyChanged, this, [this](ucvPelidora *box, const QString &name) {
        statusBar()->showMessage(QStringLiteral("%1.%2 changed").arg(box->objectName(), name), 4000);
    });
    addHelpMenu(this, m_host, [this] { return m_overlay->selected(); });
    showSelection(nullptr);
    resize(1000, 560);
}

void DesignWindow::load(const QString &path)
{
    m_host->load(path);
    const QList<ucvPelidora *> boxes = m_host->boxes();
    m_overlay->select(boxes.isEmpty() ? nullptr : boxes.constFirst());
    showSelection(m_overlay->selected());
    updateTitle();
    statusBar()->showMessage(QStringLiteral("Designing %1: drag a box to move it; its properties are on the right")
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
        platform::windowSystem().MessageBox(error.message(), platform::WindowSystem::MbIconCritical,
                                            QStringLiteral("pelidora-host"));
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Saved %1").arg(m_host->path()), 4000);
    return true;
}

ucvPelidora *DesignWindow::addBox()
{
    ucvPelidora *box = m_host->addBox(QPoint(0, 0));
    m_host->moveBox(box, freeSpot(box));
    m_overlay->select(box);
    m_overlay->setFocus();
    statusBar()->showMessage(QStringLiteral("Added %1").arg(box->objectName()), 4000);
    return box;
}

void DesignWindow::deleteBox(ucvPelidora *box)
{
    if (!box)
        return;
    const QString name = box->objectName();
    if (m_overlay->selected() == box)
        m_overlay->select(nullptr);
    m_host->removeBox(box);
    statusBar()->showMessage(QStringLiteral("Deleted %1").arg(name), 4000);
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
        platform::windowSystem().MessageBox(error.message(), platform::WindowSystem::MbIconCritical,
                                            QStringLiteral("pelidora-host"));
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
    case CloseChoice::Discard:
        event->accept();
        break;
    case CloseChoice::Cancel:
        event->ignore();
        break;
    }
}

// The first place on the form's grid, row by row, where the box overlaps no other box.
QPoint DesignWindow::freeSpot(const ucvPelidora *box) const
{
    const QSize size = box->size();
    const QSize form = m_host->formSize();
    const int step = FormCanvas::kGridPx;
    for (int y = kMarginPx; y + size.height() <= form.height(); y += step) {
        for (int x = kMarginPx; x + size.width() <= form.width(); x += step) {
            const QRect wanted = QRect(QPoint(x, y), size).adjusted(-step, -step, step, step);
            bool free = true;
            for (const ucvPelidora *other : m_host->boxes()) {
                if (other != box && other->geometry().intersects(wanted)) {
                    free = false;
                    break;
                }
            }
            if (free)
                return {x, y};
        }
    }
    return {kMarginPx, kMarginPx};
}

void DesignWindow::updateTitle()
{
    const QString file = QFileInfo(m_host->path()).fileName();
    const QString caption = m_host->caption().isEmpty() ? file : m_host->caption();
    setWindowTitle(QStringLiteral("%1 — %2[*] — pelidora-host design").arg(caption, file));
    setWindowModified(m_host->isModified());
    m_saveState->setText(m_host->isModified() ? QStringLiteral("● Unsaved changes") : QStringLiteral("Saved"));
}

void DesignWindow::rename(ucvPelidora *box, const QString &name)
{
    const QString problem = m_host->renameBox(box, name);
    if (!problem.isEmpty())
        platform::windowSystem().MessageBox(problem, platform::WindowSystem::MbIconCritical,
                                            QStringLiteral("pelidora-host"));
    m_browser->refresh();
    m_overlay->update();
}

void DesignWindow::showSelection(ucvPelidora *box)
{
    m_browser->setTarget(box);
    m_deleteAction->setEnabled(box != nullptr);
}

} // namespace pelidora::host
