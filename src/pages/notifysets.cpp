#include "pages/notifysets.h"

#include "core/configurationmodel.h"

#include "pages/pagewindow.h"
#include "window/windowregistry.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

constexpr int kMemberSizeTwips = 255;

// The general settings page's targets as the configuration holds them, whether that page is built or not.
QString frm1Text(const QString &field, int index)
{
    return ConfigurationModel::program().configuration().text(QStringLiteral("frm1"), field, index);
}

} // namespace

NotifySet::NotifySet(PageWindow *page, NotifyKind kind, QWidget *parent)
    : QObject(page)
    , m_page(page)
    , m_kind(kind)
{
    const QString array = notifyBoxArray(kind);
    for (int i = 0; i <= notifyMemberCount(kind); ++i) {
        auto *box = new QCheckBox(parent);
        if (i == 0) {
            box->setToolTip(QStringLiteral("  alle auswählen  "));
        } else {
            box->resize(twips(kMemberSizeTwips), twips(kMemberSizeTwips));
            box->setMouseTracking(true);
        }
        // A box without a target must look unavailable: the yellow field colour is for boxes that can be ticked.
        QPalette palette = box->palette();
        palette.setColor(QPalette::Disabled, QPalette::Base, QColor(PageColors::Background));
        box->setPalette(palette);
        box->installEventFilter(this);
        page->add(box, array, i);
        m_boxes.append(box);
        // toggled also fires when the program sets the box, which runs the same click rule.
        connect(box, &QCheckBox::toggled, this,
                [this, i] { NotifyBoxClick(i, m_allBoxPressed, this, memberCount()); });
    }
}

int NotifySet::indexOf(const QObject *box) const
{
    for (int i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes.at(i) == box)
            return i;
    }
    return -1;
}

void NotifySet::placeMembers(const QPoint &firstTwips, int stepTwips, Qt::Orientation orientation)
{
    for (int i = 1; i <= memberCount(); ++i) {
        const int offset = (i - 1) * stepTwips;
        const QPoint at = orientation == Qt::Horizontal ? firstTwips + QPoint(offset, 0)
                                                        : firstTwips + QPoint(0, offset);
        m_boxes.at(i)->setGeometry(twipsRect(at.x(), at.y(), kMemberSizeTwips, kMemberSizeTwips));
    }
}

bool NotifySet::eventFilter(QObject *watched, QEvent *event)
{
    const int index = indexOf(watched);
    if (index < 0)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (m_boxes.at(index)->isEnabled())
            m_allBoxPressed = index == 0;
        break;
    case QEvent::KeyPress:
        // Space ticks a box as a click does, so it counts as a press on that box: otherwise unticking one
        // member by keyboard after a click on the all box would untick every member.
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
            m_allBoxPressed = index == 0;
        break;
    case QEvent::MouseMove:
    case QEvent::ToolTip:
        if (index > 0)
            ShowNotifyTargetTip(index, m_boxes.at(index), notifyBoxArray(m_kind));
        break;
    default:
        break;
    }
    return false;
}

void EnableNotifyBox(const QString &targetText, QAbstractButton *box)
{
    if (!targetText.isEmpty()) {
        box->setEnabled(true);
    } else {
        box->setEnabled(false);
        box->setChecked(false);
    }
}

namespace {

void updateAllBox(NotifySet *set, bool untickForDisabled)
{
    QCheckBox *all = set->allBox();
    for (int i = 1; i <= set->memberCount(); ++i) {
        if (set->box(i)->isEnabled()) {
            all->setEnabled(true);
            return;
        }
        all->setEnabled(false);
        if (untickForDisabled)
            all->setChecked(false);
    }
}

} // namespace

void UpdateAllNotifyBox(PageWindow *page, NotifyKind kind)
{
    if (NotifySet *set = page->notifySet(kind))
        updateAllBox(set, kind == NotifyKind::Sms);
}

void UpdateAllSmsBox(PageWindow *page)
{
    UpdateAllNotifyBox(page, NotifyKind::Sms);
}

void UpdateAllFaxBox(PageWindow *page)
{
    UpdateAllNotifyBox(page, NotifyKind::Fax);
}

void UpdateAllMailBox(PageWindow *page)
{
    UpdateAllNotifyBox(page, NotifyKind::Mail);
}

void NotifyBoxClick(int index, bool allBoxPressed, NotifySet *set, int count)
{
    if (index >= 1) {
        QCheckBox *member = set->box(index);
        // Ticking a member never ticks the all box, even when every member is then ticked.
        if (!member->isChecked() && member->isEnabled() && set->allBox()->isChecked())
            set->allBox()->setChecked(false);
    } else if (allBoxPressed) {
        SetAllNotifyBoxes(set, count);
    }
}

void SetAllNotifyBoxes(NotifySet *set, int count)
{
    const bool all = set->allBox()->isChecked();
    for (int k = 1; k <= count; ++k)
        set->box(k)->setChecked(all && set->box(k)->isEnabled());
}

void ShowNotifyTargetTip(int index, QAbstractButton *box, const QString &arrayName)
{
    const std::optional<NotifyKind> kind = notifyKindOfArray(arrayName);
    if (!kind || index < 1)
        return;
    const QString name = frm1Text(notifyNameField(*kind), index);
    const QString target = name.isEmpty() ? frm1Text(notifyTargetField(*kind), index) : name;
    box->setToolTip(u' ' + target + u' ');
}

void EnableNotifyBoxesFromTargets(PageWindow *page)
{
    for (const NotifyKind kind : kNotifyKinds) {
        NotifySet *set = page->notifySet(kind);
        if (!set)
            continue;
        for (int i = 1; i <= set->memberCount(); ++i)
            EnableNotifyBox(frm1Text(notifyTargetField(kind), i), set->box(i));
    }
}

void PropagateTarget(NotifyKind kind, int index, const QString &targetText)
{
    WindowRegistry &registry = WindowRegistry::instance();
    for (const char16_t *name : notifyPropagationOrder(kind)) {
        const QString pageName = QString::fromUtf16(name);
        auto *page = qobject_cast<PageWindow *>(registry.existing(pageName));
        if (!page) {
            // A page not built yet follows in the configuration, by the same rule.
            ConfigurationModel::program().edit([&](ConfigurationEditor &editor) {
                propagateTarget(editor, kind, index, targetText, pageName);
            });
            continue;
        }
        NotifySet *set = page->notifySet(kind);
        if (!set || index < 1 || index > set->memberCount())
            continue;
        QCheckBox *member = set->box(index);
        EnableNotifyBox(targetText, member);
        if (member->isEnabled() && set->allBox()->isChecked())
            member->setChecked(true);
    }
}
