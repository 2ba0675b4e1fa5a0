// The one place the program shows message boxes. Windows call it instead of QMessageBox so that
// tests can replace it with RecordingNotifier, which records each text and never blocks.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

class QWidget;

namespace orvane {

class Notifier {
public:
    enum class Kind { kInformation, kWarning, kError, kQuestion };
    enum class SaveChoice { kSave, kDiscard, kCancel };

    virtual ~Notifier() = default;
    // A box with an OK button.
    virtual void Show(Kind kind, const QString& text, const QString& title = QString()) = 0;
    // An OK / Cancel question; true for OK.
    virtual bool Confirm(const QString& text, const QString& title = QString()) = 0;
    // A Save / Discard / Cancel question about changes not saved yet.
    virtual SaveChoice AskToSave(const QString& text) = 0;
    // A question answered with one of `buttons` (their texts, the first the default); returns
    // the index of the one chosen, or `escape` when the box was closed without choosing.
    virtual int Choose(const QString& text, const QStringList& buttons, int escape) = 0;
    // A short system sound for a refused key or paste.
    virtual void Beep() = 0;

    void Information(const QString& text) { Show(Kind::kInformation, text); }
    void Warning(const QString& text) { Show(Kind::kWarning, text); }
    void Error(const QString& text) { Show(Kind::kError, text); }
};

// Production notifier: modal QMessageBox boxes titled with the application name.
class MessageBoxNotifier final : public Notifier {
public:
    explicit MessageBoxNotifier(QWidget* parent = nullptr)
        : parent_(parent) { }
    void Show(Kind kind, const QString& text, const QString& title) override;
    bool Confirm(const QString& text, const QString& title) override;
    SaveChoice AskToSave(const QString& text) override;
    int Choose(const QString& text, const QStringList& buttons, int escape) override;
    void Beep() override;

private:
    QWidget* parent_;
};

// Test notifier: records every box and answers questions from a script (OK when the script is
// empty).
class RecordingNotifier final : public Notifier {
public:
    struct Box {
        Kind kind;
        QString text;
        QStringList buttons = {}; // a question's own buttons (Choose)
    };

    void Show(Kind kind, const QString& text, const QString& title) override;
    bool Confirm(const QString& text, const QString& title) override;
    // Answers from `save_answers`, Cancel when it is empty.
    SaveChoice AskToSave(const QString& text) override;
    // Answers from `choices`, `escape` when it is empty.
    int Choose(const QString& text, const QStringList& buttons, int escape) override;
    void Beep() override { ++beeps; }

    QStringList texts() const;
    void clear() {
        boxes.clear();
        beeps = 0;
    }

    std::vector<Box> boxes;
    std::deque<bool> answers;
    std::deque<SaveChoice> save_answers;
    std::deque<int> choices;
    int beeps = 0;
};

} // namespace orvane
