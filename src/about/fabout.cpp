// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "about/fabout.h"

#include "about/bas_ecrypttext.h"
#include "about/bas_handcursor.h"
#include "about/bas_menuabout.h"
#include "about/bas_topmost.h"
#include "platform/core/twips.h"
#include "platform/os/olecolor.h"
#include "platform/os/windowsystem.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace pelidora {

namespace {

// Design layout in twips. Frame1's four children are placed inside it; btnOK on the form.
constexpr int kFormWidth = 6555, kFormHeight = 3180; // client area
constexpr QRect kFrame1(180, 105, 6225, 2895);
constexpr QRect kLblAbout(885, 210, 5190, 2220);
constexpr QPoint kLblmailto(885, 1905);
constexpr QPoint kLblweb(885, 2145);
constexpr QRect kImgIcon(270, 480, 480, 480);
constexpr QRect kBtnOK(2730, 2595, 1095, 345);

QPointer<fabout> &sharedBox()
{
    static QPointer<fabout> box;
    return box;
}

QFont arial(qreal pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

void setUnderline(QLabel *label, bool on)
{
    QFont font = label->font();
    if (font.underline() == on)
        return;
    font.setUnderline(on);
    label->setFont(font);
}

} // namespace

fabout::fabout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("fabout"));
    setAttribute(Qt::WA_DeleteOnClose); // unloading a form destroys it
    auto &ws = platform::windowSystem();
    m_twipsX = ws.twipsPerPixelX() > 0 ? ws.twipsPerPixelX() : 15.0;
    m_twipsY = ws.twipsPerPixelY() > 0 ? ws.twipsPerPixelY() : 15.0;

    setUpFace();
    makeFrame();
    makeButtonAndTimer(); // after the frame, so that OK is drawn above its lower part
    Frame1->installEventFilter(this);
    lblAbout->installEventFilter(this);
    Form_Load();
}

void fabout::setUpFace()
{
    // The whole box takes the colour of window contents (usually white), as text areas do.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::Text));
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(arial(8.25));
    setFixedSize(pxX(kFormWidth), pxY(kFormHeight));
}

void fabout::placeTwips(QWidget *w, const QRect &twips) const
{
    w->setGeometry(pxX(twips.x()), pxY(twips.y()), pxX(twips.width()), pxY(twips.height()));
}

void fabout::makeFrame()
{
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setMouseTracking(true);
    placeTwips(Frame1, kFrame1);

    lblAbout = new QLabel(Frame1);
    lblAbout->setObjectName(QStringLiteral("lblAbout"));
    lblAbout->setFont(arial(9.75));
    lblAbout->setWordWrap(true);
    lblAbout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAbout->setTextFormat(Qt::PlainText);
    lblAbout->setMouseTracking(true);
    placeTwips(lblAbout, kLblAbout);

    imgIcon = new QLabel(Frame1);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(imgIcon, kImgIcon);

    lblmailto = makeLink(QStringLiteral("lblmailto"), kLblmailto);
    lblweb = makeLink(QStringLiteral("lblweb"), kLblweb);

    m_openError = new QLabel(Frame1);
    m_openError->setObjectName(QStringLiteral("openError"));
    m_openError->setFont(arial(9.0));
    m_openError->setTextFormat(Qt::PlainText);
    m_openError->hide();
}

QLabel *fabout::makeLink(const QString &name, const QPoint &twips)
{
    auto *link = new QLabel(Frame1);
    link->setObjectName(name);
    link->setFont(arial(9.0));
    link->setTextFormat(Qt::PlainText);
    QPalette linkPalette = link->palette();
    linkPalette.setColor(QPalette::WindowText, platform::colorOf(platform::FixedColor::LinkBlue));
    link->setPalette(linkPalette);
    link->setAutoFillBackground(true);
    link->setMouseTracking(true);
    link->move(pxX(twips.x()), pxY(twips.y()));
    link->hide();
    link->installEventFilter(this);
    return link;
}

