#include "windows/links/Inet.h"

#include <qdrawutil.h>

#include <QCursor>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "platform/Accessible.h"
#include "platform/ScreenPlace.h"
#include "platform/ShellServices.h"
#include "windows/Controls.h"

namespace quillon {
namespace {

// At most kMaxAddressLength characters of the address. A character outside the basic plane is
// kept whole or left out, never cut in half.
QString AddressToOpen(const QString& url) {
    qsizetype length = std::min<qsizetype>(url.size(), TOvcURL::kMaxAddressLength);
    if (length < url.size() && url.at(length - 1).isHighSurrogate()) --length;
    return url.left(length);
}

// The white panel that holds the links: a sunken single border line, a border of one pixel in
// the panel's colour, then a lowered bevel two pixels wide.
class LinkPanel final : public QFrame {
public:
    explicit LinkPanel(QWidget* parent) : QFrame(parent) {
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect outer = rect();
        qDrawWinPanel(&painter, outer, palette(), true);
        constexpr int borderLine = 2;
        constexpr int borderWidth = 1;
        constexpr int bevelWidth = 2;
        const int inset = borderLine + borderWidth;
        qDrawShadePanel(&painter, outer.adjusted(inset, inset, -inset, -inset), palette(), true, bevelWidth);
    }
};

QFont PixelFont(int pixels, bool bold) {
    QFont font = ui::SmallFont();  // "MS Sans Serif", with its substitute installed
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

struct LinkPlace {
    int left;
    int top;
    void (TInternetFrm::*handler)();
};

// Where each link of kWebLinks stands on the white panel and which handler serves its click.
constexpr std::array<LinkPlace, kWebLinks.size()> kLinkPlaces{{
    {57, 23, &TInternetFrm::OvcURL1Click},
    {56, 46, &TInternetFrm::OvcURL2Click},
    {56, 70, &TInternetFrm::OvcURL3Click},
    {57, 94, &TInternetFrm::OvcURL4Click},
    {56, 118, &TInternetFrm::OvcURL5Click},
    {56, 142, &TInternetFrm::OvcURL6Click},
    {54, 185, &TInternetFrm::OvcURL2Click},
    {56, 207, &TInternetFrm::OvcURL2Click},
    {55, 229, &TInternetFrm::OvcURL7Click},
    {56, 286, &TInternetFrm::OvcURL6Click},
}};

const QColor kNavy{0, 0, 128};
const QColor kMaroon{128, 0, 0};

// A hyperlink label as a screen reader knows it: a link named by its text, described by its
// address, traversed once visited, with a press action that clicks it.
class AccessibleLink final : public QAccessibleWidget {
public:
    explicit AccessibleLink(TOvcURL* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return Link()->accessibleName().isEmpty() ? Link()->text() : Link()->accessibleName();
            case QAccessible::Description:
                return Link()->accessibleDescription().isEmpty() ? Link()->URL() : Link()->accessibleDescription();
            default: return QAccessibleWidget::text(t);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.traversed = Link()->Visited();
        return state;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            Link()->Click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction()) return {QStringLiteral("Return"), QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    TOvcURL* Link() const { return static_cast<TOvcURL*>(widget()); }
};

}  // namespace

TOvcURL::TOvcURL(QWidget* parent) : QLabel(parent) {
    UseAccessibleInterface<TOvcURL, AccessibleLink>();
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    // Hover is noticed on plain mouse moves, with no button held.
    setMouseTracking(true);
    // The keyboard reaches every link: Tab moves to it, Enter or Space clicks it.
    setFocusPolicy(Qt::StrongFocus);
    SetUnderlineURL(true);
    SetVisitedColor(NoColor());
}

void TOvcURL::SetCaption(const QString& caption) {
    caption_ = caption;
    ShowCaption();
}

void TOvcURL::SetURL(const QString& url) {
    url_ = url;
    ShowCaption();
}

void TOvcURL::ShowCaption() {
    setText(caption_.isEmpty() ? url_ : caption_);
    adjustSize();
}

void TOvcURL::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // The label's width follows its text in its font.
    if (event->type() == QEvent::FontChange) adjustSize();
}

void TOvcURL::SetHighlightColor(const QColor& color) {
    highlightColor_ = color.isValid() ? color : FontColor();
    restingColor_.reset();
}

void TOvcURL::SetVisitedColor(const QColor& color) {
    visitedColor_ = color.isValid() ? color : FontColor();
    restingColor_.reset();
}

void TOvcURL::SetUnderlineURL(bool underline) {
    QFont underlined = font();
    underlined.setUnderline(underline);
    setFont(underlined);
}

QColor TOvcURL::FontColor() const { return palette().color(QPalette::WindowText); }

void TOvcURL::SetFontColor(const QColor& color) {
    QPalette coloured = palette();
    coloured.setColor(QPalette::WindowText, color);
    setPalette(coloured);
}

void TOvcURL::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    // With a button held the label sees moves outside itself too; only those inside count.
    if (hoverTimer_.isActive() || !rect().contains(event->position().toPoint())) return;
    if (!restingColor_) restingColor_ = FontColor();
    SetFontColor(highlightColor_);
    hoverTimer_.start(kHoverTickMs, this);
}

void TOvcURL::timerEvent(QTimerEvent* event) {
    if (event->timerId() != hoverTimer_.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    // The label gets no word when the cursor leaves it quickly or over another window, so it
    // looks where the cursor is.
    if (rect().contains(mapFromGlobal(QCursor::pos()))) return;
    EndHover();
}

void TOvcURL::EndHover() {
    hoverTimer_.stop();
    if (restingColor_) SetFontColor(*restingColor_);
    repaint();
}

void TOvcURL::hideEvent(QHideEvent* event) {
    QLabel::hideEvent(event);
    // A hidden label cannot be under the mouse: without this, closing the window with the mouse
    // on a link would leave its timer running and the link highlighted at the next showing.
    if (hoverTimer_.isActive()) EndHover();
}

void TOvcURL::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void TOvcURL::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    // A click is a press and a release both on the label.
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) Click();
}

