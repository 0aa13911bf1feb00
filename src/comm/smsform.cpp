#include "comm/smsform.h"

#include "comm/frm8texts.h"
#include "comm/smsrule.h"
#include "pages/keyfilteradapter.h"
#include "pages/pagerules.h"
#include "pages/pagewindow.h"
#include "window/colors.h"
#include "window/formwindow.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace {

// A text box that only shows a caption: no frame, no focus, the page's colours.
QLineEdit *captionBox(const QString &text, QWidget *parent)
{
    auto *box = new QLineEdit(text, parent);
    box->setReadOnly(true);
    box->setFrame(false);
    box->setFocusPolicy(Qt::NoFocus);
    box->setTextMargins(0, 0, 0, 0);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(PageColors::Background));
    palette.setColor(QPalette::Text, QColor(PageColors::Text));
    box->setPalette(palette);
    return box;
}

bool isTypedCharacter(const QKeyEvent *key)
{
    const QString typed = key->text();
    if (typed.isEmpty() || typed.front().unicode() < 32 || typed.front().unicode() == 127)
        return false;
    return !(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & Qt::AltModifier);
}

} // namespace

SmsForm::SmsForm(FormWindow *page)
    : QObject(page)
{
    m_text3 = page->add(captionBox(QStringLiteral("SMS-Text:"), page), QStringLiteral("Text3"));
    m_text1 = page->add(new QPlainTextEdit(page), QStringLiteral("Text1"));
    m_text1->setTabChangesFocus(true);
    attachKeyFilter(m_text1, KeyFilter::SmsText, SmsRule::kMaxLength);
    selectAllOnEntry(m_text1);
    // Installed after the key filter, so the form sees each key first.
    m_text1->installEventFilter(this);
    connect(m_text1, &QPlainTextEdit::textChanged, this, &SmsForm::limitText);
    m_text4 = page->add(captionBox(QStringLiteral("Telefonnummer:"), page), QStringLiteral("Text4"));
    m_text2 = page->add(new QLineEdit(page), QStringLiteral("Text2"));
    attachKeyFilter(m_text2, KeyFilter::PhoneNumber);
    selectAllOnEntry(m_text2);
    m_cmdS = page->add(new QPushButton(QStringLiteral("Senden"), page), QStringLiteral("cmdS"));
    m_cmdS->setAutoDefault(true);
    connect(m_text2, &QLineEdit::returnPressed, m_cmdS, [this] { m_cmdS->setFocus(Qt::OtherFocusReason); });
    connect(m_cmdS, &QPushButton::clicked, this, &SmsForm::sendClicked);
}

QString SmsForm::text() const
{
    return m_text1->toPlainText();
}

QString SmsForm::number() const
{
    return m_text2->text();
}

void SmsForm::setShown(bool shown)
{
    for (QWidget *field :
        { static_cast<QWidget *>(m_text1), static_cast<QWidget *>(m_text2), static_cast<QWidget *>(m_text3),
            static_cast<QWidget *>(m_text4), static_cast<QWidget *>(m_cmdS) })
        field->setVisible(shown);
}

void SmsForm::updateSendCaption()
{
    m_cmdS->setText(Frm8Text::smsSendCaption(SmsRule::charactersLeft(m_text1->toPlainText().size())));
}

void SmsForm::limitText()
{
    if (m_limiting)
        return;
    if (!SmsRule::fits(m_text1->toPlainText())) {
        // Text that reached the field some other way than typing or pasting: the rest is cut off.
        m_limiting = true;
        QTextCursor cut(m_text1->document());
        cut.setPosition(SmsRule::kMaxLength);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        m_limiting = false;
    }
    if (m_text1->hasFocus())
        updateSendCaption();
}

bool SmsForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text1) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            // A full SMS takes no more characters; the selection would be replaced, so it makes room.
            const auto *key = static_cast<QKeyEvent *>(event);
            const qsizetype kept
                = m_text1->toPlainText().size() - m_text1->textCursor().selectedText().size();
            if (isTypedCharacter(key) && SmsRule::charactersLeft(kept) == 0)
                return true;
            break;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::KeyRelease:
            updateSendCaption();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
