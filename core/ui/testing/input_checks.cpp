#include "core/ui/testing/input_checks.h"

#include "core/ui/notifier.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace orvane {

namespace {

const QTextDocument* DocumentOf(const QWidget* field) {
    if (const auto* edit = qobject_cast<const QTextEdit*>(field))
        return edit->document();
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(field))
        return edit->document();
    return nullptr;
}

// The preedit a text box shows at its caret; a line edit keeps its own out of reach.
QString PreeditOf(const QWidget* field) {
    QTextCursor caret;
    if (const auto* rich = qobject_cast<const QTextEdit*>(field))
        caret = rich->textCursor();
    else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(field))
        caret = plain->textCursor();
    if (caret.isNull() || !caret.block().layout())
        return QString();
    return caret.block().layout()->preeditAreaText();
}

QString RouteName(InputRoute route) {
    switch (route) {
    case InputRoute::kCommit:
        return QStringLiteral("input-method commit");
    case InputRoute::kPreedit:
        return QStringLiteral("input-method preedit");
    case InputRoute::kPaste:
        return QStringLiteral("paste");
    case InputRoute::kKey:
        return QStringLiteral("typed key");
    case InputRoute::kDrop:
        return QStringLiteral("drop");
    }
    return QString();
}

} // namespace

void SendText(QWidget* field, const QString& text, InputRoute route) {
    switch (route) {
    case InputRoute::kCommit: {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(field, &event);
        break;
    }
    case InputRoute::kPreedit: {
        QInputMethodEvent event(text, {});
        QApplication::sendEvent(field, &event);
        break;
    }
    case InputRoute::kPaste:
        QApplication::clipboard()->setText(text);
        QMetaObject::invokeMethod(field, "paste");
        break;
    case InputRoute::kKey: {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(field, &event);
        break;
    }
    case InputRoute::kDrop: {
        QMimeData data;
        data.setText(text);
        // A text box takes drops on its viewport; a drop goes where the drag entered.
        QWidget* target = field;
        if (auto* area = qobject_cast<QAbstractScrollArea*>(field))
            target = area->viewport();
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        break;
    }
    }
}

QString FieldText(const QWidget* field) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(field))
        return edit->text();
    QString text = DocumentOf(field)->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
    text.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
    return text;
}

QString CheckInputFilter(QWidget* field, RecordingNotifier& notes, const QString& accepted) {
    const QString where = field->objectName() + QStringLiteral(": ");
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->clear();
    for (const InputRoute route : { InputRoute::kCommit, InputRoute::kPaste, InputRoute::kKey,
             InputRoute::kDrop, InputRoute::kPreedit }) {
        // A CJK character, and a Latin letter that Windows-1252 lacks.
        for (const QString& refused : { QStringLiteral("\u4e2d"), QStringLiteral("\u0101") }) {
            const QString before = FieldText(field);
            const int beeps = notes.beeps;
            SendText(field, QStringLiteral("a") + refused, route);
            const QString what = where + RouteName(route) + QStringLiteral(" of U+")
                + QString::number(refused.front().unicode(), 16) + QStringLiteral(" ");
            if (FieldText(field) != before)
                return what + QStringLiteral("changed the text to \"%1\"").arg(FieldText(field));
            if (notes.beeps != beeps + 1)
                return what + QStringLiteral("beeped %1 times").arg(notes.beeps - beeps);
            if (!PreeditOf(field).isEmpty())
                return what + QStringLiteral("is shown as a preedit");
        }
    }
    const QString before = FieldText(field);
    const int beeps = notes.beeps;
    SendText(field, accepted, InputRoute::kCommit);
    if (FieldText(field).size() != before.size() + accepted.size()
        || !FieldText(field).contains(accepted) || notes.beeps != beeps)
        return where
            + QStringLiteral("\"%1\" committed did not arrive: \"%2\", %3 beeps")
                  .arg(accepted, FieldText(field))
                  .arg(notes.beeps - beeps);
    return QString();
}

} // namespace orvane
