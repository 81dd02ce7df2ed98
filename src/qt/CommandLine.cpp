#include "qt/CommandLine.h"

#include "platform/ProfileLocation.h"
#include "platform/Version.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>

#include <filesystem>

namespace {

constexpr const char* kProgram = "quotino";

// Qt's help line names the executable through the application object, which does not exist
// yet (and must not, without a display), so the usage line is ours.
std::string HelpText(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    text.replace(QRegularExpression(QStringLiteral("^Usage: \\S*")),
        QStringLiteral("Usage: ") + QString::fromLatin1(kProgram));
    return text.toStdString();
}

} // namespace

CCommandLine::CCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prices a shopping list from the clipboard at farm, market and customer prices."));
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") },
        QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({ QStringLiteral("v"), QStringLiteral("version") },
        QStringLiteral("Show the program's version and exit."));
    const QCommandLineOption profile(QStringLiteral("profile"),
        QStringLiteral("Run on the profile <file>; copies of downloaded lists go to its folder."),
        QStringLiteral("file"));
    parser.addOptions({ help, version, profile });

    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.positionalArguments().isEmpty()
            ? parser.errorText()
            : QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        m_strErrors = std::string(kProgram) + ": " + error.toStdString() + "\n" + HelpText(parser);
        m_nStatus = kUsageError;
    } else if (parser.isSet(help)) {
        m_strOutput = HelpText(parser);
        m_nStatus = kSuccess;
    } else if (parser.isSet(version)) {
        m_strOutput = std::string(kProgram) + " " + kVersionText + "\n";
        m_nStatus = kSuccess;
    } else if (parser.isSet(profile)) {
        UseProfile(parser.value(profile));
    }
}

void CCommandLine::UseProfile(const QString& path)
{
    if (path.isEmpty()) {
        m_strErrors = std::string(kProgram) + ": --profile needs a file name\n";
        m_nStatus = kUsageError;
        return;
    }
    const std::string file = QFile::encodeName(path).toStdString();
    if (const std::string reason = ProfileUnusableReason(file); !reason.empty()) {
        m_strErrors
            = std::string(kProgram) + ": cannot use the profile " + file + ": " + reason + "\n";
        m_nStatus = kProfileUnusable;
        return;
    }
    std::error_code error;
    m_strProfilePath = std::filesystem::absolute(file, error).string();
}

QStringList CCommandLine::ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    return arguments;
}
