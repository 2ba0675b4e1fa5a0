#include "core/ui/input_filter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLineEdit>
#include <algorithm>

namespace orvane {

namespace {

bool IsLineBreakOrTab(char16_t u) {
    return u == '\t' || u == '\n' || u == '\r' || u == QChar::LineSeparator
        || u == QChar::ParagraphSeparator;
}

bool IsStorableChar(QChar c, FieldLines lines) {
    const char16_t u = c.unicode();
    if (lines == FieldLines::kMulti && IsLineBreakOrTab(u))
        return true;
    // The C1 range holds only the five bytes Windows-1252 leaves undefined: control characters.
    return u >= 0x20 && u != 0x7F && (u < 0x80 || u >= 0xA0) && IsCp1252(c);
}

// The characters of `text` a one-line field refuses, sorted.
QString RefusedOf(const QString& text) {
    QString refused;
    for (const QChar c : text) {
        if (!IsStorableChar(c, FieldLines::kSingle))
            refused += c;
    }
    std::sort(refused.begin(), refused.end());
    return refused;
}

// While an input method drops its composition, whatever it sends about it arrives nowhere.
bool dropping_composition = false;

} // namespace

bool IsStorableInput(const QString& text, FieldLines lines) {
    return std::all_of(
        text.begin(), text.end(), [lines](QChar c) { return IsStorableChar(c, lines); });
}

bool BringsText(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false; // editing keys; a tab, the only text one types, every text box takes
    default:
        break;
    }
    if (text.front().category() == QChar::Other_Format)
        return true; // typed with Ctrl+Shift on some systems
    // A command; AltGr, which is Ctrl+Alt on some systems, still types.
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return modifiers != Qt::ControlModifier
        && modifiers != (Qt::ControlModifier | Qt::ShiftModifier);
}

std::unique_ptr<QInputMethodEvent> FilterInputMethod(
    const QInputMethodEvent& event, FieldLines lines, bool commit_accepted, Notifier& notifier) {
    const bool brings_text = !event.commitString().isEmpty() || !event.preeditString().isEmpty();
    if (dropping_composition)
        return brings_text ? std::make_unique<QInputMethodEvent>() : nullptr;
    const bool preedit_accepted = IsStorableInput(event.preeditString(), lines);
    if (preedit_accepted && commit_accepted)
        return nullptr;
    notifier.Beep();
    auto instead = preedit_accepted
        ? std::make_unique<QInputMethodEvent>(event.preeditString(), event.attributes())
        : std::make_unique<QInputMethodEvent>();
    if (commit_accepted) {
        instead->setCommitString(
            event.commitString(), event.replacementStart(), event.replacementLength());
    }
    if (!preedit_accepted) {
        dropping_composition = true;
        QGuiApplication::inputMethod()->reset();
        dropping_composition = false;
    }
    return instead;
}

LineInputFilter::LineInputFilter(QLineEdit* edit, Notifier& notifier, QValidator* rule)
    : QValidator(edit)
    , edit_(edit)
    , notifier_(notifier)
    , rule_(rule) {
    if (rule_)
        rule_->setParent(this);
    edit->installEventFilter(this);
    // Kept characters the text no longer holds cannot come back, whoever changed the text.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString now = RefusedOf(text);
        QString still_kept;
        std::set_intersection(
            kept_.begin(), kept_.end(), now.begin(), now.end(), std::back_inserter(still_kept));
        kept_ = still_kept;
    });
}

QValidator::State LineInputFilter::validate(QString& input, int& position) const {
    const QString refused = RefusedOf(input);
    if (!std::includes(kept_.begin(), kept_.end(), refused.begin(), refused.end())) {
        notifier_.Beep();
        return Invalid;
    }
    return rule_ ? rule_->validate(input, position) : Acceptable;
}

void LineInputFilter::fixup(QString& input) const {
    if (rule_)
        rule_->fixup(input);
}

void LineInputFilter::Keep(const QString& text) {
    kept_ = RefusedOf(text);
}

bool LineInputFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::InputMethod) {
        // The commit string meets validate() like any other insertion; only the preedit is
        // checked here.
        if (const auto instead = FilterInputMethod(
                *static_cast<QInputMethodEvent*>(event), FieldLines::kSingle, true, notifier_)) {
            QCoreApplication::sendEvent(edit_, instead.get());
            return true;
        }
    }
    return QValidator::eventFilter(watched, event);
}

LineInputFilter* InstallInputFilter(QLineEdit* edit, Notifier& notifier, QValidator* rule) {
    auto* filter = new LineInputFilter(edit, notifier, rule);
    edit->setValidator(filter);
    return filter;
}

void SetTextAsRead(QLineEdit* edit, const QString& text) {
    if (auto* filter = edit->findChild<LineInputFilter*>(QString(), Qt::FindDirectChildrenOnly))
        filter->Keep(text);
    edit->setText(text);
}

} // namespace orvane
