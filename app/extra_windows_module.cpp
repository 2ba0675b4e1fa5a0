// The module with the print window and the iCalendar windows (see app/ui/extra_windows.h).
#include "app/ui/extra_windows.h"
#include "ical/ui/ics_file_picker.h"
#include "ical/ui/t_export_ical.h"
#include "ical/ui/t_import_ical.h"
#include "printing/ui/pallet.h"
#include "printing/ui/print_size_store.h"
#include "printing/ui/printer_port.h"

namespace orvane {
namespace {

class ModuleWindows final : public ExtraWindows {
public:
    explicit ModuleWindows(const ExtraWindowsContext& context)
        : document_(context.document)
        , host_(context.host)
        , services_(context.services)
        , parent_(context.parent) { }

    void OpenPrint() override {
        if (!pallet_) {
            pallet_ = std::make_unique<TPallet>(
                host_, services_.notifier, print_sizes_, printer_port_, parent_);
        }
        pallet_->OpenModeless();
    }
    void OpenExportICalendar() override {
        if (!export_) {
            export_ = std::make_unique<TExportICal>(
                document_, services_, SystemIcsFilePicker(), parent_);
        }
        export_->OpenModal();
    }
    void ImportICalendar() override {
        if (!import_) {
            import_ = std::make_unique<TImportICal>(
                document_, services_, SystemIcsFilePicker(), parent_);
        }
        import_->ImportICalendar1Click();
    }

private:
    CalendarDocument& document_;
    CalendarHost& host_;
    Services services_;
    QWidget* parent_;
    SettingsPrintSizeStore print_sizes_;
    SystemPrinterPort printer_port_;
    std::unique_ptr<TPallet> pallet_;
    std::unique_ptr<TExportICal> export_;
    std::unique_ptr<TImportICal> import_;
};

} // namespace
} // namespace orvane

extern "C" __attribute__((visibility("default"))) orvane::ExtraWindows* orvane_make_extra_windows(
    const orvane::ExtraWindowsContext& context) {
    return new orvane::ModuleWindows(context);
}
