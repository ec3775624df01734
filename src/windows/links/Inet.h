#pragma once
// The web links window and its hyperlink label. The label shows an address (or a caption for it),
// turns to its highlight colour while the mouse is over it, hands the address to the desktop when
// clicked and can keep a visited colour afterwards. The window lists the pages of kWebLinks and is
// shown modally by the analysis window; it is hidden, not destroyed, so visited links stay visited
// until the program ends.

#include <QBasicTimer>
#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QString>
#include <array>
#include <optional>

#include "windows/links/WebLinks.h"

class QFrame;
class QPushButton;

namespace quillon {

class TOvcURL : public QLabel {
    Q_OBJECT

public:
    // The longest address handed to the desktop; a longer one is cut.
    static constexpr int kMaxAddressLength = 1023;
    // How often the label looks whether the cursor has left it.
    static constexpr int kHoverTickMs = 100;

    explicit TOvcURL(QWidget* parent = nullptr);

    // The colour value that means "no colour": given as the highlight or the visited colour, it
    // takes the font's current colour instead.
    static QColor NoColor() { return {}; }

    // The text shown; when it is empty the address itself is shown. The label's width follows it.
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    const QString& URL() const { return url_; }
    void SetURL(const QString& url);
    const QColor& HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(const QColor& color);
    bool UseVisitedColor() const { return useVisitedColor_; }
    void SetUseVisitedColor(bool use) { useVisitedColor_ = use; }
    const QColor& VisitedColor() const { return visitedColor_; }
    void SetVisitedColor(const QColor& color);
    // Mirrors the underline style of the label's font.
    bool UnderlineURL() const { return font().underline(); }
    void SetUnderlineURL(bool underline);

    // The colour the text is drawn in at this moment.
    QColor FontColor() const;
    void SetFontColor(const QColor& color);

    // Whether the hover timer exists; it does only while the mouse is over the label.
    bool HoverTimerActive() const { return hoverTimer_.isActive(); }

    // What a mouse click does: hands the address to the desktop and fires Clicked. Once the desktop
    // has opened the address the label is marked visited, with the visited colour in use; when it
    // cannot open it, a plain beep sounds and the label stays as it was. A label without an
    // address fires Clicked and is marked visited at once.
    void Click();
    // Makes the visited colour the colour the label rests in. While the mouse is over the label
    // it stays highlighted and turns to that colour on leaving; otherwise it turns at once.
    void MarkVisited();
    // Whether the label has been clicked with the visited colour in use.
    bool Visited() const { return visited_; }

signals:
    // The ordinary click event, fired after the address was handed over.
    void Clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Enter and Space click the label that has the keyboard focus.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ShowCaption();
    void EndHover();
    // The desktop's answer to a click.
    void Opened(bool opened);

    QString caption_;
    QString url_;
    QColor highlightColor_{Qt::red};
    QColor visitedColor_;
    bool useVisitedColor_ = false;
    bool pressed_ = false;
    bool visited_ = false;
    // The colour the label returns to when the mouse leaves it. It is taken from the font when the
    // mouse first arrives and forgotten whenever either colour is changed.
    std::optional<QColor> restingColor_;
    QBasicTimer hoverTimer_;
};

class TInternetFrm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 346;
    static constexpr int kClientHeight = 406;

    explicit TInternetFrm(QWidget* parent = nullptr);

    QLabel* Panel3 = nullptr;
    QFrame* Panel4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    // The links in the order of kWebLinks, which is the order on the window from top to bottom.
    std::array<TOvcURL*, kWebLinks.size()> OvcURL{};
    QPushButton* Button1 = nullptr;

    void Button1Click();
    // The links' click handlers. Opening the address is the label's own click behaviour; the
    // links carry no action of their own that a handler would update, so these show nothing.
    void OvcURL1Click() {}
    void OvcURL2Click() {}
    void OvcURL3Click() {}
    void OvcURL4Click() {}
    void OvcURL5Click() {}
    void OvcURL6Click() {}
    void OvcURL7Click() {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Creates the links first to end - 1 of kWebLinks on the white panel.
    void AddLinks(std::size_t first, std::size_t end);
};

}  // namespace quillon
