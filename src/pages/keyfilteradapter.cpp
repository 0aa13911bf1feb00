#include "pages/keyfilteradapter.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>

namespace {

bool isControlCode(QChar c)
{
    return c.unicode() < 32 || c.unicode() == 127;
}

class KeyFilterAdapter : public QObject
{
public:
    KeyFilterAdapter(QWidget *field, KeyFilter filter, int maxLength)
        : QObject(field)
        , m_field(field)
        , m_line(qobject_cast<QLineEdit *>(field))
        , m_plain(qobject_cast<QPlainTextEdit *>(field))
        , m_filter(filter)
        , m_maxLength(maxLength)
    {
        field->installEventFilter(this);
        if (m_plain)
            m_plain->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            return keyPress(static_cast<QKeyEvent *>(event));
        case QEvent::InputMethod:
            return inputMethod(static_cast<QInputMethodEvent *>(event));
        case QEvent::Drop:
            return drop(watched, static_cast<QDropEvent *>(event));
        case QEvent::MouseButtonRelease:
            return middleButtonPaste(static_cast<QMouseEvent *>(event));
        case QEvent::ContextMenu:
            return contextMenu(static_cast<QContextMenuEvent *>(event));
        default:
            return false;
        }
    }

private:
    bool isReadOnly() const { return m_line ? m_line->isReadOnly() : m_plain->isReadOnly(); }

    // Characters the field can still take, replacing its selection; -1 when it has no limit.
    qsizetype room() const
    {
        if (m_line)
            return m_line->maxLength() - (m_line->text().size() - m_line->selectedText().size());
        if (m_maxLength < 0)
            return -1;
        const qsizetype length = m_plain->document()->characterCount() - 1;
        return qMax<qsizetype>(0, m_maxLength - (length - m_plain->textCursor().selectedText().size()));
    }

    void insertFiltered(const QString &text)
    {
        if (isReadOnly())
            return;
        const QString kept = filterInsertedText(m_filter, text, room());
        if (kept.isEmpty())
            return;
        if (m_line)
            m_line->insert(kept);
        else
            m_plain->insertPlainText(kept);
    }

    bool keyPress(QKeyEvent *key)
    {
        if (key->matches(QKeySequence::Paste)) {
            if (isReadOnly())
                return false;
            insertFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
            return true;
        }
        const QString typed = key->text();
        if (typed.isEmpty())
            return false;
        if (isControlCode(typed.front())) {
            // Editing and navigation keys insert nothing into a one-line field. In a multi-line field Enter
            // would add a line: it is a typed character there and goes through the filter.
            const bool enterInPlainText
                = m_plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
            if (!enterInPlainText)
                return false;
            return filterTypedCharacter(m_filter, typed.front()).isNull();
        }
        // With Ctrl or Ctrl+Shift alone the key is a shortcut and the field types nothing. With any other
        // modifier besides (the keypad, Meta, AltGr's Alt) the field types the character: it is filtered.
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
            return false;
        QString kept;
        for (const QChar c : typed) {
            const QChar result = filterTypedCharacter(m_filter, c);
            if (!result.isNull())
                kept.append(result);
        }
        if (kept == typed)
            return false;
        if (kept.isEmpty())
            return true; // swallowed
        // A replaced character (a folded umlaut) is typed in place of the original; it passes the filter
        // unchanged when the replacement comes back through here.
        QKeyEvent replacement(
            key->type(), key->key(), key->modifiers(), kept, key->isAutoRepeat(), ushort(key->count()));
        QCoreApplication::sendEvent(m_field, &replacement);
        return true;
    }

    bool inputMethod(QInputMethodEvent *event)
    {
        const QString commit = event->commitString();
        if (commit.isEmpty())
            return false;
        const QString kept = filterInsertedText(m_filter, commit);
        if (kept == commit)
            return false;
        QInputMethodEvent replacement(event->preeditString(), event->attributes());
        replacement.setCommitString(kept, event->replacementStart(), event->replacementLength());
        QCoreApplication::sendEvent(m_field, &replacement);
        return true;
    }

    bool drop(QObject *receiver, QDropEvent *event)
    {
        const QMimeData *data = event->mimeData();
        if (!data || !data->hasText() || isReadOnly())
            return false;
        const QString text = data->text();
        const QString kept = filterInsertedText(m_filter, text);
        if (kept == text)
            return false;
        if (kept.isEmpty()) {
            event->ignore();
            return true;
        }
        // The field drops the filtered text at the drop position as it would the original.
        QMimeData filtered;
        filtered.setText(kept);
        QDropEvent replacement(
            event->position(), event->possibleActions(), &filtered, event->buttons(), event->modifiers());
        replacement.setDropAction(event->dropAction());
        QCoreApplication::sendEvent(receiver, &replacement);
        event->setDropAction(replacement.dropAction());
        event->setAccepted(replacement.isAccepted());
        return true;
    }

    bool middleButtonPaste(QMouseEvent *event)
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (event->button() != Qt::MiddleButton || !clipboard->supportsSelection() || isReadOnly())
            return false;
        if (m_line)
            m_line->deselect();
        else
            m_plain->setTextCursor(m_plain->cursorForPosition(event->position().toPoint()));
        insertFiltered(clipboard->text(QClipboard::Selection));
        return true;
    }

    bool contextMenu(QContextMenuEvent *event)
    {
        QMenu *menu
            = m_line ? m_line->createStandardContextMenu() : m_plain->createStandardContextMenu(event->pos());
        QAction *paste = findPasteAction(menu);
        if (!paste) {
            // Without a paste entry there is nothing to filter: the field's own menu is shown.
            delete menu;
            return false;
        }
        QObject::disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this,
            [this] { insertFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); });
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPos());
        return true;
    }

    QAction *findPasteAction(QMenu *menu) const
    {
        const QString label = QCoreApplication::translate("QLineEdit", "&Paste");
        for (QAction *action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-paste"))
                return action;
            if (m_line && (action->text() == label || action->text().startsWith(label + u'\t')))
                return action;
        }
        return nullptr;
    }

    QWidget *m_field;
    QLineEdit *m_line;
    QPlainTextEdit *m_plain;
    KeyFilter m_filter;
    int m_maxLength;
};

} // namespace

void attachKeyFilter(QLineEdit *field, KeyFilter filter)
{
    new KeyFilterAdapter(field, filter, -1);
}

void attachKeyFilter(QPlainTextEdit *field, KeyFilter filter, int maxLength)
{
    new KeyFilterAdapter(field, filter, maxLength);
}
