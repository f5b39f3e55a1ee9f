// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The About box: the library's title and version, an optional comment, the rights notice
// and two links (e-mail and web) that open through the desktop. One shared instance:
// loaded for each showing, unloaded (deleted) when it closes.

#include <QDialog>
#include <QPixmap>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace pelidora {

class fabout : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool Modeless READ Modeless WRITE setModeless)
    Q_PROPERTY(bool Loaded READ Loaded)

public:
    // Loads the form (caption, links, centred on the screen); not shown yet.
    explicit fabout(QWidget *parent = nullptr);
    ~fabout() override;

    // The shared instance, loaded if it is not.
    static fabout *instance();
    // The shared instance while it is loaded, else nullptr.
    static fabout *loadedInstance();

    // Fills the box and shows it: modal (returns once it is closed, and the box is gone by
    // then) or, with Modeless, modeless and topmost. A null hIcon shows no picture.
    void About(const QString &comment = QString(), const QPixmap &hIcon = QPixmap());

    // Auto-close delay in milliseconds; 0 or less never closes the box by itself.
    qint32 Interval();
    void setInterval(qint32 New_Interval);
    bool Modeless() const;
    void setModeless(bool NewValue);
    // True from loading until the form is unloaded.
    bool Loaded() const;

    // Closing unloads the form: OK, Enter, Escape, the close box, the timer or UnloadAbout.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The constructor's steps: the box's own face, Frame1 and what it holds, OK and the timer.
    void setUpFace();
    void makeFrame();
    QLabel *makeLink(const QString &name, const QPoint &twips); // hidden until placed
    void makeButtonAndTimer();
    void placeTwips(QWidget *w, const QRect &twips) const;
    QString widenMailRun(QString text) const;
    void placeLinks();
    void grow(int extraPx);
    void centre();
    void aboveActiveWindow();
    int pxX(int twips) const;
    int pxY(int twips) const;

    // Fixed names: constituent controls (objectName = the member's name).
    QGroupBox *Frame1 = nullptr;
    QLabel *lblAbout = nullptr;
    QLabel *lblmailto = nullptr;
    QLabel *lblweb = nullptr;
    QLabel *imgIcon = nullptr;
    QPushButton *btnOK = nullptr;
    QTimer *TimerHide = nullptr;

    // Fixed names: state.
    qint32 m_Interval = 0; // milliseconds
    bool m_Modeless = false;
    bool m_Loaded = false;

    // Fixed names: handlers.
    void Form_Load();
    void Form_QueryUnload();
    void btnOK_Click();
    void TimerHide_Timer();
    void Frame1_MouseMove();
    void lblAbout_MouseMove();
    void lblmailto_MouseMove();
    void lblweb_MouseMove();
    void lblmailto_MouseDown();
    void lblweb_MouseDown();

    // A link the desktop could not open says why in a line under the links, until the
    // pointer leaves that link.
    void showOpenError(QLabel *link, const QString &error);
    QLabel *m_openError = nullptr;
    QLabel *m_failedLink = nullptr;

    bool m_executing = false; // inside the modal loop
    double m_twipsX = 15.0;   // twips per pixel
    double m_twipsY = 15.0;
};

} // namespace pelidora