void TOvcURL::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
                Click();
                return;
            }
            break;
        default: break;
    }
    QLabel::keyPressEvent(event);
}

void TOvcURL::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // The dotted focus frame around the text shows which link Enter opens.
    QPainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void TOvcURL::Click() {
    if (url_.isEmpty()) {
        emit Clicked();
        if (useVisitedColor_) MarkVisited();
        return;
    }
    // The desktop tells later whether the address opened; the window goes on meanwhile.
    CurrentShellServices().Open(AddressToOpen(url_), [link = QPointer<TOvcURL>(this)](bool opened) {
        if (link) link->Opened(opened);
    });
    emit Clicked();
}

void TOvcURL::Opened(bool opened) {
    if (!opened) {
        CurrentShellServices().Beep();
    } else if (useVisitedColor_) {
        MarkVisited();
    }
}

void TOvcURL::MarkVisited() {
    visited_ = true;
    restingColor_ = visitedColor_;
    if (!hoverTimer_.isActive()) SetFontColor(visitedColor_);
}

TInternetFrm::TInternetFrm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("InternetFrm"));
    setWindowTitle(QStringLiteral("Quillon"));
    setFont(ui::NormalFont());
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    Panel3 = new QLabel(QStringLiteral("Internet Resources"), this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(0, 0, kClientWidth, 41);
    Panel3->setFont(PixelFont(19, false));
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel3->setLineWidth(2);

    Panel4 = new LinkPanel(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setGeometry(13, 47, 323, 312);
    // The panel's controls are made in reading order, each heading before its links, so that the
    // keyboard and screen readers meet them in that order.
    Label6 = ui::MakeLabel(Panel4, 32, 4, QStringLiteral("Farbrook Software"), font());
    Label6->setObjectName(QStringLiteral("Label6"));
    AddLinks(0, 6);
    Label5 = ui::MakeLabel(Panel4, 32, 165, QStringLiteral("Other Sites"), font());
    Label5->setObjectName(QStringLiteral("Label5"));
    AddLinks(6, 9);
    Label4 = new QLabel(QStringLiteral("If you would like to help support our programming efforts, please consider "
                                       "making a donation."),
                        Panel4);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(23, 252, 283, 30);
    Label4->setFont(PixelFont(11, true));
    Label4->setWordWrap(true);
    AddLinks(9, kWebLinks.size());

    Button1 = ui::MakeButton(this, {134, 368, 75, 25}, QStringLiteral("Close"), {});
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &TInternetFrm::Button1Click);
}

void TInternetFrm::AddLinks(std::size_t first, std::size_t end) {
    QFont linkFont = PixelFont(11, true);
    linkFont.setUnderline(true);
    for (std::size_t i = first; i < end; ++i) {
        const WebLink& page = kWebLinks[i];
        const LinkPlace& place = kLinkPlaces[i];
        auto* link = new TOvcURL(Panel4);
        link->setObjectName(QStringLiteral("OvcURL%1").arg(i + 1));
        link->setFont(linkFont);
        link->SetFontColor(kNavy);
        link->SetVisitedColor(kMaroon);
        link->SetUseVisitedColor(true);
        link->SetCaption(QString::fromUtf8(page.caption));
        link->SetURL(QString::fromUtf8(page.url));
        link->move(place.left, place.top);
        connect(link, &TOvcURL::Clicked, this, place.handler);
        OvcURL[i] = link;
    }
}

void TInternetFrm::Button1Click() { close(); }

void TInternetFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Close has the focus whenever the window opens, so Enter closes it as before the links could
    // take the focus; Tab goes on from Close to the links.
    Button1->setFocus(Qt::OtherFocusReason);
    CentreOnScreen(*this);
}

}  // namespace quillon
