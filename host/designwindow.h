// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include "designcommands.h"

#include <QMainWindow>

#include <functional>

class QLabel;
class QUndoStack;

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

class DesignOverlay;
class FormCanvas;
class FormHost;
class PropertyBrowser;
class RunWindow;

// A form being designed: the form with its date boxes (not live) on the left, the
// property browser of the selected box (or of the form) on the right, and Add, Delete,
// Save and Run. Every change is a step on the undo stack; the form counts as unsaved
// while the stack is away from where it was last saved.
class DesignWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum class CloseChoice { Save, Discard, Cancel };
    // Asked when the window closes with unsaved changes. Replaceable for tests.
    using CloseQuestion = std::function<CloseChoice(QWidget *parent, const QString &fileName)>;

    explicit DesignWindow(QWidget *parent = nullptr);
    ~DesignWindow() override;

    // Throws FormFileError; the window then stays as it was.
    void load(const QString &path);
    // Saves to the file it was loaded from; false (and the user told) on failure.
    bool save();

    ucvPelidora *addBox();
    void deleteBox(ucvPelidora *box);
    // Saves when there are changes, then runs the saved form in a window of its own;
    // nullptr (and the user told) when it could not be saved or read.
    RunWindow *runForm();

    FormHost *host() const { return m_host; }
    FormCanvas *canvas() const { return m_canvas; }
    DesignOverlay *overlay() const { return m_overlay; }
    PropertyBrowser *browser() const { return m_browser; }
    QUndoStack *undoStack() const { return m_undo; }

    // Where a new box goes: the first place on the form's grid, row by row, where neither
    // it nor its name tab covers another box or that box's tab. A full form grows below.
    AddBoxCommand::Placement freeSpot(const ucvPelidora *box) const;

    void setCloseQuestion(CloseQuestion question) { m_closeQuestion = std::move(question); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void updateTitle();
    void rename(ucvPelidora *box, const QString &name);
    void showSelection(ucvPelidora *box);

    FormCanvas *m_canvas;
    FormHost *m_host;
    DesignOverlay *m_overlay;
    PropertyBrowser *m_browser;
    QUndoStack *m_undo;
    QLabel *m_saveState;
    QAction *m_deleteAction = nullptr;
    CloseQuestion m_closeQuestion;
};

} // namespace pelidora::host
