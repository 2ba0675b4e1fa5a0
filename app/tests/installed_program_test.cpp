// The installed program, started as a user starts it: with a home folder of its own, under the
// offscreen platform, ending by itself once every window is built (ORVANE_QUIT_AFTER_START). The
// installation is made by the install_into_prefix test. The command line's rules and the choice
// of the data folder are tested in launch_test and data_folder_test; here one start and one
// refusal show the program uses them.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const char* const kDefaultFiles[]
    = { "pref.ovd", "cdat.ovd", "fdat.ovd", "rdat.ovd", "archive.ovd", "notes.ovd" };

fs::path PathOf(const QString& text) {
    return fs::path(QFile::encodeName(text).toStdString());
}

QString Text(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every path under `root`, relative to it.
std::set<std::string> Tree(const fs::path& root) {
    std::set<std::string> paths;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        paths.insert(fs::relative(it->path(), root).string());
    return paths;
}

ino_t Inode(const fs::path& path) {
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// A calendar as the program writes it for a first start: 738 days from a Sunday, each line
// beginning with its date key ("Dec/6 /2026").
bool IsNewCalendar(const std::string& bytes) {
    static const QRegularExpression date_key(QStringLiteral("^[A-Z][a-z]{2}/[0-9][0-9 ]/[0-9]{4}"));
    const QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return date_key.match(text).hasMatch() && text.count(QStringLiteral("\r\n")) >= 738;
}

} // namespace

class InstalledProgramTest : public QObject {
    Q_OBJECT

    struct Outcome {
        int exit_code = -1;
        QString out;
        QString err;
    };

    std::unique_ptr<QTemporaryDir> tmp_;
    fs::path root_;
    fs::path home_;

    static QString Installed() { return QStringLiteral(ORVANE_INSTALL_PREFIX "/bin/orvane"); }
    fs::path UserFolder() const { return home_ / ".local/share/Marrowby/Orvane/csystem"; }

    // Starts `program` with a clean environment: HOME and the runtime folder inside the test's
    // folder, no other XDG folder, no display but the offscreen platform unless `display` is
    // false.
    Outcome Start(const QString& program, const QStringList& arguments, bool display = true,
        const QStringList& extra_environment = {}) {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        environment.insert(QStringLiteral("HOME"), Text(home_));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Text(root_ / "run"));
        // The reasons the program prints come in the language the test compares them in; the
        // sanitizers' settings hold for the program too.
        const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
        for (const char* name :
            { "LANG", "LC_ALL", "LC_MESSAGES", "ASAN_OPTIONS", "UBSAN_OPTIONS" }) {
            if (own.contains(QLatin1String(name)))
                environment.insert(QLatin1String(name), own.value(QLatin1String(name)));
        }
        environment.insert(QStringLiteral("ORVANE_QUIT_AFTER_START"), QStringLiteral("1"));
        if (display)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const QString& entry : extra_environment)
            environment.insert(
                entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(Text(root_));
        process.start(program, arguments);
        Outcome outcome;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            outcome.err = QStringLiteral("did not end by itself: ")
                + QString::fromLocal8Bit(process.readAllStandardError());
            return outcome;
        }
        outcome.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        outcome.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        outcome.err = QString::fromLocal8Bit(process.readAllStandardError());
        return outcome;
    }

private slots:
    void init() {
        tmp_ = std::make_unique<QTemporaryDir>();
        root_ = PathOf(tmp_->path());
        home_ = root_ / "home";
        fs::create_directories(home_);
        fs::create_directory(root_ / "run");
        fs::permissions(root_ / "run", fs::perms::owner_all);
    }
    void cleanup() { tmp_.reset(); }

    // The first start makes the user's data folder from the installed defaults and writes a new
    // calendar there; the second reads the same files and saves back into them on closing.
    void firstStartMakesTheUserFolderAndTheNextUsesIt() {
        const Outcome first = Start(
            Installed(), {}, true, { QStringLiteral("QT_LOGGING_RULES=orvane.files.info=true") });
        QVERIFY2(first.exit_code == 0, qPrintable(first.err));
        QVERIFY2(first.err.contains(QStringLiteral("Data folder: ") + Text(UserFolder())),
            qPrintable(first.err));
        const fs::path defaults = ORVANE_SOURCE_DEFAULTS "/csystem";
        for (const char* name : kDefaultFiles) {
            QVERIFY2(fs::exists(UserFolder() / name), name);
            // The installed defaults stay as they were shipped.
            QCOMPARE(Read(fs::path(ORVANE_INSTALL_PREFIX "/share/orvane/defaults/csystem") / name),
                Read(defaults / name));
        }
        QCOMPARE(Read(UserFolder() / "pref.ovd"), Read(defaults / "pref.ovd"));
        QVERIFY(IsNewCalendar(Read(UserFolder() / "cdat.ovd")));
        QVERIFY(!fs::exists(ORVANE_INSTALL_PREFIX "/bin/csystem"));
        // Nothing in the home folder but the data folder and its parents (and a font cache).
        const std::string user = ".local/share/Marrowby/Orvane/csystem";
        for (const std::string& path : Tree(home_)) {
            QVERIFY2(user.rfind(path, 0) == 0 || path.rfind(user, 0) == 0
                    || path.rfind(".cache", 0) == 0,
                path.c_str());
        }

        // A note of the user's, typed into the file the first start wrote.
        std::string calendar = Read(UserFolder() / "cdat.ovd");
        calendar.insert(calendar.find("\r\n"), "Dentist at 9\x07");
        Put(UserFolder() / "cdat.ovd", calendar);
        const ino_t before = Inode(UserFolder() / "cdat.ovd");
        const std::string pref = Read(UserFolder() / "pref.ovd");

        const Outcome second = Start(Installed(), {});
        QVERIFY2(second.exit_code == 0, qPrintable(second.err));
        QVERIFY(!second.err.contains(QStringLiteral("Copied")));
        // Saved on closing (the default preferences allow it): a new file with the same days.
        QVERIFY(Inode(UserFolder() / "cdat.ovd") != before);
        QCOMPARE(Read(UserFolder() / "cdat.ovd"), calendar);
        QCOMPARE(Read(UserFolder() / "pref.ovd"), pref);
    }

    // A folder the program cannot use is named with the reason before any window, even without a
    // display, and nothing is written anywhere: no other data folder is made instead.
    void aDataFolderThatIsAFileIsRefused() {
        Put(root_ / "notes.txt", "keep me");
        const fs::path folder = root_ / "notes.txt";
        const std::set<std::string> around = Tree(root_);
        const Outcome run
            = Start(Installed(), { QStringLiteral("--data-dir"), Text(folder) }, false);
        QCOMPARE(run.exit_code, 1);
        QVERIFY2(run.err.contains(
                     QStringLiteral("Orvane cannot use the data folder %1.\n").arg(Text(folder))),
            qPrintable(run.err));
        QVERIFY2(
            run.err.contains(QStringLiteral("it is a file, not a folder")), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(Tree(root_), around);
        QVERIFY(Tree(home_).empty());
        QCOMPARE(Read(root_ / "notes.txt"), std::string("keep me"));
    }
};

QTEST_GUILESS_MAIN(InstalledProgramTest)
#include "installed_program_test.moc"
