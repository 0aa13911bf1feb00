#pragma once

#include "core/notifykinds.h"

#include <QList>
#include <QObject>

class PageWindow;
class QAbstractButton;
class QCheckBox;
class QPoint;
class QWidget;

// One notification set of an event page: the check boxes chksms1(0..12), chkfax1(0..4) or chkmail1(0..4),
// member 0 the all box, member i >= 1 standing for target i of that kind on the general settings page.
// The page creates it with PageWindow::addNotifySet, which registers the boxes in index order and connects
// them to the rules below; the page only places them.
class NotifySet : public QObject
{
    Q_OBJECT

public:
    NotifySet(PageWindow *page, NotifyKind kind, QWidget *parent);

    NotifyKind kind() const { return m_kind; }
    int memberCount() const { return m_boxes.size() - 1; }
    QCheckBox *box(int index) const { return m_boxes.at(index); }
    QCheckBox *allBox() const { return m_boxes.front(); }
    PageWindow *page() const { return m_page; }

    // Whether the last press inside the set was on the all box (false until the first press).
    bool allBoxPressed() const { return m_allBoxPressed; }

    // Convenience placement in twips: members 1..N side by side (or one under the other) from `first`, each
    // `step` twips from the last; the all box is placed by the page.
    void placeMembers(const QPoint &firstTwips, int stepTwips, Qt::Orientation orientation = Qt::Horizontal);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int indexOf(const QObject *box) const;

    PageWindow *m_page;
    NotifyKind m_kind;
    QList<QCheckBox *> m_boxes;
    bool m_allBoxPressed = false;
};

// Enables the box when the target text is not empty; otherwise disables it and clears it.
void EnableNotifyBox(const QString &targetText, QAbstractButton *box);

// Member 0 follows members 1..N: enabled exactly when some member is enabled. The SMS all box also loses its
// tick for every disabled member passed before the first enabled one; the fax and e-mail all boxes keep
// theirs.
void UpdateAllSmsBox(PageWindow *page);
void UpdateAllFaxBox(PageWindow *page);
void UpdateAllMailBox(PageWindow *page);
void UpdateAllNotifyBox(PageWindow *page, NotifyKind kind);

// The click rule of a set (also run when the program or the keyboard changes a box): unticking an enabled
// member unticks the all box; a change of the all box after a press on it is copied to the members.
void NotifyBoxClick(int index, bool allBoxPressed, NotifySet *set, int count);
// Every enabled member takes the state of the all box; disabled members are cleared.
void SetAllNotifyBoxes(NotifySet *set, int count);

// Tool tip of member i: the target's name from the general settings page, or its number when it has none,
// with a blank on either side. The all box keeps its own tool tip.
void ShowNotifyTargetTip(int index, QAbstractButton *box, const QString &arrayName);

// Page load: every member of the page's sets is enabled or disabled by its target on the general settings
// page (which is created for this when it does not exist yet).
void EnableNotifyBoxesFromTargets(PageWindow *page);

// A target field of the general settings page was left: member `index` of that kind follows the text on
// every event page that has such a set, in the fixed page order, and is ticked where the all box is ticked.
// Pages that do not exist yet are created (hidden, with their load step) for this.
void PropagateTarget(NotifyKind kind, int index, const QString &targetText);
