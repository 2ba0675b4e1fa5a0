#include "core/ui/error_text.h"

#include <QTest>

using namespace orvane;

class ErrorTextTest : public QObject {
    Q_OBJECT
private slots:
    // A path keeps the spelling of its folder names; the program's own words come from
    // Windows-1252 and the system's reason from the user's language, each decoded its own way.
    void pathsReasonsAndNotesEachKeepTheirEncoding() {
        const QString folder = QStringLiteral("/home/ana/Tageb\u00fccher/\u65e5\u8a18/csystem");
        const std::filesystem::path path = std::filesystem::path(folder.toStdString()) / "cdat.ovd";
        QCOMPARE(PathText(path), folder + QStringLiteral("/cdat.ovd"));

        Error error = FileError(
            FileOperation::kWrite, path, std::make_error_code(std::errc::no_space_on_device));
        error.Also("Caf\xe9 notes were kept.");
        QCOMPARE(ErrorText(error),
            QStringLiteral("Could not write %1/cdat.ovd: %2\nCaf\u00e9 notes were kept.")
                .arg(folder,
                    QString::fromLocal8Bit(
                        std::make_error_code(std::errc::no_space_on_device).message())));

        const Error missing = FileError(
            FileOperation::kRead, path, std::make_error_code(std::errc::no_such_file_or_directory));
        QVERIFY(IsMissingFile(missing));
        QCOMPARE(ErrorText(missing),
            QStringLiteral("Could not read %1/cdat.ovd: the file does not exist").arg(folder));

        QCOMPARE(
            ErrorText(FileError(FileOperation::kAppend, "rdat.ovd", "it is a folder, not a file")),
            QStringLiteral("Could not append to rdat.ovd: it is a folder, not a file"));
        QCOMPARE(
            ErrorText(Refusal("Day 7\nholds no date")), QStringLiteral("Day 7\nholds no date"));
    }

    // A file failure that becomes text also reaches the "orvane.files" log, whether shown or
    // handled quietly; a refusal is no file failure. The rules can silence the category.
    void fileFailuresAreLogged() {
        static QStringList logged;
        logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                logged << QStringLiteral("%1 %2 %3")
                              .arg(QString::fromLatin1(context.category))
                              .arg(type == QtWarningMsg ? QStringLiteral("warning")
                                                        : QStringLiteral("other"))
                              .arg(message);
            });
        const Error full = FileError(FileOperation::kWrite, "/data/cdat.ovd",
            std::make_error_code(std::errc::no_space_on_device));
        const QString shown = ErrorText(full);
        (void)ErrorText(Refusal("Day 7 is full"));
        LogFileError(FileError(FileOperation::kRemove, "/data/.cdat.ovd.Ab12Cd", "busy"));
        LogFileError(Refusal("not a file failure"));
        QLoggingCategory::setFilterRules(QStringLiteral("orvane.files=false"));
        (void)ErrorText(full);
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);

        QCOMPARE(logged,
            (QStringList { QStringLiteral("orvane.files warning ") + shown,
                QStringLiteral(
                    "orvane.files warning Could not remove /data/.cdat.ovd.Ab12Cd: busy") }));
    }
};

QTEST_GUILESS_MAIN(ErrorTextTest)
#include "error_text_test.moc"
