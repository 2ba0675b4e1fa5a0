#include "core/ui/notifier.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace orvane {

void MessageBoxNotifier::Show(Kind kind, const QString& text, const QString& title) {
    const QString caption = title.isEmpty() ? QApplication::applicationName() : title;
    switch (kind) {
    case Kind::kInformation:
    case Kind::kQuestion:
        QMessageBox::information(parent_, caption, text);
        break;
    case Kind::kWarning:
        QMessageBox::warning(parent_, caption, text);
        break;
    case Kind::kError:
        QMessageBox::critical(parent_, caption, text);
        break;
    }
}

bool MessageBoxNotifier::Confirm(const QString& text, const QString& title) {
    const QString caption = title.isEmpty() ? QApplication::applicationName() : title;
    return QMessageBox::question(
               parent_, caption, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

Notifier::SaveChoice MessageBoxNotifier::AskToSave(const QString& text) {
    const auto answer = QMessageBox::question(parent_, QApplication::applicationName(), text,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return SaveChoice::kSave;
    return answer == QMessageBox::Discard ? SaveChoice::kDiscard : SaveChoice::kCancel;
}

int MessageBoxNotifier::Choose(const QString& text, const QStringList& buttons, int escape) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
        QMessageBox::NoButton, parent_);
    std::vector<QAbstractButton*> added;
    for (const QString& label : buttons)
        added.push_back(box.addButton(label, QMessageBox::AcceptRole));
    if (!added.empty())
        box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
    if (escape >= 0 && escape < static_cast<int>(added.size()))
        box.setEscapeButton(added[static_cast<std::size_t>(escape)]);
    box.exec();
    const auto chosen = std::find(added.begin(), added.end(), box.clickedButton());
    return chosen == added.end() ? escape : static_cast<int>(chosen - added.begin());
}

void MessageBoxNotifier::Beep() {
    QApplication::beep();
}

void RecordingNotifier::Show(Kind kind, const QString& text, const QString&) {
    boxes.push_back({ kind, text });
}

bool RecordingNotifier::Confirm(const QString& text, const QString&) {
    boxes.push_back({ Kind::kQuestion, text });
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

Notifier::SaveChoice RecordingNotifier::AskToSave(const QString& text) {
    boxes.push_back({ Kind::kQuestion, text });
    if (save_answers.empty())
        return SaveChoice::kCancel;
    const SaveChoice answer = save_answers.front();
    save_answers.pop_front();
    return answer;
}

int RecordingNotifier::Choose(const QString& text, const QStringList& buttons, int escape) {
    boxes.push_back({ Kind::kQuestion, text, buttons });
    if (choices.empty())
        return escape;
    const int answer = choices.front();
    choices.pop_front();
    return answer;
}

QStringList RecordingNotifier::texts() const {
    QStringList list;
    for (const Box& box : boxes)
        list << box.text;
    return list;
}

} // namespace orvane
