// Runs the real program: its answers to the command line need no display, and --profile
// decides which file the run reads and writes.
#include "QtTestRegistry.h"
#include "platform/Version.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "support/WindowRun.h"

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr int kRunTimeoutMs = 60000;

struct Result {
    int status = -1;
    QString out;
    QString err;
};

// The environment of a machine without any display; the user's folder for the program points
// into the test's folder, so that a run that wrongly went there is seen.
QProcessEnvironment Environment(const TempDir& dir, bool offscreen)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QString::fromLatin1(name));
    if (offscreen)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(
        QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.file("config")));
    environment.insert(QStringLiteral("QUOTINO_EXIT_AFTER_FIRST_REPORT"), QStringLiteral("0"));
    // A temporary folder open to every user, as /tmp is, also named as the runtime folder.
    const std::string shared = dir.file("shared");
    if (fs::create_directory(shared))
        fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    for (const char* name : { "TMPDIR", "XDG_RUNTIME_DIR" })
        environment.insert(QString::fromLatin1(name), QString::fromStdString(shared));
    return environment;
}

Result Run(const TempDir& dir, const QStringList& arguments, bool offscreen = false)
{
    QProcess program;
    program.setProcessEnvironment(Environment(dir, offscreen));
    program.start(QStringLiteral(QUOTINO_EXECUTABLE), arguments);
    Result result;
    if (!program.waitForFinished(kRunTimeoutMs) || program.exitStatus() != QProcess::NormalExit) {
        program.kill();
        program.waitForFinished();
        return result;
    }
    result.status = program.exitCode();
    result.out = QString::fromUtf8(program.readAllStandardOutput());
    result.err = QString::fromUtf8(program.readAllStandardError());
    return result;
}

bool UserFolderTouched(const TempDir& dir)
{
    return fs::exists(dir.file("config"));
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void AnswersWithoutADisplay_data();
    void AnswersWithoutADisplay();
    void ProfileThatCannotServeIsRefusedAndLeftAlone_data();
    void ProfileThatCannotServeIsRefusedAndLeftAlone();
    void MissingProfileIsCreatedWhereItIsNamed();
    void SecondStartOnARunningProfileEndsAndSavesNothing();
    void SessionEndKeepsTheChangesOfTheRun_data();
    void SessionEndKeepsTheChangesOfTheRun();

private:
    // Starts a window run offscreen and waits until the file exists and holds text.
    static void RunUntilWritten(const TempDir& dir, const QStringList& arguments,
        const std::string& watched, const std::string& wanted,
        const QString& program = QStringLiteral(QUOTINO_EXECUTABLE),
        const QProcessEnvironment& changes = {});
    static void Start(QProcess& program, const TempDir& dir, const QStringList& arguments);
    // Ends a window run with signal, which must close it the normal way.
    static void EndBySignal(QProcess& program, int signal);
};

void CommandLineTest::AnswersWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString usage = QStringLiteral("^Usage: quotino \\[options\\]\n(.|\n)*--profile <file>");
    // The parser's every case is the core's; these prove that the program prints its answers.
    QTest::newRow("help") << QStringList { "--help" } << 0 << usage << QString("^$");
    QTest::newRow("unknown option")
        << QStringList { "--bogus" } << 2 << QString("^$")
        << QString("^quotino: Unknown option 'bogus'.\n") + usage.mid(1);
}

void CommandLineTest::AnswersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    TempDir dir;
    const Result result = Run(dir, arguments);
    QCOMPARE(result.status, status);
    QVERIFY2(QRegularExpression(out).match(result.out).hasMatch(), qPrintable(result.out));
    QVERIFY2(QRegularExpression(err).match(result.err).hasMatch(), qPrintable(result.err));
    QVERIFY(!UserFolderTouched(dir));
}

void CommandLineTest::ProfileThatCannotServeIsRefusedAndLeftAlone_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    // "quotino.ini" is prepared as a read-only file and "folder" as a folder.
    QTest::newRow("missing folder")
        << QString("missing/quotino.ini") << QString("the folder .*/missing does not exist");
    // Read-only by its mode, also for root: saving over it would change the user's file.
    QTest::newRow("read-only file") << QString("quotino.ini") << QString("it is read-only");
    QTest::newRow("a folder") << QString("folder") << QString("it is a folder");
    QTest::newRow("a pipe") << QString("pipe") << QString("it is a named pipe, not a file");
    QTest::newRow("a device") << QString(
        "zero") << QString("(it is a device, not a file|the folder /dev cannot be written: .*)");
}

void CommandLineTest::ProfileThatCannotServeIsRefusedAndLeftAlone()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);

    TempDir dir;
    const std::string original = "[Settings]\r\nVersion=1.00\r\nLang=English\r\n";
    WriteWholeFile(dir.file("quotino.ini"), original);
    fs::permissions(dir.file("quotino.ini"), fs::perms(0444));
    fs::create_directory(dir.file("folder"));
    QCOMPARE(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir.file("zero"));

    const QString path = QString::fromStdString(dir.file(name.toStdString()));
    const Result result = Run(dir, { "--profile", path });
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, QString());
    QVERIFY2(QRegularExpression("^quotino: cannot use the profile "
                 + QRegularExpression::escape(path) + ": " + reason + "\n$")
                 .match(result.err)
                 .hasMatch(),
        qPrintable(result.err));
    QCOMPARE(ReadWholeFile(dir.file("quotino.ini")), original);
    QVERIFY(!fs::exists(dir.file("quotino.ini.bak")));
    QVERIFY(!fs::exists(dir.file("missing")));
    QVERIFY(fs::is_empty(dir.file("folder")));
    QVERIFY(!UserFolderTouched(dir));
}