void fabout::makeButtonAndTimer()
{
    btnOK = new QPushButton(tr("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setFont(arial(9.75));
    btnOK->setDefault(true);
    placeTwips(btnOK, kBtnOK); // over the frame's lower part
    btnOK->setFocus();
    connect(btnOK, &QPushButton::clicked, this, &fabout::btnOK_Click);

    TimerHide = new QTimer(this);
    TimerHide->setObjectName(QStringLiteral("TimerHide"));
    connect(TimerHide, &QTimer::timeout, this, &fabout::TimerHide_Timer);
}

fabout::~fabout() = default;

fabout *fabout::instance()
{
    QPointer<fabout> &box = sharedBox();
    if (!box)
        box = new fabout; // owns itself: deleted when it closes
    return box;
}

fabout *fabout::loadedInstance()
{
    return sharedBox();
}

void fabout::About(const QString &comment, const QPixmap &hIcon)
{
    if (!m_Loaded)
        return; // closed already (and about to be deleted): showing it would strand a modal loop
    // Lines are separated by CR in the text; the label breaks at LF.
    lblAbout->setText(widenMailRun(BuildAboutText(comment).replace(QLatin1Char('\r'), QLatin1Char('\n'))));
    placeLinks();
    imgIcon->setPixmap(hIcon);
    if (m_Interval > 0)
        TimerHide->start();
    platform::windowSystem().messageBeep(platform::WindowSystem::MbIconAsterisk);

    if (m_executing) {
        // Already up in its own modal loop: a second loop would never return first.
        activateWindow();
        return;
    }
    aboveActiveWindow();
    if (m_Modeless) {
        setModal(false);
        show();
        activateWindow();
        bas_TopMost::MakeTopMost(platform::windowSystem().handleOf(this));
        return;
    }
    m_executing = true;
    QPointer<fabout> guard(this);
    exec(); // deletes the box when it has been closed
    if (guard)
        guard->m_executing = false;
}

qint32 fabout::Interval()
{
    m_Interval = TimerHide->interval();
    return m_Interval;
}

void fabout::setInterval(qint32 New_Interval)
{
    m_Interval = New_Interval;
    TimerHide->setInterval(qMax(0, New_Interval));
    // A running timer would restart at the new interval; no delay means no auto-close.
    if (New_Interval <= 0)
        TimerHide->stop();
}

bool fabout::Modeless() const
{
    return m_Modeless;
}

void fabout::setModeless(bool NewValue)
{
    m_Modeless = NewValue;
}

bool fabout::Loaded() const
{
    return m_Loaded;
}

void fabout::reject()
{
    btnOK_Click();
}

void fabout::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
}

void fabout::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("About"));
        btnOK->setText(tr("OK"));
    }
    QDialog::changeEvent(event);
}

bool fabout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == lblmailto)
            lblmailto_MouseMove();
        else if (watched == lblweb)
            lblweb_MouseMove();
        else if (watched == lblAbout)
            lblAbout_MouseMove();
        else if (watched == Frame1) {
            // Labels pass their moves on to the frame: those over a link are the link's.
            const QWidget *under = Frame1->childAt(static_cast<QMouseEvent *>(event)->position().toPoint());
            if (under != lblmailto && under != lblweb)
                Frame1_MouseMove();
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        if (watched == lblmailto)
            lblmailto_MouseDown();
        else if (watched == lblweb)
            lblweb_MouseDown();
    }
    if (m_failedLink && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if (!m_failedLink->rect().contains(m_failedLink->mapFromGlobal(at)))
            showOpenError(nullptr, QString());
    } else if (event->type() == QEvent::Leave && watched == m_failedLink) {
        showOpenError(nullptr, QString());
    }
    return QDialog::eventFilter(watched, event);
}

void fabout::Form_Load()
{
    setWindowTitle(tr("About"));
    m_Loaded = true;
    lblmailto->setText(kAuthorMail);
    lblmailto->adjustSize();
    lblweb->setText(BuildWebAddress());
    lblweb->adjustSize();
    lblmailto->show();
    lblweb->show();
    centre();
}

void fabout::Form_QueryUnload()
{
    m_Loaded = false;
    TimerHide->stop();
    if (sharedBox() == this)
        sharedBox() = nullptr; // the next showing loads a fresh form
}

void fabout::btnOK_Click()
{
    close();
}

void fabout::TimerHide_Timer()
{
    TimerHide->stop();
    close();
}

void fabout::Frame1_MouseMove()
{
    setUnderline(lblmailto, false);
    setUnderline(lblweb, false);
}

void fabout::lblAbout_MouseMove()
{
    setUnderline(lblmailto, false);
    setUnderline(lblweb, false);
}

void fabout::lblmailto_MouseMove()
{
    SetDefaultCursor(lblweb);
    SetHandCursor(lblmailto);
    setUnderline(lblweb, false);
    setUnderline(lblmailto, true);
}

void fabout::lblweb_MouseMove()
{
    SetDefaultCursor(lblmailto);
    SetHandCursor(lblweb);
    setUnderline(lblmailto, false);
    setUnderline(lblweb, true);
}

void fabout::lblmailto_MouseDown()
{
    showOpenError(lblmailto, ShellOpen(0, QLatin1String("mailto:") + kAuthorMail));
}

void fabout::lblweb_MouseDown()
{
    showOpenError(lblweb, ShellOpen(0, kAuthorWeb));
}

void fabout::showOpenError(QLabel *link, const QString &error)
{
    m_failedLink = error.isEmpty() ? nullptr : link;
    m_openError->setText(tr(error.toLatin1().constData()));
    m_openError->adjustSize();
    m_openError->move(lblweb->x(), lblweb->geometry().bottom() + 1);
    m_openError->setVisible(m_failedLink != nullptr);
}

