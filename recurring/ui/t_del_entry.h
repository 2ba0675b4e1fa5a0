// "Delete Entry": removes an entry text from the days between two dates and, optionally, the
// records that would bring it back at the next cycle.
#pragma once

#include "core/result.h"
#include "recurring/ui/entry_dialog.h"

#include <QString>
#include <optional>

namespace orvane {

class TDelEntry final : public EntryDialog {
    Q_OBJECT
public:
    TDelEntry(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr);

protected:
    void PrepareOwn() override;
    void OnAutomaticUpdate(bool checked) override;
    PlanPreview MakePreview(const Date& from, const Date& to, const std::string& text) override;
    QStringList PreviewNotes() const override;
    bool RunOk(const Date& from, const Date& to, const std::string& text) override;

private:
    // Reads fdat.ovd for the preview; OK reads it again, so that it acts on the file as it is.
    void ReadRecords();

    // fdat.ovd as last read, or why it could not be read (in words, with its path).
    std::string records_;
    std::optional<QString> records_error_;
};

} // namespace orvane
