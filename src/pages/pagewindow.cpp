#include "pages/pagewindow.h"

#include "pages/notifysets.h"
#include "pages/pagecontrols.h"
#include "pages/pagerules.h"
#include "window/pagehost.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>

PageWindow::PageWindow(const QString &formName, int pageNumber, QWidget *parent)
    : FormWindow(formName, parent)
    , m_pageNumber(pageNumber)
{
    setWindowTitle(QStringLiteral("GSM"));
    applyPagePalette(this);
}

void PageWindow::formLoad()
{
    captureDesignValues(this);
    LoadFormSettings(this);
    EnableNotifyBoxesFromTargets(this);
    pageLoaded();
    showConfigurationExactly(this);
    bindToConfiguration(this);
}

void PageWindow::loadConfiguration(const IniDocument &document)
{
    ApplyFormSettings(this, document);
    EnableNotifyBoxesFromTargets(this);
    pageLoaded();
}

void PageWindow::formActivate()
{
    PlacePage(this);
    WindowRegistry::instance().setCurrentPage(m_pageNumber);
    pageActivated();
}

void PageWindow::refreshAllBoxes()
{
    for (const NotifyKind kind : kNotifyKinds)
        UpdateAllNotifyBox(this, kind);
}

QList<QFrame *> PageWindow::setUpPage(const QStringList &tabCaptions, qreal fontPointSize, int pictureHeightTwips)
{
    setFixedSize(twips(kPageWidth), twips(kPageHeight));
    QFont pageFont(QStringLiteral("Arial"));
    pageFont.setPointSizeF(fontPointSize);
    setFont(pageFont);
    const QList<QFrame *> pictures = addTabStrip(
        tabCaptions, QRect(120, 120, kPageWidth - 240, 375), QRect(120, 555, kPageWidth - 240, pictureHeightTwips));
    for (int i = 1; i <= tabCount(); ++i)
        tab(i)->setFontSpec(QStringLiteral("Arial"), 9.75);
    return pictures;
}

QList<QFrame *> PageWindow::addTabStrip(
    const QStringList &captions, const QRect &stripTwips, const QRect &pictureTwips)
{
    m_tabCount = int(captions.size());
    const int width = stripTwips.width() / qMax(1, m_tabCount);
    for (int i = 1; i <= m_tabCount; ++i) {
        auto *button = new TwoStateButton(this);
        button->setText(captions.at(i - 1));
        button->setGeometry(
            twipsRect(stripTwips.left() + (i - 1) * width, stripTwips.top(), width, stripTwips.height()));
        button->installEventFilter(this);
        registerControl(button, QStringLiteral("opt"), i, ControlKind::OptionButton);
        // toggled also runs for a value set by the program (the settings file), as a click would.
        connect(button, &QAbstractButton::toggled, this, [this, i](bool selected) {
            if (selected)
                SelectTab(i, m_tabCount, this);
        });
    }
    QList<QFrame *> pictures;
    for (int i = 1; i <= m_tabCount; ++i) {
        auto *picture = new QFrame(this);
        picture->setGeometry(twipsRect(pictureTwips));
        picture->setFrameShape(QFrame::Panel);
        picture->setFrameShadow(QFrame::Sunken);
        picture->setAutoFillBackground(true);
        picture->setMouseTracking(true);
        picture->installEventFilter(this);
        add(picture, QStringLiteral("Pic"), i);
        pictures.append(picture);
    }
    SelectTab(1, m_tabCount, this);
    return pictures;
}

TwoStateButton *PageWindow::tab(int index) const
{
    return controlAs<TwoStateButton>(QStringLiteral("opt"), index);
}

QFrame *PageWindow::tabPicture(int index) const
{
    return controlAs<QFrame>(QStringLiteral("Pic"), index);
}

NotifySet *PageWindow::addNotifySet(NotifyKind kind, QWidget *parent)
{
    Q_ASSERT(!notifySet(kind));
    auto *set = new NotifySet(this, kind, parent);
    m_notifySets.append(set);
    return set;
}

NotifySet *PageWindow::notifySet(NotifyKind kind) const
{
    for (NotifySet *set : m_notifySets) {
        if (set->kind() == kind)
            return set;
    }
    return nullptr;
}

void PageWindow::setFieldRule(const QLineEdit *field, const FieldRule &rule)
{
    m_fieldRules.insert(field, rule);
}

FieldRule PageWindow::fieldRule(const QLineEdit *field) const
{
    FieldRule any;
    any.maxLength = field->maxLength();
    return m_fieldRules.value(field, any);
}

std::optional<QString> PageWindow::storedText(const ControlRef &ref, const QString &value) const
{
    if (auto *field = qobject_cast<const QLineEdit *>(ref.widget.data()))
        return storedFieldText(fieldRule(field), value);
    return FormWindow::storedText(ref, value);
}

bool PageWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && m_tabCount > 0) {
        for (int i = 1; i <= m_tabCount; ++i) {
            if (watched == tab(i)) {
                HighlightTab(i, m_tabCount, this);
                break;
            }
            if (watched == tabPicture(i)) {
                ClearTabHighlight(m_tabCount, this);
                break;
            }
        }
    }
    return FormWindow::eventFilter(watched, event);
}

void applyPagePalette(QWidget *window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(PageColors::Background));
    pal.setColor(QPalette::WindowText, QColor(PageColors::Text));
    pal.setColor(QPalette::ButtonText, QColor(PageColors::Text));
    pal.setColor(QPalette::Base, QColor(PageColors::EditBackground));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}