// A space is narrower than most letters, so a run of as many spaces as the address has
// letters is too short for the e-mail link, which would cover the text after it. Widen the
// run (on screen only) until the link and a gap of four spaces fit in front of that text.
QString fabout::widenMailRun(QString text) const
{
    const qsizetype webRun = text.lastIndexOf(QLatin1Char('\n')) + 1;
    if (webRun < 2)
        return text;
    const qsizetype mailRun = text.lastIndexOf(QLatin1Char('\n'), webRun - 2) + 1;
    qsizetype runEnd = mailRun;
    while (runEnd < text.size() && text.at(runEnd) == u' ')
        ++runEnd;
    const QFontMetricsF fm(lblAbout->font(), lblAbout);
    const qreal space = fm.horizontalAdvance(QLatin1Char(' '));
    if (space <= 0)
        return text;
    const qreal needed = lblmailto->sizeHint().width() + 4 * space;
    const qsizetype spaces = qsizetype(std::ceil(needed / space));
    if (spaces > runEnd - mailRun)
        text.insert(runEnd, QString(spaces - (runEnd - mailRun), u' '));
    return text;
}

// The links stand on the blank runs that end the text (its last two lines). Find those
// lines as the label lays them out: plain text in one QTextLayout wrapped at the label's
// width, each line a leading below the previous one and moved down to a whole pixel.
void fabout::placeLinks()
{
    QString text = lblAbout->text();
    const qsizetype webRun = text.lastIndexOf(QLatin1Char('\n')) + 1;
    const qsizetype mailRun = text.lastIndexOf(QLatin1Char('\n'), webRun - 2) + 1;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);

    const QFont font = lblAbout->font();
    const qreal leading = QFontMetricsF(font, lblAbout).leading();
    QTextLayout layout(text, font, lblAbout);
    layout.beginLayout();
    qreal textHeight = -leading;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(lblAbout->contentsRect().width());
        textHeight = std::ceil(textHeight + leading);
        line.setPosition(QPointF(0, textHeight));
        textHeight += line.ascent() + line.descent();
    }
    layout.endLayout();

    // A long comment: make room (and keep half a line free above OK) rather than cut it,
    // as far as the screen allows.
    const int overflow = int(std::ceil(textHeight)) - lblAbout->contentsRect().height();
    if (overflow > 0) {
        const int screenPx = core::wholePixelsIn(platform::windowSystem().screenHeightTwips(), m_twipsY);
        grow(qMin(overflow + int(std::ceil(QFontMetricsF(font, lblAbout).height() / 2)), qMax(0, screenPx - height())));
    }

    const auto put = [&](QLabel *link, qsizetype runStart) {
        const QTextLine line = layout.lineForTextPosition(int(runStart));
        if (!line.isValid())
            return;
        const qreal ascent = QFontMetricsF(link->font(), link).ascent();
        const QPoint origin = lblAbout->geometry().topLeft() + lblAbout->contentsRect().topLeft();
        link->move(origin.x(), origin.y() + qRound(line.y() + line.ascent() - ascent));
        link->setVisible(link->geometry().bottom() <= lblAbout->geometry().bottom()); // not over OK
    };
    put(lblmailto, mailRun);
    put(lblweb, webRun);
}

void fabout::grow(int extraPx)
{
    lblAbout->resize(lblAbout->width(), lblAbout->height() + extraPx);
    Frame1->resize(Frame1->width(), Frame1->height() + extraPx);
    btnOK->move(btnOK->x(), btnOK->y() + extraPx);
    setFixedSize(width(), height() + extraPx);
    centre();
}

void fabout::aboveActiveWindow()
{
    // Where the compositor places windows (Wayland) it ignores the centring; as the transient
    // child of the window that asked, the box comes up above it and takes the keyboard.
    if (platform::windowSystem().placesTopLevels() || isVisible())
        return;
    QWidget *owner = QApplication::activeWindow();
    while (owner && owner->windowType() == Qt::Popup && owner->parentWidget())
        owner = owner->parentWidget()->window();
    if (!owner || owner == this || !owner->windowHandle())
        return;
    winId();
    windowHandle()->setTransientParent(owner->windowHandle());
}

void fabout::centre()
{
    auto &ws = platform::windowSystem();
    const int widthTwips = core::twipsFromPixels(width(), m_twipsX);
    const int heightTwips = core::twipsFromPixels(height(), m_twipsY);
    // On a screen smaller than the box, keep its top left corner (and the title bar) visible.
    const int leftTwips = qMax(0, (ws.screenWidthTwips() - widthTwips) / 2);
    const int topTwips = qMax(0, (ws.screenHeightTwips() - heightTwips) / 2);
    move(core::wholePixelsIn(leftTwips, m_twipsX), core::wholePixelsIn(topTwips, m_twipsY));
}

int fabout::pxX(int twips) const
{
    return core::pixelsFromTwips(twips, m_twipsX);
}

int fabout::pxY(int twips) const
{
    return core::pixelsFromTwips(twips, m_twipsY);
}

} // namespace pelidora
