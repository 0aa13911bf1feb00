#pragma once

#include "core/fieldrule.h"
#include "core/notifykinds.h"
#include "window/formwindow.h"

#include <QHash>
#include <QStringList>

class IniDocument;
class NotifySet;
class QFrame;
class QLineEdit;
class TwoStateButton;

// Base of the configuration pages frm1 ... frm7 and frm9: the page palette, the placement beside the start
// window and the current-page number on activation, F1 with the page's topic, the tab strip and the
// notification sets.
//
// Load step (once, when the registry creates the page): design values noted, LoadFormSettings, then the members of the page's
// notification sets follow the targets of the general settings page, then pageLoaded() for the page's own
// rules. Activation: PlacePage, currentPage = the page's number, then pageActivated().
class PageWindow : public FormWindow
{
    Q_OBJECT

public:
    PageWindow(const QString &formName, int pageNumber, QWidget *parent = nullptr);

    int pageNumber() const { return m_pageNumber; }

    void formLoad() override;
    // The load step again for a configuration opened later: the page's values from the document (design
    // values where it has none), then its notification boxes and its own load rules, as at start-up.
    void loadConfiguration(const IniDocument &document);
    void formActivate() override;
    int helpTopic() const override { return m_pageNumber == 1 ? 1010 : 1030; }

    // Tab strip: the buttons opt(1..n) side by side over the strip rectangle and the pictures Pic(1..n), one
    // over another in the picture rectangle (twips, in the page). Tab 1 is active until another is clicked.
    // Returns the pictures, on which the page places the controls of each tab.
    QList<QFrame *> addTabStrip(
        const QStringList &captions, const QRect &stripTwips, const QRect &pictureTwips);
    int tabCount() const { return m_tabCount; }
    TwoStateButton *tab(int index) const;

    // The frame all configuration pages share, so they cover one another exactly beside the start window:
    // the page size, the page font, and the tab strip with these captions over pictures of the given height.
    static constexpr int kPageWidth = 6000; // twips
    static constexpr int kPageHeight = 6300;
    static constexpr int kPictureHeight = 5625;
    QList<QFrame *> setUpPage(const QStringList &tabCaptions, qreal fontPointSize = 9.75,
        int pictureHeightTwips = kPictureHeight);
    QFrame *tabPicture(int index) const;

    // Declares a notification set of the page: creates the check boxes of that kind (registered as the
    // page's controls in index order, 0 first, so the settings file keeps them in that order) on `parent`
    // and puts them under the rules of the sets. The page places the boxes.
    NotifySet *addNotifySet(NotifyKind kind, QWidget *parent);
    NotifySet *notifySet(NotifyKind kind) const;

    // The rule of a text field: what it takes when typed into, pasted into, and when a stored value is put
    // into it. The builders of the page's fields declare it; a field without one takes any text up to its
    // maximum length.
    void setFieldRule(const QLineEdit *field, const FieldRule &rule);
    FieldRule fieldRule(const QLineEdit *field) const;
    std::optional<QString> storedText(const ControlRef &ref, const QString &value) const override;

protected:
    // The page's own load rules, after the settings file and the notification boxes.
    virtual void pageLoaded() { }
    // After placement and currentPage: refreshes the all box of each set the page has (SMS, e-mail, fax).
    // A page with other activation rules overrides it and calls refreshAllBoxes() where it needs to.
    virtual void pageActivated() { refreshAllBoxes(); }
    void refreshAllBoxes();

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_pageNumber;
    int m_tabCount = 0;
    QList<NotifySet *> m_notifySets;
    QHash<const QLineEdit *, FieldRule> m_fieldRules;
};

// The page palette (red, green, blue).
namespace PageColors {
inline constexpr QRgb Background = qRgb(192, 192, 255);
inline constexpr QRgb Text = qRgb(0, 0, 128);
inline constexpr QRgb EditBackground = qRgb(255, 255, 128);
inline constexpr QRgb TabInactiveBackground = qRgb(128, 128, 255);
inline constexpr QRgb TabInactiveText = qRgb(255, 255, 192);
inline constexpr QRgb TabActiveBackground = qRgb(255, 255, 192);
inline constexpr QRgb TabActiveText = qRgb(0, 0, 128);
} // namespace PageColors

// Gives a window the page palette: background, text of labels/frames/check boxes/option buttons, and the
// background of editable text boxes.
void applyPagePalette(QWidget *window);