void CommandLineTest::RunUntilWritten(const TempDir& dir, const QStringList& arguments,
    const std::string& watched, const std::string& wanted, const QString& executable,
    const QProcessEnvironment& changes)
{
    QProcess program;
    QProcessEnvironment environment = Environment(dir, true);
    for (const QString& name : changes.keys()) {
        if (changes.value(name).isEmpty())
            environment.remove(name);
        else
            environment.insert(name, changes.value(name));
    }
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(executable, arguments);
    QVERIFY(program.waitForStarted());
    // The window then waits for the user, so the run is ended from here once the file is
    // there; the profile reaches the disk before any question is asked.
    QTRY_VERIFY_WITH_TIMEOUT(
        fs::exists(watched) && ReadWholeFile(watched).find(wanted) != std::string::npos,
        kRunTimeoutMs);
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
}

// A relative name counts from the current folder; the run builds the profile there from the
// built-in default and touches nothing in the user's folder.
void CommandLineTest::MissingProfileIsCreatedWhereItIsNamed()
{
    TempDir dir;
    RunUntilWritten(dir, { "--profile", "new.ini" }, dir.file("new.ini"),
        std::string("\r\nVersion=") + kVersionText + "\r\n");
    QVERIFY(!fs::exists(dir.file("new.ini.bak")));
    QVERIFY(!UserFolderTouched(dir));
}

void CommandLineTest::Start(QProcess& program, const TempDir& dir, const QStringList& arguments)
{
    program.setProcessEnvironment(Environment(dir, true));
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(QUOTINO_EXECUTABLE), arguments);
    QVERIFY(program.waitForStarted());
}

void CommandLineTest::EndBySignal(QProcess& program, int signal)
{
    QCOMPARE(program.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(program.processId()), signal);
    QVERIFY(program.waitForFinished(kRunTimeoutMs));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

// The first run waits in the language question of its new profile; the second start leaves
// it running and the profile as it was, while a start on another profile runs beside it.
void CommandLineTest::SecondStartOnARunningProfileEndsAndSavesNothing()
{
    TempDir dir;
    const std::string profile = dir.file("quotino.ini");
    QProcess first;
    Start(first, dir, { "--profile", QString::fromStdString(profile) });
    QTRY_VERIFY_WITH_TIMEOUT(
        ReadWholeFile(profile).find("\r\nVersion=") != std::string::npos, kRunTimeoutMs);
    const std::string before = ReadWholeFile(profile);

    QCOMPARE(Run(dir, { "--profile", QString::fromStdString(profile) }, true).status, 0);
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(ReadWholeFile(profile), before);
    // Another user could take a name in the shared folder first and swallow every later
    // start: the hand-over lives in a folder of the user's own.
    for (const fs::directory_entry& entry : fs::directory_iterator(dir.file("shared"))) {
        QVERIFY2(entry.is_directory() && !entry.is_symlink(), entry.path().c_str());
        QCOMPARE(entry.status().permissions(), fs::perms::owner_all);
    }
    RunUntilWritten(dir, { "--profile", "other.ini" }, dir.file("other.ini"), "\r\nVersion=");
    EndBySignal(first, SIGTERM);
}

void CommandLineTest::SessionEndKeepsTheChangesOfTheRun_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("logout") << int(SIGTERM);
    QTest::newRow("terminal closed") << int(SIGHUP);
    QTest::newRow("interrupt") << int(SIGINT);
}

// The start-up's server-list update adds a server; the file holds it before the run ends and
// after the signal has ended it.
void CommandLineTest::SessionEndKeepsTheChangesOfTheRun()
{
    QFETCH(int, signal);
    LoopbackServer server;
    server.Server().Get("/list", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("Server\tAdresse\nNeuer Server\t-\t\n", "text/plain");
    });
    server.Start();
    TempDir dir;
    const std::string profile = dir.file("quotino.ini");
    QVERIFY(WriteShippedProfile(profile, "English", [&](CIniFile& document) {
        document.WriteString("Settings", "ServerInt", "1");
        document.WriteString("Settings", "ServerList", server.Url("/list"));
    }));

    QProcess run;
    Start(run, dir, { "--profile", QString::fromStdString(profile) });
    const std::string added = "\r\nNeuer Server=-\r\n";
    QTRY_VERIFY_WITH_TIMEOUT(
        ReadWholeFile(profile).find(added) != std::string::npos, kRunTimeoutMs);
    EndBySignal(run, signal);
    QVERIFY(ReadWholeFile(profile).find(added) != std::string::npos);
    QVERIFY(!fs::exists(profile + ".lock"));
}

QUOTINO_QT_TEST(CommandLineTest)
#include "CommandLineTest.moc"
